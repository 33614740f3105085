// SPDX-License-Identifier: MIT
// Built-in function library internals: the call record, operand helpers, function groups.
#pragma once

#include "compiler/rpfunctable.h"
#include "runtime/rpfunclib.h"
#include <reportengine/rpbasereport.h>
#include <reportengine/rpdataset.h>
#include <reportengine/rpfunc.h>

#include <QString>

namespace rp {

class TRpRTF;

namespace funclib {

/// The checks of one argument of a function with several arguments: the message for an
/// argument that is no value, and the one for a value of the wrong type.
struct TRpArgMessages
{
    const char *Unknown;
    const char *WrongType;
};

// ---- One call -------------------------------------------------------------------------------

/// Everything a built-in needs: the report, the number, the arguments, the result holder
/// (a scratch variable when the caller passed none) and the expression text for messages.
struct TRpFuncCall
{
    TRpRTF &Report;
    int Index;
    TRpUDFArgs &Args;
    TRpReportVariable &Result;
    const QString &Expr;

    /// The built-in being called.
    BuiltIn Fn() const { return static_cast<BuiltIn>(Index); }
    /// Argument `i`, or nullptr when the call has fewer (an empty entry reads the same).
    TRpObject *Arg(int i) const;
    /// A local variable with the report's locale record, for temporaries.
    TRpReportVariable Temp() const;
    /// `arg` copied into a temporary of type `type`.
    TRpReportVariable TypedTemp(TRpObject *arg, TRpDataType type) const;

    /// Raises a plain error: `text` + ", expression " + the expression.
    [[noreturn]] void Fail(const QString &text) const;
    /// Raises EIllegalFunctionUse: `prefix` + the expression + `suffix`.
    [[noreturn]] void FailIllegal(const char *prefix, const QString &suffix) const;

    /// Checks a one-argument typed function's operand and copies it into a temporary.
    TRpReportVariable OneTyped(const char *name, TRpDataType type, const char *kind) const;
    /// Checks argument `i` of a function with several arguments and copies it.
    TRpReportVariable NthTyped(int i, TRpDataType type, const TRpArgMessages &messages) const;
};

// ---- Operands -------------------------------------------------------------------------------

/// True for the arguments that carry a value: report variables and data-set fields.
bool IsValueArg(const TRpObject *arg);
/// Operand type: a field's mapped type, a variable's data type, rpdtUnknown otherwise.
TRpDataType OperandType(const TRpObject *arg);
/// A field whose data set has run past its last record.
bool IsFieldAtEof(const TRpObject *arg);
/// The argument as a boolean: a field at its end is false.
bool ArgAsBoolean(const TRpObject *arg);
/// The data set of the run that `alias` names, or nullptr.
TRpDataSet *FindRunDataSet(TRpRTF &report, const QString &alias);
/// A number read as an integer: truncated towards zero, clamped to 32 bits, NaN as 0.
int ToInt(long double value);
/// The text in double quotes.
QString Quoted(const char *name);

// ---- Function groups: each returns false for a number it does not handle --------------------

bool DoOperatorFunction(const TRpFuncCall &call);
bool DoStringFunction(const TRpFuncCall &call);
bool DoNumberFunction(const TRpFuncCall &call);
bool DoDateFunction(const TRpFuncCall &call);
bool DoDataSetFunction(const TRpFuncCall &call);

// ---- Pure helpers, shared with the tests ----------------------------------------------------

/// MID/SUBSTR/COPY on 1-based `start`; `count` < 0 with `hasCount` false means "to the end".
QString MidText(const QString &s, int start, int count, bool hasCount);
/// STR with one, two or three arguments (`width`/`decimals` < 0 when absent).
QString StrText(long double x, int argCount, int width, int decimals);
/// VAL: the locale separator turned into "." and the text read; 0 when it is no number.
long double ValText(const QString &s, QChar decimalSeparator);
/// STOD: the date of an eight-character YYYYMMDD text; false for another length, EConvertError
/// for non-digits and impossible dates.
bool StodDate(const QString &s, TDateTime &result);

} // namespace funclib
} // namespace rp
