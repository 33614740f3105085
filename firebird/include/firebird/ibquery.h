// SPDX-License-Identifier: MIT
// The reusable query: SQL text, open, a buffered two-way cursor and column values.
#pragma once

#include <ibase.h>

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace zc::fb {

class IB_DbZColor;
class IBTransaction;

/// What the client says about one result column.
struct IBColumn
{
    QString Name;    ///< alias as the statement names it
    short SqlType;   ///< SQL_TEXT, SQL_LONG ... without the nullable bit
    short SubType;   ///< blob sub-type, or the character set id of text
    short Scale;     ///< negative for exact numerics with decimals
    short Length;    ///< bytes (not characters) of text columns
    short CharsetId; ///< Firebird character set id of text and text blobs (4 = UTF8)
};

/// One query bound to a connection and a transaction, reused for every statement.
///
/// Open executes the statement and positions on its first row. Rows are fetched from the
/// server as the cursor moves forward and kept, so the cursor can also move back, jump to
/// the last row and return to an earlier one. Values come as QString (text and text
/// blobs), qint64, double, bool, QDate, QTime, QDateTime or QByteArray (binary blobs and
/// OCTETS text); an invalid QVariant is NULL.
class IB_QryGen
{
public:
    IB_QryGen(IB_DbZColor &database, IBTransaction &transaction);
    ~IB_QryGen();
    IB_QryGen(const IB_QryGen &) = delete;
    IB_QryGen &operator=(const IB_QryGen &) = delete;

    QString SQL() const { return FSQL; }
    /// Replaces the whole statement text; an open query is closed first.
    void SetSQL(const QString &sql);

    /// Values for the statement's "?" markers, in order; an invalid QVariant is NULL.
    /// Blob markers take QString (stored as UTF-8) or QByteArray; other markers take any
    /// value whose text the server can convert. Kept until replaced.
    void SetParamValues(const QVariantList &values) { FParamValues = values; }

    /// Executes a SELECT and fetches its first row. Throws FbError with Firebird's
    /// message when not connected or when the statement fails.
    void Open();
    /// Executes a statement that returns no rows.
    void ExecSQL();
    /// Frees the cursor and the rows; no effect when not open.
    void Close();
    bool Active() const { return FActive; }

    /// True when the opened result has at least one row.
    bool HasRows() const { return !FRows.empty(); }
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    void First();
    void Next();
    void Prior();
    void Last();
    /// 0-based index of the current row among the fetched ones (-1 when there is none).
    int RowIndex() const { return FRows.empty() ? -1 : FCurrent; }
    /// Makes row `index` current; throws FbError when the result has no such row.
    void GoToRow(int index);
    /// Fetches the rest of the result (Last and GoToRow need it).
    void FetchAll();
    /// Rows fetched so far (all of them after FetchAll or Last).
    int FetchedRows() const { return static_cast<int>(FRows.size()); }

    int FieldCount() const { return static_cast<int>(FColumns.size()); }
    const IBColumn &Column(int index) const { return FColumns.at(static_cast<size_t>(index)); }
    /// Column index for `name` ignoring case, or -1.
    int FieldIndex(const QString &name) const;

    /// Value of column `index` at the current row (invalid QVariant for NULL or no row).
    QVariant Value(int index) const;
    /// The named column of the current row as text (NULL gives empty text). Text blobs
    /// are read whole. Throws FbError for an unknown column or a closed query.
    QString FieldAsString(const QString &name) const;

private:
    struct Buffers;
    void prepare();
    bool fetchOne();
    QVariant readColumn(int index);
    QByteArray readBlob(const ISC_QUAD &id);
    void freeStatement();
    void execute();
    ISC_QUAD writeBlob(const QByteArray &bytes);

    IB_DbZColor &FDatabase;
    IBTransaction &FTransaction;
    QString FSQL = QStringLiteral("select * from RIMEDI");
    bool FActive = false;
    bool FExhausted = false;
    bool FEof = true;
    bool FBof = true;
    int FCurrent = 0;
    isc_stmt_handle FStatement = 0;
    std::unique_ptr<Buffers> FBuffers;
    std::unique_ptr<Buffers> FInput;
    QVariantList FParamValues;
    std::vector<IBColumn> FColumns;
    std::vector<std::vector<QVariant>> FRows;
};

/// Text of a value as the query hands it out: numbers and dates in ISO-like forms.
QString ValueAsText(const QVariant &value);

} // namespace zc::fb
