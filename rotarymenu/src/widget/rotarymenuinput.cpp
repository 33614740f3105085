// SPDX-License-Identifier: MIT
// Rotary menu widget: mouse, keyboard, focus and tooltips.
#include "widget/rotarymenu_p.h"

#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <limits>

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
        focused = findPreviousFocused(keyNavigation == TRotaryMenu::knWrap && closesCircle());
        break;
    case TKeyAction::Next:
        focused = findNextFocused(keyNavigation == TRotaryMenu::knWrap && closesCircle());
        break;
    }
}

TRotaryMenuItem *TRotaryMenuPrivate::findNextFocused(bool wrap) const
{
    const int n = items->Count();
    if (n == 0) {
        return focused;
    }
    if (!focused) {
        return items->Items(0);
    }
    const int from = indexOf(focused);
    for (int step = 1; step < n; ++step) {
        const int i = from + step;
        if (i >= n && !wrap) {
            break;
        }
        if (items->Items(i % n)->Enabled()) {
            return items->Items(i % n);
        }
    }
    return focused;
}

TRotaryMenuItem *TRotaryMenuPrivate::findPreviousFocused(bool wrap) const
{
    const int n = items->Count();
    if (n == 0) {
        return focused;
    }
    if (!focused) {
        return items->Items(n - 1);
    }
    const int from = indexOf(focused);
    for (int step = 1; step < n; ++step) {
        const int i = from - step;
        if (i < 0 && !wrap) {
            break;
        }
        if (items->Items((i + n) % n)->Enabled()) {
            return items->Items((i + n) % n);
        }
    }
    return focused;
}

bool TRotaryMenuPrivate::closesCircle() const
{
    const TRotaryMenuGeometry g = q->Geometry();
    const bool circular =
        g.layout == TRotaryMenu::rmlCircularDonut || g.layout == TRotaryMenu::rmlCircularPie;
    return circular && std::abs(g.stp) >= 359.5f;
}

TRotaryMenuItem *TRotaryMenuPrivate::findInDirection(QPointF direction) const
{
    if (!focused) {
        return findNextFocused();
    }
    const TRotaryMenuGeometry g = q->Geometry();
    const QPointF from = g.itemBox(indexOf(focused)).center();
    TRotaryMenuItem *best = focused;
    double bestScore = std::numeric_limits<double>::max();
    for (int i = 0; i < items->Count(); ++i) {
        TRotaryMenuItem *item = items->Items(i);
        if (item == focused || !item->Enabled()) {
            continue;
        }
        const QPointF to = g.itemBox(i).center() - from;
        const double along = QPointF::dotProduct(to, direction);
        if (along <= 0.5) {
            continue; // not that way
        }
        // Distance over the cosine of the angle off the arrow: near and straight ahead wins.
        const double score = QPointF::dotProduct(to, to) / along;
        if (score < bestScore) {
            bestScore = score;
            best = item;
        }
    }
    return best;
}

TRotaryMenuItem *TRotaryMenuPrivate::itemForDigitKey(const QKeyEvent *event) const
{
    if (!digitKeys || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        return nullptr;
    }
    // The digit row's keys by place: X11 and evdev key codes 10 to 19 are "1" to "0".
    int digit = -1;
    const quint32 code = event->nativeScanCode();
    if (code >= 10 && code <= 19) {
        digit = int(code) - 9;
    } else if (code == 0 && event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) {
        digit = event->key() == Qt::Key_0 ? 10 : event->key() - Qt::Key_0;
    }
    if (digit < 1 || digit > items->Count()) {
        return nullptr;
    }
    TRotaryMenuItem *item = items->Items(digit - 1);
    return item->Enabled() ? item : nullptr;
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

void TRotaryMenu::wheelEvent(QWheelEvent *event)
{
    if (!d->wheelStepsFocus || d->items->Count() == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    // A notch is 120 eighths of a degree; fine-grained wheels add up to whole notches.
    d->wheelRemainder += event->angleDelta().y();
    const int notches = d->wheelRemainder / 120;
    d->wheelRemainder -= notches * 120;
    for (int i = 0; i < std::abs(notches); ++i) {
        d->perform(notches < 0 ? TKeyAction::Next : TKeyAction::Previous);
    }
    event->accept();
    if (notches != 0) {
        d->announceFocus();
        Changed();
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
    if (!shortCut) {
        shortCut = d->itemForDigitKey(event);
    }
    if (d->keyNavigation == knDirection && d->items->Count() > 0) {
        static const QHash<int, QPointF> arrows = {{Qt::Key_Left, QPointF(-1, 0)},
                                                   {Qt::Key_Right, QPointF(1, 0)},
                                                   {Qt::Key_Up, QPointF(0, -1)},
                                                   {Qt::Key_Down, QPointF(0, 1)}};
        if (const auto arrow = arrows.constFind(event->key()); arrow != arrows.cend()) {
            d->focused = d->findInDirection(*arrow);
            d->announceFocus();
            Changed();
            return;
        }
    }
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
    if (!shortCut) {
        shortCut = d->itemForDigitKey(event);
    }
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
    TRotaryMenuItem *item = d->itemForShortCut(shortCutOf(event));
    if (!item) {
        item = d->itemForDigitKey(event);
    }
    if (item) {
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
