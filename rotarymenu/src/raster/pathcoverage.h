// SPDX-License-Identifier: MIT
// Anti-aliased coverage of a filled outline, worked out as spans without a painter.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRect>

#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zc::ring {

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
    /// An edge's piece within the clip's rows, top to bottom.
    struct Edge
    {
        double top, bottom; // y range
        double x;           // at `top`
        double dxdy;
        double dir; // 1 going down, -1 going up
        int row;    // first row, from the clip's top
    };
    void addEdge(QPointF a, QPointF b);
    void accumulate(double xa, double xb, double d);
    void sweepRow(int y, Qt::FillRule rule);

    QRect m_clip;
    std::vector<Span> m_spans;
    std::vector<Edge> m_edges;
    std::vector<int> m_rowStart, m_rowFill, m_order, m_active;
    std::vector<float> m_accumulators; ///< one row's winding changes, one per pixel
    std::vector<quint64> m_touched;    ///< which of them are set
};

/// The first pixel of `line` from `x` on, before `end`, that is not opaque; `end` when there is
/// none. Runs of eight are ruled out at once, as most pixels of a painted ring are opaque.
inline int FirstNotOpaque(const QRgb *line, int x, int end)
{
#ifdef __SSE2__
    const __m128i alpha = _mm_set1_epi32(int(0xff000000u));
    for (; x + 8 <= end; x += 8) {
        const __m128i both =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(line + x)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i *>(line + x + 4)));
        const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(both, alpha), alpha);
        if (_mm_movemask_epi8(opaque) != 0xffff) {
            break;
        }
    }
#else
    for (; x + 8 <= end; x += 8) {
        QRgb opaque = 0xff000000u;
        for (int k = 0; k < 8; ++k) {
            opaque &= line[x + k];
        }
        if (opaque < 0xff000000u) {
            break;
        }
    }
#endif
    while (x < end && qAlpha(line[x]) == 255) {
        ++x;
    }
    return x;
}

/// Lays the premultiplied pixels of `source`, whose pixel (0, 0) lies at `origin` of `target`,
/// over `target` (premultiplied ARGB32) wherever `coverage` reaches, each pixel weighted by its
/// coverage: what filling the outline with `source` as the brush does.
void CompositeOver(QImage &target, const QImage &source, const QPoint &origin,
                   const TPathCoverage &coverage);

/// Where the pixels of a box painted in pieces lie in its source image: a fill that is alike
/// along each line in `direction` (rows for Qt::Horizontal) was painted `shift` pixels
/// narrower across the lines, `offset` pixels past the box (beside it for rows, below it for
/// columns), so that from `from` up to `to` across the lines one line of it stands for all.
/// Only `own` (a caption over the fill, say) was painted in place. All in the box's pixels.
struct TDrawnOut
{
    Qt::Orientation direction = Qt::Horizontal;
    QSize box;
    int offset = 0;
    int from = 0;
    int to = 0;
    int shift = 0;
    QRect own;
    /// The line of the copy that stands for line `i` across the lines of the box.
    int CopiedLine(int i) const;
};

/// Writes the pixels of the box's `own` part from the copy, as if the fill had been painted
/// there: what goes over it can then be painted in place.
void DrawOutInPlace(QImage &source, const TDrawnOut &layout);

/// CompositeOver() for a source painted as `layout` says, its box's (0, 0) at `origin`.
void CompositeOver(QImage &target, const QImage &source, const QPoint &origin,
                   const TPathCoverage &coverage, const TDrawnOut &layout);

/// A premultiplied image kept from frame to frame, grown when a use asks for more: each use
/// paints into its top left `size` part, and what lies beyond is never read. Being the same
/// image every time, it keeps its paint engine, which a fresh image would have to set up again.
class TScratchImage
{
public:
    /// Cleared only under `coverage` (placed with the image's top left corner at `origin`):
    /// all that CompositeOver() reads of it. The rest holds what the last use left.
    QImage &ClearedUnder(const QSize &size, qreal ratio, const TPathCoverage &coverage,
                         const QPoint &origin);
    /// Cleared only in `part`.
    QImage &ClearedIn(const QSize &size, qreal ratio, const QRect &part);

private:
    void reserve(const QSize &size, qreal ratio);

    QImage m_buffer;
};

} // namespace zc::ring
