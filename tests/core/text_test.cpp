#include "core/gbk.h"
#include "core/text.h"

#include <gtest/gtest.h>
#if __has_include(<iconv.h>)
#include <iconv.h>
#endif

using namespace hmf::core;

TEST(Text, SplitsWholeCharactersWhateverTheirEncodedLength)
{
    struct Case
    {
        std::string text;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"", {}},
        {"张明华", {"张", "明", "华"}},
        // ASCII above 'z' such as '{' is one character, not the lead of a pair.
        {"{a}张", {"{", "a", "}", "张"}},
        {"a b", {"a", " ", "b"}},
        {"\xF0\xA0\x80\x80"
         "x",
         {"\xF0\xA0\x80\x80", "x"}},
        // A malformed byte stays a piece of its own so the caller can report it.
        {"\xE5\xBC"
         "a",
         {"\xE5", "\xBC", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(splitCharacters(c.text), c.pieces);
    }
}

TEST(Text, SingleCodepointAcceptsExactlyOneCharacter)
{
    EXPECT_EQ(singleCodepoint("张"), U'张');
    EXPECT_EQ(singleCodepoint("a"), U'a');
    EXPECT_FALSE(singleCodepoint(""));
    EXPECT_FALSE(singleCodepoint("张明"));
    EXPECT_FALSE(singleCodepoint("\xE5\xBC"));
}

TEST(Text, TrimsAsciiAndIdeographicBlanks)
{
    EXPECT_EQ(trimBlanks("  林 \r\n"), "林");
    EXPECT_EQ(trimBlanks("\u3000林\u3000"), "林");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("水  火  "), "水  火");
}

TEST(Text, QuotedInputIsShortAndShowsControlCharactersEscaped)
{
    const std::pair<std::string, std::string> cases[] = {
        {"林", "林"},
        {"", ""},
        {"\x01", "\\x01"},
        {"\x01\x1b[31mX", "\\x01\\x1b[31…"},
        {"a\tb\r\n", "a\\x09b\\x0d\\x0a"},
        {"\x7f\u0085", "\\x7f\\xc2\\x85"}, // DEL and a C1 control
        {"\xff\xfe明", "\\xff\\xfe明"},    // bytes that are no UTF-8
        {std::string(5, 'x'), "xxxxx"},    // the limit itself
        {std::string(6, 'x'), "xxxxx…"},   // one beyond
        {"明明明明明明", "明明明明明…"},   // characters, not bytes, are counted
    };
    for (const auto& [text, shown] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(quotedInput(text, 5), shown);
    }
    EXPECT_EQ(quotedInput(std::string(131000, '9')).size(), 20 + std::string("…").size());
}

TEST(Text, ParsesWholeNumbersOnly)
{
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"2019", 2019},
        {" 5 ", 5},
        {"-3", -3},
        {"+7", 7},
        {"", std::nullopt},
        {"5a", std::nullopt},
        {"1.5", std::nullopt},
        {"五", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseInt(text), value);
    }
}

TEST(Gbk, RoundTripsAndReportsTheOffsetOfBadBytes)
{
    const std::string gbk = "\xD5\xC5\xC3\xF7\xBB\xAA"; // 张明华
    auto decoded = gbkToUtf8(gbk);
    ASSERT_TRUE(decoded.text);
    EXPECT_EQ(*decoded.text, "张明华");
    EXPECT_EQ(utf8ToGbk("张明华"), gbk);

    auto bad = gbkToUtf8("ab\xD5"); // a lead byte cut off at the end
    EXPECT_FALSE(bad.text);
    EXPECT_EQ(bad.errorOffset, 2u);
    auto bad2 = gbkToUtf8("a\xFF\xFF");
    EXPECT_FALSE(bad2.text);
    EXPECT_EQ(bad2.errorOffset, 1u);

    EXPECT_FALSE(utf8ToGbk("\xF0\x9F\x98\x80")); // an emoji has no GBK form
}

// iconv is glibc's: a Windows build has none to compare with.
#if __has_include(<iconv.h>)
// The decoder looks codes up in a map it took from iconv: every byte and byte pair, and a text of
// several, must decode exactly as iconv decodes them, valid or not.
TEST(Gbk, DecodesEveryCodeAsIconvDoes)
{
    iconv_t cd = iconv_open("UTF-8", "GBK");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    const auto viaIconv = [&](const std::string& in) -> std::optional<std::string> {
        std::string out(in.size() * 4 + 4, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const bool ok =
            iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (!ok)
            return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    };
    int decoded = 0;
    std::string all;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = -1; trail <= 0xFF; ++trail) {
            std::string code(1, static_cast<char>(lead));
            if (trail >= 0)
                code += static_cast<char>(trail);
            const auto expected = viaIconv(code);
            const auto ours = gbkToUtf8(code).text;
            ASSERT_EQ(ours, expected) << std::hex << lead << " " << trail;
            if (ours && trail >= 0x40) {
                ++decoded;
                all += code;
            }
        }
    EXPECT_GT(decoded, 21000);
    EXPECT_EQ(gbkToUtf8(all).text, viaIconv(all));
    iconv_close(cd);
}

// The encoder writes what iconv writes, for every character below U+10000 (and refuses what iconv
// refuses), including the characters that two GBK codes decode to.
TEST(Gbk, EncodesEveryCharacterAsIconvDoes)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int encoded = 0;
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000)
            continue;
        std::string in = toUtf8(cp);
        std::string out(8, '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        std::optional<std::string> expected;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
            expected = out.substr(0, out.size() - outLeft);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(utf8ToGbk(in), expected) << std::hex << static_cast<unsigned>(cp);
        encoded += expected.has_value();
    }
    EXPECT_GT(encoded, 21000);
    iconv_close(cd);
}
#endif
