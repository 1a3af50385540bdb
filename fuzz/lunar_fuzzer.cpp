// The lunar birthday of --lunar ("YYYY-[闰]M-D HH") on arbitrary text, and texts built from any
// numbers: a date that is accepted converts to a Gregorian time whose lunar date is the one typed;
// a refused one says why.

#include "calendar/birthinput.h"
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
    const auto input = cli::parseBirthText(text, true);
    if (!input)
        return;
    const auto resolved = calendar::resolveBirth(*input, nullptr);
    if (!resolved)
        return;
    const calendar::BirthTime& birth = resolved->time;
    HMF_FUZZ_CHECK(calendar::checkBirthTime(birth).ok());
    HMF_FUZZ_CHECK(resolved->details.lunar.has_value());
    const calendar::LunarDate& lunar = *resolved->details.lunar;
    const auto back = calendar::lunarDate(birth);
    HMF_FUZZ_CHECK(back.has_value());
    HMF_FUZZ_CHECK(back->year == lunar.year && back->month == lunar.month &&
                   back->day == lunar.day && back->leap == lunar.leap);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    const std::string raw(reinterpret_cast<const char*>(data), size);
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
        const auto parsed = cli::parseBirthText(text, true);
        HMF_FUZZ_CHECK(parsed.has_value());
        HMF_FUZZ_CHECK(parsed->year == year && parsed->leap == leap && parsed->month == month &&
                       parsed->day == day && parsed->hour == hour);
    }
    checkBirth(text);
    return 0;
}
