// Speed of the calendar: the four pillars, the lunar date and the full birth chart of one birth
// hour, the strength analysis, lunar-to-solar conversion and true solar time, with the year
// tables already computed (the steady state of a naming run).
//
// `calendar_bench --hours=FILE` also runs the list of birth hours in FILE ("YYYY MM DD HH" per
// line), the list tools/calendar-reference/timing.js gives the reference calendar as well.

#include "calendar/birthchart.h"
#include "calendar/calendar.h"
#include "calendar/solartime.h"
#include "calendar/strength.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using hmf::calendar::BirthTime;

namespace {

std::vector<BirthTime> g_hourList;

std::vector<BirthTime> randomHours(std::size_t count)
{
    std::mt19937 random(20190505);
    std::vector<BirthTime> out;
    while (out.size() < count) {
        BirthTime t{std::uniform_int_distribution(1900, 2100)(random),
                    std::uniform_int_distribution(1, 12)(random),
                    std::uniform_int_distribution(1, 28)(random),
                    std::uniform_int_distribution(0, 23)(random)};
        if (hmf::calendar::checkBirthTime(t))
            out.push_back(t);
    }
    return out;
}

const std::vector<BirthTime>& warmHours()
{
    static const std::vector<BirthTime> hours = [] {
        auto h = randomHours(4096);
        for (const BirthTime& t : h)
            benchmark::DoNotOptimize(hmf::calendar::lunarDate(t));
        return h;
    }();
    return hours;
}

const hmf::core::SexagenaryTable& elementTable()
{
    static const hmf::core::SexagenaryTable table = [] {
        const char* stems[10] = {"木", "木", "火", "火", "土", "土", "金", "金", "水", "水"};
        const char* branches[12] = {"水", "土", "木", "木", "土", "火",
                                    "火", "土", "金", "金", "土", "水"};
        std::string text;
        for (int j = 0; j < 60; ++j)
            text += std::string(j ? "\r\n" : "") + stems[j % 10] + "," + branches[j % 12] + ",";
        hmf::core::SexagenaryTable t;
        if (!t.parse(text, "sexagenary.txt"))
            std::abort();
        return t;
    }();
    return table;
}

template <typename F> void overHours(benchmark::State& state, F f)
{
    const auto& hours = warmHours();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(hours[i]));
        i = (i + 1) & (hours.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_PillarNumbers(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) { return hmf::calendar::pillarNumbers(t); });
}
BENCHMARK(BM_PillarNumbers);

void BM_Pillars(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) { return hmf::calendar::pillars(t); });
}
BENCHMARK(BM_Pillars);

void BM_LunarDate(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) { return hmf::calendar::lunarDate(t); });
}
BENCHMARK(BM_LunarDate);

void BM_BirthChart(benchmark::State& state)
{
    overHours(state,
              [](const BirthTime& t) { return hmf::calendar::birthChart(t, elementTable()); });
}
BENCHMARK(BM_BirthChart);

void BM_BirthChartText(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) {
        return hmf::calendar::chartText(*hmf::calendar::birthChart(t, elementTable()));
    });
}
BENCHMARK(BM_BirthChartText);

// The day master's strength of one chart: hidden stems, ten gods, the count and 喜用神.
void BM_StrengthAnalysis(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) {
        return hmf::calendar::analyseStrength(*hmf::calendar::pillarNumbers(t));
    });
}
BENCHMARK(BM_StrengthAnalysis);

// The same with its reasoning written out as the section shows it.
void BM_StrengthText(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) {
        return hmf::calendar::strengthText(
            *hmf::calendar::analyseStrength(*hmf::calendar::pillarNumbers(t)));
    });
}
BENCHMARK(BM_StrengthText);

// A lunar birthday to its Gregorian date (the lunar dates of the warm hours, so both directions
// use tables already computed).
void BM_LunarToSolar(benchmark::State& state)
{
    static const std::vector<hmf::calendar::LunarDate> dates = [] {
        std::vector<hmf::calendar::LunarDate> out;
        for (const BirthTime& t : warmHours())
            out.push_back(*hmf::calendar::lunarDate(t));
        return out;
    }();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hmf::calendar::solarDate(dates[i], 12));
        i = (i + 1) & (dates.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LunarToSolar);

// True solar time at a longitude: the equation of time from ERFA dominates.
void BM_TrueSolarTime(benchmark::State& state)
{
    overHours(state, [](const BirthTime& t) { return hmf::calendar::trueSolarTime(t, 87.6); });
}
BENCHMARK(BM_TrueSolarTime);

// What the reference is timed on: lunar date, the four pillars and the zodiac animal.
void runHourList()
{
    for (const BirthTime& t : g_hourList) {
        benchmark::DoNotOptimize(hmf::calendar::lunarDate(t));
        benchmark::DoNotOptimize(hmf::calendar::pillars(t));
        benchmark::DoNotOptimize(hmf::calendar::zodiacAnimal(t));
    }
}

void BM_HourList(benchmark::State& state)
{
    if (g_hourList.empty()) {
        state.SkipWithError("no --hours=FILE given");
        return;
    }
    for (auto _ : state)
        runHourList();
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(g_hourList.size()));
}
BENCHMARK(BM_HourList)->Unit(benchmark::kMillisecond);

bool readHourList(const char* path)
{
    std::ifstream in(path);
    BirthTime t;
    while (in >> t.year >> t.month >> t.day >> t.hour)
        g_hourList.push_back(t);
    return !g_hourList.empty();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--hours=", 8) == 0) {
            if (!readHourList(argv[i] + 8)) {
                std::fprintf(stderr, "calendar_bench: cannot read birth hours from %s\n",
                             argv[i] + 8);
                return 2;
            }
            // The first pass also computes the tables of every year the list touches.
            auto start = std::chrono::steady_clock::now();
            runHourList();
            std::chrono::duration<double, std::milli> cold =
                std::chrono::steady_clock::now() - start;
            std::fprintf(stderr, "first pass over %zu birth hours: %.1f ms\n", g_hourList.size(),
                         cold.count());
        } else {
            rest.push_back(argv[i]);
        }
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    if (benchmark::ReportUnrecognizedArguments(n, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
