// Grids, three talents and the name score on fixture tables with the real verdicts.

#include "core/grids.h"
#include "core/score.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <set>

using namespace hmf::core;
using hmf::test::failure;
using hmf::test::succeeded;

namespace {

StrokeDictionary fixtureStrokes()
{
    StrokeDictionary d;
    // 甲 乙 stand for a compound surname of counts 8 and 12.
    EXPECT_TRUE(succeeded(d.parseGridTable("王 4 明 8 张11 华14 甲 8 乙12 林 8 炎 8 坤 8 ", "g")));
    return d;
}

LuckTable realVerdicts()
{
    const std::set<int> good = {1,  3,  5,  6,  7,  8,  11, 13, 15, 16, 21, 23, 24, 31, 32,
                                33, 35, 37, 41, 45, 47, 48, 52, 57, 61, 63, 65, 67, 68, 81};
    const std::set<int> fair = {17, 18, 25, 29, 30, 38, 39, 51, 58, 71, 73, 75, 77, 78};
    std::string text;
    for (int k = 1; k <= 81; ++k) {
        text += (k > 1 ? "*******第" : "第") + std::to_string(k) + "数理---" +
                (good.count(k)   ? "吉"
                 : fair.count(k) ? "半吉"
                                 : "凶") +
                "---a---b---c---d";
    }
    LuckTable t;
    EXPECT_TRUE(succeeded(t.parse(text, "l")));
    return t;
}

ElementTable fixtureElements()
{
    ElementTable t;
    EXPECT_TRUE(succeeded(t.parse("土\t坤\n木\t林\n火\t炎\n水\t明\n金\t华\n", "e")));
    return t;
}

} // namespace

TEST(Grids, StandardRulesForSingleAndCompoundSurnames)
{
    const auto strokes = fixtureStrokes();
    struct Case
    {
        std::string surname, given;
        FiveGrids grids;
    };
    const Case cases[] = {
        {"王", "明", {5, 12, 9, 2, 12}},
        {"张", "明华", {12, 19, 22, 15, 33}},
        {"甲乙", "明华", {20, 20, 22, 22, 42}},
        {"甲乙", "明", {20, 20, 9, 9, 28}},
        {"张", "明华林", {12, 19, 30, 23, 41}},
        // A character missing from the table counts -1 (callers refuse such names first).
        {"王", "x", {5, 3, 0, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.surname + c.given);
        EXPECT_EQ(gridNumbers(strokes, c.surname, c.given), c.grids);
    }
}

TEST(Score, GridPointsAndBirthDateTerms)
{
    const auto luck = realVerdicts();
    const auto elements = fixtureElements();
    const FiveGrids zhangMingHua{12, 19, 22, 15, 33}; // base 80
    const FiveGrids wangMing{5, 12, 9, 2, 13};        // base 70
    struct Case
    {
        FiveGrids grids;
        int y, m, d;
        int score;
    };
    const Case cases[] = {
        {zhangMingHua, 2019, 5, 5, 96},
        {wangMing, 1985, 8, 20, 81},           // late branch: 70 + 5 + 2 + 1 + 3
        {wangMing, 1995, 3, 10, 82},           // base year 1990: 70 + 5 + 3 + 1 + 3
        {wangMing, 2019, 5, 20, 82},           // (15 - 20) / 3 drops toward zero: -1
        {wangMing, 2019, 8, 10, 81},           // month term 6 - 8 = -2, day term 1
        {wangMing, 1980, 6, 15, 83},           // base 1970
        {wangMing, 1981, 6, 15, 74},           // base 1980
        {wangMing, 1965, 6, 15, 68},           // a year term of -5
        {wangMing, 2021, 6, 15, 74},           // the decade table goes on: base 2020
        {wangMing, 2035, 6, 15, 78},           // base 2030
        {wangMing, 2030, 6, 15, 83},           // 2030 still belongs to 2021-2030
        {{5, 82, 0, -3, 90}, 2019, 6, 15, 49}, // 82 counts as 2 (凶 60); 90 as 10 (凶 65)
        {{5, 95, 0, -3, 0}, 2019, 6, 15, 42},  // 95 counts as 15 (吉 100); 0 and below: 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        ScoreInput in{c.grids, c.y, c.m, c.d, "", "明华", false};
        EXPECT_EQ(nameScore(luck, elements, in), c.score);
    }
}

TEST(Score, FixedCharacterBonusAndCaps)
{
    const auto luck = realVerdicts();
    const auto elements = fixtureElements();
    const FiveGrids best{5, 11, 13, 3, 15}; // all four grids 吉: base 100
    ScoreInput in{best, 2019, 5, 5, "", "明华", false};
    EXPECT_EQ(nameScore(luck, elements, in), 100); // 116 capped
    in.grids = {12, 19, 22, 15, 33};
    in.year = 2015; // 80 + 5 + 1 + 3 + 3 = 92
    EXPECT_EQ(nameScore(luck, elements, in), 92);
    in.fixedCharacter = true;
    EXPECT_EQ(nameScore(luck, elements, in), 97);
    in.year = 2012; // 89, +5
    EXPECT_EQ(nameScore(luck, elements, in), 94);
    in.grids = {5, 12, 9, 2, 12}; // base 59: no bonus at 80 or below
    EXPECT_EQ(nameScore(luck, elements, in), 59 + 2 + 1 + 3 + 3);
}

TEST(Score, MissingElementCheckByGivenNameLength)
{
    const auto luck = realVerdicts();
    const auto elements = fixtureElements(); // 林 木, 炎 火, 坤 土, 明 水, 华 金
    struct Case
    {
        std::string given, missing;
        int score;
    };
    // The date terms give 96 before the check.
    const Case cases[] = {
        {"林", "", 96},
        {"林", "木  ", 100},
        {"炎", "木  ", 96},       // capped at 99, already below
        {"林炎", "木  火  ", 99}, // only the first character supplies 木
        {"炎林", "木  ", 100},
        {"坤炎林", "木  ", 100}, // three characters: the first and the last count
        {"林坤炎", "木  ", 99},
        {"林炎", "火  木  ", 100}, // the first missing element is the one that counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given + "/" + c.missing);
        ScoreInput in{{12, 19, 22, 15, 33}, 2019, 5, 5, c.missing, c.given, false};
        EXPECT_EQ(nameScore(luck, elements, in), c.score);
    }
    // Above 99 a name that does not supply the missing element is held at 99.
    ScoreInput high{{5, 11, 13, 3, 15}, 2019, 5, 5, "木  ", "炎", false};
    EXPECT_EQ(nameScore(luck, elements, high), 99);
}

// The fast score of a ranking and of a run of draws must be the report's score for every name,
// also when a grid passes 81 (a compound surname and three characters of many strokes) and when
// the missing text names no element.
TEST(Score, FastScorerAgreesWithNameScore)
{
    const auto luck = realVerdicts();
    const auto elements = fixtureElements();
    // Each fixture character with its element's place in kElementOrder.
    const std::pair<std::string, int> characters[] = {{"华", 0}, {"林", 1}, {"明", 2}, {"炎", 3}};
    const std::vector<int> surnames[] = {{4}, {8, 12}, {30, 29}};
    const std::string missings[] = {"", "木  ", "火  木  ", "x"};
    int above81 = 0;
    for (const auto& surname : surnames)
        for (const auto& missing : missings)
            for (const bool fixed : {false, true}) {
                const FastScorer fast(luck, surname, 2019, 8, 20, missing, fixed);
                for (int n = 1; n <= 3; ++n)
                    for (int strokes = 1; strokes <= 64; strokes += 9)
                        for (std::size_t first = 0; first < 4; ++first) {
                            const std::size_t last = (first + static_cast<std::size_t>(n)) % 4;
                            int counts[3] = {strokes, strokes + 5, 2 * strokes};
                            std::string given = characters[first].first;
                            if (n == 3)
                                given += "林";
                            if (n >= 2)
                                given += characters[last].first;
                            const int lastElement = characters[n == 1 ? first : last].second;
                            ScoreInput in{gridNumbersFromCounts(surname.data(), surname.size(),
                                                                counts,
                                                                static_cast<std::size_t>(n)),
                                          2019,
                                          8,
                                          20,
                                          missing,
                                          given,
                                          fixed};
                            above81 += in.grids.zong > 81;
                            SCOPED_TRACE(given + "/" + missing + "/" + std::to_string(strokes));
                            EXPECT_EQ(fast.score(counts, n, characters[first].second, lastElement),
                                      nameScore(luck, elements, in));
                        }
            }
    EXPECT_GT(above81, 0); // the cases reach past 81
}
