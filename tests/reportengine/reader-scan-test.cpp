// SPDX-License-Identifier: MIT
// Template reader: delimiters, quotes, skipped groups, header tables, field cleaning, escaping.
#include "reader/rpreader.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

using namespace rp;

namespace {

QByteArray run(TRpRTF &report, const QByteArray &doc)
{
    report.SetTemplateBuffer(doc);
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    report.ExecuteStream({}, &out);
    return out.data();
}

std::string failure(TRpRTF &report, const QByteArray &doc)
{
    try {
        run(report, doc);
    } catch (const std::exception &e) {
        return e.what();
    }
    return "no failure";
}

struct Cut
{
    QString field;
    QString markup;
};

Cut cut(TRpRTF &report, const QString &raw, int uc = 1)
{
    report.FReader->FUnicodeSkipCount = uc;
    Cut c;
    report.FReader->CutRtString(raw, c.field, c.markup);
    return c;
}

} // namespace

TEST(reader_fields, quoted_strings_keep_backslashes_and_boundaries)
{
    TRpRTF report;
    EXPECT_EQ(run(report, "{\\rtf1 \\\\\"C:\\\\dir\\par x\"\\\\}"),
              QByteArray("{\\rtf1 \\lang0 C:\\\\dirx\\par }"));
    // Typographic and RTF-spelled quotes open and close strings too.
    EXPECT_EQ(run(report, "{\\rtf1 \\\\\\ldblquote a\\\\b\\rdblquote\\\\}"),
              QByteArray("{\\rtf1 \\lang0 a\\\\b}"));
    EXPECT_EQ(run(report, "{\\rtf1 \\\\\\'ab x \\'bb\\\\}"), QByteArray("{\\rtf1 \\lang0  x }"));
}

TEST(reader_fields, a_backslash_ending_a_line_is_a_paragraph)
{
    TRpRTF report;
    report.CreateVar(QStringLiteral("v"), QStringLiteral("V"));
    EXPECT_EQ(run(report, "{\\rtf1 a\\\n\\\\v\\\\}"), QByteArray("{\\rtf1 a\\\n\\lang0 V}"));
    EXPECT_EQ(run(report, "{\\rtf1 a\\\r\n\\b}"), QByteArray("{\\rtf1 a\\\r\n\\b}"));
}

TEST(reader_fields, long_fields_are_text)
{
    TRpRTF report;
    const QString shortName(9000, u'a');
    const QString longName(10001, u'b');
    report.CreateVar(shortName, QStringLiteral("S"));
    report.CreateVar(longName, QStringLiteral("L"));
    EXPECT_EQ(run(report, "{\\rtf1 \\\\" + shortName.toLatin1() + "\\\\}"),
              QByteArray("{\\rtf1 \\lang0 S}"));
    const QByteArray tooLong = "{\\rtf1 \\\\" + longName.toLatin1() + "\\\\}";
    EXPECT_EQ(run(report, tooLong), tooLong);
}

TEST(reader_fields, the_field_limit_counts_the_opening_quote_only)
{
    // A string of 9 998 letters in quotes is 10 000 bytes: the closing quote used to count too.
    TRpRTF report;
    const QByteArray letters(9998, 'q');
    EXPECT_EQ(run(report, "{\\rtf1 \\\\\"" + letters + "\"\\\\}"),
              "{\\rtf1 \\lang0 " + letters + "}");
    const QByteArray tooLong = "{\\rtf1 \\\\\"" + letters + "q\"\\\\}";
    EXPECT_EQ(run(report, tooLong), tooLong);
}

TEST(reader_fields, a_field_over_the_limit_is_a_warning_or_a_strict_error)
{
    TRpRTF report;
    const QByteArray doc = "{\\rtf1 x\n  \\\\" + QByteArray(10001, 'b') + "\\\\}";
    const QString shown = "\\\\" + QString(30, u'b') + "...";
    std::vector<TRpWarning> handed;
    report.OnWarning = [&handed](const TRpWarning &w) { handed.push_back(w); };
    EXPECT_EQ(run(report, doc), doc);
    ASSERT_EQ(report.Warnings().size(), 1u);
    const TRpWarning &w = report.Warnings().front();
    EXPECT_EQ(w.message, "field longer than 10000 bytes copied as text: " + shown);
    EXPECT_EQ(w.at.line, 2);
    EXPECT_EQ(w.at.column, 3);
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed.front().message, w.message);
    // The next run starts without them.
    run(report, "{\\rtf1 x}");
    EXPECT_TRUE(report.Warnings().empty());

    report.SetStrict(true);
    EXPECT_EQ(failure(report, doc), "Field longer than 10000 bytes: " + shown.toStdString());
    EXPECT_EQ(report.LastErrLocation().line, 2);
    EXPECT_EQ(report.LastErrLocation().column, 3);
    EXPECT_EQ(report.LastErrLocation().field, shown);
}

TEST(reader_fields, skipped_groups_hide_fields)
{
    TRpRTF report;
    report.CreateVar(QStringLiteral("v"), QStringLiteral("V"));
    // Binary picture data with braces in it is one group.
    const QByteArray pict = "{\\pict\\wmetafile8\\bin4 }}{{\\\\v\\\\}";
    EXPECT_EQ(run(report, "{\\rtf1 " + pict + "\\\\v\\\\}"), "{\\rtf1 " + pict + "\\lang0 V}");
    const QByteArray field = "{\\field{\\*\\fldinst HYPERLINK \\\\v\\\\}{\\fldrslt \\\\v\\\\}}";
    EXPECT_EQ(run(report, "{\\rtf1 " + field + "}"), "{\\rtf1 " + field + "}");
    report.SetOptions(report.Options() | eoProcessFormFields);
    EXPECT_EQ(
        run(report, "{\\rtf1 " + field + "}"),
        QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \\\\v\\\\}{\\fldrslt \\lang0 V}}}"));
}

TEST(reader_tables, header_groups_are_rebuilt)
{
    TRpRTF report;
    report.SetCharset(238);
    const QByteArray out =
        run(report, "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}\n{\\f1\\fcharset204 "
                    "Times;}}{\\colortbl;\\red255\\green0\\blue0;\\ctint10\\red1\\green2\\blue3;}"
                    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}");
    EXPECT_EQ(out,
              QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\fcharset204 "
                         "Times;}}{\\colortbl;\\red255\\green0\\blue0;\\red1\\green2\\blue3;}"
                         "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}"));
    // A header word broken across lines is still the header group.
    EXPECT_EQ(
        run(report, "{\\rtf1{\n\\fonttbl\n{\\f0 A;}}\n{\r\n\\colortbl\n;\\red1\\green2\\blue3;}x}"),
        QByteArray("{\\rtf1{\\fonttbl{\\f0 A;}}\n{\\colortbl;\\red1\\green2\\blue3;}x}"));
    // The default set is written as the ANSI set it stands for; fonts of their own script
    // (here Central European and Symbol) keep it, or their text would change letters.
    report.SetCharset(1);
    EXPECT_EQ(run(report, "{\\rtf1{\\fonttbl{\\f0\\fcharset1 Arial;}{\\f1\\fcharset238 Arial "
                          "CE;}{\\f2\\fcharset2 Symbol;}}x}"),
              QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset238 Arial "
                         "CE;}{\\f2\\fcharset2 Symbol;}}x}"));
    report.SetCharset(238);
    // Entries written without braces are kept.
    EXPECT_EQ(run(report, "{\\rtf1{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;}x}"),
              QByteArray("{\\rtf1{\\fonttbl\\f0\\fswiss\\fcharset238 Helvetica;}x}"));
}

TEST(reader_tables, colours_added_during_a_run_follow_the_font_table)
{
    TRpRTF report;
    report.FReader->ResetForRun();
    report.FReader->FRTFFont = QStringList{QStringLiteral("{\\f0 Arial;}")};
    EXPECT_EQ(report.FReader->UseColor(QStringLiteral("\\red1\\green2\\blue3;")), 1);
    EXPECT_EQ(report.FReader->UseColor(QStringLiteral("\\red1\\green2\\blue3;")), 1);
    EXPECT_EQ(report.FReader->FontTableText(),
              QStringLiteral("{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"));
}

TEST(reader_tables, broken_header_groups)
{
    TRpRTF report;
    EXPECT_EQ(failure(report, "{\\rtf1{\\fonttbl{\\f0\\fcharsetx Arial;}}}"),
              "Can't define font charset in input file");
    EXPECT_EQ(failure(report, "{\\rtf1{\\fonttbl{\\f0 Arial;}"),
              "Can't read font table from input file");
    EXPECT_EQ(failure(report, "{\\rtf1{\\colortbl;\\red0"),
              "Can't read color table from input file");
}

TEST(reader_loading, files_and_buffers)
{
    QTemporaryDir dir;
    TRpRTF report;
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    report.SetOutFile(out);

    report.SetInFile(dir.filePath(QStringLiteral("missing.rtf")));
    EXPECT_THROW(report.Execute({}), EIOError);
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("Can't read file ") + report.InFile());
    report.SetInFile(dir.path());
    EXPECT_THROW(report.Execute({}), EIOError);
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("Can't read file ") + dir.path());

    // Kernel attribute files list a whole page as their size but read back a few bytes: a
    // read that stops short of the listed size must fail, not run on part of a template.
    const QString shortFile = QStringLiteral("/sys/devices/system/cpu/online");
    if (QFileInfo(shortFile).size() > 64) {
        report.SetInFile(shortFile);
        EXPECT_THROW(report.Execute({}), EIOError);
        QFile kernel(shortFile);
        ASSERT_TRUE(kernel.open(QIODevice::ReadOnly));
        EXPECT_EQ(report.LastErrMsg(),
                  QStringLiteral("Can't read report template from file: %1: read %2 of %3 bytes")
                      .arg(shortFile)
                      .arg(kernel.readAll().size())
                      .arg(QFileInfo(shortFile).size()));
    }

    // A template that is not RTF fails before the output is touched.
    const QString notRtf = dir.filePath(QStringLiteral("plain.rtf"));
    QFile f(notRtf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rt");
    f.close();
    QFile previous(out);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("old");
    previous.close();
    report.SetInFile(notRtf);
    EXPECT_THROW(report.Execute({}), EBadRtfFormat);
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("Template is not RTF file.: ") + notRtf);
    EXPECT_TRUE(QFile::exists(out));

    // A template file is read anew by every run; a buffer survives runs.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 file}");
    f.close();
    report.Execute({});
    QFile result(out);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), QByteArray("{\\rtf1 file}"));
    EXPECT_EQ(run(report, "{\\rtf1 buffer}"), QByteArray("{\\rtf1 buffer}"));
    QBuffer again;
    again.open(QIODevice::ReadWrite);
    report.ExecuteStream({}, &again);
    EXPECT_EQ(again.data(), QByteArray("{\\rtf1 buffer}"));
}

TEST(reader_loading, an_unreadable_template_says_why)
{
    QTemporaryDir dir;
    TRpRTF report;
    report.SetOutFile(dir.filePath(QStringLiteral("out.rtf")));
    // Root reads any file a mode forbids, but not a write-only kernel attribute.
    QString unreadable = QStringLiteral("/sys/bus/cpu/uevent");
    if (geteuid() != 0) {
        unreadable = dir.filePath(QStringLiteral("locked.rtf"));
        QFile f(unreadable);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 locked}");
        f.close();
        QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
    }
    if (!QFileInfo(unreadable).isFile() || QFile(unreadable).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no unreadable file at hand";
    report.SetInFile(unreadable);
    EXPECT_THROW(report.Execute({}), EIOError);
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("Can't read report template from file: ") +
                                       unreadable + QStringLiteral(": Permission denied"));
}

TEST(reader_loading, no_new_template_while_running)
{
    TRpRTF report;
    TRpUDFList functions;
    TRpUDF *f = functions.Functions().Add();
    f->SetName(QStringLiteral("SWAP"));
    f->OnCalculate = [&report](QObject *, TRpUDFArgs &, int, TRpObject *) {
        report.SetTemplateBuffer("{\\rtf1 other}");
    };
    report.SetUDFList(&functions);
    EXPECT_EQ(failure(report, "{\\rtf1 \\\\SWAP()\\\\}"),
              "Can't set template while executing report");
}

TEST(reader_cleaning, plain_text_and_markup)
{
    TRpRTF report;
    Cut c = cut(report, QStringLiteral("{\\b na}me\\'e9\\~x"));
    EXPECT_EQ(c.field, QString::fromUtf8("nameé x").remove(u' '));
    EXPECT_EQ(c.markup, QStringLiteral("{\\b }"));
    c = cut(report, QStringLiteral("[first name] + \"a b\"\\\\\\{\\}"));
    EXPECT_EQ(c.field, QStringLiteral("first name+\"a b\"\\{}"));
    c = cut(report, QStringLiteral("{\\*\\pntext x}y\\lquote z\\rquote"));
    EXPECT_EQ(c.field, QStringLiteral("y'z'"));
    EXPECT_EQ(c.markup, QStringLiteral("{\\*\\pntext x}"));
}

TEST(reader_cleaning, unicode_escapes_and_their_fallbacks)
{
    TRpRTF report;
    EXPECT_EQ(cut(report, QStringLiteral("\\u1078?a")).field, QString::fromUtf8("жa"));
    EXPECT_EQ(cut(report, QStringLiteral("\\u1078 a"), 0).field, QString::fromUtf8("жa"));
    // A \uc inside a group ends with the group.
    EXPECT_EQ(cut(report, QStringLiteral("{\\uc2 \\u1078ab}\\u1079cd")).field,
              QString::fromUtf8("жзd"));
}

TEST(reader_escaping, txt2rtf)
{
    EXPECT_EQ(txt2rtf(QStringLiteral("{a}\\"), false), QStringLiteral("\\{a\\}\\\\"));
    EXPECT_EQ(txt2rtf(QString::fromUtf8("é\t\r\v\f"), false),
              QStringLiteral("\\'E9\\tab \\par \\line \\page "));
    EXPECT_EQ(txt2rtf(QString::fromUtf8("ж€•"), false), QStringLiteral("?\\'80\\'95"));
    EXPECT_EQ(txt2rtf(QString::fromUtf8("aж€"), true),
              QStringLiteral("{\\uc1 a\\u1078 \\'3F\\u8364 \\'80}"));
}

TEST(reader_killpar, a_control_field_alone_on_its_line_loses_its_paragraph)
{
    TRpRTF report;
    const auto scan = [&report](const QByteArray &doc) {
        report.SetTemplateBuffer(doc);
        report.CreateCmStream();
        report.ReadFileBody();
        report.FReader->ResetForRun();
        EXPECT_EQ(report.FReader->GetNextReportField(), QStringLiteral("ENDIF"));
        const std::int32_t before = report.Fpnt;
        const QString markup = report.FReader->KillPar();
        const bool removed = report.Fpnt != before;
        report.FreeCmStream();
        return std::make_pair(removed, markup);
    };
    EXPECT_EQ(scan("{\\rtf1 x\\par \\\\ENDIF\\\\}\\par y}"),
              std::make_pair(true, QStringLiteral("}")));
    EXPECT_EQ(scan("{\\rtf1 x\\par z \\\\ENDIF\\\\\\par y}"), std::make_pair(false, QString()));
    EXPECT_EQ(scan("{\\rtf1 x\\par \\\\ENDIF\\\\ w\\par y}"), std::make_pair(false, QString()));
}
