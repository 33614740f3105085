// SPDX-License-Identifier: MIT
// Data-set interface: field list, controls counter and the typed field accessors.
#include "rpdataset.h"

#include "rpconsts.h"

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

QString TRpField::AsString() const
{
    return QString();
}

qint64 TRpField::AsInteger() const
{
    return 0;
}

double TRpField::AsFloat() const
{
    return 0;
}

double TRpField::AsCurrency() const
{
    return AsFloat();
}

bool TRpField::AsBoolean() const
{
    return false;
}

double TRpField::AsDateTime() const
{
    return 0;
}

QByteArray TRpField::AsBytes() const
{
    return QByteArray();
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
