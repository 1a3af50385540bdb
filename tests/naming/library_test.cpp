#include "naming/library.h"
#include "tests/testresult.h"

#include "shippedtables.h"

#include <gtest/gtest.h>

namespace hmf::naming {
namespace {

using test::fixture;
using test::shippedTables;

TEST(LibraryTest, BlankLinesAreSkippedAndLinesTrimmed)
{
    auto library = loadLibrary(fixture("blanks.fne"), shippedTables().strokes);
    ASSERT_TRUE(hmf::test::succeeded(library));
    EXPECT_EQ(*library, (std::vector<std::string>{"明", "华", "文"}));
}

TEST(LibraryTest, FaultsNameTheFileAndLine)
{
    struct Case
    {
        const char* file;
        const char* expected; // part of the message
    };
    const Case cases[] = {
        {"twoperline.fne", "twoperline.fne:3:"},
        {"empty.fne", "empty.fne"},
        {"badgbk.fne", "badgbk.fne"},
        {"no-such-file.fne", "no-such-file.fne"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string error =
            hmf::test::failure(loadLibrary(fixture(c.file), shippedTables().strokes)).message();
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

TEST(LibraryTest, CharacterWithoutGridCountOrNotChineseIsRefused)
{
    const char* texts[] = {"明\n𠀀\n", "明\nA\n"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const std::string error =
            hmf::test::failure(parseLibrary(text, "lib.fne", shippedTables().strokes)).message();
        EXPECT_EQ(error.rfind("lib.fne:2:", 0), 0u) << error;
    }
}

TEST(LibraryTest, LibraryFileFollowsTheSex)
{
    EXPECT_EQ(libraryFileName("男"), "zmz.fne");
    EXPECT_EQ(libraryFileName("女"), "zwz.fne");
    EXPECT_EQ(libraryFileName(""), "zwz.fne");
}

} // namespace
} // namespace hmf::naming
