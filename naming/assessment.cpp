#include "naming/assessment.h"

#include "calendar/birthchart.h"
#include "core/text.h"
#include "naming/favourable.h"
#include "naming/namecheck.h"

#include <algorithm>

namespace hmf::naming {
namespace {

// Every weight of the assessment, in one place. A fault (the name sounds like a bad word, its
// sound is clumsy, a character means what a parent avoids or cannot be registered) costs 12 or
// more, so a name with a fault never outranks a plain one that has none; nuances cost 1 to 6 and
// order names that are all acceptable; merits add a little and spread the good names. The luck
// of the numbers counts, but less than sound and meaning: a parent hears and explains a name
// every day, while its grids only matter to those who believe in them.
struct Weights
{
    // 谐音: the worst fault when a word matches with its tones, as everyone hears it. Other
    // tones change a word of two syllables for a listener (刘基 is not 留级), while three or
    // four syllables give a word away whatever their tones (沈京兵, 神经病): a nuance.
    int homophone = 30;
    int homophoneNear = 4;
    // 音律 faults: a monotone name of four syllables, a given syllable that repeats the
    // surname's, two given characters said alike.
    int sameTones = 12;
    int repeatsSurname = 12;
    int repeatedSyllable = 12;
    // 音律 nuances. Real names often pair two third tones, two level tones or two syllables of
    // one initial, so those cost nothing; only a whole name on one initial or final does.
    int allSameInitial = 2;   // 双声 throughout
    int allSameFinal = 2;     // 叠韵 throughout
    int doubledForBoy = 2;    // 叠字 (婷婷 is usual for girls, for boys it reads as a pet name)
    int uncertainReading = 2; // a stranger may misread the character
    // 搭配: a name of the name base was chosen and read by a person; another name pays a little
    // for being unknown, and much more when its two characters do not belong together.
    int notInBase = 3;
    int pairApart = 10;
    // 字义.
    int negativeMeaning = 18; // a fault
    int otherSex = 6;         // a character names of the other sex use
    int unknownMeaning = 4;   // we cannot vouch for it
    int positiveMeaning = 3;  // merit
    int sexFits = 1;          // merit when the sex is known
    // 用字.
    int outsideTable = 20; // a fault: registration systems may not take it
    int levelThree = 8;    // rare: hard to write and to type
    int levelOne = 1;      // merit: a character everyone knows
    // 数理: by grid, as the name books weigh them (人格 most, 外格 least), and the three talents.
    int renBad = 8, renFair = 3;
    int diBad = 5, diFair = 2;
    int zongBad = 6, zongFair = 2;
    int waiBad = 3, waiFair = 1;
    int talentBad = 6, talentFairBad = 4, talentFairGood = 1;
    // 五行, only with a birth time: each given character of a favourable element earns this,
    // a name that supplies none of them pays the other.
    int favourableEach = 2;
    int noFavourable = 4;
};
constexpr Weights kW;

// The cost of one grid's luck: 人格 地格 总格 外格 (grid 0 to 3), as the name books weigh them.
int gridCost(std::size_t grid, core::LuckVerdict verdict, int number)
{
    // 外格 2 is what every one-character name of a one-character surname has: no choice of
    // character avoids it, so it tells no name from another.
    if (grid == 3 && number == 2)
        return 0;
    const int bad[] = {kW.renBad, kW.diBad, kW.zongBad, kW.waiBad};
    const int fair[] = {kW.renFair, kW.diFair, kW.zongFair, kW.waiFair};
    return verdict == core::LuckVerdict::Bad    ? bad[grid]
           : verdict == core::LuckVerdict::Fair ? fair[grid]
                                                : 0;
}

int talentCost(core::TalentVerdict verdict)
{
    switch (verdict) {
    case core::TalentVerdict::Bad:
        return kW.talentBad;
    case core::TalentVerdict::FairBad:
        return kW.talentFairBad;
    case core::TalentVerdict::FairGood:
        return kW.talentFairGood;
    case core::TalentVerdict::Good:
    case core::TalentVerdict::None:
        break;
    }
    return 0;
}

std::string inQuotes(std::string_view text)
{
    return "“" + std::string(text) + "”";
}

std::string_view toneName(int tone)
{
    static constexpr std::string_view names[] = {"",       "第一声", "第二声",
                                                 "第三声", "第四声", "轻声"};
    return names[std::clamp(tone, 0, 5)];
}

// A character given twice ("婷婷") earns its points twice but is named once: the same remark
// is one line carrying the sum.
void pushFlag(std::vector<AssessmentFlag>& flags, FlagKind kind, std::string text, int points,
              bool fault)
{
    for (auto& f : flags)
        if (f.kind == kind && f.text == text) {
            f.points += points;
            f.fault = f.fault || fault;
            return;
        }
    flags.push_back({kind, std::move(text), points, fault});
}

void addFlag(std::vector<AssessmentFlag>* flags, FlagKind kind, std::string text, int points,
             bool fault)
{
    if (flags)
        pushFlag(*flags, kind, std::move(text), points, fault);
}

// Same, building the text only when the flags are wanted (rankings weigh millions of names).
template <class MakeText>
void addFlagLazy(std::vector<AssessmentFlag>* flags, FlagKind kind, MakeText&& makeText, int points,
                 bool fault)
{
    if (flags)
        pushFlag(*flags, kind, makeText(), points, fault);
}

int elementIndex(const core::Tables& tables, std::string_view c)
{
    const std::string e = core::trimBlanks(tables.elements.elementOf(c));
    for (std::size_t i = 0; i < core::kElementOrder.size(); ++i)
        if (e == core::kElementOrder[i])
            return static_cast<int>(i);
    return 5;
}

} // namespace

std::string_view kindName(FlagKind kind)
{
    switch (kind) {
    case FlagKind::Homophone:
        return "谐音";
    case FlagKind::Tone:
        return "音律";
    case FlagKind::Meaning:
        return "字义";
    case FlagKind::Usage:
        return "用字";
    case FlagKind::Numerology:
        return "数理";
    case FlagKind::Elements:
        return "五行";
    case FlagKind::Pairing:
        return "搭配";
    }
    return {};
}

NameAssessor::NameAssessor(const core::Tables& tables, std::string_view surname,
                           std::string_view sex, std::vector<std::string> favourable,
                           bool birthKnown)
    : m_tables(tables), m_favourable(std::move(favourable)), m_birthKnown(birthKnown)
{
    const std::string trimmed = core::trimBlanks(surname);
    for (const auto& c : core::splitCharacters(trimmed)) {
        m_surname.push_back(lookUp(c));
        m_surnameCounts.push_back(m_surname.back().strokes);
    }
    // A surname sounds as a surname (曾 zēng, 单 shàn, 尉迟 yù chí), not as the plain character.
    if (auto syllables = tables.pinyin.surnameSyllables(trimmed);
        syllables && syllables->size() == m_surname.size()) {
        for (std::size_t i = 0; i < m_surname.size(); ++i) {
            if (const auto s = core::syllableFromMarked((*syllables)[i]))
                m_surname[i].syllable = Sound(*s);
            else
                m_surname[i].syllable.reset();
        }
    }
    m_sexKnown = sex == "男" || sex == "女";
    m_sex = sex == "男" ? core::SexLeaning::Male : core::SexLeaning::Female;
    if (m_birthKnown)
        for (const auto& e : m_favourable)
            for (std::size_t i = 0; i < core::kElementOrder.size(); ++i)
                if (e == core::kElementOrder[i])
                    m_favours[i] = true;
    for (std::size_t grid = 0; grid < 4; ++grid)
        for (int number = 0; number < kCostedNumbers; ++number)
            m_gridCost[grid][static_cast<std::size_t>(number)] =
                static_cast<std::int8_t>(gridCost(grid, tables.luck.verdictOf(number), number));
    for (int number = 0; number < kCostedNumbers; ++number)
        m_numberElement[static_cast<std::size_t>(number)] =
            static_cast<std::uint8_t>(core::ThreeTalentTable::elementOfNumber(number));
    // 2e + 1 is a number of element e (1 木, 3 火, 5 土, 7 金, 9 水).
    for (int index = 0; index < 125; ++index)
        m_talentCost[static_cast<std::size_t>(index)] =
            static_cast<std::int8_t>(talentCost(tables.threeTalents.verdict(
                index / 25 * 2 + 1, index / 5 % 5 * 2 + 1, index % 5 * 2 + 1)));
}

CharFacts NameAssessor::facts(std::string_view character) const
{
    CharFacts f = lookUp(character);
    if (f.cp == 0)
        return f;
    CharFacts::OwnParts own;
    own.points = characterPoints(f, nullptr);
    const CharFacts* first[] = {&f};
    own.firstSound = soundStep(first, 0, own.firstHomophone, own.firstHomophoneFault,
                               own.firstToneFault, nullptr);
    f.own = own;
    return f;
}

CharFacts NameAssessor::lookUp(std::string_view character) const
{
    CharFacts f;
    f.text = std::string(character);
    f.strokes = m_tables.gridStrokeCount(character);
    auto cp = core::singleCodepoint(character);
    if (!cp)
        return f;
    f.cp = *cp;
    if (const auto s = core::syllableFromMarked(m_tables.pinyin.readingOf(*cp)))
        f.syllable = Sound(*s);
    f.element = elementIndex(m_tables, character);
    f.level = m_tables.levels.level(*cp);
    f.meaning = m_tables.meanings.find(*cp);
    f.polyphone = m_tables.polyphones.find(*cp);
    return f;
}

int NameAssessor::maxCharacterPoints() const
{
    const bool anyFavourable =
        std::find(m_favours.begin(), m_favours.end(), true) != m_favours.end();
    return kW.positiveMeaning + (m_sexKnown ? kW.sexFits : 0) + kW.levelOne +
           (anyFavourable ? kW.favourableEach : 0);
}

int NameAssessor::base(int n) const
{
    return 100 - n * maxCharacterPoints();
}

int NameAssessor::characterPoints(const CharFacts& c, std::vector<AssessmentFlag>* flags) const
{
    int points = 0;
    // The texts are built only when the reasons are wanted: rankings weigh millions of names.
    const auto q = [&] { return inQuotes(c.text); };
    if (!c.meaning) {
        points -= kW.unknownMeaning;
        if (flags)
            addFlag(flags, FlagKind::Meaning, q() + "的字义未收录，请查字典确认",
                    -kW.unknownMeaning, false);
    } else {
        if (c.meaning->polarity > 0) {
            points += kW.positiveMeaning;
        } else if (c.meaning->polarity < 0) {
            points -= kW.negativeMeaning;
            if (flags)
                addFlag(flags, FlagKind::Meaning,
                        q() + "：" + std::string(c.meaning->meaning) + "，取名宜避",
                        -kW.negativeMeaning, true);
        }
        if (m_sexKnown) {
            const bool other =
                c.meaning->sex != core::SexLeaning::Neutral && c.meaning->sex != m_sex;
            if (other) {
                points -= kW.otherSex;
                if (flags)
                    addFlag(flags, FlagKind::Meaning,
                            q() + (c.meaning->sex == core::SexLeaning::Male ? "多用于男孩名"
                                                                            : "多用于女孩名"),
                            -kW.otherSex, false);
            } else {
                points += kW.sexFits;
            }
        }
    }
    if (c.level == 1) {
        points += kW.levelOne;
    } else if (c.level == 3) {
        points -= kW.levelThree;
        if (flags)
            addFlag(flags, FlagKind::Usage, q() + "是通用规范汉字表的三级字，书写和录入不便",
                    -kW.levelThree, false);
    } else if (c.level == 0) {
        points -= kW.outsideTable;
        if (flags)
            addFlag(flags, FlagKind::Usage, q() + "不在通用规范汉字表内，户籍系统可能无法录入",
                    -kW.outsideTable, true);
    }
    if (c.polyphone) {
        points -= kW.uncertainReading;
        if (flags)
            addFlag(flags, FlagKind::Tone,
                    q() + "是多音字（" + std::string(c.polyphone->readings) + "）：" +
                        std::string(c.polyphone->note),
                    -kW.uncertainReading, false);
    }
    if (c.element < 5 && m_favours[static_cast<std::size_t>(c.element)]) {
        points += kW.favourableEach;
        if (flags)
            addFlag(flags, FlagKind::Elements,
                    q() + "属" +
                        std::string(core::kElementOrder[static_cast<std::size_t>(c.element)]) +
                        "，补八字所喜",
                    kW.favourableEach, false);
    }
    return points;
}

int NameAssessor::soundStep(const CharFacts* const* given, int k, int& homophone,
                            bool& homophoneFault, bool& toneFault,
                            std::vector<AssessmentFlag>* flags) const
{
    // A one-character name that echoes a one-character surname, tone and all (陈晨, 杨洋,
    // 林琳), doubles a sound as 婷婷 does, which real names often do; a name that goes on after
    // the echo (陈晨曦) stumbles over it, and pays where it goes on.
    const auto echoesSurname = [&](const CharFacts& c) {
        return m_surname.size() == 1 && m_surname[0].syllable && c.syllable &&
               m_surname[0].syllable->code == c.syllable->code &&
               m_surname[0].syllable->tone == c.syllable->tone;
    };
    int points = 0;
    if (k == 1 && echoesSurname(*given[0])) {
        points -= kW.repeatsSurname;
        toneFault = true;
        if (flags)
            addFlag(flags, FlagKind::Tone,
                    inQuotes(given[0]->text) + "与姓氏" + inQuotes(m_surname[0].text) +
                        "同音，读来重复",
                    -kW.repeatsSurname, true);
    }
    const CharFacts& cur = *given[k];
    if (!cur.syllable)
        return points;
    const Sound& s = *cur.syllable;
    const int surnameLength = static_cast<int>(m_surname.size());
    const auto at = [&](int i) -> const CharFacts& {
        return i < surnameLength ? m_surname[static_cast<std::size_t>(i)]
                                 : *given[i - surnameLength];
    };
    const int idx = surnameLength + k;

    bool repeated = false;
    for (const auto& sur : m_surname)
        if (sur.syllable && sur.syllable->code == s.code && !(k == 0 && echoesSurname(cur))) {
            points -= kW.repeatsSurname;
            toneFault = repeated = true;
            if (flags)
                addFlag(flags, FlagKind::Tone,
                        inQuotes(cur.text) + "与姓氏" + inQuotes(sur.text) + "同音，读来重复",
                        -kW.repeatsSurname, true);
            break;
        }
    for (int j = 0; j < k && !repeated; ++j)
        if (given[j]->syllable && given[j]->syllable->code == s.code) {
            repeated = true;
            if (given[j]->text == cur.text && j == k - 1) {
                if (m_sexKnown && m_sex == core::SexLeaning::Male) {
                    points -= kW.doubledForBoy;
                    addFlagLazy(
                        flags, FlagKind::Tone,
                        [&] {
                            return "叠字名" + inQuotes(cur.text + cur.text) + "多见于女孩或小名";
                        },
                        -kW.doubledForBoy, false);
                }
                break;
            }
            points -= kW.repeatedSyllable;
            toneFault = repeated = true;
            if (flags)
                addFlag(flags, FlagKind::Tone,
                        given[j]->text == cur.text
                            ? "名中" + inQuotes(cur.text) + "重叠，读音重复"
                            : "名中" + inQuotes(given[j]->text) + inQuotes(cur.text) + "读音相同",
                        -kW.repeatedSyllable, true);
        }

    // Runs of two to four syllables that end here: the surname counts, and every run holds at
    // least one given syllable.
    std::uint32_t codes[core::BadWordList::kMaxLength];
    for (int length = 2; length <= static_cast<int>(core::BadWordList::kMaxLength); ++length) {
        const int start = idx - length + 1;
        if (start < 0)
            break;
        bool known = true;
        for (int i = 0; i < length && known; ++i) {
            const CharFacts& f = at(start + i);
            known = f.syllable.has_value();
            if (known)
                codes[i] = f.syllable->code;
        }
        if (!known)
            break;
        m_tables.badWords.forEachToneless(
            codes, static_cast<std::size_t>(length), [&](const core::BadWord& w) {
                // Tones as said: a third tone before a third is said as a second (网友 wǎng
                // yǒu sounds like 王友 wáng yǒu).
                int said[core::BadWordList::kMaxLength], word[core::BadWordList::kMaxLength];
                for (int i = 0; i < length; ++i) {
                    said[i] = at(start + i).syllable->tone;
                    word[i] = w.tones[static_cast<std::size_t>(i)];
                }
                for (int i = 0; i + 1 < length; ++i) {
                    said[i] = said[i] == 3 && said[i + 1] == 3 ? 2 : said[i];
                    word[i] = word[i] == 3 && word[i + 1] == 3 ? 2 : word[i];
                }
                int otherTones = 0;
                for (int i = 0; i < length; ++i)
                    otherTones += said[i] == word[i] || said[i] == 5 || word[i] == 5 ? 0 : 1;
                const bool sameTones = otherTones == 0;
                if (!sameTones && length < 3)
                    return;
                const int cost = sameTones ? kW.homophone : kW.homophoneNear;
                homophoneFault = homophoneFault || sameTones;
                const int added = std::min(homophone, -cost) - homophone; // the worst word counts
                if (flags) {
                    std::string run;
                    for (int i = 0; i < length; ++i)
                        run += at(start + i).text;
                    addFlag(flags, FlagKind::Homophone,
                            run == w.word ? "名中有" + inQuotes(w.word) + "一词（" +
                                                std::string(w.reason) + "）"
                                          : inQuotes(run) + "音近" + inQuotes(w.word) + "（" +
                                                std::string(w.reason) + "）",
                            added, sameTones);
                }
                homophone = std::min(homophone, -cost);
            });
    }
    return points;
}

int NameAssessor::tonePattern(const CharFacts* const* given, int n, bool& toneFault,
                              std::vector<AssessmentFlag>* flags) const
{
    // Surname then given name, syllable by syllable; an unknown reading leaves the pattern open.
    int m = 0;
    Sound first;
    bool sameTone = true, sameInitial = true, sameFinal = true;
    const auto add = [&](const std::optional<Sound>& s) {
        if (!s)
            return false;
        if (m++ == 0)
            first = *s;
        sameTone = sameTone && s->tone == first.tone;
        sameInitial = sameInitial && s->initialCode != 0 && s->initialCode == first.initialCode;
        sameFinal = sameFinal && s->finalCode == first.finalCode;
        return true;
    };
    for (const auto& s : m_surname)
        if (!add(s.syllable))
            return 0;
    for (int i = 0; i < n; ++i)
        if (!add(given[i]->syllable))
            return 0;
    // Three syllables of one tone are common in real names (张佳欣); four are monotone.
    if (m >= 4 && sameTone) {
        toneFault = true;
        addFlagLazy(
            flags, FlagKind::Tone,
            [&] {
                return "全名" + std::to_string(m) + "字同为" + std::string(toneName(first.tone)) +
                       "，读来平板";
            },
            -kW.sameTones, true);
        return -kW.sameTones;
    }
    int points = 0;
    if (m >= 3 && sameInitial) {
        points -= kW.allSameInitial;
        addFlagLazy(
            flags, FlagKind::Tone, [] { return std::string("全名声母相同，读来拗口"); },
            -kW.allSameInitial, false);
    }
    if (m >= 3 && sameFinal) {
        points -= kW.allSameFinal;
        addFlagLazy(
            flags, FlagKind::Tone, [] { return std::string("全名韵母相同，读来拗口"); },
            -kW.allSameFinal, false);
    }
    return points;
}

std::optional<int> NameAssessor::numerologyCost(const core::FiveGrids& g) const
{
    const auto costed = [](int number) { return number >= 0 && number < kCostedNumbers; };
    if (!costed(g.ren) || !costed(g.di) || !costed(g.zong) || !costed(g.wai))
        return std::nullopt;
    const auto at = [](int number) { return static_cast<std::size_t>(number); };
    int cost = m_gridCost[0][at(g.ren)] + m_gridCost[1][at(g.di)] + m_gridCost[2][at(g.zong)] +
               m_gridCost[3][at(g.wai)];
    if (g.tian > 0 && g.ren > 0 && g.di > 0) {
        const auto element = [&](int number) {
            return costed(number) ? m_numberElement[at(number)]
                                  : core::ThreeTalentTable::elementOfNumber(number);
        };
        cost += m_talentCost[static_cast<std::size_t>((element(g.tian) * 5 + element(g.ren)) * 5 +
                                                      element(g.di))];
    }
    return cost;
}

int NameAssessor::numerologyPoints(const core::FiveGrids& g,
                                   std::vector<AssessmentFlag>* flags) const
{
    if (!flags)
        if (const auto cost = numerologyCost(g))
            return -*cost;
    const core::LuckTable& luck = m_tables.luck;
    struct Grid
    {
        std::string_view name;
        int number;
    };
    const Grid grids[] = {{"人格", g.ren}, {"地格", g.di}, {"总格", g.zong}, {"外格", g.wai}};
    int points = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const Grid& grid = grids[i];
        const int cost = gridCost(i, luck.verdictOf(grid.number), grid.number);
        points -= cost;
        if (flags && cost != 0)
            addFlag(flags, FlagKind::Numerology,
                    std::string(grid.name) + std::to_string(grid.number) + "为" +
                        std::string(luck.verdict(grid.number)) + "数",
                    -cost, false);
    }
    if (g.tian > 0 && g.ren > 0 && g.di > 0) {
        const auto verdict = m_tables.threeTalents.verdict(g.tian, g.ren, g.di);
        const int cost = talentCost(verdict);
        if (cost != 0) {
            points -= cost;
            if (flags) {
                static constexpr std::string_view names[] = {"木", "火", "土", "金", "水"};
                std::string config;
                for (int n : {g.tian, g.ren, g.di})
                    config += names[core::ThreeTalentTable::elementOfNumber(n)];
                addFlag(flags, FlagKind::Numerology,
                        "三才" + config + "，配置" +
                            std::string(core::ThreeTalentTable::verdictText(verdict)),
                        -cost, false);
            }
        }
    }
    return points;
}

int NameAssessor::elementShortfall(const CharFacts* const* given, int n,
                                   std::vector<AssessmentFlag>* flags) const
{
    if (!m_birthKnown || std::find(m_favours.begin(), m_favours.end(), true) == m_favours.end())
        return 0;
    for (int i = 0; i < n; ++i)
        if (given[i]->element < 5 && m_favours[static_cast<std::size_t>(given[i]->element)])
            return 0;
    if (flags) {
        std::string wanted;
        for (const auto& e : m_favourable)
            wanted += (wanted.empty() ? "" : "、") + e;
        addFlag(flags, FlagKind::Elements, "名字五行未合八字所喜的" + wanted, -kW.noFavourable,
                false);
    }
    return -kW.noFavourable;
}

int NameAssessor::wholeName(const CharFacts* const* given, int n, bool& toneFault,
                            std::vector<AssessmentFlag>* flags) const
{
    int counts[3];
    for (int i = 0; i < n; ++i)
        counts[i] = given[i]->strokes;
    const core::FiveGrids grids = core::gridNumbersFromCounts(
        m_surnameCounts.data(), m_surnameCounts.size(), counts, static_cast<std::size_t>(n));
    return wholeName(given, n, grids, toneFault, flags);
}

int NameAssessor::wholeName(const CharFacts* const* given, int n, const core::FiveGrids& grids,
                            bool& toneFault, std::vector<AssessmentFlag>* flags) const
{
    return tonePattern(given, n, toneFault, flags) + numerologyPoints(grids, flags) +
           elementShortfall(given, n, flags) + pairSense(given, n, flags);
}

int NameAssessor::pairSense(const CharFacts* const* given, int n,
                            std::vector<AssessmentFlag>* flags,
                            std::optional<core::BaseName>* found) const
{
    // A doubled character (婷婷) carries one meaning, not two: its merit counts once.
    int doubled = 0;
    for (int k = 1; k < n; ++k)
        if (given[k]->cp == given[k - 1]->cp && given[k]->meaning &&
            given[k]->meaning->polarity > 0)
            doubled -= kW.positiveMeaning;
    const core::NameBase& base = m_tables.nameBase;
    if (base.size() == 0 || n < 1)
        return doubled;
    std::string name;
    for (int i = 0; i < n; ++i)
        name += given[i]->text;
    if (auto entry = base.find(name)) {
        if (found)
            *found = entry;
        return doubled;
    }
    int points = doubled - kW.notInBase;
    // Two characters that the base never puts in these places (俐 first, 鸥 second; a name of
    // one character may stand in either) rarely make sense together, unless real names or the
    // classics join them; a doubled character is a name of its own kind.
    using B = core::NameBase;
    const auto placed = [&](int k, std::uint8_t place) {
        return (base.positions(given[k]->cp) & (place | B::kAlone)) != 0;
    };
    if (n == 2 && given[0]->text != given[1]->text && !base.joined(given[0]->cp, given[1]->cp) &&
        (!placed(0, B::kFirstOfTwo) || !placed(1, B::kSecondOfTwo))) {
        points -= kW.pairApart;
        addFlagLazy(
            flags, FlagKind::Pairing,
            [&] { return inQuotes(given[0]->text) + inQuotes(given[1]->text) + "两字意思不相连"; },
            -kW.pairApart, true);
    }
    return points;
}

int NameAssessor::assess(const CharFacts* const* given, int n, Assessment* out, bool reasons,
                         const core::FiveGrids* grids) const
{
    std::vector<AssessmentFlag>* flags = out && reasons ? &out->flags : nullptr;
    int figure = base(n);
    int homophone = 0;
    bool homophoneFault = false, toneFault = false, outside = false;
    for (int k = 0; k < n; ++k) {
        const CharFacts& c = *given[k];
        // Without reasons, what depends on the character alone was worked out with its facts.
        const bool own = !flags && c.own;
        figure += own ? c.own->points : characterPoints(c, flags);
        if (own && k == 0) {
            figure += c.own->firstSound;
            homophone = c.own->firstHomophone;
            homophoneFault = c.own->firstHomophoneFault;
            toneFault = c.own->firstToneFault;
        } else {
            figure += soundStep(given, k, homophone, homophoneFault, toneFault, flags);
        }
        outside = outside || c.level == 0;
    }
    figure += homophone + (grids ? wholeName(given, n, *grids, toneFault, flags)
                                 : wholeName(given, n, toneFault, flags));
    figure = std::clamp(figure, 0, 100);
    if (out) {
        out->figure = figure;
        out->homophoneFault = homophoneFault;
        out->toneFault = toneFault;
        out->outsideTable = outside;
        // Costs first, the biggest first; merits after them, in the order found.
        std::stable_sort(out->flags.begin(), out->flags.end(),
                         [](const AssessmentFlag& a, const AssessmentFlag& b) {
                             const int ka = a.points > 0 ? 1 : 0, kb = b.points > 0 ? 1 : 0;
                             if (ka != kb)
                                 return ka < kb;
                             return ka == 0 && a.points < b.points;
                         });
        out->given.clear();
        out->nameMeaning.clear();
        out->nameSource.clear();
        std::optional<core::BaseName> entry;
        if ((pairSense(given, n, nullptr, &entry), entry)) {
            out->nameMeaning = std::string(entry->meaning);
            out->nameSource = std::string(entry->source);
        }
        for (int k = 0; k < n && reasons; ++k)
            out->given.push_back({given[k]->text, given[k]->meaning
                                                      ? std::string(given[k]->meaning->meaning)
                                                      : std::string()});
    }
    return figure;
}

Assessment NameAssessor::assess(const std::vector<std::string>& given) const
{
    std::vector<CharFacts> facts;
    for (const auto& c : given)
        facts.push_back(this->facts(c));
    // A word that the polyphone table lists sounds as listed (重阳 chóng yáng).
    const auto words = m_tables.polyphones.wordReadings(given);
    for (std::size_t i = 0; i < facts.size(); ++i)
        if (const auto s = core::syllableFromMarked(words[i]); !words[i].empty() && s) {
            facts[i].syllable = Sound(*s);
            facts[i].own.reset();
        }
    std::vector<const CharFacts*> pointers;
    for (const auto& f : facts)
        pointers.push_back(&f);
    Assessment a;
    assess(pointers.data(), static_cast<int>(pointers.size()), &a);
    return a;
}

std::vector<std::string> assessmentLines(const Assessment& a)
{
    std::vector<std::string> lines;
    lines.push_back("品评分：" + std::to_string(a.figure) +
                    "（满分100，只比较名字本身，与名字总分无关）");
    if (a.flags.empty())
        lines.push_back("未见明显不足");
    for (const auto& f : a.flags)
        lines.push_back("【" + std::string(f.kindText()) + "】" + f.text + "（" +
                        (f.points > 0 ? "+" : "") + std::to_string(f.points) + "）");
    if (!a.nameMeaning.empty())
        lines.push_back("寓意：" + a.nameMeaning);
    if (!a.nameSource.empty())
        lines.push_back("典出" + a.nameSource);
    for (std::size_t i = 0; i < a.given.size(); ++i) {
        const auto& c = a.given[i];
        const auto earlier = a.given.begin() + static_cast<std::ptrdiff_t>(i);
        if (std::find_if(a.given.begin(), earlier,
                         [&](const auto& e) { return e.character == c.character; }) != earlier)
            continue; // a doubled character's meaning is given once
        lines.push_back("字义 " + inQuotes(c.character) + "：" +
                        (c.meaning.empty() ? std::string("未收录") : c.meaning));
    }
    return lines;
}

core::Result<Assessment> assessName(const core::Tables& tables, const AssessmentRequest& request)
{
    const std::string surname = core::trimBlanks(request.surname);
    const std::string given = core::trimBlanks(request.givenName);
    if (core::Status s = checkSurname(tables, surname); !s)
        return s.error();
    if (core::Status s = checkGivenName(tables, given); !s)
        return s.error();
    if (!request.sex.empty() && request.sex != "男" && request.sex != "女")
        return core::inputError("性别应为“男”或“女”");
    std::vector<std::string> favourable;
    if (request.birth) {
        if (core::Status s = calendar::checkBirthTime(*request.birth); !s)
            return s.error();
        const auto chart = calendar::birthChart(*request.birth, tables.sexagenary);
        if (!chart)
            return core::inputError("请填写正确的出生日期");
        favourable = favourableElements(*chart);
    }
    const NameAssessor assessor(tables, surname, request.sex, std::move(favourable),
                                request.birth.has_value());
    Assessment result = assessor.assess(core::splitCharacters(given));
    return result;
}

} // namespace hmf::naming
