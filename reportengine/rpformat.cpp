// SPDX-License-Identifier: MIT
// Number and date texts: settings from locales, TDateTime arithmetic, conversions (stubs).
#include "rpformat.h"

#include <QDateTime>
#include <QLocale>

namespace rp {

TFormatSettings FormatSettingsFromLocale(const QLocale &)
{
    return TFormatSettings();
}

TFormatSettings DefaultFormatSettings()
{
    return FormatSettingsFromLocale(QLocale());
}

const TFormatSettings &InvariantFormatSettings()
{
    static const TFormatSettings fs;
    return fs;
}

TDateTime EncodeDate(int, int, int)
{
    return 0;
}
TDateTime EncodeTime(int, int, int, int)
{
    return 0;
}
bool TryEncodeDate(int, int, int, TDateTime &)
{
    return false;
}
bool TryEncodeTime(int, int, int, int, TDateTime &)
{
    return false;
}
void DecodeDate(TDateTime, int &y, int &m, int &d)
{
    y = m = d = 0;
}
void DecodeTime(TDateTime, int &h, int &n, int &s, int &z)
{
    h = n = s = z = 0;
}
int DayOfWeek(TDateTime)
{
    return 1;
}
TDateTime DateTimeFromQDate(const QDate &)
{
    return 0;
}
TDateTime DateTimeFromQTime(const QTime &)
{
    return 0;
}
TDateTime DateTimeFromQDateTime(const QDateTime &)
{
    return 0;
}
QDate QDateFromDateTime(TDateTime)
{
    return QDate();
}
QTime QTimeFromDateTime(TDateTime)
{
    return QTime();
}
QDateTime QDateTimeFromDateTime(TDateTime)
{
    return QDateTime();
}
TDateTime Now()
{
    return 0;
}
TDateTime Date()
{
    return 0;
}
TDateTime Time()
{
    return 0;
}

QString FloatToStr(long double, const TFormatSettings &)
{
    return QString();
}
QString FloatToStrF(long double, TFloatFormat, int, int, const TFormatSettings &)
{
    return QString();
}
QString FormatFloat(const QString &, long double, const TFormatSettings &)
{
    return QString();
}
QString FormatDateTime(const QString &, TDateTime, const TFormatSettings &)
{
    return QString();
}
QString DateToStr(TDateTime, const TFormatSettings &)
{
    return QString();
}
QString TimeToStr(TDateTime, const TFormatSettings &)
{
    return QString();
}
QString DateTimeToStr(TDateTime, const TFormatSettings &)
{
    return QString();
}
long double StrToFloat(const QString &, const TFormatSettings &)
{
    return 0;
}
bool TryStrToFloat(const QString &, long double &, const TFormatSettings &)
{
    return false;
}
std::int64_t StrToInt64(const QString &)
{
    return 0;
}
bool TryStrToInt64(const QString &, std::int64_t &)
{
    return false;
}
TDateTime StrToDate(const QString &, const TFormatSettings &)
{
    return 0;
}
TDateTime StrToTime(const QString &, const TFormatSettings &)
{
    return 0;
}
TDateTime StrToDateTime(const QString &, const TFormatSettings &)
{
    return 0;
}
bool TryStrToDate(const QString &, TDateTime &, const TFormatSettings &)
{
    return false;
}
bool TryStrToTime(const QString &, TDateTime &, const TFormatSettings &)
{
    return false;
}
bool TryStrToDateTime(const QString &, TDateTime &, const TFormatSettings &)
{
    return false;
}

namespace detail {
int expandTwoDigitYear(int year, int, int)
{
    return year;
}
} // namespace detail

} // namespace rp
