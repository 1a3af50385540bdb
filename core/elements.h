#pragma once
// The five-element class (金 木 水 火 土) of characters.
//
// Data file elements.txt: five lines "<element>\t<characters run together>" in the order
// 土 木 火 水 金; when a character stands in more than one list, the last list wins.

#include "core/codepointmap.h"
#include "core/result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace hmf::core {

// Elements in the order the counts and missing elements are always reported.
inline constexpr std::array<std::string_view, 5> kElementOrder = {"金", "木", "水", "火", "土"};

class ElementTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);

    // "金", "木", "水", "火", "土", or empty when no list holds the text as one whole character.
    std::string elementOf(std::string_view character) const
    {
        return std::string(elementName(character));
    }
    // The same as a view of the element's name, which lives as long as the program.
    std::string_view elementName(std::string_view character) const;
    // Elements of the characters of a text joined by "-" ("水-火"); an unknown character leaves
    // an empty place.
    std::string elementString(std::string_view text) const;

    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<std::uint8_t> m_map; // the place of the element in kElementOrder
};

} // namespace hmf::core
