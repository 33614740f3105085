// SPDX-License-Identifier: MIT
// Windows-1252 tables: 0x80-0x9F differ from Latin-1, everything else maps to itself.
#include <zc/cp1252.h>

namespace zc {

namespace {

// Bytes 0x80-0x9F; unassigned ones keep their own value (as the system converter does).
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int Cp1252Byte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (High[i] == u)
            return 0x80 + i;
    return -1;
}

QChar Cp1252Char(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? QChar(High[byte - 0x80]) : QChar(byte);
}

QByteArray ToCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = Cp1252Byte(c);
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

QString FromCp1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes)
        out.append(Cp1252Char(static_cast<unsigned char>(ch)));
    return out;
}

} // namespace zc
