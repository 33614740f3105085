// SPDX-License-Identifier: MIT
// The result window: the gem's remedies in an editable rich-text view, print and close.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <memory>

class QTextEdit;
class QToolBar;
class QToolButton;

namespace rp {
class TRpRTF;
}

/// Shows the text of one gem, modally over the main window, and prints it through
/// the report engine into "WEsito.Doc".
class TFmEsito : public QDialog
{
    Q_OBJECT

public:
    explicit TFmEsito(QWidget *owner = nullptr);
    ~TFmEsito() override;

    QToolBar *ToolBar1;
    QToolButton *BtnStampa;
    QToolButton *BtnChiudi;
    QTextEdit *DescrPietra;
    std::unique_ptr<rp::TRpRTF> EPrtColori;

    QString Rimedio;
    QString CognomeNome;
    QString PrnRim;
    QString Nom;
    QString Tit;

    /// Fills the view from the raw NOTE text, then from its ANSI bytes as rich text (the
    /// second load replaces the first; bytes without an RTF header are shown as plain text).
    void FillView(const QString &note, const QByteArray &ansiStream);
    /// The view's text without formatting, lines separated by CR LF.
    QString PlainTextCrLf() const;

    /// Captions and printed labels of the current language.
    void FormActivate();
    /// Fills Esito.rtf into WEsito.Doc in the report folder and opens it.
    void BtnStampaClick();
    void BtnChiudiClick() { close(); }

    /// Report folder and language; taken from the main window when it exists.
    QString ReportFolder() const;
    QString LanguageCode() const;

protected:
    bool event(QEvent *event) override;
};
