#pragma once
// The one place where GBK, the encoding of the data files on disk, meets the UTF-8 used inside
// the program, both ways with glibc iconv's GBK table (taken from iconv at build time).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hmf::core {

struct DecodeResult
{
    std::optional<std::string> text; // UTF-8 when the whole input decoded
    std::size_t errorOffset = 0;     // byte offset of the first undecodable sequence otherwise
};

DecodeResult gbkToUtf8(std::string_view gbk);

// nullopt when some character of the text has no GBK form.
std::optional<std::string> utf8ToGbk(std::string_view utf8);

} // namespace hmf::core
