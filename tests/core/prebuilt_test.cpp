// Prebuilt tables: each is what its files parse to, comes back whole, and gives way to the
// files as soon as one of them differs from the file it was built from.

#include "core/archive.h"
#include "core/datafile.h"
#include "core/gbk.h"
#include "core/prebuilt.h"
#include "core/tables.h"
#include "naming/verse.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <utility>

namespace hmf::core {
namespace {

namespace fs = std::filesystem;

fs::path dataDir()
{
    const char* dir = std::getenv("HMF_DATA_DIR");
    return dir ? dir : "data";
}

const PrebuiltTable* prebuilt(std::string_view key)
{
    for (const auto& table : prebuiltTables())
        if (table.key == key)
            return &table;
    return nullptr;
}

// A copy of the data directory that a test may change; the prebuilt tables are installed while
// it lives.
class DataCopy : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("hmf-prebuilt-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        for (const auto& entry : fs::directory_iterator(dataDir()))
            fs::copy_file(entry.path(), m_dir / entry.path().filename());
        installPrebuiltTables(prebuiltTables());
    }
    void TearDown() override
    {
        installPrebuiltTables({});
        fs::remove_all(m_dir);
    }
    // Replaces `from` by `to` (UTF-8) at its first place in a GBK file of the copy.
    void change(const char* file, std::string_view from, std::string_view to)
    {
        auto text = readGbkFile(m_dir / file);
        ASSERT_TRUE(hmf::test::succeeded(text));
        const auto at = text->find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text->replace(at, from.size(), to);
        std::ofstream(m_dir / file, std::ios::binary | std::ios::trunc) << *utf8ToGbk(*text);
    }
    fs::path m_dir;
};

TEST(PrebuiltTables, EachIsWhatItsFilesParseToAndComesBackWhole)
{
    installPrebuiltTables({});
    const auto loaded = loadTables(dataDir());
    ASSERT_TRUE(hmf::test::succeeded(loaded));
    const auto& parsed = *loaded;
    auto checkFiles = [](const PrebuiltTable& table) {
        for (const auto& file : table.files) {
            const auto bytes = readFileBytes(dataDir() / file.name);
            ASSERT_TRUE(hmf::test::succeeded(bytes));
            EXPECT_EQ(bytes->size(), file.size) << file.name << " changed since the build";
            EXPECT_EQ(fingerprint(*bytes), file.fingerprint) << file.name;
            const auto stamp = stampFile(dataDir() / file.name);
            ASSERT_TRUE(hmf::test::succeeded(stamp));
            EXPECT_EQ(stamp->fingerprint, file.fingerprint) << "read in pieces: " << file.name;
        }
    };
    for (const auto& group : tableGroups()) {
        SCOPED_TRACE(group.key);
        const auto* table = prebuilt(group.key);
        ASSERT_NE(table, nullptr);
        checkFiles(*table);
        EXPECT_TRUE(parsed->archived(group.part) == table->form);
        Tables restored;
        ASSERT_TRUE(restored.restore(group.part, table->form));
        EXPECT_TRUE(restored.archived(group.part) == table->form);
    }
    const auto* verse = prebuilt(naming::VerseTable::kPrebuiltKey);
    ASSERT_NE(verse, nullptr);
    checkFiles(*verse);
    const auto parsedVerse = naming::VerseTable::load(dataDir() / "verse.txt");
    ASSERT_TRUE(hmf::test::succeeded(parsedVerse));
    EXPECT_TRUE(parsedVerse->archived() == verse->form);
    const auto restoredVerse = naming::VerseTable::restore(verse->form);
    ASSERT_TRUE(restoredVerse);
    EXPECT_TRUE(restoredVerse->archived() == verse->form);
    EXPECT_EQ(restoredVerse->bestSource("静姝")->line, parsedVerse->bestSource("静姝")->line);
}

TEST(PrebuiltTables, AFormCutShortOrOversizedIsRefused)
{
    const auto* strokes = prebuilt("strokes");
    ASSERT_NE(strokes, nullptr);
    Tables tables;
    EXPECT_FALSE(tables.restore(kStrokeTables, strokes->form.substr(0, strokes->form.size() / 2)));
    EXPECT_EQ(tables.strokes.gridSize(), 0u) << "a form read in part leaves the group empty";
    EXPECT_FALSE(tables.restore(kStrokeTables, std::string(strokes->form) + "x"));
    // A count far beyond the bytes that follow it is refused before anything is allocated.
    EXPECT_FALSE(tables.restore(kLuckTable, std::string("\xff\xff\xff\x7f", 4)));
    const auto* verse = prebuilt(naming::VerseTable::kPrebuiltKey);
    ASSERT_NE(verse, nullptr);
    EXPECT_FALSE(naming::VerseTable::restore(verse->form.substr(0, verse->form.size() - 1)));
}

// A map brought back from a lent form answers like the one written, and becomes its own at the
// first change: the form is never written to.
TEST(PrebuiltTables, ALentMapAnswersAndCopiesItselfWhenChanged)
{
    CodepointMap<int> written;
    for (const char32_t cp : {U'木', U'林', U'a', U'\U00020000', U'森'})
        written.emplace(cp, static_cast<int>(cp % 97));
    ArchiveWriter writer;
    writer(written);
    const std::string form = writer.bytes(); // heap memory: aligned for the blocks
    CodepointMap<int> lent;
    ArchiveReader reader(form, true);
    reader(lent);
    ASSERT_TRUE(reader.finished());
    const auto same = [&](const CodepointMap<int>& map) {
        ASSERT_EQ(map.size(), written.size());
        for (const auto& [cp, value] : written) {
            ASSERT_NE(map.find(cp), map.end()) << static_cast<unsigned>(cp);
            EXPECT_EQ(map.find(cp)->second, value);
        }
        EXPECT_EQ(map.find(U'水'), map.end());
        EXPECT_EQ(map.find(U'\U00020001'), map.end());
        EXPECT_EQ(map.count(0), 0u);
    };
    same(lent);
    const CodepointMap<int> copy = lent;
    same(copy);
    const std::string before = form;
    lent.emplace(U'水', 7);
    lent[U'木'] = 1;
    EXPECT_EQ(lent.find(U'水')->second, 7);
    EXPECT_EQ(lent.find(U'木')->second, 1);
    EXPECT_EQ(lent.find(U'森')->second, static_cast<int>(U'森' % 97));
    EXPECT_EQ(form, before);
    same(copy);
    // A change made in place, read back through the constant interface.
    CodepointMap<int> changed;
    ArchiveReader again(form, true);
    again(changed);
    ASSERT_TRUE(again.finished());
    changed[U'林'] = 5;
    EXPECT_EQ(std::as_const(changed).find(U'林')->second, 5);
}

TEST_F(DataCopy, TheFilesAsShippedGiveTheTablesAsParsed)
{
    const auto loaded = loadTables(m_dir);
    ASSERT_TRUE(hmf::test::succeeded(loaded));
    const auto& tables = *loaded;
    EXPECT_EQ(tables->gridStrokeCount("華"), 14);
    EXPECT_EQ(tables->levels.level(U'明'), 1);
    EXPECT_EQ(tables->pinyin.readingOf(U'明'), "míng");
    EXPECT_EQ(tables->luck.verdict(1), "吉");
    EXPECT_EQ(tables->prebuiltParts(), unsigned{kAllTables});
    // Every bad word is found by its syllables in the table brought back.
    for (std::size_t i = 0; i < tables->badWords.size(); ++i) {
        const BadWord word = tables->badWords.word(i);
        bool found = false;
        tables->badWords.forEachToneless(word.codes.data(), word.length, [&](const BadWord& w) {
            found = found || (w.word == word.word && w.reason == word.reason);
        });
        EXPECT_TRUE(found) << word.word;
    }
}

TEST_F(DataCopy, AChangedFileIsReadFromDiskAndADamagedOneRefused)
{
    change("levels.txt", "明\t1", "明\t3");
    change("verse.txt", "静女其姝", "静女其娴");
    auto loaded = loadTables(m_dir);
    ASSERT_TRUE(hmf::test::succeeded(loaded));
    const auto& tables = *loaded;
    EXPECT_EQ(tables->levels.level(U'明'), 3);
    EXPECT_EQ(tables->prebuiltParts(), kAllTables & ~kAssessmentTables);
    const auto verse = naming::VerseTable::load(m_dir / "verse.txt");
    ASSERT_TRUE(hmf::test::succeeded(verse));
    EXPECT_NE(verse->bestSource("静娴"), std::nullopt);

    change("levels.txt", "明\t3", "明\t9");
    Error error = hmf::test::failure(loadTables(m_dir));
    EXPECT_EQ(error.file, "levels.txt");
    EXPECT_NE(error.what.find("级别应为"), std::string::npos) << error.what;
    // A missing file of a group: the files before it are checked first, as they are read first.
    fs::remove(m_dir / "strokegroups.txt");
    std::ofstream(m_dir / "gridstrokes.txt", std::ios::binary | std::ios::app) << "\x81";
    error = hmf::test::failure(loadTables(m_dir));
    EXPECT_EQ(error.file, "gridstrokes.txt");
    EXPECT_NE(error.what.find("GBK"), std::string::npos) << error.what;
    fs::copy_file(dataDir() / "gridstrokes.txt", m_dir / "gridstrokes.txt",
                  fs::copy_options::overwrite_existing);
    error = hmf::test::failure(loadTables(m_dir));
    EXPECT_EQ(error.file, "strokegroups.txt");
    EXPECT_NE(error.what.find("文件不存在"), std::string::npos) << error.what;
}

// The coverage checks are left out only when every table they compare came prebuilt.
TEST_F(DataCopy, ATableCutShortBesidePrebuiltOnesIsStillRefused)
{
    // Removed first: MinGW's copy_file takes two files of one folder for the same file (Windows
    // has no inode numbers) and refuses to overwrite.
    fs::remove(m_dir / "pinyin.txt");
    fs::copy_file(m_dir / "pinyin-fallback.txt", m_dir / "pinyin.txt");
    const Error error = hmf::test::failure(loadTables(m_dir));
    EXPECT_EQ(error.file, "pinyin.txt");
    EXPECT_NE(error.what.find("表不全"), std::string::npos) << error.message();
    auto strokes = loadTables(m_dir, kStrokeTables);
    ASSERT_TRUE(hmf::test::succeeded(strokes));
    EXPECT_EQ((*strokes)->prebuiltParts(), unsigned{kStrokeTables});
    EXPECT_EQ(hmf::test::failure((*strokes)->load(kPinyinTables)).file, "pinyin.txt");
}

} // namespace
} // namespace hmf::core
