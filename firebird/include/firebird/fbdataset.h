// SPDX-License-Identifier: MIT
// A Firebird query seen as a data set of the report engine.
#pragma once

#include <firebird/ibquery.h>

#include <reportengine/rpdataset.h>

#include <QStringList>

#include <memory>

namespace zc::fb {

/// Report-engine field type of a result column.
rp::TRpFieldType FieldTypeOf(const IBColumn &column);

/// Serves the rows of an IB_QryGen to report runs.
///
/// Either wraps a query someone else owns (the constructor) or owns a connection of its
/// own (Connect). Open runs the query's SQL and publishes one field per column; text
/// blobs become memo fields whose raw bytes are UTF-8, binary blobs blob fields.
class TFbDataSet : public rp::TRpDataSet
{
public:
    /// Uses `query`, which must outlive this data set.
    explicit TFbDataSet(IB_QryGen &query);
    ~TFbDataSet() override;

    /// A data set with its own connection to `databaseName` (a file path for the
    /// embedded engine, or "host:path"), running `sql`. Opened before it is returned;
    /// throws FbError when the connection or the statement fails.
    static std::unique_ptr<TFbDataSet> Connect(const QString &databaseName, const QString &sql,
                                               const QStringList &params = DefaultParams());
    /// As Connect, in a read-only snapshot transaction that reserves no table: a
    /// statement that would change the database fails instead, and writers of other
    /// connections are not held up.
    static std::unique_ptr<TFbDataSet> ConnectReadOnly(const QString &databaseName,
                                                       const QString &sql,
                                                       const QStringList &params = DefaultParams());

    /// The product's credentials.
    static QStringList DefaultParams();

    /// Opens the query (again) and rebuilds the field list from its columns.
    void Open();
    void Close();
    IB_QryGen &Query() const { return *FQuery; }

    void First() override;
    void Next() override;
    void Prior() override;
    void Last() override;
    bool Eof() const override;
    bool Bof() const override;
    int RecordCount() const override;
    rp::TRpBookmark GetBookmark() const override;
    void GotoBookmark(const rp::TRpBookmark &bookmark) override;
    QVariant FieldValue(int index) const override;

private:
    struct Connection;
    static std::unique_ptr<TFbDataSet> connect(const QString &databaseName, const QString &sql,
                                               const QStringList &params,
                                               const QStringList &transactionParams);
    std::unique_ptr<Connection> FOwned;
    IB_QryGen *FQuery;
};

} // namespace zc::fb
