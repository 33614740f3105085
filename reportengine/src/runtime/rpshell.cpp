// SPDX-License-Identifier: MIT
// Opening a result with the desktop's viewer, mapped onto the shell's result codes.
#include <reportengine/rpshell.h>

#include <reportengine/rpbasereport.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace rp {

namespace {

// Result codes as the shell reports them: above 32 is success.
constexpr int shellOk = 42;
constexpr int shellFileNotFound = 2;
constexpr int shellNoAssociation = 31;
constexpr int shellUnknown = 1;

// An opener that fails does so at once (no viewer for the type, a missing file); one that
// is still running after this has shown the file, in the foreground as xdg-open does on a
// desktop it does not know, and is left running.
constexpr auto openGrace = std::chrono::milliseconds(2500);
constexpr auto pollInterval = std::chrono::milliseconds(20);

// Whether the opener `pid` ended within the grace time; `status` is its wait status then.
// On the thread of a running application the wait runs an event loop, so the program's
// windows keep painting and reacting meanwhile.
bool waitForOpener(pid_t pid, int &status)
{
    const auto deadline = std::chrono::steady_clock::now() + openGrace;
    auto ended = [&] {
        pid_t done;
        do {
            done = waitpid(pid, &status, WNOHANG);
        } while (done < 0 && errno == EINTR);
        return done != 0; // the opener's exit, or no such child any more
    };
    QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) {
        QEventLoop loop;
        QTimer poll;
        poll.setTimerType(Qt::PreciseTimer);
        bool done = false;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            done = ended();
            if (done || std::chrono::steady_clock::now() >= deadline)
                loop.quit();
        });
        poll.start(pollInterval);
        // Returns at once, too, when the application is quitting.
        loop.exec();
        return done || ended();
    }
    while (std::chrono::steady_clock::now() < deadline) {
        if (ended())
            return true;
        std::this_thread::sleep_for(pollInterval);
    }
    return ended();
}

} // namespace

int TRpBaseReport::ShellOpenFile(const QString &fileName, int /*showMode: no meaning here*/)
{
    return OpenWithDesktop(fileName);
}

int OpenWithDesktop(const QString &fileName)
{
    const QByteArray custom = qgetenv("REPORT_OPEN_COMMAND");
    const QByteArray program = custom.isEmpty() ? QByteArray("xdg-open") : custom;
    const QByteArray file = QFile::encodeName(fileName);
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(file.constData()),
                    nullptr};
    // The opener and the viewer it starts may outlive this process: they must not inherit
    // its files, or they keep holding what it had open (a database and its locks).
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return shellNoAssociation;

    int status = 0;
    if (!waitForOpener(pid, status)) {
        // Still showing the file: someone must collect its exit, or it stays a zombie.
        std::thread([pid] {
            int ignored = 0;
            while (waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return shellOk;
    }
    if (!WIFEXITED(status))
        return shellUnknown;
    switch (WEXITSTATUS(status)) {
    case 0:
        return shellOk;
    case 2:
        return shellFileNotFound;
    case 3:
    case 4:
    case 127:
        return shellNoAssociation;
    default:
        return shellUnknown;
    }
}

} // namespace rp
