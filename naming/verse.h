#pragma once
// Classic verse as a source of names: the lines of 诗经, 楚辞, 唐诗三百首 and 宋词三百首 with
// their titles and authors (data/verse.txt), indexed by character, so that a given name finds the
// lines that hold its characters (a pair by walking two sorted lists together) and the generator
// can draw names from one line.

#include "core/block.h"
#include "core/codepointmap.h"
#include "core/result.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::naming {

// Where a name comes from: one line of one poem.
struct VerseSource
{
    std::string book;   // 诗经, 楚辞, 唐诗, 宋词
    std::string title;  // a 宋词 is titled by its tune
    std::string author; // empty for 诗经
    std::string line;   // 静女其姝，俟我于城隅。

    bool operator==(const VerseSource&) const = default;
};

// One line holding a name: the line's id, whether the characters stand in the name's order, and
// whether they stand side by side (静女 in 静女其姝).
struct VerseMatch
{
    std::uint32_t line = 0;
    bool inOrder = false;
    bool together = false;
};

// A piece of a line for display: the name's characters are marked.
struct MarkedPiece
{
    std::string text;
    bool marked = false;

    bool operator==(const MarkedPiece&) const = default;
};

class VerseTable
{
  public:
    // Parses the table's text (UTF-8). Records, one a line: "书<TAB>book", "篇<TAB>title<TAB>
    // author", or a line of the current poem; "#" starts a comment. A fault names the file and
    // the line.
    static core::Result<VerseTable> parse(std::string_view text, const std::string& fileName);
    // Reads and parses a GBK table file; a file that is the shipped one is brought back from
    // its compiled-in form (core/prebuilt.h, key kPrebuiltKey) instead.
    static core::Result<VerseTable> load(const std::filesystem::path& path);
    static constexpr std::string_view kPrebuiltKey = "verse";
    // The parsed table in the form core/archive.h writes, and a table brought back from it
    // (nullopt when the form is not whole).
    std::string archived() const;
    static std::optional<VerseTable> restore(std::string_view form, bool lend = false);

    // Books in the table's order, which is also their rank: the best-known first.
    const std::vector<std::string>& books() const { return m_books; }
    std::optional<int> bookIndex(std::string_view name) const;
    std::size_t lineCount() const { return m_lines.size(); }
    // Ids of the lines of one book: [first, last).
    std::pair<std::uint32_t, std::uint32_t> bookLines(int book) const;

    std::string_view lineText(std::uint32_t line) const
    {
        return std::string_view(m_text.data() + m_lines[line].start, m_lines[line].length);
    }
    // The line's Chinese characters without its punctuation.
    std::u32string_view lineCharacters(std::uint32_t line) const
    {
        return std::u32string_view(m_han.data() + m_hanStart[line],
                                   m_hanStart[line + 1] - m_hanStart[line]);
    }
    int lineBook(std::uint32_t line) const { return m_lineBook[line]; }
    VerseSource source(std::uint32_t line) const;

    // Calls `visit` for every line that holds all characters of `name` (each in a place of its
    // own, so 依依 needs 依 twice), in line order; `book` < 0 searches every book.
    void forEachMatch(std::u32string_view name, int book,
                      const std::function<void(const VerseMatch&)>& visit) const;
    // Every line holding the name, best first: in the name's order, then the better-known book,
    // then side by side, then the earlier line.
    std::vector<VerseMatch> matches(std::string_view givenName, int book = -1) const;
    // The best of matches(), without listing them all; nullopt when no line holds the name.
    std::optional<VerseMatch> bestMatch(std::string_view givenName) const;
    std::optional<VerseSource> bestSource(std::string_view givenName) const;

    // The lines that hold a character, ascending; empty for a character no line holds. The
    // index behind it is built on first use (see walk()).
    const std::vector<std::uint32_t>& linesWith(char32_t c) const;

  private:
    struct Poem
    {
        int book = 0;
        std::string title;
        std::string author;

        template <class Ar, class Self> static void archive(Ar& ar, Self& self)
        {
            ar(self.book, self.title, self.author);
        }
    };
    // A line is a piece of m_text: the table's lines cost no allocation each.
    struct Line
    {
        std::uint32_t poem = 0;
        std::uint32_t start = 0;
        std::uint32_t length = 0;
    };
    using Index = core::CodepointMap<std::vector<std::uint32_t>>;
    // Built once, by the first caller that needs it, whichever thread that is.
    struct LazyIndex
    {
        std::once_flag built;
        Index lines;
        std::atomic<bool> ready{false};
        std::atomic<int> searches{0};
    };
    static core::Result<VerseTable> parseText(std::string text, const std::string& fileName,
                                              bool knownWellFormed);
    const Index& index() const;
    // The members a prebuilt table keeps (the index is built again on demand).
    template <class Ar, class Self> static void archiveMembers(Ar& ar, Self& self)
    {
        ar(self.m_books, self.m_bookStart, self.m_poems, self.m_text, self.m_lines, self.m_lineBook,
           self.m_han, self.m_hanStart);
    }
    // Calls `visit(id)` for every line of `book` (< 0: every book) that holds all characters of
    // `name`, in line order, until it returns false.
    template <typename Visit> void walk(std::u32string_view name, int book, Visit&& visit) const;

    std::vector<std::string> m_books;
    // The arrays below are blocks: a prebuilt table lends them (core/block.h).
    core::Block<std::uint32_t> m_bookStart; // first line of each book, plus the end
    std::vector<Poem> m_poems;
    core::Block<char> m_text; // the table's text, trimmed lines within it
    core::Block<Line> m_lines;
    core::Block<int> m_lineBook;
    // The Chinese characters of every line in one buffer: checking many lines stays in cache.
    core::Block<char32_t> m_han;
    core::Block<std::uint32_t> m_hanStart; // line i is m_han[m_hanStart[i], m_hanStart[i + 1])
    // A flat map: filling it costs no hashing (the table holds 100,000 characters). One search
    // (hmf analyse asks for one "出处" line) walks the lines instead, which costs less than
    // building the index; the second search builds it.
    std::unique_ptr<LazyIndex> m_index = std::make_unique<LazyIndex>();
};

// "《诗经·静女》静女其姝，俟我于城隅。", with the author in brackets after the title when known:
// "《唐诗·登鹳雀楼》（王之涣）白日依山尽，黄河入海流。"
std::string citation(const VerseSource& source);

// The line cut into pieces, every occurrence of a character of the name marked.
std::vector<MarkedPiece> markCharacters(std::string_view line, std::string_view givenName);

// The verse table of a data directory (verse.txt), read and indexed on its first use and kept
// for the rest of the run, or why it cannot be read. Thread-safe.
core::Result<const VerseTable*> verseTable(const std::filesystem::path& dataDir);

// File name of the verse table in the data directory.
inline constexpr const char* kVerseFileName = "verse.txt";

} // namespace hmf::naming
