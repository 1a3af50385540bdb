#pragma once
// Birthplaces for true solar time: Chinese cities with the longitude and latitude of their area.
//
// cities.txt: one line per city, "<province>TAB<city>TAB<longitude>TAB<latitude>", degrees east
// and north with two decimals, lines separated by "\r\n"; city names are unique. Lines starting
// with '#' are comments; the data directory's copy counts its rows in one ("# 行数：N").

#include "core/result.h"

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

struct CityMatch
{
    enum class Kind {
        Found,     // `city` is the one meant
        Unknown,   // no city has that name or begins with it
        Province,  // the name of a province; `candidates` are its cities
        Ambiguous, // several cities begin with it; `candidates` are they
        NotUtf8,   // the name is no well-formed UTF-8 text
    };
    Kind kind = Kind::Unknown;
    const City* city = nullptr;
    std::vector<const City*> candidates;
};

class CityTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    const std::vector<City>& cities() const { return m_cities; }
    // What a typed name means: the city of that exact name (also without a final "市"), else the
    // one city whose name begins with it ("延边" for 延边朝鲜族自治州). A province's name (海南,
    // 海南省) is never read as a city that begins with it (海南藏族自治州 lies in 青海): it and a
    // beginning shared by several cities give their cities as candidates instead.
    CityMatch match(std::string_view name) const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_cities); }

  private:
    std::vector<City> m_cities;
};

} // namespace hmf::core
