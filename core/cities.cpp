#include "core/cities.h"

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
    int line = 0;
    while (!text.empty()) {
        std::string_view row = takeLine(text);
        ++line;
        if (row.empty() && text.empty())
            break;
        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            std::size_t tab = row.find('\t', from);
            fields.push_back(row.substr(from, tab == std::string_view::npos ? tab : tab - from));
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        auto longitude = fields.size() == 4 ? parseDegrees(fields[2], 0, 180) : std::nullopt;
        auto latitude = fields.size() == 4 ? parseDegrees(fields[3], 0, 90) : std::nullopt;
        if (!longitude || !latitude || fields[0].empty() || fields[1].empty()) {
            error = LoadError{fileName, line,
                              "应为\"省份<TAB>城市<TAB>经度<TAB>纬度\" (expected "
                              "province, city, longitude, latitude)"};
            return false;
        }
        if (!seen.insert(std::string(fields[1])).second) {
            error = LoadError{fileName, line, "城市重复 (city given twice)"};
            return false;
        }
        m_cities.push_back(
            City{std::string(fields[0]), std::string(fields[1]), *longitude, *latitude});
    }
    if (m_cities.empty()) {
        error = LoadError{fileName, 0, "文件为空 (empty file)"};
        return false;
    }
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
