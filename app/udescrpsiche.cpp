// SPDX-License-Identifier: MIT
// Result window: layout, view filling, localised texts and the printout.
#include "udescrpsiche.h"

#include "appring.h"
#include "errordisplay.h"
#include "messaggizc.h"
#include "productassets.h"
#include "readablecolour.h"
#include "uzelvocolor.h"

#include <reportengine/rprtf.h>
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScopeGuard>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

TFmEsito::TFmEsito(QWidget *owner)
    : QDialog(owner,
              Qt::Tool | Qt::WindowCloseButtonHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      EPrtColori(std::make_unique<rp::TRpRTF>())
{
    setObjectName(QStringLiteral("FmEsito"));
    setWindowTitle(zc::Text(zc::ZcText::ResultCaption, zc::ZcLanguage::Ita));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(654, 618);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(zc::WindowColour));
    setPalette(pal);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, 654, 50);
    ToolBar1->setIconSize(QSize(32, 32));
    // The buttons sit edge to edge from the left, 90 by 50 each: no handle, no margins.
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }"));
    auto button = [this](const char *name, const QString &picture, zc::ZcText hint) {
        auto *b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setIcon(QIcon(zc::ButtonPicture(picture)));
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(90, 50);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setToolTip(zc::Text(hint, zc::ZcLanguage::Ita));
        ToolBar1->addWidget(b);
        return b;
    };
    BtnStampa = button("BtnStampa", QStringLiteral("print"), zc::ZcText::PrintHint);
    BtnChiudi = button("BtnChiudi", QStringLiteral("close"), zc::ZcText::CloseHint);
    connect(BtnStampa, &QToolButton::clicked, this,
            [this] { zc::Guarded([this] { BtnStampaClick(); }, this); });
    connect(BtnChiudi, &QToolButton::clicked, this, [this] { BtnChiudiClick(); });

    DescrPietra = new QTextEdit(this);
    DescrPietra->setObjectName(QStringLiteral("DescrPietra"));
    DescrPietra->setGeometry(0, 50, 654, 568);
    DescrPietra->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DescrPietra->setFont(QFont(QStringLiteral("Tahoma"), 10));
    // Text without colour of its own shows in the view's default colour, where it reads.
    QPalette viewPal = DescrPietra->palette();
    viewPal.setColor(QPalette::Text,
                     zc::ReadableTextColour(QColor(0xFF, 0xFF, 0x80), viewPal.color(QPalette::Base),
                                            viewPal.color(QPalette::Text)));
    DescrPietra->setPalette(viewPal);

    EPrtColori->SetOutFile(QStringLiteral("outfile.doc"));
    EPrtColori->SetTrueValue(QStringLiteral("Si"));
    EPrtColori->SetFalseValue(QStringLiteral("No"));
    EPrtColori->SetUnicodeByDefault(false);
    EPrtColori->SetCharset(1);
    EPrtColori->SetLang(0);
    EPrtColori->SetDisableControls(true);
}

TFmEsito::~TFmEsito() = default;

void TFmEsito::FillView(const QString &note, const QByteArray &ansiStream)
{
    DescrPietra->append(note);
    rtf::loadRichText(ansiStream, *DescrPietra->document());
}

QString TFmEsito::PlainTextCrLf() const
{
    QString text = rtf::plainText(*DescrPietra->document());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

QString TFmEsito::ReportFolder() const
{
    return FmColor ? FmColor->PathDataReport : QString();
}

QString TFmEsito::LanguageCode() const
{
    return FmColor ? FmColor->sLingua : QString();
}

bool TFmEsito::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TFmEsito::FormActivate()
{
    PrnRim = zc::Text(zc::ZcText::PrintedRemedy, zc::ZcLanguage::Ita);
    Nom = zc::Text(zc::ZcText::PrintedName, zc::ZcLanguage::Ita);
    Tit = zc::Text(zc::ZcText::PrintedTitle, zc::ZcLanguage::Ita);
    const QString code = LanguageCode();
    if (!zc::Translation(zc::ZcText::ResultCaption, code))
        return;
    setWindowTitle(*zc::Translation(zc::ZcText::ResultCaption, code));
    BtnStampa->setToolTip(zc::TextFor(zc::ZcText::PrintHint, code));
    BtnChiudi->setToolTip(zc::TextFor(zc::ZcText::CloseHint, code));
    PrnRim = zc::TextFor(zc::ZcText::PrintedRemedy, code);
    Nom = zc::TextFor(zc::ZcText::PrintedName, code);
    Tit = zc::TextFor(zc::ZcText::PrintedTitle, code);
}

void TFmEsito::BtnStampaClick()
{
    const QString folder = ReportFolder();
    EPrtColori->SetInFile(folder + QStringLiteral("Esito.rtf"));
    EPrtColori->SetOutFile(folder + QStringLiteral("WEsito.Doc"));
    EPrtColori->ClearVars();
    EPrtColori->CreateVar(QStringLiteral("tit"), Tit);
    EPrtColori->CreateVar(QStringLiteral("nom"), Nom);
    EPrtColori->CreateVar(QStringLiteral("nome"), CognomeNome);
    EPrtColori->CreateVar(QStringLiteral("rim"), PrnRim);
    EPrtColori->CreateVar(QStringLiteral("rimedio"), Rimedio);
    EPrtColori->CreateVar(QStringLiteral("spiegazione"), PlainTextCrLf());
    QApplication::processEvents();
    // The window keeps painting and reacting while the opener starts; one printout at a time.
    BtnStampa->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { BtnStampa->setEnabled(true); });
    EPrtColori->ExecuteOpen({}, 5);
}
