// Speed of the naming engines: one report, one assessment, one whole generator run, the best
// names of a library and of every GBK character.

#include "core/datafile.h"
#include "core/platform.h"
#include "core/tables.h"
#include "core/text.h"
#include "naming/assessment.h"
#include "naming/generator.h"
#include "naming/library.h"
#include "naming/report.h"
#include "naming/top.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

namespace {

using namespace hmf;

const core::Tables& tables()
{
    static const std::unique_ptr<core::Tables> loaded = [] {
        auto t = core::loadTables(core::findDataDirectory(core::executableDirectory()));
        if (!t) {
            std::cerr << t.error().message() << "\n";
            std::exit(1);
        }
        return std::move(*t);
    }();
    return *loaded;
}

std::vector<std::string> library(const std::string& sex)
{
    auto chars = naming::loadLibrary(core::findDataDirectory(core::executableDirectory()) /
                                         naming::libraryFileName(sex),
                                     tables().strokes);
    if (!chars) {
        std::cerr << chars.error().message() << "\n";
        std::exit(1);
    }
    return *chars;
}

// The name base read from its file and parsed, as a program does when it has no prebuilt copy.
void BM_LoadNameBase(benchmark::State& state)
{
    const auto path = core::findDataDirectory(core::executableDirectory()) / "names.txt";
    for (auto _ : state) {
        const auto text = core::readGbkFile(path);
        if (!text) {
            state.SkipWithError(text.error().message().c_str());
            return;
        }
        core::NameBase base;
        if (const core::Status parsed = base.parse(*text, "names.txt"); !parsed) {
            state.SkipWithError(parsed.error().message().c_str());
            return;
        }
        benchmark::DoNotOptimize(base);
    }
}
BENCHMARK(BM_LoadNameBase)->Unit(benchmark::kMillisecond);

void BM_Report(benchmark::State& state)
{
    const naming::ReportRequest request{"张", "明华", {2019, 5, 5, 5}, std::nullopt};
    for (auto _ : state) {
        auto report = naming::buildReport(tables(), request);
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_Report)->Unit(benchmark::kMicrosecond);

// Start and 5,000 draws, as the window runs it (the library read from its file).
void BM_GeneratorRun(benchmark::State& state)
{
    naming::RunSettings run;
    run.surname = "林";
    run.sex = "男";
    run.birth = {2019, 5, 5, 5};
    run.dataDir = core::findDataDirectory(core::executableDirectory());
    naming::DrawSettings draw;
    draw.length = static_cast<int>(state.range(0));
    std::uint64_t seed = 1;
    for (auto _ : state) {
        naming::SessionState session;
        naming::NameGenerator generator(tables(), session);
        run.seed = seed++;
        if (!generator.start(run).started())
            state.SkipWithError("run did not start");
        int rows = 0;
        while (generator.running())
            rows += generator.draw(draw).duplicate ? 0 : 1;
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_GeneratorRun)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_Top(benchmark::State& state)
{
    naming::TopRequest request;
    request.surname = "林";
    request.length = static_cast<int>(state.range(0));
    request.birth = {2019, 5, 5, 5};
    request.library = library("女");
    for (auto _ : state) {
        auto result = naming::topNames(tables(), request);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_Top)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// Every GBK character the grid table knows, as one library: top must stay bounded.
void BM_TopAllGbk(benchmark::State& state)
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> chars;
        for (char32_t cp = 0x3007; cp <= 0xFFFF; ++cp)
            if (tables().strokes.hasGridCount(cp))
                chars.push_back(core::toUtf8(cp));
        return chars;
    }();
    naming::TopRequest request;
    request.surname = "林";
    request.length = static_cast<int>(state.range(0));
    request.birth = {2019, 5, 5, 5};
    request.library = all;
    for (auto _ : state) {
        auto result = naming::topNames(tables(), request);
        if (!result)
            state.SkipWithError(result.error().message().c_str());
        benchmark::DoNotOptimize(result);
    }
    state.counters["characters"] = static_cast<double>(all.size());
}
BENCHMARK(BM_TopAllGbk)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// One assessment with its reasons, as the generator makes one per draw (characters looked up
// once per run), and one from the texts as `hmf assess` makes it.
void BM_Assessment(benchmark::State& state)
{
    const naming::NameAssessor assessor(tables(), "陈", "女", {"金", "火"}, true);
    const auto chars = library("女");
    std::vector<naming::CharFacts> facts;
    for (const auto& c : chars)
        facts.push_back(assessor.facts(c));
    std::size_t i = 0;
    for (auto _ : state) {
        const naming::CharFacts* given[2] = {&facts[i % facts.size()],
                                             &facts[(i * 7 + 3) % facts.size()]};
        ++i;
        naming::Assessment a;
        benchmark::DoNotOptimize(assessor.assess(given, 2, &a));
    }
}
BENCHMARK(BM_Assessment)->Unit(benchmark::kMicrosecond);

void BM_AssessName(benchmark::State& state)
{
    const naming::AssessmentRequest request{"陈", "楚慕", "男", calendar::BirthTime{2019, 5, 5, 5}};
    for (auto _ : state)
        benchmark::DoNotOptimize(naming::assessName(tables(), request));
}
BENCHMARK(BM_AssessName)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
