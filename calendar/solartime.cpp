#include "calendar/solartime.h"

#include "calendar/almanac.h"

#include <erfa.h>

#include <cmath>
#include <cstdio>

namespace hmf::calendar {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kUnixEpochJd = 2440587.5;
constexpr double kBeijingOffset = 8.0 * 3600.0;
// TT − UT: its error moves the equation of time by far less than a second, so one mid-range
// value serves the whole range.
constexpr double kTtMinusUt = 40.0;
// Light from the Sun takes about 499 s; the Sun is seen where the Earth–Sun line was then, which
// also accounts for the aberration of its light.
constexpr double kLightTimeDays = 499.0 / 86400.0;

std::string twoDigits(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string clockText(int y, int m, int d, int h, int min, bool withDate)
{
    std::string out;
    if (withDate)
        out = std::to_string(y) + "-" + twoDigits(m) + "-" + twoDigits(d) + " ";
    return out + twoDigits(h) + ":" + twoDigits(min);
}

} // namespace

double equationOfTime(double beijingSeconds)
{
    const double ut = (beijingSeconds - kBeijingOffset) / 86400.0; // days since the epoch
    const double utDay = std::floor(ut);
    const double tt = ut + kTtMinusUt / 86400.0;

    // The Sun's apparent right ascension on the true equator and equinox of date.
    double pvh[2][3];
    double pvb[2][3];
    eraEpv00(kUnixEpochJd, tt - kLightTimeDays, pvh, pvb);
    double sun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
    double npb[3][3];
    eraPnm06a(kUnixEpochJd, tt, npb);
    double ofDate[3];
    eraRxp(npb, sun, ofDate);
    const double rightAscension = std::atan2(ofDate[1], ofDate[0]);

    // Apparent solar time at Greenwich is the Sun's hour angle plus 12 hours; mean solar time is
    // UT. Both as angles, their difference folded into ±12 hours.
    const double sidereal = eraGst06a(kUnixEpochJd + utDay, ut - utDay, kUnixEpochJd, tt);
    const double apparent = sidereal - rightAscension + kPi;
    const double mean = (2 * kPi) * (ut - utDay);
    return eraAnpm(apparent - mean) / (2 * kPi) * 86400.0;
}

core::Status checkLongitude(double longitude)
{
    if (!(longitude > kMinLongitude && longitude < kMaxLongitude))
        return core::inputError("经度应在东经0°到180°之间");
    return {};
}

std::optional<SolarTime> trueSolarTime(const BirthTime& clock, double longitude)
{
    if (!checkBirthTime(clock) || !checkLongitude(longitude))
        return std::nullopt;
    SolarTime out;
    out.clock = clock;
    out.longitude = longitude;
    out.longitudeSeconds = (longitude - 120.0) * 240.0;
    const double beijing = almanac::daysFromCivil(clock.year, clock.month, clock.day) * 86400.0 +
                           clock.hour * 3600.0 + clock.minute * 60.0;
    out.equationSeconds = equationOfTime(beijing);
    const double local = beijing + out.longitudeSeconds + out.equationSeconds;
    const long long minutes = static_cast<long long>(std::floor(local / 60.0));
    const long long day = minutes >= 0 ? minutes / 1440 : (minutes - 1439) / 1440;
    const int minuteOfDay = static_cast<int>(minutes - day * 1440);
    almanac::civilFromDays(static_cast<int>(day), out.local.year, out.local.month, out.local.day);
    out.local.hour = minuteOfDay / 60;
    out.local.minute = minuteOfDay % 60;
    return out;
}

std::string solarTimeLine(const SolarTime& t, const std::string& place)
{
    const LocalTime& l = t.local;
    const bool otherDay =
        l.year != t.clock.year || l.month != t.clock.month || l.day != t.clock.day;
    std::string where = place;
    if (where.empty()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "东经%.1f°", t.longitude);
        where = buf;
    }
    return "真太阳时 " + clockText(l.year, l.month, l.day, l.hour, l.minute, otherDay) +
           "（北京时间 " +
           clockText(t.clock.year, t.clock.month, t.clock.day, t.clock.hour, t.clock.minute,
                     otherDay) +
           "，" + where + "）";
}

} // namespace hmf::calendar
