// SPDX-License-Identifier: MIT
// JSON data sets: fields in text order, types from values, and every refusal with its path.
#include "rptestutil.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rpjsondataset.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace rp;
using rptest::expectThrowMsg;

TEST(json_dataset, fields_in_text_order_typed_by_their_values)
{
    TRpJsonDataSet ds;
    ds.LoadFromData(R"([
        {"zeta": "Z\u00fcrich", "qty": 3, "price": 2, "big": 1, "paid": true, "note": null},
        {"qty": -4, "price": 2.5, "zeta": "b", "big": 5000000000, "extra\"key": "x"},
        {}
    ])",
                    QStringLiteral("o.json"));
    ASSERT_EQ(ds.FieldCount(), 7);
    const char *names[] = {"zeta", "qty", "price", "big", "paid", "note", "extra\"key"};
    const TRpFieldType types[] = {TRpFieldType::ftString,  TRpFieldType::ftInteger,
                                  TRpFieldType::ftFloat,   TRpFieldType::ftLargeint,
                                  TRpFieldType::ftBoolean, TRpFieldType::ftString,
                                  TRpFieldType::ftString};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ds.Fields(i)->FieldName(), QString::fromUtf8(names[i])) << i;
        EXPECT_EQ(ds.Fields(i)->DataType(), types[i]) << names[i];
    }
    ASSERT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.Fields(0)->AsString(), QString::fromUtf8("Z\u00fcrich"));
    EXPECT_EQ(ds.Fields(2)->AsFloat(), 2.0);
    EXPECT_TRUE(ds.Fields(4)->AsBoolean());
    EXPECT_TRUE(ds.Fields(5)->IsNull());
    EXPECT_TRUE(ds.Fields(6)->IsNull()) << "a key missing from an object is null";
    ds.Next();
    EXPECT_EQ(ds.Fields(1)->AsInteger(), -4);
    EXPECT_EQ(ds.Fields(2)->AsFloat(), 2.5);
    EXPECT_EQ(ds.Fields(3)->AsInteger(), 5000000000LL);
    ds.Next();
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(ds.Fields(i)->IsNull()) << names[i];

    ds.LoadFromData("[]", QStringLiteral("empty.json"));
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_TRUE(ds.IsEmpty());
}

TEST(json_dataset, refusals_name_the_file_and_the_path_and_leave_it_empty)
{
    struct Case
    {
        const char *text;
        const char *message; // after "bad.json: "
    };
    const Case cases[] = {
        {"[{\"a\": 1},", "not valid JSON at byte 10: "},
        {"{\"a\": 1}", "the top level is not an array of objects"},
        {"[{\"a\": 1}, 2]", "$[1] is not an object"},
        {"[{\"a\": {\"b\": 1}}]", "$[0].a: nested objects and arrays are not supported"},
        {"[{\"a\": 1}, {\"a\": [1]}]", "$[1].a: nested objects and arrays are not supported"},
        {"[{\"a\": 1}, {\"a\": \"1\"}]", "$[1].a: a string where earlier records have a number"},
        {"[{\"a\": true}, {\"a\": 0}]", "$[1].a: a number where earlier records have a boolean"},
    };
    for (const Case &c : cases) {
        TRpJsonDataSet ds;
        ds.LoadFromData("[{\"old\": 1}]", QStringLiteral("old.json"));
        try {
            ds.LoadFromData(c.text, QStringLiteral("bad.json"));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EIOError &e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("bad.json: ") +
                                                               QString::fromUtf8(c.message)))
                << c.text << " -> " << e.what();
        }
        EXPECT_EQ(ds.FieldCount(), 0) << c.text;
        EXPECT_EQ(ds.RecordCount(), 0) << c.text;
    }
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("absent.json"));
    expectThrowMsg<EIOError>([&] { TRpJsonDataSet{missing}; },
                             missing + ": cannot open file: No such file or directory");
}
