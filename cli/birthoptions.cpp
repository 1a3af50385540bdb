#include "cli/birthoptions.h"

#include "core/text.h"

#include <cmath>
#include <cstdlib>

namespace hmf::cli {

std::optional<std::pair<calendar::LunarDate, int>> parseLunarDateHour(const std::string& text)
{
    std::string t = core::trimBlanks(text);
    calendar::LunarDate date;
    // The leap mark stands before the month number: "2023-闰2-01".
    constexpr std::string_view kLeap = "闰";
    auto dash1 = t.find('-');
    if (dash1 != std::string::npos && t.compare(dash1 + 1, kLeap.size(), kLeap) == 0) {
        date.leap = true;
        t.erase(dash1 + 1, kLeap.size());
    }
    auto parsed = parseDateHour(t);
    if (!parsed)
        return std::nullopt;
    date.year = parsed->year;
    date.month = parsed->month;
    date.day = parsed->day;
    return std::pair{date, parsed->hour};
}

std::optional<calendar::BirthTime> lunarBirth(const std::string& text, calendar::LunarDate& lunar,
                                              std::string& error)
{
    auto parsed = parseLunarDateHour(text);
    if (!parsed) {
        error = "农历生日格式应为 \"YYYY-[闰]M-D HH\"：" + shownArg(text) + " (bad --lunar)";
        return std::nullopt;
    }
    lunar = parsed->first;
    if (std::string problem = calendar::checkLunarDate(lunar); !problem.empty()) {
        error = problem;
        return std::nullopt;
    }
    auto birth = calendar::solarDate(lunar, parsed->second);
    if (std::string problem = calendar::checkBirthTime(*birth); !problem.empty()) {
        error = problem;
        return std::nullopt;
    }
    return birth;
}

bool birthplace(const Args& args, const calendar::BirthTime& clock, calendar::BirthDetails& details,
                std::string& error)
{
    auto place = args.option("--place");
    auto longitudeText = args.option("--longitude");
    if (place && longitudeText) {
        error = "--place 与 --longitude 只能给一个 (give one of them)";
        return false;
    }
    double longitude = 0;
    if (place) {
        const core::Tables* t = tables(core::kCityTable);
        if (!t) {
            error.clear(); // tables() has said what is wrong
            return false;
        }
        const core::City* city = t->cities.find(*place);
        if (!city) {
            error = "未知的出生地：" + shownArg(*place) + " (unknown place; try a prefecture-level city)";
            return false;
        }
        details.place = city->name;
        longitude = city->longitude;
    } else if (longitudeText) {
        std::string text = core::trimBlanks(*longitudeText);
        char* end = nullptr;
        longitude = std::strtod(text.c_str(), &end);
        if (text.empty() || text.find_first_not_of("0123456789.+-") != std::string::npos ||
            end != text.c_str() + text.size() || !std::isfinite(longitude)) {
            error = "经度应为数字，例如 87.6 (bad --longitude)";
            return false;
        }
        if (std::string problem = calendar::checkLongitude(longitude); !problem.empty()) {
            error = problem;
            return false;
        }
    } else {
        return true;
    }
    details.solar = calendar::trueSolarTime(clock, longitude);
    return details.solar.has_value();
}

} // namespace hmf::cli
