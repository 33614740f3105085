// SPDX-License-Identifier: MIT
// Prepare, execute and fetch through an XSQLDA; blob reads; the row buffer.
#include <firebird/ibquery.h>

#include "fbtext.h"
#include <firebird/fbengine.h>
#include <firebird/fberror.h>
#include <firebird/ibdatabase.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace zc::fb {

namespace {

constexpr short kCharsetOctets = 1;

// Firebird counts days from 17 November 1858 and time in units of 100 microseconds.
QDate decodeDate(ISC_DATE d)
{
    return QDate(1858, 11, 17).addDays(d);
}

QTime decodeTime(ISC_TIME t)
{
    return QTime(0, 0).addMSecs(static_cast<int>(t / 10));
}

double scaled(qint64 value, short scale)
{
    return static_cast<double>(value) * std::pow(10.0, scale);
}

} // namespace

// The output descriptor and the memory its variables point into.
struct IB_QryGen::Buffers
{
    XSQLDA *sqlda = nullptr;
    std::vector<std::vector<char>> data;
    std::vector<short> indicators;

    ~Buffers() { std::free(sqlda); }

    void allocate(int count)
    {
        std::free(sqlda);
        sqlda = static_cast<XSQLDA *>(std::calloc(1, XSQLDA_LENGTH(count)));
        sqlda->version = SQLDA_VERSION1;
        sqlda->sqln = static_cast<ISC_SHORT>(count);
    }
};

IB_QryGen::IB_QryGen(IB_DbZColor &database, IBTransaction &transaction)
    : FDatabase(database), FTransaction(transaction), FBuffers(std::make_unique<Buffers>()),
      FInput(std::make_unique<Buffers>())
{
}

IB_QryGen::~IB_QryGen()
{
    try {
        Close();
    } catch (const FbError &) {
        // The statement dies with its connection.
    }
}

void IB_QryGen::SetSQL(const QString &sql)
{
    Close();
    FSQL = sql;
}

void IB_QryGen::freeStatement()
{
    if (!FStatement)
        return;
    if (EngineShutDown() || !FDatabase.Connected()) {
        FStatement = 0;
        return;
    }
    ISC_STATUS_ARRAY status;
    isc_dsql_free_statement(status, &FStatement, DSQL_drop);
    FStatement = 0;
    CheckStatus(status);
}

void IB_QryGen::Close()
{
    FActive = false;
    FExhausted = false;
    FEof = FBof = true;
    FCurrent = 0;
    FRows.clear();
    FColumns.clear();
    freeStatement();
}

void IB_QryGen::prepare()
{
    Close();
    if (!FDatabase.Connected())
        throw FbError(SDatabaseNotOpen);
    if (!FTransaction.InTransaction())
        FTransaction.StartTransaction();

    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, FDatabase.Handle(), &FStatement);
    CheckStatus(status);

    const QByteArray text = EncodeText(FSQL, FDatabase.CharacterSet());
    FBuffers->allocate(1);
    try {
        isc_dsql_prepare(status, FTransaction.Handle(), &FStatement, 0, text.constData(),
                         static_cast<unsigned short>(FDatabase.SQLDialect()), FBuffers->sqlda);
        CheckStatus(status);
        const int count = FBuffers->sqlda->sqld;
        if (count > FBuffers->sqlda->sqln) {
            FBuffers->allocate(count);
            isc_dsql_describe(status, &FStatement, SQLDA_VERSION1, FBuffers->sqlda);
            CheckStatus(status);
        }
    } catch (...) {
        freeStatement();
        throw;
    }

    XSQLDA *da = FBuffers->sqlda;
    const int count = da->sqld;
    FBuffers->data.assign(static_cast<size_t>(count), {});
    FBuffers->indicators.assign(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        XSQLVAR &var = da->sqlvar[i];
        const short type = static_cast<short>(var.sqltype & ~1);
        IBColumn column;
        column.Name =
            DecodeText(QByteArray(var.aliasname, var.aliasname_length), FDatabase.CharacterSet());
        column.SqlType = type;
        column.SubType = var.sqlsubtype;
        column.Scale = var.sqlscale;
        column.Length = var.sqllen;
        // Text keeps its character set in the sub-type, a text blob in the scale.
        column.CharsetId =
            type == SQL_BLOB ? var.sqlscale : static_cast<short>(var.sqlsubtype & 0xff);
        FColumns.push_back(column);

        size_t size = static_cast<size_t>(var.sqllen);
        if (type == SQL_VARYING)
            size += sizeof(short);
        FBuffers->data[static_cast<size_t>(i)].assign(size + 1, 0);
        var.sqldata = FBuffers->data[static_cast<size_t>(i)].data();
        // Ask for an indicator on every column, nullable or not: one code path.
        var.sqltype = static_cast<short>(type | 1);
        var.sqlind = &FBuffers->indicators[static_cast<size_t>(i)];
    }
}

// Binds the parameter values (if the statement has markers) and executes.
void IB_QryGen::execute()
{
    ISC_STATUS_ARRAY status;
    FInput->allocate(1);
    isc_dsql_describe_bind(status, &FStatement, SQLDA_VERSION1, FInput->sqlda);
    CheckStatus(status);
    const int count = FInput->sqlda->sqld;
    if (count == 0) {
        isc_dsql_execute(status, FTransaction.Handle(), &FStatement, SQLDA_VERSION1, nullptr);
        CheckStatus(status);
        return;
    }
    if (count > FInput->sqlda->sqln) {
        FInput->allocate(count);
        isc_dsql_describe_bind(status, &FStatement, SQLDA_VERSION1, FInput->sqlda);
        CheckStatus(status);
    }
    if (count != FParamValues.size())
        throw FbError("The statement has " + std::to_string(count) + " parameters, " +
                      std::to_string(FParamValues.size()) + " values were given");
    FInput->data.assign(static_cast<size_t>(count), {});
    FInput->indicators.assign(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        XSQLVAR &var = FInput->sqlda->sqlvar[i];
        const QVariant &value = FParamValues[i];
        std::vector<char> &buffer = FInput->data[static_cast<size_t>(i)];
        var.sqlind = &FInput->indicators[static_cast<size_t>(i)];
        const short type = static_cast<short>(var.sqltype & ~1);
        if (!value.isValid()) {
            FInput->indicators[static_cast<size_t>(i)] = -1;
            buffer.assign(static_cast<size_t>(var.sqllen) + 2, 0);
            var.sqldata = buffer.data();
            var.sqltype = static_cast<short>(type | 1);
            continue;
        }
        const QByteArray bytes = value.typeId() == QMetaType::QByteArray
                                     ? value.toByteArray()
                                     : EncodeText(ValueAsText(value), FDatabase.CharacterSet());
        if (type == SQL_BLOB) {
            const ISC_QUAD id = writeBlob(bytes);
            buffer.assign(sizeof id, 0);
            std::memcpy(buffer.data(), &id, sizeof id);
        } else {
            // Everything else goes as text and the server converts it to the column's type.
            if (bytes.size() > 32765)
                throw FbError("Parameter value too long");
            buffer.assign(bytes.begin(), bytes.end());
            buffer.push_back(0);
            var.sqllen = static_cast<short>(bytes.size());
            var.sqlsubtype = 0;
            var.sqlscale = 0;
            var.sqltype = static_cast<short>(SQL_TEXT | 1);
        }
        var.sqldata = buffer.data();
        if (type == SQL_BLOB)
            var.sqltype = static_cast<short>(SQL_BLOB | 1);
    }
    isc_dsql_execute(status, FTransaction.Handle(), &FStatement, SQLDA_VERSION1, FInput->sqlda);
    CheckStatus(status);
}

ISC_QUAD IB_QryGen::writeBlob(const QByteArray &bytes)
{
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    isc_create_blob2(status, FDatabase.Handle(), FTransaction.Handle(), &blob, &id, 0, nullptr);
    CheckStatus(status);
    constexpr qsizetype kSegment = 16384;
    for (qsizetype at = 0; at < bytes.size(); at += kSegment) {
        const qsizetype n = std::min(kSegment, bytes.size() - at);
        isc_put_segment(status, &blob, static_cast<unsigned short>(n), bytes.constData() + at);
        if (status[0] == 1 && status[1]) {
            ISC_STATUS_ARRAY ignored;
            isc_cancel_blob(ignored, &blob);
            CheckStatus(status);
        }
    }
    isc_close_blob(status, &blob);
    CheckStatus(status);
    return id;
}

void IB_QryGen::Open()
{
    prepare();
    try {
        execute();
    } catch (...) {
        Close();
        throw;
    }
    FActive = true;
    FExhausted = FColumns.empty();
    First();
}

void IB_QryGen::ExecSQL()
{
    prepare();
    try {
        execute();
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

bool IB_QryGen::fetchOne()
{
    if (FExhausted)
        return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &FStatement, SQLDA_VERSION1, FBuffers->sqlda);
    if (rc == 100) {
        FExhausted = true;
        return false;
    }
    CheckStatus(status);
    std::vector<QVariant> row;
    row.reserve(FColumns.size());
    for (int i = 0; i < FieldCount(); ++i)
        row.push_back(readColumn(i));
    FRows.push_back(std::move(row));
    return true;
}

QVariant IB_QryGen::readColumn(int index)
{
    const XSQLVAR &var = FBuffers->sqlda->sqlvar[index];
    if (*var.sqlind < 0)
        return QVariant();
    const IBColumn &column = FColumns[static_cast<size_t>(index)];
    const char *data = var.sqldata;
    const QString charset = FDatabase.CharacterSet();
    switch (column.SqlType) {
    case SQL_TEXT: {
        const QByteArray bytes(data, var.sqllen);
        if (column.CharsetId == kCharsetOctets)
            return bytes;
        QString text = DecodeText(bytes, charset);
        // CHAR(n) in UTF8 arrives padded to 4n bytes; n characters are the value.
        if (column.CharsetId == 4 && text.size() > var.sqllen / 4)
            text.truncate(var.sqllen / 4);
        return text;
    }
    case SQL_VARYING: {
        short length;
        std::memcpy(&length, data, sizeof length);
        const QByteArray bytes(data + sizeof length, length);
        if (column.CharsetId == kCharsetOctets)
            return bytes;
        return DecodeText(bytes, charset);
    }
    case SQL_SHORT: {
        short v;
        std::memcpy(&v, data, sizeof v);
        return column.Scale < 0 ? QVariant(scaled(v, column.Scale)) : QVariant(qint64(v));
    }
    case SQL_LONG: {
        ISC_LONG v;
        std::memcpy(&v, data, sizeof v);
        return column.Scale < 0 ? QVariant(scaled(v, column.Scale)) : QVariant(qint64(v));
    }
    case SQL_INT64: {
        ISC_INT64 v;
        std::memcpy(&v, data, sizeof v);
        return column.Scale < 0 ? QVariant(scaled(v, column.Scale)) : QVariant(qint64(v));
    }
    case SQL_FLOAT: {
        float v;
        std::memcpy(&v, data, sizeof v);
        return double(v);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double v;
        std::memcpy(&v, data, sizeof v);
        return v;
    }
    case SQL_BOOLEAN:
        return *reinterpret_cast<const unsigned char *>(data) != 0;
    case SQL_TYPE_DATE: {
        ISC_DATE v;
        std::memcpy(&v, data, sizeof v);
        return decodeDate(v);
    }
    case SQL_TYPE_TIME: {
        ISC_TIME v;
        std::memcpy(&v, data, sizeof v);
        return decodeTime(v);
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP v;
        std::memcpy(&v, data, sizeof v);
        return QDateTime(decodeDate(v.timestamp_date), decodeTime(v.timestamp_time));
    }
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, data, sizeof id);
        const QByteArray bytes = readBlob(id);
        if (column.SubType == 1 && column.CharsetId != kCharsetOctets)
            return DecodeText(bytes, charset);
        return bytes;
    }
    default:
        // Arrays and anything newer have no value this layer can hand out.
        return QVariant();
    }
}

QByteArray IB_QryGen::readBlob(const ISC_QUAD &id)
{
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    ISC_QUAD blobId = id;
    isc_open_blob2(status, FDatabase.Handle(), FTransaction.Handle(), &blob, &blobId, 0, nullptr);
    CheckStatus(status);
    QByteArray bytes;
    char segment[8192];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc = isc_get_segment(status, &blob, &got, sizeof segment, segment);
        if (rc == 0 || rc == isc_segment) {
            bytes.append(segment, got);
            continue;
        }
        if (rc == isc_segstr_eof)
            break;
        ISC_STATUS_ARRAY ignored;
        isc_close_blob(ignored, &blob);
        CheckStatus(status);
    }
    isc_close_blob(status, &blob);
    CheckStatus(status);
    return bytes;
}

void IB_QryGen::First()
{
    if (!FActive)
        return;
    FCurrent = 0;
    if (FRows.empty())
        fetchOne();
    FBof = true;
    FEof = FRows.empty();
}

void IB_QryGen::Next()
{
    if (!FActive || FRows.empty())
        return;
    if (FCurrent + 1 < FetchedRows() || fetchOne()) {
        ++FCurrent;
        FBof = false;
        FEof = false;
    } else {
        FEof = true;
    }
}

void IB_QryGen::Prior()
{
    if (!FActive || FRows.empty())
        return;
    if (FCurrent > 0) {
        --FCurrent;
        FEof = false;
        FBof = false;
    } else {
        FBof = true;
    }
}

void IB_QryGen::FetchAll()
{
    if (!FActive)
        return;
    while (fetchOne()) {
    }
}

void IB_QryGen::Last()
{
    if (!FActive)
        return;
    FetchAll();
    FCurrent = FRows.empty() ? 0 : FetchedRows() - 1;
    // As with First and Bof, arriving at the end by Last counts as Eof.
    FEof = true;
    FBof = FRows.empty();
}

void IB_QryGen::GoToRow(int index)
{
    while (FActive && index >= FetchedRows() && fetchOne()) {
    }
    if (!FActive || index < 0 || index >= FetchedRows())
        throw FbError("Row " + std::to_string(index) + " does not exist");
    FCurrent = index;
    FEof = FBof = false;
}

int IB_QryGen::FieldIndex(const QString &name) const
{
    for (int i = 0; i < FieldCount(); ++i)
        if (FColumns[static_cast<size_t>(i)].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant IB_QryGen::Value(int index) const
{
    if (!FActive || FRows.empty() || index < 0 || index >= FieldCount())
        return QVariant();
    return FRows[static_cast<size_t>(FCurrent)][static_cast<size_t>(index)];
}

QString IB_QryGen::FieldAsString(const QString &name) const
{
    if (!FActive)
        throw FbError("Query is not open");
    const int index = FieldIndex(name);
    if (index < 0)
        throw FbError("Field \"" + name.toStdString() + "\" not found");
    return ValueAsText(Value(index));
}

QString ValueAsText(const QVariant &value)
{
    if (!value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

} // namespace zc::fb
