// SPDX-License-Identifier: MIT
// The colour-table pictures: the ring's own colours in ring order, a heading per language.
#include "appring.h"
#include "colortable.h"

#include <gtest/gtest.h>

namespace {

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

TEST(ColorTable, SwatchesShowTheRingsGradientsAndHeadingsDifferPerLanguage)
{
    QList<QImage> headings;
    for (int language = 0; language < 5; ++language) {
        const QImage image = zc::DrawColorTable(language);
        ASSERT_EQ(image.size(), zc::ColorTableSize);
        for (int i = 0; i < int(zc::GemFills.size()); ++i) {
            const zc::GemFill &gem = zc::GemFills[i];
            const QRect swatch = zc::ColorTableSwatch(i);
            // Vertical fills start at the top, horizontal ones at the left.
            const bool across = gem.type == TGradientFill::gtHorizontal;
            const QPoint start = across ? QPoint(swatch.left() + 2, swatch.center().y())
                                        : QPoint(swatch.center().x(), swatch.top() + 2);
            const QPoint end = across ? QPoint(swatch.right() - 2, swatch.center().y())
                                      : QPoint(swatch.center().x(), swatch.bottom() - 2);
            EXPECT_LT(distance(image.pixelColor(start), zc::ring::MakeQColor(255, gem.color)), 30)
                << "gem " << i;
            EXPECT_LT(distance(image.pixelColor(end), zc::ring::MakeQColor(255, gem.colorTo)), 30)
                << "gem " << i;
        }
        headings << image.copy(0, 0, zc::ColorTableSize.width(), 80);
    }
    for (int a = 0; a < headings.size(); ++a)
        for (int b = a + 1; b < headings.size(); ++b)
            EXPECT_NE(headings[a], headings[b]) << a << " " << b;
}

} // namespace
