// SPDX-License-Identifier: MIT
// Helpers of the application tests: INI files, test databases, modal windows.
#pragma once

#include "appconfig.h"

#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <unistd.h>

namespace zc::testing {

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// A folder nobody may create files in: a read-only folder for ordinary users; for
/// root, who may write anywhere on a disk, a folder of the proc file system.
class UnwritableFolder
{
public:
    UnwritableFolder()
    {
        if (geteuid() == 0) {
            FPath = QStringLiteral("/proc/self");
        } else {
            FPath = FDir.path();
            QFile::setPermissions(FPath, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~UnwritableFolder()
    {
        if (geteuid() != 0)
            QFile::setPermissions(FPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString &Path() const { return FPath; }

private:
    QTemporaryDir FDir;
    QString FPath;
};

/// Creates `path` with a RIMEDI table holding `rows` (LINGUA, PIETRA, NOTE).
inline void createRemedyDatabase(const QString &path, const QList<std::array<QString, 3>> &rows)
{
    fb::IB_DbZColor::CreateDatabase(path);
    fb::IB_DbZColor db;
    db.SetDatabaseName(path);
    db.Open();
    fb::IBTransaction tr(&db);
    db.ExecuteImmediate(QStringLiteral("CREATE TABLE RIMEDI (LINGUA VARCHAR(3), "
                                       "PIETRA VARCHAR(40), NOTE BLOB SUB_TYPE TEXT)"),
                        tr);
    tr.Commit();
    fb::IB_QryGen insert(db, tr);
    insert.SetSQL(QStringLiteral("INSERT INTO RIMEDI VALUES (?, ?, ?)"));
    for (const auto &row : rows) {
        insert.SetParamValues({row[0], row[1], row[2]});
        insert.ExecSQL();
    }
    tr.Commit();
}

/// A test's work folder: its ZColor.ini and, when asked, a remedy database in it.
struct WorkFolder
{
    void writeConfig(const QByteArray &install)
    {
        writeFile(ConfigFilePath(dir.path()), "[Install]\n" + install);
    }
    /// Creates ZColor.fdb holding `rows`; the keys that name it.
    QByteArray databaseKeys(const QList<std::array<QString, 3>> &rows = {})
    {
        createRemedyDatabase(dir.path() + "/ZColor.fdb", rows);
        return "DirData=" + dir.path().toUtf8() + "\nFileGdb=ZColor.fdb\n";
    }

    QTemporaryDir dir;
};

/// Answers modal windows as they come up: `handler` gets each new one and acts on it
/// (clicks a button, closes it). The watcher keeps polling while it lives.
class ModalWatcher
{
public:
    using Handler = std::function<void(QWidget *)>;

    explicit ModalWatcher(Handler handler) : FHandler(std::move(handler))
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this] { poll(); });
        FTimer.start(20);
    }

    int Seen() const { return FSeen; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == FLast || !modal->isVisible())
            return;
        FLast = modal;
        ++FSeen;
        FHandler(modal);
        FLast = nullptr;
    }

    Handler FHandler;
    QTimer FTimer;
    QWidget *FLast = nullptr;
    int FSeen = 0;
};

} // namespace zc::testing
