#include "core/text.h"

#include <charconv>

namespace hmf::core {
namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when it is malformed.
std::size_t sequenceLength(std::string_view text, std::size_t i, char32_t* out)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        *out = b0;
        return 1;
    }
    std::size_t len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *out = cp;
    return len;
}

bool isBlank(char32_t cp)
{
    return cp == ' ' || cp == '\t' || cp == '\r' || cp == '\n' || cp == 0x3000;
}

} // namespace

std::size_t characterLength(std::string_view text, std::size_t i)
{
    char32_t cp;
    const std::size_t length = sequenceLength(text, i, &cp);
    return length == 0 ? 1 : length;
}

std::vector<std::string> splitCharacters(std::string_view text)
{
    std::vector<std::string> pieces;
    forEachCharacter(text, [&](std::string_view c) { pieces.emplace_back(c); });
    return pieces;
}

std::optional<char32_t> singleCodepoint(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    char32_t cp;
    if (sequenceLength(text, 0, &cp) != text.size())
        return std::nullopt;
    return cp;
}

std::optional<std::pair<char32_t, std::size_t>> firstCodepoint(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    char32_t cp;
    std::size_t len = sequenceLength(text, 0, &cp);
    if (len == 0)
        return std::nullopt;
    return std::make_pair(cp, len);
}

std::optional<std::u32string> toCodepoints(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp;
        std::size_t len = sequenceLength(text, i, &cp);
        if (len == 0)
            return std::nullopt;
        out.push_back(cp);
        i += len;
    }
    return out;
}

std::string toUtf8(char32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::string toUtf8(std::u32string_view cps)
{
    std::string out;
    for (char32_t cp : cps)
        out += toUtf8(cp);
    return out;
}

bool isValidUtf8(std::string_view text)
{
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        // Most of a table is ASCII and three-byte characters outside the surrogates.
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        if (b0 >= 0xE1 && b0 <= 0xEC && i + 2 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) & 0xC0) == 0x80) {
            i += 3;
            continue;
        }
        const std::size_t len = sequenceLength(text, i, &cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

bool isHan(char32_t cp)
{
    return (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0x20000 && cp <= 0x3134F) || cp == 0x3007;
}

std::string_view takeLine(std::string_view& text)
{
    const auto eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::string_view trimBlanksView(std::string_view text)
{
    // Blanks are ASCII or the three bytes of U+3000, so both ends trim without decoding.
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    // Nothing to trim at either end, the common case: the text as it is, well-formed or not.
    const auto asciiBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    if (!text.empty() && !asciiBlank(text.front()) && !asciiBlank(text.back()) &&
        !text.starts_with(kIdeographicSpace) && !text.ends_with(kIdeographicSpace))
        return text;
    if (!isValidUtf8(text)) {
        // Malformed text: trim ASCII blanks only, never cut into bytes we cannot decode.
        auto first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos)
            return {};
        auto last = text.find_last_not_of(" \t\r\n");
        return text.substr(first, last - first + 1);
    }
    for (;;) {
        if (!text.empty() && isBlank(static_cast<unsigned char>(text.front())))
            text.remove_prefix(1);
        else if (text.substr(0, 3) == kIdeographicSpace)
            text.remove_prefix(3);
        else if (!text.empty() && isBlank(static_cast<unsigned char>(text.back())))
            text.remove_suffix(1);
        else if (text.size() >= 3 && text.substr(text.size() - 3) == kIdeographicSpace)
            text.remove_suffix(3);
        else
            return text;
    }
}

std::string trimBlanks(std::string_view text)
{
    return std::string(trimBlanksView(text));
}

std::optional<int> parseInt(std::string_view text)
{
    std::string t = trimBlanks(text);
    std::string_view v = t;
    if (!v.empty() && v.front() == '+')
        v.remove_prefix(1);
    // One sign at most: "+-3" is not a number.
    if (v.empty() || (t.front() == '+' && v.front() == '-'))
        return std::nullopt;
    int value = 0;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
    if (ec != std::errc() || ptr != v.data() + v.size())
        return std::nullopt;
    return value;
}

std::string quotedInput(std::string_view text, std::size_t maxCharacters)
{
    std::string out;
    std::size_t shown = 0;
    while (!text.empty()) {
        if (shown == maxCharacters)
            return out + "…";
        ++shown;
        const auto first = firstCodepoint(text);
        const std::size_t length = first ? first->second : 1;
        // C0 and C1 controls and DEL: none of them may reach a terminal or a message box raw.
        const bool control = !first || first->first < 0x20 || first->first == 0x7f ||
                             (first->first >= 0x80 && first->first < 0xa0);
        if (control) {
            static const char kHex[] = "0123456789abcdef";
            for (std::size_t i = 0; i < length; ++i) {
                const auto byte = static_cast<unsigned char>(text[i]);
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            }
        } else {
            out += text.substr(0, length);
        }
        text.remove_prefix(length);
    }
    return out;
}

} // namespace hmf::core
