// SPDX-License-Identifier: MIT
// Rotary menu widget: what a frame shows, handed to the ring's painter.
#include "widget/rotarymenu_p.h"

#include <QPainter>

using namespace zc::ring;

namespace {

const TGradientFill *stateFill(const TRotaryMenuPrivate &d, const TRotaryMenuItem *item)
{
    if (!item->Enabled()) {
        return item->DisabledFill();
    }
    if (item == d.down || item->Down()) {
        return item->DownFill();
    }
    if (item == d.hovered) {
        return item->HoverFill();
    }
    return item->Fill();
}

} // namespace

void TRotaryMenu::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    d->inPaintEvent = true;
    DrawRotaryMenu(&painter, Geometry().R);
    d->inPaintEvent = false;
}

void TRotaryMenu::DrawRotaryMenu(QPainter *graphics, const QRectF &R)
{
    TRotaryMenuGeometry g = Geometry();
    g.R = R;
    g.RI = QRectF(R.x() + d->size, R.y() + d->size, R.width() - 2.0 * d->size,
                  R.height() - 2.0 * d->size);
    d->painter.Paint(graphics, d->ringFrame(g));
}

TRingFrame TRotaryMenuPrivate::ringFrame(const TRotaryMenuGeometry &g) const
{
    TRingFrame frame;
    frame.geometry = g;
    frame.size = q->size();
    frame.shadowColor = shadowColor;
    frame.shadowOpacity = shadowOpacity;
    frame.shadowOffset = shadowOffset;
    if (q->hasFocus() && showFocus && focused) {
        frame.focused = indexOf(focused);
        frame.focusColor = focused->Fill()->FocusColor();
    }
    // Every change of the menu, its items or their fills goes through Changed(), which
    // counts it; the palette holds the system colours that captions may use.
    frame.changes = changeCount;
    frame.palette = q->palette().cacheKey();
    const QBrush &window = q->palette().window();
    frame.background = window.color();
    frame.keepable = inPaintEvent && q->autoFillBackground() &&
                     window.style() == Qt::SolidPattern && window.isOpaque();
    frame.items.reserve(size_t(g.count));
    for (int i = 0; i < g.count; ++i) {
        const TRotaryMenuItem *item = items->Items(i);
        TRingItem &shown = frame.items.emplace_back();
        shown.fill = stateFill(*this, item);
        shown.caption = item->Caption();
        shown.font = item->Font();
        shown.fontColor = item->FontColor();
        shown.captionLocation = item->CaptionLocation();
        shown.captionLeft = item->CaptionLeft();
        shown.captionTop = item->CaptionTop();
        shown.image = item->Image();
        if (pictureContainer && !item->ImageName().isEmpty()) {
            shown.named = pictureContainer->FindPicture(item->ImageName());
            // Pictures in a store can change without telling the menu.
            frame.keepable = false;
        }
        if (imageList && item->ImageIndex() >= 0 && item->ImageIndex() < imageList->Count()) {
            shown.bitmap = imageList->Bitmap(item->ImageIndex());
        }
        shown.imageWidth = item->ImageWidth();
        shown.imageHeight = item->ImageHeight();
        shown.imageLocation = item->ImageLocation();
        shown.imageLeft = item->ImageLeft();
        shown.imageTop = item->ImageTop();
    }
    return frame;
}
