// SPDX-License-Identifier: MIT
// User-defined functions: name rules, ordered argument counts, lookup, argument conversion.
#include <reportengine/rpfunc.h>

#include "compiler/rpcompiler.h"
#include <reportengine/rpbasereport.h>
#include <reportengine/rpdataset.h>

#include <stdexcept>
#include <string>

namespace rp {

namespace {

bool AsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool AsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool IsLegalUDFName(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (!(AsciiLetter(c) || c == u'_' || (i > 0 && AsciiDigit(c))))
            return false;
    }
    return true;
}

// ---- TRpUDF ----------------------------------------------------------------------------------

TRpUDF::TRpUDF(TRpUDFCollection *collection) : FCollection(collection) {}

int TRpUDF::Index() const
{
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TRpUDF::SetName(const QString &value)
{
    if (value == FName)
        return;
    const QString name = RpTrim(value);
    const TRpUDFList *list = FCollection ? FCollection->Owner() : nullptr;
    if (list && list->FindFunction(name) >= 0)
        throw EIllegalFunctionUse(SRpUDFExists1 + name.toStdString() + SRpUDFExists2);
    if (!IsLegalUDFName(name))
        throw EIllegalFunctionUse(SRpUDFIllegalName + name.toStdString());
    FName = name;
}

void TRpUDF::SetArgMinCount(std::uint16_t value)
{
    if (value == FArgMinCount)
        return;
    FArgMinCount = value;
    if (FArgMaxCount < value)
        FArgMaxCount = value;
}

void TRpUDF::SetArgMaxCount(std::uint16_t value)
{
    if (value == FArgMaxCount)
        return;
    FArgMaxCount = value;
    if (FArgMinCount > value)
        FArgMinCount = value;
}

void TRpUDF::Assign(const TRpUDF &source)
{
    if (&source == this)
        return;
    OnCalculate = source.OnCalculate;
    FName = source.FName;
    FArgMinCount = source.FArgMinCount;
    FArgMaxCount = source.FArgMaxCount;
    FResultType = source.FResultType;
}

QString TRpUDF::DisplayName() const
{
    return FName.isEmpty() ? QStringLiteral("TRpUDF") : FName;
}

// ---- TRpUDFCollection ------------------------------------------------------------------------

TRpUDF *TRpUDFCollection::Add()
{
    FItems.push_back(std::make_unique<TRpUDF>(this));
    return FItems.back().get();
}

TRpUDF *TRpUDFCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range(SRpListIndex1 + std::to_string(index) + SRpListIndex2);
    return FItems[static_cast<size_t>(index)].get();
}

void TRpUDFCollection::Delete(int index)
{
    Items(index);
    FItems.erase(FItems.begin() + index);
}

void TRpUDFCollection::Assign(const TRpUDFCollection &source)
{
    if (&source == this)
        return;
    std::vector<std::unique_ptr<TRpUDF>> items;
    for (const auto &s : source.FItems) {
        auto copy = std::make_unique<TRpUDF>(this);
        copy->Assign(*s);
        items.push_back(std::move(copy));
    }
    FItems = std::move(items);
}

int TRpUDFCollection::IndexOf(const TRpUDF *item) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].get() == item)
            return i;
    return RpNotFound;
}

// ---- TRpUDFList ------------------------------------------------------------------------------

TRpUDFList::TRpUDFList(QObject *owner) : QObject(owner), FFunctions(this) {}

TRpUDFList::~TRpUDFList() = default;

int TRpUDFList::FindFunction(const QString &name) const
{
    const QString key = RpTrim(name).toUpper();
    for (int i = 0; i < FFunctions.Count(); ++i)
        if (RpTrim(FFunctions.Items(i)->Name()).toUpper() == key)
            return i;
    return RpNotFound;
}

// ---- Argument conversion ---------------------------------------------------------------------

void UDFArg2Var(TRpObject *arg, TRpReportVariable &variable, TRpDataType dataType)
{
    if (dataType == rpdtUnknown)
        return;
    if (const auto *field = dynamic_cast<const TRpField *>(arg)) {
        switch (dataType) {
        case rpdtString:
            variable.SetAsString(field->AsString());
            break;
        case rpdtNumber:
            // Whole 64-bit values: cutting large integers to 32 bits would change them.
            if (IsIntegerFieldType(field->DataType()))
                variable.SetAsInteger(field->AsInteger());
            else if (field->DataType() == TRpFieldType::ftCurrency)
                variable.SetAsFloat(field->AsCurrency());
            else
                variable.SetAsFloat(field->AsFloat());
            break;
        case rpdtBoolean:
            variable.SetAsBoolean(field->AsBoolean());
            break;
        case rpdtDateTime:
            variable.SetAsDateTime(field->AsDateTime());
            break;
        default:
            break;
        }
        return;
    }
    if (const auto *var = dynamic_cast<const TRpReportVariable *>(arg)) {
        switch (dataType) {
        case rpdtString:
            variable.SetAsString(var->AsString());
            break;
        case rpdtNumber:
            variable.SetAsFloat(var->AsFloat());
            break;
        case rpdtBoolean:
            variable.SetAsBoolean(var->AsBoolean());
            break;
        case rpdtDateTime:
            variable.SetAsDateTime(var->AsDateTime());
            break;
        default:
            break;
        }
    }
}

} // namespace rp
