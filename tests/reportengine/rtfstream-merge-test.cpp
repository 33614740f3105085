// SPDX-License-Identifier: MIT
// RTF memo insertion: keyword table, number replacement, table merging, body copying.
#include "rtfinsert/rprtfstream.h"
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace rp;

namespace {

/// Braces balance, outside escapes and \bin data.
bool balanced(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            if (rtf.mid(i + 1, 3) == "bin") {
                qsizetype j = i + 4;
                qint64 n = 0;
                while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9')
                    n = n * 10 + (rtf[j++] - '0');
                if (j < rtf.size() && rtf[j] == ' ')
                    ++j;
                i = j + n - 1;
            } else {
                ++i;
            }
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

const QByteArray docHead = "{\\rtf1{\\fonttbl{\\f0\\froman Times;}{\\f3\\fswiss Arial;}}"
                           "{\\colortbl;\\red255\\green0\\blue0;}"
                           "{\\stylesheet{\\s0 Normal;}{\\s2\\b Strong;}}";

const QString memo = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier;}}"
    "{\\colortbl;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}"
    "{\\stylesheet{\\s0 Normal;}{\\s1\\b Strong;}{\\s5\\sbasedon0\\f1\\cf1 Code;}}"
    "{\\info{\\title secret}}{\\*\\generator X;}{\\*\\unknowndest gone}"
    "\\pard\\plain\\s1\\f1\\cf1 Hello\\par\\pard\\s5\\f0\\cf2\\highlight1 World\\par}");

class Insertion : public ::testing::Test
{
protected:
    TRpRTF report;
    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    QByteArray run(const QByteArray &head, const QByteArray &fields)
    {
        report.SetTemplateBuffer(head + fields + "}");
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream({}, &out);
        return out.data();
    }
};

} // namespace

TEST(keyword_table, sorted_complete_and_found_by_binary_search)
{
    const auto &table = RpKeywordActions();
    ASSERT_EQ(table.size(), 648u);
    int duplicates = 0;
    for (size_t i = 1; i < table.size(); ++i) {
        const int cmp = std::strcmp(table[i - 1].word, table[i].word);
        EXPECT_LE(cmp, 0) << table[i - 1].word << " before " << table[i].word;
        if (cmp == 0) {
            ++duplicates;
            EXPECT_EQ(table[i - 1].action, table[i].action) << table[i].word;
        }
    }
    EXPECT_EQ(duplicates, 0);
    for (const TRpkwAction &a : table) {
        const TRpkwAction *found = RpFindKeyword(QByteArray(a.word));
        ASSERT_NE(found, nullptr) << a.word;
        EXPECT_STREQ(found->word, a.word);
    }
    EXPECT_EQ(RpFindKeyword("par")->proc, 18);
    EXPECT_EQ(RpFindKeyword("fonttbl")->action, amReadBlockRun);
    EXPECT_EQ(RpFindKeyword("info")->action, amSkipBlock);
    EXPECT_EQ(RpFindKeyword("pict")->action, amSaveBlock);
    EXPECT_EQ(RpFindKeyword("trowd")->action, amSkipInTable);
    EXPECT_EQ(RpFindKeyword("ulc")->proc, 8);
    EXPECT_EQ(RpFindKeyword("aaa"), nullptr);
    EXPECT_EQ(RpFindKeyword("zzzz"), nullptr);
    EXPECT_EQ(RpFindKeyword(""), nullptr);
}

TEST(merge_tables, replacements_fonts_and_colours)
{
    TRpReplTable r;
    EXPECT_EQ(r.Old2New(7), 7) << "no pairs";
    r.AddRepl(9, 1);
    r.AddRepl(2, 5);
    r.AddRepl(4, 4);
    EXPECT_EQ(r.Old2New(2), 5);
    EXPECT_EQ(r.Old2New(9), 1);
    EXPECT_EQ(r.Old2New(3), 3) << "never mentioned";
    EXPECT_TRUE(r.FReplSorted);
    r.AddRepl(0, 8);
    EXPECT_FALSE(r.FReplSorted);
    EXPECT_EQ(r.Old2New(0), 8);

    TRpFontStrings fonts;
    fonts.AddFromList({"{\\f0\\froman Times;}", "\\f3\\fswiss Arial;", "junk", "{\\f}"});
    ASSERT_EQ(fonts.Count(), 2) << "the loose entry gets braces, junk is refused";
    EXPECT_EQ(fonts.GetString(1), "{\\f3\\fswiss Arial;}");
    EXPECT_EQ(fonts.FHighNumber, 3);
    EXPECT_TRUE(fonts.AddNew("{\\f0\\fswiss Arial;}"));
    EXPECT_TRUE(fonts.AddNew("{\\f1\\fmodern Courier;}"));
    EXPECT_FALSE(fonts.AddNew("{\\fx Bad;}"));
    EXPECT_EQ(fonts.Old2New(0), 3) << "same font reused";
    EXPECT_EQ(fonts.Old2New(1), 4) << "new font appended after the highest";
    EXPECT_EQ(fonts.GetString(2), "{\\f4\\fmodern Courier;}");
    EXPECT_EQ(fonts.GetString(9), "");

    TRpColorStrings colors;
    EXPECT_TRUE(colors.Add(";"));
    EXPECT_TRUE(colors.Add("\\red255\\green0\\blue0;"));
    EXPECT_FALSE(colors.Add("\\red1"));
    EXPECT_FALSE(colors.Add(""));
    colors.AddNew(0, ";");
    colors.AddNew(1, "\\red0\\green0\\blue255;");
    colors.AddNew(2, "\\red255\\green0\\blue0;");
    EXPECT_EQ(colors.Old2New(0), 0);
    EXPECT_EQ(colors.Old2New(1), 2) << "new colour at the end";
    EXPECT_EQ(colors.Old2New(2), 1) << "identical colour reused";
    EXPECT_EQ(colors.Count(), 3);
}

TEST(merge_tables, styles)
{
    auto cut = [](const char *s) { return TRpStyleStrings::CutNumber(QString::fromLatin1(s)); };
    EXPECT_EQ(cut("{\\s12\\b Bold;}").n, 12);
    EXPECT_EQ(cut("{\\s12\\b Bold;}").t, 1);
    EXPECT_EQ(cut("{\\s12\\b Bold;}").text, "\\b Bold;}");
    EXPECT_EQ(cut("{\\*\\cs10 \\additive Font;}").t, 2);
    EXPECT_EQ(cut("{\\*\\cs10 \\additive Font;}").n, 10);
    EXPECT_EQ(cut("{\\*\\ts7\\tsrowd Grid;}").t, 4);
    EXPECT_EQ(cut("{\\ds3 Section;}").t, 3);
    EXPECT_EQ(cut("{\\cs4 Char;}").t, 2);
    EXPECT_EQ(cut("{\\ql Normal;}").t, 1);
    EXPECT_EQ(cut("{\\ql Normal;}").text, "\\ql Normal;}");
    EXPECT_EQ(cut("{\\s}").t, 0);

    TRpStyleStrings styles;
    EXPECT_TRUE(styles.Add("{\\ql\r\n Normal;}"));
    EXPECT_TRUE(styles.Add("{\\s2\\b\\snext2 Strong;}"));
    EXPECT_FALSE(styles.Add("{\\s3 no end}"));
    EXPECT_EQ(styles.GetString(0), "{\\s0\\ql Normal;}") << "a style without \\s gets number 0";
    EXPECT_TRUE(styles.AddNew("{\\s1\\b\\snext1 Strong;}"));
    EXPECT_TRUE(styles.AddNew("{\\s4\\b Strong;}"));
    EXPECT_TRUE(styles.AddNew("{\\s5\\b\\sbasedon1\\snext5 Strong;}"));
    EXPECT_TRUE(styles.AddNew("{\\*\\cs6\\b\\snext6 Strong;}"));
    EXPECT_EQ(styles.Old2New(1), 2) << "same style once \\snext numbers are ignored";
    EXPECT_EQ(styles.Old2New(4), 3) << "with and without \\snext never match";
    EXPECT_EQ(styles.Old2New(5), 4) << "\\sbasedon always makes a new style";
    EXPECT_EQ(styles.Old2New(6), 5) << "a character style is not a paragraph style";

    TRpStream owner(nullptr, nullptr);
    owner.FFontTable.AddRepl(1, 7);
    owner.FColorTable.AddRepl(1, 2);
    TRpStyleStrings own(&owner);
    own.Add("{\\s0 Normal;}");
    own.AddNew("{\\s3\\f1\\fs20\\cf1\\sbasedon0\\snext3\\slink9 Code;}");
    own.AddNew("{\\*\\cs9\\f1\\slink3 Code Char;}");
    own.CorrectNewStyles();
    EXPECT_EQ(own.GetString(1), "{\\s1\\f7\\fs20\\cf2\\sbasedon0\\snext1\\slink2 Code;}");
    EXPECT_EQ(own.GetString(2), "{\\*\\cs2\\f7\\slink1 Code Char;}");
    EXPECT_FALSE(own.FStrings[1].isNew);
}

TEST_F(Insertion, memo_body_and_merged_tables)
{
    report.CreateVar(QStringLiteral("memo"), memo);
    report.SetOptions(report.Options() | eoKeepFrtfPar);
    const QByteArray doc = run(docHead, "A \\\\FRTF(memo)\\\\ B");
    EXPECT_TRUE(balanced(doc)) << doc.toStdString();
    EXPECT_TRUE(doc.contains("{\\fonttbl{\\f0\\froman Times;}{\\f3\\fswiss Arial;}"
                             "{\\f4\\fmodern Courier;}}"))
        << doc.toStdString();
    EXPECT_TRUE(doc.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"))
        << doc.toStdString();
    EXPECT_TRUE(doc.contains("{\\stylesheet{\\s0 Normal;}{\\s2\\b Strong;}"
                             "{\\s3\\sbasedon0\\f4\\cf2 Code;}}"))
        << doc.toStdString();
    // Header words and skipped groups are gone; numbers follow the merged tables; \plain
    // brings back the memo's own default font.
    EXPECT_TRUE(doc.contains("A {\\pard\\plain\\f3 \\s2\\f4\\cf2 Hello\\par\\pard\\s3\\f3\\cf1"
                             "\\highlight2 World\\par} B"))
        << doc.toStdString();
    for (const char *gone : {"secret", "generator", "unknowndest", "ansicpg", "deff"})
        EXPECT_FALSE(doc.contains(gone)) << gone;
}

TEST_F(Insertion, last_paragraph_mark_is_blanked_without_keep)
{
    report.CreateVar(QStringLiteral("memo"), QStringLiteral("{\\rtf1 one\\par two\\par\r\n}"));
    const QByteArray doc = run("{\\rtf1 ", "\\\\FRTF(memo)\\\\ after");
    EXPECT_EQ(doc.toStdString(), "{\\rtf1 {one\\par two\r\r\r\r\r\n} after}");
}

TEST_F(Insertion, broken_memos_still_give_balanced_rtf)
{
    const char *bad[] = {
        "just text, no RTF at all",
        "{\\rtf1 truncated {\\b bold",
        "{\\rtf1 x}}}} y}",
        "{\\rtf1 {\\*\\shppict{\\pict\\bin999 ab}} tail",
        "{\\rtf1 \\bin99999999 {{{",
        "{\\rtf1 {\\fonttbl{\\f0 A;}{\\f1",
        "{\\rtf1 {\\colortbl\\red",
        "{\\rtf1 {\\stylesheet{\\s1 x",
        "\\",
        "{\\rtf1 end\\",
        "{\\pict\\",
        "{\\rtf1 {\\*\\shppict{\\pict\\pngblip 89ab\\",
        "",
    };
    for (const char *m : bad) {
        report.ClearVars();
        report.CreateVar(QStringLiteral("memo"), QString::fromLatin1(m));
        const QByteArray doc = run("{\\rtf1 ", "[\\\\FRTF(memo)\\\\]");
        EXPECT_TRUE(balanced(doc)) << m << " -> " << doc.toStdString();
        EXPECT_TRUE(doc.endsWith("]}")) << m << " -> " << doc.toStdString();
    }
    // A lying \bin count copies only what is there, and says so.
    report.ClearVars();
    report.CreateVar(QStringLiteral("memo"), QStringLiteral("{\\rtf1 \\bin50 ab}"));
    EXPECT_TRUE(run("{\\rtf1 ", "\\\\FRTF(memo)\\\\").contains("\\bin3 ab}"));
}

TEST(insertion_stream, random_bytes_never_unbalance_the_output)
{
    // Mostly RTF syntax characters, so that the tokenizer's corners are reached.
    const QByteArray alphabet = "{}\\\\\\*'binparfonttblcolortbl0123456789 ;-\r\nxyz\x80\xff";
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 3000; ++round) {
        QByteArray source = "{\\rtf1";
        const int n = int(next() % 200);
        for (int i = 0; i < n; ++i)
            source += alphabet[int(next() % alphabet.size())];
        TRpRTF report;
        QBuffer in(&source);
        in.open(QIODevice::ReadOnly);
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        out.write("{");
        InsertRtfMemoStreamPar(report, &out, &in);
        out.write("}");
        ASSERT_TRUE(balanced(out.data())) << source.toStdString() << "\n->\n"
                                          << out.data().toStdString();
    }
}

TEST_F(Insertion, a_template_without_colour_table_gets_the_memo_colours)
{
    report.CreateVar(
        QStringLiteral("memo"),
        QStringLiteral("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1 blue\\par}"));
    const QByteArray doc = run("{\\rtf1{\\fonttbl{\\f0 Arial;}}", "x\\\\FRTF(memo)\\\\");
    EXPECT_TRUE(doc.contains("{\\colortbl;\\red0\\green0\\blue255;}")) << doc.toStdString();
    EXPECT_TRUE(doc.contains("x{\\cf1 blue\r\r\r\r}")) << doc.toStdString();
}
