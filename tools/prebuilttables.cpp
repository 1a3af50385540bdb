// Writes the prebuilt tables that the programs compile in (core/prebuilt.h): every table of the
// data directory, read and checked as a program reads it, in its archived form, with the size
// and fingerprint of each of its files. A table that does not load fails the build.
//   prebuilttables <data directory> <output .cpp>

#include "core/datafile.h"
#include "core/prebuilt.h"
#include "core/tables.h"
#include "naming/verse.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using hmf::core::Error;

// The bytes as a string literal in pieces of a line each: printable ASCII as it is, every
// other byte as a three-digit octal escape (which no following digit can lengthen).
void writeLiteral(std::ostream& out, std::string_view bytes)
{
    std::string line;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
            line += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", c);
            line += escape;
        }
        if (line.size() >= 96) {
            out << "    \"" << line << "\"\n";
            line.clear();
        }
    }
    out << "    \"" << line << "\"";
}

struct Table
{
    std::string key;
    std::vector<std::string> files;
    std::string form;
};

bool fail(const Error& error)
{
    std::cerr << "prebuilttables: " << error.message() << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: prebuilttables <data directory> <output .cpp>\n";
        return 2;
    }
    const std::filesystem::path dataDir = argv[1];
    const auto loaded = hmf::core::loadTables(dataDir);
    if (!loaded)
        return fail(loaded.error()), 1;
    const auto& tables = *loaded;
    std::vector<Table> shipped;
    for (const auto& group : hmf::core::tableGroups()) {
        Table table{std::string(group.key), {}, tables->archived(group.part)};
        for (const char* file : group.files)
            if (file)
                table.files.emplace_back(file);
        shipped.push_back(std::move(table));
    }
    const auto verse = hmf::naming::VerseTable::load(dataDir / "verse.txt");
    if (!verse)
        return fail(verse.error()), 1;
    shipped.push_back(
        {std::string(hmf::naming::VerseTable::kPrebuiltKey), {"verse.txt"}, verse->archived()});

    std::ofstream out(argv[2], std::ios::binary);
    out << "// Written by tools/prebuilttables.cpp from the data directory at build time.\n"
           "#include \"core/prebuilt.h\"\n\n"
           "namespace hmf::core {\n\nnamespace {\n\n";
    for (std::size_t t = 0; t < shipped.size(); ++t) {
        out << "constexpr PrebuiltFile kFiles" << t << "[] = {\n";
        for (const auto& file : shipped[t].files) {
            // Stamped as the programs stamp the files they find.
            const auto stamp = hmf::core::stampFile(dataDir / file);
            if (!stamp)
                return fail(stamp.error()), 1;
            out << "    {\"" << file << "\", " << stamp->size << "u, 0x" << std::hex
                << stamp->fingerprint << std::dec << "ull},\n";
        }
        out << "};\n";
        // Aligned, so that the blocks of the form can be lent as they stand (core/block.h).
        out << "alignas(16) constexpr char kForm" << t << "[] =\n";
        writeLiteral(out, shipped[t].form);
        out << ";\n\n";
    }
    out << "constexpr PrebuiltTable kTables[] = {\n";
    for (std::size_t t = 0; t < shipped.size(); ++t)
        out << "    {\"" << shipped[t].key << "\", kFiles" << t << ", {kForm" << t << ", "
            << shipped[t].form.size() << "u}},\n";
    out << "};\n\n} // namespace\n\n"
           "std::span<const PrebuiltTable> prebuiltTables()\n{\n    return kTables;\n}\n\n"
           "} // namespace hmf::core\n";
    out.close();
    if (!out) {
        std::cerr << "prebuilttables: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
