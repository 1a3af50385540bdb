#include "core/gbk.h"

#include "core/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace hmf::core {
namespace {

// GBK to Unicode for every byte and byte pair, written by iconv itself at build time
// (tools/gbkcodes.cpp), so that the tables decode with a look-up per character, exactly as iconv
// would decode them, and no process asks iconv for the 24,000 codes when it starts.
#include "gbkcodes.inc"

constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kTrails = 0xFF - kFirstTrail; // 0x40 .. 0xFE
constexpr std::size_t kPairCount = std::size_t((kLastLead - kFirstLead + 1) * kTrails);
static_assert(std::size(kGbkSingleBytes) == 128);
static_assert(std::size(kGbkPairs) == kPairCount);

// The UTF-8 of one character of at most three bytes in the low three bytes of a word, in
// memory order, and their count in the high byte; 0 for a code GBK leaves empty. A character is
// then written as one four-byte store (its fourth byte is overwritten by the next character).
constexpr std::uint32_t packedUtf8(char32_t cp)
{
    if (cp == 0)
        return 0;
    if (cp < 0x800)
        return (0xC0u | (cp >> 6)) | (0x80u | (cp & 0x3F)) << 8 | 2u << 24;
    return (0xE0u | (cp >> 12)) | (0x80u | ((cp >> 6) & 0x3F)) << 8 | (0x80u | (cp & 0x3F)) << 16 |
           3u << 24;
}

// Every pair's UTF-8, worked out by the compiler: decoding a character is one look-up and one
// store.
constexpr std::array<std::uint32_t, kPairCount> pairCodes()
{
    std::array<std::uint32_t, kPairCount> codes{};
    for (std::size_t k = 0; k < kPairCount; ++k) {
        // GBK's pairs all lie in the Basic Multilingual Plane.
        if (kGbkPairs[k] >= 0x10000)
            throw "a GBK pair outside the Basic Multilingual Plane";
        codes[k] = packedUtf8(kGbkPairs[k]);
    }
    return codes;
}
constexpr std::array<std::uint32_t, kPairCount> kPairCodes = pairCodes();
constexpr bool singlesInThreeBytes()
{
    for (char32_t cp : kGbkSingleBytes)
        if (cp >= 0x10000)
            return false;
    return true;
}
static_assert(singlesInThreeBytes());

class GbkDecoder
{
  public:
    // Appends the UTF-8 of the whole text; false and the offset of the first byte that does not
    // decode otherwise.
    static bool decode(std::string_view in, std::string& out, std::size_t& errorOffset)
    {
        // Room for three bytes of UTF-8 for every two of GBK, and four more so that every
        // character is written as one four-byte store. Only a one-byte character (€) takes more,
        // and makes its room itself.
        out.resize(in.size() / 2 * 3 + in.size() % 2 * 3 + 4);
        // Written through a local pointer: stores through a char pointer may alias the string
        // itself, and the compiler would reload its buffer after each one.
        char* to = out.data();
        const auto* bytes = reinterpret_cast<const unsigned char*>(in.data());
        const std::size_t n = in.size();
        for (std::size_t i = 0; i < n;) {
            const unsigned char b = bytes[i];
            if (b < 0x80) {
                *to++ = static_cast<char>(b);
                ++i;
                continue;
            }
            if (b >= kFirstLead && b <= kLastLead && i + 1 < n && bytes[i + 1] >= kFirstTrail &&
                bytes[i + 1] < kFirstTrail + kTrails) {
                const std::uint32_t code = kPairCodes[static_cast<std::size_t>(
                    (b - kFirstLead) * kTrails + (bytes[i + 1] - kFirstTrail))];
                if (code != 0) {
                    std::memcpy(to, &code, 4);
                    to += code >> 24;
                    i += 2;
                    continue;
                }
            }
            const char32_t cp = kGbkSingleBytes[b - 0x80u];
            if (cp == 0) {
                errorOffset = i;
                out.clear();
                return false;
            }
            // One byte to three (0x80 is €): the only character that needs more room.
            const std::uint32_t code = packedUtf8(cp);
            const auto used = static_cast<std::size_t>(to - out.data());
            out.resize(out.size() + 2);
            to = out.data() + used;
            std::memcpy(to, &code, 4);
            to += code >> 24;
            ++i;
        }
        out.resize(static_cast<std::size_t>(to - out.data()));
        return true;
    }
};

// The GBK code of each character the table decodes, ordered by character, for encoding. Where
// two codes decode to one character, the pair wins over the single byte and the lower pair over
// the higher, as iconv encodes them.
struct GbkEncoding
{
    char32_t codepoint;
    std::uint16_t bytes; // a pair as lead << 8 | trail, or one byte
};

const std::vector<GbkEncoding>& gbkEncodings()
{
    static const std::vector<GbkEncoding> codes = [] {
        std::vector<GbkEncoding> all;
        all.reserve(kPairCount + 128);
        for (std::size_t k = 0; k < kPairCount; ++k)
            if (kGbkPairs[k] != 0)
                all.push_back(
                    {kGbkPairs[k], static_cast<std::uint16_t>((kFirstLead + k / kTrails) << 8 |
                                                              (kFirstTrail + k % kTrails))});
        for (std::size_t b = 0; b < 128; ++b)
            if (kGbkSingleBytes[b] != 0)
                all.push_back({kGbkSingleBytes[b], static_cast<std::uint16_t>(0x80 + b)});
        // Stable: of the codes of one character, the first pushed stays first and is kept.
        std::stable_sort(all.begin(), all.end(), [](const GbkEncoding& a, const GbkEncoding& b) {
            return a.codepoint < b.codepoint;
        });
        all.erase(std::unique(all.begin(), all.end(),
                              [](const GbkEncoding& a, const GbkEncoding& b) {
                                  return a.codepoint == b.codepoint;
                              }),
                  all.end());
        return all;
    }();
    return codes;
}

} // namespace

DecodeResult gbkToUtf8(std::string_view gbk)
{
    DecodeResult result;
    std::string out;
    std::size_t offset = 0;
    const bool ok = GbkDecoder::decode(gbk, out, offset);
    if (ok)
        result.text = std::move(out);
    else
        result.errorOffset = offset;
    return result;
}

std::optional<std::string> utf8ToGbk(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto first = firstCodepoint(utf8.substr(i));
        if (!first)
            return std::nullopt;
        i += first->second;
        if (first->first < 0x80) {
            out += static_cast<char>(first->first);
            continue;
        }
        const auto& codes = gbkEncodings();
        const auto it = std::lower_bound(
            codes.begin(), codes.end(), first->first,
            [](const GbkEncoding& code, char32_t cp) { return code.codepoint < cp; });
        if (it == codes.end() || it->codepoint != first->first)
            return std::nullopt;
        if (it->bytes > 0xFF)
            out += static_cast<char>(it->bytes >> 8);
        out += static_cast<char>(it->bytes & 0xFF);
    }
    return out;
}

} // namespace hmf::core
