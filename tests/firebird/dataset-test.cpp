// SPDX-License-Identifier: MIT
// The Firebird query as a report data set: field types, values, cursor and bookmarks.
#include "fbtestdb.h"

#include <firebird/fbdataset.h>
#include <firebird/fberror.h>

#include <reportengine/rpconsts.h>

#include <gtest/gtest.h>

using namespace zc::fb;
using rp::TRpFieldType;
using zc::fb::testing::RemedyDatabase;

namespace {

// Dialect 3, so that BIGINT, DATE and TIME exist as their own types.
class TypedTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store.Execute("CREATE TABLE T (I16 SMALLINT, I32 INTEGER, I64 BIGINT, N92 NUMERIC(9,2), "
                      "MONEY NUMERIC(18,4), D DOUBLE PRECISION, F FLOAT, DT DATE, TM TIME, "
                      "TS TIMESTAMP, B BOOLEAN, C CHAR(5), V VARCHAR(10), "
                      "BIN VARCHAR(4) CHARACTER SET OCTETS, MEMO BLOB SUB_TYPE TEXT, "
                      "RAW BLOB SUB_TYPE BINARY, ID INTEGER)");
        store.Execute("INSERT INTO T VALUES (-7, 70000, 9000000000, 12.34, 1.2345, 0.5, 0.25, "
                      "'2024-02-29', '13:45:06.5', '2024-02-29 13:45:06', TRUE, 'ab', "
                      "'h\u00e9llo', x'00FF', 'memo \u2019', x'DEADBEEF', 1)");
        store.Execute("INSERT INTO T (ID) VALUES (2)");
        store.Execute("INSERT INTO T (ID, V) VALUES (3, 'three')");
        store.Release();
        db.SetSQLDialect(3);
        db.SetDatabaseName(store.Path());
        db.Open();
    }

    RemedyDatabase store{3};
    IB_DbZColor db;
    IBTransaction tr{&db};
    IB_QryGen query{db, tr};
};

TEST_F(TypedTable, EveryColumnTypeMapsToAFieldTypeAndValue)
{
    query.SetSQL("SELECT * FROM T ORDER BY ID");
    TFbDataSet data(query);
    data.Open();
    struct Expect
    {
        const char *name;
        TRpFieldType type;
        QVariant value;
    };
    const Expect expected[] = {
        {"I16", TRpFieldType::ftSmallint, qint64(-7)},
        {"I32", TRpFieldType::ftInteger, qint64(70000)},
        {"I64", TRpFieldType::ftLargeint, qint64(9000000000)},
        {"N92", TRpFieldType::ftFloat, 12.34},
        {"MONEY", TRpFieldType::ftCurrency, 1.2345},
        {"D", TRpFieldType::ftFloat, 0.5},
        {"F", TRpFieldType::ftFloat, 0.25},
        {"DT", TRpFieldType::ftDate, QDate(2024, 2, 29)},
        {"TM", TRpFieldType::ftTime, QTime(13, 45, 6, 500)},
        {"TS", TRpFieldType::ftDateTime, QDateTime(QDate(2024, 2, 29), QTime(13, 45, 6))},
        {"B", TRpFieldType::ftBoolean, true},
        {"C", TRpFieldType::ftFixedChar, QStringLiteral("ab   ")},
        {"V", TRpFieldType::ftWideString, QStringLiteral("h\u00e9llo")},
        {"BIN", TRpFieldType::ftBlob, QByteArray("\x00\xff", 2)},
        {"MEMO", TRpFieldType::ftWideMemo, QStringLiteral("memo \u2019").toUtf8()},
        {"RAW", TRpFieldType::ftBlob, QByteArray("\xde\xad\xbe\xef")},
    };
    ASSERT_EQ(data.FieldCount(), 17);
    for (const Expect &e : expected) {
        SCOPED_TRACE(e.name);
        rp::TRpField *field = data.FieldByName(e.name);
        EXPECT_EQ(field->DataType(), e.type);
        if (e.value.typeId() == QMetaType::Double)
            EXPECT_NEAR(field->Value().toDouble(), e.value.toDouble(), 1e-6);
        else
            EXPECT_EQ(field->Value(), e.value);
    }
    EXPECT_EQ(data.FieldByName("C")->Size(), 5);
    EXPECT_EQ(data.FieldByName("V")->Size(), 10);

    data.Next();
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(data.Fields(i)->IsNull()) << i;
}

TEST_F(TypedTable, CursorMovesBothWaysAndReturnsToBookmarks)
{
    query.SetSQL("SELECT ID FROM T ORDER BY ID");
    TFbDataSet data(query);
    data.Open();
    auto id = [&] { return data.Fields(0)->Value().toInt(); };
    EXPECT_TRUE(data.Bof());
    EXPECT_FALSE(data.Eof());
    data.Next();
    const rp::TRpBookmark second = data.GetBookmark();
    data.Next();
    EXPECT_EQ(id(), 3);
    data.Next();
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(id(), 3) << "Next on the last record keeps it current";
    data.Prior();
    data.Prior();
    data.Prior();
    EXPECT_TRUE(data.Bof());
    EXPECT_EQ(id(), 1);
    data.GotoBookmark(second);
    EXPECT_EQ(id(), 2);
    data.Last();
    EXPECT_EQ(id(), 3);
    EXPECT_EQ(data.RecordCount(), 3);
    try {
        data.GotoBookmark(QByteArray("junk"));
        FAIL() << "no error";
    } catch (const rp::EIOError &e) {
        EXPECT_STREQ(e.what(), rp::SRpBookmarkInvalid);
    }
}

TEST_F(TypedTable, EmptyResultIsBothEofAndBof)
{
    query.SetSQL("SELECT ID FROM T WHERE ID > 10");
    TFbDataSet data(query);
    data.Open();
    EXPECT_TRUE(data.IsEmpty());
    data.Last();
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_TRUE(data.Fields(0)->IsNull());
}

TEST(FbDataSetConnect, OwnsItsConnectionAndReportsFailures)
{
    RemedyDatabase store;
    store.Insert("ENG", "DIAMOND", "{\\rtf1 d}");
    store.Release();
    {
        auto data = TFbDataSet::Connect(store.Path(), "SELECT PIETRA, NOTE FROM RIMEDI");
        ASSERT_FALSE(data->IsEmpty());
        EXPECT_EQ(data->FieldByName("pietra")->Value().toString(), "DIAMOND");
        EXPECT_EQ(data->FieldByName("NOTE")->DataType(), TRpFieldType::ftWideMemo);
        EXPECT_EQ(data->FieldByName("NOTE")->Value().toByteArray(), "{\\rtf1 d}");
    }
    EXPECT_THROW(TFbDataSet::Connect(store.Dir().path() + "/none.fdb", "SELECT * FROM RIMEDI"),
                 FbError);
    EXPECT_THROW(TFbDataSet::Connect(store.Path(), "SELECT * FROM NOSUCHTABLE"), FbError);
}

} // namespace
