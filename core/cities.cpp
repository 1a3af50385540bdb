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

bool CityTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_cities.clear();
    std::unordered_set<std::string> seen;
    TableRows rows(text, fileName, error, 5, SkipLines::None);
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
        return false;
    if (m_cities.empty())
        return rows.fail("文件为空 (empty file)");
    return true;
}

const City* CityTable::find(std::string_view name) const
{
    std::string wanted = trimBlanks(name);
    if (wanted.empty())
        return nullptr;
    for (const City& city : m_cities)
        if (city.name == wanted)
            return &city;
    constexpr std::string_view kCitySuffix = "市";
    if (wanted.size() > kCitySuffix.size() && wanted.ends_with(kCitySuffix)) {
        wanted.resize(wanted.size() - kCitySuffix.size());
        for (const City& city : m_cities)
            if (city.name == wanted)
                return &city;
    }
    const City* only = nullptr;
    for (const City& city : m_cities)
        if (city.name.starts_with(wanted)) {
            if (only)
                return nullptr;
            only = &city;
        }
    return only;
}

} // namespace hmf::core
