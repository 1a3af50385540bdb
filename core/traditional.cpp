#include "core/traditional.h"

#include "core/datafile.h"
#include "core/text.h"

namespace hmf::core {

Status TraditionalTable::parse(std::string_view text, const std::string& fileName)
{
    m_map.clear();
    TableRows rows(text, fileName, 3, SkipLines::BlankOrComment);
    while (rows.next()) {
        auto from = rows.fieldCount() == 2 ? singleCodepoint(rows.field(0)) : std::nullopt;
        auto to = rows.fieldCount() == 2 ? singleCodepoint(rows.field(1)) : std::nullopt;
        if (!from || !to)
            return rows.fail("应为\"简<TAB>繁\" (expected \"simplified<TAB>traditional\")");
        m_map.emplace(*from, *to);
    }
    if (rows.failed())
        return rows.error();
    // An empty file would silently leave every name in its simplified form.
    if (m_map.empty())
        return rows.fail("表为空 (empty table)");
    return {};
}

char32_t TraditionalTable::toTraditional(char32_t cp) const
{
    auto it = m_map.find(cp);
    return it == m_map.end() ? cp : it->second;
}

std::string TraditionalTable::toTraditional(std::string_view text) const
{
    auto cps = toCodepoints(text);
    if (!cps)
        return std::string(text);
    std::string out;
    for (char32_t cp : *cps)
        out += toUtf8(toTraditional(cp));
    return out;
}

} // namespace hmf::core
