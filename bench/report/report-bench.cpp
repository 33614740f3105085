// SPDX-License-Identifier: MIT
// Report engine speed: a 10 MB template without fields against a plain file copy of the
// same bytes, and a template with 10 000 variable and expression fields.
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace rp;

namespace {

/// Paragraphs of ordinary formatted text, as a word processor writes them.
QByteArray textTemplate(qint64 bytes)
{
    QByteArray doc =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman"
        "\\fcharset0 Times;}}{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;}"
        "\n\\pard\\f0\\fs22 ";
    const QByteArray para = "Lorem ipsum dolor sit amet, {\\b consectetur} adipiscing elit, sed do "
                            "eiusmod tempor incididunt ut labore et dolore magna aliqua. Caf\\'e9 "
                            "{\\i cr\\'e8me} br\\'fbl\\'e9e, {\\cf2 na\\'efve} fa\\'e7ade.\\par\n";
    while (doc.size() < bytes)
        doc += para;
    return doc + "}";
}

QByteArray fieldTemplate(int fields)
{
    QByteArray doc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\n";
    for (int i = 0; i < fields; ++i) {
        switch (i % 4) {
        case 0:
            doc += "Name: \\\\name\\\\ ";
            break;
        case 1:
            doc += "Total: \\\\FNUM(price*qty)\\\\ ";
            break;
        case 2:
            doc += "Sum: \\\\a+b*2\\\\\\par\n";
            break;
        default:
            doc += "Text: \\\\UPPER(city)\\\\ ";
            break;
        }
    }
    return doc + "}";
}

struct Files
{
    QTemporaryDir dir;
    QString in = dir.filePath(QStringLiteral("in.rtf"));
    QString out = dir.filePath(QStringLiteral("out.rtf"));
    QByteArray bytes = textTemplate(10 * 1024 * 1024);
    Files()
    {
        QFile f(in);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

Files &files()
{
    static Files f;
    return f;
}

// The physical bound: read the template and write the same bytes.
void BM_PlainFileCopy(benchmark::State &state)
{
    Files &f = files();
    for (auto _ : state) {
        QFile in(f.in);
        in.open(QIODevice::ReadOnly);
        const QByteArray data = in.readAll();
        QFile out(f.out);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(data);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TemplateWithoutFields(benchmark::State &state)
{
    Files &f = files();
    TRpRTF report;
    report.SetInFile(f.in);
    report.SetOutFile(f.out);
    for (auto _ : state)
        report.Execute({});
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_TemplateWithoutFields)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scan alone (reading the file and compiling, no output): what the copy costs beyond the
// work streams.
void BM_TemplateWithoutFieldsScanOnly(benchmark::State &state)
{
    Files &f = files();
    TRpRTF report;
    report.SetInFile(f.in);
    for (auto _ : state)
        report.CheckTemplate();
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_TemplateWithoutFieldsScanOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TenThousandFields(benchmark::State &state)
{
    TRpRTF report;
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    report.CreateVar(QStringLiteral("name"), QStringLiteral("Zo\u00eb {M\u00fcller}"));
    report.CreateVar(QStringLiteral("city"), QStringLiteral("Krak\u00f3w"));
    report.CreateVar(QStringLiteral("price"), 19.99);
    report.CreateVar(QStringLiteral("qty"), 12.0);
    report.CreateVar(QStringLiteral("a"), 1.5);
    report.CreateVar(QStringLiteral("b"), 2.0);
    report.SetTemplateBuffer(fieldTemplate(10000));
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream({}, &out);
        benchmark::DoNotOptimize(out.data().size());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TenThousandFields)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
