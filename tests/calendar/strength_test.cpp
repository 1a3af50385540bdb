// The day master's strength and the favourable elements on worked charts, counted by hand with the
// weights of docs/strength.md; true solar time and lunar birthdays.

#include "calendar/almanac.h"
#include "calendar/calendar.h"
#include "calendar/solartime.h"
#include "calendar/strength.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace hmf::calendar;

namespace {

std::array<int, 4> numbersOf(const char* a, const char* b, const char* c, const char* d)
{
    return {cycleIndex(a), cycleIndex(b), cycleIndex(c), cycleIndex(d)};
}

struct WorkedChart
{
    std::array<const char*, 4> pillars;
    double support; // 比劫 + 印 by hand
    double drain;   // 食伤 + 财 + 官杀
    Strength strength;
    bool extreme;
    const char* season;
    int roots;
    const char* useful; // 用神
    const char* favourable;
    const char* why;
};

const WorkedChart kWorkedCharts[] = {
    {{"甲寅", "丁卯", "甲寅", "乙亥"},
     7.5,
     2.0,
     Strength::Strong,
     false,
     "旺",
     4,
     "金",
     "土",
     "spring wood among peers: 比劫 rule, so 官杀 restrains them, helped by 财"},
    {{"甲寅", "丙寅", "丙寅", "甲午"},
     8.65,
     0.85,
     Strength::Strong,
     true,
     "相",
     4,
     "金",
     "土",
     "fire born in spring under much wood: 印 outweighs 比劫, so 财 spends it, with 食伤"},
    {{"庚申", "乙酉", "甲申", "庚午"},
     1.75,
     7.75,
     Strength::Weak,
     true,
     "死",
     0,
     "水",
     "木",
     "wood in autumn metal without a root: 官杀 heaviest, turned into support by 印"},
    {{"戊辰", "己未", "甲戌", "戊辰"},
     1.1,
     8.4,
     Strength::Weak,
     true,
     "囚",
     3,
     "木",
     "水",
     "wood among earth: 财 heaviest, shared by peers"},
    {{"壬午", "丙午", "甲子", "丁卯"},
     3.5,
     6.0,
     Strength::Weak,
     false,
     "休",
     1,
     "水",
     "木",
     "wood in summer: 食伤 heaviest, held back by 印"},
    {{"甲寅", "丙寅", "甲寅", "丙寅"},
     4.9,
     4.6,
     Strength::Balanced,
     false,
     "旺",
     4,
     "金",
     "土",
     "balanced: the weakest element (金 and 水 both absent; 金 comes first) with its mother 土"},
};

TEST(Strength, WorkedChartsFollowTheDocumentedCount)
{
    for (const WorkedChart& c : kWorkedCharts) {
        SCOPED_TRACE(c.why);
        auto a = analyseStrength(numbersOf(c.pillars[0], c.pillars[1], c.pillars[2], c.pillars[3]));
        ASSERT_TRUE(a);
        EXPECT_NEAR(a->support, c.support, 1e-9);
        EXPECT_NEAR(a->drain, c.drain, 1e-9);
        EXPECT_EQ(a->strength, c.strength);
        EXPECT_EQ(a->extreme, c.extreme);
        EXPECT_EQ(a->season, c.season);
        EXPECT_EQ(a->roots.size(), static_cast<std::size_t>(c.roots));
        EXPECT_EQ(elementName(a->usefulElement), c.useful);
        EXPECT_EQ(elementName(a->favourableElement), c.favourable);
        auto pair = favourableElements(*a);
        EXPECT_EQ(pair[0], a->usefulElement);
        EXPECT_NE(pair[0], pair[1]);
        EXPECT_FALSE(a->unfavourable[a->usefulElement]);
        EXPECT_FALSE(a->unfavourable[a->favourableElement]);
    }
}

TEST(Strength, TextReasonsInOrderAndNamesTheMethod)
{
    auto a = analyseStrength(numbersOf("庚申", "乙酉", "甲申", "庚午"));
    ASSERT_TRUE(a);
    const std::string text = strengthText(*a);
    const char* const inOrder[] = {"日主：甲木，生于酉月。",
                                   "年柱 庚申：庚 七杀；申藏 庚 七杀、壬 偏印、戊 偏财",
                                   "月令：酉月金当令，月令克日主甲木，为死（失令）。",
                                   "通根：地支不藏木，日主无根。",
                                   "帮扶：月干乙木（劫财）生扶日主。",
                                   "生扶占18%",
                                   "结论：身极弱",
                                   "用神 水，喜神 木；忌 金、火、土。",
                                   "各家取法不一"};
    std::size_t at = 0;
    for (const char* part : inOrder) {
        SCOPED_TRACE(part);
        at = text.find(part, at);
        ASSERT_NE(at, std::string::npos);
    }
}

TEST(Strength, RefusesNumbersOutsideTheCycle)
{
    EXPECT_FALSE(analyseStrength({0, 1, 1, 1}));
    EXPECT_FALSE(analyseStrength({1, 1, 61, 1}));
}

// Published values of the equation of time (apparent minus mean solar time) at its extremes.
TEST(SolarTime, EquationOfTimeMatchesItsKnownExtremes)
{
    struct Case
    {
        int year, month, day;
        double seconds;
    } const cases[] = {
        {2024, 2, 11, -14 * 60 - 13},
        {2024, 5, 14, 3 * 60 + 39},
        {2024, 7, 26, -6 * 60 - 32},
        {2024, 11, 3, 16 * 60 + 26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        // 20:00 Beijing is 12:00 UT.
        const double at = almanac::daysFromCivil(c.year, c.month, c.day) * 86400.0 + 20 * 3600.0;
        EXPECT_NEAR(equationOfTime(at), c.seconds, 10.0); // the tables round, and years differ
    }
}

TEST(SolarTime, LongitudeAndEquationMoveTheDayAndHourPillarsOnly)
{
    // Urumqi clock noon is about ten to ten solar time: the hour leaves 午 for 巳.
    auto noon = trueSolarTime({2024, 6, 13, 12}, 87.6);
    ASSERT_TRUE(noon);
    EXPECT_EQ(noon->local.hour, 9);
    EXPECT_NEAR(noon->longitudeSeconds, -129.6 * 60, 1e-6);
    EXPECT_EQ(solarTimeLine(*noon, "乌鲁木齐").rfind("真太阳时 09:5", 0), 0u);
    EXPECT_NE(solarTimeLine(*noon, "乌鲁木齐").find("（北京时间 12:00，乌鲁木齐）"),
              std::string::npos);
    EXPECT_NE(solarTimeLine(*noon, "").find("东经87.6°"), std::string::npos);
    auto byClock = pillarNumbers(BirthTime{2024, 6, 13, 12});
    auto bySun = pillarNumbers(BirthTime{2024, 6, 13, 12}, noon->local);
    EXPECT_EQ(cyclePair((*bySun)[3]).substr(3), "巳");
    EXPECT_EQ((*bySun)[2], (*byClock)[2]);

    // Clock midnight goes back to the evening before: day and hour pillars of that evening,
    // year and month of the clock moment.
    auto midnight = trueSolarTime({2023, 3, 1, 0}, 87.6);
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->local.day, 28);
    EXPECT_EQ(midnight->local.month, 2);
    EXPECT_NE(solarTimeLine(*midnight, "乌鲁木齐").find("真太阳时 2023-02-28 21:"),
              std::string::npos);
    auto evening = pillarNumbers(BirthTime{2023, 2, 28, 21});
    auto moved = pillarNumbers(BirthTime{2023, 3, 1, 0}, midnight->local);
    auto clock = pillarNumbers(BirthTime{2023, 3, 1, 0});
    EXPECT_EQ((*moved)[2], (*evening)[2]);
    EXPECT_EQ((*moved)[3], (*evening)[3]);
    EXPECT_EQ((*moved)[0], (*clock)[0]);
    EXPECT_EQ((*moved)[1], (*clock)[1]);

    // 立春 2024 fell at 16:27 Beijing time, the same moment everywhere: at 17:00 Urumqi's solar
    // clock shows about 14:40, yet the year is already 甲辰.
    auto spring = trueSolarTime({2024, 2, 4, 17}, 87.6);
    ASSERT_TRUE(spring);
    EXPECT_EQ(spring->local.hour, 14);
    EXPECT_EQ(cyclePair((*pillarNumbers(BirthTime{2024, 2, 4, 17}, spring->local))[0]), "甲辰");

    // Beijing's own meridian is 120°E: only the equation of time moves the clock there.
    auto east = trueSolarTime({2024, 11, 3, 12}, 120.0);
    EXPECT_EQ(east->local.hour, 12);
    EXPECT_EQ(east->local.minute, 16);
}

TEST(SolarTime, RefusesImpossibleLongitudesAndTimes)
{
    for (double longitude : {0.0, -87.6, 180.0, 400.0, std::nan("")}) {
        SCOPED_TRACE(longitude);
        EXPECT_FALSE(hmf::test::messageOf(checkLongitude(longitude)).empty());
        EXPECT_FALSE(trueSolarTime({2024, 6, 13, 12}, longitude));
    }
    EXPECT_FALSE(trueSolarTime({2023, 2, 29, 12}, 87.6));
    EXPECT_TRUE(hmf::test::messageOf(checkLongitude(135.0)).empty());
}

TEST(LunarBirthday, ImpossibleDatesAreRefusedWithTheReason)
{
    struct Case
    {
        LunarDate date;
        const char* message;
    } const cases[] = {
        {{2023, 3, 1, true}, "农历2023年没有闰三月"},
        {{1900, 1, 30, false}, "农历1900年正月只有29天"},
        {{2023, 2, 31, false}, "请填写正确的农历日期"},
        {{2023, 13, 1, false}, "请填写正确的农历日期"},
        {{2023, 0, 1, false}, "请填写正确的农历日期"},
        {{1899, 12, 1, false}, "超出支持范围"},
        {{2100, 12, 2, false}, "超出支持范围"},
        {{2101, 1, 1, false}, "超出支持范围"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_NE(hmf::test::messageOf(checkLunarDate(c.date)).find(c.message), std::string::npos)
            << hmf::test::messageOf(checkLunarDate(c.date));
        EXPECT_FALSE(solarDate(c.date));
    }
    EXPECT_EQ(solarDate({2100, 12, 1, false}, 5), (BirthTime{2100, 12, 31, 5}));
    EXPECT_EQ(solarDate({2023, 2, 1, true}, 5), (BirthTime{2023, 3, 22, 5}));
    EXPECT_EQ(lunarDateText({2023, 2, 1, true}), "2023年闰二月初一");
    EXPECT_EQ(lunarDateText({1984, 10, 30, true}), "1984年闰十月三十");
    EXPECT_EQ(lunarDateText({2024, 12, 21, false}), "2024年十二月廿一");
}

} // namespace
