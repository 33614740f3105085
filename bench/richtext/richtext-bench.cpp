// SPDX-License-Identifier: MIT
// The RTF reader on a 5 MB document built from a real court ruling of the
// corpus, beside QTextDocument::setPlainText of the same text in the same run.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <malloc.h>

namespace {

constexpr qsizetype TargetSize = 5 * 1024 * 1024;

// The corpus document repeated as groups of one outer document until it
// reaches 5 MB; each copy keeps its own font and colour tables.
const QByteArray &bigDocument()
{
    static const QByteArray doc = [] {
        QFile f(QStringLiteral(ZC_SOURCE_DIR "/../shared/corpus/rtf/striprtf/"
                                             "BVWGT_20241227_W258_2227269_1_00_01.rtf"));
        QByteArray one = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        while (!one.isEmpty() && one.back() != '}')
            one.chop(1);
        if (one.isEmpty())
            return QByteArray();
        QByteArray all = "{\\rtf1\\ansi ";
        while (all.size() < TargetSize)
            all += one;
        all += '}';
        return all;
    }();
    return doc;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void BM_ReadRtf(benchmark::State &state)
{
    const QByteArray &rtf = bigDocument();
    if (rtf.isEmpty()) {
        state.SkipWithError("corpus document not found");
        return;
    }
    for (auto _ : state) {
        QTextDocument document;
        rtf::loadRichText(rtf, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    // Memory held by the loaded document, as a multiple of the file size.
    const size_t before = heapInUse();
    {
        QTextDocument document;
        rtf::loadRichText(rtf, document);
        state.counters["chars"] = double(document.characterCount());
        state.counters["heap_x_file"] = double(heapInUse() - before) / double(rtf.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * rtf.size());
    state.counters["file_MB"] = double(rtf.size()) / (1024 * 1024);
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

// Baseline: the cheapest way to put the same text into a QTextDocument.
void BM_SetPlainTextBaseline(benchmark::State &state)
{
    const QByteArray &rtf = bigDocument();
    if (rtf.isEmpty()) {
        state.SkipWithError("corpus document not found");
        return;
    }
    QTextDocument loaded;
    rtf::loadRichText(rtf, loaded);
    const QString text = rtf::plainText(loaded);
    for (auto _ : state) {
        QTextDocument document;
        document.setPlainText(text);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_SetPlainTextBaseline)->Unit(benchmark::kMillisecond);

void BM_PlainText(benchmark::State &state)
{
    const QByteArray &rtf = bigDocument();
    if (rtf.isEmpty()) {
        state.SkipWithError("corpus document not found");
        return;
    }
    QTextDocument document;
    rtf::loadRichText(rtf, document);
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::plainText(document));
}
BENCHMARK(BM_PlainText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
