#pragma once
// Pinyin readings with tone marks.
//
// Data files pinyin.txt (the main table) and pinyin-fallback.txt (second source for characters
// the main table lacks): items separated by ","; an item that begins with a Han character starts
// that character's entry and the rest of the item is its reading; items without a leading
// character are further readings of the previous one. The first entry of a character wins.
//
// Data file surnames.txt: the readings of surnames, which often differ from a character's
// ordinary reading (曾 zēng, 单 shàn, 尉迟 yù chí). Lines "<surname>TAB<syllables>", one
// syllable per character, separated by blanks; lines starting with '#' are comments (the data
// directory's copy counts its rows in one, "# 行数：N").

#include "core/block.h"
#include "core/codepointmap.h"
#include "core/result.h"
#include "core/textpool.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::core {

class PinyinTable
{
  public:
    Status parse(std::string_view text, const std::string& fileName);
    Status parseFallback(std::string_view text, const std::string& fileName);
    Status parseSurnames(std::string_view text, const std::string& fileName);

    // Reading of one character: main table, then fallback; empty when neither knows it.
    std::string readingOf(char32_t cp) const;
    // Readings of the characters of a text in order, run together, or each followed by one
    // blank when `blankAfterEach`.
    std::string pinyinOf(std::string_view text, bool blankAfterEach = false) const;

    // Reading of a whole surname with its syllables run together (尉迟 yùchí), from the surname
    // table; nullopt for a surname the table lacks.
    std::optional<std::string> surnameReading(std::string_view surname) const;
    // The same reading one syllable per character (尉迟 -> yù, chí).
    std::optional<std::vector<std::string>> surnameSyllables(std::string_view surname) const;

    bool hasMainReading(char32_t cp) const { return m_main.readings.count(cp) != 0; }
    std::size_t size() const { return m_main.readings.size(); }
    std::size_t fallbackSize() const { return m_fallback.readings.size(); }

    // The two reading tables, and the surname table, each as read together (see core/archive.h).
    template <class Ar, class Self> static void archiveReadings(Ar& ar, Self& self)
    {
        ar(self.m_main.readings, self.m_main.text, self.m_fallback.readings, self.m_fallback.text);
    }
    template <class Ar, class Self> static void archiveSurnames(Ar& ar, Self& self)
    {
        ar(self.m_surnames, self.m_surnameText);
    }

    // One reading table: where each character's reading lies in the text of all readings, so
    // that a prebuilt table lends both (core/textpool.h).
    struct Readings
    {
        CodepointMap<TextPiece> readings;
        TextPool text;

        std::string_view of(char32_t cp) const;
    };

  private:
    Readings m_main;
    Readings m_fallback;
    // Each surname with its syllables (separated by blanks), in the order of the surnames' bytes;
    // a surname listed twice keeps its first reading.
    struct Surname
    {
        TextPiece surname;
        TextPiece syllables;
    };
    Block<Surname> m_surnames;
    TextPool m_surnameText;
};

} // namespace hmf::core
