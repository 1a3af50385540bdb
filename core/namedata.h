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
// The three-talent verdicts come from the three-talent text (santalent.txt), each block's
// description ending with "（吉）", "（半吉）", "（半凶）" or "（凶）".

#include "core/codepointmap.h"
#include "core/loaderror.h"
#include "core/syllable.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hmf::core {

enum class SexLeaning : std::uint8_t { Male, Female, Neutral };

struct CharMeaning
{
    SexLeaning sex = SexLeaning::Neutral;
    int polarity = 0; // +1 a good meaning, 0 neutral, -1 a meaning a parent avoids
    std::string meaning;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.sex, self.polarity, self.meaning);
    }
};

class MeaningTable
{
  public:
    bool parse(std::string_view text, const std::string& fileName, LoadError& error);
    const CharMeaning* find(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<CharMeaning> m_map;
};

struct BadWord
{
    std::string word;
    std::vector<Syllable> syllables; // one per character of `word`
    std::string reason;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.word, self.syllables, self.reason);
    }
};

class BadWordList
{
  public:
    static constexpr std::size_t kMinLength = 2;
    static constexpr std::size_t kMaxLength = 4;

    bool parse(std::string_view text, const std::string& fileName, LoadError& error);

    // Calls f(const BadWord&) for every word whose syllables without tones are `codes`
    // (Syllable::code, kMinLength to kMaxLength of them).
    template <class F> void forEachToneless(const std::uint32_t* codes, std::size_t n, F&& f) const
    {
        const std::uint64_t k = key(codes, n);
        // Nearly every run of syllables of a name is no word: one bit turns it away.
        if (!m_seen.test(seenBit(k)))
            return;
        auto it = m_index.find(k);
        if (it == m_index.end())
            return;
        for (std::uint32_t i : it->second) {
            const BadWord& w = m_words[i];
            bool same = w.syllables.size() == n;
            for (std::size_t k = 0; same && k < n; ++k)
                same = w.syllables[k].code == codes[k];
            if (same)
                f(w);
        }
    }

    const std::vector<BadWord>& words() const { return m_words; }
    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.m_words, self.m_index);
        if constexpr (Ar::kReading) {
            self.m_seen.reset();
            for (const auto& entry : self.m_index)
                self.m_seen.set(seenBit(entry.first));
        }
    }
    std::size_t size() const { return m_words.size(); }

  private:
    static std::size_t seenBit(std::uint64_t key) { return (key * 0xD6E8FEB86659FD93ULL) >> 48; }
    std::bitset<std::size_t{1} << 16> m_seen; // seenBit of every key of m_index
    static std::uint64_t key(const std::uint32_t* codes, std::size_t n);

    std::vector<BadWord> m_words;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_index;
};

class LevelTable
{
  public:
    bool parse(std::string_view text, const std::string& fileName, LoadError& error);
    // 1, 2 or 3; 0 for a character outside the table.
    int level(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<std::uint8_t> m_map;
};

struct Polyphone
{
    std::string readings; // as written in the file ("cháo/zhāo")
    std::string note;

    template <class Ar, class Self> static void archive(Ar& ar, Self& self)
    {
        ar(self.readings, self.note);
    }
};

class PolyphoneTable
{
  public:
    bool parse(std::string_view text, const std::string& fileName, LoadError& error);
    const Polyphone* find(char32_t cp) const;
    std::size_t size() const { return m_map.size(); }

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_map); }

  private:
    CodepointMap<Polyphone> m_map;
};

// Verdicts of the 125 three-talent configurations, as the three-talent text gives them.
enum class TalentVerdict : std::uint8_t { None, Good, FairGood, FairBad, Bad };

class ThreeTalentTable
{
  public:
    bool parse(std::string_view text, const std::string& fileName, LoadError& error);
    // Element index (0 木, 1 火, 2 土, 3 金, 4 水) of a grid number by its last digit.
    static int elementOfNumber(int n);
    // The verdict of the configuration of three grid numbers (天格, 人格, 地格).
    TalentVerdict verdict(int tian, int ren, int di) const;
    // "吉", "半吉", "半凶" or "凶"; empty for None.
    static std::string_view verdictText(TalentVerdict verdict);

    template <class Ar, class Self> static void archive(Ar& ar, Self& self) { ar(self.m_verdicts); }

  private:
    std::array<TalentVerdict, 125> m_verdicts{};
};

} // namespace hmf::core
