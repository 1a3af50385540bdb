#include "core/grids.h"

#include "core/text.h"

#include <array>
#include <vector>

namespace hmf::core {

FiveGrids gridNumbers(const StrokeDictionary& strokes, std::string_view surname,
                      std::string_view givenName)
{
    // A name has a few characters: their counts stay on the stack unless a typed text is long.
    struct Counts
    {
        std::array<int, 8> few{};
        std::vector<int> many;
        std::size_t size = 0;
        void add(int count)
        {
            if (size < few.size()) {
                few[size++] = count;
                return;
            }
            if (many.empty())
                many.assign(few.begin(), few.end());
            many.push_back(count);
            ++size;
        }
        const int* data() const { return many.empty() ? few.data() : many.data(); }
    };
    Counts s;
    forEachCharacter(surname, [&](std::string_view c) { s.add(strokes.gridStrokeCount(c)); });
    Counts g;
    forEachCharacter(givenName, [&](std::string_view c) { g.add(strokes.gridStrokeCount(c)); });
    if (s.size == 0 || g.size == 0)
        return {};
    return gridNumbersFromCounts(s.data(), s.size, g.data(), g.size);
}

FiveGrids gridNumbersFromCounts(const int* s, std::size_t sn, const int* g, std::size_t gn)
{
    // Plain sums of one to three numbers each: the name generator counts the grids of every draw.
    int surnameTotal = 0;
    for (std::size_t i = 0; i < sn; ++i)
        surnameTotal += s[i];
    int givenTotal = 0;
    for (std::size_t i = 0; i < gn; ++i)
        givenTotal += g[i];
    FiveGrids grids;
    // A single surname borrows the 1 of heaven; a compound surname is its own heaven.
    grids.tian = sn == 1 ? surnameTotal + 1 : surnameTotal;
    // 人格 joins the surname character next to the given name with the first given character.
    grids.ren = s[sn - 1] + g[0];
    // A single given name borrows the 1 of earth.
    grids.di = gn == 1 ? givenTotal + 1 : givenTotal;
    grids.wai = grids.tian + grids.di - grids.ren;
    grids.zong = surnameTotal + givenTotal;
    return grids;
}

ThreeTalent threeTalentOf(const FiveGrids& grids, const ThreeTalentTable& table)
{
    static constexpr std::string_view kNames[] = {"木", "火", "土", "金", "水"};
    const auto element = [](int n) {
        return kNames[static_cast<std::size_t>(ThreeTalentTable::elementOfNumber(n))];
    };
    return {element(grids.tian), element(grids.ren), element(grids.di),
            table.verdict(grids.tian, grids.ren, grids.di)};
}

std::string ThreeTalent::text() const
{
    std::string t = "天才(" + std::string(tian) + ")→人才(" + std::string(ren) + ")→地才(" +
                    std::string(di) + ")";
    if (const auto v = ThreeTalentTable::verdictText(verdict); !v.empty())
        t += " " + std::string(v);
    return t;
}

} // namespace hmf::core
