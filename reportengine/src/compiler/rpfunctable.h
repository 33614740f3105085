// SPDX-License-Identifier: MIT
// Built-in function table: names, numbers, argument counts and result types.
#pragma once

#include <reportengine/rptypes.h>

#include <QString>

#include <array>
#include <cstdint>

namespace rp {

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
