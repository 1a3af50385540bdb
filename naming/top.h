#pragma once
// The best names a library allows for one given-name length, instead of drawing at random:
// ranked by the assessment, then by the product's score, found exactly by a best-first search
// that bounds what every partial name can still reach, so it never walks all combinations.

#include "calendar/calendar.h"
#include "core/tables.h"
#include "naming/assessment.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hmf::naming {

struct TopRequest
{
    std::string surname;
    int length = 2;                       // given-name length 1, 2 or 3
    std::optional<std::string> fixedChar; // a generation character at fixedPosition
    int fixedPosition = 1;
    calendar::BirthTime birth;
    std::vector<std::string> library; // a repeated character counts once
    int count = 20;
    std::string sex; // "男", "女" or empty: the assessment weighs characters by it
    // Keep characters outside the general table (left out by default, as the generator does).
    bool keepAll = false;
    // List the name base's names that fit before composing names from the library.
    bool fromBase = true;
};

struct RankedName
{
    std::string fullName;
    std::string givenName;
    std::optional<int> score;
    Assessment assessment;
};

struct TopResult
{
    // The names of the name base that fit first, then, where the base has too few (never for
    // three characters), names composed from the library. Each part best assessment first, then
    // the best score, then the base's or the library's order. None has a 谐音 or 音律 fault, and
    // the list is varied: no character but the fixed one stands in more than one of the base's
    // first 20 names, 2 of its first 40 and so on (the base has names enough; where the names
    // left would all break the rule, they come all the same), nor in more than 2 of the first
    // 20 names of the whole list, 4 of the first 40, and so on.
    std::vector<RankedName> names;
    // How many names were weighed: the name base's names that fit (each assessed whole) and
    // the partial and whole names that the search of the library weighed.
    std::uint64_t considered = 0;
    std::uint64_t consideredFromBase = 0; // of them, names of the name base
    std::string note; // a short Chinese remark (too few names of three characters)
};

// Names are weighed at most this many times; a request that would need more is refused with a
// message that says so (about three seconds; the best 20 of three characters from every GBK
// character take some 65,000).
inline constexpr std::uint64_t kTopMaxWeighed = 10'000'000;

core::Result<TopResult> topNames(const core::Tables& tables, const TopRequest& request);

} // namespace hmf::naming
