// The command line's birth-time parser ("YYYY-MM-DD HH") on arbitrary text, and the way back:
// the text of any four numbers reads as those numbers.

#include "cli/command.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    (void)cli::parseDateHour(std::string(reinterpret_cast<const char*>(data), size));

    FuzzedDataProvider in(data, size);
    const int year = in.ConsumeIntegralInRange(0, 99999);
    const int month = in.ConsumeIntegral<int>();
    const int day = in.ConsumeIntegral<int>();
    const int hour = in.ConsumeIntegral<int>();
    const std::string text = std::to_string(year) + "-" + std::to_string(month) + "-" +
                             std::to_string(day) + " " + std::to_string(hour);
    const auto parsed = cli::parseDateHour(text);
    // A negative month or day reads as a second dash, so only those texts need not parse.
    if (month >= 0 && day >= 0) {
        HMF_FUZZ_CHECK(parsed.has_value());
        HMF_FUZZ_CHECK(parsed->year == year && parsed->month == month && parsed->day == day &&
                       parsed->hour == hour);
    }
    return 0;
}
