// SPDX-License-Identifier: MIT
// Rotary menu widget: the default look and the twenty named looks.
#include "widget/rotarymenu_p.h"

using namespace zc::ring;

namespace {

constexpr TColor sys(int index)
{
    return clSystemColor | index;
}

// Colour values are 0xBBGGRR.
struct TLook
{
    TColor color, colorTo, borderColor;
    TColor hoverColor, hoverColorTo;
    TColor downColor, downColorTo;
};

// Indexed by look ordinal; the tsCustom row is never read.
constexpr TLook looks[] = {
    {0xD68759, 0x933803, 0x962D00, 0xEBFDFF, 0xACECFF, 0x94E6FB, 0x1595EE}, // Office2003Blue
    {0xBDA4A5, 0x957475, 0x947C7C, 0xEBFDFF, 0xACECFF, 0x94E6FB, 0x1595EE}, // Office2003Silver
    {0x82C0AF, 0x447A63, 0x588060, 0xEBFDFF, 0xACECFF, 0x94E6FB, 0x1595EE}, // Office2003Olive
    {0x808080, 0x808080, 0xD2BDB6, 0xD2BDB6, 0xD2BDB6, 0xB59285, 0xB59285}, // Office2003Classic
    {0xFFEFE3, 0xFFD2AF, 0xFFD2AF, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x7AE1FE}, // Office2007Luna
    {0xF2F1F0, 0xC9C2BD, 0x5C534C, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x7AE1FE}, // Office2007Obsidian
    {sys(15), sys(15), 0x000000, sys(19), sys(19), sys(3), sys(3)},         // WindowsXP
    {0xEBEEEF, 0x7E9898, 0x962D00, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE}, // Whidbey
    {0, 0, 0, 0, 0, 0, 0},                                                  // Custom
    {0xF8F7F6, 0xE8E0DB, 0x74706F, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x7AE1FE}, // Office2007Silver
    {0xFCF9F2, 0xF7EED9, 0xF9D996, 0xFEF9F0, 0xFDF0D7, 0xFEF9F0, 0xFDF0D7}, // WindowsVista
    {0xFCF9F2, 0xF7EED9, 0xF9D996, 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1}, // Windows7
    {sys(15), sys(15), 0x808080, 0xC0C0C0, 0xC0C0C0, sys(13), sys(13)},     // Terminal
    {0xFDF6EF, 0xF0DAC7, 0xC7B29F, 0x8AE3FD, 0xCAECFD, 0x6CD0FF, 0x7BEEFF}, // Office2010Blue
    {0xFFFFFF, 0xEDE5E0, 0xD2CDC8, 0x8AE3FD, 0xCAECFD, 0x6CD0FF, 0x7BEEFF}, // Office2010Silver
    {0xBFBFBF, 0xD7D7D6, 0x6D6D6D, 0x8AE3FD, 0xCAECFD, 0x6CD0FF, 0x7BEEFF}, // Office2010Black
    {0xF7F6F5, 0xF7F6F5, 0xE4E3E2, 0xF7EFE8, 0xF7EFE8, 0xF7E0C9, 0xF7E0C9}, // Windows8
    {0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xFCF0E4, 0xFCF0E4, 0xFCE2C8, 0xFCE2C8}, // Office2013White
    {0xF6F6F6, 0xF6F6F6, 0xC6C6C6, 0xFCF0E4, 0xFCF0E4, 0xFCE2C8, 0xFCE2C8}, // Office2013LightGray
    {0xE5E5E5, 0xE5E5E5, 0xABABAB, 0xFCF0E4, 0xFCF0E4, 0xFCE2C8, 0xFCE2C8}, // Office2013Gray
};
static_assert(std::size(looks) == TRotaryMenu::tsOffice2013Gray + 1);

// Sets the three default fills: the hover and pressed ones start as copies of the normal
// one, so they inherit its border colour.
void applyLook(TRotaryMenuPrivate &d, TColor color, TColor colorTo, TColor borderColor,
               TColor hoverColor, TColor hoverColorTo, TColor downColor, TColor downColorTo)
{
    d.defaultFill->BeginUpdate();
    d.defaultFill->SetColor(color);
    d.defaultFill->SetColorTo(colorTo);
    d.defaultFill->SetBorderColor(borderColor);
    d.defaultFill->EndUpdate();

    d.defaultHoverFill->BeginUpdate();
    d.defaultHoverFill->Assign(d.defaultFill.get());
    d.defaultHoverFill->SetColor(hoverColor);
    d.defaultHoverFill->SetColorTo(hoverColorTo);
    d.defaultHoverFill->EndUpdate();

    d.defaultDownFill->BeginUpdate();
    d.defaultDownFill->Assign(d.defaultFill.get());
    d.defaultDownFill->SetColor(downColor);
    d.defaultDownFill->SetColorTo(downColorTo);
    d.defaultDownFill->EndUpdate();
}

void copyDefaultsIntoItems(TRotaryMenuPrivate &d)
{
    for (int i = 0; i < d.items->Count(); ++i) {
        TRotaryMenuItem *item = d.items->Items(i);
        item->SetFont(d.defaultFont);
        item->SetFontColor(d.defaultFontColor);
        item->SetFill(d.defaultFill.get());
        item->SetDownFill(d.defaultDownFill.get());
        item->SetHoverFill(d.defaultHoverFill.get());
        item->SetDisabledFill(d.defaultDisabledFill.get());
    }
}

} // namespace

void TRotaryMenu::SetDefaultStyle()
{
    applyLook(*d, 0xFFFFFF, 0xC0C0C0, 0x808080, 0xFFFFFF, 0xFFEBBF, 0xFFC959, 0xC18300);
    copyDefaultsIntoItems(*d);
    // The fills stayed silent inside their update brackets.
    Changed();
}

void TRotaryMenu::SetComponentStyle(TComponentStyle style)
{
    const int ordinal = int(style);
    if (ordinal >= 0 && ordinal < int(std::size(looks)) && style != tsCustom) {
        const TLook &l = looks[ordinal];
        applyLook(*d, l.color, l.colorTo, l.borderColor, l.hoverColor, l.hoverColorTo, l.downColor,
                  l.downColorTo);
    }
    copyDefaultsIntoItems(*d);
    Changed();
}
