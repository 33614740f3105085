// SPDX-License-Identifier: MIT
// Number and date texts: the format-settings record, float and date-time patterns, locale readers.
#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <stdexcept>

class QLocale;

namespace rp {

/// A text that is not a number, integer, date or time; also impossible dates and times.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// A moment as days since 1899-12-30 00:00; the fraction is the time of day. Before the epoch
/// the whole part counts days back and the fraction still counts forward from midnight
/// (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

/// Everything number and date texts depend on. Date and time formats use the pattern language
/// of FormatDateTime; '/' and ':' in them stand for DateSeparator and TimeSeparator.
struct TFormatSettings
{
    QChar DecimalSeparator = u'.';
    /// QChar() means no grouping character.
    QChar ThousandSeparator = u',';
    QString CurrencyString = QStringLiteral("$");
    /// 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int CurrencyFormat = 0;
    /// 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $",
    /// 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
    QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    /// Index 0 is January.
    std::array<QString, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<QString, 12> LongMonthNames{"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
    /// Index 0 is Sunday.
    std::array<QString, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<QString, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    /// Two-digit years read by StrToDate fall within this many years before the current year
    /// and 100 - window years after it; 0 puts them in the current century.
    int TwoDigitYearCenturyWindow = 50;
};

/// The record for a locale: separators, currency, names and date/time formats taken from its
/// data. Short date formats with a two-digit year get a four-digit one, so that printed dates
/// read back unambiguously.
TFormatSettings FormatSettingsFromLocale(const QLocale &locale);

/// The record for the process locale (QLocale()); rebuilt when that locale changes.
TFormatSettings DefaultFormatSettings();
/// As DefaultFormatSettings, without the copy. Records of earlier process locales are kept,
/// so the reference stays valid for the life of the program.
const TFormatSettings &ProcessFormatSettings();

/// Locale-neutral record: "." decimal point, "," grouping, English names, "MM/dd/yyyy",
/// "HH:mm:ss", "¤" currency.
const TFormatSettings &InvariantFormatSettings();

// ---- TDateTime ------------------------------------------------------------------------------

/// Days of a valid Gregorian date (years 1 to 9999); EConvertError
/// "Invalid argument to date encode" otherwise.
TDateTime EncodeDate(int year, int month, int day);
/// The fraction of a day for a valid time (hour 0-23 (24:00:00.000 is allowed and gives 1),
/// minute and second 0-59, millisecond 0-999); EConvertError "Invalid argument to time encode".
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime &result);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime &result);
/// Date and time of day of a moment, the time rounded to the nearest millisecond. Moments
/// outside years 1 to 9999 give 0 for every part.
void DecodeDate(TDateTime dt, int &year, int &month, int &day);
void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec);
/// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime dt);

TDateTime DateTimeFromQDate(const QDate &date);
TDateTime DateTimeFromQTime(const QTime &time);
/// Uses the wall-clock date and time of `dt`, whatever its time zone.
TDateTime DateTimeFromQDateTime(const QDateTime &dt);
QDate QDateFromDateTime(TDateTime dt);
QTime QTimeFromDateTime(TDateTime dt);
/// A local-time QDateTime; invalid for moments outside years 1 to 9999.
QDateTime QDateTimeFromDateTime(TDateTime dt);

TDateTime Now();
/// Today at midnight.
TDateTime Date();
/// The current time of day (date part 0).
TDateTime Time();

// ---- Numbers to text ----------------------------------------------------------------------

/// Float formats of FloatToStrF.
enum TFloatFormat : int
{
    /// `precision` significant digits without trailing zeros; fixed notation while the whole
    /// part has at most `precision` digits and the value is at least 0.0001, otherwise
    /// scientific with at least `digits` (0-4) exponent digits and a sign only when negative.
    ffGeneral,
    /// "-d.ddd…E+dddd": `precision` significant digits, at least `digits` (0-4) exponent digits.
    ffExponent,
    /// "-ddd.ddd…" with `digits` decimals (0-18).
    ffFixed,
    /// Like ffFixed, with thousand separators.
    ffNumber,
    /// Like ffNumber, placed with CurrencyString by CurrencyFormat/NegCurrFormat.
    ffCurrency
};

/// General text with 15 significant digits: 0.1 gives "0.1", 1E20 gives "1E20",
/// 1.5E-7 gives "1.5E-7".
QString FloatToStr(long double value, const TFormatSettings &fs);

/// `precision` (significant digits, 1-18) and `digits` as in TFloatFormat. Fixed, number and
/// currency fall back to general text when the value has more than `precision` whole digits.
/// Halves round away from zero. NaN gives "NAN", infinities "INF" and "-INF".
QString FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings &fs);

/// Pattern formatting: "0" digit or zero, "#" digit or nothing, "." decimal point,
/// "," grouping (anywhere left of the point), "E+"/"E-"/"e+"/"e-" followed by up to four "0"
/// exponent digits, 'text' and "text" literals, and up to three ";"-separated sections
/// (positive; negative; zero). An empty pattern or positive section gives FloatToStr text.
QString FormatFloat(const QString &pattern, long double value, const TFormatSettings &fs);

// ---- Dates to text ------------------------------------------------------------------------

/// Date-time patterns: c, d, dd, ddd, dddd, ddddd (short date), dddddd (long date),
/// m, mm, mmm, mmmm (minutes right after an h/hh), yy, yyyy, h, hh, n, nn, s, ss, z, zzz,
/// t (short time), tt (long time), am/pm, a/p, ampm (12-hour clock for every h), "/", ":",
/// 'text' and "text". Letters are case-insensitive; others are copied. Empty pattern = "c".
QString FormatDateTime(const QString &pattern, TDateTime dt, const TFormatSettings &fs);
/// Short date text ("ddddd").
QString DateToStr(TDateTime dt, const TFormatSettings &fs);
/// Long time text ("tt").
QString TimeToStr(TDateTime dt, const TFormatSettings &fs);
/// Short date and long time; only the date at midnight ("c").
QString DateTimeToStr(TDateTime dt, const TFormatSettings &fs);

// ---- Text to numbers and dates ------------------------------------------------------------

/// Optional blanks, sign, digits with DecimalSeparator (no grouping), optional exponent,
/// blanks. EConvertError "'TEXT' is not a valid floating point value" otherwise.
long double StrToFloat(const QString &text, const TFormatSettings &fs);
bool TryStrToFloat(const QString &text, long double &value, const TFormatSettings &fs);

/// Optional leading blanks, sign, then decimal digits, or "$"/"0x" and hexadecimal digits, to
/// the end of the text, within 64 bits. EConvertError "'TEXT' is not a valid integer value".
std::int64_t StrToInt64(const QString &text);
bool TryStrToInt64(const QString &text, std::int64_t &value);

/// Numbers separated by DateSeparator in the order of ShortDateFormat (day, month, year);
/// two numbers are month and day of the current year; years of one or two digits go through
/// TwoDigitYearCenturyWindow. EConvertError "'TEXT' is not a valid date".
TDateTime StrToDate(const QString &text, const TFormatSettings &fs);
/// Hour, minute, optional second and millisecond (after DecimalSeparator), separated by
/// TimeSeparator, then optional TimeAMString/TimePMString, "AM"/"PM" or "A"/"P".
/// EConvertError "'TEXT' is not a valid time".
TDateTime StrToTime(const QString &text, const TFormatSettings &fs);
/// A date, optionally followed by a time, or a time alone (date part 0).
/// EConvertError "'TEXT' is not a valid date and time".
TDateTime StrToDateTime(const QString &text, const TFormatSettings &fs);
bool TryStrToDate(const QString &text, TDateTime &value, const TFormatSettings &fs);
bool TryStrToTime(const QString &text, TDateTime &value, const TFormatSettings &fs);
bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &fs);

namespace detail {
/// A year of one or two digits read in `currentYear` with the given century window.
int expandTwoDigitYear(int year, int window, int currentYear);
} // namespace detail

} // namespace rp
