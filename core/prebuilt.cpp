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

void Fingerprint::add(std::string_view piece)
{
    // Eight bytes a lane, four lanes a step: a table of a few hundred kilobytes takes a fraction
    // of a millisecond, far less than decoding it.
    const char* p = piece.data();
    std::size_t n = piece.size();
    m_size += n;
    while (n >= kStep) {
        for (auto& lane : m_lanes) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            lane = (lane ^ word) * kMultiplier;
            lane ^= lane >> 29;
            p += 8;
        }
        n -= kStep;
    }
    m_tail.assign(p, n);
}

std::uint64_t Fingerprint::value() const
{
    std::uint64_t h = m_size * kMultiplier;
    for (auto lane : m_lanes)
        h = mix(h ^ lane);
    for (const char c : m_tail)
        h = (h ^ static_cast<unsigned char>(c)) * kMultiplier;
    return mix(h);
}

std::uint64_t fingerprint(std::string_view bytes)
{
    Fingerprint f;
    f.add(bytes);
    return f.value();
}

void installPrebuiltTables(std::span<const PrebuiltTable> tables)
{
    g_prebuilt = tables;
}

bool hasPrebuiltTable(std::string_view key)
{
    for (const auto& table : g_prebuilt)
        if (table.key == key)
            return true;
    return false;
}

std::string_view prebuiltForm(std::string_view key, std::span<const PrebuiltFile> files)
{
    for (const auto& table : g_prebuilt) {
        if (table.key != key)
            continue;
        if (table.files.size() != files.size())
            return {};
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto& shipped = table.files[i];
            if (shipped.name != files[i].name || shipped.size != files[i].size ||
                shipped.fingerprint != files[i].fingerprint)
                return {};
        }
        return table.form;
    }
    return {};
}

} // namespace hmf::core
