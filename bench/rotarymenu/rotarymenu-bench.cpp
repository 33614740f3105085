// SPDX-License-Identifier: MIT
// Painting the colour test's rotary menu against a plain fill, and its spin-in against the pauses.
#include <appring.h>
#include <rotarymenu/rotarymenu.h>

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

namespace {

constexpr QSize kFrame(656, 658);
// The colour test's spin-in: start angle 360 down to 0 in steps of 5, 10 ms between frames.
constexpr int kSpinFrom = 360;
constexpr int kSpinStep = 5;
constexpr auto kPause = std::chrono::milliseconds(10);

QImage canvas()
{
    return QImage(kFrame, QImage::Format_ARGB32_Premultiplied);
}

void BM_PlainFill(benchmark::State &state)
{
    QImage frame = canvas();
    for (auto _ : state) {
        frame.fill(Qt::white);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFill);

// Argument: 1 with the hints as captions, 0 without.
void BM_PaintAppFrame(benchmark::State &state)
{
    TRotaryMenu menu;
    zc::ConfigureAppPreset(menu, state.range(0) != 0);
    QImage frame = canvas();
    for (auto _ : state) {
        menu.render(&frame);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintAppFrame)->Arg(0)->Arg(1);

// Runs the spin-in's frames; `menu` null pauses only, `pause` false paints only.
void spin(TRotaryMenu *menu, QImage &frame, bool pause = true)
{
    for (int angle = kSpinFrom; angle >= 0; angle -= kSpinStep) {
        if (menu) {
            menu->SetStartAngle(angle);
            menu->render(&frame);
        }
        if (pause) {
            std::this_thread::sleep_for(kPause);
        }
    }
}

void BM_PauseAlone(benchmark::State &state)
{
    QImage frame = canvas();
    for (auto _ : state) {
        spin(nullptr, frame);
    }
}
BENCHMARK(BM_PauseAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// The colour test's menu stepping straight to each angle: the frames (and pauses) are the
// benchmark's own. Argument: 1 with the hints as captions, 0 without.
void spinBenchmark(benchmark::State &state, bool pause)
{
    TRotaryMenu menu;
    zc::ConfigureAppPreset(menu, state.range(0) != 0);
    menu.SetAnimation(false);
    QImage frame = canvas();
    for (auto _ : state) {
        spin(&menu, frame, pause);
    }
}

void BM_SpinIn(benchmark::State &state)
{
    spinBenchmark(state, true);
}
BENCHMARK(BM_SpinIn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// The spin-in's 73 frames back to back: what the pauses have to absorb, per frame.
void BM_SpinInFrame(benchmark::State &state)
{
    spinBenchmark(state, false);
    state.counters["per_frame"] =
        benchmark::Counter(double(state.iterations()) * ((kSpinFrom / kSpinStep) + 1),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SpinInFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table, then each frame and spin-in against its baseline from the same run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        ratio("BM_PaintAppFrame/0", "BM_PlainFill");
        ratio("BM_PaintAppFrame/1", "BM_PlainFill");
        ratio("BM_SpinIn/0/iterations:4/real_time", "BM_PauseAlone/iterations:4/real_time");
        ratio("BM_SpinIn/1/iterations:4/real_time", "BM_PauseAlone/iterations:4/real_time");
    }

private:
    void ratio(const std::string &what, const std::string &baseline) const
    {
        const auto a = m_seconds.find(what), b = m_seconds.find(baseline);
        if (a != m_seconds.end() && b != m_seconds.end() && b->second > 0) {
            std::printf("%-40s %8.3fx %s\n", what.c_str(), a->second / b->second, baseline.c_str());
        }
    }
    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
