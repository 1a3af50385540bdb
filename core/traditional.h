#pragma once
// Simplified-to-traditional conversion of names, character by character.
//
// Data file traditional.txt: one line per character that changes, "<simplified>\t<traditional>",
// after comment lines starting with '#', one of them the count of rows ("# 行数：N").
// Characters without a line (traditional ones, and surnames such as 余 that keep their form in
// a name) stay as they are.

#include "core/codepointmap.h"
#include "core/result.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace hmf::core {

class TraditionalTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);

    std::string toTraditional(std::string_view text) const;
    char32_t toTraditional(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<char32_t> m_map;
};

} // namespace hmf::core
