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

int nameScore(const LuckTable& luck, const ElementTable& elements, const ScoreInput& input)
{
    const FiveGrids& g = input.grids;
    const int base = (3 * gridPoints(ScoredGrid::Ren, luck.verdictOf(g.ren)) +
                      2 * gridPoints(ScoredGrid::Di, luck.verdictOf(g.di)) +
                      2 * gridPoints(ScoredGrid::Wai, luck.verdictOf(g.wai)) +
                      3 * gridPoints(ScoredGrid::Zong, luck.verdictOf(g.zong))) /
                     10;

    // Terms from the birth date; integer division drops the fraction toward zero as intended.
    // Summed in 64 bits: a run reads the date boxes before every draw, and whatever number a box
    // holds must not overflow.
    const long long year = input.year, month = input.month, day = input.day;
    const long long yearTerm = year - decadeBase(input.year);
    long long sum;
    if (month > 6 && day > 15)
        sum = base + yearTerm + (month - 6) + (day - 15) / 3 + 3;
    else
        sum = base + yearTerm + (6 - month) + (15 - day) / 3 + 3;
    int score = static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), 100));

    if (input.fixedCharacter && score > 80)
        score = std::min(score + 5, 100);

    // A given name that supplies the element the chart lacks is the best it can be; one that
    // does not stays below full marks.
    std::size_t count = 0;
    std::string_view first;
    std::string_view last;
    forEachCharacter(input.givenName, [&](std::string_view c) {
        if (count++ == 0)
            first = c;
        last = c;
    });
    const std::string_view missing = firstMissingElement(input.missing);
    if (count != 0) {
        if (missing.empty()) {
            score = std::min(score, 100);
        } else if (count == 1) {
            score = elements.elementName(last) == missing ? 100 : std::min(score, 99);
        } else {
            if (elements.elementName(first) == missing)
                score = 100;
            if (elements.elementName(last) == missing)
                score = 100;
            else
                score = std::min(score, 99);
        }
    }
    return std::min(score, 100);
}

FastScorer::FastScorer(const LuckTable& luck, const std::vector<int>& surnameCounts, int year,
                       int month, int day, std::string_view missing, bool fixedCharacter)
    : m_luck(luck), m_surname(surnameCounts), m_fixed(fixedCharacter)
{
    const ScoredGrid grids[] = {ScoredGrid::Ren, ScoredGrid::Di, ScoredGrid::Wai, ScoredGrid::Zong};
    const LuckVerdict verdicts[] = {LuckVerdict::None, LuckVerdict::Good, LuckVerdict::Fair,
                                    LuckVerdict::Bad};
    for (std::size_t g = 0; g < 4; ++g)
        for (LuckVerdict v : verdicts)
            m_points[g][static_cast<std::size_t>(v)] = gridPoints(grids[g], v);
    const long long y = year, m = month, d = day;
    const long long yearTerm = y - decadeBase(year);
    m_dateTerms = (m > 6 && d > 15) ? yearTerm + (m - 6) + (d - 15) / 3 + 3
                                    : yearTerm + (6 - m) + (15 - d) / 3 + 3;
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
    // The luck table's verdict: a number above 81 counts as the number less 80.
    const auto points = [&](std::size_t grid, int number) {
        return m_points[grid][static_cast<std::size_t>(m_luck.verdictOf(number))];
    };
    const int base = (3 * points(0, g.ren) + 2 * points(1, g.di) + 2 * points(2, g.wai) +
                      3 * points(3, g.zong)) /
                     10;
    int score = static_cast<int>(
        std::clamp<long long>(base + m_dateTerms, std::numeric_limits<int>::min(), 100));
    if (m_fixed && score > 80)
        score = std::min(score + 5, 100);
    if (n > 0) {
        if (m_missing == 5) {
            score = std::min(score, 100);
        } else if (n == 1) {
            score = lastElement == m_missing ? 100 : std::min(score, 99);
        } else {
            if (firstElement == m_missing)
                score = 100;
            if (lastElement == m_missing)
                score = 100;
            else
                score = std::min(score, 99);
        }
    }
    return std::min(score, 100);
}

} // namespace hmf::core
