#include "core/tables.h"

#include "core/archive.h"
#include "core/datafile.h"
#include "core/prebuilt.h"
#include "core/text.h"

namespace hmf::core {

namespace {

// Texts shown as they are; an empty one would leave its page blank without a word.
Status keepText(std::string text, const std::string& fileName, std::string& into)
{
    if (trimBlanks(text).empty())
        return Error{ErrorCode::BadData, "文件为空 (empty file)", fileName, 0};
    into = std::move(text);
    return {};
}

// Our own tables, which carry a "# 行数：N" line: a file of them cut short at a line end would
// otherwise load and pass for whole. (names.txt and namepairs.txt count their own names.)
bool hasRowCount(std::string_view file)
{
    for (std::string_view counted : {"meanings.txt", "badwords.txt", "levels.txt", "polyphones.txt",
                                     "surnames.txt", "traditional.txt", "cities.txt"})
        if (file == counted)
            return true;
    return false;
}

// The tables cover what the program relies on: a table replaced by another or cut short would
// otherwise load and print empty or half-converted lines. Checks the groups of `parts`.
Status checkCoverage(const Tables& tables, unsigned parts)
{
    const bool grid = parts & kStrokeTables;
    const bool reading = parts & kPinyinTables;
    const bool traditional = parts & kTraditionalTable;
    if (!grid && !reading && !traditional)
        return {};
    const auto common = tables.strokes.groupCharacters();
    std::size_t noReading = 0, noGridCount = 0, noTraditional = 0;
    char32_t firstNoReading = 0, firstNoGridCount = 0, firstNoTraditional = 0;
    for (char32_t c : common) {
        if (reading && tables.pinyin.readingOf(c).empty() && !noReading++)
            firstNoReading = c;
        const int gridCount = tables.strokes.gridCount(c);
        if (gridCount < 0 && !noGridCount++)
            firstNoGridCount = c;
        // A grid count is that of the character's traditional form: one that differs from the
        // character's own general count shows a traditional form the table should hold.
        if (traditional && gridCount >= 0 && tables.traditional.toTraditional(c) == c &&
            gridCount != tables.strokes.generalCount(c) && !noTraditional++)
            firstNoTraditional = c;
    }
    const auto shortOf = [&](const char* file, std::size_t count, char32_t example,
                             const std::string& what) {
        return Error{ErrorCode::BadData,
                     "表不全：" + std::to_string(count) + "个常用字" + what + "，如“" +
                         quotedInput(toUtf8(example)) + "” (table incomplete)",
                     file, 0};
    };
    if (grid && noGridCount)
        return shortOf("gridstrokes.txt", noGridCount, firstNoGridCount, "没有五格笔画");
    if (noReading)
        return shortOf("pinyin.txt", noReading, firstNoReading, "没有读音");
    // The shipped tables leave eight (the numerals counted by their value, and 哎); a table cut
    // short leaves hundreds.
    constexpr std::size_t kNoTraditionalAllowed = 50;
    if (noTraditional > kNoTraditionalAllowed)
        return shortOf("traditional.txt", noTraditional, firstNoTraditional,
                       "的五格笔画按繁体计算却没有繁体形式");
    return {};
}

} // namespace

// The files of each group in the order they are read, and the group's key among the prebuilt
// tables.
constexpr TableGroup kGroups[] = {
    {kStrokeTables, "strokes", {"gridstrokes.txt", "strokegroups.txt", "generalstrokes.txt"}},
    {kTraditionalTable, "traditional", {"traditional.txt"}},
    {kElementTable, "elements", {"elements.txt"}},
    {kPinyinTables, "pinyin", {"pinyin.txt", "pinyin-fallback.txt"}},
    {kSurnameTable, "surnames", {"surnames.txt"}},
    {kLuckTable, "luck81", {"luck81.txt"}},
    {kSexagenaryTable, "sexagenary", {"sexagenary.txt"}},
    {kThreeTalentTable, "santalent", {"santalent.txt"}},
    {kTipsText, "tips", {"tips.txt"}},
    {kAssessmentTables,
     "assessment",
     {"meanings.txt", "badwords.txt", "levels.txt", "polyphones.txt", "names.txt",
      "namepairs.txt"}},
    {kCityTable, "cities", {"cities.txt"}},
};

namespace {

Status parseFile(Tables& t, unsigned part, std::size_t file, std::string_view text,
                 const std::string& name)
{
    switch (part) {
    case kStrokeTables:
        return file == 0   ? t.strokes.parseGridTable(text, name)
               : file == 1 ? t.strokes.parseGroupTable(text, name)
                           : t.strokes.parseGeneralTable(text, name);
    case kTraditionalTable:
        return t.traditional.parse(text, name);
    case kElementTable:
        return t.elements.parse(text, name);
    case kPinyinTables:
        return file == 0 ? t.pinyin.parse(text, name) : t.pinyin.parseFallback(text, name);
    case kSurnameTable:
        return t.pinyin.parseSurnames(text, name);
    case kLuckTable:
        return t.luck.parse(text, name);
    case kSexagenaryTable:
        return t.sexagenary.parse(text, name);
    case kThreeTalentTable:
        if (Status kept = keepText(std::string(text), name, t.threeTalentText); !kept)
            return kept;
        return t.threeTalents.parse(text, name);
    case kTipsText:
        return keepText(std::string(text), name, t.tipsText);
    case kAssessmentTables:
        switch (file) {
        case 0:
            return t.meanings.parse(text, name);
        case 1:
            return t.badWords.parse(text, name);
        case 2:
            return t.levels.parse(text, name);
        case 3:
            return t.polyphones.parse(text, name);
        case 4:
            return t.nameBase.parse(text, name);
        default:
            return t.nameBase.parsePairs(text, name);
        }
    case kCityTable:
        return t.cities.parse(text, name);
    default:
        return Error{ErrorCode::BadData, "未知的表 (unknown table)", name, 0};
    }
}

// What a group fills, in both directions (T is const Tables when writing).
template <class Ar, class T> void archiveGroup(Ar& ar, T& t, unsigned part)
{
    switch (part) {
    case kStrokeTables:
        return ar(t.strokes);
    case kTraditionalTable:
        return ar(t.traditional);
    case kElementTable:
        return ar(t.elements);
    case kPinyinTables:
        return PinyinTable::archiveReadings(ar, t.pinyin);
    case kSurnameTable:
        return PinyinTable::archiveSurnames(ar, t.pinyin);
    case kLuckTable:
        return ar(t.luck);
    case kSexagenaryTable:
        return ar(t.sexagenary);
    case kThreeTalentTable:
        return ar(t.threeTalentText, t.threeTalents);
    case kTipsText:
        return ar(t.tipsText);
    case kAssessmentTables:
        return ar(t.meanings, t.badWords, t.levels, t.polyphones, t.nameBase);
    case kCityTable:
        return ar(t.cities);
    default:
        return ar.fail();
    }
}

} // namespace

std::span<const TableGroup> tableGroups()
{
    return kGroups;
}

std::string Tables::archived(unsigned part) const
{
    ArchiveWriter writer;
    archiveGroup(writer, *this, part);
    return writer.bytes();
}

bool Tables::restore(unsigned part, std::string_view form, bool lend)
{
    ArchiveReader reader(form, lend);
    archiveGroup(reader, *this, part);
    if (reader.finished())
        return true;
    // Whatever was half read gives way to the empty group again.
    const std::string emptyForm = Tables().archived(part);
    ArchiveReader empty(emptyForm);
    archiveGroup(empty, *this, part);
    return false;
}

Status Tables::loadGroup(const TableGroup& group)
{
    // Reads, decodes and parses the first `count` files, in order.
    const auto parse = [&](std::size_t count) -> Status {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name(group.files[i]);
            const auto bytes = readFileBytes(m_dataDir / name);
            if (!bytes)
                return bytes.error();
            const auto text = decodeGbkBytes(*bytes, name);
            if (!text)
                return text.error();
            if (hasRowCount(name))
                if (Status complete = checkRowCount(*text, name); !complete)
                    return complete;
            if (Status parsed = parseFile(*this, group.part, i, *text, name); !parsed)
                return parsed;
        }
        return {};
    };
    std::size_t fileCount = 0;
    while (fileCount < kMaxGroupFiles && group.files[fileCount])
        ++fileCount;
    if (!hasPrebuiltTable(group.key))
        return parse(fileCount);
    // First only the size and fingerprint of each file: the shipped files need no more.
    std::array<PrebuiltFile, kMaxGroupFiles> files;
    std::size_t count = 0;
    for (; count < fileCount; ++count) {
        const auto stamp = stampFile(m_dataDir / group.files[count]);
        if (!stamp) {
            // The files before it are read and checked first, as they come first.
            if (Status before = parse(count); !before)
                return before;
            return stamp.error();
        }
        files[count] = {group.files[count], stamp->size, stamp->fingerprint};
    }
    const auto form = prebuiltForm(group.key, std::span(files.data(), count));
    if (!form.empty() && restore(group.part, form, true)) {
        m_prebuilt |= group.part;
        return {};
    }
    m_prebuilt &= ~group.part;
    return parse(count);
}

Status Tables::load(unsigned parts)
{
    // Readings and traditional forms are checked against the stroke tables.
    if (parts & (kTraditionalTable | kPinyinTables))
        parts |= kStrokeTables;
    const unsigned wanted = parts & kAllTables & ~m_loaded;
    if (!wanted)
        return {};
    for (const auto& group : kGroups)
        if (wanted & group.part)
            if (Status loaded = loadGroup(group); !loaded)
                return loaded;
    // Prebuilt tables passed these checks when they were built, from the very same files.
    const unsigned checked =
        (m_loaded | wanted) & (kStrokeTables | kPinyinTables | kTraditionalTable);
    if ((m_prebuilt & checked) != checked)
        if (Status covered = checkCoverage(*this, wanted); !covered)
            return covered;
    m_loaded |= wanted;
    return {};
}

Result<std::unique_ptr<Tables>> loadTables(const std::filesystem::path& dataDir, unsigned parts)
{
    auto tables = std::make_unique<Tables>();
    tables->m_dataDir = dataDir;
    if (Status loaded = tables->load(parts); !loaded)
        return loaded.error();
    return tables;
}

std::vector<std::string> Tables::readingsInContext(std::string_view text) const
{
    const auto chars = splitCharacters(text);
    std::vector<std::string> readings = polyphones.wordReadings(chars);
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (readings[i].empty())
            readings[i] = pinyin.pinyinOf(chars[i]);
    return readings;
}

std::vector<std::string> Tables::nameReadings(std::string_view surname,
                                              std::string_view given) const
{
    std::vector<std::string> readings;
    const auto surnameChars = splitCharacters(surname);
    if (auto syllables = pinyin.surnameSyllables(surname);
        syllables && syllables->size() == surnameChars.size())
        readings = std::move(*syllables);
    else
        for (const auto& c : surnameChars)
            readings.push_back(pinyin.pinyinOf(traditional.toTraditional(c)));
    for (auto& r : readingsInContext(given))
        readings.push_back(std::move(r));
    return readings;
}

std::string Tables::gridStrokeString(std::string_view text) const
{
    std::string joined;
    for (const auto& c : splitCharacters(text)) {
        if (!joined.empty())
            joined += '-';
        joined += std::to_string(gridStrokeCount(c));
    }
    return joined;
}

std::string Tables::strokeNote(std::string_view c) const
{
    const int other = strokes.otherCount(c);
    return other > 0 ? "（另有" + std::to_string(other) + "画之说）" : std::string();
}

std::string Tables::notedStrokeString(std::string_view text) const
{
    std::string joined;
    for (const auto& c : splitCharacters(text)) {
        if (!joined.empty())
            joined += '-';
        joined += std::to_string(gridStrokeCount(c)) + strokeNote(c);
    }
    return joined;
}

std::string Tables::elementNote(std::string_view c) const
{
    // The five stems and branches whose chart element name books do not give the character:
    // they class 乙 土, 癸 木, 丑 火, 寅 土 and 未 木 by sound or sense.
    static constexpr std::string_view kChartElements[] = {"乙", "癸", "丑", "寅", "未"};
    for (const auto stem : kChartElements)
        if (c == stem) {
            const std::string element = elements.elementOf(c);
            return element.empty() ? std::string() : "（命理取" + element + "）";
        }
    return {};
}

std::string firstUnknownCharacter(const Tables& tables, std::string_view text)
{
    for (const auto& c : splitCharacters(text))
        if (tables.gridStrokeCount(c) < 0)
            return c;
    return {};
}

} // namespace hmf::core
