#pragma once
// Unicode text helpers: the program keeps text as UTF-8 strings and handles characters as whole
// code points, so no lookup can ever match half of one character and half of the next.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hmf::core {

// The characters of a UTF-8 text, each as its own UTF-8 string. A malformed byte becomes a
// piece of its own, so the caller can still report it.
std::vector<std::string> splitCharacters(std::string_view text);

// The byte length of the character at `i` of `text` as splitCharacters cuts it (a byte that
// starts no well-formed character is one of its own).
std::size_t characterLength(std::string_view text, std::size_t i);

// Calls `visit` with each character of `text` as splitCharacters cuts it, without copying: the
// scoring of many thousand names allocates nothing for it.
template <typename Visit> void forEachCharacter(std::string_view text, Visit&& visit)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        visit(text.substr(i, length));
        i += length;
    }
}

// The code point of a text that holds exactly one well-formed character.
std::optional<char32_t> singleCodepoint(std::string_view text);

// The first character of a text and its length in bytes; nullopt when it is malformed or empty.
std::optional<std::pair<char32_t, std::size_t>> firstCodepoint(std::string_view text);

// Decodes a whole UTF-8 text; nullopt when it is not well-formed.
std::optional<std::u32string> toCodepoints(std::string_view text);

std::string toUtf8(char32_t cp);
std::string toUtf8(std::u32string_view cps);

bool isValidUtf8(std::string_view text);

// A CJK ideograph (the blocks the character tables cover, including 〇).
bool isHan(char32_t cp);

// Takes the next line off the front of `text` and returns it without its "\n" or "\r\n".
std::string_view takeLine(std::string_view& text);

// Removes leading and trailing ASCII blanks, tabs and line ends, and the ideographic space.
std::string trimBlanks(std::string_view text);
// The same without a copy: the part of `text` that trimBlanks would return.
std::string_view trimBlanksView(std::string_view text);

// What the user typed, fit to quote in a message: at most `maxCharacters` characters (then "…"),
// control characters and bytes that are no UTF-8 written as \xNN, so a message never floods the
// screen or sends a terminal escape sequence.
std::string quotedInput(std::string_view text, std::size_t maxCharacters = 20);

// Reads a whole decimal number the way the window's boxes are read: optional blanks and sign,
// digits only; nullopt for anything else (empty, letters, fractions, overflow).
std::optional<int> parseInt(std::string_view text);

} // namespace hmf::core
