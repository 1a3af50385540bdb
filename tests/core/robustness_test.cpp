// Bad input at the bottom of the program: whole numbers of any size in the score, tables that are
// empty, cut short or hold something else, files that are not GBK. Cases come from fuzzing.

#include "core/cities.h"
#include "core/datafile.h"
#include "core/elements.h"
#include "core/gbk.h"
#include "core/luck.h"
#include "core/namedata.h"
#include "core/pinyin.h"
#include "core/reference.h"
#include "core/score.h"
#include "core/strokes.h"
#include "core/tables.h"
#include "core/text.h"
#include "core/traditional.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#if __has_include(<iconv.h>)
#include <iconv.h>
#endif

using namespace hmf::core;
using hmf::test::failure;
using hmf::test::succeeded;

namespace {

LuckTable luckTable()
{
    std::string text;
    for (int k = 1; k <= 81; ++k)
        text += (k > 1 ? "*******" : "") + ("第" + std::to_string(k) + "数理---吉---a---b---c---d");
    LuckTable luck;
    EXPECT_TRUE(succeeded(luck.parse(text, "luck81.txt")));
    return luck;
}

} // namespace

// A run reads the date boxes before every draw, so the score meets whatever number they hold.
TEST(Robustness, ScoreOfAnyBirthDateStaysAtMost100WithoutOverflow)
{
    const LuckTable luck = luckTable();
    ElementTable elements;
    ASSERT_TRUE(succeeded(elements.parse("金\t鑫\n木\t林\n水\t海\n火\t炎\n土\t坤\n", "e")));
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 7, 16, 1981, INT_MAX - 1, INT_MAX};
    for (int year : extremes)
        for (int month : extremes)
            for (int day : extremes) {
                SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month) + "-" +
                             std::to_string(day));
                ScoreInput in{{5, 12, 9, 2, 12}, year, month, day, "", "林", false};
                EXPECT_LE(nameScore(luck, elements, in), 100);
                in.fixedCharacter = true;
                in.missing = "水  ";
                EXPECT_LE(nameScore(luck, elements, in), 99);
            }
    // Ordinary dates keep their score: 2019-05-05 gives 100 + 9 + 1 + 3 + 3, capped.
    ScoreInput ordinary{{5, 12, 9, 2, 12}, 2019, 5, 5, "", "林", false};
    EXPECT_EQ(nameScore(luck, elements, ordinary), 100);
}

// Every loader refuses a text that leaves it empty, with a reason, instead of loading nothing.
TEST(Robustness, EveryLoaderRefusesAnEmptyOrBlankText)
{
    using Parse = std::function<Status(std::string_view)>;
    StrokeDictionary strokes;
    TraditionalTable traditional;
    ElementTable elements;
    PinyinTable pinyin;
    LuckTable luck;
    SexagenaryTable sexagenary;
    const std::pair<const char*, Parse> loaders[] = {
        {"gridstrokes", [&](auto t) { return strokes.parseGridTable(t, "f"); }},
        {"strokegroups", [&](auto t) { return strokes.parseGroupTable(t, "f"); }},
        {"generalstrokes", [&](auto t) { return strokes.parseGeneralTable(t, "f"); }},
        {"traditional", [&](auto t) { return traditional.parse(t, "f"); }},
        {"elements", [&](auto t) { return elements.parse(t, "f"); }},
        {"pinyin", [&](auto t) { return pinyin.parse(t, "f"); }},
        {"pinyin-fallback", [&](auto t) { return pinyin.parseFallback(t, "f"); }},
        {"luck81", [&](auto t) { return luck.parse(t, "f"); }},
        {"sexagenary", [&](auto t) { return sexagenary.parse(t, "f"); }},
    };
    for (const auto& [name, parse] : loaders)
        for (const char* text : {"", "\r\n", "\r\n\r\n  \x1A"}) {
            SCOPED_TRACE(std::string(name) + " on \"" + text + "\"");
            const Error e = failure(parse(text));
            EXPECT_EQ(e.file, "f");
            EXPECT_FALSE(e.what.empty());
        }
}

// A malformed line of any table is reported with its own line number.
TEST(Robustness, MalformedLinesNameTheirLine)
{
    using Parse = std::function<Status(std::string_view)>;
    StrokeDictionary strokes;
    TraditionalTable traditional;
    PinyinTable pinyin;
    ElementTable elements;
    const Parse group = [&](auto t) { return strokes.parseGroupTable(t, "f"); };
    const Parse general = [&](auto t) { return strokes.parseGeneralTable(t, "f"); };
    const Parse trad = [&](auto t) { return traditional.parse(t, "f"); };
    const Parse reading = [&](auto t) { return pinyin.parse(t, "f"); };
    const Parse element = [&](auto t) { return elements.parse(t, "f"); };
    const struct
    {
        const char* label;
        const Parse& parse;
        std::string text;
        int line;
    } cases[] = {
        {"group without tab", group, "1\t一\n2 八\n", 2},
        {"group count not a number", group, "1\t一\r\nx\t八\r\n", 2},
        {"group count zero", group, "1\t一\n\n0\t八\n", 3},
        {"general without comma", general, "啊11,阿13\r\n", 1},
        {"general count of four digits", general, "啊11,\r\n阿1300,", 2},
        {"general without count", general, "啊11,\n\n阿,", 3},
        {"traditional without tab", trad, "皑\t皚\n蔼藹\n", 2},
        {"traditional of two characters", trad, "皑\t皚\n蔼\t藹藹\n", 2},
        {"pinyin without reading", reading, "啊a,\n阿,", 2},
        {"pinyin malformed", reading, "啊a,\n\xFF,", 2},
        {"element list empty", element, "金\t鑫\n木\t \r\n水\t海\n火\t炎\n土\t坤\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Error e = failure(c.parse(c.text));
        EXPECT_EQ(e.line, c.line);
        EXPECT_FALSE(e.what.empty());
    }
}

TEST(Robustness, SexagenaryRowsHoldTwoElements)
{
    std::string good;
    for (int j = 1; j <= 60; ++j)
        good += "木,水,\r\n";
    const std::pair<std::string, int> bad[] = {
        {"abc,def,", 1}, // the shape of a row, but no elements
        {"木,石,", 1},   // a character that is no element
        {"木,水,水", 1}, // the closing comma missing
        {"木，水，", 1}, // full-width commas
    };
    for (const auto& [row, line] : bad) {
        SCOPED_TRACE(row);
        SexagenaryTable t;
        const Error e = failure(t.parse(row + "\r\n" + good, "sexagenary.txt"));
        EXPECT_EQ(e.line, line);
        EXPECT_EQ(failure(t.parse(good.substr(0, good.size() - 9) + row, "sexagenary.txt")).line,
                  60);
    }
}

// The rows every table is read through: line numbers across skipped lines and CR LF ends, and
// a split that never makes more fields than the table asks for.
TEST(Robustness, TableRowsNumberLinesAndBoundTheirFields)
{
    const std::string name = "t.txt";
    struct Case
    {
        const char* label;
        std::string text;
        SkipLines skip;
        std::vector<std::string> rows; // "line:field|field"
    };
    const Case cases[] = {
        {"empty lines skipped", "a\tb\r\n\r\n\nc\r\n", SkipLines::Empty, {"1:a|b", "4:c"}},
        {"rest kept in the last field", "a\tb\tc\td\n", SkipLines::Empty, {"1:a|b|c\td"}},
        {"blank and comment lines skipped",
         "# x\ty\n \t\na\n#\n",
         SkipLines::BlankOrComment,
         {"3:a"}},
        {"every line but an empty last one", "a\n\nb\n\n", SkipLines::None, {"1:a", "2:", "3:b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> seen;
        TableRows rows(c.text, name, 3, c.skip);
        while (rows.next()) {
            std::string row = std::to_string(rows.line()) + ":";
            for (std::size_t i = 0; i < rows.fieldCount(); ++i)
                row += (i ? "|" : "") + std::string(rows.field(i));
            seen.push_back(row);
        }
        EXPECT_FALSE(rows.failed());
        EXPECT_EQ(seen, c.rows);
        EXPECT_EQ(rows.rows(), static_cast<int>(c.rows.size()));
    }
}

// A line far longer than any table holds is refused before it is split, in every table read by
// rows.
TEST(Robustness, OverlongTableLineIsRefusedWithItsLine)
{
    const std::string longLine(kMaxRowBytes + 1, 'a');
    StrokeDictionary strokes;
    TraditionalTable traditional;
    ElementTable elements;
    PinyinTable pinyin;
    SexagenaryTable sexagenary;
    CityTable cities;
    MeaningTable meanings;
    using Parse = std::function<Status(std::string_view)>;
    const std::pair<const char*, Parse> loaders[] = {
        {"strokegroups", [&](auto t) { return strokes.parseGroupTable(t, "f"); }},
        {"traditional", [&](auto t) { return traditional.parse(t, "f"); }},
        {"elements", [&](auto t) { return elements.parse(t, "f"); }},
        {"surnames", [&](auto t) { return pinyin.parseSurnames(t, "f"); }},
        {"sexagenary", [&](auto t) { return sexagenary.parse(t, "f"); }},
        {"cities", [&](auto t) { return cities.parse(t, "f"); }},
        {"meanings", [&](auto t) { return meanings.parse(t, "f"); }},
    };
    for (const auto& [label, parse] : loaders) {
        SCOPED_TRACE(label);
        const Error e = failure(parse(longLine + "\tb\n"));
        EXPECT_EQ(e.file, "f");
        EXPECT_EQ(e.line, 1);
        EXPECT_NE(e.what.find("行过长"), std::string::npos) << e.what;
    }
}

// Files on disk: empty, cut inside a character, bytes that are no GBK, a directory, a long line.
TEST(Robustness, ReadGbkFileReportsTheLineOfTheFault)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::TempDir()) / "hmf-robustness";
    fs::remove_all(dir);
    fs::create_directories(dir / "adirectory");
    const std::string ming = "\xC3\xF7"; // 明 in GBK
    struct Case
    {
        std::string name;
        std::string bytes;
        int line;         // of the fault; -1: the file reads
        std::size_t size; // of the decoded text when it reads
    };
    const Case cases[] = {
        {"empty", "", -1, 0},
        {"cut", ming + "\r\n" + ming + "\r\n\xC3", 3, 0},
        {"lead-then-newline", ming + "\n\xC3\n" + ming, 2, 0},
        {"lead-without-trail", "ab\n\x81\x7F", 2, 0}, // a lead byte, then no trail byte
        {"byte-ff", "\xFF\xFF", 1, 0},
        {"utf8", "\xE6\x98\x8E\n", 1, 0},
        {"long-line", std::string(1 << 20, 'a') + ming, -1, (1 << 20) + 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / c.name, std::ios::binary) << c.bytes;
        const auto text = readGbkFile(dir / c.name);
        if (c.line < 0) {
            ASSERT_TRUE(succeeded(text));
            EXPECT_EQ(text->size(), c.size);
        } else {
            const Error e = failure(text);
            EXPECT_EQ(e.code, ErrorCode::BadData);
            EXPECT_EQ(e.file, c.name);
            EXPECT_EQ(e.line, c.line);
            EXPECT_NE(e.what.find("GBK"), std::string::npos);
        }
    }
    // Each refusal says what is true of the path; a file above the limit is refused unread.
    std::ofstream(dir / "large", std::ios::binary) << std::string(2048, 'a');
    std::vector<std::pair<fs::path, std::string>> refusals = {
        {dir / "adirectory", "不是普通文件"},
        {dir / "absent", "文件不存在"},
        {dir / "absent" / "below", "文件不存在"},
        {dir / "large", "文件过大，超过1 KB"},
    };
#ifndef _WIN32
    refusals.push_back({"/dev/zero", "不是普通文件"}); // a device that never ends
#endif
    for (const auto& [path, what] : refusals) {
        SCOPED_TRACE(path.string());
        const Error e = failure(readGbkFile(path, 1024));
        EXPECT_EQ(e.file, path.filename().string());
        EXPECT_NE(e.what.find(what), std::string::npos) << e.what;
    }
    EXPECT_TRUE(succeeded(readGbkFile(dir / "large", 2048)));
    fs::remove_all(dir);
}

// The decoder's compiled code table says what iconv says, code by code: every single byte and
// every lead and trail byte pair decodes to iconv's character or is refused where iconv refuses.
TEST(Robustness, EveryGbkCodeDecodesAsIconvDecodesIt)
{
#if __has_include(<iconv.h>) // glibc's; a Windows build has none to compare with
    iconv_t cd = iconv_open("UTF-8", "GBK");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    const auto iconvDecode = [&](std::string code) -> std::optional<std::string> {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* in = code.data();
        char* outPtr = out;
        std::size_t inLeft = code.size(), outLeft = sizeof out;
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out, sizeof out - outLeft);
    };
    std::vector<std::string> codes;
    for (int b = 0x80; b <= 0xFF; ++b)
        codes.push_back(std::string(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    int decoded = 0;
    for (const auto& code : codes) {
        const auto ours = gbkToUtf8(code).text;
        const auto theirs = iconvDecode(code);
        ASSERT_EQ(ours, theirs) << std::hex << int(static_cast<unsigned char>(code[0])) << " "
                                << int(static_cast<unsigned char>(code.back()));
        decoded += ours.has_value();
    }
    iconv_close(cd);
    EXPECT_GT(decoded, 21000); // GBK's 21,886 codes, less what this iconv leaves out
#endif

    // One byte that becomes three (0x80 is €), many times over and between pairs: the decoder
    // makes the room it did not reserve.
    std::string euros;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        euros += i % 3 ? "\x80"
                       : "\x80\xC3\xF7"
                         "a";
        expected += i % 3 ? "€" : "€明a";
    }
    EXPECT_EQ(gbkToUtf8(euros).text, expected);
}

// Texts the decoder and the text helpers meet from the outside; each holds its contract.
TEST(Robustness, DecodingAndTextHelpersOnMalformedInput)
{
    // Whatever decodes from GBK encodes back to the same text.
    for (std::string bytes : {std::string("\xC3\xF7\xBB\xAA"), std::string("{a}\x1A"),
                              std::string("\x81\x40\xFE\x4F")}) {
        SCOPED_TRACE(bytes);
        const auto text = gbkToUtf8(bytes).text;
        ASSERT_TRUE(text);
        const auto back = utf8ToGbk(*text);
        ASSERT_TRUE(back);
        EXPECT_EQ(gbkToUtf8(*back).text, text);
    }
    // Text with no GBK form, or no UTF-8 at all, does not encode.
    for (std::string utf8 :
         {std::string("\xF0\x9F\x98\x80"), std::string("\xFF"), std::string("\xED\xA0\x80")}) {
        SCOPED_TRACE(utf8);
        EXPECT_FALSE(utf8ToGbk(utf8));
    }
    // Stray bytes are pieces of their own and trimming never cuts into them.
    const std::string stray = " \xE6\x98 \xFF\t";
    std::string joined;
    for (const auto& piece : splitCharacters(stray))
        joined += piece;
    EXPECT_EQ(joined, stray);
    EXPECT_EQ(trimBlanks(stray), "\xE6\x98 \xFF");
    EXPECT_EQ(trimBlanks("\xE6\x98 \xFF"), "\xE6\x98 \xFF"); // nothing at the ends to trim
    for (const char* text : {"2147483648", "-2147483649", "１２", "+-3", "3 4", "0x10", "\xFF"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseInt(text));
    }
    EXPECT_EQ(parseInt(" -2147483648 "), INT_MIN);
    EXPECT_EQ(parseInt("\xE3\x80\x80+7\xE3\x80\x80"), 7);
}

// The texts shown as they are must not be empty either: the page would stay blank.
TEST(Robustness, EmptyReferenceTextStopsLoading)
{
    namespace fs = std::filesystem;
    const fs::path source = std::getenv("HMF_DATA_DIR");
    const fs::path dir = fs::path(testing::TempDir()) / "hmf-empty-text";
    for (const char* file : {"santalent.txt", "tips.txt"}) {
        SCOPED_TRACE(file);
        fs::remove_all(dir);
        fs::copy(source, dir);
        std::ofstream(dir / file, std::ios::binary | std::ios::trunc) << "\r\n";
        const Error e = failure(loadTables(dir));
        EXPECT_EQ(e.file, file);
        EXPECT_FALSE(e.what.empty());
    }
    fs::remove_all(dir);
}
