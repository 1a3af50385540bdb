#pragma once
// The generated year tables (calendar/almanactable.cpp, written by tools/build-almanac.sh).

#include "calendar/almanac.h"

namespace hmf::calendar::almanac::table {

inline constexpr int kFirstYear = 1899;
inline constexpr int kLastYear = 2101;
inline constexpr int kYears = kLastYear - kFirstYear + 1;

extern const std::array<YearTerms, kYears> kTerms;
extern const std::array<PackedMonths, kYears> kMonths;

} // namespace hmf::calendar::almanac::table
