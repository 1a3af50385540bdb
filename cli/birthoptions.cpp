#include "cli/birthoptions.h"

#include "core/text.h"

namespace hmf::cli {
namespace {

// The date form each way of giving a birth shows in its help, for the messages.
constexpr const char* kBirthForm = "\"YYYY-MM-DD HH\"";
constexpr const char* kLunarForm = "\"YYYY-[闰]M-D HH\"";
constexpr const char* kChartForm = "hmf chart <YYYY-MM-DD> <时>";

} // namespace

std::optional<calendar::BirthInput> parseBirthText(const std::string& text, bool lunar)
{
    std::string t = core::trimBlanks(text);
    calendar::BirthInput input;
    input.lunar = lunar;
    // The leap mark stands before the month number: "2023-闰2-01".
    constexpr std::string_view kLeap = "闰";
    auto dash1 = t.find('-');
    if (lunar && dash1 != std::string::npos && t.compare(dash1 + 1, kLeap.size(), kLeap) == 0) {
        input.leap = true;
        t.erase(dash1 + 1, kLeap.size());
    }
    auto parsed = parseDateHour(t);
    if (!parsed)
        return std::nullopt;
    input.year = parsed->year;
    input.month = parsed->month;
    input.day = parsed->day;
    if (parsed->hourGiven)
        input.hour = parsed->hour;
    input.minute = parsed->minute;
    return input;
}

std::optional<calendar::ResolvedBirth> birthOptions(const Args& args, int& exitCode,
                                                    bool datePositionals)
{
    const auto refuse = [&](const std::string& message) {
        exitCode = fail(message);
        return std::nullopt;
    };
    const auto birthText = args.option("--birth");
    const auto lunarText = args.option("--lunar");
    const bool positional = datePositionals && !args.positional.empty();
    if (int(bool(birthText)) + int(bool(lunarText)) + int(positional) > 1)
        return refuse("公历日期与 --lunar 只能给一个 (give the date once)");

    std::string text;
    const char* form = kBirthForm;
    if (lunarText) {
        text = *lunarText;
        form = kLunarForm;
    } else if (birthText) {
        text = *birthText;
    } else if (datePositionals) {
        if (args.positional.empty() || args.positional.size() > 2)
            return refuse(std::string("用法: ") + kChartForm + "  (date and hour 0-23)");
        text = args.positional[0];
        if (args.positional.size() == 2)
            text += " " + args.positional[1];
        form = kChartForm;
    } else {
        return refuse("请用 --birth \"YYYY-MM-DD HH\" 给出出生时间 (--birth is required)");
    }

    auto input = parseBirthText(text, bool(lunarText));
    if (!input) {
        const char* what = lunarText            ? "农历生日格式应为 "
                           : form == kChartForm ? "请填写正确的出生日期，格式为 "
                                                : "出生时间格式应为 ";
        return refuse(what + std::string(form) + "：" + shownArg(text) + " (bad date and hour)");
    }
    // The hour decides the hour pillar and with it the missing elements: never assume 0 时.
    if (!input->hour)
        return refuse("出生时间缺少时辰，应为 " + std::string(form) + "：" + shownArg(text) +
                      " (the hour 0-23 is required)");
    const auto place = args.option("--place");
    const auto longitude = args.option("--longitude");
    if (place && longitude)
        return refuse("--place 与 --longitude 只能给一个 (give one of them)");
    // An empty option is a mistake, not "no birthplace".
    if ((place && core::trimBlanks(*place).empty()) ||
        (longitude && core::trimBlanks(*longitude).empty()))
        return refuse("出生地不能为空 (empty --place or --longitude)");
    input->place = place.value_or("");
    input->longitude = longitude.value_or("");

    const core::CityTable* cities = nullptr;
    if (place) {
        const core::Tables* t = tables(core::kCityTable);
        if (!t) {
            exitCode = kExitData; // tables() has said what is wrong
            return std::nullopt;
        }
        cities = &t->cities;
    }
    auto resolved = calendar::resolveBirth(*input, cities);
    if (!resolved) {
        std::string message = resolved.error().message;
        // The calendar's range and date messages name no input; quote the one typed.
        if (resolved.error().field != calendar::BirthField::Place)
            message += "：" + shownArg(text);
        return refuse(message);
    }
    return std::move(*resolved);
}

} // namespace hmf::cli
