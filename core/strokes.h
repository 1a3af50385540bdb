#pragma once
// The stroke-count dictionary: the grid count that every number of name science starts from,
// and the display count: the grid count, or where name books count a character another
// documented way the count they give, which the report shows beside ours.
//
// Data files (GBK on disk, UTF-8 here):
// - gridstrokes.txt: items "字NN " — a character, a count field of exactly two characters
//   ("16", " 8" or "9 ") and one blank; line ends between items are allowed; the text may end
//   with "\r\n" and the byte 0x1A. The first item of a character wins.
// - strokegroups.txt: one group per line, "<count>\t<characters run together>" in ascending
//   count; the last group that holds a character wins.
// - generalstrokes.txt: items "<character><count>," (no blanks); the first item wins.

#include "core/codepointmap.h"
#include "core/result.h"
#include "core/traditional.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hmf::core {

class StrokeDictionary
{
  public:
    Status parseGridTable(std::string_view text, const std::string& fileName);
    Status parseGroupTable(std::string_view text, const std::string& fileName);
    Status parseGeneralTable(std::string_view text, const std::string& fileName);

    // Grid count of one character; -1 when the table lacks it or the text is not one character.
    int gridStrokeCount(std::string_view character) const;
    // Display count: the stroke groups first, else the general count of the traditional form
    // (`traditional` may be null: then the character itself); 0 when no table knows it.
    int displayStrokeCount(std::string_view character, const TraditionalTable* traditional) const;
    // Display counts of the characters of a text joined by "-" (15, 8-12).
    std::string strokeString(std::string_view text, const TraditionalTable* traditional) const;

    std::size_t gridSize() const { return m_grid.size(); }
    std::size_t groupSize() const { return m_group.size(); }
    std::size_t generalSize() const { return m_general.size(); }
    bool hasGridCount(char32_t cp) const { return m_grid.count(cp) != 0; }
    bool hasGroupCount(char32_t cp) const { return m_group.count(cp) != 0; }
    bool hasGeneralCount(char32_t cp) const { return m_general.count(cp) != 0; }
    // Grid and general count of one code point; -1 when the table lacks it.
    int gridCount(char32_t cp) const;
    int generalCount(char32_t cp) const;
    // The count that the stroke groups give another view of (松 18 from 鬆, 四 5 written), or 0
    // where they agree with the grid count or do not hold the character.
    int otherCount(std::string_view character) const;
    // Every character of the display groups (the common characters), in no particular order.
    std::vector<char32_t> groupCharacters() const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_grid, self.m_group, self.m_general);
    }

  private:
    CodepointMap<int> m_grid;
    CodepointMap<int> m_group;
    CodepointMap<int> m_general;
};

} // namespace hmf::core
