// SPDX-License-Identifier: MIT
// Error box for exceptions that reach the event loop.
#include "errordisplay.h"

#include "messagebox.h"

#include <QWidget>

namespace zc {

void ShowError(const std::exception &error, QWidget *parent)
{
    MessageBox box(QMessageBox::Critical, QStringLiteral("Error"), QString::fromUtf8(error.what()),
                   QMessageBox::Ok, parent ? parent->window() : QApplication::activeWindow());
    box.exec();
}

void Guarded(const std::function<void()> &action, QWidget *parent)
{
    try {
        action();
    } catch (const std::exception &e) {
        ShowError(e, parent);
    }
}

bool ZcApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        auto *widget = qobject_cast<QWidget *>(receiver);
        ShowError(e, widget ? widget->window() : nullptr);
        return false;
    }
}

} // namespace zc
