// SPDX-License-Identifier: MIT
// Fill persistence: INI keys in order, picture hex texts, partial loads, clipboard round trip.
#include <rotarymenu/gradientfill.h>
#include <zc/inifile.h>

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

QByteArray tinyPng()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 4));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Every setting away from its default.
void setEverything(TGradientFill &f)
{
    f.SetColor(0x123456);
    f.SetColorTo(-16777201); // a system colour
    f.SetColorMirror(0x010203);
    f.SetColorMirrorTo(0x040506);
    f.SetGradientType(gtAngle);
    f.SetGradientMirrorType(gtBackwardDiagonal);
    f.SetHatchStyle(HatchStyleWeave);
    f.SetHatchStyleMirror(HatchStyleSolidDiamond);
    f.SetBackGroundPictureMode(pmInsideFill);
    f.SetBackGroundPicturePosition(ppCustom);
    f.SetBackGroundPictureLeft(-7);
    f.SetBackGroundPictureTop(8);
    f.SetPicturePosition(ppCenterRight);
    f.SetPictureLeft(9);
    f.SetPictureTop(-10);
    f.SetPictureSize(psCustom);
    f.SetPictureWidth(11);
    f.SetPictureHeight(12);
    f.SetOpacity(13);
    f.SetOpacityTo(14);
    f.SetOpacityMirror(15);
    f.SetOpacityMirrorTo(0);
    f.SetBorderColor(0x808080);
    f.SetBorderOpacity(17);
    f.SetBorderWidth(3);
    f.SetRounding(19);
    f.SetRoundingType(rtRight);
    f.SetShadowOffset(21);
    f.SetShadowColor(0x222222);
    f.SetAngle(-23);
    f.SetGlow(gmRadialGradient);
    f.SetGlowGradientColor(0x252525);
    f.SetGlowRadialColor(0x262626);
    f.Picture()->LoadFromBytes(tinyPng());
    f.BackGroundPicture()->LoadFromBytes(QByteArray("\x00\xFF\x10", 3));
}

QStringList keysOf(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    QStringList keys;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0) {
            keys << QString::fromUtf8(line.left(eq));
        }
    }
    return keys;
}

struct Counter
{
    explicit Counter(TGradientFill &f)
    {
        QObject::connect(&f, &TGradientFill::OnChange, [this] { ++count; });
    }
    int count = 0;
};

class GradientFillSettings : public ::testing::Test
{
protected:
    QString iniPath() const { return dir.filePath(QStringLiteral("fill.ini")); }
    void writeIni(const QByteArray &text) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(GradientFillSettings, WritesTheKeysInTheirOrder)
{
    TGradientFill fill;
    fill.SaveToFile(iniPath(), QStringLiteral("Item"));
    const QStringList expected = {"Color",
                                  "ColorTo",
                                  "ColorMirror",
                                  "ColorMirrorTo",
                                  "GradientType",
                                  "GradientMirrorType",
                                  "HatchStyle",
                                  "HatchStyleMirror",
                                  "BackGroundPictureMode",
                                  "BackGroundPicturePosition",
                                  "BackGroundPictureLeft",
                                  "BackGroundPictureTop",
                                  "PicturePosition",
                                  "PictureLeft",
                                  "PictureTop",
                                  "PictureSize",
                                  "PictureWidth",
                                  "PictureHeight",
                                  "Opacity",
                                  "OpacityTo",
                                  "OpacityMirror",
                                  "OpacityMirrorTo",
                                  "BorderColor",
                                  "BorderOpacity",
                                  "BorderWidth",
                                  "Rounding",
                                  "RoundingType",
                                  "ShadowOffset",
                                  "ShadowColor",
                                  "Angle",
                                  "Glow",
                                  "GlowGradientColor",
                                  "GlowRadialColor",
                                  "Picture",
                                  "ForegroundPictureSize",
                                  "BackgroundPicture",
                                  "BackgroundPictureSize"};
    EXPECT_EQ(keysOf(iniPath()), expected);
    const zc::IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadString("Item", "ColorMirror", ""), "536870911");
    EXPECT_EQ(ini.ReadString("Item", "GradientType", ""), "2");
    EXPECT_EQ(ini.ReadString("Item", "Color", ""), "12632256");
    EXPECT_EQ(ini.ReadString("Item", "Picture", "x"), "");
    EXPECT_EQ(ini.ReadString("Item", "ForegroundPictureSize", ""), "0");
    EXPECT_EQ(ini.ReadString("Item", "BackgroundPictureSize", ""), "0");
}

TEST_F(GradientFillSettings, PicturesAreUpperCaseHexWithTheirLength)
{
    TGradientFill fill;
    fill.Picture()->LoadFromBytes(QByteArray("\x89\x50\x4E", 3));
    fill.BackGroundPicture()->LoadFromBytes(QByteArray("\x00\xab", 2));
    fill.SaveToFile(iniPath(), QStringLiteral("S"));
    const zc::IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadString("S", "Picture", ""), "89504E");
    EXPECT_EQ(ini.ReadInteger("S", "ForegroundPictureSize", 0), 6);
    EXPECT_EQ(ini.ReadString("S", "BackgroundPicture", ""), "00AB");
    EXPECT_EQ(ini.ReadInteger("S", "BackgroundPictureSize", 0), 4);
}

TEST_F(GradientFillSettings, RoundTripKeepsEveryStoredSetting)
{
    TGradientFill saved;
    setEverything(saved);
    saved.SaveToFile(iniPath(), QStringLiteral("Fill"));
    TGradientFill loaded;
    Counter changes(loaded);
    loaded.LoadFromFile(iniPath(), QStringLiteral("Fill"));
    EXPECT_EQ(changes.count, 1);
    // Everything but the settings the file does not hold.
    loaded.SetShadowType(saved.ShadowType());
    EXPECT_EQ(loaded.SaveToText(), saved.SaveToText());
    EXPECT_EQ(loaded.PictureSize(), psCustom);
    EXPECT_EQ(loaded.Picture()->Width(), 3);
    EXPECT_EQ(loaded.BackGroundPicture()->Bytes(), QByteArray("\x00\xFF\x10", 3));
}

TEST_F(GradientFillSettings, SavingKeepsTheFilesOtherContent)
{
    writeIni("; settings\n[Other]\nA=1\n\n[Fill]\nColor=5\nExtra=x\n");
    TGradientFill fill;
    fill.SaveToFile(iniPath(), QStringLiteral("Fill"));
    const zc::IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadInteger("Other", "A", 0), 1);
    EXPECT_EQ(ini.ReadString("Fill", "Extra", ""), "x");
    EXPECT_EQ(ini.ReadInteger("Fill", "Color", 0), 12632256);
    QFile file(iniPath());
    file.open(QIODevice::ReadOnly);
    EXPECT_TRUE(file.readAll().startsWith("; settings\n[Other]\nA=1\n"));
}

TEST_F(GradientFillSettings, MissingKeysAndEmptyPicturesLeaveSettingsAlone)
{
    writeIni("[Fill]\nColor=255\nPicture=\nForegroundPictureSize=0\nBackgroundPicture=00\n");
    TGradientFill fill;
    fill.SetRounding(7);
    fill.Picture()->LoadFromBytes(tinyPng());
    fill.BackGroundPicture()->LoadFromBytes("keep");
    fill.LoadFromFile(iniPath(), QStringLiteral("Fill"));
    EXPECT_EQ(fill.Color(), 255);
    EXPECT_EQ(fill.Rounding(), 7);
    EXPECT_EQ(fill.Picture()->Bytes(), tinyPng());
    EXPECT_EQ(fill.BackGroundPicture()->Bytes(), QByteArray("keep"));
    // A missing file or section is the same as one without keys.
    fill.LoadFromFile(dir.filePath(QStringLiteral("none.ini")), QStringLiteral("Fill"));
    fill.LoadFromFile(iniPath(), QStringLiteral("Nothing"));
    EXPECT_EQ(fill.Color(), 255);
}

TEST_F(GradientFillSettings, LengthKeyLimitsThePictureText)
{
    writeIni("[Fill]\nPicture=41424344\nForegroundPictureSize=5\n");
    TGradientFill fill;
    fill.LoadFromFile(iniPath(), QStringLiteral("Fill"));
    EXPECT_EQ(fill.Picture()->Bytes(), QByteArray("AB")); // "41424" read, the odd "4" ignored
}

TEST_F(GradientFillSettings, BadHexDigitStopsTheLoadKeepingWhatWasRead)
{
    writeIni("[Fill]\nColor=255\nRounding=4\nPicture=4142\nForegroundPictureSize=4\n"
             "BackgroundPicture=41G2\nBackgroundPictureSize=4\n");
    TGradientFill fill;
    fill.BackGroundPicture()->LoadFromBytes("old");
    Counter changes(fill);
    try {
        fill.LoadFromFile(iniPath(), QStringLiteral("Fill"));
        FAIL() << "no error";
    } catch (const EFillConvertError &e) {
        EXPECT_STREQ(e.what(), "No Hex-Number");
    }
    EXPECT_EQ(fill.Color(), 255);
    EXPECT_EQ(fill.Rounding(), 4);
    EXPECT_EQ(fill.Picture()->Bytes(), QByteArray("AB"));
    EXPECT_EQ(fill.BackGroundPicture()->Bytes(), QByteArray("old"));
    EXPECT_EQ(changes.count, 1); // the owner still hears about what did change
}

TEST_F(GradientFillSettings, LowerCaseHexIsAccepted)
{
    writeIni("[Fill]\nPicture=6a6B\nForegroundPictureSize=4\n");
    TGradientFill fill;
    fill.LoadFromFile(iniPath(), QStringLiteral("Fill"));
    EXPECT_EQ(fill.Picture()->Bytes(), QByteArray("jk"));
}

TEST_F(GradientFillSettings, OutOfRangeValuesAreRejected)
{
    struct Case
    {
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"GradientType=11", "Value 11 of \"GradientType\" is out of range (0 to 10)"},
        {"HatchStyle=53", "Value 53 of \"HatchStyle\" is out of range (0 to 52)"},
        {"RoundingType=-1", "Value -1 of \"RoundingType\" is out of range (0 to 5)"},
        {"Glow=4", "Value 4 of \"Glow\" is out of range (0 to 3)"},
        {"Opacity=256", "Value 256 of \"Opacity\" is out of range (0 to 255)"},
        {"PictureSize=2", "Value 2 of \"PictureSize\" is out of range (0 to 1)"},
        // A typing error is not taken for the old value.
        {"Angle=abc", "Value \"abc\" of \"Angle\" is not an integer"},
        {"BorderWidth=99999999999", "Value \"99999999999\" of \"BorderWidth\" is not an integer"},
    };
    for (const Case &c : cases) {
        writeIni(QByteArray("[Fill]\nColor=1\n") + c.text + "\nGlowRadialColor=5\n");
        TGradientFill fill;
        try {
            fill.LoadFromFile(iniPath(), QStringLiteral("Fill"));
            ADD_FAILURE() << c.text;
        } catch (const EFillConvertError &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(fill.Color(), 1) << c.text;
        EXPECT_EQ(fill.GlowRadialColor(), 0xFFFFFF) << c.text; // read after the failing key
    }
}

TEST_F(GradientFillSettings, UnwritableFileIsAnError)
{
    TGradientFill fill;
    const QString path = dir.filePath(QStringLiteral("no/such/dir/fill.ini"));
    EXPECT_THROW(fill.SaveToFile(path, QStringLiteral("Fill")), std::runtime_error);
}

TEST(GradientFillClipboard, TextHoldsOnlyChangedAndAlwaysWrittenSettings)
{
    TGradientFill fill;
    EXPECT_EQ(fill.SaveToText(), QByteArray("object TSaver\n"
                                            "  SaveObject.ColorMirror = 536870911\n"
                                            "  SaveObject.ColorMirrorTo = 536870911\n"
                                            "  SaveObject.GradientType = gtVertical\n"
                                            "  SaveObject.GradientMirrorType = gtSolid\n"
                                            "  SaveObject.BorderColor = 536870911\n"
                                            "  SaveObject.Rounding = 0\n"
                                            "  SaveObject.ShadowOffset = 0\n"
                                            "  SaveObject.Glow = gmNone\n"
                                            "end\n"));
    fill.SetColor(255);
    fill.SetHatchStyle(HatchStyleSphere);
    fill.SetPictureAspectRatio(true);
    fill.Picture()->LoadFromBytes(QByteArray("\x01\xFE", 2));
    const QByteArray text = fill.SaveToText();
    EXPECT_TRUE(text.contains("  SaveObject.Color = 255\n"));
    EXPECT_TRUE(text.contains("  SaveObject.HatchStyle = HatchStyleSphere\n"));
    EXPECT_TRUE(text.contains("  SaveObject.Picture.Data = {01FE}\n"));
    EXPECT_TRUE(text.contains("  SaveObject.PictureAspectRatio = True\n"));
    EXPECT_LT(text.indexOf("Color ="), text.indexOf("HatchStyle ="));
    EXPECT_LT(text.indexOf("Picture.Data"), text.indexOf("PictureAspectRatio"));
}

TEST(GradientFillClipboard, RoundTripThroughTheSystemClipboard)
{
    TGradientFill saved;
    setEverything(saved);
    saved.SetShadowType(stSurround);
    saved.SetPictureAspectRatio(true);
    saved.SetBackGroundPictureAspectMode(pmNormal);
    saved.SaveToClipBoard();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->hasFormat(TGradientFill::ClipboardMimeType()));

    // Settings the text leaves out return to their defaults in the target.
    TGradientFill loaded;
    loaded.SetAngle(99);
    saved.SetAngle(0);
    saved.SaveToClipBoard();
    Counter changes(loaded);
    loaded.LoadFromClipBoard();
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(loaded.SaveToText(), saved.SaveToText());
    EXPECT_EQ(loaded.Angle(), 0);
    EXPECT_EQ(loaded.ShadowType(), stSurround);
    EXPECT_EQ(loaded.Picture()->Width(), 3);

    // Other content is ignored. Kept in this case: ctest runs cases as parallel processes on one
    // display, and two cases taking the clipboard from each other would read each other's data.
    QGuiApplication::clipboard()->setText(QStringLiteral("hello"));
    TGradientFill fill;
    fill.SetColor(42);
    Counter untouched(fill);
    fill.LoadFromClipBoard();
    EXPECT_EQ(untouched.count, 0);
    EXPECT_EQ(fill.Color(), 42);
}

TEST(GradientFillClipboard, MalformedTextIsRejected)
{
    TGradientFill fill;
    EXPECT_THROW(fill.LoadFromText("hello"), EFillConvertError);
    EXPECT_THROW(fill.LoadFromText("object TSaver\n  SaveObject.Glow = gmBright\nend\n"),
                 EFillConvertError);
    EXPECT_THROW(fill.LoadFromText("object TSaver\n  SaveObject.Opacity = 300\nend\n"),
                 EFillConvertError);
    EXPECT_THROW(fill.LoadFromText("object TSaver\n  SaveObject.Picture.Data = {0G}\nend\n"),
                 EFillConvertError);
    // Unknown settings from a later version are skipped.
    fill.LoadFromText("object TSaver\n  SaveObject.Sparkle = 3\n  SaveObject.Angle = 4\nend\n");
    EXPECT_EQ(fill.Angle(), 4);
}
