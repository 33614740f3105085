// SPDX-License-Identifier: MIT
// rtfreport: arguments, variables in order, data sets, outputs, exit codes and messages.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString tool = QStringLiteral(ZC_BINARY_DIR "/tools/rtfreport/rtfreport");

struct Result
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

class RtfReportTool : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    void SetUp() override
    {
        if (!QFile::exists(tool))
            FAIL() << "rtfreport is not built";
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    Result run(const QStringList &args, const QProcessEnvironment &env = {},
               const QString &stdoutFile = {})
    {
        QProcess p;
        if (!env.isEmpty())
            p.setProcessEnvironment(env);
        if (!stdoutFile.isEmpty())
            p.setStandardOutputFile(stdoutFile);
        p.start(tool, args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
};

} // namespace

TEST_F(RtfReportTool, fills_variables_of_every_kind_to_standard_output)
{
    const QString t = write(QStringLiteral("t.rtf"),
                            "{\\rtf1 \\\\s\\\\|\\\\FNUM(n)\\\\|\\\\FBOOL(b)\\\\|\\\\d\\\\|"
                            "\\\\FDTM(dt,\"hh:nn\")\\\\}");
    const Result r =
        run({QStringLiteral("--locale"), QStringLiteral("en_US"), QStringLiteral("--var"),
             QStringLiteral("s=a=b"), QStringLiteral("--num"), QStringLiteral("n=1234.5"),
             QStringLiteral("--bool"), QStringLiteral("b=true"), QStringLiteral("--date"),
             QStringLiteral("d=2024-05-31"), QStringLiteral("--datetime=dt=2024-05-31T13:45:00"),
             QStringLiteral("--true-value"), QStringLiteral("Yes"), t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("{\\rtf1 \\lang0 a=b|\\lang0 1,234.50|\\lang0 Yes|\\lang0 "
                                "5/31/2024|\\lang0 13:45}"));
}

TEST_F(RtfReportTool, data_sets_options_and_output_files)
{
    const QString csv = write(QStringLiteral("o.csv"), "NAME,QTY:integer\nZ\xC3\xBCrich,3\n");
    const QString t = write(QStringLiteral("t.rtf"),
                            "{\\rtf1 \\\\A:NAME\\\\ \\\\ORDERS.QTY*2\\\\ \\\\missing\\\\}");
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    Result r =
        run({QStringLiteral("--dataset"), QStringLiteral("ORDERS=") + csv,
             QStringLiteral("--option"), QStringLiteral("eoClearMissedFields"),
             QStringLiteral("--lang"), QStringLiteral("1031"), QStringLiteral("-o"), out, t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("{\\rtf1 \\lang1031 Z\\'FCrich \\lang1031 6 }"));

    // Without dots as colons, ORDERS.QTY is a field of the dot form all the same.
    r = run({QStringLiteral("--dataset"), QStringLiteral("ORDERS=") + csv,
             QStringLiteral("--no-option"), QStringLiteral("eoDotAsColon"), t, out});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
}

TEST_F(RtfReportTool, failures_name_the_field_and_exit_1)
{
    const QString t = write(QStringLiteral("bad.rtf"), "{\\rtf1 line\n\\par x \\\\a+\\\\}");
    Result r = run({t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "rtfreport: " + t.toLocal8Bit() + ":2:8: Unexpected end of expression: a+\n");
    EXPECT_TRUE(r.out.isEmpty());

    const QString plain = write(QStringLiteral("plain.rtf"), "plain");
    r = run({plain});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "rtfreport: Template is not RTF file.: " + plain.toLocal8Bit() + "\n");

    const QString missing = write(QStringLiteral("m.rtf"), "{\\rtf1 \\\\nobody\\\\}");
    r = run({QStringLiteral("--strict"), missing});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "rtfreport: " + missing.toLocal8Bit() + ":1:8: Report variable not found: nobody\n");
}

TEST_F(RtfReportTool, a_field_over_the_limit_warns_or_fails_under_strict)
{
    const QByteArray doc = "{\\rtf1 \\\\" + QByteArray(10001, 'b') + "\\\\}";
    const QString t = write(QStringLiteral("long.rtf"), doc);
    const QByteArray shown = "\\\\" + QByteArray(30, 'b') + "...";
    Result r = run({t});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, doc);
    EXPECT_EQ(r.err, t.toLocal8Bit() +
                         ":1:8: warning: field longer than 10000 bytes copied as text: " + shown +
                         "\n");
    r = run({QStringLiteral("--strict"), t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "rtfreport: " + t.toLocal8Bit() +
                         ":1:8: Field longer than 10000 bytes: " + shown + "\n");
}

TEST_F(RtfReportTool, the_template_is_never_its_own_output_and_failed_writes_fail)
{
    const QByteArray text = "{\\rtf1 \\\\v\\\\}";
    const QString t = write(QStringLiteral("t.rtf"), text);
    ASSERT_TRUE(QFile::link(t, dir.filePath(QStringLiteral("link.rtf"))));
    const QString sameFile[] = {t, dir.path() + QStringLiteral("/././t.rtf"),
                                dir.filePath(QStringLiteral("link.rtf"))};
    for (const QString &out : sameFile) {
        for (const QStringList &args :
             {QStringList{QStringLiteral("-o"), out, t}, QStringList{t, out}}) {
            const Result r = run(args);
            EXPECT_EQ(r.code, 1) << out.toStdString();
            EXPECT_TRUE(r.err.contains("is the template itself")) << r.err.toStdString();
        }
    }
    QFile f(t);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text);

    const Result full =
        run({QStringLiteral("--var"), QStringLiteral("v=x"), t}, {}, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err, QByteArray("rtfreport: cannot write the result to standard output: No "
                                   "space left on device\n"));
}

TEST_F(RtfReportTool, failed_writes_to_the_output_exit_1_and_leave_no_work_files)
{
    QTemporaryDir tmp;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp.path());
    const QStringList var = {QStringLiteral("--var"), QStringLiteral("v=x")};
    const QString small = write(QStringLiteral("small.rtf"), "{\\rtf1 \\\\v\\\\}");

    Result r =
        run(var + QStringList{QStringLiteral("-o"), QStringLiteral("/dev/full"), small}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              QByteArray("rtfreport: Cannot write \"/dev/full\": No space left on device\n"));

    // 50 KiB allowed, 80 KiB to write: through the temporary file (a field makes one) and
    // straight to the output (a plain copy needs none), each failure names its file.
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    for (const bool field : {true, false}) {
        const QString big =
            write(QStringLiteral("big.rtf"),
                  "{\\rtf1 " + QByteArray(80 * 1024, 'x') + (field ? " \\\\v\\\\}" : "}"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("trap '' XFSZ; ulimit -f 50; exec \"$0\" -o \"$1\" \"$2\""), tool,
                 out, big});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
        const QByteArray named =
            field ? QFile::encodeName(tmp.path()) + "/rpr-" : out.toLocal8Bit();
        EXPECT_TRUE(err.startsWith("rtfreport: Cannot write \"" + named)) << err.toStdString();
        EXPECT_TRUE(err.endsWith("\": File too large\n")) << err.toStdString();
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    r = run(var + QStringList{QStringLiteral("-o"), out, small}, env);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(RtfReportTool, blob_cells_reach_outside_the_csv_folder_only_with_a_blob_root)
{
    write(QStringLiteral("outside.bin"), "OUT");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data")));
    const QString csv = write(QStringLiteral("data/b.csv"), "B:blob\n../outside.bin\n");
    const QString t = write(QStringLiteral("t.rtf"), "{\\rtf1 \\\\A:B\\\\}");
    Result r = run({QStringLiteral("--dataset"), QStringLiteral("A=") + csv, t});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("blob file outside the blob folder")) << r.err.toStdString();
    r = run({QStringLiteral("--blob-root"), dir.path(), QStringLiteral("--dataset"),
             QStringLiteral("A=") + csv, t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("OUT")) << r.out.toStdString();
}

TEST_F(RtfReportTool, json_data_sets_scan_and_select_like_csv)
{
    const QString orders =
        write(QStringLiteral("o.json"),
              R"([{"NAME": "Anna", "QTY": 2}, {"NAME": "Ben", "QTY": 5}, {"NAME": "Cy"}])");
    const QString t = write(QStringLiteral("t.rtf"),
                            R"({\rtf1 \\SCAN(ORDERS)\\[\\ORDERS:NAME\\=\\A:QTY\\]\\ENDSCAN\\})");
    Result r = run({QStringLiteral("--json"), QStringLiteral("ORDERS=") + orders, t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(
        r.out,
        QByteArray(R"({\rtf1 [\lang0 Anna=\lang0 2][\lang0 Ben=\lang0 5][\lang0 Cy=\lang0 ]})"));
    r = run({QStringLiteral("--json"), QStringLiteral("ORDERS=") + orders,
             QStringLiteral("--selected"), QStringLiteral("ORDERS=3,1"), t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray(R"({\rtf1 [\lang0 Cy=\lang0 ][\lang0 Anna=\lang0 2]})"));

    const QString nested = write(QStringLiteral("n.json"), R"([{"A": {"B": 1}}])");
    r = run({QStringLiteral("--json"), QStringLiteral("N=") + nested, t});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "rtfreport: " + nested.toLocal8Bit() +
                         ": $[0].A: nested objects and arrays are not supported\n");
}

TEST_F(RtfReportTool, pdf_output_through_libreoffice_reads_back_and_says_when_it_cannot)
{
    const QString t = write(QStringLiteral("t.rtf"), R"({\rtf1 Dear \\name\\, thank you.\par})");
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
    Result r = run({QStringLiteral("--var"), QStringLiteral("name=Z\u00fcrich"), t, pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (package poppler-utils) is needed";
    EXPECT_EQ(QString::fromUtf8(text.readAllStandardOutput()).trimmed(),
              QString::fromUtf8("Dear Z\u00fcrich, thank you."));

    // Without LibreOffice: a clear message, status 1, and the earlier PDF left as it was.
    QFile before(pdf);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray kept = before.readAll();
    before.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), dir.filePath(QStringLiteral("empty")));
    r = run({QStringLiteral("--var"), QStringLiteral("name=B"), QStringLiteral("-o"), pdf, t}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QByteArray("rtfreport: cannot make the PDF: LibreOffice (soffice) is not "
                                "installed or not on PATH\n"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), kept);
}

TEST_F(RtfReportTool, usage_errors_exit_2)
{
    const QString t = write(QStringLiteral("t.rtf"), "{\\rtf1 x}");
    for (const QStringList &args :
         {QStringList{}, QStringList{QStringLiteral("--num"), QStringLiteral("n=abc"), t},
          QStringList{QStringLiteral("--bool"), QStringLiteral("b=yes"), t},
          QStringList{QStringLiteral("--date"), QStringLiteral("d=31.05.2024"), t},
          QStringList{QStringLiteral("--option"), QStringLiteral("eoNothing"), t},
          QStringList{QStringLiteral("--var"), QStringLiteral("novalue"), t},
          QStringList{QStringLiteral("--open"), t}, QStringList{QStringLiteral("--bogus"), t}}) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString();
        // One line saying what is wrong, one pointing at the help: nothing to bury it.
        EXPECT_TRUE(r.err.startsWith("rtfreport: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith("\nTry 'rtfreport --help' for more information.\n"))
            << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 2) << r.err.toStdString();
    }
    const Result help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    for (const char *topic :
         {"--dataset", "PRICE:currency", "YYYY-MM-DD HH:MM:SS", "eoNumericFormatClearZero",
          "Default: eoGraphicsBinary", "--charset 1", "Exit status:"})
        EXPECT_TRUE(help.out.contains(topic)) << topic;
}

TEST_F(RtfReportTool, the_manual_page_renders_cleanly_and_names_every_option)
{
    const QString page = QStringLiteral(ZC_SOURCE_DIR "/tools/rtfreport/rtfreport.1");
    QProcess groff;
    groff.start(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-Tutf8"),
                                          QStringLiteral("-ww"), QStringLiteral("-P-cbou"), page});
    ASSERT_TRUE(groff.waitForFinished(30000)) << "groff (package groff-base) is needed";
    EXPECT_EQ(groff.exitCode(), 0);
    EXPECT_EQ(groff.readAllStandardError(), QByteArray());
    // The rendered page uses Unicode hyphens for "\-"; compare on ASCII ones.
    const QString manual = QString::fromUtf8(groff.readAllStandardOutput())
                               .replace(QChar(0x2010), u'-')
                               .replace(QChar(0x2212), u'-');
    const Result help = run({QStringLiteral("--help")});
    static const QRegularExpression longOption(QStringLiteral("(--[a-z][a-z-]+)"));
    int options = 0;
    for (const auto &m : longOption.globalMatch(QString::fromLocal8Bit(help.out))) {
        if (m.captured(1) == u"--help-all")
            continue; // Qt's own
        ++options;
        EXPECT_TRUE(manual.contains(m.captured(1))) << m.captured(1).toStdString();
    }
    EXPECT_GT(options, 15);
}

TEST_F(RtfReportTool, check_lists_what_the_template_uses)
{
    const QString t =
        write(QStringLiteral("t.rtf"), "{\\rtf1 \\\\name\\\\ \\\\FNUM(ORDERS:PRICE*qty)\\\\ "
                                       "\\\\UPPER(name)\\\\}");
    const Result r = run({QStringLiteral("--check"), t});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QByteArray("variable name\nvariable qty\nfield ORDERS:PRICE\nfunction UPPER\n"));
}

TEST_F(RtfReportTool, open_runs_the_viewer)
{
    const QString t = write(QStringLiteral("t.rtf"), "{\\rtf1 x}");
    const QString out = dir.filePath(QStringLiteral("o.rtf"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("REPORT_OPEN_COMMAND"), QStringLiteral("false"));
    Result r = run({QStringLiteral("--open"), QStringLiteral("-o"), out, t}, env);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QByteArray("rtfreport: Failed to open report results. Error message: "
                                "Reason unknown.\n"));
    env.insert(QStringLiteral("REPORT_OPEN_COMMAND"), QStringLiteral("true"));
    r = run({QStringLiteral("--open"), QStringLiteral("-o"), out, t}, env);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
}
