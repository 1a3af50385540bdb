#include "core/strokes.h"

#include "core/datafile.h"
#include "core/text.h"

namespace hmf::core {
namespace {

// Walks a table text (well-formed UTF-8, checked beforehand) character by character and keeps
// the line number for errors.
class Cursor
{
  public:
    explicit Cursor(std::string_view text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    char32_t peek() const
    {
        std::size_t length;
        return decodeAt(m_pos, length);
    }
    char32_t take()
    {
        std::size_t length;
        const char32_t c = decodeAt(m_pos, length);
        m_pos += length;
        if (c == '\n')
            ++m_line;
        return c;
    }
    int line() const { return m_line; }

  private:
    char32_t decodeAt(std::size_t i, std::size_t& length) const
    {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(m_text[i + k]); };
        const unsigned char b0 = byte(0);
        if (b0 < 0x80) {
            length = 1;
            return b0;
        }
        if (b0 < 0xE0) {
            length = 2;
            return (char32_t(b0 & 0x1F) << 6) | (byte(1) & 0x3F);
        }
        if (b0 < 0xF0) {
            length = 3;
            return (char32_t(b0 & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        }
        length = 4;
        return (char32_t(b0 & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) |
               (char32_t(byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
};

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

Error fail(const std::string& file, int line, std::string what)
{
    return Error{ErrorCode::BadData, std::move(what), file, line};
}

Status wellFormed(std::string_view text, const std::string& file)
{
    if (isValidUtf8(text))
        return {};
    return fail(file, 0, "不是有效的文本 (malformed text)");
}

} // namespace

Status StrokeDictionary::parseGridTable(std::string_view text, const std::string& fileName)
{
    if (Status status = wellFormed(text, fileName); !status)
        return status;
    m_grid.clear();
    m_grid.reserve(text.size() / 6);
    Cursor in(text);
    while (!in.atEnd()) {
        char32_t c = in.peek();
        if (c == ' ' || c == '\r' || c == '\n' || c == 0x1A) {
            in.take();
            continue;
        }
        const int line = in.line();
        const char32_t character = in.take();
        if (character < 0x80)
            return fail(fileName, line, "条目应以汉字开头 (item must begin with a character)");
        // The count field is exactly two characters: "16", " 8" or "9 ".
        int count = 0;
        int digits = 0;
        for (int k = 0; k < 2; ++k) {
            if (in.atEnd())
                return fail(fileName, line, "笔画数不完整 (count field cut short)");
            char32_t d = in.take();
            if (isDigit(d)) {
                count = count * 10 + static_cast<int>(d - '0');
                ++digits;
            } else if (d != ' ') {
                return fail(fileName, line, "笔画数无效 (bad count field)");
            }
        }
        if (digits == 0 || count < 1)
            return fail(fileName, line, "笔画数无效 (bad count field)");
        if (!in.atEnd() && in.peek() != ' ' && in.peek() != '\r' && in.peek() != '\n')
            return fail(fileName, line, "条目后应有空格 (blank expected after item)");
        m_grid.emplace(character, count); // the first item of a character wins
    }
    if (m_grid.empty())
        return fail(fileName, 0, "表为空 (empty table)");
    return {};
}

Status StrokeDictionary::parseGroupTable(std::string_view text, const std::string& fileName)
{
    if (Status status = wellFormed(text, fileName); !status)
        return status;
    m_group.clear();
    m_group.reserve(text.size() / 3);
    TableRows rows(text, fileName, 2);
    while (rows.next()) {
        if (rows.fieldCount() != 2)
            return rows.fail("缺少制表符 (expected \"count<TAB>characters\")");
        auto count = parseInt(rows.field(0));
        if (!count || *count < 1)
            return rows.fail("笔画数无效 (bad count)");
        // Groups come in ascending count and the last group holding a character wins.
        for (Cursor in(rows.field(1)); !in.atEnd();) {
            const char32_t c = in.take();
            // A byte of damage here would pass for a common character the other tables lack.
            if (!isHan(c))
                return rows.fail("不是汉字：" + quotedInput(toUtf8(c)) +
                                 " (not a Chinese character)");
            m_group[c] = *count;
        }
    }
    if (rows.failed())
        return rows.error();
    if (m_group.empty())
        return fail(fileName, 0, "表为空 (empty table)");
    return {};
}

Status StrokeDictionary::parseGeneralTable(std::string_view text, const std::string& fileName)
{
    if (Status status = wellFormed(text, fileName); !status)
        return status;
    m_general.clear();
    m_general.reserve(text.size() / 5);
    Cursor in(text);
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
                return fail(fileName, line, "笔画数无效 (bad count)");
        }
        if (keyLength == 0 || digits == 0 || in.atEnd() || in.take() != ',')
            return fail(fileName, line, "条目应为\"字笔画,\" (expected \"<key><count>,\")");
        // Keys of two characters exist in such tables; a lookup is always of one character.
        if (keyLength == 1)
            m_general.emplace(key, count);
    }
    if (m_general.empty())
        return fail(fileName, 0, "表为空 (empty table)");
    return {};
}

int StrokeDictionary::gridCount(char32_t cp) const
{
    auto it = m_grid.find(cp);
    return it == m_grid.end() ? -1 : it->second;
}

int StrokeDictionary::generalCount(char32_t cp) const
{
    auto it = m_general.find(cp);
    return it == m_general.end() ? -1 : it->second;
}

int StrokeDictionary::otherCount(std::string_view character) const
{
    const auto cp = singleCodepoint(character);
    if (!cp)
        return 0;
    const auto it = m_group.find(*cp);
    return it == m_group.end() || it->second == gridCount(*cp) ? 0 : it->second;
}

std::vector<char32_t> StrokeDictionary::groupCharacters() const
{
    std::vector<char32_t> out;
    out.reserve(m_group.size());
    for (const auto& entry : m_group)
        out.push_back(entry.first);
    return out;
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
