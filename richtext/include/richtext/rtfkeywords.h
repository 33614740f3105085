// SPDX-License-Identifier: MIT
// The RTF control words the reader understands, as one data table.
#pragma once

#include <QByteArrayView>

#include <span>

namespace rtf {

/// How a control word uses its parameter.
enum class KeywordType
{
    Flag,        ///< no parameter meaning, e.g. \pard
    Toggle,      ///< on without parameter, off with 0, e.g. \b0
    Value,       ///< needs a number; the table gives the default, e.g. \fs24
    Destination, ///< starts a destination: the rest of the group is its content
    Symbol,      ///< stands for one character, e.g. \emdash
};

/// Every control word with a meaning for the reader. Unknown words are ignored.
enum class Keyword
{
    // Document and character set
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    // Destinations
    FontTable,
    ColorTable,
    StyleSheet,
    Info,
    Header,
    HeaderL,
    HeaderR,
    HeaderF,
    Footer,
    FooterL,
    FooterR,
    FooterF,
    Footnote,
    Annotation,
    AtnId,
    AtnAuthor,
    Pict,
    Object,
    ObjData,
    Result,
    Field,
    FldInst,
    FldRslt,
    PnText,
    ListText,
    Pn,
    PnTxtA,
    PnTxtB,
    ShpPict,
    NonShpPict,
    ShpInst,
    ShpRslt,
    Upr,
    Ud,
    Xe,
    Tc,
    Txe,
    Template,
    Do,
    NoNestTables,
    FtnSep,
    FtnSepC,
    FtnCn,
    AftnSep,
    AftnSepC,
    AftnCn,
    RevTbl,
    FileTbl,
    ListTable,
    ListOverrideTable,
    NestTableProps,
    // Font and colour table entries
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // Character formatting
    Plain,
    Fs,
    B,
    I,
    Ul,
    UlD,
    UlDash,
    UlDashD,
    UlDashDD,
    UlDb,
    UlHWave,
    UlLDash,
    UlNone,
    UlTh,
    UlThD,
    UlThDash,
    UlThDashD,
    UlThDashDD,
    UlThLDash,
    UlULDbWave,
    UlW,
    UlWave,
    Strike,
    StrikeD,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Cf,
    Cb,
    Highlight,
    ChCbPat,
    V,
    Caps,
    SCaps,
    // Paragraph formatting
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    Qd,
    Li,
    Ri,
    Fi,
    Lin,
    Rin,
    Sb,
    Sa,
    Sl,
    SlMult,
    PageBb,
    InTbl,
    Itap,
    // Paragraph numbering of Word 6 and 95, inside {\pn ...}
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnDec,
    PnUcLtr,
    PnLcLtr,
    PnUcRm,
    PnLcRm,
    PnStart,
    PnF,
    // Breaks
    Par,
    Line,
    Tab,
    Page,
    Sect,
    // Special characters
    EmDash,
    EnDash,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Bullet,
    EmSpace,
    EnSpace,
    QmSpace,
    Zwj,
    Zwnj,
    LtrMark,
    RtlMark,
    // Tables
    TRowD,
    CellX,
    Cell,
    Row,
    NestCell,
    NestRow,
    // Pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WMetafile,
    MacPict,
    DibBitmap,
    WBitmap,
    PmMetafile,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    Bin,
};

/// One row of the keyword table.
struct KeywordEntry
{
    const char *name; ///< the word without its backslash
    KeywordType type;
    Keyword keyword;
    int defaultParam;    ///< used when the word carries no number
    char16_t symbol = 0; ///< the character of a Symbol word
};

/// Looks a control word up; nullptr for words the reader does not know.
const KeywordEntry *findKeyword(QByteArrayView name);

/// The whole table (for tests and diagnostics).
std::span<const KeywordEntry> keywordTable();

} // namespace rtf
