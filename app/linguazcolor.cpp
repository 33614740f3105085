// SPDX-License-Identifier: MIT
// Agreement page, language page and the language choice.
#include "linguazcolor.h"

#include "appconfig.h"
#include "errordisplay.h"
#include "messagebox.h"
#include "messaggizc.h"
#include "productassets.h"

#include <zc/inifile.h>

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

TFmSelLingua *FmSelLingua = nullptr;

namespace {

QIcon twoStateIcon(const QString &name)
{
    QIcon icon;
    icon.addFile(zc::ButtonPicture(name), QSize(48, 48), QIcon::Normal);
    icon.addFile(zc::ButtonPicture(name + QStringLiteral("-disabled")), QSize(48, 48),
                 QIcon::Disabled);
    return icon;
}

} // namespace

TFmSelLingua::TFmSelLingua(QWidget *parent, const QString &configFolder)
    : QDialog(parent, Qt::Tool),
      FConfigFolder(configFolder.isEmpty() ? QDir::currentPath() : configFolder)
{
    setObjectName(QStringLiteral("FmSelLingua"));
    setWindowTitle(QStringLiteral("Language"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(616, 529);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // The page control fills the window, also when the user resizes it.
    auto *fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(PageControl1);
    createLicencePage();
    createLanguagePage();
    PageControl1->setTabVisible(1, false);
    PageControl1->setCurrentIndex(0);
}

void TFmSelLingua::showEvent(QShowEvent *event)
{
    // Centred on the main window's place, which is final even before it is first shown.
    if (const QWidget *owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TFmSelLingua::createLicencePage()
{
    TbShLicUso = new QWidget;
    TbShLicUso->setObjectName(QStringLiteral("TbShLicUso"));
    PageControl1->addTab(TbShLicUso, QStringLiteral("Licence"));

    Memo1 = new QPlainTextEdit(TbShLicUso);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 608, 401);
    Memo1->setFont(QFont(QStringLiteral("Tahoma"), 10));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(zc::AgreementText());

    ChkBox_Accetto = new QCheckBox(QStringLiteral("Accept the Agreement"), TbShLicUso);
    ChkBox_Accetto->setObjectName(QStringLiteral("ChkBox_Accetto"));
    ChkBox_Accetto->setGeometry(16, 440, 139, 17);
    connect(ChkBox_Accetto, &QCheckBox::clicked, this, [this] { ChkBox_AccettoClick(); });

    auto pictureButton = [this](const char *name, const QString &caption, const QString &picture,
                                int left) {
        auto *button = new QToolButton(TbShLicUso);
        button->setObjectName(QLatin1String(name));
        button->setText(caption);
        button->setIcon(twoStateIcon(picture));
        button->setIconSize(QSize(40, 40));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setGeometry(left, 416, 130, 65);
        return button;
    };
    BtnChiudi =
        pictureButton("BtnChiudi", QStringLiteral("&Cancel"), QStringLiteral("cancel"), 256);
    BtnAccetto = pictureButton("BtnAccetto", QStringLiteral("&Next"), QStringLiteral("next"), 416);
    BtnAccetto->setEnabled(false);
    connect(BtnChiudi, &QToolButton::clicked, this, [this] { BtnChiudiClick(); });
    connect(BtnAccetto, &QToolButton::clicked, this, [this] { BtnAccettoClick(); });
}

QToolButton *TFmSelLingua::createLanguageButton(const char *code, int picture, int left)
{
    auto *button = new QToolButton(TbShLingua);
    button->setObjectName(QStringLiteral("Btn") + QLatin1String(code));
    button->setText(QLatin1String(code));
    button->setIcon(QIcon(zc::LanguagePicture(picture)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setStyleSheet(QStringLiteral("QToolButton { padding-top: 10px; }"));
    button->setGeometry(left, 176, 95, 90);
    connect(button, &QToolButton::clicked, this, [this, button] { BtnITAClick(button); });
    return button;
}

void TFmSelLingua::createLanguagePage()
{
    TbShLingua = new QWidget;
    TbShLingua->setObjectName(QStringLiteral("TbShLingua"));
    PageControl1->addTab(TbShLingua, QStringLiteral("Language"));
    BtnITA = createLanguageButton("ITA", 0, 45);
    BtnENG = createLanguageButton("ENG", 1, 149);
    BtnFRA = createLanguageButton("FRA", 2, 253);
    BtnSPA = createLanguageButton("SPA", 3, 357);
    // Picture 4 of the list is spare; the Dutch flag is the sixth.
    BtnOLA = createLanguageButton("OLA", 5, 460);
}

void TFmSelLingua::ChkBox_AccettoClick()
{
    BtnAccetto->setEnabled(ChkBox_Accetto->isChecked());
}

void TFmSelLingua::BtnAccettoClick()
{
    // The agreement tab goes away for good: there is no way back once accepted.
    const int licence = PageControl1->indexOf(TbShLicUso);
    const int language = PageControl1->indexOf(TbShLingua);
    PageControl1->setTabVisible(language, true);
    PageControl1->setTabVisible(licence, false);
    PageControl1->tabBar()->moveTab(language, 0);
    PageControl1->setCurrentWidget(TbShLingua);
}

void TFmSelLingua::BtnChiudiClick()
{
    reject();
}

void TFmSelLingua::BtnITAClick(QObject *sender)
{
    const QToolButton *buttons[] = {BtnITA, BtnENG, BtnFRA, BtnSPA, BtnOLA};
    for (int number = 0; number < 5; ++number) {
        if (sender == buttons[number]) {
            zc::Guarded([&] { chooseLanguage(number, buttons[number]->text()); }, this);
            return;
        }
    }
}

void TFmSelLingua::chooseLanguage(int number, const QString &code)
{
    zc::MessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                       QLatin1String(zc::SLanguageSelected) + code, QMessageBox::Ok, this);
    box.exec();
    // A failed write throws before anything is recorded, so the window stays open.
    zc::IniFile ini(zc::ConfigFilePath(FConfigFolder));
    ini.WriteInteger(QLatin1String(zc::SConfigSection), QLatin1String(zc::SKeyLanguage), number);
    FTipoLingua = number;
    accept();
}
