// SPDX-License-Identifier: MIT
// Built-in function library: date functions (NOW, DATE, conversions, parts, DTOS and STOD).
#include "runtime/rpfunclib_p.h"
#include <reportengine/rprtf.h>

namespace rp::funclib {

namespace {

TDateTime DateArg(const TRpFuncCall &call, const char *name)
{
    return call.OneTyped(name, rpdtDateTime, SKindDateTime).AsDateTime();
}

QString StringArg(const TRpFuncCall &call, const char *name)
{
    return call.OneTyped(name, rpdtString, SKindString).AsString();
}

QString Digits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
}

// Which part of a date: 0 year, 1 month, 2 day.
int DatePart(TDateTime dt, int part)
{
    int y = 0;
    int m = 0;
    int d = 0;
    DecodeDate(dt, y, m, d);
    return part == 0 ? y : part == 1 ? m : d;
}

void DoDatePart(const TRpFuncCall &call, const char *name, int part, bool asText)
{
    const int value = DatePart(DateArg(call, name), part);
    if (asText)
        call.Result.SetAsString(Digits(value, part == 0 ? 4 : 2));
    else
        call.Result.SetAsFloat(value);
}

QString Dtos(TDateTime dt)
{
    int y = 0;
    int m = 0;
    int d = 0;
    DecodeDate(dt, y, m, d);
    return Digits(y, 4) + Digits(m, 2) + Digits(d, 2);
}

int StodNumber(const QString &part)
{
    for (QChar c : part)
        if (c < u'0' || c > u'9')
            throw EConvertError(
                (QLatin1String(SNotInteger1) + part + QLatin1String(SNotInteger2)).toStdString());
    return part.toInt();
}

} // namespace

bool StodDate(const QString &s, TDateTime &result)
{
    if (s.size() != 8)
        return false;
    // One after the other, so that the first bad part is the one reported.
    const int year = StodNumber(s.mid(0, 4));
    const int month = StodNumber(s.mid(4, 2));
    const int day = StodNumber(s.mid(6, 2));
    result = EncodeDate(year, month, day);
    return true;
}

bool DoDateFunction(const TRpFuncCall &call)
{
    const TFormatSettings &fs = call.Report.FmtSett;
    TRpReportVariable &result = call.Result;
    switch (call.Fn()) {
    case BuiltIn::Now:
        result.SetAsDateTime(Now());
        return true;
    case BuiltIn::Date:
        result.SetAsDate(Date());
        return true;
    case BuiltIn::Time:
        result.SetAsDateTime(Time());
        return true;
    case BuiltIn::DateToStr:
        result.SetAsString(DateToStr(DateArg(call, "DATETOSTR"), fs));
        return true;
    case BuiltIn::DateTimeToStr:
        result.SetAsString(DateTimeToStr(DateArg(call, "DATETIMETOSTR"), fs));
        return true;
    case BuiltIn::TimeToStr:
        result.SetAsString(TimeToStr(DateArg(call, "TIMETOSTR"), fs));
        return true;
    case BuiltIn::StrToDate:
        result.SetAsDate(StrToDate(StringArg(call, "STRTODATE"), fs));
        return true;
    case BuiltIn::StrToDateTime:
        result.SetAsDateTime(StrToDateTime(StringArg(call, "STRTODATETIME"), fs));
        return true;
    case BuiltIn::StrToTime:
        result.SetAsDateTime(StrToTime(StringArg(call, "STRTOTIME"), fs));
        return true;
    case BuiltIn::Year:
        DoDatePart(call, "YEAR", 0, false);
        return true;
    case BuiltIn::Month:
        DoDatePart(call, "MONTH", 1, false);
        return true;
    case BuiltIn::Day:
        DoDatePart(call, "DAY", 2, false);
        return true;
    case BuiltIn::SYear:
        DoDatePart(call, "SYEAR", 0, true);
        return true;
    case BuiltIn::SMonth:
        DoDatePart(call, "SMONTH", 1, true);
        return true;
    case BuiltIn::SDay:
        DoDatePart(call, "SDAY", 2, true);
        return true;
    case BuiltIn::DToS:
        result.SetAsString(Dtos(DateArg(call, "DTOS")));
        return true;
    case BuiltIn::SToD: {
        TDateTime dt = 0;
        if (!StodDate(StringArg(call, "STOD"), dt))
            call.Fail(QLatin1String(SStodLength));
        result.SetAsDate(dt);
        return true;
    }
    default:
        return false;
    }
}

} // namespace rp::funclib
