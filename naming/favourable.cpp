#include "naming/favourable.h"

#include "calendar/strength.h"

#include <algorithm>

namespace hmf::naming {

std::vector<std::string> favourableElements(const calendar::BirthChart& chart)
{
    // The 用神 and 喜神 of the day master's strength (calendar/strength.h), read from the chart's
    // own pillars, which follow true solar time when the birth has a birthplace.
    std::array<int, 4> numbers{};
    for (int i = 0; i < 4; ++i)
        numbers[i] = calendar::cycleIndex(chart.pillars[i]);
    const auto analysis = calendar::analyseStrength(numbers);
    if (!analysis)
        return {};
    auto pair = calendar::favourableElements(*analysis);
    std::sort(pair.begin(), pair.end()); // element indices run 金 木 水 火 土
    std::vector<std::string> elements;
    for (int e : pair)
        elements.emplace_back(calendar::elementName(e));
    return elements;
}

} // namespace hmf::naming
