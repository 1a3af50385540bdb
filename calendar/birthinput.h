#pragma once
// A birth as the user gives it — a date on the Gregorian or the lunar calendar, the hour, perhaps
// the minute, perhaps a birthplace (a city or a longitude) — read into the Beijing clock time and
// the true solar time that the whole chart then follows. The window and the command line both
// read their inputs here, so they refuse the same things with the same words.

#include "calendar/calendar.h"
#include "calendar/solartime.h"
#include "core/result.h"

#include <optional>
#include <string>

namespace hmf::core {
class CityTable;
}

namespace hmf::calendar {

// How the birth time was given beyond the Beijing clock time.
struct BirthDetails
{
    std::optional<LunarDate> lunar; // the lunar date as typed, when the birthday was lunar
    std::optional<SolarTime> solar; // true solar time at the birthplace, when one was given
    std::string place;              // the birthplace's name; empty for a typed longitude
};

struct BirthInput
{
    bool lunar = false; // year, month and day are a lunar date
    bool leap = false;  // ... in the leap month
    // nullopt where the user gave no whole number.
    std::optional<int> year;
    std::optional<int> month;
    std::optional<int> day;
    std::optional<int> hour;   // required: a date alone would silently mean 0 时
    std::optional<int> minute; // 0 when not given
    // A city as typed ("乌鲁木齐", "延边"), or a longitude in degrees east ("87.6", "东经87.6°").
    std::string place;
    // A longitude given on its own (the command line's --longitude); at most one of the two.
    std::string longitude;
};

// Which input a refusal concerns, so the window can put the cursor there.
enum class BirthField { Date, Hour, Minute, Place };

// A refused birth input: always the user's input at fault.
struct BirthProblem
{
    BirthField field = BirthField::Date;
    std::string message; // short Chinese text for the user
};

struct ResolvedBirth
{
    BirthTime time;       // the Gregorian date and the Beijing clock time, minute included
    BirthDetails details; // the lunar date typed, true solar time and the place's name
};

using BirthResolution = core::Result<ResolvedBirth, BirthProblem>;

// Reads a birth input. `cities` may be null when `place` names no city (a longitude or nothing).
// Refusals: no date or no such date ("请填写正确的出生日期", "农历2023年没有闰三月", out of range),
// no hour ("请填写出生时辰（0到23时）"), an hour or minute out of range, and for the place:
// text that is not UTF-8, an unknown name, a province or a beginning several cities share (their
// cities listed), a longitude that is no number or lies outside 0°–180°, a place and a longitude
// both given.
BirthResolution resolveBirth(const BirthInput& input, const core::CityTable* cities);

// The line that heads a chart drawn by true solar time: "真太阳时 09:53（北京时间 12:00，
// 东经87.6°）"; empty without a birthplace.
std::string chartTimeLine(const BirthDetails& details);

// The four pillars as cycle numbers 1..60 that the chart reads: the clock's, or with a birthplace
// those whose day and hour follow its true solar time. nullopt for a time checkBirthTime refuses.
std::optional<std::array<int, 4>> chartPillars(const BirthTime& clock, const BirthDetails& details);

} // namespace hmf::calendar
