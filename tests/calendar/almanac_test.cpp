// The shipped year tables are what the calendar's astronomy computes: recompute a sample of
// years (both ends, the almanac exceptions, leap-month years and new moons near midnight) and
// require identical terms and months.

#include "calendar/almanac.h"

#include <gtest/gtest.h>

namespace almanac = hmf::calendar::almanac;

TEST(AlmanacTable, SampleYearsRecomputeIdentically)
{
    for (int year : {1899, 1900, 1914, 1916, 1917, 1920, 1922, 1933, 1954, 1978, 1984, 1987,
                     1996, 2023, 2025, 2027, 2033, 2034, 2057, 2094, 2097, 2099, 2100, 2101}) {
        SCOPED_TRACE(year);
        const almanac::YearTerms computed = almanac::computeTerms(year);
        EXPECT_EQ(almanac::terms(year), computed);
        const almanac::Months months =
            almanac::computeMonths(year, almanac::computeTerms(year - 1), computed);
        EXPECT_EQ(almanac::months(year), months);
    }
}
