// SPDX-License-Identifier: MIT
// Rendered frames of the rotary menu: state fills, hole, shadow, focus and pixel ratios.
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor background(0xCE, 0xDD, 0xCE);

// True when every channel of `c` lies between those of `a` and `b`, give or take `slack`.
bool between(QColor c, QColor a, QColor b, int slack = 6)
{
    auto in = [slack](int v, int x, int y) {
        return v >= std::min(x, y) - slack && v <= std::max(x, y) + slack;
    };
    return in(c.red(), a.red(), b.red()) && in(c.green(), a.green(), b.green()) &&
           in(c.blue(), a.blue(), b.blue());
}

// A colour value (0xBBGGRR) as a QColor.
QColor rgb(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The colour test's menu at rest: 656 x 658, a 150 pixel ring, ten vertical gradients.
class RotaryMenuPaint : public testing::Test
{
protected:
    void SetUp() override
    {
        menu.resize(656, 658);
        menu.SetSize(150);
        menu.SetShadowOffset(0);
        menu.SetShadowOpacity(80);
        menu.SetAnimation(false);
        menu.SetStartAngle(0);
        QPalette palette = menu.palette();
        palette.setColor(QPalette::Window, background);
        menu.setPalette(palette);
        for (int i = 0; i < 10; ++i) {
            TRotaryMenuItem *item = menu.Items()->Add();
            item->Fill()->SetColor(colors[i][0]);
            item->Fill()->SetColorTo(colors[i][1]);
            item->Fill()->SetBorderColor(0x808080);
            item->HoverFill()->SetColor(0xFFFFFF);
            item->HoverFill()->SetColorTo(0xFFFFFF);
            item->HoverFill()->SetBorderColor(0x808080);
            item->DownFill()->SetColor(16763225);
            item->DownFill()->SetColorTo(12681984);
            item->DownFill()->SetBorderColor(0x808080);
        }
    }

    // A frame of the whole menu, which the ring is composed on directly, or of all but its
    // top left pixel (plain background), for which the ring is composed in a layer of its own
    // and copied out, as only a part of the widget may be painted.
    QImage frame(qreal ratio = 1, bool layered = false)
    {
        QImage image(QSize(qCeil(656 * ratio), qCeil(658 * ratio)),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        if (layered) {
            menu.render(&painter, QPoint(), QRegion(menu.rect()) - QRegion(0, 0, 1, 1));
        } else {
            menu.render(&painter);
        }
        painter.end();
        return image;
    }
    QPoint at(int i) { return menu.Geometry().itemBox(i).center().toPoint(); }
    QColor sample(const QImage &image, QPoint p, qreal ratio = 1)
    {
        return image.pixelColor(QPointF(p * ratio).toPoint());
    }
    bool showsFill(const QImage &image, int i, TColor from, TColor to)
    {
        return between(sample(image, at(i)), rgb(from), rgb(to));
    }

    const TColor colors[10][2] = {
        {16762594, 16747205}, {3487231, 187},       {14994896, 13605539}, {13434828, 0x00FF00},
        {16777164, 0xFFFF00}, {10092543, 0x00FFFF}, {16737843, 0xFF0000}, {39423, 0x0000FF},
        {0x0000FF, 0x0000FF}, {39423, 26367},
    };
    TRotaryMenu menu;
};

TEST_F(RotaryMenuPaint, SectorsShowTheirFillsAndTheHoleStaysClear)
{
    const QImage image = frame();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(showsFill(image, i, colors[i][0], colors[i][1]))
            << i << " " << qPrintable(sample(image, at(i)).name());
    }
    EXPECT_EQ(sample(image, {327, 328}), background);
    EXPECT_EQ(sample(image, {5, 5}), background);
}

TEST_F(RotaryMenuPaint, StateFillChoice)
{
    TRotaryMenuItem *hovered = menu.Items()->Items(1);
    QMouseEvent move(QEvent::MouseMove, at(1), menu.mapToGlobal(at(1)), Qt::NoButton, Qt::NoButton,
                     {});
    QApplication::sendEvent(&menu, &move);
    ASSERT_EQ(menu.HoveredItem(), hovered);
    menu.Items()->Items(4)->SetDown(true);
    menu.Items()->Items(6)->SetEnabled(false);
    menu.Items()->Items(6)->SetDown(true);
    menu.Items()->Items(6)->DisabledFill()->SetColor(0x000000);
    menu.Items()->Items(6)->DisabledFill()->SetColorTo(0x000000);

    QImage image = frame();
    EXPECT_TRUE(showsFill(image, 1, 0xFFFFFF, 0xFFFFFF)); // hover
    EXPECT_TRUE(showsFill(image, 4, 16763225, 12681984)); // Down, with the mouse elsewhere
    EXPECT_TRUE(showsFill(image, 6, 0, 0));               // disabled beats Down

    // Hovered and pressed: the pressed look wins.
    QMouseEvent press(QEvent::MouseButtonPress, at(1), menu.mapToGlobal(at(1)), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&menu, &press);
    image = frame();
    EXPECT_TRUE(showsFill(image, 1, 16763225, 12681984));
}

TEST_F(RotaryMenuPaint, ShadowRimShowsOnlyWithAColour)
{
    // The ring's right edge is at x = 647, its shadow's at 655: between them, at 3 o'clock,
    // the shadow's soft rim shows.
    menu.SetShadowOffset(8);
    menu.SetShadowOpacity(255);
    const QPoint rim(650, 337);
    const QColor withShadow = sample(frame(), rim);
    EXPECT_NE(withShadow, background);
    EXPECT_EQ(sample(frame(), rim), withShadow); // a repaint draws the same shadow

    menu.SetShadowColor(0x0000FF); // a red shadow
    const QColor red = sample(frame(), rim);
    EXPECT_NE(red, withShadow);
    EXPECT_GT(red.red() - red.blue(), withShadow.red() - withShadow.blue());
    menu.SetStartAngle(90); // a new outline moves the rim: the gap now lies at 3 o'clock
    menu.SetStopAngle(350);
    EXPECT_EQ(sample(frame(), rim), background);

    menu.SetShadowColor(clNone);
    menu.SetStartAngle(0);
    menu.SetStopAngle(360);
    EXPECT_EQ(sample(frame(), rim), background);
}

TEST_F(RotaryMenuPaint, FocusedItemGetsADashedOutline)
{
    // Darkest pixel along the edge between items 9 and 0 (3 o'clock).
    auto darkest = [this] {
        const QImage image = frame();
        int value = 255;
        for (int x = 512; x < 648; ++x) {
            for (int y = 327; y <= 330; ++y) {
                value = std::min(value, qGray(image.pixel(x, y)));
            }
        }
        return value;
    };
    menu.Loaded();
    menu.show();
    // Tests run side by side on one X server without a window manager, so the
    // X input focus may belong to another test's window: make this window
    // Qt's active one directly.
    QApplication::setActiveWindow(&menu);
    menu.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(menu.hasFocus());
    const int focused = darkest();
    menu.SetShowFocus(false);
    const int unfocused = darkest();
    EXPECT_LT(focused, 60);
    EXPECT_GT(unfocused, 90);
}

TEST_F(RotaryMenuPaint, EmptyAndDegenerateMenusPaintNothingButBackground)
{
    menu.SetStopAngle(0); // zero sweep
    QImage image = frame();
    EXPECT_EQ(sample(image, at(0)), background);
    menu.Items()->Clear();
    menu.SetStopAngle(360);
    image = frame();
    EXPECT_EQ(sample(image, {567, 406}), background);
    menu.resize(20, 20); // ring thicker than the control
    menu.Items()->Add();
    frame();
}

QByteArray png(QColor color, int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST_F(RotaryMenuPaint, ImagesFromThePictureTheStoreAndTheList)
{
    TPictureContainer store;
    store.Items().Add()->SetName(QStringLiteral("BLACK"));
    store.Items().Items(0)->Picture()->LoadFromBytes(png(Qt::black, 16, 16));
    TImageList list;
    QPixmap white(16, 16);
    white.fill(Qt::white);
    list.Add(white);
    menu.SetPictureContainer(&store);
    menu.SetImageList(&list);

    menu.Items()->Items(0)->Image()->LoadFromBytes(png(Qt::blue, 8, 4));
    menu.Items()->Items(0)->SetImageWidth(40); // kept in proportion: 40 x 20
    menu.Items()->Items(0)->SetImageHeight(40);
    menu.Items()->Items(1)->SetImageName(QStringLiteral("black"));
    menu.Items()->Items(2)->SetImageIndex(0);
    menu.Items()->Items(3)->SetImageIndex(1);                  // equal to the count: none
    menu.Items()->Items(4)->SetImageName(QStringLiteral("x")); // not in the store: none
    menu.Items()->Items(5)->Image()->LoadFromBytes("not an image");

    const QImage image = frame();
    const QPoint c0 = at(0);
    EXPECT_EQ(sample(image, c0), QColor(Qt::blue));
    EXPECT_EQ(sample(image, c0 + QPoint(18, 8)), QColor(Qt::blue));
    EXPECT_NE(sample(image, c0 + QPoint(18, 12)), QColor(Qt::blue));
    EXPECT_EQ(sample(image, at(1)), QColor(Qt::black));
    EXPECT_EQ(sample(image, at(2)), QColor(Qt::white));
    for (int i : {3, 4, 5}) {
        EXPECT_TRUE(showsFill(image, i, colors[i][0], colors[i][1])) << i;
    }
}

TEST_F(RotaryMenuPaint, DirectAndLayeredFramesAgree)
{
    // The ring composed straight onto the image and in its layer copied out are the same
    // pixels, shadow and all.
    menu.SetShadowOffset(8);
    menu.SetShadowOpacity(255);
    menu.Items()->Items(1)->SetCaption(QStringLiteral("&Ruby"));
    menu.Items()->Items(4)->Fill()->SetGradientType(gtForwardDiagonal);
    menu.Items()->Items(6)->SetEnabled(false);
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        const QImage direct = frame(ratio);
        const QImage layered = frame(ratio, true);
        ASSERT_EQ(direct.size(), layered.size());
        int worst = 0;
        for (int y = 0; y < direct.height(); ++y) {
            for (int x = y < 2 * ratio ? 2 * ratio : 0; x < direct.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = layered.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_EQ(worst, 0) << ratio;
        // Painted again unchanged, the ring comes from the kept layer: the same pixels still.
        EXPECT_EQ(frame(ratio), direct) << ratio;
    }
}

TEST_F(RotaryMenuPaint, RepaintsOfAKeptRingFollowChanges)
{
    // Painting the same state twice reuses the ring's layer; a change must still show.
    const auto frame = [this](qreal ratio = 1) { return RotaryMenuPaint::frame(ratio, true); };
    menu.Items()->Items(2)->Fill()->SetColor(0x000000);
    frame();
    EXPECT_TRUE(showsFill(frame(), 2, 0x000000, colors[2][1]));
    menu.Items()->Items(2)->Fill()->SetColorTo(0x000000);
    EXPECT_TRUE(showsFill(frame(), 2, 0x000000, 0x000000));

    // A ring that shrinks between frames leaves nothing of the larger one behind, whether
    // the whole layer is copied out (ratio 1.5) or only the part a frame draws.
    const QPoint gone[] = {at(4), at(7)};
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        menu.SetStopAngle(360);
        const QImage full = frame(ratio);
        menu.SetStopAngle(90);
        const QImage quarter = frame(ratio);
        for (const QPoint &p : gone) {
            EXPECT_NE(sample(full, p, ratio), background) << ratio;
            EXPECT_EQ(sample(quarter, p, ratio), background) << ratio;
        }
        EXPECT_TRUE(between(sample(quarter, at(0), ratio), rgb(colors[0][0]), rgb(colors[0][1])))
            << ratio;
        // Nor does a ring whose hole grows over what it drew, 185 pixels right of the centre.
        menu.SetStopAngle(360);
        EXPECT_NE(sample(frame(ratio), {513, 329}, ratio), background) << ratio;
        menu.SetSize(50);
        EXPECT_EQ(sample(frame(ratio), {513, 329}, ratio), background) << ratio;
        menu.SetSize(150);
    }

    // A picture store does not tell the menu when its pictures change.
    TPictureContainer store;
    store.Items().Add()->SetName(QStringLiteral("P"));
    store.Items().Items(0)->Picture()->LoadFromBytes(png(Qt::black, 16, 16));
    menu.SetPictureContainer(&store);
    menu.Items()->Items(1)->SetImageName(QStringLiteral("P"));
    frame();
    EXPECT_EQ(sample(frame(), at(1)), QColor(Qt::black));
    store.Items().Items(0)->Picture()->LoadFromBytes(png(Qt::white, 16, 16));
    EXPECT_EQ(sample(frame(), at(1)), QColor(Qt::white));
}

TEST_F(RotaryMenuPaint, ARingThatStopsMovingIsRepaintedWhereItStopped)
{
    // Frames of a spinning ring are not kept; once it rests, the first frame there is kept
    // and repaints copy it out, never what was kept before the ring moved.
    menu.Items()->Items(1)->SetCaption(QStringLiteral("Ruby"));
    for (const qreal ratio : {1.0, 2.0}) {
        menu.SetStartAngle(90);
        const QImage rest = frame(ratio);
        menu.SetStartAngle(0);
        const QImage start = frame(ratio);
        EXPECT_EQ(frame(ratio), start) << ratio;
        for (int angle = 30; angle <= 90; angle += 30) {
            menu.SetStartAngle(angle);
            EXPECT_NE(frame(ratio), start) << ratio << " " << angle;
        }
        EXPECT_EQ(frame(ratio), rest) << ratio;
        EXPECT_EQ(frame(ratio), rest) << ratio;
        EXPECT_EQ(frame(ratio, true).copy(8, 8, 600, 600), rest.copy(8, 8, 600, 600)) << ratio;
    }
}

TEST_F(RotaryMenuPaint, CaptionsWithAccessKeys)
{
    // Black text on a white sector; counts the pixels a caption changes.
    menu.Items()->Items(3)->Fill()->SetColor(0xFFFFFF);
    menu.Items()->Items(3)->Fill()->SetColorTo(0xFFFFFF);
    menu.Items()->Items(3)->SetFontColor(0x000000);
    const QImage blank = frame();
    auto captionPixels = [&](const QString &caption) {
        menu.Items()->Items(3)->SetCaption(caption);
        const QImage image = frame();
        int changed = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                changed += image.pixel(x, y) != blank.pixel(x, y);
            }
        }
        return changed;
    };
    EXPECT_EQ(captionPixels(QString()), 0);
    const int plain = captionPixels(QStringLiteral("WWW"));
    const int underlined = captionPixels(QStringLiteral("&WWW"));
    EXPECT_GT(plain, 0);
    EXPECT_GT(underlined, plain); // the ampersand is not drawn; the W gets a line
    EXPECT_LT(underlined, plain * 3 / 2);
}

TEST_F(RotaryMenuPaint, FillsAlikeAlongALineLookAsIfPaintedWhole)
{
    // A vertical or horizontal gradient is painted once across a narrower box and drawn out;
    // the same gradient as an angle (90 or 0 degrees) is painted over the whole box. Both must
    // give the very same frame, with captions in and beside the middle, a mirror half, a
    // thick border and an item the mouse is over.
    auto setUp = [&](bool asAngles) {
        for (int i = 0; i < 10; ++i) {
            TRotaryMenuItem *item = menu.Items()->Items(i);
            const bool across = i % 3 == 1;
            item->Fill()->SetGradientType(asAngles ? gtAngle : across ? gtHorizontal : gtVertical);
            item->Fill()->SetAngle(across ? 0 : 90);
            item->SetCaption(i == 4 ? QStringLiteral("&Jig") : QStringLiteral("CAPTION %1").arg(i));
            item->SetCaptionLocation(TRotaryMenu::TRotaryMenuLocation(i % 9));
        }
        menu.Items()->Items(2)->Fill()->SetColorMirror(0x3080F0);
        menu.Items()->Items(2)->Fill()->SetColorMirrorTo(0x102040);
        menu.Items()->Items(2)->Fill()->SetGradientMirrorType(gtVertical);
        menu.Items()->Items(6)->Fill()->SetBorderWidth(5);
    };
    QMouseEvent move(QEvent::MouseMove, at(3), menu.mapToGlobal(at(3)), Qt::NoButton, Qt::NoButton,
                     {});
    QApplication::sendEvent(&menu, &move);
    ASSERT_EQ(menu.HoveredItem(), menu.Items()->Items(3));
    for (const qreal ratio : {1.0, 2.0}) {
        setUp(false);
        const QImage drawnOut = frame(ratio);
        setUp(true);
        const QImage whole = frame(ratio);
        ASSERT_EQ(drawnOut.size(), whole.size());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                differing += drawnOut.pixel(x, y) != whole.pixel(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << ratio;
    }
}

class RotaryMenuPixelRatio : public RotaryMenuPaint, public testing::WithParamInterface<qreal>
{
};

TEST_P(RotaryMenuPixelRatio, PaintsAtDeviceResolution)
{
    const qreal ratio = GetParam();
    menu.SetShadowOffset(8);
    menu.SetShadowOpacity(255);
    const QImage reference = frame(1);
    const QImage image = frame(ratio);
    // The shadow sits where it does at ratio 1: its rim beside the ring, nothing in the hole.
    EXPECT_EQ(sample(image, {327, 328}, ratio), background);
    const QColor rim = sample(image, {650, 337}, ratio);
    const QColor rimReference = sample(reference, {650, 337});
    EXPECT_NEAR(rim.red(), rimReference.red(), 30) << ratio;
    EXPECT_NEAR(rim.blue(), rimReference.blue(), 30) << ratio;
    ASSERT_EQ(image.width(), qCeil(656 * ratio));
    for (int i : {0, 3, 7}) {
        EXPECT_TRUE(between(sample(image, at(i), ratio), rgb(colors[i][0]), rgb(colors[i][1])))
            << i;
    }
    // Item 5's outer rim (near x = 17 on the row y = 250) changes from background to fill
    // within its 1 pixel grey outline and the anti-aliasing either side of it, counted in
    // device pixels: drawn at full resolution, not scaled up.
    const int y = qRound(250 * ratio);
    int blended = 0;
    for (int x = 0; x < int(32 * ratio); ++x) {
        const QColor c = image.pixelColor(x, y);
        const bool isBackground = between(c, background, background, 3);
        const bool isFill = between(c, rgb(colors[5][0]), rgb(colors[5][1]), 3);
        blended += !isBackground && !isFill;
    }
    EXPECT_LE(blended, int(ratio + 3)) << ratio;
}

INSTANTIATE_TEST_SUITE_P(Ratios, RotaryMenuPixelRatio, testing::Values(1.0, 1.5, 2.0));

} // namespace
