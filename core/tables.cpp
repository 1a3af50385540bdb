#include "core/tables.h"

#include "core/datafile.h"
#include "core/text.h"

namespace hmf::core {

namespace {

// Texts shown as they are; an empty one would leave its page blank without a word.
bool keepText(const std::string& text, const std::string& fileName, std::string& into,
              LoadError& error)
{
    if (trimBlanks(text).empty()) {
        error = LoadError{fileName, 0, "文件为空 (empty file)"};
        return false;
    }
    into = text;
    return true;
}

// The tables cover what the program relies on: a table replaced by another or cut short would
// otherwise load and print empty or half-converted lines. Checks the groups of `parts`.
bool checkCoverage(const Tables& tables, unsigned parts, LoadError& error)
{
    const bool grid = parts & kStrokeTables;
    const bool reading = parts & kPinyinTables;
    const bool traditional = parts & kTraditionalTable;
    if (!grid && !reading && !traditional)
        return true;
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
        error = LoadError{file, 0,
                          "表不全：" + std::to_string(count) + "个常用字" + what + "，如“" +
                              toUtf8(example) + "” (table incomplete)"};
        return false;
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
    return true;
}

} // namespace

bool Tables::load(unsigned parts, LoadError& error)
{
    // Readings and traditional forms are checked against the stroke tables.
    if (parts & (kTraditionalTable | kPinyinTables))
        parts |= kStrokeTables;
    const unsigned wanted = parts & kAllTables & ~m_loaded;
    if (!wanted)
        return true;
    const auto needed = [&](unsigned part) { return (wanted & part) != 0; };
    // Each file is read, decoded from GBK once and handed to its parser.
    auto load = [&](const char* name, auto&& parse) {
        auto text = readGbkFile(m_dataDir / name, error);
        if (!text)
            return false;
        return parse(*text, std::string(name));
    };
    const bool ok =
        (!needed(kStrokeTables) ||
         (load("gridstrokes.txt",
               [&](auto& t, auto n) { return strokes.parseGridTable(t, n, error); }) &&
          load("strokegroups.txt",
               [&](auto& t, auto n) { return strokes.parseGroupTable(t, n, error); }) &&
          load("generalstrokes.txt",
               [&](auto& t, auto n) { return strokes.parseGeneralTable(t, n, error); }))) &&
        (!needed(kTraditionalTable) ||
         load("traditional.txt",
              [&](auto& t, auto n) { return traditional.parse(t, n, error); })) &&
        (!needed(kElementTable) ||
         load("elements.txt", [&](auto& t, auto n) { return elements.parse(t, n, error); })) &&
        (!needed(kPinyinTables) ||
         (load("pinyin.txt", [&](auto& t, auto n) { return pinyin.parse(t, n, error); }) &&
          load("pinyin-fallback.txt",
               [&](auto& t, auto n) { return pinyin.parseFallback(t, n, error); }))) &&
        (!needed(kSurnameTable) ||
         load("surnames.txt",
              [&](auto& t, auto n) { return pinyin.parseSurnames(t, n, error); })) &&
        (!needed(kLuckTable) ||
         load("luck81.txt", [&](auto& t, auto n) { return luck.parse(t, n, error); })) &&
        (!needed(kSexagenaryTable) ||
         load("sexagenary.txt", [&](auto& t, auto n) { return sexagenary.parse(t, n, error); })) &&
        (!needed(kThreeTalentTable) || load("santalent.txt",
                                            [&](auto& t, auto n) {
                                                return keepText(t, n, threeTalentText, error) &&
                                                       threeTalents.parse(t, n, error);
                                            })) &&
        (!needed(kTipsText) ||
         load("tips.txt", [&](auto& t, auto n) { return keepText(t, n, tipsText, error); })) &&
        (!needed(kAssessmentTables) ||
         (load("meanings.txt", [&](auto& t, auto n) { return meanings.parse(t, n, error); }) &&
          load("badwords.txt", [&](auto& t, auto n) { return badWords.parse(t, n, error); }) &&
          load("levels.txt", [&](auto& t, auto n) { return levels.parse(t, n, error); }) &&
          load("polyphones.txt",
               [&](auto& t, auto n) { return polyphones.parse(t, n, error); }))) &&
        (!needed(kCityTable) ||
         load("cities.txt", [&](auto& t, auto n) { return cities.parse(t, n, error); }));
    if (!ok || !checkCoverage(*this, wanted, error))
        return false;
    m_loaded |= wanted;
    return true;
}

std::unique_ptr<Tables> loadTables(const std::filesystem::path& dataDir, unsigned parts,
                                   LoadError& error)
{
    auto tables = std::make_unique<Tables>();
    tables->m_dataDir = dataDir;
    if (!tables->load(parts, error))
        return nullptr;
    return tables;
}

std::string firstUnknownCharacter(const Tables& tables, std::string_view text)
{
    for (const auto& c : splitCharacters(text))
        if (tables.gridStrokeCount(c) < 0)
            return c;
    return {};
}

} // namespace hmf::core
