#pragma once
// The name generator: draws given names at random from a character library, scores each with
// the one name score and reports it as a list row. One draw per call, so the window can let its
// events run between draws and tests can drive a run with a fixed seed.

#include "calendar/calendar.h"
#include "core/score.h"
#include "core/tables.h"
#include "naming/assessment.h"
#include "naming/session.h"
#include "naming/verse.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace hmf::naming {

// Read once when a run starts.
struct RunSettings
{
    std::string surname;   // trimmed at start
    std::string sex;       // "男" selects the boys' library, anything else the girls'; the
                           // assessment weighs characters by it when it is "男" or "女"
    bool fixedOn = false;  // fixed-character option ticked when the run starts
    std::string fixedChar; // the generation character (辈分字)
    calendar::BirthTime birth;
    std::filesystem::path dataDir;     // where zmz.fne and zwz.fne live
    std::filesystem::path libraryFile; // when not empty, used instead of the sex's library
    // When set, used instead of any file (benchmarks, tests); checked like a loaded library.
    std::optional<std::vector<std::string>> characters;
    std::uint64_t seed = 0;
    // Where names come from: 字库 (or empty), the library alone; or a book of the verse table
    // (诗经, 楚辞, 唐诗, 宋词): the library's characters that stand together in one line of it.
    std::string source;
    // The verse table for a verse source; when null it is read from dataDir on first use.
    const VerseTable* verse = nullptr;
    // The given-name length the run starts with (1 to 3; 0 leaves it unchecked): a verse source
    // refuses to start when no line of its book offers that many characters.
    int length = 0;
};

// The source choice that draws from the library alone.
inline constexpr const char* kLibrarySource = "字库";

// Read again before every draw: the user may change these controls while a run goes on.
struct DrawSettings
{
    int length = 2;        // given-name length 1, 2 or 3
    bool fixedOn = false;  // fixed-character option (its bonus applies even with length 1)
    int fixedPosition = 1; // 1-based position of the fixed character (1 or 2 for length 2)
    int year = 2019, month = 5, day = 5; // the date the score is computed from
    bool collect = true;                 // candidate collection on
    int threshold = 75;                  // candidates score at least this
    // Leave out names that sound like a bad word or hold a character outside the general table.
    bool leaveOutFaulty = true;
    // Each drawn name's assessment with its reasons and character notes; off, with its figure
    // and faults alone (for a list that shows neither).
    bool reasons = true;
};

struct StartResult
{
    // Why the run did not start: input refused (ErrorCode::BadInput, a library the user named
    // included), or the program's own library or verse table missing or damaged.
    core::Status status;
    // The caller empties its list of generated names: true once the surname and fixed-character
    // checks have passed, even when the library then fails.
    bool clearRows = false;

    bool started() const { return status.ok(); }
};

struct DrawResult
{
    bool drawn = false; // false when no run is going on (nothing was drawn)
    std::string fullName;
    std::string givenName;
    std::optional<int> score;
    bool duplicate = false;            // the name is already listed in this run: no new row
    std::string title;                 // row title "name[score分]" of a new name; empty otherwise
    bool candidate = false;            // the new row also goes to the candidate list
    bool finished = false;             // the run ended with this draw (5,000 draws or the streak)
    Assessment assessment;             // of every drawn name
    bool leftOut = false;              // a new name the leave-out option dropped: no row
    std::optional<VerseSource> source; // the line a verse source drew the name from
    // Why the run ended without a name, for the user: no line of the book offers the length
    // asked for mid-run ("《楚辞》中没有…"). Empty otherwise.
    std::string message;

    // Back to a fresh result, keeping the storage of its texts and lists for the next draw.
    void reset();
};

// The names a run has listed. The surname is the same for the whole run, so a given name of up
// to three characters is one number (21 bits a code point), kept in an open-addressed table;
// any other name is kept by its text.
class ListedNames
{
  public:
    void clear();
    // Room for this many names in all without growing.
    void reserve(std::size_t names);
    // Adds the given name of `n` code points (`text` is the same name; with n outside 1 to 3 it
    // is kept by its text); false when it was listed already.
    bool insert(const char32_t* codepoints, int n, std::string_view text);

  private:
    // The slot that holds the key, or the empty slot where it would go.
    std::size_t slotFor(std::uint64_t key) const;

    std::vector<std::uint64_t> m_slots; // 0: empty (a name has at least one code point)
    std::size_t m_count = 0;
    std::unordered_set<std::string> m_others;
};

class NameGenerator
{
  public:
    static constexpr int kMaxDraws = 5000;
    static constexpr int kMaxDuplicateStreak = 500; // one more duplicate in a row ends the run

    NameGenerator(const core::Tables& tables, SessionState& session);

    // Checks the inputs in the order the user sees the messages ("请填写固定字", "请填写姓氏",
    // then the name, fixed character and birth time, then "字库男不存在 无法生成" /
    // "字库女不存在 无法生成" or the library's fault), loads the library and works out the
    // birth chart's missing elements once.
    StartResult start(const RunSettings& settings);

    // One draw with the settings as they are now.
    DrawResult draw(const DrawSettings& settings);
    // Same, into `result`, whose storage is used again (a caller that draws thousands of names
    // and keeps only lines of text).
    void draw(const DrawSettings& settings, DrawResult& result);

    // The stop button: the run ends; later draws draw nothing.
    void stop() { m_running = false; }
    bool running() const { return m_running; }

    int drawCount() const { return m_draws; }
    int duplicateStreak() const { return m_streak; }
    const std::string& missingElements() const { return m_missing; }
    const std::vector<std::string>& library() const { return m_library; }
    bool verseSource() const { return m_verse != nullptr; }

  private:
    // The library's characters in one line of the chosen book, each once.
    struct VerseChoice
    {
        std::uint32_t line = 0;
        std::u32string characters;
    };
    core::Status startVerse(const RunSettings& settings);
    std::optional<std::string> drawFromVerse(int length, bool fixed, int position,
                                             std::optional<VerseSource>& source);
    // "《楚辞》中没有同时含有“敬”和字库里另外两个字的句子，取不了三字名"; empty when a line of
    // the book offers a name of this length.
    std::string verseShortage(int length, bool fixed) const;

    const core::Tables& m_tables;
    SessionState& m_session;
    std::mt19937_64 m_random;
    std::vector<std::string> m_library;
    std::optional<NameAssessor> m_assessor;
    std::vector<CharFacts> m_facts; // of each library character
    CharFacts m_fixedFacts;
    CharFacts m_verseFacts[3]; // of the characters of the last name drawn from a verse
    ListedNames m_listed;
    // The score of the date and fixed-character option it was built for: the user may change
    // them while a run goes on.
    struct ScorerKey
    {
        int year = 0, month = 0, day = 0;
        bool fixed = false;
        bool operator==(const ScorerKey&) const = default;
    };
    std::optional<core::FastScorer> m_scorer;
    ScorerKey m_scorerKey;
    std::string m_surname;
    std::string m_fixedChar;
    std::string m_missing;
    int m_draws = 0;
    int m_streak = 0;
    bool m_running = false;
    const VerseTable* m_verse = nullptr;   // null when drawing from the library alone
    std::string m_verseBook;               // the book drawn from
    std::vector<VerseChoice> m_verseLines; // lines with at least one library character
    std::vector<VerseChoice> m_fixedLines; // lines with the fixed character, which is left out
    // Indexes into the lists above of the lines with at least 1, 2 and 3 characters to draw.
    std::vector<std::uint32_t> m_verseAtLeast[4];
    std::vector<std::uint32_t> m_fixedAtLeast[4];
};

} // namespace hmf::naming
