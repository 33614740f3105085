// SPDX-License-Identifier: MIT
// The colour test's rotary menu as it stands after the spin-in, for the demo and the paint
// benchmark: the program's own ring configuration, turned to 0 degrees.
#include "apppreset.h"

#include <appring.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QFontDatabase>
#include <QPalette>

void ConfigureAppPreset(TRotaryMenu &menu, bool captions)
{
    // The colour test's face; Wine's copy stands in for the system one here.
    static const bool fontsLoaded = [] {
        for (const char *face : {"tahoma.ttf", "tahomabd.ttf"}) {
            QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/") +
                                              QLatin1String(face));
        }
        return true;
    }();
    Q_UNUSED(fontsLoaded);
    menu.resize(656, 658);
    zc::ConfigureColourTestRing(menu);
    // What the program's activation does: colours only (unless asked), its background
    // colour, the ring at rest at 0 degrees.
    if (!captions) {
        for (int i = 0; i < menu.Items()->Count(); ++i)
            menu.Items()->Items(i)->SetCaption(QString());
    }
    QPalette palette = menu.palette();
    palette.setColor(QPalette::Window, QColor(zc::WindowColour));
    menu.setPalette(palette);
    menu.SetAnimation(false);
    menu.SetStartAngle(0);
    menu.SetAnimation(true);
}
