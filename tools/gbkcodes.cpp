// Writes the GBK code table that core/gbk.cpp compiles in: the Unicode code point of every
// single byte 0x80-0xFF and of every byte pair (lead 0x81-0xFE, trail 0x40-0xFE), 0 where glibc
// iconv refuses the code. Run at build time, so decoding agrees with iconv exactly and no
// process asks iconv for the table when it starts.
//   gbkcodes <output file>

#include <array>
#include <cstddef>
#include <cstdio>
#include <iconv.h>

namespace {

constexpr int kFirstLead = 0x81;
constexpr int kLastLead = 0xFE;
constexpr int kFirstTrail = 0x40;
constexpr int kTrails = 0xFF - kFirstTrail; // 0x40 .. 0xFE

// Converts `count` codes of `codeLength` bytes each in as few iconv calls as there are refused
// codes; a refused code leaves its code point 0.
void convertRow(iconv_t cd, const char* in, std::size_t codeLength, std::size_t count,
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

void writeArray(std::FILE* file, const char* name, const char32_t* values, std::size_t count)
{
    std::fprintf(file, "inline constexpr char32_t %s[%zu] = {", name, count);
    for (std::size_t i = 0; i < count; ++i)
        std::fprintf(file, "%s0x%X,", i % 12 == 0 ? "\n   " : " ", unsigned(values[i]));
    std::fprintf(file, "\n};\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gbkcodes <output file>\n");
        return 2;
    }
    iconv_t cd = iconv_open("UTF-32LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror("gbkcodes: iconv cannot convert GBK");
        return 1;
    }
    static std::array<char32_t, 128> singles{};
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char one[1] = {static_cast<char>(b)};
        convertRow(cd, one, 1, 1, &singles[static_cast<std::size_t>(b - 0x80)]);
    }
    static std::array<char32_t, (kLastLead - kFirstLead + 1) * kTrails> pairs{};
    std::array<char, 2 * kTrails> row{};
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (int t = 0; t < kTrails; ++t) {
            row[static_cast<std::size_t>(2 * t)] = static_cast<char>(lead);
            row[static_cast<std::size_t>(2 * t + 1)] = static_cast<char>(kFirstTrail + t);
        }
        convertRow(cd, row.data(), 2, kTrails,
                   &pairs[static_cast<std::size_t>((lead - kFirstLead) * kTrails)]);
    }
    iconv_close(cd);

    std::FILE* file = std::fopen(argv[1], "w");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(file, "// Written by tools/gbkcodes.cpp from glibc iconv at build time.\n");
    writeArray(file, "kGbkSingleBytes", singles.data(), singles.size());
    writeArray(file, "kGbkPairs", pairs.data(), pairs.size());
    if (std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
