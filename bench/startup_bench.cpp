// Speed of the desktop program's start-up: the tables alone, and the tables plus a main window
// shown with its first page up, as app/main.cpp does before the window appears. Runs under
// the offscreen platform unless QT_QPA_PLATFORM names another.
//
// `startup_bench --memory=window` and `--memory=run` do no timing: they start the window (and,
// for `run`, click 开始 for a whole 5,000-draw run with a fixed seed) and exit, so that
// `/usr/bin/time -v` can report the peak memory of that state.

#include "core/prebuilt.h"
#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace hmf;

std::unique_ptr<core::Tables> loadOrExit()
{
    ui::LoadedTables loaded = ui::loadProgramTables(ui::programDataDirectory());
    if (!loaded.tables) {
        std::fprintf(stderr, "startup_bench: %s\n", loaded.error.toLocal8Bit().constData());
        std::exit(2);
    }
    return std::move(loaded.tables);
}

// The page 宝宝取名 is up: its start button shows (the reference pages are built when first shown).
bool ready(const ui::MainWindow& window)
{
    const auto* start = window.findChild<QPushButton*>(QStringLiteral("按钮1"));
    return start && start->isVisible();
}

void BM_LoadTables(benchmark::State& state)
{
    const std::filesystem::path dataDir = ui::programDataDirectory();
    for (auto _ : state) {
        auto tables = core::loadTables(dataDir);
        if (!tables)
            state.SkipWithError(tables.error().message().c_str());
        benchmark::DoNotOptimize(tables);
    }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

void BM_StartupToReadyWindow(benchmark::State& state)
{
    const std::filesystem::path dataDir = ui::programDataDirectory();
    for (auto _ : state) {
        auto tables = loadOrExit();
        ui::MainWindow window(*tables, dataDir);
        window.show();
        QCoreApplication::processEvents();
        if (!ready(window))
            state.SkipWithError("the window is not up");
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToReadyWindow)->Unit(benchmark::kMillisecond);

int memoryRun(const std::string& what)
{
    auto tables = loadOrExit();
    ui::MainWindow window(*tables, ui::programDataDirectory());
    window.show();
    QCoreApplication::processEvents();
    if (!ready(window)) {
        std::fprintf(stderr, "startup_bench: the window is not up\n");
        return 1;
    }
    if (what == "run") {
        window.setSeedOverride(1);
        // The run happens inside the click and returns when it ends (5,000 draws for 林, boy).
        window.findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
        const auto* rows = window.findChild<QListWidget*>(QStringLiteral("超级列表框1"));
        std::fprintf(stderr, "rows after the run: %d\n", rows ? rows->count() : -1);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The tables come as the program reads them: prebuilt when the files are the shipped ones.
    core::installPrebuiltTables(core::prebuiltTables());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string memory;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--memory=", 9) == 0)
            memory = argv[i] + 9;
        else
            rest.push_back(argv[i]);
    }
    if (!memory.empty() && memory != "window" && memory != "run") {
        std::fprintf(stderr, "startup_bench: --memory takes window or run\n");
        return 2;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    ui::prepareApplication(app);
    if (!memory.empty())
        return memoryRun(memory);

    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    if (benchmark::ReportUnrecognizedArguments(n, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
