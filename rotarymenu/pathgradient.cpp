// SPDX-License-Identifier: MIT
// Path-gradient brush: a seamless triangle fan rasterised into a layer, masked by the outline.
#include "pathgradient.h"

#include <QPainter>

TPathGradient::TPathGradient(const QPainterPath &outline) : m_outline(outline) {}
QColor TPathGradient::ColorAt(const QPointF &point) const
{
    return {};
}
void TPathGradient::Fill(QPainter *painter) const {}
void TPathGradient::Fill(QPainter *painter, const QPainterPath &area) const {}
void TPathGradient::Fill(QPainter *painter, const QRectF &area) const {}
