// SPDX-License-Identifier: MIT
// Main window creation: configuration, connection, first-run branch, language load.
#include "apptestsupport.h"

#include "linguazcolor.h"
#include "remedystore.h"
#include "uzelvocolor.h"

#include <firebird/fberror.h>
#include <rotarymenu/rotarymenu.h>

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using zc::testing::ModalWatcher;
using zc::testing::writeFile;

namespace {

class MainWindowStart : public ::testing::Test, protected zc::testing::WorkFolder
{
protected:
    QByteArray databaseKeys()
    {
        return WorkFolder::databaseKeys({{"SPA", "DIAMOND", "{\\rtf1 d}"}});
    }

    // Creates the main window, recording each modal window that comes up and answering
    // it with `answer`.
    std::unique_ptr<TFmColor> create(const std::function<void(QWidget *)> &answer)
    {
        ModalWatcher watcher([&](QWidget *modal) {
            modals << modal->metaObject()->className();
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                texts << box->text();
            answer(modal);
        });
        return std::make_unique<TFmColor>(dir.path());
    }

    static void pressOk(QWidget *modal)
    {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
        else if (auto *lingua = qobject_cast<TFmSelLingua *>(modal))
            lingua->BtnChiudi->click();
    }

    QStringList modals;
    QStringList texts;
};

TEST_F(MainWindowStart, LaterRunLoadsTheStoredLanguage)
{
    writeConfig("ChekLNG=3\nImmagini=/i\n" + databaseKeys());
    auto window = create(pressOk);
    EXPECT_TRUE(modals.isEmpty()) << modals.join(", ").toStdString();
    EXPECT_EQ(window->TipoLingua, 3);
    EXPECT_TRUE(window->Store().Connected());
    EXPECT_EQ(window->PathData, dir.path() + "/");
    EXPECT_EQ(window->PathImg, "/i/");

    window->FormActivate();
    EXPECT_EQ(window->sLingua, "SPA");
    EXPECT_EQ(window->windowTitle(), "Zelvoria Color Test (SPA)");
    EXPECT_EQ(window->LbNome->text(), "Nombre Apellido");
    EXPECT_EQ(window->BtnTab->text(), "Tabla de colores");
    EXPECT_TRUE(window->Store().Query().Active());
}

// The ring's paints during one activation: the spin-in paints it once a step.
static int ringPaintsOnActivation(TFmColor &window)
{
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.RM_ZColor->installEventFilter(&counter);
    window.FormActivate();
    window.RM_ZColor->removeEventFilter(&counter);
    return counter.paints;
}

TEST_F(MainWindowStart, AnimationsZeroShowsTheRingAtRestWithoutTheSpinIn)
{
    const QByteArray database = databaseKeys();
    writeConfig("ChekLNG=1\n" + database);
    auto spinning = create(pressOk);
    EXPECT_TRUE(spinning->Animations);
    EXPECT_GE(ringPaintsOnActivation(*spinning), 70) << "73 steps of 5 degrees";
    EXPECT_EQ(spinning->RM_ZColor->StartAngle(), 0);
    spinning.reset();

    writeConfig("ChekLNG=1\nAnimations=0\n" + database);
    auto still = create(pressOk);
    EXPECT_FALSE(still->Animations);
    EXPECT_LE(ringPaintsOnActivation(*still), 2);
    EXPECT_EQ(still->RM_ZColor->StartAngle(), 0) << "the same end state";
}

TEST_F(MainWindowStart, ItalianKeepsTheDesignCaptions)
{
    writeConfig("ChekLNG=0\n" + databaseKeys());
    auto window = create(pressOk);
    window->FormActivate();
    EXPECT_EQ(window->windowTitle(), "Zelvoria Color Test (ITA)");
    EXPECT_EQ(window->LbNome->text(), "Nome Cognome");
    EXPECT_EQ(window->BtnTab->text(), "Tabella Colori");
}

TEST_F(MainWindowStart, DatabaseFailureWarnsAndRunsOn)
{
    writeConfig("ChekLNG=1\nDirData=" + dir.path().toUtf8() + "/none\nFileGdb=ZColor.fdb\n");
    auto window = create(pressOk);
    EXPECT_EQ(texts, QStringList{"Error (N0001) Opening Database Contact the Administrator!!"});
    EXPECT_FALSE(window->Store().Connected());
    try {
        window->FormActivate();
        FAIL() << "no error";
    } catch (const zc::fb::FbError &e) {
        EXPECT_STREQ(e.what(), "Database not open");
    }
    EXPECT_EQ(window->windowTitle(), "Zelvoria Color Test")
        << "the rest of the activation is skipped";
}

TEST_F(MainWindowStart, FirstRunShowsTheLanguageWindowAndCancelEndsTheProgram)
{
    writeConfig(databaseKeys());
    auto window = create(pressOk);
    EXPECT_EQ(modals, QStringList{"TFmSelLingua"});
    EXPECT_EQ(FmSelLingua, nullptr);
    EXPECT_EQ(window->TipoLingua, -1);
    EXPECT_EQ(zc::AppConfig::load(zc::ConfigFilePath(dir.path())).TipoLingua, -1)
        << "nothing stored, so the next run asks again";

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->FormActivate();
    QTRY_VERIFY(!window->isVisible());
}

TEST_F(MainWindowStart, FirstRunChoiceIsUsedAtOnce)
{
    writeConfig(databaseKeys());
    auto window = create([](QWidget *modal) {
        if (auto *lingua = qobject_cast<TFmSelLingua *>(modal)) {
            lingua->ChkBox_Accetto->click();
            lingua->BtnAccetto->click();
            // The confirmation box comes up inside this click; the watcher answers it.
            QTimer::singleShot(0, lingua->BtnFRA, &QToolButton::click);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::Ok)->click();
        }
    });
    EXPECT_EQ(texts, QStringList{"The language selected is: FRA"});
    EXPECT_EQ(window->TipoLingua, 2);
    EXPECT_EQ(zc::AppConfig::load(zc::ConfigFilePath(dir.path())).TipoLingua, 2);
}

TEST_F(MainWindowStart, NegativeLanguageOtherThanMinusOneSkipsTheWindow)
{
    writeConfig("ChekLNG=-5\n" + databaseKeys());
    auto window = create(pressOk);
    EXPECT_TRUE(modals.isEmpty());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->FormActivate();
    QTRY_VERIFY(!window->isVisible());
}

} // namespace
