// SPDX-License-Identifier: MIT
// Ring geometry: menu rectangles, item outlines, caption boxes, hit testing.
#include <rotarymenu/rotarymenugeometry.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zc::ring {

namespace {

// Menu angles grow clockwise on screen (y grows downwards); QPainterPath's grow
// counter-clockwise, hence the negations.
void addArc(QPainterPath &path, const QRectF &rect, double start, double sweep)
{
    if (path.elementCount() == 0) {
        path.arcMoveTo(rect, -start);
    }
    path.arcTo(rect, -start, -sweep);
}

void addPie(QPainterPath &path, const QRectF &rect, double start, double sweep)
{
    path.moveTo(rect.center());
    path.arcTo(rect, -start, -sweep);
    path.closeSubpath();
}

} // namespace

TRotaryMenuGeometry TRotaryMenuGeometry::compute(TRotaryMenuLayout layout, QSizeF control,
                                                 QSizeF animated, int shadowOffset, int size,
                                                 double startAngle, double stopAngle, int count)
{
    TRotaryMenuGeometry g;
    g.layout = layout;
    g.count = count < 0 ? 0 : count;
    g.size = size;
    const double so = shadowOffset;
    const double w = animated.width();
    const double h = animated.height();
    g.R = QRectF((control.width() - w) / 2 + so, (control.height() - h) / 2 + so, w - 2 * so - 1,
                 h - 2 * so - 1);
    g.RI =
        QRectF(g.R.x() + size, g.R.y() + size, g.R.width() - 2.0 * size, g.R.height() - 2.0 * size);
    g.sta = float(startAngle);
    g.stp = float(stopAngle - startAngle);
    if (g.count > 0) {
        switch (layout) {
        case TRotaryMenu::rmlCircularDonut:
        case TRotaryMenu::rmlCircularPie:
            g.st = float(double(g.stp) / g.count);
            break;
        case TRotaryMenu::rmlHorizontal:
            g.st = float(g.R.width() / g.count);
            break;
        case TRotaryMenu::rmlVertical:
            g.st = float(g.R.height() / g.count);
            break;
        }
    }
    return g;
}

QPainterPath TRotaryMenuGeometry::menuPath() const
{
    QPainterPath path;
    switch (layout) {
    case TRotaryMenu::rmlCircularDonut:
        addArc(path, R, sta, stp);
        addArc(path, RI, double(sta) + stp, -double(stp));
        path.closeSubpath();
        break;
    case TRotaryMenu::rmlCircularPie:
        addPie(path, R, sta, stp);
        break;
    case TRotaryMenu::rmlHorizontal:
    case TRotaryMenu::rmlVertical:
        path.addRect(R);
        break;
    }
    return path;
}

QPainterPath TRotaryMenuGeometry::itemPath(int index) const
{
    QPainterPath path;
    if (index < 0 || index >= count) {
        return path;
    }
    const double i = index;
    switch (layout) {
    case TRotaryMenu::rmlCircularDonut:
        if (RI.width() >= 0 && RI.height() >= 0) {
            addArc(path, R, sta + i * st, st);
            // The inner arc is placed from the far end so that rounding of the step never
            // opens a gap between neighbours at the last item.
            addArc(path, RI, (double(sta) + stp) - (count - 1 - i) * st, -double(st));
            path.closeSubpath();
        } else {
            addPie(path, R, sta + i * st, st);
        }
        break;
    case TRotaryMenu::rmlCircularPie:
        addPie(path, R, sta + i * st, st);
        break;
    case TRotaryMenu::rmlHorizontal:
        path.addRect(QRectF(R.x() + i * st, R.y(), st, R.height()));
        break;
    case TRotaryMenu::rmlVertical:
        path.addRect(QRectF(R.x(), R.y() + i * st, R.width(), st));
        break;
    }
    return path;
}

QRectF TRotaryMenuGeometry::itemBox(int index) const
{
    if (layout == TRotaryMenu::rmlHorizontal || layout == TRotaryMenu::rmlVertical) {
        return itemPath(index).boundingRect();
    }
    const float a = float((sta + double(index) * st + st / 2.0) * 0.017453292519943295769);
    const double c = std::cos(double(a));
    const double s = std::sin(double(a));
    const QPointF p(R.x() + R.width() / 2 + c * R.width() / 2,
                    R.y() + R.height() / 2 + s * R.height() / 2);
    QPointF q = RI.center();
    if (layout == TRotaryMenu::rmlCircularDonut) {
        q = QPointF(RI.x() + RI.width() / 2 + c * RI.width() / 2,
                    RI.y() + RI.height() / 2 + s * RI.height() / 2);
    }
    const QPointF m = p + (q - p) / 2;
    return QRectF(m.x() - size / 2.0, m.y() - size / 2.0, size, size);
}

int TRotaryMenuGeometry::itemAt(int x, int y, const std::function<bool(int)> &hittable) const
{
    for (int i = 0; i < count; ++i) {
        if (hittable && !hittable(i)) {
            continue;
        }
        if (PtInPoly(itemPath(i), x, y)) {
            return i;
        }
    }
    return -1;
}

int TRotaryMenuGeometry::itemAt(int x, int y, const std::function<bool(int)> &hittable,
                                int deadZone, int reach) const
{
    const QPointF c = R.center();
    const QPointF p(x - c.x(), y - c.y());
    if (deadZone > 0 && std::hypot(p.x(), p.y()) < deadZone) {
        return -1;
    }
    const int exact = itemAt(x, y, hittable);
    const bool ring =
        layout == TRotaryMenu::rmlCircularDonut || layout == TRotaryMenu::rmlCircularPie;
    if (exact >= 0 || reach <= 0 || !ring || R.width() <= 0 || R.height() <= 0) {
        return exact;
    }
    // In units of the (possibly elliptic) outer edge: 1 is on it.
    const double rx = R.width() / 2.0, ry = R.height() / 2.0;
    const double e = std::hypot(p.x() / rx, p.y() / ry);
    if (e <= 1.0 || e > 1.0 + reach / std::min(rx, ry)) {
        return -1;
    }
    // The same angle, brought back into the middle of the band, is inside the sector.
    const double band = RI.width() > 0 ? (1.0 + RI.width() / R.width()) / 2.0 : 0.5;
    const QPointF inside = c + p * (band / e);
    return itemAt(qRound(inside.x()), qRound(inside.y()), hittable);
}

bool PtInPoly(const QPainterPath &path, int x, int y)
{
    const int n = path.elementCount();
    bool inside = false;
    const double px = x;
    const double py = y;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const QPainterPath::Element a = path.elementAt(i);
        const QPainterPath::Element b = path.elementAt(j);
        if (((py >= a.y && py < b.y) || (py >= b.y && py < a.y)) &&
            px < a.x + (b.x - a.x) * (py - a.y) / (b.y - a.y)) {
            inside = !inside;
        }
    }
    return inside;
}

QPointF GetObjectLocation(const QRectF &box, qreal w, qreal h, TRotaryMenuLocation location,
                          int left, int top)
{
    if (location == TRotaryMenu::clCustom) {
        return QPointF(left, top);
    }
    const qreal centreX = (box.width() - w) / 2;
    const qreal rightX = box.width() - w;
    const qreal centreY = (box.height() - h) / 2;
    const qreal bottomY = box.height() - h;
    qreal dx = 0;
    qreal dy = 0;
    switch (location) {
    case TRotaryMenu::clTopLeft:
        break;
    case TRotaryMenu::clTopCenter:
        dx = centreX;
        break;
    case TRotaryMenu::clTopRight:
        dx = rightX;
        break;
    case TRotaryMenu::clCenterLeft:
        dy = centreY;
        break;
    case TRotaryMenu::clCenterCenter:
        dx = centreX;
        dy = centreY;
        break;
    case TRotaryMenu::clCenterRight:
        dx = rightX;
        dy = centreY;
        break;
    case TRotaryMenu::clBottomLeft:
        dy = bottomY;
        break;
    case TRotaryMenu::clBottomCenter:
        dx = centreX;
        dy = bottomY;
        break;
    case TRotaryMenu::clBottomRight:
        dx = rightX;
        dy = bottomY;
        break;
    case TRotaryMenu::clCustom:
        break;
    }
    return QPointF(box.x() + dx + left, box.y() + dy + top);
}

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t(number) * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return int(negative ? -magnitude : magnitude);
}

QSize GetAspectSize(int requestedWidth, int requestedHeight, int ownWidth, int ownHeight)
{
    const int w = requestedWidth < 0 ? ownWidth : requestedWidth;
    const int h = requestedHeight < 0 ? ownHeight : requestedHeight;
    if (ownWidth > 0 && ownHeight > 0 && w > 0 && h > 0) {
        if (double(w) / h > double(ownWidth) / ownHeight) {
            return QSize(MulDiv(h, ownWidth, ownHeight), h);
        }
        return QSize(w, MulDiv(w, ownHeight, ownWidth));
    }
    return QSize(w, h);
}

} // namespace zc::ring
