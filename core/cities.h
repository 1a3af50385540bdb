#pragma once
// Birthplaces for true solar time: Chinese cities with the longitude and latitude of their area.
//
// cities.txt: one line per city, "<province>TAB<city>TAB<longitude>TAB<latitude>", degrees east
// and north with two decimals, lines separated by "\r\n"; city names are unique.

#include "core/loaderror.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

struct City
{
    std::string province;
    std::string name;
    double longitude = 0;
    double latitude = 0;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.province, self.name, self.longitude, self.latitude);
    }
};

class CityTable
{
  public:
    bool parse(std::string_view text, const std::string& fileName, LoadError& error);
    const std::vector<City>& cities() const { return m_cities; }
    // The city of a name as typed: the exact name, else the name without a final "市", else the
    // one city whose name begins with it ("延边" for 延边朝鲜族自治州); null when none or several.
    const City* find(std::string_view name) const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_cities); }

  private:
    std::vector<City> m_cities;
};

} // namespace hmf::core
