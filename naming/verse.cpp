#include "naming/verse.h"

#include "core/archive.h"
#include "core/datafile.h"
#include "core/prebuilt.h"
#include "core/text.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace hmf::naming {

namespace {

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

core::Result<VerseTable> VerseTable::parse(std::string_view text, const std::string& fileName)
{
    return parseText(std::string(text), fileName, false);
}

core::Result<VerseTable> VerseTable::parseText(std::string text, const std::string& fileName,
                                               bool knownWellFormed)
{
    VerseTable table;
    table.m_text.assign(text.data(), text.size());
    const std::string_view all(table.m_text.data(), table.m_text.size());
    // One field more than a row may hold, so that a row with too many is refused.
    core::TableRows rows(all, fileName, 4);
    const auto fail = [&](const std::string& what) { return rows.fail(what); };
    // Text decoded from GBK is always well-formed: only other text is checked line by line.
    const bool wellFormed = knownWellFormed || core::isValidUtf8(all);
    // Nearly every character of the table is a three-byte Chinese one.
    table.m_han.reserve(all.size() / 3);
    while (rows.next()) {
        if (!wellFormed && !core::isValidUtf8(rows.text()))
            return fail("不是有效的文本");
        // Trimmed per field: the author after the last TAB may be empty.
        const std::string_view row = core::trimBlanksView(rows.text());
        if (row.empty() || row[0] == '#')
            continue;
        const std::size_t fieldCount = rows.fieldCount();
        const auto field = [&](std::size_t i) { return core::trimBlanks(rows.field(i)); };
        // A line of one field (every verse) is its own first field.
        const std::string_view kind = fieldCount == 1 ? row : core::trimBlanksView(rows.field(0));
        if (kind == "书") {
            if (fieldCount != 2 || field(1).empty())
                return fail("书的格式应为“书<TAB>书名”：" + excerpt(row));
            const std::string name = field(1);
            if (table.bookIndex(name))
                return fail("书名重复：" + excerpt(name));
            table.m_books.push_back(name);
            table.m_bookStart.push_back(static_cast<std::uint32_t>(table.m_lines.size()));
            continue;
        }
        if (kind == "篇") {
            if (table.m_books.empty())
                return fail("“篇”之前没有“书”");
            if (fieldCount != 3 || field(1).empty())
                return fail("篇的格式应为“篇<TAB>标题<TAB>作者”：" + excerpt(row));
            table.m_poems.push_back(
                Poem{static_cast<int>(table.m_books.size()) - 1, field(1), field(2)});
            continue;
        }
        if (table.m_poems.empty() || table.m_poems.back().book + 1 != int(table.m_books.size()))
            return fail("诗句之前没有“篇”：" + excerpt(row));
        if (fieldCount != 1)
            return fail("诗句中不应有制表符：" + excerpt(row));
        const std::size_t start = table.m_han.size();
        if (table.m_hanStart.empty())
            table.m_hanStart.push_back(0);
        // The line is well-formed (checked above), so its characters decode without checks.
        const auto* p = reinterpret_cast<const unsigned char*>(row.data());
        const auto* const end = p + row.size();
        while (p < end) {
            const unsigned b = *p;
            char32_t c = b;
            int length = 1;
            if (b >= 0xF0) {
                c = ((b & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) |
                    (p[3] & 0x3Fu);
                length = 4;
            } else if (b >= 0xE0) {
                c = ((b & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
                length = 3;
            } else if (b >= 0xC0) {
                c = ((b & 0x1Fu) << 6) | (p[1] & 0x3Fu);
                length = 2;
            }
            if (length > 1 && core::isHan(c))
                table.m_han.push_back(c);
            p += length;
        }
        if (table.m_han.size() == start)
            return fail("诗句中没有汉字：" + excerpt(row));
        table.m_hanStart.push_back(static_cast<std::uint32_t>(table.m_han.size()));
        table.m_lines.push_back(Line{static_cast<std::uint32_t>(table.m_poems.size() - 1),
                                     static_cast<std::uint32_t>(row.data() - all.data()),
                                     static_cast<std::uint32_t>(row.size())});
        table.m_lineBook.push_back(static_cast<int>(table.m_books.size()) - 1);
    }
    if (rows.failed())
        return rows.error();
    if (table.m_lines.empty())
        return fail("表中没有诗句");
    table.m_bookStart.push_back(static_cast<std::uint32_t>(table.m_lines.size()));
    return table;
}

const VerseTable::Index& VerseTable::index() const
{
    std::call_once(m_index->built, [this] {
        for (std::uint32_t id = 0; id < m_lines.size(); ++id) {
            for (char32_t c : lineCharacters(id)) {
                auto& list = m_index->lines[c];
                if (list.empty() || list.back() != id)
                    list.push_back(id);
            }
        }
        m_index->ready.store(true, std::memory_order_release);
    });
    return m_index->lines;
}

core::Result<VerseTable> VerseTable::load(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    if (core::hasPrebuiltTable(kPrebuiltKey)) {
        const auto stamp = core::stampFile(path);
        if (!stamp)
            return stamp.error();
        const core::PrebuiltFile file{name, stamp->size, stamp->fingerprint};
        if (const auto form = core::prebuiltForm(kPrebuiltKey, std::span(&file, 1)); !form.empty())
            if (auto table = restore(form, true))
                return std::move(*table);
    }
    const auto bytes = core::readFileBytes(path);
    if (!bytes)
        return bytes.error();
    auto text = core::decodeGbkBytes(*bytes, name);
    if (!text)
        return text.error();
    if (core::Status complete = core::checkRowCount(*text, name); !complete)
        return complete.error();
    return parseText(std::move(*text), name, true);
}

std::string VerseTable::archived() const
{
    core::ArchiveWriter writer;
    archiveMembers(writer, *this);
    return writer.bytes();
}

std::optional<VerseTable> VerseTable::restore(std::string_view form, bool lend)
{
    VerseTable table;
    core::ArchiveReader reader(form, lend);
    archiveMembers(reader, table);
    if (!reader.finished())
        return std::nullopt;
    return table;
}

std::optional<int> VerseTable::bookIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < m_books.size(); ++i)
        if (m_books[i] == name)
            return static_cast<int>(i);
    return std::nullopt;
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
                       std::string(lineText(line))};
}

const std::vector<std::uint32_t>& VerseTable::linesWith(char32_t c) const
{
    static const std::vector<std::uint32_t> kNone;
    const Index& lines = index();
    const auto it = lines.find(c);
    return it == lines.end() ? kNone : it->second;
}

template <typename Visit>
void VerseTable::walk(std::u32string_view name, int book, Visit&& visit) const
{
    if (name.empty())
        return;
    std::uint32_t from = 0;
    std::uint32_t to = static_cast<std::uint32_t>(m_lines.size());
    if (book >= 0)
        std::tie(from, to) = bookLines(book);
    // The first search looks at every line, which costs less than building the index; from
    // the second on the index serves.
    if (!m_index->ready.load(std::memory_order_acquire) &&
        m_index->searches.fetch_add(1, std::memory_order_relaxed) == 0) {
        for (std::uint32_t id = from; id < to; ++id)
            if (holds(lineCharacters(id), name) && !visit(id))
                return;
        return;
    }
    // A pair of characters is found by walking the two shortest lists of its characters
    // together; the lines found are then checked whole (a character needed twice, a third one).
    const std::vector<std::uint32_t>* shortest = &linesWith(name[0]);
    const std::vector<std::uint32_t>* second = nullptr;
    for (std::size_t i = 1; i < name.size(); ++i) {
        const auto* list = &linesWith(name[i]);
        if (name[i] == name[0] || list == shortest || list == second)
            continue;
        if (list->size() < shortest->size()) {
            second = shortest;
            shortest = list;
        } else if (!second || list->size() < second->size()) {
            second = list;
        }
    }
    auto first = std::lower_bound(shortest->begin(), shortest->end(), from);
    const auto last = std::lower_bound(first, shortest->end(), to);
    auto other = second ? second->begin() : std::vector<std::uint32_t>::const_iterator();
    // Binary steps through the other list when it is much longer, plain steps otherwise.
    const bool gallop = second && second->size() > 16 * shortest->size();
    for (; first != last; ++first) {
        const std::uint32_t id = *first;
        if (second) {
            other = gallop ? std::lower_bound(other, second->end(), id)
                           : std::find_if(other, second->end(),
                                          [id](std::uint32_t x) { return x >= id; });
            if (other == second->end())
                return;
            if (*other != id)
                continue;
        }
        if (name.size() > 2 || (name.size() == 2 && !second))
            if (!holds(lineCharacters(id), name))
                continue;
        if (!visit(id))
            return;
    }
}

void VerseTable::forEachMatch(std::u32string_view name, int book,
                              const std::function<void(const VerseMatch&)>& visit) const
{
    const std::string utf8 = core::toUtf8(name);
    walk(name, book, [&](std::uint32_t id) {
        visit(VerseMatch{id, inOrder(lineCharacters(id), name),
                         lineText(id).find(utf8) != std::string_view::npos});
        return true;
    });
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
    const auto name = core::toCodepoints(core::trimBlanks(givenName));
    if (!name)
        return std::nullopt;
    // The ranking of matches(), without ranking every line: lines are walked in order, and the
    // books stand in the table in their rank, so the first line in the name's order fixes the
    // book; within it the first line with the characters side by side wins (side by side is in
    // order too). Without any line in order, the first line of all wins.
    const std::string utf8 = core::toUtf8(*name);
    std::optional<VerseMatch> first;
    std::optional<VerseMatch> best;
    walk(*name, -1, [&](std::uint32_t id) {
        if (best && lineBook(id) != lineBook(best->line))
            return false;
        if (!first)
            first = VerseMatch{id, false, false};
        // Side by side in the text means side by side among the line's characters: that check
        // is cheap and rules out most lines before the text is searched.
        const auto han = lineCharacters(id);
        const auto together = [&] {
            return han.find(*name) != std::u32string_view::npos &&
                   lineText(id).find(utf8) != std::string_view::npos;
        };
        if (best) {
            // Only a line with the characters side by side beats the line found.
            if (!together())
                return true;
            best = VerseMatch{id, true, true};
            return false;
        }
        if (!inOrder(han, *name))
            return true;
        best = VerseMatch{id, true, together()};
        return !best->together;
    });
    return best ? best : first;
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

core::Result<const VerseTable*> verseTable(const std::filesystem::path& dataDir)
{
    static std::mutex mutex;
    // Kept to the end of the process and never freed, like the other tables: tearing ten
    // thousand lines down at exit is work nobody sees.
    static auto& loaded = *new std::map<std::filesystem::path, std::unique_ptr<VerseTable>>;
    const std::lock_guard<std::mutex> lock(mutex);
    auto& slot = loaded[dataDir];
    if (!slot) {
        auto table = VerseTable::load(dataDir / kVerseFileName);
        if (!table)
            return table.error();
        // The program offers these four books everywhere: one missing is the file's fault, not
        // the user's choice of book.
        for (const char* book : {"诗经", "楚辞", "唐诗", "宋词"})
            if (!table->bookIndex(book)) {
                return core::Error{core::ErrorCode::BadData,
                                   std::string("缺少《") + book + "》 (book missing)",
                                   kVerseFileName, 0};
            }
        slot = std::make_unique<VerseTable>(std::move(*table));
    }
    return static_cast<const VerseTable*>(slot.get());
}

} // namespace hmf::naming
