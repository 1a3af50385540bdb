// Syllables and the tables that judge a name: their formats, lookups and refusals.

#include "core/namedata.h"
#include "core/syllable.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

using namespace hmf::core;
using hmf::test::failure;
using hmf::test::succeeded;

TEST(Syllable, SplitsToneInitialAndFinalOfBothSpellings)
{
    struct Case
    {
        std::string_view reading;
        bool marked;
        std::string_view plain, initial, final;
        int tone;
    };
    const Case cases[] = {
        {"zhāng", true, "zhang", "zh", "ang", 1}, {"lǜ", true, "lv", "l", "v", 4},
        {"yuè", true, "yue", "", "ve", 4},        {"yán", true, "yan", "", "ian", 2},
        {"wéi", true, "wei", "", "uei", 2},       {"xù", true, "xu", "x", "v", 4},
        {"ba", true, "ba", "b", "a", 5},          {"chu1", false, "chu", "ch", "u", 1},
        {"lv4", false, "lv", "l", "v", 4},        {"lü4", false, "lv", "l", "v", 4},
        {"zi5", false, "zi", "z", "-i", 5},       {"liu2", false, "liu", "l", "iou", 2},
        {"gui4", false, "gui", "g", "uei", 4},    {"ying1", false, "ying", "", "ing", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.reading));
        auto s = c.marked ? syllableFromMarked(c.reading) : syllableFromNumbered(c.reading);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->plain, c.plain);
        EXPECT_EQ(s->initial, c.initial);
        EXPECT_EQ(s->final, c.final);
        EXPECT_EQ(s->tone, c.tone);
    }
    // Same syllable, same code, whatever the tone or spelling.
    EXPECT_EQ(syllableFromMarked("lǘ")->code, syllableFromNumbered("lv3")->code);
    EXPECT_NE(syllableFromMarked("lú")->code, syllableFromMarked("lǘ")->code);
    for (std::string_view bad : {"", "chu", "chu6", "1", "ho lo", "zhuangg1", "中1"})
        EXPECT_FALSE(syllableFromNumbered(bad)) << bad;
    EXPECT_FALSE(syllableFromMarked("ho lo"));
    EXPECT_FALSE(syllableFromMarked(""));
}

TEST(MeaningTable, ReadsRecordsAndSkipsComments)
{
    MeaningTable t;
    ASSERT_TRUE(succeeded(
        t.parse("# 字\t性别\t褒贬\t字义\n\n明\t中\t+\t光明\r\n浅\t女\t-\t浅薄\n泰\t男\t0\t安泰\n",
                "meanings.txt")));
    EXPECT_EQ(t.size(), 3u);
    ASSERT_TRUE(t.find(U'明'));
    EXPECT_EQ(t.find(U'明')->meaning, "光明");
    EXPECT_EQ(t.find(U'明')->polarity, 1);
    EXPECT_EQ(t.find(U'浅')->polarity, -1);
    EXPECT_EQ(t.find(U'浅')->sex, SexLeaning::Female);
    EXPECT_EQ(t.find(U'泰')->sex, SexLeaning::Male);
    EXPECT_FALSE(t.find(U'华'));
}

// Every refusal names the file and the line of the fault.
TEST(NameTables, RefuseMalformedLinesWithTheirLine)
{
    struct Case
    {
        std::string_view table, text;
        int line;
    };
    const Case cases[] = {
        {"meanings", "明\t中\t+\t光明\n华\t中\t+\n", 2},
        {"meanings", "明\t男女\t+\t光明\n", 1},
        {"meanings", "明\t中\t++\t光明\n", 1},
        {"meanings", "明明\t中\t+\t光明\n", 1},
        {"meanings", "明\t中\t+\t \n", 1},
        {"meanings", "明\t中\t+\t光明\n#\n明\t中\t0\t又一次\n", 3},
        {"meanings", "# only a comment\n", 0},
        {"badwords", "饭桶\tfan4 tong3\t辱骂\n出墓\tchu1\t死亡\n", 2},
        {"badwords", "饭桶\tfan tong\t辱骂\n", 1},
        {"badwords", "饭\tfan4\t辱骂\n", 1},
        {"badwords", "饭桶\tfan4 tong3\t\n", 1},
        {"badwords", "fan\tfan4 tong3\t辱骂\n", 1},
        {"levels", "一\t1\n二\t4\n", 2},
        {"levels", "一\t1\n一\t2\n", 2},
        {"levels", "", 0},
        {"polyphones", "朝\tzhāo/cháo\n", 1},
        {"talents", "　　木 木 木\n（吉）\n", 0},
        {"talents", "（吉）\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + ": " + std::string(c.text));
        Status status;
        if (c.table == "meanings")
            status = MeaningTable().parse(c.text, "f.txt");
        else if (c.table == "badwords")
            status = BadWordList().parse(c.text, "f.txt");
        else if (c.table == "levels")
            status = LevelTable().parse(c.text, "f.txt");
        else if (c.table == "polyphones")
            status = PolyphoneTable().parse(c.text, "f.txt");
        else
            status = ThreeTalentTable().parse(c.text, "f.txt");
        const Error e = failure(status);
        EXPECT_EQ(e.file, "f.txt");
        EXPECT_EQ(e.line, c.line);
        EXPECT_FALSE(e.what.empty());
    }
}

TEST(BadWordList, FindsWordsByTheirSyllablesWithoutTones)
{
    BadWordList list;
    ASSERT_TRUE(succeeded(
        list.parse("饭桶\tfan4 tong3\t辱骂\n范统\tfan4 tong3\t重复\n肚子疼\tdu4 zi5 teng2\t笑柄\n",
                   "badwords.txt")));
    const auto code = [](std::string_view r) { return syllableFromNumbered(r)->code; };
    std::vector<std::string> found;
    const std::uint32_t fanTong[] = {code("fan1"), code("tong1")};
    list.forEachToneless(fanTong, 2, [&](const BadWord& w) { found.emplace_back(w.word); });
    EXPECT_EQ(found, (std::vector<std::string>{"饭桶", "范统"}));
    found.clear();
    const std::uint32_t duZi[] = {code("du4"), code("zi3")};
    list.forEachToneless(duZi, 2, [&](const BadWord& w) { found.emplace_back(w.word); });
    EXPECT_TRUE(found.empty()); // a part of a word is no match
    const std::uint32_t duZiTeng[] = {code("du4"), code("zi3"), code("teng2")};
    list.forEachToneless(duZiTeng, 3, [&](const BadWord& w) { found.emplace_back(w.word); });
    EXPECT_EQ(found, std::vector<std::string>{"肚子疼"});
}

TEST(LevelTable, OutsideTheTableIsLevelZero)
{
    LevelTable t;
    ASSERT_TRUE(succeeded(t.parse("# levels\n一\t1\n芃\t2\n犇\t3\n", "levels.txt")));
    EXPECT_EQ(t.level(U'一'), 1);
    EXPECT_EQ(t.level(U'芃'), 2);
    EXPECT_EQ(t.level(U'犇'), 3);
    EXPECT_EQ(t.level(U'龘'), 0);
}

TEST(ThreeTalentTable, ElementsByLastDigitAndVerdictsOfTheBlocks)
{
    EXPECT_EQ(ThreeTalentTable::elementOfNumber(11), 0); // 木
    EXPECT_EQ(ThreeTalentTable::elementOfNumber(14), 1); // 火
    EXPECT_EQ(ThreeTalentTable::elementOfNumber(25), 2); // 土
    EXPECT_EQ(ThreeTalentTable::elementOfNumber(8), 3);  // 金
    EXPECT_EQ(ThreeTalentTable::elementOfNumber(20), 4); // 水
}
