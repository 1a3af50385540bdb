#pragma once
// The birth chart of a birth time: the four pillars and what is read from them.

#include "calendar/birthinput.h"
#include "calendar/calendar.h"
#include "core/reference.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::calendar {

struct BirthChart
{
    BirthTime time;
    std::array<std::string, 4> pillars; // year, month, day, hour
    std::string zodiac;                 // 属相
    LunarDate lunar;
    std::string elementText;     // E: eight elements, each followed by ","
    std::array<int, 5> counts{}; // occurrences of 金 木 水 火 土 in E
    std::string countLine;       // K: "五行个数： 金：n个  木：n个 ..."
    std::string missing;         // M: missing elements, each followed by two blanks
    std::string nayinText;       // N: four nayin names separated by blanks
};

// E of four pillars: the table row of each pillar's pair, in pillar order; a pillar that is none of
// the sixty pairs adds nothing.
std::string elementText(const std::array<std::string, 4>& pillars,
                        const core::SexagenaryTable& table);
// N of four pillars: their nayin names joined by one blank, no blank at either end.
std::string nayinText(const std::array<std::string, 4>& pillars);
// Non-overlapping occurrences of `part` in `text`, scanning from the start.
int countOccurrences(std::string_view text, std::string_view part);

// nullopt for a time that checkBirthTime refuses.
std::optional<BirthChart> birthChart(const BirthTime& time, const core::SexagenaryTable& table);
// The chart of a birth read with its details: with a birthplace every pillar and all that is read
// from them (elements, nayin, counts, missing elements) follow true solar time (chartPillars);
// the lunar date and the zodiac animal stay those of the date given.
std::optional<BirthChart> birthChart(const BirthTime& clock, const BirthDetails& details,
                                     const core::SexagenaryTable& table);

// "此喜用神：生辰八字不缺" when nothing is missing, else "此喜用神为:" + M.
std::string favourableLine(const BirthChart& chart);

// The nine lines of the birth-chart window, each ending "\r\n".
std::string chartText(const BirthChart& chart);

} // namespace hmf::calendar
