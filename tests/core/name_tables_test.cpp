// The shipped tables that judge a name's characters and sound (meanings.txt, badwords.txt,
// levels.txt) and the two character libraries they must agree with.

#include "core/datafile.h"
#include "core/text.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace hmf::core;

namespace {

std::filesystem::path dataDir()
{
    return std::getenv("HMF_DATA_DIR");
}

// Record lines of a shipped table, split at TABs; comment lines ("#") are skipped.
std::vector<std::vector<std::string>> records(const std::string& file)
{
    const auto text = readGbkFile(dataDir() / file);
    EXPECT_TRUE(hmf::test::succeeded(text));
    std::vector<std::vector<std::string>> out;
    std::string_view rest = text ? std::string_view(*text) : std::string_view();
    while (!rest.empty()) {
        const std::string_view line = takeLine(rest);
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos;
             start = tab + 1)
            fields.emplace_back(line.substr(start, tab - start));
        fields.emplace_back(line.substr(start));
        out.push_back(std::move(fields));
    }
    return out;
}

std::vector<std::string> library(const std::string& file)
{
    std::vector<std::string> chars;
    for (const auto& r : records(file))
        chars.push_back(r.at(0));
    return chars;
}

bool isOneCharacter(const std::string& text)
{
    return singleCodepoint(text).has_value();
}

struct Meaning
{
    std::string sex, polarity, text;
};

std::map<std::string, Meaning> meanings()
{
    std::map<std::string, Meaning> out;
    for (const auto& r : records("meanings.txt")) {
        EXPECT_EQ(r.size(), 4u) << r.at(0);
        if (r.size() == 4) {
            EXPECT_TRUE(out.emplace(r[0], Meaning{r[1], r[2], r[3]}).second) << r[0] << " twice";
        }
    }
    return out;
}

} // namespace

TEST(NameTables, MeaningsHaveTheirFormAndCoverBothLibraries)
{
    const auto table = meanings();
    EXPECT_GE(table.size(), 1500u);
    for (const auto& [c, m] : table) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(isOneCharacter(c));
        EXPECT_TRUE(m.sex == "男" || m.sex == "女" || m.sex == "中");
        EXPECT_TRUE(m.polarity == "+" || m.polarity == "0" || m.polarity == "-");
        EXPECT_FALSE(m.text.empty());
    }
    // A library holds only characters of good or plain meaning, none leaning to the other sex.
    for (const auto& [file, other] : {std::pair{"zmz.fne", "女"}, std::pair{"zwz.fne", "男"}}) {
        const auto chars = library(file);
        EXPECT_GE(chars.size(), 600u) << file;
        for (const auto& c : chars) {
            SCOPED_TRACE(std::string(file) + " " + c);
            const auto it = table.find(c);
            ASSERT_NE(it, table.end());
            EXPECT_NE(it->second.polarity, "-");
            EXPECT_NE(it->second.sex, other);
        }
    }
}

TEST(NameTables, LibrariesFollowTodaysNames)
{
    const auto table = meanings();
    const auto boys = library("zmz.fne");
    const auto girls = library("zwz.fne");
    const std::set<std::string> boySet(boys.begin(), boys.end());
    const std::set<std::string> girlSet(girls.begin(), girls.end());
    for (const char* c : {"泰", "洲", "恭", "泉", "诚", "康", "祥", "彬", "良", "谦", "信"}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(table.at(c).sex, "男");
        EXPECT_FALSE(girlSet.count(c));
    }
    for (const char* c : {"侠", "飒", "格"}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(table.at(c).sex, "女");
        EXPECT_FALSE(boySet.count(c));
    }
    for (const char* c : {"纵", "逊", "略", "浅", "绯", "伶", "蜜", "沫", "死", "病"}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(table.at(c).polarity, "-");
        EXPECT_FALSE(boySet.count(c) || girlSet.count(c));
    }
    for (const char* c : {"文", "安", "嘉", "明"}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(table.at(c).sex, "中");
        EXPECT_TRUE(boySet.count(c) && girlSet.count(c));
    }
}

TEST(NameTables, BadWordsCarryOneToneSyllablePerCharacter)
{
    const std::regex syllable("[a-z\xC3\xBC]+[1-5]"); // letters or ü, then the tone
    std::map<std::string, std::string> readings;
    for (const auto& r : records("badwords.txt")) {
        SCOPED_TRACE(r.at(0));
        ASSERT_EQ(r.size(), 3u);
        const auto chars = toCodepoints(r[0]);
        ASSERT_TRUE(chars);
        EXPECT_GE(chars->size(), 2u);
        EXPECT_LE(chars->size(), 4u);
        std::size_t count = 0, start = 0;
        for (std::size_t end; start <= r[1].size(); start = end + 1, ++count) {
            end = r[1].find(' ', start);
            if (end == std::string::npos)
                end = r[1].size();
            EXPECT_TRUE(std::regex_match(r[1].substr(start, end - start), syllable)) << r[1];
        }
        EXPECT_EQ(count, chars->size()) << r[1];
        EXPECT_FALSE(r[2].empty());
        EXPECT_TRUE(readings.emplace(r[0], r[1]).second) << "twice";
    }
    EXPECT_GE(readings.size(), 300u);
    // The joke names every parent knows, and the faults found in generated names.
    const std::pair<const char*, const char*> known[] = {
        {"肚子疼", "du4 zi5 teng2"}, {"饭桶", "fan4 tong3"}, {"无人要", "wu2 ren2 yao4"},
        {"出墓", "chu1 mu4"},        {"运势", "yun4 shi4"},
    };
    for (const auto& [word, reading] : known)
        EXPECT_EQ(readings[word], reading) << word;
}

TEST(NameTables, LevelsFollowTheGeneralStandardTable)
{
    std::map<std::string, std::string> level;
    for (const auto& r : records("levels.txt")) {
        ASSERT_EQ(r.size(), 2u) << r.at(0);
        EXPECT_TRUE(isOneCharacter(r[0]));
        EXPECT_TRUE(r[1] == "1" || r[1] == "2" || r[1] == "3") << r[0];
        EXPECT_TRUE(level.emplace(r[0], r[1]).second) << r[0] << " twice";
    }
    // 8,105 characters in the table, less the 276 of level 3 that GBK cannot write.
    EXPECT_EQ(level.size(), 7829u);
    const std::pair<const char*, const char*> known[] = {
        {"一", "1"}, {"明", "1"}, {"睿", "2"}, {"梓", "2"}, {"淼", "3"}, {"晖", "3"},
    };
    for (const auto& [c, l] : known)
        EXPECT_EQ(level[c], l) << c;
    EXPECT_FALSE(level.count("劉")); // traditional forms stand outside the table
    for (const char* file : {"zmz.fne", "zwz.fne"})
        for (const auto& c : library(file)) {
            const auto it = level.find(c);
            EXPECT_TRUE(it != level.end() && it->second != "3") << file << " " << c;
        }
}
