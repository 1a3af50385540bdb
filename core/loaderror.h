#pragma once
// What went wrong while loading a data file: which file, which line, what.

#include <string>

namespace hmf::core {

struct LoadError
{
    std::string file;
    int line = 0; // 1-based; 0 when the fault concerns the file as a whole
    std::string what;

    // "file:line: what", or "file: what" without a line.
    std::string message() const;
};

} // namespace hmf::core
