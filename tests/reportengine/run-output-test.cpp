// SPDX-License-Identifier: MIT
// Report output: failed writes fail the run, work files never outlive it, the template stays.
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rp;

namespace {

// A report with a field needs the temporary file; one without writes straight to the output.
const QByteArray withField = "{\\rtf1 \\\\v\\\\}";

QByteArray bigTemplate(bool field)
{
    return "{\\rtf1 " + QByteArray(80 * 1024, 'x') + (field ? " \\\\v\\\\}" : "}");
}

class ReportOutput : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir tmp; // the engine's temporary folder for the test
    TRpRTF report;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        setenv("TMPDIR", QFile::encodeName(tmp.path()).constData(), 1);
        report.CreateVar(QStringLiteral("v"), "value");
    }
    void TearDown() override { unsetenv("TMPDIR"); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList tmpFiles() const { return QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden); }
    std::string failure()
    {
        try {
            report.Execute({});
        } catch (const EIOError &e) {
            return e.what();
        }
        return "no failure";
    }
};

// Lowers the file-size limit of this process for one scope; SIGXFSZ ignored so that a write
// past the limit fails with EFBIG instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

// A caller's stream that takes `room` bytes and then refuses, as a full pipe or socket would.
class RefusingStream : public QIODevice
{
public:
    explicit RefusingStream(qint64 room) : room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (room <= 0) {
            setErrorString(QStringLiteral("Broken pipe"));
            return -1;
        }
        const qint64 taken = std::min(size, room);
        room -= taken;
        return taken;
    }

private:
    qint64 room;
};

pid_t deadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST_F(ReportOutput, a_full_device_fails_the_run_with_its_name_and_reason)
{
    report.SetOutFile(QStringLiteral("/dev/full"));
    for (const QByteArray &text : {QByteArray("{\\rtf1 plain}"), withField}) {
        report.SetTemplateBuffer(text);
        EXPECT_EQ(failure(), "Cannot write \"/dev/full\": No space left on device") << text.data();
        EXPECT_FALSE(report.ExecuteSuccessful());
        EXPECT_EQ(report.LastErrMsg(),
                  QStringLiteral("Cannot write \"/dev/full\": No space left on device"));
        EXPECT_TRUE(tmpFiles().isEmpty());
    }
    // A device named as the output is written to, never removed as an old result would be.
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());

    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    report.SetTemplateBuffer(withField);
    try {
        report.ExecuteStream({}, &full);
        ADD_FAILURE() << "a stream on a full device must fail";
    } catch (const EIOError &e) {
        EXPECT_STREQ(e.what(), "Cannot write \"/dev/full\": No space left on device");
    }

    // A stream that is no file is named as such; a short write is retried before it fails.
    for (const QByteArray &text : {QByteArray("{\\rtf1 plain}"), withField}) {
        RefusingStream refusing(4);
        report.SetTemplateBuffer(text);
        try {
            report.ExecuteStream({}, &refusing);
            ADD_FAILURE() << "a refusing stream must fail";
        } catch (const EIOError &e) {
            EXPECT_STREQ(e.what(), "Cannot write the output stream: Broken pipe");
        }
    }
}

TEST_F(ReportOutput, a_file_size_limit_fails_the_run_as_any_failure_does)
{
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    report.SetOutFile(out);

    // Through the temporary file: the limit hits it first, and no output is made.
    write(QStringLiteral("out.rtf"), "old");
    report.SetTemplateBuffer(bigTemplate(true));
    std::string message;
    {
        FileSizeLimit limit(50 * 1024);
        message = failure();
    }
    const std::string tmpStem =
        QFile::encodeName(tmp.path()).toStdString() + "/rpr-" + std::to_string(getpid()) + "-";
    EXPECT_EQ(message.rfind("Cannot write \"" + tmpStem, 0), 0u) << message;
    EXPECT_TRUE(message.ends_with(".tmp\": File too large")) << message;
    EXPECT_FALSE(report.ExecuteSuccessful());
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(tmpFiles().isEmpty());

    // Straight to the output: the output names itself; what was written stays, as after a
    // failure at a field.
    write(QStringLiteral("out.rtf"), "old");
    report.SetTemplateBuffer(bigTemplate(false));
    {
        FileSizeLimit limit(50 * 1024);
        message = failure();
    }
    EXPECT_EQ(message, "Cannot write \"" + out.toStdString() + "\": File too large");
    EXPECT_EQ(QFileInfo(out).size(), 50 * 1024);

    // Under the limit the same runs succeed.
    {
        FileSizeLimit limit(200 * 1024);
        report.SetTemplateBuffer(bigTemplate(true));
        report.Execute({});
    }
    EXPECT_TRUE(report.ExecuteSuccessful());
    EXPECT_TRUE(read(out).endsWith("x \\lang0 value}"));
}

TEST_F(ReportOutput, work_files_go_with_the_run_and_stale_ones_with_the_next)
{
    report.SetOutFile(dir.filePath(QStringLiteral("out.rtf")));
    report.SetTemplateBuffer(withField);
    report.Execute({});
    EXPECT_TRUE(tmpFiles().isEmpty());
    report.SetTemplateBuffer("{\\rtf1 \\\\v\\\\ \\\\1+\\\\}");
    EXPECT_THROW(report.Execute({}), EIllegalFunctionUse);
    EXPECT_TRUE(tmpFiles().isEmpty());

    // A killed run leaves its file under its PID; the next run removes it once the process
    // is gone, and leaves alone what a live process or someone else put there.
    const QString stale = QStringLiteral("rpr-%1-AbC123.tmp").arg(deadPid());
    const QString live = QStringLiteral("rpr-%1-XyZ789.tmp").arg(getppid());
    const QStringList kept = {live, QStringLiteral("rpr-notapid-Q1w2E3.tmp"),
                              QStringLiteral("rprAbC123.tmp")};
    for (const QString &name : QStringList{stale} + kept) {
        QFile f(QDir(tmp.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    report.SetTemplateBuffer("{\\rtf1 plain}");
    report.Execute({});
    QStringList left = tmpFiles();
    left.sort();
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(left, expected);
}

TEST_F(ReportOutput, the_template_is_never_its_own_output)
{
    const QByteArray text = withField;
    const QString t = write(QStringLiteral("t.rtf"), text);
    ASSERT_TRUE(QFile::link(t, dir.filePath(QStringLiteral("link.rtf"))));
    ASSERT_EQ(::link(QFile::encodeName(t).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.rtf"))).constData()),
              0);
    report.SetInFile(t);
    for (const QString &out :
         {t, dir.path() + QStringLiteral("/./sub/../t.rtf"),
          dir.filePath(QStringLiteral("link.rtf")), dir.filePath(QStringLiteral("hard.rtf"))}) {
        QDir(dir.path()).mkpath(QStringLiteral("sub"));
        report.SetOutFile(out);
        EXPECT_EQ(failure(), "The output file is the report template itself: " + out.toStdString());
        EXPECT_FALSE(report.ExecuteSuccessful());
        EXPECT_EQ(read(t), text);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("link.rtf"))).isSymLink());

    // Another file of the same content is an ordinary output.
    const QString other = write(QStringLiteral("copy.rtf"), text);
    report.SetOutFile(other);
    report.Execute({});
    EXPECT_EQ(read(other), QByteArray("{\\rtf1 \\lang0 value}"));
    EXPECT_EQ(read(t), text);
}
