#include "calendar/strength.h"

#include <cstdio>

namespace hmf::calendar {
namespace {

constexpr std::string_view kElementNames[5] = {"金", "木", "水", "火", "土"};
constexpr std::string_view kStemNames[10] = {"甲", "乙", "丙", "丁", "戊",
                                             "己", "庚", "辛", "壬", "癸"};
constexpr std::string_view kBranchNames[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                               "午", "未", "申", "酉", "戌", "亥"};
constexpr std::string_view kGodNames[10] = {"比肩", "劫财", "食神", "伤官", "偏财",
                                            "正财", "七杀", "正官", "偏印", "正印"};
constexpr std::string_view kGroupNames[5] = {"比劫", "食伤", "财", "官杀", "印"};
constexpr std::string_view kPillarNames[4] = {"年", "月", "日", "时"};
constexpr std::string_view kQiNames[3] = {"本气", "中气", "余气"};

// Elements 金0 木1 水2 火3 土4: the one each element gives birth to and the one it overcomes.
constexpr int kGenerates[5] = {2, 3, 1, 4, 0}; // 金生水 木生火 水生木 火生土 土生金
constexpr int kOvercomes[5] = {1, 4, 3, 0, 2}; // 金克木 木克土 水克火 火克金 土克水

constexpr int kStemElements[10] = {1, 1, 3, 3, 4, 4, 0, 0, 2, 2};
constexpr int kBranchElements[12] = {2, 4, 1, 1, 4, 3, 3, 4, 0, 0, 4, 2};

constexpr HiddenStems kHidden[12] = {
    {1, {9, 0, 0}}, // 子 癸
    {3, {5, 9, 7}}, // 丑 己癸辛
    {3, {0, 2, 4}}, // 寅 甲丙戊
    {1, {1, 0, 0}}, // 卯 乙
    {3, {4, 1, 9}}, // 辰 戊乙癸
    {3, {2, 6, 4}}, // 巳 丙庚戊
    {2, {3, 5, 0}}, // 午 丁己
    {3, {5, 3, 1}}, // 未 己丁乙
    {3, {6, 8, 4}}, // 申 庚壬戊
    {1, {7, 0, 0}}, // 酉 辛
    {3, {4, 7, 3}}, // 戌 戊辛丁
    {2, {8, 0, 0}}, // 亥 壬甲
};

// The weights of the count: each visible stem 1, the month branch 3 (the season rules the chart),
// the day branch 1.5 (the day master sits on it), the year and hour branches 1; a branch's weight
// is shared among its hidden stems by their strength.
constexpr double kStemWeight = 1.0;
constexpr double kBranchWeights[4] = {1.0, 3.0, 1.5, 1.0};
constexpr double kHiddenShares[3][3] = {{1.0, 0, 0}, {0.7, 0.3, 0}, {0.6, 0.3, 0.1}};
// The share of supporting strength from which a chart counts as strong, and below which as weak;
// beyond the outer bounds it is extreme.
constexpr double kStrongFrom = 0.55;
constexpr double kWeakBelow = 0.45;
constexpr double kExtremeHigh = 0.80;
constexpr double kExtremeLow = 0.20;

// Groups of the ten gods: 0 比劫, 1 食伤, 2 财, 3 官杀, 4 印, and the element of each group.
int groupElement(int dayElement, int group)
{
    switch (group) {
    case 0:
        return dayElement;
    case 1:
        return kGenerates[dayElement];
    case 2:
        return kOvercomes[dayElement];
    case 3:
        for (int e = 0; e < 5; ++e)
            if (kOvercomes[e] == dayElement)
                return e;
        break;
    default:
        for (int e = 0; e < 5; ++e)
            if (kGenerates[e] == dayElement)
                return e;
    }
    return 0;
}

int elementOfGenerating(int element)
{
    for (int e = 0; e < 5; ++e)
        if (kGenerates[e] == element)
            return e;
    return 0;
}

std::string decimal(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", value);
    return buf;
}

std::string stemWithElement(int stem)
{
    return std::string(kStemNames[stem]) + std::string(kElementNames[kStemElements[stem]]);
}

std::string elementList(const std::array<bool, 5>& which)
{
    std::string out;
    for (int e = 0; e < 5; ++e)
        if (which[e])
            out += (out.empty() ? "" : "、") + std::string(kElementNames[e]);
    return out;
}

} // namespace

std::string_view elementName(int element)
{
    return element >= 0 && element < 5 ? kElementNames[element] : std::string_view();
}

int stemElement(int stem)
{
    return kStemElements[stem];
}

int branchElement(int branch)
{
    return kBranchElements[branch];
}

std::string_view stemName(int stem)
{
    return kStemNames[stem];
}

std::string_view branchName(int branch)
{
    return kBranchNames[branch];
}

HiddenStems hiddenStems(int branch)
{
    return kHidden[branch];
}

int tenGod(int dayStem, int stem)
{
    const int self = kStemElements[dayStem];
    const int other = kStemElements[stem];
    int group = 0;
    if (other == self)
        group = 0;
    else if (other == kGenerates[self])
        group = 1;
    else if (other == kOvercomes[self])
        group = 2;
    else if (kOvercomes[other] == self)
        group = 3;
    else
        group = 4;
    // Same polarity (both yang or both yin) gives the first of each pair: 比肩 食神 偏财 七杀 偏印.
    return 2 * group + (dayStem % 2 == stem % 2 ? 0 : 1);
}

std::string_view tenGodName(int god)
{
    return god >= 0 && god < 10 ? kGodNames[god] : std::string_view("日主");
}

std::string_view qiName(int k)
{
    return k >= 0 && k < 3 ? kQiNames[k] : std::string_view();
}

std::optional<StrengthAnalysis> analyseStrength(const std::array<int, 4>& pillarNumbers)
{
    StrengthAnalysis a;
    for (int i = 0; i < 4; ++i) {
        const int n = pillarNumbers[i];
        if (n < 1 || n > 60)
            return std::nullopt;
        a.stems[i] = (n - 1) % 10;
        a.branches[i] = (n - 1) % 12;
    }
    const int dayStem = a.stems[2];
    a.dayElement = kStemElements[dayStem];
    std::array<double, 5> elementScores{};
    elementScores[a.dayElement] += kStemWeight;
    for (int i = 0; i < 4; ++i) {
        a.stemGods[i] = i == 2 ? -1 : tenGod(dayStem, a.stems[i]);
        if (i != 2) {
            a.groupScores[a.stemGods[i] / 2] += kStemWeight;
            elementScores[kStemElements[a.stems[i]]] += kStemWeight;
        }
        a.hidden[i] = kHidden[a.branches[i]];
        for (int k = 0; k < a.hidden[i].count; ++k) {
            const int stem = a.hidden[i].stems[k];
            const double weight = kBranchWeights[i] * kHiddenShares[a.hidden[i].count - 1][k];
            a.hiddenGods[i][k] = tenGod(dayStem, stem);
            a.groupScores[a.hiddenGods[i][k] / 2] += weight;
            elementScores[kStemElements[stem]] += weight;
            if (kStemElements[stem] == a.dayElement)
                a.roots.push_back(std::string(kPillarNames[i]) + "支" +
                                  std::string(kBranchNames[a.branches[i]]) + "（" +
                                  std::string(kQiNames[k]) + "）");
        }
    }

    const int season = kBranchElements[a.branches[1]];
    if (season == a.dayElement)
        a.season = "旺";
    else if (kGenerates[season] == a.dayElement)
        a.season = "相";
    else if (kGenerates[a.dayElement] == season)
        a.season = "休";
    else if (kOvercomes[a.dayElement] == season)
        a.season = "囚";
    else
        a.season = "死";

    const auto& g = a.groupScores;
    a.support = g[0] + g[4];
    a.drain = g[1] + g[2] + g[3];
    a.share = a.support / (a.support + a.drain);
    a.strength = a.share >= kStrongFrom  ? Strength::Strong
                 : a.share <= kWeakBelow ? Strength::Weak
                                         : Strength::Balanced;
    a.extreme = a.share >= kExtremeHigh || a.share <= kExtremeLow;

    const int e = a.dayElement;
    if (a.strength == Strength::Strong) {
        // Much 印: spend it with 财; much 比劫: restrain it with 官杀, helped by 财.
        if (g[4] > g[0]) {
            a.usefulElement = groupElement(e, 2);
            a.favourableElement = groupElement(e, 1);
        } else {
            a.usefulElement = groupElement(e, 3);
            a.favourableElement = groupElement(e, 2);
        }
        a.unfavourable[groupElement(e, 0)] = a.unfavourable[groupElement(e, 4)] = true;
    } else if (a.strength == Strength::Weak) {
        // A weak master burdened mostly by 财 needs peers to share it; under 官杀 or 食伤 it needs
        // 印, which turns 官杀 into support and holds 食伤 back.
        if (g[2] > g[1] && g[2] > g[3]) {
            a.usefulElement = groupElement(e, 0);
            a.favourableElement = groupElement(e, 4);
        } else {
            a.usefulElement = groupElement(e, 4);
            a.favourableElement = groupElement(e, 0);
        }
        for (int group : {1, 2, 3})
            a.unfavourable[groupElement(e, group)] = true;
    } else {
        // Balanced: strengthen the weakest element, with the one that gives birth to it.
        int weakest = 0;
        int strongest = 0;
        for (int k = 1; k < 5; ++k) {
            if (elementScores[k] < elementScores[weakest])
                weakest = k;
            if (elementScores[k] > elementScores[strongest])
                strongest = k;
        }
        a.usefulElement = weakest;
        a.favourableElement = elementOfGenerating(weakest);
        a.unfavourable[strongest] =
            strongest != a.usefulElement && strongest != a.favourableElement;
    }
    return a;
}

std::array<int, 2> favourableElements(const StrengthAnalysis& a)
{
    return {a.usefulElement, a.favourableElement};
}

std::string strengthHeading()
{
    return "----------------------八字旺衰--------------------------------\r\n";
}

std::string strengthText(const StrengthAnalysis& a)
{
    const int dayStem = a.stems[2];
    std::string out = "日主：" + stemWithElement(dayStem) + "，生于" +
                      std::string(kBranchNames[a.branches[1]]) + "月。\r\n";
    for (int i = 0; i < 4; ++i) {
        out += std::string(kPillarNames[i]) + "柱 " + std::string(kStemNames[a.stems[i]]) +
               std::string(kBranchNames[a.branches[i]]) + "：" +
               std::string(kStemNames[a.stems[i]]) + " " + std::string(tenGodName(a.stemGods[i])) +
               "；" + std::string(kBranchNames[a.branches[i]]) + "藏";
        for (int k = 0; k < a.hidden[i].count; ++k)
            out += (k ? "、" : " ") + std::string(kStemNames[a.hidden[i].stems[k]]) + " " +
                   std::string(kGodNames[a.hiddenGods[i][k]]);
        out += "\r\n";
    }

    const std::string self = stemWithElement(dayStem);
    const std::string seasonElement(kElementNames[kBranchElements[a.branches[1]]]);
    out += "月令：" + std::string(kBranchNames[a.branches[1]]) + "月" + seasonElement + "当令，";
    if (a.season == "旺")
        out += "日主" + self + "与月令同气，为旺（得令）。\r\n";
    else if (a.season == "相")
        out += "月令生日主" + self + "，为相（得令）。\r\n";
    else if (a.season == "休")
        out += "日主" + self + "生月令而泄气，为休（失令）。\r\n";
    else if (a.season == "囚")
        out += "日主" + self + "克月令而耗力，为囚（失令）。\r\n";
    else
        out += "月令克日主" + self + "，为死（失令）。\r\n";

    out += "通根：";
    if (a.roots.empty()) {
        out += "地支不藏" + std::string(kElementNames[a.dayElement]) + "，日主无根。\r\n";
    } else {
        for (std::size_t k = 0; k < a.roots.size(); ++k)
            out += (k ? "、" : "日主在") + a.roots[k];
        out += "有根。\r\n";
    }

    std::string helpers;
    for (int i : {0, 1, 3}) {
        const int group = a.stemGods[i] / 2;
        if (group == 0 || group == 4)
            helpers += (helpers.empty() ? "" : "、") + std::string(kPillarNames[i]) + "干" +
                       stemWithElement(a.stems[i]) + "（" + std::string(kGodNames[a.stemGods[i]]) +
                       "）";
    }
    out += helpers.empty() ? "帮扶：其余天干无比劫、印星相助。\r\n"
                           : "帮扶：" + helpers + "生扶日主。\r\n";

    out += "计分：";
    for (int group : {0, 4, 1, 2, 3})
        out += std::string(kGroupNames[group]) + " " + decimal(a.groupScores[group]) + "  ";
    char percent[16];
    std::snprintf(percent, sizeof percent, "%.0f%%", a.share * 100.0);
    out += "生扶 " + decimal(a.support) + " 对克泄耗 " + decimal(a.drain) + "，生扶占" + percent +
           "。\r\n";

    out += "结论：";
    if (a.strength == Strength::Strong)
        out +=
            a.extreme ? "身极强（此类八字另有从旺、专旺之论，各家看法不一）。\r\n" : "身强。\r\n";
    else if (a.strength == Strength::Weak)
        out += a.extreme ? "身极弱（此类八字另有从格之论，各家看法不一）。\r\n" : "身弱。\r\n";
    else
        out += "中和。\r\n";

    const std::string useful(kElementNames[a.usefulElement]);
    const std::string favourable(kElementNames[a.favourableElement]);
    const auto& g = a.groupScores;
    out += "喜用神：";
    if (a.strength == Strength::Strong)
        out += g[4] > g[0] ? "身强宜克、泄、耗；印多于比劫，以财耗印"
                           : "身强宜克、泄、耗；比劫为重，以官杀制之";
    else if (a.strength == Strength::Weak)
        out += g[2] > g[1] && g[2] > g[3]
                   ? "身弱宜生、扶；克泄耗中财为重，以比劫分财"
                   : (g[3] >= g[1] ? "身弱宜生、扶；克泄耗中官杀为重，以印化之"
                                   : "身弱宜生、扶；克泄耗中食伤为重，以印制之");
    else
        out += "八字中和，取最弱的五行以求均衡";
    out += "：用神 " + useful + "，喜神 " + favourable;
    if (std::string avoid = elementList(a.unfavourable); !avoid.empty())
        out += "；忌 " + avoid;
    out += "。\r\n";
    out += "方法：扶抑法加权计分（月支计3，日支计1.5，年支、时支与天干各计1），"
           "各家取法不一，仅供参考。\r\n";
    return out;
}

std::string lunarDateText(const LunarDate& d)
{
    static constexpr std::string_view kMonths[12] = {"正", "二", "三", "四", "五",   "六",
                                                     "七", "八", "九", "十", "十一", "十二"};
    static constexpr std::string_view kDigits[10] = {"十", "一", "二", "三", "四",
                                                     "五", "六", "七", "八", "九"};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 30)
        return {};
    std::string day;
    if (d.day <= 10)
        day = "初" + std::string(kDigits[d.day % 10]);
    else if (d.day < 20)
        day = "十" + std::string(kDigits[d.day % 10]);
    else if (d.day == 20)
        day = "二十";
    else if (d.day < 30)
        day = "廿" + std::string(kDigits[d.day % 10]);
    else
        day = "三十";
    return std::to_string(d.year) + "年" + (d.leap ? "闰" : "") +
           std::string(kMonths[d.month - 1]) + "月" + day;
}

std::string strengthSection(const BirthTime& clock, const BirthDetails& details)
{
    auto numbers = chartPillars(clock, details);
    auto analysis = numbers ? analyseStrength(*numbers) : std::nullopt;
    if (!analysis)
        return {};
    std::string out = strengthHeading();
    if (details.lunar)
        out += "农历" + lunarDateText(*details.lunar) + "，即公历" + std::to_string(clock.year) +
               "年" + std::to_string(clock.month) + "月" + std::to_string(clock.day) + "日。\r\n";
    return out + strengthText(*analysis);
}

} // namespace hmf::calendar
