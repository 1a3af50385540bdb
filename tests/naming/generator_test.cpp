#include "naming/generator.h"
#include "tests/testresult.h"

#include "core/text.h"
#include "shippedtables.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>
#include <set>

namespace hmf::naming {
namespace {

using test::fixture;
using test::shippedTables;

// Sixty common characters: enough that a three-character run never meets 500 repeats.
const char* const kSixty = "子涵轩浩宇博文明华德佳怡欣然若琪思远嘉俊雨泽梓萱诗晨晓阳天"
                           "乐安宁静雅婷志强海峰云飞春秋冬梅兰竹菊松柏山川林森";

RunSettings baseSettings()
{
    RunSettings run;
    run.surname = "林";
    run.sex = "男";
    run.birth = {2019, 5, 5, 5};
    run.seed = 42;
    run.characters = core::splitCharacters(kSixty);
    return run;
}

struct RunLog
{
    std::vector<DrawResult> draws;
    bool started = false;
};

RunLog runAll(const RunSettings& run, const DrawSettings& draw, SessionState* state = nullptr)
{
    SessionState local;
    NameGenerator generator(shippedTables(), state ? *state : local);
    RunLog result;
    result.started = generator.start(run).started();
    while (generator.running())
        result.draws.push_back(generator.draw(draw));
    return result;
}

TEST(GeneratorTest, OneEntryLibraryListsOneRowAndEndsAfterDraw502)
{
    RunSettings run = baseSettings();
    run.characters.reset();
    run.libraryFile = fixture("one.fne");
    DrawSettings draw;
    draw.length = 1;
    const RunLog result = runAll(run, draw);
    ASSERT_TRUE(result.started);
    ASSERT_EQ(result.draws.size(), 502u);
    EXPECT_FALSE(result.draws[0].duplicate);
    EXPECT_EQ(result.draws[0].fullName, "林德");
    EXPECT_EQ(result.draws[0].title, "林德[" + std::to_string(*result.draws[0].score) + "分]");
    for (std::size_t i = 1; i < result.draws.size(); ++i) {
        EXPECT_TRUE(result.draws[i].duplicate);
        EXPECT_TRUE(result.draws[i].title.empty());
        EXPECT_EQ(result.draws[i].finished, i == 501) << i;
    }
}

TEST(GeneratorTest, RunEndsAfter5000DrawsWithUniqueRowsAndScoresAtMost100)
{
    DrawSettings draw;
    draw.length = 3;
    const RunLog result = runAll(baseSettings(), draw);
    ASSERT_EQ(result.draws.size(), 5000u);
    EXPECT_TRUE(result.draws.back().finished);
    std::set<std::string> listed;
    for (const auto& d : result.draws) {
        ASSERT_TRUE(d.score);
        EXPECT_LE(*d.score, 100);
        EXPECT_EQ(core::splitCharacters(d.givenName).size(), 3u);
        EXPECT_EQ(d.duplicate, !listed.insert(d.fullName).second);
    }

    SessionState state;
    NameGenerator idle(shippedTables(), state);
    EXPECT_FALSE(idle.draw(draw).drawn);
}

// The window starts run after run on one generator: a run with another surname or birth time
// scores as a fresh generator would, not with what the run before it kept.
TEST(GeneratorTest, ARunStartedAgainScoresForItsOwnSurnameAndChart)
{
    DrawSettings draw;
    SessionState state;
    NameGenerator again(shippedTables(), state);
    ASSERT_TRUE(again.start(baseSettings()).started());
    for (int i = 0; i < 20; ++i)
        again.draw(draw);
    RunSettings other = baseSettings();
    other.surname = "欧阳";         // counts 8 and 17 where 林 has 8
    other.birth = {2000, 8, 8, 12}; // lacks 水, where 2019-05-05 5时 lacks 金 first
    ASSERT_TRUE(again.start(other).started());
    const RunLog fresh = runAll(other, draw);
    bool someDiffer = false;
    for (const DrawResult& expected : fresh.draws) {
        const DrawResult d = again.draw(draw);
        ASSERT_EQ(d.fullName, expected.fullName);
        EXPECT_EQ(d.score, expected.score) << d.fullName;
        someDiffer = someDiffer || d.score != fresh.draws.front().score;
    }
    EXPECT_TRUE(someDiffer);
}

TEST(GeneratorTest, SameSeedGivesTheSameRun)
{
    DrawSettings draw;
    const auto names = [&](std::uint64_t seed) {
        RunSettings run = baseSettings();
        run.seed = seed;
        std::vector<std::string> out;
        for (const auto& d : runAll(run, draw).draws)
            out.push_back(d.fullName);
        return out;
    };
    EXPECT_EQ(names(7), names(7));
    EXPECT_NE(names(7), names(8));
}

TEST(GeneratorTest, FixedCharacterTakesItsPosition)
{
    struct Case
    {
        int length;
        int position;
        int index; // where 德 must stand in the given name; -1: not used
    };
    const Case cases[] = {{2, 1, 0}, {2, 2, 1}, {2, 3, 1}, {3, 1, 0},
                          {3, 2, 1}, {3, 3, 2}, {1, 1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + "/" + std::to_string(c.position));
        RunSettings run = baseSettings();
        run.fixedOn = true;
        run.fixedChar = "德";
        run.characters = core::splitCharacters("子涵轩浩宇"); // no 德
        DrawSettings draw;
        draw.length = c.length;
        draw.fixedOn = true;
        draw.fixedPosition = c.position;
        const RunLog result = runAll(run, draw);
        ASSERT_FALSE(result.draws.empty());
        for (const auto& d : result.draws) {
            const auto given = core::splitCharacters(d.givenName);
            ASSERT_EQ(given.size(), static_cast<std::size_t>(c.length));
            for (int i = 0; i < c.length; ++i)
                EXPECT_EQ(given[i] == "德", i == c.index) << d.fullName;
        }
    }
}

TEST(GeneratorTest, CandidateWhenTheScoreReachesTheThreshold)
{
    RunSettings run = baseSettings();
    run.characters = std::vector<std::string>{"德"};
    DrawSettings draw;
    draw.length = 1;
    SessionState state;
    NameGenerator probe(shippedTables(), state);
    ASSERT_TRUE(probe.start(run).started());
    const int score = *probe.draw(draw).score;

    struct Case
    {
        bool collect;
        int threshold;
        bool candidate;
    };
    const Case cases[] = {{true, score, true},
                          {true, score - 1, true},
                          {true, score + 1, false},
                          {false, score, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.threshold);
        draw.collect = c.collect;
        draw.threshold = c.threshold;
        NameGenerator generator(shippedTables(), state);
        ASSERT_TRUE(generator.start(run).started());
        const DrawResult first = generator.draw(draw);
        EXPECT_EQ(first.candidate, c.candidate);
        EXPECT_FALSE(generator.draw(draw).candidate); // a duplicate is never a candidate
    }
}

TEST(GeneratorTest, SettingsAreReadAgainForEveryDraw)
{
    SessionState state;
    NameGenerator generator(shippedTables(), state);
    ASSERT_TRUE(generator.start(baseSettings()).started());
    for (int length : {1, 3, 2}) {
        DrawSettings draw;
        draw.length = length;
        const DrawResult d = generator.draw(draw);
        EXPECT_EQ(core::splitCharacters(d.givenName).size(), static_cast<std::size_t>(length));
        EXPECT_EQ(state.givenNameLength, length);
    }
    generator.stop();
    EXPECT_FALSE(generator.running());
    EXPECT_FALSE(generator.draw({}).drawn);
}

TEST(GeneratorTest, StartChecksInputsInOrder)
{
    const auto emptyDir = std::filesystem::temp_directory_path();
    struct Case
    {
        const char* label;
        std::function<void(RunSettings&)> change;
        std::string message;
        core::ErrorCode code;
        bool clearRows;
    };
    const Case cases[] = {
        {"fixed empty",
         [](RunSettings& r) {
             r.fixedOn = true;
             r.surname = "";
         },
         "请填写固定字", core::ErrorCode::BadInput, false},
        {"surname empty", [](RunSettings& r) { r.surname = "  "; }, "请填写姓氏",
         core::ErrorCode::BadInput, false},
        {"surname too long", [](RunSettings& r) { r.surname = "欧阳林"; }, "姓氏应为一到两个汉字",
         core::ErrorCode::BadInput, false},
        {"fixed not one character",
         [](RunSettings& r) {
             r.fixedOn = true;
             r.fixedChar = "德才";
         },
         "固定字应为一个汉字", core::ErrorCode::BadInput, false},
        {"birth",
         [](RunSettings& r) {
             r.birth = {2019, 2, 30, 5};
         },
         "请填写正确的出生日期", core::ErrorCode::BadInput, false},
        {"boys' library missing",
         [&](RunSettings& r) {
             r.characters.reset();
             r.dataDir = emptyDir / "hmf-none";
         },
         "字库男不存在 无法生成", core::ErrorCode::MissingFile, true},
        {"girls' library missing",
         [&](RunSettings& r) {
             r.characters.reset();
             r.sex = "女";
             r.dataDir = emptyDir / "hmf-none";
         },
         "字库女不存在 无法生成", core::ErrorCode::MissingFile, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RunSettings run = baseSettings();
        c.change(run);
        SessionState state;
        NameGenerator generator(shippedTables(), state);
        const StartResult result = generator.start(run);
        const core::Error error = hmf::test::failure(result.status);
        EXPECT_FALSE(generator.running());
        EXPECT_EQ(error.message(), c.message);
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(result.clearRows, c.clearRows);
        EXPECT_EQ(state.fixedCharUsed, run.fixedOn);
    }
}

TEST(GeneratorTest, BadLibraryLineStopsTheStartWithFileAndLine)
{
    RunSettings run = baseSettings();
    run.characters.reset();
    run.libraryFile = fixture("twoperline.fne");
    SessionState state;
    NameGenerator generator(shippedTables(), state);
    const StartResult result = generator.start(run);
    const core::Error error = hmf::test::failure(result.status);
    EXPECT_NE(error.message().find("twoperline.fne:3:"), std::string::npos) << error.message();
    // A library the user named is input, not a fault of the program's data.
    EXPECT_EQ(error.code, core::ErrorCode::BadInput);
}

TEST(GeneratorTest, ChartTimeIsKeptOnlyWhenTheChartWindowAskedForIt)
{
    for (bool requested : {false, true}) {
        SessionState state;
        state.birthChartRequested = requested;
        NameGenerator generator(shippedTables(), state);
        ASSERT_TRUE(generator.start(baseSettings()).started());
        EXPECT_EQ(state.chartDateTime.has_value(), requested);
        if (requested) {
            EXPECT_EQ(*state.chartDateTime, (calendar::BirthTime{2019, 5, 5, 5}));
        }
    }
}

// The assessment ranks what the product's score cannot: over a whole run of either shipped
// library it takes many values, none of them for more than a tenth of the names.
TEST(GeneratorTest, AssessmentSpreadsTheNamesOfARun)
{
    for (const char* sex : {"男", "女"}) {
        SCOPED_TRACE(sex);
        RunSettings run = baseSettings();
        run.surname = "陈";
        run.sex = sex;
        run.characters.reset();
        run.dataDir = std::getenv("HMF_DATA_DIR");
        run.seed = 2019;
        DrawSettings draw;
        draw.leaveOutFaulty = false;
        const RunLog log = runAll(run, draw);
        ASSERT_TRUE(log.started);
        std::map<int, int> figures;
        int names = 0;
        for (const auto& d : log.draws)
            if (!d.duplicate) {
                ++figures[d.assessment.figure];
                ++names;
            }
        ASSERT_GT(names, 4000);
        EXPECT_GE(figures.size(), 30u);
        for (const auto& [figure, count] : figures)
            EXPECT_LE(count * 10, names) << figure;
    }
}

// With the option on, names that sound like a bad word get no row; off, every new name does.
TEST(GeneratorTest, LeaveOutOptionDropsNamesWithABadSound)
{
    RunSettings run = baseSettings();
    run.surname = "杜";
    run.characters = core::splitCharacters("子腾明华");
    for (bool leaveOut : {true, false}) {
        DrawSettings draw;
        draw.leaveOutFaulty = leaveOut;
        const RunLog log = runAll(run, draw);
        std::set<std::string> rows;
        int leftOut = 0;
        for (const auto& d : log.draws) {
            if (!d.title.empty())
                rows.insert(d.fullName);
            leftOut += d.leftOut;
            EXPECT_TRUE(d.title.empty() || !d.leftOut);
        }
        EXPECT_EQ(rows.count("杜子腾"), leaveOut ? 0u : 1u);
        EXPECT_EQ(leftOut, leaveOut ? 1 : 0);
        EXPECT_EQ(rows.size(), leaveOut ? 15u : 16u);
    }
}

// Without reasons a run draws the same names with the same figures, faults and rows: only the
// texts of the reasons are left out.
TEST(GeneratorTest, ADrawWithoutReasonsJudgesTheNameAlike)
{
    RunSettings run = baseSettings();
    run.characters.reset();
    run.dataDir = std::getenv("HMF_DATA_DIR");
    run.seed = 7;
    DrawSettings draw;
    const RunLog full = runAll(run, draw);
    draw.reasons = false;
    const RunLog bare = runAll(run, draw);
    ASSERT_TRUE(full.started);
    ASSERT_EQ(full.draws.size(), bare.draws.size());
    bool someReason = false;
    for (std::size_t i = 0; i < full.draws.size(); ++i) {
        const Assessment& a = full.draws[i].assessment;
        const Assessment& b = bare.draws[i].assessment;
        ASSERT_EQ(full.draws[i].fullName, bare.draws[i].fullName);
        EXPECT_EQ(a.figure, b.figure) << full.draws[i].fullName;
        EXPECT_EQ(a.homophoneFault, b.homophoneFault);
        EXPECT_EQ(a.toneFault, b.toneFault);
        EXPECT_EQ(a.outsideTable, b.outsideTable);
        EXPECT_EQ(full.draws[i].leftOut, bare.draws[i].leftOut);
        EXPECT_EQ(full.draws[i].title, bare.draws[i].title);
        EXPECT_TRUE(b.flags.empty() && b.given.empty());
        someReason = someReason || !a.flags.empty();
    }
    EXPECT_TRUE(someReason);
}

// The set of listed names: every name new once and listed after, across its growth, for packed
// names and for names kept by their text.
TEST(ListedNamesTest, EachNameIsNewOnceAcrossGrowth)
{
    ListedNames listed;
    const auto name = [](int i) {
        return std::array<char32_t, 3>{U'一' + static_cast<char32_t>(i), U'子', U'涵'};
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 4000; ++i) {
            const auto cps = name(i);
            // One, two and three characters of the same start are three names.
            for (int n = 1; n <= 3; ++n)
                ASSERT_EQ(listed.insert(cps.data(), n, ""), pass == 0) << i << " " << n;
        }
    const char32_t none[1] = {0};
    EXPECT_TRUE(listed.insert(none, 0, "子涵之子"));
    EXPECT_FALSE(listed.insert(none, 0, "子涵之子"));
    listed.clear();
    EXPECT_TRUE(listed.insert(name(5).data(), 2, ""));
    EXPECT_TRUE(listed.insert(none, 0, "子涵之子"));
}

// The command line draws thousands of names into one result: each draw must leave it as a fresh
// result would be, after a verse run (a source on every row) as after a library run.
TEST(GeneratorTest, AResultDrawnIntoAgainIsAsAFreshOne)
{
    const auto expectSame = [](const DrawResult& a, const DrawResult& b) {
        EXPECT_EQ(a.drawn, b.drawn);
        EXPECT_EQ(a.fullName, b.fullName);
        EXPECT_EQ(a.givenName, b.givenName);
        EXPECT_EQ(a.score, b.score);
        EXPECT_EQ(a.duplicate, b.duplicate);
        EXPECT_EQ(a.title, b.title);
        EXPECT_EQ(a.candidate, b.candidate);
        EXPECT_EQ(a.finished, b.finished);
        EXPECT_EQ(a.leftOut, b.leftOut);
        EXPECT_EQ(a.source.has_value(), b.source.has_value());
        EXPECT_EQ(assessmentLines(a.assessment), assessmentLines(b.assessment));
        EXPECT_EQ(a.assessment.homophoneFault, b.assessment.homophoneFault);
        EXPECT_EQ(a.assessment.toneFault, b.assessment.toneFault);
        EXPECT_EQ(a.assessment.outsideTable, b.assessment.outsideTable);
    };
    DrawResult reused;
    for (const char* source : {"诗经", kLibrarySource}) {
        SCOPED_TRACE(source);
        RunSettings run = baseSettings();
        run.characters.reset();
        run.dataDir = std::getenv("HMF_DATA_DIR");
        run.source = source;
        DrawSettings draw;
        draw.threshold = 90;
        SessionState freshState, reusedState;
        NameGenerator fresh(shippedTables(), freshState);
        NameGenerator again(shippedTables(), reusedState);
        ASSERT_TRUE(fresh.start(run).started());
        ASSERT_TRUE(again.start(run).started());
        for (int i = 0; i < 300; ++i) {
            // The last draws find no run going on.
            if (i == 298) {
                fresh.stop();
                again.stop();
            }
            const DrawResult expected = fresh.draw(draw);
            again.draw(draw, reused);
            expectSame(reused, expected);
        }
    }
}

} // namespace
} // namespace hmf::naming
