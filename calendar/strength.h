#pragma once
// The strength of the day master (日主旺衰) and the favourable elements that follow from it, by
// the weighted-count form of the 扶抑 method: the hidden stems of every branch, the ten gods of
// every stem, the season of the month branch (月令), the day master's roots (通根) and the help it
// gets from the stems, then a count of supporting against draining strength. docs/strength.md
// gives the method, its weights and its limits; schools of chart reading differ.

#include "calendar/birthinput.h"
#include "calendar/calendar.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::calendar {

// Elements in the program's order: 0 金, 1 木, 2 水, 3 火, 4 土.
std::string_view elementName(int element);
// The element of a stem (0 甲 ... 9 癸) and of a branch (0 子 ... 11 亥).
int stemElement(int stem);
int branchElement(int branch);
std::string_view stemName(int stem);
std::string_view branchName(int branch);

// The stems hidden in a branch, main qi (本气) first: 子 癸; 丑 己癸辛; 寅 甲丙戊; ...
struct HiddenStems
{
    int count = 0;
    std::array<int, 3> stems{};
};
HiddenStems hiddenStems(int branch);

// The ten gods (十神) of a stem seen from the day stem: 0 比肩 1 劫财 2 食神 3 伤官 4 偏财 5 正财
// 6 七杀 7 正官 8 偏印 9 正印.
int tenGod(int dayStem, int stem);
std::string_view tenGodName(int god);
// The name of the k-th hidden stem of a branch: 0 本气, 1 中气, 2 余气.
std::string_view qiName(int k);

enum class Strength {
    Weak,     // 身弱
    Balanced, // 中和
    Strong,   // 身强
};

struct StrengthAnalysis
{
    std::array<int, 4> stems{}; // of the year, month, day and hour pillars
    std::array<int, 4> branches{};
    std::array<int, 4> stemGods{}; // the day's own is −1 (日主)
    std::array<HiddenStems, 4> hidden;
    std::array<std::array<int, 3>, 4> hiddenGods{};
    int dayElement = 0;
    std::string season;             // 旺 相 休 囚 死: the day master in the month's season
    std::vector<std::string> roots; // "寅（本气）" for each branch that holds the day's element
    std::array<double, 5> groupScores{}; // 比劫 食伤 财 官杀 印, weighted
    double support = 0;                  // 比劫 + 印
    double drain = 0;                    // 食伤 + 财 + 官杀
    double share = 0;                    // support / (support + drain)
    Strength strength = Strength::Balanced;
    bool extreme = false;               // a share beyond 80% or below 20%
    int usefulElement = 0;              // 用神
    int favourableElement = 0;          // 喜神
    std::array<bool, 5> unfavourable{}; // 忌: elements that push the chart further off balance
};

// The analysis of four pillars given as cycle numbers 1..60 (pillarNumbers); nullopt when a
// number lies outside 1..60.
std::optional<StrengthAnalysis> analyseStrength(const std::array<int, 4>& pillarNumbers);

// 用神 then 喜神, each as an element index; the two differ.
std::array<int, 2> favourableElements(const StrengthAnalysis& analysis);

// The section "八字旺衰": a heading line, then lines in plain Chinese, each ending "\r\n".
std::string strengthHeading();
std::string strengthText(const StrengthAnalysis& analysis);

// "2023年闰二月初一".
std::string lunarDateText(const LunarDate& date);

// The whole section for the chart's pillars (chartPillars): the heading, the lunar date when the
// birthday was lunar, then strengthText. Empty for a time that checkBirthTime refuses.
std::string strengthSection(const BirthTime& clock, const BirthDetails& details);

} // namespace hmf::calendar
