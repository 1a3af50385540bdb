#pragma once
// The five grids (天格 人格 地格 外格 总格) of a name and the three-talent figures.

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

struct ThreeTalent
{
    std::string tian; // 天才: 天格 as printed
    std::string ren;  // 人才: 人格 less 10 when its decimal text has two characters
    std::string di;   // 地才: 地格 as printed
};

ThreeTalent threeTalentFigures(const FiveGrids& grids);

} // namespace hmf::core
