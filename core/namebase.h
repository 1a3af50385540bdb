#pragma once
// The name base: given names that parents give or would gladly give today, each with the sex it
// leans to, a short 寓意 and, where it has one, its source.
//
// Data file names.txt (GBK on disk, UTF-8 here), one name a line, fields separated by TAB:
//     名 TAB 男|女|中 TAB 寓意 TAB 出处 (may be empty)
// Lines starting with '#' are comments, but one of them, "# 名字数：N", gives the number of
// names, so that a file cut short is refused rather than read in part.
// Data file namepairs.txt: two-character given names known to hold together without being in
// the base (real names, characters side by side in classic verse), one a line, after a count
// line "# 搭配数：N".

#include "core/block.h"
#include "core/codepointmap.h"
#include "core/namedata.h"
#include "core/result.h"
#include "core/textpool.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::core {

// One name of the base; the texts are views into the base.
struct BaseName
{
    std::string_view name; // the given name, one to three characters
    SexLeaning sex = SexLeaning::Neutral;
    std::string_view meaning;
    std::string_view source; // empty when it has none
    int length = 0;          // characters
};

class NameBase
{
  public:
    Status parse(std::string_view text, const std::string& fileName);

    Status parsePairs(std::string_view text, const std::string& fileName);

    std::optional<BaseName> find(std::string_view givenName) const;
    // Whether a + b is a known pair of namepairs.txt.
    bool joined(char32_t a, char32_t b) const
    {
        const std::uint64_t key = std::uint64_t{a} << 32 | b;
        return std::binary_search(m_pairs.begin(), m_pairs.end(), key);
    }

    // Where the base's names use a character (bits of these), 0 for a character it never uses.
    static constexpr std::uint8_t kAlone = 1, kFirstOfTwo = 2, kSecondOfTwo = 4, kInThree = 8;
    std::uint8_t positions(char32_t cp) const
    {
        const auto it = m_positions.find(cp);
        return it == m_positions.end() ? 0 : it->second;
    }
    std::size_t size() const { return m_entries.size(); }
    // The names in the order of the file (by length, then by the name's GBK bytes).
    BaseName at(std::size_t i) const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_entries, self.m_sorted, self.m_positions, self.m_text, self.m_pairs);
    }

  private:
    // Laid out without padding: the prebuilt form holds its bytes as they are.
    struct Entry
    {
        TextPiece name;
        TextPiece meaning;
        TextPiece source;
        SexLeaning sex = SexLeaning::Neutral;
        std::uint8_t length = 0;
        std::array<std::uint8_t, 2> unused{};
    };
    static_assert(sizeof(Entry) == 28);

    Block<Entry> m_entries;
    Block<std::uint32_t> m_sorted; // indexes of m_entries by the name's UTF-8 bytes
    CodepointMap<std::uint8_t> m_positions;
    TextPool m_text;
    Block<std::uint64_t> m_pairs; // the two code points of each known pair, sorted
};

} // namespace hmf::core
