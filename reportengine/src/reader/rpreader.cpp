// SPDX-License-Identifier: MIT
// Template reader: walks the RTF template once, takes out header groups, finds report fields.
#include "reader/rpreader.h"

#include "messages.h"
#include <zc/cp1252.h>

#include <reportengine/rpbasereport.h>
#include <reportengine/rpconsts.h>
#include <reportengine/rpfunc.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rp {

namespace {

// A field longer than this is not a field: its opening delimiter is copied as text.
constexpr int maxFieldBytes = 10000;

bool isLetter(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigitChar(int c)
{
    return c >= '0' && c <= '9';
}

int upper(int c)
{
    return (c >= 'a' && c <= 'z') ? c - 32 : c;
}

constexpr int NoHexDigit = -1;

// Value of the hexadecimal digit `c`, NoHexDigit when it is none.
int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return NoHexDigit;
}

[[noreturn]] void badRtf(const char *msg)
{
    throw EBadRtfFormat(msg);
}

constexpr char fontTableError[] = "Can't read font table from input file";

// The bytes that end a run of plain text.
constexpr std::array<bool, 256> stopsPlainText = [] {
    std::array<bool, 256> t{};
    t['{'] = t['}'] = t['\\'] = true;
    return t;
}();

// 0-based index of the first byte from `from` on that ends plain text, or `size`. Most of a
// document is plain text, so it is searched sixteen bytes at a time.
std::int32_t plainRunEnd(const char *buf, std::int32_t from, std::int32_t size)
{
    std::int32_t i = from;
#ifdef __SSE2__
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buf + i));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, open), _mm_cmpeq_epi8(v, close)),
                         _mm_cmpeq_epi8(v, backslash));
        if (const int mask = _mm_movemask_epi8(hit))
            return i + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (i < size && !stopsPlainText[static_cast<unsigned char>(buf[i])])
        ++i;
    return i;
}

// A control word read straight from the template as the look-ahead sees it: line breaks and
// other control bytes inside or after it are passed over, so "\\par" + line break + "d" reads
// as PARD. Its letters upper-cased (as many as fit), their number, the bytes it covers up to
// its last letter, and whether a control byte was passed over.
struct ControlWord
{
    char text[12] = {};
    int length = 0;
    int span = 0;
    bool brokenByControlByte = false;

    bool is(std::string_view w) const
    {
        return length == static_cast<int>(w.size()) && std::string_view(text, length) == w;
    }
    bool startsWith(std::string_view w) const
    {
        return length >= static_cast<int>(w.size()) &&
               std::string_view(text, std::min<std::size_t>(length, sizeof text))
                       .substr(0, w.size()) == w;
    }
};

// `index` is 0-based.
ControlWord readControlWord(const char *buf, std::int32_t size, std::int32_t index)
{
    ControlWord w;
    for (std::int32_t i = index; i < size; ++i) {
        const auto b = static_cast<unsigned char>(buf[i]);
        if (b <= 0x1F && b != '\t') {
            w.brokenByControlByte = true;
            continue;
        }
        if (!isLetter(b))
            break;
        if (w.length < static_cast<int>(sizeof w.text))
            w.text[w.length] = static_cast<char>(upper(b));
        ++w.length;
        w.span = i + 1 - index;
    }
    return w;
}

// What the scan must do about the control word after a backslash: nothing but copy it; note
// it as a boundary (paragraph, line, cell, page, section) and copy it; or run the general
// tests (table rows and starts, Unicode skip counts, words broken by a line break).
enum class WordKind
{
    Ordinary,
    Boundary,
    General
};

// First letters of the words classifyControlWord looks at more closely.
constexpr std::array<bool, 256> mayNeedTests = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : std::string_view("TRCPSLUI"))
        t[c] = true;
    return t;
}();

WordKind classifyControlWord(const ControlWord &w)
{
    if (!mayNeedTests[static_cast<unsigned char>(w.text[0])])
        return WordKind::Ordinary;
    switch (w.length) {
    case 3:
        if (w.is("ROW"))
            return WordKind::General;
        if (w.is("PAR"))
            return WordKind::Boundary;
        break;
    case 4:
        if (w.is("CELL") || w.is("PAGE") || w.is("SECT") || w.is("LINE"))
            return WordKind::Boundary;
        break;
    case 5:
        if (w.is("TROWD"))
            return WordKind::General;
        break;
    default:
        break;
    }
    if (w.startsWith("INTBL") || w.startsWith("PARD") || w.startsWith("UC"))
        return WordKind::General;
    return WordKind::Ordinary;
}

// The same for the control word that opens a group: no header table and no group the scan
// passes over whole.
bool isOrdinaryGroupWord(const ControlWord &w)
{
    if (w.brokenByControlByte)
        return false;
    switch (w.length) {
    case 4:
        return !w.is("INFO") && !w.is("PICT");
    case 5:
        return !w.is("FIELD");
    case 6:
        return !w.is("OBJECT");
    case 7:
        return !w.is("FONTTBL") && !w.is("SHPRSLT");
    case 8:
        return !w.is("COLORTBL");
    case 10:
        return !w.is("STYLESHEET");
    default:
        return true;
    }
}

} // namespace

QChar RpCp1252Char(unsigned char byte)
{
    return zc::Cp1252Char(byte);
}

char RpCp1252Byte(QChar c)
{
    const int byte = zc::Cp1252Byte(c);
    return byte < 0 ? '?' : static_cast<char>(byte);
}

QString txt2rtf(const QString &text, bool unicodeByDefault)
{
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(text.size() + 8);
    bool wroteUnicode = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case 9:
            out += QLatin1String("\\tab ");
            continue;
        case 11:
            out += QLatin1String("\\line ");
            continue;
        case 12:
            out += QLatin1String("\\page ");
            continue;
        case 13:
            out += QLatin1String("\\par ");
            continue;
        case '\\':
            out += QLatin1String("\\\\");
            continue;
        case '{':
            out += QLatin1String("\\{");
            continue;
        case '}':
            out += QLatin1String("\\}");
            continue;
        default:
            break;
        }
        if (u >= 0x80 && u <= 0xFF) {
            out += QLatin1String("\\'");
            out += QLatin1Char(hex[u >> 4]);
            out += QLatin1Char(hex[u & 0xF]);
        } else if (u > 0xFF && unicodeByDefault) {
            const auto b = static_cast<unsigned char>(RpCp1252Byte(c));
            out += QLatin1String("\\u") + QString::number(u) + QLatin1String(" \\'");
            out += QLatin1Char(hex[b >> 4]);
            out += QLatin1Char(hex[b & 0xF]);
            wroteUnicode = true;
        } else if (u > 0xFF) {
            // The output is single-byte: a raw high byte can make readers take the whole file for
            // plain text, so bytes of the code page above 0x7F go out as hex escapes too.
            const auto b = static_cast<unsigned char>(RpCp1252Byte(c));
            if (b >= 0x80) {
                out += QLatin1String("\\'");
                out += QLatin1Char(hex[b >> 4]);
                out += QLatin1Char(hex[b & 0xF]);
            } else {
                out += QLatin1Char(static_cast<char>(b));
            }
        } else {
            out += c;
        }
    }
    if (wroteUnicode)
        return QLatin1String("{\\uc1 ") + out + QLatin1Char('}');
    return out;
}

TRpTemplateReader::TRpTemplateReader(TRpBaseReport &report) : FReport(report) {}

void TRpTemplateReader::ResetForRun()
{
    FPendingBlocPnt = -1;
    FQuoteIndex = 0;
    FQuoteSkip = 0;
    FQuoteStr.clear();
    FUnicodeSkipCount = 1;
    FUcStack.Clear();
    FInTable = false;
    FTableRowOpen = false;
    FIsFontTable = FIsColorTable = FIsStyle = FIsDocInfo = false;
    FRTFFont.clear();
    FRTFColor.clear();
    FRTFStyle.clear();
    FRTFDocInfo.clear();
    FDocColorTable.clear();
    FOutTab.clear();
    FReport.FLastBoundaryPnt = -1;
    FReport.FKwdPnt = -1;
}

unsigned char TRpTemplateReader::byteAt(std::int32_t pnt) const
{
    if (pnt < 1 || pnt > FReport.Flent)
        return 0x1A;
    return static_cast<unsigned char>(FReport.FPFile.constData()[pnt - 1]);
}

bool TRpTemplateReader::FileEof() const
{
    return FReport.Fpnt > FReport.Flent;
}

unsigned char TRpTemplateReader::ReadFb()
{
    auto &r = FReport;
    unsigned char b;
    do {
        if (r.Fpnt > r.Flent)
            return 0x1A;
        b = static_cast<unsigned char>(r.FPFile.constData()[r.Fpnt - 1]);
        ++r.Fpnt;
    } while (b < 0x20 && b != '\n' && b != '\t' && r.Fpnt <= r.Flent);
    return b;
}

QByteArray TRpTemplateReader::getns(int n) const
{
    QByteArray out;
    std::int32_t p = FReport.Fpnt;
    while (out.size() < n) {
        if (p > FReport.Flent) {
            out += char(0x1A);
            continue;
        }
        const unsigned char b = byteAt(p++);
        if (b <= 0x1F && b != '\t')
            continue;
        out += char(b);
    }
    return out;
}

// Case-insensitive test of the look-ahead, without building a string (this runs for
// every backslash and brace of the template).
bool TRpTemplateReader::lookAheadIs(std::string_view word, bool noLetterAfter) const
{
    const int len = static_cast<int>(word.size());
    std::int32_t p = FReport.Fpnt;
    // Most tests fail on the first byte; decide those without the general loop.
    if (p <= FReport.Flent) {
        const unsigned char first = byteAt(p);
        if (first > 0x1F && upper(first) != word[0])
            return false;
    }
    int k = 0;
    while (k <= len) {
        int b = 0x1A;
        if (p <= FReport.Flent) {
            b = byteAt(p++);
            if (b <= 0x1F && b != '\t')
                continue;
        }
        if (k == len)
            return !(noLetterAfter && isLetter(b));
        if (upper(b) != word[k])
            return false;
        ++k;
    }
    return true;
}

bool TRpTemplateReader::IsBoundary(unsigned char ch)
{
    if (ch != '\\')
        return false;
    static constexpr std::string_view words[] = {"TROWD", "ROW",  "CELL", "PAGE",
                                                 "SECT",  "LINE", "PAR"};
    for (std::string_view w : words) {
        if (lookAheadIs(w, true)) {
            FReport.FLastBoundaryPnt = FReport.Fpnt - 1;
            return true;
        }
    }
    return false;
}

bool TRpTemplateReader::NeedToSkipBlock(unsigned char ch) const
{
    if (ch != '{')
        return false;
    return (!FProcessFormFields && lookAheadIs("\\FIELD", true)) ||
           lookAheadIs("\\*\\FLDINST", true) || lookAheadIs("\\PICT", true) ||
           lookAheadIs("\\OBJECT", true) || lookAheadIs("\\SHPRSLT", true);
}

bool TRpTemplateReader::isBackSlash(unsigned char ch) const
{
    if (ch != '\\')
        return false;
    // A backslash ending a line is the RTF paragraph symbol, not a literal backslash.
    const unsigned char next = byteAt(FReport.Fpnt);
    if (next == '\n' || next == '\r')
        return false;
    if (lookAheadIs("\\", false))
        return !lookAheadIs("\\*", false);
    return lookAheadIs("'5C", false);
}

// Moves the cursor over `count` bytes as the look-ahead saw them (control bytes between
// them do not count), so that a header word broken across lines is passed whole.
void TRpTemplateReader::skipBytes(int count)
{
    auto &r = FReport;
    while (count > 0 && r.Fpnt <= r.Flent) {
        const unsigned char b = byteAt(r.Fpnt++);
        if (b > 0x1F || b == '\t')
            --count;
    }
}

// Consecutive copy items merge into one; only the last cursor matters, so the item is
// written once, right before anything else goes into the stream.
void TRpTemplateReader::markBloc()
{
    FPendingBlocPnt = FReport.Fpnt;
}

void TRpTemplateReader::flushBloc()
{
    if (FPendingBlocPnt < 0)
        return;
    const std::int32_t cursor = FReport.Fpnt;
    FReport.Fpnt = FPendingBlocPnt;
    FReport.CmSaveBlocItem();
    FReport.Fpnt = cursor;
    FPendingBlocPnt = -1;
}

void TRpTemplateReader::consumeDelimiter()
{
    if (ReadFb() == '\'') {
        ReadFb();
        ReadFb();
    }
}

bool TRpTemplateReader::isLeftQuote(unsigned char ch)
{
    const auto set = [this](std::uint32_t cls, int skip, const QString &str) {
        FQuoteIndex = cls;
        FQuoteSkip = skip;
        FQuoteStr = str;
        return true;
    };
    switch (ch) {
    case 0x93:
        return set(1, 1, QString(QChar(0x201C)));
    case 0x94:
        return set(1, 1, QString(QChar(0x201D)));
    case 0xAB:
        return set(3, 1, QString(QChar(0xAB)));
    case 0xBB:
        return set(3, 1, QString(QChar(0xBB)));
    case '"':
        return set(4, 1, QStringLiteral("\""));
    case '\'':
        return set(5, 1, QStringLiteral("'"));
    case '`':
        return set(6, 1, QStringLiteral("`"));
    case '~':
        return set(7, 1, QStringLiteral("~"));
    case '\\':
        break;
    default:
        return false;
    }
    if (lookAheadIs("'93", false))
        return set(1, 4, QStringLiteral("\\'93"));
    if (lookAheadIs("'94", false))
        return set(1, 4, QStringLiteral("\\'94"));
    if (lookAheadIs("LQUOTE", true))
        return set(2, 7, QStringLiteral("\\lquote"));
    if (lookAheadIs("LDBLQUOTE", false))
        return set(8, 10, QStringLiteral("\\ldblquote"));
    if (lookAheadIs("RDBLQUOTE", false))
        return set(8, 10, QStringLiteral("\\rdblquote"));
    if (lookAheadIs("RQUOTE", true))
        return set(2, 7, QStringLiteral("\\rquote"));
    if (lookAheadIs("'AB", false))
        return set(3, 4, QStringLiteral("\\'ab"));
    if (lookAheadIs("'BB", false))
        return set(3, 4, QStringLiteral("\\'bb"));
    return false;
}

bool TRpTemplateReader::isRightQuote(unsigned char ch)
{
    const auto set = [this](int skip, const QString &str) {
        FQuoteSkip = skip;
        FQuoteStr = str;
        return true;
    };
    switch (FQuoteIndex) {
    case 1:
    case 8:
        if (ch == 0x94)
            return set(1, QString(QChar(0x201D)));
        if (ch == '\\' && lookAheadIs("'94", false))
            return set(4, QStringLiteral("\\'94"));
        if (ch == '\\' && lookAheadIs("RDBLQUOTE", false))
            return set(10, QStringLiteral("\\rdblquote"));
        return false;
    case 2:
    case 5:
        if (ch == '\'')
            return set(1, QStringLiteral("'"));
        if (ch == '\\' && lookAheadIs("RQUOTE", true))
            return set(7, QStringLiteral("\\rquote"));
        return false;
    case 3:
        if (ch == 0xBB)
            return set(1, QString(QChar(0xBB)));
        if (ch == '\\' && lookAheadIs("'BB", false))
            return set(4, QStringLiteral("\\'bb"));
        return false;
    case 4:
        return ch == '"' && set(1, QStringLiteral("\""));
    case 6:
        return ch == '`' && set(1, QStringLiteral("`"));
    case 7:
        return ch == '~' && set(1, QStringLiteral("~"));
    default:
        return false;
    }
}

void TRpTemplateReader::appendQuote(QString &raw)
{
    raw += FQuoteStr;
    FReport.Fpnt += FQuoteSkip - 1;
}

QString TRpTemplateReader::GetNextReportField()
{
    auto &r = FReport;
    const char *buf = r.FPFile.constData();
    const auto at = [buf, &r](std::int32_t pnt) -> unsigned char {
        return pnt >= 1 && pnt <= r.Flent ? static_cast<unsigned char>(buf[pnt - 1]) : 0x1A;
    };
    bool found = false;
    while (r.Fpnt <= r.Flent) {
        // Bytes that matter are rare: the cursor is kept in a local while plain text is passed
        // over, and the general reader is only asked about control bytes.
        std::int32_t p = r.Fpnt;
        const std::int32_t len = r.Flent;
        unsigned char ch = static_cast<unsigned char>(buf[p - 1]);
        if (ch < 0x20 && ch != '\n' && ch != '\t') {
            ch = ReadFb();
            p = r.Fpnt;
        } else {
            ++p;
        }
        if (ch != '{' && ch != '}' && ch != '\\') {
            // Plain text has no effect but being copied: pass the whole run in one item.
            p = plainRunEnd(buf, p - 1, len) + 1;
            r.Fpnt = FPendingBlocPnt = p;
            continue;
        }
        r.Fpnt = p;
        // Ordinary control words and groups need none of the tests below; they are most of a
        // document's markup, so they are decided on the bytes in place.
        const unsigned char next = at(p);
        if (ch == '\\' && isLetter(next)) {
            const ControlWord w = readControlWord(buf, len, p - 1);
            const WordKind kind = classifyControlWord(w);
            if (kind != WordKind::General) {
                if (kind == WordKind::Boundary)
                    r.FLastBoundaryPnt = p - 1;
                r.Fpnt = FPendingBlocPnt = p + w.span;
                continue;
            }
        }
        if (ch == '\\' && next == '\'' && !(at(p + 1) == '5' && upper(at(p + 2)) == 'C')) {
            FPendingBlocPnt = p;
            continue;
        }
        if (ch == '{' && next > 0x1F &&
            (next != '\\' || (at(p + 1) != '*' && at(p + 1) > 0x1F &&
                              isOrdinaryGroupWord(readControlWord(buf, len, p))))) {
            FUcStack.Push(FUnicodeSkipCount);
            FPendingBlocPnt = p;
            continue;
        }
        if (ch == '}') {
            FUnicodeSkipCount = FUcStack.Pop();
            FPendingBlocPnt = p;
            continue;
        }
        IsBoundary(ch);
        if (ch == '{') {
            const struct
            {
                bool *flag;
                const char *word;
                int length;
                std::int32_t id;
            } headers[] = {{&FIsFontTable, "\\FONTTBL", 8, cmFontTable},
                           {&FIsColorTable, "\\COLORTBL", 9, cmColorTable},
                           {&FIsStyle, "\\STYLESHEET", 11, cmStyleSheet},
                           {&FIsDocInfo, "\\INFO", 5, cmDocInfo}};
            bool taken = false;
            for (const auto &h : headers) {
                if (*h.flag || !lookAheadIs(h.word, true))
                    continue;
                flushBloc();
                skipBytes(h.length);
                if (h.id == cmFontTable)
                    ProcessFontTable();
                else if (h.id == cmColorTable)
                    ProcessColorTable();
                else
                    ReadSubGroups(h.id == cmStyleSheet ? FRTFStyle : FRTFDocInfo);
                r.CmSaveItemInfo(h.id, RpCmBodySize::None, r.Fpnt);
                r.CmSaveItemPos();
                *h.flag = true;
                taken = true;
                break;
            }
            if (taken)
                continue;
            if (NeedToSkipBlock(ch)) {
                flushBloc();
                SkipBlock();
                r.CmSaveBalancedBlocItem();
                continue;
            }
            FUcStack.Push(FUnicodeSkipCount);
        } else if (lookAheadIs("UC", false) &&
                   isDigitChar(static_cast<unsigned char>(getns(3)[2]))) {
            const QByteArray la = getns(20);
            std::int64_t v = 0;
            for (int k = 2; k < la.size() && isDigitChar(la[k]) && v < 1000000; ++k)
                v = v * 10 + (la[k] - '0');
            FUnicodeSkipCount = static_cast<std::int32_t>(v);
        }

        if (ch == '\\') {
            if (lookAheadIs("TROWD", true)) {
                flushBloc();
                r.Fpnt -= 1;
                r.CmSaveTableBegin();
                FInTable = FTableRowOpen = true;
                r.Fpnt += 1;
                r.CmSaveBlocItem();
                continue;
            }
            if (lookAheadIs("ROW", true)) {
                flushBloc();
                r.Fpnt += 3;
                r.CmSaveBlocItem();
                r.CmSaveTableEnd();
                FInTable = FTableRowOpen = false;
                continue;
            }
            if (lookAheadIs("INTBL", false)) {
                flushBloc();
                r.Fpnt -= 1;
                r.CmSaveTableBegin();
                FInTable = true;
                r.Fpnt += 1;
                r.CmSaveBlocItem();
                continue;
            }
            if (FInTable && !FTableRowOpen && lookAheadIs("PARD", false)) {
                flushBloc();
                r.Fpnt += 4;
                r.CmSaveBlocItem();
                r.CmSaveTableEnd();
                FInTable = false;
                continue;
            }
            if (isBackSlash(ch)) {
                r.FKwdPnt = r.Fpnt - 1;
                consumeDelimiter();
                found = true;
                break;
            }
        }
        markBloc();
    }
    flushBloc();
    if (!found)
        return QString();
    QString raw;
    if (!fieldScan(raw))
        return QString();
    return raw;
}

// The second half of the scan: the bytes of one field up to its closing delimiter.
bool TRpTemplateReader::fieldScan(QString &raw)
{
    auto &r = FReport;
    raw.clear();
    const std::int32_t start = r.Fpnt;
    int counter = 0;
    const auto keep = [&](unsigned char first, int count) {
        raw += QChar(first);
        for (int k = 1; k < count; ++k)
            raw += RpCp1252Char(ReadFb());
        counter += count;
    };
    while (counter < maxFieldBytes && !FileEof()) {
        const unsigned char ch = ReadFb();
        if (FQuoteIndex == 0 && isLeftQuote(ch)) {
            appendQuote(raw);
            counter += FQuoteSkip;
            continue;
        }
        if (FQuoteIndex != 0) {
            if (isRightQuote(ch)) {
                // Only the opening quote counts against the field limit.
                appendQuote(raw);
                FQuoteIndex = 0;
                FQuoteSkip = 0;
                FQuoteStr.clear();
            } else if (isBackSlash(ch)) {
                keep(ch, lookAheadIs("\\", false) ? 2 : 4);
            } else if (ch == '\\' && lookAheadIs("'", false)) {
                keep(ch, 4);
            } else if (ch == '\\' && lookAheadIs("~", false)) {
                keep(ch, 2);
            } else {
                raw += RpCp1252Char(ch);
                ++counter;
            }
            continue;
        }
        if (isBackSlash(ch)) {
            consumeDelimiter();
            return true;
        }
        if (ch == '\\' && lookAheadIs("'", false)) {
            keep(ch, 4);
        } else if (ch == '\\' && lookAheadIs("~", false)) {
            keep(ch, 2);
        } else {
            raw += RpCp1252Char(ch);
            ++counter;
            if (IsBoundary(ch) || NeedToSkipBlock(ch))
                break;
        }
    }
    const bool tooLong = counter >= maxFieldBytes;
    // Abandoned: the opening delimiter is copied as text and scanning resumes after it.
    r.Fpnt = start;
    FQuoteIndex = 0;
    FQuoteSkip = 0;
    FQuoteStr.clear();
    r.CmSaveBlocItem();
    raw.clear();
    if (tooLong && OnFieldTooLong)
        OnFieldTooLong(r.FKwdPnt);
    return false;
}

void TRpTemplateReader::SkipBlock()
{
    auto &r = FReport;
    int depth = 1;
    while (r.Fpnt <= r.Flent && depth > 0) {
        const unsigned char b = byteAt(r.Fpnt++);
        if (b == '{') {
            ++depth;
        } else if (b == '}') {
            --depth;
        } else if (b == '\\') {
            const unsigned char nx = byteAt(r.Fpnt);
            // Escaped braces and backslashes are text, not group marks.
            if (nx == '\\' || nx == '{' || nx == '}') {
                ++r.Fpnt;
            } else if (nx == 'b' && byteAt(r.Fpnt + 1) == 'i' && byteAt(r.Fpnt + 2) == 'n' &&
                       isDigitChar(byteAt(r.Fpnt + 3))) {
                // Binary data may hold any byte, braces included: jump over it.
                r.Fpnt += 3;
                std::int64_t count = 0;
                while (isDigitChar(byteAt(r.Fpnt)) && r.Fpnt <= r.Flent) {
                    count = std::min<std::int64_t>(count * 10 + (byteAt(r.Fpnt) - '0'), r.Flent);
                    ++r.Fpnt;
                }
                r.Fpnt = static_cast<std::int32_t>(
                    std::min<std::int64_t>(std::int64_t(r.Fpnt) + 1 + count, r.Flent + 1));
            }
        }
    }
}

bool TRpTemplateReader::readGroup(QByteArray &group)
{
    group = "{";
    int depth = 1;
    while (!FileEof()) {
        const unsigned char b = ReadFb();
        group += char(b);
        if (b == '\\') {
            if (FileEof())
                return false;
            group += char(ReadFb());
        } else if (b == '{') {
            ++depth;
        } else if (b == '}' && --depth == 0) {
            return true;
        }
    }
    return false;
}

void TRpTemplateReader::ProcessFontTable()
{
    QByteArray loose;
    const auto flushLoose = [&]() {
        // Entries written without braces ("\f0\fswiss Helvetica;") are kept as they stand.
        const QByteArray t = loose.trimmed();
        if (!t.isEmpty())
            FRTFFont.append(QString::fromLatin1(t));
        loose.clear();
    };
    for (;;) {
        if (FileEof())
            badRtf(fontTableError);
        const unsigned char b = ReadFb();
        if (b == '}') {
            flushLoose();
            break;
        }
        if (b == '{') {
            flushLoose();
            QByteArray group;
            if (!readGroup(group))
                badRtf(fontTableError);
            FRTFFont.append(QString::fromLatin1(group));
        } else {
            loose += char(b);
            if (b == ';')
                flushLoose();
        }
    }
    // The default character set stands for the system's single-byte code page, which is
    // Windows-1252 here; readers outside Windows only understand it spelled as ANSI (0).
    const QString charset = QString::number(FCharset == 1 ? 0 : FCharset);
    for (QString &entry : FRTFFont) {
        int at = entry.indexOf(QLatin1String("fcharset"));
        while (at >= 0) {
            const int digits = at + 8;
            int end = digits;
            while (end < entry.size() && entry[end].isDigit())
                ++end;
            if (end == digits)
                badRtf(msg::NoFontCharset);
            // A font that names its own script (Cyrillic, Greek, Japanese, Symbol ...) holds
            // text in that script's code page; giving it the report's charset would turn its
            // text into Western letters. Only the fonts that say ANSI or "default" take it.
            const QStringView own = QStringView(entry).mid(digits, end - digits);
            const bool generic = own.toInt() <= 1;
            if (generic)
                entry.replace(digits, end - digits, charset);
            at = entry.indexOf(QLatin1String("fcharset"), generic ? digits + charset.size() : end);
        }
    }
}

void TRpTemplateReader::ProcessColorTable()
{
    QByteArray body;
    int depth = 1;
    for (;;) {
        if (FileEof())
            badRtf(msg::NoColorTable);
        const unsigned char b = ReadFb();
        if (b == '{')
            ++depth;
        else if (b == '}' && --depth == 0)
            break;
        body += char(b);
    }
    const int firstSlash = body.indexOf('\\');
    const QByteArray head = (firstSlash < 0 ? body : body.left(firstSlash)).trimmed();
    if (!head.isEmpty())
        FRTFColor.append(QString::fromLatin1(head));
    const auto numberAfter = [&body](int pos) {
        int v = 0;
        while (pos < body.size() && isDigitChar(body[pos]) && v < 256)
            v = v * 10 + (body[pos++] - '0');
        return std::min(v, 255);
    };
    int at = body.indexOf("red");
    while (at >= 0) {
        TRpColor c;
        c.fr = static_cast<std::uint8_t>(numberAfter(at + 3));
        const int g = body.indexOf("green", at);
        if (g >= 0) {
            c.fg = static_cast<std::uint8_t>(numberAfter(g + 5));
            const int bl = body.indexOf("blue", g);
            if (bl >= 0)
                c.fb = static_cast<std::uint8_t>(numberAfter(bl + 4));
        }
        FDocColorTable.push_back(c);
        FRTFColor.append(QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.fr).arg(c.fg).arg(c.fb));
        at = body.indexOf("red", at + 3);
    }
}

void TRpTemplateReader::ReadSubGroups(QStringList &list)
{
    for (;;) {
        if (FileEof())
            return;
        const unsigned char b = ReadFb();
        if (b == '}')
            return;
        if (b == '{') {
            QByteArray group;
            if (!readGroup(group))
                return;
            list.append(QString::fromLatin1(group));
        }
    }
}

void TRpTemplateReader::CutRtString(const QString &raw, QString &fieldText, QString &markup)
{
    fieldText.clear();
    markup.clear();
    const int n = raw.size();
    const QString s = raw + QString(10, u' ');
    int drop = 0;
    QString field;
    const auto toField = [&](QChar c) {
        if (drop > 0) {
            --drop;
            return;
        }
        field += c;
    };
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        const char16_t u = c.unicode();
        if (u == '{') {
            if (QStringView(s).mid(i + 1, 5) == u"\\*\\pn" &&
                (s[i + 6] == u' ' || isLetter(s[i + 6].unicode()))) {
                int depth = 0;
                int j = i;
                for (; j < n; ++j) {
                    if (s[j] == u'{') {
                        ++depth;
                    } else if (s[j] == u'}' && --depth == 0) {
                        ++j;
                        break;
                    }
                }
                markup += s.mid(i, j - i);
                i = j;
                continue;
            }
            markup += c;
            FUcStack.Push(FUnicodeSkipCount);
            ++i;
            continue;
        }
        if (u == '}') {
            markup += c;
            FUnicodeSkipCount = FUcStack.Pop();
            ++i;
            continue;
        }
        if (u == '\\') {
            const QChar nx = s[i + 1];
            if (nx == u'\\' || nx == u'{' || nx == u'}') {
                toField(nx);
                i += 2;
                continue;
            }
            if (nx == u'~') {
                toField(u' ');
                i += 2;
                continue;
            }
            if (nx == u'\'') {
                const int h = hexValue(s[i + 2]);
                const int l = hexValue(s[i + 3]);
                if (h != NoHexDigit && l != NoHexDigit && (h | l) != 0)
                    toField(RpCp1252Char(static_cast<unsigned char>(h * 16 + l)));
                i += 4;
                continue;
            }
            if ((nx == u'u' || nx == u'U') && isDigitChar(s[i + 2].unicode())) {
                int j = i + 2;
                std::int64_t v = 0;
                while (j < n && isDigitChar(s[j].unicode())) {
                    v = (v * 10 + (s[j].unicode() - '0')) % 65536;
                    ++j;
                }
                toField(QChar(static_cast<char16_t>(v)));
                drop = FUnicodeSkipCount;
                if (s[j] == u' ' && j < n)
                    ++j;
                i = j;
                continue;
            }
            // A control word: letters, an optional signed number, one delimiting blank.
            int j = i + 1;
            if (isLetter(nx.unicode())) {
                while (j < n && isLetter(s[j].unicode()))
                    ++j;
                const QStringView word = QStringView(s).mid(i + 1, j - i - 1);
                const bool endsWord = !isLetter(s[j].unicode()) && !isDigitChar(s[j].unicode());
                if (endsWord && (word == u"lquote" || word == u"rquote" || word == u"ldblquote" ||
                                 word == u"rdblquote")) {
                    toField(word == u"ldblquote"   ? QChar(0x201C)
                            : word == u"rdblquote" ? QChar(0x201D)
                                                   : QChar(u'\''));
                    i = (s[j] == u' ' && j < n) ? j + 1 : j;
                    continue;
                }
                const int numStart = j;
                if (s[j] == u'-' && isDigitChar(s[j + 1].unicode()))
                    ++j;
                while (j < n && isDigitChar(s[j].unicode()))
                    ++j;
                if (word == u"uc" && j > numStart)
                    FUnicodeSkipCount = s.mid(numStart, j - numStart).toInt();
                if (s[j] == u' ' && j < n)
                    ++j;
            } else {
                j = std::min(i + 2, n);
            }
            markup += s.mid(i, j - i);
            i = j;
            continue;
        }
        // Typographic quotes open strings, so they stay with the field text.
        const bool quote = u == 0x201C || u == 0x201D;
        if (u < 0x20 || u == '^' || (u >= 0x450 && !quote)) {
            markup += c;
            ++i;
            continue;
        }
        toField(c);
        ++i;
    }

    // Blanks go, except inside quoted strings and [bracketed names].
    const QString t = RpTrim(field);
    QString out;
    out.reserve(t.size());
    bool bracket = false;
    for (int k = 0; k < t.size(); ++k) {
        const QChar c = t[k];
        if (RpLeftQuote(c)) {
            int j = k + 1;
            while (j < t.size() && !RpRightQuote(c, t[j]))
                ++j;
            out += t.mid(k, j - k + 1);
            k = j;
            continue;
        }
        if (c == u'[') {
            bracket = true;
        } else if (c == u']') {
            bracket = false;
        } else if (c != u' ' || bracket) {
            out += c;
        }
    }
    fieldText = RpTrim(out);
}

QString TRpTemplateReader::KillPar()
{
    auto &r = FReport;
    const std::int32_t saved = r.Fpnt;
    // Cleaning text that was already scanned must not replay its "\uc" groups.
    const std::int32_t savedUc = FUnicodeSkipCount;
    const TRpIntStack savedStack = FUcStack;
    const auto cut = [&](const QString &raw) {
        QString f;
        QString m;
        CutRtString(raw, f, m);
        FUnicodeSkipCount = savedUc;
        FUcStack = savedStack;
        return f;
    };

    bool visibleBefore = false;
    if (r.FLastBoundaryPnt != -1 && r.FLastBoundaryPnt < r.FKwdPnt) {
        r.Fpnt = r.FLastBoundaryPnt;
        QString before;
        while (r.Fpnt < r.FKwdPnt && !FileEof())
            before += RpCp1252Char(ReadFb());
        visibleBefore = !cut(before).isEmpty();
    }

    r.Fpnt = saved;
    QString collected;
    bool found = false;
    while (!FileEof()) {
        const unsigned char ch = ReadFb();
        collected += RpCp1252Char(ch);
        if (ch == '\\' && lookAheadIs("PAR", false)) {
            const QByteArray la = getns(4);
            if (!isLetter(la[3]) && !isDigitChar(la[3])) {
                found = true;
                break;
            }
        }
    }
    if (found) {
        collected.chop(1);
        if (cut(collected).isEmpty() && !visibleBefore) {
            r.FLastBoundaryPnt = r.Fpnt - 1;
            r.Fpnt += 3;
            if (byteAt(r.Fpnt) == ' ')
                ++r.Fpnt;
            return collected;
        }
    }
    r.Fpnt = saved;
    return QString();
}

int TRpTemplateReader::UseColor(const QString &entry)
{
    const int at = FRTFColor.indexOf(entry);
    if (at >= 0)
        return at;
    if (FRTFColor.isEmpty())
        FRTFColor.append(QStringLiteral(";"));
    FRTFColor.append(entry);
    return FRTFColor.size() - 1;
}

QString TRpTemplateReader::FontTableText() const
{
    QString out = QLatin1String("{\\fonttbl") + FRTFFont.join(QString()) + QLatin1Char('}');
    if (!FIsColorTable && !FRTFColor.isEmpty())
        out += ColorTableText();
    return out;
}

QString TRpTemplateReader::ColorTableText() const
{
    return QLatin1String("{\\colortbl") + FRTFColor.join(QString()) + QLatin1Char('}');
}

QString TRpTemplateReader::StyleText() const
{
    return QLatin1String("{\\stylesheet") + FRTFStyle.join(QString()) + QLatin1Char('}');
}

QString TRpTemplateReader::DocInfoText() const
{
    return QLatin1String("{\\info") + FRTFDocInfo.join(QString()) + QLatin1Char('}');
}

TRpTemplatePos TRpTemplateReader::PositionOf(std::int32_t pnt) const
{
    TRpTemplatePos pos;
    if (pnt < 1 || pnt > FReport.Flent + 1)
        return pos;
    pos.line = 1;
    pos.column = 1;
    const char *buf = FReport.FPFile.constData();
    for (std::int32_t i = 0; i < pnt - 1; ++i) {
        const char b = buf[i];
        if (b == '\n' || (b == '\r' && (i + 1 >= FReport.Flent || buf[i + 1] != '\n'))) {
            ++pos.line;
            pos.column = 1;
        } else if (b != '\r') {
            ++pos.column;
        }
    }
    return pos;
}

void TRpBaseReport::ReadFileBody()
{
    Fpnt = 1;
    if (FTmLoaded)
        return;
    const QFileInfo info(FInFile);
    if (FInFile.isEmpty() || !info.isFile())
        throw EIOError((msg::CannotReadFile + FInFile).toStdString());
    QFile file(FInFile);
    const qint64 size = info.size();
    const auto cannotRead = [this](const QString &reason) {
        return EIOError(
            (msg::CannotReadTemplate + FInFile + msg::DetailSeparator + reason).toStdString());
    };
    if (size > std::numeric_limits<std::int32_t>::max() - 1)
        throw cannotRead(msg::TemplateTooLarge);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotRead(file.errorString());
    FPFile = file.read(size);
    Flent = static_cast<std::int32_t>(FPFile.size());
    if (file.error() != QFileDevice::NoError)
        throw cannotRead(file.errorString());
    if (Flent < size)
        throw cannotRead(msg::ShortTemplateRead(Flent, size));
}

void TRpBaseReport::SetTemplateBuffer(const QByteArray &bytes, int size)
{
    if (FExecute)
        throw EIOError(msg::TemplateWhileExecuting);
    FPFile = (size < 0 || size >= bytes.size()) ? bytes : bytes.left(size);
    Flent = static_cast<std::int32_t>(FPFile.size());
    FTmLoaded = true;
    FInFile.clear();
    Fpnt = 1;
}

void TRpBaseReport::FreeTemplate()
{
    if (!FTmLoaded)
        return;
    FPFile.clear();
    FTmLoaded = false;
    Fpnt = 1;
    Flent = -1;
}

void TRpBaseReport::FreePFile()
{
    FPFile.clear();
    Flent = -1;
}

} // namespace rp
