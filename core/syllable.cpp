#include "core/syllable.h"

#include "core/text.h"

#include <array>

namespace hmf::core {
namespace {

struct Marked
{
    char32_t cp;
    char letter;
    int tone;
};

// The toned letters of the pinyin tables (GBK's pinyin letters and the two IPA forms it uses).
constexpr std::array<Marked, 28> kMarked = {{
    {U'ā', 'a', 1}, {U'á', 'a', 2}, {U'ǎ', 'a', 3}, {U'à', 'a', 4}, {U'ē', 'e', 1}, {U'é', 'e', 2},
    {U'ě', 'e', 3}, {U'è', 'e', 4}, {U'ī', 'i', 1}, {U'í', 'i', 2}, {U'ǐ', 'i', 3}, {U'ì', 'i', 4},
    {U'ō', 'o', 1}, {U'ó', 'o', 2}, {U'ǒ', 'o', 3}, {U'ò', 'o', 4}, {U'ū', 'u', 1}, {U'ú', 'u', 2},
    {U'ǔ', 'u', 3}, {U'ù', 'u', 4}, {U'ǖ', 'v', 1}, {U'ǘ', 'v', 2}, {U'ǚ', 'v', 3}, {U'ǜ', 'v', 4},
    {U'ü', 'v', 5}, {U'ɑ', 'a', 5}, {U'ɡ', 'g', 5}, {U'ń', 'n', 2},
}};

// Fills initial, final and code from `plain`; false when it is no syllable. Every character
// of the tables is read once when a run of names starts: no text is built but the results.
bool complete(Syllable& s)
{
    const std::string_view p = s.plain;
    if (p.empty() || p.size() > 6)
        return false;
    for (char c : p)
        if (c < 'a' || c > 'z')
            return false;
    // zh ch sh, else one of the single initials; an initial is never the whole syllable.
    std::string_view initial;
    if (p.size() > 2 && p[1] == 'h' && (p[0] == 'z' || p[0] == 'c' || p[0] == 's'))
        initial = p.substr(0, 2);
    else if (p.size() > 1 &&
             std::string_view("bpmfdtnlgkhjqxrzcs").find(p[0]) != std::string_view::npos)
        initial = p.substr(0, 1);
    // The final as it sounds: at most one letter longer than the spelling.
    char spelled[8];
    std::size_t n = 0;
    const auto put = [&](std::string_view text) {
        for (char c : text)
            spelled[n++] = c;
    };
    std::string_view rest = p.substr(initial.size());
    const bool jqx = initial == "j" || initial == "q" || initial == "x";
    if (initial.empty() && (p[0] == 'y' || p[0] == 'w')) {
        // y and w only spell the medial: yan = ian, yu = v, wei = uei, wu = u.
        const char glide = p[0];
        rest = p.substr(1);
        if (glide == 'y') {
            if (!rest.empty() && rest[0] == 'u') {
                put("v");
                rest.remove_prefix(1);
            } else if (rest.empty() || rest[0] != 'i') {
                put("i");
            }
        } else if (rest.empty() || rest[0] != 'u') {
            put("u");
        }
    } else if (jqx && !rest.empty() && rest[0] == 'u') {
        put("v"); // ju qu xu are written with u but sound ü
        rest.remove_prefix(1);
    }
    put(rest);
    std::string_view final(spelled, n);
    if (final == "ui")
        final = "uei";
    else if (final == "iu")
        final = "iou";
    else if (final == "un" && !jqx)
        final = "uen";
    // The i after z c s zh ch sh r is another vowel than the i of li or ji.
    if (final == "i" && (initial == "z" || initial == "c" || initial == "s" || initial == "zh" ||
                         initial == "ch" || initial == "sh" || initial == "r"))
        final = "-i";
    s.initial.assign(initial);
    s.final.assign(final);
    std::uint32_t code = 0;
    for (char c : p)
        code = code * 27 + static_cast<std::uint32_t>(c - 'a' + 1);
    s.code = code;
    return true;
}

} // namespace

std::optional<Syllable> syllableFromMarked(std::string_view reading)
{
    if (reading.empty())
        return std::nullopt;
    Syllable s;
    for (std::size_t i = 0; i < reading.size();) {
        char32_t cp = static_cast<unsigned char>(reading[i]);
        std::size_t length = 1;
        if (cp >= 0x80) {
            const auto first = firstCodepoint(reading.substr(i));
            if (!first)
                return std::nullopt;
            cp = first->first;
            length = first->second;
        }
        i += length;
        if (cp >= 'A' && cp <= 'Z')
            cp = cp - 'A' + 'a';
        if (cp >= 'a' && cp <= 'z') {
            s.plain += static_cast<char>(cp);
            continue;
        }
        bool found = false;
        for (const auto& m : kMarked)
            if (m.cp == cp) {
                s.plain += m.letter;
                if (m.tone != 5)
                    s.tone = m.tone;
                found = true;
                break;
            }
        if (!found)
            return std::nullopt;
    }
    if (!complete(s))
        return std::nullopt;
    return s;
}

std::optional<Syllable> syllableFromNumbered(std::string_view reading)
{
    if (reading.size() < 2 || reading.back() < '1' || reading.back() > '5')
        return std::nullopt;
    Syllable s;
    s.tone = reading.back() - '0';
    std::string_view letters = reading.substr(0, reading.size() - 1);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (letters.substr(i, 2) == "ü") {
            s.plain += 'v';
            ++i;
        } else if (letters.substr(i, 2) == "u:") {
            s.plain += 'v';
            ++i;
        } else {
            char c = letters[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            s.plain += c;
        }
    }
    if (!complete(s))
        return std::nullopt;
    return s;
}

} // namespace hmf::core
