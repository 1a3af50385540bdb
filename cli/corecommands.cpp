// Commands over the name-science tables: grids, strokes, element, pinyin.

#include "cli/command.h"
#include "cli/jsonparts.h"
#include "core/grids.h"
#include "core/text.h"

#include <iostream>

namespace hmf::cli {
namespace {

// The characters of an argument, or an error line when it holds something that is not a Han
// character.
std::optional<std::vector<std::string>> hanCharacters(const std::string& text, std::string& error)
{
    if (!core::isValidUtf8(text)) {
        error = "参数不是有效的UTF-8文本 (argument is not UTF-8)";
        return std::nullopt;
    }
    auto chars = core::splitCharacters(text);
    if (chars.empty()) {
        error = "请输入汉字 (no characters given)";
        return std::nullopt;
    }
    for (const auto& c : chars) {
        auto cp = core::singleCodepoint(c);
        if (!cp || !core::isHan(*cp)) {
            error = "“" + shownArg(c) + "”不是汉字 (not a Chinese character)";
            return std::nullopt;
        }
    }
    return chars;
}

int runGrids(const Args& args)
{
    if (args.positional.size() != 2)
        return fail("用法: hmf grids <姓> <名>  (surname and given name)");
    const std::string& surname = args.positional[0];
    const std::string& given = args.positional[1];
    std::string error;
    auto s = hanCharacters(surname, error);
    if (!s)
        return fail(error);
    auto g = hanCharacters(given, error);
    if (!g)
        return fail(error);
    if (s->size() > 2)
        return fail("姓氏应为一到两个汉字 (surname of one or two characters)");
    if (g->size() > 3)
        return fail("名字应为一到三个汉字 (given name of one to three characters)");
    const core::Tables* t =
        tables(core::kStrokeTables | core::kLuckTable | core::kThreeTalentTable);
    if (!t)
        return kExitData;
    if (auto unknown = core::firstUnknownCharacter(*t, surname + given); !unknown.empty())
        return fail("“" + unknown + "”不在字库中 (character not in the stroke table)");

    const auto grids = core::gridNumbers(t->strokes, surname, given);
    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject()
            .field("name", surname + given)
            .field("surname", surname)
            .field("givenName", given)
            .key("characters")
            .beginArray();
        for (const auto& list : {*s, *g})
            for (const auto& c : list)
                json.beginObject()
                    .field("character", c)
                    .field("gridStrokes", t->gridStrokeCount(c))
                    .endObject();
        json.endArray().key("grids");
        writeGrids(json, *t, grids);
        json.key("threeTalent");
        writeThreeTalent(json, *t, grids);
        json.endObject();
        std::cout << json.text();
        return 0;
    }
    std::cout << "姓名：" << surname << given << "\n笔画：";
    bool first = true;
    for (const auto& list : {*s, *g})
        for (const auto& c : list) {
            std::cout << (first ? "" : "  ") << c << " " << t->gridStrokeCount(c);
            first = false;
        }
    std::cout << "\n";
    const std::pair<const char*, int> rows[] = {{"天格", grids.tian},
                                                {"人格", grids.ren},
                                                {"地格", grids.di},
                                                {"外格", grids.wai},
                                                {"总格", grids.zong}};
    for (const auto& [name, n] : rows) {
        const core::LuckEntry& e = t->luck.entry(n);
        std::cout << name << " " << n << " " << (e.verdict.empty() ? "（无）" : e.verdict);
        if (!e.title.empty())
            std::cout << "  " << e.title << "：" << e.meaning;
        std::cout << "\n";
    }
    std::cout << "三才：" << core::threeTalentOf(grids, t->threeTalents).text() << "\n";
    return 0;
}

// Runs `row` for every character of the single argument: a text line each, or with --json one
// object each in {"characters": [...]}. `parts` are the tables the rows read.
int forEachCharacter(
    const Args& args, const char* usage, unsigned parts,
    const std::function<void(const core::Tables&, const std::string&)>& row,
    const std::function<void(JsonWriter&, const core::Tables&, const std::string&)>& jsonRow)
{
    if (args.positional.size() != 1)
        return fail(std::string("用法: ") + usage);
    std::string error;
    auto chars = hanCharacters(args.positional[0], error);
    if (!chars)
        return fail(error);
    const core::Tables* t = tables(parts);
    if (!t)
        return kExitData;
    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject().key("characters").beginArray();
        for (const auto& c : *chars) {
            json.beginObject().field("character", c);
            jsonRow(json, *t, c);
            json.endObject();
        }
        json.endArray().endObject();
        std::cout << json.text();
        return 0;
    }
    for (const auto& c : *chars)
        row(*t, c);
    return 0;
}

// `hmf pinyin <姓> --surname`: one line, the surname and its reading as a surname.
int runSurnamePinyin(const Args& args)
{
    if (args.positional.size() != 1)
        return fail("用法: hmf pinyin <姓> --surname");
    std::string error;
    auto chars = hanCharacters(args.positional[0], error);
    if (!chars)
        return fail(error);
    if (chars->size() > 2)
        return fail("姓氏应为一到两个汉字 (a surname has one or two characters)");
    const core::Tables* t = tables(core::kNameTables);
    if (!t)
        return kExitData;
    if (args.has("--json")) {
        JsonWriter json;
        json.beginObject()
            .field("surname", args.positional[0])
            .key("pinyin")
            .textOrNull(t->surnamePinyin(args.positional[0]))
            .endObject();
        std::cout << json.text();
        return 0;
    }
    std::cout << args.positional[0] << " " << t->surnamePinyin(args.positional[0]) << "\n";
    return 0;
}

const bool registered = [] {
    registerCommand({"grids",
                     "hmf grids <姓> <名>        五格、吉凶与三才 (five grids)",
                     "  例: hmf grids 张 明华\n  列出每个字的五格笔画、五格数理及吉凶、三才。\n",
                     {},
                     {"--json"},
                     runGrids});
    registerCommand(
        {"strokes",
         "hmf strokes <汉字>         五格笔画 (stroke counts)",
         "  例: hmf strokes 千万吁\n  每行: 字  五格笔画 (康熙笔画, 五格与报告所用); "
         "无数据为 -1。\n  名书另有计法的字, 其后注明, 如 松  五格笔画 8（另有18画之说）。\n",
         {},
         {"--json"},
         [](const Args& a) {
             return forEachCharacter(
                 a, "hmf strokes <汉字>", core::kStrokeTables | core::kTraditionalTable,
                 [](const core::Tables& t, auto& c) {
                     std::cout << c << "  五格笔画 " << t.gridStrokeCount(c) << t.strokeNote(c)
                               << "\n";
                 },
                 [](JsonWriter& json, const core::Tables& t, auto& c) {
                     const int grid = t.gridStrokeCount(c);
                     json.key("gridStrokes")
                         .value(grid >= 0 ? std::optional<int>(grid) : std::nullopt);
                     writeOtherStrokes(json, t, c);
                 });
         }});
    registerCommand({"element",
                     "hmf element <汉字>         汉字五行 (five-element class)",
                     "  例: hmf element 文\n  每行: 字 五行 (金 木 水 火 土; 无数据为空)。\n"
                     "  名书按音义另归五行的干支字, 注明按命理所取, 如 丑 土（命理取土）。\n",
                     {},
                     {"--json"},
                     [](const Args& a) {
                         return forEachCharacter(
                             a, "hmf element <汉字>", core::kElementTable,
                             [](const core::Tables& t, auto& c) {
                                 std::cout << c << " " << t.elements.elementOf(c)
                                           << t.elementNote(c) << "\n";
                             },
                             [](JsonWriter& json, const core::Tables& t, auto& c) {
                                 json.key("element").textOrNull(t.elements.elementOf(c));
                                 writeChartElement(json, t, c);
                             });
                     }});
    registerCommand({"pinyin",
                     "hmf pinyin <汉字> [--surname]  拼音 (pinyin with tone marks)",
                     "  例: hmf pinyin 曾长行\n  每行: 字 拼音 (取名常用读音)。\n"
                     "  --surname  把参数当作一个姓氏 (一到两字), 按姓氏读音: hmf pinyin 曾 "
                     "--surname 得 zēng\n",
                     {},
                     {"--surname", "--json"},
                     [](const Args& a) {
                         if (a.has("--surname"))
                             return runSurnamePinyin(a);
                         // Each character as the whole text says it (重阳 chóng yáng); the
                         // readings are worked out once, the rows take them in order.
                         std::vector<std::string> readings;
                         std::size_t next = 0;
                         const auto readingOf = [&](const core::Tables& t) {
                             if (next == 0)
                                 readings = t.readingsInContext(a.positional[0]);
                             return next < readings.size() ? readings[next++] : std::string();
                         };
                         return forEachCharacter(
                             a, "hmf pinyin <汉字>", core::kPinyinTables | core::kAssessmentTables,
                             [&](const core::Tables& t, auto& c) {
                                 std::cout << c << " " << readingOf(t) << "\n";
                             },
                             [&](JsonWriter& json, const core::Tables& t, auto&) {
                                 json.key("pinyin").textOrNull(readingOf(t));
                             });
                     }});
    return true;
}();

} // namespace
} // namespace hmf::cli
