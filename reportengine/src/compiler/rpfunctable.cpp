// SPDX-License-Identifier: MIT
// Built-in function table and its lookups by number and by name.
#include "compiler/rpfunctable.h"

#include <reportengine/rpcompiler.h>

namespace rp {

namespace {

// clang-format off
constexpr std::array<TRpBaseFunctionIDs, RpBaseFunctionsCount> Rows = {{
    {-1, "SUM", 2, 3, udfrNil},
    {-2, "CTN", 2, 3, udfrNil},
    {-3, "CTS", 2, 3, udfrNil},
    {-4, "VAR", 1, 10000, udfrNil},
    {-5, "SYS_AND", 2, 2, udfrTRpReportVariable},
    {-6, "SYS_OR", 2, 2, udfrTRpReportVariable},
    {-7, "SYS_LTEQ", 2, 2, udfrTRpReportVariable},
    {-8, "SYS_GTEQ", 2, 2, udfrTRpReportVariable},
    {-9, "SYS_NOTEQ", 2, 2, udfrTRpReportVariable},
    {-10, "SYS_UMINUS", 1, 1, udfrTRpReportVariable},
    {-11, "SYS_UPLUS", 1, 1, udfrTRpReportVariable},
    {-12, "SYS_NOT", 1, 1, udfrTRpReportVariable},
    {-13, "SYS_MULT", 2, 2, udfrTRpReportVariable},
    {-14, "SYS_DIV", 2, 2, udfrTRpReportVariable},
    {-15, "SYS_PERCENT", 2, 2, udfrTRpReportVariable},
    {-16, "SYS_ADD", 2, 2, udfrTRpReportVariable},
    {-17, "SYS_SUB", 2, 2, udfrTRpReportVariable},
    {-18, "SYS_GT", 2, 2, udfrTRpReportVariable},
    {-19, "SYS_LT", 2, 2, udfrTRpReportVariable},
    {-20, "IF", 1, 1, udfrTRpReportVariable},
    {-21, "WHILE", 1, 1, udfrTRpReportVariable},
    {-22, "", 1, 1, udfrTRpReportVariable},
    {-23, "SYS_EQ", 2, 2, udfrTRpReportVariable},
    {-24, "SET", 2, 2, udfrNil},
    {-25, "TRIM", 1, 1, udfrTRpReportVariable},
    {-26, "MID", 2, 3, udfrTRpReportVariable},
    {-27, "SUBSTR", 2, 3, udfrTRpReportVariable},
    {-28, "COPY", 2, 3, udfrTRpReportVariable},
    {-29, "UPPER", 1, 1, udfrTRpReportVariable},
    {-30, "LOWER", 1, 1, udfrTRpReportVariable},
    {-31, "STR", 1, 3, udfrTRpReportVariable},
    {-32, "VAL", 1, 1, udfrTRpReportVariable},
    {-33, "EOF", 1, 1, udfrTRpReportVariable},
    {-34, "BOF", 1, 1, udfrTRpReportVariable},
    {-35, "NEXT", 1, 1, udfrNil},
    {-36, "PRIOR", 1, 1, udfrNil},
    {-37, "FIRST", 1, 1, udfrNil},
    {-38, "LAST", 1, 1, udfrNil},
    {-39, "INT", 1, 1, udfrTRpReportVariable},
    {-40, "FRAC", 1, 1, udfrTRpReportVariable},
    {-41, "ROUND", 1, 2, udfrTRpReportVariable},
    {-42, "NOW", 0, 0, udfrTRpReportVariable},
    {-43, "DATE", 0, 0, udfrTRpReportVariable},
    {-44, "TIME", 0, 0, udfrTRpReportVariable},
    {-45, "DATETOSTR", 1, 1, udfrTRpReportVariable},
    {-46, "DATETIMETOSTR", 1, 1, udfrTRpReportVariable},
    {-47, "TIMETOSTR", 1, 1, udfrTRpReportVariable},
    {-48, "STRTODATE", 1, 1, udfrTRpReportVariable},
    {-49, "STRTODATETIME", 1, 1, udfrTRpReportVariable},
    {-50, "STRTOTIME", 1, 1, udfrTRpReportVariable},
    {-51, "YEAR", 1, 1, udfrTRpReportVariable},
    {-52, "MONTH", 1, 1, udfrTRpReportVariable},
    {-53, "DAY", 1, 1, udfrTRpReportVariable},
    {-54, "SYEAR", 1, 1, udfrTRpReportVariable},
    {-55, "SMONTH", 1, 1, udfrTRpReportVariable},
    {-56, "SDAY", 1, 1, udfrTRpReportVariable},
    {-57, "DTOS", 1, 1, udfrTRpReportVariable},
    {-58, "STOD", 1, 1, udfrTRpReportVariable},
    {-59, "FORMATFLOAT", 2, 2, udfrTRpReportVariable},
    {-60, "POWER", 2, 2, udfrTRpReportVariable},
    {-61, "INTPOWER", 2, 2, udfrTRpReportVariable},
    {-62, "IIF", 3, 3, udfrTRpReportVariable},
    {-63, "ELSIF", 1, 1, udfrTRpReportVariable},
    {-64, "POS", 2, 2, udfrTRpReportVariable},
    {-65, "SYS_LET", 2, 2, udfrNil},
    {-66, "SYS_IIF_TEST", 1, 1, udfrTRpReportVariable},
    {-67, "SYS_IIF_TRUE", 1, 1, udfrTRpReportVariable},
    {-68, "SYS_IIF_FALSE", 1, 1, udfrTRpReportVariable},
}};
// clang-format on

// Row i holds number -(i+1): the lookup by number relies on it.
constexpr bool RowsNumberedInOrder()
{
    for (size_t i = 0; i < Rows.size(); ++i)
        if (Rows[i].id != -static_cast<std::int32_t>(i + 1))
            return false;
    return true;
}
static_assert(RowsNumberedInOrder());

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
