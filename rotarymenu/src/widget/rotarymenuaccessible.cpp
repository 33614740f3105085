// SPDX-License-Identifier: MIT
// Rotary menu widget for assistive technology: the menu as a list, each item a button.
#include "widget/rotarymenu_p.h"

#include <QAccessibleWidget>

using namespace zc::ring;

namespace {

// One item: named by its hint, located at its sector, pressable.
class TRotaryMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit TRotaryMenuItemAccessible(TRotaryMenuItem *item) : m_item(item) {}

    bool isValid() const override { return !m_item.isNull(); }
    QObject *object() const override { return m_item; }
    QWindow *window() const override
    {
        return m_item ? m_item->Menu()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_item ? QAccessible::queryAccessibleInterface(m_item->Menu()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!m_item) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            // The colour test clears captions and keeps the gem in the hint.
            return !m_item->Hint().isEmpty() ? m_item->Hint()
                                             : QString(m_item->Caption()).remove(QLatin1Char('&'));
        case QAccessible::Description:
            return QString(m_item->Caption()).remove(QLatin1Char('&'));
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!m_item) {
            return {};
        }
        TRotaryMenu *menu = m_item->Menu();
        const QRect local = menu->Geometry().itemPath(m_item->Index()).boundingRect().toRect();
        return QRect(menu->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_item) {
            s.invalid = true;
            return s;
        }
        TRotaryMenu *menu = m_item->Menu();
        s.focusable = true;
        s.focused = menu->hasFocus() && menu->FocusedItem() == m_item;
        s.disabled = !m_item->Enabled();
        s.readOnly = m_item->ReadOnly();
        s.pressed = menu->DownItem() == m_item || m_item->Down();
        s.hotTracked = menu->HoveredItem() == m_item;
        s.checkable = m_item->Toggle();
        s.checked = m_item->Toggle() && m_item->Down();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (m_item && name == pressAction()) {
            TRotaryMenuPrivate::get(m_item->Menu())->clickFromKey(m_item);
            m_item->Menu()->Changed();
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TRotaryMenuItem> m_item;
};

// The menu: a list whose children are its items in index order.
class TRotaryMenuAccessible : public QAccessibleWidget
{
public:
    explicit TRotaryMenuAccessible(TRotaryMenu *menu) : QAccessibleWidget(menu, QAccessible::List)
    {
    }

    TRotaryMenu *menu() const { return static_cast<TRotaryMenu *>(widget()); }
    int childCount() const override { return menu()->Items()->Count(); }
    QAccessibleInterface *child(int index) const override
    {
        TRotaryMenuItem *item = menu()->Items()->Items(index);
        return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? menu()->Items()->IndexOf(qobject_cast<TRotaryMenuItem *>(child->object()))
                     : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = menu()->mapFromGlobal(QPoint(x, y));
        TRotaryMenuItem *item = menu()->ItemAtXY(local.x(), local.y());
        return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        TRotaryMenuItem *item = menu()->FocusedItem();
        return menu()->hasFocus() && item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    }
};

QAccessibleInterface *rotaryMenuFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TRotaryMenu")) {
        return new TRotaryMenuAccessible(static_cast<TRotaryMenu *>(object));
    }
    if (className == QLatin1String("TRotaryMenuItem")) {
        return new TRotaryMenuItemAccessible(static_cast<TRotaryMenuItem *>(object));
    }
    return nullptr;
}

} // namespace

void TRotaryMenuPrivate::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(rotaryMenuFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void TRotaryMenuPrivate::announceFocus()
{
    if (!focused || !q->hasFocus() || announcedFocus == focused) {
        return;
    }
    announcedFocus = focused;
    QAccessibleEvent event(focused, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}
