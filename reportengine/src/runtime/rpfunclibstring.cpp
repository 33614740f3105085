// SPDX-License-Identifier: MIT
// Built-in function library: string functions (TRIM, MID, POS, STR, VAL, FORMATFLOAT ...) and
// number functions (INT, FRAC, ROUND, POWER, INTPOWER).
#include "compiler/rpcompiler.h"
#include "runtime/rpfunclib_p.h"
#include <reportengine/rprtf.h>

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace rp::funclib {

namespace {

// A width beyond any page; it keeps STR(x, 2000000000) from asking for gigabytes.
constexpr int MaxStrWidth = 1 << 20;
// Decimals the fixed-point conversion can give.
constexpr int MaxStrDecimals = 18;

const TRpArgMessages MidMessages[] = {
    {"First operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
     "First operand of string type expected in functions \"MID\", \"COPY\", \"SUBSTR\""},
    {"Second operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
     "Second operand of numeric type expected in functions \"MID\", \"COPY\", \"SUBSTR\""},
    {"Third operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
     "Third operand of numeric type expected in functions \"MID\", \"COPY\", \"SUBSTR\""},
};

const TRpArgMessages StrMessages[] = {
    {"First operand type unknown. Functions \"STR\"",
     "First operand of numeric type expected in function \"STR\""},
    {"Second operand type unknown. Function \"STR\"",
     "Second operand of numeric type expected in functions \"STR\""},
    {"Third operand type unknown. Function \"STR\"",
     "Third operand of numeric type expected in function \"STR\""},
};

const TRpArgMessages PosMessages[] = {
    {"First operand type unknown. Function \"POS\"",
     "First operand of string type expected in function \"POS\""},
    {"Second operand type unknown. Functions \"POS\"",
     "Second operand of string type expected in functions \"POS\""},
};

const TRpArgMessages RoundMessages[] = {
    {"First operand type unknown. Functions \"ROUND\"",
     "First operand of numeric type expected in function \"ROUND\""},
    {"Second operand type unknown. Function \"ROUND\"",
     "Second operand of numeric type expected in functions \"ROUND\""},
};

const TRpArgMessages PowerMessages[] = {
    {"First operand type unknown. Functions \"POWER\"",
     "First operand of numeric type expected in function \"POWER\""},
    {"Second operand type unknown. Function \"POWER\"",
     "Second operand of numeric type expected in functions \"POWER\""},
};

const TRpArgMessages IntPowerMessages[] = {
    {"First operand type unknown. Functions \"INTPOWER\"",
     "First operand of numeric type expected in function \"INTPOWER\""},
    {"Second operand type unknown. Function \"INTPOWER\"",
     "Second operand of integer numeric type expected in functions \"INTPOWER\""},
};

const TRpArgMessages FormatFloatMessages[] = {
    {"First operand type unknown. Functions \"FLOATFORMAT\"",
     "First operand of string type expected in function \"FLOATFORMAT\""},
    {"Second operand type unknown. Function \"FLOATFORMAT\"",
     "Second operand of numeric type expected in functions \"FLOATFORMAT\""},
};

int ArgCount(const TRpFuncCall &call)
{
    return static_cast<int>(call.Args.size());
}

// The texts STR makes always use "." whatever the locale.
TFormatSettings DotSettings(const TFormatSettings &fs)
{
    TFormatSettings dot = fs;
    dot.DecimalSeparator = u'.';
    return dot;
}

void DoMid(const TRpFuncCall &call)
{
    const QString s = call.NthTyped(0, rpdtString, MidMessages[0]).AsString();
    const int start = ToInt(call.NthTyped(1, rpdtNumber, MidMessages[1]).AsFloat());
    const bool hasCount = ArgCount(call) >= 3;
    const int count = hasCount ? ToInt(call.NthTyped(2, rpdtNumber, MidMessages[2]).AsFloat()) : -1;
    call.Result.SetAsString(MidText(s, start, count, hasCount));
}

void DoPos(const TRpFuncCall &call)
{
    const QString needle = call.NthTyped(0, rpdtString, PosMessages[0]).AsString();
    const QString text = call.NthTyped(1, rpdtString, PosMessages[1]).AsString();
    // An empty text is found nowhere, as in the classic Pos.
    const qsizetype at = needle.isEmpty() ? -1 : text.indexOf(needle);
    call.Result.SetAsFloat(static_cast<long double>(at + 1));
}

void DoStr(const TRpFuncCall &call)
{
    const int n = std::min(ArgCount(call), 3);
    const long double x = call.NthTyped(0, rpdtNumber, StrMessages[0]).AsFloat();
    const int width = n >= 2 ? ToInt(call.NthTyped(1, rpdtNumber, StrMessages[1]).AsFloat()) : 0;
    const int decimals = n >= 3 ? ToInt(call.NthTyped(2, rpdtNumber, StrMessages[2]).AsFloat()) : 0;
    call.Result.SetAsString(StrText(x, std::max(n, 1), width, decimals));
}

void DoFormatFloat(const TRpFuncCall &call)
{
    const QString pattern = call.NthTyped(0, rpdtString, FormatFloatMessages[0]).AsString();
    const long double x = call.NthTyped(1, rpdtNumber, FormatFloatMessages[1]).AsFloat();
    call.Result.SetAsString(RpTrim(FormatFloat(pattern, x, call.Report.FmtSett)));
}

void DoRound(const TRpFuncCall &call)
{
    const long double x = call.NthTyped(0, rpdtNumber, RoundMessages[0]).AsFloat();
    const int n =
        ArgCount(call) >= 2 ? ToInt(call.NthTyped(1, rpdtNumber, RoundMessages[1]).AsFloat()) : 0;
    call.Result.SetAsFloat(RpRound(x, n));
}

} // namespace

QString MidText(const QString &s, int start, int count, bool hasCount)
{
    const qsizetype len = s.size();
    if (!hasCount) {
        if (start < 1 || start > len)
            return QString();
        return s.mid(start - 1);
    }
    if (count < 0)
        return QString();
    if (start < 1)
        start = 1;
    if (start > len)
        return QString();
    return s.mid(start - 1, count);
}

QString StrText(long double x, int argCount, int width, int decimals)
{
    const TFormatSettings dot = DotSettings(InvariantFormatSettings());
    if (argCount <= 1)
        return RpTrim(FloatToStr(x, dot));
    const int d = argCount >= 3 ? std::clamp(decimals, 0, MaxStrDecimals) : 0;
    const QString text = FloatToStrF(x, ffFixed, 18, d, dot);
    if (argCount >= 3 && width < 1)
        return RpTrim(text.rightJustified(18, u' '));
    return text.rightJustified(std::min(width, MaxStrWidth), u' ');
}

long double ValText(const QString &s, QChar decimalSeparator)
{
    QString text = s;
    if (decimalSeparator != u'.')
        text.replace(decimalSeparator, u'.');
    long double value = 0;
    if (!TryStrToFloat(text, value, DotSettings(InvariantFormatSettings())))
        return 0;
    return value;
}

bool DoStringFunction(const TRpFuncCall &call)
{
    switch (call.Fn()) {
    case BuiltIn::Trim:
        call.Result.SetAsString(RpTrim(call.OneTyped("TRIM", rpdtString, SKindString).AsString()));
        return true;
    case BuiltIn::Upper:
        call.Result.SetAsString(call.Report.Locale().toUpper(
            call.OneTyped("UPPER", rpdtString, SKindString).AsString()));
        return true;
    case BuiltIn::Lower:
        call.Result.SetAsString(call.Report.Locale().toLower(
            call.OneTyped("LOWER", rpdtString, SKindString).AsString()));
        return true;
    case BuiltIn::Mid:
    case BuiltIn::Substr:
    case BuiltIn::Copy:
        DoMid(call);
        return true;
    case BuiltIn::Pos:
        DoPos(call);
        return true;
    case BuiltIn::Str:
        DoStr(call);
        return true;
    case BuiltIn::Val:
        call.Result.SetAsFloat(ValText(call.OneTyped("VAL", rpdtString, SKindString).AsString(),
                                       call.Report.FmtSett.DecimalSeparator));
        return true;
    case BuiltIn::FormatFloat:
        DoFormatFloat(call);
        return true;
    default:
        return false;
    }
}

bool DoNumberFunction(const TRpFuncCall &call)
{
    switch (call.Fn()) {
    case BuiltIn::Int:
        call.Result.SetAsFloat(
            std::trunc(call.OneTyped("INT", rpdtNumber, SKindNumeric).AsFloat()));
        return true;
    case BuiltIn::Frac: {
        const long double x = call.OneTyped("FRAC", rpdtNumber, SKindNumeric).AsFloat();
        call.Result.SetAsFloat(x - std::trunc(x));
        return true;
    }
    case BuiltIn::Round:
        DoRound(call);
        return true;
    case BuiltIn::Power: {
        const long double x = call.NthTyped(0, rpdtNumber, PowerMessages[0]).AsFloat();
        const long double y = call.NthTyped(1, rpdtNumber, PowerMessages[1]).AsFloat();
        call.Result.SetAsFloat(pwr(x, y));
        return true;
    }
    case BuiltIn::IntPower: {
        const long double x = call.NthTyped(0, rpdtNumber, IntPowerMessages[0]).AsFloat();
        const int n = ToInt(call.NthTyped(1, rpdtNumber, IntPowerMessages[1]).AsFloat());
        call.Result.SetAsFloat(ipwr(x, n));
        return true;
    }
    default:
        return false;
    }
}

} // namespace rp::funclib
