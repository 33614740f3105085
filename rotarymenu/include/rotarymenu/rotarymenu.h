// SPDX-License-Identifier: MIT
// Rotary menu widget: a ring (or pie, row, column) of clickable, gradient-filled items.
#pragma once

#include <rotarymenu/gradientfill.h>
#include <rotarymenu/picturecontainer.h>
#include <rotarymenu/rotarymenuimagelist.h>

#include <QFont>
#include <QWidget>

#include <functional>
#include <memory>

class TRotaryMenuItem;
class TRotaryMenuItems;
namespace zc::ring {
struct TRotaryMenuGeometry;
struct TRotaryMenuPrivate;
} // namespace zc::ring

/// A control that shows its items as the sectors of a ring and reports which one is picked.
/// Angle changes move step by step on a 1 ms timer unless `Animation` is off; the timer runs
/// only while something moves. The background is the palette's window colour (the widget
/// fills it before each paint).
class TRotaryMenu : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Animation READ Animation WRITE SetAnimation NOTIFY AnimationChanged)
    Q_PROPERTY(int AnimationFactor READ AnimationFactor WRITE SetAnimationFactor NOTIFY
                   AnimationFactorChanged)
    Q_PROPERTY(TRotaryMenuAnimationType AnimationType READ AnimationType WRITE SetAnimationType
                   NOTIFY AnimationTypeChanged)
    Q_PROPERTY(TRotaryMenuAnimationModes AnimationMode READ AnimationMode WRITE SetAnimationMode
                   NOTIFY AnimationModeChanged)
    Q_PROPERTY(qint32 ShadowColor READ ShadowColor WRITE SetShadowColor NOTIFY ShadowColorChanged)
    Q_PROPERTY(int ShadowOffset READ ShadowOffset WRITE SetShadowOffset NOTIFY ShadowOffsetChanged)
    Q_PROPERTY(
        int ShadowOpacity READ ShadowOpacity WRITE SetShadowOpacity NOTIFY ShadowOpacityChanged)
    Q_PROPERTY(double StartAngle READ StartAngle WRITE SetStartAngle)
    Q_PROPERTY(double StopAngle READ StopAngle WRITE SetStopAngle)
    Q_PROPERTY(int Size READ Size WRITE SetSize NOTIFY SizeChanged)
    Q_PROPERTY(TRotaryMenuLayout Layout READ Layout WRITE SetLayout NOTIFY LayoutChanged)
    Q_PROPERTY(QFont DefaultFont READ DefaultFont WRITE SetDefaultFont NOTIFY DefaultFontChanged)
    Q_PROPERTY(qint32 DefaultFontColor READ DefaultFontColor WRITE SetDefaultFontColor NOTIFY
                   DefaultFontChanged)
    Q_PROPERTY(TGradientFill *DefaultFill READ DefaultFill WRITE SetDefaultFill)
    Q_PROPERTY(TGradientFill *DefaultHoverFill READ DefaultHoverFill WRITE SetDefaultHoverFill)
    Q_PROPERTY(TGradientFill *DefaultDownFill READ DefaultDownFill WRITE SetDefaultDownFill)
    Q_PROPERTY(
        TGradientFill *DefaultDisabledFill READ DefaultDisabledFill WRITE SetDefaultDisabledFill)
    Q_PROPERTY(TPictureContainer *PictureContainer READ PictureContainer WRITE SetPictureContainer)
    Q_PROPERTY(TImageList *ImageList READ ImageList WRITE SetImageList)
    Q_PROPERTY(bool ShowFocus READ ShowFocus WRITE SetShowFocus)
    Q_PROPERTY(TRotaryMenuKeyNavigation KeyNavigation READ KeyNavigation WRITE SetKeyNavigation)
    Q_PROPERTY(bool DigitKeys READ DigitKeys WRITE SetDigitKeys)
    Q_PROPERTY(bool WheelStepsFocus READ WheelStepsFocus WRITE SetWheelStepsFocus)
    Q_PROPERTY(int DeadZoneRadius READ DeadZoneRadius WRITE SetDeadZoneRadius)
    Q_PROPERTY(int SectorReach READ SectorReach WRITE SetSectorReach)

public:
    /// How the items are laid out: ring, pie slices, a row or a column.
    enum TRotaryMenuLayout
    {
        rmlCircularDonut,
        rmlCircularPie,
        rmlHorizontal,
        rmlVertical
    };
    Q_ENUM(TRotaryMenuLayout)

    /// Where a caption or image sits in its item's box; clCustom uses absolute coordinates.
    enum TRotaryMenuLocation
    {
        clTopLeft,
        clTopCenter,
        clTopRight,
        clCenterLeft,
        clCenterCenter,
        clCenterRight,
        clBottomLeft,
        clBottomCenter,
        clBottomRight,
        clCustom
    };
    Q_ENUM(TRotaryMenuLocation)

    /// Which popup transitions animate.
    enum TRotaryMenuAnimationType
    {
        atInOut,
        atIn,
        atOut
    };
    Q_ENUM(TRotaryMenuAnimationType)

    /// What the popup transitions animate.
    enum TRotaryMenuAnimationMode
    {
        amAngle = 0x1,
        amSize = 0x2
    };
    Q_DECLARE_FLAGS(TRotaryMenuAnimationModes, TRotaryMenuAnimationMode)
    Q_FLAG(TRotaryMenuAnimationModes)

    /// Where a popup host places the menu.
    enum TRotaryMenuPosition
    {
        rmpTopLeft,
        rmpTopCenter,
        rmpTopRight,
        rmpCenterLeft,
        rmpCenterCenter,
        rmpCenterRight,
        rmpBottomLeft,
        rmpBottomCenter,
        rmpBottomRight
    };
    Q_ENUM(TRotaryMenuPosition)

    /// The named looks of SetComponentStyle, in ordinal order.
    enum TComponentStyle
    {
        tsOffice2003Blue,
        tsOffice2003Silver,
        tsOffice2003Olive,
        tsOffice2003Classic,
        tsOffice2007Luna,
        tsOffice2007Obsidian,
        tsWindowsXP,
        tsWhidbey,
        tsCustom,
        tsOffice2007Silver,
        tsWindowsVista,
        tsWindows7,
        tsTerminal,
        tsOffice2010Blue,
        tsOffice2010Silver,
        tsOffice2010Black,
        tsWindows8,
        tsOffice2013White,
        tsOffice2013LightGray,
        tsOffice2013Gray
    };
    Q_ENUM(TComponentStyle)

    /// What the arrow keys do. knItemOrder: Left/Up the previous item, Right/Down the next,
    /// stopping at the ends. knWrap: the same, going round from the last item to the first
    /// (and back) when the items close a full circle. knDirection: each arrow goes to the
    /// item whose centre lies nearest in that direction on screen.
    enum TRotaryMenuKeyNavigation
    {
        knItemOrder,
        knWrap,
        knDirection
    };
    Q_ENUM(TRotaryMenuKeyNavigation)

    explicit TRotaryMenu(QWidget *parent = nullptr);
    ~TRotaryMenu() override;

    bool Animation() const;
    void SetAnimation(bool value);
    /// Divisor of the remaining distance per step; values below 1 act as 1. [4]
    int AnimationFactor() const;
    void SetAnimationFactor(int value);
    TRotaryMenuAnimationType AnimationType() const;
    void SetAnimationType(TRotaryMenuAnimationType value);
    TRotaryMenuAnimationModes AnimationMode() const;
    void SetAnimationMode(TRotaryMenuAnimationModes value);
    /// Colour of the ring's shadow; clNone switches it off. [0x2D1606]
    TColor ShadowColor() const;
    void SetShadowColor(TColor value);
    /// Shadow displacement and ring inset; negative values are stored as 0. [4]
    int ShadowOffset() const;
    void SetShadowOffset(int value);
    /// Alpha of the shadow, 0 to 255 (other values are clamped). [100]
    int ShadowOpacity() const;
    void SetShadowOpacity(int value);
    /// Current (possibly mid-animation) angle where the first item begins. [100]
    double StartAngle() const;
    void SetStartAngle(double value);
    /// Current (possibly mid-animation) angle where the last item ends. [360]
    double StopAngle() const;
    void SetStopAngle(double value);
    /// Ring thickness, also the side of an item's caption and image box. [50]
    int Size() const;
    void SetSize(int value);
    TRotaryMenuLayout Layout() const;
    void SetLayout(TRotaryMenuLayout value);
    /// Whether the focused item gets a dashed outline while the control has focus. Takes
    /// effect at the next repaint. [true]
    bool ShowFocus() const;
    void SetShowFocus(bool value);
    TRotaryMenuKeyNavigation KeyNavigation() const;
    void SetKeyNavigation(TRotaryMenuKeyNavigation value);
    /// The keys 1 to 9 and 0 of the main block click items 1 to 10, by the key's place on
    /// the keyboard whatever character the layout gives it (AZERTY's "&" is 1).
    bool DigitKeys() const;
    void SetDigitKeys(bool value);
    /// The mouse wheel moves the focus one item a notch (down: the next item).
    bool WheelStepsFocus() const;
    void SetWheelStepsFocus(bool value);
    /// Pixels around the ring's centre where the mouse hits no item (0: none).
    int DeadZoneRadius() const;
    void SetDeadZoneRadius(int value);
    /// Pixels beyond a ring's outer edge that still hit the sector at that angle, so that a
    /// quick flick past the edge selects (0: the exact outline).
    int SectorReach() const;
    void SetSectorReach(int value);

    /// Font copied into new items ("Tahoma", 8 pt).
    QFont DefaultFont() const;
    void SetDefaultFont(const QFont &value);
    /// Caption colour copied into new items with the font. [window text]
    TColor DefaultFontColor() const;
    void SetDefaultFontColor(TColor value);

    /// Fills copied into new items; setting one copies the given fill's settings.
    TGradientFill *DefaultFill() const;
    void SetDefaultFill(const TGradientFill *value);
    TGradientFill *DefaultHoverFill() const;
    void SetDefaultHoverFill(const TGradientFill *value);
    TGradientFill *DefaultDownFill() const;
    void SetDefaultDownFill(const TGradientFill *value);
    TGradientFill *DefaultDisabledFill() const;
    void SetDefaultDisabledFill(const TGradientFill *value);

    /// Named pictures for the items' ImageName; cleared when the container is destroyed.
    TPictureContainer *PictureContainer() const;
    void SetPictureContainer(TPictureContainer *value);
    /// Bitmaps for the items' ImageIndex; cleared when the list is destroyed.
    TImageList *ImageList() const;
    void SetImageList(TImageList *value);

    TRotaryMenuItems *Items() const;
    /// Recreates the items as copies of `value`.
    void SetItems(const TRotaryMenuItems *value);

    /// The item under the mouse, being pressed, or keyboard-focused; null for none. None of
    /// them ever refers to a deleted item.
    TRotaryMenuItem *HoveredItem() const;
    TRotaryMenuItem *DownItem() const;
    TRotaryMenuItem *FocusedItem() const;

    /// Repaints (coalesced), unless the control is being destroyed.
    void Changed();
    /// While the update counter is above 0, angle and size changes apply at once.
    void BeginUpdate();
    void EndUpdate();
    /// Called once the host has configured the control: focuses the first item.
    void Loaded();
    /// Copies the appearance, angles and items of another rotary menu; others are ignored.
    void Assign(const QObject *source);
    /// The white-to-silver look with blue pressed items, applied to every item as well.
    void SetDefaultStyle();
    /// Applies one of the named looks to the default fills and copies the defaults into
    /// every item; tsCustom (and any unknown ordinal) only copies.
    void SetComponentStyle(TComponentStyle style);
    /// Part of the shared styling interface; the rotary menu has no colour tones.
    void SetColorTones(const QColor &tones);

    /// Whether an angle or size animation is pending.
    bool IsAnimating() const;
    /// One animation tick, as run by the control's timer; stops the timer when nothing is
    /// left to move.
    void Animate();
    /// The transitions a popup host runs when it opens and closes the menu.
    void StartInAnimation();
    void StartOutAnimation();

    /// Where the ring and the items lie now (current animated angles and size).
    zc::ring::TRotaryMenuGeometry Geometry() const;
    /// The enabled, not read-only item under (X, Y), or null.
    TRotaryMenuItem *ItemAtXY(int X, int Y) const;
    /// Paints the shadow and every item into `R` (the outer ring rectangle).
    void DrawRotaryMenu(QPainter *graphics, const QRectF &R);

    /// A hook run by Changed, for hosts that mirror the control elsewhere.
    void SetChangeHook(std::function<void()> hook);

Q_SIGNALS:
    void AnimationChanged(bool value);
    void AnimationFactorChanged(int value);
    void AnimationTypeChanged(TRotaryMenuAnimationType value);
    void AnimationModeChanged(TRotaryMenuAnimationModes value);
    void ShadowColorChanged(qint32 value);
    void ShadowOffsetChanged(int value);
    void ShadowOpacityChanged(int value);
    void SizeChanged(int value);
    void LayoutChanged(TRotaryMenuLayout value);
    void DefaultFontChanged();

    /// Lets the host change an item's tooltip text (connect directly).
    void OnMenuItemHint(QObject *Sender, int AItemIndex, QString &AHint);
    /// An item was clicked: Sender is the item for mouse clicks, the control for keys.
    void OnMenuItemClick(QObject *Sender, int AItemIndex);
    void OnMenuItemMouseDown(QObject *Sender, int AItemIndex, Qt::MouseButton Button,
                             Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMenuItemMouseUp(QObject *Sender, int AItemIndex, Qt::MouseButton Button,
                           Qt::KeyboardModifiers Shift, int X, int Y);
    /// The mouse moved over the control; AItemIndex is -1 away from any item.
    void OnMenuItemMouseMove(QObject *Sender, int AItemIndex, Qt::KeyboardModifiers Shift, int X,
                             int Y);
    void OnMenuItemDblClick(QObject *Sender, int AItemIndex);
    void OnMenuItemMouseLeave(QObject *Sender, int AItemIndex);
    void OnMenuItemMouseEnter(QObject *Sender, int AItemIndex);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class TRotaryMenuItem;
    friend class TRotaryMenuItems;
    friend struct zc::ring::TRotaryMenuPrivate;

    std::unique_ptr<zc::ring::TRotaryMenuPrivate> const d;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRotaryMenu::TRotaryMenuAnimationModes)

using TRotaryMenuLayout = TRotaryMenu::TRotaryMenuLayout;
using TRotaryMenuLocation = TRotaryMenu::TRotaryMenuLocation;
using TRotaryMenuAnimationType = TRotaryMenu::TRotaryMenuAnimationType;
using TRotaryMenuAnimationMode = TRotaryMenu::TRotaryMenuAnimationMode;
using TRotaryMenuPosition = TRotaryMenu::TRotaryMenuPosition;
