#pragma once
// The Chinese lunar calendar, computed from the positions of the Sun and the Moon: lunar dates,
// the four pillars (year at the exact moment of 立春, month at each 节, day at midnight, hour by
// two-hour branch) and the zodiac animal, for birth times from 1900-01-31 to 2100-12-31 in
// Beijing time (UTC+8).

#include "core/result.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::calendar {

// A birth time on the Gregorian calendar, Beijing time. The minute is 0 unless the user gave one;
// it moves true solar time and the moments of 立春 and the 节, never the clock's hour branch.
struct BirthTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;

    bool operator==(const BirthTime&) const = default;
};

// Refuses a time that does not exist or lies outside the supported range with a short Chinese
// message for the user ("请填写正确的出生日期", "出生时辰应在0到23之间",
// "出生时间的分钟应在0到59之间", "出生日期超出支持范围（1900年1月31日至2100年12月31日）").
core::Status checkBirthTime(const BirthTime& time);

struct LunarDate
{
    int year = 0;
    int month = 0; // 1..12; a leap month carries the number of the month it follows
    int day = 0;
    bool leap = false;
};

// Each returns nullopt for a time that checkBirthTime refuses.
std::optional<LunarDate> lunarDate(const BirthTime& time);
// Year, month, day and hour pillar, each a stem-branch pair as cyclePair writes it ("甲子").
std::optional<std::array<std::string, 4>> pillars(const BirthTime& time);
// The branch animal of the year pillar ("鼠" ... "猪").
std::optional<std::string> zodiacAnimal(const BirthTime& time);

// The n-th pair of the sexagenary cycle, 1 甲子 ... 60 癸亥; empty outside 1..60.
std::string cyclePair(int n);
// 1..60 for a pair text, 0 when the text is none of the sixty.
int cycleIndex(std::string_view pair);
// Nayin of a pair ("海中金" for 甲子); empty for a text that is no pair.
std::string nayin(std::string_view pair);

// The four pillars as cycle numbers 1..60 (the numbers of cyclePair), without building texts.
std::optional<std::array<int, 4>> pillarNumbers(const BirthTime& time);

// A lunar birthday: the Gregorian date of a lunar date, for lunar dates from 1900 正月初一
// (1900-01-31) to the lunar date of 2100-12-31. checkLunarDate says what is wrong with a date that
// does not exist ("农历2023年没有闰三月", "农历2023年二月只有29天") or lies outside that range;
// solarDate returns nullopt exactly for those.
core::Status checkLunarDate(const LunarDate& date);
std::optional<BirthTime> solarDate(const LunarDate& date, int hour = 0);
// The number of days of a lunar month (29 or 30), 0 when the year has no such month.
int lunarMonthDays(int year, int month, bool leap);

// A moment to the minute on a clock other than Beijing time (true solar time at the birthplace).
struct LocalTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// The pillars of a Beijing-time moment whose day and hour are read on another clock: the year and
// month pillars change at the moments of 立春 and the 节, which are the same everywhere, while the
// day changes at local midnight and the hour branch follows the local hour. nullopt when `clock`
// is refused by checkBirthTime.
std::optional<std::array<int, 4>> pillarNumbers(const BirthTime& clock, const LocalTime& local);

// The moment of solar term k of a Gregorian year (0 小寒, 1 大寒, 2 立春 ... 22 大雪, 23 冬至; the
// even ones are the 节 that start the pillar months) as seconds since 1970-01-01 00:00 on the
// Beijing clock, unrounded; nullopt outside 1900..2100 or 0..23.
std::optional<double> solarTerm(int year, int k);

} // namespace hmf::calendar
