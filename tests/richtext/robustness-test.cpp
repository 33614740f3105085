// SPDX-License-Identifier: MIT
// RTF reader on damaged input: truncation, unbalanced braces, \bin, deep nesting, random bytes.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTextDocument>

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QByteArray sample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset2 Symbol;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Test;}{\\info{\\title t}}"
    "\\pard\\qc\\b Title\\b0\\par{\\listtext\\f1\\'b7\\tab}\\cf1 caf\\'e9 \\u8364?\\par"
    "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}\\line"
    "\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\pard"
    "{\\pict\\pngblip\\bin4 {}\\x}{\\pict\\jpegblip 00ff}after\\par}";

rtf::ReadResult load(QByteArrayView bytes, QString *text = nullptr)
{
    QTextDocument document;
    const rtf::ReadResult r = rtf::loadRichText(bytes, document);
    const QString t = rtf::plainText(document);
    if (text)
        *text = t;
    return r;
}

} // namespace

TEST(RtfReaderDamage, EveryTruncationKeepsWhatWasRead)
{
    QString full;
    ASSERT_EQ(load(sample, &full).error, rtf::RtfError::None);
    EXPECT_EQ(full, QString::fromUtf8("Title\r\n•\tcafé €\r\nlink\r\n\r\na\r\nb\r\nafter"))
        << "the \\line before the table stays a line end";
    for (qsizetype n = 5; n < sample.size(); ++n) {
        QString text;
        const rtf::ReadResult r = load(sample.first(n), &text);
        EXPECT_EQ(r.error, rtf::RtfError::UnexpectedEof) << n;
        if (n > sample.indexOf("\\b0")) {
            EXPECT_TRUE(text.startsWith("Title")) << n;
        }
    }
}

TEST(RtfReaderDamage, UnbalancedBraces)
{
    QString text;
    rtf::ReadResult r = load("{\\rtf1 open {\\b bold", &text);
    EXPECT_EQ(r.error, rtf::RtfError::UnexpectedEof);
    EXPECT_EQ(r.errorOffset, 20);
    EXPECT_EQ(text, "open bold");

    r = load("{\\rtf1 closed} trailing}}}\0", &text);
    EXPECT_EQ(r.error, rtf::RtfError::None) << "what follows the document is not read";
    EXPECT_EQ(text, "closed");
}

TEST(RtfReaderDamage, HugeBinLengths)
{
    QString text;
    const rtf::ReadResult r = load("{\\rtf1 a{\\pict\\pngblip\\bin999999999999 xyz}b}", &text);
    EXPECT_EQ(r.error, rtf::RtfError::UnexpectedEof);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(load("{\\rtf1 a\\bin2147483647}", &text).error, rtf::RtfError::UnexpectedEof);
    EXPECT_EQ(load("{\\rtf1 a{\\bin3 }}}b}}", &text).error, rtf::RtfError::None);
    EXPECT_EQ(text, "ab") << "\\bin data outside a picture is dropped";
}

TEST(RtfReaderDamage, DeepNesting)
{
    const int depth = 10000;
    QByteArray deep = "{\\rtf1 ";
    for (int i = 0; i < depth; ++i)
        deep += "{\\b ";
    deep += "inner";
    deep += QByteArray(depth, '}');
    deep += " outer}";
    QString text;
    EXPECT_EQ(load(deep, &text).error, rtf::RtfError::None);
    EXPECT_EQ(text, "inner outer");

    const QByteArray tooDeep = "{\\rtf1 x" + QByteArray(rtf::RtfTokenizer::MaxDepth + 10, '{');
    const rtf::ReadResult r = load(tooDeep, &text);
    EXPECT_EQ(r.error, rtf::RtfError::NestingTooDeep);
    EXPECT_EQ(text, "x");
}

TEST(RtfReaderDamage, StartNumbersDoNotBlowUpTheDocument)
{
    // Each list starting at a huge number gets hidden items in front of it
    // (Qt counts from 1); their total is bounded.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 2000; ++i)
        rtf += "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart2000000000}x\\par\\pard y\\par";
    rtf += "}";
    QTextDocument document;
    rtf::loadRichText(rtf, document);
    EXPECT_LE(document.blockCount(), 4000 + 10000);
    QString expected;
    for (int i = 0; i < 2000; ++i)
        expected += QLatin1String(i ? "\r\nx\r\ny" : "x\r\ny");
    EXPECT_EQ(rtf::plainText(document), expected);
}

TEST(RtfReaderDamage, RandomBytesAndMutations)
{
    // Fixed seed: a failure here is reproducible.
    QRandomGenerator random(20261209);
    const char alphabet[] = "{}\\\\\\'*09afx -;\r\n\x80\xff";
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = "{\\rtf1 ";
        const int size = random.bounded(2000);
        for (int i = 0; i < size; ++i) {
            bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                            : alphabet[random.bounded(int(sizeof(alphabet)) - 1)];
        }
        load(bytes);
    }
    // Mutations of a real document reach deeper states than noise.
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = sample;
        for (int edits = random.bounded(1, 8); edits > 0; --edits) {
            const int at = random.bounded(int(bytes.size()));
            switch (random.bounded(3)) {
            case 0:
                bytes[at] = char(random.bounded(256));
                break;
            case 1:
                bytes.remove(at, random.bounded(1, 20));
                break;
            default:
                bytes.insert(at, bytes.mid(random.bounded(int(bytes.size())), 12));
                break;
            }
        }
        load(bytes);
    }
    // Old-style numbering: labels, starts, continuation, a list in a cell.
    const QByteArray lists =
        "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\pntext\\f1\\'b7\\tab}"
        "{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\fi-360\\li720 a\\par{\\pntext 3)\\tab}"
        "\\pard{\\*\\pn\\pnlvlbody\\pnlcrm\\pnstart3{\\pntxta )}}b\\par"
        "\\pard{\\*\\pn\\pnlvlcont}c\\par\\trowd\\cellx900\\intbl{\\pntext 1.}"
        "{\\pn\\pnlvlbody}d\\cell\\row\\pard e\\par}";
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = lists;
        for (int edits = random.bounded(1, 6); edits > 0; --edits) {
            const int at = random.bounded(int(bytes.size()));
            if (random.bounded(2))
                bytes.remove(at, random.bounded(1, 12));
            else
                bytes.insert(at, bytes.mid(random.bounded(int(bytes.size())), 16));
        }
        load(bytes);
    }
    SUCCEED() << "no crash and no hang";
}
