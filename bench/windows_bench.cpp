// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Start-up and switching, as the user feels them.
//   build/bench/windows_bench
// startup/...: from process start to the calculator's first paint, and the
// resident memory then, for xpcalc and for a minimal Qt program showing one
// empty window of the same size (target: at most 1.2 times the minimal one on
// both), and for the same window with one line of text, which shows what
// Qt's font set-up alone costs. switch/...: one press of "XP Chart" or of the return button until
// the new window has painted (target: under 16 ms, one frame).
// Runs headless unless QT_QPA_PLATFORM says otherwise (xcb under Xvfb, say).
// On a shared machine, compare start-ups run side by side, with the options
//   --benchmark_filter=startup --benchmark_repetitions=10
//   --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include "start_up.h"
#include "window_switching.h"
#include "window_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ; // NOLINT(readability-redundant-declaration): POSIX asks the program to declare it

namespace {

using Clock = std::chrono::steady_clock;

struct StartUp {
    double seconds = 0;
    long residentKiB = 0;
};

// Starts a probe program and waits for its "painted" line.
StartUp startProbe(const char *program, const char *argument)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): posix_spawn's old signature
    char *const argv[] = {const_cast<char *>(program), const_cast<char *>(argument), nullptr};

    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program, &actions, nullptr, argv, environ) != 0)
        std::abort();
    close(pipeEnds[1]);
    FILE *output = fdopen(pipeEnds[0], "r");
    long resident = -1;
    const int read = std::fscanf(output, "painted %ld", &resident);
    const auto painted = Clock::now();
    std::fclose(output);
    int status = 0;
    waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (read != 1)
        std::abort();
    return {std::chrono::duration<double>(painted - start).count(), resident};
}

void startup(benchmark::State &state, const char *program, const char *argument)
{
    double residentKiB = 0;
    for (auto _ : state) {
        const StartUp run = startProbe(program, argument);
        state.SetIterationTime(run.seconds);
        residentKiB += static_cast<double>(run.residentKiB);
    }
    state.counters["rss_KiB"] = residentKiB / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(startup, xpcalc, XPCALC_PROBE, nullptr)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(startup, minimal_empty_window, MINIMAL_PROBE, nullptr)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(startup, minimal_window_with_text, MINIMAL_PROBE, "text")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// Presses a button of a window and waits until the window that replaces it has painted.
double pressAndWaitForPaint(xpcalc::SwitchedWindow &from, xpcalc::Role button, xpcalc::SwitchedWindow &to)
{
    auto *pressed = control<QPushButton>(from.window(), button);
    const auto start = Clock::now();
    QTest::mouseClick(pressed, Qt::LeftButton);
    QWidget *shown = to.window();
    while (!shown->testAttribute(Qt::WA_WState_ExplicitShowHide) || !shown->isVisible())
        QCoreApplication::processEvents();
    shown->repaint(); // paints now if the first paint is still queued; a no-op cost otherwise
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return seconds;
}

void switchToChart(benchmark::State &state)
{
    for (auto _ : state) {
        state.SetIterationTime(
            pressAndWaitForPaint(xpcalc::calculatorWindow(), xpcalc::Role::ShowChart, xpcalc::chartWindow()));
        pressAndWaitForPaint(xpcalc::chartWindow(), xpcalc::Role::ReturnToCalculator, xpcalc::calculatorWindow());
    }
}
BENCHMARK(switchToChart)->Name("switch/to_chart")->UseManualTime()->Unit(benchmark::kMillisecond);

void switchToCalculator(benchmark::State &state)
{
    for (auto _ : state) {
        pressAndWaitForPaint(xpcalc::calculatorWindow(), xpcalc::Role::ShowChart, xpcalc::chartWindow());
        state.SetIterationTime(
            pressAndWaitForPaint(xpcalc::chartWindow(), xpcalc::Role::ReturnToCalculator, xpcalc::calculatorWindow()));
    }
}
BENCHMARK(switchToCalculator)->Name("switch/to_calculator")->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    xpcalc::startUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
