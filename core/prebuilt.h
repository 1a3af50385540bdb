#pragma once
// Prebuilt tables: the tables as the program ships them, parsed when the program was built
// and compiled in (tools/prebuilttables.cpp writes them). A table whose files on disk are byte
// for byte the shipped ones is brought back from here instead of being decoded and parsed again.
// The files stay the source of truth: a file that was edited, replaced or damaged does not match,
// and is read and checked as ever.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hmf::core {

struct PrebuiltFile
{
    std::string_view name;
    std::uint64_t size = 0;
    std::uint64_t fingerprint = 0;
};

struct PrebuiltTable
{
    std::string_view key; // "strokes", "pinyin", "verse", …
    std::span<const PrebuiltFile> files;
    std::string_view form; // the parsed table, as ArchiveWriter wrote it
};

// A 64-bit fingerprint of a file's bytes. Not cryptographic: it tells a file that was changed
// from the one shipped, not a file forged to look shipped.
std::uint64_t fingerprint(std::string_view bytes);

// Makes `tables` the prebuilt tables of this process. Called once, before the first table is
// read; without it every table is parsed from its files.
void installPrebuiltTables(std::span<const PrebuiltTable> tables);

// The tables of the data directory this program was built with, compiled in by the
// prebuilt_tables library; a program starts with installPrebuiltTables(prebuiltTables()).
std::span<const PrebuiltTable> prebuiltTables();

// One file of a table as read from disk.
struct FileBytes
{
    std::string_view name;
    std::string_view bytes;
};

// The compiled-in form of table `key` when `files` are exactly its shipped files, in order;
// empty otherwise.
std::string_view prebuiltForm(std::string_view key, std::span<const FileBytes> files);

} // namespace hmf::core
