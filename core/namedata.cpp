#include "core/namedata.h"

#include "core/datafile.h"
#include "core/text.h"

namespace hmf::core {
namespace {

// The one Han character of a row's first field, or nullopt after reporting the fault.
std::optional<char32_t> hanField(TableRows& row)
{
    auto cp = singleCodepoint(row.field(0));
    if (!cp || !isHan(*cp)) {
        row.fail("第一栏应为一个汉字 (first field must be one character)");
        return std::nullopt;
    }
    return cp;
}

Error duplicate(TableRows& row)
{
    return row.fail("重复的字: " + std::string(row.field(0)) + " (duplicate)");
}

} // namespace

Status MeaningTable::parse(std::string_view text, const std::string& fileName)
{
    m_map.clear();
    m_text.clear();
    return forEachRow(text, fileName, 4, [&](TableRows& row) -> Status {
        auto cp = hanField(row);
        if (!cp)
            return row.error();
        Entry m;
        if (row.field(1) == "男")
            m.sex = SexLeaning::Male;
        else if (row.field(1) == "女")
            m.sex = SexLeaning::Female;
        else if (row.field(1) == "中")
            m.sex = SexLeaning::Neutral;
        else
            return row.fail("性别应为 男、女 或 中 (sex must be 男, 女 or 中)");
        if (row.field(2) == "+")
            m.polarity = 1;
        else if (row.field(2) == "0")
            m.polarity = 0;
        else if (row.field(2) == "-")
            m.polarity = -1;
        else
            return row.fail("褒贬应为 +、0 或 - (polarity must be +, 0 or -)");
        const std::string_view meaning = trimBlanksView(row.field(3));
        if (meaning.empty())
            return row.fail("缺少字义 (meaning missing)");
        if (m_map.find(*cp) != m_map.end())
            return duplicate(row);
        m.meaning = m_text.add(meaning);
        m_map.emplace(*cp, m);
        return {};
    });
}

std::optional<CharMeaning> MeaningTable::find(char32_t cp) const
{
    auto it = m_map.find(cp);
    if (it == m_map.end())
        return std::nullopt;
    const Entry& e = it->second;
    return CharMeaning{e.sex, e.polarity, m_text.view(e.meaning)};
}

std::uint64_t BadWordList::key(const std::uint32_t* codes, std::size_t n)
{
    std::uint64_t k = n;
    for (std::size_t i = 0; i < n; ++i)
        k = k * 0x9E3779B97F4A7C15ULL + codes[i];
    return k;
}

BadWord BadWordList::word(const Entry& e) const
{
    return {m_text.view(e.word), m_text.view(e.reason), e.length, e.codes, e.tones};
}

void BadWordList::markSeen()
{
    m_seen.reset();
    for (const Entry& e : m_entries)
        m_seen.set(seenBit(e.key));
}

Status BadWordList::parse(std::string_view text, const std::string& fileName)
{
    m_entries.clear();
    m_text.clear();
    std::vector<Entry> entries;
    Status status = forEachRow(text, fileName, 3, [&](TableRows& row) -> Status {
        Entry w;
        const std::string_view word = trimBlanksView(row.field(0));
        std::size_t characters = 0;
        bool han = true;
        forEachCharacter(word, [&](std::string_view c) {
            const auto cp = singleCodepoint(c);
            han = han && cp && isHan(*cp);
            ++characters;
        });
        if (!han)
            return row.fail("词应由汉字组成 (word must be Han characters)");
        if (characters < kMinLength || characters > kMaxLength)
            return row.fail("词应为2到4个字 (word must have 2 to 4 characters)");
        std::string_view readings = row.field(1);
        std::size_t syllables = 0;
        while (!readings.empty()) {
            auto blank = readings.find(' ');
            std::string_view one = readings.substr(0, blank);
            readings =
                blank == std::string_view::npos ? std::string_view() : readings.substr(blank + 1);
            if (one.empty())
                continue;
            auto s = syllableFromNumbered(one);
            if (!s)
                return row.fail("读音应为带声调数字的拼音: " + std::string(one).substr(0, 12) +
                                " (reading must be pinyin with a tone digit)");
            if (syllables < kMaxLength) {
                w.codes[syllables] = s->code;
                w.tones[syllables] = static_cast<std::uint8_t>(s->tone);
            }
            ++syllables;
        }
        if (syllables != characters)
            return row.fail("读音的音节数与字数不符 (one syllable per character expected)");
        const std::string_view reason = trimBlanksView(row.field(2));
        if (reason.empty())
            return row.fail("缺少原因 (reason missing)");
        w.length = static_cast<std::uint8_t>(syllables);
        w.key = key(w.codes.data(), syllables);
        w.word = m_text.add(word);
        w.reason = m_text.add(reason);
        entries.push_back(w);
        return {};
    });
    // By key, the words of one key in the order of the file.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    m_entries.assign(entries.data(), entries.size());
    markSeen();
    return status;
}

Status LevelTable::parse(std::string_view text, const std::string& fileName)
{
    m_map.clear();
    return forEachRow(text, fileName, 2, [&](TableRows& row) -> Status {
        auto cp = hanField(row);
        if (!cp)
            return row.error();
        if (row.field(1).size() != 1 || row.field(1)[0] < '1' || row.field(1)[0] > '3')
            return row.fail("级别应为 1、2 或 3 (level must be 1, 2 or 3)");
        if (!m_map.emplace(*cp, static_cast<std::uint8_t>(row.field(1)[0] - '0')).second)
            return duplicate(row);
        return {};
    });
}

int LevelTable::level(char32_t cp) const
{
    auto it = m_map.find(cp);
    return it == m_map.end() ? 0 : it->second;
}

Status PolyphoneTable::parse(std::string_view text, const std::string& fileName)
{
    m_map.clear();
    m_text.clear();
    m_words.clear();
    return forEachRow(text, fileName, 3, [&](TableRows& row) -> Status {
        const std::string_view readings = trimBlanksView(row.field(1));
        const std::string_view note = trimBlanksView(row.field(2));
        if (readings.empty() || note.empty())
            return row.fail("缺少读音或说明 (readings or note missing)");
        const auto chars = splitCharacters(row.field(0));
        if (chars.size() >= 2) {
            // A word: every character a Han character, one syllable each.
            std::size_t syllables = 0;
            for (std::string_view rest = readings; !rest.empty();) {
                const auto blank = rest.find(' ');
                if (blank != 0)
                    ++syllables;
                rest = blank == std::string_view::npos ? "" : rest.substr(blank + 1);
            }
            bool han = chars.size() <= 4;
            for (const auto& c : chars) {
                const auto wordCp = singleCodepoint(c);
                han = han && wordCp && isHan(*wordCp);
            }
            if (!han || syllables != chars.size())
                return row.fail("词应为二到四个汉字，每字一个读音 (a word of 2-4 characters, one "
                                "syllable each)");
            for (const auto& w : m_words)
                if (w.first == row.field(0))
                    return duplicate(row);
            m_words.emplace_back(std::string(row.field(0)), std::string(readings));
            return {};
        }
        auto cp = hanField(row);
        if (!cp)
            return row.error();
        if (m_map.find(*cp) != m_map.end())
            return duplicate(row);
        m_map.emplace(*cp, Entry{m_text.add(readings), m_text.add(note)});
        return {};
    });
}

std::optional<Polyphone> PolyphoneTable::find(char32_t cp) const
{
    auto it = m_map.find(cp);
    if (it == m_map.end())
        return std::nullopt;
    return Polyphone{m_text.view(it->second.readings), m_text.view(it->second.note)};
}

std::vector<std::string>
PolyphoneTable::wordReadings(const std::vector<std::string>& characters) const
{
    std::vector<std::string> out(characters.size());
    for (std::size_t i = 0; i < characters.size();) {
        std::size_t taken = 0;
        const std::string* syllables = nullptr;
        for (const auto& [word, readings] : m_words) {
            std::size_t n = 0, at = 0;
            while (at < word.size() && i + n < characters.size() &&
                   word.compare(at, characters[i + n].size(), characters[i + n]) == 0) {
                at += characters[i + n].size();
                ++n;
            }
            if (at == word.size() && n > taken) {
                taken = n;
                syllables = &readings;
            }
        }
        if (!syllables) {
            ++i;
            continue;
        }
        std::string_view rest = *syllables;
        for (std::size_t k = 0; k < taken; ++k) {
            const auto blank = rest.find(' ');
            out[i + k] = std::string(rest.substr(0, blank));
            rest = blank == std::string_view::npos ? "" : trimBlanksView(rest.substr(blank + 1));
        }
        i += taken;
    }
    return out;
}

Status ThreeTalentTable::parse(std::string_view text, const std::string& fileName)
{
    static constexpr std::array<std::string_view, 5> kNames = {"木", "火", "土", "金", "水"};
    static constexpr std::array<std::pair<std::string_view, TalentVerdict>, 4> kVerdicts = {{
        {"（半吉）", TalentVerdict::FairGood},
        {"（半凶）", TalentVerdict::FairBad},
        {"（吉）", TalentVerdict::Good},
        {"（凶）", TalentVerdict::Bad},
    }};
    m_verdicts.fill(TalentVerdict::None);
    int pending = -1; // configuration of the latest element line
    int found = 0;
    TableRows rows(text, fileName, 1, SkipLines::None);
    while (rows.next()) {
        const std::string trimmed = trimBlanks(rows.text());
        // An element line: three elements separated by blanks ("木 木 火").
        if (trimmed.size() == 11 && trimmed[3] == ' ' && trimmed[7] == ' ') {
            int index = 0, parts = 0;
            for (int k = 0; k < 3; ++k)
                for (int e = 0; e < 5; ++e)
                    if (std::string_view(trimmed).substr(static_cast<std::size_t>(k) * 4, 3) ==
                        kNames[static_cast<std::size_t>(e)]) {
                        index = index * 5 + e;
                        ++parts;
                    }
            if (parts == 3) {
                pending = index;
                continue;
            }
        }
        for (const auto& [suffix, verdict] : kVerdicts) {
            if (trimmed.size() < suffix.size() ||
                std::string_view(trimmed).substr(trimmed.size() - suffix.size()) != suffix)
                continue;
            if (pending < 0 || m_verdicts[static_cast<std::size_t>(pending)] != TalentVerdict::None)
                return rows.fail("评语前缺少五行配置 (verdict without its configuration)");
            m_verdicts[static_cast<std::size_t>(pending)] = verdict;
            pending = -1;
            ++found;
            break;
        }
    }
    if (rows.failed())
        return rows.error();
    if (found != 125)
        return rows.fail("应有125种配置的评语，实有" + std::to_string(found) +
                         " (125 verdicts expected)");
    return {};
}

std::string_view ThreeTalentTable::verdictText(TalentVerdict verdict)
{
    switch (verdict) {
    case TalentVerdict::Good:
        return "吉";
    case TalentVerdict::FairGood:
        return "半吉";
    case TalentVerdict::FairBad:
        return "半凶";
    case TalentVerdict::Bad:
        return "凶";
    case TalentVerdict::None:
        break;
    }
    return {};
}

} // namespace hmf::core
