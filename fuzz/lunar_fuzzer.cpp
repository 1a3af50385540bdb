// The lunar birthday of --lunar ("YYYY-[闰]M-D HH") on arbitrary text, and texts built from any
// numbers: a date that is accepted converts to a Gregorian time whose lunar date is the one typed;
// a refused one says why.

#include "calendar/calendar.h"
#include "cli/birthoptions.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

void checkBirth(const std::string& text)
{
    using namespace hmf;
    calendar::LunarDate lunar;
    std::string error;
    const auto birth = cli::lunarBirth(text, lunar, error);
    HMF_FUZZ_CHECK(birth.has_value() == error.empty());
    if (!birth)
        return;
    HMF_FUZZ_CHECK(calendar::checkBirthTime(*birth).empty());
    const auto back = calendar::lunarDate(*birth);
    HMF_FUZZ_CHECK(back.has_value());
    HMF_FUZZ_CHECK(back->year == lunar.year && back->month == lunar.month &&
                   back->day == lunar.day && back->leap == lunar.leap);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const std::string raw(reinterpret_cast<const char*>(data), size);
    (void)cli::parseLunarDateHour(raw);
    checkBirth(raw);

    FuzzedDataProvider in(data, size);
    const int year = in.ConsumeIntegralInRange(1890, 2110);
    const bool leap = in.ConsumeBool();
    const int month = in.ConsumeIntegralInRange(-1, 14);
    const int day = in.ConsumeIntegralInRange(-1, 32);
    const int hour = in.ConsumeIntegralInRange(-1, 25);
    const std::string text = std::to_string(year) + "-" + (leap ? "闰" : "") +
                             std::to_string(month) + "-" + std::to_string(day) + " " +
                             std::to_string(hour);
    if (month >= 0 && day >= 0 && hour >= 0) {
        const auto parsed = cli::parseLunarDateHour(text);
        HMF_FUZZ_CHECK(parsed.has_value());
        HMF_FUZZ_CHECK(parsed->first.year == year && parsed->first.leap == leap &&
                       parsed->first.month == month && parsed->first.day == day &&
                       parsed->second == hour);
    }
    checkBirth(text);
    return 0;
}
