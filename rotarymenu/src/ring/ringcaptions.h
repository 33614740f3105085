// SPDX-License-Identifier: MIT
// Item captions: the font fallback, laid-out text kept between frames, and where glyphs reach.
#pragma once

#include "ring/ringframe.h"

#include <QFont>
#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <QStaticText>
#include <QString>

class QPaintDevice;
class QPainter;

namespace zc::ring {

/// Draws captions. Finding a font family and laying a caption out cost more than drawing its
/// glyphs, and an animation draws the same captions frame after frame, so both are kept
/// until Forget() (when the fonts change).
class TRingCaptions
{
public:
    /// Draws the caption of `item` in `box`.
    void Draw(QPainter *p, const TRingItem &item, const QRectF &box);
    /// Where the caption may paint in `box` on `device`: its place with room around it, in
    /// logical pixels (empty without a caption).
    QRectF Ink(const TRingItem &item, const QRectF &box, const QPaintDevice *device);
    void Forget();

private:
    /// A caption's size and, without an access key to underline, its laid-out text.
    struct Layout
    {
        QSizeF size;
        QRectF ink; ///< where its glyphs may reach, from its top left corner
        QStaticText text;
    };
    struct Key
    {
        QString caption;
        QFont font;
        int dpi = 0;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.caption, key.font, key.dpi);
        }
    };
    /// The item's font, or Arial when its family is missing.
    QFont font(const QFont &font);
    const Layout &layout(const QString &caption, const QFont &font, const QPaintDevice *device);
    static QPointF placeOf(const TRingItem &item, const QRectF &box, const QSizeF &size);

    QHash<QString, bool> m_knownFamilies;
    QHash<Key, Layout> m_layouts;
};

} // namespace zc::ring
