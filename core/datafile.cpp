#include "core/datafile.h"

#include "core/gbk.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace hmf::core {

std::optional<std::string> readGbkFile(const std::filesystem::path& path, LoadError& error)
{
    error = LoadError{path.filename().string(), 0, {}};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error.what = "文件不存在 (file not found)";
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        error.what = "无法读取 (cannot read)";
        return std::nullopt;
    }
    DecodeResult decoded = gbkToUtf8(bytes);
    if (!decoded.text) {
        const auto upTo = bytes.begin() + static_cast<std::ptrdiff_t>(decoded.errorOffset);
        error.line = 1 + static_cast<int>(std::count(bytes.begin(), upTo, '\n'));
        error.what =
            "不是有效的GBK文本 (invalid GBK at byte " + std::to_string(decoded.errorOffset) + ")";
        return std::nullopt;
    }
    return decoded.text;
}

std::filesystem::path findDataDirectory(const std::filesystem::path& executableDir)
{
    if (const char* env = std::getenv("HMF_DATA_DIR"); env && *env)
        return env;
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

std::filesystem::path executableDirectory()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

} // namespace hmf::core
