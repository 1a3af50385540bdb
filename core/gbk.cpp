#include "core/gbk.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <vector>

namespace hmf::core {
namespace {

// Converts with iconv; returns false and the offset of the fault when the input does not
// convert completely.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             std::size_t& errorOffset)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        errorOffset = 0;
        return false;
    }
    out.clear();
    std::vector<char> buffer(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            ok = false;
        out.append(buffer.data(), buffer.size() - outLeft);
    }
    errorOffset = in.size() - inLeft;
    iconv_close(cd);
    return ok;
}

// GBK to Unicode for every byte and byte pair, written by iconv itself at build time
// (tools/gbkcodes.cpp), so that the tables decode with a look-up per character, exactly as iconv
// would decode them, and no process asks iconv for the 24,000 codes when it starts.
#include "gbkcodes.inc"

class GbkDecoder
{
  public:
    // Appends the UTF-8 of the whole text; false and the offset of the first byte that does not
    // decode otherwise.
    static bool decode(std::string_view in, std::string& out, std::size_t& errorOffset)
    {
        out.clear();
        out.reserve(in.size() * 3 / 2 + 16);
        // Characters go to a small buffer first, which joins `out` a few kilobytes at a time.
        char buffer[4096];
        std::size_t used = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(in.data());
        const std::size_t n = in.size();
        for (std::size_t i = 0; i < n;) {
            if (used > sizeof buffer - 4) {
                out.append(buffer, used);
                used = 0;
            }
            const unsigned char b = bytes[i];
            if (b < 0x80) {
                buffer[used++] = static_cast<char>(b);
                ++i;
                continue;
            }
            char32_t cp = kGbkSingleBytes[b - 0x80u];
            std::size_t length = 1;
            if (cp == 0 && b >= kFirstLead && b <= kLastLead && i + 1 < n &&
                bytes[i + 1] >= kFirstTrail && bytes[i + 1] < kFirstTrail + kTrails) {
                cp = kGbkPairs[static_cast<std::size_t>((b - kFirstLead) * kTrails +
                                                      (bytes[i + 1] - kFirstTrail))];
                length = 2;
            }
            if (cp == 0) {
                errorOffset = i;
                return false;
            }
            used += encodeUtf8(cp, buffer + used);
            i += length;
        }
        out.append(buffer, used);
        return true;
    }

  private:
    static constexpr int kFirstLead = 0x81;
    static constexpr int kLastLead = 0xFE;
    static constexpr int kFirstTrail = 0x40;
    static constexpr int kTrails = 0xFF - kFirstTrail; // 0x40 .. 0xFE
    static_assert(std::size(kGbkSingleBytes) == 128);
    static_assert(std::size(kGbkPairs) == std::size_t((kLastLead - kFirstLead + 1) * kTrails));

    static std::size_t encodeUtf8(char32_t cp, char* out)
    {
        if (cp < 0x800) {
            out[0] = static_cast<char>(0xC0 | (cp >> 6));
            out[1] = static_cast<char>(0x80 | (cp & 0x3F));
            return 2;
        }
        if (cp < 0x10000) {
            out[0] = static_cast<char>(0xE0 | (cp >> 12));
            out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[2] = static_cast<char>(0x80 | (cp & 0x3F));
            return 3;
        }
        out[0] = static_cast<char>(0xF0 | (cp >> 18));
        out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (cp & 0x3F));
        return 4;
    }
};

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
    std::size_t offset = 0;
    if (!convert("GBK", "UTF-8", utf8, out, offset))
        return std::nullopt;
    return out;
}

} // namespace hmf::core
