#pragma once
// Reading the program's GBK data files into UTF-8 text.

#include "core/loaderror.h"

#include <filesystem>
#include <optional>
#include <string>

namespace hmf::core {

// The whole file decoded from GBK to UTF-8; on failure fills `error` (missing file, unreadable,
// invalid GBK with the line of the fault) and returns nullopt.
std::optional<std::string> readGbkFile(const std::filesystem::path& path, LoadError& error);

// The data directory: $HMF_DATA_DIR when set, else the first of <exeDir>/../data,
// <exeDir>/data and <exeDir>/../share/huimingfang/data that holds the tables.
std::filesystem::path findDataDirectory(const std::filesystem::path& executableDir);

// Directory of the running executable (falls back to the current directory).
std::filesystem::path executableDirectory();

} // namespace hmf::core
