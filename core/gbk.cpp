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

// GBK to Unicode for every byte and byte pair, taken once from iconv itself, so that the tables
// decode with a look-up per character and exactly as iconv would decode them. Asking iconv for
// the 24,000 codes costs a tenth of asking it for the half megabyte of tables.
class GbkDecoder
{
  public:
    GbkDecoder()
    {
        iconv_t cd = iconv_open("UTF-32LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char one[1] = {static_cast<char>(b)};
            convertRow(cd, one, 1, 1, &m_single[static_cast<std::size_t>(b - 0x80)]);
        }
        // One row per lead byte: every trail byte after it, invalid pairs left at 0.
        std::array<char, 2 * kTrails> row{};
        std::array<char32_t, kTrails> cps{};
        for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
            for (int t = 0; t < kTrails; ++t) {
                row[static_cast<std::size_t>(2 * t)] = static_cast<char>(lead);
                row[static_cast<std::size_t>(2 * t + 1)] = static_cast<char>(kFirstTrail + t);
            }
            convertRow(cd, row.data(), 2, kTrails, cps.data());
            for (int t = 0; t < kTrails; ++t)
                m_pairs[static_cast<std::size_t>((lead - kFirstLead) * kTrails + t)] =
                    cps[static_cast<std::size_t>(t)];
        }
        iconv_close(cd);
        m_ready = true;
    }

    bool ready() const { return m_ready; }

    // Appends the UTF-8 of the whole text; false and the offset of the first byte that does not
    // decode otherwise.
    bool decode(std::string_view in, std::string& out, std::size_t& errorOffset) const
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
            char32_t cp = m_single[b - 0x80u];
            std::size_t length = 1;
            if (cp == 0 && b >= kFirstLead && b <= kLastLead && i + 1 < n &&
                bytes[i + 1] >= kFirstTrail && bytes[i + 1] < kFirstTrail + kTrails) {
                cp = m_pairs[static_cast<std::size_t>((b - kFirstLead) * kTrails +
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

    // Converts `count` codes of `codeLength` bytes each in as few iconv calls as there are
    // refused codes; a refused code leaves its code point 0.
    static void convertRow(iconv_t cd, const char* in, std::size_t codeLength, std::size_t count,
                           char32_t* out)
    {
        std::array<unsigned char, 4 * kTrails> buffer{};
        std::size_t done = 0;
        while (done < count) {
            char* start = const_cast<char*>(in + done * codeLength);
            char* inPtr = start;
            std::size_t inLeft = (count - done) * codeLength;
            char* outPtr = reinterpret_cast<char*>(buffer.data());
            std::size_t outLeft = 4 * (count - done);
            const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const auto consumed = static_cast<std::size_t>(inPtr - start) / codeLength;
            const std::size_t written = (4 * (count - done) - outLeft) / 4;
            for (std::size_t k = 0; k < consumed; ++k) {
                const unsigned char* u = buffer.data() + 4 * k;
                out[done + k] = k < written ? char32_t(u[0]) | char32_t(u[1]) << 8 |
                                                  char32_t(u[2]) << 16 | char32_t(u[3]) << 24
                                            : 0;
            }
            done += consumed;
            if (rc == static_cast<std::size_t>(-1) && done < count) {
                out[done++] = 0;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
    }

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

    bool m_ready = false;
    std::array<char32_t, 128> m_single{};
    std::array<char32_t, static_cast<std::size_t>((kLastLead - kFirstLead + 1) * kTrails)>
        m_pairs{};
};

} // namespace

DecodeResult gbkToUtf8(std::string_view gbk)
{
    DecodeResult result;
    std::string out;
    std::size_t offset = 0;
    static const GbkDecoder decoder;
    const bool ok = decoder.ready() ? decoder.decode(gbk, out, offset)
                                    : convert("UTF-8", "GBK", gbk, out, offset);
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
