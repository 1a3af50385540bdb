#include "core/luck.h"

#include <algorithm>

namespace hmf::core {
namespace {

std::vector<std::string_view> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> pieces;
    while (true) {
        auto at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return pieces;
        text.remove_prefix(at + separator.size());
    }
}

int lineOf(std::string_view whole, std::string_view piece)
{
    auto offset = static_cast<std::size_t>(piece.data() - whole.data());
    return 1 + static_cast<int>(std::count(whole.begin(), whole.begin() + offset, '\n'));
}

} // namespace

Status LuckTable::parse(std::string_view text, const std::string& fileName)
{
    m_entries.clear();
    m_verdicts.fill(LuckVerdict::None);
    const std::string_view whole = text;
    // A line end after the last record is the file's, not the last field's.
    if (text.ends_with("\r\n"))
        text.remove_suffix(2);
    else if (text.ends_with("\n"))
        text.remove_suffix(1);
    const auto records = split(text, "*******");
    if (records.size() != 81) {
        return Error{ErrorCode::BadData,
                     "应有81条记录，实有" + std::to_string(records.size()) +
                         " (81 records expected)",
                     fileName, 0};
    }
    for (std::size_t k = 0; k < records.size(); ++k) {
        const auto fields = split(records[k], "---");
        const std::string title = "第" + std::to_string(k + 1) + "数理";
        if (fields.size() != 6 || fields[0] != title ||
            (fields[1] != "吉" && fields[1] != "半吉" && fields[1] != "凶")) {
            return Error{ErrorCode::BadData,
                         "记录" + std::to_string(k + 1) + "应为六个字段：" + title +
                             "---吉凶---基业---家庭---健康---含义",
                         fileName, lineOf(whole, records[k])};
        }
        m_entries.push_back(LuckEntry{std::string(fields[0]), std::string(fields[1]),
                                      std::string(fields[2]), std::string(fields[3]),
                                      std::string(fields[4]), std::string(fields[5])});
    }
    indexVerdicts();
    return {};
}

LuckVerdict luckVerdict(std::string_view text)
{
    if (text == "吉")
        return LuckVerdict::Good;
    if (text == "半吉")
        return LuckVerdict::Fair;
    if (text == "凶")
        return LuckVerdict::Bad;
    return LuckVerdict::None;
}

void LuckTable::indexVerdicts()
{
    m_verdicts.fill(LuckVerdict::None);
    for (std::size_t i = 0; i < m_entries.size() && i + 1 < m_verdicts.size(); ++i)
        m_verdicts[i + 1] = luckVerdict(m_entries[i].verdict);
}

const LuckEntry& LuckTable::entry(int n) const
{
    static const LuckEntry none;
    const int at = entryNumber(n);
    return at == 0 ? none : m_entries[static_cast<std::size_t>(at - 1)];
}

} // namespace hmf::core
