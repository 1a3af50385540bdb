#pragma once
// The elements a birth chart favours (喜用神), asked by everything that judges a name against
// the chart.

#include "calendar/birthchart.h"

#include <string>
#include <vector>

namespace hmf::naming {

// The favourable elements of a chart in the order 金 木 水 火 土; empty when the chart favours
// none in particular. These are the 用神 and 喜神 of the day master's strength (section 八字旺衰,
// docs/strength.md), not the missing elements of the report's line "此喜用神为:".
std::vector<std::string> favourableElements(const calendar::BirthChart& chart);

} // namespace hmf::naming
