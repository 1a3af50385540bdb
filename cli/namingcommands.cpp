// Commands of the naming engines: analyse (the report of one name), generate (a run of drawn
// names with their candidates) and top (the best names a library allows).

#include "calendar/calendar.h"
#include "cli/birthoptions.h"
#include "cli/command.h"
#include "cli/jsonparts.h"
#include "cli/versejson.h"
#include "core/datafile.h"
#include "core/grids.h"
#include "core/platform.h"
#include "core/text.h"
#include "naming/assessment.h"
#include "naming/candidates.h"
#include "naming/favourable.h"
#include "naming/generator.h"
#include "naming/library.h"
#include "naming/report.h"
#include "naming/session.h"
#include "naming/top.h"
#include "naming/verse.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <random>

namespace hmf::cli {
namespace {

// Every table a name's report and assessment read; the birthplaces come with --place only.
constexpr unsigned kNamingTables = core::kAllTables & ~(core::kCityTable | core::kTipsText);

// A whole number option within [low, high], or its default when absent.
std::optional<int> intOption(const Args& args, const std::string& name, int fallback, int low,
                             int high, std::string& error)
{
    auto text = args.option(name);
    if (!text)
        return fallback;
    auto value = core::parseInt(*text);
    if (!value || *value < low || *value > high) {
        error = "选项 " + name + " 应为 " + std::to_string(low) + " 到 " + std::to_string(high) +
                " 之间的整数：" + shownArg(*text);
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> sexOption(const Args& args, bool required, std::string& error)
{
    auto sex = args.option("--sex");
    if (!sex) {
        if (required)
            error = "请用 --sex 男 或 --sex 女 选择字库 (--sex is required)";
        return required ? std::nullopt : std::optional<std::string>(std::string());
    }
    if (*sex != "男" && *sex != "女") {
        error = "性别应为“男”或“女”：" + shownArg(*sex);
        return std::nullopt;
    }
    return sex;
}

std::filesystem::path dataDirectory()
{
    return core::findDataDirectory(core::executableDirectory());
}

std::string withUnixLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

const char* colourName(naming::Colour colour)
{
    switch (colour) {
    case naming::Colour::Red:
        return "red";
    case naming::Colour::Blue:
        return "blue";
    case naming::Colour::Magenta:
        return "magenta";
    }
    return "";
}

const char* ansiColour(naming::Colour colour)
{
    switch (colour) {
    case naming::Colour::Red:
        return "\x1b[31m";
    case naming::Colour::Blue:
        return "\x1b[34m";
    case naming::Colour::Magenta:
        return "\x1b[35m";
    }
    return "";
}

// Colour each line on its own, so that a pager or a cut line never carries a colour further.
void printRuns(const std::vector<naming::ColouredRun>& runs, bool colour)
{
    for (const auto& run : runs) {
        const std::string text = withUnixLineEnds(run.text);
        if (!colour) {
            std::cout << text;
            continue;
        }
        std::size_t pos = 0;
        while (pos < text.size()) {
            auto end = text.find('\n', pos);
            const std::size_t stop = end == std::string::npos ? text.size() : end;
            if (stop > pos)
                std::cout << ansiColour(run.colour) << text.substr(pos, stop - pos) << "\x1b[0m";
            if (end == std::string::npos)
                break;
            std::cout << '\n';
            pos = end + 1;
        }
    }
}

// The "assessment" and "flags" members of a name's JSON object.
void writeAssessment(JsonWriter& json, const naming::Assessment& a)
{
    json.field("assessment", a.figure).key("flags").beginArray();
    for (const auto& flag : a.flags)
        json.beginObject().field("kind", flag.kindText()).field("text", flag.text).endObject();
    json.endArray();
    // 寓意 and 出处 of a name of the name base; null for another name.
    json.key("nameMeaning");
    if (a.nameMeaning.empty())
        json.null();
    else
        json.value(a.nameMeaning);
    json.key("nameSource");
    if (a.nameSource.empty())
        json.null();
    else
        json.value(a.nameSource);
}

// The 寓意 a list shows after a name of the name base ("  寓意：…"), empty for another name.
std::string meaningSuffix(const naming::Assessment& a)
{
    return a.nameMeaning.empty() ? std::string() : "  寓意：" + a.nameMeaning;
}

int runAnalyse(const Args& args)
{
    if (args.positional.size() != 2)
        return fail("请给出姓和名，例如 hmf analyse 张 明华 --birth \"2019-05-05 05\"");
    int exitCode = 0;
    const auto resolved = birthOptions(args, exitCode);
    if (!resolved)
        return exitCode;
    const calendar::BirthTime* birth = &resolved->time;
    const calendar::BirthDetails& details = resolved->details;
    std::string error;
    const auto sex = sexOption(args, false, error);
    if (!sex)
        return fail(error);
    const core::Tables* t = tables(kNamingTables);
    if (!t)
        return kExitData;
    naming::ReportRequest request{args.positional[0], args.positional[1], *birth, std::nullopt};
    request.sex = *sex;
    const auto verse = naming::verseTable(dataDirectory());
    if (!verse) {
        std::cerr << "hmf: 数据文件有误 (data file fault): " << verse.error().message() << "\n";
        return kExitData;
    }
    request.verse = *verse;
    const auto built = naming::buildReport(*t, request, details);
    if (!built)
        return fail(built.error().message());
    const naming::Report& report = *built;

    if (args.has("--json")) {
        const std::string surname = core::trimBlanks(request.surname);
        const std::string given = core::trimBlanks(request.givenName);
        const auto chart = calendar::birthChart(*birth, details, t->sexagenary);
        const auto grids = core::gridNumbers(t->strokes, surname, given);
        JsonWriter json;
        json.beginObject()
            .field("name", surname + given)
            .field("surname", surname)
            .field("givenName", given)
            .field("surnamePinyin", t->surnamePinyin(surname))
            .field("traditional",
                   t->traditional.toTraditional(surname) + t->traditional.toTraditional(given))
            .key("birth");
        writeBirth(json, *birth);
        json.field("score", report.score).key("characters").beginArray();
        // Each character as the name says it: the surname's as a surname (尉迟 yù chí), the
        // given name's word by word (重阳 chóng yáng).
        const auto readings = t->nameReadings(surname, given);
        std::size_t index = 0;
        for (const auto& c : core::splitCharacters(surname))
            writeNameCharacter(json, *t, c, readings[index++], true);
        for (const auto& c : core::splitCharacters(given))
            writeNameCharacter(json, *t, c, readings[index++], false);
        json.endArray().key("chart");
        writeChart(json, *chart, details);
        json.key("grids");
        writeGrids(json, *t, grids);
        json.key("threeTalent");
        writeThreeTalent(json, *t, grids);
        json.key("starSign");
        writeStarSign(json, birth->month, birth->day);
        writeAssessment(json, report.assessment);
        json.key("runs").beginArray();
        for (const auto& run : report.runs)
            json.beginObject()
                .field("colour", colourName(run.colour))
                .field("text", run.text)
                .endObject();
        json.endArray().endObject();
        std::cout << json.text();
        return 0;
    }
    printRuns(report.runs, colourWanted());
    return 0;
}

int runAssess(const Args& args)
{
    if (args.positional.size() != 2)
        return fail("请给出姓和名，例如 hmf assess 张 明华 [--sex 男] [--birth \"2019-05-05 05\"]");
    std::string error;
    auto sex = sexOption(args, false, error);
    if (!sex)
        return fail(error);
    std::optional<calendar::BirthTime> birth;
    if (args.option("--birth")) {
        int exitCode = 0;
        const auto resolved = birthOptions(args, exitCode);
        if (!resolved)
            return exitCode;
        birth = resolved->time;
    }
    const core::Tables* t = tables(kNamingTables);
    if (!t)
        return kExitData;
    naming::AssessmentRequest request{args.positional[0], args.positional[1], *sex, birth};
    const auto assessed = naming::assessName(*t, request);
    if (!assessed)
        return fail(assessed.error().message());
    const naming::Assessment& a = *assessed;
    const std::string name =
        core::trimBlanks(request.surname) + core::trimBlanks(request.givenName);
    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject().field("name", name);
        writeAssessment(json, a);
        // What the 五行 part weighed: the chart's 用神 and 喜神 (null without a birth time).
        json.key("favourable");
        const auto chart = birth ? calendar::birthChart(*birth, t->sexagenary) : std::nullopt;
        if (chart) {
            json.beginArray();
            for (const auto& element : naming::favourableElements(*chart))
                json.value(element);
            json.endArray();
        } else {
            json.null();
        }
        json.key("characters").beginArray();
        for (const auto& note : a.given)
            json.beginObject()
                .field("character", note.character)
                .field("meaning", note.meaning)
                .endObject();
        json.endArray().endObject();
        std::cout << json.text();
        return 0;
    }
    for (const auto& line : naming::assessmentLines(a))
        std::cout << line << "\n";
    return 0;
}

int runGenerate(const Args& args)
{
    if (args.positional.size() != 1)
        return fail("请给出姓氏，例如 hmf generate 林 --sex 男 --birth \"2019-05-05 05\"");
    int exitCode = 0;
    const auto resolved = birthOptions(args, exitCode);
    if (!resolved)
        return exitCode;
    const calendar::BirthTime* birth = &resolved->time;
    std::string error;
    auto sex = sexOption(args, !args.option("--library"), error);
    auto length = sex ? intOption(args, "--length", 2, 1, 3, error) : std::nullopt;
    auto position = length ? intOption(args, "--position", 1, 1, *length, error) : std::nullopt;
    auto threshold =
        position ? intOption(args, "--threshold", 75, -1000, 1000, error) : std::nullopt;
    auto draws = threshold ? intOption(args, "--draws", naming::NameGenerator::kMaxDraws, 1,
                                       naming::NameGenerator::kMaxDraws, error)
                           : std::nullopt;
    if (!draws)
        return fail(error);
    std::uint64_t seed = std::random_device{}();
    if (auto text = args.option("--seed")) {
        char* end = nullptr;
        errno = 0;
        seed = std::strtoull(text->c_str(), &end, 10);
        // strtoull would skip leading blanks and take a sign: only digits are a seed.
        if (text->empty() || !std::isdigit(static_cast<unsigned char>((*text)[0])) ||
            *end != '\0' || errno != 0)
            return fail("选项 --seed 应为非负整数：" + shownArg(*text));
    }
    if (args.option("--position") && !args.option("--fixed"))
        return fail("选项 --position 需要与 --fixed 一起使用");
    if (auto file = args.option("--library"); file && file->empty())
        return fail("选项 --library 的文件名为空 (empty library path)");
    const core::Tables* t = tables(kNamingTables);
    if (!t)
        return kExitData;
    // The verse table is read only when a verse source is asked for.
    const std::string source = args.option("--source").value_or(naming::kLibrarySource);
    if (core::trimBlanks(source).empty())
        return fail("出处不能为空，应为字库、诗经、楚辞、唐诗、宋词之一 (empty --source)");
    const naming::VerseTable* verse = nullptr;
    if (source != naming::kLibrarySource) {
        const auto loaded = naming::verseTable(dataDirectory());
        if (!loaded) {
            std::cerr << "hmf: 数据文件有误 (data file fault): " << loaded.error().message()
                      << "\n";
            return kExitData;
        }
        verse = *loaded;
    }

    naming::SessionState session;
    naming::NameGenerator generator(*t, session);
    naming::RunSettings run;
    run.surname = args.positional[0];
    run.sex = *sex;
    run.fixedOn = args.option("--fixed").has_value();
    run.fixedChar = args.option("--fixed").value_or("");
    run.birth = *birth;
    run.dataDir = dataDirectory();
    if (auto file = args.option("--library"))
        run.libraryFile = core::pathFromUtf8(*file);
    run.seed = seed;
    run.source = source;
    run.verse = verse;
    run.length = *length;
    const naming::StartResult started = generator.start(run);
    if (!started.started()) {
        const core::Error& error = started.status.error();
        fail(error.message());
        return error.isDataFault() ? kExitData : kExitUsage;
    }

    naming::DrawSettings draw;
    draw.length = *length;
    draw.fixedOn = run.fixedOn;
    draw.fixedPosition = *position;
    draw.year = birth->year;
    draw.month = birth->month;
    draw.day = birth->day;
    draw.threshold = *threshold;
    draw.leaveOutFaulty = !args.has("--keep-all");
    const bool json = args.has("--json");
    const bool sorted = args.has("--sort");
    draw.reasons = json; // the text list shows no reasons
    // JSON: every listed row with its assessment (a row is large: moved once, not at every
    // growth). Text: one result serves every draw; the lines of the listed rows are written a
    // piece at a time (the same memory serves every piece), the candidates' lines kept for the
    // end.
    constexpr std::size_t kPiece = 64 * 1024;
    std::vector<naming::DrawResult> rows;
    std::string list;
    std::string candidateLines;
    std::size_t listed = 0;
    std::size_t candidateCount = 0;
    // Sorted text: the rows are kept like JSON's and written once the run is over.
    if (json || sorted) {
        rows.reserve(static_cast<std::size_t>(*draws));
    } else {
        list.reserve(kPiece + 1024);
        candidateLines.reserve(24 * static_cast<std::size_t>(*draws));
    }
    int leftOut = 0, leftOutSound = 0, leftOutCharacter = 0;
    naming::CandidateList candidates;
    bool streakEnded = false;
    naming::DrawResult result;
    while (generator.running()) {
        generator.draw(draw, result);
        // A run that cannot go on says why; a draw without a name is never listed.
        if (!result.message.empty())
            return fail(result.message);
        if (result.fullName.empty())
            break;
        if (result.finished)
            streakEnded = generator.duplicateStreak() > naming::NameGenerator::kMaxDuplicateStreak;
        if (result.leftOut) {
            ++leftOut;
            leftOutSound += result.assessment.homophoneFault;
            leftOutCharacter += result.assessment.outsideTable;
        } else if (!result.duplicate) {
            ++listed;
            if (json || sorted) {
                if (result.candidate)
                    candidates.append(result.title);
                rows.push_back(std::move(result));
            } else {
                if (result.candidate) {
                    ++candidateCount;
                    (candidateLines += result.title) += '\n';
                }
                list += result.title;
                if (result.source)
                    list += "  " + naming::citation(*result.source);
                list += meaningSuffix(result.assessment);
                list += '\n';
                if (list.size() >= kPiece) {
                    std::cout << list;
                    list.clear();
                }
            }
        }
        if (generator.drawCount() >= *draws)
            generator.stop();
    }

    // The kept list by the assessment, best first, then by score; the draws stay as they were.
    if (sorted)
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            if (a.assessment.figure != b.assessment.figure)
                return a.assessment.figure > b.assessment.figure;
            return a.score.value_or(-1000) > b.score.value_or(-1000);
        });
    if (!json && sorted) {
        for (const auto& row : rows) {
            list += row.title + "  品评" + std::to_string(row.assessment.figure);
            if (row.source)
                list += "  " + naming::citation(*row.source);
            (list += meaningSuffix(row.assessment)) += '\n';
            if (row.candidate) {
                ++candidateCount;
                (candidateLines += row.title) += '\n';
            }
        }
    }
    if (json) {
        JsonWriter writer;
        writer.beginObject()
            .field("seed", static_cast<unsigned long long>(seed))
            .field("draws", generator.drawCount())
            .field("endedByDuplicates", streakEnded)
            .field("leftOut", leftOut)
            .key("rows")
            .beginArray();
        for (const auto& row : rows) {
            writer.beginObject()
                .field("name", row.fullName)
                .field("score", row.score)
                .field("title", row.title)
                .field("candidate", row.candidate);
            writeAssessment(writer, row.assessment);
            writer.key("source");
            writeVerseSource(writer, row.source);
            writer.endObject();
        }
        writer.endArray().key("candidates").beginArray();
        for (const auto& title : candidates.rows())
            writer.value(title);
        writer.endArray().endObject();
        std::cout << writer.text();
        return 0;
    }
    std::cout << list;
    std::cout << "\n候选名字（" << *threshold << "分及以上，" << candidateCount << "个）：\n";
    std::cout << candidateLines;
    std::cout << "\n抽取" << generator.drawCount() << "次，列出" << listed << "个名字"
              << (streakEnded ? "（连续重复超过500次，提前结束）" : "") << "，随机种子 " << seed
              << "\n";
    if (leftOut > 0)
        std::cout << "略去" << leftOut << "个名字（谐音不雅" << leftOutSound
                  << "个，含通用规范汉字表外的字" << leftOutCharacter
                  << "个）；--keep-all 全部列出\n";
    return 0;
}

int runTop(const Args& args)
{
    if (args.positional.size() != 1)
        return fail("请给出姓氏，例如 hmf top 林 --sex 女 --birth \"2019-05-05 05\"");
    int exitCode = 0;
    const auto resolved = birthOptions(args, exitCode);
    if (!resolved)
        return exitCode;
    const calendar::BirthTime* birth = &resolved->time;
    std::string error;
    auto sex = sexOption(args, !args.option("--library"), error);
    auto length = sex ? intOption(args, "--length", 2, 1, 3, error) : std::nullopt;
    auto position = length ? intOption(args, "--position", 1, 1, *length, error) : std::nullopt;
    auto count = position ? intOption(args, "--count", 20, 1, 100000, error) : std::nullopt;
    if (!count)
        return fail(error);
    if (args.option("--position") && !args.option("--fixed"))
        return fail("选项 --position 需要与 --fixed 一起使用");
    if (auto file = args.option("--library"); file && file->empty())
        return fail("选项 --library 的文件名为空 (empty library path)");
    const core::Tables* t = tables(kNamingTables);
    if (!t)
        return kExitData;

    std::filesystem::path path;
    if (auto file = args.option("--library")) {
        path = core::pathFromUtf8(*file);
    } else {
        path = dataDirectory() / naming::libraryFileName(*sex);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            fail(*sex == "男" ? "字库男不存在 无法生成" : "字库女不存在 无法生成");
            return kExitData;
        }
    }
    auto library = naming::loadLibrary(path, t->strokes);
    if (!library) {
        fail(library.error().message());
        // A library the user named is input; the program's own is one of its data files.
        return args.option("--library") ? kExitUsage : kExitData;
    }

    naming::TopRequest request;
    request.surname = args.positional[0];
    request.length = *length;
    request.fixedChar = args.option("--fixed");
    request.fixedPosition = *position;
    request.birth = *birth;
    request.library = std::move(*library);
    request.count = *count;
    request.sex = *sex;
    request.keepAll = args.has("--keep-all");
    // A library of the user's own means names of its characters alone.
    request.fromBase = !args.option("--library");
    const auto ranked = naming::topNames(*t, request);
    if (!ranked)
        return fail(ranked.error().message());
    const naming::TopResult& result = *ranked;

    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject()
            .field("considered", static_cast<unsigned long long>(result.considered))
            .key("note");
        if (result.note.empty())
            json.null();
        else
            json.value(result.note);
        json.key("names").beginArray();
        for (const auto& name : result.names) {
            json.beginObject()
                .field("name", name.fullName)
                .field("givenName", name.givenName)
                .field("score", name.score);
            writeAssessment(json, name.assessment);
            json.endObject();
        }
        json.endArray().endObject();
        std::cout << json.text();
        return 0;
    }
    for (const auto& name : result.names)
        std::cout << naming::rowTitle(name.fullName, name.score) << "  品评"
                  << name.assessment.figure << meaningSuffix(name.assessment) << "\n";
    std::cout
        << (request.fromBase ? "\n先列名字库中合适的名字，不足时再从字库组名；各按品评分、"
                               "再按名字总分排列，列出最好的"
                             : "\n从所给字库组名，按品评分、再按名字总分排列，列出最好的")
        << result.names.size()
        << "个（无谐音、音律毛病；每20个名字中同一个字至多出现2次，名字库的名字中至多1次），共评估";
    // Names of the base are weighed one by one, the library's names a character at a time.
    const std::uint64_t searched = result.considered - result.consideredFromBase;
    if (result.consideredFromBase > 0)
        std::cout << "名字库中的名字" << result.consideredFromBase << "个"
                  << (searched > 0 ? "、" : "");
    if (searched > 0 || result.consideredFromBase == 0)
        std::cout << "字库组名" << searched << "次";
    std::cout << "\n";
    if (!result.note.empty())
        std::cout << result.note << "\n";
    return 0;
}

const bool registeredAnalyse = registerCommand({
    "analyse",
    "hmf analyse <姓> <名> --birth \"YYYY-MM-DD HH\" [--sex 男|女] [--json]   "
    "姓名评测：一个名字的完整分析",
    "\n写出一个名字的完整分析：总分、八字、五行、五格、三才、数理释义、星座和八字旺衰。\n"
    "  --birth \"YYYY-MM-DD HH\"  出生日期和时辰（北京时间，0到23时）\n"
    "  --sex 男|女               孩子的性别（名字品评看字的男女倾向）\n" +
        std::string(kBirthplaceHelp) +
        "  --json                    以 JSON "
        "输出：五格、笔画、五行、读音、八字、三才、释义、总分，\n"
        "                            各行文字及颜色在 runs 中（见 docs/json.md）\n"
        "终端中按红、蓝、品红着色（设置 NO_COLOR 时不着色）。\n",
    {"--birth", "--lunar", "--place", "--longitude", "--sex"},
    {"--json"},
    runAnalyse,
});

const bool registeredAssess = registerCommand({
    "assess",
    "hmf assess <姓> <名> [--sex 男|女] [--birth \"YYYY-MM-DD HH\"] [--json]   "
    "名字品评：音、义、用字与数理",
    "\n给一个名字打品评分（0到100），并列出理由：谐音、音律、字义、用字、数理，\n"
    "给出出生时间时还看五行是否合八字所喜。品评分与名字总分各自独立。\n"
    "  --sex 男|女               孩子的性别（看字的男女倾向）\n"
    "  --birth \"YYYY-MM-DD HH\"  出生日期和时辰（看五行）\n"
    "  --json                    以 JSON 输出\n",
    {"--sex", "--birth"},
    {"--json"},
    runAssess,
});

const bool registeredGenerate = registerCommand({
    "generate",
    "hmf generate <姓> --sex 男|女 --birth \"YYYY-MM-DD HH\" [选项]   宝宝取名：随机抽字起名并评分",
    "\n从该性别的字库随机抽字组成名字并评分，依次列出新名字，再列出达到分数线的候选名字。\n"
    "抽满 --draws 次、或连续抽到已列出的名字超过500次时结束。\n"
    "  --sex 男|女               选择字库 zmz.fne 或 zwz.fne（给出 --library 时可省）\n"
    "  --length 1|2|3            名字的字数，默认 2\n"
    "  --birth \"YYYY-MM-DD HH\"  出生日期和时辰\n"
    "  --lunar \"YYYY-[闰]M-D HH\"  或以农历给出生日\n"
    "  --fixed 字 --position N   固定字（辈分字）及其位置，默认位置 1\n"
    "  --threshold N             候选分数线，默认 75\n"
    "  --draws N                 最多抽取次数，1 到 5000，默认 5000\n"
    "  --seed N                  随机种子，同一种子得到同样的结果\n"
    "  --library 文件            使用另一个字库文件（GBK，每行一个字）\n"
    "  --source 字库|诗经|楚辞|唐诗|宋词\n"
    "                            名字的来源，默认 字库；选一部书时名字的字取自书中同一句，\n"
    "                            且是适合该性别的取名用字，每个名字附上出处\n"
    "  --keep-all                也列出谐音不雅或含通用规范汉字表外之字的名字（默认略去）\n"
    "  --sort                    抽完后按品评分（再按总分）排列列出的名字，抽到的名字不变\n"
    "  --json                    以 JSON 输出（每个名字带品评分 assessment 和理由 flags，\n"
    "                            及出处 source）\n",
    {"--sex", "--length", "--birth", "--lunar", "--fixed", "--position", "--threshold", "--draws",
     "--seed", "--library", "--source"},
    {"--json", "--keep-all", "--sort"},
    runGenerate,
});

const bool registeredTop = registerCommand({
    "top",
    "hmf top <姓> --sex 男|女 --birth \"YYYY-MM-DD HH\" [--length N] [--count N]   "
    "字库中得分最高的名字",
    "\n找出最好的名字：先列名字库中合乎性别（及固定字）的名字，不够时再从字库允许的名字中找；\n"
    "各先比品评分，再比名字总分；三字名只取自名字库。名字库中的名字附上寓意。\n"
    "有谐音或音律毛病的名字不列；每20个名字中同一个字（固定字除外）至多出现2次，\n"
    "名字库的名字中至多1次。\n"
    "默认不用通用规范汉字表外的字；--keep-all 也用这些字。\n"
    "  --sex 男|女               选择字库（给出 --library 时可省）\n"
    "  --length 1|2|3            名字的字数，默认 2\n"
    "  --birth \"YYYY-MM-DD HH\"  出生日期和时辰\n"
    "  --lunar \"YYYY-[闰]M-D HH\"  或以农历给出生日\n"
    "  --count N                 列出的名字个数，默认 20\n"
    "  --fixed 字 --position N   固定字（辈分字）及其位置\n"
    "  --library 文件            使用另一个字库文件\n"
    "  --keep-all                也用通用规范汉字表外的字\n"
    "  --json                    以 JSON 输出（每个名字带品评分 assessment 和理由 flags）\n",
    {"--sex", "--length", "--birth", "--lunar", "--count", "--fixed", "--position", "--library"},
    {"--json", "--keep-all"},
    runTop,
});

} // namespace
} // namespace hmf::cli
