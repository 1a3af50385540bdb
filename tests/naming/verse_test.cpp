#include "naming/verse.h"
#include "tests/testresult.h"

#include "core/datafile.h"
#include "core/text.h"
#include "naming/generator.h"
#include "naming/report.h"
#include "shippedtables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace hmf::naming {
namespace {

using test::shippedTables;

// Two small books; the second book's rank is lower, and 静 and 姝 stand in both.
const char* const kFixture = "# fixture\n"
                             "书\t甲书\n"
                             "篇\t姝静\t\n"
                             "姝者静也，\n" // line 0: 静姝 out of order
                             "篇\t依依\t某人\n"
                             "杨柳依依，雨雪霏霏。\n" // line 1
                             "书\t乙书\n"
                             "篇\t静女\t\n"
                             "静女其姝，俟我于城隅。\r\n" // line 2: in order, not together
                             "静姝在此。\n";              // line 3: in order and together

VerseTable fixtureTable()
{
    auto table = VerseTable::parse(kFixture, "fixture.txt");
    EXPECT_TRUE(hmf::test::succeeded(table));
    return table ? std::move(*table) : VerseTable();
}

bool lineHolds(const std::string& line, const std::string& name)
{
    auto text = core::splitCharacters(line);
    for (const auto& c : core::splitCharacters(name)) {
        auto it = std::find(text.begin(), text.end(), c);
        if (it == text.end())
            return false;
        text.erase(it); // one place for each character of the name
    }
    return true;
}

const VerseTable& shippedVerse()
{
    const char* dir = std::getenv("HMF_DATA_DIR");
    const auto table = verseTable(dir ? dir : "data");
    if (!table) {
        ADD_FAILURE() << table.error().message();
        std::abort();
    }
    return **table;
}

TEST(VerseTableTest, FindsLinesHoldingEveryCharacterRankedBestFirst)
{
    const VerseTable table = fixtureTable();
    ASSERT_EQ(table.lineCount(), 4u);
    EXPECT_EQ(table.books(), (std::vector<std::string>{"甲书", "乙书"}));
    EXPECT_EQ(table.bookLines(1), (std::pair<std::uint32_t, std::uint32_t>{2, 4}));

    struct Case
    {
        const char* name;
        int book;
        std::vector<std::uint32_t> lines; // best first
    };
    const Case cases[] = {
        // In order beats the better-known book; side by side beats the earlier line.
        {"静姝", -1, {3, 2, 0}}, {"姝静", -1, {0, 2, 3}}, {"静姝", 0, {0}}, {"静", -1, {0, 2, 3}},
        {"依依", -1, {1}}, // 依 twice in the line
        {"姝姝", -1, {}},  // 姝 only once in any line
        {"静依", -1, {}},  // never in one line
        {"霏依", -1, {1}},       {"城", 0, {}},           {"无", -1, {}},   {"", -1, {}},
    };
    // A table's first search walks its lines, later ones use the index: every case is asked
    // of a fresh table and of one whose index is built.
    ASSERT_FALSE(table.linesWith(U'静').empty());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const VerseTable fresh[] = {fixtureTable(), fixtureTable()};
        for (const VerseTable* t : {&fresh[0], &table}) {
            std::vector<std::uint32_t> lines;
            for (const auto& m : t->matches(c.name, c.book))
                lines.push_back(m.line);
            EXPECT_EQ(lines, c.lines);
        }
        if (c.book < 0) {
            for (const VerseTable* t : {&fresh[1], &table}) {
                const auto best = t->bestMatch(c.name);
                EXPECT_EQ(best.has_value(), !c.lines.empty());
                if (best) {
                    EXPECT_EQ(best->line, c.lines.front());
                }
            }
        }
    }
    const auto best = table.matches("静姝").front();
    EXPECT_TRUE(best.inOrder);
    EXPECT_TRUE(best.together);
    EXPECT_EQ(table.bestSource("霏依"),
              (VerseSource{"甲书", "依依", "某人", "杨柳依依，雨雪霏霏。"}));
    EXPECT_EQ(table.bestSource("静女"),
              (VerseSource{"乙书", "静女", "", "静女其姝，俟我于城隅。"}));
}

TEST(VerseTableTest, RefusesMalformedTablesWithFileAndLine)
{
    struct Case
    {
        const char* text;
        int line;
        const char* what; // part of the message
    };
    const Case cases[] = {
        {"篇\t题\t\n句子。\n", 1, "之前没有“书”"},
        {"书\t甲\n句子。\n", 2, "之前没有“篇”"},
        {"书\t甲\n篇\t题\t\n句子。\n书\t乙\n句子。\n", 5, "之前没有“篇”"},
        {"书\t甲\n篇\t题\n", 2, "篇的格式"},
        {"书\t甲\n篇\t\t作者\n", 2, "篇的格式"},
        {"书\n", 1, "书的格式"},
        {"书\t甲\n篇\t题\t\n一\t二\n", 3, "制表符"},
        {"书\t甲\n篇\t题\t\n，。！\n", 3, "没有汉字"},
        {"书\t甲\n篇\t题\t\n句。\n书\t甲\n", 4, "书名重复"},
        {"# only a comment\n\n", 0, "没有诗句"},
        {"书\t甲\n篇\t题\t\n\xff\xfe\n", 3, "不是有效的文本"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const core::Error error = hmf::test::failure(VerseTable::parse(c.text, "v.txt"));
        EXPECT_EQ(error.file, "v.txt");
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.what.find(c.what), std::string::npos) << error.what;
    }
}

TEST(VerseTableTest, CitationAndMarkedCharacters)
{
    EXPECT_EQ(citation({"诗经", "静女", "", "静女其姝，俟我于城隅。"}),
              "《诗经·静女》静女其姝，俟我于城隅。");
    EXPECT_EQ(citation({"唐诗", "登鹳雀楼", "王之涣", "白日依山尽，黄河入海流。"}),
              "《唐诗·登鹳雀楼》（王之涣）白日依山尽，黄河入海流。");
    EXPECT_EQ(markCharacters("静女其姝，俟我于城隅。", "姝静"),
              (std::vector<MarkedPiece>{
                  {"静", true}, {"女其", false}, {"姝", true}, {"，俟我于城隅。", false}}));
    EXPECT_EQ(markCharacters("依依", "依"), (std::vector<MarkedPiece>{{"依依", true}}));
}

TEST(VerseTableTest, ShippedTableHoldsTheFourBooksAndTheKnownSources)
{
    const VerseTable& table = shippedVerse();
    EXPECT_EQ(table.books(), (std::vector<std::string>{"诗经", "楚辞", "唐诗", "宋词"}));
    EXPECT_GT(table.lineCount(), 9000u);
    EXPECT_EQ(table.bestSource("静姝"),
              (VerseSource{"诗经", "静女", "", "静女其姝，俟我于城隅。"}));
    const auto siqi = table.bestSource("思齐");
    ASSERT_TRUE(siqi);
    EXPECT_EQ(siqi->book, "诗经");
    EXPECT_EQ(siqi->line.rfind("思齐大任", 0), 0u) << siqi->line;
    const auto lingjun = table.bestSource("灵均");
    ASSERT_TRUE(lingjun);
    EXPECT_EQ(citation(*lingjun), "《楚辞·离骚》（屈原）名余曰正则兮，字余曰灵均。");
    // 唐诗 is simplified: 鹳 and 涣 are found in their simplified forms.
    const auto tang = table.bestSource("穷目");
    ASSERT_TRUE(tang);
    EXPECT_EQ(citation(*tang), "《唐诗·登鹳雀楼》（王之涣）欲穷千里目，更上一层楼。");
}

// The verse shows in simplified characters, with the corpus's known slips mended: characters it
// lost, a wrong character, a title cut short, an author given by the surname alone.
TEST(VerseTableTest, ShippedVerseIsSimplifiedAndMended)
{
    const VerseTable& table = shippedVerse();
    const std::pair<const char*, const char*> cases[] = {
        {"胥谷", "《诗经·桑柔》朋友已谮，不胥以谷。"},                       // not 不胥以穀
        {"晓角", "《宋词·淡黄柳》（姜夔）空城晓角。"},                       // not 晓月
        {"刬东", "《宋词·念奴娇》（辛弃疾）刬地东风欺客梦，一夜云屏寒怯。"}, // 刬 was lost
        {"鲈鲙", "《宋词·水龙吟》（辛弃疾）休说鲈鱼堪鲙。"},
        {"漙草", "《宋词·满庭芳》（张镃）月洗高梧，露漙幽草，宝钗楼外秋深。"},
        {"银签", "《宋词·高阳台》（韩疁）频听银签，重燃绛蜡，年华衮衮惊心。"},
        {"重阴", "《宋词·宴山亭·燕山亭》（张镃）幽梦初回，重阴未开，晓色吹成疏雨。"},
        {"猿泪", "《唐诗·送李少府贬峡中王少府贬长沙》（高适）巫峡啼猿数行泪，衡阳归雁几封书。"},
    };
    EXPECT_EQ(table.bestSource("胥穀"), std::nullopt);
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        const auto source = table.bestSource(name);
        EXPECT_EQ(source ? citation(*source) : "", expected);
    }
}

// Lines of death, mourning, war or punishment are no source: not for a drawn name, not for the
// 出处 of a report. No line of the table holds a word of data/verse-avoid.txt.
TEST(VerseTableTest, GrimLinesAreNoSource)
{
    const VerseTable& table = shippedVerse();
    const std::pair<const char*, const char*> cases[] = {
        {"宛愉", "宛其死矣"}, // 宛其死矣，他人是愉
        {"贞如", "殉夫"},     // 贞女贵殉夫，舍生亦如此
        {"征还", "征战"},     // 由来征战地，不见有人还
        {"秋川", "哭逝川"},   // 空向秋波哭逝川
    };
    for (const auto& [name, grim] : cases) {
        SCOPED_TRACE(name);
        if (const auto source = table.bestSource(name)) {
            EXPECT_EQ(source->line.find(grim), std::string::npos) << source->line;
        }
    }

    const auto avoid = core::readGbkFile(test::dataDirectory() / "verse-avoid.txt");
    ASSERT_TRUE(hmf::test::succeeded(avoid));
    std::vector<std::string> words;
    std::string_view rest = *avoid;
    while (!rest.empty()) {
        const std::string line(core::takeLine(rest));
        if (line.empty() || line[0] == '#')
            continue;
        std::string_view listed = std::string_view(line).substr(line.find('\t') + 1);
        for (auto blank = listed.find(' '); !listed.empty(); blank = listed.find(' ')) {
            words.emplace_back(listed.substr(0, blank));
            listed.remove_prefix(blank == listed.npos ? listed.size() : blank + 1);
        }
    }
    ASSERT_GT(words.size(), 50u);
    for (std::uint32_t id = 0; id < table.lineCount(); ++id)
        for (const auto& word : words)
            ASSERT_EQ(table.lineText(id).find(word), std::string_view::npos)
                << word << " in " << table.lineText(id);
}

// bestMatch stops early; it must still pick what ranking every line picks, for common characters
// (many lines, lines in and out of order, side by side or not) in both orders, alone and in threes.
TEST(VerseTableTest, BestMatchIsTheFirstOfAllMatchesOnTheShippedTable)
{
    const VerseTable& table = shippedVerse();
    std::vector<std::pair<std::size_t, char32_t>> counted;
    std::set<char32_t> seen;
    for (std::uint32_t id = 0; id < table.lineCount(); ++id)
        for (char32_t c : table.lineCharacters(id))
            if (seen.insert(c).second)
                counted.emplace_back(table.linesWith(c).size(), c);
    std::sort(counted.rbegin(), counted.rend());
    std::vector<std::string> names = {"静姝", "思齐", "灵均", "子涵", "鑫淼", "依依", "美如玉"};
    for (std::size_t i = 0; i < 40; ++i) {
        names.push_back(core::toUtf8(counted[i].second));
        for (std::size_t j = 0; j < 40; ++j)
            if (j != i)
                names.push_back(core::toUtf8(std::u32string{counted[i].second, counted[j].second}));
        names.push_back(core::toUtf8(std::u32string{counted[i].second, counted[(i + 1) % 40].second,
                                                    counted[(i + 7) % 40].second}));
    }
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const auto all = table.matches(name);
        const auto best = table.bestMatch(name);
        ASSERT_EQ(best.has_value(), !all.empty());
        if (best) {
            EXPECT_EQ(best->line, all.front().line);
            EXPECT_EQ(best->inOrder, all.front().inOrder);
            EXPECT_EQ(best->together, all.front().together);
        }
    }
}

// The generator on the fixture table, drawing from a small library.
struct VerseRun
{
    StartResult start;
    std::vector<DrawResult> draws;
};

VerseRun runVerse(const VerseTable& table, const std::string& source, DrawSettings draw,
                  const std::string& characters, const std::string& fixed = "")
{
    SessionState session;
    NameGenerator generator(shippedTables(), session);
    RunSettings run;
    run.surname = "林";
    run.sex = "女";
    run.birth = {2019, 5, 5, 5};
    run.seed = 7;
    run.characters = core::splitCharacters(characters);
    run.source = source;
    run.verse = &table;
    run.fixedOn = !fixed.empty();
    run.fixedChar = fixed;
    run.length = draw.length;
    draw.fixedOn = run.fixedOn;
    VerseRun result;
    result.start = generator.start(run);
    while (generator.running() && result.draws.size() < 300)
        result.draws.push_back(generator.draw(draw));
    return result;
}

TEST(VerseGeneratorTest, EveryNameStandsInTheLineItCites)
{
    const VerseTable table = fixtureTable();
    struct Case
    {
        const char* source;
        int length;
        const char* fixed;
        int position;
        std::set<std::string> names; // every given name such a run can list
    };
    const Case cases[] = {
        // The library lacks 者 也 俟, and the particle 其 makes no verse name: only 静 女 姝 城
        // 隅 杨 柳 依 雨 雪 霏 count.
        {"甲书", 1, "", 1, {"姝", "静", "杨", "柳", "依", "雨", "雪", "霏"}},
        {"乙书", 2, "", 1, {}},
        {"乙书", 2, "静", 2, {"女静", "姝静", "城静", "隅静"}},
        {"乙书", 2, "姝", 1, {"姝静", "姝女", "姝城", "姝隅"}},
        {"甲书", 3, "", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + std::to_string(c.length) + " " + c.fixed);
        DrawSettings draw;
        draw.length = c.length;
        draw.fixedPosition = c.position;
        const VerseRun run = runVerse(table, c.source, draw, "静女其姝城隅杨柳依雨雪霏", c.fixed);
        ASSERT_TRUE(run.start.started()) << hmf::test::messageOf(run.start.status);
        std::set<std::string> listed;
        for (const auto& d : run.draws) {
            if (d.duplicate || d.givenName.empty())
                continue;
            ASSERT_TRUE(d.source);
            EXPECT_EQ(d.source->book, c.source);
            EXPECT_TRUE(lineHolds(d.source->line, d.givenName))
                << d.givenName << " " << d.source->line;
            const auto characters = core::splitCharacters(d.givenName);
            EXPECT_EQ(characters.size(), std::size_t(c.length));
            // No name repeats a character the line holds twice (杨柳依依 gives no 依依).
            EXPECT_EQ(std::set<std::string>(characters.begin(), characters.end()).size(),
                      characters.size());
            listed.insert(d.givenName);
        }
        if (!c.names.empty())
            EXPECT_EQ(listed, c.names);
        else
            EXPECT_GE(listed.size(), 10u);
    }
}

TEST(VerseGeneratorTest, RefusesAnUnknownBookOrABookWithoutFittingLines)
{
    const VerseTable table = fixtureTable();
    struct Case
    {
        const char* source;
        const char* library;
        const char* fixed;
        int length;
        const char* message;
    };
    const Case cases[] = {
        {"丙书", "静女", "", 2, "出处应为字库、甲书、乙书之一：丙书"},
        {"乙书", "静女", "德", 2, "《乙书》中没有同时含有“德”和字库里其他字的句子"},
        {"甲书", "德华", "", 2, "《甲书》中没有字库里的字，无法取名"},
        // Lines that hold library characters, but too few of them for the length asked.
        {"甲书", "静女", "", 2, "《甲书》中没有含有字库里两个不同的字的句子，取不了两字名"},
        {"乙书", "静", "姝", 3, "《乙书》中没有同时含有“姝”和字库里另外两个字的句子，取不了三字名"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        DrawSettings draw;
        draw.length = c.length;
        const VerseRun run = runVerse(table, c.source, draw, c.library, c.fixed);
        EXPECT_FALSE(run.start.started());
        EXPECT_EQ(hmf::test::messageOf(run.start.status), c.message);
    }
    // The length raised while the run goes on: the run ends without a name and says why.
    SessionState session;
    NameGenerator generator(shippedTables(), session);
    RunSettings run;
    run.surname = "林";
    run.birth = {2019, 5, 5, 5};
    run.characters = core::splitCharacters("静女");
    run.source = "甲书";
    run.verse = &table;
    run.length = 1;
    ASSERT_TRUE(generator.start(run).started());
    DrawSettings draw;
    draw.length = 2;
    const DrawResult raised = generator.draw(draw);
    EXPECT_TRUE(raised.finished);
    EXPECT_EQ(raised.fullName, "");
    EXPECT_EQ(raised.message, "《甲书》中没有含有字库里两个不同的字的句子，取不了两字名");
    EXPECT_FALSE(generator.running());

    // The library source draws as before and cites nothing.
    const VerseRun plain = runVerse(table, "字库", draw, "静女其姝");
    ASSERT_TRUE(plain.start.started());
    for (const auto& d : plain.draws)
        EXPECT_FALSE(d.source);
}

TEST(VerseGeneratorTest, ShippedBooksGiveManyNamesForEachSex)
{
    for (const char* book : {"诗经", "楚辞", "唐诗", "宋词"}) {
        for (const char* sex : {"男", "女"}) {
            SCOPED_TRACE(std::string(book) + sex);
            SessionState session;
            NameGenerator generator(shippedTables(), session);
            RunSettings run;
            run.surname = "林";
            run.sex = sex;
            run.birth = {2019, 5, 5, 5};
            run.seed = 2024;
            const char* dir = std::getenv("HMF_DATA_DIR");
            run.dataDir = dir ? dir : "data";
            run.source = book;
            const StartResult start = generator.start(run);
            ASSERT_TRUE(start.started()) << hmf::test::messageOf(start.status);
            DrawSettings draw;
            std::set<std::string> names;
            for (int i = 0; i < 300 && generator.running(); ++i) {
                const DrawResult d = generator.draw(draw);
                if (d.duplicate || d.title.empty())
                    continue;
                ASSERT_TRUE(d.source);
                EXPECT_TRUE(lineHolds(d.source->line, d.givenName)) << d.givenName;
                for (const char* particle : {"之", "兮", "以", "尔", "其", "而", "于"})
                    EXPECT_EQ(d.givenName.find(particle), std::string::npos) << d.givenName;
                names.insert(d.givenName);
            }
            EXPECT_GE(names.size(), 20u);
        }
    }
}

TEST(VerseReportTest, SectionNamesTheBestSourceOfTheGivenName)
{
    const VerseTable& verse = shippedVerse();
    struct Case
    {
        const char* given;
        const VerseTable* table;
        const char* line; // empty: no 出处 line
    };
    const Case cases[] = {
        {"静姝", &verse, "出处：《诗经·静女》静女其姝，俟我于城隅。"},
        {"姝静", &verse, "出处：《诗经·静女》静女其姝，俟我于城隅。"},
        {"鑫淼", &verse, ""},
        {"静姝", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        ReportRequest request{"林", c.given, {2019, 5, 5, 5}, std::nullopt};
        request.verse = c.table;
        const auto report = buildReport(shippedTables(), request);
        ASSERT_TRUE(hmf::test::succeeded(report));
        const std::string text = plainText(report->runs);
        const auto section = text.find("名字品评");
        ASSERT_NE(section, std::string::npos);
        const auto at = text.find("出处：");
        if (*c.line) {
            EXPECT_GT(at, section);
            EXPECT_NE(text.find(std::string(c.line) + "\r\n"), std::string::npos) << text;
        } else {
            EXPECT_EQ(at, std::string::npos);
        }
        // The product's lines stay as they are.
        const auto plain =
            buildReport(shippedTables(), {"林", c.given, {2019, 5, 5, 5}, std::nullopt});
        ASSERT_TRUE(hmf::test::succeeded(plain));
        EXPECT_EQ(
            std::vector<ColouredRun>(report->runs.begin(), report->runs.begin() + kProductRuns),
            std::vector<ColouredRun>(plain->runs.begin(), plain->runs.begin() + kProductRuns));
    }
}

// verse.txt cut short at a line end (宋词 half gone) is refused as the file's fault.
TEST(VerseTableTest, AFileCutAtALineEndIsRefused)
{
    const char* dir = std::getenv("HMF_DATA_DIR");
    std::ifstream in(std::filesystem::path(dir ? dir : "data") / "verse.txt", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto cut = std::filesystem::temp_directory_path() /
                     ("hmf-verse-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(cut, std::ios::binary)
        << whole.substr(0, whole.find('\n', whole.size() * 9 / 10) + 1);
    const auto table = VerseTable::load(cut);
    std::filesystem::remove(cut);
    const core::Error e = hmf::test::failure(table);
    EXPECT_TRUE(e.isDataFault());
    EXPECT_EQ(e.what.rfind("表不全：应有", 0), 0u) << e.message();
}

} // namespace
} // namespace hmf::naming
