#pragma once
// The parts that several commands' JSON shares: a birth chart, the five grids, a star sign and
// the facts of a name's characters. docs/json.md describes every key.

#include "calendar/birthchart.h"
#include "calendar/strength.h"
#include "cli/json.h"
#include "core/grids.h"
#include "core/tables.h"

namespace hmf::cli {

// {"year","month","day","hour"} of a birth time.
void writeBirth(JsonWriter& json, const calendar::BirthTime& time);

// The chart: birth, lunar date, zodiac, pillars, the eight elements, their counts, the missing
// and favourable elements and the nayin; then true solar time at the birthplace (null without
// one) and the day master's strength, read at that solar time when there is one.
void writeChart(JsonWriter& json, const calendar::BirthChart& chart,
                const calendar::BirthDetails& details = {});

// The section 八字旺衰 as data: hidden stems, ten gods, season, roots, helping stems, the weighted
// counts, the verdict and the favourable elements, and the section's lines as `hmf chart` prints
// them. null for a time the calendar refuses.
void writeStrength(JsonWriter& json, const calendar::BirthTime& clock,
                   const calendar::BirthDetails& details);

// The five grids keyed 天格 … 总格, each with number, verdict and the 81-number texts.
void writeGrids(JsonWriter& json, const core::Tables& tables, const core::FiveGrids& grids);

// 天才, 人才, 地才 as the report prints them.
void writeThreeTalent(JsonWriter& json, const core::Tables& tables, const core::FiveGrids& grids);

// {"month","day","sign","description"}.
void writeStarSign(JsonWriter& json, int month, int day);

// One character of a name: traditional form, reading, stroke counts, element. A surname's
// character is read as a surname and takes its element from its traditional form, as the report
// does.
// `reading`: the character's syllable as the name says it (core::Tables::nameReadings).
void writeNameCharacter(JsonWriter& json, const core::Tables& tables, const std::string& c,
                        const std::string& reading, bool surname);
// "otherStrokes": the count that name books also give where they count the character another
// documented way (松 18); left out where they agree with the grid count.
void writeOtherStrokes(JsonWriter& json, const core::Tables& tables, const std::string& c);
// "chartElement": true for a stem or branch that takes the element the birth chart gives it
// (丑 土) where name books class the character otherwise; left out for every other character.
void writeChartElement(JsonWriter& json, const core::Tables& tables, const std::string& c);

} // namespace hmf::cli
