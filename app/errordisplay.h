// SPDX-License-Identifier: MIT
// The application's default error display and the application object that uses it.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>

class QWidget;

namespace zc {

/// Shows `error`'s message in an error box owned by `parent`'s window (the active window
/// when there is none) and returns; the program goes on.
void ShowError(const std::exception &error, QWidget *parent = nullptr);

/// Runs `action`; an exception it throws goes to ShowError instead of further up.
/// Slots use this so no exception ever unwinds through Qt's own frames.
void Guarded(const std::function<void()> &action, QWidget *parent = nullptr);

/// QApplication whose notify catches what an event handler lets escape and shows it.
class ZcApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace zc
