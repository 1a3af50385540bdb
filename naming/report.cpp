#include "naming/report.h"

#include "calendar/birthchart.h"
#include "calendar/starsign.h"
#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "naming/favourable.h"
#include "naming/namecheck.h"

namespace hmf::naming {
namespace {

constexpr std::string_view kDash = "—"; // full-width, between the parts of lines 11 to 13

std::string header(std::string_view title)
{
    return std::string(22, '-') + std::string(title) + std::string(32, '-') + "\r\n";
}

// The explanation of one grid number from the 81-number table; a number outside 1..81 keeps the
// labels with empty values.
std::string luckBlock(const core::LuckTable& luck, int number)
{
    const core::LuckEntry& e = luck.entry(number);
    return e.title + "(" + e.verdict + ")\r\n基业：" + e.career + "\r\n家庭：" + e.family +
           "\r\n健康：" + e.health + "\r\n含义" + e.meaning + "\r\n\r\n";
}

// "金、水" for the elements of a list.
std::string joined(const std::vector<std::string>& elements)
{
    std::string text;
    for (const auto& e : elements)
        text += (text.empty() ? "" : "、") + e;
    return text;
}

// The elements of the chart's missing text ("金  水  ").
std::vector<std::string> missingElements(const std::string& missing)
{
    std::vector<std::string> elements;
    for (const auto& c : core::splitCharacters(missing))
        if (c != " ")
            elements.push_back(c);
    return elements;
}

class ReportWriter
{
  public:
    void add(Colour colour, std::string text) { m_runs.push_back({std::move(text), colour}); }
    std::vector<ColouredRun> take() { return std::move(m_runs); }

  private:
    std::vector<ColouredRun> m_runs;
};

} // namespace

core::Status checkName(const core::Tables& tables, std::string_view surname,
                       std::string_view givenName)
{
    if (core::Status s = checkSurname(tables, surname); !s)
        return s;
    return checkGivenName(tables, givenName);
}

core::Result<Report> buildReport(const core::Tables& tables, const ReportRequest& request)
{
    return buildReport(tables, request, calendar::BirthDetails{});
}

core::Result<Report> buildReport(const core::Tables& tables, const ReportRequest& request,
                                 const calendar::BirthDetails& details)
{
    Report report;
    const std::string surname = core::trimBlanks(request.surname);
    const std::string given = core::trimBlanks(request.givenName);
    if (core::Status s = checkName(tables, surname, given); !s)
        return s.error();
    if (core::Status s = calendar::checkBirthTime(request.birth); !s)
        return s.error();
    // With a birthplace the whole chart, and all that weighs it, follows true solar time.
    const auto chart = calendar::birthChart(request.birth, details, tables.sexagenary);
    if (!chart)
        return core::inputError("请填写正确的出生日期");

    const core::FiveGrids grids = core::gridNumbers(tables.strokes, surname, given);
    core::ScoreInput scoreInput;
    scoreInput.grids = grids;
    scoreInput.year = request.birth.year;
    scoreInput.month = request.birth.month;
    scoreInput.day = request.birth.day;
    scoreInput.missing = chart->missing;
    scoreInput.givenName = given;
    report.score = core::nameScore(tables.luck, tables.elements, scoreInput);

    const std::string shownScore =
        request.shownScore ? *request.shownScore : std::to_string(*report.score);
    const std::string tradSurname = tables.traditional.toTraditional(surname);
    const auto givenChars = core::splitCharacters(given);
    const auto& p = chart->pillars;

    ReportWriter w;
    // Two figures stand in the report; each says what it weighs.
    w.add(Colour::Red, "名字总分（仅供参考）：" + shownScore +
                           "\r\n说明：名字总分按五格吉凶、出生日期和八字所缺五行计分；"
                           "下文“名字品评”的品评分另看字义、读音与用字。\r\n");
    w.add(Colour::Magenta, header("基本信息"));
    w.add(Colour::Blue, "姓名：" + surname + given + "\r\n");
    w.add(Colour::Blue,
          "姓名（繁体）：" + tradSurname + tables.traditional.toTraditional(given) + "\r\n");
    if (const std::string line = calendar::chartTimeLine(details); !line.empty())
        w.add(Colour::Blue, line + "\r\n");
    w.add(Colour::Blue, "农历日期：" + std::to_string(chart->lunar.year) + "年" +
                            (chart->lunar.leap ? "闰" : "") + std::to_string(chart->lunar.month) +
                            "月" + std::to_string(chart->lunar.day) + "日\r\n");
    w.add(Colour::Blue, "属相：" + chart->zodiac + "\r\n");
    w.add(Colour::Blue, "四柱：" + p[0] + "年 " + p[1] + "月 " + p[2] + "日 " + p[3] + "时\r\n");
    w.add(Colour::Blue, "八字：" + p[0] + " " + p[1] + " " + p[2] + " " + p[3] + "\r\n");
    w.add(Colour::Blue, "五行：" + chart->elementText + "\r\n");
    w.add(Colour::Blue, "纳音：" + chart->nayinText + "\r\n");

    // One part for the surname (in its traditional form), one for each given character.
    std::string sounds = tables.surnamePinyin(surname);
    const auto givenReadings = tables.readingsInContext(given);
    // The grid counts: the strokes of the traditional form shown above, which the grids add up;
    // beside a count or an element, the other view that name books take where they differ.
    std::string strokes = tables.notedStrokeString(surname);
    std::string elements;
    for (const auto& c : core::splitCharacters(tradSurname))
        elements +=
            (elements.empty() ? "" : "-") + tables.elements.elementOf(c) + tables.elementNote(c);
    for (std::size_t i = 0; i < givenChars.size(); ++i) {
        const std::string& c = givenChars[i];
        sounds += std::string(kDash) + givenReadings[i];
        strokes += std::string(kDash) + tables.notedStrokeString(c);
        elements += std::string(kDash) + tables.elements.elementOf(c) + tables.elementNote(c);
    }
    w.add(Colour::Blue, "名字音韵：" + sounds + "\r\n");
    w.add(Colour::Blue, "名字笔画：" + strokes + "\r\n");
    w.add(Colour::Blue, "名字五行：" + elements + "\r\n");

    w.add(Colour::Blue, "五行： " + chart->elementText + "\r\n");
    w.add(Colour::Blue, chart->countLine + "\r\n");
    w.add(Colour::Blue, "五行缺：" + chart->missing + "\r\n");
    // This line only fills what the chart lacks; the section 八字旺衰 weighs the chart's strength
    // and may favour other elements, which the assessment follows.
    const std::vector<std::string> missing = missingElements(chart->missing);
    const std::vector<std::string> favourable = favourableElements(*chart);
    w.add(Colour::Blue, calendar::favourableLine(*chart) + "\r\n" +
                            (missing.empty() ? "说明：此行只看八字五行是否齐全；"
                                             : "说明：此行列出八字所缺的五行；") +
                            "下文“八字旺衰”按日主强弱另取喜用神，取名以后者为准。\r\n");
    const auto n = [](int v) { return std::to_string(v); };
    w.add(Colour::Blue, "五格：天格(" + n(grids.tian) + ") 人格(" + n(grids.ren) + ") 地格(" +
                            n(grids.di) + ") 外格(" + n(grids.wai) + ") 总格(" + n(grids.zong) +
                            ")\r\n");
    w.add(Colour::Blue,
          "三才：" + core::threeTalentOf(grids, tables.threeTalents).text() + "\r\n\r\n\r\n");

    w.add(Colour::Magenta, header("五格释义"));
    w.add(Colour::Red, "天格：乃祖先留下来的，其数理对人影响不大。\r\n\r\n");
    w.add(Colour::Blue, luckBlock(tables.luck, grids.tian));
    w.add(Colour::Red,
          "人格：又称主运，是整个姓名的中心点，人一生的命运，均由此人格推断。\r\n\r\n");
    w.add(Colour::Blue, luckBlock(tables.luck, grids.ren));
    w.add(Colour::Red, "地格：由名字全部笔画数构成，称为前运，主管人中年以前的活动力。\r\n\r\n");
    w.add(Colour::Blue, luckBlock(tables.luck, grids.di));
    w.add(Colour::Red, "总格：主中年至晚年的命运，又称后运。\r\n\r\n");
    w.add(Colour::Blue, luckBlock(tables.luck, grids.zong));
    w.add(Colour::Red, "外格：主管命运之灵力。\r\n\r\n");
    w.add(Colour::Blue, luckBlock(tables.luck, grids.wai));
    w.add(Colour::Magenta, header("星座解释"));
    w.add(Colour::Blue,
          calendar::starSignText(request.birth.month, request.birth.day) + "\r\n\r\n");

    // The assessment beside the product's score: the figure, the reasons, and what each given
    // character means.
    const NameAssessor assessor(tables, surname, request.sex, favourable, true);
    report.assessment = assessor.assess(givenChars);
    w.add(Colour::Magenta, header("名字品评"));
    auto lines = assessmentLines(report.assessment);
    lines.insert(lines.begin() + 1, "说明：品评分只评名字本身（字义、用字、读音、谐音、数理）" +
                                        (favourable.empty() ? std::string("。")
                                                            : "，五行一项按“八字旺衰”所取的喜用神" +
                                                                  joined(favourable) + "评分。"));
    if (request.verse)
        if (const auto source = request.verse->bestSource(given))
            lines.push_back("出处：" + citation(*source));
    for (std::size_t i = 0; i < lines.size(); ++i)
        w.add(i == 0 ? Colour::Red : Colour::Blue,
              lines[i] + (i + 1 == lines.size() ? "\r\n\r\n" : "\r\n"));

    // The day master's strength, its own section after the assessment.
    const std::string heading = calendar::strengthHeading();
    const std::string strength = calendar::strengthSection(request.birth, details);
    w.add(Colour::Magenta, heading);
    std::string body = strength.substr(heading.size());
    if (!favourable.empty() && favourable != missing) {
        // The two answers differ: say which one this section follows, right after its own.
        const std::string own = "\r\n喜用神：";
        const auto at = body.find(own);
        const auto end = at == std::string::npos ? std::string::npos : body.find("\r\n", at + 2);
        const std::string note =
            std::string(missing.empty() ? "对照：上文“此喜用神”只说八字五行不缺"
                                        : "对照：上文“此喜用神为”列的是所缺的" + joined(missing)) +
            "，此处按日主强弱取" + joined(favourable) +
            "为喜用神；取名以此处为准，名字品评亦按此评分。\r\n";
        if (end == std::string::npos)
            body += note;
        else
            body.insert(end + 2, note);
    }
    w.add(Colour::Blue, body);
    report.runs = w.take();
    return report;
}

std::string plainText(const std::vector<ColouredRun>& runs)
{
    std::string text;
    for (const auto& run : runs)
        text += run.text;
    return text;
}

} // namespace hmf::naming
