// A table cut short at a line end is refused on load, with the file's name: it would otherwise
// pass for whole (a character without its level or meaning, a surname read its common way, an
// unknown birthplace blamed on the user).

#include "core/datafile.h"
#include "core/gbk.h"
#include "core/tables.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace hmf::core;

namespace {

// The bytes of a file up to the line end nearest to its middle: a table that lost its second half.
std::string cutAtALineEnd(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.substr(0, bytes.find('\n', bytes.size() / 2) + 1);
}

TEST(Completeness, ATableCutAtALineEndIsRefusedWithItsName)
{
    const fs::path data = std::getenv("HMF_DATA_DIR");
    const fs::path dir = fs::temp_directory_path() / ("hmf-cut-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(data))
        fs::copy_file(entry.path(), dir / entry.path().filename());
    ASSERT_TRUE(hmf::test::succeeded(loadTables(dir)));

    const struct
    {
        const char* file;
        const char* what; // the start of the message
    } cases[] = {
        {"levels.txt", "表不全：应有"},       {"meanings.txt", "表不全：应有"},
        {"badwords.txt", "表不全：应有"},     {"polyphones.txt", "表不全：应有"},
        {"surnames.txt", "表不全：应有"},     {"traditional.txt", "表不全：应有"},
        {"cities.txt", "表不全：应有"},       {"names.txt", "表不全：应有"},
        {"namepairs.txt", "表不全：应有"},    {"sexagenary.txt", "应有60行"},
        {"elements.txt", "应有五个五行列表"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string whole = [&] {
            std::ifstream in(data / c.file, std::ios::binary);
            return std::string((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        }();
        std::ofstream(dir / c.file, std::ios::binary | std::ios::trunc)
            << cutAtALineEnd(data / c.file);
        const Error e = hmf::test::failure(loadTables(dir));
        EXPECT_EQ(e.file, c.file) << e.message();
        EXPECT_TRUE(e.isDataFault()) << e.message();
        EXPECT_EQ(e.what.rfind(c.what, 0), 0u) << e.message();
        std::ofstream(dir / c.file, std::ios::binary | std::ios::trunc) << whole;
    }
    fs::remove_all(dir);
}

// The count line itself: a table without one is refused, and one with more rows than it says.
TEST(Completeness, TheRowCountLineIsRequiredAndExact)
{
    const struct
    {
        const char* text;
        const char* what; // empty: accepted
    } cases[] = {
        {"# 说明\n# 行数：2\n甲\t1\n\n乙\t2\n", ""},
        {"# 行数：2\r\n甲\t1\r\n乙\t2\r\n", ""},
        {"甲\t1\n乙\t2\n", "缺少“# 行数：N”一行"},
        {"# 行数：二\n甲\t1\n", "缺少“# 行数：N”一行"},
        {"# 行数：3\n甲\t1\n乙\t2\n", "表不全：应有3行，读到2行"},
        {"# 行数：1\n甲\t1\n乙\t2\n", "行数不符：应有1行，读到2行"},
        // Only the header counts: a count line among the rows is no count line.
        {"甲\t1\n# 行数：1\n", "缺少“# 行数：N”一行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Status s = checkRowCount(c.text, "t.txt");
        if (*c.what == 0) {
            EXPECT_TRUE(hmf::test::succeeded(s));
            continue;
        }
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().what.rfind(c.what, 0), 0u) << s.error().message();
    }
}

} // namespace
