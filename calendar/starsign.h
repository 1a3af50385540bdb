#pragma once
// Western star signs of a month and day.

#include <string>

namespace hmf::calendar {

// month + "月" + day + "日\r\n" + name + "\r\n" + description; name and description are empty
// for a month and day that select no sign. The day is not checked against the month.
std::string starSignText(int month, int day);

// Whether a month and day occur in some year (February keeps its 29th): the lookups refuse
// others before asking for a sign.
bool isMonthDay(int month, int day);

} // namespace hmf::calendar
