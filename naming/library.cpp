#include "naming/library.h"

#include "core/datafile.h"
#include "core/loaderror.h"
#include "core/text.h"

namespace hmf::naming {

std::string libraryFileName(std::string_view sex)
{
    return sex == "男" ? "zmz.fne" : "zwz.fne";
}

namespace {

// The start of a faulty line for the message: a line may be megabytes long, and a byte that is
// no text shows as "?".
std::string excerpt(const std::vector<std::string>& pieces)
{
    constexpr std::size_t kShown = 10;
    std::string out;
    for (std::size_t i = 0; i < pieces.size() && i < kShown; ++i)
        out += core::isValidUtf8(pieces[i]) ? pieces[i] : std::string("?");
    return pieces.size() > kShown ? out + "…" : out;
}

} // namespace

std::optional<std::vector<std::string>> parseLibrary(std::string_view text,
                                                     const std::string& fileName,
                                                     const core::StrokeDictionary& strokes,
                                                     std::string& error)
{
    std::vector<std::string> characters;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        ++lineNumber;
        const std::string line = core::trimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;
        const auto pieces = core::splitCharacters(line);
        const auto cp = core::singleCodepoint(line);
        std::string what;
        if (pieces.size() != 1 || !cp || !core::isHan(*cp))
            what = "每行应为一个汉字，此行为“" + excerpt(pieces) + "”";
        else if (strokes.gridStrokeCount(line) < 0)
            what = "“" + line + "”不在笔画表中";
        if (!what.empty()) {
            error = core::LoadError{fileName, lineNumber, what}.message();
            return std::nullopt;
        }
        characters.push_back(line);
    }
    if (characters.empty()) {
        error = core::LoadError{fileName, 0, "字库中没有一个字"}.message();
        return std::nullopt;
    }
    return characters;
}

std::optional<std::vector<std::string>> loadLibrary(const std::filesystem::path& path,
                                                    const core::StrokeDictionary& strokes,
                                                    std::string& error)
{
    core::LoadError loadError;
    auto text = core::readGbkFile(path, loadError);
    if (!text) {
        loadError.file = path.string();
        error = loadError.message();
        return std::nullopt;
    }
    return parseLibrary(*text, path.string(), strokes, error);
}

} // namespace hmf::naming
