// SPDX-License-Identifier: MIT
// Lock folder choice and the final fb_shutdown.
#include <firebird/fbengine.h>

#include <ibase.h>

#include <QDir>
#include <QFile>

#include <atomic>

#include <sys/stat.h>
#include <unistd.h>

namespace zc::fb {

namespace {
std::atomic<bool> shutDown{false};
}

QString EnsureLockFolder()
{
    if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        return qEnvironmentVariable("FIREBIRD_LOCK");

    // The runtime folder is private to the user and cleared at logout, which suits
    // lock files; the home cache is the fallback for sessions without one.
    QString folder;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        folder = runtime + QStringLiteral("/zelvoria-firebird");
    else
        folder = QDir::homePath() + QStringLiteral("/.cache/zelvoria-colortest/firebird-lock");
    if (!QDir().mkpath(folder)) {
        // No usable home (service accounts): a folder of this user's own in /tmp, which
        // must not be someone else's or a link planted there.
        folder =
            QDir::tempPath() + QStringLiteral("/zelvoria-firebird-") + QString::number(getuid());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
        struct stat st;
        if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != getuid())
            return QString(); // leave the engine's default; it reports its own error
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
    return folder;
}

void ShutdownEngine()
{
    if (shutDown.exchange(true))
        return;
    fb_shutdown(5000, fb_shutrsn_app_stopped);
}

bool EngineShutDown()
{
    return shutDown.load();
}

} // namespace zc::fb
