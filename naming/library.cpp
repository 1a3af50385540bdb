#include "naming/library.h"

#include "core/datafile.h"
#include "core/loaderror.h"
#include "core/platform.h"
#include "core/text.h"

namespace hmf::naming {

std::string libraryFileName(std::string_view sex)
{
    return sex == "男" ? "zmz.fne" : "zwz.fne";
}

namespace {

// A library holds one character a line: a longer line is refused before it is split into
// characters (a line of megabytes would otherwise become millions of strings).
constexpr std::size_t kMaxLineBytes = 64;

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
        const auto cp = line.size() <= kMaxLineBytes ? core::singleCodepoint(line) : std::nullopt;
        std::string what;
        if (!cp || !core::isHan(*cp))
            what = "每行应为一个汉字，此行为“" +
                   core::quotedInput(std::string_view(line).substr(0, kMaxLineBytes), 10) + "”";
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
    if (path.empty()) {
        error = "字库文件名为空 (empty library path)";
        return std::nullopt;
    }
    core::LoadError loadError;
    auto text = core::readGbkFile(path, loadError, kMaxLibraryBytes);
    if (!text) {
        loadError.file = core::quotedInput(core::pathToUtf8(path), 200);
        if (loadError.what == core::tooLargeText(kMaxLibraryBytes))
            loadError.what = "字库" + loadError.what;
        error = loadError.message();
        return std::nullopt;
    }
    return parseLibrary(*text, core::quotedInput(core::pathToUtf8(path), 200), strokes, error);
}

} // namespace hmf::naming
