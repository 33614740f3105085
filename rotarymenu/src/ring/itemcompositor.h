// SPDX-License-Identifier: MIT
// The ring's items laid onto an image through their sectors' coverages, whole or drawn out.
#pragma once

#include "raster/pathcoverage.h"
#include "ring/ringcaptions.h"
#include "ring/ringframe.h"

#include <QImage>
#include <QPainterPath>
#include <QRect>

#include <vector>

class QPainter;

namespace zc::ring {

/// Paints each item (fill, caption, images) into a scratch image the size of its sector's box,
/// unclipped, and lays it onto the target through the sector's coverage: the same pixels as
/// painting through the sector as a clip, without the clip's cost on every fill. A fill that
/// is alike along rows or columns is painted over a narrower box and drawn out. Then the
/// item's outline goes on top.
class ItemCompositor
{
public:
    /// Works out the sectors of `frame` and their coverages in the pixels of `target`.
    void Prepare(const TRingFrame &frame, const QImage &target);
    /// The coverages Prepare() worked out, one per item.
    const std::vector<const TPathCoverage *> &Coverages() const { return m_coverages; }
    /// The items onto `target` (premultiplied or opaque), whose painter `p` is, without a
    /// transform; after Prepare() for the same frame and target.
    void Compose(QPainter *p, QImage &target, const TRingFrame &frame);
    /// Caption layouts are kept; a change of the fonts makes them stale.
    void ForgetFonts() { m_captions.Forget(); }

private:
    struct Sector
    {
        QPainterPath outline;
        QRect area; ///< its device pixels
        TPathCoverage coverage;
    };
    /// Fill, caption and images of one item over its sector's bounding box, unclipped.
    void paintItem(QPainter *p, const TRingFrame &frame, int index, const QRectF &bounds);
    /// Lays an item whose fill is alike along rows or columns onto `target` from a narrower
    /// copy of the fill and its caption's part of the box: the same pixels as painting the
    /// whole box. False, having done nothing, for an item that cannot be painted so.
    bool layDrawnOut(QPainter *p, QImage &target, const TRingFrame &frame, int index,
                     const Sector &sector);
    static void drawOutline(QPainter *p, const TRingItem &item, const QPainterPath &outline);
    static void drawImages(QPainter *p, const TRingItem &item, const QRectF &box);

    std::vector<Sector> m_sectors; ///< kept for their memory
    std::vector<const TPathCoverage *> m_coverages;
    TScratchImage m_scratch; ///< one item's painting before it is laid on
    TRingCaptions m_captions;
};

} // namespace zc::ring
