// SPDX-License-Identifier: MIT
// ZColor.ini: reading with defaults, composing the database name, writing one key.
#include "apptestsupport.h"

#include "appconfig.h"

#include <zc/inifile.h>

#include <gtest/gtest.h>

using namespace zc;
using zc::testing::readFile;
using zc::testing::writeFile;

namespace {

class ConfigFile : public ::testing::Test
{
protected:
    AppConfig load(const QByteArray &text)
    {
        writeFile(path, text);
        return AppConfig::load(path);
    }

    QTemporaryDir dir;
    QString path = ConfigFilePath(dir.path());
};

TEST_F(ConfigFile, DatabaseNameJoinsServerFolderAndFile)
{
    AppConfig c = load("[Install]\r\nServer=dbhost:\r\nDirData=/srv/zc\r\nFileGdb=ZColor.fdb\r\n");
    EXPECT_EQ(c.DatabaseName(), "dbhost:/srv/zc/ZColor.fdb");

    c = load("[Install]\nDirData=/srv/zc\nFileGdb=ZColor.fdb\n");
    EXPECT_EQ(c.DatabaseName(), "/srv/zc/ZColor.fdb");

    c = load("[Install]\nDirData=/srv/zc/\nFileGdb=ZColor.fdb\n");
    EXPECT_EQ(c.PathData, "/srv/zc//");
    EXPECT_EQ(c.DatabaseName(), "/srv/zc//ZColor.fdb") << "the doubled separator is kept";
}

TEST_F(ConfigFile, EveryKeyAndItsFolderSeparator)
{
    const AppConfig c = load("; written by the installer\r\n[Other]\r\nDirData=wrong\r\n"
                             "[install]\r\n chekLNG = 3 \r\nDirData=/d\r\nDirPrg=/p\r\n"
                             "DirReport=/r\r\nImmagini=/i\r\n");
    EXPECT_EQ(c.TipoLingua, 3);
    EXPECT_EQ(c.PathData, "/d/");
    EXPECT_EQ(c.PathPrg, "/p/");
    EXPECT_EQ(c.PathDataReport, "/r/");
    EXPECT_EQ(c.PathImg, "/i/");
    EXPECT_EQ(c.Server, "");
    EXPECT_EQ(c.FileGdb, "");
}

TEST_F(ConfigFile, MissingFileOrKeysGiveTheDefaults)
{
    const AppConfig none = AppConfig::load(dir.path() + "/absent.ini");
    EXPECT_EQ(none.TipoLingua, -1);
    EXPECT_EQ(none.PathData, "/");
    EXPECT_EQ(none.DatabaseName(), "/") << "what the connection then fails to open";

    EXPECT_EQ(load("[Install]\nChekLNG=two\n").TipoLingua, -1);
    EXPECT_EQ(load("[Install]\nChekLNG=\n").TipoLingua, -1);
    EXPECT_EQ(load("[Install]\nChekLNG=99999999999\n").TipoLingua, -1);
    EXPECT_EQ(load("[Install]\nChekLNG=65537\n").TipoLingua, 65537);
    EXPECT_EQ(load("[Install]\nChekLNG=-7\n").TipoLingua, -7);
    EXPECT_EQ(load("[Install]\nChekLNG=$10\n").TipoLingua, 16);
    EXPECT_EQ(load("[Setup]\nChekLNG=2\n").TipoLingua, -1) << "only section Install counts";
}

TEST_F(ConfigFile, UnreadableFileGivesTheDefaults)
{
    // A folder where the file should be cannot be read as a file.
    QDir(dir.path()).mkdir("ZColor.ini");
    EXPECT_EQ(AppConfig::load(path).TipoLingua, -1);
}

TEST_F(ConfigFile, WriteChangesOneKeyAndKeepsTheRest)
{
    const QByteArray before = "; comment\r\n[Install]\r\nDirData=/d\r\nChekLNG=-1\r\n"
                              "FileGdb=ZColor.fdb\r\n\r\n[Other]\r\nKey=Value\r\n";
    writeFile(path, before);
    IniFile(path).WriteInteger("Install", "ChekLNG", 4);
    EXPECT_EQ(readFile(path), "; comment\r\n[Install]\r\nDirData=/d\r\nChekLNG=4\r\n"
                              "FileGdb=ZColor.fdb\r\n\r\n[Other]\r\nKey=Value\r\n");
}

TEST_F(ConfigFile, WriteAddsAMissingKeyOrSection)
{
    writeFile(path, "[Install]\nDirData=/d\n\n[Other]\nKey=Value\n");
    IniFile(path).WriteInteger("Install", "ChekLNG", 2);
    EXPECT_EQ(readFile(path), "[Install]\nDirData=/d\nChekLNG=2\n\n[Other]\nKey=Value\n");

    writeFile(path, "[Other]\nKey=Value\n");
    IniFile(path).WriteInteger("Install", "ChekLNG", 0);
    EXPECT_EQ(readFile(path), "[Other]\nKey=Value\n\n[Install]\nChekLNG=0\n");

    const QString fresh = dir.path() + "/fresh.ini";
    IniFile(fresh).WriteInteger("Install", "ChekLNG", 1);
    EXPECT_EQ(AppConfig::load(fresh).TipoLingua, 1);
}

// A file that is not UTF-8, an ANSI file or no text at all, keeps every byte it had.
TEST_F(ConfigFile, WriteKeepsTheBytesOfFilesThatAreNotUtf8)
{
    QByteArray garbage;
    for (int i = 0; i < 512; ++i)
        garbage += char((i * 151 + 7) % 256);
    garbage.replace('\n', 'x');
    writeFile(path, garbage);
    EXPECT_EQ(AppConfig::load(path).TipoLingua, -1);
    IniFile(path).WriteInteger("Install", "ChekLNG", 3);
    EXPECT_EQ(readFile(path), garbage + "\r\n\r\n[Install]\r\nChekLNG=3\r\n");
    EXPECT_EQ(AppConfig::load(path).TipoLingua, 3);

    const QByteArray ansi = "[Install]\r\nDirData=C:\\Programmi\\Zelvoria \xe8\r\nChekLNG=-1\r\n";
    writeFile(path, ansi);
    IniFile(path).WriteInteger("Install", "ChekLNG", 0);
    EXPECT_EQ(readFile(path), QByteArray(ansi).replace("ChekLNG=-1", "ChekLNG=0"));
}

TEST_F(ConfigFile, WriteIntoAnUnwritableFolderFailsAndLosesNothing)
{
    zc::testing::UnwritableFolder folder;
    const QString target = ConfigFilePath(folder.Path());
    IniFile ini(target);
    try {
        ini.WriteInteger("Install", "ChekLNG", 1);
        FAIL() << "no error";
    } catch (const EIniFileError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + target.toStdString());
    }
    EXPECT_EQ(ini.ReadInteger("Install", "ChekLNG", -1), -1) << "a failed write changes nothing";
}

} // namespace
