// SPDX-License-Identifier: MIT
// The engine on the orders report (a table row per record in a SCAN, 8 fields, an IF per row,
// SUM totals in the footer) for 10 000 and 100 000 records, beside a plain write of the same
// bytes to the same place in the same run, the bound no report can beat.
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

using namespace rp;

namespace {

const QString templateFile =
    QStringLiteral(ZC_SOURCE_DIR "/../shared/bench/report/gen/templates/engine.rtf");

// Records shaped like the benchmark's CSV: braces, backslashes and accents included.
std::unique_ptr<TRpMemoryDataSet> orders(int count)
{
    auto ds = std::make_unique<TRpMemoryDataSet>();
    ds->SetName(QStringLiteral("ORDERS"));
    ds->DefineField(QStringLiteral("ID"), TRpFieldType::ftInteger);
    ds->DefineField(QStringLiteral("NAME"), TRpFieldType::ftString);
    ds->DefineField(QStringLiteral("CITY"), TRpFieldType::ftString);
    ds->DefineField(QStringLiteral("ORDERDATE"), TRpFieldType::ftString);
    ds->DefineField(QStringLiteral("QTY"), TRpFieldType::ftInteger);
    ds->DefineField(QStringLiteral("PRICE"), TRpFieldType::ftFloat);
    ds->DefineField(QStringLiteral("ACTIVE"), TRpFieldType::ftBoolean);
    ds->DefineField(QStringLiteral("NOTE"), TRpFieldType::ftString);
    const QStringList cities = {QString::fromUtf8("Zürich"), QString::fromUtf8("Kraków"),
                                QStringLiteral("Lyon"), QString::fromUtf8("Málaga")};
    for (int i = 1; i <= count; ++i)
        ds->AppendRecord(
            {i, QStringLiteral("Customer %1 {%2}").arg(i).arg(i % 7), cities[i % cities.size()],
             QDate(2024, 1, 1).addDays(i % 365).toString(Qt::ISODate), 1 + i % 250,
             0.5 + (i * 37 % 250000) / 100.0, i % 3 != 0,
             QString::fromUtf8("Deliver to C:\\orders\\in, note ½ é ü ß {urgent} %1").arg(i)});
    return ds;
}

TRpDataSet *ordersOf(int count)
{
    static std::map<int, std::unique_ptr<TRpMemoryDataSet>> sets;
    auto &ds = sets[count];
    if (!ds)
        ds = orders(count);
    return ds.get();
}

QString outDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/scan-bench-XXXXXX"));
    return dir.path();
}

void runReport(int count, const QString &outFile)
{
    TRpRTF report;
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    report.CreateVar(QStringLiteral("title"), QString::fromUtf8("Orders {Q2} résumé"));
    report.CreateVar(QStringLiteral("company"), QString::fromUtf8("Müller & Söhne GmbH, Zürich"));
    report.CreateVar(QStringLiteral("rundate"), QStringLiteral("2024-05-31"));
    report.SetInFile(templateFile);
    report.SetOutFile(outFile);
    TRpDataSet *ds = ordersOf(count);
    ds->First();
    report.Execute({ds});
}

void BM_EngineScan(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const QString out = outDir() + QStringLiteral("/engine.rtf");
    for (auto _ : state)
        runReport(count, out);
    state.SetBytesProcessed(state.iterations() * QFileInfo(out).size());
    state.counters["records"] = count;
}

// The same bytes written in one go: what the engine's output costs by itself.
void BM_PlainWrite(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const QString reference = outDir() + QStringLiteral("/reference.rtf");
    runReport(count, reference);
    QFile in(reference);
    if (!in.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no reference output");
        return;
    }
    const QByteArray bytes = in.readAll();
    const QString out = outDir() + QStringLiteral("/plain.rtf");
    for (auto _ : state) {
        QFile f(out);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["records"] = count;
}

} // namespace

BENCHMARK(BM_PlainWrite)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineScan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!QFile::exists(templateFile)) {
        std::fprintf(stderr, "scan-bench: template not found: %s\n", qPrintable(templateFile));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
