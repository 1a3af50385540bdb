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

// Fills initial, final and code from `plain`; false when it is no syllable.
bool complete(Syllable& s)
{
    const std::string& p = s.plain;
    if (p.empty() || p.size() > 6)
        return false;
    for (char c : p)
        if (c < 'a' || c > 'z')
            return false;
    static constexpr std::array<std::string_view, 21> kInitials = {
        "zh", "ch", "sh", "b", "p", "m", "f", "d", "t", "n", "l",
        "g",  "k",  "h",  "j", "q", "x", "r", "z", "c", "s"};
    s.initial.clear();
    for (auto i : kInitials)
        if (p.rfind(i, 0) == 0 && p.size() > i.size()) {
            s.initial = std::string(i);
            break;
        }
    std::string rest = p.substr(s.initial.size());
    if (s.initial.empty() && (p[0] == 'y' || p[0] == 'w')) {
        // y and w only spell the medial: yan = ian, yu = v, wei = uei, wu = u.
        const char glide = p[0];
        rest = p.substr(1);
        if (glide == 'y') {
            if (rest.rfind('u', 0) == 0)
                rest[0] = 'v';
            else if (rest.rfind('i', 0) != 0)
                rest = "i" + rest;
        } else if (rest.rfind('u', 0) != 0) {
            rest = "u" + rest;
        }
    } else if ((s.initial == "j" || s.initial == "q" || s.initial == "x") &&
               rest.rfind('u', 0) == 0) {
        rest[0] = 'v'; // ju qu xu are written with u but sound ü
    }
    if (rest == "ui")
        rest = "uei";
    else if (rest == "iu")
        rest = "iou";
    else if (rest == "un" && s.initial != "j" && s.initial != "q" && s.initial != "x")
        rest = "uen";
    // The i after z c s zh ch sh r is another vowel than the i of li or ji.
    if (rest == "i" &&
        (s.initial == "z" || s.initial == "c" || s.initial == "s" || s.initial == "zh" ||
         s.initial == "ch" || s.initial == "sh" || s.initial == "r"))
        rest = "-i";
    s.final = rest;
    std::uint32_t code = 0;
    for (char c : p)
        code = code * 27 + static_cast<std::uint32_t>(c - 'a' + 1);
    s.code = code;
    // At most two letters, and at most seven ('-' and letters): both fit their numbers exactly.
    s.initialCode = 0;
    for (char c : s.initial)
        s.initialCode = s.initialCode << 8 | static_cast<unsigned char>(c);
    s.finalCode = 0;
    for (char c : s.final)
        s.finalCode = s.finalCode << 8 | static_cast<unsigned char>(c);
    return true;
}

} // namespace

std::optional<Syllable> syllableFromMarked(std::string_view reading)
{
    auto cps = toCodepoints(reading);
    if (!cps || cps->empty())
        return std::nullopt;
    Syllable s;
    for (char32_t cp : *cps) {
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
