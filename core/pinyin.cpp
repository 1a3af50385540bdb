#include "core/pinyin.h"

#include "core/datafile.h"
#include "core/text.h"

#include <algorithm>

namespace hmf::core {
namespace {

Status parseItems(std::string_view text, const std::string& fileName, PinyinTable::Readings& into)
{
    auto& map = into.readings;
    map.clear();
    map.reserve(text.size() / 6);
    into.text.clear();
    into.text.reserve(text.size() / 2);
    int line = 1;
    while (!text.empty()) {
        auto comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        // Line ends between items are allowed and belong to no reading.
        while (!item.empty() && (item.front() == '\r' || item.front() == '\n')) {
            line += item.front() == '\n';
            item.remove_prefix(1);
        }
        while (!item.empty() && (item.back() == '\r' || item.back() == '\n')) {
            line += item.back() == '\n';
            item.remove_suffix(1);
        }
        if (item.empty())
            continue;
        // Nearly every item starts with a three-byte character: that one is read in place.
        std::optional<std::pair<char32_t, std::size_t>> first;
        const auto b0 = static_cast<unsigned char>(item[0]);
        if (b0 >= 0xE1 && b0 <= 0xEC && item.size() >= 3 &&
            (static_cast<unsigned char>(item[1]) & 0xC0) == 0x80 &&
            (static_cast<unsigned char>(item[2]) & 0xC0) == 0x80)
            first.emplace(((b0 & 0x0Fu) << 12) |
                              ((static_cast<unsigned char>(item[1]) & 0x3Fu) << 6) |
                              (static_cast<unsigned char>(item[2]) & 0x3Fu),
                          3);
        else
            first = firstCodepoint(item);
        if (!first) {
            return Error{ErrorCode::BadData, "不是有效的文本 (malformed text)", fileName, line};
        }
        // An item without a leading character is a further reading of the previous entry.
        if (!isHan(first->first))
            continue;
        std::string_view reading = item.substr(first->second);
        const bool lineEnd = std::any_of(reading.begin(), reading.end(),
                                         [](char ch) { return ch == '\r' || ch == '\n'; });
        if (reading.empty() || lineEnd) {
            return Error{ErrorCode::BadData,
                         "缺少读音: " + std::string(item.substr(0, first->second)) +
                             " (reading missing)",
                         fileName, line};
        }
        if (!map.count(first->first)) { // the first entry of a character wins
            map.emplace(first->first, into.text.add(reading));
        }
    }
    if (map.empty())
        return Error{ErrorCode::BadData, "表为空 (empty table)", fileName, 0};
    return {};
}

} // namespace

Status PinyinTable::parse(std::string_view text, const std::string& fileName)
{
    return parseItems(text, fileName, m_main);
}

Status PinyinTable::parseFallback(std::string_view text, const std::string& fileName)
{
    return parseItems(text, fileName, m_fallback);
}

Status PinyinTable::parseSurnames(std::string_view text, const std::string& fileName)
{
    m_surnames.clear();
    m_surnameText.clear();
    std::vector<Surname> surnames;
    TableRows rows(text, fileName, 2, SkipLines::BlankOrComment);
    while (rows.next()) {
        const bool tab = rows.fieldCount() == 2;
        const auto chars = splitCharacters(rows.field(0));
        std::size_t syllables = 0;
        std::string joined;
        if (tab) {
            std::string_view rest = rows.field(1);
            while (!rest.empty()) {
                const auto blank = rest.find(' ');
                const auto syllable = rest.substr(0, blank);
                if (syllable.empty())
                    break;
                (joined += joined.empty() ? "" : " ") += syllable;
                ++syllables;
                rest =
                    blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            }
        }
        const bool han = std::all_of(chars.begin(), chars.end(), [](const std::string& c) {
            const auto cp = singleCodepoint(c);
            return cp && isHan(*cp);
        });
        if (!tab || chars.empty() || chars.size() > 2 || !han || syllables != chars.size())
            return rows.fail("应为\"姓<TAB>每字一个音节\" (expected \"surname<TAB>one syllable "
                             "per character\")");
        surnames.push_back({m_surnameText.add(rows.field(0)), m_surnameText.add(joined)});
    }
    if (rows.failed())
        return rows.error();
    if (surnames.empty())
        return rows.fail("表为空 (empty table)");
    // By the surname's bytes; of a surname listed twice, the first stays first.
    std::stable_sort(surnames.begin(), surnames.end(), [&](const Surname& a, const Surname& b) {
        return m_surnameText.view(a.surname) < m_surnameText.view(b.surname);
    });
    m_surnames.assign(surnames.data(), surnames.size());
    return {};
}

std::optional<std::string> PinyinTable::surnameReading(std::string_view surname) const
{
    auto syllables = surnameSyllables(surname);
    if (!syllables)
        return std::nullopt;
    std::string reading;
    for (const auto& s : *syllables)
        reading += s;
    return reading;
}

std::optional<std::vector<std::string>>
PinyinTable::surnameSyllables(std::string_view surname) const
{
    const Surname* it = std::lower_bound(
        m_surnames.begin(), m_surnames.end(), surname,
        [&](const Surname& e, std::string_view s) { return m_surnameText.view(e.surname) < s; });
    if (it == m_surnames.end() || m_surnameText.view(it->surname) != surname)
        return std::nullopt;
    std::vector<std::string> syllables;
    std::string_view rest = m_surnameText.view(it->syllables);
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        syllables.emplace_back(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    return syllables;
}

std::string_view PinyinTable::Readings::of(char32_t cp) const
{
    const auto it = readings.find(cp);
    if (it == readings.end())
        return {};
    return text.view(it->second);
}

std::string PinyinTable::readingOf(char32_t cp) const
{
    if (const auto reading = m_main.of(cp); !reading.empty())
        return std::string(reading);
    return std::string(m_fallback.of(cp));
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
