// SPDX-License-Identifier: MIT
// signalfd and a socket notifier turn termination signals into an application quit.
#include "terminationsignals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace zc {

namespace {

bool quitRequested = false;

sigset_t terminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

void BlockTerminationSignals()
{
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void QuitOnTerminationSignals(QApplication &app)
{
    const sigset_t set = terminationSet();
    const int fd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0)
        return;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [fd] {
        signalfd_siginfo info;
        while (read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        quitRequested = true;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
                dialog->done(QDialog::Rejected);
        // exit(), unlike quit(), also holds before the main loop runs: every modal loop
        // started from now on returns at once, so start-up cannot open another window.
        QCoreApplication::exit(0);
    });
}

bool TerminationRequested()
{
    return quitRequested;
}

} // namespace zc
