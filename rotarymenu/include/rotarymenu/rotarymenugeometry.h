// SPDX-License-Identifier: MIT
// Ring geometry: menu rectangles, item outlines, caption boxes, hit testing.
#pragma once

#include <rotarymenu/rotarymenu.h>

#include <QPainterPath>
#include <QRectF>
#include <QSize>

#include <functional>

namespace zc::ring {

/// Where everything of one frame lies. Painting, hit testing and the focus outline all
/// build their outlines from one of these, so what is drawn is what reacts to the mouse.
struct TRotaryMenuGeometry
{
    TRotaryMenuLayout layout = TRotaryMenu::rmlCircularDonut;
    int count = 0; ///< number of items
    int size = 0;  ///< ring thickness, also the side of an item's box
    QRectF R;      ///< outer rectangle of the ring
    QRectF RI;     ///< R shrunk by the ring thickness
    float sta = 0; ///< start angle in degrees (clockwise on screen)
    float stp = 0; ///< sweep in degrees, negative for counter-clockwise
    float st = 0;  ///< per-item step: degrees for rings, pixels for rows and columns

    /// Lays out a control of `control` pixels whose animated menu size is `animated`.
    static TRotaryMenuGeometry compute(TRotaryMenuLayout layout, QSizeF control, QSizeF animated,
                                       int shadowOffset, int size, double startAngle,
                                       double stopAngle, int count);

    /// Outline of the whole menu (used for the ring's shadow), closed.
    QPainterPath menuPath() const;
    /// Outline of item `index`, closed. Empty for an index out of range.
    QPainterPath itemPath(int index) const;
    /// The box that captions and images are placed in.
    QRectF itemBox(int index) const;
    /// First item, in index order, whose outline polygon holds (x, y) and for which
    /// `hittable` says yes; -1 when none.
    int itemAt(int x, int y, const std::function<bool(int)> &hittable) const;
    /// As itemAt, with hit zones around the outlines: nothing answers within `deadZone`
    /// pixels of the ring's centre, and on a ring each sector also takes the points up to
    /// `reach` pixels beyond its outer edge (its angle carried outwards).
    int itemAt(int x, int y, const std::function<bool(int)> &hittable, int deadZone,
               int reach) const;
};

/// Even-odd crossing test over the points the path stores (arc control points included).
bool PtInPoly(const QPainterPath &path, int x, int y);

/// Top-left corner of a w x h object placed in `box` at `location`, moved by (left, top);
/// for clCustom, (left, top) itself.
QPointF GetObjectLocation(const QRectF &box, qreal w, qreal h, TRotaryMenuLocation location,
                          int left, int top);

/// Multiply then divide, rounding to the nearest integer (halves away from zero).
int MulDiv(int number, int numerator, int denominator);

/// Drawing size of an image: negative requested sides take the picture's own, then the
/// box shrinks to the picture's proportions when every side is positive.
QSize GetAspectSize(int requestedWidth, int requestedHeight, int ownWidth, int ownHeight);

} // namespace zc::ring
