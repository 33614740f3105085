// SPDX-License-Identifier: MIT
// Main window creation: configuration, connection, first-run language window; activation.
#include "uzelvocolor.h"

#include "errordisplay.h"
#include "linguazcolor.h"
#include "messaggizc.h"
#include "productassets.h"

#include <fberror.h>

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

TFmColor *FmColor = nullptr;

TFmColor::TFmColor(const QString &workFolder, QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowCloseButtonHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      FWorkFolder(workFolder.isEmpty() ? QDir::currentPath() : workFolder)
{
    setObjectName(QStringLiteral("FmColor"));
    setWindowTitle(QLatin1String(zc::SMainCaption));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(656, 698);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xCE, 0xDD, 0xCE));
    setPalette(pal);
    createControls();
    FmColor = this;
    FormCreate();
}

TFmColor::~TFmColor()
{
    if (FmColor == this)
        FmColor = nullptr;
}

void TFmColor::createControls()
{
    Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(0, 0, 656, 40);
    Panel4->setAutoFillBackground(true);
    QPalette pal = Panel4->palette();
    pal.setColor(QPalette::Window, QColor(0xB6, 0xCB, 0xB6));
    Panel4->setPalette(pal);

    LbNome = new QLabel(zc::Text(zc::ZcText::NameLabel, zc::ZcLanguage::Ita), Panel4);
    LbNome->setObjectName(QStringLiteral("LbNome"));
    LbNome->setGeometry(8, 11, 160, 18);
    LbNome->setFont(QFont(QStringLiteral("Tahoma"), 11));

    EdNomeCogn = new QLineEdit(Panel4);
    EdNomeCogn->setObjectName(QStringLiteral("EdNomeCogn"));
    EdNomeCogn->setGeometry(176, 7, 220, 27);
    EdNomeCogn->setFont(QFont(QStringLiteral("Tahoma"), 12));

    BtnTab = new QToolButton(Panel4);
    BtnTab->setObjectName(QStringLiteral("BtnTab"));
    BtnTab->setText(zc::Text(zc::ZcText::TableButton, zc::ZcLanguage::Ita));
    BtnTab->setIcon(QIcon(zc::WindowPicture(QStringLiteral("table"))));
    BtnTab->setIconSize(QSize(24, 24));
    BtnTab->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BtnTab->setGeometry(479, 2, 170, 34);

    // The logo at the bottom left and the central picture over the middle of the ring.
    auto picture = [this](const char *panel, const char *image, const QRect &at,
                          const QString &file) {
        auto *frame = new QWidget(this);
        frame->setObjectName(QLatin1String(panel));
        frame->setGeometry(at);
        auto *label = new QLabel(frame);
        label->setObjectName(QLatin1String(image));
        label->setGeometry(0, 0, at.width(), at.height());
        label->setScaledContents(true);
        label->setPixmap(QIcon(file).pixmap(at.size()));
        return label;
    };
    Image1 = picture("Panel2", "Image1", QRect(1, 625, 121, 72),
                     zc::WindowPicture(QStringLiteral("logo")));
    Image2 = picture("Panel3", "Image2", QRect(210, 250, 230, 230),
                     zc::WindowPicture(QStringLiteral("centre")));
}

void TFmColor::FormCreate()
{
    ZColorIniFile = std::make_unique<zc::IniFile>(zc::ConfigFilePath(FWorkFolder));
    const zc::AppConfig config = zc::AppConfig::load(ZColorIniFile->FileName());
    TipoLingua = config.TipoLingua;
    PathData = config.PathData;
    PathPrg = config.PathPrg;
    PathDataReport = config.PathDataReport;
    PathImg = config.PathImg;
    Server = config.Server;
    FileGdb = config.FileGdb;

    FStore.SetDatabaseName(config.DatabaseName());
    try {
        FStore.Open();
    } catch (const zc::fb::FbError &) {
        QMessageBox box(QMessageBox::Warning, QLatin1String(zc::SMainCaption),
                        QLatin1String(zc::SErrorOpeningDatabase), QMessageBox::Ok);
        box.exec();
    }

    if (TipoLingua == -1) {
        auto window = std::make_unique<TFmSelLingua>(this, FWorkFolder);
        FmSelLingua = window.get();
        window->exec();
        if (window->TipoLingua() >= 0)
            TipoLingua = window->TipoLingua();
        FmSelLingua = nullptr;
    }
}

bool TFmColor::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        zc::Guarded([this] { FormActivate(); }, this);
    return handled;
}

void TFmColor::FormActivate()
{
    if (TipoLingua < 0) {
        // Closing from inside the activation would re-enter it; let it return first.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    CaricaLingua(static_cast<quint16>(TipoLingua));
    setWindowTitle(zc::MainCaption(sLingua));
}

void TFmColor::CaricaLingua(quint16 lingua)
{
    sLingua = zc::LanguageCode(lingua);
    FStore.LoadLanguage(sLingua);
    if (const auto text = zc::Translation(zc::ZcText::NameLabel, sLingua))
        LbNome->setText(*text);
    if (const auto text = zc::Translation(zc::ZcText::TableButton, sLingua))
        BtnTab->setText(*text);
}
