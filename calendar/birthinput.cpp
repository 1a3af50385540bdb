#include "calendar/birthinput.h"

#include "core/cities.h"
#include "core/text.h"

#include <cmath>
#include <cstdlib>

namespace hmf::calendar {
namespace {

BirthProblem refuse(BirthField field, std::string message)
{
    return BirthProblem{field, std::move(message)};
}

std::string_view withoutPrefix(std::string_view text, std::string_view prefix)
{
    if (text.starts_with(prefix))
        text.remove_prefix(prefix.size());
    return text;
}

std::string_view withoutSuffix(std::string_view text, std::string_view suffix)
{
    if (text.ends_with(suffix))
        text.remove_suffix(suffix.size());
    return text;
}

// A longitude as people write it: "87.6", "东经87.6", "87.6°", "87.6度". The number itself is a
// plain decimal with at most a sign, so strtod's hexadecimal, exponents and "inf" never get in.
std::optional<double> parseLongitude(std::string_view text)
{
    std::string_view t = withoutPrefix(core::trimBlanksView(text), "东经");
    t = withoutSuffix(withoutSuffix(t, "°"), "度");
    const std::string_view digits = t.starts_with('+') || t.starts_with('-') ? t.substr(1) : t;
    if (digits.empty() || digits.size() > 16 ||
        digits.find_first_not_of("0123456789.") != std::string_view::npos ||
        digits.find('.') != digits.rfind('.') || digits.find_first_of("0123456789") == digits.npos)
        return std::nullopt;
    const std::string copy(t);
    const double value = std::strtod(copy.c_str(), nullptr);
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

bool looksLikeLongitude(std::string_view text)
{
    const std::string_view t = withoutPrefix(core::trimBlanksView(text), "东经");
    return !t.empty() && std::string_view("0123456789+-.").find(t.front()) != t.npos;
}

// "海口、三亚" — at most `limit` names, then how many there are.
std::string cityList(const std::vector<const core::City*>& cities, std::size_t limit = 30)
{
    std::string out;
    for (std::size_t i = 0; i < cities.size() && i < limit; ++i)
        out += (i ? "、" : "") + cities[i]->name;
    if (cities.size() > limit)
        out += "等" + std::to_string(cities.size()) + "处";
    return out;
}

struct Place
{
    double longitude = 0;
    std::string name; // empty for a longitude typed in
};

core::Result<Place, BirthProblem> readLongitude(const std::string& text)
{
    if (const auto longitude = parseLongitude(text))
        return Place{*longitude, {}};
    return refuse(BirthField::Place, "经度应为数字，例如 87.6：" + core::quotedInput(text));
}

core::Result<Place, BirthProblem> readPlace(const std::string& place, const core::CityTable* cities)
{
    if (looksLikeLongitude(place))
        return readLongitude(place);
    const core::CityMatch m = cities ? cities->match(place) : core::CityMatch{};
    const std::string shown = core::quotedInput(core::trimBlanks(place));
    using Kind = core::CityMatch::Kind;
    switch (m.kind) {
    case Kind::Found:
        return Place{m.city->longitude, m.city->name};
    case Kind::NotUtf8:
        return refuse(BirthField::Place, "出生地不是有效的UTF-8文本：" + shown);
    case Kind::Province:
        return refuse(BirthField::Place,
                      "“" + shown + "”是省份，请填写其中的城市：" + cityList(m.candidates));
    case Kind::Ambiguous:
        return refuse(BirthField::Place,
                      "出生地“" + shown + "”不止一处，请写全：" + cityList(m.candidates));
    case Kind::Unknown:
        break;
    }
    return refuse(BirthField::Place, "未知的出生地：" + shown);
}

} // namespace

BirthResolution resolveBirth(const BirthInput& in, const core::CityTable* cities)
{
    if (!in.year || !in.month || !in.day)
        return refuse(BirthField::Date, in.lunar ? "请填写正确的农历日期" : "请填写正确的出生日期");
    ResolvedBirth out;
    if (in.lunar) {
        const LunarDate lunar{*in.year, *in.month, *in.day, in.leap};
        if (core::Status problem = checkLunarDate(lunar); !problem)
            return refuse(BirthField::Date, problem.error().message());
        out.time = *solarDate(lunar);
        out.details.lunar = lunar;
    } else {
        out.time = BirthTime{*in.year, *in.month, *in.day};
    }
    // The date first, at a time that always exists, then the hour and the minute on their own.
    if (core::Status problem = checkBirthTime(out.time); !problem)
        return refuse(BirthField::Date, problem.error().message());
    if (!in.hour)
        return refuse(BirthField::Hour, "请填写出生时辰（0到23时）");
    out.time.hour = *in.hour;
    if (core::Status problem = checkBirthTime(out.time); !problem)
        return refuse(BirthField::Hour, problem.error().message());
    out.time.minute = in.minute.value_or(0);
    if (core::Status problem = checkBirthTime(out.time); !problem)
        return refuse(BirthField::Minute, problem.error().message());

    const bool hasPlace = !core::trimBlanksView(in.place).empty();
    const bool hasLongitude = !core::trimBlanksView(in.longitude).empty();
    if (hasPlace && hasLongitude)
        return refuse(BirthField::Place, "出生地与经度只能给一个");
    if (!hasPlace && !hasLongitude)
        return out;
    auto place = hasLongitude ? readLongitude(in.longitude) : readPlace(in.place, cities);
    if (!place)
        return place.error();
    if (core::Status problem = checkLongitude(place->longitude); !problem)
        return refuse(BirthField::Place, problem.error().message());
    out.details.place = std::move(place->name);
    out.details.solar = trueSolarTime(out.time, place->longitude);
    return out;
}

std::string chartTimeLine(const BirthDetails& details)
{
    return details.solar ? solarTimeLine(*details.solar, details.place) : std::string();
}

std::optional<std::array<int, 4>> chartPillars(const BirthTime& clock, const BirthDetails& details)
{
    if (details.solar)
        return pillarNumbers(clock, details.solar->local);
    return pillarNumbers(clock);
}

} // namespace hmf::calendar
