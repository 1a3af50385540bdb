#pragma once
// The birth time of a command given as a lunar date (--lunar "2023-闰2-01 05") and the birthplace
// for true solar time (--place 乌鲁木齐 or --longitude 87.6).

#include "calendar/strength.h"
#include "cli/command.h"

#include <optional>
#include <string>

namespace hmf::cli {

// "YYYY-[闰]M-D[ HH]" into a lunar date and hour (0 without one); nullopt for another form.
std::optional<std::pair<calendar::LunarDate, int>> parseLunarDateHour(const std::string& text);

// The Gregorian birth time of a lunar --lunar option, checked; `error` says what is wrong.
std::optional<calendar::BirthTime> lunarBirth(const std::string& text, calendar::LunarDate& lunar,
                                              std::string& error);

// True solar time from --place or --longitude (at most one of them) for a checked clock time;
// fills details.solar and details.place, leaves them empty without either option. False with
// `error` set for an unknown place or a bad longitude.
bool birthplace(const Args& args, const calendar::BirthTime& clock, calendar::BirthDetails& details,
                std::string& error);

// The lines of --help for these options.
inline constexpr const char* kBirthplaceHelp =
    "  --lunar \"YYYY-[闰]M-D HH\"  以农历给出生日，例 \"2023-闰2-01 05\"\n"
    "  --place 城市               出生地，按真太阳时排八字旺衰 (如 乌鲁木齐)\n"
    "  --longitude 经度           出生地经度 (东经，如 87.6)\n";

} // namespace hmf::cli
