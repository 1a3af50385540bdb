#include "core/namedata.h"

#include "core/text.h"

#include <functional>

namespace hmf::core {
namespace {

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (true) {
        auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// Calls `record(fields, lineNumber)` for every record line; stops at the first fault, which
// `record` reports through `error`. A file without any record is a fault as well.
bool forEachRecord(std::string_view text, const std::string& fileName, LoadError& error,
                   std::size_t fieldCount,
                   const std::function<bool(const std::vector<std::string_view>&, int)>& record)
{
    int line = 0;
    int records = 0;
    while (!text.empty()) {
        std::string_view raw = takeLine(text);
        ++line;
        if (raw.empty() || raw.front() == '#' || trimBlanks(raw).empty())
            continue;
        auto fields = splitTabs(raw);
        if (fields.size() != fieldCount) {
            error =
                LoadError{fileName, line,
                          "应有" + std::to_string(fieldCount) + "个以制表符分隔的字段 (expected " +
                              std::to_string(fieldCount) + " TAB-separated fields)"};
            return false;
        }
        if (!record(fields, line))
            return false;
        ++records;
    }
    if (records == 0) {
        error = LoadError{fileName, 0, "表为空 (empty table)"};
        return false;
    }
    return true;
}

// The one Han character of a field, or nullopt after filling `error`.
std::optional<char32_t> hanField(std::string_view field, const std::string& fileName, int line,
                                 LoadError& error)
{
    auto cp = singleCodepoint(field);
    if (!cp || !isHan(*cp)) {
        error = LoadError{fileName, line, "第一栏应为一个汉字 (first field must be one character)"};
        return std::nullopt;
    }
    return cp;
}

LoadError duplicate(const std::string& fileName, int line, std::string_view field)
{
    return LoadError{fileName, line, "重复的字: " + std::string(field) + " (duplicate)"};
}

} // namespace

bool MeaningTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_map.clear();
    return forEachRecord(text, fileName, error, 4, [&](const auto& f, int line) {
        auto cp = hanField(f[0], fileName, line, error);
        if (!cp)
            return false;
        CharMeaning m;
        if (f[1] == "男")
            m.sex = SexLeaning::Male;
        else if (f[1] == "女")
            m.sex = SexLeaning::Female;
        else if (f[1] == "中")
            m.sex = SexLeaning::Neutral;
        else {
            error = LoadError{fileName, line, "性别应为 男、女 或 中 (sex must be 男, 女 or 中)"};
            return false;
        }
        if (f[2] == "+")
            m.polarity = 1;
        else if (f[2] == "0")
            m.polarity = 0;
        else if (f[2] == "-")
            m.polarity = -1;
        else {
            error = LoadError{fileName, line, "褒贬应为 +、0 或 - (polarity must be +, 0 or -)"};
            return false;
        }
        m.meaning = trimBlanks(f[3]);
        if (m.meaning.empty()) {
            error = LoadError{fileName, line, "缺少字义 (meaning missing)"};
            return false;
        }
        if (!m_map.emplace(*cp, std::move(m)).second) {
            error = duplicate(fileName, line, f[0]);
            return false;
        }
        return true;
    });
}

const CharMeaning* MeaningTable::find(char32_t cp) const
{
    auto it = m_map.find(cp);
    return it == m_map.end() ? nullptr : &it->second;
}

std::uint64_t BadWordList::key(const std::uint32_t* codes, std::size_t n)
{
    std::uint64_t k = n;
    for (std::size_t i = 0; i < n; ++i)
        k = k * 0x9E3779B97F4A7C15ULL + codes[i];
    return k;
}

bool BadWordList::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_words.clear();
    m_index.clear();
    return forEachRecord(text, fileName, error, 3, [&](const auto& f, int line) {
        BadWord w;
        w.word = trimBlanks(f[0]);
        const auto chars = splitCharacters(w.word);
        for (const auto& c : chars)
            if (auto cp = singleCodepoint(c); !cp || !isHan(*cp)) {
                error = LoadError{fileName, line, "词应由汉字组成 (word must be Han characters)"};
                return false;
            }
        if (chars.size() < kMinLength || chars.size() > kMaxLength) {
            error = LoadError{fileName, line, "词应为2到4个字 (word must have 2 to 4 characters)"};
            return false;
        }
        std::string_view readings = f[1];
        while (!readings.empty()) {
            auto blank = readings.find(' ');
            std::string_view one = readings.substr(0, blank);
            readings =
                blank == std::string_view::npos ? std::string_view() : readings.substr(blank + 1);
            if (one.empty())
                continue;
            auto s = syllableFromNumbered(one);
            if (!s) {
                error = LoadError{fileName, line,
                                  "读音应为带声调数字的拼音: " + std::string(one).substr(0, 12) +
                                      " (reading must be pinyin with a tone digit)"};
                return false;
            }
            w.syllables.push_back(std::move(*s));
        }
        if (w.syllables.size() != chars.size()) {
            error = LoadError{fileName, line,
                              "读音的音节数与字数不符 (one syllable per character expected)"};
            return false;
        }
        w.reason = trimBlanks(f[2]);
        if (w.reason.empty()) {
            error = LoadError{fileName, line, "缺少原因 (reason missing)"};
            return false;
        }
        std::vector<std::uint32_t> codes;
        for (const auto& s : w.syllables)
            codes.push_back(s.code);
        m_index[key(codes.data(), codes.size())].push_back(
            static_cast<std::uint32_t>(m_words.size()));
        m_words.push_back(std::move(w));
        return true;
    });
}

bool LevelTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_map.clear();
    return forEachRecord(text, fileName, error, 2, [&](const auto& f, int line) {
        auto cp = hanField(f[0], fileName, line, error);
        if (!cp)
            return false;
        if (f[1].size() != 1 || f[1][0] < '1' || f[1][0] > '3') {
            error = LoadError{fileName, line, "级别应为 1、2 或 3 (level must be 1, 2 or 3)"};
            return false;
        }
        if (!m_map.emplace(*cp, static_cast<std::uint8_t>(f[1][0] - '0')).second) {
            error = duplicate(fileName, line, f[0]);
            return false;
        }
        return true;
    });
}

int LevelTable::level(char32_t cp) const
{
    auto it = m_map.find(cp);
    return it == m_map.end() ? 0 : it->second;
}

bool PolyphoneTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    m_map.clear();
    return forEachRecord(text, fileName, error, 3, [&](const auto& f, int line) {
        auto cp = hanField(f[0], fileName, line, error);
        if (!cp)
            return false;
        Polyphone p{trimBlanks(f[1]), trimBlanks(f[2])};
        if (p.readings.empty() || p.note.empty()) {
            error = LoadError{fileName, line, "缺少读音或说明 (readings or note missing)"};
            return false;
        }
        if (!m_map.emplace(*cp, std::move(p)).second) {
            error = duplicate(fileName, line, f[0]);
            return false;
        }
        return true;
    });
}

const Polyphone* PolyphoneTable::find(char32_t cp) const
{
    auto it = m_map.find(cp);
    return it == m_map.end() ? nullptr : &it->second;
}

int ThreeTalentTable::elementOfNumber(int n)
{
    const int digit = ((n % 10) + 10) % 10;
    // 1 2 木, 3 4 火, 5 6 土, 7 8 金, 9 0 水
    return digit == 0 ? 4 : (digit - 1) / 2;
}

bool ThreeTalentTable::parse(std::string_view text, const std::string& fileName, LoadError& error)
{
    static constexpr std::array<std::string_view, 5> kNames = {"木", "火", "土", "金", "水"};
    static constexpr std::array<std::pair<std::string_view, TalentVerdict>, 4> kVerdicts = {{
        {"（半吉）", TalentVerdict::FairGood},
        {"（半凶）", TalentVerdict::FairBad},
        {"（吉）", TalentVerdict::Good},
        {"（凶）", TalentVerdict::Bad},
    }};
    m_verdicts.fill(TalentVerdict::None);
    int line = 0;
    int pending = -1; // configuration of the latest element line
    int found = 0;
    while (!text.empty()) {
        const std::string trimmed = trimBlanks(takeLine(text));
        ++line;
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
            if (pending < 0 ||
                m_verdicts[static_cast<std::size_t>(pending)] != TalentVerdict::None) {
                error = LoadError{fileName, line,
                                  "评语前缺少五行配置 (verdict without its configuration)"};
                return false;
            }
            m_verdicts[static_cast<std::size_t>(pending)] = verdict;
            pending = -1;
            ++found;
            break;
        }
    }
    if (found != 125) {
        error = LoadError{fileName, 0,
                          "应有125种配置的评语，实有" + std::to_string(found) +
                              " (125 verdicts expected)"};
        return false;
    }
    return true;
}

TalentVerdict ThreeTalentTable::verdict(int tian, int ren, int di) const
{
    const int index = (elementOfNumber(tian) * 5 + elementOfNumber(ren)) * 5 + elementOfNumber(di);
    return m_verdicts[static_cast<std::size_t>(index)];
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
