#include "naming/top.h"

#include "calendar/birthchart.h"
#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "naming/namecheck.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_set>

namespace hmf::naming {
namespace {

// The characters one position of the given name can take, grouped into classes of characters
// that score alike: the score of a name depends on its characters only through their grid
// counts and, for the first and last given character, their elements.
struct Position
{
    std::vector<std::string> characters;
    std::vector<int> classOf;                // class of each character
    std::vector<std::string> representative; // one character per class
};

int elementIndex(const core::Tables& tables, const std::string& c)
{
    const std::string element = core::trimBlanks(tables.elements.elementOf(c));
    for (std::size_t i = 0; i < core::kElementOrder.size(); ++i)
        if (element == core::kElementOrder[i])
            return static_cast<int>(i);
    return static_cast<int>(core::kElementOrder.size());
}

Position makePosition(const core::Tables& tables, std::vector<std::string> characters,
                      bool elementMatters)
{
    Position p;
    p.characters = std::move(characters);
    std::map<int, int> classes;
    for (const auto& c : p.characters) {
        const int key =
            tables.gridStrokeCount(c) * 8 + (elementMatters ? elementIndex(tables, c) : 0);
        auto [it, added] = classes.emplace(key, static_cast<int>(p.representative.size()));
        if (added)
            p.representative.push_back(c);
        p.classOf.push_back(it->second);
    }
    return p;
}

} // namespace

TopResult topNames(const core::Tables& tables, const TopRequest& request)
{
    TopResult result;
    const std::string surname = core::trimBlanks(request.surname);
    const int length = request.length;
    auto& error = result.error;
    error = checkSurname(tables, surname);
    if (error.empty() && (length < 1 || length > 3))
        error = "名字长度应为1到3个字";
    if (error.empty() && request.fixedChar) {
        error = checkFixedCharacter(tables, core::trimBlanks(*request.fixedChar));
        if (error.empty() && (request.fixedPosition < 1 || request.fixedPosition > length))
            error = "固定字的位置应在1到" + std::to_string(length) + "之间";
    }
    if (error.empty() && request.count < 1)
        error = "名字个数应至少为1";
    if (error.empty())
        error = calendar::checkBirthTime(request.birth);
    if (!error.empty())
        return result;
    const auto chart = calendar::birthChart(request.birth, tables.sexagenary);
    if (!chart) {
        error = "请填写正确的出生日期";
        return result;
    }

    std::vector<std::string> library;
    std::unordered_set<std::string> seen;
    for (const auto& c : request.library) {
        if (auto e = checkFixedCharacter(tables, c); !e.empty()) {
            error = e;
            return result;
        }
        if (seen.insert(c).second)
            library.push_back(c);
    }
    if (library.empty()) {
        error = "字库中没有一个字";
        return result;
    }

    std::array<Position, 3> positions;
    for (int i = 0; i < 3; ++i) {
        std::vector<std::string> chars = library;
        if (i >= length)
            chars = {std::string()};
        else if (request.fixedChar && i + 1 == request.fixedPosition)
            chars = {core::trimBlanks(*request.fixedChar)};
        // The element check reads the first and the last given character only.
        const bool elementMatters = i == 0 || i == length - 1;
        positions[i] = makePosition(tables, std::move(chars), elementMatters);
    }

    // Score every combination of classes once, through the one grid and score procedure.
    const std::size_t n0 = positions[0].representative.size();
    const std::size_t n1 = positions[1].representative.size();
    const std::size_t n2 = positions[2].representative.size();
    std::vector<int> classScore(n0 * n1 * n2);
    core::ScoreInput input;
    input.year = request.birth.year;
    input.month = request.birth.month;
    input.day = request.birth.day;
    input.missing = chart->missing;
    input.fixedCharacter = request.fixedChar.has_value();
    int lowest = 100, highest = 0;
    for (std::size_t a = 0; a < n0; ++a)
        for (std::size_t b = 0; b < n1; ++b)
            for (std::size_t c = 0; c < n2; ++c) {
                input.givenName = positions[0].representative[a] + positions[1].representative[b] +
                                  positions[2].representative[c];
                input.grids = core::gridNumbers(tables.strokes, surname, input.givenName);
                const int score = core::nameScore(tables.luck, tables.elements, input);
                classScore[(a * n1 + b) * n2 + c] = score;
                lowest = std::min(lowest, score);
                highest = std::max(highest, score);
            }

    // Walk every name in library order and keep the first `count` of every score, so equal
    // scores stay in library order.
    const std::size_t keep = static_cast<std::size_t>(request.count);
    std::vector<std::vector<std::array<std::uint32_t, 3>>> buckets(highest - lowest + 1);
    const auto& p0 = positions[0];
    const auto& p1 = positions[1];
    const auto& p2 = positions[2];
    for (std::uint32_t i = 0; i < p0.characters.size(); ++i) {
        const std::size_t rowA = p0.classOf[i] * n1;
        for (std::uint32_t j = 0; j < p1.characters.size(); ++j) {
            const std::size_t rowB = (rowA + p1.classOf[j]) * n2;
            for (std::uint32_t k = 0; k < p2.characters.size(); ++k) {
                auto& bucket = buckets[classScore[rowB + p2.classOf[k]] - lowest];
                if (bucket.size() < keep)
                    bucket.push_back({i, j, k});
            }
        }
    }
    result.considered = static_cast<std::uint64_t>(p0.characters.size()) * p1.characters.size() *
                        p2.characters.size();

    for (int s = highest; s >= lowest && result.names.size() < keep; --s) {
        for (const auto& [i, j, k] : buckets[s - lowest]) {
            if (result.names.size() >= keep)
                break;
            RankedName name;
            name.givenName = p0.characters[i] + p1.characters[j] + p2.characters[k];
            name.fullName = surname + name.givenName;
            name.score = s;
            result.names.push_back(std::move(name));
        }
    }
    return result;
}

} // namespace hmf::naming
