// SPDX-License-Identifier: MIT
// LibreOffice reads our results: fields in tables, non-ASCII text, links, every value format.
#include "libreoffice_convert.h"
#include <reportengine/rpcsvdataset.h>
#include <reportengine/rprtf.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace rp;

namespace {

const QString templates = QStringLiteral(ZC_TEST_DATA_DIR "/templates");

void fillReport(TRpRTF &report)
{
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    report.CreateVar(QStringLiteral("name"), QString::fromUtf8("Zoë Müller"));
    report.CreateVar(QStringLiteral("city"), QString::fromUtf8("Kraków"));
    report.CreateVar(QStringLiteral("price"), 1234.567);
    report.CreateVar(QStringLiteral("weight"), 2.25);
    report.CreateVar(QStringLiteral("path"), QStringLiteral("C:\\orders\\in"));
    report.CreateVar(QStringLiteral("braces"), QStringLiteral("{x}"));
    report.CreateVar(QStringLiteral("word"), QString::fromUtf8("αβγ Жук"));
    report.CreateVar(QStringLiteral("site"),
                     QStringLiteral("https://example.org/a?b=1|Example site"));
    report.CreateVar(QStringLiteral("when"),
                     DateTimeFromQDateTime(QDateTime(QDate(2024, 5, 31), QTime(13, 45, 7))), false);
    report.CreateVar(QStringLiteral("flag"), true);
    report.CreateVar(QStringLiteral("zero"), 0.0);
    report.CreateVar(QString::fromUtf8("Жу"), QStringLiteral("beetle"));
}

} // namespace

TEST(libreoffice_results, visible_text_matches)
{
    const QString soffice = rptest::sofficePath();
    if (soffice.isEmpty())
        FAIL() << "LibreOffice (soffice) is not installed";

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    TRpCsvDataSet orders(templates + QStringLiteral("/orders.csv"));
    orders.SetName(QStringLiteral("ORDERS"));

    const QStringList names = {QStringLiteral("letter"), QStringLiteral("table"),
                               QStringLiteral("formats"), QStringLiteral("unicode")};
    QStringList results;
    for (const QString &name : names) {
        TRpRTF report;
        fillReport(report);
        report.SetUnicodeByDefault(name == u"unicode");
        report.SetInFile(templates + u'/' + name + QStringLiteral(".rtf"));
        report.SetOutFile(work.filePath(name + QStringLiteral(".rtf")));
        orders.First();
        ASSERT_NO_THROW(report.Execute({&orders})) << name.toStdString();
        results << report.OutFile();
    }

    // One start of LibreOffice for every file, with a profile of its own.
    ASSERT_TRUE(rptest::convertWithLibreOffice(soffice, work.path(), results))
        << "LibreOffice did not finish";

    for (const QString &name : names) {
        const QString got = rptest::libreOfficeTextOf(work.path(), name + QStringLiteral(".rtf"));
        const QString expected =
            rptest::readLibreOfficeText(templates + u'/' + name + QStringLiteral(".expected.txt"));
        EXPECT_EQ(got.toStdString(), expected.toStdString()) << name.toStdString();
    }
}
