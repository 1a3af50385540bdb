#pragma once
// Shared by the fuzz targets: a check that aborts (libFuzzer then keeps the input) and the
// shipped tables, loaded once per process.

#include "core/tables.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#define HMF_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace hmf::fuzz {

inline std::filesystem::path dataDirectory()
{
    const char* env = std::getenv("HMF_DATA_DIR");
    return env && *env ? env : HMF_FUZZ_DATA_DIR;
}

inline const core::Tables& shippedTables()
{
    static const std::unique_ptr<core::Tables> tables = [] {
        auto loaded = core::loadTables(dataDirectory());
        if (!loaded) {
            std::fprintf(stderr, "cannot load the tables: %s\n", loaded.error().message().c_str());
            std::abort();
        }
        return std::move(*loaded);
    }();
    return *tables;
}

} // namespace hmf::fuzz
