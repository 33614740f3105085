// SPDX-License-Identifier: MIT
// Mouse, keyboard, focus, tooltips and animation of a shown rotary menu.
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// What one item event carried.
struct Fired
{
    QObject *sender;
    int index;
    bool operator==(const Fired &) const = default;
};

// Records the item events of one menu, in order.
struct Recorder
{
    explicit Recorder(TRotaryMenu &menu)
    {
        auto record = [](std::vector<Fired> &into) {
            return [&into](QObject *sender, int index) { into.push_back({sender, index}); };
        };
        QObject::connect(&menu, &TRotaryMenu::OnMenuItemClick, record(clicks));
        QObject::connect(&menu, &TRotaryMenu::OnMenuItemDblClick, record(doubleClicks));
        QObject::connect(&menu, &TRotaryMenu::OnMenuItemMouseEnter, record(enters));
        QObject::connect(&menu, &TRotaryMenu::OnMenuItemMouseLeave, record(leaves));
        QObject::connect(
            &menu, &TRotaryMenu::OnMenuItemMouseDown,
            [this](QObject *s, int i, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                downs.push_back({s, i});
            });
        QObject::connect(
            &menu, &TRotaryMenu::OnMenuItemMouseUp,
            [this](QObject *s, int i, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                ups.push_back({s, i});
            });
        QObject::connect(
            &menu, &TRotaryMenu::OnMenuItemMouseMove,
            [this](QObject *, int i, Qt::KeyboardModifiers, int, int) { moves.push_back(i); });
    }
    std::vector<Fired> clicks, doubleClicks, enters, leaves, downs, ups;
    std::vector<int> moves;
};

// The colour test's layout, quiet at StartAngle 0 with ten items.
class RotaryMenuInput : public testing::Test
{
protected:
    void SetUp() override
    {
        menu.resize(656, 658);
        menu.SetSize(150);
        menu.SetShadowOffset(0);
        menu.SetAnimation(false);
        menu.SetStartAngle(0);
        for (int i = 0; i < 10; ++i) {
            menu.Items()->Add()->SetHint(QStringLiteral("item %1").arg(i));
        }
        menu.show();
    }

    TRotaryMenuItem *item(int i) { return menu.Items()->Items(i); }
    // A point well inside item i's sector: the centre of its box.
    QPoint at(int i) { return menu.Geometry().itemBox(i).center().toPoint(); }
    static QPoint hole() { return {327, 328}; }

    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent event(type, pos, menu.mapToGlobal(pos), button, buttons, mods);
        QApplication::sendEvent(&menu, &event);
    }
    void press(QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, pos, button, button);
    }
    void release(QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonRelease, pos, Qt::NoButton, button);
    }
    void move(QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
    {
        mouse(QEvent::MouseMove, pos, buttons, Qt::NoButton);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&menu, &event);
    }
    void key(int key, Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent down(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(&menu, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(&menu, &up);
    }

    TRotaryMenu menu;
    Recorder events{menu};
};

TEST_F(RotaryMenuInput, PressMoveReleaseClicksThePressedItem)
{
    press(at(3));
    EXPECT_EQ(menu.DownItem(), item(3));
    EXPECT_EQ(menu.FocusedItem(), item(3));
    move(at(4), Qt::LeftButton);
    release(at(4));
    EXPECT_EQ(events.downs, (std::vector<Fired>{{&menu, 3}}));
    EXPECT_EQ(events.ups, (std::vector<Fired>{{&menu, 3}}));
    // A mouse click names the item object itself as its sender.
    EXPECT_EQ(events.clicks, (std::vector<Fired>{{item(3), 3}}));
    EXPECT_EQ(menu.DownItem(), nullptr);

    // Any button presses; releasing outside every item still clicks the pressed one.
    press(at(7), Qt::RightButton);
    release(hole(), Qt::RightButton);
    EXPECT_EQ(events.clicks.back(), (Fired{item(7), 7}));
}

TEST_F(RotaryMenuInput, LeavingCancelsThePress)
{
    press(at(3));
    leave();
    release(at(3));
    EXPECT_TRUE(events.clicks.empty());

    // Dragged out of the control while held: the same.
    press(at(2));
    move(QPoint(700, 10), Qt::LeftButton);
    release(QPoint(700, 10));
    EXPECT_TRUE(events.clicks.empty());
    EXPECT_EQ(menu.HoveredItem(), nullptr);
}

TEST_F(RotaryMenuInput, DisabledAndReadOnlyItemsIgnoreTheMouse)
{
    item(2)->SetEnabled(false);
    item(5)->SetReadOnly(true);
    for (int i : {2, 5}) {
        press(at(i));
        release(at(i));
        move(at(i));
        EXPECT_EQ(menu.HoveredItem(), nullptr);
    }
    press(hole());
    release(hole());
    EXPECT_TRUE(events.downs.empty());
    EXPECT_TRUE(events.clicks.empty());
    EXPECT_EQ(menu.FocusedItem(), nullptr);
}

TEST_F(RotaryMenuInput, HoverFollowsTheMouse)
{
    move(at(0));
    move(at(0));
    move(at(1));
    move(hole());
    EXPECT_EQ(events.moves, (std::vector<int>{0, 0, 1, -1}));
    EXPECT_EQ(events.enters, (std::vector<Fired>{{&menu, 0}, {&menu, 1}}));
    EXPECT_EQ(events.leaves, (std::vector<Fired>{{&menu, 0}, {&menu, 1}}));
    EXPECT_EQ(menu.HoveredItem(), nullptr);

    move(at(6));
    EXPECT_EQ(menu.HoveredItem(), item(6));
    leave();
    EXPECT_EQ(menu.HoveredItem(), nullptr);
}

TEST_F(RotaryMenuInput, MouseMovesDuringAnAnimationAreIgnored)
{
    menu.SetAnimation(true);
    menu.SetStartAngle(90);
    ASSERT_TRUE(menu.IsAnimating());
    move(at(0));
    EXPECT_TRUE(events.moves.empty());
    EXPECT_EQ(menu.HoveredItem(), nullptr);
    // Presses still work, on the current angles.
    press(at(0));
    EXPECT_EQ(menu.DownItem(), item(0));
}

TEST_F(RotaryMenuInput, DoubleClickReportsTheItemUnderTheCursor)
{
    press(at(4));
    release(at(4));
    mouse(QEvent::MouseButtonDblClick, at(4), Qt::LeftButton);
    release(at(4));
    EXPECT_EQ(events.doubleClicks, (std::vector<Fired>{{&menu, 4}}));
    EXPECT_EQ(events.clicks.size(), 2u); // both presses click
    mouse(QEvent::MouseButtonDblClick, hole(), Qt::LeftButton);
    EXPECT_EQ(events.doubleClicks.size(), 1u);
}

TEST_F(RotaryMenuInput, ArrowsHomeAndEndMoveTheFocusWithoutWrapping)
{
    key(Qt::Key_Right);
    EXPECT_EQ(menu.FocusedItem(), item(0)); // none focused: the first
    menu.Items()->Delete(0);
    EXPECT_EQ(menu.FocusedItem(), nullptr);
    key(Qt::Key_Left);
    EXPECT_EQ(menu.FocusedItem(), item(8)); // none focused: the last

    item(7)->SetEnabled(false);
    key(Qt::Key_Up);
    EXPECT_EQ(menu.FocusedItem(), item(6)); // disabled items are skipped
    key(Qt::Key_Down);
    EXPECT_EQ(menu.FocusedItem(), item(8));
    key(Qt::Key_Right);
    EXPECT_EQ(menu.FocusedItem(), item(8)); // no wrap at the end

    key(Qt::Key_Home);
    key(Qt::Key_Left);
    EXPECT_EQ(menu.FocusedItem(), item(0)); // nor at the start
    item(8)->SetEnabled(false);
    item(0)->SetEnabled(false);
    key(Qt::Key_End);
    EXPECT_EQ(menu.FocusedItem(), item(8)); // Home and End do not skip
    key(Qt::Key_Home);
    EXPECT_EQ(menu.FocusedItem(), item(0));
    EXPECT_TRUE(events.clicks.empty());
}

TEST_F(RotaryMenuInput, KeysClickTheFocusedItemAndShortcuts)
{
    key(Qt::Key_Space); // nothing focused: nothing clicked
    EXPECT_TRUE(events.clicks.empty());

    item(9)->SetEnabled(false);
    key(Qt::Key_End);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, {});
    QApplication::sendEvent(&menu, &down);
    EXPECT_EQ(menu.DownItem(), item(9));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, {});
    QApplication::sendEvent(&menu, &up);
    // Keyboard clicks ignore Enabled and name the control as their sender.
    EXPECT_EQ(events.clicks, (std::vector<Fired>{{&menu, 9}}));
    EXPECT_EQ(menu.DownItem(), nullptr);

    key(Qt::Key_Return);
    EXPECT_EQ(events.clicks.size(), 2u);

    item(4)->SetShortCut(QKeyCombination(Qt::ControlModifier, Qt::Key_K).toCombined());
    key(Qt::Key_K);
    EXPECT_EQ(events.clicks.size(), 2u);
    key(Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(events.clicks.back(), (Fired{&menu, 4}));
}

TEST_F(RotaryMenuInput, KeysTheMenuDoesNotUseGoToTheParent)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, {});
    QApplication::sendEvent(&menu, &escape);
    EXPECT_FALSE(escape.isAccepted());
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, {});
    QApplication::sendEvent(&menu, &right);
    EXPECT_TRUE(right.isAccepted());
}

TEST_F(RotaryMenuInput, ToggleItemsFlipDownOnEveryClick)
{
    item(1)->SetToggle(true);
    press(at(1));
    release(at(1));
    EXPECT_TRUE(item(1)->Down());
    key(Qt::Key_Space); // focused by the press
    EXPECT_FALSE(item(1)->Down());
    press(at(2));
    release(at(2));
    EXPECT_FALSE(item(2)->Down());
}

TEST_F(RotaryMenuInput, LosingFocusDropsHoverAndPress)
{
    menu.activateWindow();
    menu.setFocus();
    move(at(3));
    press(at(3));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&menu, &out);
    EXPECT_EQ(menu.HoveredItem(), nullptr);
    EXPECT_EQ(menu.DownItem(), nullptr);
    EXPECT_EQ(menu.FocusedItem(), item(3));
    release(at(3));
    EXPECT_TRUE(events.clicks.empty());
}

TEST_F(RotaryMenuInput, DeletedItemsAreForgotten)
{
    move(at(3));
    press(at(3));
    ASSERT_EQ(menu.HoveredItem(), item(3));
    menu.Items()->Delete(3);
    EXPECT_EQ(menu.HoveredItem(), nullptr);
    EXPECT_EQ(menu.DownItem(), nullptr);
    EXPECT_EQ(menu.FocusedItem(), nullptr);
    release(at(3));
    EXPECT_TRUE(events.clicks.empty());

    // A handler that deletes the item it is told about.
    QObject::connect(&menu, &TRotaryMenu::OnMenuItemMouseUp, &menu,
                     [this](QObject *, int index) { menu.Items()->Delete(index); });
    press(at(5));
    release(at(5));
    EXPECT_EQ(menu.Items()->Count(), 8);
    EXPECT_TRUE(events.clicks.empty());

    menu.Items()->Clear();
    press(at(0));
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(menu.FocusedItem(), nullptr);
    EXPECT_TRUE(events.clicks.empty());
}

TEST_F(RotaryMenuInput, TooltipShowsTheHoveredItemsHint)
{
    QObject::connect(&menu, &TRotaryMenu::OnMenuItemHint, [](QObject *, int index, QString &hint) {
        if (index == 2) {
            hint = QStringLiteral("changed");
        }
    });
    auto tooltip = [this](int i) {
        move(at(i));
        QHelpEvent help(QEvent::ToolTip, at(i), menu.mapToGlobal(at(i)));
        QApplication::sendEvent(&menu, &help);
        return QToolTip::text();
    };
    EXPECT_EQ(tooltip(1), QStringLiteral("item 1"));
    EXPECT_EQ(tooltip(2), QStringLiteral("changed"));
}

// The same menu driven by its own 1 ms timer, once from end to end.
TEST_F(RotaryMenuInput, TimerRunsTheAnimationToItsEnd)
{
    menu.SetAnimation(true);
    menu.SetStartAngle(100);
    EXPECT_EQ(menu.StartAngle(), 0);
    QElapsedTimer clock;
    clock.start();
    while ((menu.IsAnimating() || menu.StartAngle() != 100) && clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(menu.StartAngle(), 100);
    EXPECT_FALSE(menu.IsAnimating());
}

// Counts the timer events delivered to a menu and the start angle each one found.
struct TimerEvents : QObject
{
    explicit TimerEvents(TRotaryMenu *menu) : menu(menu) { menu->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ++count;
            angles.push_back(menu->StartAngle());
        }
        return false;
    }
    TRotaryMenu *menu;
    int count = 0;
    std::vector<double> angles;
};

// A settled menu gets no timer events. Each way of starting a motion wakes the timer again,
// which then takes the hand-stepped steps and stops with the last of them.
TEST_F(RotaryMenuInput, TimerSleepsWhileNothingMoves)
{
    TimerEvents ticks(&menu);
    // Ticks taken until the motion ended, checking that none follow.
    auto ticksToSettle = [&] {
        QElapsedTimer clock;
        clock.start();
        while (menu.IsAnimating() && clock.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_FALSE(menu.IsAnimating());
        const int n = std::exchange(ticks.count, 0);
        QTest::qWait(300);
        EXPECT_EQ(ticks.count, 0) << "ticks after the motion ended";
        return n;
    };
    QTest::qWait(300);
    EXPECT_EQ(ticks.count, 0);

    menu.SetAnimation(true);
    menu.SetStartAngle(100);
    EXPECT_EQ(ticksToSettle(), 16); // the last one ends the animation
    EXPECT_EQ(ticks.angles, (std::vector<double>{0, 25, 44, 58, 68, 76, 82, 86, 90, 92, 94, 96, 97,
                                                 98, 99, 100}));
    EXPECT_EQ(menu.StartAngle(), 100);

    // Opening without animating in: the angles jump, only the pending flag is left for a
    // tick to clear.
    menu.SetAnimationType(TRotaryMenu::atOut);
    menu.StartInAnimation();
    EXPECT_EQ(menu.StopAngle(), 360);
    EXPECT_EQ(ticksToSettle(), 1);

    // A motion left pending while Animation was off ends once it is back on.
    menu.SetStartAngle(50);
    menu.SetAnimation(false);
    menu.SetStartAngle(50);
    QTest::qWait(50);
    ASSERT_TRUE(menu.IsAnimating());
    EXPECT_LE(std::exchange(ticks.count, 0), 1); // nothing to move: no spinning either
    menu.SetAnimation(true);
    EXPECT_EQ(ticksToSettle(), 1);
    EXPECT_EQ(menu.StartAngle(), 50);
}

TEST_F(RotaryMenuInput, SpinInWithoutTimerTicks)
{
    menu.SetAnimation(true);
    menu.SetStartAngle(360);
    EXPECT_EQ(menu.StartAngle(), 0); // the first change starts a motion
    for (int angle = 355; angle >= 0; angle -= 5) {
        menu.SetStartAngle(angle);
        ASSERT_EQ(menu.StartAngle(), angle); // the others jump
    }
    menu.Animate();
    EXPECT_FALSE(menu.IsAnimating());

    // Stepping the widget's animation by hand follows the step rule.
    menu.SetStartAngle(100);
    std::vector<double> seen;
    while (menu.IsAnimating()) {
        menu.Animate();
        seen.push_back(menu.StartAngle());
    }
    EXPECT_EQ(seen, (std::vector<double>{25, 44, 58, 68, 76, 82, 86, 90, 92, 94, 96, 97, 98, 99,
                                         100, 100}));
}

TEST_F(RotaryMenuInput, PopupTransitions)
{
    menu.SetAnimation(true);
    menu.SetStopAngle(300);
    while (menu.IsAnimating()) {
        menu.Animate();
    }
    menu.StartInAnimation(); // collapses onto the start angle, then grows back
    EXPECT_EQ(menu.StopAngle(), 0);
    EXPECT_TRUE(menu.IsAnimating());
    while (menu.IsAnimating()) {
        menu.Animate();
    }
    EXPECT_EQ(menu.StopAngle(), 300);

    menu.StartOutAnimation();
    EXPECT_EQ(menu.StopAngle(), 300);
    while (menu.IsAnimating()) {
        menu.Animate();
    }
    EXPECT_EQ(menu.StopAngle(), 0);

    // Opening without animating out: the out transition applies at once.
    menu.SetAnimationType(TRotaryMenu::atIn);
    menu.StartInAnimation();
    while (menu.IsAnimating()) {
        menu.Animate();
    }
    menu.StartOutAnimation();
    EXPECT_EQ(menu.StopAngle(), 0);
    while (menu.IsAnimating()) {
        menu.Animate();
    }

    // Size transitions start from nothing.
    menu.SetAnimationMode(TRotaryMenu::amSize);
    menu.SetAnimationType(TRotaryMenu::atInOut);
    menu.StartInAnimation();
    EXPECT_EQ(menu.Geometry().R.width(), -1);
    while (menu.IsAnimating()) {
        menu.Animate();
    }
    EXPECT_EQ(menu.Geometry().R.width(), 655);
}

} // namespace
