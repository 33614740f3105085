// SPDX-License-Identifier: MIT
// RTF tokenizer: the byte-level syntax of control words, groups, escapes and \bin.
#include <richtext/rtftokenizer.h>

namespace rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isGroupOrEscape(char c)
{
    return c == '{' || c == '}' || c == '\\';
}

// Bytes that end a run of plain text.
bool endsText(char c)
{
    return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

QString errorText(RtfError error)
{
    switch (error) {
    case RtfError::None:
        return QStringLiteral("No error");
    case RtfError::UnexpectedEof:
        return QStringLiteral("Unexpected end of data inside a group");
    case RtfError::GroupUnder:
        return QStringLiteral("Closing brace without an open group");
    case RtfError::NestingTooDeep:
        return QStringLiteral("Groups nested too deeply");
    }
    return {};
}

RtfTokenizer::RtfTokenizer(QByteArrayView data, RtfListener &listener)
    : m_data(data), m_listener(listener)
{
}

RtfError RtfTokenizer::run()
{
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        RtfError error = RtfError::None;
        switch (m_data[m_pos]) {
        case '{':
            if (m_depth >= MaxDepth)
                return RtfError::NestingTooDeep;
            ++m_pos;
            ++m_depth;
            error = m_listener.groupStart();
            break;
        case '}':
            if (m_depth == 0)
                return RtfError::GroupUnder;
            ++m_pos;
            --m_depth;
            error = m_listener.groupEnd();
            // What follows the document's outermost group is not part of it
            // (often a NUL left by a program that saved a C string).
            if (error == RtfError::None && m_depth == 0)
                return RtfError::None;
            break;
        case '\\':
            error = readControl();
            break;
        case '\r':
        case '\n':
        case '\0':
            ++m_pos;
            break;
        default:
            error = readText();
            break;
        }
        if (error != RtfError::None)
            return error;
    }
    return m_depth > 0 ? RtfError::UnexpectedEof : RtfError::None;
}

RtfError RtfTokenizer::readText()
{
    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && !endsText(m_data[m_pos]))
        ++m_pos;
    return m_listener.text(m_data.sliced(start, m_pos - start));
}

// Parses  "\" letter{1,32} ["-"] digit* [" "]  |  "\'" hex hex  |  "\" other.
RtfError RtfTokenizer::readControl()
{
    const qsizetype size = m_data.size();
    if (m_pos + 1 >= size) {
        m_pos = size;
        return RtfError::UnexpectedEof;
    }
    const char next = m_data[m_pos + 1];
    if (next == '\'') {
        m_pos += 2;
        // The escape spans two characters. A malformed one still stands for
        // one (unknown) byte, so that \uc fallback counting stays in step;
        // braces and backslashes are never swallowed.
        int value = 0;
        int taken = 0;
        bool valid = true;
        while (taken < 2 && m_pos < size && !isGroupOrEscape(m_data[m_pos])) {
            const int v = hexValue(m_data[m_pos++]);
            ++taken;
            valid = valid && v >= 0;
            value = value * 16 + v;
        }
        if (!valid || taken < 2)
            value = 0; // a NUL byte is no text
        return m_listener.hexByte(static_cast<unsigned char>(value));
    }
    if (!isLetter(next)) {
        m_pos += 2;
        // A backslash before a line break is an old spelling of \par.
        if (next == '\r' || next == '\n')
            return m_listener.controlWord(findKeyword("par"), "par", false, 0);
        return m_listener.controlSymbol(next);
    }

    const qsizetype nameStart = m_pos + 1;
    qsizetype end = nameStart;
    while (end < size && isLetter(m_data[end]))
        ++end;
    // Longer names are not RTF; they are read whole and ignored as unknown.
    const QByteArrayView name = m_data.sliced(nameStart, end - nameStart);

    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (end < size && m_data[end] == '-' && end + 1 < size && isDigit(m_data[end + 1])) {
        negative = true;
        ++end;
    }
    while (end < size && isDigit(m_data[end])) {
        hasParam = true;
        // Saturate instead of overflowing on absurd numbers.
        if (param < 0x7fffffffLL)
            param = param * 10 + (m_data[end] - '0');
        ++end;
    }
    if (param > 0x7fffffffLL)
        param = 0x7fffffffLL;
    if (negative)
        param = -param;
    if (end < size && m_data[end] == ' ')
        ++end;
    m_pos = end;

    const KeywordEntry *entry = name.size() <= MaxKeywordLength ? findKeyword(name) : nullptr;
    if (entry && entry->keyword == Keyword::Bin) {
        // \bin data may hold any byte, braces included: hand it over unparsed.
        const qsizetype wanted = hasParam && param > 0 ? static_cast<qsizetype>(param) : 0;
        const qsizetype length = std::min(wanted, size - m_pos);
        const QByteArrayView data = m_data.sliced(m_pos, length);
        m_pos += length;
        return m_listener.binary(data);
    }
    return m_listener.controlWord(entry, name, hasParam, static_cast<int>(param));
}

} // namespace rtf
