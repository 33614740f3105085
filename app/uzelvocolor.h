// SPDX-License-Identifier: MIT
// The main window of the colour test: start-up, configuration and the language load.
#pragma once

#include "appconfig.h"
#include "remedystore.h"

#include <zc/inifile.h>

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QToolButton;
class TRotaryMenu;

/// The colour test window. Its creation reads ZColor.ini from the work folder, opens the
/// remedy store and, when no language has been chosen yet, runs the language window.
class TFmColor : public QWidget
{
    Q_OBJECT

public:
    /// How the start treats the language: ask only when none is stored, or ask again.
    enum class LanguageChoice
    {
        WhenNoneStored,
        AskAgain,
    };

    /// `workFolder` is where ZColor.ini is read and written (the current directory when empty).
    explicit TFmColor(const QString &workFolder = QString(), QWidget *parent = nullptr,
                      LanguageChoice languageChoice = LanguageChoice::WhenNoneStored);
    ~TFmColor() override;

    QWidget *Panel4;
    QLabel *LbNome;
    QLineEdit *EdNomeCogn;
    QToolButton *BtnTab;
    QLabel *Image1;
    QLabel *Image2;
    TRotaryMenu *RM_ZColor;

    QString sLingua;
    QString PathPrg;
    QString PathData;
    QString PathImg;
    QString Server;
    QString FileGdb;
    bool Animations = true; ///< the ring spins in when the window is activated
    QString PathDataReport;
    int TipoLingua = -1;
    std::unique_ptr<zc::IniFile> ZColorIniFile;

    zc::RemedyStore &Store() { return FStore; }
    QString WorkFolder() const { return FWorkFolder; }
    /// True when start-up found the database held by another running instance; the
    /// program then ends after saying so.
    bool AlreadyRunning() const { return FAlreadyRunning; }

    /// Each return to the window: language load and caption, or closing when no language
    /// has been chosen.
    void FormActivate();
    /// Language code for `lingua`, the language query, the localised captions.
    void CaricaLingua(quint16 lingua);
    /// Looks up the clicked item's gem and shows its text in the result window.
    void RM_ZColorMenuItemClick(QObject *sender, int itemIndex);
    /// Opens the colour-table picture of the current language with the desktop's viewer.
    void BtnTabClick();
    /// Asks "Close Program?" and closes the window on Yes.
    void Image2Click();

Q_SIGNALS:
    /// The window has closed: the program ends.
    void Closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate(LanguageChoice languageChoice);
    void openStore();
    void createControls();
    void createRotaryMenu();
    void clearCaptions();
    void setRingBackground();
    void activated();
    void spinIn();

    QString FWorkFolder;
    zc::RemedyStore FStore;
    bool FAlreadyRunning = false;
    // A failure of the activation is shown once per visit of the user: until the window
    // loses the focus to another program. The focus coming back from the program's own
    // error box is no new visit, and the start-up box counts for the first one.
    bool FFailureShownThisVisit = false;
};

/// The program's main window, while it exists.
extern TFmColor *FmColor;
