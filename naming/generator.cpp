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
            result.message = "请填写固定字";
            result.icon = MessageIcon::Information;
            return result;
        }
    }
    const std::string surname = core::trimBlanks(settings.surname);
    if (surname.empty()) {
        result.message = "请填写姓氏";
        result.icon = MessageIcon::Information;
        return result;
    }
    std::string error = checkSurname(m_tables, surname);
    if (error.empty() && settings.fixedOn)
        error = checkFixedCharacter(m_tables, fixedChar);
    if (error.empty())
        error = calendar::checkBirthTime(settings.birth);
    if (!error.empty()) {
        result.message = error;
        result.icon = MessageIcon::Information;
        return result;
    }
    result.clearRows = true;
    if (m_session.birthChartRequested)
        m_session.chartDateTime = settings.birth;

    std::optional<std::vector<std::string>> library;
    if (settings.characters) {
        std::string text;
        for (const auto& c : *settings.characters)
            text += c + "\n";
        library = parseLibrary(text, "字库", m_tables.strokes, error);
    } else {
        std::filesystem::path path = settings.libraryFile;
        if (path.empty()) {
            path = settings.dataDir / libraryFileName(settings.sex);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(path, ec)) {
                result.message =
                    settings.sex == "男" ? "字库男不存在 无法生成" : "字库女不存在 无法生成";
                result.dataFault = true;
                return result;
            }
        }
        library = loadLibrary(path, m_tables.strokes, error);
    }
    if (!library) {
        result.message = error;
        result.dataFault = !settings.characters && settings.libraryFile.empty();
        return result;
    }
    const auto chart = calendar::birthChart(settings.birth, m_tables.sexagenary);
    if (!chart) {
        result.message = "请填写正确的出生日期";
        return result;
    }

    m_library = std::move(*library);
    m_surname = surname;
    // A character that is not one known character cannot be placed; with the option off at the
    // start it is simply not used if the option is ticked later.
    m_fixedChar = checkFixedCharacter(m_tables, fixedChar).empty() ? fixedChar : std::string();
    m_missing = chart->missing;
    m_assessor.emplace(m_tables, surname, settings.sex, favourableElements(*chart), true);
    m_facts.clear();
    for (const auto& c : m_library)
        m_facts.push_back(m_assessor->facts(c));
    m_fixedFacts = m_assessor->facts(m_fixedChar);
    m_random.seed(settings.seed);
    m_listed.clear();
    m_draws = 0;
    m_streak = 0;
    m_running = true;
    result.started = true;
    return result;
}

DrawResult NameGenerator::draw(const DrawSettings& settings)
{
    DrawResult result;
    if (!m_running)
        return result;
    result.drawn = true;
    ++m_draws;

    std::uniform_int_distribution<std::size_t> pick(0, m_library.size() - 1);
    std::size_t picked[3] = {0, 0, 0};
    int drawn = 0;
    const auto drawOne = [&]() -> const std::string& {
        picked[drawn++] = pick(m_random);
        return m_library[picked[drawn - 1]];
    };
    const int length = std::clamp(settings.length, 1, 3);
    const bool fixed = settings.fixedOn && !m_fixedChar.empty();
    m_session.givenNameLength = length;

    std::string given;
    const CharFacts* facts[3] = {nullptr, nullptr, nullptr};
    if (length == 1) {
        // The fixed character is not part of a one-character name; its bonus still applies.
        given = drawOne();
        facts[0] = &m_facts[picked[0]];
    } else {
        std::string c[3];
        for (int i = 0; i < length; ++i) {
            c[i] = drawOne();
            facts[i] = &m_facts[picked[i]];
        }
        if (fixed) {
            int position = std::clamp(settings.fixedPosition, 1, length);
            if (length == 2 && position != 1)
                position = 2;
            c[position - 1] = m_fixedChar;
            facts[position - 1] = &m_fixedFacts;
        }
        for (int i = 0; i < length; ++i)
            given += c[i];
    }
    result.givenName = given;
    result.fullName = m_surname + given;

    core::ScoreInput input;
    input.grids = core::gridNumbers(m_tables.strokes, m_surname, given);
    input.year = settings.year;
    input.month = settings.month;
    input.day = settings.day;
    input.missing = m_missing;
    input.givenName = given;
    input.fixedCharacter = settings.fixedOn && !m_fixedChar.empty();
    result.score = core::nameScore(m_tables.luck, m_tables.elements, input);

    m_assessor->assess(facts, length, &result.assessment);

    if (!m_listed.insert(result.fullName).second) {
        result.duplicate = true;
        ++m_streak;
    } else if (settings.leaveOutFaulty && result.assessment.leftOutByDefault()) {
        // Counted as listed, so drawing it again is a duplicate as for any other name.
        result.leftOut = true;
        m_streak = 0;
    } else {
        m_streak = 0;
        result.title = rowTitle(result.fullName, result.score);
        result.candidate = settings.collect && result.score.value_or(0) >= settings.threshold;
    }
    if (m_streak > kMaxDuplicateStreak || m_draws >= kMaxDraws) {
        m_running = false;
        result.finished = true;
    }
    return result;
}

} // namespace hmf::naming
