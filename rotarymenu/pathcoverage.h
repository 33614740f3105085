// SPDX-License-Identifier: MIT
// Anti-aliased coverage of a filled outline, worked out as spans without a painter.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRect>

#include <vector>

/// A change of the winding number at one pixel of one row: every pixel from `x` on to the
/// right gains `delta` (the pixel `x` itself only its share right of the edge).
struct TPathCoverageCell
{
    int y;
    int x;
    float delta;
};

/// The pixels a filled outline covers, anti-aliased: each pixel's share is the area of its
/// square inside the flattened outline, under the outline's fill rule. The rows are worked out
/// from the cells the edges cross, so the cost follows the outline's length and height rather
/// than the area it encloses, and nothing is handed to the raster engine's thread pool.
class TPathCoverage
{
public:
    /// A run of pixels on one row with the same coverage, 1 to 255.
    struct Span
    {
        int x;
        int y;
        int length;
        quint8 coverage;
    };

    TPathCoverage() = default;
    /// `path` in device pixels; only pixels inside `clip` are kept.
    TPathCoverage(const QPainterPath &path, const QRect &clip);
    /// Works out another outline, reusing the memory of the last one: painting many outlines
    /// a frame, fresh memory for each would cost more than the work.
    void Compute(const QPainterPath &path, const QRect &clip);

    /// Row by row from the top, left to right within a row, never overlapping.
    const std::vector<Span> &Spans() const { return m_spans; }
    /// The coverage of the pixels of `area` as a Format_Alpha8 image (0 where nothing is).
    QImage Mask(const QRect &area) const;

private:
    std::vector<Span> m_spans;
    std::vector<TPathCoverageCell> m_cells, m_sorted;
    std::vector<int> m_rowStart, m_rowFill;
};

/// Lays the premultiplied pixels of `source`, whose pixel (0, 0) lies at `origin` of `target`,
/// over `target` (premultiplied ARGB32) wherever `coverage` reaches, each pixel weighted by its
/// coverage: what filling the outline with `source` as the brush does.
void CompositeOver(QImage &target, const QImage &source, const QPoint &origin,
                   const TPathCoverage &coverage);

/// Premultiplied image memory kept from frame to frame: each call hands out a cleared image of
/// the asked size over the same memory, which grows when needed. The image is good until the
/// next call.
class TScratchImage
{
public:
    QImage Cleared(const QSize &size, qreal ratio);

private:
    QImage m_buffer;
};
