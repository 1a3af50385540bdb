#include "core/gbk.h"
#include "core/text.h"

#include <gtest/gtest.h>

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
