// SPDX-License-Identifier: MIT
// RTF memo insertion: an inserted document's body is copied and its header tables merged.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace rp {

class TRpBaseRTFReport;
class TRpStream;

/// What the processor does with a control word.
enum TRpkwActionMethod : std::uint8_t
{
    amSkip,         ///< left out
    amSave,         ///< copied
    amSaveChange,   ///< copied, its number replaced through a table
    amSaveRun,      ///< copied, and a procedure runs
    amSkipRun,      ///< left out, and a procedure runs
    amSkipBlock,    ///< the group it opens is left out
    amSaveBlock,    ///< the group it opens is copied unchanged
    amReadBlockRun, ///< the group it opens is read by a procedure
    amSkipInTable,  ///< table structure, left out when inserting inside a table
};

struct TRpkwAction
{
    const char *word; ///< without the backslash
    TRpkwActionMethod action;
    std::uint8_t proc; ///< procedure number, 0 for none
};

/// The keyword action table, sorted by word (byte order).
const std::vector<TRpkwAction> &RpKeywordActions();
/// The entry of `word`, or nullptr for a word the table does not know.
const TRpkwAction *RpFindKeyword(const QByteArray &word);

/// Kind of the last token the insertion stream read.
enum TRpkwType : std::uint8_t
{
    kwNone,
    kwOpen,
    kwClose,
    kwKeyDest,
    kwKeyWord,
    kwKeyChar,
    kwHexChar,
    kwChar,
};

/// Old-to-new number pairs of one inserted table; binary-searched once sorted.
class TRpReplTable
{
public:
    struct Pair
    {
        std::int32_t oldNumber;
        std::int32_t newNumber;
    };
    void AddRepl(std::int32_t oldNumber, std::int32_t newNumber);
    void SortReplTable();
    /// The new number of `old`, or `old` itself when the inserted tables never named it.
    std::int32_t Old2New(std::int32_t old);

    std::vector<Pair> FRepl;
    std::int32_t FReplCount = 0;
    bool FReplSorted = true;
};

struct TRpFontStr
{
    std::uint16_t n = 0;
    QString text; ///< the entry after its number, up to and including "}"
};

/// Font table: entries "{\f" + number + text.
class TRpFontStrings : public TRpReplTable
{
public:
    explicit TRpFontStrings(TRpStream *owner = nullptr) : FOwnerRPS(owner) {}
    bool Add(const QString &s);
    /// Merges an inserted document's entry: an identical font is reused.
    bool AddNew(const QString &s);
    /// Adds every entry; loose ones ("\f0\fswiss Arial;") are given their braces.
    void AddFromList(const QStringList &list);
    int FindNumber(const QString &text) const;
    QString GetString(int i) const;
    int Count() const { return FCount; }

    std::vector<TRpFontStr> FStrings;
    std::int32_t FCount = 0;
    std::int32_t FHighNumber = -1;
    TRpStream *FOwnerRPS;
};

/// Colour table: entries ending with ";", numbered by position.
class TRpColorStrings : public TRpReplTable
{
public:
    explicit TRpColorStrings(TRpStream *owner = nullptr) : FOwnerRPS(owner) {}
    bool Add(const QString &s);
    bool AddNew(std::int32_t oldNumber, const QString &s);
    int FindNumber(const QString &s) const;
    QString GetString(int i) const;
    int Count() const { return FCount; }

    QStringList FStrings;
    std::int32_t FCount = 0;
    TRpStream *FOwnerRPS;
};

struct TRpStyleStr
{
    std::uint16_t n = 0;
    std::uint8_t t = 0; ///< 0 "{", 1 "{\s", 2 "{\*\cs", 3 "{\ds", 4 "{\*\ts"
    QString text;
    bool isNew = false; ///< from an inserted document, references not yet corrected
};

/// Style sheet entries.
class TRpStyleStrings : public TRpReplTable
{
public:
    explicit TRpStyleStrings(TRpStream *owner = nullptr) : FOwnerRPS(owner) {}
    /// Splits an entry into number, kind and the text after the number.
    static TRpStyleStr CutNumber(const QString &s);
    bool Add(const QString &s);
    bool AddNew(const QString &s);
    int FindNumber(const QString &text) const;
    /// Renumbers the fonts, colours and styles that new entries refer to.
    void CorrectNewStyles();
    QString GetString(int i) const;
    int Count() const { return FCount; }

    std::vector<TRpStyleStr> FStrings;
    std::int32_t FCount = 0;
    std::int32_t FHighNumber = -1;
    TRpStream *FOwnerRPS;
};

/// One insertion: reads the source RTF, writes its body, merges its tables.
class TRpStream
{
public:
    TRpStream(TRpBaseRTFReport *owner, QIODevice *source);
    void SetOutStream(QIODevice *out) { FOutStream = out; }
    /// Writes pending text, then `text` as single-byte code page bytes.
    void Write(const QString &text);
    void WriteBytes(const QByteArray &bytes);
    /// Hands buffered output to the output device (Process ends with it).
    void Flush();
    /// Copies the body into the output and merges the header tables.
    void Process();

    QIODevice *FStream;
    QIODevice *FOutStream = nullptr;
    TRpBaseRTFReport *FOwner;
    qint64 FSize = 0;
    TRpkwType Fkw = kwNone;
    QString FPreWrite;
    QByteArray FLastRead, FLastKey, FLastParam, FLastDelimeter;
    qint64 FLastParPosition = -1;
    QByteArray FLastParDelimeter;
    std::vector<std::int32_t> FPositionStack;
    std::int32_t FStackSize = 0;
    std::int32_t FStackCur = -1;
    std::int32_t FDefFont = -1;
    std::int32_t FNewDefFont = -1;
    /// Table structure words are left out (the insertion lies inside a table cell).
    bool FInTable = false;
    TRpFontStrings FFontTable{this};
    TRpColorStrings FColorTable{this};
    TRpStyleStrings FStyleTable{this};

private:
    bool nextToken();
    void processWord(const TRpkwAction *kw);
    void skipGroup();
    QByteArray readGroupRaw();
    void readFontTable();
    void readColorTable();
    void readStyleSheet();
    std::int32_t paramValue() const;

    QByteArray FData;
    QByteArray FOutBuf;
    qint64 FPos = 0;
    int FDepth = 0;
};

/// Inserts RTF text into `out` and merges its tables into `report`'s header lists.
void InsertRtfMemo(TRpBaseRTFReport &report, QIODevice *out, const QString &text);
/// As InsertRtfMemo; the inserted text's last paragraph mark is blanked.
void InsertRtfMemoPar(TRpBaseRTFReport &report, QIODevice *out, const QString &text);
void InsertRtfMemoStream(TRpBaseRTFReport &report, QIODevice *out, QIODevice *source);
void InsertRtfMemoStreamPar(TRpBaseRTFReport &report, QIODevice *out, QIODevice *source);

} // namespace rp
