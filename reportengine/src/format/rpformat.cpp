// SPDX-License-Identifier: MIT
// Number and date texts: format settings from Qt locales, TDateTime calendar arithmetic.
#include <reportengine/rpformat.h>

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace rp {

namespace {

const char *const kDateEncodeError = "Invalid argument to date encode";
const char *const kTimeEncodeError = "Invalid argument to time encode";

// Julian day of 1899-12-30, day 0 of TDateTime.
constexpr qint64 kEpochJulianDay = 2415019;
constexpr qint64 kMSecsPerDay = 86400000;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Qt date/time patterns (CLDR letters) translated into FormatDateTime patterns. Letters Qt
// treats as literal are quoted so that FormatDateTime copies them too.
QString qtPatternToFormat(const QString &qt, bool fourDigitYear)
{
    QString out;
    const qsizetype n = qt.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = qt[i];
        if (c == u'\'') {
            // Qt: 'text' is literal, '' is one quote, also inside quoted text.
            qsizetype j = i + 1;
            QString lit;
            while (j < n) {
                if (qt[j] == u'\'') {
                    if (j + 1 < n && qt[j + 1] == u'\'') {
                        lit += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                lit += qt[j++];
            }
            if (j == i + 1 && j < n) // '' outside quotes
                lit = QStringLiteral("'");
            if (lit.contains(u'\''))
                out += u'"' + lit + u'"';
            else if (!lit.isEmpty())
                out += u'\'' + lit + u'\'';
            i = j + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && qt[i + run] == c)
            ++run;
        switch (c.unicode()) {
        case u'd':
            out += QString(std::min<qsizetype>(run, 4), u'd');
            break;
        case u'M':
        case u'L':
            out += QString(std::min<qsizetype>(run, 4), u'm');
            break;
        case u'y':
            out += (run == 2 && !fourDigitYear) ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case u'h':
        case u'H':
            out += QString(std::min<qsizetype>(run, 2), u'h');
            break;
        case u'm':
            out += QString(std::min<qsizetype>(run, 2), u'n');
            break;
        case u's':
            out += QString(std::min<qsizetype>(run, 2), u's');
            break;
        case u'z':
            out += run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
            break;
        case u'A':
        case u'a':
            // "AP", "ap", "A" and "a" are all the day-period marker.
            if (i + run < n && (qt[i + run] == u'P' || qt[i + run] == u'p'))
                ++run;
            out += QStringLiteral("AMPM");
            break;
        case u't':
            // Time zones have no place in report texts; drop the name and its spacing.
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            break;
        default:
            if (isAsciiLetter(c))
                out += u'\'' + QString(run, c) + u'\'';
            else if (c == u'"')
                out += QStringLiteral("'\"'");
            else
                out += QString(run, c);
        }
        i += run;
    }
    return out.trimmed();
}

// Letter runs of a Qt pattern outside quoted text, in order: ('d', 2) for "dd".
QList<std::pair<QChar, qsizetype>> patternFields(const QString &qt)
{
    QList<std::pair<QChar, qsizetype>> fields;
    bool quoted = false;
    for (qsizetype i = 0; i < qt.size();) {
        const QChar c = qt[i];
        if (c == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        if (!quoted && isAsciiLetter(c))
            fields.append({c, run});
        i += run;
    }
    return fields;
}

// Long time formats of the locale data may spell the units out ("H時mm分ss秒"), which no
// reader takes back; the long time is the short one with seconds after the minutes instead.
QString withSeconds(const QString &shortTime)
{
    bool quoted = false;
    QChar quote;
    for (qsizetype i = 0; i < shortTime.size(); ++i) {
        const QChar c = shortTime[i];
        if (quoted) {
            quoted = c != quote;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quoted = true;
            quote = c;
        } else if (c == u's') {
            return shortTime;
        } else if (c == u'n') {
            qsizetype end = i;
            while (end < shortTime.size() && shortTime[end] == u'n')
                ++end;
            return shortTime.left(end) +
                   (end - i >= 2 ? QStringLiteral(":ss") : QStringLiteral(":s")) +
                   shortTime.mid(end);
        }
    }
    return shortTime + QStringLiteral(":ss");
}

// Day, month and year as numbers in the locale's order and padding, for locales whose own
// short date has words or month names that the date reader cannot take back.
QString numericDate(const QString &qtShortDate)
{
    QString out;
    QString seen;
    for (const auto &[c, run] : patternFields(qtShortDate)) {
        QString field;
        if (c == u'd' && !seen.contains(u'd'))
            field = run == 1 ? QStringLiteral("d") : QStringLiteral("dd");
        else if ((c == u'M' || c == u'L') && !seen.contains(u'm'))
            field = run == 1 ? QStringLiteral("m") : QStringLiteral("mm");
        else if (c == u'y' && !seen.contains(u'y'))
            field = QStringLiteral("yyyy");
        else
            continue;
        seen += field[0];
        out += (out.isEmpty() ? QString() : QStringLiteral("/")) + field;
    }
    return seen.size() == 3 ? out : QStringLiteral("mm/dd/yyyy");
}

// Hour and minute (and second) with the locale's hour padding and day-period position.
QString numericTime(const QString &qtShortTime, bool seconds)
{
    qsizetype hourRun = 0;
    bool period = false, periodFirst = false;
    for (const auto &[c, run] : patternFields(qtShortTime)) {
        if ((c == u'h' || c == u'H') && hourRun == 0)
            hourRun = run;
        if ((c == u'a' || c == u'A') && !period) {
            period = true;
            periodFirst = hourRun == 0;
        }
    }
    QString t = QString(hourRun >= 2 ? 2 : 1, u'h') + QStringLiteral(":nn");
    if (seconds)
        t += QStringLiteral(":ss");
    if (period)
        t = periodFirst ? QStringLiteral("AMPM ") + t : t + QStringLiteral(" AMPM");
    return t;
}

bool dateReadsBack(const TFormatSettings &fs)
{
    const TDateTime day = EncodeDate(2023, 10, 19);
    TDateTime back;
    return TryStrToDate(DateToStr(day, fs), back, fs) && back == day;
}

bool timeReadsBack(const QString &format, const TFormatSettings &fs)
{
    const TDateTime t = EncodeTime(13, 23, 56, 0);
    TDateTime back;
    if (!TryStrToTime(FormatDateTime(format, t, fs), back, fs))
        return false;
    int h, n, sec, ms;
    DecodeTime(back, h, n, sec, ms);
    return h == 13 && n == 23 && (sec == 56 || sec == 0);
}

// The character right after the first run of one of `fields` (blanks and bidi marks aside),
// when it is punctuation rather than a word.
QChar patternSeparator(const QString &qt, QChar fallback, const QString &fields)
{
    bool quoted = false;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || !fields.contains(c))
            continue;
        while (i + 1 < qt.size() && qt[i + 1] == c)
            ++i;
        for (++i; i < qt.size(); ++i) {
            const QChar next = qt[i];
            if (next.isSpace() || next.category() == QChar::Other_Format)
                continue;
            if (next.isLetterOrNumber() || next.isMark() || next == u'\'')
                return fallback;
            return next;
        }
        return fallback;
    }
    return fallback;
}

// Text of a currency sample with the number replaced by "1", the symbol by "$" and every kind
// of blank by one space, to be matched against the positive and negative placements.
QString currencyShape(const QLocale &locale, double sample)
{
    QString s = locale.toCurrencyString(sample, locale.currencySymbol(), 0);
    const QString symbol = locale.currencySymbol();
    if (!symbol.isEmpty())
        s.replace(symbol, QStringLiteral("$"));
    s.replace(locale.negativeSign(), QStringLiteral("-"));
    s.replace(locale.toString(1), QStringLiteral("1"));
    QString out;
    for (QChar c : s) {
        if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F))
            c = u' ';
        else if (c.category() == QChar::Other_Format)
            continue; // bidi marks
        out += c;
    }
    return out.simplified();
}

int currencyDecimals(const QLocale &locale)
{
    const QString s = locale.toCurrencyString(1.0);
    const qsizetype point = s.indexOf(locale.decimalPoint());
    if (point < 0)
        return 0;
    int digits = 0;
    for (qsizetype i = point + 1; i < s.size() && s[i].isDigit(); ++i)
        ++digits;
    return digits;
}

void splitDays(TDateTime dt, qint64 &days, qint64 &msecs)
{
    const double whole = std::trunc(dt);
    days = static_cast<qint64>(whole);
    msecs = std::llround(std::fabs(dt - whole) * kMSecsPerDay);
    if (msecs >= kMSecsPerDay) {
        msecs -= kMSecsPerDay;
        ++days;
    }
}

bool dayInRange(double dt)
{
    // 0001-01-01 and 9999-12-31 as day numbers, with the time of day on either side.
    return std::isfinite(dt) && dt > -693594.0 && dt < 2958466.0;
}

} // namespace

TFormatSettings FormatSettingsFromLocale(const QLocale &locale)
{
    // Qt's C locale writes month names in short dates; the neutral record suits it better.
    if (locale.language() == QLocale::C)
        return InvariantFormatSettings();
    TFormatSettings fs;
    const QString point = locale.decimalPoint();
    fs.DecimalSeparator = point.size() == 1 ? point[0] : QChar(u'.');
    const QString group = locale.groupSeparator();
    fs.ThousandSeparator = group.size() == 1 ? group[0] : QChar();

    fs.CurrencyString = locale.currencySymbol();
    static const char *const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char *const negative[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                           "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                           "$ -1", "1- $", "($ 1)", "(1 $)"};
    const QString pos = currencyShape(locale, 1.0);
    fs.CurrencyFormat = 0;
    for (int i = 0; i < 4; ++i)
        if (pos == QLatin1String(positive[i]))
            fs.CurrencyFormat = i;
    static const int negativeFallback[] = {1, 5, 9, 8};
    fs.NegCurrFormat = negativeFallback[fs.CurrencyFormat];
    const QString neg = currencyShape(locale, -1.0);
    for (int i = 0; i < 16; ++i)
        if (neg == QLatin1String(negative[i]))
            fs.NegCurrFormat = i;
    fs.CurrencyDecimals = currencyDecimals(locale);

    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    fs.ShortDateFormat = qtPatternToFormat(shortDate, true);
    fs.LongDateFormat = qtPatternToFormat(locale.dateFormat(QLocale::LongFormat), false);
    fs.ShortTimeFormat = qtPatternToFormat(shortTime, false);
    fs.LongTimeFormat = withSeconds(fs.ShortTimeFormat);
    fs.DateSeparator = patternSeparator(shortDate, u'/', QStringLiteral("dMLy"));
    fs.TimeSeparator = patternSeparator(shortTime, u':', QStringLiteral("hH"));
    fs.TimeAMString = locale.amText();
    fs.TimePMString = locale.pmText();
    // What the record writes, its readers must take back: patterns with words in them give way
    // to plain numbers in the same order.
    if (!dateReadsBack(fs))
        fs.ShortDateFormat = numericDate(shortDate);
    if (!timeReadsBack(fs.ShortTimeFormat, fs) || !timeReadsBack(fs.LongTimeFormat, fs)) {
        fs.ShortTimeFormat = numericTime(shortTime, false);
        fs.LongTimeFormat = numericTime(shortTime, true);
    }
    for (int m = 0; m < 12; ++m) {
        fs.ShortMonthNames[m] = locale.monthName(m + 1, QLocale::ShortFormat);
        fs.LongMonthNames[m] = locale.monthName(m + 1, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d; // Qt counts from Monday, we from Sunday
        fs.ShortDayNames[d] = locale.dayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames[d] = locale.dayName(qtDay, QLocale::LongFormat);
    }
    return fs;
}

const TFormatSettings &ProcessFormatSettings()
{
    struct Entry
    {
        QLocale locale;
        std::unique_ptr<const TFormatSettings> record;
    };
    static std::mutex lock;
    static std::vector<Entry> records;
    static std::size_t last = 0;
    std::lock_guard guard(lock);
    const QLocale current;
    if (!records.empty() && records[last].locale == current)
        return *records[last].record;
    for (last = 0; last < records.size(); ++last)
        if (records[last].locale == current)
            return *records[last].record;
    records.push_back(
        {current, std::make_unique<const TFormatSettings>(FormatSettingsFromLocale(current))});
    last = records.size() - 1;
    return *records[last].record;
}

TFormatSettings DefaultFormatSettings()
{
    return ProcessFormatSettings();
}

const TFormatSettings &InvariantFormatSettings()
{
    static const TFormatSettings fs = [] {
        TFormatSettings s;
        s.CurrencyString = QStringLiteral("\u00A4");
        s.ShortDateFormat = QStringLiteral("MM/dd/yyyy");
        s.LongDateFormat = QStringLiteral("dddd, dd mmmm yyyy");
        s.ShortTimeFormat = QStringLiteral("HH:mm");
        s.LongTimeFormat = QStringLiteral("HH:mm:ss");
        return s;
    }();
    return fs;
}

bool TryEncodeDate(int year, int month, int day, TDateTime &result)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    result = static_cast<double>(QDate(year, month, day).toJulianDay() - kEpochJulianDay);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime &result)
{
    if (hour == 24 && min == 0 && sec == 0 && msec == 0) {
        result = 1.0;
        return true;
    }
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
        msec > 999)
        return false;
    const qint64 ms = ((hour * 60LL + min) * 60 + sec) * 1000 + msec;
    result = static_cast<double>(ms) / kMSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError(kDateEncodeError);
    return r;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        throw EConvertError(kTimeEncodeError);
    return r;
}

void DecodeDate(TDateTime dt, int &year, int &month, int &day)
{
    year = month = day = 0;
    if (!dayInRange(dt))
        return;
    qint64 days, msecs;
    splitDays(dt, days, msecs);
    QDate::fromJulianDay(days + kEpochJulianDay).getDate(&year, &month, &day);
}

void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec)
{
    hour = min = sec = msec = 0;
    if (!std::isfinite(dt) || std::fabs(dt) > 1e12)
        return;
    qint64 days, ms;
    splitDays(dt, days, ms);
    msec = int(ms % 1000);
    ms /= 1000;
    sec = int(ms % 60);
    ms /= 60;
    min = int(ms % 60);
    hour = int(ms / 60);
}

int DayOfWeek(TDateTime dt)
{
    if (!dayInRange(dt))
        return 0;
    qint64 days, msecs;
    splitDays(dt, days, msecs);
    // Day 0 (1899-12-30) was a Saturday.
    return int(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime DateTimeFromQDate(const QDate &date)
{
    return date.isValid() ? static_cast<double>(date.toJulianDay() - kEpochJulianDay) : 0.0;
}

TDateTime DateTimeFromQTime(const QTime &time)
{
    return time.isValid() ? static_cast<double>(time.msecsSinceStartOfDay()) / kMSecsPerDay : 0.0;
}

TDateTime DateTimeFromQDateTime(const QDateTime &dt)
{
    const TDateTime d = DateTimeFromQDate(dt.date());
    const TDateTime t = DateTimeFromQTime(dt.time());
    return d < 0 ? d - t : d + t;
}

QDate QDateFromDateTime(TDateTime dt)
{
    if (!dayInRange(dt))
        return QDate();
    qint64 days, msecs;
    splitDays(dt, days, msecs);
    return QDate::fromJulianDay(days + kEpochJulianDay);
}

QTime QTimeFromDateTime(TDateTime dt)
{
    if (!std::isfinite(dt))
        return QTime();
    qint64 days, msecs;
    splitDays(dt, days, msecs);
    return QTime::fromMSecsSinceStartOfDay(int(msecs));
}

QDateTime QDateTimeFromDateTime(TDateTime dt)
{
    const QDate date = QDateFromDateTime(dt);
    if (!date.isValid())
        return QDateTime();
    return QDateTime(date, QTimeFromDateTime(dt));
}

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return DateTimeFromQDate(QDate::currentDate());
}

TDateTime Time()
{
    return DateTimeFromQTime(QTime::currentTime());
}

} // namespace rp
