// SPDX-License-Identifier: MIT
// The colour test window at work: activation, a colour click, the table button, closing.
#include "apptestsupport.h"

#include "appring.h"
#include "remedystore.h"
#include "udescrpsiche.h"
#include "uzelvocolor.h"

#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using zc::testing::ModalWatcher;
using zc::testing::readFile;
using zc::testing::writeFile;

namespace {

class ColourTest : public ::testing::Test
{
protected:
    // A configured work folder with language `language` and, when `rows` is given, a
    // database holding them.
    std::unique_ptr<TFmColor> start(int language, const QList<std::array<QString, 3>> &rows,
                                    bool withDatabase = true)
    {
        if (withDatabase)
            zc::testing::createRemedyDatabase(dir.path() + "/ZColor.fdb", rows);
        QDir(dir.path()).mkpath("images");
        writeFile(zc::ConfigFilePath(dir.path()),
                  "[Install]\nChekLNG=" + QByteArray::number(language) +
                      "\nDirData=" + dir.path().toUtf8() + "\nFileGdb=ZColor.fdb\nImmagini=" +
                      dir.path().toUtf8() + "/images\nDirReport=" + dir.path().toUtf8() + "\n");
        ModalWatcher watcher([](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                box->button(QMessageBox::Ok)->click();
        });
        return std::make_unique<TFmColor>(dir.path());
    }

    // Clicks item `index` of the ring and records what each modal window showed.
    void clickItem(TFmColor &window, int index)
    {
        ModalWatcher watcher([this](QWidget *modal) {
            if (auto *esito = qobject_cast<TFmEsito *>(modal)) {
                shown << esito->DescrPietra->toPlainText();
                remedies << esito->Rimedio;
                names << esito->CognomeNome;
                esito->BtnChiudi->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        Q_EMIT window.RM_ZColor->OnMenuItemClick(window.RM_ZColor->Items()->Items(index), index);
    }

    QTemporaryDir dir;
    QStringList shown, remedies, names, boxes;
};

TEST_F(ColourTest, ActivationClearsCaptionsKeepsHintsAndEndsTheSpinAtZero)
{
    auto window = start(4, {});
    EXPECT_EQ(window->RM_ZColor->Items()->Count(), 10);
    EXPECT_EQ(window->RM_ZColor->Items()->Items(0)->Caption(), "BLU SAPPHIRE");
    window->FormActivate();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(window->RM_ZColor->Items()->Items(i)->Caption().isEmpty()) << i;
        EXPECT_EQ(window->RM_ZColor->Items()->Items(i)->Hint(), zc::GemKeys[i]);
    }
    EXPECT_EQ(window->RM_ZColor->StartAngle(), 0.0);
    EXPECT_EQ(window->windowTitle(), "Zelvoria Color Test (OLA)");

    // A second activation (back from the result window) spins in again from 360.
    window->RM_ZColor->SetStartAngle(200);
    window->FormActivate();
    EXPECT_EQ(window->RM_ZColor->StartAngle(), 0.0);
}

TEST_F(ColourTest, ClickingAColourShowsThatGemsTextWithTheName)
{
    auto window = start(1, {{"ENG", "EMERALD", "{\\rtf1\\ansi Emerald {\\b heals}\\par}"},
                            {"ITA", "EMERALD", "{\\rtf1 Smeraldo}"},
                            {"ENG", "DIAMOND", "Diamond plain text"}});
    window->FormActivate();
    window->EdNomeCogn->setText("Anna Rossi");
    clickItem(*window, 3);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].trimmed(), "Emerald heals");
    EXPECT_EQ(remedies[0], "EMERALD");
    EXPECT_EQ(names[0], "Anna Rossi");

    // A NOTE without an RTF header shows as its text; an empty name box gives an empty name.
    window->EdNomeCogn->clear();
    clickItem(*window, 2);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], "Diamond plain text");
    EXPECT_EQ(names[1], "");
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ColourTest, ApostropheInAHintBecomesTheFixedKey)
{
    auto window =
        start(1, {{"ENG", "CAT\u2019S EYES", "curly"}, {"ENG", "CAT\u0092S EYES", "fixed key"}});
    window->FormActivate();
    clickItem(*window, 1);
    window->RM_ZColor->Items()->Items(1)->SetHint("CAT'S EYES");
    clickItem(*window, 1);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], "curly");
    EXPECT_EQ(remedies[0], "CAT\u2019S EYES");
    EXPECT_EQ(shown[1], "fixed key");
    EXPECT_EQ(remedies[1], "CAT\u0092S EYES");
}

TEST_F(ColourTest, AGemWithoutARowDoesNothingAndNoDatabaseShowsTheError)
{
    auto window = start(0, {{"ENG", "EMERALD", "only in English"}});
    window->FormActivate();
    clickItem(*window, 3);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(boxes.isEmpty());

    QTemporaryDir empty;
    dir.swap(empty);
    auto unconnected = start(1, {}, false);
    clickItem(*unconnected, 3);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(boxes.size(), 1);
}

TEST_F(ColourTest, TableButtonOpensThePictureOrNamesTheMissingFile)
{
    auto window = start(4, {});
    window->FormActivate();
    const QString picture = dir.path() + "/images/Tabella_ZelvoColor_OLA.jpg";
    {
        ModalWatcher watcher([this](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        window->BtnTab->click();
    }
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], "file " + picture + " inesistente");

    writeFile(picture, "jpeg");
    const QString record = dir.path() + "/opened.txt";
    writeFile(dir.path() + "/open.sh", "#!/bin/sh\necho \"$1\" > " + record.toUtf8() + "\n");
    QFile::setPermissions(dir.path() + "/open.sh", QFile::ReadOwner | QFile::ExeOwner);
    qputenv("REPORT_OPEN_COMMAND", (dir.path() + "/open.sh").toUtf8());
    window->BtnTab->click();
    qunsetenv("REPORT_OPEN_COMMAND");
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(readFile(record).trimmed(), picture.toUtf8());
}

TEST_F(ColourTest, CentralPictureAsksBeforeClosing)
{
    auto window = start(1, {});
    window->show();
    QApplication::setActiveWindow(window.get());
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::No;
    ModalWatcher watcher([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            asked << box->text();
            EXPECT_EQ(static_cast<QAbstractButton *>(box->defaultButton()),
                      box->button(QMessageBox::Yes));
            box->button(answer)->click();
        }
    });
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    answer = QMessageBox::Yes;
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(asked, QStringList({"Close Program?", "Close Program?"}));
}

} // namespace
