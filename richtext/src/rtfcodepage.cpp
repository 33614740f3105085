// SPDX-License-Identifier: MIT
// Code page decoding through per-page byte tables, and Qt's ICU-backed decoders.
#include "rtfcodepage.h"

#include <zc/cp1252.h>

#include <QHash>
#include <QStringDecoder>

#include <array>
#include <memory>

namespace rtf {

namespace {

QByteArray decoderName(int codePage)
{
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
        return "IBM" + QByteArray::number(codePage);
    case 874:
        return "windows-874";
    case 932:
        return "windows-31j";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    // The Mac's East Asian encodings are close enough to their Windows twins.
    case 10001:
        return "windows-31j";
    case 10002:
        return "Big5";
    case 10003:
        return "windows-949";
    case 10008:
        return "GBK";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-ce";
    case 10081:
        return "x-mac-turkish";
    case 20866:
        return "KOI8-R";
    case 28591:
    case 28592:
    case 28595:
    case 28597:
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

bool isMultiByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 10001 || codePage == 10002 || codePage == 10003 || codePage == 10008 ||
           codePage == 65001;
}

// The Symbol font puts Greek letters and signs at Latin positions; readers
// show them through Unicode. Only the part texts commonly use is mapped.
char16_t symbolChar(unsigned char b)
{
    static constexpr char16_t greekUpper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static constexpr char16_t greekLower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (b >= 'A' && b <= 'Z')
        return greekUpper[b - 'A'];
    if (b >= 'a' && b <= 'z')
        return greekLower[b - 'a'];
    switch (b) {
    case 0xB7:
        return u'\u2022';
    case 0xA7:
        return u'\u2663';
    case 0xA8:
        return u'\u2666';
    case 0xA9:
        return u'\u2665';
    case 0xAA:
        return u'\u2660';
    case 0xB0:
        return u'\u00B0';
    case 0xB1:
        return u'\u00B1';
    case 0xB4:
        return u'\u00D7';
    case 0xB8:
        return u'\u00F7';
    case 0xAE:
        return u'\u2192';
    case 0xAC:
        return u'\u2190';
    case 0xD7:
        return u'\u22C5';
    default:
        return b < 0x80 ? char16_t(b) : u'\uFFFD';
    }
}

using ByteTable = std::array<char16_t, 256>;

// Single-byte pages decode byte by byte through a table built once per page. Windows-1252
// and the Symbol font have their own tables; Qt's decoders give the others.
const ByteTable *byteTable(int codePage)
{
    static QHash<int, std::shared_ptr<ByteTable>> tables;
    auto it = tables.find(codePage);
    if (it != tables.end())
        return it->get();
    std::shared_ptr<ByteTable> table;
    QStringDecoder decoder(decoderName(codePage).constData());
    if (codePage == 1252 || codePage == 42 || decoder.isValid()) {
        table = std::make_shared<ByteTable>();
        for (int b = 0; b < 256; ++b) {
            if (codePage == 1252) {
                (*table)[b] = zc::Cp1252Char(static_cast<unsigned char>(b)).unicode();
                continue;
            }
            if (codePage == 42) {
                (*table)[b] = symbolChar(static_cast<unsigned char>(b));
                continue;
            }
            const char c = static_cast<char>(b);
            QStringDecoder one(decoderName(codePage).constData(), QStringDecoder::Flag::Stateless);
            const QString s = one(QByteArrayView(&c, 1));
            (*table)[b] = s.size() == 1 ? s.at(0).unicode() : u'\uFFFD';
        }
    }
    tables.insert(codePage, table);
    return table.get();
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 2:
        return 42;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

bool isCodePageSupported(int codePage)
{
    if (isMultiByte(codePage))
        return QStringDecoder(decoderName(codePage).constData()).isValid();
    return byteTable(codePage) != nullptr;
}

void appendDecoded(int codePage, QByteArrayView bytes, QString &out)
{
    if (bytes.isEmpty())
        return;
    if (isMultiByte(codePage)) {
        QStringDecoder decoder(decoderName(codePage).constData(), QStringDecoder::Flag::Stateless);
        if (decoder.isValid()) {
            out += decoder(bytes);
            return;
        }
        codePage = 1252;
    }
    const ByteTable *table = byteTable(codePage);
    if (!table)
        table = byteTable(1252);
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *dst = out.data() + start;
    for (char c : bytes)
        *dst++ = QChar((*table)[static_cast<unsigned char>(c)]);
}

} // namespace rtf
