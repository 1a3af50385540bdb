// Speed of names from verse: reading and indexing the verse table, the 出处 lookup of one name,
// and a whole 5,000-draw run from one book.

#include "core/datafile.h"
#include "core/platform.h"
#include "core/tables.h"
#include "core/text.h"
#include "naming/generator.h"
#include "naming/verse.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <iterator>
#include <unordered_map>

namespace {

using namespace hmf;

std::filesystem::path dataDir()
{
    return core::findDataDirectory(core::executableDirectory());
}

const core::Tables& tables()
{
    static const std::unique_ptr<core::Tables> loaded = [] {
        auto t = core::loadTables(dataDir());
        if (!t) {
            std::cerr << t.error().message() << "\n";
            std::exit(1);
        }
        return std::move(*t);
    }();
    return *loaded;
}

const naming::VerseTable& verse()
{
    const auto table = naming::verseTable(dataDir());
    if (!table) {
        std::cerr << table.error().message() << "\n";
        std::exit(1);
    }
    return **table;
}

// What choosing a verse source costs the first time: read, decode, parse and index the table.
void BM_VerseLoad(benchmark::State& state)
{
    for (auto _ : state) {
        auto table = naming::VerseTable::load(dataDir() / naming::kVerseFileName);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_VerseLoad)->Unit(benchmark::kMillisecond);

// The 出处 of one name: typical names (静姝, 思齐 and 子之 stand in a few lines each, 鑫淼 in
// none).
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

// The worst pairs the table holds, found in it: the two characters that stand in the most lines
// (the longest lists to walk), and of the thirty commonest characters the pair that shares the
// most lines (the most matches to rank). Today 兮之 and 兮而.
std::pair<std::string, std::string> worstPairs()
{
    const naming::VerseTable& table = verse();
    std::unordered_map<char32_t, std::size_t> lines;
    for (std::uint32_t id = 0; id < table.lineCount(); ++id)
        for (char32_t c : table.lineCharacters(id))
            lines.emplace(c, table.linesWith(c).size());
    std::vector<std::pair<std::size_t, char32_t>> common;
    for (const auto& [c, count] : lines)
        common.emplace_back(count, c);
    std::sort(common.begin(), common.end(), std::greater<>());
    common.resize(std::min<std::size_t>(common.size(), 30));
    const auto name = [](char32_t a, char32_t b) { return core::toUtf8(std::u32string{a, b}); };
    std::string mostShared;
    std::size_t most = 0;
    for (std::size_t i = 0; i < common.size(); ++i)
        for (std::size_t j = i + 1; j < common.size(); ++j) {
            const auto& x = table.linesWith(common[i].second);
            const auto& y = table.linesWith(common[j].second);
            std::vector<std::uint32_t> both;
            std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(both));
            if (both.size() > most) {
                most = both.size();
                mostShared = name(common[i].second, common[j].second);
            }
        }
    return {name(common[0].second, common[1].second), mostShared};
}

// Args 0 and 1: the two worst pairs; 2 and 3: the same characters the other way round.
void BM_VerseBestSourceWorst(benchmark::State& state)
{
    static const auto pairs = worstPairs();
    const auto reversed = [](const std::string& name) {
        const auto cps = core::toCodepoints(name).value_or(std::u32string());
        return core::toUtf8(std::u32string(cps.rbegin(), cps.rend()));
    };
    const std::string& pair = state.range(0) % 2 == 0 ? pairs.first : pairs.second;
    const std::string name = state.range(0) < 2 ? pair : reversed(pair);
    state.SetLabel(name + ", " + std::to_string(verse().matches(name).size()) + " lines");
    const naming::VerseTable& table = verse();
    for (auto _ : state) {
        auto source = table.bestSource(name);
        benchmark::DoNotOptimize(source);
    }
}
BENCHMARK(BM_VerseBestSourceWorst)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

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
        if (!generator.start(run).started()) {
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
