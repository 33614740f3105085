// SPDX-License-Identifier: MIT
// The rotary menu as assistive technology sees it: a list of button-like items.
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::pair<QObject *, QAccessible::Event>> *seenEvents = nullptr;

void recordUpdate(QAccessibleEvent *event)
{
    if (seenEvents) {
        seenEvents->push_back({event->object(), event->type()});
    }
}

class RotaryMenuAccessible : public testing::Test
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
            menu.Items()->Add()->SetHint(QStringLiteral("GEM %1").arg(i));
        }
        menu.show();
        // Tests run side by side on one X server without a window manager, so the
        // X input focus may belong to another test's window: make this window
        // Qt's active one directly.
        QApplication::setActiveWindow(&menu);
        menu.setFocus();
        QApplication::processEvents();
        root = QAccessible::queryAccessibleInterface(&menu);
        ASSERT_NE(root, nullptr);
    }

    void key(int key)
    {
        QKeyEvent down(QEvent::KeyPress, key, {});
        QApplication::sendEvent(&menu, &down);
        QKeyEvent up(QEvent::KeyRelease, key, {});
        QApplication::sendEvent(&menu, &up);
    }

    TRotaryMenu menu;
    QAccessibleInterface *root = nullptr;
};

TEST_F(RotaryMenuAccessible, ItemsAreNamedButtonsAtTheirSectors)
{
    EXPECT_EQ(root->role(), QAccessible::List);
    ASSERT_EQ(root->childCount(), 10);
    QAccessibleInterface *third = root->child(2);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->role(), QAccessible::Button);
    EXPECT_EQ(third->text(QAccessible::Name), QStringLiteral("GEM 2"));
    EXPECT_EQ(third->parent(), root);
    EXPECT_EQ(root->indexOfChild(third), 2);

    // Bounds are the sector's, in screen coordinates.
    const QRectF sector = menu.Geometry().itemPath(2).boundingRect();
    EXPECT_EQ(third->rect(),
              QRect(menu.mapToGlobal(sector.toRect().topLeft()), sector.toRect().size()));
    const QPoint centre = menu.mapToGlobal(menu.Geometry().itemBox(2).center().toPoint());
    EXPECT_EQ(root->childAt(centre.x(), centre.y()), third);

    // A caption without a hint names the item, without its access-key marker.
    menu.Items()->Items(4)->SetHint(QString());
    menu.Items()->Items(4)->SetCaption(QStringLiteral("&Ruby"));
    EXPECT_EQ(root->child(4)->text(QAccessible::Name), QStringLiteral("Ruby"));
}

TEST_F(RotaryMenuAccessible, StatesFollowTheItems)
{
    TRotaryMenuItem *item = menu.Items()->Items(1);
    item->SetEnabled(false);
    EXPECT_TRUE(root->child(1)->state().disabled);
    EXPECT_FALSE(root->child(0)->state().disabled);

    menu.Items()->Items(3)->SetToggle(true);
    menu.Items()->Items(3)->SetDown(true);
    EXPECT_TRUE(root->child(3)->state().checkable);
    EXPECT_TRUE(root->child(3)->state().checked);

    ASSERT_TRUE(menu.hasFocus());
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(root->focusChild(), root->child(2)); // item 1 is disabled and skipped
    EXPECT_TRUE(root->child(2)->state().focused);
}

TEST_F(RotaryMenuAccessible, PressActionClicksTheItem)
{
    std::vector<int> clicks;
    QObject::connect(&menu, &TRotaryMenu::OnMenuItemClick,
                     [&clicks](QObject *, int index) { clicks.push_back(index); });
    QAccessibleActionInterface *action = root->child(6)->actionInterface();
    ASSERT_NE(action, nullptr);
    action->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, (std::vector<int>{6}));
}

TEST_F(RotaryMenuAccessible, FocusMovesAreAnnounced)
{
    std::vector<std::pair<QObject *, QAccessible::Event>> events;
    seenEvents = &events;
    QAccessible::installUpdateHandler(recordUpdate);
    QAccessible::setActive(true);
    if (!QAccessible::isActive()) {
        QAccessible::installUpdateHandler(nullptr);
        seenEvents = nullptr;
        GTEST_SKIP() << "this platform has no accessibility bridge to announce to";
    }
    key(Qt::Key_End);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    QAccessible::installUpdateHandler(nullptr);
    seenEvents = nullptr;
    std::vector<QObject *> focused;
    for (const auto &[object, type] : events) {
        if (type == QAccessible::Focus) {
            focused.push_back(object);
        }
    }
    EXPECT_EQ(focused, (std::vector<QObject *>{menu.Items()->Items(9), menu.Items()->Items(8),
                                               menu.Items()->Items(7)}));
}

TEST_F(RotaryMenuAccessible, DeletedItemsLeaveTheTree)
{
    QAccessibleInterface *last = root->child(9);
    ASSERT_NE(last, nullptr);
    menu.Items()->Delete(9);
    EXPECT_EQ(root->childCount(), 9);
    EXPECT_EQ(root->child(9), nullptr);
}

} // namespace
