// SPDX-License-Identifier: MIT
// The windows as a desktop meets them: how the program ends, its boxes, the first frame,
// the language window's place, the result window's layout and colours.
#include "apptestsupport.h"

#include "apptheme.h"
#include "commandline.h"
#include "linguazcolor.h"
#include "messagebox.h"
#include "messaggizc.h"
#include "readablecolour.h"
#include "udescrpsiche.h"
#include "uzelvocolor.h"

#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using zc::testing::ModalWatcher;
using zc::testing::writeFile;

namespace {

class Desktop : public ::testing::Test, protected zc::testing::WorkFolder
{
protected:
    // The main window, with every box of its start answered by OK and remembered.
    std::unique_ptr<TFmColor>
    create(TFmColor::LanguageChoice choice = TFmColor::LanguageChoice::WhenNoneStored)
    {
        ModalWatcher watcher([this](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes << box->text();
                details << box->informativeText();
                box->button(QMessageBox::Ok)->click();
            } else if (auto *lingua = qobject_cast<TFmSelLingua *>(modal)) {
                languageWindows << lingua->geometry();
                lingua->BtnChiudi->click();
            }
        });
        return std::make_unique<TFmColor>(dir.path(), nullptr, choice);
    }

    QStringList boxes, details;
    QList<QRect> languageWindows;
};

TEST_F(Desktop, TheProgramEndsWithTheMainWindowAndOnlyWithIt)
{
    writeConfig("ChekLNG=1\n" + databaseKeys());
    auto window = create();
    QSignalSpy closed(window.get(), &TFmColor::Closed);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    // Boxes and other windows close without ending anything.
    zc::MessageBox box(QMessageBox::Information, "Zelvoria Color Test", "x", QMessageBox::Ok,
                       window.get());
    box.show();
    box.close();
    EXPECT_EQ(closed.count(), 0);

    // "No" keeps the program: the window stays and says nothing.
    ModalWatcher no([](QWidget *modal) {
        if (auto *question = qobject_cast<QMessageBox *>(modal))
            question->button(QMessageBox::No)->click();
    });
    window->Image2Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closed.count(), 0);

    // The close box (a close request from the window manager) ends it.
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Desktop, DatabaseFailureIsShownOncePerVisitWithTheEnginesReason)
{
    writeConfig("ChekLNG=1\nDirData=" + dir.path().toUtf8() + "/none\nFileGdb=ZColor.fdb\n");
    auto window = create();
    ASSERT_EQ(boxes, QStringList{"Error (N0001) Opening Database Contact the Administrator!!"});
    EXPECT_TRUE(details[0].contains(dir.path() + "/none/ZColor.fdb")) << details[0].toStdString();
    EXPECT_TRUE(details[0].contains("No such file or directory")) << details[0].toStdString();
    EXPECT_FALSE(window->AlreadyRunning());

    // The start-up box has told the first visit; the focus coming back to the window after
    // a box is no new visit either.
    QStringList later;
    ModalWatcher watcher([&later](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            later << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activate);
    }
    EXPECT_TRUE(later.isEmpty()) << later.join(" / ").toStdString();

    // Once the user has been in another program, the return reports it, once.
    QEvent left(QEvent::WindowDeactivate);
    QApplication::setActiveWindow(nullptr);
    QApplication::sendEvent(window.get(), &left);
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activate);
    }
    EXPECT_EQ(later, QStringList{"Database not open"});
}

TEST_F(Desktop, DamagedDatabaseFilesAreNamedWithTheEnginesReason)
{
    const QByteArray keys = "ChekLNG=1\nDirData=" + dir.path().toUtf8() + "\nFileGdb=ZColor.fdb\n";
    writeConfig(keys);
    for (const QByteArray &content : {QByteArray("not a database\n"), QByteArray(3000, '\x5a')}) {
        writeFile(dir.path() + "/ZColor.fdb", content);
        boxes.clear();
        details.clear();
        auto window = create();
        ASSERT_EQ(boxes, QStringList{"Error (N0001) Opening Database Contact the Administrator!!"});
        EXPECT_TRUE(details[0].contains(dir.path() + "/ZColor.fdb")) << details[0].toStdString();
        EXPECT_FALSE(details[0].section(u'\n', 1).trimmed().isEmpty())
            << "no reason: " << details[0].toStdString();
        EXPECT_EQ(zc::testing::readFile(dir.path() + "/ZColor.fdb"), content) << "left as it was";
    }
}

TEST_F(Desktop, AnotherInstanceHoldingTheDatabaseIsNamedAsSuch)
{
    const QByteArray keys = "ChekLNG=1\n" + databaseKeys();
    writeConfig(keys);
    // The engine admits one process: hold the database from a child process.
    const QString holder = dir.path() + "/hold.sql";
    writeFile(holder, "SELECT 1 FROM RDB$DATABASE;\nSHELL sleep 30;\n");
    QProcess isql;
    isql.start("isql-fb", {"-q", "-u", "sysdba", "-i", holder, dir.path() + "/ZColor.fdb"});
    ASSERT_TRUE(isql.waitForStarted()) << "isql-fb (firebird3.0-utils) is not installed";
    QTest::qWait(1500);
    auto window = create();
    isql.kill();
    isql.waitForFinished();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QLatin1String(zc::SAlreadyRunning));
    EXPECT_TRUE(window->AlreadyRunning());
    EXPECT_TRUE(languageWindows.isEmpty());
}

TEST_F(Desktop, FirstFrameShowsColoursOnlyAndTheLanguageWindowStandsOverTheMainWindow)
{
    writeConfig("ChekLNG=2\n" + databaseKeys());
    auto window = create(TFmColor::LanguageChoice::AskAgain);
    // Asked again, and cancelled: the stored language stays.
    ASSERT_EQ(languageWindows.size(), 1);
    EXPECT_EQ(window->TipoLingua, 2);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window->geometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_LE((languageWindows[0].center() - window->geometry().center()).manhattanLength(), 2);

    // No activation has run yet; the frame painted on showing has no caption.
    window->RM_ZColor->Items()->Items(3)->SetCaption("EMERALD");
    window->show();
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(window->RM_ZColor->Items()->Items(i)->Caption().isEmpty()) << i;
    EXPECT_EQ(window->RM_ZColor->palette().color(QPalette::Window), QColor(0xCE, 0xDD, 0xCE));
}

TEST_F(Desktop, LanguageWindowsPagesFollowAResize)
{
    TFmSelLingua lingua(nullptr, dir.path());
    lingua.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lingua));
    lingua.resize(800, 700);
    QTRY_COMPARE(lingua.PageControl1->geometry(), lingua.rect());
}

TEST_F(Desktop, ResultWindowButtonsTextColourAndBoxWidths)
{
    TFmEsito esito;
    esito.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&esito));
    // The two buttons edge to edge from the left, whole.
    const QRect print(esito.BtnStampa->mapTo(&esito, QPoint(0, 0)), esito.BtnStampa->size());
    const QRect close(esito.BtnChiudi->mapTo(&esito, QPoint(0, 0)), esito.BtnChiudi->size());
    EXPECT_EQ(print, QRect(0, 0, 90, 50));
    EXPECT_EQ(close, QRect(90, 0, 90, 50));
    EXPECT_GE(esito.ToolBar1->height(), 50);

    // The light yellow of unformatted text would not read on the light view.
    const QPalette view = esito.DescrPietra->palette();
    EXPECT_GE(zc::ContrastRatio(view.color(QPalette::Text), view.color(QPalette::Base)), 4.5);
    EXPECT_EQ(zc::ReadableTextColour(QColor(0xFF, 0xFF, 0x80), Qt::black, Qt::white),
              QColor(0xFF, 0xFF, 0x80));

    // A box is as wide as its title needs.
    zc::MessageBox box(QMessageBox::Information, "Zelvoria Color Test", "Close Program?",
                       QMessageBox::Yes | QMessageBox::No, &esito,
                       zc::MessageBox::Placement::ScreenCentre);
    box.show();
    EXPECT_GE(box.width(), zc::MessageBox::WidthForTitle("Zelvoria Color Test"));
    // Setting a text lays the box out anew: the width still holds.
    zc::MessageBox detailed(QMessageBox::Warning, "Zelvoria Color Test", "x", QMessageBox::Ok,
                            &esito);
    detailed.setInformativeText("y");
    detailed.show();
    EXPECT_GE(detailed.width(), zc::MessageBox::WidthForTitle("Zelvoria Color Test"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((box.geometry().center() - screen.center()).manhattanLength(), 2);
}

// Last in this file: it gives the whole test program the product's look.
TEST(LightGreen, EveryFocusableControlShowsTheFocus)
{
    ASSERT_TRUE(zc::ApplyLightGreenStyle(*qApp));
    QWidget window;
    window.resize(300, 200);
    QToolButton tool(&window);
    tool.setText("Tool");
    tool.setGeometry(0, 0, 90, 50);
    QPushButton push("Push", &window);
    push.setGeometry(100, 0, 90, 30);
    QCheckBox check("Accept the Agreement", &window);
    check.setGeometry(0, 60, 180, 20);
    QLineEdit line(&window);
    line.setGeometry(0, 90, 180, 27);
    QTextEdit text(&window);
    text.setGeometry(0, 120, 180, 70);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    for (QWidget *control : std::initializer_list<QWidget *>{&tool, &push, &check, &line, &text}) {
        SCOPED_TRACE(control->metaObject()->className());
        control->setFocusPolicy(Qt::StrongFocus);
        window.setFocus();
        QApplication::processEvents();
        const QImage unfocused = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(control->hasFocus());
        QApplication::processEvents();
        EXPECT_NE(control->grab().toImage(), unfocused) << "the focus does not show";
    }
}

TEST(CommandLine, HelpVersionChoiceAndWrongOptions)
{
    using A = zc::CommandLine::Action;
    EXPECT_EQ(zc::ParseCommandLine({}).Do, A::Run);
    EXPECT_EQ(zc::ParseCommandLine({"--choose-language", "--help"}).Do, A::ShowHelp);
    EXPECT_EQ(zc::ParseCommandLine({"-h"}).Do, A::ShowHelp);
    EXPECT_EQ(zc::ParseCommandLine({"--version"}).Do, A::ShowVersion);
    const zc::CommandLine choose = zc::ParseCommandLine({"--choose-language"});
    EXPECT_EQ(choose.Do, A::Run);
    EXPECT_TRUE(choose.ChooseLanguage);
    // Qt's options pass, with one dash or two.
    EXPECT_EQ(zc::ParseCommandLine({"-platform", "offscreen", "--style=Fusion"}).Do, A::Run);
    const zc::CommandLine wrong = zc::ParseCommandLine({"--colour"});
    EXPECT_EQ(wrong.Do, A::Fail);
    EXPECT_EQ(wrong.Error, "unrecognized option '--colour'");
    EXPECT_TRUE(zc::HelpText("zelvoria-colortest").contains("--choose-language"));
}

} // namespace
