#include "naming/library.h"

#include "core/datafile.h"
#include "core/platform.h"
#include "core/result.h"
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

core::Result<std::vector<std::string>> parseLibrary(std::string_view text,
                                                    const std::string& fileName,
                                                    const core::StrokeDictionary& strokes)
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
        if (!what.empty())
            return core::Error{core::ErrorCode::BadData, what, fileName, lineNumber};
        characters.push_back(line);
    }
    if (characters.empty())
        return core::Error{core::ErrorCode::BadData, "字库中没有一个字", fileName, 0};
    return characters;
}

core::Result<std::vector<std::string>> loadLibrary(const std::filesystem::path& path,
                                                   const core::StrokeDictionary& strokes)
{
    if (path.empty())
        return core::Error{
            core::ErrorCode::MissingFile, "字库文件名为空 (empty library path)", {}, 0};
    auto text = core::readGbkFile(path, kMaxLibraryBytes);
    if (!text) {
        core::Error error = std::move(text.error());
        error.file = core::quotedInput(core::pathToUtf8(path), 200);
        if (error.code == core::ErrorCode::TooLarge)
            error.what = "字库" + error.what;
        return error;
    }
    return parseLibrary(*text, core::quotedInput(core::pathToUtf8(path), 200), strokes);
}

} // namespace hmf::naming
