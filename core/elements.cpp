#include "core/elements.h"

#include "core/text.h"

#include <algorithm>

namespace hmf::core {

bool ElementTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_map.clear();
    std::vector<std::string> seen;
    int line = 0;
    while (!text.empty()) {
        ++line;
        std::string_view row = takeLine(text);
        if (row.empty())
            continue;
        auto tab = row.find('\t');
        std::string element(row.substr(0, tab == std::string_view::npos ? 0 : tab));
        if (tab == std::string_view::npos ||
            std::find(kElementOrder.begin(), kElementOrder.end(), element) == kElementOrder.end()) {
            error = LoadError{fileName, line,
                              "应为\"五行<TAB>汉字\" (expected \"element<TAB>characters\")"};
            return false;
        }
        if (std::find(seen.begin(), seen.end(), element) != seen.end()) {
            error = LoadError{fileName, line, "五行重复: " + element + " (element listed twice)"};
            return false;
        }
        seen.push_back(element);
        // Lists are read in file order and a character in several lists takes the last one.
        std::size_t listed = 0;
        for (std::string_view list = row.substr(tab + 1); !list.empty();) {
            const auto c = firstCodepoint(list);
            if (!c) {
                error = LoadError{fileName, line, "不是有效的文本 (malformed text)"};
                return false;
            }
            list.remove_prefix(c->second);
            if (c->first != ' ' && c->first != '\r') {
                m_map[c->first] = element;
                ++listed;
            }
        }
        if (listed == 0) {
            error = LoadError{fileName, line, "列表为空: " + element + " (empty element list)"};
            return false;
        }
    }
    if (seen.size() != kElementOrder.size()) {
        error = LoadError{fileName, 0, "应有五个五行列表 (five element lists expected)"};
        return false;
    }
    return true;
}

std::string ElementTable::elementOf(std::string_view character) const
{
    auto cp = singleCodepoint(character);
    if (!cp)
        return {};
    auto it = m_map.find(*cp);
    return it == m_map.end() ? std::string() : it->second;
}

std::string ElementTable::elementString(std::string_view text) const
{
    std::string out;
    bool first = true;
    for (const auto& c : splitCharacters(text)) {
        if (!first)
            out += '-';
        first = false;
        out += elementOf(c);
    }
    return out;
}

} // namespace hmf::core
