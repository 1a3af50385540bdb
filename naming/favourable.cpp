#include "naming/favourable.h"

#include "calendar/strength.h"

#include <algorithm>

namespace hmf::naming {

std::vector<std::string> favourableElements(const calendar::BirthChart& chart)
{
    // The 用神 and 喜神 of the day master's strength (calendar/strength.h), read at the chart's
    // clock time like the product's own lines.
    const auto numbers = calendar::pillarNumbers(chart.time);
    const auto analysis = numbers ? calendar::analyseStrength(*numbers) : std::nullopt;
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
