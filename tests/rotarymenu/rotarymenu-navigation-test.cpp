// SPDX-License-Identifier: MIT
// Keyboard navigation modes, digit keys, the wheel, touch, hit zones and reduced motion of a
// shown rotary menu.
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointingDevice>
#include <QProxyStyle>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Ten items on the colour test's ring, quiet at StartAngle 0.
class RotaryMenuNavigation : public testing::Test
{
protected:
    void SetUp() override
    {
        menu.resize(656, 658);
        menu.SetSize(150);
        menu.SetShadowOffset(0);
        menu.SetAnimation(false);
        menu.SetStartAngle(0);
        for (int i = 0; i < 10; ++i)
            menu.Items()->Add();
        QObject::connect(&menu, &TRotaryMenu::OnMenuItemClick,
                         [this](QObject *, int index) { clicks.push_back(index); });
        menu.show();
        menu.setFocus();
    }

    int focused() const { return menu.Items()->IndexOf(menu.FocusedItem()); }
    QPointF centre(int i) const { return menu.Geometry().itemBox(i).center(); }
    void key(int key, quint32 scanCode = 0, const QString &text = {},
             Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent down(QEvent::KeyPress, key, mods, scanCode, 0, 0, text);
        QApplication::sendEvent(&menu, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods, scanCode, 0, 0, text);
        QApplication::sendEvent(&menu, &up);
    }
    bool wheel(int eighths)
    {
        const QPointF at = centre(0);
        QWheelEvent event(at, menu.mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&menu, &event);
        return event.isAccepted();
    }
    void focusItem(int i)
    {
        key(Qt::Key_Home);
        for (int k = 0; k < i; ++k)
            key(Qt::Key_Right);
        ASSERT_EQ(focused(), i);
    }

    TRotaryMenu menu;
    std::vector<int> clicks;
};

} // namespace

TEST_F(RotaryMenuNavigation, ItemOrderStopsAtTheEndsAndWrapGoesRoundAFullRingOnly)
{
    EXPECT_EQ(menu.KeyNavigation(), TRotaryMenu::knItemOrder);
    focusItem(9);
    key(Qt::Key_Right);
    EXPECT_EQ(focused(), 9) << "today's keys stop at the last item";

    menu.SetKeyNavigation(TRotaryMenu::knWrap);
    key(Qt::Key_Right);
    EXPECT_EQ(focused(), 0);
    key(Qt::Key_Left);
    EXPECT_EQ(focused(), 9);
    // A disabled neighbour is passed over, round the end too.
    menu.Items()->Items(0)->SetEnabled(false);
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), 1);

    // Half a ring has two ends: no going round.
    menu.Items()->Items(0)->SetEnabled(true);
    menu.SetStopAngle(180);
    focusItem(9);
    key(Qt::Key_Right);
    EXPECT_EQ(focused(), 9);
    EXPECT_TRUE(clicks.empty()) << "moving the focus clicks nothing";
}

TEST_F(RotaryMenuNavigation, DirectionKeysFollowTheScreen)
{
    menu.SetKeyNavigation(TRotaryMenu::knDirection);
    struct Arrow
    {
        int key;
        QPointF way;
    };
    const Arrow arrows[] = {{Qt::Key_Down, {0, 1}},
                            {Qt::Key_Up, {0, -1}},
                            {Qt::Key_Left, {-1, 0}},
                            {Qt::Key_Right, {1, 0}}};
    for (const Arrow &arrow : arrows) {
        // Pressed again and again, an arrow walks that way and stops at the far edge.
        focusItem(0);
        int steps = 0;
        for (;;) {
            const int before = focused();
            key(arrow.key);
            if (focused() == before)
                break;
            EXPECT_GT(QPointF::dotProduct(centre(focused()) - centre(before), arrow.way), 0.5)
                << "key " << arrow.key << " went against its direction";
            ASSERT_LT(++steps, 10);
        }
        double farthest = -1e9;
        for (int i = 0; i < 10; ++i)
            farthest = std::max(farthest, QPointF::dotProduct(centre(i), arrow.way));
        EXPECT_NEAR(QPointF::dotProduct(centre(focused()), arrow.way), farthest, 1.0)
            << "key " << arrow.key << " stopped before the edge";
    }
}

TEST_F(RotaryMenuNavigation, DigitKeysClickByThePlaceOfTheKey)
{
    key(Qt::Key_1, 10, QStringLiteral("1"));
    EXPECT_TRUE(clicks.empty()) << "off by default";

    menu.SetDigitKeys(true);
    key(Qt::Key_1, 10, QStringLiteral("1"));
    // AZERTY: the same keys give "&" and "à" unshifted.
    key(Qt::Key_Ampersand, 10, QStringLiteral("&"));
    key(Qt::Key_Agrave, 19, QString(QChar(0xE0)));
    // A key event without a scan code (synthesised) still counts by its digit.
    key(Qt::Key_3);
    EXPECT_EQ(clicks, (std::vector<int>{0, 0, 9, 2}));
    // Shortcuts of other programs' kind and keys beyond the items are left alone.
    clicks.clear();
    key(Qt::Key_2, 11, QStringLiteral("2"), Qt::ControlModifier);
    menu.Items()->Delete(9);
    key(Qt::Key_0, 19, QStringLiteral("0"));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(RotaryMenuNavigation, TheWheelStepsTheFocusWhenAsked)
{
    focusItem(3);
    EXPECT_FALSE(wheel(-120)) << "off by default the wheel goes to the parent";
    EXPECT_EQ(focused(), 3);

    menu.SetWheelStepsFocus(true);
    EXPECT_TRUE(wheel(-120));
    EXPECT_EQ(focused(), 4);
    EXPECT_TRUE(wheel(240));
    EXPECT_EQ(focused(), 2);
    // A fine-grained wheel adds up to whole notches.
    for (int i = 0; i < 3; ++i)
        wheel(-40);
    EXPECT_EQ(focused(), 3);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(RotaryMenuNavigation, ATapClicksAsTheMouseDoes)
{
    static QPointingDevice *screen = QTest::createTouchDevice();
    const QPoint at = centre(4).toPoint();
    QTest::touchEvent(&menu, screen).press(0, at, &menu);
    QTest::touchEvent(&menu, screen).release(0, at, &menu);
    QApplication::processEvents();
    EXPECT_EQ(clicks, (std::vector<int>{4}));
}

TEST_F(RotaryMenuNavigation, HitZonesReachBeyondTheRingAndLeaveTheCentreDead)
{
    const zc::ring::TRotaryMenuGeometry g = menu.Geometry();
    const QPointF c = g.R.center();
    const double outer = g.R.width() / 2;
    // A point `past` pixels beyond the outer edge, on the line through item i's centre.
    const auto beyond = [&](int i, double past) {
        const QPointF way = centre(i) - c;
        return (c + way * ((outer + past) / std::hypot(way.x(), way.y()))).toPoint();
    };
    const auto hit = [&](QPoint p) { return menu.Items()->IndexOf(menu.ItemAtXY(p.x(), p.y())); };
    EXPECT_EQ(menu.SectorReach(), 0);
    EXPECT_EQ(hit(beyond(3, 20)), -1) << "by default only the outline counts";
    menu.SetSectorReach(40);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(hit(beyond(i, 20)), i);
        EXPECT_EQ(hit(beyond(i, 39)), i);
        EXPECT_EQ(hit(beyond(i, 45)), -1) << "past the reach";
        EXPECT_EQ(hit(centre(i).toPoint()), i) << "the outline itself is unchanged";
    }

    // A pie has no hole: the dead zone makes one for the pointer only.
    menu.SetLayout(TRotaryMenu::rmlCircularPie);
    const QPoint middle = menu.Geometry().R.center().toPoint();
    const QPoint nearMiddle = middle + QPoint(0, 40);
    EXPECT_GE(hit(middle + QPoint(0, 10)), 0);
    menu.SetDeadZoneRadius(30);
    EXPECT_EQ(hit(middle + QPoint(0, 10)), -1);
    EXPECT_GE(hit(nearMiddle), 0) << "outside the dead zone the sectors answer";
}

TEST_F(RotaryMenuNavigation, WithoutDesktopAnimationsChangesJumpToTheirEnd)
{
    // Animation on, the desktop animating: a new angle is reached step by step.
    menu.SetAnimation(true);
    menu.SetStartAngle(90);
    EXPECT_NE(menu.StartAngle(), 90) << "moving, not there yet";
    QTRY_COMPARE_WITH_TIMEOUT(menu.StartAngle(), 90.0, 5000);

    // A desktop that turned animations off: the same end value at once.
    struct Still : QProxyStyle
    {
        int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *data) const override
        {
            return hint == SH_Widget_Animation_Duration
                       ? 0
                       : QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    Still still;
    menu.setStyle(&still);
    menu.SetStartAngle(180);
    EXPECT_EQ(menu.StartAngle(), 180);
    menu.setStyle(nullptr);
}
