// SPDX-License-Identifier: MIT
// Date texts: FormatDateTime patterns, short/long date and time texts, locale date readers.
#include <reportengine/rpformat.h>

#include <QDate>

#include <cmath>

namespace rp {

namespace {

char16_t upperAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - 32) : u;
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

bool startsWithCi(QStringView s, qsizetype i, QLatin1StringView word)
{
    return s.mid(i).startsWith(word, Qt::CaseInsensitive);
}

// Length of the day-period specifier at `i` ("am/pm", "a/p", "ampm"), 0 if none.
qsizetype dayPeriodAt(QStringView s, qsizetype i)
{
    if (startsWithCi(s, i, QLatin1StringView("am/pm")))
        return 5;
    if (startsWithCi(s, i, QLatin1StringView("ampm")))
        return 4;
    if (startsWithCi(s, i, QLatin1StringView("a/p")))
        return 3;
    return 0;
}

// Hours are on the 12-hour clock when the pattern has a day period anywhere outside quotes,
// so "AMPM h:nn" counts as well as "h:nn am/pm".
bool hasDayPeriod(QStringView s)
{
    for (qsizetype i = 0; i < s.size();) {
        if (isQuote(s[i])) {
            const qsizetype close = s.indexOf(s[i], i + 1);
            i = close < 0 ? s.size() : close + 1;
            continue;
        }
        if (dayPeriodAt(s, i) > 0)
            return true;
        ++i;
    }
    return false;
}

QString padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

struct DateParts
{
    int year, month, day, hour, min, sec, msec, dayOfWeek;
    bool hasTime;
};

class DateFormatter
{
public:
    DateFormatter(const DateParts &parts, const TFormatSettings &fs) : p(parts), fs(fs) {}

    // Nested formats (c, ddddd, t ...) are expanded two levels deep at most, so a settings
    // record whose short date format names itself cannot recurse forever.
    void append(QStringView pattern, int level)
    {
        if (level > 2)
            return;
        const bool twelveHour = hasDayPeriod(pattern);
        char16_t last = 0;
        qsizetype i = 0;
        const qsizetype n = pattern.size();
        while (i < n) {
            const QChar c = pattern[i];
            const char16_t token = upperAscii(c);
            qsizetype count = 1;
            auto takeRun = [&] {
                while (i + count < n && upperAscii(pattern[i + count]) == token)
                    ++count;
            };
            switch (token) {
            case u'Y':
                takeRun();
                out += count <= 2 ? padded(p.year % 100, 2) : padded(p.year, 4);
                break;
            case u'M':
                takeRun();
                if (last == u'H' && count <= 2)
                    out += count == 1 ? QString::number(p.min) : padded(p.min, 2);
                else if (count == 1)
                    out += QString::number(p.month);
                else if (count == 2)
                    out += padded(p.month, 2);
                else if (p.month >= 1)
                    out += (count == 3 ? fs.ShortMonthNames : fs.LongMonthNames)[p.month - 1];
                break;
            case u'D':
                takeRun();
                if (count <= 2)
                    out += count == 1 ? QString::number(p.day) : padded(p.day, 2);
                else if (count <= 4 && p.dayOfWeek >= 1)
                    out += (count == 3 ? fs.ShortDayNames : fs.LongDayNames)[p.dayOfWeek - 1];
                else if (count == 5)
                    append(fs.ShortDateFormat, level + 1);
                else if (count > 5)
                    append(fs.LongDateFormat, level + 1);
                break;
            case u'H': {
                takeRun();
                int h = p.hour;
                if (twelveHour) {
                    h %= 12;
                    if (h == 0)
                        h = 12;
                }
                out += count == 1 ? QString::number(h) : padded(h, 2);
                break;
            }
            case u'N':
                takeRun();
                out += count == 1 ? QString::number(p.min) : padded(p.min, 2);
                break;
            case u'S':
                takeRun();
                out += count == 1 ? QString::number(p.sec) : padded(p.sec, 2);
                break;
            case u'Z':
                takeRun();
                out += count == 1 ? QString::number(p.msec) : padded(p.msec, 3);
                break;
            case u'T':
                takeRun();
                append(count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, level + 1);
                break;
            case u'C':
                takeRun();
                append(fs.ShortDateFormat, level + 1);
                if (p.hasTime) {
                    out += u' ';
                    append(fs.LongTimeFormat, level + 1);
                }
                break;
            case u'A':
                count = dayPeriodAt(pattern, i);
                if (count == 5 || count == 3) {
                    // "am/pm" and "a/p" print in the letter case they are written in.
                    const qsizetype half = count == 5 ? 2 : 1;
                    out += pattern.mid(p.hour >= 12 ? i + half + 1 : i, half);
                } else if (count == 4) {
                    out += p.hour >= 12 ? fs.TimePMString : fs.TimeAMString;
                } else {
                    count = 1;
                    out += c;
                }
                break;
            case u'/':
                if (!fs.DateSeparator.isNull())
                    out += fs.DateSeparator;
                break;
            case u':':
                if (!fs.TimeSeparator.isNull())
                    out += fs.TimeSeparator;
                break;
            case u'\'':
            case u'"': {
                const qsizetype close = pattern.indexOf(c, i + 1);
                const qsizetype end = close < 0 ? n : close;
                out += pattern.mid(i + 1, end - i - 1);
                count = (close < 0 ? n : close + 1) - i;
                break;
            }
            default:
                out += c;
            }
            if (token >= u'A' && token <= u'Z')
                last = token;
            i += count;
        }
    }

    QString out;

private:
    const DateParts &p;
    const TFormatSettings &fs;
};

// ---- Readers -------------------------------------------------------------------------------

enum class DateOrder
{
    MDY,
    DMY,
    YMD
};

DateOrder dateOrder(const QString &shortDateFormat)
{
    for (qsizetype i = 0; i < shortDateFormat.size(); ++i) {
        const QChar c = shortDateFormat[i];
        if (isQuote(c)) {
            const qsizetype close = shortDateFormat.indexOf(c, i + 1);
            if (close < 0)
                break;
            i = close;
            continue;
        }
        switch (upperAscii(c)) {
        case u'D':
            return DateOrder::DMY;
        case u'M':
            return DateOrder::MDY;
        case u'Y':
            return DateOrder::YMD;
        }
    }
    return DateOrder::MDY;
}

// A cursor over the text being read; every scan skips the blanks before what it reads.
struct Scanner
{
    QStringView s;
    qsizetype pos = 0;

    // Bidi marks that some locales put around separators count as blanks.
    void skipBlanks()
    {
        while (pos < s.size() && (s[pos].isSpace() || s[pos].category() == QChar::Other_Format))
            ++pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return pos >= s.size();
    }
    bool number(int &value, int &digits)
    {
        skipBlanks();
        value = 0;
        digits = 0;
        while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9' && digits < 9) {
            value = value * 10 + (s[pos].unicode() - u'0');
            ++digits;
            ++pos;
        }
        // More digits than any field can hold make the text invalid.
        return digits > 0 && !(pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9');
    }
    bool character(QChar c)
    {
        skipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool word(const QString &w)
    {
        skipBlanks();
        if (!w.isEmpty() && s.mid(pos).startsWith(w, Qt::CaseInsensitive)) {
            pos += w.size();
            return true;
        }
        return false;
    }
};

bool scanDate(Scanner &sc, const TFormatSettings &fs, TDateTime &date)
{
    int n1, n2, n3 = 0, l1, l2, l3 = 0;
    if (!sc.number(n1, l1) || !sc.character(fs.DateSeparator) || !sc.number(n2, l2))
        return false;
    const bool three = sc.character(fs.DateSeparator);
    if (three && !sc.number(n3, l3))
        return false;
    const DateOrder order = dateOrder(fs.ShortDateFormat);
    int y, m, d, yearDigits = 4;
    if (!three) {
        y = QDate::currentDate().year();
        if (order == DateOrder::DMY) {
            d = n1;
            m = n2;
        } else {
            m = n1;
            d = n2;
        }
    } else {
        switch (order) {
        case DateOrder::DMY:
            d = n1, m = n2, y = n3, yearDigits = l3;
            break;
        case DateOrder::YMD:
            y = n1, m = n2, d = n3, yearDigits = l1;
            break;
        default:
            m = n1, d = n2, y = n3, yearDigits = l3;
        }
        if (yearDigits <= 2)
            y = detail::expandTwoDigitYear(y, fs.TwoDigitYearCenturyWindow,
                                           QDate::currentDate().year());
        // Formats such as "yyyy.mm.dd." end with a separator.
        const QString trimmedFormat = fs.ShortDateFormat.trimmed();
        if (trimmedFormat.endsWith(u'/') || trimmedFormat.endsWith(fs.DateSeparator))
            sc.character(fs.DateSeparator);
    }
    return TryEncodeDate(y, m, d, date);
}

// -1 for none, 0 for the morning, 12 for the afternoon.
int scanDayPeriod(Scanner &sc, const TFormatSettings &fs)
{
    const qsizetype start = sc.pos;
    // Longer words first, so "PM" is not read as "P" followed by a stray "M".
    const QString words[] = {fs.TimeAMString,      fs.TimePMString,     QStringLiteral("AM"),
                             QStringLiteral("PM"), QStringLiteral("A"), QStringLiteral("P")};
    const int hours[] = {0, 12, 0, 12, 0, 12};
    int best = -1;
    qsizetype bestLength = 0;
    for (int i = 0; i < 6; ++i) {
        sc.pos = start;
        if (sc.word(words[i]) && sc.pos - start > bestLength) {
            best = hours[i];
            bestLength = sc.pos - start;
        }
    }
    sc.pos = start + bestLength;
    return best;
}

// Milliseconds from the digits after a decimal separator: ".5" is 500 ms.
int fractionMilliseconds(int fraction, int digits)
{
    for (; digits < 3; ++digits)
        fraction *= 10;
    for (; digits > 3; --digits)
        fraction /= 10;
    return fraction;
}

// [period] hour sep minute [sep second [decimal fraction]] [period]
bool scanTime(Scanner &sc, const TFormatSettings &fs, TDateTime &time)
{
    int baseHour = scanDayPeriod(sc, fs);
    int hour, min, sec = 0, msec = 0, digits;
    if (!sc.number(hour, digits) || !sc.character(fs.TimeSeparator) || !sc.number(min, digits))
        return false;
    if (sc.character(fs.TimeSeparator)) {
        if (!sc.number(sec, digits))
            return false;
        const qsizetype beforePoint = sc.pos;
        int fraction;
        if (sc.character(fs.DecimalSeparator)) {
            if (sc.number(fraction, digits))
                msec = fractionMilliseconds(fraction, digits);
            else
                sc.pos = beforePoint;
        }
    }
    if (baseHour < 0)
        baseHour = scanDayPeriod(sc, fs);
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        hour = hour % 12 + baseHour;
    }
    return hour < 24 && TryEncodeTime(hour, min, sec, msec, time);
}

[[noreturn]] void throwConvert(const char *format, const QString &text)
{
    throw EConvertError(QString::fromLatin1(format).arg(text).toStdString());
}

DateParts partsOf(TDateTime dt)
{
    DateParts p{};
    DecodeDate(dt, p.year, p.month, p.day);
    DecodeTime(dt, p.hour, p.min, p.sec, p.msec);
    p.dayOfWeek = DayOfWeek(dt);
    p.hasTime = p.hour || p.min || p.sec || p.msec;
    return p;
}

} // namespace

namespace detail {

int expandTwoDigitYear(int year, int window, int currentYear)
{
    const int base = currentYear - window;
    year += base / 100 * 100;
    if (window > 0 && year < base)
        year += 100;
    return year;
}

} // namespace detail

QString FormatDateTime(const QString &pattern, TDateTime dt, const TFormatSettings &fs)
{
    const DateParts parts = partsOf(dt);
    DateFormatter f(parts, fs);
    f.append(pattern.isEmpty() ? QStringLiteral("c") : pattern, 0);
    return f.out;
}

QString DateToStr(TDateTime dt, const TFormatSettings &fs)
{
    return FormatDateTime(QStringLiteral("ddddd"), dt, fs);
}

QString TimeToStr(TDateTime dt, const TFormatSettings &fs)
{
    return FormatDateTime(QStringLiteral("tt"), dt, fs);
}

QString DateTimeToStr(TDateTime dt, const TFormatSettings &fs)
{
    return FormatDateTime(QStringLiteral("c"), dt, fs);
}

bool TryStrToDate(const QString &text, TDateTime &value, const TFormatSettings &fs)
{
    Scanner sc{text};
    TDateTime d;
    if (!scanDate(sc, fs, d) || !sc.atEnd())
        return false;
    value = d;
    return true;
}

bool TryStrToTime(const QString &text, TDateTime &value, const TFormatSettings &fs)
{
    Scanner sc{text};
    TDateTime t;
    if (!scanTime(sc, fs, t) || !sc.atEnd())
        return false;
    value = t;
    return true;
}

bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &fs)
{
    Scanner sc{text};
    TDateTime d, t = 0;
    if (scanDate(sc, fs, d)) {
        if (!sc.atEnd() && (!scanTime(sc, fs, t) || !sc.atEnd()))
            return false;
        // Before the epoch the time still counts forward from that day's midnight.
        value = d < 0 ? d - t : d + t;
        return true;
    }
    return TryStrToTime(text, value, fs);
}

TDateTime StrToDate(const QString &text, const TFormatSettings &fs)
{
    TDateTime v;
    if (!TryStrToDate(text, v, fs))
        throwConvert("'%1' is not a valid date", text);
    return v;
}

TDateTime StrToTime(const QString &text, const TFormatSettings &fs)
{
    TDateTime v;
    if (!TryStrToTime(text, v, fs))
        throwConvert("'%1' is not a valid time", text);
    return v;
}

TDateTime StrToDateTime(const QString &text, const TFormatSettings &fs)
{
    TDateTime v;
    if (!TryStrToDateTime(text, v, fs))
        throwConvert("'%1' is not a valid date and time", text);
    return v;
}

} // namespace rp
