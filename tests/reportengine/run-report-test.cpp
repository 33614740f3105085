// SPDX-License-Identifier: MIT
// Report runs: success state, finished event, opening the result, data-set controls, file names.
#include <reportengine/rpconsts.h>
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

using namespace rp;

namespace {

class ReportRun : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    TRpRTF report;
    int finished = 0;

    void SetUp() override
    {
        report.OnFinished = [this](QObject *sender) {
            EXPECT_EQ(sender, &report);
            ++finished;
        };
        report.SetOutFile(dir.filePath(QStringLiteral("result.doc")));
    }
    void TearDown() override { unsetenv("REPORT_OPEN_COMMAND"); }

    /// A viewer that exits with `code` after noting the file it was given.
    void useViewer(int code)
    {
        const QString script = dir.filePath(QStringLiteral("viewer%1.sh").arg(code));
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$1\" > \"$0.opened\"\nexit " + QByteArray::number(code) + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv("REPORT_OPEN_COMMAND", QFile::encodeName(script).constData(), 1);
    }

    std::string openFailure()
    {
        try {
            report.ExecuteOpen({}, 5);
        } catch (const EIOError &e) {
            return e.what();
        }
        return "opened";
    }
};

} // namespace

TEST_F(ReportRun, success_state_follows_the_last_run)
{
    report.SetTemplateBuffer("no rtf");
    EXPECT_THROW(report.Execute({}), EBadRtfFormat);
    EXPECT_FALSE(report.ExecuteSuccessful());
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("Template is not RTF file."));
    EXPECT_EQ(finished, 0);
    EXPECT_FALSE(report.Executing());

    report.SetTemplateBuffer("{\\rtf1 ok}");
    report.Execute({});
    EXPECT_TRUE(report.ExecuteSuccessful());
    EXPECT_EQ(report.LastErrMsg(), QStringLiteral("No errors."));
    EXPECT_EQ(finished, 1);
    QFile out(report.OutFile());
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("{\\rtf1 ok}"));
}

TEST_F(ReportRun, a_failed_compile_leaves_no_output_file)
{
    QFile old(report.OutFile());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    report.SetTemplateBuffer("{\\rtf1 \\\\1+\\\\}");
    EXPECT_THROW(report.Execute({}), EIllegalFunctionUse);
    EXPECT_FALSE(QFile::exists(report.OutFile()));
}

TEST_F(ReportRun, stream_results_start_at_zero_and_leave_no_temporary_file)
{
    const QStringList before = QDir::temp().entryList({QStringLiteral("rpr*")});
    report.SetTemplateBuffer("{\\rtf1 s}");
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("longer old content");
    report.ExecuteStream({}, &out);
    EXPECT_EQ(out.pos(), 0);
    EXPECT_TRUE(out.data().startsWith("{\\rtf1 s}"));
    EXPECT_EQ(QDir::temp().entryList({QStringLiteral("rpr*")}), before);
}

TEST_F(ReportRun, opening_the_result_maps_the_viewer_outcome)
{
    report.SetTemplateBuffer("{\\rtf1 open me}");
    useViewer(0);
    report.ExecuteOpen({}, 5);
    EXPECT_TRUE(report.ExecuteSuccessful());
    EXPECT_EQ(finished, 1);
    QFile noted(QString::fromLocal8Bit(qgetenv("REPORT_OPEN_COMMAND")) + QStringLiteral(".opened"));
    ASSERT_TRUE(noted.open(QIODevice::ReadOnly));
    EXPECT_EQ(noted.readAll().trimmed(), QFile::encodeName(report.OutFile()));

    const std::string prefix = "Failed to open report results. Error message: ";
    useViewer(3);
    EXPECT_EQ(openFailure(),
              prefix + "There is no application associated with the given filename extension.");
    EXPECT_FALSE(report.ExecuteSuccessful());
    EXPECT_TRUE(QFile::exists(report.OutFile()));
    EXPECT_EQ(finished, 1);
    useViewer(4);
    EXPECT_EQ(openFailure(),
              prefix + "There is no application associated with the given filename extension.");
    useViewer(2);
    EXPECT_EQ(openFailure(), prefix + "The specified file was not found.");
    useViewer(1);
    EXPECT_EQ(openFailure(), prefix + "Reason unknown.");
    setenv("REPORT_OPEN_COMMAND", "/nonexistent/viewer", 1);
    EXPECT_EQ(openFailure(),
              prefix + "There is no application associated with the given filename extension.");
}

// A viewer that keeps running has opened the result; the wait for it runs the caller's
// events, and the viewer gets none of the caller's files.
TEST_F(ReportRun, a_viewer_that_stays_open_counts_as_opened_and_the_caller_goes_on)
{
    report.SetTemplateBuffer("{\\rtf1 open me}");
    // Opened as the database engine opens its files: without close-on-exec.
    const int held = ::open(QFile::encodeName(dir.filePath(QStringLiteral("held.txt"))).constData(),
                            O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(held, 0);
    const QString script = dir.filePath(QStringLiteral("stays.sh"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nfor f in /proc/$$/fd/*; do readlink \"$f\"; done > \"$0.fds\"\n"
            "exec sleep 20\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("REPORT_OPEN_COMMAND", QFile::encodeName(script).constData(), 1);

    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(50);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(openFailure(), "opened");
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_GT(ticks, 10) << "the caller's events waited for the viewer";
    QFile fds(script + QStringLiteral(".fds"));
    ASSERT_TRUE(fds.open(QIODevice::ReadOnly));
    const QByteArray open = fds.readAll();
    EXPECT_FALSE(open.contains("held.txt")) << open.constData();
    ::close(held);
}

TEST_F(ReportRun, data_set_controls_are_restored)
{
    TRpMemoryDataSet quiet;
    TRpMemoryDataSet loud;
    quiet.SetName(QStringLiteral("QUIET"));
    loud.SetName(QStringLiteral("LOUD"));
    quiet.DisableControls();
    bool seenDuringRun = false;
    TRpUDFList functions;
    TRpUDF *probe = functions.Functions().Add();
    probe->SetName(QStringLiteral("PROBE"));
    probe->OnCalculate = [&](QObject *, TRpUDFArgs &, int, TRpObject *) {
        seenDuringRun = loud.ControlsDisabled();
    };
    report.SetUDFList(&functions);
    for (const QByteArray &doc : {QByteArray("{\\rtf1 \\\\PROBE()\\\\}"),
                                  QByteArray("{\\rtf1 \\\\PROBE()\\\\\\\\1+\\\\}")}) {
        report.SetTemplateBuffer(doc);
        try {
            report.Execute({&quiet, &loud});
        } catch (const std::exception &) {
        }
        EXPECT_TRUE(quiet.ControlsDisabled());
        EXPECT_FALSE(loud.ControlsDisabled());
        quiet.EnableControls();
        EXPECT_FALSE(quiet.ControlsDisabled()) << "disabled at one level only";
        quiet.DisableControls();
    }
    EXPECT_TRUE(seenDuringRun);
}

TEST_F(ReportRun, aliases_name_data_sets_by_name_or_letter)
{
    TRpMemoryDataSet orders;
    TRpMemoryDataSet x;
    orders.SetName(QStringLiteral("ORDERS"));
    x.SetName(QStringLiteral("X"));
    for (TRpMemoryDataSet *ds : {&orders, &x}) {
        ds->DefineField(QStringLiteral("N"), TRpFieldType::ftString);
        ds->AppendRecord({ds->Name()});
    }
    report.SetTemplateBuffer(
        "{\\rtf1 \\\\orders:n\\\\ \\\\ x:n\\\\ \\\\B:n\\\\ \\\\A:n\\\\ \\\\C:n\\\\}");
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    report.ExecuteStream({&orders, &x}, &out);
    EXPECT_EQ(out.data(), QByteArray("{\\rtf1 \\lang0 ORDERS \\lang0 X \\lang0 X \\lang0 ORDERS "
                                     "\\\\C:n\\\\}"));
    // With a one-letter data set, its name goes before the letter's position.
    report.SetTemplateBuffer("{\\rtf1 \\\\A:n\\\\}");
    TRpMemoryDataSet a;
    a.SetName(QStringLiteral("a"));
    a.DefineField(QStringLiteral("N"), TRpFieldType::ftString);
    a.AppendRecord({QStringLiteral("named a")});
    report.ExecuteStream({&orders, &a}, &out);
    EXPECT_TRUE(out.data().startsWith("{\\rtf1 \\lang0 named a}"));
}

TEST_F(ReportRun, unique_file_names)
{
    const QString a = report.CreateFileName(dir.path(), QStringLiteral("rep"));
    const QString b =
        report.CreateFileName(QString(), QStringLiteral("rep"), QStringLiteral("rtf"));
    const QString c = report.CreateFileName(dir.path() + u'/', QStringLiteral("x"), QString());
    EXPECT_TRUE(QRegularExpression(QRegularExpression::escape(dir.path()) +
                                   QStringLiteral("/rep[0-9A-F]{5,12}\\.doc"))
                    .match(a)
                    .hasMatch())
        << a.toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^rep[0-9A-F]{5,12}\\.rtf$")).match(b).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/x[0-9A-F]{5,12}$")).match(c).hasMatch());
    EXPECT_FALSE(QFile::exists(a));
    try {
        report.CreateFileName(QStringLiteral("/no/such/dir"), QStringLiteral("p"));
        ADD_FAILURE();
    } catch (const EIOError &e) {
        EXPECT_STREQ(e.what(), "CreateFileName: directory /no/such/dir does not exist");
    }
}

TEST_F(ReportRun, execution_faults)
{
    // A stream item that has no business inside an expression.
    report.CreateCmStream();
    TRpRowContent begin;
    begin.Field = QStringLiteral("expr");
    report.CmSaveExprBeginItem(begin, true, false, 0);
    report.CmSaveBlocItem();
    report.CmSaveExprEndItem();
    report.SeekToBeginCmStream();
    report.CmReadItemInfo();
    try {
        report.OutUDF();
        ADD_FAILURE();
    } catch (const EIOError &e) {
        EXPECT_STREQ(e.what(), "Undefined argument in UDF");
    }
    report.FreeCmStream();

    TRpUDFList functions;
    TRpUDF *odd = functions.Functions().Add();
    odd->SetName(QStringLiteral("ODD"));
    odd->SetResultType(7);
    report.SetUDFList(&functions);
    report.SetTemplateBuffer("{\\rtf1 \\\\ODD()\\\\}");
    EXPECT_THROW(report.Execute({}), EIllegalFunctionUse);
    EXPECT_EQ(report.LastErrMsg(),
              QStringLiteral("Result type defined in functionODD is not supported"));

    TRpFieldFormat unknown;
    unknown.fmtnumber = 12;
    EXPECT_THROW(report.WriteVarRTF(QStringLiteral("v"), unknown, QString()), EIllegalFunctionUse);
}

TEST_F(ReportRun, user_function_results)
{
    TRpUDFList functions;
    TRpUDF *text = functions.Functions().Add();
    text->SetName(QStringLiteral("GREET"));
    text->SetArgMinCount(1);
    text->SetArgMaxCount(1);
    text->OnCalculate = [](QObject *, TRpUDFArgs &args, int, TRpObject *result) {
        auto *v = static_cast<TRpReportVariable *>(args[0]);
        static_cast<TRpReportVariable *>(result)->SetAsString(QStringLiteral("hi ") +
                                                              v->AsString());
    };
    TRpUDF *raw = functions.Functions().Add();
    raw->SetName(QStringLiteral("RAW"));
    raw->SetResultType(udfrTMemoryStream);
    raw->OnCalculate = [](QObject *, TRpUDFArgs &, int, TRpObject *result) {
        static_cast<TRpMemoryStream *>(result)->Write(QByteArray("{\\b raw}"));
    };
    TRpUDF *empty = functions.Functions().Add();
    empty->SetName(QStringLiteral("NOTHING"));
    empty->SetResultType(udfrTMemoryStream);
    TRpUDF *trim = functions.Functions().Add();
    trim->SetName(QStringLiteral("TRIM"));
    trim->SetArgMaxCount(1);
    trim->OnCalculate = [](QObject *, TRpUDFArgs &, int, TRpObject *result) {
        static_cast<TRpReportVariable *>(result)->SetAsString(QStringLiteral("mine"));
    };
    report.SetUDFList(&functions);
    report.SetTemplateBuffer("{\\rtf1 \\\\GREET(\"Ada\")\\\\|\\\\RAW()\\\\|\\\\{\\i "
                             "NOTHING()}\\\\|\\\\TRIM(\" x \")\\\\}");
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    report.ExecuteStream({}, &out);
    EXPECT_EQ(out.data(), QByteArray("{\\rtf1 \\lang0 hi Ada|{\\b raw}|{\\i }|\\lang0 mine}"));
}
