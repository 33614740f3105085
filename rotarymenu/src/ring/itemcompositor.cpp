// SPDX-License-Identifier: MIT
// The ring's items laid onto an image through their sectors' coverages, whole or drawn out.
#include "ring/itemcompositor.h"

#include <rotarymenu/picture.h>

#include <QPainter>
#include <QtMath>

namespace zc::ring {

namespace {

// A painter on an item's scratch image, with the ring painter's hints and font, placed so that
// the target's device pixel `origin` lands on the image's top left corner.
void beginScratch(QPainter &painter, QImage &scratch, const QPainter *ring, const QPoint &origin,
                  qreal ratio)
{
    painter.begin(&scratch);
    painter.setRenderHints(ring->renderHints());
    painter.setFont(ring->font());
    painter.translate(-QPointF(origin) / ratio);
}

// Where an item's caption and images are placed.
QRectF contentBox(const TRotaryMenuGeometry &g, int index, const QRectF &bounds)
{
    return g.layout == TRotaryMenu::rmlHorizontal || g.layout == TRotaryMenu::rmlVertical
               ? bounds
               : g.itemBox(index);
}

} // namespace

bool TRingItem::hasImages() const
{
    return (image && !image->Empty()) || named || !bitmap.isNull();
}

void ItemCompositor::Prepare(const TRingFrame &frame, const QImage &target)
{
    const TRotaryMenuGeometry &g = frame.geometry;
    const qreal ratio = target.devicePixelRatio();
    const QTransform toDevice = QTransform::fromScale(ratio, ratio);
    m_sectors.resize(size_t(g.count));
    m_coverages.clear();
    for (int i = 0; i < g.count; ++i) {
        Sector &sector = m_sectors[size_t(i)];
        sector.outline = g.itemPath(i);
        const QPainterPath deviceOutline = toDevice.map(sector.outline);
        sector.area = deviceOutline.boundingRect().toAlignedRect() & target.rect();
        sector.coverage.Compute(deviceOutline, sector.area);
        m_coverages.push_back(&sector.coverage);
    }
}

void ItemCompositor::Compose(QPainter *p, QImage &target, const TRingFrame &frame)
{
    // The raster engine draws a thin pen straight into the image's pixels only under a clip
    // of its own; without one it sends every pixel through its span functions.
    const qreal ratio = target.devicePixelRatio();
    p->save();
    p->setClipRect(QRectF(QPointF(0, 0), QSizeF(target.size()) / ratio));
    for (int i = 0; i < frame.geometry.count; ++i) {
        const Sector &sector = m_sectors[size_t(i)];
        const QRect &area = sector.area;
        if (!area.isEmpty() && !layDrawnOut(p, target, frame, i, sector)) {
            // Only what the sector covers is ever read back, so only that is cleared.
            QImage &scratch =
                m_scratch.ClearedUnder(area.size(), ratio, sector.coverage, area.topLeft());
            QPainter painter;
            beginScratch(painter, scratch, p, area.topLeft(), ratio);
            paintItem(&painter, frame, i, sector.outline.boundingRect());
            painter.end();
            CompositeOver(target, scratch, area.topLeft(), sector.coverage);
        }
        drawOutline(p, frame.items[size_t(i)], sector.outline);
    }
    p->restore();
}

void ItemCompositor::paintItem(QPainter *p, const TRingFrame &frame, int index,
                               const QRectF &bounds)
{
    const TRingItem &item = frame.items[size_t(index)];
    // The painter leaves the state fill's settings alone, so no copy is needed.
    const_cast<TGradientFill *>(item.fill)->Fill(p, bounds, 255, 255, 255, 255, 255);
    const QRectF box = contentBox(frame.geometry, index, bounds);
    m_captions.Draw(p, item, box);
    drawImages(p, item, box);
}

void ItemCompositor::drawOutline(QPainter *p, const TRingItem &item, const QPainterPath &outline)
{
    const TGradientFill *fill = item.fill;
    // A fill without a border colour draws no outline, as the fill painter itself does.
    if (fill->BorderColor() != clNone && fill->BorderWidth() > 0) {
        p->save();
        p->setBrush(Qt::NoBrush);
        p->setPen(QPen(MakeQColor(fill->BorderOpacity(), fill->BorderColor()), fill->BorderWidth(),
                       Qt::SolidLine));
        p->drawPath(outline);
        p->restore();
    }
}

void ItemCompositor::drawImages(QPainter *p, const TRingItem &item, const QRectF &box)
{
    auto place = [&](int ownWidth, int ownHeight) {
        const QSize size = GetAspectSize(item.imageWidth, item.imageHeight, ownWidth, ownHeight);
        const QPointF at = GetObjectLocation(box, size.width(), size.height(), item.imageLocation,
                                             item.imageLeft, item.imageTop);
        return QRectF(at, QSizeF(size));
    };
    for (const TPicture *picture : {item.image, item.named}) {
        if (picture && !picture->Empty()) {
            picture->Draw(p, place(picture->Width(), picture->Height()));
        }
    }
    if (!item.bitmap.isNull()) {
        const QRectF target = place(item.bitmap.width(), item.bitmap.height());
        p->drawPixmap(QRect(qRound(target.x()), qRound(target.y()), int(target.width()),
                            int(target.height())),
                      item.bitmap);
    }
}

bool ItemCompositor::layDrawnOut(QPainter *p, QImage &target, const TRingFrame &frame, int index,
                                 const Sector &sector)
{
    // The pieces are placed by whole logical pixels, which must be whole device pixels too.
    const int ratio = int(target.devicePixelRatio());
    const TRingItem &item = frame.items[size_t(index)];
    if ((ratio != 1 && ratio != 2) || ratio != target.devicePixelRatio() || item.hasImages()) {
        return false;
    }
    auto *fill = const_cast<TGradientFill *>(item.fill);
    TDrawnOut layout;
    if (fill->IsAlikeAlong(Qt::Horizontal)) {
        layout.direction = Qt::Horizontal;
    } else if (fill->IsAlikeAlong(Qt::Vertical)) {
        layout.direction = Qt::Vertical;
    } else {
        return false;
    }
    // Across the lines: the fill's two ends in the box's pixels, and how far in from them its
    // border and anti-aliasing reach.
    const QRect &area = sector.area;
    const QRectF bounds = sector.outline.boundingRect();
    const bool rows = layout.direction == Qt::Horizontal;
    const int start = rows ? area.left() : area.top();
    const int extent = rows ? area.width() : area.height();
    const qreal lo = (rows ? bounds.left() : bounds.top()) * ratio - start;
    const qreal hi = (rows ? bounds.right() : bounds.bottom()) * ratio - start;
    const bool border = fill->BorderColor() != clNone && fill->BorderWidth() > 0;
    const qreal reach = (border ? fill->BorderWidth() * ratio / 2.0 : 0) + 2;
    layout.box = area.size();
    layout.from = qCeil(lo + reach);
    layout.to = qFloor(hi - reach);
    // Logical pixels the copy leaves out; a box cut short by the target's edge is painted whole.
    const int narrower = (layout.to - layout.from - 1) / ratio;
    if (lo < -1 || hi > extent + 1 || narrower * ratio < 16) {
        return false;
    }
    layout.shift = narrower * ratio;
    const int gap = qCeil(reach) + 2; // between the box and the copy, for what spills over
    layout.offset = (extent + gap + ratio - 1) / ratio * ratio;
    const QRectF box = contentBox(frame.geometry, index, bounds);
    const QRectF ink = m_captions.Ink(item, box, &target);
    if (!ink.isEmpty()) {
        layout.own = QRectF(ink.topLeft() * ratio - QPointF(area.topLeft()), ink.size() * ratio)
                         .toAlignedRect()
                         .adjusted(-1, -1, 1, 1) &
                     QRect(QPoint(0, 0), area.size());
    }
    const int copyExtent = extent - layout.shift + gap;
    const QSize size = rows ? QSize(layout.offset + copyExtent, area.height())
                            : QSize(area.width(), layout.offset + copyExtent);
    const QRect copy = rows ? QRect(layout.offset - gap, 0, copyExtent + gap, area.height())
                            : QRect(0, layout.offset - gap, area.width(), copyExtent + gap);
    QImage &scratch = m_scratch.ClearedIn(size, ratio, copy);
    QPainter painter;
    beginScratch(painter, scratch, p, area.topLeft(), ratio);
    const qreal past = qreal(layout.offset) / ratio;
    painter.save();
    painter.translate(rows ? QPointF(past, 0) : QPointF(0, past));
    fill->Fill(&painter,
               rows ? bounds.adjusted(0, 0, -narrower, 0) : bounds.adjusted(0, 0, 0, -narrower),
               255, 255, 255, 255, 255);
    painter.restore();
    if (!layout.own.isEmpty()) {
        // The caption goes over the fill's own pixels there, and nowhere else. The raster
        // engine writes straight into the image, so those pixels may be set in between.
        DrawOutInPlace(scratch, layout);
        painter.setClipRect(QRectF(QPointF(layout.own.topLeft() + area.topLeft()) / ratio,
                                   QSizeF(layout.own.size()) / ratio));
        m_captions.Draw(&painter, item, box);
    }
    painter.end();
    CompositeOver(target, scratch, area.topLeft(), sector.coverage, layout);
    return true;
}

} // namespace zc::ring
