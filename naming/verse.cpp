#include "naming/verse.h"

#include "core/datafile.h"
#include "core/text.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace hmf::naming {

namespace {

constexpr unsigned kLineBits = 22;
constexpr std::size_t kMaxLines = std::size_t(1) << kLineBits;
constexpr char32_t kCodepointLimit = 1u << 21;

std::uint64_t pairKey(char32_t low, char32_t high)
{
    return (std::uint64_t(low) << 21) | high;
}

// The start of a faulty line for the message: a line may be megabytes long.
std::string excerpt(std::string_view line)
{
    constexpr std::size_t kShown = 10;
    const auto pieces = core::splitCharacters(line);
    std::string out;
    for (std::size_t i = 0; i < pieces.size() && i < kShown; ++i)
        out += core::isValidUtf8(pieces[i]) ? pieces[i] : std::string("?");
    return pieces.size() > kShown ? out + "…" : out;
}

std::vector<std::string_view> splitTabs(std::string_view row)
{
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (true) {
        const auto tab = row.find('\t', pos);
        fields.push_back(row.substr(pos, tab == std::string_view::npos ? tab : tab - pos));
        if (tab == std::string_view::npos)
            return fields;
        pos = tab + 1;
    }
}

// Each character of the name in a place of its own: 依依 needs 依 twice in the line.
bool holds(std::u32string_view line, std::u32string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto needed = std::count(name.begin(), name.end(), name[i]);
        if (std::count(line.begin(), line.end(), name[i]) < needed)
            return false;
    }
    return true;
}

bool inOrder(std::u32string_view line, std::u32string_view name)
{
    std::size_t at = 0;
    for (char32_t c : name) {
        at = line.find(c, at);
        if (at == std::u32string_view::npos)
            return false;
        ++at;
    }
    return true;
}

// Smaller is better: in order, then the book's rank, then side by side, then the earlier line.
auto rankKey(const VerseMatch& match, int book)
{
    return std::make_tuple(!match.inOrder, book, !match.together, match.line);
}

} // namespace

std::optional<VerseTable> VerseTable::parse(std::string_view text, const std::string& fileName,
                                            core::LoadError& error)
{
    VerseTable table;
    int lineNumber = 0;
    const auto fail = [&](const std::string& what) {
        error = core::LoadError{fileName, lineNumber, what};
        return std::nullopt;
    };
    while (!text.empty()) {
        const std::string_view raw = core::takeLine(text);
        ++lineNumber;
        if (!core::isValidUtf8(raw))
            return fail("不是有效的文本");
        // Trimmed per field: the author after the last TAB may be empty.
        std::string row = core::trimBlanks(raw);
        if (row.empty() || row[0] == '#')
            continue;
        const auto fields = splitTabs(raw);
        const std::string kind = core::trimBlanks(fields[0]);
        if (kind == "书") {
            if (fields.size() != 2 || core::trimBlanks(fields[1]).empty())
                return fail("书的格式应为“书<TAB>书名”：" + excerpt(row));
            const std::string name = core::trimBlanks(fields[1]);
            if (table.bookIndex(name))
                return fail("书名重复：" + excerpt(name));
            table.m_books.push_back(name);
            table.m_bookStart.push_back(static_cast<std::uint32_t>(table.m_lines.size()));
            continue;
        }
        if (kind == "篇") {
            if (table.m_books.empty())
                return fail("“篇”之前没有“书”");
            if (fields.size() != 3 || core::trimBlanks(fields[1]).empty())
                return fail("篇的格式应为“篇<TAB>标题<TAB>作者”：" + excerpt(row));
            table.m_poems.push_back(Poem{static_cast<int>(table.m_books.size()) - 1,
                                         core::trimBlanks(fields[1]),
                                         core::trimBlanks(fields[2])});
            continue;
        }
        if (table.m_poems.empty() || table.m_poems.back().book + 1 != int(table.m_books.size()))
            return fail("诗句之前没有“篇”：" + excerpt(row));
        if (fields.size() != 1)
            return fail("诗句中不应有制表符：" + excerpt(row));
        if (table.m_lines.size() >= kMaxLines)
            return fail("诗句太多");
        const std::size_t start = table.m_han.size();
        if (table.m_hanStart.empty())
            table.m_hanStart.push_back(0);
        const std::u32string codepoints = core::toCodepoints(row).value_or(std::u32string());
        for (char32_t c : codepoints)
            if (core::isHan(c))
                table.m_han += c;
        if (table.m_han.size() == start)
            return fail("诗句中没有汉字：" + excerpt(row));
        table.m_hanStart.push_back(static_cast<std::uint32_t>(table.m_han.size()));
        table.m_lines.push_back(
            Line{static_cast<std::uint32_t>(table.m_poems.size() - 1), std::move(row)});
        table.m_lineBook.push_back(static_cast<int>(table.m_books.size()) - 1);
    }
    lineNumber = 0;
    if (table.m_lines.empty())
        return fail("表中没有诗句");
    table.m_bookStart.push_back(static_cast<std::uint32_t>(table.m_lines.size()));
    table.buildIndex();
    return table;
}

void VerseTable::buildIndex()
{
    // A pair key holds two code points (21 bits each) and a line id (22 bits) in one word.
    std::vector<std::uint64_t> entries;
    std::u32string distinct;
    for (std::uint32_t id = 0; id < m_lines.size(); ++id) {
        const auto han = lineCharacters(id);
        distinct.assign(han.begin(), han.end());
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        for (std::size_t i = 0; i < distinct.size(); ++i) {
            m_index[distinct[i]].push_back(id);
            for (std::size_t j = i + 1; j < distinct.size(); ++j)
                entries.push_back((pairKey(distinct[i], distinct[j]) << kLineBits) | id);
        }
    }
    std::sort(entries.begin(), entries.end());
    m_pairLines.reserve(entries.size());
    for (std::uint64_t entry : entries) {
        const std::uint64_t key = entry >> kLineBits;
        if (m_pairKeys.empty() || m_pairKeys.back() != key) {
            m_pairKeys.push_back(key);
            m_pairStart.push_back(static_cast<std::uint32_t>(m_pairLines.size()));
        }
        m_pairLines.push_back(static_cast<std::uint32_t>(entry & ((1u << kLineBits) - 1)));
    }
    m_pairStart.push_back(static_cast<std::uint32_t>(m_pairLines.size()));
}

std::optional<VerseTable> VerseTable::load(const std::filesystem::path& path,
                                           core::LoadError& error)
{
    auto text = core::readGbkFile(path, error);
    if (!text)
        return std::nullopt;
    return parse(*text, path.filename().string(), error);
}

std::optional<int> VerseTable::bookIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < m_books.size(); ++i)
        if (m_books[i] == name)
            return static_cast<int>(i);
    return std::nullopt;
}

std::span<const std::uint32_t> VerseTable::linesWithPair(char32_t a, char32_t b) const
{
    if (a == b || a >= kCodepointLimit || b >= kCodepointLimit)
        return {};
    const std::uint64_t key = a < b ? pairKey(a, b) : pairKey(b, a);
    const auto it = std::lower_bound(m_pairKeys.begin(), m_pairKeys.end(), key);
    if (it == m_pairKeys.end() || *it != key)
        return {};
    const auto k = static_cast<std::size_t>(it - m_pairKeys.begin());
    return std::span<const std::uint32_t>(m_pairLines).subspan(m_pairStart[k],
                                                              m_pairStart[k + 1] - m_pairStart[k]);
}

std::pair<std::uint32_t, std::uint32_t> VerseTable::bookLines(int book) const
{
    if (book < 0 || book >= static_cast<int>(m_books.size()))
        return {0, 0};
    return {m_bookStart[static_cast<std::size_t>(book)],
            m_bookStart[static_cast<std::size_t>(book) + 1]};
}

VerseSource VerseTable::source(std::uint32_t line) const
{
    const Poem& poem = m_poems[m_lines[line].poem];
    return VerseSource{m_books[static_cast<std::size_t>(poem.book)], poem.title, poem.author,
                       m_lines[line].text};
}

const std::vector<std::uint32_t>& VerseTable::linesWith(char32_t c) const
{
    static const std::vector<std::uint32_t> kNone;
    const auto it = m_index.find(c);
    return it == m_index.end() ? kNone : it->second;
}

void VerseTable::forEachMatch(std::u32string_view name, int book,
                              const std::function<void(const VerseMatch&)>& visit) const
{
    if (name.empty())
        return;
    // The shortest list among the name's characters and pairs of different characters; the
    // lines on it are then checked whole (a character needed twice, a third character).
    std::span<const std::uint32_t> shortest = linesWith(name[0]);
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (const auto& list = linesWith(name[i]); list.size() < shortest.size())
            shortest = list;
        for (std::size_t j = i + 1; j < name.size(); ++j)
            if (name[i] != name[j])
                if (auto list = linesWithPair(name[i], name[j]); list.size() < shortest.size())
                    shortest = list;
    }
    auto first = shortest.begin();
    auto last = shortest.end();
    if (book >= 0) {
        const auto [from, to] = bookLines(book);
        first = std::lower_bound(shortest.begin(), shortest.end(), from);
        last = std::lower_bound(first, shortest.end(), to);
    }
    const std::string utf8 = core::toUtf8(name);
    for (auto it = first; it != last; ++it) {
        const auto han = lineCharacters(*it);
        if (name.size() > 1 && !holds(han, name))
            continue;
        visit(VerseMatch{*it, inOrder(han, name),
                         m_lines[*it].text.find(utf8) != std::string::npos});
    }
}

std::vector<VerseMatch> VerseTable::matches(std::string_view givenName, int book) const
{
    std::vector<VerseMatch> found;
    const auto name = core::toCodepoints(core::trimBlanks(givenName));
    if (!name)
        return found;
    forEachMatch(*name, book, [&](const VerseMatch& m) { found.push_back(m); });
    std::sort(found.begin(), found.end(), [&](const VerseMatch& a, const VerseMatch& b) {
        return rankKey(a, lineBook(a.line)) < rankKey(b, lineBook(b.line));
    });
    return found;
}

std::optional<VerseMatch> VerseTable::bestMatch(std::string_view givenName) const
{
    std::optional<VerseMatch> best;
    const auto name = core::toCodepoints(core::trimBlanks(givenName));
    if (!name)
        return best;
    forEachMatch(*name, -1, [&](const VerseMatch& m) {
        if (!best || rankKey(m, lineBook(m.line)) < rankKey(*best, lineBook(best->line)))
            best = m;
    });
    return best;
}

std::optional<VerseSource> VerseTable::bestSource(std::string_view givenName) const
{
    const auto best = bestMatch(givenName);
    if (!best)
        return std::nullopt;
    return source(best->line);
}

std::string citation(const VerseSource& source)
{
    std::string out = "《" + source.book + "·" + source.title + "》";
    if (!source.author.empty())
        out += "（" + source.author + "）";
    return out + source.line;
}

std::vector<MarkedPiece> markCharacters(std::string_view line, std::string_view givenName)
{
    const auto nameChars = core::splitCharacters(givenName);
    std::vector<MarkedPiece> pieces;
    for (auto& c : core::splitCharacters(line)) {
        const bool marked = std::find(nameChars.begin(), nameChars.end(), c) != nameChars.end();
        if (pieces.empty() || pieces.back().marked != marked)
            pieces.push_back(MarkedPiece{std::move(c), marked});
        else
            pieces.back().text += c;
    }
    return pieces;
}

const VerseTable* verseTable(const std::filesystem::path& dataDir, core::LoadError& error)
{
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::unique_ptr<VerseTable>> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    auto& slot = loaded[dataDir];
    if (!slot) {
        auto table = VerseTable::load(dataDir / kVerseFileName, error);
        if (!table)
            return nullptr;
        slot = std::make_unique<VerseTable>(std::move(*table));
    }
    return slot.get();
}

} // namespace hmf::naming
