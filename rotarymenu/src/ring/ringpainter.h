// SPDX-License-Identifier: MIT
// The rotary menu's painter: shadow, items and focus of a frame, kept for the next repaint.
#pragma once

#include "fill/pathgradient.h"
#include "ring/itemcompositor.h"
#include "ring/ringframe.h"

#include <QImage>
#include <QRectF>
#include <QRegion>
#include <QSize>

class QPainter;

namespace zc::ring {

/// Paints frames of the ring. It needs no widget: what a frame shows comes in a TRingFrame.
/// The shadow and items are composed once per change, onto one of two targets: the device's
/// pixels, when the painter draws plainly onto an image it may write directly, or the kept
/// layer, which starts from the pixels beneath and is copied out. A keepable frame of a ring at
/// rest leaves its pixels in the layer either way, and a repaint of the same frame only copies
/// them out again; a ring in motion is painted afresh each frame, and keeping it would only
/// cost another pass over its pixels.
class RingPainter
{
public:
    /// Shadow, items and the focus outline of `frame` onto `p`, its origin the widget's top
    /// left corner.
    void Paint(QPainter *p, const TRingFrame &frame);
    /// Caption layouts and font answers are kept; a change of the fonts makes them stale.
    void ForgetFonts();

private:
    /// The state the kept pixels show.
    struct Key
    {
        quint64 changes = 0;
        qint64 palette = 0;
        QSize size;
        QRectF R;
        qreal ratio = 0;
        int hints = -1;
        bool operator==(const Key &) const = default;
    };
    /// The ring's pixels over what lay beneath, in a layer the size of the widget; only
    /// `drawn` of it is ever copied out.
    struct KeptLayer
    {
        Key key;
        bool valid = false;
        bool opaque = false; ///< holds what lay beneath too, so it is copied, not blended
        QImage image;
        QRegion drawn;
        void DrawOn(QPainter *p) const;
    };

    /// Where the ring lies in a frame: as long as this stays, the ring is at rest.
    struct Place
    {
        TRotaryMenuLayout layout = TRotaryMenu::rmlCircularDonut;
        int count = -1;
        int size = 0;
        QRectF R, RI;
        float sta = 0, stp = 0, st = 0;
        bool operator==(const Place &) const = default;
    };

    /// Shadow and items onto `target`, which holds what lies beneath the ring (or nothing).
    void compose(QImage &target, const QPainter *p, const TRingFrame &frame, bool onPool);
    void drawShadow(QPainter *p, const TRingFrame &frame, bool underOpaqueItems);
    /// Where a frame of the ring can paint, in the pixels of a layer at `ratio`.
    QRegion ringArea(const TRingFrame &frame, qreal ratio) const;
    static void drawFocus(QPainter *p, const TRingFrame &frame);

    ItemCompositor m_items;
    TPathGradientCache m_shadow; ///< the ring's shadow brush's table, the same frame after frame
    KeptLayer m_kept;
    Place m_lastPlace; ///< of the last frame painted
};

} // namespace zc::ring
