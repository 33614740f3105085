// SPDX-License-Identifier: MIT
// Draws a colour table from the ring's own fills, names and the localised heading.
#include "colortable.h"

#include "appring.h"
#include "messaggizc.h"
#include "remedystore.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace zc {

namespace {

constexpr int HeadingHeight = 80;
constexpr int FirstRowTop = 100;
constexpr int RowPitch = 64;

QFont boldFont(int pixels)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

} // namespace

QRect ColorTableSwatch(int index)
{
    return QRect(40, FirstRowTop + index * RowPitch, 160, 52);
}

QImage DrawColorTable(int language)
{
    QImage image(ColorTableSize, QImage::Format_RGB32);
    image.fill(QColor(zc::WindowColour));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QRect heading(0, 0, ColorTableSize.width(), HeadingHeight);
    painter.fillRect(heading, QColor(0xB6, 0xCB, 0xB6));
    painter.setPen(QColor(0x2E, 0x5E, 0x2E));
    painter.setFont(boldFont(36));
    painter.drawText(heading, Qt::AlignCenter,
                     Text(ZcText::TableButton, static_cast<ZcLanguage>(language)));

    painter.setFont(boldFont(22));
    for (int i = 0; i < int(GemFills.size()); ++i) {
        const GemFill &gem = GemFills[i];
        const QRect swatch = ColorTableSwatch(i);
        // The same direction as on the ring, so the table matches what the user clicks.
        const QPointF end =
            gem.type == TGradientFill::gtHorizontal ? swatch.topRight() : swatch.bottomLeft();
        QLinearGradient gradient(swatch.topLeft(), end);
        gradient.setColorAt(0, zc::ring::MakeQColor(255, gem.color));
        gradient.setColorAt(1, zc::ring::MakeQColor(255, gem.colorTo));
        painter.fillRect(swatch, gradient);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(swatch);
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawText(QRect(swatch.right() + 30, swatch.top(), 540, swatch.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, GemKeys[i]);
    }
    return image;
}

} // namespace zc
