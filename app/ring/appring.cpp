// SPDX-License-Identifier: MIT
// The gem keys and the ring's design values.
#include "appring.h"

#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QFont>
#include <QFontDatabase>
#include <QPalette>

namespace zc {

const std::array<QString, 10> GemKeys = {
    QStringLiteral("BLU SAPPHIRE"),    QStringLiteral("CAT\u2019S EYES"),
    QStringLiteral("DIAMOND"),         QStringLiteral("EMERALD"),
    QStringLiteral("HESSONITE"),       QStringLiteral("RED CORAL"),
    QStringLiteral("YELLOW SAPPHIRE"), QStringLiteral("ALBA CELESTA"),
    QStringLiteral("AURUM 10 - RUBY"), QStringLiteral("AURUM ALBA - PEARL"),
};

namespace {

// Window-system colour values (blue in the high byte).
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor DownFrom = 16763225;
constexpr TColor DownTo = 12681984;

void plainStyle(TGradientFill *fill)
{
    fill->SetBorderColor(clGray);
    fill->SetRounding(0);
    fill->SetShadowOffset(0);
    fill->SetGlow(TGradientFill::gmNone);
    fill->SetColorMirror(clNone);
    fill->SetColorMirrorTo(clNone);
    fill->SetGradientMirrorType(TGradientFill::gtSolid);
}

void setFill(TGradientFill *fill, TColor from, TColor to, TGradientFill::TGradientType type)
{
    fill->SetColor(from);
    fill->SetColorTo(to);
    fill->SetGradientType(type);
    plainStyle(fill);
}

} // namespace

void ConfigureColourTestRing(TRotaryMenu &menu)
{
    menu.SetStartAngle(100.0);
    menu.SetStopAngle(360.0);
    menu.SetSize(150);
    menu.SetShadowOffset(0);
    menu.SetShadowOpacity(80);
    menu.SetDefaultFont(QFont(QStringLiteral("Tahoma"), 8));
    menu.SetDefaultFontColor(clWindowText);
    setFill(menu.DefaultFill(), 13434828, clSilver, TGradientFill::gtVertical);
    setFill(menu.DefaultHoverFill(), clWhite, clSilver, TGradientFill::gtVertical);
    setFill(menu.DefaultDownFill(), DownFrom, DownTo, TGradientFill::gtVertical);
    menu.DefaultDisabledFill()->SetColorMirror(clNone);
    menu.DefaultDisabledFill()->SetColorMirrorTo(clNone);
    menu.DefaultDisabledFill()->SetBorderColor(clNone);

    QFont itemFont(QStringLiteral("Tahoma"), 9);
    itemFont.setBold(true);
    for (int i = 0; i < int(zc::GemFills.size()); ++i) {
        const zc::GemFill &gem = zc::GemFills[i];
        TRotaryMenuItem *item = menu.Items()->Add();
        item->SetCaption(zc::GemKeys[i]);
        item->SetHint(zc::GemKeys[i]);
        item->SetFont(itemFont);
        item->SetFontColor(clCaptionText);
        setFill(item->Fill(), gem.color, gem.colorTo, gem.type);
        setFill(item->HoverFill(), clWhite, gem.hoverTo, TGradientFill::gtVertical);
        setFill(item->DownFill(), DownFrom, DownTo, TGradientFill::gtVertical);
        item->DisabledFill()->SetColorMirror(clNone);
        item->DisabledFill()->SetColorMirrorTo(clNone);
        item->DisabledFill()->SetBorderColor(clNone);
        if (i == 7) {
            item->DisabledFill()->SetColor(16737843);
            item->DisabledFill()->SetColorTo(0xFF0000);
        }
    }
    menu.Loaded();
}

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
    ConfigureColourTestRing(menu);
    // What the program's activation does: colours only (unless asked), its background
    // colour, the ring at rest at 0 degrees.
    if (!captions) {
        for (int i = 0; i < menu.Items()->Count(); ++i)
            menu.Items()->Items(i)->SetCaption(QString());
    }
    QPalette palette = menu.palette();
    palette.setColor(QPalette::Window, QColor(WindowColour));
    menu.setPalette(palette);
    menu.SetAnimation(false);
    menu.SetStartAngle(0);
    menu.SetAnimation(true);
}

} // namespace zc
