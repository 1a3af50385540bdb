// The calendar against golden files written by an established reference calendar
// (tools/calendar-reference): every day's lunar date, every solar term, the pillars of every hour
// on the days of the twelve 节 and of a random sample of birth hours, every lunar date converted
// back, and the hidden stems and ten gods of the sample.

#include "calendar/almanac.h"
#include "calendar/calendar.h"
#include "calendar/strength.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using hmf::calendar::BirthTime;

namespace {

// Our terms agree with the reference's to a few seconds (the reference rounds to the second); a
// birth hour this close to a term may fall on either side of it.
constexpr double kTermTolerance = 5.0;

std::vector<std::string> goldenLines(const std::string& name)
{
    const char* dir = std::getenv("HMF_TEST_DATA");
    std::ifstream in(std::string(dir ? dir : "tests/data") + "/calendar/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

int daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

BirthTime civilFromDays(int days, int hour = 0)
{
    // The golden dates themselves check the conversion: a wrong day would miss its reference.
    BirthTime t{0, 0, 0, hour};
    hmf::calendar::almanac::civilFromDays(days, t.year, t.month, t.day);
    return t;
}

int parseDate(const std::string& text)
{
    return daysFromCivil(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                         std::stoi(text.substr(8, 2)));
}

std::string show(const BirthTime& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d", t.year, t.month, t.day, t.hour);
    return buf;
}

// Seconds from the birth time to the nearest 节 of its year or the year before.
double distanceToJie(const BirthTime& t)
{
    double seconds = daysFromCivil(t.year, t.month, t.day) * 86400.0 + t.hour * 3600.0;
    double best = 1e18;
    for (int y : {t.year - 1, t.year})
        for (int k = 0; k < 24; k += 2)
            if (auto term = hmf::calendar::solarTerm(y, k))
                best = std::min(best, std::abs(*term - seconds));
    return best;
}

} // namespace

TEST(CalendarGolden, EveryDayHasTheReferenceLunarDateAndDayPillar)
{
    auto lines = goldenLines("lunar-months.txt");
    ASSERT_GT(lines.size(), 2400u);
    const int lastDay = daysFromCivil(2100, 12, 31);
    int compared = 0;
    std::vector<std::string> wrong;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string date;
        int year, month, leap, pillar, firstDay = 1;
        fields >> date >> year >> month >> leap >> pillar;
        fields >> firstDay;
        const int start = parseDate(date);
        const int end = i + 1 < lines.size() ? parseDate(lines[i + 1].substr(0, 10)) : lastDay + 1;
        for (int day = start; day < end; ++day) {
            BirthTime t = civilFromDays(day);
            auto lunar = hmf::calendar::lunarDate(t);
            auto numbers = hmf::calendar::pillarNumbers(t);
            ++compared;
            if (!lunar || !numbers || lunar->year != year || lunar->month != month ||
                lunar->leap != (leap == 1) || lunar->day != firstDay + day - start ||
                (*numbers)[2] != (pillar + day - start) % 60 + 1) {
                std::ostringstream out;
                out << show(t) << " reference " << year << "/" << (leap ? "闰" : "") << month << "/"
                    << firstDay + day - start;
                if (lunar)
                    out << " ours " << lunar->year << "/" << (lunar->leap ? "闰" : "")
                        << lunar->month << "/" << lunar->day;
                wrong.push_back(out.str());
            }
        }
    }
    EXPECT_EQ(compared, 73384);
    for (std::size_t i = 0; i < std::min<std::size_t>(wrong.size(), 30); ++i)
        ADD_FAILURE() << wrong[i];
    EXPECT_EQ(wrong.size(), 0u);
}

TEST(CalendarGolden, EverySolarTermWithinSecondsOfTheReference)
{
    auto lines = goldenLines("solar-terms.txt");
    ASSERT_EQ(lines.size(), 201u);
    double largest = 0;
    std::string where;
    double sum = 0;
    int count = 0;
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        int year;
        fields >> year;
        for (int k = 0; k < 24; ++k) {
            std::string t;
            fields >> t;
            ASSERT_EQ(t.size(), 10u) << line;
            double ref = daysFromCivil(year, std::stoi(t.substr(0, 2)), std::stoi(t.substr(2, 2))) *
                             86400.0 +
                         std::stoi(t.substr(4, 2)) * 3600.0 + std::stoi(t.substr(6, 2)) * 60.0 +
                         std::stoi(t.substr(8, 2));
            auto ours = hmf::calendar::solarTerm(year, k);
            ASSERT_TRUE(ours);
            double diff = std::abs(*ours - ref);
            sum += diff;
            ++count;
            if (diff > largest) {
                largest = diff;
                where = std::to_string(year) + " term " + std::to_string(k);
            }
        }
    }
    std::cout << "solar terms: " << count << ", largest difference " << largest << " s (" << where
              << "), mean " << sum / count << " s\n";
    EXPECT_EQ(count, 4824);
    EXPECT_LT(largest, kTermTolerance);
}

TEST(CalendarGolden, EveryHourOnTheDaysOfTheJieHasTheReferencePillars)
{
    auto lines = goldenLines("jie-days.txt");
    ASSERT_GT(lines.size(), 2400u);
    int compared = 0;
    std::vector<std::string> nearTerm;
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::string date;
        int day, hour0, year0, month0, from = 24, year1 = 0, month1 = 0;
        fields >> date >> day >> hour0 >> year0 >> month0;
        fields >> from >> year1 >> month1;
        BirthTime t = civilFromDays(parseDate(date));
        for (int h = 0; h < 24; ++h) {
            t.hour = h;
            const bool late = h >= from;
            std::array<int, 4> expected{(late ? year1 : year0) + 1, (late ? month1 : month0) + 1,
                                        day + 1, (hour0 + (h + 1) / 2) % 60 + 1};
            auto ours = hmf::calendar::pillarNumbers(t);
            ASSERT_TRUE(ours) << show(t);
            ++compared;
            if (*ours == expected)
                continue;
            double distance = distanceToJie(t);
            if (distance < kTermTolerance)
                nearTerm.push_back(show(t) + " (" + std::to_string(distance) + " s from a 节)");
            else
                ADD_FAILURE() << show(t) << ": pillars differ from the reference";
        }
    }
    std::cout << "hours on 节 days: " << compared << ", differing within " << kTermTolerance
              << " s of a term: " << nearTerm.size() << "\n";
    for (const std::string& s : nearTerm)
        std::cout << "  " << s << "\n";
    EXPECT_EQ(compared, 57864);
}

TEST(CalendarGolden, SampledBirthHoursHaveTheReferencePillarsLunarDateAndZodiac)
{
    static const char* const kAnimals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                             "马", "羊", "猴", "鸡", "狗", "猪"};
    auto lines = goldenLines("birth-hours.txt");
    ASSERT_GE(lines.size(), 10000u);
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::string when;
        std::array<int, 4> ref{};
        int ly, lm, ld, leap, zodiac;
        fields >> when >> ref[0] >> ref[1] >> ref[2] >> ref[3] >> ly >> lm >> ld >> leap >> zodiac;
        BirthTime t{std::stoi(when.substr(0, 4)), std::stoi(when.substr(4, 2)),
                    std::stoi(when.substr(6, 2)), std::stoi(when.substr(8, 2))};
        SCOPED_TRACE(show(t));
        for (int& n : ref)
            ++n;
        auto ours = hmf::calendar::pillarNumbers(t);
        ASSERT_TRUE(ours);
        if (*ours != ref) {
            EXPECT_LT(distanceToJie(t), kTermTolerance) << "pillars differ from the reference";
        }
        auto lunar = hmf::calendar::lunarDate(t);
        ASSERT_TRUE(lunar);
        EXPECT_EQ(lunar->year, ly);
        EXPECT_EQ(lunar->month, lm);
        EXPECT_EQ(lunar->day, ld);
        EXPECT_EQ(lunar->leap, leap == 1);
        EXPECT_EQ(hmf::calendar::zodiacAnimal(t), kAnimals[zodiac]);
    }
}

// Lunar birthdays: every day of every lunar month of the reference converts back to its own
// Gregorian date, and the day after a month's last is refused.
TEST(CalendarGolden, EveryLunarDateOfTheReferenceConvertsBackToItsDay)
{
    auto lines = goldenLines("lunar-months.txt");
    const int lastDay = daysFromCivil(2100, 12, 31);
    int converted = 0;
    std::vector<std::string> wrong;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string date;
        int year, month, leap, pillar;
        fields >> date >> year >> month >> leap >> pillar;
        const int start = parseDate(date);
        const bool last = i + 1 == lines.size();
        const int end = last ? lastDay + 1 : parseDate(lines[i + 1].substr(0, 10));
        const hmf::calendar::LunarDate first{year, month, 1, leap == 1};
        if (!last && hmf::calendar::lunarMonthDays(year, month, leap == 1) != end - start)
            wrong.push_back(date + " month length");
        for (int day = start; day <= end; ++day) {
            hmf::calendar::LunarDate lunar = first;
            lunar.day = day - start + 1;
            auto solar = hmf::calendar::solarDate(lunar, 7);
            if (day == end) {
                // The day after the month's last (or after the range) does not exist.
                if (lunar.day <= 30 && solar)
                    wrong.push_back(date + " accepts day " + std::to_string(lunar.day));
                continue;
            }
            ++converted;
            if (!solar || *solar != civilFromDays(day, 7))
                wrong.push_back(date + " day " + std::to_string(lunar.day));
        }
    }
    EXPECT_EQ(converted, 73384);
    for (std::size_t i = 0; i < std::min<std::size_t>(wrong.size(), 30); ++i)
        ADD_FAILURE() << wrong[i];
    EXPECT_EQ(wrong.size(), 0u);
}

// The hidden stems of every branch and the ten gods of every stem, as the reference calendar
// reads them, on its sample of birth hours (ten-gods.txt).
TEST(CalendarGolden, SampledBirthHoursHaveTheReferenceHiddenStemsAndTenGods)
{
    auto lines = goldenLines("ten-gods.txt");
    ASSERT_GE(lines.size(), 2000u);
    int compared = 0;
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::string when;
        fields >> when;
        BirthTime t{std::stoi(when.substr(0, 4)), std::stoi(when.substr(4, 2)),
                    std::stoi(when.substr(6, 2)), std::stoi(when.substr(8, 2))};
        SCOPED_TRACE(show(t));
        auto numbers = hmf::calendar::pillarNumbers(t);
        ASSERT_TRUE(numbers);
        if (distanceToJie(t) < kTermTolerance)
            continue; // the pillars themselves may differ here
        auto analysis = hmf::calendar::analyseStrength(*numbers);
        ASSERT_TRUE(analysis);
        for (int p = 0; p < 4; ++p) {
            std::string stemGod, hidden, hiddenGods;
            fields >> stemGod >> hidden >> hiddenGods;
            std::string ourGod = p == 2 ? "-" : std::to_string(analysis->stemGods[p]);
            std::string ourHidden, ourHiddenGods;
            for (int k = 0; k < analysis->hidden[p].count; ++k) {
                ourHidden += std::to_string(analysis->hidden[p].stems[k]);
                ourHiddenGods += std::to_string(analysis->hiddenGods[p][k]);
            }
            EXPECT_EQ(ourGod, stemGod) << "pillar " << p;
            EXPECT_EQ(ourHidden, hidden) << "pillar " << p;
            EXPECT_EQ(ourHiddenGods, hiddenGods) << "pillar " << p;
        }
        ++compared;
    }
    EXPECT_GE(compared, 1990);
}
