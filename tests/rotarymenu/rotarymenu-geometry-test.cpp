// SPDX-License-Identifier: MIT
// Ring geometry: menu rectangles, item boxes, placement, image sizes and hit testing.
#include <rotarymenu/rotarymenugeometry.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace zc::ring;

namespace {

// The colour test's menu: 656 x 658, no shadow offset, a 150 pixel ring, ten items.
TRotaryMenuGeometry appGeometry(double start = 0, double stop = 360,
                                TRotaryMenuLayout layout = TRotaryMenu::rmlCircularDonut,
                                int size = 150, int count = 10)
{
    return TRotaryMenuGeometry::compute(layout, QSizeF(656, 658), QSizeF(656, 658), 0, size, start,
                                        stop, count);
}

void expectRect(const QRectF &r, double x, double y, double w, double h)
{
    EXPECT_NEAR(r.x(), x, 0.005);
    EXPECT_NEAR(r.y(), y, 0.005);
    EXPECT_NEAR(r.width(), w, 0.005);
    EXPECT_NEAR(r.height(), h, 0.005);
}

TEST(RotaryMenuGeometry, ApplicationRectanglesAndBoxes)
{
    const TRotaryMenuGeometry g = appGeometry();
    expectRect(g.R, 0, 0, 655, 657);
    expectRect(g.RI, 150, 150, 355, 357);
    EXPECT_FLOAT_EQ(g.st, 36.f);
    expectRect(g.itemBox(0), 492.64, 331.84, 150, 150);
    EXPECT_NEAR(g.itemBox(0).center().x(), 567.64, 0.005);
    EXPECT_NEAR(g.itemBox(0).center().y(), 406.84, 0.005);
    expectRect(g.itemBox(2), 252.5, 507, 150, 150);
    expectRect(g.itemBox(5), 12.36, 175.16, 150, 150);
}

TEST(RotaryMenuGeometry, DefaultControlAndAnimatedSize)
{
    const auto g = TRotaryMenuGeometry::compute(TRotaryMenu::rmlCircularDonut, QSizeF(250, 250),
                                                QSizeF(250, 250), 4, 50, 100, 360, 5);
    expectRect(g.R, 4, 4, 241, 241);
    expectRect(g.RI, 54, 54, 141, 141);
    EXPECT_FLOAT_EQ(g.st, 52.f);

    // A size animation grows the ring from the control's centre.
    const auto small = TRotaryMenuGeometry::compute(TRotaryMenu::rmlCircularDonut, QSizeF(250, 250),
                                                    QSizeF(100, 50), 0, 10, 0, 360, 5);
    expectRect(small.R, 75, 100, 99, 49);
}

TEST(RotaryMenuGeometry, RowAndColumnStepsAndBoxes)
{
    const auto row = appGeometry(0, 360, TRotaryMenu::rmlHorizontal);
    EXPECT_FLOAT_EQ(row.st, 65.5f);
    expectRect(row.itemBox(3), 196.5, 0, 65.5, 657);
    const auto column = appGeometry(0, 360, TRotaryMenu::rmlVertical);
    EXPECT_FLOAT_EQ(column.st, 65.7f);
    expectRect(column.itemBox(1), 0, 65.7, 655, 65.7);
}

TEST(RotaryMenuGeometry, DegenerateInputsBuildNoOutline)
{
    const auto none = appGeometry(0, 360, TRotaryMenu::rmlCircularDonut, 150, 0);
    EXPECT_EQ(none.st, 0.f);
    EXPECT_TRUE(none.itemPath(0).isEmpty());
    EXPECT_EQ(none.itemAt(567, 406, {}), -1);
    EXPECT_TRUE(appGeometry().itemPath(10).isEmpty());
    EXPECT_TRUE(appGeometry().itemPath(-1).isEmpty());
    EXPECT_FALSE(PtInPoly(QPainterPath(), 0, 0));

    // A thousand items still tile the ring without a gap at the end.
    const auto many = appGeometry(0, 360, TRotaryMenu::rmlCircularDonut, 150, 1000);
    EXPECT_EQ(many.itemAt(567, 406, {}), 49);
    EXPECT_NE(many.itemAt(638, 328, {}), -1);
}

struct HitRow
{
    const char *name;
    TRotaryMenuLayout layout;
    double start;
    double stop;
    int size;
    int x;
    int y;
    int expected;
};

class RotaryMenuHitTest : public testing::TestWithParam<HitRow>
{
};

TEST_P(RotaryMenuHitTest, ItemAtPoint)
{
    const HitRow &row = GetParam();
    const auto g = appGeometry(row.start, row.stop, row.layout, row.size);
    EXPECT_EQ(g.itemAt(row.x, row.y, {}), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RotaryMenuHitTest,
    testing::Values(
        HitRow{"DonutItem0BoxCentre", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 567, 406, 0},
        HitRow{"DonutItem2", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 327, 582, 2},
        HitRow{"DonutItem5", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 87, 250, 5},
        HitRow{"DonutHole", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 327, 328, -1},
        HitRow{"DonutOutsideCorner", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 20, 20, -1},
        // Just beyond the outer rim at item 0's mid angle: outside the ellipse, yet inside
        // the polygon through the arc's control points.
        HitRow{"DonutBeyondRimOnControlPolygon", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 641,
               430, 0},
        HitRow{"DonutFarBeyondRim", TRotaryMenu::rmlCircularDonut, 0, 360, 150, 650, 440, -1},
        HitRow{"DonutStartAngleShiftsItems", TRotaryMenu::rmlCircularDonut, 36, 396, 150, 567, 406,
               9},
        HitRow{"NegativeSweepRunsCounterClockwise", TRotaryMenu::rmlCircularDonut, 0, -360, 150,
               567, 250, 0},
        HitRow{"NegativeSweepBelowAxisIsLastItem", TRotaryMenu::rmlCircularDonut, 0, -360, 150, 567,
               406, 9},
        HitRow{"SweepAbove360WidensItems", TRotaryMenu::rmlCircularDonut, 0, 720, 150, 327, 582, 1},
        HitRow{"ZeroSweepHitsNothing", TRotaryMenu::rmlCircularDonut, 90, 90, 150, 567, 406, -1},
        HitRow{"ZeroSweepOnTheEdgeHitsNothing", TRotaryMenu::rmlCircularDonut, 0, 0, 150, 600, 328,
               -1},
        HitRow{"PartialSweepLeavesRestEmpty", TRotaryMenu::rmlCircularDonut, 0, 180, 150, 327, 50,
               -1},
        HitRow{"ThickRingBecomesSlices", TRotaryMenu::rmlCircularDonut, 0, 360, 400, 400, 340, 0},
        HitRow{"PieCentreArea", TRotaryMenu::rmlCircularPie, 0, 360, 150, 400, 340, 0},
        HitRow{"PieOutside", TRotaryMenu::rmlCircularPie, 0, 360, 150, 5, 650, -1},
        HitRow{"RowSecondItem", TRotaryMenu::rmlHorizontal, 0, 360, 150, 100, 300, 1},
        HitRow{"RowBelow", TRotaryMenu::rmlHorizontal, 0, 360, 150, 100, 657, -1},
        HitRow{"ColumnThirdItem", TRotaryMenu::rmlVertical, 0, 360, 150, 300, 140, 2},
        HitRow{"ColumnRight", TRotaryMenu::rmlVertical, 0, 360, 150, 655, 140, -1}),
    [](const testing::TestParamInfo<HitRow> &info) { return std::string(info.param.name); });

TEST(RotaryMenuGeometry, HitTestSkipsWhatThePredicateRefuses)
{
    const auto g = appGeometry();
    // Items never overlap: refusing item 0 leaves its area empty.
    EXPECT_EQ(g.itemAt(567, 406, [](int i) { return i != 0; }), -1);
    EXPECT_EQ(g.itemAt(327, 582, [](int i) { return i != 0; }), 2);
}

TEST(RotaryMenuGeometry, ObjectLocationInBox)
{
    const QRectF box(10, 20, 100, 50);
    struct Row
    {
        TRotaryMenuLocation location;
        QPointF expected;
    };
    const Row rows[] = {
        {TRotaryMenu::clTopLeft, {10, 20}},      {TRotaryMenu::clTopCenter, {45, 20}},
        {TRotaryMenu::clTopRight, {80, 20}},     {TRotaryMenu::clCenterLeft, {10, 40}},
        {TRotaryMenu::clCenterCenter, {45, 40}}, {TRotaryMenu::clCenterRight, {80, 40}},
        {TRotaryMenu::clBottomLeft, {10, 60}},   {TRotaryMenu::clBottomCenter, {45, 60}},
        {TRotaryMenu::clBottomRight, {80, 60}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(GetObjectLocation(box, 30, 10, row.location, 0, 0), row.expected)
            << int(row.location);
        EXPECT_EQ(GetObjectLocation(box, 30, 10, row.location, 3, -4),
                  row.expected + QPointF(3, -4));
    }
    // Centring is not rounded, and custom places absolutely.
    EXPECT_EQ(GetObjectLocation(box, 31, 11, TRotaryMenu::clCenterCenter, 0, 0),
              QPointF(44.5, 39.5));
    EXPECT_EQ(GetObjectLocation(box, 30, 10, TRotaryMenu::clCustom, 7, 8), QPointF(7, 8));
}

TEST(RotaryMenuGeometry, AspectSizeWithRoundingMultiplyDivide)
{
    EXPECT_EQ(MulDiv(10, 3, 4), 8);   // 7.5 rounds up
    EXPECT_EQ(MulDiv(-10, 3, 4), -8); // and away from zero below
    EXPECT_EQ(MulDiv(10, 1, 3), 3);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);

    EXPECT_EQ(GetAspectSize(-1, -1, 32, 16), QSize(32, 16));
    EXPECT_EQ(GetAspectSize(100, 10, 30, 20), QSize(15, 10)); // wider box: height stays
    EXPECT_EQ(GetAspectSize(10, 100, 30, 20), QSize(10, 7));  // taller box: 6.67 -> 7
    EXPECT_EQ(GetAspectSize(-1, 45, 30, 20), QSize(30, 20));
    EXPECT_EQ(GetAspectSize(48, -5, 64, 32), QSize(48, 24));
    // Nothing to keep proportions with: the request goes through unchanged.
    EXPECT_EQ(GetAspectSize(40, 50, 0, 0), QSize(40, 50));
    EXPECT_EQ(GetAspectSize(0, 50, 30, 20), QSize(0, 50));
}

} // namespace
