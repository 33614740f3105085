// SPDX-License-Identifier: MIT
// The agreement and language window of the first run.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

/// Two pages: the end-user agreement, whose tick box unlocks "&Next", and five language
/// buttons. A language button confirms the choice, stores it as "ChekLNG" in ZColor.ini
/// and closes the window; "&Cancel" or the close box end it with nothing chosen.
class TFmSelLingua : public QDialog
{
    Q_OBJECT

public:
    /// `configFolder` holds the ZColor.ini the choice is written to.
    explicit TFmSelLingua(QWidget *parent = nullptr, const QString &configFolder = QString());

    /// The language number chosen, or -1 when the window closed without a choice.
    int TipoLingua() const { return FTipoLingua; }

    QTabWidget *PageControl1;
    QWidget *TbShLicUso;
    QWidget *TbShLingua;
    QPlainTextEdit *Memo1;
    QCheckBox *ChkBox_Accetto;
    QToolButton *BtnChiudi;
    QToolButton *BtnAccetto;
    QToolButton *BtnITA;
    QToolButton *BtnENG;
    QToolButton *BtnFRA;
    QToolButton *BtnSPA;
    QToolButton *BtnOLA;

    void ChkBox_AccettoClick();
    void BtnAccettoClick();
    void BtnChiudiClick();
    /// Shared handler of the five language buttons.
    void BtnITAClick(QObject *sender);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createLicencePage();
    void createLanguagePage();
    QToolButton *createLanguageButton(const char *code, int picture, int left);
    void chooseLanguage(int number, const QString &code);

    QString FConfigFolder;
    int FTipoLingua = -1;
};

/// The hidden second instance made at start; never shown.
extern TFmSelLingua *FmSelLingua;
