#pragma once
// Character libraries: the characters the generator draws given names from, one file per sex
// (zmz.fne for boys, zwz.fne for girls), GBK text with one character per line.

#include "core/result.h"
#include "core/strokes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::naming {

// File name of the library of a sex: "男" selects zmz.fne, any other text zwz.fne.
std::string libraryFileName(std::string_view sex);

// The characters of a library text (UTF-8), in file order. Blank lines are skipped; a line that
// is not exactly one character with a grid stroke count is an error that names the file and the
// line; a library without any character is an error too. Surrounding blanks of a line are
// ignored.
core::Result<std::vector<std::string>> parseLibrary(std::string_view text,
                                                    const std::string& fileName,
                                                    const core::StrokeDictionary& strokes);

// A library has a few thousand lines; a larger file is refused unread ("字库文件过大").
inline constexpr std::uintmax_t kMaxLibraryBytes = 1 << 20;

// Reads a GBK library file and parses it; an empty path, a missing, unreadable or oversized file
// is an error as well.
core::Result<std::vector<std::string>> loadLibrary(const std::filesystem::path& path,
                                                   const core::StrokeDictionary& strokes);

} // namespace hmf::naming
