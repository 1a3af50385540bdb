#pragma once
// The assessment of a name: a figure from 0 to 100 that ranks names by what a parent weighs
// (how the name sounds, what its characters mean, whether they are easy to write and register,
// the luck of its numbers and, with a birth time, how it serves the chart), with the reasons.
// It stands beside the product's score and never changes it.

#include "calendar/calendar.h"
#include "core/grids.h"
#include "core/namedata.h"
#include "core/syllable.h"
#include "core/tables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::naming {

enum class FlagKind { Homophone, Tone, Meaning, Usage, Numerology, Elements, Pairing };

// "谐音", "音律", "字义", "用字", "数理", "五行", "搭配".
std::string_view kindName(FlagKind kind);

struct AssessmentFlag
{
    FlagKind kind = FlagKind::Tone;
    std::string text;   // one short Chinese sentence
    int points = 0;     // what it adds to the figure: negative for a cost, positive for a merit
    bool fault = false; // a fault (costs clearly more) rather than a nuance

    std::string_view kindText() const { return kindName(kind); }
};

struct CharacterNote
{
    std::string character;
    std::string meaning; // empty when the meaning table does not know the character
};

struct Assessment
{
    int figure = 0;
    std::vector<AssessmentFlag> flags; // costs first, the biggest first; merits last
    std::vector<CharacterNote> given;  // each given character with its meaning
    std::string nameMeaning;           // 寓意 of a name of the name base; empty otherwise
    std::string nameSource;            // its 出处, empty when it has none
    bool homophoneFault = false;       // sounds like a word of the bad-word list
    bool toneFault = false;            // a 音律 fault
    bool outsideTable = false;         // a given character outside the general table

    // What the generator's default option leaves out.
    bool leftOutByDefault() const { return homophoneFault || outsideTable; }
};

struct AssessmentRequest
{
    std::string surname;   // one or two characters
    std::string givenName; // one to three characters
    std::string sex = {};  // "男", "女", or empty when not known
    std::optional<calendar::BirthTime> birth = {};
};

// Checks the name (and the birth time when given) like the report does and assesses it.
core::Result<Assessment> assessName(const core::Tables& tables, const AssessmentRequest& request);

// The lines that show an assessment (no line ends): the figure, each reason with its kind and
// points, then the meaning of each given character.
std::vector<std::string> assessmentLines(const Assessment& assessment);

// What the sound checks read of a syllable: core::Syllable without its texts, since a run of
// names keeps the facts of every character of its library. The initial and the final are packed
// a byte a letter (at most two and seven), so they compare as their texts do; 0 is empty.
struct Sound
{
    std::uint64_t finalCode = 0;
    std::uint32_t code = 0;
    std::uint32_t initialCode = 0;
    int tone = 5;

    Sound() = default;
    explicit Sound(const core::Syllable& s) : code(s.code), tone(s.tone)
    {
        for (char c : s.initial)
            initialCode = initialCode << 8 | static_cast<unsigned char>(c);
        for (char c : s.final)
            finalCode = finalCode << 8 | static_cast<unsigned char>(c);
    }
    bool level() const { return tone == 1 || tone == 2 || tone == 5; } // as core::Syllable's
};

// What the assessment reads of one character, looked up once.
struct CharFacts
{
    std::string text;
    char32_t cp = 0;
    std::optional<Sound> syllable;            // the reading in a name; none when unknown
    int strokes = -1;                         // grid stroke count
    int element = 5;                          // index in core::kElementOrder; 5 for none
    int level = 0;                            // general table level, 0 outside
    std::optional<core::CharMeaning> meaning; // its texts are views into the tables
    std::optional<core::Polyphone> polyphone;

    // The parts of the figure that depend on this character alone, worked out once by the
    // assessor that looked it up (NameAssessor::facts) for the figures it gives without reasons:
    // characterPoints, and soundStep as the first given character.
    struct OwnParts
    {
        int points = 0;
        int firstSound = 0;
        int firstHomophone = 0;
        bool firstHomophoneFault = false;
        bool firstToneFault = false;
    };
    std::optional<OwnParts> own;
};

// The assessment for one surname, sex and chart, split into parts so that a ranking can bound
// what a partial name can still reach: figure = base + Σ characterPoints + sound steps +
// wholeName. Every part but characterPoints can only cost; the flags are optional everywhere.
class NameAssessor
{
  public:
    // `favourable`: the chart's favourable elements (empty without a birth time or when the
    // chart favours none); `birthKnown` says whether the 五行 part is judged at all.
    NameAssessor(const core::Tables& tables, std::string_view surname, std::string_view sex,
                 std::vector<std::string> favourable, bool birthKnown);

    CharFacts facts(std::string_view character) const;
    const std::vector<CharFacts>& surname() const { return m_surname; }

    // The starting figure for a given name of n characters: a name whose every part is as good
    // as it can be reaches 100.
    int base(int n) const;
    // The most characterPoints can give one character.
    int maxCharacterPoints() const;
    // Meaning, sex, level, reading and element of one given character.
    int characterPoints(const CharFacts& c, std::vector<AssessmentFlag>* flags) const;

    // The sound rules that close with given character k (0-based), given[0..k] known: pairs with
    // the neighbour, repeats, and words of two to four syllables ending there. Returns the cost
    // (≤ 0) besides the homophone part, which is the largest homophone cost so far and is kept
    // in `homophone` (≤ 0, the worst word counts once); sets `fault` on a 音律 or 谐音 fault.
    int soundStep(const CharFacts* const* given, int k, int& homophone, bool& homophoneFault,
                  bool& toneFault, std::vector<AssessmentFlag>* flags) const;
    // Rules of the whole name: its tone pattern, the grids' luck and the chart's elements.
    int wholeName(const CharFacts* const* given, int n, bool& toneFault,
                  std::vector<AssessmentFlag>* flags) const;
    // Same, with the grids the caller has counted already.
    int wholeName(const CharFacts* const* given, int n, const core::FiveGrids& grids,
                  bool& toneFault, std::vector<AssessmentFlag>* flags) const;
    // The luck of the grids of a name (≤ 0); depends on the stroke counts only.
    int numerologyPoints(const core::FiveGrids& grids, std::vector<AssessmentFlag>* flags) const;
    // Whether the given characters belong together (≤ 0): a name of the name base costs
    // nothing; another costs a little, and much more when its two characters' senses do not
    // meet (搭配). `found` receives the base's entry.
    int pairSense(const CharFacts* const* given, int n, std::vector<AssessmentFlag>* flags,
                  std::optional<core::BaseName>* found = nullptr) const;
    // Cost of a complete name's sound pattern (≤ 0).
    int tonePattern(const CharFacts* const* given, int n, bool& toneFault,
                    std::vector<AssessmentFlag>* flags) const;
    // 五行 of a complete name beyond characterPoints (≤ 0): none of its characters helps.
    int elementShortfall(const CharFacts* const* given, int n,
                         std::vector<AssessmentFlag>* flags) const;

    // The figure of a complete name and, when `out` is given, its faults and, unless `reasons`
    // is false, all its reasons and the meaning of each character (without them `out` holds
    // the figure and the faults alone, at a fraction of the cost). `grids`, when given, are the
    // name's grids, which the caller has counted already.
    int assess(const CharFacts* const* given, int n, Assessment* out, bool reasons = true,
               const core::FiveGrids* grids = nullptr) const;
    // Same, from texts (each one character).
    Assessment assess(const std::vector<std::string>& given) const;

    const std::vector<int>& surnameCounts() const { return m_surnameCounts; }

  private:
    // The facts without their own parts (the constructor looks up the surname before it knows
    // what the parts depend on).
    CharFacts lookUp(std::string_view character) const;
    // numerologyPoints without reasons from the tables of costs (negated); none for a number
    // beyond them.
    std::optional<int> numerologyCost(const core::FiveGrids& grids) const;

    // Numbers below this have their luck's cost in a table (a grid of more is rare).
    static constexpr int kCostedNumbers = 160;

    const core::Tables& m_tables;
    std::array<std::array<std::int8_t, kCostedNumbers>, 4> m_gridCost{}; // 人 地 总 外 by number
    std::array<std::int8_t, 125> m_talentCost{};                // by the three talents' elements
    std::array<std::uint8_t, kCostedNumbers> m_numberElement{}; // the three-talent element
    std::vector<CharFacts> m_surname;
    std::vector<int> m_surnameCounts;
    core::SexLeaning m_sex = core::SexLeaning::Neutral;
    bool m_sexKnown = false;
    std::vector<std::string> m_favourable;
    std::array<bool, 6> m_favours{}; // by element index
    bool m_birthKnown = false;
};

} // namespace hmf::naming
