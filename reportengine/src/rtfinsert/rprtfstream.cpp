// SPDX-License-Identifier: MIT
// RTF memo insertion: the tokenizer, the body processor and the four entry points.
#include "rtfinsert/rprtfstream.h"
#include "reader/rpreader.h"
#include "rpcheckedio.h"

#include <reportengine/rprtf.h>
#include <zc/cp1252.h>

#include <QBuffer>

#include <memory>

namespace rp {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

TRpStream::TRpStream(TRpBaseRTFReport *owner, QIODevice *source) : FStream(source), FOwner(owner)
{
    if (FStream) {
        FData = FStream->readAll();
        FSize = FData.size();
    }
}

void TRpStream::Write(const QString &text)
{
    WriteBytes(zc::ToCp1252(text));
}

void TRpStream::WriteBytes(const QByteArray &bytes)
{
    if (!FOutStream)
        return;
    if (!FPreWrite.isEmpty()) {
        FOutBuf += zc::ToCp1252(FPreWrite);
        FPreWrite.clear();
    }
    // Tokens are small; writing each to the device would cost more than reading them.
    FOutBuf += bytes;
    if (FOutBuf.size() >= 65536)
        Flush();
}

void TRpStream::Flush()
{
    if (FOutStream && !FOutBuf.isEmpty())
        RpWriteChecked(FOutStream, FOutBuf);
    FOutBuf.clear();
}

bool TRpStream::nextToken()
{
    FLastKey.clear();
    FLastParam.clear();
    FLastDelimeter.clear();
    if (FPos >= FSize) {
        Fkw = kwNone;
        FLastRead.clear();
        return false;
    }
    const qint64 start = FPos;
    const char c = FData[FPos++];
    if (c == '{') {
        Fkw = kwOpen;
    } else if (c == '}') {
        Fkw = kwClose;
    } else if (c == '\\') {
        if (FPos >= FSize) {
            // A lone backslash at the end would escape the brace written after it.
            Fkw = kwNone;
            FLastRead.clear();
            return false;
        }
        const char d = FData[FPos];
        if (isLetter(d)) {
            while (FPos < FSize && isLetter(FData[FPos]) && FPos - start <= 32)
                FLastKey += FData[FPos++];
            const qint64 p0 = FPos;
            if (FPos < FSize && FData[FPos] == '-')
                ++FPos;
            while (FPos < FSize && isDigit(FData[FPos]) && FPos - p0 < 10)
                ++FPos;
            FLastParam = FData.mid(p0, FPos - p0);
            if (FLastParam == "-") {
                FLastParam.clear();
                FPos = p0;
            }
            if (FPos < FSize && FData[FPos] == ' ')
                FLastDelimeter = FData.mid(FPos++, 1);
            Fkw = kwKeyWord;
        } else if (d == '*') {
            ++FPos;
            Fkw = kwKeyDest;
        } else if (d == '\'') {
            ++FPos;
            int hex = 0;
            while (hex < 2 && FPos < FSize && isxdigit(static_cast<unsigned char>(FData[FPos])))
                ++FPos, ++hex;
            Fkw = kwHexChar;
        } else {
            ++FPos;
            Fkw = kwKeyChar;
        }
    } else {
        while (FPos < FSize && FData[FPos] != '{' && FData[FPos] != '}' && FData[FPos] != '\\')
            ++FPos;
        Fkw = kwChar;
    }
    FLastRead = FData.mid(start, FPos - start);
    return true;
}

std::int32_t TRpStream::paramValue() const
{
    bool ok = false;
    const int v = FLastParam.toInt(&ok);
    return ok ? v : 0;
}

// Position just after the group whose opening brace is already behind FPos; \bin data
// is jumped over so that braces inside it do not count.
QByteArray TRpStream::readGroupRaw()
{
    QByteArray raw;
    int depth = 1;
    while (FPos < FSize && depth > 0) {
        const char c = FData[FPos++];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            --depth;
        } else if (c == '\\') {
            if (FPos >= FSize)
                break; // a lone backslash at the end would escape the closing brace added below
            if (FData.mid(FPos, 3) == "bin" && FPos + 3 < FSize && isDigit(FData[FPos + 3])) {
                FPos += 3;
                qint64 n = 0;
                while (FPos < FSize && isDigit(FData[FPos]) && n < FSize)
                    n = n * 10 + (FData[FPos++] - '0');
                while (FPos < FSize && isDigit(FData[FPos]))
                    ++FPos;
                if (FPos < FSize && FData[FPos] == ' ')
                    ++FPos;
                // The count written is the count of bytes that are there (see processWord).
                n = std::min(n, FSize - FPos);
                raw += "\\bin" + QByteArray::number(n) + ' ' + FData.mid(FPos, n);
                FPos += n;
                continue;
            }
            raw += c;
            raw += FData[FPos++];
            continue;
        }
        raw += c;
    }
    if (depth > 0)
        raw += QByteArray(depth, '}'); // a truncated source still gives a balanced group
    return raw;
}

void TRpStream::skipGroup()
{
    readGroupRaw();
}

void TRpStream::readFontTable()
{
    QByteArray loose;
    while (FPos < FSize) {
        const char c = FData[FPos];
        if (c == '}') {
            ++FPos;
            break;
        }
        if (c == '{') {
            ++FPos;
            QByteArray group = '{' + readGroupRaw();
            group.replace('\r', "").replace('\n', "");
            FFontTable.AddNew(QString::fromLatin1(group.trimmed()));
            continue;
        }
        ++FPos;
        if (c == '\r' || c == '\n')
            continue;
        loose += c;
        if (c == ';') {
            FFontTable.AddNew(QString::fromLatin1('{' + loose.trimmed() + '}'));
            loose.clear();
        }
    }
}

void TRpStream::readColorTable()
{
    QByteArray body = readGroupRaw();
    body.chop(1); // its closing brace
    QByteArray entry;
    int position = 0;
    for (char c : body) {
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t')
            continue;
        entry += c;
        if (c == ';') {
            FColorTable.AddNew(position++, QString::fromLatin1(entry));
            entry.clear();
        }
    }
}

void TRpStream::readStyleSheet()
{
    while (FPos < FSize) {
        const char c = FData[FPos++];
        if (c == '}')
            break;
        if (c == '{')
            FStyleTable.AddNew(QString::fromLatin1('{' + readGroupRaw()));
    }
    FStyleTable.CorrectNewStyles();
}

void TRpStream::processWord(const TRpkwAction *kw)
{
    if (!kw) {
        // Words the table does not know are formatting of the body: kept.
        WriteBytes(FLastRead);
        return;
    }
    const auto renumbered = [this](TRpReplTable &table) {
        if (FLastParam.isEmpty())
            return FLastRead;
        return '\\' + FLastKey + QByteArray::number(table.Old2New(paramValue())) + FLastDelimeter;
    };
    switch (kw->action) {
    case amSkip:
    case amSkipBlock:
    case amReadBlockRun:
        return; // the last two only mean something at the start of a group
    case amSkipRun:
        if (kw->proc == 1 && !FLastParam.isEmpty())
            FDefFont = paramValue();
        return;
    case amSkipInTable:
        if (!FInTable)
            WriteBytes(FLastRead);
        return;
    case amSave:
    case amSaveBlock:
        WriteBytes(FLastRead);
        return;
    case amSaveRun:
        if (kw->proc == 3) {
            // Only the bytes that are there are copied, and the count says so: a lying
            // count would make readers swallow the rest of the document.
            const qint64 n = std::clamp<qint64>(paramValue(), 0, FSize - FPos);
            WriteBytes("\\bin" + QByteArray::number(n) + ' ');
            WriteBytes(FData.mid(FPos, n));
            FPos += n;
        } else if (kw->proc == 18) {
            WriteBytes(QByteArray());
            FLastParPosition = FOutStream ? FOutStream->pos() + FOutBuf.size() : -1;
            FLastParDelimeter = FLastDelimeter;
            WriteBytes(FLastRead);
        } else {
            WriteBytes(FLastRead);
        }
        return;
    case amSaveChange:
        break;
    }
    switch (kw->proc) {
    case 6:
    case 15:
        WriteBytes(renumbered(FFontTable));
        break;
    case 7:
    case 8:
    case 13:
    case 17:
        WriteBytes(renumbered(FColorTable));
        break;
    case 9:
    case 10:
    case 11:
    case 19:
        WriteBytes(renumbered(FStyleTable));
        break;
    case 12:
        // \plain falls back on the document's default font; the inserted text meant its own.
        if (FDefFont >= 0)
            WriteBytes("\\plain\\f" + QByteArray::number(FFontTable.Old2New(FDefFont)) +
                       (FLastDelimeter.isEmpty() ? QByteArray(" ") : FLastDelimeter));
        else
            WriteBytes(FLastRead);
        break;
    default:
        WriteBytes(FLastRead);
        break;
    }
}

void TRpStream::Process()
{
    FDepth = 0;
    while (nextToken()) {
        switch (Fkw) {
        case kwOpen: {
            const qint64 afterBrace = FPos;
            bool starred = false;
            nextToken();
            if (Fkw == kwKeyDest) {
                starred = true;
                nextToken();
            }
            const TRpkwAction *kw = Fkw == kwKeyWord ? RpFindKeyword(FLastKey) : nullptr;
            const TRpkwActionMethod action =
                kw ? kw->action : (starred && Fkw == kwKeyWord ? amSkipBlock : amSave);
            if (action == amSkipBlock) {
                skipGroup();
            } else if (action == amSaveBlock) {
                FPos = afterBrace;
                WriteBytes('{' + readGroupRaw());
            } else if (action == amReadBlockRun) {
                if (kw->proc == 2)
                    readFontTable();
                else if (kw->proc == 4)
                    readColorTable();
                else if (kw->proc == 5)
                    readStyleSheet();
                else
                    skipGroup();
            } else {
                FPos = afterBrace;
                WriteBytes("{");
                ++FDepth;
            }
            break;
        }
        case kwClose:
            // Surplus closing braces would close the template's own groups.
            if (FDepth > 0) {
                WriteBytes("}");
                --FDepth;
            }
            break;
        case kwKeyWord:
            processWord(RpFindKeyword(FLastKey));
            break;
        case kwKeyDest:
        case kwKeyChar:
        case kwHexChar:
        case kwChar:
            WriteBytes(FLastRead);
            break;
        case kwNone:
            break;
        }
    }
    if (FDepth > 0)
        WriteBytes(QByteArray(FDepth, '}'));
    FDepth = 0;
    Flush();
}

namespace {

void insertFrom(TRpBaseRTFReport &report, QIODevice *out, QIODevice *source, bool killPar)
{
    if (!out || !source)
        return;
    if (!source->isSequential())
        source->seek(0);
    auto rps = std::make_unique<TRpStream>(&report, source);
    rps->SetOutStream(out);
    TRpTemplateReader &doc = *report.FReader;
    rps->FInTable = false;
    rps->FFontTable.AddFromList(doc.FRTFFont);
    for (const QString &c : doc.FRTFColor)
        rps->FColorTable.Add(c);
    QStringList keptStyles;
    for (const QString &s : doc.FRTFStyle)
        if (!rps->FStyleTable.Add(s))
            keptStyles.append(s); // entries of an unusual form stay as they were
    rps->Process();

    doc.FRTFFont.clear();
    for (int i = 0; i < rps->FFontTable.Count(); ++i)
        doc.FRTFFont.append(rps->FFontTable.GetString(i));
    doc.FRTFColor.clear();
    for (int i = 0; i < rps->FColorTable.Count(); ++i)
        doc.FRTFColor.append(rps->FColorTable.GetString(i));
    doc.FRTFStyle.clear();
    for (int i = 0; i < rps->FStyleTable.Count(); ++i)
        doc.FRTFStyle.append(rps->FStyleTable.GetString(i));
    doc.FRTFStyle.append(keptStyles);

    if (killPar && rps->FLastParPosition >= 0 && !out->isSequential()) {
        const qint64 here = out->pos();
        out->seek(rps->FLastParPosition);
        RpWriteChecked(out, QByteArray(4 + rps->FLastParDelimeter.size(), '\r'));
        out->seek(here);
    }
}

void insertText(TRpBaseRTFReport &report, QIODevice *out, const QString &text, bool killPar)
{
    QByteArray bytes = zc::ToCp1252(text);
    QBuffer copy(&bytes);
    copy.open(QIODevice::ReadOnly);
    insertFrom(report, out, &copy, killPar);
}

} // namespace

void InsertRtfMemo(TRpBaseRTFReport &report, QIODevice *out, const QString &text)
{
    insertText(report, out, text, false);
}

void InsertRtfMemoPar(TRpBaseRTFReport &report, QIODevice *out, const QString &text)
{
    insertText(report, out, text, true);
}

void InsertRtfMemoStream(TRpBaseRTFReport &report, QIODevice *out, QIODevice *source)
{
    insertFrom(report, out, source, false);
}

void InsertRtfMemoStreamPar(TRpBaseRTFReport &report, QIODevice *out, QIODevice *source)
{
    insertFrom(report, out, source, true);
}

} // namespace rp
