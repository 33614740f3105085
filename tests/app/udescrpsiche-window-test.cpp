// SPDX-License-Identifier: MIT
// The result window: filling the view, localised texts, and the printout into WEsito.Doc.
#include "apptestsupport.h"

#include "udescrpsiche.h"
#include "uzelvocolor.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using zc::testing::ModalWatcher;
using zc::testing::readFile;
using zc::testing::writeFile;

namespace {

class ResultWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zc::testing::createRemedyDatabase(dir.path() + "/ZColor.fdb", {});
        report = dir.path() + "/report/";
        QDir(dir.path()).mkpath("report");
        writeFile(zc::ConfigFilePath(dir.path()),
                  "[Install]\nChekLNG=3\nDirData=" + dir.path().toUtf8() +
                      "\nFileGdb=ZColor.fdb\nDirReport=" + dir.path().toUtf8() + "/report\n");
        main = std::make_unique<TFmColor>(dir.path());
        main->CaricaLingua(3);
        qputenv("REPORT_OPEN_COMMAND", "true");
    }
    void TearDown() override { qunsetenv("REPORT_OPEN_COMMAND"); }

    /// Presses print, answers every message box with OK and returns their texts.
    static QStringList printAnsweringBoxes(TFmEsito &window)
    {
        QStringList texts;
        ModalWatcher watcher([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        window.BtnStampa->click();
        return texts;
    }

    QTemporaryDir dir;
    QString report;
    std::unique_ptr<TFmColor> main;
};

TEST_F(ResultWindow, RtfReplacesTheRawLineAndPlainTextStaysText)
{
    TFmEsito window(main.get());
    const QString note = "{\\rtf1\\ansi First\\par Second \\'e8\\par}";
    window.FillView(note, note.toLatin1());
    EXPECT_EQ(window.DescrPietra->toPlainText().trimmed(), "First\nSecond \u00e8");
    EXPECT_FALSE(window.DescrPietra->toPlainText().contains("rtf1"));
    EXPECT_FALSE(window.PlainTextCrLf().contains(QRegularExpression("[^\r]\n")));
    EXPECT_TRUE(window.PlainTextCrLf().startsWith("First\r\nSecond \u00e8"));

    TFmEsito plain(main.get());
    plain.FillView("just words", "just words");
    EXPECT_EQ(plain.DescrPietra->toPlainText(), "just words");
}

TEST_F(ResultWindow, ActivationSetsTheLanguagesTexts)
{
    TFmEsito window(main.get());
    window.FormActivate();
    EXPECT_EQ(window.windowTitle(), "Descripci\u00f3n");
    EXPECT_EQ(window.BtnStampa->toolTip(), "Imprimir");
    EXPECT_FALSE(window.Tit.isEmpty());

    main->CaricaLingua(0);
    TFmEsito italian(main.get());
    italian.FormActivate();
    EXPECT_EQ(italian.windowTitle(), "Descrizione e Rimedi");
    EXPECT_EQ(italian.BtnStampa->toolTip(), "Stampa");
    EXPECT_EQ(italian.BtnChiudi->toolTip(), "Chiudi");
    EXPECT_EQ(italian.PrnRim, "Rimedio");
    EXPECT_EQ(italian.Nom, "Nome Cognome");
    EXPECT_EQ(italian.Tit, "Esito Test Colori");
}

TEST_F(ResultWindow, PrintWritesTheSixValuesAndLibreOfficeReadsThem)
{
    QFile::copy(QStringLiteral(ZC_SOURCE_DIR "/assets/report/Esito.rtf"), report + "Esito.rtf");
    const QString record = dir.path() + "/opened.txt";
    writeFile(dir.path() + "/open.sh", "#!/bin/sh\necho \"$1\" >> " + record.toUtf8() + "\n");
    QFile::setPermissions(dir.path() + "/open.sh", QFile::ReadOwner | QFile::ExeOwner);
    qputenv("REPORT_OPEN_COMMAND", (dir.path() + "/open.sh").toUtf8());

    main->CaricaLingua(0);
    TFmEsito window(main.get());
    window.FillView("{\\rtf1 Verde intenso\\par}", "{\\rtf1 Verde intenso\\par}");
    window.Rimedio = "EMERALD";
    window.CognomeNome = "Anna Rossi";
    window.FormActivate();
    // What the user types into the view is printed.
    window.DescrPietra->append("Nota aggiunta");
    window.BtnStampa->click();
    window.BtnStampa->click(); // a second run overwrites the first

    const QByteArray written = readFile(report + "WEsito.Doc");
    ASSERT_TRUE(written.startsWith("{\\rtf"));
    EXPECT_EQ(readFile(record), (report + "WEsito.Doc\n" + report + "WEsito.Doc\n").toUtf8());

    QProcess office;
    office.start("soffice", {"--headless", "-env:UserInstallation=file://" + dir.path() + "/lo",
                             "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir.path(),
                             report + "WEsito.Doc"});
    ASSERT_TRUE(office.waitForFinished(120000));
    const QString text = QString::fromUtf8(readFile(dir.path() + "/WEsito.txt"));
    for (const char *value : {"Esito Test Colori", "Nome Cognome", "Anna Rossi", "Rimedio",
                              "EMERALD", "Verde intenso", "Nota aggiunta"})
        EXPECT_TRUE(text.contains(QLatin1String(value))) << value << "\n" << text.toStdString();
}

TEST_F(ResultWindow, MissingTemplateReachesTheErrorDisplayAndTheWindowStays)
{
    TFmEsito window(main.get());
    window.show();
    const QStringList errors = printAnsweringBoxes(window);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("Esito.rtf")) << errors[0].toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(QFile::exists(report + "WEsito.Doc"));
}

TEST_F(ResultWindow, UnwritableOutputReachesTheErrorDisplayAndNothingIsLost)
{
    // A folder where the document should be: no user, root included, can write it.
    QFile::copy(QStringLiteral(ZC_SOURCE_DIR "/assets/report/Esito.rtf"), report + "Esito.rtf");
    ASSERT_TRUE(QDir(report).mkdir("WEsito.Doc"));
    const QString record = dir.path() + "/opened.txt";
    writeFile(dir.path() + "/open.sh", "#!/bin/sh\necho \"$1\" >> " + record.toUtf8() + "\n");
    QFile::setPermissions(dir.path() + "/open.sh", QFile::ReadOwner | QFile::ExeOwner);
    qputenv("REPORT_OPEN_COMMAND", (dir.path() + "/open.sh").toUtf8());
    const QByteArray templateBytes = readFile(report + "Esito.rtf");

    TFmEsito window(main.get());
    window.FillView("{\\rtf1 Verde intenso\\par}", "{\\rtf1 Verde intenso\\par}");
    window.Rimedio = "EMERALD";
    window.show();
    window.DescrPietra->append("Nota aggiunta");
    const QStringList errors = printAnsweringBoxes(window);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("WEsito.Doc")) << errors[0].toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.DescrPietra->toPlainText().contains("Verde intenso"));
    EXPECT_TRUE(window.DescrPietra->toPlainText().contains("Nota aggiunta"));
    EXPECT_EQ(readFile(report + "Esito.rtf"), templateBytes);
    EXPECT_TRUE(QFileInfo(report + "WEsito.Doc").isDir());
    // Nothing half-written was handed to the word processor.
    EXPECT_FALSE(QFile::exists(record));
}

} // namespace
