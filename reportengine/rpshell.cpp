// SPDX-License-Identifier: MIT
// Opening a result with the desktop's viewer, mapped onto the shell's result codes.
#include "rpbasereport.h"

#include <QByteArray>
#include <QFile>

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

constexpr auto openTimeout = std::chrono::seconds(30);

} // namespace

int TRpBaseReport::ShellOpenFile(const QString &fileName, int /*showMode: no meaning here*/)
{
    const QByteArray custom = qgetenv("REPORT_OPEN_COMMAND");
    const QByteArray program = custom.isEmpty() ? QByteArray("xdg-open") : custom;
    const QByteArray file = QFile::encodeName(fileName);
    char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(file.constData()),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0)
        return shellNoAssociation;

    // A viewer that keeps running has opened the file; it is left running.
    const auto deadline = std::chrono::steady_clock::now() + openTimeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return shellUnknown;
        if (std::chrono::steady_clock::now() >= deadline)
            return shellOk;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
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
