#pragma once
// Reference tables and texts that are shown or looked up as they are.
//
// sexagenary.txt: 60 lines "<stem element>,<branch element>," for 甲子 ... 癸亥, separated by
// "\r\n". santalent.txt (three-talent configurations) and tips.txt (naming tips) are shown as
// they are.

#include "core/result.h"

#include <array>
#include <string>
#include <string_view>

namespace hmf::core {

class SexagenaryTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    // Row n (1..60), for example "木,水," for 1; empty outside 1..60.
    const std::string& row(int n) const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_rows); }

  private:
    std::array<std::string, 60> m_rows;
};

} // namespace hmf::core
