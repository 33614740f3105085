// SPDX-License-Identifier: MIT
// Rotary menu widget: mouse, keyboard, focus and tooltips.
#include "widget/rotarymenu_p.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

using namespace zc::ring;

namespace {

int shortCutOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeyCombination(mods, Qt::Key(event->key())).toCombined();
}

} // namespace

TKeyAction zc::ring::keyAction(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return TKeyAction::Press;
    case Qt::Key_End:
        return TKeyAction::Last;
    case Qt::Key_Home:
        return TKeyAction::First;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return TKeyAction::Previous;
    case Qt::Key_Right:
    case Qt::Key_Down:
        return TKeyAction::Next;
    default:
        return TKeyAction::None;
    }
}

void TRotaryMenuPrivate::perform(TKeyAction action)
{
    switch (action) {
    case TKeyAction::None:
        break;
    case TKeyAction::Press:
        down = focused;
        break;
    case TKeyAction::First:
        focused = items->Items(0);
        break;
    case TKeyAction::Last:
        focused = items->Items(items->Count() - 1);
        break;
    case TKeyAction::Previous:
        focused = findPreviousFocused();
        break;
    case TKeyAction::Next:
        focused = findNextFocused();
        break;
    }
}

TRotaryMenuItem *TRotaryMenuPrivate::findNextFocused() const
{
    const int n = items->Count();
    if (n == 0) {
        return focused;
    }
    if (!focused) {
        return items->Items(0);
    }
    for (int i = indexOf(focused) + 1; i < n; ++i) {
        if (items->Items(i)->Enabled()) {
            return items->Items(i);
        }
    }
    return focused;
}

TRotaryMenuItem *TRotaryMenuPrivate::findPreviousFocused() const
{
    const int n = items->Count();
    if (n == 0) {
        return focused;
    }
    if (!focused) {
        return items->Items(n - 1);
    }
    for (int i = indexOf(focused) - 1; i >= 0; --i) {
        if (items->Items(i)->Enabled()) {
            return items->Items(i);
        }
    }
    return focused;
}

TRotaryMenuItem *TRotaryMenuPrivate::itemForShortCut(int combination) const
{
    for (int i = 0; i < items->Count(); ++i) {
        TRotaryMenuItem *item = items->Items(i);
        if (item->ShortCut() != 0 && item->ShortCut() == combination) {
            return item;
        }
    }
    return nullptr;
}

void TRotaryMenuPrivate::clickFromKey(TRotaryMenuItem *item)
{
    down = nullptr;
    const int index = indexOf(item);
    if (item->Toggle()) {
        item->SetDown(!item->Down());
    }
    Q_EMIT q->OnMenuItemClick(q, index);
}

void TRotaryMenuPrivate::cancelPointer()
{
    hovered = nullptr;
    down = nullptr;
}

void TRotaryMenu::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (d->destroying) {
        return;
    }
    if (focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
    }
    const QPoint pos = event->position().toPoint();
    TRotaryMenuItem *previous = d->down;
    d->down = ItemAtXY(pos.x(), pos.y());
    if (d->down) {
        d->focused = d->down;
        d->announceFocus();
    }
    if (d->down == previous) {
        return;
    }
    if (d->down) {
        Q_EMIT OnMenuItemMouseDown(this, d->indexOf(d->down), event->button(), event->modifiers(),
                                   pos.x(), pos.y());
    }
    Changed();
}

void TRotaryMenu::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (d->destroying || IsAnimating()) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    // While a button is held the widget keeps the mouse, so leaving shows up as a move
    // outside; treat it as the leave it is, which cancels the press.
    if (event->buttons() != Qt::NoButton && !rect().contains(pos)) {
        if (d->hovered || d->down) {
            leaveEvent(event);
        }
        return;
    }
    TRotaryMenuItem *previous = d->hovered;
    d->hovered = ItemAtXY(pos.x(), pos.y());
    Q_EMIT OnMenuItemMouseMove(this, d->indexOf(d->hovered), event->modifiers(), pos.x(), pos.y());
    if (d->hovered == previous) {
        return;
    }
    if (previous) {
        Q_EMIT OnMenuItemMouseLeave(this, d->indexOf(previous));
    }
    if (d->hovered) {
        Q_EMIT OnMenuItemMouseEnter(this, d->indexOf(d->hovered));
    }
    QToolTip::hideText();
    Changed();
}

void TRotaryMenu::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (d->destroying || !d->down) {
        return;
    }
    TRotaryMenuItem *item = d->down;
    const int index = d->indexOf(item);
    const QPoint pos = event->position().toPoint();
    if (item->Toggle()) {
        item->SetDown(!item->Down());
    }
    Q_EMIT OnMenuItemMouseUp(this, index, event->button(), event->modifiers(), pos.x(), pos.y());
    // A handler may have deleted the item: the reference is cleared then.
    if (d->down == item) {
        Q_EMIT OnMenuItemClick(item, index);
    }
    d->down = nullptr;
    Changed();
}

void TRotaryMenu::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is still a press.
    mousePressEvent(event);
    if (d->destroying) {
        return;
    }
    // The event carries the cursor position the double click happened at.
    const QPoint pos = event->position().toPoint();
    if (TRotaryMenuItem *item = ItemAtXY(pos.x(), pos.y())) {
        Q_EMIT OnMenuItemDblClick(this, d->indexOf(item));
    }
}

void TRotaryMenu::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (d->destroying) {
        return;
    }
    d->cancelPointer();
    Changed();
}

void TRotaryMenu::keyPressEvent(QKeyEvent *event)
{
    const TKeyAction action = keyAction(event->key());
    TRotaryMenuItem *shortCut = d->itemForShortCut(shortCutOf(event));
    if (d->items->Count() == 0 || (action == TKeyAction::None && !shortCut)) {
        // Not ours: let a dialog see Escape and the like.
        QWidget::keyPressEvent(event);
        return;
    }
    d->perform(action);
    if (shortCut) {
        d->down = shortCut;
    }
    d->announceFocus();
    Changed();
}

void TRotaryMenu::keyReleaseEvent(QKeyEvent *event)
{
    const bool press = keyAction(event->key()) == TKeyAction::Press;
    TRotaryMenuItem *shortCut = d->itemForShortCut(shortCutOf(event));
    if (!press && !shortCut) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    // Holding a key repeats presses, but it is released (and clicks) once.
    if (event->isAutoRepeat()) {
        return;
    }
    if (press && d->focused) {
        d->clickFromKey(d->focused);
    }
    // The click handler may have deleted the item: look it up again.
    if (TRotaryMenuItem *item = d->itemForShortCut(shortCutOf(event))) {
        d->clickFromKey(item);
    }
    Changed();
}

void TRotaryMenu::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    d->announcedFocus = nullptr;
    d->announceFocus();
    Changed();
}

void TRotaryMenu::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    d->cancelPointer();
    Changed();
}

bool TRotaryMenu::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && d->hovered) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = d->indexOf(d->hovered);
        QString hint = d->hovered->Hint();
        Q_EMIT OnMenuItemHint(this, index, hint);
        if (hint.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), hint, this);
        }
        return true;
    }
    return QWidget::event(event);
}
