// SPDX-License-Identifier: MIT
// The remedy store on a Firebird server: the database name the configuration composes from
// Server=, DirData= and FileGdb=, two connections at once, and a server that is not there.
// Run by server-test.sh, which starts the server and writes the run folder's ZColor.ini;
// ZC_SERVER_RUN_DIR names that folder.
#include "appconfig.h"
#include "remedystore.h"

#include <firebird/fberror.h>

#include <gtest/gtest.h>

using namespace zc;

namespace {

AppConfig ServerConfig()
{
    const QString folder = qEnvironmentVariable("ZC_SERVER_RUN_DIR");
    if (folder.isEmpty())
        ADD_FAILURE() << "ZC_SERVER_RUN_DIR is not set (run this through server-test.sh)";
    return AppConfig::load(ConfigFilePath(folder));
}

// Attachments the server has over the network, this one included.
int RemoteAttachments(RemedyStore &store)
{
    auto &query = store.Query();
    query.Close();
    query.SetSQL(QStringLiteral("SELECT COUNT(*) AS N FROM MON$ATTACHMENTS "
                                "WHERE MON$REMOTE_PROTOCOL IS NOT NULL"));
    query.Open();
    return query.FieldAsString(QStringLiteral("N")).toInt();
}

TEST(RemedyStoreOnServer, ConfigurationNamesTheServersDatabase)
{
    const AppConfig config = ServerConfig();
    ASSERT_FALSE(config.Server.isEmpty()) << "ZColor.ini has no Server=";
    EXPECT_TRUE(config.DatabaseName().startsWith(config.Server + u'/'))
        << config.DatabaseName().toStdString();
    EXPECT_TRUE(config.DatabaseName().endsWith(QStringLiteral("/ZColor.fdb")));
}

TEST(RemedyStoreOnServer, TwoStoresAreConnectedAtTheSameTime)
{
    const AppConfig config = ServerConfig();
    RemedyStore first;
    RemedyStore second;
    first.SetDatabaseName(config.DatabaseName());
    second.SetDatabaseName(config.DatabaseName());
    ASSERT_NO_THROW(first.Open());
    try {
        second.Open();
    } catch (const fb::FbError &e) {
        FAIL() << "a second connection was refused: " << e.what();
    }
    ASSERT_TRUE(first.Connected() && second.Connected());
    EXPECT_GE(RemoteAttachments(first), 2);

    // Both answer, in turns and with their own languages.
    first.LoadLanguage(QStringLiteral("ENG"));
    second.LoadLanguage(QStringLiteral("ITA"));
    const auto english = first.LookUp(QStringLiteral("ENG"), QStringLiteral("DIAMOND"));
    const auto italian = second.LookUp(QStringLiteral("ITA"), QStringLiteral("DIAMOND"));
    ASSERT_TRUE(english.has_value());
    ASSERT_TRUE(italian.has_value());
    EXPECT_TRUE(english->startsWith(QStringLiteral("{\\rtf")));
    EXPECT_NE(*english, *italian);
    EXPECT_EQ(first.LookUp(QStringLiteral("ENG"), QStringLiteral("DIAMOND")), english);
    EXPECT_EQ(second.LookUp(QStringLiteral("OLA"), QStringLiteral("NO SUCH GEM")), std::nullopt);
}

TEST(RemedyStoreOnServer, NoServerOnThePortIsAnErrorButNotAHeldDatabase)
{
    AppConfig config = ServerConfig();
    const QString unused = qEnvironmentVariable("ZC_SERVER_UNUSED_PORT");
    ASSERT_FALSE(unused.isEmpty());
    config.Server = QStringLiteral("localhost/") + unused + u':';
    RemedyStore store;
    store.SetDatabaseName(config.DatabaseName());
    try {
        store.Open();
        FAIL() << "connected to " << config.DatabaseName().toStdString();
    } catch (const fb::FbError &e) {
        EXPECT_FALSE(RemedyStore::HeldByAnotherProcess(e)) << e.what();
    }
    EXPECT_FALSE(store.Connected());
}

} // namespace
