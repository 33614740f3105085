// SPDX-License-Identifier: MIT
// Item captions: the font fallback, laid-out text kept between frames, and where glyphs reach.
#include "ring/ringcaptions.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

namespace zc::ring {

namespace {

// Captions show their access key's underline.
constexpr int kCaptionFlags = Qt::TextShowMnemonic;

} // namespace

void TRingCaptions::Forget()
{
    m_knownFamilies.clear();
    m_layouts.clear();
}

QFont TRingCaptions::font(const QFont &font)
{
    // Captions fall back to Arial for a family the system lacks, so that a missing face
    // degrades the same way everywhere instead of to whatever fontconfig picks.
    const QString family = font.family();
    auto known = m_knownFamilies.constFind(family);
    if (known == m_knownFamilies.cend()) {
        known = m_knownFamilies.insert(family, QFontDatabase::hasFamily(family));
    }
    QFont result(font);
    if (!*known) {
        result.setFamily(QStringLiteral("Arial"));
    }
    return result;
}

const TRingCaptions::Layout &TRingCaptions::layout(const QString &caption, const QFont &font,
                                                   const QPaintDevice *device)
{
    const Key key{caption, font, device->logicalDpiY()};
    auto known = m_layouts.find(key);
    if (known == m_layouts.end()) {
        if (m_layouts.size() > 1024) {
            m_layouts.clear();
        }
        const QFontMetricsF metrics(font, device);
        Layout layout;
        layout.size =
            metrics.boundingRect(QRectF(0, 0, 10000, 10000), kCaptionFlags, caption).size();
        // Glyphs may reach past their advances and above or below the line; half a line
        // around the text is more than any face reaches.
        const qreal reach = metrics.height() / 2;
        layout.ink = QRectF(QPointF(0, 0), layout.size)
                         .united(metrics.tightBoundingRect(caption).translated(0, metrics.ascent()))
                         .adjusted(-reach, -reach, reach, reach);
        if (!caption.contains(QLatin1Char('&'))) {
            layout.text = QStaticText(caption);
            layout.text.setTextFormat(Qt::PlainText);
            layout.text.setPerformanceHint(QStaticText::AggressiveCaching);
        }
        known = m_layouts.insert(key, layout);
    }
    return *known;
}

QPointF TRingCaptions::placeOf(const TRingItem &item, const QRectF &box, const QSizeF &size)
{
    return GetObjectLocation(box, size.width(), size.height(), item.captionLocation,
                             item.captionLeft, item.captionTop);
}

QRectF TRingCaptions::Ink(const TRingItem &item, const QRectF &box, const QPaintDevice *device)
{
    if (item.caption.isEmpty()) {
        return {};
    }
    const Layout &laidOut = layout(item.caption, font(item.font), device);
    return laidOut.ink.translated(placeOf(item, box, laidOut.size));
}

void TRingCaptions::Draw(QPainter *p, const TRingItem &item, const QRectF &box)
{
    if (item.caption.isEmpty()) {
        return;
    }
    const QFont face = font(item.font);
    const Layout &laidOut = layout(item.caption, face, p->device());
    const QPointF at = placeOf(item, box, laidOut.size);
    p->setFont(face);
    p->setPen(MakeQColor(255, item.fontColor));
    if (laidOut.text.text().isEmpty()) {
        p->drawText(QRectF(at, laidOut.size), kCaptionFlags, item.caption);
    } else {
        p->drawStaticText(at, laidOut.text);
    }
}

} // namespace zc::ring
