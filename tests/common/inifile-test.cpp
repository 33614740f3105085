// SPDX-License-Identifier: MIT
// The INI file: profile-style reads, both save modes on one file, failed saves reported.
#include <zc/inifile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename F> void expectWriteError(F &&write, const QString &path)
{
    try {
        write();
        ADD_FAILURE() << "no error";
    } catch (const zc::EIniFileError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.toStdString());
    }
}

} // namespace

TEST(IniFile, ReadsLikeTheProfileFunctions)
{
    zc::IniFile ini;
    ini.FromText(QStringLiteral(
        "[Sec]\r\nnum = 12 \r\nhex=0x1F\r\nbad=abc\r\nnum=99\r\nq=\" a \"\r\n[sec2]\n"));
    EXPECT_EQ(ini.ReadString("Sec", "q", ""), " a ");
    EXPECT_EQ(ini.ReadInteger("SEC", "NUM", 0), 12);
    EXPECT_EQ(ini.ReadInteger("Sec", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Sec", "bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Sec", "missing", -3), -3);
    EXPECT_TRUE(ini.SectionExists("Sec2"));
    ini.WriteInteger("New", "k", -5);
    EXPECT_EQ(ini.ReadInteger("new", "K", 0), -5);
    EXPECT_TRUE(ini.ToText().endsWith(QStringLiteral("[New]\nk=-5\n")));
}

// Colours are 32-bit patterns: in hexadecimal a negative one may be written by its bits.
TEST(IniFile, HexadecimalMayGiveTheBitsOfANegativeNumber)
{
    struct Case
    {
        const char *text;
        int expected;
    };
    const Case cases[] = {
        {"0xFFFFFFFF", -1},  {"$80000000", INT_MIN},
        {"-$10", -16},       {"0x7fffffff", INT_MAX},
        {"0x100000000", 99}, {"-0xFFFFFFFF", 99},
        {"2147483648", 99},  {"-2147483648", INT_MIN},
        {"0x-1", 99},        {"$", 99},
    };
    for (const Case &c : cases) {
        zc::IniFile ini;
        ini.FromText(QStringLiteral("[S]\nk=%1\n").arg(QLatin1String(c.text)));
        EXPECT_EQ(ini.ReadInteger("S", "k", 99), c.expected) << c.text;
    }
}

TEST(IniFile, NewKeysFollowTheSectionsLastKey)
{
    zc::IniFile ini;
    ini.FromText(QStringLiteral("[A]\nx=1\n; about B\n[B]\n; nothing yet\n"));
    ini.WriteString("A", "y", "2");
    ini.WriteString("B", "z", "3");
    EXPECT_EQ(ini.ToText(), "[A]\nx=1\ny=2\n; about B\n[B]\nz=3\n; nothing yet\n");
}

TEST(IniFile, MixedLineBreaksAreWrittenAsBareLineFeeds)
{
    zc::IniFile ini;
    ini.FromText(QStringLiteral("[A]\r\nx=1\ny=2\r\n"));
    EXPECT_EQ(ini.ToText(), "[A]\nx=1\ny=2\n");
    ini.FromText(QStringLiteral("[A]"));
    EXPECT_EQ(ini.ToText(), "[A]\r\n") << "a file without line breaks gets Windows ones";
}

class IniFileOnDisk : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));
};

TEST_F(IniFileOnDisk, BothSaveModesOnOneFile)
{
    // An ANSI file (\xe8 is not UTF-8) with a comment that no write may lose.
    const QByteArray original = "; kept\r\n[Install]\r\nDirData=C:\\Zelvoria \xe8\r\n";
    writeFile(path, original);

    zc::IniFile buffered(path, zc::IniFile::SaveOnUpdate);
    buffered.WriteInteger("Install", "ChekLNG", 2);
    buffered.WriteString("Fill", "Color", "255");
    EXPECT_EQ(readFile(path), original) << "nothing saved before UpdateFile()";
    EXPECT_EQ(buffered.ReadInteger("install", "cheklng", 0), 2);

    zc::IniFile immediate(path);
    immediate.WriteInteger("Install", "ChekLNG", 1);
    EXPECT_EQ(readFile(path), original + "ChekLNG=1\r\n");

    // The buffered copy does not see the other object's write and saves over it.
    buffered.UpdateFile();
    const QByteArray expected = "; kept\r\n[Install]\r\nDirData=C:\\Zelvoria "
                                "\xe8\r\nChekLNG=2\r\n\r\n[Fill]\r\nColor=255\r\n";
    EXPECT_EQ(readFile(path), expected);

    const zc::IniFile reread(path);
    EXPECT_EQ(reread.ReadString("Install", "DirData", ""),
              QString::fromLatin1("C:\\Zelvoria \xe8"));
    EXPECT_EQ(reread.ReadInteger("Fill", "Color", 0), 255);

    // In the immediate mode a whole new text is saved at once too.
    immediate.FromText(QStringLiteral("[Only]\nk=v\n"));
    EXPECT_EQ(readFile(path), "[Only]\nk=v\n");
}

TEST_F(IniFileOnDisk, FailedSavesThrowAndChangeNothing)
{
    const QString unreachable = dir.filePath(QStringLiteral("missing/settings.ini"));
    zc::IniFile immediate(unreachable);
    expectWriteError([&] { immediate.WriteInteger("S", "k", 1); }, unreachable);
    expectWriteError([&] { immediate.FromText(QStringLiteral("[S]\nk=2\n")); }, unreachable);
    EXPECT_EQ(immediate.ToText(), QString()) << "a failed save leaves the object as it was";

    zc::IniFile buffered(unreachable, zc::IniFile::SaveOnUpdate);
    buffered.WriteInteger("S", "k", 1);
    expectWriteError([&] { buffered.UpdateFile(); }, unreachable);
    EXPECT_FALSE(QFileInfo::exists(unreachable));

    // A folder where the file should be: the rename cannot replace it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.ini")));
    zc::IniFile blocked(path, zc::IniFile::SaveOnUpdate);
    blocked.WriteInteger("S", "k", 1);
    expectWriteError([&] { blocked.UpdateFile(); }, path);
    EXPECT_TRUE(QFileInfo(path).isDir());

    expectWriteError([] { zc::IniFile().UpdateFile(); }, QString());
}
