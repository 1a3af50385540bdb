#pragma once
// The shipped tables, loaded once for all tests of the naming engines.

#include "core/tables.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace hmf::naming::test {

// The directory of the shipped tables.
inline std::filesystem::path dataDirectory()
{
    const char* dir = std::getenv("HMF_DATA_DIR");
    return dir ? dir : "data";
}

inline const core::Tables& shippedTables()
{
    static const std::unique_ptr<core::Tables> tables = [] {
        auto loaded = core::loadTables(dataDirectory());
        if (!loaded) {
            ADD_FAILURE() << loaded.error().message();
            return std::unique_ptr<core::Tables>();
        }
        return std::move(*loaded);
    }();
    if (!tables)
        std::abort();
    return *tables;
}

inline std::filesystem::path fixture(const std::string& name)
{
    if (const char* dir = std::getenv("HMF_TEST_DATA"))
        return std::filesystem::path(dir) / "naming" / name;
    return std::filesystem::path(HMF_NAMING_FIXTURES) / name;
}

} // namespace hmf::naming::test
