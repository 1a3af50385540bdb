#include "naming/report.h"

#include "calendar/starsign.h"
#include "core/datafile.h"
#include "core/grids.h"
#include "core/score.h"
#include "core/text.h"
#include "naming/library.h"
#include "shippedtables.h"
#include "tests/testresult.h"

#include <gtest/gtest.h>

namespace hmf::naming {
namespace {

using test::shippedTables;

core::Result<Report> reportOf(const std::string& surname, const std::string& given,
                              calendar::BirthTime birth,
                              std::optional<std::string> shownScore = std::nullopt)
{
    return buildReport(shippedTables(), {surname, given, birth, std::move(shownScore)});
}

std::size_t countOf(std::string_view text, std::string_view piece)
{
    std::size_t n = 0;
    for (auto pos = text.find(piece); pos != std::string_view::npos;
         pos = text.find(piece, pos + piece.size()))
        ++n;
    return n;
}

TEST(ReportTest, ZhangMingHuaHasEveryLineInOrderAndColour)
{
    const auto report = reportOf("张", "明华", {2019, 5, 5, 5});
    ASSERT_TRUE(hmf::test::succeeded(report));
    ASSERT_GT(report->runs.size(), kProductRuns);

    using C = Colour;
    const C colours[32] = {C::Red,  C::Magenta, C::Blue,    C::Blue, C::Blue, C::Blue,    C::Blue,
                           C::Blue, C::Blue,    C::Blue,    C::Blue, C::Blue, C::Blue,    C::Blue,
                           C::Blue, C::Blue,    C::Blue,    C::Blue, C::Blue, C::Magenta, C::Red,
                           C::Blue, C::Red,     C::Blue,    C::Red,  C::Blue, C::Red,     C::Blue,
                           C::Red,  C::Blue,    C::Magenta, C::Blue};
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(report->runs[i].colour, colours[i]);
        EXPECT_EQ(report->runs[i].text.substr(report->runs[i].text.size() - 2), "\r\n");
    }

    // 人格 凶 60, 地格 凶 60, 外格 吉 100, 总格 吉 100: base 80, date terms 9 + 1 + 3 + 3; the
    // chart (己亥 戊辰 壬寅 癸卯) lacks 金, which neither given character supplies.
    EXPECT_EQ(report->score, 96);
    const auto& r = report->runs;
    EXPECT_EQ(r[0].text.rfind("名字总分（仅供参考）：96\r\n说明：", 0), 0u) << r[0].text;
    EXPECT_EQ(r[1].text, "----------------------基本信息--------------------------------\r\n");
    EXPECT_EQ(r[2].text, "姓名：张明华\r\n");
    EXPECT_EQ(r[3].text, "姓名（繁体）：張明華\r\n");
    EXPECT_EQ(r[6].text, "四柱：己亥年 戊辰月 壬寅日 癸卯时\r\n");
    EXPECT_EQ(r[7].text, "八字：己亥 戊辰 壬寅 癸卯\r\n");
    EXPECT_EQ(r[8].text, "五行：土,水,土,土,水,木,水,木,\r\n");
    EXPECT_EQ(r[13].text, "五行： 土,水,土,土,水,木,水,木,\r\n");
    EXPECT_EQ(r[15].text, "五行缺：金  火  \r\n");
    EXPECT_EQ(r[16].text.rfind("此喜用神为:金  火  \r\n说明：此行列出八字所缺的五行；", 0), 0u)
        << r[16].text;
    EXPECT_EQ(r[10].text.rfind("名字音韵：zhāng—míng—huá\r\n", 0), 0u) << r[10].text;
    EXPECT_EQ(r[11].text.rfind("名字笔画：11—8—", 0), 0u) << r[11].text;
    EXPECT_EQ(r[17].text, "五格：天格(12) 人格(19) 地格(22) 外格(15) 总格(33)\r\n");
    EXPECT_EQ(r[18].text, "三才：天才(木)→人才(水)→地才(木) 半吉\r\n\r\n\r\n");
    EXPECT_EQ(r[19].text, "----------------------五格释义--------------------------------\r\n");
    EXPECT_EQ(r[20].text, "天格：乃祖先留下来的，其数理对人影响不大。\r\n\r\n");
    // The blocks follow the order 天 人 地 总 外.
    const std::pair<int, const char*> blocks[] = {{21, "第12数理(凶)\r\n基业："},
                                                  {23, "第19数理(凶)\r\n基业："},
                                                  {25, "第22数理(凶)\r\n基业："},
                                                  {27, "第33数理(吉)\r\n基业："},
                                                  {29, "第15数理(吉)\r\n基业："}};
    for (const auto& [index, start] : blocks) {
        SCOPED_TRACE(index + 1);
        const std::string& text = r[index].text;
        EXPECT_EQ(text.rfind(start, 0), 0u) << text;
        EXPECT_NE(text.find("\r\n含义"), std::string::npos);
        EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    }
    EXPECT_EQ(r[30].text, "----------------------星座解释--------------------------------\r\n");
    EXPECT_EQ(r[31].text, calendar::starSignText(5, 5) + "\r\n\r\n");
    EXPECT_EQ(plainText(report->runs).rfind(r[0].text + r[1].text, 0), 0u);

    // After the product's lines: the assessment with its figure, reasons and meanings.
    EXPECT_EQ(r[32].text, "----------------------名字品评--------------------------------\r\n");
    EXPECT_EQ(r[32].colour, C::Magenta);
    EXPECT_EQ(r[33].colour, C::Red);
    EXPECT_EQ(r[33].text.rfind("品评分：" + std::to_string(report->assessment.figure), 0), 0u);
    const std::string section = plainText({r.begin() + 32, r.end() - 2});
    EXPECT_NE(section.find("【数理】人格19为凶数"), std::string::npos) << section;
    EXPECT_NE(section.find("字义 “明”："), std::string::npos) << section;
    EXPECT_NE(section.find("字义 “华”："), std::string::npos) << section;
    EXPECT_EQ(section.substr(section.size() - 4), "\r\n\r\n");

    // Last, the day master's strength: its heading and its lines.
    const ColouredRun& heading = r[r.size() - 2];
    EXPECT_EQ(heading.text, "----------------------八字旺衰--------------------------------\r\n");
    EXPECT_EQ(heading.colour, C::Magenta);
    EXPECT_EQ(r.back().text.rfind("日主：壬水，生于辰月。\r\n", 0), 0u) << r.back().text;
    EXPECT_EQ(r.back().colour, C::Blue);
}

TEST(ReportTest, AssessmentSectionWeighsTheSexWhenGiven)
{
    ReportRequest request{"林", "泰", {2019, 5, 5, 5}, std::nullopt, "女"};
    const auto girl = buildReport(shippedTables(), request);
    request.sex = "男";
    const auto boy = buildReport(shippedTables(), request);
    ASSERT_TRUE(hmf::test::succeeded(girl));
    ASSERT_TRUE(hmf::test::succeeded(boy));
    EXPECT_NE(plainText(girl->runs).find("“泰”多用于男孩名"), std::string::npos);
    EXPECT_EQ(plainText(boy->runs).find("多用于"), std::string::npos);
    EXPECT_GT(boy->assessment.figure, girl->assessment.figure);
}

TEST(ReportTest, NameLinesHaveOnePartPerGivenCharacter)
{
    struct Case
    {
        const char* surname;
        const char* given;
        std::size_t dashes; // "—" between the parts of lines 11 to 13
        bool surnameHyphen; // a two-character surname joins its own parts with "-"
    };
    const Case cases[] = {
        {"张", "明", 1, false},  {"张", "明华", 2, false},  {"张", "德明华", 3, false},
        {"欧阳", "明", 1, true}, {"欧阳", "明华", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + c.given);
        const auto report = reportOf(c.surname, c.given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        ASSERT_GT(report->runs.size(), kProductRuns);
        for (int line : {10, 11, 12}) {
            const std::string& text = report->runs[line].text;
            EXPECT_EQ(countOf(text, "—"), c.dashes) << text;
            if (line != 10) {
                EXPECT_EQ(text.find('-') != std::string::npos, c.surnameHyphen) << text;
            }
        }
    }
}

// The strokes printed beside the name are the counts its grids add up, for every character a
// generated name can hold and every single surname.
TEST(ReportTest, PrintedStrokesAreTheGridCounts)
{
    const auto& tables = shippedTables();
    std::vector<std::string> chars;
    for (const char* file : {"zmz.fne", "zwz.fne"}) {
        const auto library = loadLibrary(test::dataDirectory() / file, tables.strokes);
        ASSERT_TRUE(hmf::test::succeeded(library));
        chars.insert(chars.end(), library->begin(), library->end());
    }
    const auto surnames = core::readGbkFile(test::dataDirectory() / "surnames.txt");
    ASSERT_TRUE(hmf::test::succeeded(surnames));
    std::vector<std::string> single;
    std::string_view rest = *surnames;
    while (!rest.empty()) {
        const std::string line(core::takeLine(rest));
        const std::string surname = line.substr(0, line.find('\t'));
        if (core::splitCharacters(surname).size() == 1)
            single.push_back(surname);
    }
    ASSERT_GT(single.size(), 500u);

    const auto check = [&](const std::string& surname, const std::string& given) {
        const auto report = reportOf(surname, given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        std::string expected = "名字笔画：" + std::to_string(tables.gridStrokeCount(surname));
        for (const auto& c : core::splitCharacters(given))
            expected += "—" + std::to_string(tables.gridStrokeCount(c));
        // The counts, with a note such as （另有18画之说） beside some of them.
        std::string text = report->runs[11].text;
        for (auto open = text.find("（另有"); open != std::string::npos; open = text.find("（另有"))
            text.erase(open, text.find("画之说）", open) + std::string("画之说）").size() - open);
        EXPECT_EQ(text, expected + "\r\n") << surname << given;
    };
    for (std::size_t i = 0; i + 1 < chars.size(); i += 2)
        check("王", chars[i] + chars[i + 1]);
    check("王", chars.back());
    for (std::size_t i = 0; i < single.size(); ++i)
        check(single[i], chars[i % chars.size()]);

    // A compound surname joins its two counts with "-": 诸 16, 葛 15.
    EXPECT_EQ(reportOf("诸葛", "亮", {2019, 5, 5, 5}).value().runs[11].text,
              "名字笔画：16-15—9\r\n");
}

// Where name books count a character or class a stem or branch another way, the report says so
// beside the count or the element, in the surname as in the given name.
TEST(ReportTest, NotesBesideCountsAndElements)
{
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"姜", "松", "名字笔画：9（另有19画之说）—8（另有18画之说）\r\n", "名字五行：木—木\r\n"},
        {"丑", "四寅", "名字笔画：4（另有17画之说）—4（另有5画之说）—11\r\n",
         "名字五行：土（命理取土）—金—木（命理取木）\r\n"},
        {"张", "明华", "名字笔画：11—8—14\r\n", "名字五行：火—水—水\r\n"},
    };
    for (const auto& [surname, given, strokes, elements] : cases) {
        SCOPED_TRACE(std::string(surname) + given);
        const auto report = reportOf(surname, given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->runs[11].text, strokes);
        EXPECT_EQ(report->runs[12].text, elements);
    }
}

// 三才 is the elements of the last digits of 天格, 人格 and 地格 (1 2 木, 3 4 火, 5 6 土, 7 8 金,
// 9 0 水) with the configuration's verdict; worked out by hand from each name's grids.
TEST(ReportTest, ThreeTalentsAreTheElementsOfTheLastDigits)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"张", "伟", "天才(木)→人才(木)→地才(木) 吉"},       // 12 22 12
        {"周", "发", "天才(水)→人才(水)→地才(火) 半凶"},     // 9 20 13
        {"诸葛", "鸾麟", "天才(木)→人才(土)→地才(火) 半凶"}, // 31 45 53
        {"王", "明", "天才(土)→人才(木)→地才(水) 半凶"},     // 5 12 9
        {"李", "娜", "天才(金)→人才(金)→地才(木) 半凶"},     // 8 17 11
        {"刘", "德华", "天才(土)→人才(水)→地才(水) 凶"},     // 16 30 29
        {"陈", "静", "天才(金)→人才(木)→地才(金) 凶"},       // 17 32 17
        {"杨", "洋", "天才(火)→人才(火)→地才(木) 吉"},       // 14 23 11
        {"赵", "子轩", "天才(土)→人才(金)→地才(火) 半凶"},   // 15 17 13
        {"黄", "晓明", "天才(火)→人才(金)→地才(火) 凶"},     // 13 28 24
        {"吴", "彦祖", "天才(金)→人才(土)→地才(水) 凶"},     // 8 16 19
        {"欧阳", "修", "天才(木)→人才(金)→地才(木) 凶"},     // 32 27 11
        {"司马", "相如", "天才(土)→人才(水)→地才(土) 凶"},   // 15 19 15
        {"林", "黛玉", "天才(水)→人才(土)→地才(木) 凶"},     // 9 25 22
        {"孙", "悟空", "天才(木)→人才(木)→地才(水) 吉"},     // 11 21 19
        {"郭", "沫若", "天才(土)→人才(火)→地才(水) 凶"},     // 16 24 20
        {"马", "云", "天才(木)→人才(木)→地才(火) 吉"},       // 11 22 13
        {"上官", "婉儿", "天才(木)→人才(水)→地才(水) 半吉"}, // 11 19 19
    };
    for (const auto& [surname, given, talents] : cases) {
        SCOPED_TRACE(std::string(surname) + given);
        const auto report = reportOf(surname, given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->runs[18].text, std::string("三才：") + talents + "\r\n\r\n\r\n");
    }
}

TEST(ReportTest, ScoreUsesTheReportsOwnBirthAndTheGivenNamesLength)
{
    // 王明: 人格 12 凶 60, 地格 9 凶 60, 外格 2 凶 50, 总格 12 凶 65: base 59; born 1985-08-20
    // the date terms add 5 + 2 + 1 + 3. At noon the chart lacks 水, which 明 (水 in the name
    // dictionaries) supplies: 100; at midnight it lacks 火, which 明 does not supply: 70 stays.
    struct Case
    {
        calendar::BirthTime birth;
        int score;
    };
    const Case cases[] = {{{1985, 8, 20, 12}, 100}, {{1985, 8, 20, 0}, 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.birth.hour);
        const auto report = reportOf("王", "明", c.birth);
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->score, c.score);
        EXPECT_EQ(report->runs[0].text.rfind(
                      "名字总分（仅供参考）：" + std::to_string(c.score) + "\r\n", 0),
                  0u);
    }
}

TEST(ReportTest, ChartWithEveryElementLacksNothing)
{
    // 己亥 戊辰 辛丑 甲午 holds all five elements.
    const auto report = reportOf("张", "明华", {2019, 5, 4, 12});
    ASSERT_TRUE(hmf::test::succeeded(report));
    EXPECT_EQ(report->runs[15].text, "五行缺：\r\n");
    EXPECT_EQ(report->runs[16].text.rfind("此喜用神：生辰八字不缺\r\n说明：此行只看", 0), 0u);
    EXPECT_EQ(report->score, 96);
}

// The line "此喜用神为:" fills what the chart lacks, 八字旺衰 weighs its strength: where they
// differ the section says which it follows, and the assessment names the elements it used.
TEST(ReportTest, OneStoryOfTheFavourableElements)
{
    struct Case
    {
        const char* surname;
        const char* given;
        calendar::BirthTime birth;
        const char* compare; // the line after 八字旺衰's own answer
        const char* used;    // what the assessment scored against
    };
    const Case cases[] = {
        {"王",
         "子涵",
         {2024, 3, 15, 8},
         "对照：上文“此喜用神为”列的是所缺的金、水，此处按日主强弱取火、土为喜用神；",
         "五行一项按“八字旺衰”所取的喜用神火、土评分。"},
        {"张",
         "明华",
         {2019, 5, 4, 12},
         "对照：上文“此喜用神”只说八字五行不缺，此处按日主强弱取",
         "五行一项按“八字旺衰”所取的喜用神"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        const auto report = reportOf(c.surname, c.given, c.birth);
        ASSERT_TRUE(hmf::test::succeeded(report));
        const std::string text = plainText(report->runs);
        const auto own = text.find("\r\n喜用神：");
        ASSERT_NE(own, std::string::npos);
        EXPECT_EQ(text.find(c.compare), text.find("\r\n", own + 2) + 2) << text.substr(own);
        EXPECT_NE(text.find(c.used), std::string::npos);
    }
}

TEST(ReportTest, LunarDateMarksALeapMonth)
{
    // 2023 has a leap second month from 03-22; its first day and the first day of the
    // ordinary second month must not read alike.
    const std::pair<calendar::BirthTime, const char*> cases[] = {
        {{2023, 2, 20, 5}, "农历日期：2023年2月1日\r\n"},
        {{2023, 3, 22, 5}, "农历日期：2023年闰2月1日\r\n"},
        {{2023, 4, 19, 5}, "农历日期：2023年闰2月29日\r\n"},
        {{2023, 4, 20, 5}, "农历日期：2023年3月1日\r\n"},
    };
    for (const auto& [birth, line] : cases) {
        SCOPED_TRACE(line);
        const auto report = reportOf("张", "明华", birth);
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->runs[4].text, line);
    }
}

TEST(ReportTest, SurnamesReadAsSurnames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"曾", "名字音韵：zēng—zǐ—xuān\r\n"},    {"单", "名字音韵：shàn—zǐ—xuān\r\n"},
        {"尉迟", "名字音韵：yùchí—zǐ—xuān\r\n"}, {"单于", "名字音韵：chányú—zǐ—xuān\r\n"},
        {"朝", "名字音韵：cháo—zǐ—xuān\r\n"},    {"重", "名字音韵：chóng—zǐ—xuān\r\n"},
        {"佴", "名字音韵：nài—zǐ—xuān\r\n"},     {"蔚", "名字音韵：yù—zǐ—xuān\r\n"},
        {"解", "名字音韵：xiè—zǐ—xuān\r\n"},     {"万俟", "名字音韵：mòqí—zǐ—xuān\r\n"},
    };
    for (const auto& [surname, line] : cases) {
        SCOPED_TRACE(surname);
        const auto report = reportOf(surname, "子轩", {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->runs[10].text, line);
    }
}

// A polyphone reads as the word it stands in, in the line shown and in what the assessment hears.
TEST(ReportTest, GivenNamesReadWordByWord)
{
    const std::pair<const char*, const char*> cases[] = {
        {"重阳", "名字音韵：lǐ—chóng—yáng\r\n"}, {"重光", "名字音韵：lǐ—chóng—guāng\r\n"},
        {"相如", "名字音韵：lǐ—xiàng—rú\r\n"},   {"载德", "名字音韵：lǐ—zài—dé\r\n"},
        {"乐乐", "名字音韵：lǐ—lè—lè\r\n"},      {"乐韵", "名字音韵：lǐ—yuè—yùn\r\n"},
        {"朝阳", "名字音韵：lǐ—zhāo—yáng\r\n"},  {"长青", "名字音韵：lǐ—cháng—qīng\r\n"},
        {"行之", "名字音韵：lǐ—xíng—zhī\r\n"},   {"重", "名字音韵：lǐ—zhòng\r\n"},
    };
    for (const auto& [given, line] : cases) {
        SCOPED_TRACE(given);
        const auto report = reportOf("李", given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_EQ(report->runs[10].text, line);
    }
    // 崇重阳 says chóng twice and 向相如 xiàng twice; read character by character they would not.
    for (const auto& [surname, given] : {std::pair{"崇", "重阳"}, std::pair{"向", "相如"}}) {
        SCOPED_TRACE(given);
        const auto report = reportOf(surname, given, {2019, 5, 5, 5});
        ASSERT_TRUE(hmf::test::succeeded(report));
        EXPECT_NE(plainText(report->runs).find("与姓氏“" + std::string(surname) + "”同音"),
                  std::string::npos);
    }
}

TEST(ReportTest, GridNumbersAbove81CountAsTheNumberLess80)
{
    // 欧阳 鑫耀麟: 总格 above 81 takes the verdict, text and points of the number less 80.
    const auto report = reportOf("欧阳", "鑫耀麟", {2019, 5, 5, 5});
    ASSERT_TRUE(hmf::test::succeeded(report));
    const auto grids = core::gridNumbers(test::shippedTables().strokes, "欧阳", "鑫耀麟");
    ASSERT_GT(grids.zong, 81);
    const auto& entry = test::shippedTables().luck.entry(grids.zong - 80);
    EXPECT_EQ(report->runs[27].text.rfind(entry.title + "(" + entry.verdict + ")\r\n基业：", 0), 0u)
        << report->runs[27].text;
    core::ScoreInput in{grids, 2019, 5, 5, "", "鑫耀麟", false};
    core::FiveGrids reduced = grids;
    reduced.zong -= 80;
    EXPECT_EQ(core::nameScore(test::shippedTables().luck, test::shippedTables().elements, in),
              core::nameScore(test::shippedTables().luck, test::shippedTables().elements,
                              {reduced, 2019, 5, 5, "", "鑫耀麟", false}));
}

TEST(ReportTest, ShownScoreReplacesTheComputedOneWithItsUnit)
{
    const auto report = reportOf("张", "明华", {2019, 5, 5, 5}, "85分");
    ASSERT_TRUE(hmf::test::succeeded(report));
    EXPECT_EQ(report->runs[0].text.rfind("名字总分（仅供参考）：85分\r\n", 0), 0u);
    EXPECT_EQ(report->score, 96);
}

TEST(ReportTest, BadInputGivesOneMessageAndNoReport)
{
    struct Case
    {
        const char* surname;
        const char* given;
        calendar::BirthTime birth;
        std::string expected;
    };
    const Case cases[] = {
        {"", "明华", {2019, 5, 5, 5}, "请填写姓氏"},
        {"张", "", {2019, 5, 5, 5}, "请填写名字"},
        {"张", "明A", {2019, 5, 5, 5}, "“A”不是汉字"},
        {"张", "明华明华", {2019, 5, 5, 5}, "名字应为一到三个汉字"},
        {"欧阳张", "明", {2019, 5, 5, 5}, "姓氏应为一到两个汉字"},
        {"张", "明𠀀", {2019, 5, 5, 5}, "“𠀀”不在字库中"},
        {"张", "明华", {2019, 2, 30, 5}, "请填写正确的出生日期"},
        {"张", "明华", {2019, 5, 5, 24}, "出生时辰应在0到23之间"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + "|" + c.given);
        const auto report = reportOf(c.surname, c.given, c.birth);
        const core::Error error = hmf::test::failure(report);
        EXPECT_EQ(error.message(), c.expected);
        EXPECT_EQ(error.code, core::ErrorCode::BadInput);
    }
}

} // namespace
} // namespace hmf::naming
