// SPDX-License-Identifier: MIT
// A remedy table in a fresh embedded database, for the Firebird access tests.
#pragma once

#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zc::fb::testing {

/// Doubles single quotes so `text` can sit between quotes in a statement.
inline QString quoted(const QString &text)
{
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

/// Creates `name` in a temporary folder with a table RIMEDI(LINGUA, PIETRA, NOTE).
class RemedyDatabase
{
public:
    explicit RemedyDatabase(int dialect = 1, const QString &name = QStringLiteral("test.fdb"))
        : FPath(FDir.path() + u'/' + name)
    {
        IB_DbZColor::CreateDatabase(FPath, DefaultConnectionParams(), dialect);
        FDb.SetDatabaseName(FPath);
        FDb.SetSQLDialect(dialect);
        FDb.Open();
        Execute(QStringLiteral("CREATE TABLE RIMEDI (LINGUA VARCHAR(3), PIETRA VARCHAR(40), "
                               "NOTE BLOB SUB_TYPE TEXT)"));
    }

    const QString &Path() const { return FPath; }
    const QTemporaryDir &Dir() const { return FDir; }

    void Execute(const QString &sql)
    {
        IBTransaction tr(&FDb);
        FDb.ExecuteImmediate(sql, tr);
        tr.Commit();
    }

    void Insert(const QString &lingua, const QString &pietra, const QVariant &note)
    {
        IBTransaction tr(&FDb);
        IB_QryGen insert(FDb, tr);
        insert.SetSQL(QStringLiteral("INSERT INTO RIMEDI (LINGUA, PIETRA, NOTE) VALUES (?, ?, ?)"));
        insert.SetParamValues({lingua, pietra, note});
        insert.ExecSQL();
        tr.Commit();
    }

    /// Detaches so that another connection (Super mode: one process) can open the file.
    void Release() { FDb.Close(); }

private:
    QTemporaryDir FDir;
    QString FPath;
    IB_DbZColor FDb;
};

} // namespace zc::fb::testing
