// The birthplace of a birth input (a place or a longitude) on arbitrary text and any clock time in
// the calendar's range: either a message, or true solar time that is the clock moved by the
// longitude and the equation of time, on a real day and minute.

#include "calendar/birthinput.h"
#include "calendar/calendar.h"
#include "cli/birthoptions.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Minutes since 1970-01-01 00:00 of a date and time on the same clock.
long long minutes(int year, int month, int day, int hour, int minute)
{
    // Days from civil (Howard Hinnant's algorithm).
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = era * 146097 + doe - 719468;
    return (days * 24 + hour) * 60 + minute;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // tables() of the command line finds the shipped tables here.
    setenv("HMF_DATA_DIR", hmf::fuzz::dataDirectory().c_str(), 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hmf;
    FuzzedDataProvider in(data, size);
    const calendar::BirthTime clock{
        in.ConsumeIntegralInRange(1900, 2100), in.ConsumeIntegralInRange(1, 12),
        in.ConsumeIntegralInRange(1, 31), in.ConsumeIntegralInRange(0, 23)};
    if (!calendar::checkBirthTime(clock))
        return 0;
    const int minute = in.ConsumeIntegralInRange(0, 59);
    const bool place = in.ConsumeBool();
    calendar::BirthInput input;
    input.year = clock.year;
    input.month = clock.month;
    input.day = clock.day;
    input.hour = clock.hour;
    input.minute = minute;
    (place ? input.place : input.longitude) = in.ConsumeRemainingBytesAsString();

    const core::Tables* tables = cli::tables(core::kCityTable);
    HMF_FUZZ_CHECK(tables != nullptr);
    const auto resolved = calendar::resolveBirth(input, &tables->cities);
    if (!resolved)
        return 0;
    const calendar::BirthDetails& details = resolved->details;
    if (!details.solar) // a blank place: no birthplace
        return 0;
    const calendar::SolarTime& solar = *details.solar;
    HMF_FUZZ_CHECK(solar.longitude >= calendar::kMinLongitude &&
                   solar.longitude <= calendar::kMaxLongitude);
    HMF_FUZZ_CHECK(place || details.place.empty());
    const calendar::LocalTime& l = solar.local;
    HMF_FUZZ_CHECK(l.hour >= 0 && l.hour <= 23 && l.minute >= 0 && l.minute <= 59);
    HMF_FUZZ_CHECK(l.month >= 1 && l.month <= 12 && l.day >= 1 && l.day <= 31);
    const double shift = (minutes(l.year, l.month, l.day, l.hour, l.minute) -
                          minutes(clock.year, clock.month, clock.day, clock.hour, minute)) *
                         60.0;
    const double expected = solar.longitudeSeconds + solar.equationSeconds;
    // Cut to the minute: the solar time lies at most a minute before the exact moment.
    HMF_FUZZ_CHECK(shift <= expected + 1e-6 && shift > expected - 60.0 - 1e-6);
    HMF_FUZZ_CHECK(!calendar::solarTimeLine(solar, details.place).empty());
    HMF_FUZZ_CHECK(calendar::chartPillars(resolved->time, details).has_value());
    return 0;
}
