// SPDX-License-Identifier: MIT
// The rotary menu's painter: shadow, items and focus of a frame, kept for the next repaint.
#include "ring/ringpainter.h"

#include "fill/pathgradient.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>
#include <QtMath>

#include <cmath>
#include <cstring>
#include <functional>

namespace zc::ring {

namespace {

// Composed pixels land on whole device pixels only while the painter moves by whole pixels.
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
// machine with few cores the hand-offs cost more than they save, so the kept layer (which
// nothing else touches meanwhile) is composed on a pool thread while this one waits; here,
// when the pool has no thread free. (Composed on the device, the ring stays on this thread,
// which holds the device's pixels in its caches: that saves more than the hand-offs cost.)
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

// The device's pixels under the widget as an image of their own, when the ring can be
// composed there directly: only an unshared image that the painter draws on plainly, placed
// by whole pixels at its own resolution, and nothing of the widget's area clipped off. Writing
// its pixels directly then gives what painting them would.
bool deviceView(QPainter *p, const QSize &size, qreal ratio, QImage &view)
{
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
    const QRect rect(QPoint(int(t.dx()), int(t.dy())), size * ratio);
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

// Copies the pixels of `region` from `from` to `to`, two 32-bit images of one size.
void copyRegion(const QImage &from, QImage &to, const QRegion &region)
{
    const uchar *const source = from.constBits();
    uchar *const target = to.bits();
    for (const QRect &r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            std::memcpy(target + y * to.bytesPerLine() + r.left() * sizeof(QRgb),
                        source + y * from.bytesPerLine() + r.left() * sizeof(QRgb),
                        size_t(r.width()) * sizeof(QRgb));
        }
    }
}

// Sets the pixels of `region` of a 32-bit image to `pixel`.
void fillRegion(QImage &image, const QRegion &region, QRgb pixel)
{
    uchar *const bits = image.bits();
    for (const QRect &r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(bits + y * image.bytesPerLine());
            std::fill(line + r.left(), line + r.left() + r.width(), pixel);
        }
    }
}

bool itemsOpaque(const TRingFrame &frame)
{
    return std::all_of(frame.items.begin(), frame.items.end(),
                       [](const TRingItem &item) { return item.fill->IsOpaque(); });
}

// Pixmaps belong to the GUI thread; everything else the ring paints is images and text.
bool usesPixmaps(const TRingFrame &frame)
{
    return std::any_of(frame.items.begin(), frame.items.end(),
                       [](const TRingItem &item) { return !item.bitmap.isNull(); });
}

} // namespace

bool TRingFrame::hasShadow() const
{
    return geometry.count > 0 && shadowColor != clNone && geometry.RI.width() > 0 &&
           geometry.RI.height() > 0;
}

void RingPainter::ForgetFonts()
{
    m_items.ForgetFonts();
    m_kept.valid = false;
}

void RingPainter::Paint(QPainter *p, const TRingFrame &frame)
{
    if (frame.size.isEmpty()) {
        m_kept.valid = false;
        return;
    }
    const qreal ratio = targetRatio(p);
    if (!pixelAligned(p)) {
        // Scaled, turned or placed between pixels: composed on its own and drawn through the
        // transform.
        m_kept.valid = false;
        QImage layer(frame.size * ratio, QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(ratio);
        layer.fill(Qt::transparent);
        compose(layer, p, frame, !usesPixmaps(frame));
        p->drawImage(QPointF(0, 0), layer);
        drawFocus(p, frame);
        return;
    }
    const Key key{frame.changes,    frame.palette, frame.size,
                  frame.geometry.R, ratio,         int(p->renderHints())};
    const TRotaryMenuGeometry &g = frame.geometry;
    const Place place{g.layout, g.count, g.size, g.R, g.RI, g.sta, g.stp, g.st};
    // A ring placed otherwise than in the last frame is in motion (spinning in, growing, being
    // resized), and its next frame will most likely lie elsewhere again.
    const bool moving = m_lastPlace.count >= 0 && !(m_lastPlace == place);
    m_lastPlace = place;
    if (frame.keepable && m_kept.valid && m_kept.key == key) {
        m_kept.DrawOn(p);
        drawFocus(p, frame);
        return;
    }
    // Whichever the target, a keepable frame's pixels end up in the layer (composed on the
    // device, only those of a ring at rest). Only what a frame draws is kept and copied out:
    // while the ring spins in, that is a part of the layer, and never the hole. A part lands
    // on whole device pixels only where the ratio is whole.
    QImage &layer = m_kept.image;
    if (layer.size() != key.size * ratio) {
        layer = QImage(key.size * ratio, QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        m_kept.drawn = QRegion();
    }
    layer.setDevicePixelRatio(ratio);
    const QRegion area =
        ratio == std::floor(ratio) ? ringArea(frame, ratio) & layer.rect() : QRegion(layer.rect());
    m_kept.key = key;
    m_kept.valid = frame.keepable;
    m_kept.opaque = frame.keepable;
    QImage view;
    if (deviceView(p, frame.size, ratio, view)) {
        // This thread has just painted the background there, and its caches hold those
        // pixels: the ring is composed here rather than handed to the pool.
        compose(view, p, frame, false);
        // Kept only at rest: in motion the next frame is composed afresh anyway, and the copy
        // would be a pass over the ring's pixels for nothing.
        m_kept.valid = frame.keepable && !moving;
        if (m_kept.valid) {
            copyRegion(view, layer, area);
            m_kept.drawn = area;
        }
    } else {
        // Over the widget's own background the layer starts from it, and the ring is
        // composed there as on the device; over anything else from nothing, blended on.
        if (frame.keepable) {
            fillRegion(layer, area, qPremultiply(frame.background.rgba()));
        } else {
            fillRegion(layer, m_kept.drawn, 0);
        }
        m_kept.drawn = area;
        compose(layer, p, frame, !usesPixmaps(frame));
        m_kept.DrawOn(p);
    }
    drawFocus(p, frame);
}

void RingPainter::compose(QImage &target, const QPainter *p, const TRingFrame &frame, bool onPool)
{
    const QPainter::RenderHints hints = p->renderHints();
    const QFont font = p->font();
    const auto work = [&] {
        QPainter painter(&target);
        painter.setRenderHints(hints);
        painter.setFont(font);
        // The shadow goes first, under the items; behind opaque items only the pixels their
        // sectors leave open need its colour, so the coverages are worked out before it.
        m_items.Prepare(frame, target);
        if (frame.hasShadow()) {
            drawShadow(&painter, frame, itemsOpaque(frame));
        }
        m_items.Compose(&painter, target, frame);
    };
    if (onPool) {
        runOnPoolThread(work);
    } else {
        work();
    }
}

void RingPainter::drawShadow(QPainter *p, const TRingFrame &frame, bool underOpaqueItems)
{
    const QColor shadow = MakeQColor(quint8(frame.shadowOpacity), frame.shadowColor);
    TPathGradient brush(frame.geometry.menuPath());
    brush.SetCache(&m_shadow);
    brush.SetInterpolationColors({{0.0, QColor(0, 0, 0, 0)}, {0.1, shadow}, {1.0, shadow}});
    p->save();
    p->translate(frame.shadowOffset, frame.shadowOffset);
    brush.FillUnder(p,
                    underOpaqueItems ? m_items.Coverages() : std::vector<const TPathCoverage *>());
    p->restore();
}

QRegion RingPainter::ringArea(const TRingFrame &frame, qreal ratio) const
{
    // Items stay within the ring's outline, their outlines half a pen beyond it.
    const TRotaryMenuGeometry &g = frame.geometry;
    int pen = 0;
    for (const TRingItem &item : frame.items) {
        if (item.fill->BorderColor() != clNone) {
            pen = std::max(pen, item.fill->BorderWidth());
        }
    }
    const qreal margin = pen / 2.0 + 2;
    const bool shadow = frame.hasShadow();
    const int offset = frame.shadowOffset;
    QRectF bounds = g.menuPath().boundingRect();
    if (shadow) {
        bounds |= bounds.translated(offset, offset);
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
    if (shadow) {
        hole &= hole.translated(offset, offset);
    }
    // Whole device pixels inside it only.
    const QPoint first(qCeil(hole.left() * ratio), qCeil(hole.top() * ratio));
    const QPoint last(qFloor(hole.right() * ratio) - 1, qFloor(hole.bottom() * ratio) - 1);
    return QRegion(outer).subtracted(QRegion(QRect(first, last)));
}

void RingPainter::KeptLayer::DrawOn(QPainter *p) const
{
    p->save();
    if (opaque) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
    }
    const qreal ratio = image.devicePixelRatio();
    for (const QRect &r : drawn) {
        p->drawImage(QPointF(r.topLeft()) / ratio, image, r);
    }
    p->restore();
}

void RingPainter::drawFocus(QPainter *p, const TRingFrame &frame)
{
    if (frame.focused < 0) {
        return;
    }
    p->save();
    p->setBrush(Qt::NoBrush);
    QPen pen(MakeQColor(255, frame.focusColor), 1, Qt::DashLine);
    pen.setCosmetic(true);
    p->setPen(pen);
    p->drawPath(frame.geometry.itemPath(frame.focused));
    p->restore();
}

} // namespace zc::ring
