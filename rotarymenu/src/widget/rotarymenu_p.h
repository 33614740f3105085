// SPDX-License-Identifier: MIT
// Private state of the rotary menu widget shared by its implementation files.
#pragma once

#include "ring/ringframe.h"
#include "ring/ringpainter.h"
#include "widget/rotarymenuanimation.h"
#include <rotarymenu/picturecontainer.h>
#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuimagelist.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QBasicTimer>
#include <QPointer>

#include <functional>

class QKeyEvent;

namespace zc::ring {

/// What a key does to the menu.
enum class TKeyAction
{
    None,
    Press,
    First,
    Last,
    Previous,
    Next
};
TKeyAction keyAction(int key);

struct TRotaryMenuPrivate
{
    explicit TRotaryMenuPrivate(TRotaryMenu *q);
    static TRotaryMenuPrivate *get(TRotaryMenu *menu) { return menu->d.get(); }

    /// Index of `item` in the collection, -1 for none.
    int indexOf(const TRotaryMenuItem *item) const { return items->IndexOf(item); }
    /// Drops every interaction reference to an item that is going away.
    void forget(const TRotaryMenuItem *item);
    /// Resets the animated width and height when the control's size changed. A hidden
    /// widget gets its resize event only when shown, so this is checked wherever the size
    /// is used rather than relied on from the event.
    void syncSize();
    /// Sets the width or height target under the angle setters' rules.
    void setAnimated(TAnimatedValue &q, double value);
    /// Starts the animation timer when a tick has work and it is not running yet; the tick
    /// stops it once there is none. Called after anything that can give a tick work.
    void wakeTimer();

    /// Carries out a key's action; items must not be empty.
    void perform(TKeyAction action);
    /// Keyboard navigation without wrap-around, skipping disabled items.
    /// Whether changes move step by step: Animation is on and the desktop animates widgets.
    bool moves() const;
    /// The next (previous) enabled item after the focused one; past the end it goes round
    /// to the start only with `wrap`.
    TRotaryMenuItem *findNextFocused(bool wrap = false) const;
    TRotaryMenuItem *findPreviousFocused(bool wrap = false) const;
    /// Whether the items close a full circle, so that the last one sits beside the first.
    bool closesCircle() const;
    /// The enabled item whose centre lies nearest from the focused one in `direction` (on
    /// screen, y down), or the focused one when there is none that way.
    TRotaryMenuItem *findInDirection(QPointF direction) const;
    /// The item a digit key stands for under DigitKeys (1 is the first, 0 the tenth).
    TRotaryMenuItem *itemForDigitKey(const QKeyEvent *event) const;
    /// First item whose ShortCut is this key combination, or null.
    TRotaryMenuItem *itemForShortCut(int combination) const;
    /// Pressed := none, flip a toggle item, raise the click with `sender`.
    void clickFromKey(TRotaryMenuItem *item);
    /// Hovered and pressed := none (the mouse left, or focus went away).
    void cancelPointer();

    /// Makes the menu and its items known to assistive technology (once per process).
    static void installAccessibility();
    /// Tells assistive technology which item has the keyboard focus, when that changed.
    void announceFocus();

    /// What the next frame shows, for the painter (rotarymenupaint.cpp).
    TRingFrame ringFrame(const TRotaryMenuGeometry &g) const;

    TRotaryMenu *q;
    std::unique_ptr<TRotaryMenuItems> items;
    QFont defaultFont;
    TColor defaultFontColor;
    std::unique_ptr<TGradientFill> defaultFill;
    std::unique_ptr<TGradientFill> defaultHoverFill;
    std::unique_ptr<TGradientFill> defaultDownFill;
    std::unique_ptr<TGradientFill> defaultDisabledFill;

    bool animation = true;
    int animationFactor = 4;
    TRotaryMenuAnimationType animationType = TRotaryMenu::atInOut;
    TRotaryMenu::TRotaryMenuAnimationModes animationMode = TRotaryMenu::amAngle;
    TColor shadowColor = 0x2D1606;
    int shadowOffset = 4;
    int shadowOpacity = 100;
    int size = 50;
    TRotaryMenuLayout layout = TRotaryMenu::rmlCircularDonut;
    bool showFocus = true;
    TRotaryMenu::TRotaryMenuKeyNavigation keyNavigation = TRotaryMenu::knItemOrder;
    bool digitKeys = false;
    bool wheelStepsFocus = false;
    int deadZoneRadius = 0;
    int sectorReach = 0;
    int wheelRemainder = 0; ///< eighths of a degree not yet worth a whole notch
    QPointer<TPictureContainer> pictureContainer;
    QPointer<TImageList> imageList;

    TRotaryMenuItem *hovered = nullptr;
    TRotaryMenuItem *focused = nullptr;
    TRotaryMenuItem *down = nullptr;
    TRotaryMenuItem *announcedFocus = nullptr;
    int updateCount = 0;
    TRotaryMenuAnimation anim;
    double saveStopAngle = -1.0;
    double saveW = -1.0;
    double saveH = -1.0;
    QBasicTimer timer; ///< 1 ms ticks, running only while anim.busy()
    RingPainter painter;
    bool inPaintEvent = false; ///< the widget's own background lies under the ring
    quint64 changeCount = 0;   ///< calls of Changed(), which every visible change makes
    QSize knownSize;
    bool destroying = false;
    std::function<void()> changeHook;
};

} // namespace zc::ring
