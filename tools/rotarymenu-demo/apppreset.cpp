// SPDX-License-Identifier: MIT
// The colour test's rotary menu configuration, shared by the demo and the paint benchmark.
#include "apppreset.h"

#include "rotarymenuitems.h"

#include <QFont>
#include <QFontDatabase>
#include <QPalette>

namespace {

// The colour test's gems, with their fills (colour values are 0xBBGGRR).
struct Gem
{
    const char *hint;
    TColor color;
    TColor colorTo;
    TGradientType type;
    TColor hoverColorTo;
};

const Gem gems[] = {
    {"BLU SAPPHIRE", 16762594, 16747205, gtVertical, 16766955},
    {"CAT\u2019S EYES", 3487231, 187, gtVertical, 13290239},
    {"DIAMOND", 14994896, 13605539, gtVertical, 14211288},
    {"EMERALD", 13434828, 0x00FF00, gtVertical, 13434828},
    {"HESSONITE", 16777164, 0xFFFF00, gtVertical, 16772031},
    {"RED CORAL", 10092543, 0x00FFFF, gtVertical, 12582911},
    {"YELLOW SAPPHIRE", 16737843, 0xFF0000, gtVertical, 16764057},
    {"ALBA CELESTA", 39423, 0x0000FF, gtHorizontal, 10079487},
    {"AURUM 10 - RUBY", 0x0000FF, 0x0000FF, gtVertical, 13290239},
    {"AURUM ALBA - PEARL", 39423, 26367, gtVertical, 10079487},
};

constexpr TColor grey = 0x808080;
constexpr TColor silver = 0xC0C0C0;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clWindowText = clSystemColor | 8;

void plainFill(TGradientFill *fill, TColor color, TColor colorTo, TGradientType type)
{
    fill->SetColor(color);
    fill->SetColorTo(colorTo);
    fill->SetGradientType(type);
    fill->SetBorderColor(grey);
}

} // namespace

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
    menu.SetSize(150);
    menu.SetShadowOffset(0);
    menu.SetShadowOpacity(80);
    menu.SetDefaultFont(QFont(QStringLiteral("Tahoma"), 8));
    menu.SetDefaultFontColor(clWindowText);
    plainFill(menu.DefaultFill(), 13434828, silver, gtVertical);
    plainFill(menu.DefaultHoverFill(), 0xFFFFFF, silver, gtVertical);
    plainFill(menu.DefaultDownFill(), 16763225, 12681984, gtVertical);
    QPalette palette = menu.palette();
    palette.setColor(QPalette::Window, QColor(0xCE, 0xDD, 0xCE));
    menu.setPalette(palette);

    QFont font(QStringLiteral("Tahoma"), 9);
    font.setBold(true);
    for (const Gem &gem : gems) {
        TRotaryMenuItem *item = menu.Items()->Add();
        const QString hint = QString::fromUtf8(gem.hint);
        item->SetHint(hint);
        item->SetCaption(captions ? hint : QString());
        item->SetFont(font);
        item->SetFontColor(clCaptionText);
        plainFill(item->Fill(), gem.color, gem.colorTo, gem.type);
        plainFill(item->HoverFill(), 0xFFFFFF, gem.hoverColorTo, gtVertical);
        plainFill(item->DownFill(), 16763225, 12681984, gtVertical);
    }
    menu.Items()->Items(7)->DisabledFill()->SetColor(16737843);
    menu.Items()->Items(7)->DisabledFill()->SetColorTo(0xFF0000);
    menu.SetAnimation(false);
    menu.SetStartAngle(0);
    menu.SetAnimation(true);
    menu.Loaded();
}
