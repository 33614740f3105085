// SPDX-License-Identifier: MIT
// RTF reader: a tokenizer listener that keeps the group state stack and
// builds the QTextDocument through one cursor.
#include <richtext/rtfreader.h>

#include "rtfcodepage.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <utility>
#include <vector>

namespace rtf {

namespace {

// 1440 twips per inch, documents laid out at 96 pixels per inch.
constexpr double TwipsPerPixel = 15.0;
constexpr int SymbolCodePage = 42;
// Qt draws a list item's bullet or number left of its text: a list item is
// indented at least this far (twips) so that the marker stays on the page.
constexpr int MarkerRoom = 360;
// Highest \pnstart honoured, and the most hidden list items a document
// gets for them; see DocumentBuilder::addListItem().
constexpr int MaxListStart = 1000;
constexpr int MaxHiddenItems = 10000;

enum class Dest
{
    Text,    // document text
    Skip,    // a group whose content is not shown
    UprSkip, // the 8-bit half of \upr, left for its \ud twin
    FontTable,
    ColorTable,
    FieldInst,
    Picture,
    Numbering,    // a {\pn ...} group
    NumberBefore, // its {\pntxtb ...}
    NumberAfter,  // its {\pntxta ...}
};

struct CharProps
{
    int font = -1;      // -1: the document's default font
    int halfPoints = 0; // 0: the view's default size
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment valign = QTextCharFormat::AlignNormal;
    QFont::Capitalization caps = QFont::MixedCase;
    int foreground = -1; // colour table indexes
    int background = -1;
    int link = -1; // index into the reader's link targets
    bool operator==(const CharProps &) const = default;
};

struct ParaProps
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool inTable = false;
    int nesting = 0;    // \itap
    int numbering = -1; // index into the reader's numberings, -1 without \pn
    bool operator==(const ParaProps &) const = default;
};

// Old-style paragraph numbering (Word 6 and 95): one {\pn ...} group.
struct Numbering
{
    enum Kind
    {
        None,
        Bullet,
        Numbered,
        Continued, // \pnlvlcont: no number of its own, the list goes on after it
    } kind = None;
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int start = 1;
    int font = -1;  // of the bullet text (\pnf)
    QString before; // \pntxtb: the bullet, or the text before the number
    QString after;  // \pntxta: the text after the number
    bool operator==(const Numbering &) const = default;
};

struct State
{
    Dest dest = Dest::Text;
    CharProps chr;
    ParaProps para;
    int unicodeSkip = 1; // \uc
    bool opensField = false;
    qsizetype labelMark = -1; // a {\pntext} group: characters inserted before it
};

struct FontEntry
{
    QString family;
    int codePage = 0; // 0: the document's code page
};

struct Field
{
    QString instruction;
    int link = -1;
};

struct Picture
{
    enum Kind
    {
        Other,
        Png,
        Jpeg
    } kind = Other;
    QByteArray hex;
    QByteArray binary;
    int goalWidth = 0; // twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
};

// Reads one argument of a field instruction: "quoted text" or a bare word.
QString fieldArgument(const QString &s, qsizetype &i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
    QString arg;
    if (i < s.size() && s[i] == u'"') {
        ++i;
        while (i < s.size() && s[i] != u'"')
            arg += s[i++];
        ++i;
    } else {
        while (i < s.size() && !s[i].isSpace())
            arg += s[i++];
    }
    return arg;
}

// The link target of a HYPERLINK field, or an empty string for other fields.
QString hyperlinkTarget(const QString &instruction)
{
    const QString s = instruction.trimmed();
    if (!s.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    QString url;
    QString anchor;
    qsizetype i = 9;
    while (i < s.size()) {
        while (i < s.size() && s[i].isSpace())
            ++i;
        if (i >= s.size())
            break;
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar option = s[i + 1];
            i += 2;
            if (option == u'l')
                anchor = fieldArgument(s, i);
            else if (option == u'o' || option == u't')
                fieldArgument(s, i);
            continue;
        }
        const QString arg = fieldArgument(s, i);
        if (url.isEmpty())
            url = arg;
    }
    if (!anchor.isEmpty())
        url += u'#' + anchor;
    return url;
}

class DocumentBuilder final : public RtfListener
{
public:
    explicit DocumentBuilder(QTextDocument &document) : m_document(document), m_cursor(&document)
    {
        m_stack.reserve(64);
        m_stack.push_back(State{});
    }

    RtfError groupStart() override;
    RtfError groupEnd() override;
    RtfError controlWord(const KeywordEntry *entry, QByteArrayView name, bool hasParam,
                         int param) override;
    RtfError controlSymbol(char symbol) override;
    RtfError text(QByteArrayView bytes) override;
    RtfError hexByte(unsigned char byte) override;
    RtfError binary(QByteArrayView data) override;

    /// Writes what is still pending; called once after the tokenizer stops.
    void finish();

private:
    State &st() { return m_stack.back(); }

    bool skipping() const
    {
        const Dest d = m_stack.back().dest;
        return d == Dest::Skip || d == Dest::UprSkip;
    }

    int currentCodePage() const;
    void appendBytes(QByteArrayView bytes);
    void flushBytes();
    void releaseSurrogate();
    void routeText(QStringView text);
    void appendDocumentText(QStringView text);
    void flushText();

    void prepareContent();
    void startTable();
    void startNextRow();
    void moveToNextCell();
    void endTable();
    void trimTable();
    static void markFillerBlock(QTextCursor cursor);
    void applyBlockFormat();
    void finishLabel(qsizetype mark);
    QString takeLabel();
    void addListItem(const Numbering &numbering);
    QTextListFormat listFormat(const Numbering &numbering) const;
    QTextListFormat::Style bulletStyle(const Numbering &numbering) const;
    void endParagraph(bool pageBreak);
    void endCell();
    void endRow();

    void startDestination(Keyword keyword);
    void characterKeyword(Keyword keyword, int value);
    void paragraphKeyword(Keyword keyword, int value);
    void numberingKeyword(Keyword keyword, int value);
    void fontTableKeyword(Keyword keyword, int value);
    void finishFontEntry();
    void colorTableText(QStringView text);
    void finishFieldInstruction();
    void finishPicture();

    QTextCharFormat charFormat(const CharProps &props);
    QTextBlockFormat blockFormat(const ParaProps &props, bool listItem) const;

    QTextDocument &m_document;
    QTextCursor m_cursor;
    std::vector<State> m_stack;
    bool m_ignorable = false;
    bool m_groupFresh = false; // nothing read yet in the current group
    int m_unicodeSkipLeft = 0;
    char16_t m_highSurrogate = 0; // first half of a pair, waiting for the second

    int m_docCodePage = 1252;
    bool m_codePageSet = false;
    int m_defaultFont = -1;
    QHash<int, FontEntry> m_fonts;
    int m_fontIndex = -1;
    bool m_fontOpen = false;
    QString m_fontName;
    int m_fontCharset = 0;
    int m_fontCpg = 0;

    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    std::vector<Field> m_fields;
    QStringList m_links;
    Picture m_picture;
    int m_pictureCount = 0;

    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    QString m_pendingText;
    CharProps m_pendingProps;
    bool m_pendingInTable = false;
    QString m_decoded;

    bool m_haveFormat = false;
    CharProps m_formatProps;
    QTextCharFormat m_format;

    bool m_breakPending = false;
    bool m_fillerBlock = true; // the current block is one Qt made, not the RTF
    bool m_pageBreakBefore = false;
    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    int m_columnsUsed = 0;
    bool m_cellEnded = false;
    bool m_rowEnded = false;
    std::vector<int> m_cellEdges; // \cellx of the current row definition

    std::vector<Numbering> m_numberings; // what ParaProps::numbering points to
    Numbering m_numbering;               // the {\pn} group being read
    qsizetype m_insertedChars = 0;       // text characters put into the document so far
    int m_labelStart = -1;               // the current paragraph's {\pntext}, if any
    int m_labelEnd = -1;
    QTextList *m_list = nullptr; // the list the next numbered paragraph may continue
    QTextListFormat m_listFormat;
    int m_hiddenItems = 0;
};

// --- Text -------------------------------------------------------------------

int DocumentBuilder::currentCodePage() const
{
    const int font = m_stack.back().chr.font >= 0 ? m_stack.back().chr.font : m_defaultFont;
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd() && it->codePage != 0)
        return it->codePage;
    return m_docCodePage;
}

void DocumentBuilder::appendBytes(QByteArrayView bytes)
{
    const int codePage = currentCodePage();
    if (!m_pendingBytes.isEmpty() && codePage != m_pendingCodePage)
        flushBytes();
    m_pendingCodePage = codePage;
    m_pendingBytes.append(bytes);
}

// Bytes wait until the run ends so that a double-byte character split over
// two \'hh escapes decodes as one.
void DocumentBuilder::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    m_decoded.clear();
    appendDecoded(m_pendingCodePage, m_pendingBytes, m_decoded);
    m_pendingBytes.clear();
    routeText(m_decoded);
}

// A high surrogate not followed by its low half is not a character.
void DocumentBuilder::releaseSurrogate()
{
    if (m_highSurrogate == 0)
        return;
    m_highSurrogate = 0;
    routeText(u"\uFFFD");
}

void DocumentBuilder::routeText(QStringView text)
{
    switch (st().dest) {
    case Dest::Text:
        if (!st().chr.hidden)
            appendDocumentText(text);
        break;
    case Dest::FontTable:
        if (const qsizetype semicolon = text.indexOf(u';'); semicolon >= 0) {
            m_fontName += text.first(semicolon);
            finishFontEntry();
        } else {
            m_fontName += text;
        }
        break;
    case Dest::ColorTable:
        colorTableText(text);
        break;
    case Dest::FieldInst:
        if (!m_fields.empty())
            m_fields.back().instruction += text;
        break;
    case Dest::NumberBefore:
    case Dest::NumberAfter:
        (st().dest == Dest::NumberBefore ? m_numbering.before : m_numbering.after) += text;
        m_numbering.font = st().chr.font;
        break;
    case Dest::Skip:
    case Dest::UprSkip:
    case Dest::Picture:
    case Dest::Numbering:
        break;
    }
}

void DocumentBuilder::appendDocumentText(QStringView text)
{
    const bool inTable = st().para.inTable || st().para.nesting > 0;
    if (m_pendingText.isEmpty() || inTable != m_pendingInTable) {
        // Table marks without a paragraph end still move the text into a cell.
        flushText();
        prepareContent();
        m_pendingInTable = inTable;
    } else if (!(m_pendingProps == st().chr)) {
        flushText();
    }
    m_pendingProps = st().chr;
    for (QChar c : text) {
        // Control characters other than tab are not text.
        if (c.unicode() >= 0x20 || c == u'\t')
            m_pendingText += c;
    }
}

void DocumentBuilder::flushText()
{
    if (m_pendingText.isEmpty())
        return;
    m_cursor.insertText(m_pendingText, charFormat(m_pendingProps));
    m_insertedChars += m_pendingText.size();
    m_pendingText.clear();
}

QTextCharFormat DocumentBuilder::charFormat(const CharProps &p)
{
    if (m_haveFormat && m_formatProps == p)
        return m_format;
    QTextCharFormat f;
    const int font = p.font >= 0 ? p.font : m_defaultFont;
    if (auto it = m_fonts.constFind(font); it != m_fonts.constEnd() && !it->family.isEmpty())
        f.setFontFamilies({it->family});
    if (p.halfPoints > 0)
        f.setFontPointSize(p.halfPoints / 2.0);
    if (p.bold)
        f.setFontWeight(QFont::Bold);
    if (p.italic)
        f.setFontItalic(true);
    if (p.strike)
        f.setFontStrikeOut(true);
    if (p.underline != QTextCharFormat::NoUnderline)
        f.setUnderlineStyle(p.underline);
    if (p.valign != QTextCharFormat::AlignNormal)
        f.setVerticalAlignment(p.valign);
    if (p.caps != QFont::MixedCase)
        f.setFontCapitalization(p.caps);
    auto color = [this](int index) {
        return index >= 0 && index < int(m_colors.size()) ? m_colors[index] : QColor();
    };
    if (const QColor c = color(p.foreground); c.isValid())
        f.setForeground(c);
    if (const QColor c = color(p.background); c.isValid())
        f.setBackground(c);
    if (p.link >= 0 && p.link < m_links.size()) {
        f.setAnchor(true);
        f.setAnchorHref(m_links[p.link]);
    }
    m_haveFormat = true;
    m_formatProps = p;
    m_format = f;
    return f;
}

// --- Paragraphs and tables ----------------------------------------------------

QTextBlockFormat DocumentBuilder::blockFormat(const ParaProps &p, bool listItem) const
{
    QTextBlockFormat f;
    f.setAlignment(p.alignment);
    f.setRightMargin(p.rightIndent / TwipsPerPixel);
    if (listItem) {
        // The list draws its marker in the room a hanging indent leaves left
        // of the text; the text itself stays at the left indent.
        f.setLeftMargin(std::max(p.leftIndent, MarkerRoom) / TwipsPerPixel);
        f.setTextIndent(std::max(p.firstIndent, 0) / TwipsPerPixel);
    } else {
        f.setLeftMargin(p.leftIndent / TwipsPerPixel);
        f.setTextIndent(p.firstIndent / TwipsPerPixel);
    }
    f.setTopMargin(p.spaceBefore / TwipsPerPixel);
    f.setBottomMargin(p.spaceAfter / TwipsPerPixel);
    if (p.lineSpacing > 0 && p.lineMultiple)
        f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing > 0)
        f.setLineHeight(p.lineSpacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        f.setLineHeight(-p.lineSpacing / TwipsPerPixel, QTextBlockFormat::FixedHeight);
    // With a hanging indent, word processors stop the first tab at the left
    // indent, so that list labels line up with the text below them. Qt
    // measures tab stops from the start of the first line.
    if (p.firstIndent < 0 && !listItem)
        f.setTabPositions({QTextOption::Tab(-p.firstIndent / TwipsPerPixel, QTextOption::LeftTab)});
    if (m_pageBreakBefore || p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

// Puts the cursor where the next content goes: into the right table cell,
// out of a finished table, or into a new paragraph after a \par.
void DocumentBuilder::prepareContent()
{
    const ParaProps &para = st().para;
    if (para.inTable || para.nesting > 0) {
        if (!m_table)
            startTable();
        else if (m_rowEnded)
            startNextRow();
        else if (m_cellEnded)
            moveToNextCell();
    } else if (m_table) {
        endTable();
    }
    if (m_breakPending) {
        m_cursor.insertBlock();
        m_breakPending = false;
    }
    m_fillerBlock = false;
}

void DocumentBuilder::markFillerBlock(QTextCursor cursor)
{
    QTextBlockFormat format = cursor.blockFormat();
    format.setProperty(FillerBlockProperty, true);
    cursor.setBlockFormat(format);
}

void DocumentBuilder::startTable()
{
    flushText();
    const int columns = std::max<int>(1, int(m_cellEdges.size()));
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderCollapse(true);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setAlignment(Qt::AlignLeft);
    if (int(m_cellEdges.size()) == columns) {
        QList<QTextLength> widths;
        int left = 0;
        for (int edge : m_cellEdges) {
            widths.append(
                QTextLength(QTextLength::FixedLength, std::max(1, edge - left) / TwipsPerPixel));
            left = edge;
        }
        format.setColumnWidthConstraints(widths);
    }
    // The table itself separates it from the paragraph before.
    m_breakPending = false;
    if (m_fillerBlock)
        markFillerBlock(m_cursor);
    m_table = m_cursor.insertTable(1, columns, format);
    m_row = 0;
    m_column = 0;
    m_columnsUsed = columns;
    m_cellEnded = false;
    m_rowEnded = false;
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
    m_list = nullptr; // lists do not run from cell to cell
}

// Qt re-indexes the whole table on every row or column added, so rows and
// columns are added in doubling steps and the spare ones cut at the end.
void DocumentBuilder::startNextRow()
{
    ++m_row;
    if (m_row >= m_table->rows())
        m_table->appendRows(m_table->rows());
    m_column = 0;
    const int wanted = int(m_cellEdges.size());
    if (wanted > m_table->columns())
        m_table->appendColumns(wanted - m_table->columns());
    m_columnsUsed = std::max(m_columnsUsed, wanted);
    m_rowEnded = false;
    m_cellEnded = false;
    m_breakPending = false;
    m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
    m_list = nullptr; // lists do not run from cell to cell
}

void DocumentBuilder::moveToNextCell()
{
    ++m_column;
    if (m_column >= m_table->columns())
        m_table->appendColumns(m_table->columns());
    m_columnsUsed = std::max(m_columnsUsed, m_column + 1);
    m_cellEnded = false;
    m_breakPending = false;
    m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
    m_list = nullptr; // lists do not run from cell to cell
}

void DocumentBuilder::trimTable()
{
    if (m_table->rows() > m_row + 1)
        m_table->removeRows(m_row + 1, m_table->rows() - m_row - 1);
    if (m_table->columns() > m_columnsUsed)
        m_table->removeColumns(m_columnsUsed, m_table->columns() - m_columnsUsed);
}

void DocumentBuilder::endTable()
{
    trimTable();
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_list = nullptr;
    m_cellEnded = false;
    m_rowEnded = false;
    m_breakPending = false;
    m_fillerBlock = true;
}

void DocumentBuilder::applyBlockFormat()
{
    const ParaProps &para = st().para;
    const Numbering *numbering = para.numbering >= 0 ? &m_numberings[para.numbering] : nullptr;
    const Numbering::Kind kind = numbering ? numbering->kind : Numbering::None;
    const bool listItem = kind == Numbering::Bullet || kind == Numbering::Numbered;
    QTextBlockFormat format = blockFormat(para, listItem);
    if (listItem) {
        // The list shows the bullet or number; the label written for readers
        // without numbering would show it twice.
        if (const QString label = takeLabel(); !label.isEmpty())
            format.setProperty(ListLabelProperty, label);
    }
    m_labelStart = m_labelEnd = -1;
    m_cursor.setBlockFormat(format);
    m_pageBreakBefore = false;
    if (listItem)
        addListItem(*numbering);
    else if (kind != Numbering::Continued)
        m_list = nullptr;
}

// Notes where the text of a {\pntext} or {\listtext} group went: the last
// `mark` characters inserted, as long as they are in the current paragraph.
void DocumentBuilder::finishLabel(qsizetype mark)
{
    flushText();
    const qsizetype length = m_insertedChars - mark;
    if (length <= 0)
        return;
    const int end = m_cursor.position();
    const int start = int(std::max<qsizetype>(end - length, m_cursor.block().position()));
    if (m_labelEnd < 0)
        m_labelStart = start;
    else if (m_labelEnd != start)
        return; // a second label further on is left as text
    m_labelEnd = end;
}

// Removes the current paragraph's label from the document and returns its text.
QString DocumentBuilder::takeLabel()
{
    const QTextBlock block = m_cursor.block();
    if (m_labelStart < block.position() || m_labelEnd > block.position() + block.length() - 1 ||
        m_labelStart >= m_labelEnd)
        return {};
    QTextCursor label(&m_document);
    label.setPosition(m_labelStart);
    label.setPosition(m_labelEnd, QTextCursor::KeepAnchor);
    const QString text = label.selectedText();
    label.removeSelectedText();
    return text;
}

// Puts the current paragraph into the open list when it looks the same, or
// starts a new list with it.
void DocumentBuilder::addListItem(const Numbering &numbering)
{
    // Qt draws the marker in the character format of the paragraph mark;
    // the item's first character gives it the size and colour of the text.
    const QTextBlock block = m_cursor.block();
    if (const QTextBlock::iterator it = block.begin(); !it.atEnd()) {
        if (const QTextCharFormat first = it.fragment().charFormat(); !first.isImageFormat())
            QTextCursor(block).setBlockCharFormat(first);
    }
    const QTextListFormat format = listFormat(numbering);
    if (m_list && format == m_listFormat) {
        m_list->add(block);
        return;
    }
    m_list = m_cursor.createList(format);
    m_listFormat = format;
    if (numbering.kind != Numbering::Numbered)
        return;
    // Qt numbers a list's items from 1. Hidden, empty items in front of the
    // first paragraph make it show the start number; the plain text skips
    // them as filler.
    const int hidden =
        std::min(std::clamp(numbering.start, 1, MaxListStart) - 1, MaxHiddenItems - m_hiddenItems);
    if (hidden <= 0)
        return;
    m_hiddenItems += hidden;
    const int first = block.position();
    QTextCursor front(block);
    for (int i = 0; i < hidden; ++i)
        front.insertBlock();
    for (QTextBlock b = m_document.findBlock(first); b.isValid() && b != m_cursor.block();
         b = b.next()) {
        QTextBlockFormat filler = b.blockFormat();
        filler.clearProperty(ListLabelProperty);
        filler.setProperty(FillerBlockProperty, true);
        QTextCursor(b).setBlockFormat(filler);
        b.setVisible(false);
    }
}

QTextListFormat DocumentBuilder::listFormat(const Numbering &n) const
{
    QTextListFormat f;
    f.setIndent(0); // the paragraph's \li indents the list
    if (n.kind == Numbering::Bullet) {
        f.setStyle(bulletStyle(n));
        return f;
    }
    f.setStyle(n.style);
    // Without \pntxta the number stands alone ("1", not Qt's "1.").
    f.setNumberPrefix(n.before);
    f.setNumberSuffix(n.after);
    return f;
}

// Qt draws three bullet shapes; other bullet characters get the round one.
QTextListFormat::Style DocumentBuilder::bulletStyle(const Numbering &n) const
{
    const QString text = (n.before.trimmed().isEmpty() ? n.after : n.before).trimmed();
    if (text.size() != 1)
        return QTextListFormat::ListDisc;
    const char16_t c = text.at(0).unicode();
    const auto font = m_fonts.constFind(n.font);
    if (font != m_fonts.constEnd() && font->family.startsWith(u"Wingdings", Qt::CaseInsensitive)) {
        // Wingdings' squares at \'a7, n and q, through the Symbol or ANSI
        // decoding the font table gave it.
        switch (c) {
        case u'\u00A7':
        case u'\u2663':
        case u'n':
        case u'\u03BD':
        case u'q':
        case u'\u03B8':
            return QTextListFormat::ListSquare;
        default:
            return QTextListFormat::ListDisc;
        }
    }
    switch (c) {
    case u'o':
    case u'\u25E6':
    case u'\u25CB':
        return QTextListFormat::ListCircle;
    case u'\u25AA':
    case u'\u25A0':
    case u'\u25A1':
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

void DocumentBuilder::endParagraph(bool pageBreak)
{
    flushText();
    prepareContent();
    applyBlockFormat();
    m_breakPending = true;
    m_pageBreakBefore = pageBreak;
}

void DocumentBuilder::endCell()
{
    flushText();
    // A cell mark means the paragraph is in a table, whatever the writer said.
    if (!st().para.inTable && st().para.nesting == 0)
        st().para.inTable = true;
    prepareContent();
    applyBlockFormat();
    m_cellEnded = true;
}

void DocumentBuilder::endRow()
{
    flushText();
    if (m_table) {
        m_rowEnded = true;
        m_cellEnded = false;
    }
}

// --- Tables of the header -------------------------------------------------------

void DocumentBuilder::finishFontEntry()
{
    if (m_fontOpen) {
        const int codePage = m_fontCpg > 0 ? m_fontCpg : codePageForCharset(m_fontCharset);
        const QString family = m_fontName.trimmed();
        // Documents do not always flag the Symbol font with its character set.
        const bool symbol = family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
        m_fonts.insert(m_fontIndex, FontEntry{family, symbol ? SymbolCodePage : codePage});
    }
    m_fontOpen = false;
    m_fontName.clear();
    m_fontCharset = 0;
    m_fontCpg = 0;
}

void DocumentBuilder::fontTableKeyword(Keyword keyword, int value)
{
    switch (keyword) {
    case Keyword::F:
        finishFontEntry();
        m_fontIndex = value;
        m_fontOpen = true;
        break;
    case Keyword::FCharset:
        m_fontCharset = value;
        break;
    case Keyword::Cpg:
        m_fontCpg = value;
        break;
    default:
        break;
    }
}

void DocumentBuilder::colorTableText(QStringView text)
{
    for (QChar c : text) {
        if (c != u';')
            continue;
        m_colors.push_back(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
    }
}

void DocumentBuilder::finishFieldInstruction()
{
    if (m_fields.empty())
        return;
    const QString target = hyperlinkTarget(m_fields.back().instruction);
    if (!target.isEmpty()) {
        m_fields.back().link = int(m_links.size());
        m_links.append(target);
    }
}

void DocumentBuilder::finishPicture()
{
    Picture picture = std::exchange(m_picture, Picture{});
    if (picture.kind == Picture::Other || skipping())
        return;
    const QByteArray data =
        picture.binary.isEmpty() ? QByteArray::fromHex(picture.hex) : picture.binary;
    QImage image;
    if (!image.loadFromData(data, picture.kind == Picture::Png ? "PNG" : "JPEG"))
        return;
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_pictureCount));
    m_document.addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    const double width = picture.goalWidth > 0
                             ? picture.goalWidth * picture.scaleX / 100.0 / TwipsPerPixel
                             : image.width() * picture.scaleX / 100.0;
    const double height = picture.goalHeight > 0
                              ? picture.goalHeight * picture.scaleY / 100.0 / TwipsPerPixel
                              : image.height() * picture.scaleY / 100.0;
    if (width > 0 && height > 0) {
        format.setWidth(width);
        format.setHeight(height);
    }
    flushText();
    prepareContent();
    m_cursor.insertImage(format);
    ++m_insertedChars;
}

// --- Listener -------------------------------------------------------------------

RtfError DocumentBuilder::groupStart()
{
    flushBytes();
    releaseSurrogate();
    m_unicodeSkipLeft = 0;
    m_ignorable = false;
    m_stack.push_back(m_stack.back());
    st().opensField = false;
    m_groupFresh = true;
    return RtfError::None;
}

RtfError DocumentBuilder::groupEnd()
{
    flushBytes();
    releaseSurrogate();
    m_unicodeSkipLeft = 0;
    m_ignorable = false;
    const State ended = m_stack.back();
    if (m_stack.size() > 1)
        m_stack.pop_back();
    const Dest now = st().dest;
    if (ended.dest == Dest::FieldInst && now != Dest::FieldInst)
        finishFieldInstruction();
    if (ended.dest == Dest::Picture && now != Dest::Picture)
        finishPicture();
    if (ended.dest == Dest::FontTable && now != Dest::FontTable)
        finishFontEntry();
    if (ended.dest == Dest::Numbering && now != Dest::Numbering) {
        // The numbering is a property of the paragraph the group is in.
        if (m_numberings.empty() || !(m_numberings.back() == m_numbering))
            m_numberings.push_back(m_numbering);
        st().para.numbering = int(m_numberings.size()) - 1;
    }
    if (ended.labelMark >= 0 && st().labelMark != ended.labelMark)
        finishLabel(ended.labelMark);
    if (ended.opensField && !m_fields.empty())
        m_fields.pop_back();
    return RtfError::None;
}

RtfError DocumentBuilder::controlSymbol(char symbol)
{
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return RtfError::None;
    }
    releaseSurrogate();
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        if (st().dest != Dest::Picture && !skipping())
            appendBytes(QByteArrayView(&symbol, 1));
        return RtfError::None;
    default:
        break;
    }
    flushBytes();
    if (symbol != '*')
        m_groupFresh = false;
    switch (symbol) {
    case '*':
        // Only a group's first word can be an ignorable destination; a stray
        // "\*" further on is ignored, as other readers do.
        m_ignorable = m_groupFresh;
        break;
    case '~':
        routeText(u"\u00A0");
        break;
    case '-':
        routeText(u"\u00AD");
        break;
    case '_':
        routeText(u"\u2011");
        break;
    case '\t':
        routeText(u"\t");
        break;
    default:
        break;
    }
    return RtfError::None;
}

RtfError DocumentBuilder::text(QByteArrayView bytes)
{
    m_groupFresh = false;
    if (m_unicodeSkipLeft > 0) {
        const qsizetype drop = std::min<qsizetype>(m_unicodeSkipLeft, bytes.size());
        bytes = bytes.sliced(drop);
        m_unicodeSkipLeft -= int(drop);
    }
    if (bytes.isEmpty() || skipping())
        return RtfError::None;
    releaseSurrogate();
    if (st().dest == Dest::Picture) {
        m_picture.hex.append(bytes);
        return RtfError::None;
    }
    appendBytes(bytes);
    return RtfError::None;
}

RtfError DocumentBuilder::hexByte(unsigned char byte)
{
    m_groupFresh = false;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return RtfError::None;
    }
    if (skipping() || st().dest == Dest::Picture)
        return RtfError::None;
    releaseSurrogate();
    const char c = static_cast<char>(byte);
    appendBytes(QByteArrayView(&c, 1));
    return RtfError::None;
}

RtfError DocumentBuilder::binary(QByteArrayView data)
{
    flushBytes();
    releaseSurrogate();
    if (m_unicodeSkipLeft > 0) {
        m_unicodeSkipLeft = 0;
        return RtfError::None;
    }
    if (st().dest == Dest::Picture)
        m_picture.binary.append(data);
    return RtfError::None;
}

void DocumentBuilder::startDestination(Keyword keyword)
{
    State &s = st();
    switch (keyword) {
    case Keyword::FontTable:
        s.dest = Dest::FontTable;
        m_fontOpen = false;
        m_fontName.clear();
        break;
    case Keyword::ColorTable:
        s.dest = Dest::ColorTable;
        m_colors.clear();
        break;
    case Keyword::Field:
        s.opensField = true;
        m_fields.push_back(Field{});
        break;
    case Keyword::FldInst:
        s.dest = Dest::FieldInst;
        if (!m_fields.empty())
            m_fields.back().instruction.clear();
        break;
    case Keyword::FldRslt:
        if (!m_fields.empty() && m_fields.back().link >= 0)
            s.chr.link = m_fields.back().link;
        break;
    case Keyword::Pict:
        s.dest = Dest::Picture;
        m_picture = Picture{};
        break;
    case Keyword::Upr:
        s.dest = Dest::UprSkip;
        break;
    case Keyword::Pn:
        s.dest = Dest::Numbering;
        m_numbering = Numbering{};
        break;
    case Keyword::PnTxtB:
    case Keyword::PnTxtA:
        if (s.dest != Dest::Numbering) {
            s.dest = Dest::Skip;
        } else if (keyword == Keyword::PnTxtB) {
            s.dest = Dest::NumberBefore;
            m_numbering.before.clear();
        } else {
            s.dest = Dest::NumberAfter;
            m_numbering.after.clear();
        }
        break;
    // List labels are text, taken out again when the paragraph turns out to
    // be a list item.
    case Keyword::PnText:
    case Keyword::ListText:
        if (s.dest == Dest::Text) {
            flushText();
            s.labelMark = m_insertedChars;
        }
        break;
    // Groups whose content is shown as ordinary text: field results, the
    // picture of a shape, the fallback result of an object.
    case Keyword::ShpPict:
    case Keyword::ShpRslt:
    case Keyword::Object:
    case Keyword::Result:
    case Keyword::Ud:
    case Keyword::NestTableProps:
        break;
    default:
        // Headers, footers, footnotes, annotations, style sheet, document
        // information, list definitions and the like are not body text.
        s.dest = Dest::Skip;
        break;
    }
}

void DocumentBuilder::characterKeyword(Keyword keyword, int value)
{
    CharProps &c = st().chr;
    using U = QTextCharFormat::UnderlineStyle;
    auto underline = [&](U style) { c.underline = value ? style : QTextCharFormat::NoUnderline; };
    switch (keyword) {
    case Keyword::Plain: {
        const int link = c.link;
        c = CharProps{};
        c.link = link;
        break;
    }
    case Keyword::F:
        c.font = value;
        break;
    case Keyword::Fs:
        c.halfPoints = value > 0 ? value : 24;
        break;
    case Keyword::B:
        c.bold = value != 0;
        break;
    case Keyword::I:
        c.italic = value != 0;
        break;
    case Keyword::Ul:
    case Keyword::UlW:
    case Keyword::UlDb:
    case Keyword::UlTh:
        underline(QTextCharFormat::SingleUnderline);
        break;
    case Keyword::UlD:
    case Keyword::UlThD:
        underline(QTextCharFormat::DotLine);
        break;
    case Keyword::UlDash:
    case Keyword::UlLDash:
    case Keyword::UlThDash:
    case Keyword::UlThLDash:
        underline(QTextCharFormat::DashUnderline);
        break;
    case Keyword::UlDashD:
    case Keyword::UlThDashD:
        underline(QTextCharFormat::DashDotLine);
        break;
    case Keyword::UlDashDD:
    case Keyword::UlThDashDD:
        underline(QTextCharFormat::DashDotDotLine);
        break;
    case Keyword::UlWave:
    case Keyword::UlHWave:
    case Keyword::UlULDbWave:
        underline(QTextCharFormat::WaveUnderline);
        break;
    case Keyword::UlNone:
        c.underline = QTextCharFormat::NoUnderline;
        break;
    case Keyword::Strike:
    case Keyword::StrikeD:
        c.strike = value != 0;
        break;
    case Keyword::Super:
        c.valign = QTextCharFormat::AlignSuperScript;
        break;
    case Keyword::Sub:
        c.valign = QTextCharFormat::AlignSubScript;
        break;
    case Keyword::NoSuperSub:
        c.valign = QTextCharFormat::AlignNormal;
        break;
    case Keyword::Up:
        c.valign = value > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Dn:
        c.valign = value > 0 ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Cf:
        c.foreground = value;
        break;
    case Keyword::Cb:
    case Keyword::Highlight:
    case Keyword::ChCbPat:
        c.background = value;
        break;
    case Keyword::V:
        c.hidden = value != 0;
        break;
    case Keyword::Caps:
        c.caps = value ? QFont::AllUppercase : QFont::MixedCase;
        break;
    case Keyword::SCaps:
        c.caps = value ? QFont::SmallCaps : QFont::MixedCase;
        break;
    default:
        break;
    }
}

void DocumentBuilder::numberingKeyword(Keyword keyword, int value)
{
    Numbering &n = m_numbering;
    switch (keyword) {
    case Keyword::PnLvlBlt:
        n.kind = Numbering::Bullet;
        break;
    case Keyword::PnLvlBody:
        n.kind = Numbering::Numbered;
        break;
    case Keyword::PnLvlCont:
        n.kind = Numbering::Continued;
        break;
    case Keyword::PnDec:
        n.style = QTextListFormat::ListDecimal;
        break;
    case Keyword::PnUcLtr:
        n.style = QTextListFormat::ListUpperAlpha;
        break;
    case Keyword::PnLcLtr:
        n.style = QTextListFormat::ListLowerAlpha;
        break;
    case Keyword::PnUcRm:
        n.style = QTextListFormat::ListUpperRoman;
        break;
    case Keyword::PnLcRm:
        n.style = QTextListFormat::ListLowerRoman;
        break;
    case Keyword::PnStart:
        n.start = value;
        break;
    case Keyword::PnF:
        // The font of the \pntxtb and \pntxta that follow.
        st().chr.font = value;
        break;
    default:
        break;
    }
}

void DocumentBuilder::paragraphKeyword(Keyword keyword, int value)
{
    ParaProps &p = st().para;
    switch (keyword) {
    case Keyword::Pard:
        p = ParaProps{};
        break;
    case Keyword::Ql:
        p.alignment = Qt::AlignLeft;
        break;
    case Keyword::Qr:
        p.alignment = Qt::AlignRight;
        break;
    case Keyword::Qc:
        p.alignment = Qt::AlignHCenter;
        break;
    case Keyword::Qj:
    case Keyword::Qd:
        p.alignment = Qt::AlignJustify;
        break;
    case Keyword::Li:
    case Keyword::Lin:
        p.leftIndent = value;
        break;
    case Keyword::Ri:
    case Keyword::Rin:
        p.rightIndent = value;
        break;
    case Keyword::Fi:
        p.firstIndent = value;
        break;
    case Keyword::Sb:
        p.spaceBefore = value;
        break;
    case Keyword::Sa:
        p.spaceAfter = value;
        break;
    case Keyword::Sl:
        p.lineSpacing = value;
        break;
    case Keyword::SlMult:
        p.lineMultiple = value != 0;
        break;
    case Keyword::InTbl:
        p.inTable = true;
        break;
    case Keyword::PageBb:
        p.pageBreakBefore = value != 0;
        break;
    case Keyword::Itap:
        p.nesting = value;
        if (value == 0)
            p.inTable = false;
        break;
    default:
        break;
    }
}

RtfError DocumentBuilder::controlWord(const KeywordEntry *entry, QByteArrayView, bool hasParam,
                                      int param)
{
    flushBytes();
    const bool ignorable = std::exchange(m_ignorable, false);
    m_groupFresh = false;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return RtfError::None;
    }
    if (!entry || entry->keyword != Keyword::U)
        releaseSurrogate();
    if (!entry) {
        // "\*" marks a destination that readers which do not know it skip.
        if (ignorable)
            st().dest = Dest::Skip;
        return RtfError::None;
    }
    if (st().dest == Dest::Skip)
        return RtfError::None;
    if (st().dest == Dest::UprSkip) {
        if (entry->keyword == Keyword::Ud)
            st().dest = Dest::Text;
        return RtfError::None;
    }

    const int value = hasParam ? param : entry->defaultParam;
    const Keyword keyword = entry->keyword;
    if (entry->type == KeywordType::Destination) {
        startDestination(keyword);
        return RtfError::None;
    }
    if (entry->type == KeywordType::Symbol) {
        const char16_t c = entry->symbol;
        routeText(QStringView(&c, 1));
        return RtfError::None;
    }

    switch (st().dest) {
    case Dest::FontTable:
        fontTableKeyword(keyword, value);
        return RtfError::None;
    case Dest::ColorTable:
        if (keyword == Keyword::Red)
            m_red = std::clamp(value, 0, 255);
        else if (keyword == Keyword::Green)
            m_green = std::clamp(value, 0, 255);
        else if (keyword == Keyword::Blue)
            m_blue = std::clamp(value, 0, 255);
        m_colorGiven = m_colorGiven || keyword == Keyword::Red || keyword == Keyword::Green ||
                       keyword == Keyword::Blue;
        return RtfError::None;
    case Dest::Picture:
        switch (keyword) {
        case Keyword::PngBlip:
            m_picture.kind = Picture::Png;
            break;
        case Keyword::JpegBlip:
            m_picture.kind = Picture::Jpeg;
            break;
        case Keyword::EmfBlip:
        case Keyword::WMetafile:
        case Keyword::MacPict:
        case Keyword::DibBitmap:
        case Keyword::WBitmap:
        case Keyword::PmMetafile:
            m_picture.kind = Picture::Other;
            break;
        case Keyword::PicWGoal:
            m_picture.goalWidth = value;
            break;
        case Keyword::PicHGoal:
            m_picture.goalHeight = value;
            break;
        case Keyword::PicScaleX:
            m_picture.scaleX = std::clamp(value, 1, 1000);
            break;
        case Keyword::PicScaleY:
            m_picture.scaleY = std::clamp(value, 1, 1000);
            break;
        default:
            break;
        }
        return RtfError::None;
    case Dest::Numbering:
        numberingKeyword(keyword, value);
        return RtfError::None;
    default:
        break;
    }

    switch (keyword) {
    case Keyword::Ansi:
        if (!m_codePageSet)
            m_docCodePage = 1252;
        break;
    case Keyword::Mac:
        m_docCodePage = 10000;
        break;
    case Keyword::Pc:
        m_docCodePage = 437;
        break;
    case Keyword::Pca:
        m_docCodePage = 850;
        break;
    case Keyword::AnsiCpg:
        if (value > 0) {
            m_docCodePage = value;
            m_codePageSet = true;
        }
        break;
    case Keyword::Deff:
        m_defaultFont = value;
        break;
    case Keyword::Uc:
        st().unicodeSkip = std::max(0, value);
        break;
    case Keyword::U: {
        // Parameters are signed 16-bit; surrogate pairs come as two \u.
        const char16_t c = static_cast<char16_t>(value < 0 ? value + 65536 : value);
        if (QChar::isHighSurrogate(c)) {
            releaseSurrogate();
            m_highSurrogate = c;
        } else if (QChar::isLowSurrogate(c)) {
            const char16_t pair[2] = {m_highSurrogate, c};
            routeText(m_highSurrogate ? QStringView(pair, 2) : QStringView(u"\uFFFD"));
            m_highSurrogate = 0;
        } else {
            releaseSurrogate();
            routeText(QStringView(&c, 1));
        }
        m_unicodeSkipLeft = st().unicodeSkip;
        break;
    }
    case Keyword::Par:
    case Keyword::Sect:
        if (st().dest == Dest::Text)
            endParagraph(false);
        break;
    case Keyword::Page:
        if (st().dest == Dest::Text)
            endParagraph(true);
        break;
    case Keyword::Line:
        routeText(u"\u2028");
        break;
    case Keyword::TRowD:
        m_cellEdges.clear();
        break;
    case Keyword::CellX:
        m_cellEdges.push_back(value);
        break;
    case Keyword::Cell:
        if (st().dest == Dest::Text)
            endCell();
        break;
    case Keyword::Row:
        if (st().dest == Dest::Text)
            endRow();
        break;
    case Keyword::NestCell:
        // Nested tables are kept as text: each inner cell is a paragraph.
        if (st().dest == Dest::Text)
            endParagraph(false);
        break;
    case Keyword::NestRow:
        if (st().dest == Dest::Text && !m_breakPending)
            endParagraph(false);
        break;
    default:
        characterKeyword(keyword, value);
        paragraphKeyword(keyword, value);
        break;
    }
    return RtfError::None;
}

void DocumentBuilder::finish()
{
    flushBytes();
    releaseSurrogate();
    flushText();
    // A paragraph mark at the very end closes the last paragraph; it does
    // not open an empty one.
    if (m_table) {
        trimTable();
        QTextCursor after = m_table->lastCursorPosition();
        after.movePosition(QTextCursor::NextBlock);
        markFillerBlock(after);
    } else if (!m_breakPending) {
        applyBlockFormat();
    }
}

} // namespace

bool looksLikeRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

ReadResult readRtf(QByteArrayView bytes, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    ReadResult result;
    result.isRtf = true;
    {
        // One edit block: Qt then updates its layout bookkeeping once at the
        // end instead of after every insertion.
        QTextCursor editBlock(&document);
        editBlock.beginEditBlock();
        DocumentBuilder builder(document);
        RtfTokenizer tokenizer(bytes, builder);
        result.error = tokenizer.run();
        if (result.error != RtfError::None)
            result.errorOffset = tokenizer.position();
        builder.finish();
        editBlock.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    return result;
}

ReadResult loadRichText(QByteArrayView bytes, QTextDocument &document)
{
    if (looksLikeRtf(bytes))
        return readRtf(bytes, document);
    QString text;
    appendDecoded(1252, bytes, text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    document.setPlainText(text);
    return {};
}

} // namespace rtf
