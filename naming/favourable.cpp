#include "naming/favourable.h"

#include "core/text.h"

namespace hmf::naming {

std::vector<std::string> favourableElements(const calendar::BirthChart& chart)
{
    std::vector<std::string> elements;
    for (const auto& c : core::splitCharacters(chart.missing))
        if (core::trimBlanks(c) == c)
            elements.push_back(c);
    return elements;
}

} // namespace hmf::naming
