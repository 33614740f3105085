// SPDX-License-Identifier: MIT
// Anti-aliased coverage of a filled outline, worked out as spans without a painter.
#include "raster/pathcoverage.h"

#include <QtMath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace zc::ring {

namespace {

// The share of a pixel that a winding number gives, as 0..255.
inline int shareOf(double winding, Qt::FillRule rule)
{
    double w = std::abs(winding);
    if (w > 1) {
        if (rule == Qt::OddEvenFill) {
            w -= 2 * std::floor(w / 2);
            w = w > 1 ? 2 - w : w;
        } else {
            w = 1;
        }
    }
    return int(w * 255 + 0.5);
}

// Qt's rounding multiply of the four channels of a premultiplied pixel by a / 255.
inline uint byteMul(uint x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

// The outline as closed polygons, curves split finely enough (a fiftieth of a pixel at most)
// that the chords cannot be told from the curve.
std::vector<std::vector<QPointF>> flatten(const QPainterPath &path)
{
    constexpr double tolerance = 0.02;
    std::vector<std::vector<QPointF>> polygons;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo() || polygons.empty()) {
            polygons.emplace_back();
        }
        std::vector<QPointF> &poly = polygons.back();
        if (!e.isCurveTo() || poly.empty() || i + 2 >= path.elementCount()) {
            poly.push_back(e);
            continue;
        }
        const QPointF p0 = poly.back(), p1 = e, p2 = path.elementAt(i + 1),
                      p3 = path.elementAt(i + 2);
        i += 2;
        // A cubic's chords of n equal steps stray at most max|B''| / (8 n^2) from it, and
        // |B''| is at most six times the larger second difference of its control points.
        const QPointF d1 = p0 - 2 * p1 + p2, d2 = p1 - 2 * p2 + p3;
        const double bend = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
        const double steps = std::ceil(std::sqrt(0.75 * bend / tolerance));
        const int n = qIsFinite(steps) ? int(std::clamp(steps, 1.0, 4096.0)) : 1;
        for (int k = 1; k <= n; ++k) {
            const double t = double(k) / n, u = 1 - t;
            poly.push_back(u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 +
                           t * t * t * p3);
        }
    }
    return polygons;
}

} // namespace

TPathCoverage::TPathCoverage(const QPainterPath &path, const QRect &clip)
{
    Compute(path, clip);
}

void TPathCoverage::Compute(const QPainterPath &path, const QRect &clip)
{
    m_spans.clear();
    m_edges.clear();
    if (clip.isEmpty() || path.isEmpty()) {
        return;
    }
    m_clip = clip;
    for (const std::vector<QPointF> &polygon : flatten(path)) {
        // Every subpath counts as closed, as it does when filled.
        for (size_t i = 0; i < polygon.size(); ++i) {
            addEdge(polygon[i], polygon[(i + 1) % polygon.size()]);
        }
    }
    // The edges by their first row, then the rows from the top with the edges that cross
    // each: every row's cells land in one row of accumulators, read back left to right.
    const int rows = clip.height();
    std::vector<int> &first = m_rowStart;
    first.assign(size_t(rows) + 1, 0);
    for (const Edge &e : m_edges) {
        ++first[size_t(e.row) + 1];
    }
    for (int r = 0; r < rows; ++r) {
        first[size_t(r) + 1] += first[size_t(r)];
    }
    m_order.resize(m_edges.size());
    m_rowFill.assign(first.begin(), first.end() - 1);
    for (int n = 0; n < int(m_edges.size()); ++n) {
        m_order[size_t(m_rowFill[size_t(m_edges[size_t(n)].row)]++)] = n;
    }
    const int width = clip.width();
    m_accumulators.assign(size_t(width) + 1, 0.0f);
    m_touched.assign(size_t(width) / 64 + 1, 0);
    m_active.clear();
    const Qt::FillRule rule = path.fillRule();
    for (int r = 0; r < rows; ++r) {
        for (int k = first[size_t(r)]; k < first[size_t(r) + 1]; ++k) {
            m_active.push_back(m_order[size_t(k)]);
        }
        if (m_active.empty()) {
            continue;
        }
        const double top = clip.top() + r;
        size_t kept = 0;
        for (const int n : m_active) {
            const Edge &e = m_edges[size_t(n)];
            const double ya = std::max(top, e.top);
            const double yb = std::min(top + 1, e.bottom);
            if (yb > ya) {
                accumulate(e.x + (ya - e.top) * e.dxdy, e.x + (yb - e.top) * e.dxdy,
                           (yb - ya) * e.dir);
            }
            if (e.bottom > top + 1) {
                m_active[kept++] = n;
            }
        }
        m_active.resize(kept);
        sweepRow(clip.top() + r, rule);
    }
}

void TPathCoverage::addEdge(QPointF a, QPointF b)
{
    if (!qIsFinite(a.x()) || !qIsFinite(a.y()) || !qIsFinite(b.x()) || !qIsFinite(b.y()) ||
        a.y() == b.y()) {
        return;
    }
    // What lies left of the clip is laid along its left side, where it still decides the
    // winding of the pixels to its right; what lies right of it decides nothing inside.
    // Cut at the two sides so that every piece lies wholly left, inside or right.
    const double left = m_clip.left();
    const double right = m_clip.right() + 1.0;
    double cuts[4] = {0, 1, 1, 1};
    int n = 1;
    for (const double side : {left, right}) {
        if ((a.x() - side) * (b.x() - side) < 0) {
            cuts[n++] = (side - a.x()) / (b.x() - a.x());
        }
    }
    if (n == 3 && cuts[1] > cuts[2]) {
        std::swap(cuts[1], cuts[2]);
    }
    cuts[n++] = 1;
    const auto at = [&](double t) { return a + (b - a) * t; };
    for (int i = 0; i + 1 < n; ++i) {
        QPointF p = at(cuts[i]), q = at(cuts[i + 1]);
        const double mid = (p.x() + q.x()) / 2;
        if (mid >= right) {
            continue;
        }
        if (mid < left) {
            p.setX(left);
            q.setX(left);
        }
        double dir = 1;
        if (p.y() > q.y()) {
            std::swap(p, q);
            dir = -1;
        }
        const double top = std::max<double>(p.y(), m_clip.top());
        const double bottom = std::min<double>(q.y(), m_clip.bottom() + 1);
        if (bottom <= top) {
            continue;
        }
        const double dxdy = (q.x() - p.x()) / (q.y() - p.y());
        const int row = int(std::floor(top)) - m_clip.top();
        m_edges.push_back({top, bottom, p.x() + (top - p.y()) * dxdy, dxdy, dir, row});
    }
}

// The piece of an edge inside the current row, from x = xa to x = xb, rising by d (signed):
// each pixel it crosses takes the part of d that lies right of the edge within that pixel.
__attribute__((always_inline)) inline void TPathCoverage::accumulate(double xa, double xb, double d)
{
    const auto cell = [this](int x, double delta) {
        x = std::clamp(x - m_clip.left(), 0, m_clip.width());
        m_accumulators[size_t(x)] += float(delta);
        m_touched[size_t(x) / 64] |= quint64(1) << (x % 64);
    };
    const double x0 = std::min(xa, xb);
    const double x1 = std::max(xa, xb);
    const int x0i = int(std::floor(x0));
    const int x1i = int(std::ceil(x1));
    if (x1i <= x0i + 1) {
        const double xmf = 0.5 * (xa + xb) - x0i;
        cell(x0i, d - d * xmf);
        cell(x0i + 1, d * xmf);
        return;
    }
    const double s = 1.0 / (x1 - x0);
    const double x0f = x0 - x0i;
    const double a0 = 0.5 * s * (1 - x0f) * (1 - x0f);
    const double x1f = x1 - x1i + 1;
    const double am = 0.5 * s * x1f * x1f;
    cell(x0i, d * a0);
    if (x1i == x0i + 2) {
        cell(x0i + 1, d * (1 - a0 - am));
    } else {
        const double a1 = s * (1.5 - x0f);
        cell(x0i + 1, d * (a1 - a0));
        for (int xi = x0i + 2; xi < x1i - 1; ++xi) {
            cell(xi, d * s);
        }
        const double a2 = a1 + (x1i - x0i - 3) * s;
        cell(x1i - 1, d * (1 - a2 - am));
    }
    cell(x1i, d * am);
}

// Reads the row's accumulators left to right (and clears them): each touched pixel gets
// the winding so far, and the pixels up to the next touched one keep it.
void TPathCoverage::sweepRow(int y, Qt::FillRule rule)
{
    const int width = m_clip.width();
    const int left = m_clip.left();
    // Spans of this row so far lie after `rowStart`; the last of them grows while the
    // coverage stays.
    const size_t rowStart = m_spans.size();
    double winding = 0;
    int x = -1;    // the last touched pixel, relative to the clip
    int share = 0; // its coverage, which the pixels up to the next touched one share
    // Inlined: it runs for every touched pixel, and the call would cost as much as the work.
    const auto addRun = [&](int to) __attribute__((always_inline))
    {
        if (share <= 0 || to <= x) {
            return;
        }
        const int at = left + x;
        if (m_spans.size() > rowStart) {
            Span &last = m_spans.back();
            if (last.x + last.length == at && last.coverage == share) {
                last.length += to - x;
                return;
            }
        }
        m_spans.push_back({at, y, to - x, quint8(share)});
    };
    quint64 *const touched = m_touched.data();
    float *const accumulators = m_accumulators.data();
    const size_t words = m_touched.size();
    for (size_t word = 0; word < words; ++word) {
        quint64 bits = touched[word];
        if (!bits) {
            continue;
        }
        touched[word] = 0;
        do {
            const int next = int(word * 64) + std::countr_zero(bits);
            bits &= bits - 1;
            addRun(std::min(next, width));
            winding += accumulators[next];
            accumulators[next] = 0;
            x = next;
            share = shareOf(winding, rule);
        } while (bits);
    }
    // What reaches past the last touched pixel runs on to the clip's right side.
    addRun(width);
}

QImage TPathCoverage::Mask(const QRect &area) const
{
    QImage mask(area.size(), QImage::Format_Alpha8);
    mask.fill(0);
    for (const Span &s : m_spans) {
        if (s.y < area.top() || s.y > area.bottom()) {
            continue;
        }
        const int x0 = std::max(s.x, area.left());
        const int x1 = std::min(s.x + s.length, area.right() + 1);
        if (x1 > x0) {
            std::memset(mask.scanLine(s.y - area.top()) + (x0 - area.left()), s.coverage,
                        size_t(x1 - x0));
        }
    }
    return mask;
}

namespace {

// One run of a composite: the pixels of `src` from x up to x1 (both indexed like `dst`) over
// `dst`, weighted by `coverage`.
inline __attribute__((always_inline)) void overRun(QRgb *dst, const QRgb *src, int x, int x1,
                                                   int coverage)
{
    if (coverage == 255) {
        // Inside, the source is mostly opaque: such runs are plain copies.
        while (x < x1) {
            const int run = FirstNotOpaque(src, x, x1);
            std::memcpy(dst + x, src + x, size_t(run - x) * sizeof(QRgb));
            for (x = run; x < x1 && (src[x] >> 24) != 255; ++x) {
                dst[x] = src[x] + byteMul(dst[x], 255 - (src[x] >> 24));
            }
        }
        return;
    }
    for (; x < x1; ++x) {
        const uint px = byteMul(src[x], uint(coverage));
        dst[x] = px + byteMul(dst[x], 255 - (px >> 24));
    }
}

inline void fillRun(QRgb *dst, QRgb color, int x, int x1)
{
#ifdef __SSE2__
    const __m128i four = _mm_set1_epi32(int(color));
    for (; x + 4 <= x1; x += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + x), four);
    }
#endif
    for (; x < x1; ++x) {
        dst[x] = color;
    }
}

// The same for one colour all along the run.
inline __attribute__((always_inline)) void overFill(QRgb *dst, QRgb color, int x, int x1,
                                                    int coverage)
{
    const uint px = coverage == 255 ? color : byteMul(color, uint(coverage));
    if ((px >> 24) == 255) {
        fillRun(dst, px, x, x1);
        return;
    }
    for (; x < x1; ++x) {
        dst[x] = px + byteMul(dst[x], 255 - (px >> 24));
    }
}

// Calls `run(y, x0, x1, coverage)` for each span's part inside `into`.
template <typename Run> void forSpansIn(const TPathCoverage &coverage, const QRect &into, Run run)
{
    for (const TPathCoverage::Span &s : coverage.Spans()) {
        if (s.y < into.top() || s.y > into.bottom()) {
            continue;
        }
        const int x0 = std::max(s.x, into.left());
        const int x1 = std::min(s.x + s.length, into.right() + 1);
        if (x1 > x0) {
            run(s.y, x0, x1, s.coverage);
        }
    }
}

// A row of a box drawn out along its rows, from x up to x1: `copy` is the row's narrower
// copy, indexed by the box's x on its left.
template <typename Copy, typename Fill>
inline __attribute__((always_inline)) void alongRow(const TDrawnOut &layout, const QRgb *copy,
                                                    int x, int x1, Copy copyRun, Fill fill)
{
    if (x >= layout.from && x1 <= layout.to) {
        fill(copy[layout.from], x, x1); // most of a row
        return;
    }
    copyRun(copy, x, std::min(x1, layout.from));
    if (std::max(x, layout.from) < std::min(x1, layout.to)) {
        fill(copy[layout.from], std::max(x, layout.from), std::min(x1, layout.to));
    }
    copyRun(copy - layout.shift, std::max(x, layout.to), x1);
}

} // namespace

void CompositeOver(QImage &target, const QImage &source, const QPoint &origin,
                   const TPathCoverage &coverage)
{
    const QRect into = target.rect() & source.rect().translated(origin);
    // scanLine() would check the image for sharing on every span.
    uchar *const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const uchar *const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    forSpansIn(coverage, into, [&](int y, int x0, int x1, int k) {
        const auto *src =
            reinterpret_cast<const QRgb *>(sourceBits + (y - origin.y()) * sourceStride) -
            origin.x();
        overRun(reinterpret_cast<QRgb *>(bits + y * stride), src, x0, x1, k);
    });
}

int TDrawnOut::CopiedLine(int i) const
{
    return offset + (i < from ? i : i < to ? from : i - shift);
}

void DrawOutInPlace(QImage &source, const TDrawnOut &layout)
{
    const QRect own = layout.own & QRect(QPoint(0, 0), layout.box);
    if (own.isEmpty()) {
        return;
    }
    uchar *const bits = source.bits();
    const qsizetype stride = source.bytesPerLine();
    const auto row = [&](int y) { return reinterpret_cast<QRgb *>(bits + y * stride); };
    for (int y = own.top(); y <= own.bottom(); ++y) {
        QRgb *const line = row(y);
        if (layout.direction == Qt::Vertical) {
            std::memcpy(line + own.left(), row(layout.CopiedLine(y)) + own.left(),
                        size_t(own.width()) * sizeof(QRgb));
            continue;
        }
        const auto copyRun = [line](const QRgb *from, int x, int x1) {
            if (x1 > x) {
                std::memcpy(line + x, from + x, size_t(x1 - x) * sizeof(QRgb));
            }
        };
        const auto fill = [line](QRgb color, int x, int x1) { fillRun(line, color, x, x1); };
        alongRow(layout, line + layout.offset, own.left(), own.right() + 1, copyRun, fill);
    }
}

void CompositeOver(QImage &target, const QImage &source, const QPoint &origin,
                   const TPathCoverage &coverage, const TDrawnOut &layout)
{
    const QRect into = target.rect() & QRect(origin, layout.box);
    uchar *const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const uchar *const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const auto sourceRow = [&](int row) {
        return reinterpret_cast<const QRgb *>(sourceBits + row * sourceStride);
    };
    const QRect &own = layout.own;
    forSpansIn(coverage, into, [&](int y, int x0, int x1, int k) {
        // In the box's pixels: dst and the source's rows are indexed by the box's x.
        QRgb *const dst = reinterpret_cast<QRgb *>(bits + y * stride) + origin.x();
        const int row = y - origin.y();
        const int x = x0 - origin.x(), end = x1 - origin.x();
        const bool inOwn =
            row >= own.top() && row <= own.bottom() && end > own.left() && x <= own.right();
        if (layout.direction == Qt::Vertical &&
            (!inOwn || (x >= own.left() && end <= own.right() + 1))) {
            overRun(dst, inOwn ? sourceRow(row) : sourceRow(layout.CopiedLine(row)), x, end, k);
            return;
        }
        const auto copyRun = [&](const QRgb *from, int a, int b) { overRun(dst, from, a, b, k); };
        const auto fill = [&](QRgb color, int a, int b) { overFill(dst, color, a, b, k); };
        const auto drawnOut = [&](int a, int b) {
            if (a >= b) {
                return;
            }
            if (layout.direction == Qt::Vertical) {
                overRun(dst, sourceRow(layout.CopiedLine(row)), a, b, k);
            } else {
                alongRow(layout, sourceRow(row) + layout.offset, a, b, copyRun, fill);
            }
        };
        if (!inOwn) {
            drawnOut(x, end);
            return;
        }
        const int ownFrom = std::max(x, own.left()), ownTo = std::min(end, own.right() + 1);
        drawnOut(x, ownFrom);
        overRun(dst, sourceRow(row), ownFrom, ownTo, k);
        drawnOut(ownTo, end);
    });
}

void TScratchImage::reserve(const QSize &size, qreal ratio)
{
    if (m_buffer.width() < size.width() || m_buffer.height() < size.height()) {
        // By half again at least: a spin-in asks for a little more every frame, and fresh
        // memory is paid for again page by page when first written.
        m_buffer =
            QImage(size.expandedTo(m_buffer.size() * 3 / 2), QImage::Format_ARGB32_Premultiplied);
    }
    m_buffer.setDevicePixelRatio(ratio);
}

QImage &TScratchImage::ClearedIn(const QSize &size, qreal ratio, const QRect &part)
{
    reserve(size, ratio);
    uchar *const bits = m_buffer.bits();
    const qsizetype stride = m_buffer.bytesPerLine();
    const QRect r = part & QRect(QPoint(0, 0), size);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::memset(bits + y * stride + r.left() * 4, 0, size_t(r.width()) * 4);
    }
    return m_buffer;
}

QImage &TScratchImage::ClearedUnder(const QSize &size, qreal ratio, const TPathCoverage &coverage,
                                    const QPoint &origin)
{
    reserve(size, ratio);
    uchar *const bits = m_buffer.bits();
    const qsizetype stride = m_buffer.bytesPerLine();
    // One run per row, from its first covered pixel to its last.
    const std::vector<TPathCoverage::Span> &spans = coverage.Spans();
    for (size_t i = 0; i < spans.size();) {
        const int y = spans[i].y;
        const int x0 = spans[i].x;
        int x1 = x0;
        for (; i < spans.size() && spans[i].y == y; ++i) {
            x1 = spans[i].x + spans[i].length;
        }
        const int row = y - origin.y();
        const int from = std::max(x0 - origin.x(), 0);
        const int to = std::min(x1 - origin.x(), size.width());
        if (row >= 0 && row < size.height() && to > from) {
            std::memset(bits + row * stride + from * 4, 0, size_t(to - from) * 4);
        }
    }
    return m_buffer;
}

} // namespace zc::ring
