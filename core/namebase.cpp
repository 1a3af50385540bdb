#include "core/namebase.h"

#include "core/datafile.h"
#include "core/text.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace hmf::core {
namespace {

constexpr std::string_view kCountLine = "# 名字数：";
constexpr std::string_view kPairCountLine = "# 搭配数：";

} // namespace

Status NameBase::parse(std::string_view text, const std::string& fileName)
{
    m_entries.clear();
    m_sorted.clear();
    m_positions.clear();
    m_text.clear();
    const auto count = statedCount(text, kCountLine);
    if (!count) {
        return Error{ErrorCode::BadData,
                     "缺少“" + std::string(kCountLine) + "N”一行 (count line missing)", fileName,
                     1};
    }
    std::vector<Entry> entries;
    TableRows rows(text, fileName, 5, SkipLines::BlankOrComment);
    while (rows.next()) {
        if (rows.fieldCount() != 4)
            return rows.fail("应有4个以制表符分隔的字段 (expected 4 TAB-separated fields)");
        Entry e;
        const std::string_view name = rows.field(0);
        std::size_t characters = 0;
        bool han = !name.empty();
        forEachCharacter(name, [&](std::string_view c) {
            const auto cp = singleCodepoint(c);
            han = han && cp && isHan(*cp);
            ++characters;
        });
        if (!han || characters > 3)
            return rows.fail("名字应为1到3个汉字 (name must be 1 to 3 Han characters)");
        if (rows.field(1) == "男")
            e.sex = SexLeaning::Male;
        else if (rows.field(1) == "女")
            e.sex = SexLeaning::Female;
        else if (rows.field(1) == "中")
            e.sex = SexLeaning::Neutral;
        else
            return rows.fail("性别应为 男、女 或 中 (sex must be 男, 女 or 中)");
        const std::string_view meaning = trimBlanksView(rows.field(2));
        if (meaning.empty())
            return rows.fail("缺少寓意 (meaning missing)");
        e.length = static_cast<std::uint8_t>(characters);
        std::size_t k = 0;
        forEachCharacter(name, [&](std::string_view c) {
            m_positions[*singleCodepoint(c)] |= characters == 1   ? kAlone
                                                : characters == 3 ? kInThree
                                                : k == 0          ? kFirstOfTwo
                                                                  : kSecondOfTwo;
            ++k;
        });
        e.name = m_text.add(name);
        e.meaning = m_text.add(meaning);
        e.source = m_text.add(trimBlanksView(rows.field(3)));
        entries.push_back(e);
    }
    if (rows.failed())
        return rows.error();
    if (entries.size() != *count) {
        return Error{ErrorCode::BadData,
                     "表不全：应有" + std::to_string(*count) + "个名字，读到" +
                         std::to_string(entries.size()) + "个 (table incomplete)",
                     fileName, 0};
    }
    std::vector<std::uint32_t> sorted(entries.size());
    for (std::uint32_t i = 0; i < sorted.size(); ++i)
        sorted[i] = i;
    const auto nameOf = [&](std::uint32_t i) { return m_text.view(entries[i].name); };
    std::sort(sorted.begin(), sorted.end(), [&](auto a, auto b) { return nameOf(a) < nameOf(b); });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (nameOf(sorted[i]) == nameOf(sorted[i - 1])) {
            return Error{ErrorCode::BadData,
                         "重复的名字: " + std::string(nameOf(sorted[i])) + " (duplicate)", fileName,
                         0};
        }
    m_entries.assign(entries.data(), entries.size());
    m_sorted.assign(sorted.data(), sorted.size());
    return {};
}

Status NameBase::parsePairs(std::string_view text, const std::string& fileName)
{
    m_pairs.clear();
    const auto count = statedCount(text, kPairCountLine);
    if (!count) {
        return Error{ErrorCode::BadData,
                     "缺少“" + std::string(kPairCountLine) + "N”一行 (count line missing)",
                     fileName, 1};
    }
    std::vector<std::uint64_t> pairs;
    TableRows rows(text, fileName, 2, SkipLines::BlankOrComment);
    while (rows.next()) {
        std::vector<char32_t> cps;
        bool han = rows.fieldCount() == 1;
        forEachCharacter(rows.field(0), [&](std::string_view c) {
            const auto cp = singleCodepoint(c);
            han = han && cp && isHan(*cp);
            cps.push_back(cp.value_or(0));
        });
        if (!han || cps.size() != 2)
            return rows.fail("每行应为两个汉字 (two Han characters a line)");
        pairs.push_back(std::uint64_t{cps[0]} << 32 | cps[1]);
    }
    if (rows.failed())
        return rows.error();
    if (pairs.size() != *count) {
        return Error{ErrorCode::BadData,
                     "表不全：应有" + std::to_string(*count) + "个搭配，读到" +
                         std::to_string(pairs.size()) + "个 (table incomplete)",
                     fileName, 0};
    }
    std::sort(pairs.begin(), pairs.end());
    m_pairs.assign(pairs.data(), pairs.size());
    return {};
}

BaseName NameBase::at(std::size_t i) const
{
    const Entry& e = m_entries[i];
    return {m_text.view(e.name), e.sex, m_text.view(e.meaning), m_text.view(e.source), e.length};
}

std::optional<BaseName> NameBase::find(std::string_view givenName) const
{
    const auto it = std::lower_bound(
        m_sorted.begin(), m_sorted.end(), givenName,
        [&](std::uint32_t i, std::string_view v) { return m_text.view(m_entries[i].name) < v; });
    if (it == m_sorted.end() || m_text.view(m_entries[*it].name) != givenName)
        return std::nullopt;
    return at(*it);
}

} // namespace hmf::core
