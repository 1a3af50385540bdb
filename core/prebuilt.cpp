#include "core/prebuilt.h"

#include <cstring>

namespace hmf::core {

namespace {

std::span<const PrebuiltTable> g_prebuilt;

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t mix(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

} // namespace

std::uint64_t fingerprint(std::string_view bytes)
{
    // Eight bytes a step, four lanes: a table of a few hundred kilobytes takes a fraction of a
    // millisecond, far less than decoding it.
    std::uint64_t lanes[4] = {1, 2, 3, 4};
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    while (n >= 32) {
        for (auto& lane : lanes) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            lane = (lane ^ word) * kMultiplier;
            lane ^= lane >> 29;
            p += 8;
        }
        n -= 32;
    }
    std::uint64_t h = bytes.size() * kMultiplier;
    for (auto lane : lanes)
        h = mix(h ^ lane);
    for (; n; --n, ++p)
        h = (h ^ static_cast<unsigned char>(*p)) * kMultiplier;
    return mix(h);
}

void installPrebuiltTables(std::span<const PrebuiltTable> tables)
{
    g_prebuilt = tables;
}

std::string_view prebuiltForm(std::string_view key, std::span<const FileBytes> files)
{
    for (const auto& table : g_prebuilt) {
        if (table.key != key)
            continue;
        if (table.files.size() != files.size())
            return {};
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto& shipped = table.files[i];
            if (shipped.name != files[i].name || shipped.size != files[i].bytes.size() ||
                shipped.fingerprint != fingerprint(files[i].bytes))
                return {};
        }
        return table.form;
    }
    return {};
}

} // namespace hmf::core
