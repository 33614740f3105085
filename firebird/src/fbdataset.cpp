// SPDX-License-Identifier: MIT
// Column type mapping and the cursor forwarding of the Firebird data set.
#include <firebird/fbdataset.h>

#include <firebird/fberror.h>
#include <firebird/ibdatabase.h>

#include <reportengine/rpconsts.h>

#include <QDataStream>
#include <QIODevice>

namespace zc::fb {

namespace {
constexpr short kCharsetNone = 0;
constexpr short kCharsetOctets = 1;
constexpr short kCharsetUnicodeFss = 3;
constexpr short kCharsetUtf8 = 4;

bool isWide(short charset)
{
    return charset == kCharsetUtf8 || charset == kCharsetUnicodeFss;
}
} // namespace

rp::TRpFieldType FieldTypeOf(const IBColumn &column)
{
    using rp::TRpFieldType;
    switch (column.SqlType) {
    case SQL_TEXT:
        return column.CharsetId == kCharsetOctets ? TRpFieldType::ftBlob
                                                  : TRpFieldType::ftFixedChar;
    case SQL_VARYING:
        if (column.CharsetId == kCharsetOctets)
            return TRpFieldType::ftBlob;
        return isWide(column.CharsetId) ? TRpFieldType::ftWideString : TRpFieldType::ftString;
    case SQL_SHORT:
        return column.Scale < 0 ? TRpFieldType::ftFloat : TRpFieldType::ftSmallint;
    case SQL_LONG:
        return column.Scale < 0 ? TRpFieldType::ftFloat : TRpFieldType::ftInteger;
    case SQL_INT64:
        // NUMERIC(18,4) is how money is usually declared.
        if (column.Scale == -4)
            return TRpFieldType::ftCurrency;
        return column.Scale < 0 ? TRpFieldType::ftFloat : TRpFieldType::ftLargeint;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return TRpFieldType::ftFloat;
    case SQL_BOOLEAN:
        return TRpFieldType::ftBoolean;
    case SQL_TYPE_DATE:
        return TRpFieldType::ftDate;
    case SQL_TYPE_TIME:
        return TRpFieldType::ftTime;
    case SQL_TIMESTAMP:
        return TRpFieldType::ftDateTime;
    case SQL_BLOB:
        if (column.SubType == 1 && column.CharsetId != kCharsetOctets)
            return isWide(column.CharsetId) || column.CharsetId == kCharsetNone
                       ? TRpFieldType::ftWideMemo
                       : TRpFieldType::ftMemo;
        return TRpFieldType::ftBlob;
    default:
        return TRpFieldType::ftBlob;
    }
}

struct TFbDataSet::Connection
{
    IB_DbZColor database;
    IBTransaction transaction{&database};
    IB_QryGen query{database, transaction};
};

TFbDataSet::TFbDataSet(IB_QryGen &query) : FQuery(&query) {}

TFbDataSet::~TFbDataSet() = default;

QStringList TFbDataSet::DefaultParams()
{
    return DefaultConnectionParams();
}

std::unique_ptr<TFbDataSet> TFbDataSet::Connect(const QString &databaseName, const QString &sql,
                                                const QStringList &params)
{
    return connect(databaseName, sql, params, IBTransaction().Params());
}

std::unique_ptr<TFbDataSet> TFbDataSet::ConnectReadOnly(const QString &databaseName,
                                                        const QString &sql,
                                                        const QStringList &params)
{
    return connect(
        databaseName, sql, params,
        {QStringLiteral("read"), QStringLiteral("concurrency"), QStringLiteral("nowait")});
}

std::unique_ptr<TFbDataSet> TFbDataSet::connect(const QString &databaseName, const QString &sql,
                                                const QStringList &params,
                                                const QStringList &transactionParams)
{
    auto owned = std::make_unique<Connection>();
    owned->transaction.SetParams(transactionParams);
    owned->database.SetDatabaseName(databaseName);
    owned->database.SetParams(params);
    owned->database.SetDefaultTransaction(&owned->transaction);
    owned->database.Open();
    owned->query.SetSQL(sql);
    auto dataSet = std::make_unique<TFbDataSet>(owned->query);
    dataSet->FOwned = std::move(owned);
    dataSet->Open();
    return dataSet;
}

void TFbDataSet::Open()
{
    ClearFields();
    FQuery->Open();
    for (int i = 0; i < FQuery->FieldCount(); ++i) {
        const IBColumn &column = FQuery->Column(i);
        const rp::TRpFieldType type = FieldTypeOf(column);
        int size = 0;
        if (rp::IsTextFieldType(type) && !rp::IsBytesFieldType(type))
            size = isWide(column.CharsetId) ? column.Length / 4 : column.Length;
        AddField(column.Name, type, size);
    }
}

void TFbDataSet::Close()
{
    FQuery->Close();
    ClearFields();
}

void TFbDataSet::First()
{
    FQuery->First();
}

void TFbDataSet::Next()
{
    FQuery->Next();
}

void TFbDataSet::Prior()
{
    FQuery->Prior();
}

void TFbDataSet::Last()
{
    FQuery->Last();
}

bool TFbDataSet::Eof() const
{
    return FQuery->Eof();
}

bool TFbDataSet::Bof() const
{
    return FQuery->Bof();
}

int TFbDataSet::RecordCount() const
{
    FQuery->FetchAll();
    return FQuery->FetchedRows();
}

rp::TRpBookmark TFbDataSet::GetBookmark() const
{
    rp::TRpBookmark bookmark;
    QDataStream(&bookmark, QIODevice::WriteOnly) << qint32(FQuery->RowIndex());
    return bookmark;
}

void TFbDataSet::GotoBookmark(const rp::TRpBookmark &bookmark)
{
    qint32 row = -1;
    if (bookmark.size() == 4)
        QDataStream(bookmark) >> row;
    try {
        FQuery->GoToRow(row);
    } catch (const FbError &) {
        throw rp::EIOError(rp::SRpBookmarkInvalid);
    }
}

QVariant TFbDataSet::FieldValue(int index) const
{
    const QVariant value = FQuery->Value(index);
    if (!value.isValid())
        return value;
    // Memo fields hand out their bytes; the query gives text blobs as text.
    if (rp::IsBytesFieldType(Fields(index)->DataType()) && value.typeId() == QMetaType::QString)
        return value.toString().toUtf8();
    return value;
}

} // namespace zc::fb
