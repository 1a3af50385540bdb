#include "naming/generator.h"

#include "calendar/birthchart.h"
#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "naming/candidates.h"
#include "naming/favourable.h"
#include "naming/library.h"
#include "naming/namecheck.h"

#include <algorithm>
#include <bit>

namespace hmf::naming {

NameGenerator::NameGenerator(const core::Tables& tables, SessionState& session)
    : m_tables(tables), m_session(session)
{
}

StartResult NameGenerator::start(const RunSettings& settings)
{
    StartResult result;
    m_running = false;
    const std::string fixedChar = core::trimBlanks(settings.fixedChar);
    if (settings.fixedOn) {
        // Set before the character is checked: a report after a refused start still shows the
        // row score it is given.
        m_session.fixedCharUsed = true;
        if (fixedChar.empty()) {
            result.status = core::inputError("请填写固定字");
            return result;
        }
    }
    const std::string surname = core::trimBlanks(settings.surname);
    if (surname.empty()) {
        result.status = core::inputError("请填写姓氏");
        return result;
    }
    result.status = checkSurname(m_tables, surname);
    if (result.status && settings.fixedOn)
        result.status = checkFixedCharacter(m_tables, fixedChar);
    if (result.status)
        result.status = calendar::checkBirthTime(settings.birth);
    if (!result.status)
        return result;
    result.clearRows = true;
    if (m_session.birthChartRequested)
        m_session.chartDateTime = settings.birth;

    std::optional<core::Result<std::vector<std::string>>> library;
    if (settings.characters) {
        std::string text;
        for (const auto& c : *settings.characters)
            text += c + "\n";
        library = parseLibrary(text, "字库", m_tables.strokes);
    } else {
        std::filesystem::path path = settings.libraryFile;
        if (path.empty()) {
            path = settings.dataDir / libraryFileName(settings.sex);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(path, ec)) {
                result.status = core::Error{core::ErrorCode::MissingFile,
                                            settings.sex == "男" ? "字库男不存在 无法生成"
                                                                 : "字库女不存在 无法生成",
                                            {},
                                            0};
                return result;
            }
        }
        library = loadLibrary(path, m_tables.strokes);
    }
    if (!*library) {
        core::Error error = std::move(library->error());
        // Only the program's own library is a fault of its data; a library the user named or
        // typed is input.
        if (settings.characters || !settings.libraryFile.empty())
            error.code = core::ErrorCode::BadInput;
        result.status = std::move(error);
        return result;
    }
    const auto chart = calendar::birthChart(settings.birth, m_tables.sexagenary);
    if (!chart) {
        result.status = core::inputError("请填写正确的出生日期");
        return result;
    }

    m_library = std::move(library->value());
    m_surname = surname;
    // A character that is not one known character cannot be placed; with the option off at the
    // start it is simply not used if the option is ticked later.
    m_fixedChar = checkFixedCharacter(m_tables, fixedChar) ? fixedChar : std::string();
    m_missing = chart->missing;
    m_assessor.emplace(m_tables, surname, settings.sex, favourableElements(*chart), true);
    m_facts.clear();
    m_facts.reserve(m_library.size());
    for (const auto& c : m_library)
        m_facts.push_back(m_assessor->facts(c));
    m_fixedFacts = m_assessor->facts(m_fixedChar);
    result.status = startVerse(settings);
    if (!result.status)
        return result;
    m_random.seed(settings.seed);
    m_listed.clear();
    m_listed.reserve(kMaxDraws); // a run lists each drawn name at most once
    m_scorer.reset();            // it holds the chart of the run before
    m_draws = 0;
    m_streak = 0;
    m_running = true;
    return result;
}

void DrawResult::reset()
{
    // Field by field, so that the texts and lists keep their storage for the next draw.
    drawn = false;
    fullName.clear();
    givenName.clear();
    score.reset();
    duplicate = false;
    title.clear();
    candidate = false;
    finished = false;
    message.clear();
    assessment.figure = 0;
    assessment.flags.clear();
    assessment.given.clear();
    assessment.homophoneFault = false;
    assessment.toneFault = false;
    assessment.outsideTable = false;
    leftOut = false;
    source.reset();
}

void ListedNames::clear()
{
    m_slots.clear();
    m_count = 0;
    m_others.clear();
}

void ListedNames::reserve(std::size_t names)
{
    // At most two thirds full, so a probe ends soon at an empty slot.
    if (3 * names <= 2 * m_slots.size())
        return;
    std::vector<std::uint64_t> old(std::bit_ceil(std::max<std::size_t>(1024, (3 * names + 1) / 2)),
                                   0);
    old.swap(m_slots);
    for (std::uint64_t k : old)
        if (k != 0)
            m_slots[slotFor(k)] = k;
}

bool ListedNames::insert(const char32_t* codepoints, int n, std::string_view text)
{
    std::uint64_t key = 0;
    bool packed = n >= 1 && n <= 3;
    for (int i = 0; i < n && packed; ++i) {
        packed = codepoints[i] != 0 && codepoints[i] <= 0x10FFFF;
        key |= static_cast<std::uint64_t>(codepoints[i]) << (21 * i);
    }
    if (!packed)
        return m_others.insert(std::string(text)).second;

    reserve(m_count + 1);
    std::uint64_t& slot = m_slots[slotFor(key)];
    if (slot == key)
        return false;
    slot = key;
    ++m_count;
    return true;
}

std::size_t ListedNames::slotFor(std::uint64_t key) const
{
    // Fibonacci hashing: the high bits of the product mix every code point in. Linear probing
    // from there to the key or to the first empty slot.
    const int bits = std::countr_zero(m_slots.size());
    auto i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
    while (m_slots[i] != 0 && m_slots[i] != key)
        i = (i + 1) & (m_slots.size() - 1);
    return i;
}

DrawResult NameGenerator::draw(const DrawSettings& settings)
{
    DrawResult result;
    draw(settings, result);
    return result;
}

void NameGenerator::draw(const DrawSettings& settings, DrawResult& result)
{
    result.reset();
    if (!m_running)
        return;
    result.drawn = true;
    ++m_draws;

    const int length = std::clamp(settings.length, 1, 3);
    const bool fixed = settings.fixedOn && !m_fixedChar.empty();
    m_session.givenNameLength = length;

    std::string& given = result.givenName;
    const CharFacts* facts[3] = {nullptr, nullptr, nullptr};
    bool packable = true; // the given name is the characters of `facts`, at most three
    if (m_verse) {
        auto verseName = drawFromVerse(length, fixed, settings.fixedPosition, result.source);
        if (!verseName) {
            // No line of the book offers this many characters (the length was raised mid-run):
            // the run ends without a name, and says why.
            m_running = false;
            result.finished = true;
            result.message = verseShortage(length, fixed);
            return;
        }
        given = std::move(*verseName);
        const auto characters = core::splitCharacters(given);
        packable = characters.size() <= 3;
        for (std::size_t i = 0; i < characters.size() && i < 3; ++i) {
            m_verseFacts[i] = m_assessor->facts(characters[i]);
            facts[i] = &m_verseFacts[i];
        }
    } else {
        std::uniform_int_distribution<std::size_t> pick(0, m_library.size() - 1);
        // The fixed character is not part of a one-character name; its bonus still applies.
        for (int i = 0; i < length; ++i)
            facts[i] = &m_facts[pick(m_random)];
        if (fixed && length > 1) {
            int position = std::clamp(settings.fixedPosition, 1, length);
            if (length == 2 && position != 1)
                position = 2;
            facts[position - 1] = &m_fixedFacts;
        }
        for (int i = 0; i < length; ++i)
            given += facts[i]->text;
    }
    result.fullName.reserve(m_surname.size() + given.size());
    result.fullName.append(m_surname).append(given);

    // The score from the stroke counts and elements already looked up for the assessment (the
    // same as from the texts: each character's facts hold its grid count and element).
    int counts[3] = {0, 0, 0};
    char32_t codepoints[3] = {0, 0, 0};
    int n = 0;
    for (; n < 3 && facts[n]; ++n) {
        counts[n] = facts[n]->strokes;
        codepoints[n] = facts[n]->cp;
    }
    const ScorerKey key{settings.year, settings.month, settings.day, fixed};
    std::optional<core::FiveGrids> grids;
    if (n == 0 || m_assessor->surnameCounts().empty()) {
        core::ScoreInput input;
        input.grids = core::gridNumbers(m_tables.strokes, m_surname, given);
        input.year = settings.year;
        input.month = settings.month;
        input.day = settings.day;
        input.missing = m_missing;
        input.givenName = given;
        input.fixedCharacter = fixed;
        result.score = core::nameScore(m_tables.luck, m_tables.elements, input);
    } else {
        if (!m_scorer || !(m_scorerKey == key)) {
            m_scorer.emplace(m_tables.luck, m_assessor->surnameCounts(), key.year, key.month,
                             key.day, m_missing, key.fixed);
            m_scorerKey = key;
        }
        grids = core::gridNumbersFromCounts(m_assessor->surnameCounts().data(),
                                            m_assessor->surnameCounts().size(), counts,
                                            static_cast<std::size_t>(n));
        result.score = m_scorer->score(*grids, n, facts[0]->element, facts[n - 1]->element);
    }

    // The grids counted for the score serve the assessment when they are of the same characters.
    m_assessor->assess(facts, length, &result.assessment, settings.reasons,
                       grids && n == length ? &*grids : nullptr);

    if (!m_listed.insert(codepoints, packable ? n : 0, given)) {
        result.duplicate = true;
        ++m_streak;
    } else if (settings.leaveOutFaulty && result.assessment.leftOutByDefault()) {
        // Counted as listed, so drawing it again is a duplicate as for any other name.
        result.leftOut = true;
        m_streak = 0;
    } else {
        m_streak = 0;
        appendRowTitle(result.title, result.fullName, result.score);
        result.candidate = settings.collect && result.score.value_or(0) >= settings.threshold;
    }
    if (m_streak > kMaxDuplicateStreak || m_draws >= kMaxDraws) {
        m_running = false;
        result.finished = true;
    }
}

core::Status NameGenerator::startVerse(const RunSettings& settings)
{
    m_verse = nullptr;
    for (auto& list : m_verseAtLeast)
        list.clear();
    for (auto& list : m_fixedAtLeast)
        list.clear();
    m_verseLines.clear();
    m_fixedLines.clear();
    if (settings.source.empty() || settings.source == kLibrarySource)
        return {};

    const VerseTable* table = settings.verse;
    if (!table) {
        auto loaded = verseTable(settings.dataDir);
        if (!loaded)
            return loaded.error();
        table = *loaded;
    }
    const auto book = table->bookIndex(settings.source);
    if (!book) {
        std::string books = kLibrarySource;
        for (const auto& name : table->books())
            books += "、" + name;
        return core::inputError("出处应为" + books + "之一：" +
                                core::quotedInput(settings.source, 20));
    }
    // The library's characters only: chosen for names of this sex, within the general table and
    // without a meaning parents avoid. (Widened to every good character of the meaning table,
    // verse gave names such as 南自 大之 于祝.) Each name is then assessed like any other.
    // A particle of the classics (之 兮 以 …) makes no name out of a line of verse, though the
    // library holds some of them for names of other shapes.
    static constexpr std::u32string_view kParticles = U"之兮以尔其而于乎也焉矣哉";
    std::unordered_set<char32_t> pool;
    for (const auto& c : m_library)
        if (auto cp = core::singleCodepoint(c); cp && kParticles.find(*cp) == kParticles.npos)
            pool.insert(*cp);
    const auto [first, last] = table->bookLines(*book);
    const auto fixed = core::singleCodepoint(m_fixedChar);

    for (std::uint32_t id = first; id < last; ++id) {
        const std::u32string_view han = table->lineCharacters(id);
        // Each character once: 之 twice in a line makes no name 之之.
        VerseChoice plain{id, {}};
        VerseChoice withFixed{id, {}};
        bool hasFixed = false;
        for (char32_t c : han) {
            if (fixed && c == *fixed)
                hasFixed = true;
            if (!pool.count(c) || plain.characters.find(c) != std::u32string::npos)
                continue;
            plain.characters += c;
            if (!fixed || c != *fixed)
                withFixed.characters += c;
        }
        const auto add = [](std::vector<VerseChoice>& lines, std::vector<std::uint32_t>* atLeast,
                            VerseChoice&& choice) {
            const std::size_t count = choice.characters.size();
            if (count == 0)
                return;
            const auto index = static_cast<std::uint32_t>(lines.size());
            for (std::size_t k = 1; k <= 3 && k <= count; ++k)
                atLeast[k].push_back(index);
            lines.push_back(std::move(choice));
        };
        add(m_verseLines, m_verseAtLeast, std::move(plain));
        if (hasFixed)
            add(m_fixedLines, m_fixedAtLeast, std::move(withFixed));
    }
    const std::string bookTitle = "《" + settings.source + "》";
    if (m_verseAtLeast[1].empty())
        return core::inputError(bookTitle + "中没有字库里的字，无法取名");
    if (settings.fixedOn && fixed && m_fixedAtLeast[1].empty())
        return core::inputError(bookTitle + "中没有同时含有“" + m_fixedChar +
                                "”和字库里其他字的句子");
    m_verseBook = settings.source;
    if (settings.length >= 1 && settings.length <= 3)
        if (std::string shortage = verseShortage(settings.length, settings.fixedOn && fixed);
            !shortage.empty())
            return core::inputError(shortage);
    m_verse = table;
    return {};
}

std::string NameGenerator::verseShortage(int length, bool fixed) const
{
    // With length 1 the fixed character is not part of the name.
    const bool placeFixed = fixed && length > 1;
    const int drawn = placeFixed ? length - 1 : length;
    const auto& candidates = placeFixed ? m_fixedAtLeast[drawn] : m_verseAtLeast[drawn];
    if (!candidates.empty())
        return {};
    static constexpr const char* kCount[] = {"", "一", "两", "三"};
    const std::string lines =
        placeFixed ? "同时含有“" + m_fixedChar + "”和字库里另外" + kCount[drawn] + "个字的句子"
                   : std::string("含有字库里") + kCount[drawn] + "个不同的字的句子";
    return "《" + m_verseBook + "》中没有" + lines + "，取不了" + kCount[length] + "字名";
}

std::optional<std::string> NameGenerator::drawFromVerse(int length, bool fixed, int position,
                                                        std::optional<VerseSource>& source)
{
    // With length 1 the fixed character is not part of the name.
    const bool placeFixed = fixed && length > 1;
    const int drawn = placeFixed ? length - 1 : length;
    const auto& lines = placeFixed ? m_fixedLines : m_verseLines;
    const auto& candidates = placeFixed ? m_fixedAtLeast[drawn] : m_verseAtLeast[drawn];
    if (candidates.empty())
        return std::nullopt;
    std::uniform_int_distribution<std::size_t> pickLine(0, candidates.size() - 1);
    const VerseChoice& choice = lines[candidates[pickLine(m_random)]];

    // Distinct places of the line, in the order drawn: either order of the line is a name.
    std::u32string places = choice.characters;
    std::u32string name;
    for (int i = 0; i < drawn; ++i) {
        std::uniform_int_distribution<std::size_t> pick(static_cast<std::size_t>(i),
                                                        places.size() - 1);
        std::swap(places[static_cast<std::size_t>(i)], places[pick(m_random)]);
        name += places[static_cast<std::size_t>(i)];
    }
    if (placeFixed) {
        int at = std::clamp(position, 1, length);
        if (length == 2 && at != 1)
            at = 2;
        name.insert(static_cast<std::size_t>(at - 1), 1, *core::singleCodepoint(m_fixedChar));
    }
    source = m_verse->source(choice.line);
    return core::toUtf8(name);
}

} // namespace hmf::naming
