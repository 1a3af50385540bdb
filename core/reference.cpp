#include "core/reference.h"

#include "core/datafile.h"
#include "core/elements.h"
#include "core/text.h"

#include <algorithm>

namespace hmf::core {

Status SexagenaryTable::parse(std::string_view text, const std::string& fileName)
{
    int n = 0;
    TableRows rows(text, fileName, 1, SkipLines::None);
    while (rows.next()) {
        const std::string_view row = rows.text();
        if (n == 60)
            return rows.fail("多于60行 (more than 60 lines)");
        // Each row is the element of the stem and of the branch, each followed by ",".
        const auto isElement = [](std::string_view e) {
            return std::find(kElementOrder.begin(), kElementOrder.end(), e) != kElementOrder.end();
        };
        const bool shaped = row.size() == 8 && row[3] == ',' && row[7] == ',' &&
                            isElement(row.substr(0, 3)) && isElement(row.substr(4, 3));
        if (!shaped)
            return rows.fail("应为\"木,水,\"的形式 (expected \"木,水,\")");
        m_rows[static_cast<std::size_t>(n++)] = std::string(row);
    }
    if (rows.failed())
        return rows.error();
    if (n != 60)
        return rows.fail("应有60行，实有" + std::to_string(n) + " (60 lines expected)");
    return {};
}

const std::string& SexagenaryTable::row(int n) const
{
    static const std::string none;
    if (n < 1 || n > 60)
        return none;
    return m_rows[static_cast<std::size_t>(n - 1)];
}

} // namespace hmf::core
