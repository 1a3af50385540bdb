// The lookup rules of each table, on small fixtures that show them.

#include "core/cities.h"
#include "core/elements.h"
#include "core/luck.h"
#include "core/pinyin.h"
#include "core/reference.h"
#include "core/strokes.h"
#include "core/traditional.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

using namespace hmf::core;
using hmf::test::failure;
using hmf::test::succeeded;

TEST(GridStrokeTable, FirstItemWinsAndAllCountFieldFormsRead)
{
    StrokeDictionary d;
    ASSERT_TRUE(succeeded(d.parseGridTable("啊16 阿13 哎 8 哎11 哀9  \r\n千 3 \r\n\x1A", "g")));
    EXPECT_EQ(d.gridStrokeCount("啊"), 16);
    EXPECT_EQ(d.gridStrokeCount("哎"), 8);
    EXPECT_EQ(d.gridStrokeCount("哀"), 9);
    EXPECT_EQ(d.gridStrokeCount("千"), 3);
    EXPECT_EQ(d.gridStrokeCount("啊阿"), -1); // a compound surname is summed by the caller
    EXPECT_EQ(d.gridStrokeCount("a"), -1);
    EXPECT_EQ(d.gridStrokeCount(""), -1);
}

TEST(GridStrokeTable, MatchesWholeCharactersOnly)
{
    // In GBK, 啊阿 is B0A1 B0A2 and “ is A1B0: a byte search would find “ straddling the two.
    StrokeDictionary d;
    ASSERT_TRUE(succeeded(d.parseGridTable("啊10 阿 8 ", "g")));
    EXPECT_EQ(d.gridStrokeCount("“"), -1);
}

TEST(GridStrokeTable, ReportsTheLineOfAMalformedItem)
{
    const std::pair<std::string, int> cases[] = {
        {"啊16 \r\n阿1x ", 2},
        {"啊16 \r\n\r\n阿", 3},
        {"啊16 a16 ", 1},
        {"啊123", 1},
    };
    for (const auto& [text, line] : cases) {
        SCOPED_TRACE(text);
        StrokeDictionary d;
        const Error e = failure(d.parseGridTable(text, "gridstrokes.txt"));
        EXPECT_EQ(e.line, line);
        EXPECT_EQ(e.file, "gridstrokes.txt");
    }
}

TEST(StrokeGroupTable, LastGroupWinsThenGeneralCountOfTheTraditionalForm)
{
    StrokeDictionary d;
    TraditionalTable t;
    ASSERT_TRUE(succeeded(d.parseGroupTable(" 3\t千干\n13\t干\r\n24\t千\n", "s")));
    ASSERT_TRUE(succeeded(d.parseGeneralTable("劉15,牙合10,龜16,刘6,", "l")));
    ASSERT_TRUE(succeeded(t.parse("刘\t劉\n龟\t龜\n", "t")));
    EXPECT_EQ(d.displayStrokeCount("千", &t), 24);
    EXPECT_EQ(d.displayStrokeCount("干", &t), 13);
    EXPECT_EQ(d.displayStrokeCount("刘", &t), 15); // no group: the count of 劉
    EXPECT_EQ(d.displayStrokeCount("龟", &t), 16);
    EXPECT_EQ(d.displayStrokeCount("牙", &t), 0); // only part of a two-character key
    EXPECT_EQ(d.displayStrokeCount("x", &t), 0);
    EXPECT_EQ(d.strokeString("刘千", &t), "15-24");
    EXPECT_EQ(d.strokeString("千", &t), "24");
    EXPECT_EQ(d.strokeString("", &t), "");
}

TEST(GeneralStrokeTable, FirstItemWins)
{
    StrokeDictionary d;
    ASSERT_TRUE(succeeded(d.parseGeneralTable("東8,東5,", "l")));
    EXPECT_EQ(d.displayStrokeCount("東", nullptr), 8);
    EXPECT_FALSE(d.parseGeneralTable("東8,東", "l"));
}

TEST(ElementTable, LastListWinsAndUnknownGivesEmpty)
{
    ElementTable t;
    ASSERT_TRUE(
        succeeded(t.parse("土\t又一乙文自章\n木\t林\n火\t炎自章\n水\t海文\n金\t鑫\n", "e")));
    const std::pair<std::string, std::string> cases[] = {
        {"文", "水"}, {"自", "火"}, {"章", "火"}, {"又", "土"}, {"林", "木"},
        {"鑫", "金"}, {"x", ""},    {"一乙", ""}, {"", ""},
    };
    for (const auto& [c, element] : cases) {
        SCOPED_TRACE(c);
        EXPECT_EQ(t.elementOf(c), element);
    }
    EXPECT_EQ(t.elementString("海林"), "水-木");
    EXPECT_EQ(t.elementString("海x"), "水-");
    EXPECT_EQ(t.elementString(""), "");
}

TEST(ElementTable, RefusesAListWithoutItsElement)
{
    ElementTable t;
    EXPECT_FALSE(t.parse("土\t又\n木\t林\n", "elements.txt")); // three lists missing
    const Error e = failure(t.parse("土\t又\n石\t林\n", "elements.txt"));
    EXPECT_EQ(e.line, 2);
    EXPECT_FALSE(t.parse("土\t又\n土\t林\n", "elements.txt"));
}

TEST(PinyinTable, FirstEntryWinsAndTheFallbackFillsGaps)
{
    PinyinTable p;
    ASSERT_TRUE(succeeded(p.parse("长cháng,zhǎng,行xíng,háng,长zhǎng,", "p")));
    ASSERT_TRUE(succeeded(p.parseFallback("曾zēng,长zhǎng,", "f")));
    EXPECT_EQ(p.pinyinOf("长"), "cháng");
    EXPECT_EQ(p.pinyinOf("行长"), "xíngcháng");
    EXPECT_EQ(p.pinyinOf("行长", true), "xíng cháng ");
    EXPECT_EQ(p.pinyinOf("曾"), "zēng");
    EXPECT_EQ(p.pinyinOf("a"), "");
    EXPECT_EQ(p.pinyinOf(""), "");
}

namespace {

std::string luckFixture(int records, const std::string& tenthFamily = "家\r\n庭")
{
    std::string text;
    for (int k = 1; k <= records; ++k) {
        if (k > 1)
            text += "*******";
        text += "第" + std::to_string(k) + "数理---" +
                (k == 2    ? "凶"
                 : k == 17 ? "半吉"
                           : "吉") +
                "---基业" + std::to_string(k) + "---" + (k == 10 ? tenthFamily : "家庭") +
                "---健康---含义" + std::to_string(k);
    }
    return text;
}

} // namespace

TEST(LuckTable, KeepsFieldsAsWrittenAndCountsOnPast81)
{
    LuckTable t;
    ASSERT_TRUE(succeeded(t.parse(luckFixture(81) + "\r\n", "luck81.txt")));
    EXPECT_EQ(t.entry(1).title, "第1数理");
    EXPECT_EQ(t.verdict(2), "凶");
    EXPECT_EQ(t.verdict(17), "半吉");
    EXPECT_EQ(t.entry(10).family, "家\r\n庭");
    EXPECT_EQ(t.entry(81).meaning, "含义81");
    for (int n : {0, -1, -80}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(t.verdict(n), "");
        EXPECT_EQ(t.entry(n).title, "");
    }
    // Past 81 the count starts again at 2: the number less 80.
    const std::pair<int, const char*> past81[] = {
        {82, "第2数理"}, {95, "第15数理"}, {161, "第81数理"}, {162, "第2数理"}};
    for (const auto& [n, title] : past81) {
        SCOPED_TRACE(n);
        EXPECT_EQ(t.entry(n).title, title);
        EXPECT_EQ(t.verdict(n), t.verdict(n == 161 ? 81 : n % 80));
    }
}

TEST(LuckTable, RefusesAMalformedTable)
{
    LuckTable t;
    EXPECT_FALSE(t.parse(luckFixture(80), "luck81.txt"));
    const Error e = failure(t.parse(luckFixture(81, "家---庭"), "luck81.txt"));
    EXPECT_NE(e.what.find("10"), std::string::npos);
}

TEST(SexagenaryTable, ReadsSixtyRows)
{
    std::string text;
    for (int j = 1; j <= 60; ++j)
        text += std::string(j == 1 ? "" : "\r\n") + (j == 60 ? "水,水," : "木,水,");
    SexagenaryTable t;
    ASSERT_TRUE(succeeded(t.parse(text, "s")));
    EXPECT_EQ(t.row(1), "木,水,");
    EXPECT_EQ(t.row(60), "水,水,");
    EXPECT_EQ(t.row(61), "");
    EXPECT_FALSE(t.parse(text + "\r\n木,水,", "s"));
    EXPECT_FALSE(t.parse("木,水,\r\n", "s"));
}

TEST(CityTable, MatchesAWholeNameThenAUniqueBeginningAndNeverAProvinceAsACity)
{
    CityTable t;
    ASSERT_TRUE(succeeded(
        t.parse("新疆\t乌鲁木齐\t87.79\t43.76\r\n吉林\t延边朝鲜族自治州\t129.24\t43.15\r\n"
                "吉林\t吉林\t126.44\t43.51\r\n辽宁\t大连\t121.81\t39.28\r\n"
                "辽宁\t大庆\t124.67\t46.27\r\n海南\t海口\t110.42\t19.85\r\n"
                "海南\t三亚\t109.42\t18.36\r\n青海\t海南藏族自治州\t100.26\t35.90\r\n"
                "香港\t香港\t114.14\t22.37\r\n",
                "c")));
    using Kind = CityMatch::Kind;
    const struct
    {
        const char* typed;
        Kind kind;
        const char* city;       // the city found
        const char* candidates; // the candidates, joined by blanks
    } cases[] = {
        {"乌鲁木齐", Kind::Found, "乌鲁木齐", ""},
        {" 乌鲁木齐市 ", Kind::Found, "乌鲁木齐", ""},
        {"延边", Kind::Found, "延边朝鲜族自治州", ""},
        {"吉林", Kind::Found, "吉林", ""}, // a city's exact name beats its province
        {"香港", Kind::Found, "香港", ""},
        {"海南", Kind::Province, "", "海口 三亚"}, // not 海南藏族自治州 in 青海
        {"海南省", Kind::Province, "", "海口 三亚"},
        {"海南藏", Kind::Found, "海南藏族自治州", ""},
        {"大", Kind::Ambiguous, "", "大连 大庆"},
        {"北京", Kind::Unknown, "", ""},
        {"", Kind::Unknown, "", ""},
        {"\xe9\xa6", Kind::NotUtf8, "", ""}, // the first two bytes of 香
        {"\xe9", Kind::NotUtf8, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const CityMatch m = t.match(c.typed);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_EQ(m.city ? m.city->name : "", c.city);
        std::string candidates;
        for (const City* city : m.candidates)
            candidates += (candidates.empty() ? "" : " ") + city->name;
        EXPECT_EQ(candidates, c.candidates);
    }
}

TEST(CityTable, MalformedLinesNameTheirLine)
{
    const char* const bad[] = {
        "新疆\t乌鲁木齐\t87.79\r\n",                            // a field missing
        "新疆\t乌鲁木齐\t-87.79\t43.76\r\n",                    // west longitude
        "新疆\t乌鲁木齐\t187.79\t43.76\r\n",                    // beyond 180°
        "新疆\t乌鲁木齐\t8e1\t43.76\r\n",                       // not a plain decimal
        "新疆\t\t87.79\t43.76\r\n",                             // no name
        "新疆\t哈密\t93.5\t43.0\r\n新疆\t哈密\t93.5\t43.0\r\n", // given twice
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        CityTable t;
        const Error e = failure(t.parse(text, "cities.txt"));
        EXPECT_GE(e.line, 1);
    }
    CityTable t;
    EXPECT_FALSE(t.parse("", "cities.txt"));
}
