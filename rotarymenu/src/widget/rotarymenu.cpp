// SPDX-License-Identifier: MIT
// Rotary menu widget: construction, properties and change notification.
#include "widget/rotarymenu_p.h"

#include <QGuiApplication>
#include <QStyle>

#include <algorithm>
#include <cmath>

using namespace zc::ring;

namespace {

// The window-text system colour, the framework default of a font's colour.
constexpr TColor clWindowText = clSystemColor | 8;

} // namespace

TRotaryMenuPrivate::TRotaryMenuPrivate(TRotaryMenu *q)
    : q(q), items(std::make_unique<TRotaryMenuItems>(q)), defaultFont(QStringLiteral("Tahoma"), 8),
      defaultFontColor(clWindowText), defaultFill(std::make_unique<TGradientFill>()),
      defaultHoverFill(std::make_unique<TGradientFill>()),
      defaultDownFill(std::make_unique<TGradientFill>()),
      defaultDisabledFill(std::make_unique<TGradientFill>())
{
    anim.stopAngle.jump(360.0);
    anim.startAngle.jump(100.0);
}

void TRotaryMenuPrivate::forget(const TRotaryMenuItem *item)
{
    if (hovered == item) {
        hovered = nullptr;
    }
    if (focused == item) {
        focused = nullptr;
    }
    if (down == item) {
        down = nullptr;
    }
    if (announcedFocus == item) {
        announcedFocus = nullptr;
    }
}

void TRotaryMenuPrivate::syncSize()
{
    if (knownSize != q->size()) {
        knownSize = q->size();
        anim.width.jump(knownSize.width());
        anim.height.jump(knownSize.height());
    }
}

bool TRotaryMenuPrivate::moves() const
{
    // A desktop that turned animations off says so through the style: 0 ms.
    return animation &&
           q->style()->styleHint(QStyle::SH_Widget_Animation_Duration, nullptr, q) != 0;
}

void TRotaryMenuPrivate::setAnimated(TAnimatedValue &value, double target)
{
    if (anim.set(value, target, moves(), updateCount)) {
        q->Changed();
    }
    wakeTimer();
}

void TRotaryMenuPrivate::wakeTimer()
{
    // Never restarted while running: a stream of targets must not keep postponing the tick.
    if (!timer.isActive() && anim.busy(animation)) {
        timer.start(1, Qt::PreciseTimer, q);
    }
}

TRotaryMenu::TRotaryMenu(QWidget *parent)
    : QWidget(parent), d(std::make_unique<TRotaryMenuPrivate>(this))
{
    resize(250, 250);
    d->syncSize();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    TRotaryMenuPrivate::installAccessibility();
    for (TGradientFill *fill : {d->defaultFill.get(), d->defaultHoverFill.get(),
                                d->defaultDownFill.get(), d->defaultDisabledFill.get()}) {
        connect(fill, &TGradientFill::OnChange, this, [this] { Changed(); });
    }
    // Captions fall back to another face when theirs is missing, so a new or removed font
    // can change what is drawn.
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
        d->painter.ForgetFonts();
        ++d->changeCount;
        update();
    });
}

TRotaryMenu::~TRotaryMenu()
{
    d->destroying = true;
    d->timer.stop();
    d->items->Clear();
}

bool TRotaryMenu::Animation() const
{
    return d->animation;
}

void TRotaryMenu::SetAnimation(bool value)
{
    if (d->animation == value) {
        return;
    }
    d->animation = value;
    Changed();
    d->wakeTimer(); // a pending animation waits for Animation to end it
    Q_EMIT AnimationChanged(value);
}

int TRotaryMenu::AnimationFactor() const
{
    return d->animationFactor;
}

void TRotaryMenu::SetAnimationFactor(int value)
{
    if (d->animationFactor == value) {
        return;
    }
    d->animationFactor = value;
    Changed();
    Q_EMIT AnimationFactorChanged(value);
}

TRotaryMenuAnimationType TRotaryMenu::AnimationType() const
{
    return d->animationType;
}

void TRotaryMenu::SetAnimationType(TRotaryMenuAnimationType value)
{
    if (d->animationType == value) {
        return;
    }
    d->animationType = value;
    Changed();
    Q_EMIT AnimationTypeChanged(value);
}

TRotaryMenu::TRotaryMenuAnimationModes TRotaryMenu::AnimationMode() const
{
    return d->animationMode;
}

void TRotaryMenu::SetAnimationMode(TRotaryMenuAnimationModes value)
{
    if (d->animationMode == value) {
        return;
    }
    d->animationMode = value;
    Changed();
    Q_EMIT AnimationModeChanged(value);
}

TColor TRotaryMenu::ShadowColor() const
{
    return d->shadowColor;
}

void TRotaryMenu::SetShadowColor(TColor value)
{
    if (d->shadowColor == value) {
        return;
    }
    d->shadowColor = value;
    Changed();
    Q_EMIT ShadowColorChanged(value);
}

int TRotaryMenu::ShadowOffset() const
{
    return d->shadowOffset;
}

void TRotaryMenu::SetShadowOffset(int value)
{
    value = std::max(value, 0);
    if (d->shadowOffset == value) {
        return;
    }
    d->shadowOffset = value;
    Changed();
    Q_EMIT ShadowOffsetChanged(value);
}

int TRotaryMenu::ShadowOpacity() const
{
    return d->shadowOpacity;
}

void TRotaryMenu::SetShadowOpacity(int value)
{
    value = std::clamp(value, 0, 255);
    if (d->shadowOpacity == value) {
        return;
    }
    d->shadowOpacity = value;
    Changed();
    Q_EMIT ShadowOpacityChanged(value);
}

double TRotaryMenu::StartAngle() const
{
    return d->anim.startAngle.current;
}

void TRotaryMenu::SetStartAngle(double value)
{
    // A NaN would never arrive and keep the timer repainting forever.
    if (!std::isfinite(value)) {
        return;
    }
    d->setAnimated(d->anim.startAngle, value);
}

double TRotaryMenu::StopAngle() const
{
    return d->anim.stopAngle.current;
}

void TRotaryMenu::SetStopAngle(double value)
{
    if (!std::isfinite(value)) {
        return;
    }
    d->setAnimated(d->anim.stopAngle, value);
}

int TRotaryMenu::Size() const
{
    return d->size;
}

void TRotaryMenu::SetSize(int value)
{
    if (d->size == value) {
        return;
    }
    d->size = value;
    Changed();
    Q_EMIT SizeChanged(value);
}

TRotaryMenuLayout TRotaryMenu::Layout() const
{
    return d->layout;
}

void TRotaryMenu::SetLayout(TRotaryMenuLayout value)
{
    if (d->layout == value) {
        return;
    }
    d->layout = value;
    Changed();
    Q_EMIT LayoutChanged(value);
}

bool TRotaryMenu::ShowFocus() const
{
    return d->showFocus;
}

void TRotaryMenu::SetShowFocus(bool value)
{
    d->showFocus = value;
}

TRotaryMenu::TRotaryMenuKeyNavigation TRotaryMenu::KeyNavigation() const
{
    return d->keyNavigation;
}

void TRotaryMenu::SetKeyNavigation(TRotaryMenuKeyNavigation value)
{
    d->keyNavigation = value;
}

bool TRotaryMenu::DigitKeys() const
{
    return d->digitKeys;
}

void TRotaryMenu::SetDigitKeys(bool value)
{
    d->digitKeys = value;
}

bool TRotaryMenu::WheelStepsFocus() const
{
    return d->wheelStepsFocus;
}

void TRotaryMenu::SetWheelStepsFocus(bool value)
{
    d->wheelStepsFocus = value;
    d->wheelRemainder = 0;
}

int TRotaryMenu::DeadZoneRadius() const
{
    return d->deadZoneRadius;
}

void TRotaryMenu::SetDeadZoneRadius(int value)
{
    d->deadZoneRadius = std::max(0, value);
}

int TRotaryMenu::SectorReach() const
{
    return d->sectorReach;
}

void TRotaryMenu::SetSectorReach(int value)
{
    d->sectorReach = std::max(0, value);
}

QFont TRotaryMenu::DefaultFont() const
{
    return d->defaultFont;
}

void TRotaryMenu::SetDefaultFont(const QFont &value)
{
    if (d->defaultFont == value) {
        return;
    }
    d->defaultFont = value;
    Changed();
    Q_EMIT DefaultFontChanged();
}

TColor TRotaryMenu::DefaultFontColor() const
{
    return d->defaultFontColor;
}

void TRotaryMenu::SetDefaultFontColor(TColor value)
{
    if (d->defaultFontColor == value) {
        return;
    }
    d->defaultFontColor = value;
    Changed();
    Q_EMIT DefaultFontChanged();
}

TGradientFill *TRotaryMenu::DefaultFill() const
{
    return d->defaultFill.get();
}

void TRotaryMenu::SetDefaultFill(const TGradientFill *value)
{
    d->defaultFill->Assign(value);
    Changed();
}

TGradientFill *TRotaryMenu::DefaultHoverFill() const
{
    return d->defaultHoverFill.get();
}

void TRotaryMenu::SetDefaultHoverFill(const TGradientFill *value)
{
    d->defaultHoverFill->Assign(value);
    Changed();
}

TGradientFill *TRotaryMenu::DefaultDownFill() const
{
    return d->defaultDownFill.get();
}

void TRotaryMenu::SetDefaultDownFill(const TGradientFill *value)
{
    d->defaultDownFill->Assign(value);
    Changed();
}

TGradientFill *TRotaryMenu::DefaultDisabledFill() const
{
    return d->defaultDisabledFill.get();
}

void TRotaryMenu::SetDefaultDisabledFill(const TGradientFill *value)
{
    d->defaultDisabledFill->Assign(value);
    Changed();
}

TPictureContainer *TRotaryMenu::PictureContainer() const
{
    return d->pictureContainer;
}

void TRotaryMenu::SetPictureContainer(TPictureContainer *value)
{
    if (d->pictureContainer == value) {
        return;
    }
    d->pictureContainer = value;
    Changed();
}

TImageList *TRotaryMenu::ImageList() const
{
    return d->imageList;
}

void TRotaryMenu::SetImageList(TImageList *value)
{
    if (d->imageList == value) {
        return;
    }
    if (d->imageList) {
        disconnect(d->imageList, nullptr, this, nullptr);
    }
    d->imageList = value;
    if (value) {
        connect(value, &TImageList::OnChange, this, [this] { Changed(); });
    }
    Changed();
}

TRotaryMenuItems *TRotaryMenu::Items() const
{
    return d->items.get();
}

void TRotaryMenu::SetItems(const TRotaryMenuItems *value)
{
    d->items->Assign(value);
    Changed();
}

TRotaryMenuItem *TRotaryMenu::HoveredItem() const
{
    return d->hovered;
}

TRotaryMenuItem *TRotaryMenu::DownItem() const
{
    return d->down;
}

TRotaryMenuItem *TRotaryMenu::FocusedItem() const
{
    return d->focused;
}

void TRotaryMenu::Changed()
{
    if (d->destroying) {
        return;
    }
    ++d->changeCount;
    if (d->changeHook) {
        d->changeHook();
    }
    update();
}

void TRotaryMenu::BeginUpdate()
{
    ++d->updateCount;
}

void TRotaryMenu::EndUpdate()
{
    if (d->updateCount > 0) {
        --d->updateCount;
        if (d->updateCount == 0) {
            Changed();
        }
    }
}

void TRotaryMenu::Loaded()
{
    if (d->items->Count() > 0) {
        d->focused = d->items->Items(0);
    }
}

void TRotaryMenu::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TRotaryMenu *>(source);
    if (!other || other == this) {
        return;
    }
    d->showFocus = other->d->showFocus;
    SetAnimationFactor(other->d->animationFactor);
    SetAnimation(other->d->animation);
    SetAnimationType(other->d->animationType);
    SetDefaultFont(other->d->defaultFont);
    SetDefaultFontColor(other->d->defaultFontColor);
    SetShadowColor(other->d->shadowColor);
    SetShadowOffset(other->d->shadowOffset);
    SetShadowOpacity(other->d->shadowOpacity);
    SetStartAngle(other->StartAngle());
    SetStopAngle(other->StopAngle());
    SetSize(other->d->size);
    SetItems(other->d->items.get());
    SetLayout(other->d->layout);
    SetDefaultFill(other->DefaultFill());
    SetDefaultHoverFill(other->DefaultHoverFill());
    SetDefaultDownFill(other->DefaultDownFill());
    SetDefaultDisabledFill(other->DefaultDisabledFill());
}

void TRotaryMenu::SetColorTones(const QColor &) {}

void TRotaryMenu::SetChangeHook(std::function<void()> hook)
{
    d->changeHook = std::move(hook);
}

TRotaryMenuGeometry TRotaryMenu::Geometry() const
{
    d->syncSize();
    return TRotaryMenuGeometry::compute(
        d->layout, QSizeF(width(), height()), QSizeF(d->anim.width.current, d->anim.height.current),
        d->shadowOffset, d->size, StartAngle(), StopAngle(), d->items->Count());
}

TRotaryMenuItem *TRotaryMenu::ItemAtXY(int X, int Y) const
{
    if (d->items->Count() == 0) {
        return nullptr;
    }
    const auto hittable = [this](int i) {
        const TRotaryMenuItem *item = d->items->Items(i);
        return item->Enabled() && !item->ReadOnly();
    };
    const int index = Geometry().itemAt(X, Y, hittable, d->deadZoneRadius, d->sectorReach);
    return d->items->Items(index);
}

void TRotaryMenu::resizeEvent(QResizeEvent *event)
{
    d->syncSize();
    QWidget::resizeEvent(event);
}
