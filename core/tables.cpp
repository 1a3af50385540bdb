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
// otherwise load and print empty or half-converted lines.
bool checkCoverage(const Tables& tables, LoadError& error)
{
    const auto common = tables.strokes.groupCharacters();
    std::size_t noReading = 0, noGridCount = 0, noTraditional = 0;
    char32_t firstNoReading = 0, firstNoGridCount = 0, firstNoTraditional = 0;
    for (char32_t c : common) {
        if (tables.pinyin.readingOf(c).empty() && !noReading++)
            firstNoReading = c;
        const int grid = tables.strokes.gridCount(c);
        if (grid < 0 && !noGridCount++)
            firstNoGridCount = c;
        // A grid count is that of the character's traditional form: one that differs from the
        // character's own general count shows a traditional form the table should hold.
        if (grid >= 0 && tables.traditional.toTraditional(c) == c &&
            grid != tables.strokes.generalCount(c) && !noTraditional++)
            firstNoTraditional = c;
    }
    const auto shortOf = [&](const char* file, std::size_t count, char32_t example,
                             const std::string& what) {
        error = LoadError{file, 0,
                          "表不全：" + std::to_string(count) + "个常用字" + what + "，如“" +
                              toUtf8(example) + "” (table incomplete)"};
        return false;
    };
    if (noGridCount)
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

std::unique_ptr<Tables> loadTables(const std::filesystem::path& dataDir, LoadError& error)
{
    auto tables = std::make_unique<Tables>();
    // Each file is read, decoded from GBK once and handed to its parser.
    auto load = [&](const char* name, auto&& parse) {
        auto text = readGbkFile(dataDir / name, error);
        if (!text)
            return false;
        return parse(*text, std::string(name));
    };
    auto ok =
        load("gridstrokes.txt",
             [&](auto& t, auto n) { return tables->strokes.parseGridTable(t, n, error); }) &&
        load("strokegroups.txt",
             [&](auto& t, auto n) { return tables->strokes.parseGroupTable(t, n, error); }) &&
        load("generalstrokes.txt",
             [&](auto& t, auto n) { return tables->strokes.parseGeneralTable(t, n, error); }) &&
        load("traditional.txt",
             [&](auto& t, auto n) { return tables->traditional.parse(t, n, error); }) &&
        load("elements.txt",
             [&](auto& t, auto n) { return tables->elements.parse(t, n, error); }) &&
        load("pinyin.txt", [&](auto& t, auto n) { return tables->pinyin.parse(t, n, error); }) &&
        load("pinyin-fallback.txt",
             [&](auto& t, auto n) { return tables->pinyin.parseFallback(t, n, error); }) &&
        load("surnames.txt",
             [&](auto& t, auto n) { return tables->pinyin.parseSurnames(t, n, error); }) &&
        load("luck81.txt", [&](auto& t, auto n) { return tables->luck.parse(t, n, error); }) &&
        load("sexagenary.txt",
             [&](auto& t, auto n) { return tables->sexagenary.parse(t, n, error); }) &&
        load("santalent.txt",
             [&](auto& t, auto n) {
                 return keepText(t, n, tables->threeTalentText, error) &&
                        tables->threeTalents.parse(t, n, error);
             }) &&
        load("tips.txt", [&](auto& t, auto n) { return keepText(t, n, tables->tipsText, error); }) &&
        load("meanings.txt",
             [&](auto& t, auto n) { return tables->meanings.parse(t, n, error); }) &&
        load("badwords.txt",
             [&](auto& t, auto n) { return tables->badWords.parse(t, n, error); }) &&
        load("levels.txt", [&](auto& t, auto n) { return tables->levels.parse(t, n, error); }) &&
        load("polyphones.txt",
             [&](auto& t, auto n) { return tables->polyphones.parse(t, n, error); }) &&
        load("cities.txt", [&](auto& t, auto n) { return tables->cities.parse(t, n, error); });
    if (!ok || !checkCoverage(*tables, error))
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
