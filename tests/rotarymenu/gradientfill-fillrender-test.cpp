// SPDX-License-Identifier: MIT
// The fillrender tool: a fill saved to an INI section comes out as the expected PNG.
#include <rotarymenu/gradientfill.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int exitCode;
    QString stderrText;
};

class FillRender : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tool = QStringLiteral(ZC_BINARY_DIR "/tools/fillrender/fillrender");
        if (!QFileInfo(tool).isExecutable()) {
            FAIL() << "fillrender is not built";
        }
    }

    ToolRun run(const QStringList &args) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(tool, args);
        process.waitForFinished(30000);
        QString err = QString::fromUtf8(process.readAllStandardError());
        // Qt's own start-up notes are not the tool's message.
        QStringList lines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf(
            [](const QString &l) { return l.startsWith(QLatin1String("QStandardPaths")); });
        return {process.exitCode(), lines.join(QLatin1Char('\n'))};
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QString tool;
    QTemporaryDir dir;
};

} // namespace

TEST_F(FillRender, PaintsTheSectionIntoAnImageOfTheGivenSize)
{
    TGradientFill fill;
    fill.SetColor(0x0000FF);
    fill.SetColorTo(clNone);
    fill.SetBorderColor(0x00FF00);
    fill.SaveToFile(path("f.ini"), QStringLiteral("Red"));
    const ToolRun r = run({"--ini", path("f.ini"), "--section", "Red", "--size", "30x20",
                           "--background", "#0000FF", "-o", path("out.png")});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    const QImage image(path("out.png"));
    ASSERT_EQ(image.size(), QSize(30, 20));
    EXPECT_EQ(image.pixel(15, 10), qRgb(255, 0, 0));
    EXPECT_GT(qGreen(image.pixel(0, 10)), 100); // the anti-aliased border half covers it
}

TEST_F(FillRender, FocusOptionDrawsTheFocusOutline)
{
    TGradientFill fill;
    fill.SetColor(0xFFFFFF);
    fill.SetColorTo(clNone);
    fill.SaveToFile(path("f.ini"), QStringLiteral("White"));
    ASSERT_EQ(run({"--ini", path("f.ini"), "--section", "White", "--size", "40x20", "--focus", "-o",
                   path("out.png")})
                  .exitCode,
              0);
    const QImage image(path("out.png"));
    int dark = 0;
    for (int x = 0; x < 40; ++x) {
        dark += qRed(image.pixel(x, 1)) < 50;
    }
    EXPECT_GT(dark, 10);
}

TEST_F(FillRender, GalleryIsASheetOfSamples)
{
    ASSERT_EQ(run({"--gallery", "-o", path("gallery.png")}).exitCode, 0);
    const QImage image(path("gallery.png"));
    EXPECT_GT(image.width(), 600);
    EXPECT_GT(image.height(), 400);
}

TEST_F(FillRender, BadInputExitsWithOneLine)
{
    TGradientFill fill;
    fill.SaveToFile(path("f.ini"), QStringLiteral("Ok"));
    QFile bad(path("bad.ini"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[Bad]\nGradientType=42\n[Hex]\nPicture=XY\nForegroundPictureSize=2\n[Typo]\n"
              "Color=abc\n");
    bad.close();
    const QString out = path("o.png");
    struct Case
    {
        QStringList args;
        int code;
        const char *message;
    };
    const Case cases[] = {
        {{"--ini", path("f.ini"), "--section", "Ok", "--size", "10x10"},
         1,
         "fillrender: -o OUT.png is required"},
        {{"--ini", path("f.ini"), "--section", "Ok", "-o", out},
         1,
         "fillrender: --ini FILE, --section NAME and --size WxH are required"},
        {{"--ini", path("f.ini"), "--section", "Ok", "--size", "10by10", "-o", out},
         1,
         "fillrender: bad size \"10by10\" (expected WxH, each side 1 to 10000, e.g. 150x40)"},
        {{"--ini", path("f.ini"), "--section", "Ok", "--size", "0x10", "-o", out},
         1,
         "fillrender: bad size \"0x10\" (expected WxH, each side 1 to 10000, e.g. 150x40)"},
        {{"--ini", path("f.ini"), "--section", "Ok", "--size", "9x9", "--background", "red", "-o",
          out},
         1,
         "fillrender: bad colour \"red\" (expected #RRGGBB)"},
        {{"--bogus", "-o", out}, 1, "fillrender: Unknown option 'bogus'."},
        {{"--ini", path("none.ini"), "--section", "Ok", "--size", "9x9", "-o", out}, 2, nullptr},
        {{"--ini", path("f.ini"), "--section", "Nope", "--size", "9x9", "-o", out}, 2, nullptr},
        {{"--ini", path("bad.ini"), "--section", "Bad", "--size", "9x9", "-o", out}, 2, nullptr},
        {{"--ini", path("bad.ini"), "--section", "Hex", "--size", "9x9", "-o", out}, 2, nullptr},
        {{"--ini", path("bad.ini"), "--section", "Typo", "--size", "9x9", "-o", out}, 2, nullptr},
        {{"--ini", path("f.ini"), "--section", "Ok", "--size", "9x9", "-o", path("no/dir/o.png")},
         3,
         nullptr},
    };
    for (const Case &c : cases) {
        const ToolRun r = run(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_FALSE(r.stderrText.contains(QLatin1Char('\n'))) << r.stderrText.toStdString();
        EXPECT_TRUE(r.stderrText.startsWith(QLatin1String("fillrender: ")));
        if (c.message) {
            EXPECT_EQ(r.stderrText, QLatin1String(c.message));
        }
    }
    EXPECT_TRUE(run({"--ini", path("bad.ini"), "--section", "Hex", "--size", "9x9", "-o", out})
                    .stderrText.endsWith(QLatin1String("No Hex-Number")));
    EXPECT_FALSE(QFileInfo::exists(out));
}
