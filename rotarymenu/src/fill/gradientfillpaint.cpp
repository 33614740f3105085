// SPDX-License-Identifier: MIT
// Gradient fill painting: shadow, body, mirror half, pictures, border, glow and focus outline.
#include "fill/bodyshape.h"
#include "fill/fillcache.h"
#include "fill/gammagradient.h"
#include "fill/pathgradient.h"
#include <rotarymenu/gradientfill.h>

#include <QPainter>

#include <cmath>

using namespace zc::ring;

namespace {

using Opacities = TFillOpacities;

// The integer rounding of the original platform: halves go to the even neighbour.
int roundEven(qreal v)
{
    return int(std::nearbyint(v));
}

// Left, top, width and height rounded from R; right and bottom are left + width, top + height.
QRect roundedRect(const QRectF &r)
{
    return QRect(roundEven(r.x()), roundEven(r.y()), roundEven(r.width()), roundEven(r.height()));
}

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

bool isEmptyArea(const QRectF &r)
{
    return !(r.width() > 0 && r.height() > 0);
}

void clipTo(QPainter *g, const QPainterPath &outline)
{
    // Intersect rather than replace: the caller's clip (a menu sector) must keep holding.
    g->setClipPath(outline, g->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

TFillRoundingType halfRounding(TFillRoundingType type, bool lower)
{
    switch (type) {
    case rtTop:
        return lower ? rtNone : rtTop;
    case rtBottom:
        return lower ? rtBottom : rtNone;
    case rtBoth:
        return lower ? rtBottom : rtTop;
    default:
        return type;
    }
}

TLinearGradientMode linearMode(TGradientType kind)
{
    switch (kind) {
    case gtHorizontal:
        return TLinearGradientMode::Horizontal;
    case gtForwardDiagonal:
        return TLinearGradientMode::ForwardDiagonal;
    case gtBackwardDiagonal:
        return TLinearGradientMode::BackwardDiagonal;
    default:
        return TLinearGradientMode::Vertical;
    }
}

} // namespace

/// The painting steps of a fill; a friend so the steps can read the settings directly.
class TGradientFillPainter
{
public:
    TGradientFillPainter(const TGradientFill &fill, TFillCache &cache, QPainter *g,
                         const Opacities &op)
        : f(fill), cache(cache), g(g), op(op)
    {
    }

    void shadow(QRectF &r) const;
    void body(const QRectF &r) const;
    void backgroundPicture(const QRectF &r, bool clipped) const;
    void border(const QRectF &r) const;
    void glow(const QRectF &r) const;
    void focusOutline(const QRectF &focusRect) const;
    void foregroundPicture(const QRectF &r) const;

private:
    void half(const QRectF &r, const TBodyHalf &half, bool upper, TFillRoundingType radial) const;
    void gradientBackGround(const QRectF &r, const TBodyHalf &half, bool mirror,
                            TFillRoundingType type) const;
    void radialBackGround(const QRectF &r, TColor cf, TColor ct, quint8 o, quint8 ot, bool upper,
                          qint32 radius, TFillRoundingType type,
                          TPathGradientCache &brushCache) const;
    void fillShape(const QRectF &r, const QPainterPath *outline, const TBodyHalf &half,
                   bool mirror) const;

    const TGradientFill &f;
    TFillCache &cache;
    QPainter *g;
    Opacities op;
};

void TGradientFillPainter::shadow(QRectF &r) const
{
    if (!f.hasShadow()) {
        return;
    }
    const qint32 so = f.m_shadowOffset;
    const QList<TPathGradient::TBlendStop> rim = {{0.0, QColor(0, 0, 0, 0)},
                                                  {0.1, MakeQColor(180, f.m_shadowColor)},
                                                  {1.0, MakeQColor(180, f.m_shadowColor)}};
    switch (f.m_shadowType) {
    case stRightBottom: {
        TPathGradient brush(TGradientFill::CreateRoundRectangle(r, f.m_rounding, f.m_roundingType));
        brush.SetCache(&cache.shadow);
        brush.SetInterpolationColors(rim);
        brush.Fill(g);
        r.setWidth(r.width() - so);
        r.setHeight(r.height() - so);
        break;
    }
    case stSurround: {
        TPathGradient brush(TGradientFill::CreateRoundRectangle(r, so, rtBoth));
        brush.SetCache(&cache.shadow);
        brush.SetInterpolationColors(rim);
        brush.Fill(g);
        r.adjust(so, so, -so, -so);
        break;
    }
    case stBottom:
        // A shadow deeper than half the fill would otherwise start above it.
        radialBackGround(QRectF(r.x(), r.y() + r.height() - 2 * so, r.width(), 2 * so) & r,
                         f.m_shadowColor, f.m_shadowColor, 0, 255, true, f.m_rounding, rtBottom,
                         cache.shadow);
        r.setHeight(r.height() - so);
        break;
    }
}

void TGradientFillPainter::body(const QRectF &r) const
{
    const TBodyShape shape = f.BodyShape(op);
    if (!shape.mirrored) {
        half(r, shape.upper, true, f.m_roundingType);
        return;
    }
    // The halves overlap by two pixels so no background shows through at the middle. Only
    // the outer corners of each are rounded, so the halves meet square.
    const qreal middle = r.height() / 2;
    const QRectF top(r.x(), r.y(), r.width(), r.height() - middle + 1);
    const QRectF bottom(r.x(), r.y() + middle - 1, r.width(), r.height() - middle + 1);
    half(top, shape.upper, true, rtTop);
    half(bottom, shape.lower, false, rtBottom);
}

void TGradientFillPainter::half(const QRectF &r, const TBodyHalf &half, bool upper,
                                TFillRoundingType radial) const
{
    if (half.kind == gtRadial) {
        radialBackGround(r, half.from, half.to, half.opacity, half.opacityTo, upper, f.m_rounding,
                         radial, upper ? cache.upperBody : cache.lowerBody);
    } else {
        gradientBackGround(r, half, !upper,
                           f.hasMirrorHalf() ? halfRounding(f.m_roundingType, !upper)
                                             : f.m_roundingType);
    }
}

void TGradientFillPainter::gradientBackGround(const QRectF &r, const TBodyHalf &half, bool mirror,
                                              TFillRoundingType type) const
{
    if (f.m_rounding == 0) {
        fillShape(r, nullptr, half, mirror);
        return;
    }
    const QPainterPath outline = TGradientFill::CreateRoundRectangle(r, f.m_rounding, type);
    g->save();
    g->setRenderHint(QPainter::Antialiasing, true);
    fillShape(r, &outline, half, mirror);
    g->restore();
}

void TGradientFillPainter::fillShape(const QRectF &r, const QPainterPath *outline,
                                     const TBodyHalf &half, bool mirror) const
{
    const auto paint = [&](const QBrush &brush) {
        if (outline) {
            g->fillPath(*outline, brush);
        } else {
            g->fillRect(r, brush);
        }
    };
    const QColor from = MakeQColor(half.opacity, half.from);
    const QColor to = MakeQColor(half.opacityTo, half.to);
    const QRectF grown = r.adjusted(-1, -1, 1, 1);
    switch (half.kind) {
    case gtSolid:
        paint(from);
        break;
    case gtRadial:
    case gtPath:
    case gtNone:
        break;
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal:
        paint(LinearGradientFromRect(grown, from, to, linearMode(half.kind), true, &cache.stops));
        if (mirror) {
            // Covers the seam with the upper half in the mirror's start colour.
            g->fillRect(QRectF(r.x(), r.y(), r.width(), 1), from);
        }
        break;
    case gtAngle:
        paint(LinearGradientFromAngle(grown, from, to, f.m_angle, true, true, &cache.stops));
        break;
    case gtHatch:
        g->save();
        g->setBrushOrigin(0, 0);
        paint(HatchBrush(half.hatch, from, to));
        g->restore();
        break;
    case gtTexture:
        if (f.m_bgPosition == ppTiled && f.m_bgPicture) {
            if (outline) {
                f.m_bgPicture->Tile(g, *outline);
            } else {
                f.m_bgPicture->Tile(g, r);
            }
        }
        break;
    }
}

void TGradientFillPainter::radialBackGround(const QRectF &r, TColor cf, TColor ct, quint8 o,
                                            quint8 ot, bool upper, qint32 radius,
                                            TFillRoundingType type,
                                            TPathGradientCache &brushCache) const
{
    if (isEmptyArea(r)) {
        return;
    }
    const QPainterPath outline = TGradientFill::CreateRoundRectangle(r, radius, type);
    g->fillPath(outline, upper ? MakeQColor(o, cf) : MakeQColor(ot, ct));
    const qreal x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath ellipse;
    ellipse.addEllipse(upper ? QRectF(x, y - h / 2, w, h + h / 2) : QRectF(x, y, w, h + h / 2));
    TPathGradient brush(ellipse);
    brush.SetCache(&brushCache);
    brush.SetCenterPoint(upper ? QPointF(x + w / 2, y) : QPointF(x + w / 2, y + h));
    brush.SetCenterColor(upper ? MakeQColor(ot, ct) : MakeQColor(o, cf));
    brush.SetSurroundColors({upper ? MakeQColor(o, cf) : MakeQColor(ot, ct)});
    // Filling the outline with the brush is what clipping R to the outline amounts to.
    brush.Fill(g, outline);
}

void TGradientFillPainter::backgroundPicture(const QRectF &r, bool clipped) const
{
    const TPicture *pic = f.m_bgPicture;
    if (f.m_gradientType != gtTexture || pic->Empty() || isEmptyArea(r)) {
        return;
    }
    QRect rc = roundedRect(r);
    int x = f.m_bgLeft, y = f.m_bgTop;
    if (f.m_bgPosition != ppCustom) {
        rc.translate(f.m_bgLeft, f.m_bgTop);
        x = rc.left();
        y = rc.top();
    }
    g->save();
    if (clipped) {
        clipTo(g, TGradientFill::CreateRoundRectangle(r, f.m_rounding, f.m_roundingType));
    }
    TGradientFill::DrawPicture(g, f.m_bgAspectRatio, f.m_bgAspectMode, pic, f.m_bgPosition,
                               pic->Width(), pic->Height(), rc, x, y);
    g->restore();
}

void TGradientFillPainter::border(const QRectF &r) const
{
    if (f.m_borderWidth <= 0 || f.m_borderColor == clNone || isEmptyArea(r)) {
        return;
    }
    const QColor color = MakeQColor(op.border, f.m_borderColor);
    if ((f.m_rounding <= 0 || f.m_roundingType == rtNone) &&
        g->testRenderHint(QPainter::Antialiasing)) {
        // A square border is a frame of four bands straddling the rectangle; filled as
        // rectangles it costs a third of stroking it, and each pixel gets its exact share.
        const qreal w = f.m_borderWidth;
        const QRectF o = r.adjusted(-w / 2, -w / 2, w / 2, w / 2);
        if (o.width() <= 2 * w || o.height() <= 2 * w) {
            g->fillRect(o, color);
            return;
        }
        g->fillRect(QRectF(o.left(), o.top(), o.width(), w), color);
        g->fillRect(QRectF(o.left(), o.bottom() - w, o.width(), w), color);
        g->fillRect(QRectF(o.left(), o.top() + w, w, o.height() - 2 * w), color);
        g->fillRect(QRectF(o.right() - w, o.top() + w, w, o.height() - 2 * w), color);
        return;
    }
    g->save();
    g->setBrush(Qt::NoBrush);
    g->setPen(QPen(color, f.m_borderWidth));
    g->drawPath(TGradientFill::CreateRoundRectangle(r, f.m_rounding, f.m_roundingType));
    g->restore();
}

void TGradientFillPainter::glow(const QRectF &r) const
{
    if (f.m_glow == gmNone || isEmptyArea(r)) {
        return;
    }
    g->save();
    QPainterPath clip;
    clip.addRect(r);
    clipTo(g, clip);
    const QRectF gr = r.adjusted(1, 1, -1, -1);
    const qreal gx = gr.x(), gy = gr.y(), gw = gr.width(), gh = gr.height();
    if (f.m_glow == gmGradient || f.m_glow == gmRadialGradient) {
        const TColor c = f.m_glowGradientColor;
        g->setBrush(Qt::NoBrush);
        g->setPen(QPen(MakeQColor(200, c), 1));
        g->drawPath(TGradientFill::CreateRoundRectangle(gr, f.m_rounding, f.m_roundingType));
        g->setPen(Qt::NoPen);

        const QRectF top(gx + 5, gy, gw - 10, 4);
        g->setBrush(LinearGradientFromRect(top.adjusted(-1, -1, 1, 1), MakeQColor(175, c),
                                           MakeQColor(0, c), TLinearGradientMode::Vertical, false));
        g->drawPolygon(QPolygonF({{gx, gy}, {gx + 5, gy}, {gx + 5, gy + 4}}));
        g->drawPolygon(QPolygonF({{gx + gw, gy}, {gx + gw - 5, gy}, {gx + gw - 5, gy + 4}}));
        g->drawRect(top);

        const QRectF bottom(gx + 5, gy + gh - 7, gw - 10, 7);
        g->setBrush(LinearGradientFromRect(bottom.adjusted(-1, -1, 1, 1), MakeQColor(0, c),
                                           MakeQColor(220, c), TLinearGradientMode::Vertical,
                                           false));
        g->drawPolygon(QPolygonF({{gx, gy + gh}, {gx + 5, gy + gh}, {gx + 5, gy + gh - 7}}));
        g->drawPolygon(
            QPolygonF({{gx + gw, gy + gh}, {gx + gw - 5, gy + gh}, {gx + gw - 5, gy + gh - 7}}));
        g->drawRect(bottom);
    }
    if ((f.m_glow == gmRadial || f.m_glow == gmRadialGradient) && gw > 20) {
        const QRectF box(gx + 10, gy - gh / 2, gw - 20, 3 * gh);
        QPainterPath ellipse;
        ellipse.addEllipse(box);
        TPathGradient brush(ellipse);
        brush.SetCache(&cache.glow);
        brush.SetCenterPoint(box.center());
        brush.SetCenterColor(MakeQColor(150, f.m_glowRadialColor));
        brush.SetSurroundColors({MakeQColor(0, f.m_color)});
        brush.Fill(g);
    }
    g->restore();
}

void TGradientFillPainter::focusOutline(const QRectF &focusRect) const
{
    if (!f.m_focus || isEmptyArea(focusRect)) {
        return;
    }
    g->save();
    g->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(MakeQColor(op.from, f.m_focusColor), 1);
    pen.setDashPattern({1, 1});
    g->setPen(pen);
    g->setBrush(Qt::NoBrush);
    g->drawPath(TGradientFill::CreateRoundRectangle(focusRect, f.m_rounding - f.m_borderWidth,
                                                    f.m_roundingType));
    g->restore();
}

void TGradientFillPainter::foregroundPicture(const QRectF &r) const
{
    const TPicture *pic = f.m_picture;
    if (pic->Empty()) {
        return;
    }
    const int w = f.m_picSize == psCustom ? f.m_picWidth : pic->Width();
    const int h = f.m_picSize == psCustom ? f.m_picHeight : pic->Height();
    QRect rc = roundedRect(r);
    int x = f.m_picLeft, y = f.m_picTop;
    if (f.m_picPosition != ppCustom) {
        rc.translate(f.m_picLeft, f.m_picTop);
        x = rc.left();
        y = rc.top();
    }
    TGradientFill::DrawPicture(g, f.m_picAspectRatio, f.m_picAspectMode, pic, f.m_picPosition, w, h,
                               rc, x, y);
}

TGPRectF TGradientFill::Fill(QPainter *graphics, const TGPRectF &r, quint8 aBorderOpacity,
                             quint8 aOpacity, quint8 aOpacityTo, quint8 aOpacityMirror,
                             quint8 aOpacityMirrorTo)
{
    const auto pick = [](quint8 arg, quint8 own) { return arg == 255 ? own : arg; };
    const Opacities op{pick(aBorderOpacity, m_borderOpacity), pick(aOpacity, m_opacity),
                       pick(aOpacityTo, m_opacityTo), pick(aOpacityMirror, m_opacityMirror),
                       pick(aOpacityMirrorTo, m_opacityMirrorTo)};
    QRectF rect = r;
    const bool lineOnly = rect.height() == 1 || rect.width() == 1;
    if (!lineOnly && !graphics) {
        return rect;
    }
    if (graphics) {
        graphics->save();
    }
    if (!m_cache) {
        m_cache = std::make_unique<TFillCache>();
    }
    const TGradientFillPainter painter(*this, *m_cache, graphics, op);
    if (lineOnly) {
        if (graphics && m_borderWidth > 0 && m_borderColor != clNone) {
            graphics->setPen(QPen(MakeQColor(op.border, m_borderColor), m_borderWidth));
            graphics->drawLine(rect.topLeft(), rect.bottomRight());
        }
    } else if (!isEmptyArea(rect)) {
        painter.shadow(rect);
        if (!isEmptyArea(rect)) {
            painter.body(rect);
            if (m_bgMode == pmInsideFill) {
                painter.backgroundPicture(rect, true);
            }
            painter.border(rect);
        }
    }
    const qreal b = m_borderWidth;
    m_focusRect = QRectF(rect.x() + b, rect.y() + b, rect.width() - 2 * b, rect.height() - 2 * b);
    if (graphics) {
        painter.glow(rect);
        painter.focusOutline(m_focusRect);
        if (m_bgMode == pmOutsideFill) {
            painter.backgroundPicture(rect, false);
        }
        painter.foregroundPicture(rect);
        graphics->restore();
    }
    return rect;
}

TFillOpacities TGradientFill::ownOpacities() const
{
    return {m_borderOpacity, m_opacity, m_opacityTo, m_opacityMirror, m_opacityMirrorTo};
}

TBodyShape TGradientFill::BodyShape(const TFillOpacities &op) const
{
    const auto resolve = [](TGradientType kind, TColor from, TColor to, quint8 opacity,
                            quint8 opacityTo, THatchStyle hatch) {
        if (from == clNone) {
            kind = gtNone;
        } else if (kind == gtRadial) {
            to = to == clNone ? from : to;
        } else if (to == clNone) {
            kind = gtSolid;
        }
        return TBodyHalf{kind, from, to, opacity, opacityTo, hatch};
    };
    TBodyShape shape;
    shape.upper = resolve(m_gradientType, m_color, m_colorTo, op.from, op.to, m_hatchStyle);
    shape.mirrored = hasMirrorHalf();
    if (shape.mirrored) {
        shape.lower = resolve(m_gradientMirrorType, m_colorMirror, m_colorMirrorTo, op.mirror,
                              op.mirrorTo, m_hatchStyleMirror);
    }
    shape.rounded = m_rounding != 0;
    shape.shadowed = hasShadow();
    shape.overlaid = m_glow != gmNone || m_focus || !m_picture->Empty() ||
                     (m_gradientType == gtTexture && !m_bgPicture->Empty());
    return shape;
}

bool TGradientFill::IsAlikeAlong(Qt::Orientation direction) const
{
    return BodyShape(ownOpacities()).AlikeAlong(direction);
}

bool TGradientFill::IsOpaque() const
{
    return BodyShape(ownOpacities()).Opaque();
}

namespace zc::ring {

bool TBodyHalf::Opaque() const
{
    switch (kind) {
    case gtSolid:
        return opacity == 255;
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal:
    case gtAngle:
        return opacity == 255 && opacityTo == 255;
    default:
        // A radial body leaves the corners out; hatches and textures are left to their
        // patterns, and the other kinds paint nothing.
        return false;
    }
}

bool TBodyHalf::AlikeAlong(Qt::Orientation direction) const
{
    return kind == gtNone || kind == gtSolid ||
           kind == (direction == Qt::Horizontal ? gtVertical : gtHorizontal);
}

bool TBodyShape::Opaque() const
{
    // Whatever is painted over the body does not open it up again.
    return upper.Opaque() && (!mirrored || lower.Opaque()) && !rounded && !shadowed;
}

bool TBodyShape::AlikeAlong(Qt::Orientation direction) const
{
    // The two halves lie one above the other, so only rows can stay alike across them.
    if (mirrored && (direction == Qt::Vertical || !lower.AlikeAlong(direction))) {
        return false;
    }
    return upper.AlikeAlong(direction) && !rounded && !shadowed && !overlaid;
}

} // namespace zc::ring

void TGradientFill::DrawPicture(QPainter *graphics, bool aspectRatio, TPictureMode aspectMode,
                                const TPicture *picture, TFillPicturePosition location, int w,
                                int h, const QRect &rc, int x, int y)
{
    if (!graphics || !picture || picture->Empty()) {
        return;
    }
    const int left = rc.x(), top = rc.y(), right = rc.x() + rc.width(),
              bottom = rc.y() + rc.height();
    const int midX = left + (right - left - w) / 2, midY = top + (bottom - top - h) / 2;
    QRect target;
    switch (location) {
    case ppTopLeft:
        target = fromEdges(left, top, left + w, top + h);
        break;
    case ppTopCenter:
        target = fromEdges(midX, top, midX + w, top + h);
        break;
    case ppTopRight:
        target = fromEdges(right - w, top, right, top + h);
        break;
    case ppBottomLeft:
        target = fromEdges(left, bottom - h, left + w, bottom);
        break;
    case ppBottomCenter:
        target = fromEdges(midX, bottom - h, midX + w, bottom);
        break;
    case ppBottomRight:
        target = fromEdges(right - w, bottom - h, right, bottom);
        break;
    case ppCenterLeft:
        target = fromEdges(left, midY, left + w, midY + h);
        break;
    case ppCenterCenter:
        target = fromEdges(midX, midY, midX + w, midY + h);
        break;
    case ppCenterRight:
        target = fromEdges(right - w, midY, right, midY + h);
        break;
    case ppCustom:
        target = fromEdges(x, y, x + w, y + h);
        break;
    case ppTiled:
        picture->Tile(graphics, QRectF(rc));
        return;
    case ppStretched:
        if (!aspectRatio) {
            target = rc;
        } else {
            const QSizeF s = GetAspectSize(picture->Width(), picture->Height(), rc.width(),
                                           rc.height(), aspectMode);
            target = QRect(roundEven(left + (rc.width() - s.width()) / 2),
                           roundEven(top + (rc.height() - s.height()) / 2), roundEven(s.width()),
                           roundEven(s.height()));
        }
        break;
    }
    picture->Draw(graphics, QRectF(target));
}
