#include "core/cities.h"

#include "core/datafile.h"
#include "core/text.h"

#include <cstdlib>
#include <unordered_set>

namespace hmf::core {
namespace {

std::optional<double> parseDegrees(std::string_view text, double low, double high)
{
    // Plain decimals only ("87.79"): no sign, exponent or blank slips through strtod here.
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789.") != std::string_view::npos)
        return std::nullopt;
    std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

Status CityTable::parse(std::string_view text, const std::string& fileName)
{
    m_cities.clear();
    std::unordered_set<std::string> seen;
    TableRows rows(text, fileName, 5, SkipLines::BlankOrComment);
    while (rows.next()) {
        const bool four = rows.fieldCount() == 4;
        auto longitude = four ? parseDegrees(rows.field(2), 0, 180) : std::nullopt;
        auto latitude = four ? parseDegrees(rows.field(3), 0, 90) : std::nullopt;
        if (!longitude || !latitude || rows.field(0).empty() || rows.field(1).empty())
            return rows.fail("应为\"省份<TAB>城市<TAB>经度<TAB>纬度\" (expected "
                             "province, city, longitude, latitude)");
        if (!seen.insert(std::string(rows.field(1))).second)
            return rows.fail("城市重复 (city given twice)");
        m_cities.push_back(
            City{std::string(rows.field(0)), std::string(rows.field(1)), *longitude, *latitude});
    }
    if (rows.failed())
        return rows.error();
    if (m_cities.empty())
        return rows.fail("文件为空 (empty file)");
    return {};
}

CityMatch CityTable::match(std::string_view name) const
{
    using Kind = CityMatch::Kind;
    CityMatch out;
    // A valid name that is a byte prefix of a city's name ends on one of its character
    // boundaries, so checking first keeps a half character from matching (\xe9\xa6 of 香港).
    if (!isValidUtf8(name)) {
        out.kind = Kind::NotUtf8;
        return out;
    }
    const std::string wanted = trimBlanks(name);
    if (wanted.empty())
        return out;
    const auto exact = [&](std::string_view n) -> const City* {
        for (const City& city : m_cities)
            if (city.name == n)
                return &city;
        return nullptr;
    };
    const auto withoutSuffix = [&](std::string_view suffix) -> std::string_view {
        std::string_view n = wanted;
        if (n.size() > suffix.size() && n.ends_with(suffix))
            n.remove_suffix(suffix.size());
        return n;
    };
    out.city = exact(wanted);
    if (!out.city)
        out.city = exact(withoutSuffix("市"));
    if (out.city) {
        out.kind = Kind::Found;
        return out;
    }
    const std::string_view province = withoutSuffix("省");
    for (const City& city : m_cities)
        if (city.province == province)
            out.candidates.push_back(&city);
    if (!out.candidates.empty()) {
        out.kind = Kind::Province;
        return out;
    }
    for (const City& city : m_cities)
        if (city.name.starts_with(wanted))
            out.candidates.push_back(&city);
    if (out.candidates.size() == 1) {
        out.kind = Kind::Found;
        out.city = out.candidates.front();
        out.candidates.clear();
    } else if (!out.candidates.empty()) {
        out.kind = Kind::Ambiguous;
    }
    return out;
}

} // namespace hmf::core
