// SPDX-License-Identifier: MIT
// The rtftext tool: output text, line ends, HTML mode and exit codes.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString tool = QStringLiteral(ZC_BINARY_DIR "/tools/rtftext/rtftext");

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList &args, const QString &stdoutFile = QString())
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(tool, args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class RtfTextTool : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists(tool))
            FAIL() << "rtftext is not built";
    }
};

} // namespace

TEST_F(RtfTextTool, PrintsTheViewsTextWithLfLineEnds)
{
    const Result r = runTool({ZC_TEST_DATA_DIR "/remedy-it.rtf"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.toStdString(), "Ametista\n"
                                   "La pietra viola aiuta la calma e la concentrazione.\n"
                                   "•\tRimedio: tenerla vicino al letto.\n"
                                   "•\tPerchè funziona? “Equilibrio”\n"
                                   "Vedi la scheda.\n");

    const Result plain = runTool({ZC_TEST_DATA_DIR "/plain-note.txt"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out.toStdString(), "Nota semplice: caffè\nseconda riga\n")
        << "text without the RTF header is shown as Windows-1252 plain text";
}

TEST_F(RtfTextTool, HtmlKeepsFormattingAndLinks)
{
    const Result r = runTool({"--html", ZC_TEST_DATA_DIR "/remedy-it.rtf"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("<html")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("href=\"http://example.org/ametista\""));
    EXPECT_TRUE(r.out.contains("font-weight:700"));
    EXPECT_TRUE(r.out.contains("color:#800080"));
}

TEST_F(RtfTextTool, ExitCodesAndWarnings)
{
    EXPECT_EQ(runTool({}).exitCode, 1);
    const Result missing = runTool({"/nonexistent/file.rtf"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("rtftext: cannot read /nonexistent/file.rtf"))
        << missing.err.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath("cut.rtf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 half {\\b done");
    f.close();
    const Result cut = runTool({path});
    EXPECT_EQ(cut.exitCode, 3) << "a malformed file is an error, though its text is printed";
    EXPECT_EQ(cut.out.toStdString(), "half done\n");
    EXPECT_TRUE(cut.err.contains("Unexpected end of data inside a group at byte 20"))
        << cut.err.toStdString();
}

TEST_F(RtfTextTool, AFailedWriteIsAnError)
{
    const Result full = runTool({ZC_TEST_DATA_DIR "/remedy-it.rtf"}, "/dev/full");
    EXPECT_EQ(full.exitCode, 4);
    EXPECT_TRUE(full.err.contains("rtftext: cannot write the text to standard output: No space"))
        << full.err.toStdString();
}
