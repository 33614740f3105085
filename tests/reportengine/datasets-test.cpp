// SPDX-License-Identifier: MIT
// Data sets: cursor model, bookmarks, controls counter, typed field values, and the CSV
// reader's typing, its error messages and its robustness against arbitrary bytes.
#include "rptestutil.h"
#include <reportengine/rpcsvdataset.h>
#include <reportengine/rpformat.h>
#include <reportengine/rpmemorydataset.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace rp;
using rptest::expectThrowMsg;

namespace {

QString DataFile(const char *name)
{
    return QDir(QStringLiteral(ZC_TEST_DATA_DIR)).filePath(QString::fromLatin1(name));
}

// Writes `bytes` as a CSV file in `dir` and returns its path.
QString WriteCsv(const QTemporaryDir &dir, const QByteArray &bytes, const char *name = "t.csv")
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST(memory_dataset, cursor_flags)
{
    TRpMemoryDataSet ds;
    ds.DefineField("N", TRpFieldType::ftInteger);
    ds.First();
    EXPECT_TRUE(ds.Eof() && ds.Bof() && ds.IsEmpty());
    ds.Next();
    ds.Prior();
    EXPECT_TRUE(ds.Fields(0)->IsNull()) << "an empty set reads null";

    for (int i = 1; i <= 3; ++i)
        ds.AppendRecord({QVariant(qint64(i))});
    ds.First();
    EXPECT_TRUE(ds.Bof());
    EXPECT_FALSE(ds.Eof());
    ds.Next();
    ds.Next();
    EXPECT_FALSE(ds.Eof()) << "standing on the last record is not the end";
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 3) << "the last record stays current at the end";
    ds.Prior();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 2);
    ds.Prior();
    ds.Prior();
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 1);
    ds.Last();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 3);
    EXPECT_EQ(ds.RecordCount(), 3);
}

TEST(memory_dataset, bookmarks_fields_and_controls)
{
    TRpMemoryDataSet ds;
    ds.DefineField("Name", TRpFieldType::ftString);
    ds.AppendRecord({"a"});
    ds.AppendRecord({"b", "dropped extra value"});
    ds.Next();
    const TRpBookmark second = ds.GetBookmark();
    ds.First();
    ds.GotoBookmark(second);
    EXPECT_EQ(ds.FieldByName("NAME")->AsString(), "b");
    EXPECT_FALSE(ds.Eof() || ds.Bof());
    expectThrowMsg<EIOError>([&] { ds.GotoBookmark(QByteArray("\x09\0\0\0", 4)); },
                             "Invalid bookmark");
    expectThrowMsg<EIOError>([&] { ds.GotoBookmark(QByteArray()); }, "Invalid bookmark");

    EXPECT_EQ(ds.FindField("missing"), nullptr);
    expectThrowMsg<EIOError>([&] { ds.FieldByName("missing"); }, "Field not found: missing");
    expectThrowMsg<EIOError>([&] { ds.Fields(1); }, "Field index out of range: 1");
    expectThrowMsg<EIOError>([&] { ds.SetValue(5, 0, 1); }, "Record index out of range: 5");
    expectThrowMsg<EIOError>([&] { ds.SetValue(0, 3, 1); }, "Field index out of range: 3");

    EXPECT_FALSE(ds.ControlsDisabled());
    ds.DisableControls();
    ds.DisableControls();
    ds.EnableControls();
    EXPECT_TRUE(ds.ControlsDisabled()) << "each disabling needs its own enabling";
    ds.EnableControls();
    ds.EnableControls();
    EXPECT_FALSE(ds.ControlsDisabled());
    ds.DisableControls();
    EXPECT_TRUE(ds.ControlsDisabled()) << "extra enabling does not go below zero";
}

TEST(fields, value_conversions)
{
    const TFormatSettings fs = DefaultFormatSettings();
    TRpMemoryDataSet ds;
    ds.DefineField("I", TRpFieldType::ftInteger);
    ds.DefineField("F", TRpFieldType::ftFloat);
    ds.DefineField("B", TRpFieldType::ftBoolean);
    ds.DefineField("D", TRpFieldType::ftDate);
    ds.DefineField("T", TRpFieldType::ftTime);
    ds.DefineField("S", TRpFieldType::ftString);
    ds.DefineField("M", TRpFieldType::ftMemo);
    ds.DefineField("BL", TRpFieldType::ftBlob);
    ds.DefineField("DT", TRpFieldType::ftDateTime);
    ds.AppendRecord({QVariant(qint64(7)), QVariant(2.5), QVariant(true),
                     QVariant(QDate(2023, 10, 19)), QVariant(QTime(6, 0)), QVariant(" 12 "),
                     QVariant(QByteArray("caf\xC3\xA9")), QVariant(QByteArray("\x80\xFF", 2)),
                     QVariant(QDateTime(QDate(2023, 10, 19), QTime(12, 0)))});
    TRpField *i = ds.Fields(0), *f = ds.Fields(1), *b = ds.Fields(2), *d = ds.Fields(3);
    TRpField *t = ds.Fields(4), *s = ds.Fields(5), *m = ds.Fields(6), *bl = ds.Fields(7);
    TRpField *dt = ds.Fields(8);

    EXPECT_EQ(i->AsString(), "7");
    EXPECT_DOUBLE_EQ(i->AsFloat(), 7);
    EXPECT_TRUE(i->AsBoolean());
    EXPECT_EQ(f->AsString(), FloatToStr(2.5, fs));
    EXPECT_EQ(f->AsInteger(), 3) << "rounded, halves away from zero";
    EXPECT_EQ(b->AsString(), "True");
    EXPECT_EQ(b->AsInteger(), 1);
    EXPECT_EQ(d->AsString(), DateToStr(EncodeDate(2023, 10, 19), fs));
    EXPECT_DOUBLE_EQ(d->AsDateTime(), EncodeDate(2023, 10, 19));
    EXPECT_DOUBLE_EQ(t->AsDateTime(), 0.25);
    EXPECT_DOUBLE_EQ(dt->AsDateTime(), EncodeDate(2023, 10, 19) + 0.5);
    EXPECT_EQ(s->AsInteger(), 12);
    EXPECT_DOUBLE_EQ(s->AsFloat(), 12);
    EXPECT_EQ(m->AsString(), QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(m->AsBytes(), QByteArray("caf\xC3\xA9"));
    EXPECT_EQ(bl->AsString(), QString::fromUtf8("\u20ac\u00ff")) << "blob bytes as the code page";
    EXPECT_EQ(bl->AsBytes(), QByteArray("\x80\xFF", 2));
    EXPECT_EQ(s->AsBytes(), QByteArray(" 12 "));
    EXPECT_THROW(m->AsInteger(), EConvertError);
    expectThrowMsg<EConvertError>([&] { m->AsBoolean(); },
                                  QString::fromUtf8("'caf\u00e9' is not a valid boolean value"));

    ds.SetValue(0, 0, QVariant());
    EXPECT_TRUE(i->IsNull());
    EXPECT_EQ(i->AsString(), "");
    EXPECT_EQ(i->AsInteger(), 0);
    EXPECT_FALSE(i->AsBoolean());
    EXPECT_EQ(i->AsDateTime(), 0);
    EXPECT_TRUE(i->AsBytes().isEmpty());

    EXPECT_EQ(FieldTypeName(TRpFieldType::ftGraphic), "graphic");
    EXPECT_TRUE(IsTextFieldType(TRpFieldType::ftWideMemo));
    EXPECT_TRUE(IsIntegerFieldType(TRpFieldType::ftAutoInc));
    EXPECT_FALSE(IsIntegerFieldType(TRpFieldType::ftCurrency));
    EXPECT_TRUE(IsBytesFieldType(TRpFieldType::ftGraphic));
}

TEST(csv_dataset, typed_header_cells_and_values)
{
    TRpCsvDataSet ds(DataFile("typed.csv"));
    ASSERT_EQ(ds.FieldCount(), 10);
    ASSERT_EQ(ds.RecordCount(), 3);
    const TRpFieldType types[] = {TRpFieldType::ftLargeint, TRpFieldType::ftString,
                                  TRpFieldType::ftMemo,     TRpFieldType::ftFloat,
                                  TRpFieldType::ftCurrency, TRpFieldType::ftBoolean,
                                  TRpFieldType::ftDate,     TRpFieldType::ftTime,
                                  TRpFieldType::ftDateTime, TRpFieldType::ftBlob};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(ds.Fields(c)->DataType(), types[c]) << c;
    EXPECT_EQ(ds.Fields(1)->FieldName(), "NAME");
    EXPECT_EQ(ds.Fields(9)->FieldName(), "PHOTO");

    ds.First();
    EXPECT_EQ(ds.FieldByName("id")->Value(), QVariant(qlonglong(1)));
    EXPECT_EQ(ds.FieldByName("name")->AsString(), "Anna");
    EXPECT_EQ(ds.FieldByName("note")->AsString(), "line one\r\nsaid \"hi\", then left");
    EXPECT_DOUBLE_EQ(ds.FieldByName("price")->AsFloat(), 2.5);
    EXPECT_DOUBLE_EQ(ds.FieldByName("cost")->AsCurrency(), 19.99);
    EXPECT_TRUE(ds.FieldByName("paid")->AsBoolean());
    EXPECT_EQ(ds.FieldByName("born")->Value(), QVariant(QDate(1990, 2, 28)));
    EXPECT_EQ(ds.FieldByName("at")->Value(), QVariant(QTime(8, 30)));
    EXPECT_EQ(ds.FieldByName("seen")->Value(),
              QVariant(QDateTime(QDate(2023, 10, 19), QTime(13, 23, 56))));
    QFile photo(DataFile("photo.bin"));
    ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
    EXPECT_EQ(ds.FieldByName("photo")->AsBytes(), photo.readAll());

    ds.Next();
    EXPECT_TRUE(ds.FieldByName("name")->IsNull()) << "an empty cell is null";
    EXPECT_TRUE(ds.FieldByName("note")->IsNull());
    EXPECT_DOUBLE_EQ(ds.FieldByName("price")->AsFloat(), -1000);
    EXPECT_DOUBLE_EQ(ds.FieldByName("cost")->AsFloat(), 7) << "typed cells may carry blanks";
    EXPECT_FALSE(ds.FieldByName("paid")->AsBoolean());
    EXPECT_FALSE(ds.FieldByName("paid")->IsNull());
    EXPECT_TRUE(ds.FieldByName("born")->IsNull());
    EXPECT_EQ(ds.FieldByName("seen")->Value(),
              QVariant(QDateTime(QDate(2023, 10, 19), QTime(0, 0, 1))));
    EXPECT_TRUE(ds.FieldByName("photo")->IsNull());

    ds.Next();
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), -3);
    EXPECT_EQ(ds.FieldByName("name")->AsString(), QString::fromUtf8("Zo\u00eb"));
    EXPECT_DOUBLE_EQ(ds.FieldByName("price")->AsFloat(), 0.5);
    EXPECT_FALSE(ds.FieldByName("paid")->AsBoolean());
    EXPECT_EQ(ds.FieldByName("at")->Value(), QVariant(QTime(23, 59, 59)));
    ds.Next();
    EXPECT_TRUE(ds.Eof());
}

TEST(csv_dataset, untyped_columns_short_rows_and_blank_lines)
{
    TRpCsvDataSet ds(DataFile("untyped.csv"));
    ASSERT_EQ(ds.FieldCount(), 2);
    EXPECT_EQ(ds.Fields(0)->DataType(), TRpFieldType::ftString);
    ASSERT_EQ(ds.RecordCount(), 2) << "a blank line is no record";
    ds.Last();
    EXPECT_EQ(ds.Fields(0)->AsString(), "3");
    EXPECT_TRUE(ds.Fields(1)->IsNull()) << "missing trailing cells are null";

    TRpCsvDataSet bom;
    bom.LoadFromData("\xEF\xBB\xBFK:Integer\n 5 \n", "mem.csv", ".");
    EXPECT_EQ(bom.Fields(0)->FieldName(), "K");
    EXPECT_EQ(bom.Fields(0)->AsInteger(), 5);
}

TEST(csv_dataset, malformed_files_name_file_row_and_column)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case
    {
        const char *content;
        const char *message; // after "<file>, "
    };
    const Case cases[] = {
        {"A,B\n1,\"open\n2,3\n", "row 2, column 2: unbalanced quote"},
        {"A,B\n1,2,3\n", "row 2, column 3: more cells than the header"},
        {"A:integer\n12x\n", "row 2, column 1: value \"12x\" is not a valid integer"},
        {"A:integer\n99999999999999999999\n",
         "row 2, column 1: value \"99999999999999999999\" is not a valid integer"},
        {"A,B:float\n1,2\n3,1,5\n", "row 3, column 3: more cells than the header"},
        {"A,B:float\nx,1,5\n", "row 2, column 3: more cells than the header"},
        {"A,B:float\nx,\"1,5\"\n", "row 2, column 2: value \"1,5\" is not a valid float"},
        {"A:currency\nnan\n", "row 2, column 1: value \"nan\" is not a valid currency"},
        {"A:boolean\nyes\n", "row 2, column 1: value \"yes\" is not a valid boolean"},
        {"A:date\n2023-02-30\n", "row 2, column 1: value \"2023-02-30\" is not a valid date"},
        {"A:date\n19.10.2023\n", "row 2, column 1: value \"19.10.2023\" is not a valid date"},
        {"A:time\n24:00:00\n", "row 2, column 1: value \"24:00:00\" is not a valid time"},
        {"A:datetime\n2023-10-19\n",
         "row 2, column 1: value \"2023-10-19\" is not a valid datetime"},
        {"A,B:blob\nx,missing.bin\n", "row 2, column 2: blob file not found: missing.bin"},
        {"A,B:blob\nx,.\n", "row 2, column 2: blob is not a regular file: ."},
        {"A,B:nope\n", "row 1, column 2: unknown field type nope"},
        {"A,,C\n", "row 1, column 2: empty field name"},
        {"A,a\n", "row 1, column 2: duplicate field name a"},
        {"", "row 1, column 1: missing header row"},
        {"\r\n\n", "row 1, column 1: missing header row"},
        {"A\nx\"y\n", "row 2, column 1: quote inside an unquoted value"},
        {"A,B\n\"x\"y,1\n", "row 2, column 1: text after a closing quote"},
        {"A\n\xC3\x28\n", "row 2, column 1: text is not valid UTF-8"},
    };
    for (const Case &c : cases) {
        const QString path = WriteCsv(dir, QByteArray(c.content));
        TRpCsvDataSet ds;
        expectThrowMsg<EIOError>([&] { ds.LoadFromFile(path); },
                                 path + ", " + QString::fromUtf8(c.message));
        EXPECT_EQ(ds.FieldCount(), 0) << c.content;
        EXPECT_EQ(ds.RecordCount(), 0) << c.content;
    }
    const QString missing = dir.filePath("absent.csv");
    TRpCsvDataSet ds;
    expectThrowMsg<EIOError>([&] { ds.LoadFromFile(missing); }, missing + ": cannot open file");
}

TEST(csv_dataset, blob_cells_are_relative_to_the_csv_folder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("pics");
    QFile blob(dir.filePath("pics/a.bin"));
    ASSERT_TRUE(blob.open(QIODevice::WriteOnly));
    blob.write(QByteArray("\0\1\2", 3));
    blob.close();
    const QString path = WriteCsv(dir, "P:blob\npics/a.bin\n");
    TRpCsvDataSet ds(path);
    EXPECT_EQ(ds.Fields(0)->AsBytes(), QByteArray("\0\1\2", 3));
}

TEST(csv_dataset, blob_cells_stay_inside_their_folder_and_name_regular_files)
{
    QTemporaryDir outer;
    const QString inner = outer.filePath("data");
    ASSERT_TRUE(QDir().mkpath(inner + "/pics"));
    QFile secret(outer.filePath("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    ASSERT_TRUE(QFile::link(secret.fileName(), inner + "/pics/link.txt"));
    const QString csv = inner + "/t.csv";
    const auto load = [&](const QByteArray &cell, const QString &root = {}) {
        QFile f(csv);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("P:blob\n" + cell + "\n");
        f.close();
        TRpCsvDataSet ds;
        ds.SetBlobRoot(root);
        ds.LoadFromFile(csv);
        return ds.Fields(0)->AsBytes();
    };
    const QString canonical = QFileInfo(inner).canonicalFilePath();
    const QString prefix = csv + ", row 2, column 1: ";
    expectThrowMsg<EIOError>([&] { load("../secret.txt"); },
                             prefix + "blob file outside the blob folder " + canonical +
                                 ": ../secret.txt");
    expectThrowMsg<EIOError>([&] { load("pics/link.txt"); },
                             prefix + "blob file outside the blob folder " + canonical +
                                 ": pics/link.txt");
    expectThrowMsg<EIOError>([&] { load(secret.fileName().toUtf8()); },
                             prefix +
                                 "blob file given by an absolute path (allowed only with a blob "
                                 "folder): " +
                                 secret.fileName());
    expectThrowMsg<EIOError>([&] { load("pics"); }, prefix + "blob is not a regular file: pics");
    expectThrowMsg<EIOError>([&] { load("/dev/zero", "/"); },
                             prefix + "blob is not a regular file: /dev/zero");
    // A wider folder lets the same cells through.
    EXPECT_EQ(load("../secret.txt", outer.path()), QByteArray("secret"));
    EXPECT_EQ(load("pics/link.txt", outer.path()), QByteArray("secret"));
    EXPECT_EQ(load(secret.fileName().toUtf8(), outer.path()), QByteArray("secret"));
}

TEST(csv_dataset, arbitrary_bytes_never_crash_the_reader)
{
    std::mt19937 rng(20231019);
    static const char alpha[] = "\",\r\n:ab1.-e T\xC3\xA9\xFF\0";
    const QByteArray alphabet(alpha, sizeof(alpha) - 1);
    const QByteArray headers[] = {"A,B\n", "A:integer,B:float,C:date\n", "A:boolean,B:datetime\n",
                                  "A:time,B:currency,C:memo\n", ""};
    int loaded = 0;
    int failed = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray data = headers[round % 5];
        const int len = std::uniform_int_distribution<int>(0, 120)(rng);
        for (int i = 0; i < len; ++i) {
            if (rng() % 4 == 0)
                data.append(static_cast<char>(rng() & 0xFF));
            else
                data.append(alphabet[static_cast<qsizetype>(rng() % alphabet.size())]);
        }
        TRpCsvDataSet ds;
        try {
            ds.LoadFromData(data, "fuzz.csv", QDir::tempPath());
            ++loaded;
            for (ds.First(); !ds.Eof(); ds.Next())
                for (int f = 0; f < ds.FieldCount(); ++f)
                    (void)ds.Fields(f)->AsString();
        } catch (const EIOError &e) {
            ++failed;
            ASSERT_TRUE(QString::fromUtf8(e.what()).startsWith("fuzz.csv, row ")) << e.what();
            EXPECT_EQ(ds.FieldCount(), 0);
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 0);
}

TEST(csv_dataset, records_beyond_the_read_pieces_come_back_exactly)
{
    // Long quoted cells with doubled quotes straddle the reader's 1 MiB pieces and its
    // 256 KiB record window; every record must still read back whole, in any order.
    QTemporaryDir dir;
    QByteArray csv = "N:integer,T\r\n";
    std::vector<QByteArray> texts;
    for (int i = 0; i < 60; ++i) {
        QByteArray text = QByteArray(i * 7919 % 90000 + 1, 'a' + i % 26);
        text.insert(text.size() / 2, "\"\"x\"\",\n");
        csv += QByteArray::number(i) + ",\"" + text + "\"\r\n";
        texts.push_back(text.replace("\"\"", "\""));
    }
    TRpCsvDataSet ds(WriteCsv(dir, csv));
    ASSERT_EQ(ds.RecordCount(), 60);
    std::vector<TRpBookmark> marks;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        const int i = static_cast<int>(ds.Fields(0)->AsInteger());
        ASSERT_EQ(ds.Fields(1)->AsBytes(), texts[static_cast<size_t>(i)]) << i;
        marks.push_back(ds.GetBookmark());
    }
    for (int i : {59, 0, 31, 30, 58, 1}) {
        ds.GotoBookmark(marks[static_cast<size_t>(i)]);
        EXPECT_EQ(ds.Fields(0)->AsInteger(), i);
        EXPECT_EQ(ds.Fields(1)->AsBytes(), texts[static_cast<size_t>(i)]) << i;
    }
    ds.Last();
    for (int i = 59; i >= 0; ds.Prior(), --i)
        ASSERT_EQ(ds.Fields(1)->AsBytes(), texts[static_cast<size_t>(i)]) << i;
}
