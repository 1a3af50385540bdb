#pragma once
// The five grids (天格 人格 地格 外格 总格) of a name and the three-talent figures.

#include "core/namedata.h"
#include "core/strokes.h"

#include <string>
#include <string_view>

namespace hmf::core {

struct FiveGrids
{
    int tian = 0; // 天格
    int ren = 0;  // 人格
    int di = 0;   // 地格
    int wai = 0;  // 外格
    int zong = 0; // 总格

    bool operator==(const FiveGrids&) const = default;
};

// The five grids by the rules every name book uses, for a surname of one or two characters and
// a given name of one to three characters (a character the table lacks counts -1; callers
// check the characters first).
FiveGrids gridNumbers(const StrokeDictionary& strokes, std::string_view surname,
                      std::string_view givenName);

// The same from the grid stroke counts of the surname's and the given name's characters (both
// non-empty); for callers that score many names from counts they looked up once.
FiveGrids gridNumbersFromCounts(const int* surname, std::size_t surnameLength, const int* given,
                                std::size_t givenLength);

// The three talents as name books give them: the elements of the last digits of 天格, 人格 and 地格
// (1 2 木, 3 4 火, 5 6 土, 7 8 金, 9 0 水) and the verdict of that configuration.
struct ThreeTalent
{
    std::string_view tian; // 天才
    std::string_view ren;  // 人才
    std::string_view di;   // 地才
    TalentVerdict verdict = TalentVerdict::None;

    // "天才(木)→人才(土)→地才(火) 吉"; without the verdict when the table gives none.
    std::string text() const;
};

ThreeTalent threeTalentOf(const FiveGrids& grids, const ThreeTalentTable& table);

} // namespace hmf::core
