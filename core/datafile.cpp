#include "core/datafile.h"

#include <charconv>

#include "core/gbk.h"
#include "core/platform.h"
#include "core/prebuilt.h"
#include "core/text.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace hmf::core {

std::optional<std::size_t> statedCount(std::string_view text, std::string_view countLine)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        if (!line.starts_with('#') && !trimBlanksView(line).empty())
            return std::nullopt; // the header ends at the first row
        if (line.starts_with(countLine)) {
            const std::string_view digits = trimBlanksView(line.substr(countLine.size()));
            std::size_t n = 0;
            const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
            if (ec != std::errc() || p != digits.data() + digits.size())
                return std::nullopt;
            return n;
        }
        at = end + 1;
    }
    return std::nullopt;
}

Status checkRowCount(std::string_view text, const std::string& fileName)
{
    const auto stated = statedCount(text, kRowCountLine);
    if (!stated)
        return Error{ErrorCode::BadData,
                     "缺少“" + std::string(kRowCountLine) + "N”一行 (row count line missing)",
                     fileName, 0};
    std::size_t rows = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        if (!line.starts_with('#') && !trimBlanksView(line).empty())
            ++rows;
        at = end + 1;
    }
    if (rows == *stated)
        return {};
    return Error{ErrorCode::BadData,
                 (rows < *stated ? "表不全：应有" : "行数不符：应有") + std::to_string(*stated) +
                     "行，读到" + std::to_string(rows) + "行" +
                     (rows < *stated ? " (table incomplete)" : " (row count differs)"),
                 fileName, 0};
}

std::string tooLargeText(std::uintmax_t maxBytes)
{
    const std::uintmax_t kib = maxBytes >> 10;
    const std::string limit = kib >= 1024 && kib % 1024 == 0 ? std::to_string(kib >> 10) + " MB"
                                                             : std::to_string(kib) + " KB";
    return "文件过大，超过" + limit + " (file too large)";
}

TableRows::TableRows(std::string_view text, const std::string& fileName, std::size_t maxFields,
                     SkipLines skip)
    : m_text(text), m_fileName(fileName),
      m_maxFields(std::clamp<std::size_t>(maxFields, 1, kMaxFields)), m_skip(skip)
{
}

bool TableRows::next()
{
    while (!m_ended && !m_failed) {
        if (m_text.empty()) {
            m_ended = true;
            break;
        }
        m_row = takeLine(m_text);
        ++m_line;
        if (m_row.empty() && (m_text.empty() || m_skip != SkipLines::None))
            continue;
        if (m_row.size() > kMaxRowBytes) {
            fail("行过长，超过" + std::to_string(kMaxRowBytes >> 10) + " KB (line too long)");
            return false;
        }
        if (m_skip == SkipLines::BlankOrComment &&
            (m_row.front() == '#' || trimBlanksView(m_row).empty()))
            continue;
        m_fieldCount = 0;
        std::string_view rest = m_row;
        while (m_fieldCount + 1 < m_maxFields) {
            const auto tab = rest.find('\t');
            if (tab == std::string_view::npos)
                break;
            m_fields[m_fieldCount++] = rest.substr(0, tab);
            rest.remove_prefix(tab + 1);
        }
        m_fields[m_fieldCount++] = rest;
        ++m_rows;
        return true;
    }
    // Faults found after the last row concern the table as a whole.
    m_line = 0;
    m_row = {};
    m_fieldCount = 0;
    return false;
}

Error TableRows::fail(std::string what)
{
    m_error = Error{ErrorCode::BadData, std::move(what), m_fileName, m_line};
    m_failed = true;
    return m_error;
}

namespace {

Error fileError(const std::filesystem::path& path, ErrorCode code, std::string what)
{
    return Error{code, std::move(what), path.filename().string(), 0};
}

Error unreadable(const std::filesystem::path& path)
{
    return fileError(path, ErrorCode::Unreadable, "无法读取 (cannot read)");
}

// Opens a table file into `in` after the checks: it exists, is a regular file and is not too
// large. Returns its size.
Result<std::uintmax_t> openTableFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                     std::ifstream& in)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        // An unsearchable directory on the way: the file may well exist.
        return fileError(path, ErrorCode::Unreadable,
                         "无法读取 (cannot read: " + ec.message() + ")");
    }
    if (!std::filesystem::exists(status)) {
        return fileError(path, ErrorCode::MissingFile, "文件不存在 (file not found)");
    }
    // A directory, a device such as /dev/zero or a FIFO: never read (a FIFO would block).
    if (!std::filesystem::is_regular_file(status)) {
        return fileError(path, ErrorCode::Unreadable, "不是普通文件 (not a regular file)");
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        return fileError(path, ErrorCode::TooLarge, tooLargeText(maxBytes));
    }
    if (ec) {
        return unreadable(path);
    }
    in.open(path, std::ios::binary);
    if (!in)
        return unreadable(path);
    return size;
}

} // namespace

Result<FileStamp> stampFile(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    std::ifstream in;
    const auto size = openTableFile(path, maxBytes, in);
    if (!size)
        return size.error();
    // A small buffer read again and again: the file's bytes never take memory of their own.
    constexpr std::size_t kChunk = std::size_t{1} << 15; // a multiple of Fingerprint's step
    char buffer[kChunk];
    Fingerprint fingerprint;
    FileStamp stamp;
    for (;;) {
        in.read(buffer, static_cast<std::streamsize>(kChunk));
        const auto n = static_cast<std::size_t>(in.gcount());
        fingerprint.add(std::string_view(buffer, n));
        stamp.size += n;
        if (n < kChunk)
            break;
    }
    if (in.bad() || stamp.size != *size)
        return unreadable(path);
    stamp.fingerprint = fingerprint.value();
    return stamp;
}

Result<std::string> readFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    std::ifstream in;
    const auto size = openTableFile(path, maxBytes, in);
    if (!size)
        return size.error();
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return unreadable(path);
    return bytes;
}

Result<std::string> decodeGbkBytes(std::string_view bytes, const std::string& fileName)
{
    DecodeResult decoded = gbkToUtf8(bytes);
    if (!decoded.text) {
        const auto upTo = bytes.begin() + static_cast<std::ptrdiff_t>(decoded.errorOffset);
        return Error{ErrorCode::BadData,
                     "不是有效的GBK文本 (invalid GBK at byte " +
                         std::to_string(decoded.errorOffset) + ")",
                     fileName, 1 + static_cast<int>(std::count(bytes.begin(), upTo, '\n'))};
    }
    return std::move(*decoded.text);
}

Result<std::string> readGbkFile(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    auto bytes = readFileBytes(path, maxBytes);
    if (!bytes)
        return bytes.error();
    return decodeGbkBytes(*bytes, path.filename().string());
}

std::filesystem::path findDataDirectory(const std::filesystem::path& executableDir)
{
    if (const auto env = environmentVariable("HMF_DATA_DIR"))
        return pathFromUtf8(*env);
    const std::filesystem::path candidates[] = {
        executableDir / ".." / "data",
        executableDir / "data",
        executableDir / ".." / "share" / "huimingfang" / "data",
    };
    std::error_code ec;
    for (const auto& dir : candidates) {
        if (std::filesystem::is_regular_file(dir / "gridstrokes.txt", ec))
            return std::filesystem::weakly_canonical(dir, ec);
    }
    return candidates[0];
}

} // namespace hmf::core
