// SPDX-License-Identifier: MIT
// Path-gradient brush: colours blended from an outline towards a centre point.
#pragma once

#include "raster/pathcoverage.h"

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPair>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <vector>

class QPainter;
namespace zc::ring {

struct TPathGradientTable;

/// What a path-gradient brush keeps from one fill to the next: the colours along its blend
/// and its outline's coverage. A shadow or glow is filled with the same blend frame after
/// frame, and making the table and the coverage's memory afresh each time costs more than
/// filling; whoever fills one again and again keeps one of these and hands it to the brush.
class TPathGradientCache
{
public:
    TPathGradientCache();
    ~TPathGradientCache();
    TPathGradientCache(const TPathGradientCache &) = delete;
    TPathGradientCache &operator=(const TPathGradientCache &) = delete;

private:
    friend class TPathGradient;
    std::shared_ptr<const TPathGradientTable> m_table; ///< the last blend's colours
    TPathCoverage m_outline;                           ///< kept for its memory
};

/// A brush that is `SurroundColors` on its outline and `CenterColor` at `CenterPoint`, or
/// follows a preset blend (position 0 = outline, 1 = centre). Outside the outline it paints
/// nothing (clamp). Curves are flattened; for the resulting polygon the colours are exact:
/// each edge and the centre form a triangle in which the colour varies perpendicular to the
/// edge. The triangles are rasterised together into one layer, so they show no seams, and the
/// layer is masked by the anti-aliased outline, so the rim is smooth.
class TPathGradient
{
public:
    /// One (position, colour) pair of a preset blend.
    using TBlendStop = QPair<qreal, QColor>;

    explicit TPathGradient(const QPainterPath &outline);

    /// Defaults to the centroid of the outline's area.
    QPointF CenterPoint() const { return m_center; }
    void SetCenterPoint(const QPointF &center) { m_center = center; }

    /// Colour at the centre point; white by default.
    QColor CenterColor() const { return m_centerColor; }
    void SetCenterColor(const QColor &color) { m_centerColor = color; }

    /// Colours of the outline's points in order; the last one repeats for the remaining points.
    /// White by default. Ignored while a preset blend is set.
    QList<QColor> SurroundColors() const { return m_surround; }
    void SetSurroundColors(const QList<QColor> &colors) { m_surround = colors; }

    /// Preset blend; the positions must run from 0 to 1. An empty list removes the blend.
    QList<TBlendStop> InterpolationColors() const { return m_blend; }
    void SetInterpolationColors(const QList<TBlendStop> &stops) { m_blend = stops; }

    /// The outline the brush was made from.
    const QPainterPath &Outline() const { return m_outline; }

    /// Fills keep their colour table and coverage memory in `cache` (owned by the caller, who
    /// keeps it alive while the brush fills); without one each fill makes its own.
    void SetCache(TPathGradientCache *cache) { m_cache = cache; }

    /// The brush's colour at a point (in the brush's coordinates); transparent outside.
    QColor ColorAt(const QPointF &point) const;

    /// Fills the outline with the brush.
    void Fill(QPainter *painter) const;
    /// Fills an area with the brush: only where the area and the outline overlap is painted.
    void Fill(QPainter *painter, const QPainterPath &area) const;
    void Fill(QPainter *painter, const QRectF &area) const;
    /// Fills the outline underneath what is painted already (destination-over), as a shadow
    /// painted after the shapes that cast it. Drawing straight onto an image, the pixels that
    /// image already holds opaquely are not worked out at all.
    void FillBehind(QPainter *painter) const;
    /// Fills the outline as Fill() does, before shapes that are then painted over it opaquely
    /// wherever their coverages (in the device's pixels) are full: those pixels are left
    /// alone. Drawing straight onto an image, they are not worked out either.
    void FillUnder(QPainter *painter, const std::vector<const TPathCoverage *> &shapes) const;

private:
    void fill(QPainter *painter, const QPainterPath &area, bool behind,
              const std::vector<const TPathCoverage *> *under = nullptr) const;

    QPainterPath m_outline;
    QPointF m_center;
    QColor m_centerColor = Qt::white;
    QList<QColor> m_surround{QColor(Qt::white)};
    QList<TBlendStop> m_blend;
    TPathGradientCache *m_cache = nullptr;
};

} // namespace zc::ring
