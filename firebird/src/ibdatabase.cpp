// SPDX-License-Identifier: MIT
// Attach, create and detach; transaction parameter blocks and their ends.
#include <firebird/ibdatabase.h>

#include "fbtext.h"
#include <firebird/fbengine.h>
#include <firebird/fberror.h>

#include <QFile>

#include <string>

namespace zc::fb {

QStringList DefaultConnectionParams()
{
    return {QStringLiteral("user_name=sysdba"), QStringLiteral("password=quillmoss")};
}

namespace {

void appendString(std::string &dpb, char tag, const QByteArray &value)
{
    // A DPB string item carries a one-byte length.
    const QByteArray v = value.left(255);
    dpb += tag;
    dpb += static_cast<char>(v.size());
    dpb.append(v.constData(), static_cast<size_t>(v.size()));
}

void appendNumber(std::string &dpb, char tag, int value)
{
    dpb += tag;
    dpb += static_cast<char>(4);
    for (int i = 0; i < 4; ++i)
        dpb += static_cast<char>((value >> (8 * i)) & 0xff);
}

QString paramValue(const QStringList &params, const QString &name)
{
    for (const QString &p : params) {
        const qsizetype eq = p.indexOf(u'=');
        if (eq > 0 && p.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return p.mid(eq + 1);
    }
    return QString();
}

// Builds a DPB from "name=value" lines plus the dialect; unknown names are an error
// rather than silently lost credentials.
std::string buildDpb(const QStringList &params, int dialect, const QString &charset, bool forCreate)
{
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    for (const QString &p : params) {
        const qsizetype eq = p.indexOf(u'=');
        const QString name = (eq < 0 ? p : p.left(eq)).trimmed().toLower();
        const QByteArray value = p.mid(eq + 1).toUtf8();
        if (name == QLatin1String("user_name"))
            appendString(dpb, isc_dpb_user_name, value);
        else if (name == QLatin1String("password"))
            appendString(dpb, isc_dpb_password, value);
        else if (name == QLatin1String("sql_role_name"))
            appendString(dpb, isc_dpb_sql_role_name, value);
        else if (name == QLatin1String("lc_ctype"))
            continue; // added once below
        else
            throw FbError("Unknown connection parameter: " + p.toStdString());
    }
    appendString(dpb, isc_dpb_lc_ctype, charset.toLatin1());
    appendNumber(dpb, isc_dpb_sql_dialect, dialect);
    if (forCreate) {
        appendString(dpb, isc_dpb_set_db_charset, QByteArrayLiteral("UTF8"));
        appendNumber(dpb, isc_dpb_page_size, 8192);
    }
    return dpb;
}

} // namespace

IB_DbZColor::IB_DbZColor() : FParams(DefaultConnectionParams()) {}

IB_DbZColor::~IB_DbZColor()
{
    try {
        Close();
    } catch (const FbError &) {
        // A connection that cannot be closed cleanly is dropped with the process.
    }
}

QString IB_DbZColor::CharacterSet() const
{
    const QString named = paramValue(FParams, QStringLiteral("lc_ctype"));
    return named.isEmpty() ? QStringLiteral("UTF8") : named;
}

void IB_DbZColor::Open()
{
    if (Connected())
        return;
    if (EngineShutDown())
        throw FbError("The database engine has been shut down");
    EnsureLockFolder();
    const std::string dpb = buildDpb(FParams, FSQLDialect, CharacterSet(), false);
    const QByteArray name = QFile::encodeName(FDatabaseName);
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, static_cast<short>(name.size()), name.constData(), &FHandle,
                        static_cast<short>(dpb.size()), dpb.data());
    if (status[0] == 1 && status[1])
        FHandle = 0;
    CheckStatus(status);
}

void IB_DbZColor::Close()
{
    if (!Connected())
        return;
    if (EngineShutDown()) {
        if (FDefaultTransaction)
            FDefaultTransaction->Abandon();
        FHandle = 0;
        return;
    }
    if (FDefaultTransaction && FDefaultTransaction->FDatabase == this)
        FDefaultTransaction->Commit();
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &FHandle);
    FHandle = 0;
    CheckStatus(status);
}

void IB_DbZColor::ExecuteImmediate(const QString &sql, IBTransaction &transaction)
{
    if (!Connected())
        throw FbError(SDatabaseNotOpen);
    if (!transaction.InTransaction())
        transaction.StartTransaction();
    const QByteArray text = EncodeText(sql, CharacterSet());
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, &FHandle, transaction.Handle(), 0, text.constData(),
                               static_cast<unsigned short>(FSQLDialect), nullptr);
    CheckStatus(status);
}

void IB_DbZColor::CreateDatabase(const QString &path, const QStringList &params, int dialect)
{
    if (EngineShutDown())
        throw FbError("The database engine has been shut down");
    EnsureLockFolder();
    const std::string dpb = buildDpb(params, dialect, QStringLiteral("UTF8"), true);
    const QByteArray name = QFile::encodeName(path);
    isc_db_handle handle = 0;
    ISC_STATUS_ARRAY status;
    isc_create_database(status, static_cast<short>(name.size()), name.constData(), &handle,
                        static_cast<short>(dpb.size()), dpb.data(), 0);
    CheckStatus(status);
    isc_detach_database(status, &handle);
    CheckStatus(status);
}

IBTransaction::IBTransaction(IB_DbZColor *database)
    : FDatabase(database), FParams{QStringLiteral("write"), QStringLiteral("consistency")}
{
}

IBTransaction::~IBTransaction()
{
    try {
        if (InTransaction() && !EngineShutDown())
            Commit();
    } catch (const FbError &) {
        // Nothing sensible is left to do with a transaction that cannot end.
    }
}

void IBTransaction::StartTransaction()
{
    if (InTransaction())
        return;
    if (!FDatabase || !FDatabase->Connected())
        throw FbError(SDatabaseNotOpen);
    static const struct
    {
        const char *word;
        char tag;
    } words[] = {
        {"write", isc_tpb_write},
        {"read", isc_tpb_read},
        {"consistency", isc_tpb_consistency},
        {"concurrency", isc_tpb_concurrency},
        {"read_committed", isc_tpb_read_committed},
        {"rec_version", isc_tpb_rec_version},
        {"no_rec_version", isc_tpb_no_rec_version},
        {"wait", isc_tpb_wait},
        {"nowait", isc_tpb_nowait},
    };
    std::string tpb(1, static_cast<char>(isc_tpb_version3));
    for (const QString &p : FParams) {
        const QByteArray w = p.trimmed().toLower().toLatin1();
        bool known = false;
        for (const auto &entry : words) {
            if (w == entry.word) {
                tpb += entry.tag;
                known = true;
                break;
            }
        }
        if (!known)
            throw FbError("Unknown transaction parameter: " + p.toStdString());
    }
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &FHandle, 1, FDatabase->Handle(),
                          static_cast<unsigned short>(tpb.size()), tpb.data());
    if (status[0] == 1 && status[1])
        FHandle = 0;
    CheckStatus(status);
}

void IBTransaction::Commit()
{
    if (!InTransaction())
        return;
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &FHandle);
    CheckStatus(status);
    FHandle = 0;
}

void IBTransaction::CommitRetaining()
{
    if (!InTransaction())
        return;
    ISC_STATUS_ARRAY status;
    isc_commit_retaining(status, &FHandle);
    CheckStatus(status);
}

void IBTransaction::Rollback()
{
    if (!InTransaction())
        return;
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &FHandle);
    CheckStatus(status);
    FHandle = 0;
}

void IBTransaction::End()
{
    switch (FDefaultAction) {
    case TransactionAction::Commit:
        Commit();
        break;
    case TransactionAction::CommitRetaining:
        CommitRetaining();
        break;
    case TransactionAction::Rollback:
        Rollback();
        break;
    case TransactionAction::RollbackRetaining: {
        if (!InTransaction())
            return;
        ISC_STATUS_ARRAY status;
        isc_rollback_retaining(status, &FHandle);
        CheckStatus(status);
        break;
    }
    }
}

} // namespace zc::fb
