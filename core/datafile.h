#pragma once
// Reading the program's GBK data files into UTF-8 text.

#include "core/loaderror.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace hmf::core {

// The largest table file read: the biggest shipped table is a few hundred kilobytes, and a
// table of many megabytes is damaged or not a table at all.
inline constexpr std::uintmax_t kMaxTableBytes = 8u << 20;

// The whole file decoded from GBK to UTF-8; on failure fills `error` (missing file, not a regular
// file, unreadable, larger than `maxBytes` (refused before reading), invalid GBK with the line of
// the fault) and returns nullopt.
std::optional<std::string> readGbkFile(const std::filesystem::path& path, LoadError& error,
                                       std::uintmax_t maxBytes = kMaxTableBytes);

// "file too large" in the words of readGbkFile, for a limit of `maxBytes`.
std::string tooLargeText(std::uintmax_t maxBytes);

// The data directory: $HMF_DATA_DIR when set, else the first of <exeDir>/../data,
// <exeDir>/data and <exeDir>/../share/huimingfang/data that holds the tables.
std::filesystem::path findDataDirectory(const std::filesystem::path& executableDir);

// Directory of the running executable (falls back to the current directory).
std::filesystem::path executableDirectory();

} // namespace hmf::core
