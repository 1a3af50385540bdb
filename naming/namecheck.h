#pragma once
// Checks of typed names shared by the report, the generator and the ranking: each refuses a text
// with a short Chinese message for the user.

#include "core/result.h"
#include "core/tables.h"

#include <string>
#include <string_view>

namespace hmf::naming {

// One or two Chinese characters, each with a grid stroke count.
core::Status checkSurname(const core::Tables& tables, std::string_view surname);
// One to three Chinese characters, each with a grid stroke count.
core::Status checkGivenName(const core::Tables& tables, std::string_view givenName);
// Exactly one Chinese character with a grid stroke count.
core::Status checkFixedCharacter(const core::Tables& tables, std::string_view character);

} // namespace hmf::naming
