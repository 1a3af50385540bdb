#pragma once
// True solar time at a birthplace: the Beijing clock time moved by the longitude (four minutes a
// degree from 120°E) and by the equation of time, so that noon is the moment the Sun crosses the
// birthplace's meridian.

#include "calendar/calendar.h"

#include <optional>
#include <string>

namespace hmf::calendar {

// The equation of time (apparent minus mean solar time) in seconds at a Beijing-clock moment
// given as seconds since 1970-01-01 00:00 on that clock: about −14 minutes in mid-February,
// +16 minutes early in November.
double equationOfTime(double beijingSeconds);

// Longitudes a birthplace may have: all of China lies between 73°E and 136°E; anything east of
// 0° and west of 180° is accepted.
inline constexpr double kMinLongitude = 0.0;
inline constexpr double kMaxLongitude = 180.0;

struct SolarTime
{
    BirthTime clock;             // Beijing time as given
    double longitude = 0;        // degrees east
    double longitudeSeconds = 0; // (longitude − 120°) × 240 s
    double equationSeconds = 0;  // equation of time
    LocalTime local;             // true solar time, truncated to the minute
};

// Refuses a longitude that cannot be used with a short Chinese message.
core::Status checkLongitude(double longitude);

// nullopt when checkBirthTime refuses `clock` or checkLongitude refuses the longitude.
std::optional<SolarTime> trueSolarTime(const BirthTime& clock, double longitude);

// "真太阳时 HH:MM（北京时间 HH:MM，<place>）"; when true solar time falls on another day its date
// comes first ("真太阳时 2023-02-28 23:05（北京时间 2023-03-01 00:00，乌鲁木齐）"). An empty place
// names the longitude instead ("东经87.6°").
std::string solarTimeLine(const SolarTime& time, const std::string& place);

} // namespace hmf::calendar
