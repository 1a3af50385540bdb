#pragma once
// The 81-number table: verdict and texts of every grid number from 1 to 81.
//
// Data file luck81.txt: 81 records separated by "*******", each of six fields separated by
// "---": "第k数理", the verdict ("吉", "半吉" or "凶"), 基业, 家庭, 健康, 含义. Fields are kept
// exactly as written (a field may hold a line break).

#include "core/result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

struct LuckEntry
{
    std::string title;   // 数理
    std::string verdict; // 吉凶
    std::string career;  // 基业
    std::string family;  // 家庭
    std::string health;  // 健康
    std::string meaning; // 含义

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.title, self.verdict, self.career, self.family, self.health, self.meaning);
    }

    std::array<std::string_view, 6> fields() const
    {
        return {title, verdict, career, family, health, meaning};
    }
};

// A verdict as a value, for code that weighs thousands of names.
enum class LuckVerdict : std::uint8_t { None, Good, Fair, Bad }; // 吉, 半吉, 凶

// "吉" Good, "半吉" Fair, "凶" Bad, anything else None.
LuckVerdict luckVerdict(std::string_view text);

class LuckTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);

    // Entry n (1..81). A number above 81 takes the entry of the number less 80, as the name
    // books count on (95 -> 15, 162 -> 2); six empty fields for 0 and below.
    const LuckEntry& entry(int n) const;
    // "吉", "半吉", "凶", or empty for 0 and below.
    std::string_view verdict(int n) const { return entry(n).verdict; }
    // The same as a value.
    LuckVerdict verdictOf(int n) const
    {
        return m_verdicts[static_cast<std::size_t>(entryNumber(n))];
    }
    const std::vector<LuckEntry>& entries() const { return m_entries; }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_entries);
        if constexpr (Ar::kReading)
            self.indexVerdicts();
    }

  private:
    // The entry a number takes (1..81), or 0 for none.
    int entryNumber(int n) const
    {
        if (n > 81)
            n = (n - 82) % 80 + 2;
        return n < 1 || n > static_cast<int>(m_entries.size()) ? 0 : n;
    }
    void indexVerdicts();

    std::vector<LuckEntry> m_entries;
    std::array<LuckVerdict, 82> m_verdicts{}; // by entry number; [0] is None
};

} // namespace hmf::core
