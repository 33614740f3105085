// SPDX-License-Identifier: MIT
// RTF reader: formatting, text decoding, destinations, fields, tables, pictures.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

// Readable failure output for Qt strings.
void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString plain(const QByteArray &rtf)
{
    QTextDocument document;
    rtf::loadRichText(rtf, document);
    return rtf::plainText(document);
}

// The format of the last character of the first occurrence of `word`.
QTextCharFormat formatOf(const QTextDocument &document, const QString &word)
{
    const QTextCursor found = document.find(word);
    EXPECT_FALSE(found.isNull()) << "missing: " << word.toStdString();
    return found.charFormat();
}

QTextBlockFormat blockOf(const QTextDocument &document, const QString &word)
{
    return document.find(word).blockFormat();
}

} // namespace

TEST(RtfReaderCharacters, FormatsFromTheFontAndColourTables)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss "
                 "Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                 "deflt {\\f0\\fs36 big} {\\cf1 red} {\\highlight2 marked} {\\cb2 shaded} "
                 "{\\cf0 auto}}",
                 doc);
    EXPECT_EQ(formatOf(doc, "deflt").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(formatOf(doc, "big").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_DOUBLE_EQ(formatOf(doc, "big").fontPointSize(), 18.0);
    EXPECT_FALSE(formatOf(doc, "deflt").hasProperty(QTextFormat::FontPointSize))
        << "text without \\fs keeps the view's default size";
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, "marked").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatOf(doc, "shaded").background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatOf(doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReaderCharacters, TogglesGroupsAndPlain)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 {\\b bold {\\i both}} {\\i\\i0 upright} {\\b\\i\\strike\\fs40\\plain "
                 "plain} {\\strike gone} {\\caps allcaps}{\\scaps small}}",
                 doc);
    EXPECT_EQ(formatOf(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatOf(doc, "bold").fontItalic());
    EXPECT_EQ(formatOf(doc, "both").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "both").fontItalic());
    EXPECT_FALSE(formatOf(doc, "upright").fontItalic());
    const QTextCharFormat p = formatOf(doc, "plain");
    EXPECT_NE(p.fontWeight(), QFont::Bold);
    EXPECT_FALSE(p.fontItalic());
    EXPECT_FALSE(p.fontStrikeOut());
    EXPECT_FALSE(p.hasProperty(QTextFormat::FontPointSize));
    EXPECT_TRUE(formatOf(doc, "gone").fontStrikeOut());
    EXPECT_EQ(formatOf(doc, "allcaps").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatOf(doc, "small").fontCapitalization(), QFont::SmallCaps);
}

TEST(RtfReaderCharacters, UnderlineKindsAndVerticalPosition)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 {\\ul single} {\\uld dots} {\\uldash dashes} {\\ulwave wave} "
                 "{\\uldashd dashdot} {\\ul\\ulnone none} {\\ul\\ul0 zero} {\\super sup} "
                 "{\\sub low} {\\super\\nosupersub flat} {\\up6 raised}}",
                 doc);
    EXPECT_EQ(formatOf(doc, "single").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatOf(doc, "dots").underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_EQ(formatOf(doc, "dashes").underlineStyle(), QTextCharFormat::DashUnderline);
    EXPECT_EQ(formatOf(doc, "wave").underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(formatOf(doc, "dashdot").underlineStyle(), QTextCharFormat::DashDotLine);
    EXPECT_EQ(formatOf(doc, "none").underlineStyle(), QTextCharFormat::NoUnderline);
    EXPECT_EQ(formatOf(doc, "zero").underlineStyle(), QTextCharFormat::NoUnderline);
    EXPECT_EQ(formatOf(doc, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, "low").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(doc, "flat").verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(formatOf(doc, "raised").verticalAlignment(), QTextCharFormat::AlignSuperScript);
}

TEST(RtfReaderCharacters, HiddenTextIsNotShown)
{
    EXPECT_EQ(plain("{\\rtf1 seen {\\v hidden }again\\v  gone\\v0  back}"), "seen again back");
}

TEST(RtfReaderParagraphs, AlignmentIndentsSpacingAndPard)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 \\qc centred\\par \\qr\\li1440\\ri720\\fi-360\\sb300\\sa150 right\\par "
                 "\\pard\\qj justified\\par \\pard\\sl360\\slmult1 loose\\par \\sl-300 exact\\par "
                 "\\pard plain}",
                 doc);
    EXPECT_EQ(blockOf(doc, "centred").alignment(), Qt::AlignHCenter);
    const QTextBlockFormat r = blockOf(doc, "right");
    EXPECT_EQ(r.alignment(), Qt::AlignRight);
    EXPECT_DOUBLE_EQ(r.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(r.rightMargin(), 48.0);
    EXPECT_DOUBLE_EQ(r.textIndent(), -24.0);
    ASSERT_EQ(r.tabPositions().size(), 1) << "a hanging indent puts a tab stop at the indent";
    EXPECT_DOUBLE_EQ(r.tabPositions()[0].position, 24.0);
    EXPECT_DOUBLE_EQ(r.topMargin(), 20.0);
    EXPECT_DOUBLE_EQ(r.bottomMargin(), 10.0);
    const QTextBlockFormat j = blockOf(doc, "justified");
    EXPECT_EQ(j.alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(j.leftMargin(), 0.0) << "\\pard resets the indents";
    EXPECT_EQ(blockOf(doc, "loose").lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(blockOf(doc, "loose").lineHeight(), 150.0);
    EXPECT_EQ(blockOf(doc, "exact").lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(blockOf(doc, "exact").lineHeight(), 20.0);
    EXPECT_EQ(blockOf(doc, "plain").alignment(), Qt::AlignLeft);
}

TEST(RtfReaderParagraphs, BreaksAndPlainTextLines)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 one\\par two\\line three\\tab four\\page five\\par\\par six\\par}", doc);
    EXPECT_EQ(rtf::plainText(doc), "one\r\ntwo\r\nthree\tfour\r\nfive\r\n\r\nsix")
        << "the final \\par closes the last paragraph without opening another";
    EXPECT_EQ(blockOf(doc, "five").pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    QTextDocument before;
    rtf::readRtf("{\\rtf1 a\\par\\pagebb b\\par\\pard c}", before);
    EXPECT_EQ(blockOf(before, "b").pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(blockOf(before, "c").pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    EXPECT_EQ(doc.blockCount(), 5);
}

TEST(RtfReaderText, SpecialCharacters)
{
    EXPECT_EQ(plain("{\\rtf1 a\\emdash b\\endash c\\lquote d\\rquote e\\ldblquote f\\rdblquote "
                    "\\bullet g\\~h\\_i\\-j\\\\k\\{l\\}}"),
              QString::fromUtf8("a—b–c‘d’e“f”•g\u00A0h\u2011i\u00ADj\\k{l}"));
}

TEST(RtfReaderText, CodePages)
{
    struct Case
    {
        int codePage;
        const char *hex;
        char16_t expected;
    };
    const Case cases[] = {
        {1250, "9a", u'š'},      {1251, "e9", u'й'}, {1252, "80", u'€'},
        {1253, "e1", u'α'},      {1254, "fd", u'ı'}, {1255, "e0", u'\u05D0'},
        {1256, "c7", u'\u0627'}, {1257, "e8", u'č'}, {1258, "d2", u'\u0309'},
        {437, "82", u'é'},       {850, "b5", u'Á'},
    };
    for (const Case &c : cases) {
        const QByteArray rtf =
            "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(c.codePage) + " x\\'" + c.hex + "x}";
        EXPECT_EQ(plain(rtf), QStringLiteral("x") + QChar(c.expected) + QStringLiteral("x"))
            << c.codePage;
    }
    EXPECT_EQ(plain("{\\rtf1\\pc \\'82}"), "é");
    EXPECT_EQ(plain("{\\rtf1\\pca \\'b5}"), "Á");
    EXPECT_EQ(plain("{\\rtf1\\mac \\'8e}"), "é");
    EXPECT_EQ(plain("{\\rtf1\\ansi \\'e9}"), "é") << "Windows-1252 without \\ansicpg";
}

TEST(RtfReaderText, FontCharsetsChooseTheCodePage)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 "
                           "Arial Cyr;}{\\f2\\fcharset238 Arial CE;}{\\f3\\fcharset128 MS Mincho;}"
                           "{\\f4\\fcharset2 Symbol;}}\\f0\\'e9 \\f1\\'e9 \\f2\\'9a \\f3\\'83\\'5c "
                           "\\f4\\'b7 a}";
    EXPECT_EQ(plain(rtf), QString::fromUtf8("é й š ソ • α"))
        << "a double-byte character split over two escapes decodes as one";
}

TEST(RtfReaderText, UnicodeEscapesSkipTheirFallback)
{
    EXPECT_EQ(plain("{\\rtf1 \\u8364?x}"), QString::fromUtf8("€x"));
    EXPECT_EQ(plain("{\\rtf1 \\uc2\\u8364??x}"), QString::fromUtf8("€x"));
    EXPECT_EQ(plain("{\\rtf1 \\uc0\\u8364 x}"), QString::fromUtf8("€x"));
    EXPECT_EQ(plain("{\\rtf1 \\u-3913\\'3fx}"), QString(QChar(0xF0B7)) + QStringLiteral("x"))
        << "negative parameters are 16-bit values; a hex escape is one fallback byte";
    EXPECT_EQ(plain("{\\rtf1 \\u-10179?\\u-8704?}"), QString::fromUtf8("😀"))
        << "surrogate pairs come as two escapes";
    EXPECT_EQ(plain("{\\rtf1 a\\u-10179?b \\u-8704?c \\u-10179?\\u-10179?\\u-8704?}"),
              QString::fromUtf8("a\uFFFDb \uFFFDc \uFFFD😀"))
        << "unpaired halves of a pair become replacement characters";
    EXPECT_EQ(plain("{\\rtf1 {\\uc2 \\u1575??}\\u1576?x}"), QString::fromUtf8("ابx"))
        << "\\uc is restored at the end of its group";
    EXPECT_EQ(plain("{\\rtf1 {\\u1575}x}"), QString::fromUtf8("اx"))
        << "a group end stops the fallback skip";
    EXPECT_EQ(plain("{\\rtf1 {\\upr{ansi}{\\*\\ud{\\u1575?}}}x}"), QString::fromUtf8("اx"));
}

TEST(RtfReaderText, MalformedHexEscapes)
{
    EXPECT_EQ(plain("{\\rtf1 x\\u345\\'3?x}"), QString::fromUtf8("xřx"));
    EXPECT_EQ(plain("{\\rtf1 a\\'zzb}"), "ab");
    EXPECT_EQ(plain("{\\rtf1 a{\\'e}b}"), "ab") << "braces end a short escape";
}

TEST(RtfReaderDestinations, SkippedGroupsAreNotText)
{
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s1 "
        "Heading;}}{\\info{\\title T}{\\author A}}{\\header head}{\\footer foot}"
        "{\\*\\generator Gen;}{\\*\\unknowndest secret}{\\*\\bkmkstart mark}body"
        "{\\footnote note} text{\\*\\fldinst PAGE}{\\pict\\wmetafile8 0102}"
        "{\\nonshppict{\\pict\\wmetafile8 0a0b}}{\\*\\listtable{\\list x}}{\\pn\\pnlvlblt{\\pntxtb "
        "B}}"
        "\\unknownword  end}";
    EXPECT_EQ(plain(rtf), "body text end");
    EXPECT_EQ(plain("{\\rtf1 a{\\loch\\*\\cs7 b}}"), "ab")
        << "a \\* that does not open its group marks nothing";
}

TEST(RtfReaderFields, ResultsShownAndHyperlinksKept)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://example.org/a\"}}"
                 "{\\fldrslt{\\ul site}}} and {\\field{\\*\\fldinst HYPERLINK \\\\l \"sec\"}"
                 "{\\fldrslt here}} page {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} end}",
                 doc);
    EXPECT_EQ(rtf::plainText(doc), "see site and here page 7 end");
    const QTextCharFormat link = formatOf(doc, "site");
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), "http://example.org/a");
    EXPECT_EQ(link.underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatOf(doc, "here").anchorHref(), "#sec");
    EXPECT_FALSE(formatOf(doc, "7").isAnchor());
    EXPECT_FALSE(formatOf(doc, "end").isAnchor());
}

TEST(RtfReaderLists, LabelsAreShownAsText)
{
    EXPECT_EQ(plain("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\listtext\\f1 \\'b7\\tab}one"
                    "\\par{\\pntext 2.\\tab}two\\par}"),
              QString::fromUtf8("•\tone\r\n2.\ttwo"));
}

// Word 6/95 paragraph numbering: {\pn ...} makes the paragraph a list item.
TEST(RtfReaderLists, OldStyleBulletsAreListItems)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}before\\par"
                 "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
                 "\\fi-360\\li720 one\\par{\\pntext\\f1\\'b7\\tab}two\\par\\pard after\\par}",
                 doc);
    const QTextBlock one = doc.findBlockByNumber(1);
    EXPECT_EQ(one.text(), "one") << "the list draws the bullet; the label goes";
    QTextList *list = one.textList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(list->format().indent(), 0);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(one.next().textList(), list) << "the paragraph after keeps the numbering";
    EXPECT_EQ(doc.begin().textList(), nullptr);
    EXPECT_EQ(doc.lastBlock().textList(), nullptr) << "\\pard ends the list";
    const QTextBlockFormat f = one.blockFormat();
    EXPECT_DOUBLE_EQ(f.leftMargin(), 48.0) << "\\li is the item's indent, nothing added";
    EXPECT_DOUBLE_EQ(f.textIndent(), 0.0) << "the marker hangs left of the text";
    EXPECT_TRUE(f.tabPositions().isEmpty());
    EXPECT_EQ(rtf::plainText(doc), QString::fromUtf8("before\r\n•\tone\r\n•\ttwo\r\nafter"))
        << "the printout keeps the labels";

    QTextDocument bare;
    rtf::readRtf("{\\rtf1{\\pn\\pnlvlblt{\\pntxtb o}}x\\par}", bare);
    ASSERT_NE(bare.begin().textList(), nullptr) << "a \\pn group without \\*";
    EXPECT_EQ(bare.begin().textList()->format().style(), QTextListFormat::ListCircle);
    EXPECT_DOUBLE_EQ(bare.begin().blockFormat().leftMargin(), 24.0)
        << "room for the marker without \\li";
}

TEST(RtfReaderLists, BulletCharacters)
{
    struct Case
    {
        const char *bullet;
        QTextListFormat::Style style;
    };
    const Case cases[] = {
        {"\\f1\\'b7", QTextListFormat::ListDisc},   {"\\f2 o", QTextListFormat::ListCircle},
        {"\\f3\\'a7", QTextListFormat::ListSquare}, {"\\f4\\'a7", QTextListFormat::ListSquare},
        {"a.", QTextListFormat::ListDisc},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        rtf::readRtf(QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}{\\f2 Courier New;}"
                                "{\\f3\\fcharset2 Wingdings;}{\\f4 Wingdings;}}"
                                "{\\*\\pn\\pnlvlblt{\\pntxtb ") +
                         c.bullet + "}}x\\par}",
                     doc);
        ASSERT_NE(doc.begin().textList(), nullptr) << c.bullet;
        EXPECT_EQ(doc.begin().textList()->format().style(), c.style) << c.bullet;
    }
}

TEST(RtfReaderLists, NumberStylesStartAndAffixes)
{
    struct Case
    {
        const char *pn;
        const char *first;
        const char *second;
    };
    const Case cases[] = {
        {"\\pndec", "1", "2"},
        {"\\pndec\\pnstart9{\\pntxta .}", "9.", "10."},
        {"\\pnucltr\\pnstart2{\\pntxta .}", "B.", "C."},
        {"\\pnlcltr{\\pntxta )}", "a)", "b)"},
        {"\\pnucrm\\pnstart4{\\pntxtb (}{\\pntxta )}", "(IV)", "(V)"},
        {"\\pnlcrm\\pnstart0{\\pntxta .}", "i.", "ii."},
        {"{\\pntxta .}", "1.", "2."},
        {"\\pndec\\pnstart2000000000", "1000", "1001"},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        rtf::readRtf(QByteArray("{\\rtf1 top\\par{\\*\\pn\\pnlvlbody") + c.pn +
                         "}first\\par second\\par}",
                     doc);
        const QTextCursor first = doc.find("first");
        QTextList *list = first.block().textList();
        ASSERT_NE(list, nullptr) << c.pn;
        EXPECT_EQ(list->itemText(first.block()), c.first) << c.pn;
        EXPECT_EQ(list->itemText(doc.find("second").block()), c.second) << c.pn;
        EXPECT_EQ(rtf::plainText(doc), "top\r\nfirst\r\nsecond")
            << "the items that shift the start number are hidden and not printed";
        for (QTextBlock b = doc.begin().next(); b != first.block(); b = b.next()) {
            EXPECT_FALSE(b.isVisible());
            EXPECT_EQ(doc.documentLayout()->blockBoundingRect(b).height(), 0.0) << c.pn;
        }
    }
}

TEST(RtfReaderLists, WhereAListEndsOrGoesOn)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}a\\par"
                 "\\pard{\\*\\pn\\pnlvlcont\\pndec}note\\par"
                 // The label may come before \pard, as Word writes it.
                 "{\\pntext 2.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}b\\par"
                 "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}dot\\par"
                 "\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}c\\par"
                 "\\pard plain\\par"
                 "{\\listtext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}d\\par"
                 "\\pard\\trowd\\cellx1000\\cellx2000\\intbl{\\*\\pn\\pnlvlbody\\pndec}e\\cell "
                 "f\\cell\\row}",
                 doc);
    auto block = [&doc](const char *word) {
        return doc.find(word, 0, QTextDocument::FindWholeWords).block();
    };
    QTextList *first = block("a").textList();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(block("note").textList(), nullptr);
    EXPECT_EQ(block("b").textList(), first) << "a continuation paragraph keeps the list open";
    EXPECT_EQ(first->itemText(block("b")), "2.");
    EXPECT_EQ(block("b").text(), "b");
    ASSERT_NE(block("dot").textList(), nullptr);
    EXPECT_NE(block("dot").textList(), first) << "a bullet is a list of its own";
    ASSERT_NE(block("c").textList(), nullptr);
    EXPECT_NE(block("c").textList(), first);
    EXPECT_EQ(block("c").textList()->itemText(block("c")), "1.");
    EXPECT_EQ(block("plain").textList(), nullptr);
    ASSERT_NE(block("d").textList(), nullptr);
    EXPECT_NE(block("d").textList(), block("c").textList()) << "a plain paragraph ends a list";
    EXPECT_EQ(block("d").text(), "d") << "\\listtext is a label too";
    ASSERT_NE(block("e").textList(), nullptr);
    ASSERT_NE(block("f").textList(), nullptr);
    EXPECT_NE(block("e").textList(), block("f").textList()) << "lists stay in their cell";
    EXPECT_EQ(rtf::plainText(doc), "a\r\nnote\r\n2.\tb\r\ndot\r\nc\r\nplain\r\n1.\td\r\ne\r\nf");
}

TEST(RtfReaderLists, LabelWithoutNumberingStaysText)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1{\\*\\pn\\pnlvlbody\\pndec}a\\par\\pard{\\pntext\\fs40 (x)\\tab}b\\par"
                 "{\\pntext 9.}{\\pntext\\tab}{\\*\\pn\\pnlvlblt}\\fs30 c{\\pntext z}\\par}",
                 doc);
    const QTextBlock b = doc.find("b").block();
    EXPECT_EQ(b.textList(), nullptr);
    EXPECT_EQ(b.text(), "(x)\tb");
    EXPECT_FALSE(b.blockFormat().hasProperty(rtf::ListLabelProperty));
    const QTextBlock c = doc.find("c").block();
    ASSERT_NE(c.textList(), nullptr);
    EXPECT_EQ(c.text(), "cz") << "two labels next to each other go; one after the text stays";
    EXPECT_EQ(c.blockFormat().stringProperty(rtf::ListLabelProperty), "9.\t");
    EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 15.0)
        << "the marker takes the size of the item's text";
    EXPECT_EQ(rtf::plainText(doc), "a\r\n(x)\tb\r\n9.\tcz");
}

TEST(RtfReaderTables, CellsRowsAndNesting)
{
    QTextDocument doc;
    rtf::readRtf("{\\rtf1 before\\par\\trowd\\cellx1500\\cellx3000\\pard\\intbl a\\cell b\\cell"
                 "\\row\\trowd\\cellx1500\\cellx3000\\pard\\intbl c\\cell d\\par e\\cell\\row"
                 "\\pard after\\par}",
                 doc);
    EXPECT_EQ(rtf::plainText(doc), "before\r\na\r\nb\r\nc\r\nd\r\ne\r\nafter");
    QTextTable *table = QTextCursor(doc.find("a")).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), "d");
    EXPECT_EQ(QTextCursor(doc.find("after")).currentTable(), nullptr);

    EXPECT_EQ(plain("{\\rtf1\\trowd\\cellx1000\\pard\\intbl x\\cell\\row}"), "x")
        << "no empty line for the paragraphs Qt puts around a table";
    EXPECT_EQ(plain("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl outer\\cell\\pard\\itap2 "
                    "in1\\nestcell in2\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}"
                    "{\\nonesttables\\par}\\pard\\intbl\\itap1\\cell\\row}"),
              "outer\r\nin1\r\nin2\r\n");
}

TEST(RtfReaderPictures, PngAndJpegShownOthersSkipped)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    QTextDocument doc;
    rtf::readRtf("{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picwgoal600\\pichgoal300 " + png.toHex() +
                     "}}{\\nonshppict{\\pict\\wmetafile8 0000}}b"
                     "{\\pict\\pngblip\\bin" +
                     QByteArray::number(png.size()) + " " + png + "}c{\\pict\\emfblip 0102}}",
                 doc);
    EXPECT_EQ(rtf::plainText(doc), "abc") << "pictures are not text";
    int images = 0;
    for (QTextBlock::iterator it = doc.begin().begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        if (!f.isImageFormat())
            continue;
        ++images;
        const QTextImageFormat img = f.toImageFormat();
        const QVariant resource = doc.resource(QTextDocument::ImageResource, img.name());
        EXPECT_EQ(resource.value<QImage>().size(), QSize(4, 3));
        if (images == 1) {
            EXPECT_DOUBLE_EQ(img.width(), 40.0);
            EXPECT_DOUBLE_EQ(img.height(), 20.0);
        }
    }
    EXPECT_EQ(images, 2);
}

TEST(RtfReaderLoading, PlainTextWithoutRtfHeader)
{
    QTextDocument doc;
    const rtf::ReadResult r = rtf::loadRichText("Caf\xe9 line\r\n{\\rtf1 not a header}", doc);
    EXPECT_FALSE(r.isRtf);
    EXPECT_EQ(rtf::plainText(doc), QString::fromUtf8("Café line\r\n{\\rtf1 not a header}"));
    EXPECT_EQ(plain(" {\\rtf1 x}"), " {\\rtf1 x}") << "the header must come first";
    EXPECT_EQ(plain(""), "");
}

TEST(RtfReaderLoading, LoadingReplacesTheContent)
{
    QTextDocument doc;
    doc.setPlainText("{\\rtf1 raw line}");
    const rtf::ReadResult r = rtf::loadRichText("{\\rtf1 formatted}", doc);
    EXPECT_TRUE(r.isRtf);
    EXPECT_EQ(r.error, rtf::RtfError::None);
    EXPECT_EQ(rtf::plainText(doc), "formatted");
}

TEST(RtfReaderTables, ManyRowsAndCellsKeepTheirShape)
{
    // Rows and columns grow in steps; the spare ones must not survive.
    QByteArray rtf = "{\\rtf1 ";
    for (int r = 0; r < 300; ++r)
        rtf += "\\trowd\\cellx100\\cellx200\\pard\\intbl r" + QByteArray::number(r) +
               "\\cell x\\cell\\row ";
    rtf += "\\pard between\\par\\trowd\\cellx100\\intbl ";
    for (int c = 0; c < 37; ++c)
        rtf += "c" + QByteArray::number(c) + "\\cell ";
    rtf += "\\row}";
    QTextDocument doc;
    rtf::readRtf(rtf, doc);
    QTextTable *rows = QTextCursor(doc.find("r0")).currentTable();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->rows(), 300);
    EXPECT_EQ(rows->columns(), 2);
    EXPECT_EQ(rows->cellAt(299, 0).firstCursorPosition().block().text(), "r299");
    QTextTable *wide = QTextCursor(doc.find("c36")).currentTable();
    ASSERT_NE(wide, nullptr);
    EXPECT_NE(wide, rows) << "a paragraph outside the table ends it";
    EXPECT_EQ(wide->rows(), 1);
    EXPECT_EQ(wide->columns(), 37);
    EXPECT_TRUE(rtf::plainText(doc).endsWith("c35\r\nc36"));
}
