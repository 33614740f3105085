// SPDX-License-Identifier: MIT
// Number and date texts in a dot-decimal (US) and a comma-decimal (Italian, German) record.
#include <reportengine/rpformat.h>

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

using namespace rp;

QT_BEGIN_NAMESPACE
// Readable failure messages for texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

template <typename E>
void expectThrowMsg(const std::function<void()> &fn, const std::string &message)
{
    try {
        fn();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

// Built by hand so that the cases do not depend on the machine's locale data.
TFormatSettings us()
{
    return TFormatSettings();
}

TFormatSettings italian()
{
    TFormatSettings fs;
    fs.DecimalSeparator = u',';
    fs.ThousandSeparator = u'.';
    fs.CurrencyString = QStringLiteral("€");
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    fs.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd d mmmm yyyy");
    fs.ShortTimeFormat = QStringLiteral("hh:nn");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.LongMonthNames = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                         "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    fs.ShortMonthNames = {"gen", "feb", "mar", "apr", "mag", "giu",
                          "lug", "ago", "set", "ott", "nov", "dic"};
    fs.LongDayNames = {"domenica", "lunedì",  "martedì", "mercoledì",
                       "giovedì",  "venerdì", "sabato"};
    fs.ShortDayNames = {"dom", "lun", "mar", "mer", "gio", "ven", "sab"};
    return fs;
}

TFormatSettings german()
{
    TFormatSettings fs = italian();
    fs.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    fs.DateSeparator = u'.';
    return fs;
}

// 19 October 2023 (a Thursday), 13:23:56.789.
TDateTime sample()
{
    return EncodeDate(2023, 10, 19) + EncodeTime(13, 23, 56, 789);
}

} // namespace

TEST(format_general, fifteen_significant_digits_and_scientific_switch)
{
    const TFormatSettings en = us(), it = italian();
    EXPECT_EQ(FloatToStr(0, en), "0");
    EXPECT_EQ(FloatToStr(0.1L, en), "0.1");
    EXPECT_EQ(FloatToStr(0.1L, it), "0,1");
    EXPECT_EQ(FloatToStr(0.1, en), "0.1"); // the double's binary noise stays below 15 digits
    EXPECT_EQ(FloatToStr(-2.5L, it), "-2,5");
    EXPECT_EQ(FloatToStr(1234567.125L, en), "1234567.125");
    EXPECT_EQ(FloatToStr(1.0L / 3, en), "0.333333333333333");
    EXPECT_EQ(FloatToStr(2.0L / 3, en), "0.666666666666667");
    EXPECT_EQ(FloatToStr(123456789012345.0L, en), "123456789012345");
    EXPECT_EQ(FloatToStr(1234567890123456.0L, en), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(1e20L, en), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-7L, it), "1,5E-7");
    EXPECT_EQ(FloatToStr(0.0001L, en), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001L, en), "1E-5");
    EXPECT_EQ(FloatToStr(-0.0L, en), "0");
    EXPECT_EQ(FloatToStr(NAN, en), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY, en), "-INF");
    // Minimum exponent digits.
    EXPECT_EQ(FloatToStrF(1.5e-7L, ffGeneral, 15, 3, en), "1.5E-007");
    // Eighteen digits are what the extended type holds.
    EXPECT_EQ(FloatToStrF(1.0L / 3, ffGeneral, 30, 0, en), "0.333333333333333333");
}

TEST(format_float_formats, exponent_fixed_number_currency)
{
    const TFormatSettings en = us(), it = italian();
    EXPECT_EQ(FloatToStrF(1234.5L, ffExponent, 4, 2, en), "1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.000123L, ffExponent, 3, 0, it), "-1,23E-4");
    EXPECT_EQ(FloatToStrF(0, ffExponent, 3, 2, en), "0.00E+00");

    // Digits beyond the precision are zeros.
    EXPECT_EQ(FloatToStrF(345.6789L, ffFixed, 5, 3, en), "345.680");
    EXPECT_EQ(FloatToStrF(345.6789L, ffFixed, 18, 2, it), "345,68");
    EXPECT_EQ(FloatToStrF(2.675L, ffFixed, 18, 2, en), "2.68"); // halves away from zero
    EXPECT_EQ(FloatToStrF(-2.5L, ffFixed, 18, 0, en), "-3");
    EXPECT_EQ(FloatToStrF(0.5L, ffFixed, 18, 0, en), "1");
    EXPECT_EQ(FloatToStrF(12, ffFixed, 18, 0, en), "12");
    EXPECT_EQ(FloatToStrF(0.004L, ffFixed, 18, 2, en), "0.00");
    EXPECT_EQ(FloatToStrF(-0.004L, ffFixed, 18, 2, en), "0.00"); // no sign on a zero
    EXPECT_EQ(FloatToStrF(99.996L, ffFixed, 18, 2, en), "100.00");
    // More whole digits than the precision: general text instead.
    EXPECT_EQ(FloatToStrF(1e20L, ffFixed, 15, 2, en), "1E20");

    EXPECT_EQ(FloatToStrF(1234567.891L, ffNumber, 18, 2, en), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(1234567.891L, ffNumber, 18, 2, it), "1.234.567,89");
    EXPECT_EQ(FloatToStrF(-999.5L, ffNumber, 18, 0, en), "-1,000");
    EXPECT_EQ(FloatToStrF(123, ffNumber, 18, 2, en), "123.00");
    TFormatSettings ungrouped = en;
    ungrouped.ThousandSeparator = QChar();
    EXPECT_EQ(FloatToStrF(1234567, ffNumber, 18, 0, ungrouped), "1234567");

    EXPECT_EQ(FloatToStrF(1234.5L, ffCurrency, 18, 2, en), "$1,234.50");
    EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, en), "($1,234.50)");
    EXPECT_EQ(FloatToStrF(1234.5L, ffCurrency, 18, 2, it), "1.234,50 €");
    EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, it), "-1.234,50 €");
    // Every negative placement.
    const char *const negative[] = {
        "($1.00)", "-$1.00",  "$-1.00",  "$1.00-",  "(1.00$)", "-1.00$",  "1.00-$",   "1.00$-",
        "-1.00 $", "-$ 1.00", "1.00 $-", "$ 1.00-", "$ -1.00", "1.00- $", "($ 1.00)", "(1.00 $)"};
    TFormatSettings fs = en;
    for (int i = 0; i < 16; ++i) {
        fs.NegCurrFormat = i;
        EXPECT_EQ(FloatToStrF(-1, ffCurrency, 18, 2, fs), negative[i]) << i;
    }
    const char *const positive[] = {"$1", "1$", "$ 1", "1 $"};
    for (int i = 0; i < 4; ++i) {
        fs.CurrencyFormat = i;
        EXPECT_EQ(FloatToStrF(1, ffCurrency, 18, 0, fs), positive[i]) << i;
    }
}

TEST(format_pattern, documented_table)
{
    // Pattern, then 1234, -1234, 0.5 and 0 in the US record.
    struct Row
    {
        const char *pattern, *a, *b, *c, *d;
    };
    const Row rows[] = {
        {"", "1234", "-1234", "0.5", "0"},
        {"0", "1234", "-1234", "1", "0"},
        {"0.00", "1234.00", "-1234.00", "0.50", "0.00"},
        {"#.##", "1234", "-1234", ".5", ""},
        {"#,##0.00", "1,234.00", "-1,234.00", "0.50", "0.00"},
        {"#,##0.00;(#,##0.00)", "1,234.00", "(1,234.00)", "0.50", "0.00"},
        {"#,##0.00;;Zero", "1,234.00", "-1,234.00", "0.50", "Zero"},
        {"0.000E+00", "1.234E+03", "-1.234E+03", "5.000E-01", "0.000E+00"},
        {"#.###E-0", "1.234E3", "-1.234E3", "5E-1", "0E0"},
    };
    const TFormatSettings en = us();
    for (const Row &r : rows) {
        const QString p = QString::fromLatin1(r.pattern);
        EXPECT_EQ(FormatFloat(p, 1234, en), r.a) << r.pattern;
        EXPECT_EQ(FormatFloat(p, -1234, en), r.b) << r.pattern;
        EXPECT_EQ(FormatFloat(p, 0.5L, en), r.c) << r.pattern;
        EXPECT_EQ(FormatFloat(p, 0, en), r.d) << r.pattern;
    }
    // The same patterns in a comma-decimal record: the pattern keeps "." and ",".
    const TFormatSettings it = italian();
    EXPECT_EQ(FormatFloat("#,##0.00", -1234, it), "-1.234,00");
    EXPECT_EQ(FormatFloat("#.##", 0.5L, it), ",5");
    EXPECT_EQ(FormatFloat("0.000E+00", 1234, it), "1,234E+03");
    EXPECT_EQ(FormatFloat("", 0.5L, it), "0,5");
}

TEST(format_pattern, places_literals_sections_and_rounding)
{
    const TFormatSettings en = us(), it = italian();
    EXPECT_EQ(FormatFloat("###.###", 12.3456L, en), "12.346");
    EXPECT_EQ(FormatFloat("000.000", 12.3456L, en), "012.346");
    EXPECT_EQ(FormatFloat("#.###", 12.3L, en), "12.3");
    EXPECT_EQ(FormatFloat("#,#.#", 1234567, en), "1,234,567");
    EXPECT_EQ(FormatFloat("0,0.0", 1234567, it), "1.234.567,0");
    EXPECT_EQ(FormatFloat("0.00E+0", 1234567, en), "1.23E+6");
    EXPECT_EQ(FormatFloat("0.00E+00", 1234567, en), "1.23E+06");
    EXPECT_EQ(FormatFloat("0.00e-00", 0.000123L, en), "1.23e-04");
    EXPECT_EQ(FormatFloat("00.0;(0.00)", 1.123L, en), "01.1");
    EXPECT_EQ(FormatFloat("00.0;(0.00)", -1.123L, en), "(1.12)");
    // Quoted text is copied, specifier characters inside it included; so are other characters.
    EXPECT_EQ(FormatFloat("'Total: '#,##0.00\" EUR\"", 1234.5L, it), "Total: 1.234,50 EUR");
    EXPECT_EQ(FormatFloat("\"#0.;\"0", 7, en), "#0.;7");
    EXPECT_EQ(FormatFloat("$#,##0.00", -5, en), "-$5.00");
    EXPECT_EQ(FormatFloat("0.0%", 12.34L, en), "12.3%");
    // Only the first "." counts; grouping commas may stand anywhere left of it.
    EXPECT_EQ(FormatFloat("0.0.0", 1.25L, en), "1.25");
    EXPECT_EQ(FormatFloat("0,", 1234567, en), "1,234,567");
    // Halves away from zero, on the value's own decimal digits.
    EXPECT_EQ(FormatFloat("0.00", 2.675L, en), "2.68");
    EXPECT_EQ(FormatFloat("0", -2.5L, en), "-3");
    // A value that rounds to zero takes the zero section, without a sign.
    EXPECT_EQ(FormatFloat("0.00", -0.001L, en), "0.00");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'nil'", -0.01L, en), "nil");
    // An empty negative section falls back on the positive one, with the sign.
    EXPECT_EQ(FormatFloat("0.0;", -1.5L, en), "-1.5");
    // Values too large for fixed places use the general text.
    EXPECT_EQ(FormatFloat("0", 1e20L, en), "1E20");
    EXPECT_EQ(FormatFloat("0.00", 123456789012345678.0L, en), "123456789012345678.00");
    // Digits with no place of their own come before the first place.
    EXPECT_EQ(FormatFloat("x0y", 1234, en), "x1234y");
    EXPECT_EQ(FormatFloat(".00", 12.5L, en), "12.50");
    EXPECT_EQ(FormatFloat("0.00", NAN, en), "NAN");
}

TEST(format_readers, numbers_follow_the_decimal_separator)
{
    const TFormatSettings en = us(), it = italian();
    EXPECT_EQ(StrToFloat("1.5", en), 1.5L);
    EXPECT_EQ(StrToFloat(" -1,5 ", it), -1.5L);
    EXPECT_EQ(StrToFloat("+.5", en), 0.5L);
    EXPECT_EQ(StrToFloat("5.", en), 5.0L);
    EXPECT_EQ(StrToFloat("1e3", en), 1000.0L);
    EXPECT_EQ(StrToFloat("2,5E-2", it), 0.025L);
    // Extended precision: the text's own decimals survive a round trip through FFIX.
    EXPECT_EQ(FloatToStrF(StrToFloat("2,675", it), ffFixed, 18, 2, it), "2,68");
    EXPECT_EQ(FloatToStr(StrToFloat("0.1", en) * 3, en), "0.3");

    expectThrowMsg<EConvertError>([&] { StrToFloat("1.5", it); },
                                  "'1.5' is not a valid floating point value");
    expectThrowMsg<EConvertError>([&] { StrToFloat("abc", en); },
                                  "'abc' is not a valid floating point value");
    for (const char *bad : {"", " ", "1,000", "1.2.3", "e5", "1e", ".", "-", "1e99999", "0x10"})
        EXPECT_THROW(StrToFloat(bad, en), EConvertError) << bad;
    long double v = 7;
    EXPECT_FALSE(TryStrToFloat("x", v, en));
    EXPECT_EQ(v, 7.0L);
}

TEST(format_readers, integers_within_64_bits)
{
    EXPECT_EQ(StrToInt64("123"), 123);
    EXPECT_EQ(StrToInt64("  -42"), -42);
    EXPECT_EQ(StrToInt64("+7"), 7);
    EXPECT_EQ(StrToInt64("$FF"), 255);
    EXPECT_EQ(StrToInt64("0x1f"), 31);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    expectThrowMsg<EConvertError>([] { StrToInt64("2.5"); }, "'2.5' is not a valid integer value");
    expectThrowMsg<EConvertError>([] { StrToInt64("x"); }, "'x' is not a valid integer value");
    for (const char *bad :
         {"", "9223372036854775808", "-9223372036854775809", "12 ", "1e3", "$", "0x", "--1", "$1G"})
        EXPECT_THROW(StrToInt64(bad), EConvertError) << bad;
}

TEST(format_datetime, encode_decode_and_qt_conversions)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2023, 10, 19), 45218);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeTime(24, 0, 0, 0), 1.0);
    for (auto [y, m, d] : {std::tuple{2023, 2, 29},
                           {2023, 13, 1},
                           {0, 1, 1},
                           {10000, 1, 1},
                           {2023, 4, 31},
                           {2023, 1, 0}})
        expectThrowMsg<EConvertError>([=] { EncodeDate(y, m, d); },
                                      "Invalid argument to date encode");
    for (auto [h, n, s, z] :
         {std::tuple{24, 0, 0, 1}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}})
        expectThrowMsg<EConvertError>([=] { EncodeTime(h, n, s, z); },
                                      "Invalid argument to time encode");

    int y, m, d, h, n, s, z;
    DecodeDate(sample(), y, m, d);
    DecodeTime(sample(), h, n, s, z);
    EXPECT_EQ(std::tuple(y, m, d, h, n, s, z), std::tuple(2023, 10, 19, 13, 23, 56, 789));
    // Before the epoch the fraction still counts forward from midnight.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(std::tuple(y, m, d, h), std::tuple(1899, 12, 29, 6));
    // A time that rounds up to midnight belongs to the next day.
    DecodeDate(45218.9999999999, y, m, d);
    DecodeTime(45218.9999999999, h, n, s, z);
    EXPECT_EQ(std::tuple(d, h, n, s, z), std::tuple(20, 0, 0, 0, 0));
    DecodeDate(1e9, y, m, d);
    EXPECT_EQ(std::tuple(y, m, d), std::tuple(0, 0, 0));
    EXPECT_EQ(DayOfWeek(sample()), 5); // Thursday
    EXPECT_EQ(DayOfWeek(0), 7);        // 1899-12-30 was a Saturday

    const QDateTime qdt(QDate(2023, 10, 19), QTime(13, 23, 56, 789));
    EXPECT_DOUBLE_EQ(DateTimeFromQDateTime(qdt), sample());
    EXPECT_EQ(QDateTimeFromDateTime(sample()), qdt);
    EXPECT_EQ(
        QDateTimeFromDateTime(DateTimeFromQDateTime(QDateTime(QDate(1850, 3, 1), QTime(18, 0)))),
        QDateTime(QDate(1850, 3, 1), QTime(18, 0)));
    EXPECT_FALSE(QDateTimeFromDateTime(1e9).isValid());
    const TDateTime today = Date();
    const TDateTime now = Now(); // may already be tomorrow when run at midnight
    EXPECT_TRUE(std::trunc(now) == today || std::trunc(now) == today + 1);
    EXPECT_EQ(Date(), std::trunc(Date()));
    EXPECT_LT(Time(), 1.0);
}

TEST(format_datetime, patterns)
{
    const TFormatSettings en = us(), it = italian(), de = german();
    const TDateTime t = sample();
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", t, en), "19/10/2023 13:23:56");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", t, de), "19.10.2023 13:23:56");
    EXPECT_EQ(FormatDateTime("d/m/yy", EncodeDate(2005, 3, 7), en), "7/3/05");
    EXPECT_EQ(FormatDateTime("y", EncodeDate(2005, 3, 7), en), "05");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", t, en), "Thu Thursday Oct October");
    EXPECT_EQ(FormatDateTime("dddd d mmmm yyyy", t, it), "giovedì 19 ottobre 2023");
    EXPECT_EQ(FormatDateTime("DD-MMM-YYYY", t, it), "19-ott-2023"); // letters in any case
    // m right after h or hh is the minute, even across a separator.
    EXPECT_EQ(FormatDateTime("hh:mm", t, en), "13:23");
    EXPECT_EQ(FormatDateTime("h:m mm", t, en), "13:23 10");
    EXPECT_EQ(FormatDateTime("n nn s ss z zzz", EncodeTime(1, 2, 3, 4), en), "2 02 3 03 4 004");
    // Day periods put every hour on the 12-hour clock and keep the pattern's letter case.
    EXPECT_EQ(FormatDateTime("h:nn am/pm", t, en), "1:23 pm");
    EXPECT_EQ(FormatDateTime("hh:nn AM/PM", EncodeTime(0, 5, 0, 0), en), "12:05 AM");
    EXPECT_EQ(FormatDateTime("h a/p", EncodeTime(12, 0, 0, 0), en), "12 p");
    EXPECT_EQ(FormatDateTime("h A/P", EncodeTime(11, 0, 0, 0), en), "11 A");
    TFormatSettings periods = it;
    periods.TimeAMString = QStringLiteral("mattino");
    periods.TimePMString = QStringLiteral("sera");
    EXPECT_EQ(FormatDateTime("ampm h", t, periods), "sera 1");
    EXPECT_EQ(FormatDateTime("h", t, periods), "13");
    // Quoted text is copied as it stands.
    EXPECT_EQ(FormatDateTime("'day' d \"of\" mmmm", t, en), "day 19 of October");
    EXPECT_EQ(FormatDateTime("\"hh:mm\" h", t, en), "hh:mm 13");
    EXPECT_EQ(FormatDateTime("'unclosed d", t, en), "unclosed d");
    // Composite specifiers.
    EXPECT_EQ(FormatDateTime("ddddd", t, en), "10/19/2023");
    EXPECT_EQ(FormatDateTime("ddddd", t, de), "19.10.2023");
    EXPECT_EQ(FormatDateTime("dddddd", t, en), "Thursday, October 19, 2023");
    EXPECT_EQ(FormatDateTime("t", t, en), "1:23 PM");
    EXPECT_EQ(FormatDateTime("tt", t, it), "13:23:56");
    EXPECT_EQ(FormatDateTime("c", t, it), "19/10/2023 13:23:56");
    EXPECT_EQ(FormatDateTime("", EncodeDate(2023, 10, 19), it), "19/10/2023");
    EXPECT_EQ(DateToStr(t, en), "10/19/2023");
    EXPECT_EQ(TimeToStr(t, en), "1:23:56 PM");
    EXPECT_EQ(DateTimeToStr(t, de), "19.10.2023 13:23:56");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2023, 10, 19), de), "19.10.2023");
    // A short date format that names itself stops instead of recursing.
    TFormatSettings loop = en;
    loop.ShortDateFormat = QStringLiteral("ddddd d");
    EXPECT_EQ(DateToStr(t, loop), " 19 19");
    // The documented meeting example.
    EXPECT_EQ(FormatDateTime("\"The meeting is on \"dddd, mmmm d, yyyy\" at \"hh:mm AM/PM",
                             StrToDateTime("2/15/95 10:30am", en), en),
              "The meeting is on Wednesday, February 15, 1995 at 10:30 AM");
}

TEST(format_datetime, date_readers)
{
    const TFormatSettings en = us(), it = italian(), de = german();
    const TDateTime day = EncodeDate(2023, 10, 19);
    EXPECT_EQ(StrToDate("10/19/2023", en), day);
    EXPECT_EQ(StrToDate("19/10/2023", it), day);
    EXPECT_EQ(StrToDate(" 19 . 10 . 2023 ", de), day);
    TFormatSettings ymd = de;
    ymd.ShortDateFormat = QStringLiteral("yyyy. mm. dd.");
    EXPECT_EQ(StrToDate("2023. 10. 19.", ymd), day);
    EXPECT_EQ(StrToDate("2023.10.19", ymd), day);
    // Two numbers are a day and a month of this year.
    const int year = QDate::currentDate().year();
    EXPECT_EQ(StrToDate("19/10", it), EncodeDate(year, 10, 19));
    EXPECT_EQ(StrToDate("10/19", en), EncodeDate(year, 10, 19));
    // Years of one or two digits fall in the window around the current year; others stand.
    EXPECT_EQ(detail::expandTwoDigitYear(30, 50, 2026), 2030);
    EXPECT_EQ(detail::expandTwoDigitYear(76, 50, 2026), 1976);
    EXPECT_EQ(detail::expandTwoDigitYear(75, 50, 2026), 2075);
    EXPECT_EQ(detail::expandTwoDigitYear(99, 0, 2026), 2099);
    EXPECT_EQ(detail::expandTwoDigitYear(5, 10, 2026), 2105);
    EXPECT_EQ(StrToDate("19/10/0023", it), EncodeDate(23, 10, 19));
    TFormatSettings window = it;
    window.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(StrToDate("1/2/3", window), EncodeDate(year / 100 * 100 + 3, 2, 1));

    expectThrowMsg<EConvertError>([&] { StrToDate("x", en); }, "'x' is not a valid date");
    expectThrowMsg<EConvertError>([&] { StrToDate("31/02/2023", it); },
                                  "'31/02/2023' is not a valid date");
    expectThrowMsg<EConvertError>([&] { StrToDate("19.10.2023", it); },
                                  "'19.10.2023' is not a valid date");
    for (const char *bad :
         {"", "19", "19/10/2023 x", "19/10/", "1234567890/1/1", "19/10/2023 10:00"})
        EXPECT_THROW(StrToDate(bad, it), EConvertError) << bad;
}

TEST(format_datetime, time_and_date_time_readers)
{
    const TFormatSettings en = us(), it = italian(), de = german();
    EXPECT_DOUBLE_EQ(StrToTime("13:23:56", it), EncodeTime(13, 23, 56, 0));
    EXPECT_DOUBLE_EQ(StrToTime("13:23", it), EncodeTime(13, 23, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("13:23:56,5", it), EncodeTime(13, 23, 56, 500));
    EXPECT_DOUBLE_EQ(StrToTime("13:23:56.789", en), EncodeTime(13, 23, 56, 789));
    EXPECT_DOUBLE_EQ(StrToTime("1:30 PM", en), EncodeTime(13, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 am", en), 0);
    EXPECT_DOUBLE_EQ(StrToTime("12:15p", en), EncodeTime(12, 15, 0, 0));
    TFormatSettings periods = it;
    periods.TimeAMString = QStringLiteral("mattino");
    periods.TimePMString = QStringLiteral("pomeriggio");
    EXPECT_DOUBLE_EQ(StrToTime("pomeriggio 3:00", periods), EncodeTime(15, 0, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("3:00 Mattino", periods), EncodeTime(3, 0, 0, 0));

    expectThrowMsg<EConvertError>([&] { StrToTime("25:00", it); }, "'25:00' is not a valid time");
    for (const char *bad :
         {"", "13", "7 pm", "13:", "13:60", "13:00 PM", "0:30 AM", "1:2:3:4", "x"})
        EXPECT_THROW(StrToTime(bad, en), EConvertError) << bad;

    EXPECT_DOUBLE_EQ(StrToDateTime("19/10/2023 13:23:56", it),
                     EncodeDate(2023, 10, 19) + EncodeTime(13, 23, 56, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("19.10.2023", de), EncodeDate(2023, 10, 19));
    EXPECT_DOUBLE_EQ(StrToDateTime("10:30", de), EncodeTime(10, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("12/29/1899 6:00 AM", en), -1.25);
    // What DateTimeToStr writes reads back.
    const TDateTime t = EncodeDate(2023, 10, 19) + EncodeTime(13, 23, 56, 0);
    for (const TFormatSettings &fs : {en, it, de})
        EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t, fs), fs), t);
    expectThrowMsg<EConvertError>([&] { StrToDateTime("abc", it); },
                                  "'abc' is not a valid date and time");
    expectThrowMsg<EConvertError>([&] { StrToDateTime("19/10/2023 25:00", it); },
                                  "'19/10/2023 25:00' is not a valid date and time");
}

TEST(format_settings, from_qt_locale_data)
{
    const TFormatSettings en = FormatSettingsFromLocale(QLocale("en_US"));
    EXPECT_EQ(en.DecimalSeparator, u'.');
    EXPECT_EQ(en.ThousandSeparator, u',');
    EXPECT_EQ(en.CurrencyString, "$");
    EXPECT_EQ(en.CurrencyFormat, 0);
    EXPECT_EQ(en.CurrencyDecimals, 2);
    EXPECT_EQ(en.DateSeparator, u'/');
    EXPECT_EQ(en.TimeSeparator, u':');
    EXPECT_EQ(en.ShortDateFormat, "m/d/yyyy"); // four-digit year in the short form
    EXPECT_EQ(en.LongMonthNames[0], "January");
    EXPECT_EQ(en.ShortDayNames[0], "Sun");
    EXPECT_EQ(en.TimeAMString, "AM");
    EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, en),
              QLocale("en_US").toCurrencyString(-1234.5));

    const QLocale itLocale("it_IT");
    const TFormatSettings it = FormatSettingsFromLocale(itLocale);
    EXPECT_EQ(it.DecimalSeparator, u',');
    EXPECT_EQ(it.ThousandSeparator, u'.');
    EXPECT_EQ(it.CurrencyString, "€");
    EXPECT_EQ(it.ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(it.LongDayNames[4], itLocale.dayName(4));
    // The record places the symbol with a plain space where the locale data has a no-break one.
    EXPECT_EQ(FloatToStrF(1234.5L, ffCurrency, 18, 2, it),
              itLocale.toCurrencyString(1234.5).replace(QChar(0xA0), u' '));
    EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, it),
              itLocale.toCurrencyString(-1234.5).replace(QChar(0xA0), u' '));
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5L, it), itLocale.toString(1234.5, 'f', 2));

    // Qt's C locale (LANG=C) has month names in its short date: the neutral record instead.
    const TFormatSettings c = FormatSettingsFromLocale(QLocale::c());
    EXPECT_EQ(c.ShortDateFormat, "MM/dd/yyyy");
    EXPECT_EQ(c.LongTimeFormat, "HH:mm:ss");
}

TEST(format_settings, every_qt_locale_reads_back_its_own_texts)
{
    // Some locales write words into dates and times ("19.10.2023 г.", "13 h 23"), spell the
    // units out in long times, or put bidi marks beside separators; their records must still
    // read back what they write.
    const TDateTime day = EncodeDate(2023, 10, 19);
    const TDateTime t = day + EncodeTime(13, 23, 56, 0);
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    EXPECT_GT(locales.size(), 100);
    for (const QLocale &locale : locales) {
        const TFormatSettings fs = FormatSettingsFromLocale(locale);
        const std::string name = locale.name().toStdString();
        TDateTime back = -1;
        EXPECT_TRUE(TryStrToDate(DateToStr(t, fs), back, fs) && back == day)
            << name << " " << DateToStr(t, fs).toStdString();
        EXPECT_TRUE(TryStrToTime(TimeToStr(t, fs), back, fs) && std::abs(back - (t - day)) < 1e-9)
            << name << " " << TimeToStr(t, fs).toStdString();
        EXPECT_TRUE(TryStrToDateTime(DateTimeToStr(t, fs), back, fs) && std::abs(back - t) < 1e-9)
            << name << " " << DateTimeToStr(t, fs).toStdString();
        long double f = 0;
        EXPECT_TRUE(TryStrToFloat(FloatToStr(-1234.5L, fs), f, fs) && f == -1234.5L) << name;
    }
}

TEST(format_settings, invariant_and_process_default)
{
    const TDateTime t = EncodeDate(2023, 10, 19) + EncodeTime(13, 23, 56, 0);
    EXPECT_EQ(FloatToStr(0.5L, InvariantFormatSettings()), "0.5");
    EXPECT_EQ(DateTimeToStr(t, InvariantFormatSettings()), "10/19/2023 13:23:56");
    EXPECT_EQ(DefaultFormatSettings().DecimalSeparator,
              FormatSettingsFromLocale(QLocale()).DecimalSeparator);
}

TEST(format_robustness, arbitrary_patterns_and_texts)
{
    // Patterns come from templates; none may crash, hang or blow up the text.
    const QString alphabet = QStringLiteral("0#.,Ee+-;'\"x%dmyhnsztcAaMmPp/: ");
    const TFormatSettings en = us(), it = italian();
    const long double values[] = {0,        -0.0L, 1234.5L, -1e-20L,     1e300L,
                                  -1e4000L, 0.5L,  NAN,     999999.9999L};
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int round = 0; round < 20000; ++round) {
        QString pattern;
        const int length = int(next() % 24);
        for (int i = 0; i < length; ++i)
            pattern += alphabet[next() % alphabet.size()];
        const long double v = values[next() % std::size(values)];
        const TFormatSettings &fs = round % 2 ? en : it;
        EXPECT_LT(FormatFloat(pattern, v, fs).size(), 400) << pattern.toStdString();
        EXPECT_LT(FormatDateTime(pattern, double(v) / 1e290, fs).size(), 2000)
            << pattern.toStdString();
        TDateTime d;
        long double f;
        TryStrToDateTime(pattern, d, fs);
        TryStrToFloat(pattern, f, fs);
    }
    // Moments outside the calendar print as zeros rather than garbage.
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", 1e12, us()), "0000-00-00");
    EXPECT_EQ(FormatDateTime("ddd mmm", NAN, us()), " ");
}
