#pragma once
// All tables of the program, read from the data directory: each group of tables once, when a
// command or page first needs it.

#include "core/cities.h"
#include "core/elements.h"
#include "core/luck.h"
#include "core/namebase.h"
#include "core/namedata.h"
#include "core/pinyin.h"
#include "core/reference.h"
#include "core/result.h"
#include "core/strokes.h"
#include "core/traditional.h"

#include <array>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace hmf::core {

// Groups of tables read together. A group that the checks of another rely on comes with it:
// readings and traditional forms are checked against the stroke tables.
enum TableParts : unsigned {
    kStrokeTables = 1u << 0,     // gridstrokes, strokegroups, generalstrokes
    kTraditionalTable = 1u << 1, // traditional (with the stroke tables)
    kElementTable = 1u << 2,     // elements
    kPinyinTables = 1u << 3,     // pinyin, pinyin-fallback (with the stroke tables)
    kSurnameTable = 1u << 4,     // surnames
    kLuckTable = 1u << 5,        // luck81
    kSexagenaryTable = 1u << 6,  // sexagenary
    kThreeTalentTable = 1u << 7, // santalent
    kTipsText = 1u << 8,         // tips
    kAssessmentTables = 1u << 9, // meanings, badwords, levels, polyphones, names, namepairs
    kCityTable = 1u << 10,       // cities
    kAllTables = (1u << 11) - 1,
    // What the stroke counts and the readings shown for a name draw on.
    kNameTables = kStrokeTables | kTraditionalTable | kPinyinTables | kSurnameTable,
};

// The files of one group, in the order they are read (at most six; unused slots are null).
inline constexpr std::size_t kMaxGroupFiles = 6;
struct TableGroup
{
    unsigned part;
    std::string_view key; // its name among the prebuilt tables (core/prebuilt.h)
    std::array<const char*, kMaxGroupFiles> files;
};
std::span<const TableGroup> tableGroups();

struct Tables
{
    StrokeDictionary strokes;
    TraditionalTable traditional;
    ElementTable elements;
    PinyinTable pinyin;
    LuckTable luck;
    SexagenaryTable sexagenary;
    std::string threeTalentText;
    ThreeTalentTable threeTalents; // the verdicts of threeTalentText
    std::string tipsText;
    // What a name sounds like and what its characters mean (the assessment of a name).
    MeaningTable meanings;
    BadWordList badWords;
    LevelTable levels;
    PolyphoneTable polyphones;
    NameBase nameBase; // given names with their 寓意
    // Birthplaces for true solar time.
    CityTable cities;

    int gridStrokeCount(std::string_view c) const { return strokes.gridStrokeCount(c); }
    // The grid counts of the characters of a text joined by "-" (8-12): the counts the report
    // prints, the same that its grids add up (-1 for a character the table lacks).
    std::string gridStrokeString(std::string_view text) const;
    // "（另有18画之说）" beside a character that name books also count another documented way
    // (松 as 鬆, 四 by its written strokes, 艹 as 艸); empty where they agree with ours.
    std::string strokeNote(std::string_view c) const;
    // gridStrokeString with the note of each character beside its count: 8（另有18画之说）.
    std::string notedStrokeString(std::string_view text) const;
    // "（命理取土）" beside a heavenly stem or earthly branch whose element here is the one the
    // birth chart gives it while name books class the character by sound or sense (丑 土, where
    // they give 火); empty for every other character.
    std::string elementNote(std::string_view c) const;
    // A surname's reading as name books give it (曾 zēng, 尉迟 yùchí): the surname table first,
    // then the readings of its characters run together.
    std::string surnamePinyin(std::string_view surname) const
    {
        if (auto reading = pinyin.surnameReading(surname))
            return *reading;
        return pinyin.pinyinOf(traditional.toTraditional(surname));
    }

    // The readings of the characters of a text as a name says them: a word that polyphones.txt
    // lists reads as listed (重阳 chóng yáng, 相如 xiàng rú), every other character takes its
    // first reading (empty where none is known). Without the assessment tables, first readings.
    std::vector<std::string> readingsInContext(std::string_view text) const;
    // One syllable per character of a name: the surname read as a surname (尉迟 yù chí, 朝 cháo),
    // the given name by readingsInContext.
    std::vector<std::string> nameReadings(std::string_view surname, std::string_view given) const;

    // Reads the groups of `parts` not read yet from the data directory the tables came from and
    // checks them; on the first fault says which file and what (a group that failed is read
    // again on the next call).
    Status load(unsigned parts);
    bool has(unsigned parts) const { return (m_loaded & parts) == parts; }
    // The groups brought back from their prebuilt form (core/prebuilt.h) rather than parsed.
    unsigned prebuiltParts() const { return m_prebuilt; }

    // The parsed tables of one group (a TableParts bit) in the form that core/archive.h writes,
    // and that form brought back into this object; restore returns false, and leaves the group
    // empty, when the form is not whole.
    // A form that outlives the tables (one compiled in) may `lend` them its bytes.
    std::string archived(unsigned part) const;
    bool restore(unsigned part, std::string_view form, bool lend = false);

  private:
    // Reads one group's files; when they are the shipped ones, brings the group back from its
    // compiled-in form, else decodes and parses them.
    Status loadGroup(const TableGroup& group);

    friend Result<std::unique_ptr<Tables>> loadTables(const std::filesystem::path&, unsigned);
    std::filesystem::path m_dataDir;
    unsigned m_loaded = 0;
    unsigned m_prebuilt = 0;
};

// Loads the groups of `parts` (every table unless told); on the first fault says which file and
// what.
Result<std::unique_ptr<Tables>> loadTables(const std::filesystem::path& dataDir,
                                           unsigned parts = kAllTables);

// The first character of `text` that has no grid stroke count (the name cannot be scored),
// or empty when every character has one.
std::string firstUnknownCharacter(const Tables& tables, std::string_view text);

} // namespace hmf::core
