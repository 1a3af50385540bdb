#include "core/score.h"

#include "core/text.h"

#include <algorithm>
#include <limits>

namespace hmf::core {
namespace {

// The first character of the trimmed text, read in place: it is asked for every name scored.
std::string_view firstMissingElement(std::string_view missing)
{
    const std::string_view trimmed = trimBlanksView(missing);
    return trimmed.empty() ? trimmed : trimmed.substr(0, characterLength(trimmed, 0));
}

} // namespace

int gridPoints(ScoredGrid grid, LuckVerdict verdict)
{
    struct Points
    {
        int good, fair, bad;
    };
    static constexpr Points table[] = {
        {100, 80, 60}, // 人格
        {100, 85, 60}, // 地格
        {100, 70, 50}, // 外格
        {100, 87, 65}, // 总格
    };
    const Points& p = table[static_cast<int>(grid)];
    switch (verdict) {
    case LuckVerdict::Good:
        return p.good;
    case LuckVerdict::Fair:
        return p.fair;
    case LuckVerdict::Bad:
        return p.bad;
    case LuckVerdict::None:
        break;
    }
    return 0;
}

int decadeBase(int year)
{
    if (year <= 1980)
        return 1970;
    return (year - 1) / 10 * 10;
}

namespace {

// The four grids' points, 人格 and 总格 weighing 3, 地格 and 外格 2 (a number above 81 takes
// the verdict of the number less 80, as the luck table gives it).
int gridBase(const LuckTable& luck, const FiveGrids& g)
{
    return (3 * gridPoints(ScoredGrid::Ren, luck.verdictOf(g.ren)) +
            2 * gridPoints(ScoredGrid::Di, luck.verdictOf(g.di)) +
            2 * gridPoints(ScoredGrid::Wai, luck.verdictOf(g.wai)) +
            3 * gridPoints(ScoredGrid::Zong, luck.verdictOf(g.zong))) /
           10;
}

// Terms from the birth date; integer division drops the fraction toward zero as intended.
// Summed in 64 bits: a run reads the date boxes before every draw, and whatever number a box
// holds must not overflow.
long long dateTerms(int year, int month, int day)
{
    const long long y = year, m = month, d = day;
    const long long yearTerm = y - decadeBase(year);
    return m > 6 && d > 15 ? yearTerm + (m - 6) + (d - 15) / 3 + 3
                           : yearTerm + (6 - m) + (15 - d) / 3 + 3;
}

// The score from the grids' points and the date terms: at most 100, the fixed character's bonus,
// then the element check. A given name of `count` characters that supplies the element the
// chart lacks (its first or its last character is of the first missing element) is the best it
// can be; one that does not stays below full marks. With one character, first and last are one.
int finishScore(long long sum, bool fixedCharacter, std::size_t count, bool nothingMissing,
                bool firstSupplies, bool lastSupplies)
{
    int score = static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), 100));
    if (fixedCharacter && score > 80)
        score = std::min(score + 5, 100);
    if (count != 0) {
        if (nothingMissing) {
            score = std::min(score, 100);
        } else if (count == 1) {
            score = lastSupplies ? 100 : std::min(score, 99);
        } else {
            if (firstSupplies)
                score = 100;
            if (lastSupplies)
                score = 100;
            else
                score = std::min(score, 99);
        }
    }
    return std::min(score, 100);
}

} // namespace

int nameScore(const LuckTable& luck, const ElementTable& elements, const ScoreInput& input)
{
    std::size_t count = 0;
    std::string_view first;
    std::string_view last;
    forEachCharacter(input.givenName, [&](std::string_view c) {
        if (count++ == 0)
            first = c;
        last = c;
    });
    const std::string_view missing = firstMissingElement(input.missing);
    return finishScore(gridBase(luck, input.grids) + dateTerms(input.year, input.month, input.day),
                       input.fixedCharacter, count, missing.empty(),
                       elements.elementName(first) == missing,
                       elements.elementName(last) == missing);
}

FastScorer::FastScorer(const LuckTable& luck, const std::vector<int>& surnameCounts, int year,
                       int month, int day, std::string_view missing, bool fixedCharacter)
    : m_luck(luck), m_surname(surnameCounts), m_dateTerms(dateTerms(year, month, day)),
      m_fixed(fixedCharacter)
{
    // Nothing missing is 5, the index of no element; a text that names no element (never from a
    // chart) is 6, which no character matches, as nameScore compares it.
    const std::string_view first = firstMissingElement(missing);
    m_missing = first.empty() ? 5 : 6;
    for (std::size_t i = 0; i < kElementOrder.size(); ++i)
        if (first == kElementOrder[i])
            m_missing = static_cast<int>(i);
}

int FastScorer::score(const int* given, int n, int firstElement, int lastElement) const
{
    return score(gridNumbersFromCounts(m_surname.data(), m_surname.size(), given,
                                       static_cast<std::size_t>(n)),
                 n, firstElement, lastElement);
}

int FastScorer::score(const FiveGrids& g, int n, int firstElement, int lastElement) const
{
    return finishScore(gridBase(m_luck, g) + m_dateTerms, m_fixed, static_cast<std::size_t>(n),
                       m_missing == 5, firstElement == m_missing, lastElement == m_missing);
}

} // namespace hmf::core
