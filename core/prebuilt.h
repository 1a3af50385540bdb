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
// The same fingerprint taken piece by piece: every piece but the last a multiple of kStep bytes.
class Fingerprint
{
  public:
    static constexpr std::size_t kStep = 32;
    void add(std::string_view piece);
    std::uint64_t value() const;

  private:
    std::uint64_t m_lanes[4] = {1, 2, 3, 4};
    std::uint64_t m_size = 0;
    std::string m_tail; // the last piece's bytes after its last whole step
};

// Makes `tables` the prebuilt tables of this process. Called once, before the first table is
// read; without it every table is parsed from its files.
void installPrebuiltTables(std::span<const PrebuiltTable> tables);

// The tables of the data directory this program was built with, compiled in by the
// prebuilt_tables library; a program starts with installPrebuiltTables(prebuiltTables()).
std::span<const PrebuiltTable> prebuiltTables();

// Whether a table of that key is prebuilt at all: without one, its files are only parsed.
bool hasPrebuiltTable(std::string_view key);

// The compiled-in form of table `key` when `files` (name, size and fingerprint of the files on
// disk) are exactly its shipped files, in order; empty otherwise.
std::string_view prebuiltForm(std::string_view key, std::span<const PrebuiltFile> files);

} // namespace hmf::core
