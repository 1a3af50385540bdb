#pragma once
// The birth of a command: --birth "YYYY-MM-DD HH[:MM]" or --lunar "YYYY-[闰]M-D HH[:MM]" (or the
// date and hour of `hmf chart`), with --place or --longitude for true solar time. The reading
// itself is calendar::resolveBirth, shared with the window.

#include "calendar/birthinput.h"
#include "cli/command.h"

#include <optional>
#include <string>

namespace hmf::cli {

// "YYYY-[闰]M-D[ HH[:MM]]" into the date fields of a birth input (lunar when `lunar`); nullopt
// for another form. The hour stays empty without one, which resolveBirth refuses.
std::optional<calendar::BirthInput> parseBirthText(const std::string& text, bool lunar);

// The birth that --birth or --lunar gives, or with `datePositionals` the command's own arguments
// (`hmf chart 2019-05-05 05`), with --place or --longitude when the command takes them. On a
// refusal prints the reason and sets `exitCode` (2 for bad input, 1 when the cities table is
// damaged).
std::optional<calendar::ResolvedBirth> birthOptions(const Args& args, int& exitCode,
                                                    bool datePositionals = false);

// The lines of --help for these options.
inline constexpr const char* kBirthplaceHelp =
    "  --lunar \"YYYY-[闰]M-D HH\"  以农历给出生日，例 \"2023-闰2-01 05\"\n"
    "  --place 城市               出生地，整个八字按真太阳时排 (如 乌鲁木齐)\n"
    "  --longitude 经度           出生地经度 (东经，如 87.6)\n"
    "  时辰可写到分钟 (\"05:53\")，有出生地时分钟计入真太阳时。\n";

} // namespace hmf::cli
