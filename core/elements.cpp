#include "core/elements.h"

#include "core/datafile.h"
#include "core/text.h"

#include <algorithm>

namespace hmf::core {

Status ElementTable::parse(std::string_view text, const std::string& fileName)
{
    m_map.clear();
    std::vector<std::string> seen;
    TableRows rows(text, fileName, 2);
    while (rows.next()) {
        std::string element(rows.fieldCount() == 2 ? rows.field(0) : "");
        if (std::find(kElementOrder.begin(), kElementOrder.end(), element) == kElementOrder.end())
            return rows.fail("应为\"五行<TAB>汉字\" (expected \"element<TAB>characters\")");
        if (std::find(seen.begin(), seen.end(), element) != seen.end())
            return rows.fail("五行重复: " + element + " (element listed twice)");
        seen.push_back(element);
        const auto place = static_cast<std::uint8_t>(
            std::find(kElementOrder.begin(), kElementOrder.end(), element) - kElementOrder.begin());
        // Lists are read in file order and a character in several lists takes the last one.
        std::size_t listed = 0;
        for (std::string_view list = rows.field(1); !list.empty();) {
            const auto c = firstCodepoint(list);
            if (!c)
                return rows.fail("不是有效的文本 (malformed text)");
            list.remove_prefix(c->second);
            if (c->first != ' ' && c->first != '\r') {
                m_map[c->first] = place;
                ++listed;
            }
        }
        if (listed == 0)
            return rows.fail("列表为空: " + element + " (empty element list)");
    }
    if (rows.failed())
        return rows.error();
    if (seen.size() != kElementOrder.size())
        return rows.fail("应有五个五行列表 (five element lists expected)");
    return {};
}

std::string_view ElementTable::elementName(std::string_view character) const
{
    auto cp = singleCodepoint(character);
    if (!cp)
        return {};
    auto it = m_map.find(*cp);
    return it == m_map.end() ? std::string_view() : kElementOrder[it->second];
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
