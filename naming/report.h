#pragma once
// The analysis report of one name for one birth time: 32 lines of coloured text that the window
// appends to its rich-text box and the command line prints, followed by the section "八字旺衰"
// (the day master's strength, two runs: its heading and its lines).

#include "calendar/calendar.h"
#include "calendar/strength.h"
#include "core/tables.h"
#include "naming/assessment.h"
#include "naming/verse.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmf::naming {

enum class Colour { Red, Blue, Magenta };

struct ColouredRun
{
    std::string text; // UTF-8, line ends "\r\n"
    Colour colour = Colour::Blue;

    bool operator==(const ColouredRun&) const = default;
};

struct ReportRequest
{
    std::string surname;   // one or two characters
    std::string givenName; // one to three characters
    calendar::BirthTime birth;
    // Shown after "名字总分（仅供参考）：" instead of the computed score, unit included
    // ("88分"); the window passes a list row's score text here only while fixedCharUsed is set.
    std::optional<std::string> shownScore;
    // The child's sex ("男", "女", or empty) for the assessment section.
    std::string sex = {};
    // When given, the section names the best line of verse that holds the given name: "出处：…".
    const VerseTable* verse = nullptr;
};

// The product's report has this many runs (one more, the true solar time line, with a
// birthplace); the sections this program adds follow them.
inline constexpr std::size_t kProductRuns = 32;

struct Report
{
    // The product's 32 runs, then the section "名字品评".
    std::vector<ColouredRun> runs;
    std::optional<int> score; // the computed score, whatever line 1 shows
    Assessment assessment;    // what the section "名字品评" shows
};

// Accepts a surname (1-2 characters) and given name (1-3 characters) of Chinese characters that
// the grid stroke table knows; otherwise refuses with the message for the user ("请填写姓氏",
// "请填写名字", "姓氏应为一到两个汉字", "名字应为一到三个汉字", "“X”不在字库中").
core::Status checkName(const core::Tables& tables, std::string_view surname,
                       std::string_view givenName);

// Checks the name (checkName) and the birth time (calendar::checkBirthTime) and builds the
// report; the score comes from the report's own birth date.
core::Result<Report> buildReport(const core::Tables& tables, const ReportRequest& request);
// The same, with a lunar birthday as typed and a birthplace: then every line read from the chart
// (四柱 to 喜用神, 名字品评's 五行, 八字旺衰) follows true solar time, said in one line above
// 农历日期; the lunar date and the star sign stay those of the date given.
core::Result<Report> buildReport(const core::Tables& tables, const ReportRequest& request,
                                 const calendar::BirthDetails& details);

// The runs' texts joined as they are.
std::string plainText(const std::vector<ColouredRun>& runs);

} // namespace hmf::naming
