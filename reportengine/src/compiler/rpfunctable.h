// SPDX-License-Identifier: MIT
// Built-in function table: names, numbers, argument counts and result types.
#pragma once

#include <reportengine/rptypes.h>

#include <QString>

#include <array>
#include <cstdint>

namespace rp {

/// Numbers of the built-in functions, as the command stream stores them: -1 .. -68, each
/// named after its function (SysEq is SYS_EQ). User functions are numbered from 0 up.
enum class BuiltIn : std::int32_t
{
    Sum = -1,
    Ctn = -2,
    Cts = -3,
    Var = -4,
    SysAnd = -5,
    SysOr = -6,
    SysLtEq = -7,
    SysGtEq = -8,
    SysNotEq = -9,
    SysUMinus = -10,
    SysUPlus = -11,
    SysNot = -12,
    SysMult = -13,
    SysDiv = -14,
    SysPercent = -15,
    SysAdd = -16,
    SysSub = -17,
    SysGt = -18,
    SysLt = -19,
    If = -20,
    While = -21,
    Bracket = -22, ///< a bracketed expression: ( x )
    SysEq = -23,
    Set = -24,
    Trim = -25,
    Mid = -26,
    Substr = -27,
    Copy = -28,
    Upper = -29,
    Lower = -30,
    Str = -31,
    Val = -32,
    Eof = -33,
    Bof = -34,
    Next = -35,
    Prior = -36,
    First = -37,
    Last = -38,
    Int = -39,
    Frac = -40,
    Round = -41,
    Now = -42,
    Date = -43,
    Time = -44,
    DateToStr = -45,
    DateTimeToStr = -46,
    TimeToStr = -47,
    StrToDate = -48,
    StrToDateTime = -49,
    StrToTime = -50,
    Year = -51,
    Month = -52,
    Day = -53,
    SYear = -54,
    SMonth = -55,
    SDay = -56,
    DToS = -57,
    SToD = -58,
    FormatFloat = -59,
    Power = -60,
    IntPower = -61,
    Iif = -62,
    ElsIf = -63,
    Pos = -64,
    SysLet = -65,
    SysIifTest = -66,
    SysIifTrue = -67,
    SysIifFalse = -68,
};

/// The number a built-in has in the command stream and in the table's rows.
constexpr std::int32_t BuiltInNumber(BuiltIn f)
{
    return static_cast<std::int32_t>(f);
}

/// One built-in function.
struct TRpBaseFunctionIDs
{
    std::int32_t id;  ///< -1 .. -68, minus the 1-based row
    const char *name; ///< upper case; "" for the bracket row -22
    std::int32_t argmin;
    std::int32_t argmax;
    TRpUDFResultType ResultType;
};

/// Number of built-in functions.
inline constexpr int RpBaseFunctionsCount = 68;

/// The table, row i holding id -(i+1).
extern const std::array<TRpBaseFunctionIDs, RpBaseFunctionsCount> RpBaseFunctionsArr;

/// Row of function number `id` (-1 .. -68), or nullptr for any other number.
const TRpBaseFunctionIDs *BaseFunctionById(std::int32_t id);
/// Number of the built-in named `name` (trimmed, upper-cased; "" gives -22), 0 if none.
std::int32_t BaseFunctionNumber(const QString &name);
/// Result type of built-in `id`; udfrNil when no row has it.
TRpUDFResultType BaseFunctionResultType(std::int32_t id);

} // namespace rp
