// SPDX-License-Identifier: MIT
// Message texts of the errors the engine raises; the variable parts are appended by the caller.
#pragma once

#include <QString>

#include <cstdint>

namespace rp::msg {

// Function calls and expressions
inline constexpr char FunctionNotFound[] = "Function not found: ";
inline constexpr char IllegalFunctionUse[] = "Illegal function use: ";
inline constexpr char IllegalFunctionUseExpression[] = "Illegal function use: expression ";
inline constexpr char HasFormatFunction[] = " has format function ";
inline constexpr char NotAllowedWithinExpression[] =
    ", which is not allowed within another expression";
inline constexpr char FormatFunction[] = "Format function ";
inline constexpr char DoesNotConformToExpression[] = " doesn't conform to it's expression: ";
inline constexpr char CannotUse[] = "Cannot use ";
inline constexpr char EmptyString[] = "empty string";
inline constexpr char AsArgumentForExpression[] = " as argument for another expression";
inline constexpr char DataSetFieldInExpression[] = " - dataset field ";
inline constexpr char NotFoundSuffix[] = " not found";
inline constexpr char ResultTypeInFunction[] = "Result type defined in function";
inline constexpr char IsNotSupported[] = " is not supported";
inline constexpr char UndefinedUdfArgument[] = "Undefined argument in UDF";
inline constexpr char BracketsInFunction[] = "Brackets balance violation in function ";
inline constexpr char FewerArgumentsThanRequired[] =
    " - number of arguments is less than minimum required";
inline constexpr char MoreArgumentsThanAllowed[] =
    " - number of arguments is more than maximum allowed";
inline constexpr char UnknownFormatFunction[] = "Unknown format function ";

// Infix expressions and format functions
inline constexpr char OperandAddFlags[] =
    "TRpExpression Add  - cannot set AllowBoolArg to false when ReqBoolArg is true";
inline constexpr char OperandIndex1[] = "TRpExpression GetOperand ";
inline constexpr char OperandIndex2[] = " - invalid index of operand";
inline constexpr char OperationIndexEmpty[] =
    "TRpOperationStack GetOperation -1 - invalid index of operation";
inline constexpr char OperationIndex1[] = "TRpOperationStack GetOperation ";
inline constexpr char OperationIndex2[] = " - invalid index of operation";
inline constexpr char CannotProcessExpression[] = "Cannot process an expression: ";
inline constexpr char ErrorAfter[] = " error after ";
inline constexpr char OperationExpected[] = " operation expected";
inline constexpr char QuoteBefore[] = " \"";
inline constexpr char NotExpectedQuoted[] = "\" not expected";
inline constexpr char MoreClosingBrackets[] =
    " - number of \")\" is more than number of \"(\" brackets";
inline constexpr char ClosingBracketExpected[] = " \")\" expected";
inline constexpr char UnexpectedEndOfExpression[] = "Unexpected end of expression: ";
inline constexpr char OperatorMissed[] = "Operation or function name missed in expression: ";
inline constexpr char OperatorMissedOperand[] = ", operand: ";
inline constexpr char BracketsInFormatFunction[] = "Brackets balance violation in format function ";
inline constexpr char IllegalFormatFunctionUse[] = "Illegal format function use: ";
inline constexpr char IllegalUseOfFormatFunction[] = "Illegal use of format function ";
inline constexpr char CannotUnderstandArgument[] = " - cannot understand argument ";

// Control blocks
inline constexpr char IfCommand[] = "Illegal using of \"if\" command: ";
inline constexpr char IfKeyword[] = "Illegal using of \"if\" keyword: ";
inline constexpr char ElseCommand[] = "Illegal using of \"Else\" command: ";
inline constexpr char ElseWithoutIf[] = "Error: \"else\" must be after \"if\": ";
inline constexpr char ElseNotExpected[] = "Error: \"else\" is not expected: ";
inline constexpr char ElsIfCommand[] = "Illegal using of \"elsif\" command: ";
inline constexpr char ElsIfKeyword[] = "Illegal using of \"elsif\" keyword: ";
inline constexpr char ElsIfWithoutIf[] = "Error: \"elseif\" must be after \"if\": ";
inline constexpr char ElsIfNotExpected[] = "Error: \"elseif\" is not expected: ";
inline constexpr char EndIfCommand[] = "Illegal using of \"endif\" command: ";
inline constexpr char EndIfWithoutIf[] = "Error: \"endif\" must be after \"if\": ";
inline constexpr char EndIfNotExpected[] = "Error: \"endif\" is not expected: ";
inline constexpr char ScanKeyword[] = "Illegal using of \"scan\" keyword: ";
inline constexpr char ScanAliasNotFound[] = "Scan Alias not found: ";
inline constexpr char MoreThanOneWhile[] =
    "More than one \"while\" function is not allowed in command ";
inline constexpr char ScanWithoutSource[] =
    "Either \"scan\" with DataSet or \"while\" function must be present in command ";
inline constexpr char TooManyBlocks[] =
    "Too many blocks in template (at most 65535 IF, ELSE, ELSIF and SCAN blocks): ";
inline constexpr char ScanEntryWithoutScan[] = "Error: Scanentry must be after scan: ";
inline constexpr char ScanEntryTwice[] = "Error: Scanentry already exists for scan block: ";
inline constexpr char ScanEntryAfterFooter[] = "Error: Scanentry not allowed after scanfooter: ";
inline constexpr char ScanEntryNotExpected[] = "Error: Scanentry is not expected: ";
inline constexpr char ScanFooterWithoutScan[] = "Error: Scanfooter must be after Scan: ";
inline constexpr char ScanFooterTwice[] = "Error: Scanfooter already exists for scan block: ";
inline constexpr char ScanFooterNotExpected[] = "Error: Scanfooter is not expected: ";
inline constexpr char EndScanWithoutScan[] = "Error: Endscan must be after scan: ";
inline constexpr char EndScanNotExpected[] = "Error: Endscan is not expected: ";
inline constexpr char CannotProcessScanExpression[] = "Cannot process expression ";
inline constexpr char InScanCommand[] = " in scan command ";
inline constexpr char NotAllowedInScanCommand[] = " not allowed in scan command ";
inline constexpr char FormatInScanExpression[] =
    " - format function not allowed in scan command in expression ";
inline constexpr char VariableExpectedInExpression[] =
    " - report variable expected as argument in expression ";
inline constexpr char FirstArgumentExpected[] =
    " - datafield, variable or UDF expected as first argument in expression ";
inline constexpr char SecondArgumentExpected[] =
    " - report variable expected as second argument in expression ";
inline constexpr char ThirdArgumentExpected[] =
    " - symbol \")\" or keyword \"NORESET\" expected as third argument in expression ";
inline constexpr char EndScanExpectedAtEnd[] =
    "Nesting error - endscan expected, but end of document found";
inline constexpr char EndIfExpectedAtEnd[] = "Endif expected, but end of document found";
inline constexpr char FieldTooLong[] = "Field longer than 10000 bytes: ";
inline constexpr char FieldTooLongCopied[] = "field longer than 10000 bytes copied as text: ";
inline constexpr char UndefinedBlock[] = "Undefined block in command stream";
inline constexpr char UndefinedBlockEnd[] = "Undefined block end in command stream";

// Template, values and the run
inline constexpr char TemplateNotRtf[] = "Template is not RTF file.";
inline constexpr char NoFontCharset[] = "Can't define font charset in input file";
inline constexpr char NoColorTable[] = "Can't read color table from input file";
inline constexpr char CannotReadFile[] = "Can't read file ";
inline constexpr char CannotReadTemplate[] = "Can't read report template from file: ";
inline constexpr char TemplateWhileExecuting[] = "Can't set template while executing report";
inline constexpr char MissingReportVariable[] = "Report variable";
inline constexpr char MissingDataSetField[] = "Data-set field";
inline constexpr char NotFoundColon[] = " not found: ";
inline constexpr char NotAValidInteger[] = " is not a valid integer value";
inline constexpr char CannotOpenResults[] = "Failed to open report results. Error message: ";
inline constexpr char CreateFileNameDirectory[] = "CreateFileName: directory ";
inline constexpr char DoesNotExist[] = " does not exist";
inline constexpr char NoErrors[] = "No errors.";
inline constexpr char ReasonUnknown[] = "Reason unknown.";
inline constexpr char DetailSeparator[] = ": ";
inline constexpr char TemplateTooLarge[] = "file too large";

// Work streams and the output
inline constexpr char CannotWrite[] = "Cannot write ";
inline constexpr char CannotReadBack[] = "Cannot read back ";
inline constexpr char OutputStream[] = "the output stream";
inline constexpr char OutputIsTemplate[] = "The output file is the report template itself: ";

/// A template file that ended before the size the system lists for it.
inline QString ShortTemplateRead(qint64 got, qint64 listed)
{
    return QStringLiteral("read %1 of %2 bytes").arg(got).arg(listed);
}

/// A condition-driven scan without a data set that ran out of passes.
inline QString WhileStillRepeating(std::int64_t passes, const QString &condition)
{
    return QStringLiteral("Scan without data set still repeating after %1 passes: %2")
        .arg(passes)
        .arg(condition);
}

/// RpScanSelectedRecords given a record the data set does not have.
inline QString NoSuchRecord(int record, const QString &dataSet)
{
    return QStringLiteral("no record %1 in data set %2").arg(record).arg(dataSet);
}

} // namespace rp::msg
