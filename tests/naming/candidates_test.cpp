#include "naming/candidates.h"

#include <gtest/gtest.h>

namespace hmf::naming {
namespace {

TEST(CandidatesTest, CopyTextPutsALineEndBeforeEveryRowAndNoneAfterTheLast)
{
    EXPECT_EQ(copyText({}), "");
    EXPECT_EQ(copyText({"林子涵[88分]"}), "\r\n林子涵[88分]");
    EXPECT_EQ(copyText({"林子涵[88分]", "林子轩[90分]"}), "\r\n林子涵[88分]\r\n林子轩[90分]");

    CandidateList list;
    list.append("林子涵[88分]");
    list.append("林子涵[88分]"); // the same name from another run stays twice
    EXPECT_EQ(list.copyText(), "\r\n林子涵[88分]\r\n林子涵[88分]");
    list.clear();
    EXPECT_EQ(list.copyText(), "");
}

TEST(CandidatesTest, RowTitlesSplitBackIntoNameAndScoreWithUnit)
{
    EXPECT_EQ(rowTitle("林子涵", 88), "林子涵[88分]");
    EXPECT_EQ(rowTitle("林子涵", std::nullopt), "林子涵[分]");

    auto parts = splitRowTitle("林子涵[88分]");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->fullName, "林子涵");
    EXPECT_EQ(parts->scoreText, "88分");
    EXPECT_FALSE(splitRowTitle("林子涵"));
    EXPECT_FALSE(splitRowTitle("林[子[涵]"));
}

TEST(CandidatesTest, GivenNameOfRowTakesWhatFollowsTheSurname)
{
    struct Case
    {
        const char* fullName;
        const char* surname;
        int fallback;
        const char* given;
    };
    const Case cases[] = {
        {"林子涵", "林", 2, "子涵"},
        {"林德子涵", "林", 2, "德子涵"}, // three characters even when the length box says 2
        {"欧阳明", "欧阳", 2, "明"},
        {"林子涵", " 林 ", 1, "子涵"},
        {"林子涵", "王", 2, "子涵"}, // surname changed since the run: fall back on the length
        {"林子涵", "", 1, "涵"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fullName);
        EXPECT_EQ(givenNameOfRow(c.fullName, c.surname, c.fallback), c.given);
    }
}

} // namespace
} // namespace hmf::naming
