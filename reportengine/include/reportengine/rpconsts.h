// SPDX-License-Identifier: MIT
// Report engine: error classes and constants shared by every unit.
#pragma once

#include <stdexcept>

namespace rp {

/// Version of the engine; user-function lists must carry the same number.
inline constexpr int RpVersion = 310;

/// The template or an RTF value is not well-formed RTF.
class EBadRtfFormat : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Variables, files and streams: lookups that fail, files that cannot be used.
class EIOError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// SCAN blocks nested, closed or used wrongly.
class EIllegalScanUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Functions called with the wrong name, arguments or in the wrong place.
class EIllegalFunctionUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// IF blocks nested, closed or used wrongly.
class EIllegalIFUse : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Message texts. Every error the engine raises is built from these.

// Variables: message = first part + name (+ second part).
inline constexpr char SRpVarExists1[] = "Can't add report variable ";
inline constexpr char SRpVarExists2[] = " - variable already exists";
inline constexpr char SRpGetVariable[] = "Get variable";
inline constexpr char SRpSetVariable[] = "Set variable";
inline constexpr char SRpVarNotFoundAfterOp[] = ": report variable not found: ";
inline constexpr char SRpVarNotFound[] = "Report variable not found: ";
inline constexpr char SRpVarRename1[] = "Can't set variable name to ";
inline constexpr char SRpVarRename2[] = ", because variable with the same name already exists";
inline constexpr char SRpInvalidDate[] = " is not a valid date value";
inline constexpr char SRpInvalidDateTime[] = " is not a valid datetime value";
inline constexpr char SRpListIndex1[] = "List index out of bounds (";
inline constexpr char SRpListIndex2[] = ")";
inline constexpr char SRpStreamRead[] = "Stream read error";

// User functions
inline constexpr char SRpUDFListWhileExecuting[] = "Can't set UDFList while executing report";
inline constexpr char SRpUDFVersion1[] = "TRpRTF version ";
inline constexpr char SRpUDFVersion2[] = " doesn't equal TRpUDFList version ";
inline constexpr char SRpUDFExists1[] = "User defined function with name ";
inline constexpr char SRpUDFExists2[] = " already exists";
inline constexpr char SRpUDFIllegalName[] = "Illegal function name ";
inline constexpr char SRpIllegalFunctionUse[] = "Illegal function use: ";
inline constexpr char SRpArgVarNotFound1[] = " - report variable ";
inline constexpr char SRpArgVarNotFound2[] = " not found";
inline constexpr char SRpIllegalBrackets1[] = "Illegal brackets use in expression: ";
inline constexpr char SRpIllegalBrackets2[] =
    " - result type udfrTRpReportVariable expected inside the brackets";
inline constexpr char SRpIllegalExpression[] = "Illegal expression: ";

// Files and streams
inline constexpr char SRpCannotCreateFile1[] = "Cannot create file \"";
inline constexpr char SRpCannotCreateFile2[] = "\". ";

// Data sets
inline constexpr char SRpFieldIndexOutOfRange[] = "Field index out of range: ";
inline constexpr char SRpRecordIndexOutOfRange[] = "Record index out of range: ";
inline constexpr char SRpFieldNotFound[] = "Field not found: ";
inline constexpr char SRpBookmarkInvalid[] = "Invalid bookmark";
inline constexpr char SRpInvalidBoolean[] = " is not a valid boolean value";

// CSV data sets: message = file name + ", row " + row + ", column " + column + ": " + reason.
inline constexpr char SRpCsvRow[] = ", row ";
inline constexpr char SRpCsvColumn[] = ", column ";
inline constexpr char SRpCsvCannotOpen[] = ": cannot open file";
inline constexpr char SRpCsvUnbalancedQuote[] = "unbalanced quote";
inline constexpr char SRpCsvQuoteInside[] = "quote inside an unquoted value";
inline constexpr char SRpCsvTextAfterQuote[] = "text after a closing quote";
inline constexpr char SRpCsvTooManyCells[] = "more cells than the header";
inline constexpr char SRpCsvEmptyHeader[] = "missing header row";
inline constexpr char SRpCsvEmptyName[] = "empty field name";
inline constexpr char SRpCsvDuplicateName[] = "duplicate field name ";
inline constexpr char SRpCsvUnknownType[] = "unknown field type ";
inline constexpr char SRpCsvBadValue1[] = "value \"";
inline constexpr char SRpCsvBadValue2[] = "\" is not a valid ";
inline constexpr char SRpCsvMissingBlob[] = "blob file not found: ";
inline constexpr char SRpCsvBlobNotFile[] = "blob is not a regular file: ";
inline constexpr char SRpCsvBlobAbsolute[] =
    "blob file given by an absolute path (allowed only with a blob folder): ";
inline constexpr char SRpCsvBlobOutside[] = "blob file outside the blob folder ";
inline constexpr char SRpCsvBlobUnreadable[] = "cannot read blob file ";
inline constexpr char SRpCsvBadUtf8[] = "text is not valid UTF-8";

// Built-in functions
inline constexpr char SOperandUnknownOp[] = "Operand type unknown. Operation ";
inline constexpr char SOperandMismatchOp[] = "Operator/operand type mismatch. Operation ";
inline constexpr char SDivisionByZeroOp[] = "Division by zero. Operation ";
inline constexpr char SExpressionPart[] = ", expression ";
inline constexpr char SOperandUnknownFn[] = "Operand type unknown. Function ";
inline constexpr char SOperandOf[] = "Operand of ";
inline constexpr char STypeExpectedFn[] = " type expected. Function ";
inline constexpr char SKindString[] = "string";
inline constexpr char SKindNumeric[] = "numeric";
inline constexpr char SKindDateTime[] = "date/time";

inline constexpr char SSetVarExpected[] =
    " - variable expected as a first argument of function \"SET\"";
inline constexpr char SSetIdentExpected[] =
    " - variable identifier expected as a first argument of function \"SET\"";
inline constexpr char SSetSecondUnknown[] = "Second operand type unknown. Function \"SET\"";
inline constexpr char SSetOperandUnknown[] = "Operand type unknown. Function \"SET\"";
inline constexpr char SLetVarExpected[] =
    " - variable expected as a left argument of operation \":=\"";
inline constexpr char SLetIdentExpected[] =
    " - variable identifier expected as a left argument of operation \":=\"";
inline constexpr char SLetRightUnknown[] = "Right argument type unknown. Operation \":=\"";

inline constexpr char SVarOnlyIdentifiers[] =
    " - VAR function may be used only with variable identifiers";
// Accumulators: first part + function name in quotes.
inline constexpr char SAccuVarExpected[] = " - variable expected as a second argument of function ";
inline constexpr char SAccuIdentExpected[] =
    " - variable identifier expected as a second argument of function ";
inline constexpr char SNoReset[] = "NORESET";

inline constexpr char SDataSetIdentExpected[] =
    " - dataset identifier expected as argument of function ";
inline constexpr char SDataSetFirstExpected[] =
    " - dataset identifier expected as a first argument of function ";
inline constexpr char SDataSetAliasNotFound[] = " - dataset alias not found: ";

inline constexpr char SStodLength[] = "Operand of string type YYYYMMDD expected. Function \"STOD\"";
inline constexpr char SNotInteger1[] = "'";
inline constexpr char SNotInteger2[] = "' is not a valid integer value";

inline constexpr char SIifFirstUnknown[] = "First operand type unknown. Function \"IIF\"";
inline constexpr char SIifFirstBoolean[] =
    "First operand of boolean type expected in function \"IIF\"";
inline constexpr char SIifSecondUnknown[] = "Second operand type unknown. Function \"IIF\"";
inline constexpr char SIifThirdUnknown[] = "Third operand type unknown. Function \"IIF\"";

inline constexpr char SFloatInvalidOp[] = "Invalid floating point operation";
inline constexpr char SFloatZeroDivide[] = "Floating point division by zero";

} // namespace rp
