// SPDX-License-Identifier: MIT
// LibreOffice reads our pictures (every form and data encoding) and inserted RTF memos.
#include <reportengine/rprtf.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace rp;

namespace {

const QString data = QStringLiteral(ZC_TEST_DATA_DIR);

QString readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing %1>").arg(path);
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes).remove(u'\r');
}

/// Converts `files` with one LibreOffice start; false when it did not finish.
bool convert(const QTemporaryDir &work, const QString &filter, const QStringList &files)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QProcess lo;
    lo.start(
        soffice,
        QStringList{QStringLiteral("-env:UserInstallation=") +
                        QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(),
                    QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                    QStringLiteral("--outdir"), work.path()} +
            files);
    return lo.waitForFinished(240000);
}

bool haveTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
}

struct PdfImage
{
    int width = 0;
    int height = 0;
    int ppi = 0;
};

std::vector<PdfImage> pdfImages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    p.waitForFinished(60000);
    std::vector<PdfImage> out;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() < 14)
            continue;
        out.push_back({f[3].toInt(), f[4].toInt(), f[12].toInt()});
    }
    return out;
}

} // namespace

TEST(libreoffice_pictures, every_form_and_encoding_is_shown_at_its_size)
{
    if (!haveTools())
        FAIL() << "LibreOffice (soffice) or poppler-utils (pdfinfo, pdfimages) is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const struct
    {
        const char *name;
        TRpRTFOptions options;
    } forms[] = {
        {"emf-bin", eoGraphicsBinary},
        {"emf-hex", TRpRTFOptions(0)},
        {"wmf-bin", TRpRTFOptions(eoGraphicsWmfCompatible | eoGraphicsBinary)},
        {"wmf-hex", eoGraphicsWmfCompatible},
    };
    QStringList results;
    for (const auto &form : forms) {
        TRpRTF report;
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        report.SetOptions(form.options);
        for (const char *ext : {"png", "jpg", "gif"})
            report.CreateVar(QString::fromLatin1(ext),
                             data + QStringLiteral("/pictures/marker.") + QLatin1String(ext));
        report.SetTemplateBuffer("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 PNG \\\\FIMG(png)\\\\"
                                 "\\par JPEG \\\\FIMG(jpg)\\\\\\par GIF \\\\FIMG(gif)\\\\\\par}");
        report.SetOutFile(work.filePath(QLatin1String(form.name) + QStringLiteral(".rtf")));
        ASSERT_NO_THROW(report.Execute({})) << form.name;
        results << report.OutFile();
    }
    ASSERT_TRUE(convert(work, QStringLiteral("pdf"), results)) << "LibreOffice did not finish";
    for (const auto &form : forms) {
        const auto images = pdfImages(work.filePath(QLatin1String(form.name) + ".pdf"));
        ASSERT_EQ(images.size(), 3u) << form.name;
        for (const PdfImage &i : images) {
            EXPECT_EQ(i.width, 40) << form.name;
            EXPECT_EQ(i.height, 30) << form.name;
            // 40 px over 10.58 mm: shown at the screen size, not at 56.69 % of it.
            EXPECT_EQ(i.ppi, 96) << form.name;
        }
    }
}

TEST(libreoffice_pictures, inserted_memo_keeps_its_text_fonts_and_colours)
{
    if (!haveTools())
        FAIL() << "LibreOffice (soffice) or poppler-utils (pdfinfo, pdfimages) is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    QFile memoFile(data + QStringLiteral("/memos/lo-memo.rtf"));
    ASSERT_TRUE(memoFile.open(QIODevice::ReadOnly));
    const QString memo = QString::fromLatin1(memoFile.readAll());

    QStringList results;
    for (const char *name : {"memo-keep", "memo-join"}) {
        TRpRTF report;
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        if (std::string(name) == "memo-keep")
            report.SetOptions(report.Options() | eoKeepFrtfPar);
        report.CreateVar(QStringLiteral("memo"), memo);
        report.SetTemplateBuffer("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                                 "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}"
                                 "{\\colortbl;\\red200\\green0\\blue0;}"
                                 "\\pard\\plain\\f0\\fs22 Template start\\par "
                                 "\\\\FRTF(memo)\\\\ {\\cf1 template after}\\par}");
        report.SetOutFile(work.filePath(QLatin1String(name) + QStringLiteral(".rtf")));
        ASSERT_NO_THROW(report.Execute({})) << name;
        results << report.OutFile();
    }
    ASSERT_TRUE(convert(work, QStringLiteral("txt:Text"), results));
    ASSERT_TRUE(convert(work, QStringLiteral("html:HTML (StarWriter)"), {results[0]}));

    const QString keep = readAll(work.filePath(QStringLiteral("memo-keep.txt")));
    const QString join = readAll(work.filePath(QStringLiteral("memo-join.txt")));
    for (const QString &text : {keep, join}) {
        EXPECT_TRUE(text.startsWith(QStringLiteral("Template start\nMemo Heading\n")))
            << text.toStdString();
        for (const char *part : {"Green courier words and bold text.", "Cell one", "Cell four",
                                 "First item", "Second item"})
            EXPECT_TRUE(text.contains(QLatin1String(part))) << part << "\n" << text.toStdString();
    }
    EXPECT_TRUE(keep.contains(QStringLiteral("Memo end line\n template after")))
        << keep.toStdString();
    EXPECT_TRUE(join.contains(QStringLiteral("Memo end line template after")))
        << join.toStdString();

    const QString html = readAll(work.filePath(QStringLiteral("memo-keep.html"))).toLower();
    EXPECT_TRUE(html.contains(QStringLiteral("courier new"))) << "the memo's font";
    EXPECT_TRUE(html.contains(QStringLiteral("#00aa00"))) << "the memo's colour";
    EXPECT_TRUE(html.contains(QStringLiteral("#c80000"))) << "the template's colour survives";
}
