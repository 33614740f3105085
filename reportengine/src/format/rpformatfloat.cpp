// SPDX-License-Identifier: MIT
// Number texts: general/exponent/fixed/number/currency conversions, patterns, text to number.
#include <reportengine/rpformat.h>

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

namespace rp {

namespace {

// The extended type carries 18 significant decimal digits; texts never show more.
constexpr int kMaxDigits = 18;

// value = 0.digits × 10^exponent; zero has no digits.
struct Decimal
{
    bool negative = false;
    int exponent = 0;
    std::string digits;
};

void stripTrailingZeros(Decimal &d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) {
        d.exponent = 0;
        d.negative = false;
    }
}

// The 18 leading digits of a > 0 worked out exactly from its binary mantissa, rounded half to
// even as printf rounds them, at a fraction of printf's cost; false outside 2^-56 .. 2^64.
bool exactDigits(long double a, Decimal &d)
{
    using u128 = unsigned __int128;
    int e2 = 0;
    const long double m = std::frexp(a, &e2);
    const auto mant = static_cast<std::uint64_t>(std::ldexp(m, 64)); // all 64 mantissa bits
    const int k = 64 - e2;                                           // a = mant / 2^k
    if (k < 0 || k > 120)
        return false;
    const std::uint64_t whole = k >= 64 ? 0 : mant >> k;
    const u128 mask = (u128(1) << k) - 1;
    u128 frac = u128(mant) & mask;
    char all[kMaxDigits + 24];
    int n = 0;
    char rev[24];
    int w = 0;
    for (std::uint64_t v = whole; v > 0; v /= 10)
        rev[w++] = static_cast<char>('0' + v % 10);
    while (w > 0)
        all[n++] = rev[--w];
    int exponent = n;
    const auto nextDigit = [&] {
        frac *= 10;
        const auto digit = static_cast<char>('0' + static_cast<int>(frac >> k));
        frac &= mask;
        return digit;
    };
    if (n == 0) {
        char digit = nextDigit();
        for (; digit == '0'; digit = nextDigit())
            --exponent;
        all[n++] = digit;
    }
    while (n < kMaxDigits + 1)
        all[n++] = nextDigit();
    bool rest = frac != 0;
    for (int i = kMaxDigits + 1; i < n; ++i)
        rest = rest || all[i] != '0';
    const char next = all[kMaxDigits];
    if (next > '5' || (next == '5' && (rest || ((all[kMaxDigits - 1] - '0') & 1)))) {
        int i = kMaxDigits - 1;
        while (i >= 0 && all[i] == '9')
            all[i--] = '0';
        if (i < 0) {
            all[0] = '1';
            ++exponent;
        } else {
            ++all[i];
        }
    }
    d.digits.assign(all, kMaxDigits);
    d.exponent = exponent;
    stripTrailingZeros(d);
    return true;
}

// The 18 leading digits of |v|, correctly rounded. Further rounding works on these digits,
// halves away from zero, which is what makes 2.675 print as 2.68 with two decimals.
Decimal rawDigits(long double v)
{
    Decimal d;
    d.negative = std::signbit(v);
    const long double a = std::fabs(v);
    if (a == 0) {
        d.negative = false;
        return d;
    }
    // Whole numbers below 10^18 are exact and need no rounding: spell them without printf,
    // which is most of the cost of a counter or an amount in cents.
    if (a < 1e18L && a == std::floor(a)) {
        const auto whole = static_cast<std::uint64_t>(a);
        d.digits = std::to_string(whole);
        d.exponent = static_cast<int>(d.digits.size());
        stripTrailingZeros(d);
        return d;
    }
    if (exactDigits(a, d))
        return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", kMaxDigits - 1, a);
    // The decimal point of "%e" follows LC_NUMERIC; only the digits and the exponent count.
    const char *p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    d.exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    stripTrailingZeros(d);
    return d;
}

// Keep `count` significant digits (none when count <= 0, where 0.5 and more still rounds up
// to one unit of the next place).
void roundTo(Decimal &d, int count)
{
    if (d.digits.empty())
        return;
    if (count < 0) {
        d.digits.clear();
    } else if (static_cast<int>(d.digits.size()) > count) {
        const bool up = d.digits[count] >= '5';
        d.digits.resize(count);
        if (up) {
            int i = count - 1;
            while (i >= 0 && d.digits[i] == '9')
                d.digits[i--] = '0';
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            } else {
                ++d.digits[i];
            }
        }
    }
    stripTrailingZeros(d);
}

Decimal roundedDigits(long double v, int count)
{
    Decimal d = rawDigits(v);
    roundTo(d, count);
    return d;
}

QString exponentText(int e, int minDigits, bool plusSign)
{
    QString s = QString::number(std::abs(e));
    if (s.size() < minDigits)
        s.prepend(QString(minDigits - s.size(), u'0'));
    if (e < 0)
        return u'-' + s;
    return plusSign ? u'+' + s : s;
}

QString digitsText(const std::string &digits, qsizetype from, qsizetype to)
{
    QString s;
    for (qsizetype i = from; i < to; ++i)
        s += i >= 0 && i < qsizetype(digits.size()) ? QChar(digits[i]) : QChar(u'0');
    return s;
}

// Shortest text of an already rounded value: fixed notation while the whole part fits the
// precision and the value is at least 0.0001, scientific otherwise.
QString generalText(const Decimal &d, int precision, int expDigits, const TFormatSettings &fs)
{
    if (d.digits.empty())
        return QStringLiteral("0");
    const qsizetype n = d.digits.size();
    QString s = d.negative ? QStringLiteral("-") : QString();
    if (d.exponent > precision || d.exponent < -3) {
        s += QChar(d.digits[0]);
        if (n > 1)
            s += fs.DecimalSeparator + digitsText(d.digits, 1, n);
        return s + u'E' + exponentText(d.exponent - 1, expDigits, false);
    }
    if (d.exponent <= 0)
        return s + u'0' + fs.DecimalSeparator + QString(-d.exponent, u'0') +
               digitsText(d.digits, 0, n);
    s += digitsText(d.digits, 0, d.exponent);
    if (n > d.exponent)
        s += fs.DecimalSeparator + digitsText(d.digits, d.exponent, n);
    return s;
}

QString groupedWhole(const QString &whole, const TFormatSettings &fs)
{
    if (fs.ThousandSeparator.isNull())
        return whole;
    QString s;
    const qsizetype n = whole.size();
    for (qsizetype i = 0; i < n; ++i) {
        s += whole[i];
        const qsizetype left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            s += fs.ThousandSeparator;
    }
    return s;
}

// Unsigned fixed-point text with exactly `decimals` decimals.
QString fixedText(const Decimal &d, int decimals, bool grouped, const TFormatSettings &fs)
{
    QString whole = d.exponent > 0 ? digitsText(d.digits, 0, d.exponent) : QStringLiteral("0");
    if (grouped)
        whole = groupedWhole(whole, fs);
    if (decimals <= 0)
        return whole;
    return whole + fs.DecimalSeparator + digitsText(d.digits, d.exponent, d.exponent + decimals);
}

QString placeCurrency(const QString &number, bool negative, const TFormatSettings &fs)
{
    const QString &c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
        case 1:
            return number + c;
        case 2:
            return c + u' ' + number;
        case 3:
            return number + u' ' + c;
        default:
            return c + number;
        }
    }
    switch (fs.NegCurrFormat) {
    case 0:
        return u'(' + c + number + u')';
    case 2:
        return c + u'-' + number;
    case 3:
        return c + number + u'-';
    case 4:
        return u'(' + number + c + u')';
    case 5:
        return u'-' + number + c;
    case 6:
        return number + u'-' + c;
    case 7:
        return number + c + u'-';
    case 8:
        return u'-' + number + u' ' + c;
    case 9:
        return u'-' + c + u' ' + number;
    case 10:
        return number + u' ' + c + u'-';
    case 11:
        return c + u' ' + number + u'-';
    case 12:
        return c + u' ' + u'-' + number;
    case 13:
        return number + u'-' + u' ' + c;
    case 14:
        return u'(' + c + u' ' + number + u')';
    case 15:
        return u'(' + number + u' ' + c + u')';
    default:
        return u'-' + c + number;
    }
}

// ---- FormatFloat ---------------------------------------------------------------------------

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

// Index just past the quoted text that starts at `i`.
qsizetype skipQuoted(QStringView s, qsizetype i)
{
    const QChar q = s[i];
    qsizetype j = i + 1;
    while (j < s.size() && s[j] != q)
        ++j;
    return std::min(j + 1, s.size());
}

// Appends the text of the quoted literal at `i` (without its quotes); returns the index after it.
qsizetype appendQuoted(QString &out, QStringView s, qsizetype i)
{
    const qsizetype end = skipQuoted(s, i);
    const bool closed = end - i >= 2 && s[end - 1] == s[i];
    out += s.mid(i + 1, end - i - 1 - (closed ? 1 : 0));
    return end;
}

bool isExponentAt(QStringView s, qsizetype i)
{
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() &&
           (s[i + 1] == u'+' || s[i + 1] == u'-');
}

// What a pattern section asks for, gathered before rendering it.
struct Layout
{
    int wholePlaces = 0; // '0' and '#' left of the point
    int wholeZeros = 0;  // places from the first '0' left of the point up to the point
    int fracPlaces = 0;  // '0' and '#' right of the point
    int fracZeros = 0;   // places right of the point up to the last '0'
    bool grouped = false;
    bool scientific = false;
};

Layout analyse(QStringView sec)
{
    Layout lay;
    bool point = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < sec.size();) {
        const QChar c = sec[i];
        if (isQuote(c)) {
            i = skipQuoted(sec, i);
            continue;
        }
        if (isExponentAt(sec, i)) {
            lay.scientific = true;
            break;
        }
        if (c == u'0' || c == u'#') {
            if (point) {
                ++lay.fracPlaces;
                if (c == u'0')
                    lay.fracZeros = lay.fracPlaces;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = lay.wholePlaces;
                ++lay.wholePlaces;
            }
        } else if (c == u'.') {
            point = true;
        } else if (c == u',') {
            lay.grouped = true;
        }
        ++i;
    }
    lay.wholeZeros = firstZero < 0 ? 0 : lay.wholePlaces - firstZero;
    return lay;
}

QString trimmedFraction(QString frac, int minDigits)
{
    while (frac.size() > minDigits && frac.endsWith(u'0'))
        frac.chop(1);
    return frac;
}

// Renders one section. `whole` holds the digits left of the point (already padded to the
// '0' places), `frac` those right of it; in scientific sections `exp10` is the exponent.
QString render(QStringView sec, const Layout &lay, const QString &whole, const QString &frac,
               int exp10, const TFormatSettings &fs)
{
    QString out;
    const qsizetype total = whole.size();
    const bool group = lay.grouped && !lay.scientific && !fs.ThousandSeparator.isNull();
    auto emitWhole = [&](qsizetype pos) { // pos counts places from the units digit
        out += whole[total - 1 - pos];
        if (group && pos > 0 && pos % 3 == 0)
            out += fs.ThousandSeparator;
    };
    auto emitOverflow = [&] { // digits for which the pattern has no places
        for (qsizetype pos = total - 1; pos >= lay.wholePlaces; --pos)
            emitWhole(pos);
    };
    int wholeIndex = 0;
    int fracIndex = 0;
    bool point = false;
    for (qsizetype i = 0; i < sec.size();) {
        const QChar c = sec[i];
        if (isQuote(c)) {
            i = appendQuoted(out, sec, i);
            continue;
        }
        if (lay.scientific && isExponentAt(sec, i)) {
            const bool plus = sec[i + 1] == u'+';
            out += c;
            i += 2;
            int zeros = 0;
            while (i < sec.size() && sec[i] == u'0' && zeros < 4) {
                ++zeros;
                ++i;
            }
            out += exponentText(exp10, zeros, plus);
            // What follows the exponent is literal text.
            while (i < sec.size()) {
                if (isQuote(sec[i]))
                    i = appendQuoted(out, sec, i);
                else
                    out += sec[i++];
            }
            break;
        }
        if (c == u'0' || c == u'#') {
            if (point) {
                if (fracIndex < frac.size())
                    out += frac[fracIndex];
                ++fracIndex;
            } else {
                if (wholeIndex == 0)
                    emitOverflow();
                const qsizetype pos = lay.wholePlaces - 1 - wholeIndex;
                if (pos < total)
                    emitWhole(pos);
                ++wholeIndex;
            }
        } else if (c == u'.') {
            if (!point) {
                if (lay.wholePlaces == 0)
                    emitOverflow();
                if (!frac.isEmpty())
                    out += fs.DecimalSeparator;
                point = true;
            }
        } else if (c != u',') {
            out += c;
        }
        ++i;
    }
    return out;
}

// Up to three sections (positive; negative; zero); a missing one is empty, later ones are
// ignored.
std::array<QStringView, 3> splitSections(QStringView pattern)
{
    std::array<QStringView, 3> sections;
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pattern.size() && count < 2;) {
        if (isQuote(pattern[i])) {
            i = skipQuoted(pattern, i);
            continue;
        }
        if (pattern[i] == u';') {
            sections[count++] = pattern.mid(start, i - start);
            start = i + 1;
        }
        ++i;
    }
    QStringView rest = pattern.mid(start);
    if (count == 2) {
        // The zero section ends at the next separator, if any.
        for (qsizetype i = 0; i < rest.size();) {
            if (isQuote(rest[i])) {
                i = skipQuoted(rest, i);
                continue;
            }
            if (rest[i] == u';') {
                rest = rest.left(i);
                break;
            }
            ++i;
        }
    }
    sections[count] = rest;
    return sections;
}

// Empty when the value is too large for fixed places.
std::optional<QString> formatSection(QStringView sec, long double value, const Layout &lay,
                                     const TFormatSettings &fs, bool &roundedToZero)
{
    if (lay.scientific) {
        const int wholePlaces = lay.wholePlaces + lay.fracPlaces == 0 ? 1 : lay.wholePlaces;
        const int significant = std::min(kMaxDigits, wholePlaces + lay.fracPlaces);
        const Decimal d = roundedDigits(value, significant);
        roundedToZero = d.digits.empty();
        const QString mantissa = digitsText(d.digits, 0, significant);
        const int exp10 = d.digits.empty() ? 0 : d.exponent - wholePlaces;
        Layout shown = lay;
        shown.wholePlaces = wholePlaces;
        return render(sec, shown, mantissa.left(wholePlaces),
                      trimmedFraction(mantissa.mid(wholePlaces), lay.fracZeros), exp10, fs);
    }
    Decimal d = rawDigits(value);
    roundTo(d, std::min(kMaxDigits, d.exponent + lay.fracPlaces));
    roundedToZero = d.digits.empty();
    if (d.exponent > kMaxDigits)
        return std::nullopt;
    QString whole = d.exponent > 0 ? digitsText(d.digits, 0, d.exponent) : QString();
    if (whole.size() < lay.wholeZeros)
        whole.prepend(QString(lay.wholeZeros - whole.size(), u'0'));
    const QString frac = trimmedFraction(
        digitsText(d.digits, d.exponent, d.exponent + lay.fracPlaces), lay.fracZeros);
    return render(sec, lay, whole, frac, 0, fs);
}

locale_t cNumericLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return loc;
}

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

constexpr int NoDigit = -1;

// Value of `c` as a digit of `base` (10 or 16), NoDigit when it is none.
int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (base == 16 && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return NoDigit;
}

} // namespace

QString FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings &fs)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, kMaxDigits);
    switch (format) {
    case ffExponent: {
        const Decimal d = roundedDigits(value, precision);
        QString s = d.negative ? QStringLiteral("-") : QString();
        s += QChar(d.digits.empty() ? '0' : d.digits[0]);
        if (precision > 1)
            s += fs.DecimalSeparator + digitsText(d.digits, 1, precision);
        const int e = d.digits.empty() ? 0 : d.exponent - 1;
        return s + u'E' + exponentText(e, std::clamp(digits, 0, 4), true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        digits = std::clamp(digits, 0, kMaxDigits);
        Decimal d = rawDigits(value);
        if (d.exponent > precision) {
            roundTo(d, precision);
            return generalText(d, precision, 0, fs);
        }
        roundTo(d, std::min(precision, d.exponent + digits));
        const QString number = fixedText(d, digits, format != ffFixed, fs);
        if (format == ffCurrency)
            return placeCurrency(number, d.negative, fs);
        return d.negative ? u'-' + number : number;
    }
    case ffGeneral:
    default:
        return generalText(roundedDigits(value, precision), precision, std::clamp(digits, 0, 4),
                           fs);
    }
}

QString FloatToStr(long double value, const TFormatSettings &fs)
{
    return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

QString FormatFloat(const QString &pattern, long double value, const TFormatSettings &fs)
{
    if (!std::isfinite(value))
        return FloatToStr(value, fs);
    const std::array<QStringView, 3> sections = splitSections(pattern);
    auto section = [&](int i) { return sections[i]; };
    const QStringView zeroSection = section(2).isEmpty() ? section(0) : section(2);
    QStringView sec = section(0);
    bool minus = false;
    if (value < 0) {
        if (!section(1).isEmpty())
            sec = section(1);
        else
            minus = true;
    } else if (value == 0) {
        sec = zeroSection;
    }
    if (sec.isEmpty())
        return FloatToStr(value, fs);

    bool zero = false;
    std::optional<QString> text = formatSection(sec, value, analyse(sec), fs, zero);
    if (!text)
        return FloatToStr(value, fs);
    if (zero && value != 0) {
        // A value that rounds to nothing is shown as zero, without a sign.
        if (zeroSection.isEmpty())
            return FloatToStr(0, fs);
        minus = false;
        text = formatSection(zeroSection, 0, analyse(zeroSection), fs, zero);
    }
    return minus ? u'-' + *text : *text;
}

bool TryStrToFloat(const QString &text, long double &value, const TFormatSettings &fs)
{
    qsizetype i = 0, n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    while (n > i && isBlank(text[n - 1]))
        --n;
    std::string buf;
    auto digitsInto = [&] {
        int count = 0;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            buf += char(text[i++].unicode());
            ++count;
        }
        return count;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        buf += char(text[i++].unicode());
    int mantissa = digitsInto();
    if (i < n && text[i] == fs.DecimalSeparator) {
        buf += '.';
        ++i;
        mantissa += digitsInto();
    }
    if (mantissa == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        buf += 'e';
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            buf += char(text[i++].unicode());
        if (digitsInto() == 0)
            return false;
    }
    if (i != n)
        return false;
    char *end = nullptr;
    const long double v = strtold_l(buf.c_str(), &end, cNumericLocale());
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

long double StrToFloat(const QString &text, const TFormatSettings &fs)
{
    long double v;
    if (!TryStrToFloat(text, v, fs))
        throw EConvertError(
            QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return v;
}

bool TryStrToInt64(const QString &text, std::int64_t &value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    std::uint64_t acc = 0;
    // Hexadecimal texts may use all 64 bits (two's complement); decimal ones stop at the
    // signed range.
    const std::uint64_t limit =
        base == 16 ? UINT64_MAX : (negative ? 9223372036854775808ULL : 9223372036854775807ULL);
    for (; i < n; ++i) {
        const int digit = digitValue(text[i], base);
        if (digit == NoDigit)
            return false;
        if (acc > (limit - std::uint64_t(digit)) / std::uint64_t(base))
            return false;
        acc = acc * base + std::uint64_t(digit);
    }
    value = negative ? std::int64_t(0 - acc) : std::int64_t(acc);
    return true;
}

std::int64_t StrToInt64(const QString &text)
{
    std::int64_t v;
    if (!TryStrToInt64(text, v))
        throw EConvertError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return v;
}

} // namespace rp
