// SPDX-License-Identifier: MIT
// Field-language compiler: operand and operation tokens, infix to call text, format functions.
#include "compiler/rpcompiler.h"

#include "compiler/fieldkind.h"
#include "messages.h"
#include <reportengine/rpconsts.h>

#include <stdexcept>

namespace rp {

const TRpBaseFormatIDs RpBaseFormatsArr[RpBaseFormatsCount] = {
    {0, "NOFORMAT", 1, 1, false, false, false, TRpFloatFormat::General},
    {1, "FEXP", 1, 2, true, false, true, TRpFloatFormat::Exponent},
    {2, "FFIX", 1, 2, true, false, true, TRpFloatFormat::Fixed},
    {3, "FNUM", 1, 2, true, false, true, TRpFloatFormat::Number},
    {4, "FCUR", 1, 2, true, false, true, TRpFloatFormat::Currency},
    {5, "FIMG", 1, 2, true, true, false, TRpFloatFormat::General},
    {6, "FLNK", 1, 1, true, false, false, TRpFloatFormat::General},
    {7, "FFIXR", 1, 2, true, false, true, TRpFloatFormat::Fixed},
    {8, "FNUMR", 1, 2, true, false, true, TRpFloatFormat::Number},
    {9, "FDTM", 2, 2, true, false, false, TRpFloatFormat::General},
    {10, "FBOOL", 1, 1, true, false, false, TRpFloatFormat::General},
    {11, "FRTF", 1, 1, true, false, false, TRpFloatFormat::General},
};

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isIdentStart(QChar c)
{
    return isAsciiLetter(c) || c == u'_' || c.unicode() >= 0xC0;
}

bool isIdentChar(QChar c)
{
    return isIdentStart(c) || isDigit(c);
}

// Index of the matching ")" for the "(" at `open`, skipping quoted strings; -1 if none.
int matchingBracket(const QString &s, int open)
{
    int depth = 0;
    for (int i = open; i < s.size(); ++i) {
        const QChar c = s[i];
        if (RpLeftQuote(c)) {
            int j = i + 1;
            while (j < s.size() && !RpRightQuote(c, s[j]))
                ++j;
            if (j >= s.size())
                return RpNotFound;
            i = j;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0)
                return i;
        }
    }
    return RpNotFound;
}

// Attributes of every operation the tokenizer produces.
struct OpInfo
{
    const char *symbol;
    const char *function;
    int argsNeed;
    bool reqBool;
    bool allowBool;
    bool retBool;
    int priority;
    bool unaryAfter;
};

const OpInfo opTable[] = {
    {":=", "SYS_LET", 2, false, true, false, 2, true},
    {"&&", "SYS_AND", 2, true, true, true, 3, false},
    {"||", "SYS_OR", 2, true, true, true, 3, false},
    {"=", "SYS_EQ", 2, false, true, true, 4, true},
    {"<>", "SYS_NOTEQ", 2, false, true, true, 4, true},
    {"!=", "SYS_NOTEQ", 2, false, true, true, 4, true},
    {"<", "SYS_LT", 2, false, false, true, 5, true},
    {">", "SYS_GT", 2, false, false, true, 5, true},
    {"<=", "SYS_LTEQ", 2, false, false, true, 5, true},
    {">=", "SYS_GTEQ", 2, false, false, true, 5, true},
    {"+", "SYS_ADD", 2, false, false, false, 6, true},
    {"-", "SYS_SUB", 2, false, false, false, 6, true},
    {"*", "SYS_MULT", 2, false, false, false, 7, true},
    {"/", "SYS_DIV", 2, false, false, false, 7, true},
    {"%", "SYS_PERCENT", 2, false, false, false, 7, true},
    {"u+", "SYS_UPLUS", 1, false, false, false, 8, false},
    {"u-", "SYS_UMINUS", 1, false, false, false, 8, false},
    {"!", "SYS_NOT", 1, true, true, true, 8, false},
    {"(", "", 0, false, false, false, 0, true},
    {")", "", 0, false, false, false, 1, false},
};

const OpInfo *findOp(const QString &symbol)
{
    for (const OpInfo &op : opTable)
        if (symbol == QLatin1String(op.symbol))
            return &op;
    return nullptr;
}

bool isOneOf(const QString &x, std::initializer_list<const char *> set)
{
    for (const char *s : set)
        if (x == QLatin1String(s))
            return true;
    return false;
}

// Whether operation `x` may follow the operation `prev` (a blank when nothing precedes).
bool operationMayFollow(const QString &prev, bool prevIsOperand, const QString &x)
{
    if (prevIsOperand)
        return !isOneOf(x, {"!", "("});
    if (isOneOf(prev, {"%", "*", "+", "-", "/"}))
        return isOneOf(x, {"(", "u+", "u-"});
    if (isOneOf(prev, {"&&", "||"}))
        return isOneOf(x, {"!", "("});
    if (isOneOf(prev, {"<", ">", "=", "<=", ">=", "<>", "!=", ":="}))
        return isOneOf(x, {"(", "u+", "u-"});
    if (isOneOf(prev, {"u+", "u-"}))
        return x == u"(";
    if (prev == u"!")
        return isOneOf(x, {"!", "("});
    if (prev == u"(")
        return isOneOf(x, {"u+", "u-", "!", "("});
    if (prev == u")")
        return !isOneOf(x, {"u+", "u-", "!", "("});
    return true;
}

[[noreturn]] void fail(const QString &msg)
{
    throw EIllegalFunctionUse(msg.toStdString());
}

} // namespace

QString RpTrim(const QString &s)
{
    int b = 0;
    int e = s.size();
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QString RpTrimRight(const QString &s)
{
    int e = s.size();
    while (e > 0 && s[e - 1].unicode() <= 0x20)
        --e;
    return s.left(e);
}

bool RpLeftQuote(QChar c)
{
    switch (c.unicode()) {
    case 0x22:
    case 0x27:
    case 0x60:
    case 0x7E:
    case 0xAB:
    case 0xBB:
    case 0x201C:
    case 0x201D:
        return true;
    default:
        return false;
    }
}

bool RpRightQuote(QChar open, QChar c)
{
    switch (open.unicode()) {
    case 0x22:
    case 0x27:
    case 0x60:
    case 0x7E:
        return c == open;
    case 0xAB:
    case 0xBB:
        return c.unicode() == 0xBB;
    case 0x201C:
    case 0x201D:
        return c.unicode() == 0x201D;
    default:
        return false;
    }
}

bool RpIsQuoted(const QString &s)
{
    if (s.size() <= 2 || !RpLeftQuote(s[0]) || !RpRightQuote(s[0], s.back()))
        return false;
    for (int i = 1; i < s.size() - 1; ++i)
        if (s[i] == s.back())
            return false;
    return true;
}

void TRpExpression::Add(const QString &text, bool isOperand, int argsNeed, bool reqBoolArg,
                        bool allowBoolArg, bool retBoolRes, int priority, int fldnum)
{
    Add(TRpOperand{text, isOperand, argsNeed, reqBoolArg, allowBoolArg, retBoolRes, priority,
                   fldnum});
}

void TRpExpression::Add(const TRpOperand &operand)
{
    if (operand.ReqBoolArg && !operand.AllowBoolArg)
        throw std::runtime_error(msg::OperandAddFlags);
    FExpression.push_back(operand);
}

TRpOperand TRpExpression::GetOperand(int i) const
{
    if (i < 0 || i >= Count())
        throw std::runtime_error(msg::OperandIndex1 + std::to_string(i) + msg::OperandIndex2);
    return FExpression[static_cast<size_t>(i)];
}

TRpOperand TRpOperationStack::Pop()
{
    if (FStack.empty())
        throw std::runtime_error(msg::OperationIndexEmpty);
    TRpOperand op = FStack.back();
    FStack.pop_back();
    return op;
}

TRpOperand TRpOperationStack::GetOperation(int i) const
{
    if (i < 0 || i >= Count())
        throw std::runtime_error(msg::OperationIndex1 + std::to_string(i) + msg::OperationIndex2);
    return FStack[static_cast<size_t>(i)];
}

int TRpIntStack::Pop()
{
    if (FArray.empty())
        return 0;
    const int v = FArray.back();
    FArray.pop_back();
    return v;
}

QString RpFormatName(int n)
{
    if (n < 0 || n >= RpBaseFormatsCount)
        return QString();
    return QString::fromLatin1(RpBaseFormatsArr[n].name);
}

QString RpOperatorFunction(const QString &symbol)
{
    const OpInfo *op = findOp(symbol);
    return op ? QString::fromLatin1(op->function) : QString();
}

int GetNextExprField(QString &text, QString &operand, bool dotAsColon, QString &rest)
{
    text = RpTrim(text);
    operand.clear();
    rest = text;
    const int n = text.size();
    if (n == 0 || QStringView(u"):<>=*/%").contains(text[0]))
        return fkNotRecognised;
    const auto take = [&](int len, int kind) {
        operand = text.left(len);
        rest = text.mid(len);
        return kind;
    };

    // Date constant {YYYY-MM-DD}.
    if (n > 11 && text[0] == u'{' && text[5] == u'-' && text[8] == u'-' && text[11] == u'}') {
        bool digits = true;
        for (int i : {1, 2, 3, 4, 6, 7, 9, 10})
            digits = digits && isDigit(text[i]);
        if (digits)
            return take(12, fkDate);
    }
    // Prefix tests: an identifier that starts with TRUE or FALSE cannot be used.
    if (RpStartsWithAscii(text, QLatin1String("TRUE"))) {
        operand = QStringLiteral("TRUE");
        rest = text.mid(4);
        return fkBoolean;
    }
    if (RpStartsWithAscii(text, QLatin1String("FALSE"))) {
        operand = QStringLiteral("FALSE");
        rest = text.mid(5);
        return fkBoolean;
    }
    // Number: a leading sign belongs to the literal.
    const QChar c0 = text[0];
    if (isDigit(c0) || c0 == u'+' || c0 == u'-' || c0 == u'.') {
        bool point = (c0 == u'.');
        bool exponent = false;
        int i = 1;
        while (i < n) {
            const QChar c = text[i];
            if (isDigit(c)) {
                ++i;
            } else if (c == u'.' && !point && !exponent &&
                       (i == 1 || (i + 1 < n && isDigit(text[i + 1])))) {
                point = true;
                ++i;
            } else if ((c == u'E' || c == u'e') && !exponent && i + 1 < n &&
                       (isDigit(text[i + 1]) || ((text[i + 1] == u'+' || text[i + 1] == u'-') &&
                                                 i + 2 < n && isDigit(text[i + 2])))) {
                exponent = true;
                i += isDigit(text[i + 1]) ? 1 : 2;
            } else {
                break;
            }
        }
        if (isDigit(text[i - 1]))
            return take(i, fkNumber);
    }
    // Quoted string, quotes included.
    if (n >= 2 && RpLeftQuote(c0)) {
        for (int i = 1; i < n; ++i)
            if (RpRightQuote(c0, text[i]))
                return take(i + 1, fkString);
    }
    // Identifier: variable, call, or alias with field.
    if (isIdentStart(c0)) {
        int i = 1;
        while (i < n && (isIdentChar(text[i]) || text[i] == u' '))
            ++i;
        if (i >= n)
            return take(i, fkVariable);
        const QChar s = text[i];
        const bool lastIsIdent = isIdentChar(text[i - 1]);
        if (s != u'(' && s != u':' && s != u'.') {
            if (text[i - 1] == u' ')
                return fkNotRecognised;
            return take(i, fkVariable);
        }
        if (s == u'(') {
            if (lastIsIdent) {
                const int close = matchingBracket(text, i);
                if (close < 0)
                    return fkNotRecognised;
                return take(close + 1, fkFunction);
            }
        } else if (lastIsIdent) {
            const int kind = (s == u':' || dotAsColon) ? fkColonField : fkDotField;
            const auto field = [&](int len) {
                take(len, kind);
                if (s == u'.' && dotAsColon)
                    operand[i] = u':';
                return kind;
            };
            if (i + 1 < n && isIdentChar(text[i + 1])) {
                int j = i + 1;
                while (j < n && (isIdentChar(text[j]) || text[j] == u' '))
                    ++j;
                return field(j);
            }
            if (s == u':' && i + 1 < n && text[i + 1] == u'=')
                return take(i, fkVariable);
            if (i + 1 < n && text[i + 1] == u'(') {
                int j = i + 2;
                while (j < n && isDigit(text[j]))
                    ++j;
                if (j > i + 2 && j < n && text[j] == u')')
                    return field(j + 1);
            }
        }
    }
    if (c0 == u'!' || c0 == u'(' || c0 == u'+' || c0 == u'-')
        return fkExpression;
    return fkNotRecognised;
}

bool GetNextExprOperation(QString &text, QString &operation, bool unary, QString &rest)
{
    text = RpTrim(text);
    operation.clear();
    rest = text;
    for (const char *two : {":=", "&&", "||", "<=", ">=", "<>", "!="}) {
        if (text.startsWith(QLatin1String(two))) {
            operation = QLatin1String(two);
            rest = text.mid(2);
            return true;
        }
    }
    if (!text.isEmpty() && QStringView(u"!%()*+-/<=>").contains(text[0])) {
        operation = text.left(1);
        if (unary && (operation == u"+" || operation == u"-"))
            operation.prepend(u'u');
        rest = text.mid(1);
        return true;
    }
    return false;
}

QString ConvertExpression(QString &expression, bool dotAsColon)
{
    expression = RpTrim(expression);
    const QString E = expression;
    // Built only for a message: every field of a template passes through here.
    const auto prefix = [&E] { return QLatin1String(msg::CannotProcessExpression) + E; };

    TRpExpression infix;
    QString prevOp = QStringLiteral(" ");
    bool prevIsOperand = false;
    bool unaryAllowed = true;
    int depth = 0;
    QString seen; // operand texts so far, for messages
    QString lastOperand;

    QString text = E;
    QString token;
    QString rest;
    bool tokenIsOperand = false;
    int kind = GetNextExprField(text, token, dotAsColon, rest);
    if (kind == fkNotRecognised)
        fail(prefix());
    if (kind == fkExpression) {
        if (!GetNextExprOperation(text, token, true, rest) ||
            !isOneOf(token, {"u+", "u-", "!", "("}))
            fail(prefix());
    } else {
        tokenIsOperand = true;
    }

    for (;;) {
        if (tokenIsOperand) {
            if (prevIsOperand || prevOp == u")")
                fail(prefix() + QLatin1String(msg::ErrorAfter) + seen +
                     QLatin1String(msg::OperationExpected));
            infix.Add(token, true, 0, false, false, false, 0, kind);
            seen += token;
            lastOperand = token;
            unaryAllowed = false;
            prevIsOperand = true;
            prevOp.clear();
        } else {
            if (!operationMayFollow(prevOp, prevIsOperand, token))
                fail(prefix() + QLatin1String(msg::ErrorAfter) + seen +
                     QLatin1String(msg::QuoteBefore) + token +
                     QLatin1String(msg::NotExpectedQuoted));
            const OpInfo *op = findOp(token);
            unaryAllowed = op->unaryAfter;
            if (token == u"(") {
                ++depth;
            } else if (token == u")" && --depth < 0) {
                fail(prefix() + QLatin1String(msg::MoreClosingBrackets));
            }
            infix.Add(token, false, op->argsNeed, op->reqBool, op->allowBool, op->retBool,
                      op->priority, 0);
            prevOp = token;
            prevIsOperand = false;
        }

        text = RpTrim(rest);
        if (text.isEmpty())
            break;
        if (QStringView(u"!%&()*+-/:<=>|").contains(text[0])) {
            if (!GetNextExprOperation(text, token, unaryAllowed, rest))
                fail(prefix() + QLatin1String(msg::ErrorAfter) + seen);
            tokenIsOperand = false;
        } else {
            kind = GetNextExprField(text, token, dotAsColon, rest);
            if (kind == fkNotRecognised)
                fail(prefix() + QLatin1String(msg::ErrorAfter) + seen);
            tokenIsOperand = true;
        }
    }
    if (depth > 0)
        fail(prefix() + QLatin1String(msg::ClosingBracketExpected));
    if (!prevIsOperand && prevOp != u")")
        fail(QLatin1String(msg::UnexpectedEndOfExpression) + E);

    // Precedence: infix to postfix, left-associative.
    TRpExpression postfix;
    TRpOperationStack stack;
    for (int i = 0; i < infix.Count(); ++i) {
        const TRpOperand t = infix.GetOperand(i);
        if (t.IsOperand) {
            postfix.Add(t);
        } else if (t.Text == u"(") {
            stack.Push(t);
        } else if (t.Text == u")") {
            while (!stack.IsEmpty()) {
                const TRpOperand top = stack.Pop();
                if (top.Text == u"(")
                    break;
                postfix.Add(top);
            }
        } else {
            while (!stack.IsEmpty()) {
                const TRpOperand top = stack.GetOperation(stack.Count() - 1);
                if (top.Text == u"(" || top.Priority < t.Priority)
                    break;
                postfix.Add(stack.Pop());
            }
            stack.Push(t);
        }
    }
    while (!stack.IsEmpty())
        postfix.Add(stack.Pop());

    if (postfix.Count() == 0 || postfix.GetOperand(postfix.Count() - 1).IsOperand)
        fail(QLatin1String(msg::OperatorMissed) + E + QLatin1String(msg::OperatorMissedOperand) +
             lastOperand);

    // Call text: every operation becomes NAME(args in popped order).
    QStringList texts;
    for (int i = 0; i < postfix.Count(); ++i) {
        const TRpOperand t = postfix.GetOperand(i);
        if (t.IsOperand) {
            texts.append(t.Text);
            continue;
        }
        if (texts.size() < t.ArgsNeed)
            fail(prefix());
        QStringList args;
        for (int k = 0; k < t.ArgsNeed; ++k)
            args.append(texts.takeLast());
        texts.append(RpOperatorFunction(t.Text) + u'(' + args.join(u',') + u')');
    }
    if (texts.size() != 1)
        fail(prefix());
    return texts.first();
}

bool SplitArgs(const QString &text, QStringList &list)
{
    if (RpTrim(text).isEmpty())
        return true;
    const QString s = text + u',';
    QString current;
    int depth = 0;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (RpLeftQuote(c)) {
            int j = i + 1;
            while (j < s.size() && !RpRightQuote(c, s[j]))
                ++j;
            // An unclosed quote runs to the end, the appended comma included.
            current += s.mid(i, j - i + 1);
            i = j;
            if (j >= s.size()) {
                list.append(current);
                return false;
            }
            continue;
        }
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth < 0) {
                list.append(current);
                return false;
            }
        } else if (c == u',' && depth == 0) {
            list.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    if (depth > 0) {
        list.append(current);
        return false;
    }
    return true;
}

bool ZeroOut(const QString &text)
{
    for (QChar c : text)
        if (c >= u'1' && c <= u'9')
            return false;
    return true;
}

TRpFieldFormat CheckFormat(QString &s, const TRpFormatContext &context)
{
    TRpFieldFormat fmt;
    if (s.isEmpty())
        return fmt;
    int i = 0;
    while (i < s.size() && isAsciiLetter(s[i]))
        ++i;
    if (i >= s.size() || s[i] != u'(' || s.size() - 1 - i < 2 || s.back() != u')')
        return fmt;
    const QString name = RpUpperAscii(s.left(i));
    int id = -1;
    for (const TRpBaseFormatIDs &row : RpBaseFormatsArr)
        if (name == QLatin1String(row.name))
            id = row.id;
    if (id <= 0)
        return fmt;
    const TRpBaseFormatIDs &row = RpBaseFormatsArr[id];

    QStringList args;
    if (!SplitArgs(s.mid(i + 1, s.size() - i - 2), args))
        fail(QLatin1String(msg::BracketsInFormatFunction) + s);
    if (args.size() < row.argmin)
        fail(QLatin1String(msg::IllegalFormatFunctionUse) + s +
             QLatin1String(msg::FewerArgumentsThanRequired));
    if (args.size() > row.argmax)
        fail(QLatin1String(msg::IllegalFormatFunctionUse) + s +
             QLatin1String(msg::MoreArgumentsThanAllowed));

    s = args.value(0);
    const bool hasArg = args.size() > 1;
    const QString a = args.value(1);
    int p = 0;
    int d = 0;
    if (hasArg && (row.isfloat || id == fmtFIMG)) {
        bool ok = !a.isEmpty();
        for (int k = 0; k < a.size() && ok; ++k) {
            const QChar c = a[k];
            ok = isDigit(c) || c == u' ' || (c == u':' && k != 0 && k != a.size() - 1);
        }
        const int colon = a.indexOf(u':');
        bool okP = true;
        bool okD = true;
        if (ok && colon < 0) {
            d = RpTrim(a).toInt(&okD);
        } else if (ok) {
            p = RpTrim(a.left(colon)).toInt(&okP);
            d = RpTrim(a.mid(colon + 1)).toInt(&okD);
        }
        // Digits that do not fit an integer read like any other integer that does not convert.
        if (ok && (!okP || !okD))
            throw EConvertError((QLatin1String(SNotInteger1) +
                                 RpTrim(okP ? a.mid(colon + 1) : a.left(colon)) +
                                 QLatin1String(SNotInteger2))
                                    .toStdString());
        if (!ok)
            fail(QLatin1String(msg::IllegalUseOfFormatFunction) + s +
                 QLatin1String(msg::CannotUnderstandArgument) + a);
    }

    fmt.fmtnumber = id;
    switch (id) {
    case fmtFEXP:
    case fmtFFIX:
    case fmtFNUM:
    case fmtFFIXR:
    case fmtFNUMR:
        if (hasArg) {
            fmt.decimals = d;
            if (p > 0)
                fmt.precision = p;
        }
        break;
    case fmtFCUR:
        fmt.decimals = hasArg ? d : context.currencyDecimals;
        if (p > 0)
            fmt.precision = p;
        break;
    case fmtFIMG:
        fmt.precision = 0;
        if (hasArg) {
            fmt.precision = d;
            if (p > 0)
                fmt.precision = p;
        }
        break;
    case fmtFDTM:
        fmt.precision = context.storeString ? context.storeString(a) : 0;
        break;
    default:
        break;
    }
    return fmt;
}

QString RpUpperAscii(const QString &s)
{
    QString r = s;
    for (QChar &ch : r)
        if (ch >= u'a' && ch <= u'z')
            ch = QChar(ch.unicode() - 32);
    return r;
}

bool RpStartsWithAscii(QStringView text, QLatin1String upperWord)
{
    if (text.size() < upperWord.size())
        return false;
    for (qsizetype i = 0; i < upperWord.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'a' && c <= u'z')
            c -= 32;
        if (c != upperWord[i].unicode())
            return false;
    }
    return true;
}

} // namespace rp
