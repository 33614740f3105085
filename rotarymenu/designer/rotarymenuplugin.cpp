// SPDX-License-Identifier: MIT
// Qt Designer's entry for TRotaryMenu. The widget comes with three items so that a new
// ring is visible at once; its published properties are Q_PROPERTYs and so editable.
#include "rotarymenuplugin.h"

#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QIcon>

TRotaryMenuDesignerPlugin::TRotaryMenuDesignerPlugin(QObject *parent) : QObject(parent) {}

QString TRotaryMenuDesignerPlugin::name() const
{
    return QStringLiteral("TRotaryMenu");
}

QString TRotaryMenuDesignerPlugin::group() const
{
    return QStringLiteral("Zelvoria Color Test");
}

QString TRotaryMenuDesignerPlugin::toolTip() const
{
    return QStringLiteral("Rotary menu: items as gradient-filled ring sectors");
}

QString TRotaryMenuDesignerPlugin::whatsThis() const
{
    return QStringLiteral("A ring (or pie, row, column) of clickable, gradient-filled items that "
                          "reacts to mouse, keyboard and focus and animates its angles.");
}

QString TRotaryMenuDesignerPlugin::includeFile() const
{
    return QStringLiteral("rotarymenu/rotarymenu.h");
}

QIcon TRotaryMenuDesignerPlugin::icon() const
{
    return QIcon();
}

bool TRotaryMenuDesignerPlugin::isContainer() const
{
    return false;
}

QWidget *TRotaryMenuDesignerPlugin::createWidget(QWidget *parent)
{
    auto *menu = new TRotaryMenu(parent);
    for (const char *caption : {"First", "Second", "Third"})
        menu->Items()->Add()->SetCaption(QString::fromLatin1(caption));
    return menu;
}

bool TRotaryMenuDesignerPlugin::isInitialized() const
{
    return FInitialized;
}

void TRotaryMenuDesignerPlugin::initialize(QDesignerFormEditorInterface *)
{
    FInitialized = true;
}

QString TRotaryMenuDesignerPlugin::domXml() const
{
    return QStringLiteral(
        "<ui language=\"c++\"><widget class=\"TRotaryMenu\" name=\"rotaryMenu\">"
        "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>300</width><height>300</height>"
        "</rect></property></widget></ui>");
}
