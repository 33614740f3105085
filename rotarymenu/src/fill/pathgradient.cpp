// SPDX-License-Identifier: MIT
// Path-gradient brush: a seamless triangle fan rasterised into a layer, masked by the outline.
#include "fill/pathgradient.h"

#include "raster/pathcoverage.h"

#include <QPaintEngine>
#include <QPainter>
#include <QtMath>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace zc::ring {

// The colours along a blend (or from the one surround colour to the centre), plain and
// premultiplied, at evenly spaced positions from the outline (0) to the centre (1).
struct TPathGradientTable
{
    static constexpr size_t kSize = 1025;
    std::vector<std::pair<double, QRgb>> blend;
    QRgb surround = 0;
    QRgb center = 0;
    std::array<QRgb, kSize> plain{};
    std::array<QRgb, kSize> premultiplied{};
};

TPathGradientCache::TPathGradientCache() = default;
TPathGradientCache::~TPathGradientCache() = default;

namespace {

using Table = TPathGradientTable;

// One edge of the flattened outline with the centre: the colour depends on s, the fraction of
// the way from the centre to the edge along the ray through the point, which is constant on
// lines parallel to the edge.
struct Triangle
{
    QPointF c, a, b;
    QPointF ac, bc; // a - c and b - c, asked for with every pixel
    double inv;     // 1 / cross(a - c, b - c)
    double margin;  // how far past the edge (in s) a point still counts, to feed anti-aliasing
    int ia, ib;     // indices of a and b into the surround colours
};

struct Claim
{
    int priority = 0; // 0 none, 1 just outside the edge, 2 inside the triangle
    double s = 0;     // 0 at the centre, 1 on the edge
    double beta = 0;  // s times the way from a (0) to b (1)
    // A blend only needs s; the way along the edge costs a division, so it waits until asked.
    double u() const { return s > 0 ? beta / s : 0.0; }
};

inline double cross(QPointF p, QPointF q)
{
    return p.x() * q.y() - p.y() * q.x();
}

// Each triangle owns the ray from the centre through its b point and not the one through a;
// the two cross products of a shared ray are negations of one another, so every point on it
// belongs to exactly one of the two neighbours.
inline bool claim(const Triangle &t, QPointF x, Claim &out)
{
    const QPointF d = x - t.c;
    const double alpha = cross(d, t.bc) * t.inv;
    const double beta = cross(t.ac, d) * t.inv;
    // The centre itself has alpha = beta = 0 and goes to whichever triangle asks first.
    if (alpha < 0 || beta < 0 || (beta == 0 && alpha > 0)) {
        return false;
    }
    const double s = alpha + beta;
    const int priority = s <= 1 ? 2 : (s <= 1 + t.margin ? 1 : 0);
    if (priority <= out.priority) {
        return false;
    }
    out = {priority, s, beta};
    return true;
}

inline QRgb mix(QRgb p, QRgb q, double t)
{
    // The result lies between a and b, both 0..255, so adding a half rounds it.
    const auto m = [t](int a, int b) { return int(a + (b - a) * t + 0.5); };
    return qRgba(m(qRed(p), qRed(q)), m(qGreen(p), qGreen(q)), m(qBlue(p), qBlue(q)),
                 m(qAlpha(p), qAlpha(q)));
}

QPointF centroid(const QList<QPolygonF> &polygons)
{
    double area = 0, cx = 0, cy = 0, sx = 0, sy = 0;
    int n = 0;
    for (const QPolygonF &poly : polygons) {
        for (int i = 0; i < poly.size(); ++i) {
            const QPointF p = poly[i], q = poly[(i + 1) % poly.size()];
            const double w = cross(p, q);
            area += w;
            cx += (p.x() + q.x()) * w;
            cy += (p.y() + q.y()) * w;
            sx += p.x();
            sy += p.y();
            ++n;
        }
    }
    if (std::abs(area) > 1e-9) {
        return {cx / (3 * area), cy / (3 * area)};
    }
    return n ? QPointF(sx / n, sy / n) : QPointF();
}

// The outline as closed polygons without the repeated closing point.
QList<QPolygonF> polygonsOf(const QPainterPath &path, const QTransform &transform)
{
    QList<QPolygonF> result = path.toSubpathPolygons(transform);
    for (QPolygonF &poly : result) {
        if (poly.size() > 1 && poly.first() == poly.last()) {
            poly.removeLast();
        }
    }
    result.removeIf([](const QPolygonF &poly) { return poly.size() < 2; });
    return result;
}

// The runs of pixels, row by row from the top, that one of a set of coverages holds fully.
class HiddenRuns
{
public:
    explicit HiddenRuns(const std::vector<const TPathCoverage *> *shapes)
    {
        for (size_t n = 0; shapes && n < shapes->size(); ++n) {
            const std::vector<TPathCoverage::Span> &spans = (*shapes)[n]->Spans();
            if (!spans.empty()) {
                m_left.push_back({spans.data(), spans.data() + spans.size()});
            }
        }
    }
    // The runs (first pixel, one past the last) of row y, by their start; each row is asked
    // for at most once, from the top down.
    const std::vector<std::pair<int, int>> &Row(int y)
    {
        m_runs.clear();
        for (size_t n = 0; n < m_left.size();) {
            Left &left = m_left[n];
            for (; left.next != left.end && left.next->y < y; ++left.next) {
            }
            for (; left.next != left.end && left.next->y == y; ++left.next) {
                if (left.next->coverage == 255) {
                    m_runs.push_back({left.next->x, left.next->x + left.next->length});
                }
            }
            if (left.next == left.end) { // nothing below: the shape is done with
                left = m_left.back();
                m_left.pop_back();
            } else {
                ++n;
            }
        }
        // A row crosses a handful of shapes at most.
        for (size_t i = 1; i < m_runs.size(); ++i) {
            for (size_t j = i; j > 0 && m_runs[j] < m_runs[j - 1]; --j) {
                std::swap(m_runs[j], m_runs[j - 1]);
            }
        }
        return m_runs;
    }

private:
    struct Left // a shape's spans not yet passed
    {
        const TPathCoverage::Span *next;
        const TPathCoverage::Span *end;
    };
    std::vector<Left> m_left;
    std::vector<std::pair<int, int>> m_runs;
};

// Renders the brush's colours into device pixels; the colour function turns a claim into ARGB.
class FanRasterizer
{
public:
    // A table kept in `table` for the same colours serves again; otherwise a new one is kept.
    FanRasterizer(const TPathGradient &brush, const QTransform &transform,
                  std::shared_ptr<const Table> &table)
    {
        // The blend as plain pixels: the look-up table below asks for a thousand colours.
        for (const auto &[position, color] : brush.InterpolationColors()) {
            m_blend.push_back({position, color.rgba()});
        }
        const QList<QPolygonF> polys = polygonsOf(brush.Outline(), transform);
        const QPointF c = transform.map(brush.CenterPoint());
        int base = 0;
        for (const QPolygonF &poly : polys) {
            for (int i = 0; i < poly.size(); ++i) {
                const int j = (i + 1) % poly.size();
                const QPointF a = poly[i], b = poly[j];
                const double o = cross(a - c, b - c);
                if (std::abs(o) < 1e-12) {
                    continue; // an edge seen edge-on from the centre covers nothing
                }
                const double edge = std::hypot(b.x() - a.x(), b.y() - a.y());
                const double dist = std::abs(o) / std::max(edge, 1e-12);
                m_triangles.push_back(
                    {c, a, b, a - c, b - c, 1 / o, 2 / std::max(dist, 1e-6), base + i, base + j});
            }
            base += poly.size();
        }
        for (const QColor &color : brush.SurroundColors()) {
            m_surround.push_back(color.rgba());
        }
        if (m_surround.empty()) {
            m_surround.push_back(qRgba(255, 255, 255, 255));
        }
        m_center = brush.CenterColor().rgba();
        if (!m_blend.empty() || m_surround.size() == 1) {
            m_lut = lookUpTable(table);
        }
    }

    QRgb color(const Claim &claim, const Triangle &t) const
    {
        const double pos = position(claim);
        if (m_lut) {
            return m_lut->plain[lutIndex(pos)];
        }
        return colorAt(pos, t.ia, t.ib, claim.u());
    }
    // The same, premultiplied: what is painted.
    QRgb premultipliedColor(const Claim &claim, const Triangle &t) const
    {
        const double pos = position(claim);
        if (m_lut) {
            return m_lut->premultiplied[lutIndex(pos)];
        }
        return qPremultiply(colorAt(pos, t.ia, t.ib, claim.u()));
    }

    QRgb sample(QPointF x) const
    {
        Claim best;
        const Triangle *owner = nullptr;
        for (const Triangle &t : m_triangles) {
            if (claim(t, x, best)) {
                owner = &t;
            }
        }
        return owner ? color(best, *owner) : 0;
    }

    // The brush over the pixels whose centres fall in `box` (device pixels), premultiplied and
    // weighted by the product of the two coverages (`area` may be null for full coverage).
    // Pixels that either coverage leaves out are never sampled: they would be weighted to
    // nothing, and skipping them is most of a thin shape's speed.
    QImage render(const QRect &box, const QImage &outline, const QImage *area) const
    {
        QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(0);
        // Only the best priority so far matters to later claims; the colour is final.
        std::vector<quint8> claims(size_t(box.width()) * box.height(), 0);
        for (const Triangle &t : m_triangles) {
            const double grow = 1 + t.margin;
            const QPointF a = t.c + (t.a - t.c) * grow, b = t.c + (t.b - t.c) * grow;
            const int x0 = std::max(box.left(), int(std::floor(std::min({t.c.x(), a.x(), b.x()}))));
            const int x1 = std::min(box.right(), int(std::ceil(std::max({t.c.x(), a.x(), b.x()}))));
            const int y0 = std::max(box.top(), int(std::floor(std::min({t.c.y(), a.y(), b.y()}))));
            const int y1 =
                std::min(box.bottom(), int(std::ceil(std::max({t.c.y(), a.y(), b.y()}))));
            const QPointF corners[3] = {t.c, a, b};
            const std::array<Edge, 3> edges = edgesOf(corners);
            for (int y = y0; y <= y1; ++y) {
                int sx0 = 0, sx1 = -1;
                if (!rowSpan(edges, y + 0.5, x0, x1, sx0, sx1)) {
                    continue;
                }
                const int row = y - box.top();
                auto *line = reinterpret_cast<QRgb *>(layer.scanLine(row));
                const uchar *m1 = outline.constScanLine(row);
                const uchar *m2 = area ? area->constScanLine(row) : nullptr;
                quint8 *best = claims.data() + size_t(row) * box.width();
                for (int x = sx0; x <= sx1; ++x) {
                    const int i = x - box.left();
                    const int k = m1[i] * (m2 ? m2[i] : 255);
                    if (k == 0) {
                        continue;
                    }
                    Claim c{best[i], 0, 0};
                    if (claim(t, QPointF(x + 0.5, y + 0.5), c)) {
                        best[i] = quint8(c.priority);
                        line[i] = weighted(premultipliedColor(c, t), k);
                    }
                }
            }
        }
        return layer;
    }

    // Directions from the centre, for renderVisible(): a stand-in for the angle that grows
    // with it, 0 to 4 over the full turn, half a turn apart exactly 2 apart.
    static double turnOf(QPointF d)
    {
        const double x = d.x(), y = d.y();
        if (y >= 0) {
            return x >= 0 ? y / (x + y) : 1 - x / (y - x);
        }
        return x < 0 ? 2 - y / (-x - y) : 3 + x / (x - y);
    }
    static constexpr int kBins = 2048;
    static int binOf(double turn) // turn within 0..4
    {
        const int b = int(turn * (kBins / 4.0));
        return b < kBins ? b : b - kBins;
    }

    // For every direction bin, the triangles (in order) whose cone from the centre reaches
    // into it, as one list per bin within `list`; one bin either side absorbs the rounding.
    struct Cones
    {
        std::vector<int> start; // bin b's triangles are list[start[b]] .. list[start[b + 1] - 1]
        std::vector<int> list;
    };
    Cones coneBins() const
    {
        // Each cone as a range of bins, possibly running past the last bin and around.
        std::vector<std::pair<int, int>> ranges;
        ranges.reserve(m_triangles.size());
        for (const Triangle &t : m_triangles) {
            double lo = turnOf(t.a - t.c);
            double hi = turnOf(t.b - t.c);
            if (lo > hi) {
                std::swap(lo, hi);
            }
            if (hi - lo > 2) { // the cone crosses the turn's wrap-around
                std::swap(lo, hi);
                hi += 4;
            }
            const int first = int(std::floor(lo * (kBins / 4.0))) - 1;
            const int last = int(std::floor(hi * (kBins / 4.0))) + 1;
            ranges.push_back({first, std::min(last, first + kBins - 1)});
        }
        Cones cones;
        cones.start.assign(kBins + 1, 0);
        for (const auto &[first, last] : ranges) {
            for (int b = first; b <= last; ++b) {
                ++cones.start[size_t(wrap(b)) + 1];
            }
        }
        for (int b = 0; b < kBins; ++b) {
            cones.start[size_t(b) + 1] += cones.start[size_t(b)];
        }
        cones.list.resize(size_t(cones.start[kBins]));
        std::vector<int> next(cones.start.begin(), cones.start.end() - 1);
        for (int n = 0; n < int(ranges.size()); ++n) {
            for (int b = ranges[size_t(n)].first; b <= ranges[size_t(n)].second; ++b) {
                cones.list[size_t(next[size_t(wrap(b))]++)] = n;
            }
        }
        return cones;
    }
    static int wrap(int b) { return ((b % kBins) + kBins) % kBins; }

    // The same pixels as render(), but only those that `cover` (device pixels, the device
    // itself) does not yet hold opaquely, each tested against the triangles whose cone from
    // the centre holds it. Each row's open pixels are worked out as soon as they are found,
    // while that part of `cover` is still at hand. Once too many pixels turn out open for
    // that to pay off, the rows from the next one on are left to render(): the first of them
    // is returned, one past the box when none is left.
    // With `under`, the open pixels are those that none of those coverages holds fully, and
    // the brush goes over `cover` (directly) rather than behind it.
    int renderVisible(const QRect &box, const TPathCoverage &outline, const QImage *area,
                      QImage &cover, bool direct, QImage &layer,
                      const std::vector<const TPathCoverage *> *under) const
    {
        struct Open
        {
            int x, weight;
        };
        std::vector<Open> open;
        size_t opened = 0;
        const size_t most = size_t(box.width()) * box.height() / 4;
        const Cones cones = coneBins();
        if (!direct) {
            layer = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
            layer.fill(0);
        }
        const QPointF c = m_triangles.empty() ? QPointF() : m_triangles.front().c;
        std::vector<int> all(m_triangles.size());
        for (int n = 0; n < int(all.size()); ++n) {
            all[size_t(n)] = n;
        }
        // scanLine() would detach an image afresh for every row or pixel; only a direct fill
        // writes into `cover`, the others into `layer`.
        const uchar *const read = cover.constBits();
        uchar *const write = direct ? cover.bits() : nullptr;
        const qsizetype stride = cover.bytesPerLine();
        uchar *const layerBits = direct ? nullptr : layer.bits();
        const qsizetype layerStride = direct ? 0 : layer.bytesPerLine();
        const auto paintRow = [&](int y) {
            for (const Open &pixel : open) {
                const QPointF x(pixel.x + 0.5, y + 0.5);
                const QPointF d = x - c;
                // The centre itself has no direction; any triangle may own it.
                const int *first = all.data(), *last = all.data() + all.size();
                if (!d.isNull()) {
                    const int bin = binOf(turnOf(d));
                    first = cones.list.data() + cones.start[size_t(bin)];
                    last = cones.list.data() + cones.start[size_t(bin) + 1];
                }
                Claim best;
                const Triangle *owner = nullptr;
                for (const int *n = first; n != last; ++n) {
                    if (claim(m_triangles[size_t(*n)], x, best)) {
                        owner = &m_triangles[size_t(*n)];
                        if (best.priority == 2) {
                            break; // nothing later outbids a point inside
                        }
                    }
                }
                if (owner) {
                    const QRgb px = weighted(premultipliedColor(best, *owner), pixel.weight);
                    if (direct) {
                        QRgb &dst = reinterpret_cast<QRgb *>(write + y * stride)[pixel.x];
                        dst = under ? behind(px, dst) : behind(dst, px);
                    } else {
                        reinterpret_cast<QRgb *>(
                            layerBits + (y - box.top()) * layerStride)[pixel.x - box.left()] = px;
                    }
                }
            }
            opened += open.size();
            open.clear();
        };
        HiddenRuns hidden(under);
        const std::vector<TPathCoverage::Span> &spans = outline.Spans();
        for (size_t i = 0; i < spans.size();) {
            const int y = spans[i].y;
            if (opened > most) {
                return y;
            }
            const auto *line = reinterpret_cast<const QRgb *>(read + y * stride);
            const uchar *m2 = area ? area->constScanLine(y - box.top()) - box.left() : nullptr;
            const auto add = [&](int x, int coverage) {
                const int k = coverage * (m2 ? m2[x] : 255);
                if (k) {
                    open.push_back({x, k});
                    // Under shapes still to come the image has not been read here yet: its
                    // pixel is asked for while the row's colours are worked out.
                    if (under) {
                        __builtin_prefetch(write + y * stride + x * sizeof(QRgb), 1);
                    }
                }
            };
            const std::vector<std::pair<int, int>> *runs = under ? &hidden.Row(y) : nullptr;
            for (; i < spans.size() && spans[i].y == y; ++i) {
                const TPathCoverage::Span &span = spans[i];
                const int end = span.x + span.length;
                if (runs) {
                    int x = span.x;
                    for (const auto &[from, to] : *runs) {
                        for (; x < std::min(from, end); ++x) {
                            add(x, span.coverage);
                        }
                        x = std::max(x, to);
                    }
                    for (; x < end; ++x) {
                        add(x, span.coverage);
                    }
                    continue;
                }
                for (int x = FirstNotOpaque(line, span.x, end); x < end;
                     x = FirstNotOpaque(line, x + 1, end)) {
                    add(x, span.coverage);
                }
            }
            paintRow(y);
        }
        return box.bottom() + 1;
    }

private:
    QRgb colorAt(double pos, int ia, int ib, double u) const
    {
        if (!m_blend.empty()) {
            if (pos <= m_blend.front().first) {
                return m_blend.front().second;
            }
            for (size_t i = 1; i < m_blend.size(); ++i) {
                const auto &[p1, c1] = m_blend[i];
                if (pos <= p1) {
                    const auto &[p0, c0] = m_blend[i - 1];
                    const double t = p1 > p0 ? (pos - p0) / (p1 - p0) : 1.0;
                    return mix(c0, c1, t);
                }
            }
            return m_blend.back().second;
        }
        const auto surround = [this](int i) {
            return m_surround[std::min<size_t>(size_t(i), m_surround.size() - 1)];
        };
        const QRgb edge = mix(surround(ia), surround(ib), u);
        return mix(edge, m_center, pos);
    }

    // The row's span across the grown triangle, one pixel wider on each side; claim() alone
    // decides which pixels belong to the triangle, so the span only has to hold them all.
    struct Edge
    {
        double top, bottom; // y range
        double x, y;        // one end
        double slope;       // dx / dy, 0 for a level edge
        double xOther;      // the other end's x, for a level edge
    };
    static bool rowSpan(const std::array<Edge, 3> &edges, double yc, int x0, int x1, int &sx0,
                        int &sx1)
    {
        double lo = 1e300, hi = -1e300;
        for (const Edge &e : edges) {
            if (yc < e.top || yc > e.bottom) {
                continue;
            }
            if (e.slope == 0 && e.top == e.bottom) {
                lo = std::min({lo, e.x, e.xOther});
                hi = std::max({hi, e.x, e.xOther});
            } else {
                const double xs = e.x + (yc - e.y) * e.slope;
                lo = std::min(lo, xs);
                hi = std::max(hi, xs);
            }
        }
        if (lo > hi) {
            return false;
        }
        sx0 = std::max(x0, int(std::floor(lo - 0.5)) - 1);
        sx1 = std::min(x1, int(std::ceil(hi - 0.5)) + 1);
        return true;
    }
    static std::array<Edge, 3> edgesOf(const QPointF (&corners)[3])
    {
        std::array<Edge, 3> edges;
        for (int i = 0; i < 3; ++i) {
            const QPointF p = corners[i], q = corners[(i + 1) % 3];
            const double dy = q.y() - p.y();
            edges[size_t(i)] = {std::min(p.y(), q.y()),
                                std::max(p.y(), q.y()),
                                p.x(),
                                p.y(),
                                dy == 0 ? 0.0 : (q.x() - p.x()) / dy,
                                q.x()};
        }
        return edges;
    }

    // `px` put behind the premultiplied `dst` as the raster engine's destination-over does;
    // the other way round, `dst` put over `px` as its source-over does.
    static QRgb behind(QRgb dst, QRgb px)
    {
        const uint a = 255 - qAlpha(dst);
        quint64 t = ((quint64(px) | (quint64(px) << 24)) & 0x00ff00ff00ff00ffULL) * a;
        t = (t + ((t >> 8) & 0xff00ff00ff00ffULL) + 0x80008000800080ULL) >> 8;
        t &= 0x00ff00ff00ff00ffULL;
        return dst + (uint(t) | uint(t >> 24));
    }

    // A premultiplied pixel scaled by k / (255 * 255).
    static QRgb weighted(QRgb px, int k)
    {
        if (k == 255 * 255) {
            return px;
        }
        const auto scale = [k](int v) { return (v * k + 255 * 255 / 2) / (255 * 255); };
        return qRgba(scale(qRed(px)), scale(qGreen(px)), scale(qBlue(px)), scale(qAlpha(px)));
    }

    std::vector<std::pair<double, QRgb>> m_blend;
    std::vector<Triangle> m_triangles;
    std::vector<QRgb> m_surround;
    QRgb m_center = 0;
    static double position(const Claim &claim)
    {
        return 1.0 - std::min(claim.s, 1.0); // 0 on the outline, 1 at the centre
    }
    static size_t lutIndex(double pos) // pos within 0..1
    {
        return size_t(pos * (Table::kSize - 1) + 0.5);
    }
    std::shared_ptr<const Table> lookUpTable(std::shared_ptr<const Table> &kept) const
    {
        if (kept && kept->blend == m_blend && kept->surround == m_surround.front() &&
            kept->center == m_center) {
            return kept;
        }
        auto lut = std::make_shared<Table>();
        lut->blend = m_blend;
        lut->surround = m_surround.front();
        lut->center = m_center;
        for (size_t i = 0; i < Table::kSize; ++i) {
            lut->plain[i] = colorAt(double(i) / (Table::kSize - 1), 0, 0, 0);
            lut->premultiplied[i] = qPremultiply(lut->plain[i]);
        }
        kept = lut;
        return kept;
    }
    std::shared_ptr<const Table> m_lut;
};

} // namespace

TPathGradient::TPathGradient(const QPainterPath &outline)
    : m_outline(outline), m_center(centroid(polygonsOf(outline, QTransform())))
{
}

QColor TPathGradient::ColorAt(const QPointF &point) const
{
    if (!m_outline.contains(point)) {
        return QColor(0, 0, 0, 0);
    }
    TPathGradientCache own;
    TPathGradientCache &cache = m_cache ? *m_cache : own;
    return QColor::fromRgba(FanRasterizer(*this, QTransform(), cache.m_table).sample(point));
}

void TPathGradient::Fill(QPainter *painter) const
{
    Fill(painter, m_outline);
}

void TPathGradient::Fill(QPainter *painter, const QRectF &area) const
{
    QPainterPath path;
    path.addRect(area);
    Fill(painter, path);
}

void TPathGradient::Fill(QPainter *painter, const QPainterPath &area) const
{
    fill(painter, area, false);
}

void TPathGradient::FillBehind(QPainter *painter) const
{
    fill(painter, m_outline, true);
}

void TPathGradient::FillUnder(QPainter *painter,
                              const std::vector<const TPathCoverage *> &shapes) const
{
    fill(painter, m_outline, false, &shapes);
}

void TPathGradient::fill(QPainter *painter, const QPainterPath &area, bool behind,
                         const std::vector<const TPathCoverage *> *under) const
{
    if (!painter || !painter->device() || m_outline.isEmpty() || area.isEmpty()) {
        return;
    }
    // The combined transform already ends in device pixels (it holds the device pixel ratio),
    // so the layer is made at the device's own resolution and drawn back at that ratio.
    const qreal dpr = painter->device()->devicePixelRatioF();
    const QTransform transform = painter->combinedTransform();
    const QPainterPath outline = transform.map(m_outline);
    const QPainterPath region = transform.map(area);
    QRect box = (outline.boundingRect() & region.boundingRect()).toAlignedRect();
    box &= QRect(0, 0, qCeil(painter->device()->width() * dpr),
                 qCeil(painter->device()->height() * dpr));
    if (painter->hasClipping()) {
        box &= painter->clipBoundingRect().isEmpty()
                   ? QRect()
                   : transform.mapRect(painter->clipBoundingRect()).toAlignedRect();
    }
    // What lies in front is only known when the painter draws straight onto an image.
    QImage *cover = nullptr;
    if ((behind || under) && painter->device()->devType() == QInternal::Image &&
        painter->paintEngine()->paintDevice() == painter->device()) {
        cover = static_cast<QImage *>(painter->device());
        const QImage::Format format = cover->format();
        // Its alpha is read as 32-bit pixels.
        if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_ARGB32 &&
            format != QImage::Format_RGB32) {
            cover = nullptr;
        } else {
            box &= cover->rect();
        }
    }
    if (box.isEmpty()) {
        return;
    }
    // The fan's own edges are hard; the anti-aliased outline and area decide the rim.
    TPathGradientCache own;
    TPathGradientCache &cache = m_cache ? *m_cache : own;
    TPathCoverage &m1 = cache.m_outline;
    m1.Compute(outline, box);
    // Filling the outline itself (shadows, glows) needs its coverage only once.
    const bool sameArea = &area == &m_outline || area == m_outline;
    const QImage m2 = sameArea ? QImage() : TPathCoverage(region, box).Mask(box);
    const FanRasterizer fan(*this, transform, cache.m_table);
    // Without a clip or opacity in the way the open pixels are written straight into the
    // image, which spares making and drawing a layer the size of the shape.
    const bool direct = cover && !painter->hasClipping() && painter->opacity() == 1.0 &&
                        painter->compositionMode() == QPainter::CompositionMode_SourceOver &&
                        (cover->format() == QImage::Format_ARGB32_Premultiplied ||
                         (under && cover->format() == QImage::Format_RGB32)) &&
                        cover->isDetached();
    // Shapes to come only spare pixels written straight into the image; otherwise the whole
    // outline is filled, and they are painted over it all the same.
    if (under && !direct) {
        cover = nullptr;
    }
    // What renderVisible() does not do, render() does for whole rows.
    QImage layer;
    const int from =
        cover ? fan.renderVisible(box, m1, sameArea ? nullptr : &m2, *cover, direct, layer, under)
              : box.top();
    if (direct && from > box.bottom()) {
        return;
    }
    painter->save();
    painter->resetTransform();
    if (behind) {
        painter->setCompositionMode(QPainter::CompositionMode_DestinationOver);
    }
    if (!layer.isNull()) {
        layer.setDevicePixelRatio(dpr);
        painter->drawImage(QPointF(box.topLeft()) / dpr, layer);
    }
    if (from <= box.bottom()) {
        const QRect rest(box.left(), from, box.width(), box.bottom() + 1 - from);
        const QImage restArea =
            sameArea ? QImage() : m2.copy(0, from - box.top(), box.width(), rest.height());
        QImage whole = fan.render(rest, m1.Mask(rest), sameArea ? nullptr : &restArea);
        whole.setDevicePixelRatio(dpr);
        painter->drawImage(QPointF(rest.topLeft()) / dpr, whole);
    }
    painter->restore();
}

} // namespace zc::ring
