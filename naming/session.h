#pragma once
// Values that outlive one generator run and link it to the report and the birth-chart window.
// The window owns one SessionState and passes it by reference; nothing here is global.

#include "calendar/calendar.h"

#include <optional>

namespace hmf::naming {

struct SessionState
{
    // Set once a run starts with the fixed-character option on (before the character is
    // checked); never cleared while the program runs.
    bool fixedCharUsed = false;
    // Given-name length of the latest draw (1, 2 or 3); 0 before the first draw.
    int givenNameLength = 0;
    // Set when the birth-chart window has been opened.
    bool birthChartRequested = false;
    // Birth time of the latest run that started while birthChartRequested was set.
    std::optional<calendar::BirthTime> chartDateTime;
};

} // namespace hmf::naming
