// Reading a birth input as the window and the command line give it: the date on either calendar,
// the hour and minute, the birthplace, and the chart that then follows true solar time.

#include "calendar/birthchart.h"
#include "calendar/birthinput.h"
#include "core/cities.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <string>

using namespace hmf::calendar;

namespace {

const hmf::core::CityTable& cities()
{
    static const hmf::core::CityTable table = [] {
        hmf::core::CityTable t;
        const bool ok =
            t.parse("新疆\t乌鲁木齐\t87.60\t43.76\r\n吉林\t延边朝鲜族自治州\t129.24\t43.15\r\n"
                    "海南\t海口\t110.42\t19.85\r\n海南\t三亚\t109.42\t18.36\r\n"
                    "青海\t海南藏族自治州\t100.26\t35.90\r\n",
                    "cities")
                .ok();
        EXPECT_TRUE(ok);
        return t;
    }();
    return table;
}

BirthInput gregorian(int y, int m, int d, std::optional<int> h, std::optional<int> min = {},
                     std::string place = {})
{
    BirthInput in;
    in.year = y;
    in.month = m;
    in.day = d;
    in.hour = h;
    in.minute = min;
    in.place = std::move(place);
    return in;
}

} // namespace

TEST(BirthInput, RefusalsNameTheFieldAndSayWhy)
{
    BirthInput lunarNoLeap = gregorian(2023, 3, 1, 5);
    lunarNoLeap.lunar = lunarNoLeap.leap = true;
    BirthInput noDay = gregorian(2019, 5, 5, 5);
    noDay.day.reset();
    BirthInput both = gregorian(2019, 5, 5, 5, {}, "乌鲁木齐");
    both.longitude = "87.6";
    BirthInput badLongitude = gregorian(2019, 5, 5, 5);
    badLongitude.longitude = "0x57";
    const struct
    {
        const char* what;
        BirthInput input;
        BirthField field;
        const char* message;
    } cases[] = {
        {"no day", noDay, BirthField::Date, "请填写正确的出生日期"},
        {"30 February", gregorian(2019, 2, 30, 5), BirthField::Date, "请填写正确的出生日期"},
        {"before the range", gregorian(1900, 1, 30, 5), BirthField::Date, "超出支持范围"},
        {"no leap month", lunarNoLeap, BirthField::Date, "农历2023年没有闰三月"},
        {"no hour", gregorian(2019, 5, 5, {}), BirthField::Hour, "请填写出生时辰（0到23时）"},
        {"hour 24", gregorian(2019, 5, 5, 24), BirthField::Hour, "出生时辰应在0到23之间"},
        {"minute 60", gregorian(2019, 5, 5, 5, 60), BirthField::Minute, "分钟应在0到59之间"},
        {"unknown place", gregorian(2019, 5, 5, 5, {}, "长安"), BirthField::Place,
         "未知的出生地：长安"},
        {"province", gregorian(2019, 5, 5, 5, {}, "海南"), BirthField::Place,
         "“海南”是省份，请填写其中的城市：海口、三亚"},
        {"shared beginning", gregorian(2019, 5, 5, 5, {}, "海"), BirthField::Place,
         "出生地“海”不止一处，请写全：海口、海南藏族自治州"},
        {"half a character", gregorian(2019, 5, 5, 5, {}, "\xe9\xa6"), BirthField::Place,
         "出生地不是有效的UTF-8文本：\\xe9\\xa6"},
        {"west longitude", gregorian(2019, 5, 5, 5, {}, "-87.6"), BirthField::Place,
         "经度应在东经0°到180°之间"},
        {"longitude not a number", badLongitude, BirthField::Place, "经度应为数字"},
        {"longitude with letters", gregorian(2019, 5, 5, 5, {}, "87.6e1"), BirthField::Place,
         "经度应为数字"},
        {"place and longitude", both, BirthField::Place, "只能给一个"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BirthResolution r = resolveBirth(c.input, &cities());
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().field, c.field);
        EXPECT_NE(r.error().message.find(c.message), std::string::npos) << r.error().message;
    }
}

// The minute and the birthplace move the whole chart: every pillar line reads the solar day and
// hour, and the line above the chart says which time it is.
TEST(BirthInput, TheChartFollowsTrueSolarTimeToTheMinute)
{
    BirthInput lunar = gregorian(2023, 2, 1, 5, {}, "乌鲁木齐");
    lunar.lunar = lunar.leap = true;
    const struct
    {
        const char* what;
        BirthInput input;
        BirthTime clock;
        const char* line;
        const char* hourPillar;
    } cases[] = {
        {"no birthplace: the clock's chart",
         gregorian(2019, 5, 5, 5, 59),
         {2019, 5, 5, 5, 59},
         "",
         "癸卯"},
        {"Urumqi at 5:00 is still 丑 by the Sun",
         gregorian(2019, 5, 5, 5, {}, "乌鲁木齐"),
         {2019, 5, 5, 5, 0},
         "真太阳时 02:53（北京时间 05:00，乌鲁木齐）",
         "辛丑"},
        {"the minute counts: 5:59 is 寅",
         gregorian(2019, 5, 5, 5, 59, " 乌鲁木齐市 "),
         {2019, 5, 5, 5, 59},
         "真太阳时 03:52（北京时间 05:59，乌鲁木齐）",
         "壬寅"},
        {"a longitude typed",
         gregorian(2019, 5, 5, 12, {}, "东经87.6°"),
         {2019, 5, 5, 12, 0},
         "真太阳时 09:53（北京时间 12:00，东经87.6°）",
         "乙巳"},
        {"a unique beginning",
         gregorian(2019, 5, 5, 12, {}, "延边"),
         {2019, 5, 5, 12, 0},
         "（北京时间 12:00，延边朝鲜族自治州）",
         "丙午"},
        {"a lunar birthday", lunar, {2023, 3, 22, 5, 0}, "（北京时间 05:00，乌鲁木齐）", "乙丑"},
    };
    // Only the pillars matter here; every pair may carry the same elements.
    std::string rows;
    for (int n = 1; n <= 60; ++n)
        rows += "金,金,\r\n";
    hmf::core::SexagenaryTable table;
    ASSERT_TRUE(hmf::test::succeeded(table.parse(rows, "sexagenary")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BirthResolution r = resolveBirth(c.input, &cities());
        ASSERT_TRUE(r) << r.error().message;
        EXPECT_EQ(r->time, c.clock);
        const std::string line = chartTimeLine(r->details);
        EXPECT_NE(line.find(c.line), std::string::npos) << line;
        EXPECT_EQ(line.empty(), *c.line == '\0');
        const auto chart = birthChart(r->time, r->details, table);
        ASSERT_TRUE(chart);
        EXPECT_EQ(chart->pillars[3], c.hourPillar);
    }
}
