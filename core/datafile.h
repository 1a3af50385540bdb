#pragma once
// Reading the program's GBK data files into UTF-8 text.

#include "core/result.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::core {

// The largest table file read: the biggest shipped table is a few hundred kilobytes, and a
// table of many megabytes is damaged or not a table at all.
inline constexpr std::uintmax_t kMaxTableBytes = 8u << 20;

// The whole file decoded from GBK to UTF-8, or the fault: missing file, not a regular file,
// unreadable, larger than `maxBytes` (refused before reading), invalid GBK with the line of the
// fault.
Result<std::string> readGbkFile(const std::filesystem::path& path,
                                std::uintmax_t maxBytes = kMaxTableBytes);

// The two steps of readGbkFile: the file's bytes as they are, with the same checks, and their
// text decoded from GBK (a fault names `fileName` and the line of the fault).
Result<std::string> readFileBytes(const std::filesystem::path& path,
                                  std::uintmax_t maxBytes = kMaxTableBytes);
// The size and fingerprint (core/prebuilt.h) of a file, read with the checks of readFileBytes
// but without keeping its bytes.
struct FileStamp
{
    std::uint64_t size = 0;
    std::uint64_t fingerprint = 0;
};
Result<FileStamp> stampFile(const std::filesystem::path& path,
                            std::uintmax_t maxBytes = kMaxTableBytes);
Result<std::string> decodeGbkBytes(std::string_view bytes, const std::string& fileName);

// The longest line a table may hold: the longest shipped line is a few kilobytes, and a line of
// megabytes is refused before it is split.
inline constexpr std::size_t kMaxRowBytes = 64u << 10;

// Which lines of a table are no rows. An empty last line (the text ends in a blank line) never
// is one.
enum class SkipLines {
    None,           // every line is a row
    Empty,          // empty lines are skipped
    BlankOrComment, // lines of blanks only and lines that begin with '#' are skipped too
};

// The rows of a table text, line by line ("\n" or "\r\n" ended), each split at TABs. A loader
// reads its rows with next() and reports a fault of the current row with fail(), which names the
// file and the line:
//     TableRows rows(text, fileName, 2);
//     while (rows.next())
//         if (rows.field(0).empty()) return rows.fail("...");
//     if (rows.failed()) return rows.error();
class TableRows
{
  public:
    // At most `maxFields` fields a row (1 to kMaxFields): the last one keeps the rest of the
    // line with its TABs, so a loader that wants N fields asks for N + 1 and refuses N + 1.
    TableRows(std::string_view text, const std::string& fileName, std::size_t maxFields,
              SkipLines skip = SkipLines::Empty);

    // Moves to the next row; false at the end of the text or when the row is too long (then
    // failed() is true).
    bool next();

    int line() const { return m_line; }
    std::string_view text() const { return m_row; }
    std::size_t fieldCount() const { return m_fieldCount; }
    std::string_view field(std::size_t i) const { return i < m_fieldCount ? m_fields[i] : ""; }
    // How many rows next() has handed out.
    int rows() const { return m_rows; }

    // Records a fault of the current row (line 0 before the first row and after the last), after
    // which next() hands out no more rows, and returns it.
    Error fail(std::string what);
    bool failed() const { return m_failed; }
    const Error& error() const { return m_error; }

    static constexpr std::size_t kMaxFields = 8;

  private:
    std::string_view m_text;
    const std::string& m_fileName;
    Error m_error;
    std::size_t m_maxFields;
    SkipLines m_skip;
    std::string_view m_row;
    std::array<std::string_view, kMaxFields> m_fields{};
    std::size_t m_fieldCount = 0;
    int m_line = 0;
    int m_rows = 0;
    bool m_failed = false;
    bool m_ended = false;
};

// Hands each row of exactly `columns` TAB-separated fields to `record` (the text's fields and
// its reader, for the line and for fail()), which returns a Status; stops at the first fault. A
// row with another count of fields and a text without any row are faults as well. Blank lines
// and '#' comments are skipped.
template <typename Record>
Status forEachRow(std::string_view text, const std::string& fileName, std::size_t columns,
                  Record&& record);

// The tables we write ourselves say in their header how many rows they hold, in a comment line
// such as "# 行数：7831", so that a file cut short at a line end is refused instead of read in
// part. A row is a line neither blank nor beginning with '#'.
inline constexpr std::string_view kRowCountLine = "# 行数：";

// The number a header's count line (`countLine` followed by digits) gives, or nullopt without
// one. Only the comment lines before the first row are the header.
std::optional<std::size_t> statedCount(std::string_view text, std::string_view countLine);

// Refuses a text whose rows are not as many as its "# 行数：N" line says, or that has no such line.
Status checkRowCount(std::string_view text, const std::string& fileName);

// "file too large" in the words of readGbkFile, for a limit of `maxBytes`.
std::string tooLargeText(std::uintmax_t maxBytes);

// The data directory: $HMF_DATA_DIR when set, else the first of <exeDir>/../data,
// <exeDir>/data and <exeDir>/../share/huimingfang/data that holds the tables.
std::filesystem::path findDataDirectory(const std::filesystem::path& executableDir);

template <typename Record>
Status forEachRow(std::string_view text, const std::string& fileName, std::size_t columns,
                  Record&& record)
{
    TableRows rows(text, fileName, columns + 1, SkipLines::BlankOrComment);
    while (rows.next()) {
        if (rows.fieldCount() != columns)
            return rows.fail("应有" + std::to_string(columns) + "个以制表符分隔的字段 (expected " +
                             std::to_string(columns) + " TAB-separated fields)");
        if (Status status = record(rows); !status)
            return status;
    }
    if (rows.failed())
        return rows.error();
    if (rows.rows() == 0)
        return rows.fail("表为空 (empty table)");
    return {};
}

} // namespace hmf::core
