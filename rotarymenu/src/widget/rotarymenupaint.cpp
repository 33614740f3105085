// SPDX-License-Identifier: MIT
// Rotary menu widget: shadow, sector fills, captions, images, outlines and focus.
#include "fill/pathgradient.h"
#include "raster/pathcoverage.h"
#include "widget/rotarymenu_p.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QSemaphore>
#include <QStaticText>
#include <QThreadPool>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

using namespace zc::ring;

namespace {

// Captions show their access key's underline.
constexpr int kCaptionFlags = Qt::TextShowMnemonic;

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
    DrawRotaryMenu(&painter, Geometry().R);
}

void TRotaryMenu::DrawRotaryMenu(QPainter *graphics, const QRectF &R)
{
    TRotaryMenuGeometry g = Geometry();
    g.R = R;
    g.RI = QRectF(R.x() + d->size, R.y() + d->size, R.width() - 2.0 * d->size,
                  R.height() - 2.0 * d->size);
    d->drawRing(graphics, g);
    d->drawFocus(graphics, g);
}

namespace {

// Layers are only reused while they land on whole device pixels.
bool pixelAligned(const QPainter *p)
{
    const QTransform &world = p->worldTransform();
    return world.type() <= QTransform::TxTranslate && world.dx() == int(world.dx()) &&
           world.dy() == int(world.dy());
}

// While the widget is rendered elsewhere the painter's device is the widget, but the pixels
// land on the engine's device: that one's ratio decides a layer's resolution.
qreal targetRatio(QPainter *p)
{
    const QPaintDevice *target = p->paintEngine() && p->paintEngine()->paintDevice()
                                     ? p->paintEngine()->paintDevice()
                                     : p->device();
    return target->devicePixelRatioF();
}

// The raster engine splits each large fill over the global thread pool unless it is painting
// on one of the pool's own threads. A frame of the ring makes dozens of such fills, and on a
// machine with few cores the hand-offs cost more than they save, so the ring's layer (which
// nothing else touches meanwhile) is painted on a pool thread while this one waits; here, when
// the pool has no thread free. (Composed on the device, the ring stays on this thread, which
// holds the device's pixels in its caches: that saves more than the hand-offs cost.)
void runOnPoolThread(const std::function<void()> &work)
{
    QSemaphore done;
    if (QThreadPool::globalInstance()->tryStart([&] {
            work();
            done.release();
        })) {
        done.acquire();
    } else {
        work();
    }
}

} // namespace

bool TRotaryMenuPrivate::usesPixmaps(const TRotaryMenuGeometry &g) const
{
    for (int i = 0; imageList && i < g.count; ++i) {
        const int index = items->Items(i)->ImageIndex();
        if (index >= 0 && index < imageList->Count()) {
            return true;
        }
    }
    return false;
}

bool TRotaryMenuPrivate::hasShadow(const TRotaryMenuGeometry &g) const
{
    return g.count > 0 && shadowColor != clNone && g.RI.width() > 0 && g.RI.height() > 0;
}

QList<TPathGradient::TBlendStop> TRotaryMenuPrivate::shadowBlend() const
{
    const QColor shadow = MakeQColor(quint8(shadowOpacity), shadowColor);
    return {{0.0, QColor(0, 0, 0, 0)}, {0.1, shadow}, {1.0, shadow}};
}

void TRotaryMenuPrivate::paintRing(QPainter *p, const TRotaryMenuGeometry &g)
{
    if (hasShadow(g)) {
        drawShadow(p, g.menuPath());
    }
    drawItems(p, g);
}

void TRotaryMenuPrivate::drawRing(QPainter *p, const TRotaryMenuGeometry &g)
{
    // Pictures in a container can change without telling the menu, so a ring that shows
    // them is always painted afresh.
    bool fromContainer = false;
    for (int i = 0; pictureContainer && i < g.count; ++i) {
        fromContainer = fromContainer || !items->Items(i)->ImageName().isEmpty();
    }
    if (!pixelAligned(p) || fromContainer || q->size().isEmpty()) {
        ringCache.valid = false;
        paintRing(p, g);
        return;
    }
    // Every change of the menu, its items or their fills goes through Changed(), which
    // counts it; the palette holds the system colours that captions may use.
    const TRingCache::Key key{changeCount, q->palette().cacheKey(), q->size(),
                              g.R,         targetRatio(p),          int(p->renderHints())};
    if (ringCache.valid && ringCache.key == key) {
        ringCache.DrawOn(p);
        return;
    }
    // Painting straight onto an image, the ring is composed over what lies there already:
    // that spares clearing a layer and copying it out, two passes over the ring's pixels.
    // A shadow must then go under the items, which only pays while they hide it opaquely.
    QImage view;
    if ((!hasShadow(g) || itemsOpaque(g)) && deviceView(p, key.ratio, view)) {
        ringCache.valid = false;
        // This thread has just painted the background there, and its caches hold those
        // pixels: the ring is composed here rather than handed to the pool.
        composeOnto(view, p, g, {}, false);
        return;
    }
    // Otherwise the ring is composed in the layer, which a repaint of the same state copies
    // out again; an animation reuses the buffer.
    const QSize size = key.size * key.ratio;
    QImage &image = ringCache.image;
    if (image.size() != size) {
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        ringCache.drawn = image.rect();
    }
    image.setDevicePixelRatio(key.ratio);
    // Only what the last frame drew needs clearing, and only what this one draws copying
    // out: while the ring spins in, that is a part of the layer, and never the hole.
    const QRegion cleared = ringCache.drawn;
    ringCache.drawn = ringArea(g, key.ratio) & image.rect();
    const auto clear = [&] {
        uchar *const bits = image.bits();
        for (const QRect &r : cleared) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                std::memset(bits + y * image.bytesPerLine() + r.left() * sizeof(QRgb), 0,
                            size_t(r.width()) * sizeof(QRgb));
            }
        }
    };
    // Pixmaps belong to the GUI thread; everything else the ring paints is images and text.
    composeOnto(image, p, g, clear, !usesPixmaps(g));
    ringCache.key = key;
    ringCache.valid = true;
    ringCache.DrawOn(p);
}

void TRotaryMenuPrivate::composeOnto(QImage &image, const QPainter *p, const TRotaryMenuGeometry &g,
                                     const std::function<void()> &prepare, bool onPool)
{
    const QPainter::RenderHints hints = p->renderHints();
    const QFont font = p->font();
    const auto compose = [&] {
        if (prepare) {
            prepare();
        }
        QPainter painter(&image);
        painter.setRenderHints(hints);
        painter.setFont(font);
        composeRing(&painter, image, g);
    };
    if (onPool) {
        runOnPoolThread(compose);
    } else {
        compose();
    }
}

QRegion TRotaryMenuPrivate::ringArea(const TRotaryMenuGeometry &g, qreal ratio) const
{
    // Items stay within the ring's outline, their outlines half a pen beyond it.
    int pen = 0;
    for (int i = 0; i < g.count; ++i) {
        const TGradientFill *fill = stateFill(*this, items->Items(i));
        if (fill->BorderColor() != clNone) {
            pen = std::max(pen, fill->BorderWidth());
        }
    }
    const qreal margin = pen / 2.0 + 2;
    QRectF bounds = g.menuPath().boundingRect();
    if (hasShadow(g)) {
        bounds |= bounds.translated(shadowOffset, shadowOffset);
    }
    bounds.adjust(-margin, -margin, margin, margin);
    const QRect outer = QRectF(bounds.topLeft() * ratio, bounds.size() * ratio).toAlignedRect();
    if (g.layout != TRotaryMenu::rmlCircularDonut) {
        return outer;
    }
    // A donut's hole holds nothing: leave out the largest upright rectangle inside it, less
    // what the outlines reach in, and less again where the shadow's hole lies elsewhere.
    const qreal halfWidth = g.RI.width() / 2 / M_SQRT2 - margin;
    const qreal halfHeight = g.RI.height() / 2 / M_SQRT2 - margin;
    if (halfWidth <= 0 || halfHeight <= 0) {
        return outer;
    }
    QRectF hole(g.RI.center() - QPointF(halfWidth, halfHeight),
                QSizeF(2 * halfWidth, 2 * halfHeight));
    if (hasShadow(g)) {
        hole &= hole.translated(shadowOffset, shadowOffset);
    }
    // Whole device pixels inside it only.
    const QPoint first(qCeil(hole.left() * ratio), qCeil(hole.top() * ratio));
    const QPoint last(qFloor(hole.right() * ratio) - 1, qFloor(hole.bottom() * ratio) - 1);
    return QRegion(outer).subtracted(QRegion(QRect(first, last)));
}

void TRotaryMenuPrivate::TRingCache::DrawOn(QPainter *p) const
{
    // A part of the layer lands on whole device pixels only where the ratio is whole.
    const qreal ratio = image.devicePixelRatio();
    if (ratio != std::floor(ratio)) {
        p->drawImage(QPointF(0, 0), image);
    } else {
        for (const QRect &r : drawn) {
            p->drawImage(QPointF(r.topLeft()) / ratio, image, r);
        }
    }
}

void TRotaryMenuPrivate::drawShadow(QPainter *p, const QPainterPath &outline)
{
    const QColor shadow = MakeQColor(quint8(shadowOpacity), shadowColor);
    auto paint = [&](QPainter *target) {
        TPathGradient brush(outline);
        brush.SetInterpolationColors(shadowBlend());
        target->save();
        target->translate(shadowOffset, shadowOffset);
        brush.Fill(target);
        target->restore();
    };
    // The soft shadow is by far the dearest layer, and hovering repaints the same ring
    // over and over: keep the last one as an image while painting stays pixel-aligned.
    if (!pixelAligned(p)) {
        paint(p);
        return;
    }
    const qreal ratio = targetRatio(p);
    if (shadowCache.image.isNull() || shadowCache.outline != outline ||
        shadowCache.color != shadow || shadowCache.offset != shadowOffset ||
        shadowCache.image.devicePixelRatio() != ratio) {
        const QRect area = outline.boundingRect()
                               .translated(shadowOffset, shadowOffset)
                               .toAlignedRect()
                               .adjusted(-1, -1, 1, 1);
        // The layer is painted as a plain 1:1 image scaled by the world transform and only
        // then marked with the ratio: the path-gradient helper places its own off-screen
        // layer wrongly on a device whose pixel ratio is not 1.
        QImage image(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter layer(&image);
        layer.setRenderHints(p->renderHints());
        layer.scale(ratio, ratio);
        layer.translate(-area.topLeft());
        paint(&layer);
        layer.end();
        image.setDevicePixelRatio(ratio);
        shadowCache = {outline, shadow, shadowOffset, area.topLeft(), image};
    }
    p->drawImage(shadowCache.origin, shadowCache.image);
}

namespace {

// A painter on an item's scratch image, with the ring painter's hints and font, placed so that
// the layer's device pixel `origin` lands on the image's top left corner.
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

void TRotaryMenuPrivate::paintItem(QPainter *p, const TRotaryMenuGeometry &g, int index,
                                   const QRectF &bounds)
{
    TRotaryMenuItem *item = items->Items(index);
    // The painter leaves the state fill's settings alone, so no copy is needed.
    auto *fill = const_cast<TGradientFill *>(stateFill(*this, item));
    fill->Fill(p, bounds, 255, 255, 255, 255, 255);
    const QRectF box = contentBox(g, index, bounds);
    drawCaption(p, item, box);
    drawImage(p, item, box);
}

void TRotaryMenuPrivate::drawOutline(QPainter *p, int index, const QPainterPath &outline)
{
    const TGradientFill *fill = stateFill(*this, items->Items(index));
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

void TRotaryMenuPrivate::drawItems(QPainter *p, const TRotaryMenuGeometry &g)
{
    for (int i = 0; i < g.count; ++i) {
        const QPainterPath outline = g.itemPath(i);
        p->save();
        p->setClipPath(outline);
        paintItem(p, g, i, outline.boundingRect());
        p->restore();
        drawOutline(p, i, outline);
    }
}

void TRotaryMenuPrivate::composeRing(QPainter *p, QImage &layer, const TRotaryMenuGeometry &g)
{
    // When every item is opaque the shadow goes under them, its colour worked out only where
    // no sector covers it fully; otherwise behind them, where they leave pixels open. Either
    // way only the pixels the items leave open need it, and the sectors' coverages come
    // first.
    const qreal ratio = layer.devicePixelRatio();
    const QTransform toDevice = QTransform::fromScale(ratio, ratio);
    sectors.resize(size_t(g.count));
    std::vector<const TPathCoverage *> covers;
    for (int i = 0; i < g.count; ++i) {
        TSector &sector = sectors[size_t(i)];
        sector.outline = g.itemPath(i);
        const QPainterPath deviceOutline = toDevice.map(sector.outline);
        sector.area = deviceOutline.boundingRect().toAlignedRect() & layer.rect();
        sector.coverage.Compute(deviceOutline, sector.area);
        covers.push_back(&sector.coverage);
    }
    const bool shadow = hasShadow(g);
    const bool under = shadow && itemsOpaque(g);
    const auto drawShadow = [&](bool behind) {
        TPathGradient brush(g.menuPath());
        brush.SetInterpolationColors(shadowBlend());
        p->save();
        p->translate(shadowOffset, shadowOffset);
        if (behind) {
            brush.FillBehind(p);
        } else {
            brush.FillUnder(p, covers);
        }
        p->restore();
    };
    if (under) {
        drawShadow(false);
    }
    // What an item paints goes to a scratch image the size of its sector's box, unclipped,
    // and is laid onto the layer through the sector's coverage: the same pixels as painting
    // through the sector as a clip, without the clip's cost on every fill.
    // The raster engine draws a thin pen straight into the image's pixels only under a clip
    // of its own; without one it sends every pixel through its span functions.
    p->save();
    p->setClipRect(QRectF(QPointF(0, 0), QSizeF(layer.size()) / ratio));
    for (int i = 0; i < g.count; ++i) {
        const TSector &sector = sectors[size_t(i)];
        const QRect &area = sector.area;
        const QRectF bounds = sector.outline.boundingRect();
        if (!area.isEmpty() && !layDrawnOut(p, layer, g, i, bounds, area, sector.coverage)) {
            // Only what the sector covers is ever read back, so only that is cleared.
            QImage &scratch =
                itemScratch.ClearedUnder(area.size(), ratio, sector.coverage, area.topLeft());
            QPainter painter;
            beginScratch(painter, scratch, p, area.topLeft(), ratio);
            paintItem(&painter, g, i, bounds);
            painter.end();
            CompositeOver(layer, scratch, area.topLeft(), sector.coverage);
        }
        drawOutline(p, i, sector.outline);
    }
    p->restore();
    if (shadow && !under) {
        drawShadow(true);
    }
}

bool TRotaryMenuPrivate::itemsOpaque(const TRotaryMenuGeometry &g) const
{
    for (int i = 0; i < g.count; ++i) {
        if (!stateFill(*this, items->Items(i))->IsOpaque()) {
            return false;
        }
    }
    return true;
}

bool TRotaryMenuPrivate::deviceView(QPainter *p, qreal ratio, QImage &view) const
{
    // Only an unshared image that the painter draws on plainly, placed by whole pixels at its
    // own resolution, and nothing of the widget's area clipped off: writing its pixels
    // directly then gives what painting them would.
    QPaintEngine *engine = p->paintEngine();
    QPaintDevice *target = engine ? engine->paintDevice() : nullptr;
    if (!target || target->devType() != QInternal::Image || p->hasClipping() ||
        p->opacity() != 1.0 || p->compositionMode() != QPainter::CompositionMode_SourceOver) {
        return false;
    }
    auto *device = static_cast<QImage *>(target);
    if ((device->format() != QImage::Format_ARGB32_Premultiplied &&
         device->format() != QImage::Format_RGB32) ||
        !device->isDetached() || device->devicePixelRatio() != ratio) {
        return false;
    }
    const QTransform t = p->deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != ratio || t.m22() != ratio ||
        t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) {
        return false;
    }
    const QRect rect(QPoint(int(t.dx()), int(t.dy())), q->size() * ratio);
    const QRegion clip = engine->systemClip();
    if (!device->rect().contains(rect) || (!clip.isEmpty() && !(QRegion(rect) - clip).isEmpty())) {
        return false;
    }
    // Not bits(): that would check for sharing, which the painter's own use of it rules out.
    uchar *const first = const_cast<uchar *>(device->constBits()) +
                         rect.top() * device->bytesPerLine() + rect.left() * sizeof(QRgb);
    view = QImage(first, rect.width(), rect.height(), device->bytesPerLine(), device->format());
    view.setDevicePixelRatio(ratio);
    return true;
}

bool TRotaryMenuPrivate::layDrawnOut(QPainter *p, QImage &layer, const TRotaryMenuGeometry &g,
                                     int index, const QRectF &bounds, const QRect &area,
                                     const TPathCoverage &coverage)
{
    // The pieces are placed by whole logical pixels, which must be whole device pixels too.
    const int ratio = int(layer.devicePixelRatio());
    const TRotaryMenuItem *item = items->Items(index);
    const bool images = !item->Image()->Empty() ||
                        (pictureContainer && !item->ImageName().isEmpty()) ||
                        (imageList && item->ImageIndex() >= 0);
    if ((ratio != 1 && ratio != 2) || ratio != layer.devicePixelRatio() || images) {
        return false;
    }
    auto *fill = const_cast<TGradientFill *>(stateFill(*this, item));
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
    // Logical pixels the copy leaves out; a box cut short by the layer's edge is painted whole.
    const int narrower = (layout.to - layout.from - 1) / ratio;
    if (lo < -1 || hi > extent + 1 || narrower * ratio < 16) {
        return false;
    }
    layout.shift = narrower * ratio;
    const int gap = qCeil(reach) + 2; // between the box and the copy, for what spills over
    layout.offset = (extent + gap + ratio - 1) / ratio * ratio;
    const QRectF box = contentBox(g, index, bounds);
    const QRectF ink = captionInk(item, box, &layer);
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
    QImage &scratch = itemScratch.ClearedIn(size, ratio, copy);
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
        drawCaption(&painter, item, box);
    }
    painter.end();
    CompositeOver(layer, scratch, area.topLeft(), coverage, layout);
    return true;
}

void TRotaryMenuPrivate::drawFocus(QPainter *p, const TRotaryMenuGeometry &g)
{
    if (q->hasFocus() && showFocus && focused) {
        const QPainterPath outline = g.itemPath(indexOf(focused));
        p->save();
        p->setBrush(Qt::NoBrush);
        QPen pen(MakeQColor(255, focused->Fill()->FocusColor()), 1, Qt::DashLine);
        pen.setCosmetic(true);
        p->setPen(pen);
        p->drawPath(outline);
        p->restore();
    }
}

QFont TRotaryMenuPrivate::captionFont(const QFont &font)
{
    // Captions fall back to Arial for a family the system lacks, so that a missing face
    // degrades the same way everywhere instead of to whatever fontconfig picks. Asking the
    // font database costs more than drawing the caption, so the answers are kept.
    const QString family = font.family();
    auto known = knownFamilies.constFind(family);
    if (known == knownFamilies.cend()) {
        known = knownFamilies.insert(family, QFontDatabase::hasFamily(family));
    }
    QFont result(font);
    if (!*known) {
        result.setFamily(QStringLiteral("Arial"));
    }
    return result;
}

const TRotaryMenuPrivate::TCaptionLayout &
TRotaryMenuPrivate::captionLayout(const QString &caption, const QFont &font,
                                  const QPaintDevice *device)
{
    // Laying a caption out costs more than drawing its glyphs, and an animation draws the
    // same captions frame after frame: their sizes, and the laid-out text of those without
    // an access key, are kept until the fonts change.
    const TCaptionKey key{caption, font, device->logicalDpiY()};
    auto known = captionLayouts.find(key);
    if (known == captionLayouts.end()) {
        if (captionLayouts.size() > 1024) {
            captionLayouts.clear();
        }
        const QFontMetricsF metrics(font, device);
        TCaptionLayout layout;
        layout.size =
            metrics.boundingRect(QRectF(0, 0, 10000, 10000), kCaptionFlags, caption).size();
        // Glyphs may reach past their advances and above or below the line; half a line
        // around the text is more than any face reaches.
        const qreal reach = metrics.height() / 2;
        layout.ink = QRectF(QPointF(0, 0), layout.size)
                         .united(metrics.tightBoundingRect(caption).translated(0, metrics.ascent()))
                         .adjusted(-reach, -reach, reach, reach);
        if (!caption.contains(QLatin1Char('&'))) {
            layout.text = QStaticText(caption);
            layout.text.setTextFormat(Qt::PlainText);
            layout.text.setPerformanceHint(QStaticText::AggressiveCaching);
        }
        known = captionLayouts.insert(key, layout);
    }
    return *known;
}

QRectF TRotaryMenuPrivate::captionInk(const TRotaryMenuItem *item, const QRectF &box,
                                      const QPaintDevice *device)
{
    if (item->Caption().isEmpty()) {
        return {};
    }
    const TCaptionLayout &layout =
        captionLayout(item->Caption(), captionFont(item->Font()), device);
    return layout.ink.translated(captionAt(item, box, layout.size));
}

QPointF TRotaryMenuPrivate::captionAt(const TRotaryMenuItem *item, const QRectF &box,
                                      const QSizeF &size)
{
    return GetObjectLocation(box, size.width(), size.height(), item->CaptionLocation(),
                             item->CaptionLeft(), item->CaptionTop());
}

void TRotaryMenuPrivate::drawCaption(QPainter *p, const TRotaryMenuItem *item, const QRectF &box)
{
    if (item->Caption().isEmpty()) {
        return;
    }
    const QFont font = captionFont(item->Font());
    const TCaptionLayout &layout = captionLayout(item->Caption(), font, p->device());
    const QPointF at = captionAt(item, box, layout.size);
    p->setFont(font);
    p->setPen(MakeQColor(255, item->FontColor()));
    if (layout.text.text().isEmpty()) {
        p->drawText(QRectF(at, layout.size), kCaptionFlags, item->Caption());
    } else {
        p->drawStaticText(at, layout.text);
    }
}

void TRotaryMenuPrivate::drawImage(QPainter *p, const TRotaryMenuItem *item, const QRectF &box)
{
    auto place = [&](int ownWidth, int ownHeight) {
        const QSize size =
            GetAspectSize(item->ImageWidth(), item->ImageHeight(), ownWidth, ownHeight);
        const QPointF at =
            GetObjectLocation(box, size.width(), size.height(), item->ImageLocation(),
                              item->ImageLeft(), item->ImageTop());
        return QRectF(at, QSizeF(size));
    };
    const TPicture *own = item->Image();
    if (!own->Empty()) {
        own->Draw(p, place(own->Width(), own->Height()));
    }
    if (pictureContainer && !item->ImageName().isEmpty()) {
        const TPicture *named = pictureContainer->FindPicture(item->ImageName());
        if (named && !named->Empty()) {
            named->Draw(p, place(named->Width(), named->Height()));
        }
    }
    if (imageList && item->ImageIndex() >= 0 && item->ImageIndex() < imageList->Count()) {
        const QPixmap bitmap = imageList->Bitmap(item->ImageIndex());
        if (!bitmap.isNull()) {
            const QRectF target = place(bitmap.width(), bitmap.height());
            p->drawPixmap(QRect(qRound(target.x()), qRound(target.y()), int(target.width()),
                                int(target.height())),
                          bitmap);
        }
    }
}
