#include "naming/top.h"

#include "calendar/birthchart.h"
#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "naming/favourable.h"
#include "naming/namecheck.h"

#include <algorithm>
#include <limits>
#include <queue>
#include <unordered_map>
#include <unordered_set>

namespace hmf::naming {
namespace {

constexpr int kNone = std::numeric_limits<int>::min() / 4; // no character of that stroke count
constexpr int kPartialScore = 1000; // above any score: partial names go before whole ones

// One entry of the search: a character iterator (the children of a prefix, in descending order
// of their own points), a partial name, or a whole name.
struct Entry
{
    enum Kind : std::uint8_t { Children, Partial, Whole };
    int bound = 0; // nothing this entry leads to has a higher figure
    int score = 0; // the product's score of a whole name; kPartialScore otherwise
    std::uint64_t seq = 0;
    Kind kind = Children;
    std::uint8_t depth = 0;           // characters fixed in the prefix
    std::uint32_t idx[3] = {0, 0, 0}; // library index of each fixed character
    std::uint32_t stroke = 0;         // Children: the stroke index of the candidates it walks
    std::uint32_t next = 0;           // Children: the next of them
    int exact = 0;                    // base + the points of the prefix that are final
    int homophone = 0;                // the prefix's worst homophone cost, part of `exact`
    std::uint32_t strokes = 0;        // the prefix's stroke indexes, as one number in base T
};

struct LowerPriority
{
    bool operator()(const Entry& a, const Entry& b) const
    {
        if (a.bound != b.bound)
            return a.bound < b.bound;
        if (a.score != b.score)
            return a.score < b.score;
        if (a.kind == Entry::Whole && b.kind == Entry::Whole)
            return std::lexicographical_compare(b.idx, b.idx + 3, a.idx, a.idx + 3);
        return a.seq > b.seq;
    }
};

// Whether a name of the base that leans so is meant for the other sex than `sex` ("男", "女" or
// empty).
bool forOtherSex(core::SexLeaning lean, const std::string& sex)
{
    return (sex == "男" && lean == core::SexLeaning::Female) ||
           (sex == "女" && lean == core::SexLeaning::Male);
}

// Lists the names of the name base that fit the request (length, sex, the fixed character),
// best assessment first, then best score, then the base's order; none with a 谐音 or 音律
// fault. Counts the uses of each character (`uses`) and keeps the names listed (`listed`).
void listBaseNames(const core::Tables& tables, const NameAssessor& assessor,
                   const core::FastScorer& scorer, const TopRequest& request,
                   const std::string& surname, const std::string& fixedChar, int fixedPosition,
                   TopResult& result, std::unordered_map<std::string, int>& uses,
                   std::unordered_set<std::string>& listed)
{
    const core::NameBase& base = tables.nameBase;
    const int length = request.length;
    std::unordered_map<std::string, CharFacts> facts;
    struct Candidate
    {
        std::size_t index;
        std::vector<std::string> characters;
        int figure;
        int score;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < base.size(); ++i) {
        const core::BaseName name = base.at(i);
        if (name.length != length)
            continue;
        if (forOtherSex(name.sex, request.sex))
            continue;
        std::vector<std::string> characters = core::splitCharacters(name.name);
        if (fixedPosition >= 0 && characters[static_cast<std::size_t>(fixedPosition)] != fixedChar)
            continue;
        const CharFacts* given[3] = {nullptr, nullptr, nullptr};
        int counts[3];
        for (int k = 0; k < length; ++k) {
            const std::string& c = characters[static_cast<std::size_t>(k)];
            auto it = facts.find(c);
            if (it == facts.end())
                it = facts.emplace(c, assessor.facts(c)).first;
            given[k] = &it->second;
            counts[k] = it->second.strokes;
        }
        Assessment faults;
        const int figure = assessor.assess(given, length, &faults, false);
        ++result.consideredFromBase;
        if (faults.homophoneFault || faults.toneFault || (!request.keepAll && faults.outsideTable))
            continue;
        const int score =
            scorer.score(counts, length, given[0]->element, given[length - 1]->element);
        candidates.push_back({i, std::move(characters), figure, score});
    }
    result.considered = result.consideredFromBase;
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.figure != b.figure ? a.figure > b.figure : a.score > b.score;
    });
    const std::size_t keep = static_cast<std::size_t>(request.count);
    std::vector<bool> taken(candidates.size(), false);
    while (result.names.size() < keep) {
        // The base has names enough to use a character once in every 20 names.
        const int limit = static_cast<int>(result.names.size() / 20 + 1);
        const auto fits = [&](const Candidate& c) {
            for (int k = 0; k < length; ++k)
                if (k != fixedPosition && uses[c.characters[static_cast<std::size_t>(k)]] >= limit)
                    return false;
            return true;
        };
        std::size_t pick = candidates.size();
        for (std::size_t i = 0; i < candidates.size() && pick == candidates.size(); ++i)
            if (!taken[i] && fits(candidates[i]))
                pick = i;
        // Every name left repeats a character too often: the base still comes before names
        // composed from the library, so its best name left is listed all the same.
        for (std::size_t i = 0; i < candidates.size() && pick == candidates.size(); ++i)
            if (!taken[i])
                pick = i;
        if (pick == candidates.size())
            break; // the base has no name left
        taken[pick] = true;
        const Candidate& c = candidates[pick];
        RankedName name;
        name.givenName = std::string(base.at(c.index).name);
        name.fullName = surname + name.givenName;
        name.score = c.score;
        const CharFacts* given[3] = {nullptr, nullptr, nullptr};
        for (int k = 0; k < length; ++k) {
            given[k] = &facts.at(c.characters[static_cast<std::size_t>(k)]);
            if (k != fixedPosition)
                ++uses[c.characters[static_cast<std::size_t>(k)]];
        }
        assessor.assess(given, length, &name.assessment);
        listed.insert(name.givenName);
        result.names.push_back(std::move(name));
    }
}

// The request's faults in the order the user reads them.
core::Status checkRequest(const core::Tables& tables, const TopRequest& request,
                          const std::string& surname, const std::string& fixedChar)
{
    const int length = request.length;
    if (core::Status s = checkSurname(tables, surname); !s)
        return s;
    if (length < 1 || length > 3)
        return core::inputError("名字长度应为1到3个字");
    if (request.fixedChar) {
        if (core::Status s = checkFixedCharacter(tables, fixedChar); !s)
            return s;
        if (request.fixedPosition < 1 || request.fixedPosition > length)
            return core::inputError("固定字的位置应在1到" + std::to_string(length) + "之间");
    }
    if (request.count < 1)
        return core::inputError("名字个数应至少为1");
    if (!request.sex.empty() && request.sex != "男" && request.sex != "女")
        return core::inputError("性别应为“男”或“女”");
    return calendar::checkBirthTime(request.birth);
}

} // namespace

core::Result<TopResult> topNames(const core::Tables& tables, const TopRequest& request)
{
    TopResult result;
    const std::string surname = core::trimBlanks(request.surname);
    const int length = request.length;
    const std::string fixedChar = request.fixedChar ? core::trimBlanks(*request.fixedChar) : "";
    if (core::Status checked = checkRequest(tables, request, surname, fixedChar); !checked)
        return checked.error();
    const auto chart = calendar::birthChart(request.birth, tables.sexagenary);
    if (!chart)
        return core::inputError("请填写正确的出生日期");

    std::vector<std::string> library;
    std::unordered_set<std::string> seen;
    for (const auto& c : request.library) {
        if (core::Status s = checkFixedCharacter(tables, c); !s)
            return s.error();
        if (seen.insert(c).second)
            library.push_back(c);
    }
    if (library.empty())
        return core::inputError("字库中没有一个字");

    const NameAssessor assessor(tables, surname, request.sex, favourableElements(*chart), true);
    const core::FastScorer scorer(tables.luck, assessor.surnameCounts(), request.birth.year,
                                  request.birth.month, request.birth.day, chart->missing,
                                  request.fixedChar.has_value());
    const std::size_t keep = static_cast<std::size_t>(request.count);
    const int fixedPosition = request.fixedChar ? request.fixedPosition - 1 : -1;
    // A character may stand in 2 of the first 20 names, 4 of the first 40, and so on.
    const auto useLimit = [&] { return 2 * static_cast<int>(result.names.size() / 20 + 1); };
    std::unordered_map<std::string, int> baseUses;
    std::unordered_set<std::string> listed;
    if (request.fromBase)
        listBaseNames(tables, assessor, scorer, request, surname, fixedChar, fixedPosition, result,
                      baseUses, listed);
    if ((length == 3 && request.fromBase) || result.names.size() >= keep) {
        if (length == 3 && result.names.size() < keep)
            result.note = result.names.empty() ? "名字库中没有合适的三字名"
                                               : "名字库中合适的三字名只有" +
                                                     std::to_string(result.names.size()) + "个";
        if (result.names.empty())
            return core::inputError(result.note);
        return result;
    }
    std::vector<CharFacts> facts;
    std::vector<int> points; // each character's own points
    for (const auto& c : library) {
        facts.push_back(assessor.facts(c));
        points.push_back(assessor.characterPoints(facts.back(), nullptr));
    }
    const std::uint32_t fixedIndex = static_cast<std::uint32_t>(facts.size());
    if (request.fixedChar) {
        facts.push_back(assessor.facts(fixedChar));
        points.push_back(assessor.characterPoints(facts.back(), nullptr));
    }

    // The candidates of each position, best own points first (library order among equals).
    std::array<std::vector<std::uint32_t>, 3> candidates;
    for (int p = 0; p < length; ++p) {
        if (p == fixedPosition) {
            candidates[p] = {fixedIndex};
            continue;
        }
        for (std::uint32_t i = 0; i < library.size(); ++i)
            if (request.keepAll || facts[i].level != 0)
                candidates[p].push_back(i);
        std::stable_sort(candidates[p].begin(), candidates[p].end(),
                         [&](auto a, auto b) { return points[a] > points[b]; });
        if (candidates[p].empty())
            return core::inputError("字库中的字都不在通用规范汉字表内（--keep-all 可保留）");
    }

    // The luck of the grids depends on the stroke counts alone: for every prefix of stroke
    // counts, the best that the grids and the remaining characters' own points can still give.
    std::vector<int> strokeValues;
    for (const auto& f : facts)
        strokeValues.push_back(f.strokes);
    std::sort(strokeValues.begin(), strokeValues.end());
    strokeValues.erase(std::unique(strokeValues.begin(), strokeValues.end()), strokeValues.end());
    const std::uint32_t T = static_cast<std::uint32_t>(strokeValues.size());
    std::vector<std::uint32_t> strokeIndex(facts.size());
    for (std::size_t i = 0; i < facts.size(); ++i)
        strokeIndex[i] = static_cast<std::uint32_t>(
            std::lower_bound(strokeValues.begin(), strokeValues.end(), facts[i].strokes) -
            strokeValues.begin());
    std::array<std::vector<int>, 3> bestOwn; // [position][stroke index]
    for (int p = 0; p < length; ++p) {
        bestOwn[p].assign(T, kNone);
        for (auto i : candidates[p])
            bestOwn[p][strokeIndex[i]] = std::max(bestOwn[p][strokeIndex[i]], points[i]);
    }
    // The candidates of each position by stroke index, best own points first.
    std::array<std::vector<std::vector<std::uint32_t>>, 3> byStroke;
    for (int p = 0; p < length; ++p) {
        byStroke[p].resize(T);
        for (auto i : candidates[p])
            byStroke[p][strokeIndex[i]].push_back(i);
    }
    // rest[k][prefix]: the best that the grids and the own points of positions k.. can give
    // after a prefix of k stroke indexes (rest[length] is the grids' luck of a whole name).
    std::array<std::vector<int>, 4> rest;
    std::uint32_t combos = 1;
    for (int k = 0; k < length; ++k)
        combos *= T;
    rest[length].assign(combos, kNone);
    {
        std::vector<int> counts(static_cast<std::size_t>(length));
        for (std::uint32_t code = 0; code < combos; ++code) {
            std::uint32_t c = code;
            bool possible = true;
            for (int k = length - 1; k >= 0; --k) {
                const std::uint32_t t = c % T;
                c /= T;
                counts[static_cast<std::size_t>(k)] = strokeValues[t];
                possible = possible && bestOwn[k][t] != kNone;
            }
            if (possible)
                rest[length][code] = assessor.numerologyPoints(
                    core::gridNumbersFromCounts(assessor.surnameCounts().data(),
                                                assessor.surnameCounts().size(), counts.data(),
                                                counts.size()),
                    nullptr);
        }
    }
    for (int k = length - 1; k >= 0; --k) {
        const std::uint32_t size = static_cast<std::uint32_t>(rest[k + 1].size()) / T;
        rest[k].assign(size, kNone);
        for (std::uint32_t prefix = 0; prefix < size; ++prefix)
            for (std::uint32_t t = 0; t < T; ++t) {
                const int after = rest[k + 1][prefix * T + t];
                if (after != kNone && bestOwn[k][t] != kNone)
                    rest[k][prefix] = std::max(rest[k][prefix], after + bestOwn[k][t]);
            }
    }

    const auto clampFigure = [](long long v) {
        return static_cast<int>(std::clamp(v, 0LL, 100LL));
    };

    std::priority_queue<Entry, std::vector<Entry>, LowerPriority> heap;
    std::uint64_t seq = 0;
    // The candidates of stroke index t for position `from.depth`, from the `next`-th on: the
    // first of them bounds them all, as they come best first.
    const auto pushChildren = [&](Entry from, std::uint32_t t, std::uint32_t next) {
        const int p = from.depth;
        const auto& list = byStroke[p][t];
        const int after = rest[p + 1][from.strokes * T + t];
        if (next >= list.size() || after == kNone)
            return;
        from.kind = Entry::Children;
        from.stroke = t;
        from.next = next;
        from.score = kPartialScore;
        from.seq = seq++;
        from.bound = clampFigure(static_cast<long long>(from.exact) + points[list[next]] + after);
        heap.push(from);
    };
    const auto expand = [&](const Entry& from) {
        for (std::uint32_t t = 0; t < T; ++t)
            pushChildren(from, t, 0);
    };
    Entry root;
    root.exact = assessor.base(length);
    expand(root);

    // The limit of uses holds for the names of the base listed already too; an entry that would
    // break it waits until the limit rises.
    std::vector<int> uses(facts.size(), 0);
    for (std::size_t i = 0; i < library.size(); ++i)
        if (const auto it = baseUses.find(library[i]); it != baseUses.end())
            uses[i] = it->second;
    std::vector<Entry> waiting;
    const auto overLimit = [&](const Entry& e) {
        const int limit = useLimit();
        for (int i = 0; i < e.depth; ++i)
            if (i != fixedPosition && uses[e.idx[i]] >= limit)
                return true;
        return false;
    };

    const CharFacts* given[3] = {nullptr, nullptr, nullptr};
    while (!heap.empty() && result.names.size() < keep) {
        Entry e = heap.top();
        heap.pop();
        if (e.kind == Entry::Partial) {
            if (overLimit(e))
                waiting.push_back(e);
            else
                expand(e);
            continue;
        }
        if (e.kind == Entry::Whole) {
            if (overLimit(e)) {
                waiting.push_back(e);
                continue;
            }
            RankedName name;
            for (int i = 0; i < length; ++i)
                name.givenName += facts[e.idx[i]].text;
            if (listed.count(name.givenName))
                continue; // listed from the base already
            if (const auto entry =
                    request.fromBase ? tables.nameBase.find(name.givenName) : std::nullopt;
                entry && forOtherSex(entry->sex, request.sex))
                continue; // the base gives it to the other sex
            for (int i = 0; i < length; ++i) {
                given[i] = &facts[e.idx[i]];
                if (i != fixedPosition)
                    ++uses[e.idx[i]];
            }
            name.fullName = surname + name.givenName;
            name.score = e.score;
            assessor.assess(given, length, &name.assessment);
            result.names.push_back(std::move(name));
            if (result.names.size() % 20 == 0 || result.names.size() == keep) {
                for (const auto& w : waiting)
                    heap.push(w);
                waiting.clear();
            }
            continue;
        }

        // The next candidate of position p after the prefix, then the one after it.
        const int p = e.depth;
        const std::uint32_t c = byStroke[p][e.stroke][e.next];
        pushChildren(e, e.stroke, e.next + 1);
        if (++result.considered > kTopMaxWeighed)
            return core::inputError("字库太大：要给出确切的最佳名字需要评估超过" +
                                    std::to_string(kTopMaxWeighed / 10000) +
                                    "万个名字，请缩小字库、减少名字字数或个数");
        for (int i = 0; i < p; ++i)
            given[i] = &facts[e.idx[i]];
        given[p] = &facts[c];
        int homophone = e.homophone;
        bool homophoneFault = false, toneFault = false;
        const int sound =
            assessor.soundStep(given, p, homophone, homophoneFault, toneFault, nullptr);
        if (homophoneFault || toneFault)
            continue; // never listed, nor anything that begins with it
        Entry child = e;
        child.idx[p] = c;
        child.depth = static_cast<std::uint8_t>(p + 1);
        child.exact = e.exact + points[c] + sound + (homophone - e.homophone);
        child.homophone = homophone;
        child.strokes = e.strokes * T + strokeIndex[c];
        child.seq = seq++;
        if (p + 1 < length) {
            child.kind = Entry::Partial;
            child.score = kPartialScore;
            child.bound =
                clampFigure(static_cast<long long>(child.exact) + rest[p + 1][child.strokes]);
        } else {
            // The grids' luck from the table of stroke counts, the rest as the assessment has it.
            bool wholeFault = false;
            const int whole = assessor.tonePattern(given, length, wholeFault, nullptr) +
                              rest[length][child.strokes] +
                              assessor.elementShortfall(given, length, nullptr) +
                              assessor.pairSense(given, length, nullptr);
            if (wholeFault)
                continue;
            child.kind = Entry::Whole;
            child.bound = clampFigure(static_cast<long long>(child.exact) + whole);
            int counts[3];
            for (int i = 0; i < length; ++i)
                counts[i] = given[i]->strokes;
            child.score =
                scorer.score(counts, length, given[0]->element, given[length - 1]->element);
        }
        heap.push(child);
    }
    return result;
}

} // namespace hmf::naming
