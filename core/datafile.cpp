#include "core/datafile.h"

#include "core/gbk.h"
#include "core/platform.h"
#include "core/prebuilt.h"
#include "core/text.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace hmf::core {

std::string tooLargeText(std::uintmax_t maxBytes)
{
    const std::uintmax_t kib = maxBytes >> 10;
    const std::string limit = kib >= 1024 && kib % 1024 == 0 ? std::to_string(kib >> 10) + " MB"
                                                             : std::to_string(kib) + " KB";
    return "文件过大，超过" + limit + " (file too large)";
}

TableRows::TableRows(std::string_view text, const std::string& fileName, LoadError& error,
                     std::size_t maxFields, SkipLines skip)
    : m_text(text), m_fileName(fileName), m_error(error),
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
        if (m_row.size() > kMaxRowBytes)
            return fail("行过长，超过" + std::to_string(kMaxRowBytes >> 10) +
                        " KB (line too long)");
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

bool TableRows::fail(std::string what)
{
    m_error = LoadError{m_fileName, m_line, std::move(what)};
    m_failed = true;
    return false;
}

namespace {

// Opens a table file into `in` after the checks: it exists, is a regular file and is not too
// large. Returns its size, or nullopt with `error` filled.
std::optional<std::uintmax_t> openTableFile(const std::filesystem::path& path, LoadError& error,
                                            std::uintmax_t maxBytes, std::ifstream& in)
{
    error = LoadError{path.filename().string(), 0, {}};
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        // An unsearchable directory on the way: the file may well exist.
        error.what = "无法读取 (cannot read: " + ec.message() + ")";
        return std::nullopt;
    }
    if (!std::filesystem::exists(status)) {
        error.what = "文件不存在 (file not found)";
        return std::nullopt;
    }
    // A directory, a device such as /dev/zero or a FIFO: never read (a FIFO would block).
    if (!std::filesystem::is_regular_file(status)) {
        error.what = "不是普通文件 (not a regular file)";
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        error.what = tooLargeText(maxBytes);
        return std::nullopt;
    }
    if (ec) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    in.open(path, std::ios::binary);
    if (!in) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    return size;
}

} // namespace

std::optional<FileStamp> stampFile(const std::filesystem::path& path, LoadError& error,
                                   std::uintmax_t maxBytes)
{
    std::ifstream in;
    const auto size = openTableFile(path, error, maxBytes, in);
    if (!size)
        return std::nullopt;
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
    if (in.bad() || stamp.size != *size) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    stamp.fingerprint = fingerprint.value();
    return stamp;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path, LoadError& error,
                                         std::uintmax_t maxBytes)
{
    std::ifstream in;
    const auto size = openTableFile(path, error, maxBytes, in);
    if (!size)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> decodeGbkBytes(std::string_view bytes, const std::string& fileName,
                                          LoadError& error)
{
    DecodeResult decoded = gbkToUtf8(bytes);
    if (!decoded.text) {
        const auto upTo = bytes.begin() + static_cast<std::ptrdiff_t>(decoded.errorOffset);
        error = LoadError{fileName, 1 + static_cast<int>(std::count(bytes.begin(), upTo, '\n')),
                          "不是有效的GBK文本 (invalid GBK at byte " +
                              std::to_string(decoded.errorOffset) + ")"};
        return std::nullopt;
    }
    return decoded.text;
}

std::optional<std::string> readGbkFile(const std::filesystem::path& path, LoadError& error,
                                       std::uintmax_t maxBytes)
{
    auto bytes = readFileBytes(path, error, maxBytes);
    if (!bytes)
        return std::nullopt;
    return decodeGbkBytes(*bytes, path.filename().string(), error);
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
