// Edge cases of the calendar, input checks, the sexagenary cycle, the birth chart and star signs.

#include "calendar/birthchart.h"
#include "calendar/calendar.h"
#include "calendar/starsign.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace hmf::calendar;

namespace {

struct EdgeCase
{
    BirthTime time;
    LunarDate lunar;
    const char* pillars; // year month day hour
    const char* zodiac;
    const char* why;
};

// Values as the reference calendar gives them (tools/calendar-reference).
const EdgeCase kEdgeCases[] = {
    {{2033, 8, 25, 12},
     {2033, 8, 1, false},
     "癸丑 庚申 戊申 戊午",
     "牛",
     "2033: 八月 lacks a principal term yet is not leap"},
    {{2033, 12, 21, 12},
     {2033, 11, 30, false},
     "癸丑 甲子 丙午 甲午",
     "牛",
     "2033: last day of 十一月"},
    {{2033, 12, 22, 0}, {2033, 11, 1, true}, "癸丑 甲子 丁未 庚子", "牛", "2033: 闰十一月 begins"},
    {{2034, 1, 20, 0},
     {2033, 12, 1, false},
     "癸丑 乙丑 丙子 戊子",
     "牛",
     "2033: 十二月 after the leap month"},
    {{1900, 9, 24, 0}, {1900, 8, 1, true}, "庚子 乙酉 庚子 丙子", "鼠", "闰八月 1900"},
    {{1984, 11, 23, 0}, {1984, 10, 1, true}, "甲子 乙亥 辛酉 戊子", "鼠", "闰十月 1984"},
    {{2023, 3, 22, 0}, {2023, 2, 1, true}, "癸卯 乙卯 己卯 甲子", "兔", "闰二月 2023"},
    {{2025, 7, 25, 0}, {2025, 6, 1, true}, "乙巳 癸未 乙未 丙子", "蛇", "闰六月 2025"},
    {{2099, 3, 22, 0}, {2099, 2, 1, true}, "己未 丁卯 戊午 壬子", "羊", "闰二月 2099"},
    {{1978, 9, 2, 23},
     {1978, 7, 30, false},
     "戊午 庚申 丁卯 壬子",
     "马",
     "new moon 9 min after midnight"},
    {{1978, 9, 3, 0},
     {1978, 8, 1, false},
     "戊午 庚申 戊辰 壬子",
     "马",
     "new moon 9 min after midnight"},
    {{2027, 2, 5, 23},
     {2026, 12, 29, false},
     "丁未 壬寅 乙卯 戊子",
     "羊",
     "new moon 4 min before midnight"},
    {{2027, 2, 6, 0},
     {2027, 1, 1, false},
     "丁未 壬寅 丙辰 戊子",
     "羊",
     "new moon 4 min before midnight"},
    {{2030, 2, 2, 23},
     {2029, 12, 30, false},
     "己酉 丁丑 戊辰 甲子",
     "鸡",
     "new moon 8 min after midnight"},
    {{2030, 2, 3, 0},
     {2030, 1, 1, false},
     "己酉 丁丑 己巳 甲子",
     "鸡",
     "new moon 8 min after midnight"},
    {{1923, 2, 5, 4}, {1922, 12, 20, false}, "壬戌 癸丑 己酉 丙寅", "狗", "立春 04:00:17"},
    {{1923, 2, 5, 5}, {1922, 12, 20, false}, "癸亥 甲寅 己酉 丁卯", "猪", "立春 04:00:17"},
    {{2024, 2, 4, 16}, {2023, 12, 25, false}, "癸卯 乙丑 戊戌 庚申", "兔", "立春 16:27:07"},
    {{2024, 2, 4, 17}, {2023, 12, 25, false}, "甲辰 丙寅 戊戌 辛酉", "龙", "立春 16:27:07"},
    {{1974, 2, 4, 13}, {1974, 1, 13, false}, "癸丑 乙丑 丙子 乙未", "牛", "立春 13:00:05"},
    {{1974, 2, 4, 14}, {1974, 1, 13, false}, "甲寅 丙寅 丙子 乙未", "虎", "立春 13:00:05"},
    {{2100, 2, 4, 3}, {2099, 12, 26, false}, "己未 丁丑 丁丑 壬寅", "羊", "立春 03:00:17"},
    {{2100, 2, 4, 4}, {2099, 12, 26, false}, "庚申 戊寅 丁丑 壬寅", "猴", "立春 03:00:17"},
    {{1996, 7, 7, 3}, {1996, 5, 22, false}, "丙子 甲午 乙巳 戊寅", "鼠", "小暑 03:59:59.7"},
    {{1996, 7, 7, 4}, {1996, 5, 22, false}, "丙子 乙未 乙巳 戊寅", "鼠", "小暑 03:59:59.7"},
    {{2094, 4, 4, 14}, {2094, 2, 20, false}, "甲寅 丁卯 乙巳 癸未", "虎", "清明 14:00:01"},
    {{2094, 4, 4, 15}, {2094, 2, 20, false}, "甲寅 戊辰 乙巳 甲申", "虎", "清明 14:00:01"},
    {{2024, 3, 10, 22}, {2024, 2, 1, false}, "甲辰 丁卯 癸酉 癸亥", "龙", "亥 hour"},
    {{2024, 3, 10, 23},
     {2024, 2, 1, false},
     "甲辰 丁卯 癸酉 甲子",
     "龙",
     "23:00: day stays, hour takes the next day's stem"},
    {{2024, 3, 11, 0},
     {2024, 2, 2, false},
     "甲辰 丁卯 甲戌 甲子",
     "龙",
     "midnight: the day changes"},
    {{1900, 1, 31, 0}, {1900, 1, 1, false}, "己亥 丁丑 甲辰 甲子", "猪", "first supported hour"},
    {{2100, 12, 31, 23}, {2100, 12, 1, false}, "庚申 戊子 丁未 壬子", "猴", "last supported hour"},
    {{2019, 5, 5, 5}, {2019, 4, 1, false}, "己亥 戊辰 壬寅 癸卯", "猪", "立夏 day"},
};

std::string joined(const std::array<std::string, 4>& p)
{
    return p[0] + " " + p[1] + " " + p[2] + " " + p[3];
}

// The sexagenary element table built by its rule: stem element, branch element.
const hmf::core::SexagenaryTable& ruleTable()
{
    static const hmf::core::SexagenaryTable table = [] {
        const char* stems[10] = {"木", "木", "火", "火", "土", "土", "金", "金", "水", "水"};
        const char* branches[12] = {"水", "土", "木", "木", "土", "火",
                                    "火", "土", "金", "金", "土", "水"};
        std::string text;
        for (int j = 0; j < 60; ++j)
            text += std::string(j ? "\r\n" : "") + stems[j % 10] + "," + branches[j % 12] + ",";
        hmf::core::SexagenaryTable t;
        EXPECT_TRUE(hmf::test::succeeded(t.parse(text, "sexagenary.txt")));
        return t;
    }();
    return table;
}

} // namespace

TEST(Calendar, EdgeCasesAgreeWithTheReference)
{
    for (const EdgeCase& c : kEdgeCases) {
        SCOPED_TRACE(std::to_string(c.time.year) + "-" + std::to_string(c.time.month) + "-" +
                     std::to_string(c.time.day) + " " + std::to_string(c.time.hour) + ": " + c.why);
        auto lunar = lunarDate(c.time);
        ASSERT_TRUE(lunar);
        EXPECT_EQ(lunar->year, c.lunar.year);
        EXPECT_EQ(lunar->month, c.lunar.month);
        EXPECT_EQ(lunar->day, c.lunar.day);
        EXPECT_EQ(lunar->leap, c.lunar.leap);
        auto p = pillars(c.time);
        ASSERT_TRUE(p);
        EXPECT_EQ(joined(*p), c.pillars);
        EXPECT_EQ(zodiacAnimal(c.time), c.zodiac);
    }
}

TEST(Calendar, ImpossibleOrUnsupportedTimesAreRefused)
{
    struct Case
    {
        BirthTime time;
        const char* message;
    };
    const Case cases[] = {
        {{2023, 2, 29, 0}, "请填写正确的出生日期"},
        {{2024, 13, 1, 0}, "请填写正确的出生日期"},
        {{2024, 0, 1, 0}, "请填写正确的出生日期"},
        {{2024, 4, 31, 0}, "请填写正确的出生日期"},
        {{2024, 4, 0, 0}, "请填写正确的出生日期"},
        {{1900, 2, 29, 0}, "请填写正确的出生日期"},
        {{2024, 1, 1, 24}, "出生时辰应在0到23之间"},
        {{2024, 1, 1, -1}, "出生时辰应在0到23之间"},
        {{1900, 1, 30, 23}, "出生日期超出支持范围（1900年1月31日至2100年12月31日）"},
        {{2101, 1, 1, 0}, "出生日期超出支持范围（1900年1月31日至2100年12月31日）"},
        {{0, 1, 1, 0}, "出生日期超出支持范围（1900年1月31日至2100年12月31日）"},
        {{2147483647, 12, 31, 23}, "出生日期超出支持范围（1900年1月31日至2100年12月31日）"},
        {{-2147483647 - 1, 1, 1, 0}, "出生日期超出支持范围（1900年1月31日至2100年12月31日）"},
        {{2147483647, 2, 29, 0}, "请填写正确的出生日期"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(hmf::test::messageOf(checkBirthTime(c.time)), c.message);
        EXPECT_FALSE(lunarDate(c.time));
        EXPECT_FALSE(pillars(c.time));
        EXPECT_FALSE(pillarNumbers(c.time));
        EXPECT_FALSE(zodiacAnimal(c.time));
        EXPECT_FALSE(birthChart(c.time, ruleTable()));
    }
    EXPECT_EQ(hmf::test::messageOf(checkBirthTime({2024, 2, 29, 23})), "");
    EXPECT_EQ(hmf::test::messageOf(checkBirthTime({2000, 2, 29, 0})), "");
}

// The year tables fill on first use; threads that ask for the same fresh years at once must all
// see them complete.
TEST(Calendar, YearTablesFillSafelyFromSeveralThreads)
{
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, i] {
            for (int year = 2060; year <= 2064; ++year)
                for (int month = 1; month <= 12; ++month) {
                    BirthTime t{year, month, 15, 12};
                    auto lunar = lunarDate(t);
                    auto p = pillars(t);
                    results[i] += std::to_string(lunar ? lunar->day : 0) + (p ? (*p)[1] : "-");
                }
        });
    for (auto& t : threads)
        t.join();
    for (const std::string& r : results)
        EXPECT_EQ(r, results[0]);
    EXPECT_EQ(pillars({2062, 6, 15, 12})->at(1), "丙午");
}

TEST(Calendar, SexagenaryCycleAndNayin)
{
    EXPECT_EQ(cyclePair(1), "甲子");
    EXPECT_EQ(cyclePair(2), "乙丑");
    EXPECT_EQ(cyclePair(11), "甲戌");
    EXPECT_EQ(cyclePair(60), "癸亥");
    EXPECT_EQ(cyclePair(0), "");
    EXPECT_EQ(cyclePair(61), "");
    for (int n = 1; n <= 60; ++n)
        EXPECT_EQ(cycleIndex(cyclePair(n)), n);
    EXPECT_EQ(cycleIndex("甲丑"), 0); // stem and branch of different parity never pair
    EXPECT_EQ(cycleIndex(""), 0);
    EXPECT_EQ(cycleIndex("甲子 "), 0);
    const std::pair<const char*, const char*> nayins[] = {
        {"甲子", "海中金"}, {"乙丑", "海中金"}, {"丙寅", "炉中火"}, {"壬寅", "金箔金"},
        {"己亥", "平地木"}, {"戊辰", "大林木"}, {"壬戌", "大海水"}, {"癸亥", "大海水"},
        {"甲丑", ""},       {"", ""},
    };
    for (const auto& [pair, name] : nayins)
        EXPECT_EQ(nayin(pair), name) << pair;
}

TEST(BirthChart, NineLinesOfTheChartWindow)
{
    auto chart = birthChart({2019, 5, 5, 5}, ruleTable());
    ASSERT_TRUE(chart);
    EXPECT_EQ(chartText(*chart), "属相：猪\r\n"
                                 "四柱：己亥年 戊辰月 壬寅日 癸卯时\r\n"
                                 "八字：己亥 戊辰 壬寅 癸卯\r\n"
                                 "五行：土,水,土,土,水,木,水,木,\r\n"
                                 "纳音：平地木 大林木 金箔金 金箔金\r\n"
                                 "五行： 土,水,土,土,水,木,水,木,\r\n"
                                 "五行个数： 金：0个  木：2个  水：3个  火：0个  土：3个\r\n"
                                 "五行缺：金  火  \r\n"
                                 "此喜用神为:金  火  \r\n");
    EXPECT_EQ(chart->counts, (std::array<int, 5>{0, 2, 3, 0, 3}));
    EXPECT_EQ(chart->lunar.month, 4);
}

TEST(BirthChart, MissingAndFavourableElement)
{
    struct Case
    {
        BirthTime time;
        const char* pillars;
        std::array<int, 5> counts;
        const char* missing;
        const char* favourable;
    };
    const Case cases[] = {
        {{2019, 1, 2, 12}, "戊戌 甲子 己亥 庚午", {1, 1, 2, 1, 3}, "", "此喜用神：生辰八字不缺"},
        {{2019, 1, 7, 12}, "戊戌 乙丑 甲辰 庚午", {1, 2, 0, 1, 4}, "水  ", "此喜用神为:水  "},
        // Year and day pillar are both 戊戌: its row counts twice.
        {{2019, 1, 1, 0},
         "戊戌 甲子 戊戌 壬子",
         {0, 1, 3, 0, 4},
         "金  火  ",
         "此喜用神为:金  火  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pillars);
        auto chart = birthChart(c.time, ruleTable());
        ASSERT_TRUE(chart);
        EXPECT_EQ(joined(chart->pillars), c.pillars);
        EXPECT_EQ(chart->counts, c.counts);
        EXPECT_EQ(chart->missing, c.missing);
        EXPECT_EQ(favourableLine(*chart), c.favourable);
        EXPECT_NE(chartText(*chart).find(std::string("五行缺：") + c.missing + "\r\n"),
                  std::string::npos);
    }
}

TEST(BirthChart, PillarsThatAreNoPairAddNothing)
{
    std::array<std::string, 4> p{"甲子", "", "乙丑", "子甲"};
    EXPECT_EQ(elementText(p, ruleTable()), "木,水,木,土,");
    EXPECT_EQ(nayinText(p), "海中金  海中金"); // inner blanks stay, only the ends are trimmed
    EXPECT_EQ(nayinText({"", "", "", ""}), "");
    EXPECT_EQ(countOccurrences("土,土,木,", "土"), 2);
    EXPECT_EQ(countOccurrences("aaaa", "aa"), 2);
    EXPECT_EQ(countOccurrences("", "金"), 0);
}

TEST(StarSign, ThresholdsAndTexts)
{
    struct Case
    {
        int month, day;
        const char* name;
    };
    const Case cases[] = {
        {3, 21, "白羊座"},  {4, 20, "白羊座"},  {4, 21, "金牛座"},  {5, 21, "金牛座"},
        {5, 22, "双子座"},  {6, 21, "双子座"},  {6, 22, "巨蟹座"},  {7, 22, "巨蟹座"},
        {7, 23, "狮子座"},  {8, 23, "狮子座"},  {8, 24, "处女座"},  {9, 23, "处女座"},
        {9, 24, "天平座"},  {10, 23, "天平座"}, {10, 24, "天蝎座"}, {11, 22, "天蝎座"},
        {11, 23, "射手座"}, {12, 21, "射手座"}, {12, 22, "魔蝎座"}, {12, 31, "魔蝎座"},
        {1, 1, "魔蝎座"},   {1, 20, "魔蝎座"},  {1, 21, "水瓶座"},  {2, 19, "水瓶座"},
        {2, 20, "双鱼座"},  {2, 30, "双鱼座"},  {3, 20, "双鱼座"},  {4, 0, "白羊座"},
        {4, -3, "白羊座"},  {3, 99, "白羊座"},
    };
    for (const Case& c : cases) {
        std::string text = starSignText(c.month, c.day);
        std::string head =
            std::to_string(c.month) + "月" + std::to_string(c.day) + "日\r\n" + c.name + "\r\n";
        EXPECT_EQ(text.substr(0, head.size()), head) << c.month << "/" << c.day;
    }
    EXPECT_EQ(starSignText(4, 21), "4月21日\r\n金牛座\r\n古典\r\n\r\n4月20日～5月20日 守护星：金星 "
                                   "属性：土相星座\r\n\r\n是一个：忠诚踏实能吃苦，就是有些憨憨的，"
                                   "喜欢稍平淡的生活。");
    EXPECT_EQ(starSignText(10, 24), "10月24日\r\n天蝎座\r\n占有\r\n\r\n10月24日～11月22日主宰行星："
                                    "火星和冥王星属性：水相星座\r\n\r\n是一个：有强烈欲望的人");
    EXPECT_EQ(starSignText(3, 21),
              "3月21日\r\n白羊座\r\n勇敢\r\n\r\n3月21日～4月20日 主宰行星：火星 "
              "属性：火相星座 \r\n\r\n是一个：感情起伏较快的人");
    EXPECT_EQ(starSignText(13, 5), "13月5日\r\n\r\n");
    EXPECT_EQ(starSignText(0, 10), "0月10日\r\n\r\n");
}
