#include "core/pinyin.h"

#include "core/text.h"

namespace hmf::core {
namespace {

bool parseItems(std::string_view text, const std::string& fileName, LoadError& error,
                std::unordered_map<char32_t, std::string>& map)
{
    map.clear();
    int line = 1;
    while (!text.empty()) {
        auto comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        std::string clean;
        for (char c : item) {
            if (c == '\n')
                ++line;
            else if (c != '\r')
                clean += c;
        }
        if (clean.empty())
            continue;
        auto pieces = splitCharacters(clean);
        auto cp = singleCodepoint(pieces.front());
        if (!cp) {
            error = LoadError{fileName, line, "不是有效的文本 (malformed text)"};
            return false;
        }
        // An item without a leading character is a further reading of the previous entry.
        if (!isHan(*cp))
            continue;
        std::string reading = clean.substr(pieces.front().size());
        if (reading.empty()) {
            error = LoadError{fileName, line, "缺少读音: " + pieces.front() + " (reading missing)"};
            return false;
        }
        map.emplace(*cp, std::move(reading)); // the first entry of a character wins
    }
    if (map.empty()) {
        error = LoadError{fileName, 0, "表为空 (empty table)"};
        return false;
    }
    return true;
}

} // namespace

bool PinyinTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    return parseItems(text, fileName, error, m_main);
}

bool PinyinTable::parseFallback(std::string_view text, const std::string& fileName,
                                LoadError& error)
{
    return parseItems(text, fileName, error, m_fallback);
}

std::string PinyinTable::readingOf(char32_t cp) const
{
    if (auto it = m_main.find(cp); it != m_main.end())
        return it->second;
    if (auto it = m_fallback.find(cp); it != m_fallback.end())
        return it->second;
    return {};
}

std::string PinyinTable::pinyinOf(std::string_view text, bool blankAfterEach) const
{
    std::string out;
    for (const auto& c : splitCharacters(text)) {
        if (auto cp = singleCodepoint(c))
            out += readingOf(*cp);
        if (blankAfterEach)
            out += ' ';
    }
    return out;
}

} // namespace hmf::core
