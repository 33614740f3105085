// SPDX-License-Identifier: MIT
// Inserting a large RTF memo and writing a large picture, each beside a plain copy of its bytes.
#include "rtfinsert/rprtfstream.h"
#include <reportengine/rpfunc.h>
#include <reportengine/rprtf.h>
#include <reportengine/rptypes.h>

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>

#include <string>
#include <utility>

namespace {

constexpr int insertions = 100;

/// A memo about 1 MB long with the header tables a word processor writes and body text
/// that switches fonts, colours, styles and escapes, so that every table lookup is taken.
QByteArray makeMemo()
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
        "{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}{\\f2\\fmodern\\fcharset0 Courier New;}"
        "{\\f3\\fnil\\fcharset2 Symbol;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;"
        "\\red0\\green128\\blue0;\\red0\\green0\\blue255;}"
        "{\\stylesheet{\\s0\\snext0\\f0\\fs24 Normal;}{\\s1\\sbasedon0\\snext0\\b\\f1"
        "\\fs32 Heading 1;}{\\*\\cs10\\cf2 Emphasis;}}"
        "{\\info{\\title Generated}{\\author bench}}{\\*\\generator bench;}\n";
    int n = 0;
    while (rtf.size() < 1024 * 1024) {
        const QByteArray k = QByteArray::number(n % 4);
        rtf += "\\pard\\plain\\s" + QByteArray::number(n % 2) + "\\f" + k + "\\cf" +
               QByteArray::number(1 + n % 4) + " Paragraph " + QByteArray::number(n) +
               ": {\\b bold} {\\i italic \\'e9t\\'e9} {\\cs10\\ul underlined} "
               "plain text with a tab\\tab and a brace \\{ and \\} and a backslash \\\\.\\par\n";
        ++n;
    }
    rtf += "}";
    return rtf;
}

const QByteArray &memo()
{
    static const QByteArray m = makeMemo();
    return m;
}

void BM_PlainMemoCopy(benchmark::State &state)
{
    const QByteArray &source = memo();
    for (auto _ : state) {
        // Appending raw bytes copies them; appending the QByteArray itself could share it.
        QByteArray out;
        for (int i = 0; i < insertions; ++i)
            out.append(source.constData(), source.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * insertions * source.size());
}

void BM_InsertMemo(benchmark::State &state)
{
    QByteArray source = memo();
    for (auto _ : state) {
        rp::TRpRTF report;
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        for (int i = 0; i < insertions; ++i) {
            QBuffer in(&source);
            in.open(QIODevice::ReadOnly);
            rp::InsertRtfMemoStream(report, &out, &in);
        }
        benchmark::DoNotOptimize(out.data().data());
    }
    state.SetBytesProcessed(state.iterations() * insertions * source.size());
}

/// A 1000 x 1000 picture with varied pixels, so no encoder takes a shortcut.
QImage picture()
{
    QImage image(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x & 255, y & 255, (x * y) & 255);
    }
    return image;
}

/// A report whose template holds one picture returned by a user function.
struct PictureReport
{
    explicit PictureReport(rp::TRpRTFOptions options)
    {
        rp::TRpUDF *udf = list.Functions().Add();
        udf->SetName(QStringLiteral("PIC"));
        udf->SetResultType(rp::udfrTPicture);
        udf->OnCalculate = [this](QObject *, rp::TRpUDFArgs &, int, rp::TRpObject *result) {
            static_cast<rp::TRpPicture *>(result)->Image = image;
        };
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        report.SetUDFList(&list);
        report.SetOptions(options);
        report.SetTemplateBuffer("{\\rtf1 \\\\PIC()\\\\}");
    }
    QByteArray write()
    {
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream({}, &out);
        return out.data();
    }

    const QImage image = picture();
    rp::TRpUDFList list;
    rp::TRpRTF report;
};

void BM_WritePicture(benchmark::State &state, rp::TRpRTFOptions options)
{
    PictureReport pr(options);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray doc = pr.write();
        bytes = doc.size();
        benchmark::DoNotOptimize(doc.data());
    }
    state.counters["out_bytes"] = double(bytes);
    state.SetBytesProcessed(state.iterations() * bytes);
}

/// Copies as many bytes as the picture's document holds.
void BM_PlainPictureCopy(benchmark::State &state, qint64 size)
{
    const QByteArray source(qsizetype(size), 'A');
    for (auto _ : state) {
        QByteArray out;
        out.append(source.constData(), source.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * source.size());
}

} // namespace

BENCHMARK(BM_PlainMemoCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertMemo)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The plain copies need the documents' sizes, known only once a picture was written.
    const std::pair<const char *, rp::TRpRTFOptions> forms[] = {
        {"emf_hex", rp::TRpRTFOptions(0)},
        {"emf_binary", rp::TRpRTFOptions(rp::eoGraphicsBinary)},
    };
    for (const auto &[name, options] : forms) {
        const qint64 size = PictureReport(options).write().size();
        benchmark::RegisterBenchmark((std::string("BM_WritePicture/") + name).c_str(),
                                     BM_WritePicture, options)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_PlainPictureCopy/") + name).c_str(),
                                     BM_PlainPictureCopy, size)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
