#include "naming/top.h"

#include "calendar/birthchart.h"
#include "core/score.h"
#include "core/text.h"
#include "shippedtables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hmf::naming {
namespace {

using test::shippedTables;

// Every name scored one by one, best first and stable: what topNames must find through its
// classes of alike characters.
std::vector<RankedName> bruteForce(const TopRequest& request)
{
    const auto& tables = shippedTables();
    const auto chart = calendar::birthChart(request.birth, tables.sexagenary);
    std::vector<std::vector<std::string>> choices(request.length, request.library);
    if (request.fixedChar)
        choices[request.fixedPosition - 1] = {*request.fixedChar};
    std::vector<std::string> givens = {""};
    for (const auto& position : choices) {
        std::vector<std::string> next;
        for (const auto& prefix : givens)
            for (const auto& c : position)
                next.push_back(prefix + c);
        givens = std::move(next);
    }
    std::vector<RankedName> all;
    for (const auto& given : givens) {
        core::ScoreInput input;
        input.grids = core::gridNumbers(tables.strokes, request.surname, given);
        input.year = request.birth.year;
        input.month = request.birth.month;
        input.day = request.birth.day;
        input.missing = chart->missing;
        input.givenName = given;
        input.fixedCharacter = request.fixedChar.has_value();
        all.push_back(
            {request.surname + given, given, core::nameScore(tables.luck, tables.elements, input)});
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const auto& a, const auto& b) { return *a.score > *b.score; });
    all.resize(std::min<std::size_t>(all.size(), request.count));
    return all;
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
    };
    // Births whose charts lack different elements, so that the element check matters.
    const Case cases[] = {
        {"林", 2, std::nullopt, 1, {2019, 5, 5, 5}},
        {"欧阳", 2, std::nullopt, 1, {1985, 8, 20, 0}},
        {"王", 1, std::nullopt, 1, {1985, 8, 20, 12}},
        {"林", 3, std::nullopt, 1, {2024, 3, 10, 23}},
        {"林", 3, "德", 2, {2019, 5, 5, 5}},
        {"张", 2, "德", 1, {1995, 3, 10, 8}},
    };
    const auto library = core::splitCharacters("子涵轩浩宇博文明华德佳怡欣然琪思远嘉俊雨泽鑫炎坤");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + std::to_string(c.length));
        TopRequest request;
        request.surname = c.surname;
        request.length = c.length;
        request.fixedChar = c.fixed;
        request.fixedPosition = c.position;
        request.birth = c.birth;
        request.library = library;
        request.count = 40;
        const TopResult result = topNames(shippedTables(), request);
        ASSERT_TRUE(result.error.empty()) << result.error;
        const auto expected = bruteForce(request);
        ASSERT_EQ(result.names.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(result.names[i].fullName, expected[i].fullName) << i;
            EXPECT_EQ(result.names[i].score, expected[i].score) << i;
        }
    }
}

TEST(TopTest, RepeatedCharactersCountOnceAndBadRequestsAreRefused)
{
    TopRequest request;
    request.surname = "林";
    request.birth = {2019, 5, 5, 5};
    request.library = {"子", "涵", "子"};
    request.count = 100;
    const TopResult result = topNames(shippedTables(), request);
    EXPECT_EQ(result.considered, 4u);
    EXPECT_EQ(result.names.size(), 4u);

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
        const TopResult refused = topNames(shippedTables(), bad);
        EXPECT_FALSE(refused.error.empty());
        EXPECT_TRUE(refused.names.empty());
    }
}

} // namespace
} // namespace hmf::naming
