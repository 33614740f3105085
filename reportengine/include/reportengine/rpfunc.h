// SPDX-License-Identifier: MIT
// User-defined functions: the list component, its collection and the function items.
#pragma once

#include <reportengine/rpconsts.h>
#include <reportengine/rptypes.h>

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rp {

class TRpUDFCollection;
class TRpUDFList;
class TRpReportVariable;

/// Arguments of a function call, left to right: TRpReportVariable, TRpField or
/// the result object of an inner call. The caller owns them.
using TRpUDFArgs = std::vector<TRpObject *>;

/// Computes a user function: reads `args`, writes into `udfResult` (a local
/// TRpReportVariable, TRpPicture or TRpMemoryStream by ResultType, or nullptr).
using TRpUDFOnCalculate =
    std::function<void(QObject *sender, TRpUDFArgs &args, int argCount, TRpObject *udfResult)>;

/// One user function of a template: name, argument counts, result type, handler.
class TRpUDF
{
public:
    explicit TRpUDF(TRpUDFCollection *collection = nullptr);

    TRpUDFCollection *Collection() const { return FCollection; }
    /// 0-based position in the collection, -1 when free-standing.
    int Index() const;

    TRpUDFOnCalculate OnCalculate;

    const QString &Name() const { return FName; }
    /// Stores the trimmed name; duplicates (ignoring case and blanks, the item
    /// itself included) and illegal names raise EIllegalFunctionUse.
    void SetName(const QString &value);
    std::uint16_t ArgMinCount() const { return FArgMinCount; }
    /// Raising the minimum above the maximum raises the maximum with it.
    void SetArgMinCount(std::uint16_t value);
    std::uint16_t ArgMaxCount() const { return FArgMaxCount; }
    /// Lowering the maximum below the minimum lowers the minimum with it.
    void SetArgMaxCount(std::uint16_t value);
    std::uint8_t ResultType() const { return FResultType; }
    void SetResultType(std::uint8_t value) { FResultType = value; }

    /// Copies handler, name (unchecked), counts and result type.
    void Assign(const TRpUDF &source);
    /// Name, or the class name when the name is empty (as item editors show it).
    QString DisplayName() const;

private:
    friend class TRpUDFCollection;
    TRpUDFCollection *FCollection;
    QString FName;
    std::uint16_t FArgMinCount = 0;
    std::uint16_t FArgMaxCount = 0;
    std::uint8_t FResultType = udfrTRpReportVariable;
};

/// Letters A-Z/a-z and "_" anywhere, digits after the first character; "" is legal.
bool IsLegalUDFName(const QString &name);

/// The owned collection of TRpUDF items of one list.
class TRpUDFCollection
{
public:
    explicit TRpUDFCollection(TRpUDFList *list) : FRpUDFList(list) {}
    TRpUDFCollection(const TRpUDFCollection &) = delete;
    TRpUDFCollection &operator=(const TRpUDFCollection &) = delete;

    /// The list that owns the collection.
    TRpUDFList *Owner() const { return FRpUDFList; }
    int Count() const { return static_cast<int>(FItems.size()); }
    /// Appends an item with the initial values.
    TRpUDF *Add();
    /// Item by 0-based index; throws std::out_of_range outside.
    TRpUDF *Items(int index) const;
    TRpUDF *operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear() { FItems.clear(); }
    /// Replaces the items by copies of `source`'s.
    void Assign(const TRpUDFCollection &source);
    int IndexOf(const TRpUDF *item) const;

private:
    TRpUDFList *FRpUDFList;
    std::vector<std::unique_ptr<TRpUDF>> FItems;
};

/// Component holding the user functions a report may call.
class TRpUDFList : public QObject
{
public:
    explicit TRpUDFList(QObject *owner = nullptr);
    ~TRpUDFList() override;

    /// Must equal the report component's version to be attached.
    virtual int Version() const { return RpVersion; }
    TRpUDFCollection &Functions() { return FFunctions; }
    const TRpUDFCollection &Functions() const { return FFunctions; }
    /// Copies the items of `source`.
    void SetFunctions(const TRpUDFCollection &source) { FFunctions.Assign(source); }
    int Count() const { return FFunctions.Count(); }
    /// Index of the first function whose trimmed upper-case name equals `name`
    /// trimmed and upper-cased; -1 if none.
    int FindFunction(const QString &name) const;

private:
    TRpUDFCollection FFunctions;
};

/// Copies a function argument's value into `variable` as `dataType` (data-set
/// fields and report variables; anything else, or rpdtUnknown, copies nothing).
void UDFArg2Var(TRpObject *arg, TRpReportVariable &variable, TRpDataType dataType);

} // namespace rp
