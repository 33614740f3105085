// SPDX-License-Identifier: MIT
// Main window creation: configuration, connection, first-run language window; activation.
#include "uzelvocolor.h"

#include "appring.h"
#include "errordisplay.h"
#include "linguazcolor.h"
#include "messagebox.h"
#include "messaggizc.h"
#include "productassets.h"
#include "terminationsignals.h"
#include "udescrpsiche.h"

#include <reportengine/rpshell.h>
#include <rotarymenu/gradientfill.h>
#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>
#include <zc/cp1252.h>

#include <firebird/fberror.h>

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

TFmColor *FmColor = nullptr;

TFmColor::TFmColor(const QString &workFolder, QWidget *parent, LanguageChoice languageChoice)
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
    pal.setColor(QPalette::Window, QColor(zc::WindowColour));
    setPalette(pal);
    createControls();
    createRotaryMenu();
    Panel4->raise();
    Image1->parentWidget()->raise();
    Image2->parentWidget()->raise();
    // Centred on the screen from the start, so that the language window of a first run
    // can be centred on the window's final place.
    move(screen()->availableGeometry().center() - rect().center());
    FmColor = this;
    FormCreate(languageChoice);
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
        label->installEventFilter(this);
        return label;
    };
    Image1 = picture("Panel2", "Image1", QRect(1, 625, 121, 72),
                     zc::WindowPicture(QStringLiteral("logo")));
    Image2 = picture("Panel3", "Image2", QRect(210, 250, 230, 230),
                     zc::WindowPicture(QStringLiteral("centre")));
    connect(BtnTab, &QToolButton::clicked, this,
            [this] { zc::Guarded([this] { BtnTabClick(); }, this); });
}

void TFmColor::createRotaryMenu()
{
    RM_ZColor = new TRotaryMenu(this);
    RM_ZColor->setObjectName(QStringLiteral("RM_ZColor"));
    RM_ZColor->setGeometry(0, 40, 656, 658);
    zc::ConfigureColourTestRing(*RM_ZColor);
    connect(RM_ZColor, &TRotaryMenu::OnMenuItemClick, this, [this](QObject *sender, int index) {
        zc::Guarded([&] { RM_ZColorMenuItemClick(sender, index); }, this);
    });
}

void TFmColor::FormCreate(LanguageChoice languageChoice)
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
    Animations = config.Animations;

    if (TipoLingua < -1)
        std::fprintf(stderr,
                     "zelvoria-colortest: %s: ChekLNG=%d names no language, so the program "
                     "ends; remove the key to choose one.\n",
                     qPrintable(QDir::toNativeSeparators(ZColorIniFile->FileName())), TipoLingua);

    FStore.SetDatabaseName(config.DatabaseName());
    openStore();
    // A termination request during the box above ends the start here.
    if (FAlreadyRunning || zc::TerminationRequested())
        return;

    if (TipoLingua == -1 || languageChoice == LanguageChoice::AskAgain) {
        auto window = std::make_unique<TFmSelLingua>(this, FWorkFolder);
        FmSelLingua = window.get();
        window->exec();
        if (window->TipoLingua() >= 0)
            TipoLingua = window->TipoLingua();
        FmSelLingua = nullptr;
    }
}

void TFmColor::openStore()
{
    try {
        FStore.Open();
        return;
    } catch (const zc::fb::FbError &error) {
        FAlreadyRunning = zc::RemedyStore::HeldByAnotherProcess(error);
        const QString reason = QString::fromStdString(error.what());
        const QString name = FStore.Database().DatabaseName();
        zc::MessageBox box(QMessageBox::Warning, QLatin1String(zc::SMainCaption),
                           FAlreadyRunning ? QLatin1String(zc::SAlreadyRunning)
                                           : QLatin1String(zc::SErrorOpeningDatabase),
                           QMessageBox::Ok, this, zc::MessageBox::Placement::ScreenCentre);
        box.setInformativeText(QStringLiteral("Database: %1\n%2").arg(name, reason));
        // This box tells the user already what the window's first activation would.
        FFailureShownThisVisit = true;
        box.exec();
    }
}

bool TFmColor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image2 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        zc::Guarded([this] { Image2Click(); }, this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TFmColor::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        activated();
    // The focus has left for another program, not for a window of this one.
    if (event->type() == QEvent::WindowDeactivate && !QApplication::activeWindow())
        FFailureShownThisVisit = false;
    return handled;
}

void TFmColor::activated()
{
    try {
        FormActivate();
    } catch (const std::exception &error) {
        // Closing the error box gives the focus back to this window, which activates it
        // again: without this the box would come back for ever.
        if (FFailureShownThisVisit)
            return;
        FFailureShownThisVisit = true;
        zc::ShowError(error, this);
    }
}

void TFmColor::showEvent(QShowEvent *event)
{
    // The ring shows colours only, from its very first frame on.
    clearCaptions();
    setRingBackground();
    QWidget::showEvent(event);
}

void TFmColor::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT Closed();
}

void TFmColor::clearCaptions()
{
    for (int i = 0; i < RM_ZColor->Items()->Count(); ++i)
        RM_ZColor->Items()->Items(i)->SetCaption(QString());
}

void TFmColor::setRingBackground()
{
    QPalette pal = RM_ZColor->palette();
    pal.setColor(QPalette::Window, QColor(zc::WindowColour));
    RM_ZColor->setPalette(pal);
}

void TFmColor::FormActivate()
{
    clearCaptions();
    if (TipoLingua < 0) {
        // Closing from inside the activation would re-enter it; let it return first.
        QTimer::singleShot(0, this, &QWidget::close);
    } else {
        CaricaLingua(static_cast<quint16>(TipoLingua));
        setWindowTitle(zc::MainCaption(sLingua));
    }
    setRingBackground();
    spinIn();
}

void TFmColor::spinIn()
{
    // Without motion (Animations=0, or a desktop that turned animations off) the ring is
    // simply shown at rest.
    if (!Animations ||
        style()->styleHint(QStyle::SH_Widget_Animation_Duration, nullptr, this) == 0) {
        const bool animation = RM_ZColor->Animation();
        RM_ZColor->SetAnimation(false); // a jump, not the widget's own easing either
        RM_ZColor->SetStartAngle(0);
        RM_ZColor->SetAnimation(animation);
        repaint();
        return;
    }
    // Blocking on purpose: the ring turns in while no input is taken.
    for (int angle = 360; angle >= 0; --angle) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (angle % 5 == 0) {
            RM_ZColor->SetStartAngle(angle);
            QThread::msleep(10);
            repaint();
        }
        QApplication::restoreOverrideCursor();
    }
}

void TFmColor::RM_ZColorMenuItemClick(QObject * /*sender*/, int itemIndex)
{
    TRotaryMenuItem *item = RM_ZColor->Items()->Items(itemIndex);
    if (!item)
        return;
    const QString gemKey = zc::GemKeyOfHint(item->Hint());
    const std::optional<QString> note = FStore.LookUp(sLingua, gemKey);
    if (!note)
        return;
    // The system's ANSI code page: Windows-1252, as the report engine writes it.
    const QByteArray stream = zc::ToCp1252(*note);
    auto window = std::make_unique<TFmEsito>(this);
    window->FillView(*note, stream);
    window->Rimedio = gemKey;
    window->CognomeNome = EdNomeCogn->text();
    window->exec();
}

void TFmColor::BtnTabClick()
{
    const QString file =
        PathImg + QStringLiteral("Tabella_ZelvoColor_") + sLingua + QStringLiteral(".jpg");
    if (QFileInfo::exists(file)) {
        rp::OpenWithDesktop(file);
        return;
    }
    zc::MessageBox box(QMessageBox::NoIcon, QLatin1String(zc::SMainCaption),
                       QLatin1String(zc::SFilePrefix) + file +
                           QLatin1String(zc::SFileMissingSuffix),
                       QMessageBox::Ok, this);
    box.exec();
}

void TFmColor::Image2Click()
{
    zc::MessageBox box(QMessageBox::Information, QLatin1String(zc::SMainCaption),
                       QLatin1String(zc::SClose), QMessageBox::Yes | QMessageBox::No, this,
                       zc::MessageBox::Placement::ScreenCentre);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() == QMessageBox::Yes)
        close();
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
