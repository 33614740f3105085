// SPDX-License-Identifier: MIT
// Template reader: walks the RTF template once, takes out header groups, finds report fields.
#pragma once

#include "compiler/rpcompiler.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace rp {

class TRpBaseReport;

/// Windows-1252 character of a byte (undefined bytes map to the same code point).
QChar RpCp1252Char(unsigned char byte);
/// Windows-1252 byte of a character; '?' for a character the code page lacks.
char RpCp1252Byte(QChar c);

/// Escapes plain text for RTF. With `unicodeByDefault`, characters above U+00FF become
/// "\uN" plus a code-page fallback, and the result is wrapped in "{\uc1 ...}".
QString txt2rtf(const QString &text, bool unicodeByDefault);

/// One colour of the document colour table.
struct TRpColor
{
    std::uint8_t fr = 0;
    std::uint8_t fg = 0;
    std::uint8_t fb = 0;
    std::uint32_t Color() const { return fr + fg * 256u + fb * 65536u; }
    void SetColor(std::uint32_t c)
    {
        fr = c & 0xFF;
        fg = (c >> 8) & 0xFF;
        fb = (c >> 16) & 0xFF;
    }
};

/// A stretch of the temporary output followed by the header group `id` (0: none).
struct TRpOutTabRec
{
    std::int32_t n1 = 0;
    std::int32_t n2 = 0;
    std::int32_t id = 0;
};

/// The template-side front end of a run. It reads the report's template buffer
/// (FPFile, Flent, Fpnt) and writes the copy, table and header items into the
/// report's command stream while it looks for fields.
class TRpTemplateReader
{
public:
    explicit TRpTemplateReader(TRpBaseReport &report);

    /// Clears all state of a previous run: lists, flags, positions, the \uc stack.
    void ResetForRun();

    // Options the reader depends on
    std::uint8_t FCharset = 1;
    bool FProcessFormFields = false;
    bool FUnicodeByDefault = false;

    /// Next byte at the cursor, control bytes other than LF and TAB skipped; 0x1A at the end.
    unsigned char ReadFb();
    /// The next `n` bytes from the cursor, control bytes skipped; cursor unchanged.
    QByteArray getns(int n) const;
    bool FileEof() const;

    /// Scans on to the next field, emitting items for the text before it; returns the raw
    /// field text, or "" when no field was found (end of template, or an abandoned field).
    QString GetNextReportField();
    /// Separates a raw field into plain field text and the RTF markup embedded in it.
    void CutRtString(const QString &raw, QString &fieldText, QString &markup);
    /// Swallows the paragraph mark after a control field that stands alone on its line;
    /// returns the markup before it, or "" when the mark stays.
    QString KillPar();

    /// Index of a colour entry in the colour list, adding it (after ";") when absent.
    int UseColor(const QString &entry);
    /// Header groups as they are written back into the result.
    QString FontTableText() const;
    QString ColorTableText() const;
    QString StyleText() const;
    QString DocInfoText() const;

    /// Line and column of a 1-based template position.
    TRpTemplatePos PositionOf(std::int32_t pnt) const;

    /// Called with the position of the opening delimiter of a field given up on because it
    /// is longer than the limit; the field is copied as text when the call returns.
    std::function<void(std::int32_t kwdPnt)> OnFieldTooLong;

    // Reader state
    std::uint32_t FQuoteIndex = 0;
    std::int32_t FQuoteSkip = 0;
    QString FQuoteStr;
    std::int32_t FUnicodeSkipCount = 1;
    TRpIntStack FUcStack;
    bool FInTable = false;
    bool FTableRowOpen = false;
    bool FIsFontTable = false;
    bool FIsColorTable = false;
    bool FIsStyle = false;
    bool FIsDocInfo = false;
    QStringList FRTFFont;
    QStringList FRTFColor;
    QStringList FRTFStyle;
    QStringList FRTFDocInfo;
    std::vector<TRpColor> FDocColorTable;
    std::vector<TRpOutTabRec> FOutTab;

private:
    unsigned char byteAt(std::int32_t pnt) const; // 1-based; 0x1A outside
    bool lookAheadIs(std::string_view word, bool noLetterAfter) const;
    void markBloc();
    void flushBloc();
    bool IsBoundary(unsigned char ch);
    bool NeedToSkipBlock(unsigned char ch) const;
    bool isBackSlash(unsigned char ch) const;
    void consumeDelimiter();
    void skipBytes(int count);
    bool isLeftQuote(unsigned char ch);
    bool isRightQuote(unsigned char ch);
    void appendQuote(QString &raw);
    void SkipBlock();
    /// Reads a brace group whose "{" was just read, up to its matching "}"; false at the end.
    bool readGroup(QByteArray &group);
    void ProcessFontTable();
    void ProcessColorTable();
    void ReadSubGroups(QStringList &list);
    bool fieldScan(QString &raw);

    TRpBaseReport &FReport;
    std::int32_t FPendingBlocPnt = -1; ///< cursor of a copy item not written yet
};

} // namespace rp
