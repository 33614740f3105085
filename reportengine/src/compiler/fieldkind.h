// SPDX-License-Identifier: MIT
// Field kinds: what a field's text turns out to be, and the command-stream ids they share.
#pragma once

#include <reportengine/rpbasereport.h>

#include <cstdint>

namespace rp {

/// Kind of a field as the compiler classifies it. Operand kinds are also the ids of the
/// field items they compile to; the control keywords share the ids of their control items.
enum FieldKind : std::int32_t
{
    // Operands
    fkVariable = 0,
    fkFunction = 1, ///< a call NAME(args)
    fkNumber = 2,
    fkString = 3,
    fkBoolean = 4,
    fkDate = 5,        ///< {yyyy-mm-dd}
    fkDotField = -1,   ///< ALIAS.FIELD
    fkColonField = -2, ///< ALIAS:FIELD
    fkExpression = -13,
    fkNotRecognised = -5,
    // Control keywords
    fkScan = -3,
    fkEndScan = -4,
    fkScanEntry = -11,
    fkScanFooter = -12,
    fkIf = -23,
    fkEndIf = -24,
    fkElse = -25,
    fkElsIf = -27,
};

// A keyword's kind is the id of the item it opens with; ELSE and ELSIF write End If and If
// items instead, and an expression field opens with an ExprBegin item.
static_assert(fkScan == cmScan && fkEndScan == cmEndScan && fkScanEntry == cmScanEntry &&
              fkScanFooter == cmScanFooter && fkIf == cmIf && fkEndIf == cmEndIf);
static_assert(fkExpression == cmExprBegin);

} // namespace rp
