// SPDX-License-Identifier: MIT
// Field-language compiler: operand and operation tokens, infix to call text, format functions.
#pragma once

#include <reportengine/rptypes.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace rp {

/// Trims characters at or below the blank from both ends (control bytes included).
QString RpTrim(const QString &s);
/// Trims characters at or below the blank from the right end.
QString RpTrimRight(const QString &s);
/// Upper case of the ASCII letters only: keywords compare the same in every locale.
QString RpUpperAscii(const QString &s);
/// True when `text` begins with `upperWord` (upper-case ASCII), ASCII letters of `text` taken in
/// either case; the same test as RpUpperAscii(text).startsWith(upperWord), without the copy.
bool RpStartsWithAscii(QStringView text, QLatin1String upperWord);

/// Characters that open a quoted string in field text.
bool RpLeftQuote(QChar c);
/// Whether `c` closes the quote opened by `open`.
bool RpRightQuote(QChar open, QChar c);
/// Whether the whole of `s` is one quoted literal.
bool RpIsQuoted(const QString &s);

/// One token of an infix expression: an operand or an operation with its attributes.
struct TRpOperand
{
    QString Text;
    bool IsOperand = false;
    int ArgsNeed = 0;
    bool ReqBoolArg = false;
    bool AllowBoolArg = false;
    bool RetBoolRes = false;
    int Priority = 0;
    int Fldnum = 0;
};

/// Growable ordered list of tokens.
class TRpExpression
{
public:
    void Add(const QString &text, bool isOperand, int argsNeed, bool reqBoolArg, bool allowBoolArg,
             bool retBoolRes, int priority, int fldnum);
    void Add(const TRpOperand &operand);
    /// Copy of element i; throws for an index outside 0..Count()-1.
    TRpOperand GetOperand(int i) const;
    int Count() const { return static_cast<int>(FExpression.size()); }

private:
    std::vector<TRpOperand> FExpression;
};

/// The same storage used as a stack of operations.
class TRpOperationStack
{
public:
    void Push(const TRpOperand &op) { FStack.push_back(op); }
    /// Removes and returns the top; throws when empty.
    TRpOperand Pop();
    /// Element i from the bottom; throws for an index outside 0..Count()-1.
    TRpOperand GetOperation(int i) const;
    int Count() const { return static_cast<int>(FStack.size()); }
    bool IsEmpty() const { return FStack.empty(); }

private:
    std::vector<TRpOperand> FStack;
};

/// Stack of integers; popping an empty stack gives 0 (it holds RTF "\uc" values).
class TRpIntStack
{
public:
    void Push(int v) { FArray.push_back(v); }
    int Pop();
    void Clear() { FArray.clear(); }
    int Count() const { return static_cast<int>(FArray.size()); }

private:
    std::vector<int> FArray;
};

/// Standard float text conversions the numeric formats use.
enum class TRpFloatFormat
{
    General,
    Exponent,
    Fixed,
    Number,
    Currency
};

/// One row of the format-function table.
struct TRpBaseFormatIDs
{
    int id;
    const char *name;
    int argmin;
    int argmax;
    bool acceptsVariable; ///< result type 1 allowed
    bool acceptsPicture;  ///< result type 2 allowed
    bool isfloat;
    TRpFloatFormat floatformat;
};

enum TRpFormatId : int
{
    fmtNone = 0,
    fmtFEXP = 1,
    fmtFFIX = 2,
    fmtFNUM = 3,
    fmtFCUR = 4,
    fmtFIMG = 5,
    fmtFLNK = 6,
    fmtFFIXR = 7,
    fmtFNUMR = 8,
    fmtFDTM = 9,
    fmtFBOOL = 10,
    fmtFRTF = 11,
};

inline constexpr int RpBaseFormatsCount = 12;
extern const TRpBaseFormatIDs RpBaseFormatsArr[RpBaseFormatsCount];

/// Name of format row `n` ("" outside the table).
QString RpFormatName(int n);

/// Splits text into its first operand and the rest; returns the operand's FieldKind.
/// `text` is trimmed in place; `rest` is what follows the operand.
int GetNextExprField(QString &text, QString &operand, bool dotAsColon, QString &rest);

/// Reads one operation symbol from the start of `text` (trimmed in place). With `unary`,
/// "+" and "-" come back as "u+" and "u-". Returns false when none starts the text.
bool GetNextExprOperation(QString &text, QString &operation, bool unary, QString &rest);

/// Checks an infix expression and rewrites it as nested operator calls, arguments in
/// reverse order: a-b becomes SYS_SUB(b,a). `expression` is trimmed in place.
/// Throws EIllegalFunctionUse with the exact reason on malformed input.
QString ConvertExpression(QString &expression, bool dotAsColon);

/// Splits a call's argument text at top-level commas. Returns false when the brackets
/// do not balance (the arguments read so far are still added).
bool SplitArgs(const QString &text, QStringList &list);

/// True when the text has no digit other than "0".
bool ZeroOut(const QString &text);

/// What CheckFormat needs from the report: the string table and the locale.
struct TRpFormatContext
{
    std::function<int(const QString &)> storeString; ///< stores an FDTM pattern, gives its index
    int currencyDecimals = 2;                        ///< FCUR without a decimals argument
};

/// Strips an outer format function such as FNUM(x,2) from `s` (which becomes x) and
/// returns the format it describes; the default format when `s` carries none.
TRpFieldFormat CheckFormat(QString &s, const TRpFormatContext &context);

/// Operator symbol to the built-in function name it compiles to ("+" -> "SYS_ADD").
QString RpOperatorFunction(const QString &symbol);

} // namespace rp
