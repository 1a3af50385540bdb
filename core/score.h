#pragma once
// The name score: the luck of four grids, terms from the birth date, and the check against the
// element the birth chart lacks.

#include "core/elements.h"
#include "core/grids.h"
#include "core/luck.h"

#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

struct ScoreInput
{
    FiveGrids grids;
    int year = 0;
    int month = 0;
    int day = 0;
    // The texts are views: they outlive the call (the generator scores thousands of draws).
    // The chart's missing elements, each followed by two blanks, in the order 金 木 水 火 土.
    std::string_view missing;
    std::string_view givenName;  // 1 to 3 characters; its length selects the element check
    bool fixedCharacter = false; // the generator's fixed-character option adds its bonus
};

// Points of one grid's verdict (人格 地格 外格 总格 weigh them differently).
enum class ScoredGrid { Ren, Di, Wai, Zong };
int gridPoints(ScoredGrid grid, LuckVerdict verdict);

// The score of a name, at most 100. The report and the generator both use it, so a listed name
// and its report always agree.
int nameScore(const LuckTable& luck, const ElementTable& elements, const ScoreInput& input);

// The product's score from the grid counts and elements alone (element index in kElementOrder,
// 5 for none), exactly as nameScore computes it; built once for a surname, date and fixed-
// character option, so that a ranking or a run of draws can score many names cheaply.
class FastScorer
{
  public:
    FastScorer(const LuckTable& luck, const std::vector<int>& surnameCounts, int year, int month,
               int day, std::string_view missing, bool fixedCharacter);
    int score(const int* givenCounts, int n, int firstElement, int lastElement) const;
    // Same, from the name's grids (of a given name of n characters).
    int score(const FiveGrids& grids, int n, int firstElement, int lastElement) const;

  private:
    const LuckTable& m_luck;
    std::vector<int> m_surname;
    long long m_dateTerms = 0;
    int m_missing = 5; // the first missing element; 5 when nothing is missing
    bool m_fixed = false;
};

// Base year of the birth year's decade: up to 1980 -> 1970, 1981-1990 -> 1980, ... and so on
// without end (2021-2030 -> 2020).
int decadeBase(int year);

} // namespace hmf::core
