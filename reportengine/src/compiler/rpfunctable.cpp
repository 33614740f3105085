// SPDX-License-Identifier: MIT
// Built-in function table and its lookups by number and by name.
#include "compiler/rpfunctable.h"

#include "compiler/rpcompiler.h"

#include <string_view>

namespace rp {

namespace {

// A row as written: the enumerator's spelling kept beside the row, for the name check.
struct SpelledRow
{
    const char *enumerator;
    TRpBaseFunctionIDs ids;
};

// clang-format off
#define RP_BUILTIN(enumerator, name, argmin, argmax, type) \
    SpelledRow{#enumerator, {BuiltInNumber(BuiltIn::enumerator), name, argmin, argmax, type}}

constexpr std::array<SpelledRow, RpBaseFunctionsCount> Spelled = {{
    RP_BUILTIN(Sum, "SUM", 2, 3, udfrNil),
    RP_BUILTIN(Ctn, "CTN", 2, 3, udfrNil),
    RP_BUILTIN(Cts, "CTS", 2, 3, udfrNil),
    RP_BUILTIN(Var, "VAR", 1, 10000, udfrNil),
    RP_BUILTIN(SysAnd, "SYS_AND", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysOr, "SYS_OR", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysLtEq, "SYS_LTEQ", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysGtEq, "SYS_GTEQ", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysNotEq, "SYS_NOTEQ", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysUMinus, "SYS_UMINUS", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysUPlus, "SYS_UPLUS", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysNot, "SYS_NOT", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysMult, "SYS_MULT", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysDiv, "SYS_DIV", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysPercent, "SYS_PERCENT", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysAdd, "SYS_ADD", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysSub, "SYS_SUB", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysGt, "SYS_GT", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysLt, "SYS_LT", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(If, "IF", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(While, "WHILE", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Bracket, "", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysEq, "SYS_EQ", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(Set, "SET", 2, 2, udfrNil),
    RP_BUILTIN(Trim, "TRIM", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Mid, "MID", 2, 3, udfrTRpReportVariable),
    RP_BUILTIN(Substr, "SUBSTR", 2, 3, udfrTRpReportVariable),
    RP_BUILTIN(Copy, "COPY", 2, 3, udfrTRpReportVariable),
    RP_BUILTIN(Upper, "UPPER", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Lower, "LOWER", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Str, "STR", 1, 3, udfrTRpReportVariable),
    RP_BUILTIN(Val, "VAL", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Eof, "EOF", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Bof, "BOF", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Next, "NEXT", 1, 1, udfrNil),
    RP_BUILTIN(Prior, "PRIOR", 1, 1, udfrNil),
    RP_BUILTIN(First, "FIRST", 1, 1, udfrNil),
    RP_BUILTIN(Last, "LAST", 1, 1, udfrNil),
    RP_BUILTIN(Int, "INT", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Frac, "FRAC", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Round, "ROUND", 1, 2, udfrTRpReportVariable),
    RP_BUILTIN(Now, "NOW", 0, 0, udfrTRpReportVariable),
    RP_BUILTIN(Date, "DATE", 0, 0, udfrTRpReportVariable),
    RP_BUILTIN(Time, "TIME", 0, 0, udfrTRpReportVariable),
    RP_BUILTIN(DateToStr, "DATETOSTR", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(DateTimeToStr, "DATETIMETOSTR", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(TimeToStr, "TIMETOSTR", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(StrToDate, "STRTODATE", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(StrToDateTime, "STRTODATETIME", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(StrToTime, "STRTOTIME", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Year, "YEAR", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Month, "MONTH", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Day, "DAY", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SYear, "SYEAR", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SMonth, "SMONTH", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SDay, "SDAY", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(DToS, "DTOS", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SToD, "STOD", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(FormatFloat, "FORMATFLOAT", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(Power, "POWER", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(IntPower, "INTPOWER", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(Iif, "IIF", 3, 3, udfrTRpReportVariable),
    RP_BUILTIN(ElsIf, "ELSIF", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(Pos, "POS", 2, 2, udfrTRpReportVariable),
    RP_BUILTIN(SysLet, "SYS_LET", 2, 2, udfrNil),
    RP_BUILTIN(SysIifTest, "SYS_IIF_TEST", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysIifTrue, "SYS_IIF_TRUE", 1, 1, udfrTRpReportVariable),
    RP_BUILTIN(SysIifFalse, "SYS_IIF_FALSE", 1, 1, udfrTRpReportVariable),
}};
// clang-format on
#undef RP_BUILTIN

// Row i holds number -(i+1): the lookup by number relies on it.
constexpr bool RowsNumberedInOrder()
{
    for (size_t i = 0; i < Spelled.size(); ++i)
        if (Spelled[i].ids.id != -static_cast<std::int32_t>(i + 1))
            return false;
    return true;
}
static_assert(RowsNumberedInOrder());
static_assert(BuiltInNumber(BuiltIn::SysIifFalse) == -RpBaseFunctionsCount);

constexpr char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The enumerator is the function's name without its underscores, in mixed case: SysEq for
// SYS_EQ. Only the bracket row has no name.
constexpr bool NameMatchesEnumerator(const SpelledRow &row)
{
    const char *e = row.enumerator;
    const char *n = row.ids.name;
    if (*n == '\0')
        return std::string_view(e) == "Bracket";
    for (;; ++n) {
        if (*n == '_')
            continue;
        if (upperAscii(*e) != *n)
            return false;
        if (*n == '\0')
            return true;
        ++e;
    }
}

constexpr bool NamesMatchEnumerators()
{
    for (const SpelledRow &row : Spelled)
        if (!NameMatchesEnumerator(row))
            return false;
    return true;
}
static_assert(NamesMatchEnumerators());

constexpr std::array<TRpBaseFunctionIDs, RpBaseFunctionsCount> Rows = [] {
    std::array<TRpBaseFunctionIDs, RpBaseFunctionsCount> rows{};
    for (size_t i = 0; i < Spelled.size(); ++i)
        rows[i] = Spelled[i].ids;
    return rows;
}();

} // namespace

const std::array<TRpBaseFunctionIDs, RpBaseFunctionsCount> RpBaseFunctionsArr = Rows;

const TRpBaseFunctionIDs *BaseFunctionById(std::int32_t id)
{
    if (id > -1 || id < -RpBaseFunctionsCount)
        return nullptr;
    return &RpBaseFunctionsArr[static_cast<size_t>(-id - 1)];
}

std::int32_t BaseFunctionNumber(const QString &name)
{
    const QString key = RpTrim(name).toUpper();
    for (const TRpBaseFunctionIDs &row : RpBaseFunctionsArr)
        if (key == QLatin1String(row.name))
            return row.id;
    return 0;
}

TRpUDFResultType BaseFunctionResultType(std::int32_t id)
{
    for (const TRpBaseFunctionIDs &row : RpBaseFunctionsArr)
        if (row.id == id)
            return row.ResultType;
    return udfrNil;
}

} // namespace rp
