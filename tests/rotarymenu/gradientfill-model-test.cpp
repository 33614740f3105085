// SPDX-License-Identifier: MIT
// Gradient fill settings model: notification, updates, copying, colours, outlines, placement.
#include <rotarymenu/gradientfill.h>

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPalette>

#include <functional>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

struct Counter
{
    explicit Counter(TGradientFill &f)
    {
        QObject::connect(&f, &TGradientFill::OnChange, [this, &f](TGradientFill *sender) {
            ++count;
            senderOk = senderOk && sender == &f;
        });
    }
    int count = 0;
    bool senderOk = true;
};

QByteArray png(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Sets one setting to a value other than its default.
const std::vector<std::pair<const char *, std::function<void(TGradientFill &)>>> &setters()
{
    static const std::vector<std::pair<const char *, std::function<void(TGradientFill &)>>> list = {
        {"Color", [](TGradientFill &f) { f.SetColor(1); }},
        {"ColorTo", [](TGradientFill &f) { f.SetColorTo(2); }},
        {"ColorMirror", [](TGradientFill &f) { f.SetColorMirror(3); }},
        {"ColorMirrorTo", [](TGradientFill &f) { f.SetColorMirrorTo(4); }},
        {"GradientType", [](TGradientFill &f) { f.SetGradientType(gtHatch); }},
        {"GradientMirrorType", [](TGradientFill &f) { f.SetGradientMirrorType(gtRadial); }},
        {"HatchStyle", [](TGradientFill &f) { f.SetHatchStyle(HatchStyleWave); }},
        {"HatchStyleMirror", [](TGradientFill &f) { f.SetHatchStyleMirror(HatchStyleWave); }},
        {"BackGroundPictureAspectRatio",
         [](TGradientFill &f) { f.SetBackGroundPictureAspectRatio(true); }},
        {"BackGroundPictureMode",
         [](TGradientFill &f) { f.SetBackGroundPictureMode(pmInsideFill); }},
        {"BackGroundPicturePosition",
         [](TGradientFill &f) { f.SetBackGroundPicturePosition(ppTiled); }},
        {"BackGroundPictureLeft", [](TGradientFill &f) { f.SetBackGroundPictureLeft(5); }},
        {"BackGroundPictureTop", [](TGradientFill &f) { f.SetBackGroundPictureTop(6); }},
        {"BackGroundPictureAspectMode",
         [](TGradientFill &f) { f.SetBackGroundPictureAspectMode(pmNormal); }},
        {"PicturePosition", [](TGradientFill &f) { f.SetPicturePosition(ppCustom); }},
        {"PictureLeft", [](TGradientFill &f) { f.SetPictureLeft(7); }},
        {"PictureTop", [](TGradientFill &f) { f.SetPictureTop(8); }},
        {"PictureSize", [](TGradientFill &f) { f.SetPictureSize(psCustom); }},
        {"PictureWidth", [](TGradientFill &f) { f.SetPictureWidth(9); }},
        {"PictureHeight", [](TGradientFill &f) { f.SetPictureHeight(10); }},
        {"PictureAspectRatio", [](TGradientFill &f) { f.SetPictureAspectRatio(true); }},
        {"PictureAspectMode", [](TGradientFill &f) { f.SetPictureAspectMode(pmNormal); }},
        {"Opacity", [](TGradientFill &f) { f.SetOpacity(11); }},
        {"OpacityTo", [](TGradientFill &f) { f.SetOpacityTo(12); }},
        {"OpacityMirror", [](TGradientFill &f) { f.SetOpacityMirror(13); }},
        {"OpacityMirrorTo", [](TGradientFill &f) { f.SetOpacityMirrorTo(14); }},
        {"BorderColor", [](TGradientFill &f) { f.SetBorderColor(15); }},
        {"BorderOpacity", [](TGradientFill &f) { f.SetBorderOpacity(16); }},
        {"BorderWidth", [](TGradientFill &f) { f.SetBorderWidth(0); }},
        {"Rounding", [](TGradientFill &f) { f.SetRounding(17); }},
        {"RoundingType", [](TGradientFill &f) { f.SetRoundingType(rtLeft); }},
        {"ShadowColor", [](TGradientFill &f) { f.SetShadowColor(18); }},
        {"ShadowOffset", [](TGradientFill &f) { f.SetShadowOffset(19); }},
        {"ShadowType", [](TGradientFill &f) { f.SetShadowType(stBottom); }},
        {"Angle", [](TGradientFill &f) { f.SetAngle(20); }},
        {"Glow", [](TGradientFill &f) { f.SetGlow(gmRadial); }},
        {"GlowGradientColor", [](TGradientFill &f) { f.SetGlowGradientColor(21); }},
        {"GlowRadialColor", [](TGradientFill &f) { f.SetGlowRadialColor(22); }},
        {"Focus", [](TGradientFill &f) { f.SetFocus(true); }},
        {"FocusColor", [](TGradientFill &f) { f.SetFocusColor(23); }},
    };
    return list;
}

} // namespace

TEST(GradientFillModel, SettersNotifyOnlyWhenTheValueChanges)
{
    for (const auto &[name, set] : setters()) {
        TGradientFill fill;
        Counter changes(fill);
        set(fill);
        EXPECT_EQ(changes.count, 1) << name;
        set(fill);
        EXPECT_EQ(changes.count, 1) << name;
        EXPECT_TRUE(changes.senderOk) << name;
    }
    // Defaults set again raise nothing.
    TGradientFill fill;
    Counter changes(fill);
    fill.SetColor(0xC0C0C0);
    fill.SetColorMirror(clNone);
    fill.SetGradientType(gtVertical);
    fill.SetPictureWidth(50);
    fill.SetOpacity(255);
    fill.SetRoundingType(rtBoth);
    fill.SetBackGroundPictureMode(pmOutsideFill);
    EXPECT_EQ(changes.count, 0);
}

TEST(GradientFillModel, PictureChangesNotifyTheFill)
{
    TGradientFill fill;
    Counter changes(fill);
    fill.Picture()->LoadFromBytes(png(2, 2, 0xFF000000));
    EXPECT_EQ(changes.count, 1);
    TPicture other;
    other.LoadFromBytes(png(2, 2, 0xFF000000));
    fill.SetPicture(&other); // same content
    EXPECT_EQ(changes.count, 1);
    fill.SetBackGroundPicture(&other);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(fill.BackGroundPicture()->Bytes(), other.Bytes());
    EXPECT_NE(fill.BackGroundPicture(), &other); // copied, not shared
    fill.SetPicture(nullptr);
    EXPECT_TRUE(fill.Picture()->Empty());
    EXPECT_EQ(changes.count, 3);
}

TEST(GradientFillModel, UpdatesSuspendNotification)
{
    TGradientFill fill;
    Counter changes(fill);
    fill.BeginUpdate();
    fill.BeginUpdate();
    fill.SetColor(1);
    fill.EndUpdate();
    fill.SetColor(2);
    EXPECT_EQ(fill.UpdateCount(), 1);
    fill.EndUpdate();
    EXPECT_EQ(changes.count, 0); // EndUpdate raises nothing by itself
    fill.EndUpdate();
    EXPECT_EQ(fill.UpdateCount(), 0);
    fill.SetColor(3);
    EXPECT_EQ(changes.count, 1);
    fill.Changed();
    EXPECT_EQ(changes.count, 2);
}

TEST(GradientFillModel, AssignCopiesEverySettingButFocusAndNotifiesOnce)
{
    TGradientFill source;
    for (const auto &[name, set] : setters()) {
        set(source);
    }
    source.Picture()->LoadFromBytes(png(3, 3, 0xFFFF0000));
    source.BackGroundPicture()->LoadFromBytes(png(4, 4, 0xFF00FF00));
    TGradientFill target;
    Counter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.SaveToText(), source.SaveToText());
    EXPECT_EQ(target.PictureAspectRatio(), true);
    EXPECT_EQ(target.BackGroundPictureAspectMode(), pmNormal);
    EXPECT_EQ(target.ShadowType(), stBottom);
    EXPECT_FALSE(target.Focus());
    EXPECT_EQ(target.FocusColor(), 0);
    // Later changes to the source do not reach the copy.
    source.SetColor(99);
    EXPECT_EQ(target.Color(), 1);

    QObject other;
    target.Assign(&other);
    target.Assign(nullptr);
    target.Assign(&target);
    EXPECT_EQ(changes.count, 1);
}

TEST(GradientFillModel, MakeColorPacksAlphaAndSwapsToRgb)
{
    EXPECT_EQ(MakeColor(0x80, 0x0000FF), 0x80FF0000u);
    EXPECT_EQ(MakeColor(255, 0x123456), 0xFF563412u);
    EXPECT_EQ(MakeColor(0, 0xFFFFFF), 0x00FFFFFFu);
    // Only the low three bytes of an ordinary colour count.
    EXPECT_EQ(MakeColor(255, clNone), 0xFF000000u | (MakeColor(255, 0x1FFFFFFF) & 0xFFFFFF));
    EXPECT_EQ(MakeColor(10, 0x05000001) & 0xFFFFFF, 0x010000u);
    // System colours come from the palette by Windows colour index.
    const QPalette pal = QApplication::palette();
    EXPECT_EQ(MakeColor(255, clSystemColor | 15), pal.color(QPalette::Button).rgba());
    EXPECT_EQ(MakeColor(255, clSystemColor | 13), pal.color(QPalette::Highlight).rgba());
    EXPECT_EQ(MakeColor(255, clSystemColor | 5), pal.color(QPalette::Base).rgba());
    EXPECT_EQ(MakeColor(7, clSystemColor | 8) >> 24, 7u);
    EXPECT_EQ(MakeColor(255, clSystemColor | 200), 0xFF000000u); // no such index
    EXPECT_EQ(MakeQColor(1, 0x0000FF), QColor(255, 0, 0, 1));
}

TEST(GradientFillModel, RoundRectangleOutlines)
{
    const QRectF r(10, 20, 100, 40);
    for (int t = rtNone; t <= rtRight; ++t) {
        // Radius 0 is the plain rectangle whatever the type.
        const QPainterPath plain = TGradientFill::CreateRoundRectangle(r, 0, TFillRoundingType(t));
        EXPECT_EQ(plain.boundingRect(), r);
        EXPECT_TRUE(plain.contains(QPointF(10.2, 20.2)));
        const QPainterPath round = TGradientFill::CreateRoundRectangle(r, 10, TFillRoundingType(t));
        EXPECT_EQ(round.boundingRect(), r) << t;
        EXPECT_EQ(round.fillRule(), Qt::OddEvenFill);
        EXPECT_TRUE(round.contains(r.center()));
    }
    const QPainterPath left = TGradientFill::CreateRoundRectangle(r, 10, rtLeft);
    EXPECT_FALSE(left.contains(QPointF(11, 21)));
    EXPECT_FALSE(left.contains(QPointF(11, 59)));
    EXPECT_TRUE(left.contains(QPointF(109, 21)));
    EXPECT_TRUE(left.contains(QPointF(109, 59)));
    const QPainterPath top = TGradientFill::CreateRoundRectangle(r, 10, rtTop);
    EXPECT_FALSE(top.contains(QPointF(109, 21)));
    EXPECT_TRUE(top.contains(QPointF(109, 59)));
    // The arc's end meets the straight edge one radius in.
    EXPECT_TRUE(top.contains(QPointF(20, 20.5)));
    EXPECT_FALSE(top.contains(QPointF(12, 20.5)));
    // A radius too large for the rectangle never takes the outline outside it.
    for (int t = rtNone; t <= rtRight; ++t) {
        const QPainterPath huge =
            TGradientFill::CreateRoundRectangle(r, 100000, TFillRoundingType(t));
        EXPECT_TRUE(r.adjusted(-0.01, -0.01, 0.01, 0.01).contains(huge.boundingRect())) << t;
    }
}

TEST(GradientFillModel, GetPathStartsAtTheTopLeftAndGoesClockwise)
{
    QPainterPath path;
    TGradientFill::GetPath(path, 0, 0, 100, 50, 20, 10, rtBoth);
    ASSERT_GT(path.elementCount(), 8);
    const QPointF first = path.elementAt(0);
    EXPECT_NEAR(first.x(), 0, 1e-9); // the top-left arc starts at 180 degrees
    EXPECT_NEAR(first.y(), 10, 1e-9);
    // Clockwise on screen: the signed area (y down) is positive.
    const QPolygonF poly = path.toFillPolygon();
    double area = 0;
    for (int i = 0; i + 1 < poly.size(); ++i) {
        area += poly[i].x() * poly[i + 1].y() - poly[i + 1].x() * poly[i].y();
    }
    EXPECT_GT(area, 0);
    // Four quarter circles of radius 10 cut from the corners (less a little for flattening).
    EXPECT_NEAR(area / 2, 100 * 50 - (4 - M_PI) * 100, 10);
}

TEST(GradientFillModel, AspectSizeFitsTheBox)
{
    EXPECT_EQ(TGradientFill::GetAspectSize(0, 10, 10, 10, pmStretch), QSizeF(0, 0));
    EXPECT_EQ(TGradientFill::GetAspectSize(10, 10, -1, 10, pmStretch), QSizeF(0, 0));
    EXPECT_EQ(TGradientFill::GetAspectSize(20, 10, 100, 100, pmStretch), QSizeF(100, 50));
    EXPECT_EQ(TGradientFill::GetAspectSize(10, 20, 100, 100, pmStretch), QSizeF(50, 100));
    EXPECT_EQ(TGradientFill::GetAspectSize(20, 10, 100, 100, pmNormal), QSizeF(20, 10));
    EXPECT_EQ(TGradientFill::GetAspectSize(200, 10, 100, 100, pmNormal), QSizeF(100, 5));
    EXPECT_EQ(TGradientFill::GetAspectSize(100, 10, 100, 100, pmNormal), QSizeF(100, 10));
}

TEST(GradientFillModel, DrawPicturePlacesTheTarget)
{
    TPicture picture;
    picture.LoadFromBytes(png(4, 4, 0xFFFF0000));
    struct Case
    {
        TFillPicturePosition position;
        QRect expected;
    };
    const QRect rc(10, 20, 50, 31); // right 60, bottom 51
    const Case cases[] = {
        {ppTopLeft, {10, 20, 6, 5}},
        {ppTopCenter, {32, 20, 6, 5}},
        {ppTopRight, {54, 20, 6, 5}},
        {ppBottomLeft, {10, 46, 6, 5}},
        {ppBottomCenter, {32, 46, 6, 5}},
        {ppBottomRight, {54, 46, 6, 5}},
        {ppCenterLeft, {10, 33, 6, 5}},
        {ppCenterCenter, {32, 33, 6, 5}},
        {ppCenterRight, {54, 33, 6, 5}},
        {ppCustom, {2, 3, 6, 5}},
        {ppStretched, rc},
    };
    for (const Case &c : cases) {
        QImage image(80, 60, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            TGradientFill::DrawPicture(&p, false, pmStretch, &picture, c.position, 6, 5, rc, 2, 3);
        }
        QRect painted;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (qAlpha(image.pixel(x, y))) {
                    painted |= QRect(x, y, 1, 1);
                }
            }
        }
        EXPECT_EQ(painted, c.expected) << int(c.position);
    }
}

TEST(GradientFillModel, StretchedWithAspectRatioIsCentred)
{
    TPicture picture;
    picture.LoadFromBytes(png(20, 10, 0xFF0000FF));
    QImage image(80, 80, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        TGradientFill::DrawPicture(&p, true, pmStretch, &picture, ppStretched, 0, 0,
                                   QRect(0, 0, 60, 60), 0, 0);
    }
    EXPECT_EQ(qAlpha(image.pixel(30, 14)), 0);
    EXPECT_EQ(image.pixel(0, 15), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(59, 44), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(30, 45)), 0);
}

TEST(GradientFillModel, OnlyLinearSquareBodiesAreAlikeAlongALine)
{
    const auto alike = [](const std::function<void(TGradientFill &)> &set) {
        TGradientFill fill;
        set(fill);
        return std::pair(fill.IsAlikeAlong(Qt::Horizontal), fill.IsAlikeAlong(Qt::Vertical));
    };
    using Both = std::pair<bool, bool>;
    EXPECT_EQ(alike([](TGradientFill &) {}), Both(true, false)); // vertical by default
    EXPECT_EQ(alike([](TGradientFill &f) { f.SetGradientType(gtHorizontal); }), Both(false, true));
    EXPECT_EQ(alike([](TGradientFill &f) { f.SetColorTo(clNone); }), Both(true, true));
    // A mirror half below keeps rows alike only.
    EXPECT_EQ(alike([](TGradientFill &f) {
                  f.SetGradientType(gtSolid);
                  f.SetColorMirror(0x123456);
              }),
              Both(true, false));
    EXPECT_EQ(alike([](TGradientFill &f) {
                  f.SetColorMirror(0x123456);
                  f.SetColorMirrorTo(0x654321);
                  f.SetGradientMirrorType(gtHorizontal);
              }),
              Both(false, false));
    // Anything that is not the same all along a line.
    const std::function<void(TGradientFill &)> unlike[] = {
        [](TGradientFill &f) { f.SetGradientType(gtRadial); },
        [](TGradientFill &f) { f.SetGradientType(gtForwardDiagonal); },
        [](TGradientFill &f) { f.SetGradientType(gtHatch); },
        [](TGradientFill &f) { f.SetRounding(4); },
        [](TGradientFill &f) { f.SetShadowOffset(3); },
        [](TGradientFill &f) { f.SetGlow(gmGradient); },
        [](TGradientFill &f) { f.SetFocus(true); },
        [](TGradientFill &f) { f.Picture()->LoadFromBytes(png(2, 2, 0xFFFF0000)); },
    };
    for (const auto &set : unlike) {
        EXPECT_EQ(alike(set), Both(false, false));
    }
}
