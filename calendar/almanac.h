#pragma once
// The solar terms and lunar months of each year, computed once on first use and kept: a chart
// then costs a few table look-ups.

#include <array>
#include <cstdint>

namespace hmf::calendar::almanac {

// Supported years of the tables (the calendar's own range needs 1899 to 2101).
inline constexpr int kFirstYear = 1899;
inline constexpr int kLastYear = 2101;

// The 24 solar terms of a Gregorian year, 小寒 (0) ... 冬至 (23), as Beijing wall-clock seconds
// since 1970-01-01 00:00 (fractional, not rounded). Even indices are the 节 that start the months
// of the pillars.
using YearTerms = std::array<double, 24>;
const YearTerms& terms(int year);

// The lunar months from the one holding 冬至 of year-1 up to the one holding 冬至 of `year`
// (excluded): twelve or thirteen months. Day numbers count from 1970-01-01.
struct Months
{
    int count = 0;
    std::array<int32_t, 14> start{}; // start[count] is the first day of the next such span
    std::array<int8_t, 13> number{}; // 1..12
    std::array<bool, 13> leap{};
    std::array<int16_t, 13> lunarYear{};
};
const Months& months(int year);

// Days since 1970-01-01 of a Gregorian date, and back.
int daysFromCivil(int year, int month, int day);
void civilFromDays(int days, int& year, int& month, int& day);

} // namespace hmf::calendar::almanac
