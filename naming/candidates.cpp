#include "naming/candidates.h"

#include "core/text.h"

#include <charconv>

namespace hmf::naming {

void appendRowTitle(std::string& out, std::string_view fullName, std::optional<int> score)
{
    out += fullName;
    out += '[';
    if (score) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, *score).ptr;
        out.append(digits, end);
    }
    out += "分]";
}

std::string rowTitle(std::string_view fullName, std::optional<int> score)
{
    std::string title;
    title.reserve(fullName.size() + 8);
    appendRowTitle(title, fullName, score);
    return title;
}

std::optional<RowTitleParts> splitRowTitle(std::string_view title)
{
    const auto open = title.find('[');
    if (open == std::string_view::npos || title.find('[', open + 1) != std::string_view::npos)
        return std::nullopt;
    RowTitleParts parts;
    parts.fullName = std::string(title.substr(0, open));
    std::string_view rest = title.substr(open + 1);
    if (!rest.empty() && rest.back() == ']')
        rest.remove_suffix(1);
    parts.scoreText = std::string(rest);
    return parts;
}

std::string givenNameOfRow(std::string_view fullName, std::string_view surname, int fallbackLength)
{
    const std::string trimmed = core::trimBlanks(surname);
    if (!trimmed.empty() && fullName.size() > trimmed.size() &&
        fullName.substr(0, trimmed.size()) == trimmed)
        return std::string(fullName.substr(trimmed.size()));
    const auto characters = core::splitCharacters(fullName);
    const std::size_t take =
        std::min(characters.size(), static_cast<std::size_t>(std::max(fallbackLength, 0)));
    std::string given;
    for (std::size_t i = characters.size() - take; i < characters.size(); ++i)
        given += characters[i];
    return given;
}

std::string copyText(const std::vector<std::string>& titles)
{
    std::string text;
    for (const auto& title : titles) {
        text += "\r\n";
        text += title;
    }
    return text;
}

} // namespace hmf::naming
