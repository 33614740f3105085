// SPDX-License-Identifier: MIT
// Built-in function library: the operators of infix expressions (logic, arithmetic, comparison).
#include "runtime/rpfunclib_p.h"

#include <cmath>

namespace rp::funclib {

namespace {

// Operator calls receive the right-hand operand first.
struct TRpOperands
{
    TRpObject *L;
    TRpObject *R;
    TRpDataType TL;
    TRpDataType TR;

    bool Are(TRpDataType l, TRpDataType r) const { return TL == l && TR == r; }
};

[[noreturn]] void FailUnknown(const TRpFuncCall &call, const char *name)
{
    call.Fail(QLatin1String(SOperandUnknownOp) + QLatin1String(name));
}

[[noreturn]] void FailMismatch(const TRpFuncCall &call, const char *name)
{
    call.Fail(QLatin1String(SOperandMismatchOp) + QLatin1String(name));
}

// Comparisons refuse differing types before unknown ones, so that a known type
// against an untyped value reads as a mismatch.
TRpOperands CheckBinary(const TRpFuncCall &call, const char *name, bool comparison)
{
    TRpOperands op{call.Arg(1), call.Arg(0), rpdtUnknown, rpdtUnknown};
    if (!IsValueArg(op.L) || !IsValueArg(op.R))
        FailUnknown(call, name);
    op.TL = OperandType(op.L);
    op.TR = OperandType(op.R);
    if (comparison && op.TL != op.TR)
        FailMismatch(call, name);
    if (op.TL == rpdtUnknown || op.TR == rpdtUnknown)
        FailUnknown(call, name);
    return op;
}

TRpReportVariable CheckUnary(const TRpFuncCall &call, const char *name, TRpDataType type)
{
    TRpObject *arg = call.Arg(0);
    if (!IsValueArg(arg))
        FailUnknown(call, name);
    const TRpDataType t = OperandType(arg);
    if (t == rpdtUnknown)
        FailUnknown(call, name);
    if (t != type)
        FailMismatch(call, name);
    return call.TypedTemp(arg, type);
}

long double Number(const TRpFuncCall &call, TRpObject *arg)
{
    return call.TypedTemp(arg, rpdtNumber).AsFloat();
}

// Numbers and date-times alike, as day counts for the latter.
long double NumberOrDate(const TRpFuncCall &call, TRpObject *arg, TRpDataType type)
{
    if (type == rpdtDateTime)
        return call.TypedTemp(arg, rpdtDateTime).AsDateTime();
    return Number(call, arg);
}

void DoLogic(const TRpFuncCall &call, const char *name, bool isAnd)
{
    const TRpOperands op = CheckBinary(call, name, false);
    if (!op.Are(rpdtBoolean, rpdtBoolean))
        FailMismatch(call, name);
    const bool l = call.TypedTemp(op.L, rpdtBoolean).AsBoolean();
    const bool r = call.TypedTemp(op.R, rpdtBoolean).AsBoolean();
    call.Result.SetAsBoolean(isAnd ? (l && r) : (l || r));
}

void DoMultiply(const TRpFuncCall &call)
{
    const char *name = "\"*\"";
    const TRpOperands op = CheckBinary(call, name, false);
    if (!op.Are(rpdtNumber, rpdtNumber))
        FailMismatch(call, name);
    call.Result.SetAsFloat(Number(call, op.L) * Number(call, op.R));
}

// "/" and "%": the divisor is read and tested before the dividend.
void DoDivide(const TRpFuncCall &call, bool remainder)
{
    const char *name = remainder ? "\"%\"" : "\"/\"";
    const TRpOperands op = CheckBinary(call, name, false);
    if (!op.Are(rpdtNumber, rpdtNumber))
        FailMismatch(call, name);
    const long double r = Number(call, op.R);
    if (r == 0)
        call.Fail(QLatin1String(SDivisionByZeroOp) + QLatin1String(name));
    const long double l = Number(call, op.L);
    call.Result.SetAsFloat(remainder ? l - r * std::trunc(l / r) : l / r);
}

bool IsNumberOrDate(TRpDataType t)
{
    return t == rpdtNumber || t == rpdtDateTime;
}

void DoAdd(const TRpFuncCall &call)
{
    const char *name = "\"+\"";
    const TRpOperands op = CheckBinary(call, name, false);
    if (op.Are(rpdtString, rpdtString)) {
        call.Result.SetAsString(call.TypedTemp(op.L, rpdtString).AsString() +
                                call.TypedTemp(op.R, rpdtString).AsString());
        return;
    }
    if (!IsNumberOrDate(op.TL) || !IsNumberOrDate(op.TR))
        FailMismatch(call, name);
    const long double sum = NumberOrDate(call, op.L, op.TL) + NumberOrDate(call, op.R, op.TR);
    if (op.Are(rpdtNumber, rpdtNumber))
        call.Result.SetAsFloat(sum);
    else
        call.Result.SetAsDateTime(static_cast<TDateTime>(sum));
}

void DoSubtract(const TRpFuncCall &call)
{
    const char *name = "\"-\"";
    const TRpOperands op = CheckBinary(call, name, false);
    if (!IsNumberOrDate(op.TL) || !IsNumberOrDate(op.TR))
        FailMismatch(call, name);
    const long double diff = NumberOrDate(call, op.L, op.TL) - NumberOrDate(call, op.R, op.TR);
    if (op.Are(rpdtNumber, rpdtNumber))
        call.Result.SetAsFloat(diff);
    else
        call.Result.SetAsDateTime(static_cast<TDateTime>(diff));
}

// -1, 0 or 1 for L against R of the same known type; strings by code unit.
int Compare(const TRpFuncCall &call, const TRpOperands &op)
{
    switch (op.TL) {
    case rpdtString: {
        const int c =
            QString::compare(call.TypedTemp(op.L, rpdtString).AsString(),
                             call.TypedTemp(op.R, rpdtString).AsString(), Qt::CaseSensitive);
        return (c > 0) - (c < 0);
    }
    case rpdtBoolean: {
        const int l = call.TypedTemp(op.L, rpdtBoolean).AsBoolean() ? 1 : 0;
        const int r = call.TypedTemp(op.R, rpdtBoolean).AsBoolean() ? 1 : 0;
        return l - r;
    }
    default: {
        const long double l = NumberOrDate(call, op.L, op.TL);
        const long double r = NumberOrDate(call, op.R, op.TR);
        return (l > r) - (l < r);
    }
    }
}

void DoCompare(const TRpFuncCall &call, const char *name)
{
    const TRpOperands op = CheckBinary(call, name, true);
    const int c = Compare(call, op);
    bool result = false;
    switch (call.Fn()) {
    case BuiltIn::SysEq:
        result = c == 0;
        break;
    case BuiltIn::SysNotEq:
        result = c != 0;
        break;
    case BuiltIn::SysLt:
        result = c < 0;
        break;
    case BuiltIn::SysGt:
        result = c > 0;
        break;
    case BuiltIn::SysLtEq:
        result = c <= 0;
        break;
    default:
        result = c >= 0;
        break;
    }
    call.Result.SetAsBoolean(result);
}

} // namespace

bool DoOperatorFunction(const TRpFuncCall &call)
{
    switch (call.Fn()) {
    case BuiltIn::SysAnd:
        DoLogic(call, "\"&&\"", true);
        return true;
    case BuiltIn::SysOr:
        DoLogic(call, "\"||\"", false);
        return true;
    case BuiltIn::SysNot:
        call.Result.SetAsBoolean(!CheckUnary(call, "not \"!\"", rpdtBoolean).AsBoolean());
        return true;
    case BuiltIn::SysUMinus:
        call.Result.SetAsFloat(-CheckUnary(call, "unary \"-\"", rpdtNumber).AsFloat());
        return true;
    case BuiltIn::SysUPlus:
        call.Result.SetAsFloat(CheckUnary(call, "unary \"+\"", rpdtNumber).AsFloat());
        return true;
    case BuiltIn::SysMult:
        DoMultiply(call);
        return true;
    case BuiltIn::SysDiv:
        DoDivide(call, false);
        return true;
    case BuiltIn::SysPercent:
        DoDivide(call, true);
        return true;
    case BuiltIn::SysAdd:
        DoAdd(call);
        return true;
    case BuiltIn::SysSub:
        DoSubtract(call);
        return true;
    case BuiltIn::SysEq:
        DoCompare(call, "\"=\"");
        return true;
    case BuiltIn::SysNotEq:
        DoCompare(call, "\"not equal\"");
        return true;
    case BuiltIn::SysLt:
        DoCompare(call, "\"<\"");
        return true;
    case BuiltIn::SysGt:
        DoCompare(call, "\">\"");
        return true;
    case BuiltIn::SysLtEq:
        DoCompare(call, "\"<=\"");
        return true;
    case BuiltIn::SysGtEq:
        DoCompare(call, "\">=\"");
        return true;
    default:
        return false;
    }
}

} // namespace rp::funclib
