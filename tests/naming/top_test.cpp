#include "naming/top.h"
#include "tests/testresult.h"

#include "naming/favourable.h"
#include "naming/library.h"

#include "calendar/birthchart.h"
#include "core/score.h"
#include "core/text.h"
#include "shippedtables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace hmf::naming {
namespace {

using test::shippedTables;

// Every name assessed and scored one by one, ranked by figure then score (stable, so library
// order breaks ties), without faulty names, then picked row by row as the first name that keeps
// every character within its limit: what topNames must find through its bounds.
std::vector<RankedName> bruteForce(const TopRequest& request)
{
    const auto& tables = shippedTables();
    const auto chart = calendar::birthChart(request.birth, tables.sexagenary);
    const NameAssessor assessor(tables, request.surname, request.sex, favourableElements(*chart),
                                true);
    const int fixed = request.fixedChar ? request.fixedPosition - 1 : -1;
    std::vector<std::vector<std::string>> choices(request.length, request.library);
    if (request.fixedChar)
        choices[fixed] = {*request.fixedChar};
    std::vector<std::vector<std::string>> givens = {{}};
    for (const auto& position : choices) {
        std::vector<std::vector<std::string>> next;
        for (const auto& prefix : givens)
            for (const auto& c : position) {
                next.push_back(prefix);
                next.back().push_back(c);
            }
        givens = std::move(next);
    }
    std::vector<std::pair<RankedName, std::vector<std::string>>> all;
    for (const auto& chars : givens) {
        std::string given;
        bool outside = false;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            given += chars[i];
            outside = outside || (static_cast<int>(i) != fixed &&
                                  tables.levels.level(*core::singleCodepoint(chars[i])) == 0);
        }
        if (outside && !request.keepAll)
            continue;
        RankedName name;
        name.assessment = assessor.assess(chars);
        if (name.assessment.homophoneFault || name.assessment.toneFault)
            continue;
        core::ScoreInput input;
        input.grids = core::gridNumbers(tables.strokes, request.surname, given);
        input.year = request.birth.year;
        input.month = request.birth.month;
        input.day = request.birth.day;
        input.missing = chart->missing;
        input.givenName = given;
        input.fixedCharacter = request.fixedChar.has_value();
        name.score = core::nameScore(tables.luck, tables.elements, input);
        name.fullName = request.surname + given;
        name.givenName = given;
        all.push_back({std::move(name), chars});
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        if (a.first.assessment.figure != b.first.assessment.figure)
            return a.first.assessment.figure > b.first.assessment.figure;
        return *a.first.score > *b.first.score;
    });
    std::vector<RankedName> picked;
    std::vector<bool> taken(all.size(), false);
    std::map<std::string, int> uses;
    while (picked.size() < static_cast<std::size_t>(request.count)) {
        const int limit = 2 * static_cast<int>(picked.size() / 20 + 1);
        std::size_t i = 0;
        for (; i < all.size(); ++i) {
            if (taken[i])
                continue;
            bool within = true;
            for (std::size_t k = 0; k < all[i].second.size(); ++k)
                within = within && (static_cast<int>(k) == fixed || uses[all[i].second[k]] < limit);
            if (within)
                break;
        }
        if (i == all.size())
            break;
        taken[i] = true;
        for (std::size_t k = 0; k < all[i].second.size(); ++k)
            if (static_cast<int>(k) != fixed)
                ++uses[all[i].second[k]];
        picked.push_back(all[i].first);
    }
    return picked;
}

TEST(TopTest, FindsTheSameBestNamesAsScoringEachOne)
{
    struct Case
    {
        const char* surname;
        int length;
        std::optional<std::string> fixed;
        int position;
        calendar::BirthTime birth;
        const char* sex = "";
        bool keepAll = false;
    };
    // Births whose charts lack different elements, so that the element check matters.
    const Case cases[] = {
        {"林", 2, std::nullopt, 1, {2019, 5, 5, 5}, "女"},
        {"欧阳", 2, std::nullopt, 1, {1985, 8, 20, 0}, "男"},
        {"王", 1, std::nullopt, 1, {1985, 8, 20, 12}},
        {"林", 3, std::nullopt, 1, {2024, 3, 10, 23}, "女"},
        {"林", 3, "德", 2, {2019, 5, 5, 5}, "男"},
        {"张", 2, "德", 1, {1995, 3, 10, 8}},
        {"杜", 2, std::nullopt, 1, {2019, 5, 5, 5}, "", true},
    };
    // Names of every kind of fault and merit: 杜子腾 and 范统-like sounds, repeated syllables,
    // a character outside the general table (犇 level 3, 龘 outside), both sexes' characters.
    const auto library =
        core::splitCharacters("子腾涵轩浩宇博文明华德佳怡欣然琪思远嘉俊雨泽鑫炎坤婷龘犇统");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + std::to_string(c.length));
        TopRequest request;
        request.surname = c.surname;
        request.length = c.length;
        request.fixedChar = c.fixed;
        request.fixedPosition = c.position;
        request.birth = c.birth;
        request.library = library;
        request.count = 45;
        request.sex = c.sex;
        request.keepAll = c.keepAll;
        request.fromBase = false; // the library alone, as the brute force weighs it
        const auto ranked = topNames(shippedTables(), request);
        ASSERT_TRUE(hmf::test::succeeded(ranked));
        const TopResult& result = *ranked;
        const auto expected = bruteForce(request);
        ASSERT_EQ(result.names.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(result.names[i].fullName, expected[i].fullName) << i;
            EXPECT_EQ(result.names[i].score, expected[i].score) << i;
            EXPECT_EQ(result.names[i].assessment.figure, expected[i].assessment.figure) << i;
        }
    }
}

// On the shipped girls' library: the best 20 hold no faulty name, and no character but the fixed
// one in more than 2 of them.
TEST(TopTest, BestNamesOfAShippedLibraryAreVariedAndFaultless)
{
    auto library = loadLibrary(std::filesystem::path(std::getenv("HMF_DATA_DIR")) / "zwz.fne",
                               shippedTables().strokes);
    ASSERT_TRUE(hmf::test::succeeded(library));
    for (auto fixed : {std::optional<std::string>(), std::optional<std::string>("雅")}) {
        TopRequest request;
        request.surname = "陈";
        request.length = fixed ? 3 : 2;
        request.fixedChar = fixed;
        request.birth = {2019, 5, 5, 5};
        request.library = *library;
        request.sex = "女";
        request.fromBase = false;
        const auto ranked = topNames(shippedTables(), request);
        ASSERT_TRUE(hmf::test::succeeded(ranked));
        const TopResult& result = *ranked;
        ASSERT_EQ(result.names.size(), 20u);
        std::map<std::string, int> uses;
        for (const auto& name : result.names) {
            SCOPED_TRACE(name.fullName);
            EXPECT_FALSE(name.assessment.homophoneFault || name.assessment.toneFault);
            EXPECT_FALSE(name.assessment.outsideTable);
            for (const auto& c : core::splitCharacters(name.givenName))
                if (!fixed || c != *fixed) {
                    EXPECT_LE(++uses[c], 2) << c;
                }
        }
        for (std::size_t i = 1; i < result.names.size(); ++i)
            EXPECT_GE(result.names[i - 1].assessment.figure, result.names[i].assessment.figure);
    }
}

// The shipped name base: its names that fit come first, then (only where it has too few, and
// never for three characters) names composed from the library; `considered` counts both.
TEST(TopTest, NamesOfTheBaseComeFirstAndEveryWeighedNameIsCounted)
{
    auto girls = loadLibrary(std::filesystem::path(std::getenv("HMF_DATA_DIR")) / "zwz.fne",
                             shippedTables().strokes);
    ASSERT_TRUE(hmf::test::succeeded(girls));
    const core::NameBase& base = shippedTables().nameBase;
    struct Case
    {
        const char* label;
        const char* surname;
        const char* sex;
        int length;
        std::optional<std::string> fixed;
        int count;
        std::size_t listed; // how many names are listed (0: count)
        const char* note;   // a text the note holds, or empty for none
    };
    const Case cases[] = {
        {"the base suffices", "王", "女", 2, std::nullopt, 20, 0, ""},
        {"one character", "欧阳", "男", 1, std::nullopt, 30, 0, ""},
        {"generation character", "李", "男", 2, "子", 20, 0, ""},
        {"the base runs out", "陈", "女", 2, std::nullopt, 3000, 0, ""},
        {"three characters", "王", "女", 3, std::nullopt, 10, 0, ""},
        // 云舒卷 and 云中鹤 are the only three-character names that begin with 云.
        {"too few of three characters", "张", "男", 3, "云", 20, 2, "只有2个"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TopRequest request;
        request.surname = c.surname;
        request.sex = c.sex;
        request.length = c.length;
        request.fixedChar = c.fixed;
        request.birth = {2024, 3, 15, 8};
        request.library = *girls;
        request.count = c.count;
        const auto ranked = topNames(shippedTables(), request);
        ASSERT_TRUE(hmf::test::succeeded(ranked));
        const TopResult& result = *ranked;
        EXPECT_EQ(result.names.size(), c.listed ? c.listed : static_cast<std::size_t>(c.count));
        EXPECT_NE(result.note.find(c.note), std::string::npos) << result.note;
        EXPECT_EQ(result.note.empty(), *c.note == 0) << result.note;

        // Every name of the base that fits was weighed, and counted.
        std::uint64_t fitting = 0;
        for (std::size_t i = 0; i < base.size(); ++i) {
            const core::BaseName name = base.at(i);
            const bool otherSex = name.sex == (std::string(c.sex) == "男" ? core::SexLeaning::Female
                                                                          : core::SexLeaning::Male);
            fitting += name.length == c.length && !otherSex &&
                       (!c.fixed || core::splitCharacters(name.name)[0] == *c.fixed);
        }
        EXPECT_EQ(result.consideredFromBase, fitting);

        // The base's names, then the composed ones, none twice.
        std::size_t fromBase = 0;
        std::set<std::string> seen;
        for (const auto& name : result.names) {
            SCOPED_TRACE(name.fullName);
            EXPECT_TRUE(seen.insert(name.givenName).second);
            EXPECT_EQ(core::splitCharacters(name.givenName).size(),
                      static_cast<std::size_t>(c.length));
            if (c.fixed) {
                EXPECT_EQ(core::splitCharacters(name.givenName)[0], *c.fixed);
            }
            const bool inBase = base.find(name.givenName).has_value();
            EXPECT_EQ(inBase, !name.assessment.nameMeaning.empty());
            if (inBase) {
                EXPECT_EQ(fromBase++, static_cast<std::size_t>(&name - result.names.data()));
            }
        }
        if (c.count <= 30) {
            EXPECT_EQ(fromBase, result.names.size());
            EXPECT_EQ(result.considered, result.consideredFromBase);
        } else {
            // Some thousand names of the base, then the library's names; the search's weighings
            // count on top of the base's.
            EXPECT_GT(fromBase, 1000u);
            EXPECT_LT(fromBase, result.names.size());
            EXPECT_GT(result.considered, result.consideredFromBase);
        }
    }

    // No three-character name of the base fits: refused with a message that says so.
    TopRequest none;
    none.surname = "张";
    none.sex = "男";
    none.length = 3;
    none.fixedChar = "宇";
    none.birth = {2024, 3, 15, 8};
    none.library = *girls;
    EXPECT_EQ(hmf::test::messageOf(topNames(shippedTables(), none)), "名字库中没有合适的三字名");
}

// What a parent sees of the shipped data: the best 20 tell names apart (at most 5 share the top
// figure) and offer a choice of characters (at least 30), best first, whatever the surname, sex
// and birth.
TEST(TopTest, BestTwentyOfTheShippedDataAreSpreadAndVaried)
{
    struct Case
    {
        const char* surname;
        const char* sex;
        calendar::BirthTime birth;
    };
    const Case cases[] = {
        {"王", "女", {2024, 3, 15, 8}},   {"李", "男", {2023, 7, 1, 12}},
        {"张", "女", {2022, 11, 20, 3}},  {"刘", "男", {2024, 1, 5, 18}},
        {"陈", "女", {2021, 6, 30, 22}},  {"杨", "男", {2020, 9, 9, 6}},
        {"欧阳", "女", {2019, 5, 5, 5}},  {"司马", "男", {2025, 2, 14, 14}},
        {"黄", "女", {2018, 12, 25, 10}}, {"赵", "男", {2024, 8, 8, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + c.sex);
        auto library =
            loadLibrary(std::filesystem::path(std::getenv("HMF_DATA_DIR")) / libraryFileName(c.sex),
                        shippedTables().strokes);
        ASSERT_TRUE(hmf::test::succeeded(library));
        TopRequest request;
        request.surname = c.surname;
        request.sex = c.sex;
        request.birth = c.birth;
        request.library = *library;
        const auto ranked = topNames(shippedTables(), request);
        ASSERT_TRUE(hmf::test::succeeded(ranked));
        const TopResult& result = *ranked;
        ASSERT_EQ(result.names.size(), 20u);
        int top = 0;
        std::set<std::string> characters;
        for (std::size_t i = 0; i < result.names.size(); ++i) {
            const int figure = result.names[i].assessment.figure;
            if (i > 0) {
                EXPECT_LE(figure, result.names[i - 1].assessment.figure) << i;
            }
            top += figure == result.names[0].assessment.figure;
            for (const auto& ch : core::splitCharacters(result.names[i].givenName))
                characters.insert(ch);
        }
        EXPECT_LE(top, 5) << "names at " << result.names[0].assessment.figure;
        EXPECT_GE(characters.size(), 30u);
    }
}

TEST(TopTest, RepeatedCharactersCountOnceAndBadRequestsAreRefused)
{
    TopRequest request;
    request.surname = "林";
    request.birth = {2019, 5, 5, 5};
    request.library = {"子", "涵", "子"};
    request.count = 100;
    request.fromBase = false;
    const auto ranked = topNames(shippedTables(), request);
    ASSERT_TRUE(hmf::test::succeeded(ranked));
    const TopResult& result = *ranked;
    // 子 counts once; each character may stand twice in the first 20 names, so only some of
    // 林子涵, 林涵子, 林子子 and 林涵涵 are listed, each once.
    ASSERT_GE(result.names.size(), 2u);
    ASSERT_LE(result.names.size(), 4u);
    std::set<std::string> names;
    for (const auto& n : result.names)
        names.insert(n.fullName);
    EXPECT_EQ(names.size(), result.names.size());

    struct Case
    {
        const char* label;
        std::function<void(TopRequest&)> change;
    };
    const Case cases[] = {
        {"surname", [](TopRequest& r) { r.surname = ""; }},
        {"length", [](TopRequest& r) { r.length = 4; }},
        {"position",
         [](TopRequest& r) {
             r.fixedChar = "德";
             r.fixedPosition = 3;
         }},
        {"birth",
         [](TopRequest& r) {
             r.birth = {2019, 13, 1, 0};
         }},
        {"library", [](TopRequest& r) { r.library = {}; }},
        {"library character",
         [](TopRequest& r) {
             r.library = {"子", "AB"};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TopRequest bad = request;
        c.change(bad);
        EXPECT_EQ(hmf::test::failure(topNames(shippedTables(), bad)).code,
                  core::ErrorCode::BadInput);
    }
}

} // namespace
} // namespace hmf::naming
