// SPDX-License-Identifier: MIT
// The agreement and language window driven through its controls.
#include "apptestsupport.h"

#include "appconfig.h"
#include "linguazcolor.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using zc::testing::ModalWatcher;
using zc::testing::readFile;
using zc::testing::writeFile;

namespace {

class LanguageWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void acceptAgreement()
    {
        QTest::mouseClick(window.ChkBox_Accetto, Qt::LeftButton);
        QTest::mouseClick(window.BtnAccetto, Qt::LeftButton);
    }

    // Clicks `button`, answering the message boxes it raises; returns their texts.
    QStringList clickAnswering(QToolButton *button)
    {
        QStringList texts;
        ModalWatcher watcher([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        return texts;
    }

    QTemporaryDir dir;
    TFmSelLingua window{nullptr, dir.path()};
};

TEST_F(LanguageWindow, TickBoxUnlocksNext)
{
    EXPECT_EQ(window.PageControl1->currentWidget(), window.TbShLicUso);
    EXPECT_FALSE(window.PageControl1->isTabVisible(1));
    EXPECT_FALSE(window.BtnAccetto->isEnabled());
    EXPECT_FALSE(window.Memo1->toPlainText().isEmpty());
    for (bool ticked : {true, false, true, false}) {
        QTest::mouseClick(window.ChkBox_Accetto, Qt::LeftButton);
        EXPECT_EQ(window.BtnAccetto->isEnabled(), ticked);
    }
}

TEST_F(LanguageWindow, NextShowsOnlyTheLanguagePage)
{
    acceptAgreement();
    EXPECT_EQ(window.PageControl1->currentWidget(), window.TbShLingua);
    EXPECT_EQ(window.PageControl1->indexOf(window.TbShLingua), 0);
    EXPECT_TRUE(window.PageControl1->isTabVisible(0));
    EXPECT_FALSE(window.PageControl1->isTabVisible(1)) << "no way back to the agreement";
    EXPECT_EQ(window.PageControl1->tabText(0), "Language");
    for (QToolButton *b :
         {window.BtnITA, window.BtnENG, window.BtnFRA, window.BtnSPA, window.BtnOLA})
        EXPECT_FALSE(b->icon().pixmap(32, 32).isNull()) << b->text().toStdString();
}

TEST_F(LanguageWindow, LanguageButtonConfirmsStoresAndCloses)
{
    writeFile(zc::ConfigFilePath(dir.path()), "[Install]\r\nDirData=/d\r\n\r\n[Other]\r\nA=1\r\n");
    acceptAgreement();
    const QStringList texts = clickAnswering(window.BtnOLA);
    EXPECT_EQ(texts, QStringList{"The language selected is: OLA"});
    EXPECT_EQ(window.TipoLingua(), 4);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(zc::ConfigFilePath(dir.path())),
              "[Install]\r\nDirData=/d\r\nChekLNG=4\r\n\r\n[Other]\r\nA=1\r\n");
}

TEST_F(LanguageWindow, CancelClosesWithoutChoice)
{
    QTest::mouseClick(window.BtnChiudi, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.TipoLingua(), -1);
    EXPECT_FALSE(QFile::exists(zc::ConfigFilePath(dir.path())));
}

TEST(LanguageWindowUnwritable, WriteFailureIsShownAndTheWindowStaysOpen)
{
    zc::testing::UnwritableFolder folder;
    TFmSelLingua window(nullptr, folder.Path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.ChkBox_Accetto, Qt::LeftButton);
    QTest::mouseClick(window.BtnAccetto, Qt::LeftButton);

    QStringList texts;
    ModalWatcher watcher([&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(window.BtnSPA, Qt::LeftButton);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "The language selected is: SPA");
    EXPECT_EQ(texts[1], "Unable to write to " + zc::ConfigFilePath(folder.Path()));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.TipoLingua(), -1);
}

} // namespace
