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

} // namespace hmf::core
