// SPDX-License-Identifier: MIT
// LibreOffice reads reports with control blocks: repeated table rows, nesting, totals, pages.
#include "libreoffice_convert.h"
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace rp;

namespace {

constexpr int rowCount = 300;

std::unique_ptr<TRpMemoryDataSet> numbers(const QString &name, int count)
{
    auto ds = std::make_unique<TRpMemoryDataSet>();
    ds->SetName(name);
    ds->DefineField(QStringLiteral("N"), TRpFieldType::ftInteger);
    ds->DefineField(QStringLiteral("T"), TRpFieldType::ftString);
    for (int i = 1; i <= count; ++i)
        ds->AppendRecord({i, QStringLiteral("item-%1").arg(i)});
    return ds;
}

const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";

// One table row per record; the second cell holds a conditional part.
const QByteArray tableReport =
    head + "Orders\\par \\\\SCAN(D)\\\\\\trowd\\cellx3000\\cellx6000 \\intbl \\\\D:T\\\\\\cell "
           "\\intbl \\\\IF(D:N>150)\\\\{\\b late}\\\\ELSE\\\\early\\\\ENDIF\\\\\\cell\\row "
           "\\\\ENDSCAN\\\\\\pard end\\par }";
const QByteArray nestedReport = head + "\\\\SCAN(O)\\\\O\\\\O:N\\\\:\\\\SCAN(I)\\\\ "
                                       "\\\\O:N\\\\.\\\\I:N\\\\\\\\ENDSCAN\\\\\\par "
                                       "\\\\ENDSCAN\\\\}";
const QByteArray totalsReport =
    head + "\\\\SCAN(S)\\\\Lines\\par \\\\SCANENTRY,SUM(S:N,total),CTN(S:N,count)\\\\"
           "\\\\S:T\\\\\\par \\\\SCANFOOTER\\\\Total \\\\total\\\\ of \\\\count\\\\\\par "
           "\\\\ENDSCAN\\\\}";
const QByteArray pageReport = head + "\\\\SCAN(P),page\\\\Page of \\\\P:T\\\\\\\\ENDSCAN\\\\}";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000))
        return -1;
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

TEST(libreoffice_control, repeated_rows_nesting_totals_and_pages)
{
    const QString soffice = rptest::sofficePath();
    if (soffice.isEmpty())
        FAIL() << "LibreOffice (soffice) is not installed";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());

    const auto d = numbers(QStringLiteral("D"), rowCount);
    const auto o = numbers(QStringLiteral("O"), 3);
    const auto i = numbers(QStringLiteral("I"), 4);
    const auto s = numbers(QStringLiteral("S"), 5);
    const auto p = numbers(QStringLiteral("P"), 4);
    const struct
    {
        const char *name;
        QByteArray body;
    } reports[] = {{"table", tableReport},
                   {"nested", nestedReport},
                   {"totals", totalsReport},
                   {"pages", pageReport}};
    QStringList results;
    for (const auto &r : reports) {
        TRpRTF report;
        report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        report.CreateVar(QStringLiteral("total"), 0.0);
        report.CreateVar(QStringLiteral("count"), 0.0);
        const QString tpl = work.filePath(QLatin1String(r.name) + QStringLiteral(".tpl.rtf"));
        writeFile(tpl, r.body);
        report.SetInFile(tpl);
        report.SetOutFile(work.filePath(QLatin1String(r.name) + QStringLiteral(".rtf")));
        ASSERT_NO_THROW(report.Execute({d.get(), o.get(), i.get(), s.get(), p.get()})) << r.name;
        results << report.OutFile();
    }
    ASSERT_TRUE(rptest::convertWithLibreOffice(soffice, work.path(), results));
    ASSERT_TRUE(rptest::convertWithLibreOffice(soffice, work.path(), {results.last()},
                                               QStringLiteral("pdf")));

    // Every record is one table row of two cells, in order, with the part its condition chose.
    const QStringList table =
        rptest::libreOfficeTextOf(work.path(), results[0]).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(table.size(), 2 + 2 * rowCount) << table.join(u'|').left(300).toStdString();
    EXPECT_EQ(table.first(), QStringLiteral("Orders"));
    EXPECT_EQ(table.last(), QStringLiteral("end"));
    for (int r = 1; r <= rowCount; ++r) {
        EXPECT_EQ(table[2 * r - 1], QStringLiteral("item-%1").arg(r));
        EXPECT_EQ(table[2 * r], r > 150 ? QStringLiteral("late") : QStringLiteral("early"));
    }

    EXPECT_EQ(rptest::libreOfficeTextOf(work.path(), results[1]).toStdString(),
              "O1: 1.1 1.2 1.3 1.4\nO2: 2.1 2.2 2.3 2.4\nO3: 3.1 3.2 3.3 3.4");
    EXPECT_EQ(rptest::libreOfficeTextOf(work.path(), results[2]).toStdString(),
              "Lines\nitem-1\nitem-2\nitem-3\nitem-4\nitem-5\nTotal 15 of 5");
    EXPECT_EQ(pdfPages(work.filePath(QStringLiteral("pdf/pages.pdf"))), 4);
}
