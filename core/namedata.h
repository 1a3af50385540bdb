#pragma once
// Tables that judge a name beyond its numbers: what each character means, words a name must not
// sound like, the level of each character in the general standard character table, characters
// whose reading in a name is uncertain, and the verdicts of the three-talent configurations.
//
// Data files (GBK on disk, UTF-8 here), one record a line, fields separated by TAB, blank lines
// and lines starting with '#' ignored:
// - meanings.txt:   字 TAB 男|女|中 TAB +|0|- TAB short meaning
// - badwords.txt:   词 TAB pinyin, one syllable per character, tone digits (chu1 mu4) TAB why
// - levels.txt:     字 TAB 1|2|3     (a character not listed is outside the table)
// - polyphones.txt: 字 TAB its readings in names TAB why a reader may hesitate
// Loaded from the data directory, each must also say how many rows it holds ("# 行数：N").
// The three-talent verdicts come from the three-talent text (santalent.txt), each block's
// description ending with "（吉）", "（半吉）", "（半凶）" or "（凶）".

#include "core/codepointmap.h"
#include "core/result.h"
#include "core/syllable.h"
#include "core/textpool.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

enum class SexLeaning : std::uint8_t { Male, Female, Neutral };

// What the meaning table says of one character; the text is a view into the table.
struct CharMeaning
{
    SexLeaning sex = SexLeaning::Neutral;
    int polarity = 0; // +1 a good meaning, 0 neutral, -1 a meaning a parent avoids
    std::string_view meaning;
};

class MeaningTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    std::optional<CharMeaning> find(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_map, self.m_text);
    }

  private:
    // Laid out without padding: the prebuilt form holds its bytes as they are.
    struct Entry
    {
        TextPiece meaning;
        SexLeaning sex = SexLeaning::Neutral;
        std::int8_t polarity = 0;
        std::array<std::uint8_t, 2> unused{};
    };
    static_assert(sizeof(Entry) == 12);
    CodepointMap<Entry> m_map;
    TextPool m_text;
};

// A word of the bad-word list; the texts are views into the list.
struct BadWord
{
    std::string_view word;
    std::string_view reason;
    std::size_t length = 0;               // syllables, one per character of `word`
    std::array<std::uint32_t, 4> codes{}; // Syllable::code of each
    std::array<std::uint8_t, 4> tones{};  // Syllable::tone of each
};

class BadWordList
{
  public:
    static constexpr std::size_t kMinLength = 2;
    static constexpr std::size_t kMaxLength = 4;

    Status parse(std::string_view text, const std::string& fileName);

    // Calls f(const BadWord&) for every word whose syllables without tones are `codes`
    // (Syllable::code, kMinLength to kMaxLength of them), in the order of the file.
    template <class F> void forEachToneless(const std::uint32_t* codes, std::size_t n, F&& f) const
    {
        const std::uint64_t k = key(codes, n);
        // Nearly every run of syllables of a name is no word: one bit turns it away.
        if (!m_seen.test(seenBit(k)))
            return;
        const Entry* it =
            std::lower_bound(m_entries.begin(), m_entries.end(), k,
                             [](const Entry& e, std::uint64_t v) { return e.key < v; });
        for (; it != m_entries.end() && it->key == k; ++it) {
            bool same = it->length == n;
            for (std::size_t i = 0; same && i < n; ++i)
                same = it->codes[i] == codes[i];
            if (same)
                f(word(*it));
        }
    }

    std::size_t size() const { return m_entries.size(); }
    // The words by the key of their syllables, those of one key in the order of the file.
    BadWord word(std::size_t i) const { return word(m_entries[i]); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_entries, self.m_text);
        if constexpr (Ar::kReading)
            self.markSeen();
    }

  private:
    // Laid out without padding: the prebuilt form holds its bytes as they are.
    struct Entry
    {
        std::uint64_t key = 0; // of the codes
        TextPiece word;
        TextPiece reason;
        std::array<std::uint32_t, kMaxLength> codes{};
        std::array<std::uint8_t, kMaxLength> tones{};
        std::uint8_t length = 0;
        std::array<std::uint8_t, 3> unused{};
    };
    static_assert(sizeof(Entry) == 48);
    static std::size_t seenBit(std::uint64_t key) { return (key * 0xD6E8FEB86659FD93ULL) >> 48; }
    static std::uint64_t key(const std::uint32_t* codes, std::size_t n);
    BadWord word(const Entry& e) const;
    void markSeen();

    Block<Entry> m_entries; // sorted by key
    TextPool m_text;
    std::bitset<std::size_t{1} << 16> m_seen; // seenBit of every key
};

class LevelTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    // 1, 2 or 3; 0 for a character outside the table.
    int level(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<std::uint8_t> m_map;
};

// A character whose reading in a name is uncertain; the texts are views into the table.
struct Polyphone
{
    std::string_view readings; // as written in the file ("cháo/zhāo")
    std::string_view note;
};

// The file also lists words in which a polyphone has one reading ("重阳<TAB>chóng yáng<TAB>why"):
// a key of two to four characters and one syllable per character, separated by blanks.
class PolyphoneTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    std::optional<Polyphone> find(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }
    std::size_t wordCount() const { return m_words.size(); }

    // For each character of `characters`, the syllable that the longest listed word covering it
    // gives (重阳 -> chóng yáng); empty where no word covers it. Words are matched left to right.
    std::vector<std::string> wordReadings(const std::vector<std::string>& characters) const;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_map, self.m_text, self.m_words);
    }

  private:
    struct Entry
    {
        TextPiece readings;
        TextPiece note;
    };
    CodepointMap<Entry> m_map;
    TextPool m_text;
    // Each listed word with its syllables (separated by blanks), in file order.
    std::vector<std::pair<std::string, std::string>> m_words;
};

// Verdicts of the 125 three-talent configurations, as the three-talent text gives them.
enum class TalentVerdict : std::uint8_t { None, Good, FairGood, FairBad, Bad };

class ThreeTalentTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    // Element index (0 木, 1 火, 2 土, 3 金, 4 水) of a grid number by its last digit.
    static int elementOfNumber(int n)
    {
        const int digit = ((n % 10) + 10) % 10;
        // 1 2 木, 3 4 火, 5 6 土, 7 8 金, 9 0 水
        return digit == 0 ? 4 : (digit - 1) / 2;
    }
    // The verdict of the configuration of three grid numbers (天格, 人格, 地格).
    TalentVerdict verdict(int tian, int ren, int di) const
    {
        const int index =
            (elementOfNumber(tian) * 5 + elementOfNumber(ren)) * 5 + elementOfNumber(di);
        return m_verdicts[static_cast<std::size_t>(index)];
    }
    // "吉", "半吉", "半凶" or "凶"; empty for None.
    static std::string_view verdictText(TalentVerdict verdict);

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_verdicts); }

  private:
    std::array<TalentVerdict, 125> m_verdicts{};
};

} // namespace hmf::core
