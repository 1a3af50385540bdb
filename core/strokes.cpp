#include "core/strokes.h"

#include "core/text.h"

namespace hmf::core {
namespace {

// Walks a decoded table text code point by code point and keeps the line number for errors.
class Cursor
{
  public:
    explicit Cursor(std::u32string_view text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    char32_t peek() const { return m_text[m_pos]; }
    char32_t take()
    {
        char32_t c = m_text[m_pos++];
        if (c == '\n')
            ++m_line;
        return c;
    }
    int line() const { return m_line; }

  private:
    std::u32string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
};

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

bool fail(LoadError& error, const std::string& file, int line, std::string what)
{
    error = LoadError{file, line, std::move(what)};
    return false;
}

std::optional<std::u32string> decode(std::string_view text, const std::string& file,
                                     LoadError& error)
{
    auto cps = toCodepoints(text);
    if (!cps)
        fail(error, file, 0, "不是有效的文本 (malformed text)");
    return cps;
}

} // namespace

bool StrokeDictionary::parseGridTable(std::string_view text, const std::string& fileName,
                                      LoadError& error)
{
    auto cps = decode(text, fileName, error);
    if (!cps)
        return false;
    m_grid.clear();
    m_grid.reserve(cps->size() / 4);
    Cursor in(*cps);
    while (!in.atEnd()) {
        char32_t c = in.peek();
        if (c == ' ' || c == '\r' || c == '\n' || c == 0x1A) {
            in.take();
            continue;
        }
        const int line = in.line();
        const char32_t character = in.take();
        if (character < 0x80)
            return fail(error, fileName, line,
                        "条目应以汉字开头 (item must begin with a character)");
        // The count field is exactly two characters: "16", " 8" or "9 ".
        int count = 0;
        int digits = 0;
        for (int k = 0; k < 2; ++k) {
            if (in.atEnd())
                return fail(error, fileName, line, "笔画数不完整 (count field cut short)");
            char32_t d = in.take();
            if (isDigit(d)) {
                count = count * 10 + static_cast<int>(d - '0');
                ++digits;
            } else if (d != ' ') {
                return fail(error, fileName, line, "笔画数无效 (bad count field)");
            }
        }
        if (digits == 0 || count < 1)
            return fail(error, fileName, line, "笔画数无效 (bad count field)");
        if (!in.atEnd() && in.peek() != ' ' && in.peek() != '\r' && in.peek() != '\n')
            return fail(error, fileName, line, "条目后应有空格 (blank expected after item)");
        m_grid.emplace(character, count); // the first item of a character wins
    }
    if (m_grid.empty())
        return fail(error, fileName, 0, "表为空 (empty table)");
    return true;
}

bool StrokeDictionary::parseGroupTable(std::string_view text, const std::string& fileName,
                                       LoadError& error)
{
    auto cps = decode(text, fileName, error);
    if (!cps)
        return false;
    m_group.clear();
    std::u32string_view rest = *cps;
    int line = 0;
    while (!rest.empty()) {
        ++line;
        auto eol = rest.find(U'\n');
        std::u32string_view row = rest.substr(0, eol);
        rest = eol == std::u32string_view::npos ? std::u32string_view() : rest.substr(eol + 1);
        if (!row.empty() && row.back() == U'\r')
            row.remove_suffix(1);
        if (row.empty())
            continue;
        auto tab = row.find(U'\t');
        if (tab == std::u32string_view::npos)
            return fail(error, fileName, line, "缺少制表符 (expected \"count<TAB>characters\")");
        auto count = parseInt(toUtf8(row.substr(0, tab)));
        if (!count || *count < 1)
            return fail(error, fileName, line, "笔画数无效 (bad count)");
        // Groups come in ascending count and the last group holding a character wins.
        for (char32_t c : row.substr(tab + 1))
            m_group[c] = *count;
    }
    if (m_group.empty())
        return fail(error, fileName, 0, "表为空 (empty table)");
    return true;
}

bool StrokeDictionary::parseGeneralTable(std::string_view text, const std::string& fileName,
                                         LoadError& error)
{
    auto cps = decode(text, fileName, error);
    if (!cps)
        return false;
    m_general.clear();
    m_general.reserve(cps->size() / 3);
    Cursor in(*cps);
    while (!in.atEnd()) {
        if (char32_t c = in.peek(); c == '\r' || c == '\n' || c == ' ') {
            in.take();
            continue;
        }
        const int line = in.line();
        char32_t key = 0;
        int keyLength = 0;
        while (!in.atEnd() && !isDigit(in.peek()) && in.peek() != ',') {
            key = in.take();
            ++keyLength;
        }
        int count = 0;
        int digits = 0;
        while (!in.atEnd() && isDigit(in.peek())) {
            count = count * 10 + static_cast<int>(in.take() - '0');
            if (++digits > 3)
                return fail(error, fileName, line, "笔画数无效 (bad count)");
        }
        if (keyLength == 0 || digits == 0 || in.atEnd() || in.take() != ',')
            return fail(error, fileName, line, "条目应为\"字笔画,\" (expected \"<key><count>,\")");
        // Keys of two characters exist in such tables; a lookup is always of one character.
        if (keyLength == 1)
            m_general.emplace(key, count);
    }
    if (m_general.empty())
        return fail(error, fileName, 0, "表为空 (empty table)");
    return true;
}

int StrokeDictionary::gridStrokeCount(std::string_view character) const
{
    auto cp = singleCodepoint(character);
    if (!cp)
        return -1;
    auto it = m_grid.find(*cp);
    return it == m_grid.end() ? -1 : it->second;
}

int StrokeDictionary::displayStrokeCount(std::string_view character,
                                         const TraditionalTable* traditional) const
{
    auto cp = singleCodepoint(character);
    if (!cp)
        return 0;
    if (auto it = m_group.find(*cp); it != m_group.end())
        return it->second;
    const char32_t form = traditional ? traditional->toTraditional(*cp) : *cp;
    auto it = m_general.find(form);
    return it == m_general.end() ? 0 : it->second;
}

std::string StrokeDictionary::strokeString(std::string_view text,
                                           const TraditionalTable* traditional) const
{
    std::string out;
    for (const auto& c : splitCharacters(text)) {
        if (!out.empty())
            out += '-';
        out += std::to_string(displayStrokeCount(c, traditional));
    }
    return out;
}

} // namespace hmf::core
