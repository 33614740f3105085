// SPDX-License-Identifier: MIT
// Data-set interface: field list, controls counter and the typed field accessors.
#include <reportengine/rpdataset.h>

#include "messages.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rpformat.h>
#include <zc/cp1252.h>

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace rp {

QString FieldTypeName(TRpFieldType type)
{
    static const char *const names[RpFieldTypeCount] = {
        "string",  "fixedchar", "widestring", "memo",     "widememo", "smallint",
        "integer", "word",      "autoinc",    "largeint", "float",    "currency",
        "boolean", "date",      "time",       "datetime", "blob",     "graphic"};
    const int i = static_cast<int>(type);
    return (i >= 0 && i < RpFieldTypeCount) ? QString::fromLatin1(names[i]) : QString();
}

bool IsTextFieldType(TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftString:
    case TRpFieldType::ftFixedChar:
    case TRpFieldType::ftWideString:
    case TRpFieldType::ftMemo:
    case TRpFieldType::ftWideMemo:
        return true;
    default:
        return false;
    }
}

bool IsIntegerFieldType(TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftSmallint:
    case TRpFieldType::ftInteger:
    case TRpFieldType::ftWord:
    case TRpFieldType::ftAutoInc:
    case TRpFieldType::ftLargeint:
        return true;
    default:
        return false;
    }
}

bool IsBytesFieldType(TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftMemo:
    case TRpFieldType::ftWideMemo:
    case TRpFieldType::ftBlob:
    case TRpFieldType::ftGraphic:
        return true;
    default:
        return false;
    }
}

TRpField::TRpField(TRpDataSet *owner, int index, const QString &name, TRpFieldType type, int size)
    : FDataSet(owner), FIndex(index), FFieldName(name), FDataType(type), FSize(size)
{
}

QVariant TRpField::Value() const
{
    return FDataSet->FieldValue(FIndex);
}

bool TRpField::IsNull() const
{
    return !Value().isValid();
}

namespace {

QString Quoted(const QString &text)
{
    return u'\'' + text + u'\'';
}

} // namespace

QString TRpField::AsString() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        if (FDataType == TRpFieldType::ftBlob || FDataType == TRpFieldType::ftGraphic)
            return zc::FromCp1252(v.toByteArray());
        return QString::fromUtf8(v.toByteArray());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(v.toDouble(), DefaultFormatSettings());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toString();
    case QMetaType::QDate:
        return DateToStr(DateTimeFromQDate(v.toDate()), DefaultFormatSettings());
    case QMetaType::QTime:
        return TimeToStr(DateTimeFromQTime(v.toTime()), DefaultFormatSettings());
    case QMetaType::QDateTime:
        return DateTimeToStr(DateTimeFromQDateTime(v.toDateTime()), DefaultFormatSettings());
    default:
        return v.toString();
    }
}

qint64 TRpField::AsInteger() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: {
        const double d = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float
                             ? v.toDouble()
                             : AsDateTime();
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            throw EConvertError(Quoted(AsString()).toStdString() + msg::NotAValidInteger);
        return std::llround(d);
    }
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toLongLong();
    default:
        return StrToInt64(AsString().trimmed());
    }
}

double TRpField::AsFloat() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toDouble();
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return AsDateTime();
    default: {
        const QString text = AsString().trimmed();
        long double value = 0;
        if (TryStrToFloat(text, value, InvariantFormatSettings()))
            return static_cast<double>(value);
        return static_cast<double>(StrToFloat(text, DefaultFormatSettings()));
    }
    }
}

double TRpField::AsCurrency() const
{
    // Money keeps four decimals; rounding here hides binary noise of the float form.
    return std::round(AsFloat() * 10000.0) / 10000.0;
}

bool TRpField::AsBoolean() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble() != 0;
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toLongLong() != 0;
    default: {
        const QString text = AsString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == u"1")
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || text == u"0" ||
            text.isEmpty())
            return false;
        throw EConvertError((Quoted(text) + QLatin1String(SRpInvalidBoolean)).toStdString());
    }
    }
}

double TRpField::AsDateTime() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::QDate:
        return DateTimeFromQDate(v.toDate());
    case QMetaType::QTime:
        return DateTimeFromQTime(v.toTime());
    case QMetaType::QDateTime:
        return DateTimeFromQDateTime(v.toDateTime());
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toDouble();
    default:
        return StrToDateTime(AsString().trimmed(), DefaultFormatSettings());
    }
}

QByteArray TRpField::AsBytes() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return QByteArray();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return AsString().toUtf8();
}

TRpDataSet::TRpDataSet() = default;
TRpDataSet::~TRpDataSet() = default;

TRpField *TRpDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw EIOError(SRpFieldIndexOutOfRange + std::to_string(index));
    return FFields[static_cast<size_t>(index)].get();
}

TRpField *TRpDataSet::FindField(const QString &name) const
{
    for (const auto &f : FFields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TRpField *TRpDataSet::FieldByName(const QString &name) const
{
    TRpField *f = FindField(name);
    if (!f)
        throw EIOError(SRpFieldNotFound + name.toStdString());
    return f;
}

TRpField *TRpDataSet::AddField(const QString &name, TRpFieldType type, int size)
{
    FFields.push_back(std::make_unique<TRpField>(this, FieldCount(), name, type, size));
    return FFields.back().get();
}

void TRpDataSet::ClearFields()
{
    FFields.clear();
}

} // namespace rp
