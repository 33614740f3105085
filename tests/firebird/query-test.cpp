// SPDX-License-Identifier: MIT
// Connection, transaction and query against embedded databases made by the test.
#include "fbtestdb.h"

#include <firebird/fberror.h>
#include <firebird/ibdatabase.h>
#include <firebird/ibquery.h>

#include <QFile>

#include <gtest/gtest.h>

using namespace zc::fb;
using zc::fb::testing::RemedyDatabase;

namespace {

const QString kCatsEyes = QStringLiteral("CAT\u2019S EYES");

std::string openError(const QString &databaseName)
{
    IB_DbZColor db;
    db.SetDatabaseName(databaseName);
    try {
        db.Open();
    } catch (const FbError &e) {
        EXPECT_FALSE(db.Connected());
        return e.what();
    }
    return "(opened)";
}

class RemedyQuery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store.Insert("ENG", kCatsEyes, "{\\rtf1 first}");
        store.Insert("FRA", "PEARL", QVariant()) /* NULL note */;
        store.Insert("ENG", kCatsEyes, "{\\rtf1 second}");
        store.Insert("ENG", "DIAMOND", "");
        store.Insert("ITA", kCatsEyes, "{\\rtf1 Occhio di gatto \\'e8}");
        store.Insert("ENG", "CAT'S EYES", "ascii apostrophe");
        store.Release();
        db.SetDatabaseName(store.Path());
        db.SetDefaultTransaction(&tr);
        db.Open();
    }

    void run(const QString &sql)
    {
        query.Close();
        query.SetSQL(sql);
        query.Open();
    }

    RemedyDatabase store;
    IB_DbZColor db;
    IBTransaction tr{&db};
    IB_QryGen query{db, tr};
};

TEST_F(RemedyQuery, FirstRowOfTwoGivesItsNote)
{
    run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'ENG' AND PIETRA = '") + kCatsEyes +
        "'");
    ASSERT_TRUE(query.HasRows());
    EXPECT_EQ(query.FieldAsString("NOTE"), "{\\rtf1 first}");
    EXPECT_EQ(query.FieldAsString("pietra"), kCatsEyes);
    query.Next();
    EXPECT_EQ(query.FieldAsString("NOTE"), "{\\rtf1 second}");
    query.Next();
    EXPECT_TRUE(query.Eof());
}

TEST_F(RemedyQuery, CurlyAndStraightApostropheAreDifferentKeys)
{
    run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'ENG' AND PIETRA = 'CAT''S EYES'"));
    ASSERT_TRUE(query.HasRows());
    EXPECT_EQ(query.FieldAsString("NOTE"), "ascii apostrophe");
    query.Next();
    EXPECT_TRUE(query.Eof());
}

TEST_F(RemedyQuery, NoRowAndEmptyNote)
{
    run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'FRA' AND PIETRA = 'DIAMOND'"));
    EXPECT_FALSE(query.HasRows());
    EXPECT_TRUE(query.Eof());
    EXPECT_TRUE(query.Bof());

    run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'ENG' AND PIETRA = 'DIAMOND'"));
    ASSERT_TRUE(query.HasRows());
    EXPECT_EQ(query.FieldAsString("NOTE"), "");
    EXPECT_TRUE(query.Value(query.FieldIndex("NOTE")).isValid()) << "empty is not NULL";
}

TEST_F(RemedyQuery, LanguageLoadOpensWithoutReadingAndTheQueryIsReused)
{
    for (const char *code : {"ITA", "ENG", "OLA", "ENG"}) {
        run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = '") + code + "'");
        EXPECT_TRUE(query.Active());
    }
    EXPECT_EQ(query.FetchedRows(), 1) << "only the first row is fetched by Open";
    query.Last();
    EXPECT_EQ(query.FetchedRows(), 4);
}

TEST_F(RemedyQuery, ColumnsAreDescribedWithTheirNames)
{
    run(QStringLiteral("SELECT * FROM RIMEDI"));
    ASSERT_EQ(query.FieldCount(), 3);
    EXPECT_EQ(query.Column(0).Name, "LINGUA");
    EXPECT_EQ(query.Column(2).Name, "NOTE");
    EXPECT_EQ(query.Column(2).SqlType, SQL_BLOB);
    EXPECT_EQ(query.Column(1).CharsetId, 4) << "the database's default character set is UTF8";
    EXPECT_EQ(query.FieldIndex("nope"), -1);
    try {
        query.FieldAsString("NOPE");
        FAIL() << "no error";
    } catch (const FbError &e) {
        EXPECT_STREQ(e.what(), "Field \"NOPE\" not found");
    }
}

TEST_F(RemedyQuery, BadStatementCarriesFirebirdsMessage)
{
    query.SetSQL("SELEC * FROM RIMEDI");
    try {
        query.Open();
        FAIL() << "no error";
    } catch (const FbError &e) {
        EXPECT_STREQ(e.what(), "Dynamic SQL Error\nSQL error code = -104\n"
                               "Token unknown - line 1, column 1\nSELEC");
        EXPECT_EQ(e.SqlCode(), -104);
    }
    EXPECT_FALSE(query.Active());
    run(QStringLiteral("SELECT * FROM RIMEDI"));
    EXPECT_TRUE(query.HasRows()) << "the query is usable after a failure";
}

TEST_F(RemedyQuery, CommitRetainingKeepsTheTransaction)
{
    run(QStringLiteral("SELECT * FROM RIMEDI"));
    tr.CommitRetaining();
    EXPECT_TRUE(tr.InTransaction());
    run(QStringLiteral("SELECT * FROM RIMEDI WHERE LINGUA = 'ITA'"));
    EXPECT_EQ(query.FieldAsString("NOTE"), "{\\rtf1 Occhio di gatto \\'e8}");
    db.Close();
    EXPECT_FALSE(tr.InTransaction()) << "closing the connection commits its default transaction";
}

TEST(Query, LongTextBlobSpanningSegmentsIsReadWhole)
{
    RemedyDatabase store;
    QString note;
    for (int i = 0; note.size() < 30000; ++i)
        note += QStringLiteral("line %1 \u00e8\u2019\u20ac ").arg(i);
    store.Insert("ENG", "PEARL", note);
    store.Release();

    IB_DbZColor db;
    IBTransaction tr(&db);
    db.SetDatabaseName(store.Path());
    db.SetDefaultTransaction(&tr);
    db.Open();
    IB_QryGen query(db, tr);
    query.SetSQL("SELECT NOTE FROM RIMEDI");
    query.Open();
    EXPECT_EQ(query.FieldAsString("NOTE"), note);
}

TEST(Connection, FailuresCarryFirebirdsMessage)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + "/missing.fdb";
    EXPECT_EQ(openError(missing),
              "I/O error during \"open\" operation for file \"" + missing.toStdString() +
                  "\"\nError while trying to open file\nNo such file or directory");

    const QString corrupt = dir.path() + "/corrupt.fdb";
    {
        QFile f(corrupt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, 'x'));
    }
    EXPECT_EQ(openError(corrupt), "I/O error during \"read\" operation for file \"" +
                                      corrupt.toStdString() +
                                      "\"\nFile size is less than expected");

    // What an empty ZColor.ini composes: "/" alone.
    EXPECT_NE(openError("/").find("Is a directory"), std::string::npos);

    EXPECT_EQ(openError("localhost:" + missing)
                  .rfind("Unable to complete network request to host "
                         "\"localhost\".\n",
                         0),
              0u);
}

TEST(Connection, QueryWithoutConnectionFails)
{
    IB_DbZColor db;
    IBTransaction tr(&db);
    IB_QryGen query(db, tr);
    query.SetSQL("SELECT * FROM RIMEDI WHERE LINGUA = 'ENG'");
    try {
        query.Open();
        FAIL() << "no error";
    } catch (const FbError &e) {
        EXPECT_STREQ(e.what(), "Database not open");
    }
    query.Close();
    EXPECT_FALSE(query.Active());
}

TEST(Connection, CreateRefusesAnExistingFileAndUnknownParameters)
{
    RemedyDatabase store;
    store.Release();
    try {
        IB_DbZColor::CreateDatabase(store.Path());
        FAIL() << "no error";
    } catch (const FbError &e) {
        EXPECT_NE(std::string(e.what()).find("File exists"), std::string::npos) << e.what();
    }
    IB_DbZColor db;
    db.SetDatabaseName(store.Path());
    db.SetParams({"user_name=sysdba", "pasword=typo"});
    EXPECT_THROW(db.Open(), FbError);

    IBTransaction tr(&db);
    db.SetParams({"user_name=sysdba", "password=quillmoss"});
    db.Open();
    tr.SetParams({"write", "snapshot"});
    try {
        tr.StartTransaction();
        FAIL() << "no error";
    } catch (const FbError &e) {
        EXPECT_STREQ(e.what(), "Unknown transaction parameter: snapshot");
    }
}

TEST(Connection, DatabaseIsDialectOneWithUtf8Default)
{
    RemedyDatabase store;
    store.Release();
    IB_DbZColor db;
    IBTransaction tr(&db);
    db.SetDatabaseName(store.Path());
    db.Open();
    IB_QryGen query(db, tr);
    query.SetSQL("SELECT MON$SQL_DIALECT, RDB$CHARACTER_SET_NAME FROM MON$DATABASE, "
                 "RDB$DATABASE");
    query.Open();
    EXPECT_EQ(query.Value(0).toLongLong(), 1);
    EXPECT_EQ(query.Value(1).toString().trimmed(), "UTF8");
}

} // namespace
