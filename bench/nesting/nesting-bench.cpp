// SPDX-License-Identifier: MIT
// Compiling and running N nested IF blocks, and N nested SCAN blocks over a one-record data
// set, for N from 1 000 to 50 000; "per_level" is the time of one run divided by N.
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QLocale>

using namespace rp;

namespace {

QByteArray nestedTemplate(const QByteArray &open, const QByteArray &close, int levels)
{
    return "{\\rtf1 " + open.repeated(levels) + "in" + close.repeated(levels) + "}";
}

void runNested(benchmark::State &state, const QByteArray &open, const QByteArray &close)
{
    const int levels = static_cast<int>(state.range(0));
    const QByteArray doc = nestedTemplate(open, close, levels);
    TRpMemoryDataSet data;
    data.SetName(QStringLiteral("D"));
    data.DefineField(QStringLiteral("N"), TRpFieldType::ftString);
    data.AppendRecord({QStringLiteral("1")});
    for (auto _ : state) {
        TRpRTF report;
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        report.CreateVar(QStringLiteral("x"), 1.0);
        report.SetTemplateBuffer(doc);
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream({&data}, &out);
        benchmark::DoNotOptimize(out.data().size());
    }
    state.counters["per_level"] = benchmark::Counter(
        levels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_NestedIf(benchmark::State &state)
{
    runNested(state, "\\\\IF(x>0)\\\\", "\\\\ENDIF\\\\");
}

void BM_NestedScan(benchmark::State &state)
{
    runNested(state, "\\\\SCAN(D)\\\\", "\\\\ENDSCAN\\\\");
}

} // namespace

BENCHMARK(BM_NestedIf)->Arg(1000)->Arg(5000)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedScan)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
