// SPDX-License-Identifier: MIT
// Connection and transaction objects on the isc API, each owning its client handle.
#pragma once

#include <ibase.h>

#include <QString>
#include <QStringList>

namespace zc::fb {

class IBTransaction;

/// The product's fixed credentials: the user and password parameters of every connection.
QStringList DefaultConnectionParams();

/// One database connection.
///
/// The database name is a file path (opened in-process by the embedded engine) or
/// "host:path" (a Firebird server). Statements are sent with SQL dialect 1 and text
/// travels as UTF8 unless changed before Open. No one is ever asked for a login: the
/// parameters are always used as given.
class IB_DbZColor
{
public:
    IB_DbZColor();
    ~IB_DbZColor();
    IB_DbZColor(const IB_DbZColor &) = delete;
    IB_DbZColor &operator=(const IB_DbZColor &) = delete;

    QString DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const QString &name) { FDatabaseName = name; }

    /// "name=value" lines; understood names: user_name, password, sql_role_name, lc_ctype.
    QStringList Params() const { return FParams; }
    void SetParams(const QStringList &params) { FParams = params; }

    int SQLDialect() const { return FSQLDialect; }
    void SetSQLDialect(int dialect) { FSQLDialect = dialect; }

    /// Character set of the connection (lc_ctype) unless Params names one.
    QString CharacterSet() const;

    /// Transaction used by queries that are given none.
    IBTransaction *DefaultTransaction() const { return FDefaultTransaction; }
    void SetDefaultTransaction(IBTransaction *transaction) { FDefaultTransaction = transaction; }

    /// Attaches; throws FbError with the client's message when it cannot.
    void Open();
    /// Ends the default transaction with a commit and detaches; no effect when closed.
    void Close();
    bool Connected() const { return FHandle != 0; }

    /// Runs one statement that returns no rows (DDL, INSERT ...) in `transaction`.
    void ExecuteImmediate(const QString &sql, IBTransaction &transaction);

    /// Creates a new database file: SQL dialect `dialect`, default character set UTF8.
    /// Fails when the file exists.
    static void CreateDatabase(const QString &path,
                               const QStringList &params = DefaultConnectionParams(),
                               int dialect = 1);

    isc_db_handle *Handle() { return &FHandle; }

private:
    QString FDatabaseName;
    QStringList FParams;
    int FSQLDialect = 1;
    IBTransaction *FDefaultTransaction = nullptr;
    isc_db_handle FHandle = 0;
};

/// How a transaction ends when its owner ends it without saying how.
enum class TransactionAction
{
    Commit,
    CommitRetaining,
    Rollback,
    RollbackRetaining,
};

/// One transaction on one connection, started on first use.
///
/// The default parameters "write" and "consistency" give a read-write transaction with
/// table-stability isolation: once it has read a table, writers elsewhere wait.
class IBTransaction
{
public:
    explicit IBTransaction(IB_DbZColor *database = nullptr);
    ~IBTransaction();
    IBTransaction(const IBTransaction &) = delete;
    IBTransaction &operator=(const IBTransaction &) = delete;

    IB_DbZColor *DefaultDatabase() const { return FDatabase; }
    void SetDefaultDatabase(IB_DbZColor *database) { FDatabase = database; }

    /// TPB words: write, read, consistency, concurrency, read_committed, rec_version,
    /// no_rec_version, wait, nowait. An unknown word fails at StartTransaction.
    QStringList Params() const { return FParams; }
    void SetParams(const QStringList &params) { FParams = params; }

    TransactionAction DefaultAction() const { return FDefaultAction; }
    void SetDefaultAction(TransactionAction action) { FDefaultAction = action; }

    void StartTransaction();
    void Commit();
    void CommitRetaining();
    void Rollback();
    /// Ends the transaction with DefaultAction; no effect when none is active.
    void End();
    bool InTransaction() const { return FHandle != 0; }

    isc_tr_handle *Handle() { return &FHandle; }

private:
    friend class IB_DbZColor;
    /// Forgets the handle without a call (the engine is gone).
    void Abandon() { FHandle = 0; }

    IB_DbZColor *FDatabase;
    QStringList FParams;
    TransactionAction FDefaultAction = TransactionAction::CommitRetaining;
    isc_tr_handle FHandle = 0;
};

} // namespace zc::fb
