#pragma once
// The best names a library allows: every combination of its characters for one given-name
// length is scored, instead of drawing at random.

#include "calendar/calendar.h"
#include "core/tables.h"

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
};

struct RankedName
{
    std::string fullName;
    std::string givenName;
    std::optional<int> score;
};

struct TopResult
{
    // Best first; among equal scores in library order (first given character, then second...).
    std::vector<RankedName> names;
    std::uint64_t considered = 0; // how many names were scored
    std::string error;            // a short Chinese message; empty on success
};

TopResult topNames(const core::Tables& tables, const TopRequest& request);

} // namespace hmf::naming
