// SPDX-License-Identifier: MIT
// Command stream: byte layout of every item kind, Bloc merging, in-place field update,
// skipping unknown items, and the temporary and final output streams.
#include "compiler/rpcmdump.h"
#include "rptestutil.h"
#include <reportengine/rpbasereport.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

using namespace rp;
using rptest::TestReport;

namespace {

std::vector<std::int32_t> Ints(const QByteArray &bytes, qsizetype from, int count)
{
    std::vector<std::int32_t> out;
    for (int i = 0; i < count; ++i)
        out.push_back(qFromLittleEndian<std::int32_t>(bytes.constData() + from + 4 * i));
    return out;
}

TRpRowContent SampleContent()
{
    TRpRowContent c;
    c.stestf = "\\\\ORDERS.TOTAL\\\\";
    c.Dalias = "ORDERS";
    c.Field = "TOTAL";
    c.sout = "\\b0 ";
    c.fmt = TRpFieldFormat{3, 12, 4};
    c.ftype = rcsimple;
    c.NField = -1;
    c.DefinedType = rcsimple;
    c.Defined = false;
    return c;
}

} // namespace

TEST(command_stream, header_body_trailer_layout)
{
    TestReport r;
    r.CreateCmStream();
    r.Fpnt = 1;
    r.CmSaveBegin();
    r.Fpnt = 7;
    r.CmSaveScanItem("out", "par", 258);
    const QByteArray &b = r.CmStream()->Bytes();
    ASSERT_EQ(b.size(), 16 + 12 + 10 + 4);
    EXPECT_EQ(Ints(b, 0, 4), (std::vector<std::int32_t>{-9999, 1, 4, 0}));
    EXPECT_EQ(Ints(b, 16, 5), (std::vector<std::int32_t>{-3, 7, 14, 0, 1}));
    EXPECT_EQ(b.mid(36, 2), QByteArray("\x02\x01", 2)) << "block number is a little-endian word";
    EXPECT_EQ(Ints(b, 38, 1)[0], 16) << "trailer: where the previous item ended";
    EXPECT_EQ(r.FCmPos, 42u);
    EXPECT_EQ(r.CmStrings(), QStringList({"out", "par"}));
}

TEST(command_stream, every_item_kind_records_its_id_and_size)
{
    struct Expect
    {
        std::int32_t id;
        std::int32_t skip;
    };
    TestReport r;
    r.CreateCmStream();
    r.CmSaveBegin();
    r.CmSaveBlocItem();
    r.CmSaveBalancedBlocItem();
    r.CmSaveTableBegin();
    r.CmSaveTableEnd();
    r.CmSaveRawItem("raw");
    r.CmSaveScanItem("", "", 1);
    r.CmSaveScanWhileItem("", "", 1);
    r.CmSaveScanEntryItem("", "", 1);
    r.CmSaveScanFooterItem("", "", 1);
    r.CmSaveEndScanItem("", "", 1);
    r.CmSaveEndIfItem("", "", 1);
    r.CmSaveIfItem("", "", 1, true);
    r.CmSaveScanSkipItem(1);
    r.CmSaveField(5, SampleContent());
    r.CmSaveExprBeginItem(SampleContent(), true, false, 2);
    r.CmSaveExprEndItem();
    r.CmSaveExecuteUDFItem(-16, 2, -1, 0, 0);
    r.CmSaveFontTable();
    r.CmSaveColorTable();
    r.CmSaveStyleSheet();
    r.CmSaveDocInfo();
    r.CmSaveEnd();
    const std::vector<Expect> expected = {
        {-9999, 4}, {-5, 4},   {-10, 4}, {-6, 4},   {-7, 4},   {-16, 8}, {-3, 14},   {-21, 14},
        {-11, 14},  {-12, 14}, {-4, 14}, {-24, 14}, {-23, 18}, {-22, 6}, {5, 42},    {-13, 52},
        {-14, 4},   {-15, 24}, {-17, 4}, {-18, 4},  {-19, 4},  {-20, 4}, {-10000, 4}};
    const QByteArray &b = r.CmStream()->Bytes();
    qsizetype pos = 0;
    qsizetype prevEnd = 0;
    for (const Expect &e : expected) {
        ASSERT_LE(pos + 12, b.size());
        const auto header = Ints(b, pos, 3);
        EXPECT_EQ(header[0], e.id);
        EXPECT_EQ(header[2], e.skip) << "item " << e.id;
        const qsizetype end = pos + 12 + header[2];
        EXPECT_EQ(Ints(b, end - 4, 1)[0], prevEnd) << "item " << e.id;
        prevEnd = end;
        pos = end;
    }
    EXPECT_EQ(pos, b.size());
}

TEST(command_stream, consecutive_blocs_merge_into_one)
{
    TestReport r;
    r.CreateCmStream();
    r.CmSaveBegin();
    r.Fpnt = 10;
    r.CmSaveBlocItem();
    r.Fpnt = 20;
    r.CmSaveBlocItem();
    const qsizetype afterMerge = r.CmStream()->Size();
    EXPECT_EQ(afterMerge, 32);
    EXPECT_EQ(Ints(r.CmStream()->Bytes(), 16, 2), (std::vector<std::int32_t>{-5, 20}));

    r.CmSaveBalancedBlocItem();
    r.Fpnt = 30;
    r.CmSaveBlocItem();
    EXPECT_EQ(r.CmStream()->Size(), 64) << "a BalancedBloc in between starts a new Bloc";
    EXPECT_EQ(Ints(r.CmStream()->Bytes(), 48, 2), (std::vector<std::int32_t>{-5, 30}));

    // Reading back: Begin, Bloc(20), BalancedBloc, Bloc(30).
    r.SeekToBeginCmStream();
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    while (r.CmStream()->Position() < r.CmStream()->Size()) {
        r.CmReadItemInfo();
        seen.emplace_back(r.FCmLastId, r.Fpnt);
        r.CmReadBlocItem();
    }
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                        {-9999, 0}, {-5, 20}, {-10, 20}, {-5, 30}}));
}

TEST(command_stream, items_read_back_with_cursor_and_previous_cursor)
{
    TestReport r;
    r.CreateCmStream();
    r.Fpnt = 1;
    r.CmSaveBegin();
    r.Fpnt = 5;
    r.CmSaveIfItem("{\\b ", "\\par", 3, true);
    r.Fpnt = 9;
    r.CmSaveExecuteUDFItem(-62, 3, -1, 2, 7);
    r.Fpnt = 12;
    r.CmSaveRawItem("\\tab");
    r.CmSaveEnd();

    r.Fpnt = 0;
    r.SeekToBeginCmStream();
    r.CmReadItemInfo();
    r.CmReadItemPos();
    r.CmReadItemInfo();
    EXPECT_EQ(r.FCmLastId, cmIf);
    EXPECT_EQ(r.FCmLastFpnt, 1);
    EXPECT_EQ(r.Fpnt, 5);
    QString out, par;
    std::uint16_t n = 0;
    bool elseFlag = false;
    r.CmReadIfItem(out, par, n, elseFlag);
    EXPECT_EQ(out, "{\\b ");
    EXPECT_EQ(par, "\\par");
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(elseFlag);

    r.CmReadItemInfo();
    std::int32_t a, b, c, d, e;
    r.CmReadExecuteUDFItem(a, b, c, d, e);
    EXPECT_EQ((std::vector<std::int32_t>{a, b, c, d, e}),
              (std::vector<std::int32_t>{-62, 3, -1, 2, 7}));

    r.CmReadItemInfo();
    QString raw;
    r.CmReadRawItem(raw);
    EXPECT_EQ(raw, "\\tab");
    r.CmReadItemInfo();
    EXPECT_EQ(r.FCmLastId, cmEnd);
}

TEST(command_stream, field_update_in_place_keeps_strings_and_format)
{
    TestReport r;
    r.CreateCmStream();
    r.Fpnt = 3;
    r.CmSaveField(-2, SampleContent());
    TRpRowContent expr = SampleContent();
    expr.ftype = rcdata;
    r.CmSaveExprBeginItem(expr, true, true, 513);
    const qsizetype sizeBefore = r.CmStream()->Size();

    r.SeekToBeginCmStream();
    r.CmUpdateField(4, rcdata, true);
    EXPECT_EQ(r.Fpnt, 3) << "the update reads the header, which sets the cursor";
    EXPECT_EQ(r.CmStream()->Size(), sizeBefore);
    EXPECT_EQ(r.FCmPos, 54u) << "positioned after the updated item";

    r.SeekToBeginCmStream();
    r.CmReadItemInfo();
    EXPECT_EQ(r.FCmLastId, -2);
    TRpRowContent back;
    r.CmReadField(back);
    TRpRowContent want = SampleContent();
    want.NField = 4;
    want.DefinedType = rcdata;
    want.Defined = true;
    EXPECT_EQ(back, want);

    r.CmReadItemInfo();
    EXPECT_EQ(r.FCmLastId, cmExprBegin);
    TRpRowContent exprBack;
    bool inDocument = false, isManage = false;
    std::uint16_t scanNum = 0;
    r.CmReadExprBeginItem(exprBack, inDocument, isManage, scanNum);
    EXPECT_EQ(exprBack, expr) << "the next item is untouched";
    EXPECT_TRUE(inDocument);
    EXPECT_TRUE(isManage);
    EXPECT_EQ(scanNum, 513);
}

TEST(command_stream, unknown_items_are_skipped_by_their_size)
{
    TestReport r;
    r.CreateCmStream();
    r.CmSaveBegin();
    // An item of an id no reader knows, with a 6-byte body.
    r.Fpnt = 40;
    r.CmSaveItemInfo(-77, 6, r.Fpnt);
    r.CmStream()->Write(QByteArray("abcdef"));
    r.CmSaveItemPos();
    r.Fpnt = 50;
    r.CmSaveScanSkipItem(9);
    r.CmSaveEnd();

    r.SeekToBeginCmStream();
    std::vector<std::int32_t> ids;
    std::uint16_t skipped = 0;
    for (;;) {
        r.CmReadItemInfo();
        ids.push_back(r.FCmLastId);
        if (r.FCmLastId == cmEnd)
            break;
        if (r.FCmLastId == cmScanSkip)
            r.CmReadScanSkipItem(skipped);
        else if (r.FCmLastId == cmBegin)
            r.CmReadItemPos();
        else
            r.CmSkipItem();
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{-9999, -77, -22, -10000}));
    EXPECT_EQ(skipped, 9);
}

TEST(command_stream, string_table)
{
    TestReport r;
    r.CreateCmStream();
    EXPECT_EQ(r.CmStoreString("a"), 0);
    EXPECT_EQ(r.CmStoreString("a"), 1) << "equal texts get separate entries";
    EXPECT_EQ(r.CmGetString(1), "a");
    EXPECT_EQ(r.CmGetString(-1), "");
    EXPECT_EQ(r.CmGetString(2), "");
    r.FreeCmStream();
    EXPECT_EQ(r.CmGetString(0), "");
    EXPECT_EQ(r.CmStream(), nullptr);
    EXPECT_EQ(r.FCmLastId, -9999);
}

TEST(command_stream, reading_a_cut_stream_stays_in_bounds)
{
    TestReport r;
    r.CreateCmStream();
    r.CmSaveField(0, SampleContent());
    r.CmStream()->SetSize(20);
    r.SeekToBeginCmStream();
    r.CmReadItemInfo();
    TRpRowContent c;
    r.CmReadField(c);
    EXPECT_EQ(r.CmStream()->Position(), 20);
    r.CmReadItemInfo();
    r.CmSkipItem();
    EXPECT_EQ(r.CmStream()->Position(), 20);
}

TEST(command_stream, listing_shows_items_in_order_and_stops_at_damage)
{
    TestReport r;
    r.CreateCmStream();
    r.Fpnt = 1;
    r.CmSaveBegin();
    r.Fpnt = 5;
    r.CmSaveBlocItem();
    r.Fpnt = 9;
    TRpRowContent c;
    c.stestf = "x";
    c.Field = "N";
    r.CmSaveField(0, c);
    r.Fpnt = 13;
    r.CmSaveIfItem("a\"", "b", 2, true);
    r.CmSaveEnd();
    const QStringList expected = {
        "0 Begin pnt=1",
        "16 Bloc pnt=5",
        "32 Field(0) pnt=9 stestf=\"x\" Dalias=\"\" Field=\"N\" sout=\"\" fmt=0,18,2 ftype=1 "
        "NField=-1 DefinedType=1 Defined=0",
        "86 If pnt=13 OutStr=\"a\\\"\" SPar=\"b\" n=2 else=1",
        "116 End pnt=13",
    };
    EXPECT_EQ(CmDump(r), expected);

    QByteArray cut = r.CmStream()->Bytes().left(100);
    EXPECT_EQ(CmDump(cut, r.CmStrings()).last(), "86 ! bad size 18");
    EXPECT_EQ(CmDump(cut.left(90), r.CmStrings()).last(), "86 ! cut header");
    EXPECT_EQ(CmDump(r.CmStream()->Bytes(), {}).at(2).section(' ', 3, 3), "stestf=#0")
        << "indexes outside the table are shown as numbers";
    EXPECT_EQ(CmItemName(-77), "Item-77");
}

TEST(work_streams, caller_memory_stream_uses_no_temporary_file)
{
    TestReport r;
    QBuffer caller;
    caller.open(QIODevice::ReadWrite);
    caller.write("old content that is longer");
    r.SetOutStream(&caller, true);
    r.CreateTmpStream();
    EXPECT_TRUE(r.TmpFileName().isEmpty());
    ASSERT_NE(r.TmpStream(), nullptr);
    r.SetOutfToTmp();
    r.wr("tmp");
    EXPECT_EQ(qobject_cast<QBuffer *>(r.TmpStream())->data(), "tmp");

    r.SetOutf();
    EXPECT_EQ(r.Outf(), &caller);
    r.wr(QString::fromUtf8("caf\u00e9 \u20ac\u2603"));
    r.FreeOutf();
    EXPECT_EQ(caller.pos(), 0) << "left at the start for the caller to read";
    EXPECT_EQ(caller.data().left(7), QByteArray("caf\xE9 \x80?"));
    EXPECT_EQ(caller.data().mid(7), QByteArray("tent that is longer"))
        << "the stream is not truncated";
    r.FreeTmpStream();
}

TEST(work_streams, temporary_file_is_deleted_and_output_file_written)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TestReport r;
    r.SetOutFile(dir.filePath("out.doc"));
    {
        QFile existing(r.OutFile());
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("a much longer previous document");
    }
    r.CreateTmpStream();
    const QString tmp = r.TmpFileName();
    ASSERT_FALSE(tmp.isEmpty());
    EXPECT_TRUE(QFile::exists(tmp));
    EXPECT_TRUE(QFileInfo(tmp).fileName().startsWith("rpr"));
    EXPECT_EQ(QFileInfo(tmp).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    r.SetOutfToTmp();
    const QByteArray templ("0123456789");
    r.wrBlock(templ, 2, 3);
    r.wrBlock(templ, 8, 100); // cut to what exists
    r.wrBlock(templ, -5, 2);

    r.SetOutf();
    r.wr("{\\rtf1}");
    r.FreeOutf();
    r.FreeTmpStream();
    EXPECT_FALSE(QFile::exists(tmp));

    QFile out(r.OutFile());
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), "{\\rtf1}") << "an existing output is replaced";
}

TEST(work_streams, temporary_bytes_are_kept_until_freed)
{
    TestReport r;
    QFile other; // not a memory stream: a temporary file is used
    r.SetOutStream(&other, true);
    r.CreateTmpStream();
    ASSERT_FALSE(r.TmpFileName().isEmpty());
    r.SetOutfToTmp();
    r.wrBlock("0123456789", 2, 3);
    r.wrBlock("0123456789", 8, 100);
    r.wrBlock("0123456789", -5, 2);
    r.TmpStream()->seek(0);
    EXPECT_EQ(r.TmpStream()->readAll(), "2348901");
    const QString tmp = r.TmpFileName();
    r.FreeTmpStream();
    EXPECT_FALSE(QFile::exists(tmp));
}

TEST(work_streams, output_that_cannot_be_created_fails_with_the_file_name)
{
    QTemporaryDir dir;
    TestReport r;
    const QString name = dir.filePath("missing/sub/out.doc");
    r.SetOutFile(name);
    try {
        r.SetOutf();
        ADD_FAILURE() << "no error";
    } catch (const EIOError &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("Cannot create file \"" + name + "\". "))
            << e.what();
    }
    EXPECT_EQ(r.Outf(), nullptr);
}
