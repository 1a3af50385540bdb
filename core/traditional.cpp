#include "core/traditional.h"

#include "core/text.h"

namespace hmf::core {

bool TraditionalTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_map.clear();
    int line = 0;
    while (!text.empty()) {
        ++line;
        std::string_view row = takeLine(text);
        if (row.empty())
            continue;
        auto tab = row.find('\t');
        auto from =
            tab == std::string_view::npos ? std::nullopt : singleCodepoint(row.substr(0, tab));
        auto to =
            tab == std::string_view::npos ? std::nullopt : singleCodepoint(row.substr(tab + 1));
        if (!from || !to) {
            error = LoadError{fileName, line,
                              "应为\"简<TAB>繁\" (expected \"simplified<TAB>traditional\")"};
            return false;
        }
        m_map.emplace(*from, *to);
    }
    // An empty file would silently leave every name in its simplified form.
    if (m_map.empty()) {
        error = LoadError{fileName, 0, "表为空 (empty table)"};
        return false;
    }
    return true;
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
