// Speed of the naming engines: one report, one whole generator run, the ranking of every
// two-character name of a library.

#include "core/datafile.h"
#include "core/tables.h"
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
        core::LoadError error;
        auto t = core::loadTables(core::findDataDirectory(core::executableDirectory()), error);
        if (!t) {
            std::cerr << error.message() << "\n";
            std::exit(1);
        }
        return t;
    }();
    return *loaded;
}

std::vector<std::string> library(const std::string& sex)
{
    std::string error;
    auto chars = naming::loadLibrary(core::findDataDirectory(core::executableDirectory()) /
                                         naming::libraryFileName(sex),
                                     tables().strokes, error);
    if (!chars) {
        std::cerr << error << "\n";
        std::exit(1);
    }
    return *chars;
}

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
        if (!generator.start(run).started)
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

} // namespace

BENCHMARK_MAIN();
