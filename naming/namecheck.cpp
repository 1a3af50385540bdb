#include "naming/namecheck.h"

#include "core/text.h"

namespace hmf::naming {
namespace {

// Shared rule: Chinese characters only, between 1 and maxCount of them, every one with a grid
// stroke count (a count of -1 would shift every grid and the score with it).
core::Status checkCharacters(const core::Tables& tables, std::string_view text,
                             const std::string& emptyMessage, const std::string& countMessage,
                             std::size_t maxCount)
{
    if (text.empty())
        return core::inputError(emptyMessage);
    const auto characters = core::splitCharacters(text);
    for (const auto& c : characters) {
        auto cp = core::singleCodepoint(c);
        if (!cp || !core::isHan(*cp))
            return core::inputError("“" + core::quotedInput(c) + "”不是汉字");
    }
    if (characters.size() > maxCount)
        return core::inputError(countMessage);
    for (const auto& c : characters) {
        if (tables.gridStrokeCount(c) < 0)
            return core::inputError("“" + c + "”不在字库中");
    }
    return {};
}

} // namespace

core::Status checkSurname(const core::Tables& tables, std::string_view surname)
{
    return checkCharacters(tables, surname, "请填写姓氏", "姓氏应为一到两个汉字", 2);
}

core::Status checkGivenName(const core::Tables& tables, std::string_view givenName)
{
    return checkCharacters(tables, givenName, "请填写名字", "名字应为一到三个汉字", 3);
}

core::Status checkFixedCharacter(const core::Tables& tables, std::string_view character)
{
    return checkCharacters(tables, character, "请填写固定字", "固定字应为一个汉字", 1);
}

} // namespace hmf::naming
