// SPDX-License-Identifier: MIT
// Built-in function library: dispatch, first-pass preparation, assignment, conditions,
// accumulators, IIF and the operand helpers the function groups share.
#include "runtime/rpfunclib.h"

#include "compiler/rpcompiler.h"
#include "compiler/rpfunctable.h"
#include "runtime/rpfunclib_p.h"
#include "runtime/rpscans.h"
#include <reportengine/rprtf.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rp {

// ---- Power and rounding ----------------------------------------------------------------------

namespace {
constexpr int MaxRoundDigits = 5000;
} // namespace

long double ipwr(long double x, int n)
{
    long double result = 1;
    // 64 bits so that the magnitude of the smallest int still fits.
    std::int64_t m = n < 0 ? -static_cast<std::int64_t>(n) : n;
    while (m > 0) {
        while (m % 2 == 0) {
            m /= 2;
            x *= x;
        }
        --m;
        result *= x;
    }
    if (n < 0) {
        if (result == 0)
            throw EZeroDivide(SFloatZeroDivide);
        result = 1 / result;
    }
    return result;
}

long double pwr(long double x, long double y)
{
    if (y == 0)
        return 1;
    if (x == 0 && y > 0)
        return 0;
    if (std::trunc(y) == y && std::fabs(y) <= 2147483647.0L)
        return ipwr(x, static_cast<int>(y));
    if (x < 0)
        throw EInvalidOp(SFloatInvalidOp);
    if (x == 0)
        throw EZeroDivide(SFloatZeroDivide);
    return std::exp(y * std::log(x));
}

long double RpRound(long double x, int n)
{
    const long double s = x < 0 ? -1 : 1;
    const long double a = std::fabs(x);
    if (n == 0) {
        const long double t = std::trunc(a);
        return a - t >= 0.5L ? s * (t + 1) : s * t;
    }
    // Beyond the exponent range of long double every digit is kept or dropped anyway; the
    // bound also keeps -n defined for the smallest int.
    n = std::clamp(n, -MaxRoundDigits, MaxRoundDigits);
    const long double scaled = a * ipwr(10, n);
    if (!std::isfinite(scaled))
        return x; // no digit that far right is left to round
    const long double t = std::trunc(scaled);
    const long double whole = scaled - t >= 0.5L ? t + 1 : t;
    if (whole == 0)
        return 0;
    return ipwr(10, -n) * s * whole;
}

namespace funclib {

// ---- The call record -------------------------------------------------------------------------

TRpObject *TRpFuncCall::Arg(int i) const
{
    return i >= 0 && i < static_cast<int>(Args.size()) ? Args[static_cast<size_t>(i)] : nullptr;
}

TRpReportVariable TRpFuncCall::Temp() const
{
    TRpReportVariable v(nullptr);
    v.SetFmtSett(&Report.FmtSett);
    return v;
}

TRpReportVariable TRpFuncCall::TypedTemp(TRpObject *arg, TRpDataType type) const
{
    TRpReportVariable v = Temp();
    UDFArg2Var(arg, v, type);
    return v;
}

void TRpFuncCall::Fail(const QString &text) const
{
    throw std::runtime_error((text + QLatin1String(SExpressionPart) + Expr).toStdString());
}

void TRpFuncCall::FailIllegal(const char *prefix, const QString &suffix) const
{
    throw EIllegalFunctionUse((QLatin1String(prefix) + Expr + suffix).toStdString());
}

TRpReportVariable TRpFuncCall::OneTyped(const char *name, TRpDataType type, const char *kind) const
{
    TRpObject *arg = Arg(0);
    if (!IsValueArg(arg))
        Fail(QLatin1String(SOperandUnknownFn) + Quoted(name));
    if (OperandType(arg) != type)
        Fail(QLatin1String(SOperandOf) + QLatin1String(kind) + QLatin1String(STypeExpectedFn) +
             Quoted(name));
    return TypedTemp(arg, type);
}

TRpReportVariable TRpFuncCall::NthTyped(int i, TRpDataType type,
                                        const TRpArgMessages &messages) const
{
    TRpObject *arg = Arg(i);
    if (!IsValueArg(arg))
        Fail(QLatin1String(messages.Unknown));
    if (OperandType(arg) != type)
        Fail(QLatin1String(messages.WrongType));
    return TypedTemp(arg, type);
}

// ---- Operands --------------------------------------------------------------------------------

bool IsValueArg(const TRpObject *arg)
{
    return dynamic_cast<const TRpReportVariable *>(arg) || dynamic_cast<const TRpField *>(arg);
}

TRpDataType OperandType(const TRpObject *arg)
{
    if (const auto *field = dynamic_cast<const TRpField *>(arg))
        return TRpRTF::FieldType2VarType(field->DataType());
    if (const auto *var = dynamic_cast<const TRpReportVariable *>(arg))
        return var->DataType();
    return rpdtUnknown;
}

bool IsFieldAtEof(const TRpObject *arg)
{
    const auto *field = dynamic_cast<const TRpField *>(arg);
    return field && field->DataSet() && field->DataSet()->Eof();
}

bool ArgAsBoolean(const TRpObject *arg)
{
    if (const auto *field = dynamic_cast<const TRpField *>(arg))
        return !IsFieldAtEof(field) && field->AsBoolean();
    if (const auto *var = dynamic_cast<const TRpReportVariable *>(arg))
        return var->AsBoolean();
    return false;
}

int ToInt(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<long double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

QString Quoted(const char *name)
{
    return u'"' + QLatin1String(name) + u'"';
}

namespace {

const char *BuiltinName(int index)
{
    const TRpBaseFunctionIDs *row = BaseFunctionById(index);
    return row ? row->name : "";
}

// A non-local variable reference with a name: the only thing that can be assigned to.
enum class TargetCheck
{
    Ok,
    NotVariable,
    NoIdentifier
};

TargetCheck CheckTarget(const TRpObject *arg)
{
    const auto *var = dynamic_cast<const TRpReportVariable *>(arg);
    if (!var)
        return TargetCheck::NotVariable;
    if (var->Local() || RpTrim(var->Name()).isEmpty())
        return TargetCheck::NoIdentifier;
    return TargetCheck::Ok;
}

// Copies a value argument with its type into `target`; an untyped variable keeps its text.
void CopyValue(const TRpFuncCall &call, TRpObject *source, TRpDataType type,
               TRpReportVariable &target)
{
    if (type != rpdtUnknown) {
        // Read completely before writing, so that a failing read leaves the target alone.
        TRpReportVariable value = call.TypedTemp(source, type);
        UDFArg2Var(&value, target, type);
        return;
    }
    QString text;
    if (const auto *var = dynamic_cast<const TRpReportVariable *>(source))
        text = var->ValueText();
    else if (const auto *field = dynamic_cast<const TRpField *>(source))
        text = field->AsString();
    target.SetAsString(text);
    target.SetDataType(rpdtUnknown);
}

void DoSet(const TRpFuncCall &call)
{
    TRpObject *target = call.Arg(0);
    TRpObject *source = call.Arg(1);
    switch (CheckTarget(target)) {
    case TargetCheck::NotVariable:
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SSetVarExpected));
    case TargetCheck::NoIdentifier:
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SSetIdentExpected));
    case TargetCheck::Ok:
        break;
    }
    if (!IsValueArg(source))
        call.Fail(QLatin1String(SSetSecondUnknown));
    const TRpDataType type = OperandType(source);
    if (type == rpdtUnknown)
        call.Fail(QLatin1String(SSetOperandUnknown));
    CopyValue(call, source, type, *static_cast<TRpReportVariable *>(target));
}

// The operands arrive reversed: the right-hand side first.
void DoLet(const TRpFuncCall &call)
{
    TRpObject *right = call.Arg(0);
    TRpObject *left = call.Arg(1);
    switch (CheckTarget(left)) {
    case TargetCheck::NotVariable:
        call.FailIllegal(SRpIllegalExpression, QLatin1String(SLetVarExpected));
    case TargetCheck::NoIdentifier:
        call.FailIllegal(SRpIllegalExpression, QLatin1String(SLetIdentExpected));
    case TargetCheck::Ok:
        break;
    }
    const TRpDataType type = IsValueArg(right) ? OperandType(right) : rpdtUnknown;
    if (type == rpdtUnknown)
        call.Fail(QLatin1String(SLetRightUnknown));
    CopyValue(call, right, type, *static_cast<TRpReportVariable *>(left));
}

void DoAccumulate(const TRpFuncCall &call)
{
    // InitFunctions has made sure the accumulator is a named report variable.
    auto *accu = dynamic_cast<TRpReportVariable *>(call.Arg(1));
    if (!accu)
        return;
    TRpObject *arg = call.Arg(0);
    if (IsFieldAtEof(arg))
        return;
    const auto *field = dynamic_cast<const TRpField *>(arg);
    const auto *var = dynamic_cast<const TRpReportVariable *>(arg);
    if (!field && !var)
        return;
    long double add = 0;
    if (call.Fn() == BuiltIn::Cts) {
        const QString text = field ? field->AsString() : var->AsString();
        add = RpTrim(text).isEmpty() ? 0 : 1;
    } else {
        const long double value = field ? field->AsFloat() : var->AsFloat();
        add = call.Fn() == BuiltIn::Sum ? value : (value != 0 ? 1 : 0);
    }
    const long double total = accu->AsFloat() + add;
    accu->SetAsFloat(total);
}

void DoIifTest(const TRpFuncCall &call)
{
    TRpObject *arg = call.Arg(0);
    if (!IsValueArg(arg))
        call.Fail(QLatin1String(SIifFirstUnknown));
    if (OperandType(arg) != rpdtBoolean)
        call.Fail(QLatin1String(SIifFirstBoolean));
    call.Result.SetAsBoolean(call.TypedTemp(arg, rpdtBoolean).AsBoolean());
}

void DoIif(const TRpFuncCall &call)
{
    const bool test = ArgAsBoolean(call.Arg(0));
    TRpObject *chosen = call.Arg(test ? 1 : 2);
    if (!chosen) {
        // The branch was passed over: nothing was computed for it.
        call.Result.SetAsString(QString());
        call.Result.SetDataType(rpdtUnknown);
        return;
    }
    if (!IsValueArg(chosen))
        call.Fail(QLatin1String(test ? SIifSecondUnknown : SIifThirdUnknown));
    CopyValue(call, chosen, OperandType(chosen), call.Result);
}

// The number of a control or support function; false for any other.
bool DoControlFunction(const TRpFuncCall &call)
{
    switch (call.Fn()) {
    case BuiltIn::Sum:
    case BuiltIn::Ctn:
    case BuiltIn::Cts:
        DoAccumulate(call);
        return true;
    case BuiltIn::Var: // VAR: the declarations are made by InitFunctions
    case BuiltIn::SysIifTrue:
    case BuiltIn::SysIifFalse: // the IIF branch markers: the executor keeps the branch's value
        return true;
    case BuiltIn::If:
    case BuiltIn::While:
    case BuiltIn::ElsIf:
        call.Result.SetAsBoolean(ArgAsBoolean(call.Arg(0)));
        return true;
    case BuiltIn::Bracket:
        if (const auto *var = dynamic_cast<const TRpReportVariable *>(call.Arg(0)))
            call.Result.SetAsString(var->AsString());
        return true;
    case BuiltIn::Set:
        DoSet(call);
        return true;
    case BuiltIn::SysLet:
        DoLet(call);
        return true;
    case BuiltIn::Iif:
        DoIif(call);
        return true;
    case BuiltIn::SysIifTest:
        DoIifTest(call);
        return true;
    default:
        return false;
    }
}

// The executor hands over NORESET as a local false; a direct call may still name it.
bool IsNoReset(const TRpObject *arg)
{
    const auto *var = dynamic_cast<const TRpReportVariable *>(arg);
    if (!var)
        return false;
    if (!var->Local())
        return RpTrim(var->Name()).toUpper() == QLatin1String(SNoReset);
    return var->DataType() == rpdtBoolean && !var->AsBoolean();
}

} // namespace
} // namespace funclib

using namespace funclib;

void TRpRTF::InitFunctions(int index, TRpUDFArgs &args, int argCount, const QString &exprText)
{
    TRpReportVariable scratch(nullptr);
    scratch.SetFmtSett(&FmtSett);
    const TRpFuncCall call{*this, index, args, scratch, exprText};
    if (index == BuiltInNumber(BuiltIn::Var)) {
        const int n = std::min(argCount, static_cast<int>(args.size()));
        for (int i = 0; i < n; ++i)
            if (CheckTarget(args[static_cast<size_t>(i)]) != TargetCheck::Ok)
                call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SVarOnlyIdentifiers));
        for (int i = 0; i < n; ++i) {
            const QString name =
                RpTrim(static_cast<TRpReportVariable *>(args[static_cast<size_t>(i)])->Name());
            if (GetVarNumber(name) == 0)
                CreateVar(name, QString());
        }
        return;
    }
    if (index < -3 || index > -1)
        return;
    TRpObject *accuArg = call.Arg(1);
    const QString quotedName = Quoted(BuiltinName(index));
    switch (CheckTarget(accuArg)) {
    case TargetCheck::NotVariable:
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SAccuVarExpected) + quotedName);
    case TargetCheck::NoIdentifier:
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SAccuIdentExpected) + quotedName);
    case TargetCheck::Ok:
        break;
    }
    auto *accu = static_cast<TRpReportVariable *>(accuArg);
    if (GetVarNumber(accu->Name()) == 0)
        CreateVar(accu->Name(), 0.0);
    if (argCount >= 3 && IsNoReset(call.Arg(2)))
        return;
    const TRpScanInfo *block = FScs ? FScs->GetCurrentScanInfo() : nullptr;
    if (!block || block->FFirstPass)
        accu->SetAsFloat(0);
}

void TRpRTF::DoFunctions(int index, TRpUDFArgs &args, TRpObject *udfResult, const QString &exprText)
{
    // Functions without a result, or a caller without a holder, write into a scratch value.
    TRpReportVariable scratch(nullptr);
    scratch.SetFmtSett(&FmtSett);
    auto *holder = dynamic_cast<TRpReportVariable *>(udfResult);
    const TRpFuncCall call{*this, index, args, holder ? *holder : scratch, exprText};
    for (auto group : {DoControlFunction, DoOperatorFunction, DoStringFunction, DoNumberFunction,
                       DoDateFunction, DoDataSetFunction})
        if (group(call))
            return;
    // Any other number computes nothing.
}

} // namespace rp
