// Speed of names from verse: reading and indexing the verse table, the 出处 lookup of one name,
// and a whole 5,000-draw run from one book.

#include "core/datafile.h"
#include "core/tables.h"
#include "naming/generator.h"
#include "naming/verse.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

namespace {

using namespace hmf;

std::filesystem::path dataDir()
{
    return core::findDataDirectory(core::executableDirectory());
}

const core::Tables& tables()
{
    static const std::unique_ptr<core::Tables> loaded = [] {
        core::LoadError error;
        auto t = core::loadTables(dataDir(), error);
        if (!t) {
            std::cerr << error.message() << "\n";
            std::exit(1);
        }
        return t;
    }();
    return *loaded;
}

const naming::VerseTable& verse()
{
    core::LoadError error;
    const naming::VerseTable* table = naming::verseTable(dataDir(), error);
    if (!table) {
        std::cerr << error.message() << "\n";
        std::exit(1);
    }
    return *table;
}

// What choosing a verse source costs the first time: read, decode, parse and index the table.
void BM_VerseLoad(benchmark::State& state)
{
    for (auto _ : state) {
        core::LoadError error;
        auto table = naming::VerseTable::load(dataDir() / naming::kVerseFileName, error);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_VerseLoad)->Unit(benchmark::kMillisecond);

// The 出处 of one name: a rare pair, and 子之 whose characters stand in hundreds of lines.
void BM_VerseBestSource(benchmark::State& state, const char* name)
{
    const naming::VerseTable& table = verse();
    for (auto _ : state) {
        auto source = table.bestSource(name);
        benchmark::DoNotOptimize(source);
    }
}
BENCHMARK_CAPTURE(BM_VerseBestSource, 静姝, "静姝")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VerseBestSource, 思齐, "思齐")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VerseBestSource, 子之, "子之")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VerseBestSource, 无出处, "鑫淼")->Unit(benchmark::kMicrosecond);

// Start (the library read from its file, the book's lines sorted out) and 5,000 draws.
void BM_VerseGeneratorRun(benchmark::State& state, const char* book)
{
    naming::RunSettings run;
    run.surname = "林";
    run.sex = "女";
    run.birth = {2019, 5, 5, 5};
    run.dataDir = dataDir();
    run.source = book;
    run.verse = &verse();
    naming::DrawSettings draw;
    for (auto _ : state) {
        naming::SessionState session;
        naming::NameGenerator generator(tables(), session);
        run.seed = 1;
        if (!generator.start(run).started) {
            state.SkipWithError("run did not start");
            return;
        }
        int rows = 0;
        while (generator.running())
            rows += generator.draw(draw).title.empty() ? 0 : 1;
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK_CAPTURE(BM_VerseGeneratorRun, 诗经, "诗经")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_VerseGeneratorRun, 宋词, "宋词")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
