// The calendar with arbitrary whole numbers: a time that checkBirthTime accepts has a lunar date,
// pillars, an animal and a chart; a refused time has none of them. Pair texts, nayin and star
// signs of arbitrary input.

#include "calendar/birthchart.h"
#include "calendar/calendar.h"
#include "calendar/starsign.h"
#include "core/text.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    FuzzedDataProvider in(data, size);
    calendar::BirthTime time;
    // Years near the supported range reach the astronomy; years of any size with a plausible
    // month, day and hour reach the range check; any four numbers reach the rest.
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        time = {in.ConsumeIntegralInRange(1890, 2110), in.ConsumeIntegralInRange(-1, 14),
                in.ConsumeIntegralInRange(-1, 33), in.ConsumeIntegralInRange(-1, 25)};
        break;
    case 1:
        time = {in.ConsumeIntegral<int>(), in.ConsumeIntegralInRange(-1, 14),
                in.ConsumeIntegralInRange(-1, 33), in.ConsumeIntegralInRange(-1, 25)};
        break;
    default:
        time = {in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                in.ConsumeIntegral<int>()};
        break;
    }
    const bool accepted = calendar::checkBirthTime(time).ok();
    const auto lunar = calendar::lunarDate(time);
    const auto pillars = calendar::pillars(time);
    const auto animal = calendar::zodiacAnimal(time);
    HMF_FUZZ_CHECK(lunar.has_value() == accepted && pillars.has_value() == accepted &&
                   animal.has_value() == accepted);
    if (accepted) {
        HMF_FUZZ_CHECK(lunar->month >= 1 && lunar->month <= 12 && lunar->day >= 1 &&
                       lunar->day <= 30);
        for (const auto& pair : *pillars) {
            HMF_FUZZ_CHECK(calendar::cycleIndex(pair) >= 1);
            HMF_FUZZ_CHECK(!calendar::nayin(pair).empty());
        }
        const auto chart = calendar::birthChart(time, fuzz::shippedTables().sexagenary);
        HMF_FUZZ_CHECK(chart.has_value());
        HMF_FUZZ_CHECK(core::isValidUtf8(calendar::chartText(*chart)));
        (void)calendar::favourableLine(*chart);
    }

    const int n = in.ConsumeIntegral<int>();
    const std::string pair = calendar::cyclePair(n);
    HMF_FUZZ_CHECK(pair.empty() == (n < 1 || n > 60));
    HMF_FUZZ_CHECK(pair.empty() || calendar::cycleIndex(pair) == n);
    (void)calendar::starSignText(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
    const std::string text = in.ConsumeRemainingBytesAsString();
    (void)calendar::cycleIndex(text);
    (void)calendar::nayin(text);
    return 0;
}
