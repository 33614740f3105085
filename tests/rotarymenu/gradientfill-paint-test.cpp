// SPDX-License-Identifier: MIT
// Gradient fill painting checked on the pixels of rendered images.
#include <rotarymenu/gradientfill.h>

#include <QBuffer>
#include <QPainter>

#include <functional>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

QImage blank(int w = 120, int h = 60)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QRectF paint(TGradientFill &fill, QImage &image, const QRectF &r, bool antialias = false)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    return fill.Fill(&p, r);
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray solidPng(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return png(image);
}

// Colours within a few steps of each other (gradients and blending round).
::testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance = 3)
{
    const auto d = [](int a, int b) { return std::abs(a - b); };
    if (d(qRed(actual), qRed(expected)) <= tolerance &&
        d(qGreen(actual), qGreen(expected)) <= tolerance &&
        d(qBlue(actual), qBlue(expected)) <= tolerance &&
        d(qAlpha(actual), qAlpha(expected)) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << QString::asprintf("#%08X, expected #%08X", actual, expected).toStdString();
}

// Every pixel outside the rectangle is untouched.
::testing::AssertionResult cleanOutside(const QImage &image, const QRect &r)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!r.contains(x, y) && qAlpha(image.pixel(x, y)) != 0) {
                return ::testing::AssertionFailure()
                       << "painted at " << x << "," << y
                       << QString::asprintf(" #%08X", image.pixel(x, y)).toStdString();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kGrey = 0x808080;

} // namespace

TEST(GradientFillPaint, VerticalGradientWithBorderAsTheApplicationUsesIt)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetColorTo(kBlue);
    fill.SetBorderColor(kGrey);
    QImage image = blank();
    const QRectF result = paint(fill, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(result, QRectF(10, 10, 100, 40));
    // The gradient spans R grown by one pixel, so the first and last rows are near the ends.
    // Interpolating in linear light, 6 % of the way is about 28 % of the brightness.
    EXPECT_TRUE(near(image.pixel(60, 11), qRgb(248, 0, 71), 3));
    EXPECT_TRUE(near(image.pixel(60, 48), qRgb(71, 0, 248), 3));
    // Gamma correction keeps the middle brighter than a plain average.
    const QRgb mid = image.pixel(60, 30);
    EXPECT_GT(qRed(mid) + qBlue(mid), 255 + 60);
    // The border lies on the outline.
    EXPECT_EQ(image.pixel(10, 30), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(60, 10), qRgb(0x80, 0x80, 0x80));
    EXPECT_TRUE(cleanOutside(image, QRect(10, 10, 101, 41)));
}

TEST(GradientFillPaint, GradientKindsPutTheirEndColoursOnOppositeSides)
{
    struct Case
    {
        TGradientType kind;
        QPoint start, end;
    };
    const Case cases[] = {{gtHorizontal, {1, 20}, {98, 20}},
                          {gtForwardDiagonal, {1, 1}, {98, 38}},
                          {gtBackwardDiagonal, {98, 1}, {1, 38}},
                          {gtAngle, {1, 20}, {98, 20}}};
    for (const Case &c : cases) {
        TGradientFill fill;
        fill.SetColor(kRed);
        fill.SetColorTo(kBlue);
        fill.SetGradientType(c.kind);
        QImage image = blank(100, 40);
        paint(fill, image, QRectF(0, 0, 100, 40));
        SCOPED_TRACE(int(c.kind));
        EXPECT_GT(qRed(image.pixel(c.start)), 200);
        EXPECT_GT(qBlue(image.pixel(c.end)), 200);
    }
}

TEST(GradientFillPaint, MissingColoursMakeASolidBodyOrNone)
{
    TGradientFill solid;
    solid.SetColor(kGreen);
    solid.SetColorTo(clNone);
    QImage image = blank();
    paint(solid, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(image.pixel(11, 11), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(108, 48), qRgb(0, 255, 0));

    TGradientFill none;
    none.SetColor(clNone);
    none.SetBorderColor(kGrey);
    image = blank();
    paint(none, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(qAlpha(image.pixel(60, 30)), 0);
    EXPECT_EQ(image.pixel(10, 30), qRgb(0x80, 0x80, 0x80));
}

TEST(GradientFillPaint, MirrorHalvesOverlapByTwoPixels)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetColorTo(clNone);
    fill.SetColorMirror(kGreen);
    fill.SetGradientMirrorType(gtSolid);
    fill.SetOpacityMirror(128);
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40));
    // Top half rows 10..30, bottom half rows 29..49: the half-transparent bottom shows the
    // top through it exactly on rows 29 and 30.
    EXPECT_EQ(image.pixel(60, 28), qRgb(255, 0, 0));
    for (int y : {29, 30}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(qAlpha(image.pixel(60, y)), 255);
        EXPECT_TRUE(near(image.pixel(60, y), qRgb(127, 128, 0)));
    }
    EXPECT_TRUE(near(image.pixel(60, 31), qRgba(0, 255, 0, 128)));
    EXPECT_TRUE(near(image.pixel(60, 49), qRgba(0, 255, 0, 128)));
}

TEST(GradientFillPaint, LinearMirrorStartsWithABandOfItsStartColour)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetColorTo(kRed);
    fill.SetColorMirror(kGreen);
    fill.SetColorMirrorTo(kBlue);
    fill.SetGradientMirrorType(gtVertical);
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(image.pixel(60, 29), qRgb(0, 255, 0)); // the band over the bottom's top edge
    EXPECT_NE(image.pixel(60, 31), qRgb(0, 255, 0)); // the gradient has begun below it
    EXPECT_GT(qBlue(image.pixel(60, 49)), 200);
}

TEST(GradientFillPaint, HatchOrTextureBodyHasNoMirrorHalf)
{
    TGradientFill fill;
    fill.SetGradientType(gtHatch);
    fill.SetHatchStyle(HatchStyle50Percent);
    fill.SetColor(kRed);
    fill.SetColorTo(kBlue);
    fill.SetColorMirror(kGreen);
    fill.SetGradientMirrorType(gtSolid);
    QImage image = blank();
    paint(fill, image, QRectF(0, 0, 120, 60));
    for (int y = 0; y < 60; ++y) {
        ASSERT_NE(image.pixel(60, y), qRgb(0, 255, 0)) << y;
    }
}

TEST(GradientFillPaint, ShadowTakesItsSizeOffTheRectangle)
{
    struct Case
    {
        TShadowType type;
        QRectF expected;
    };
    const Case cases[] = {{stRightBottom, {10, 10, 96, 36}},
                          {stSurround, {14, 14, 92, 32}},
                          {stBottom, {10, 10, 100, 36}}};
    for (const Case &c : cases) {
        TGradientFill fill;
        fill.SetShadowOffset(4);
        fill.SetShadowType(c.type);
        fill.SetShadowColor(0);
        fill.SetColor(kRed);
        fill.SetColorTo(clNone);
        QImage image = blank();
        SCOPED_TRACE(int(c.type));
        EXPECT_EQ(paint(fill, image, QRectF(10, 10, 100, 40), true), c.expected);
        // The body covers the returned rectangle; the shadow is dark and partly transparent.
        EXPECT_EQ(image.pixel(c.expected.center().toPoint()), qRgb(255, 0, 0));
        const QRgb shade = c.type == stSurround ? image.pixel(12, 30) : image.pixel(60, 47);
        EXPECT_GT(qAlpha(shade), 0);
        EXPECT_LT(qAlpha(shade), 255);
        EXPECT_EQ(qRed(shade), 0);
        EXPECT_TRUE(cleanOutside(image, QRect(10, 10, 100, 40)));
    }
}

TEST(GradientFillPaint, RoundedCornersStayTransparent)
{
    for (TFillRoundingType type : {rtBoth, rtTop, rtBottom, rtLeft, rtRight, rtNone}) {
        TGradientFill fill;
        fill.SetColor(kRed);
        fill.SetColorTo(clNone);
        fill.SetRounding(10);
        fill.SetRoundingType(type);
        QImage image = blank();
        paint(fill, image, QRectF(10, 10, 100, 40), true);
        const bool tl = type == rtBoth || type == rtTop || type == rtLeft;
        const bool tr = type == rtBoth || type == rtTop || type == rtRight;
        const bool bl = type == rtBoth || type == rtBottom || type == rtLeft;
        const bool br = type == rtBoth || type == rtBottom || type == rtRight;
        SCOPED_TRACE(int(type));
        EXPECT_EQ(qAlpha(image.pixel(10, 10)) == 0, tl);
        EXPECT_EQ(qAlpha(image.pixel(109, 10)) == 0, tr);
        EXPECT_EQ(qAlpha(image.pixel(10, 49)) == 0, bl);
        EXPECT_EQ(qAlpha(image.pixel(109, 49)) == 0, br);
        EXPECT_EQ(image.pixel(60, 30), qRgb(255, 0, 0));
    }
}

TEST(GradientFillPaint, RoundingZeroFillsAndStrokesThePlainRectangle)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetColorTo(clNone);
    fill.SetRoundingType(rtBoth);
    fill.SetBorderColor(kGrey);
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(11, 11), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(109, 49), qRgb(255, 0, 0));
}

TEST(GradientFillPaint, HatchRepeatsEveryEightPixelsFromTheSurfaceOrigin)
{
    TGradientFill fill;
    fill.SetGradientType(gtHatch);
    fill.SetHatchStyle(HatchStyleDiagonalBrick);
    fill.SetColor(kRed);
    fill.SetColorTo(kBlue);
    QImage image = blank(64, 64);
    paint(fill, image, QRectF(3, 5, 58, 56));
    const THatchMask mask = HatchMask(HatchStyleDiagonalBrick);
    for (int y = 5; y < 53; ++y) {
        for (int x = 3; x < 53; ++x) {
            ASSERT_EQ(image.pixel(x, y), image.pixel(x + 8, y + 8)) << x << "," << y;
            const bool set = mask[y % 8] & (0x80 >> (x % 8));
            ASSERT_EQ(image.pixel(x, y), set ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
}

TEST(GradientFillPaint, TiledTextureRepeatsAtThePictureSize)
{
    QImage tile(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            tile.setPixel(x, y, qRgb(x * 50, y * 100, 7));
        }
    }
    TGradientFill fill;
    fill.SetGradientType(gtTexture);
    fill.SetBackGroundPicturePosition(ppTiled);
    fill.BackGroundPicture()->LoadFromBytes(png(tile));
    QImage image = blank(60, 40);
    paint(fill, image, QRectF(0, 0, 60, 40));
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 54; ++x) {
            ASSERT_EQ(image.pixel(x, y), tile.pixel(x % 5, y % 3)) << x << "," << y;
        }
    }
}

TEST(GradientFillPaint, CustomPicturePositionsAreAbsolute)
{
    TGradientFill fill;
    fill.SetColor(clNone);
    fill.Picture()->LoadFromBytes(solidPng(4, 4, qRgb(255, 0, 0)));
    fill.SetPicturePosition(ppCustom);
    fill.SetPictureLeft(3);
    fill.SetPictureTop(2);
    QImage image = blank();
    paint(fill, image, QRectF(50, 30, 60, 25));
    EXPECT_EQ(image.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(6, 5), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(7, 6)), 0);
    EXPECT_EQ(qAlpha(image.pixel(53, 32)), 0);

    // Other positions are offsets from the rounded rectangle.
    fill.SetPicturePosition(ppBottomRight);
    image = blank();
    paint(fill, image, QRectF(50, 30, 60, 25));
    EXPECT_EQ(image.pixel(3 + 110 - 4, 2 + 55 - 4), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(3 + 110 - 5, 2 + 55 - 5)), 0);
}

TEST(GradientFillPaint, BackgroundPictureOnlyWithTextureBodies)
{
    TGradientFill fill;
    fill.SetColor(clNone);
    fill.BackGroundPicture()->LoadFromBytes(solidPng(10, 10, qRgb(0, 255, 0)));
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40));
    EXPECT_EQ(qAlpha(image.pixel(12, 12)), 0);
    fill.SetGradientType(gtTexture);
    for (TFillPictureMode mode : {pmInsideFill, pmOutsideFill}) {
        fill.SetBackGroundPictureMode(mode);
        image = blank();
        paint(fill, image, QRectF(10, 10, 100, 40));
        EXPECT_EQ(image.pixel(12, 12), qRgb(0, 255, 0));
        EXPECT_EQ(qAlpha(image.pixel(22, 22)), 0);
    }
}

TEST(GradientFillPaint, FocusOutlineIsDottedOnTheFocusRectangle)
{
    TGradientFill fill;
    fill.SetColor(0xFFFFFF);
    fill.SetColorTo(clNone);
    fill.SetBorderWidth(2);
    fill.SetFocus(true);
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40), true);
    EXPECT_EQ(fill.FocusRect(), QRectF(12, 12, 96, 36));
    int dark = 0, light = 0;
    for (int x = 20; x < 100; ++x) {
        (image.pixel(x, 12) == qRgb(0, 0, 0) ? dark : light)++;
    }
    EXPECT_GT(dark, 30);
    EXPECT_GT(light, 30);
    EXPECT_EQ(image.pixel(60, 14), qRgb(255, 255, 255));
}

TEST(GradientFillPaint, OnePixelRectangleDrawsOnlyALine)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetBorderColor(kBlue);
    fill.SetShadowOffset(3);
    QImage image = blank();
    EXPECT_EQ(paint(fill, image, QRectF(10, 20, 100, 1)), QRectF(10, 20, 100, 1));
    EXPECT_EQ(fill.FocusRect(), QRectF(11, 21, 98, -1));
    EXPECT_EQ(image.pixel(50, 20), qRgb(0, 0, 255));
    // The segment runs from (X, Y) to (X + W, Y + H).
    EXPECT_EQ(image.pixel(105, 20), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(110, 21), qRgb(0, 0, 255));
    EXPECT_TRUE(cleanOutside(image, QRect(10, 20, 101, 2)));
}

TEST(GradientFillPaint, OpacityArgumentsOverrideTheSettingsForOneCall)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetColorTo(clNone);
    fill.SetOpacity(200);
    QImage image = blank();
    {
        QPainter p(&image);
        fill.Fill(&p, QRectF(0, 0, 60, 60), 255, 100);
        fill.Fill(&p, QRectF(60, 0, 60, 60));
    }
    EXPECT_EQ(qAlpha(image.pixel(30, 30)), 100);
    EXPECT_EQ(qAlpha(image.pixel(90, 30)), 200);
    EXPECT_EQ(fill.Opacity(), 200);
}

TEST(GradientFillPaint, RadialBodyHasItsEndColourAtTheTopCentre)
{
    TGradientFill fill;
    fill.SetGradientType(gtRadial);
    fill.SetColor(kRed);
    fill.SetColorTo(kBlue);
    QImage image = blank();
    paint(fill, image, QRectF(10, 10, 100, 40), true);
    EXPECT_TRUE(near(image.pixel(60, 10), qRgb(0, 0, 255), 12));
    EXPECT_EQ(image.pixel(11, 48), qRgb(255, 0, 0));
    EXPECT_TRUE(cleanOutside(image, QRect(10, 10, 100, 40)));
}

TEST(GradientFillPaint, GlowStaysInsideTheCallersClip)
{
    TGradientFill fill;
    fill.SetColor(clNone);
    fill.SetGlow(gmRadialGradient);
    fill.SetGlowRadialColor(0xFFFFFF);
    QImage image = blank();
    {
        QPainter p(&image);
        p.setClipRect(0, 0, 60, 60);
        fill.Fill(&p, QRectF(10, 10, 100, 40));
        EXPECT_TRUE(p.hasClipping());
        EXPECT_EQ(p.clipBoundingRect(), QRectF(0, 0, 60, 60));
    }
    EXPECT_TRUE(cleanOutside(image, QRect(10, 10, 50, 40)));
    EXPECT_GT(qAlpha(image.pixel(30, 12)), 0); // the top band of the gradient glow
}

TEST(GradientFillPaint, DegenerateInputsDrawNothingOutsideAndChangeNothing)
{
    TGradientFill fill;
    fill.SetColor(kRed);
    fill.SetBorderColor(kBlue);
    fill.SetBorderWidth(1);
    fill.SetRounding(100000);
    fill.SetShadowOffset(100000);
    fill.SetGlow(gmRadialGradient);
    fill.Picture()->LoadFromBytes("not a picture");
    const QByteArray before = fill.SaveToText();
    int changes = 0;
    QObject::connect(&fill, &TGradientFill::OnChange, [&changes] { ++changes; });
    for (const QRectF &r : {QRectF(10, 10, 0, 0), QRectF(10, 10, -20, 30), QRectF(10, 10, 30, -5),
                            QRectF(10, 10, 100, 40), QRectF(10, 10, 2, 2)}) {
        QImage image = blank();
        paint(fill, image, r, true);
        SCOPED_TRACE(r.width());
        // The 1-pixel border straddles the outline.
        EXPECT_TRUE(cleanOutside(image, r.normalized().toAlignedRect().adjusted(-1, -1, 1, 1)));
    }
    fill.SetShadowOffset(0);
    for (TShadowType t : {stRightBottom, stBottom, stSurround}) {
        fill.SetShadowOffset(500);
        fill.SetShadowType(t);
        QImage image = blank();
        paint(fill, image, QRectF(10, 10, 100, 40), true);
        EXPECT_TRUE(cleanOutside(image, QRect(9, 9, 102, 42))) << int(t);
    }
    const int changesBefore = changes;
    EXPECT_EQ(fill.Fill(nullptr, QRectF(1, 2, 30, 40)), QRectF(1, 2, 30, 40));
    EXPECT_EQ(changes, changesBefore);
    fill.SetShadowOffset(100000);
    fill.SetShadowType(stRightBottom);
    EXPECT_EQ(fill.SaveToText(), before);
}

TEST(GradientFillPaint, FillsSaidToBeOpaqueCoverTheirRectangle)
{
    // A fill that says it is opaque may have things painted under it skipped: every pixel
    // inside its rectangle, away from the anti-aliased edges, must then be opaque.
    using Set = std::function<void(TGradientFill &)>;
    const Set opaque[] = {
        [](TGradientFill &) {},
        [](TGradientFill &f) { f.SetGradientType(gtSolid); },
        [](TGradientFill &f) { f.SetGradientType(gtHorizontal); },
        [](TGradientFill &f) { f.SetGradientType(gtBackwardDiagonal); },
        [](TGradientFill &f) {
            f.SetGradientType(gtAngle);
            f.SetAngle(33);
        },
        [](TGradientFill &f) {
            f.SetGradientType(gtHatch);
            f.SetColorTo(clNone);
        },
        [](TGradientFill &f) {
            f.SetColorMirror(0x3080F0);
            f.SetColorMirrorTo(0x102040);
        },
        [](TGradientFill &f) {
            f.SetGlow(gmRadialGradient);
            f.SetBorderWidth(3);
        },
    };
    for (const Set &set : opaque) {
        TGradientFill fill;
        set(fill);
        ASSERT_TRUE(fill.IsOpaque());
        QImage image = blank();
        paint(fill, image, QRectF(10.5, 10.25, 90, 40), true);
        int open = 0;
        for (int y = 12; y < 50; ++y) {
            for (int x = 12; x < 100; ++x) {
                open += qAlpha(image.pixel(x, y)) != 255;
            }
        }
        EXPECT_EQ(open, 0) << int(fill.GradientType());
    }
    const Set notOpaque[] = {
        [](TGradientFill &f) { f.SetGradientType(gtRadial); },
        [](TGradientFill &f) { f.SetGradientType(gtHatch); },
        [](TGradientFill &f) { f.SetColor(clNone); },
        [](TGradientFill &f) { f.SetOpacityTo(200); },
        [](TGradientFill &f) { f.SetRounding(4); },
        [](TGradientFill &f) { f.SetShadowOffset(3); },
        [](TGradientFill &f) {
            f.SetColorMirror(0x3080F0);
            f.SetGradientMirrorType(gtRadial);
        },
    };
    for (const Set &set : notOpaque) {
        TGradientFill fill;
        set(fill);
        EXPECT_FALSE(fill.IsOpaque()) << int(fill.GradientType());
    }
}

TEST(GradientFillPaint, OpaqueAndAlikeAnswersHoldForTheBodysPixels)
{
    // What IsOpaque() and IsAlikeAlong() say must hold for the pixels the fill really paints,
    // for every gradient kind, alone and over a mirror half, with and without an end colour.
    // The answers may be cautious, but the common bodies must get a yes.
    const QRectF r(10.5, 10.25, 90, 40);
    const QRect inside(13, 13, 85, 35); // away from what anti-aliasing and the border reach
    int opaqueCount = 0, rowsCount = 0, columnsCount = 0;
    for (int kind = gtSolid; kind <= gtNone; ++kind) {
        for (const bool mirror : {false, true}) {
            for (const bool endColour : {false, true}) {
                TGradientFill fill;
                fill.SetGradientType(TGradientType(kind));
                fill.SetColor(0x3060C0);
                fill.SetColorTo(endColour ? 0xC06030 : clNone);
                fill.SetAngle(30);
                fill.BackGroundPicture()->LoadFromBytes(solidPng(7, 5, qRgb(0, 200, 0)));
                fill.SetBackGroundPicturePosition(ppTiled);
                if (mirror) {
                    fill.SetColorMirror(0x205080);
                    fill.SetColorMirrorTo(endColour ? 0x802050 : clNone);
                    fill.SetGradientMirrorType(TGradientType(kind));
                }
                QImage image = blank();
                paint(fill, image, r, true);
                bool opaque = true, rows = true, columns = true;
                for (int y = inside.top(); y <= inside.bottom(); ++y) {
                    for (int x = inside.left(); x <= inside.right(); ++x) {
                        const QRgb px = image.pixel(x, y);
                        opaque = opaque && qAlpha(px) == 255;
                        rows = rows && px == image.pixel(inside.left(), y);
                        columns = columns && px == image.pixel(x, inside.top());
                    }
                }
                const std::string what = std::to_string(kind) + (mirror ? " mirrored" : "") +
                                         (endColour ? " two colours" : " one colour");
                if (fill.IsOpaque()) {
                    EXPECT_TRUE(opaque) << what;
                    ++opaqueCount;
                }
                if (fill.IsAlikeAlong(Qt::Horizontal)) {
                    EXPECT_TRUE(rows) << what;
                    ++rowsCount;
                }
                if (fill.IsAlikeAlong(Qt::Vertical)) {
                    EXPECT_TRUE(columns) << what;
                    ++columnsCount;
                }
            }
        }
    }
    // With two colours: solid, the linear kinds and the angle, alone and mirrored; with one
    // (a plain body): every kind that is not radial and paints something, alone and mirrored.
    EXPECT_GE(opaqueCount, 12 + 12);
    EXPECT_GE(rowsCount, 4 + 12);
    EXPECT_GE(columnsCount, 2 + 6);
}
