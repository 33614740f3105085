// SPDX-License-Identifier: MIT
// FormatFloat, FloatToStrF and FormatDateTime measured beside QString/QLocale conversions.
#include <reportengine/rpformat.h>

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QLocale>

#include <array>

namespace {

// Values of a typical report column: amounts with cents, a few large and tiny ones.
const std::array<long double, 8> kValues = {1234.5L, -0.75L, 98765432.125L,     0.001L,
                                            42.0L,   -1e7L,  3.14159265358979L, 19.99L};

const rp::TFormatSettings &italian()
{
    static const rp::TFormatSettings fs = rp::FormatSettingsFromLocale(QLocale("it_IT"));
    return fs;
}

void BM_FormatFloat(benchmark::State &state)
{
    const QString pattern = QStringLiteral("#,##0.00;(#,##0.00)");
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            rp::FormatFloat(pattern, kValues[i++ % kValues.size()], italian()));
}
BENCHMARK(BM_FormatFloat);

void BM_FloatToStrF_Number(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            rp::FloatToStrF(kValues[i++ % kValues.size()], rp::ffNumber, 18, 2, italian()));
}
BENCHMARK(BM_FloatToStrF_Number);

void BM_FloatToStr(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(rp::FloatToStr(kValues[i++ % kValues.size()], italian()));
}
BENCHMARK(BM_FloatToStr);

// Baselines: the closest Qt conversions (grouped two decimals, shortest text).
void BM_QLocale_toString_f2(benchmark::State &state)
{
    const QLocale locale("it_IT");
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toString(double(kValues[i++ % kValues.size()]), 'f', 2));
}
BENCHMARK(BM_QLocale_toString_f2);

void BM_QString_number_g15(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::number(double(kValues[i++ % kValues.size()]), 'g', 15));
}
BENCHMARK(BM_QString_number_g15);

const rp::TDateTime kMoment = rp::EncodeDate(2023, 10, 19) + rp::EncodeTime(13, 23, 56, 789);

void BM_FormatDateTime(benchmark::State &state)
{
    const QString pattern = QStringLiteral("dddd d mmmm yyyy hh:nn:ss");
    for (auto _ : state)
        benchmark::DoNotOptimize(rp::FormatDateTime(pattern, kMoment, italian()));
}
BENCHMARK(BM_FormatDateTime);

void BM_DateTimeToStr(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rp::DateTimeToStr(kMoment, italian()));
}
BENCHMARK(BM_DateTimeToStr);

void BM_QLocale_toString_datetime(benchmark::State &state)
{
    const QLocale locale("it_IT");
    const QDateTime moment = rp::QDateTimeFromDateTime(kMoment);
    const QString pattern = QStringLiteral("dddd d MMMM yyyy HH:mm:ss");
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toString(moment, pattern));
}
BENCHMARK(BM_QLocale_toString_datetime);

void BM_StrToDateTime(benchmark::State &state)
{
    const QString text = QStringLiteral("19/10/2023 13:23:56");
    for (auto _ : state)
        benchmark::DoNotOptimize(rp::StrToDateTime(text, italian()));
}
BENCHMARK(BM_StrToDateTime);

void BM_QDateTime_fromString(benchmark::State &state)
{
    const QString text = QStringLiteral("19/10/2023 13:23:56");
    const QString pattern = QStringLiteral("dd/MM/yyyy HH:mm:ss");
    for (auto _ : state)
        benchmark::DoNotOptimize(QDateTime::fromString(text, pattern));
}
BENCHMARK(BM_QDateTime_fromString);

} // namespace

BENCHMARK_MAIN();
