#pragma once
// The solar terms and lunar months of each year. 1899 to 2101 come from a table that
// tools/build-almanac.sh generates with the astronomy below (calendar/almanactable.cpp); other
// years are computed on first use and kept. Either way a chart costs a few table look-ups.

#include <array>
#include <cstdint>

namespace hmf::calendar::almanac {

// Supported years of the tables (the calendar's own range needs 1899 to 2101).
inline constexpr int kFirstYear = 1899;
inline constexpr int kLastYear = 2101;

// The 24 solar terms of a Gregorian year, 小寒 (0) ... 冬至 (23), as Beijing wall-clock seconds
// since 1970-01-01 00:00, rounded up to the millisecond (so a term compares with any whole hour
// exactly as its unrounded moment does). Even indices are the 节 that start the months of the
// pillars.
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

    bool operator==(const Months&) const = default;
};
const Months& months(int year);

// The same from the positions of the Sun and the Moon, bypassing table and cache: what the
// table's generator writes and what its test recomputes (about 10 ms a year).
YearTerms computeTerms(int year);
Months computeMonths(int year, const YearTerms& termsBefore, const YearTerms& termsOfYear);

// One year of lunar months as the generated table stores it: the first day of the span, the
// length of each month less 28 in two bits (month i in bits 2i, 2i+1), the month count and the
// index of the leap month (-1 for none).
struct PackedMonths
{
    int32_t first;
    uint32_t lengths;
    int8_t count;
    int8_t leap;
};
PackedMonths pack(const Months& months);
Months unpack(const PackedMonths& packed, int year);

// Days since 1970-01-01 of a Gregorian date, and back.
int daysFromCivil(int year, int month, int day);
void civilFromDays(int days, int& year, int& month, int& day);

} // namespace hmf::calendar::almanac
