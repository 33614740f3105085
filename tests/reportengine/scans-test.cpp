// SPDX-License-Identifier: MIT
// Block stack: numbering and levels, the keyword permission table, data-set and
// selected-row movement of scans, condition-driven blocks.
#include "rptestutil.h"
#include "runtime/rpscans.h"
#include <reportengine/rpmemorydataset.h>

#include <gtest/gtest.h>

#include <vector>

using namespace rp;
using rptest::TestReport;

namespace {

// Five records with ID 1..5.
void FillIds(TRpMemoryDataSet &ds)
{
    ds.DefineField("ID", TRpFieldType::ftInteger);
    for (int i = 1; i <= 5; ++i)
        ds.AppendRecord({QVariant(qint64(i))});
}

// Runs a scan the way the control blocks do: rewind, then visit while there is a record.
std::vector<qint64> Visit(TRpScans &scans, std::uint16_t n)
{
    std::vector<qint64> ids;
    scans.SetCurrentScan(n);
    scans.GoFirst();
    TRpDataSet *ds = scans.GetCurrentScanInfo()->DataSet();
    for (int guard = 0; scans.NotEof() && guard < 100; ++guard) {
        ids.push_back(ds->Fields(0)->AsInteger());
        scans.GoNext();
    }
    return ids;
}

} // namespace

TEST(block_stack, numbering_continues_across_closed_blocks)
{
    TestReport r;
    TRpScans s(&r);
    EXPECT_EQ(s.GetCurrentScanNum(), 0);
    EXPECT_EQ(s.GetTopScanInfo(), nullptr);
    s.ExitScan(); // nothing open: no effect
    EXPECT_EQ(s.ScLevel(), 0);

    s.EnterScan(100, 10, rplScan, "", false, false, true, nullptr);
    s.EnterScan(200, 20, rplIf, "x>1", true, false, false, nullptr);
    EXPECT_EQ(s.GetCurrentScanNum(), 2);
    EXPECT_EQ(s.ScLevelMax(), 2);
    s.SetScanEntry(250, 25); // applies to the innermost block
    s.ExitScan();
    EXPECT_EQ(s.GetCurrentScanNum(), 1);
    s.SetScanFooter(300, 30);
    s.ExitScan();
    EXPECT_EQ(s.ScLevelMax(), 0) << "closing the outermost block resets the deepest level";
    s.EnterScan(400, 40, rplScan, "", false, true, false, nullptr);
    EXPECT_EQ(s.GetCurrentScanNum(), 3);
    s.ExitScan();

    ASSERT_EQ(s.ScCount(), 3);
    const TRpScanInfo *first = s.ScanInfo(1);
    EXPECT_EQ(first->ScanLevel(), 1);
    EXPECT_TRUE(first->FNewPage);
    EXPECT_TRUE(first->FIsFooter);
    EXPECT_EQ(first->FFooterCmPosition, 300);
    EXPECT_EQ(first->FScanFooterPnt, 30);
    EXPECT_FALSE(first->FIsEntry);
    const TRpScanInfo *cond = s.ScanInfo(2);
    EXPECT_EQ(cond->ScanLevel(), 2);
    EXPECT_EQ(cond->RpLngId(), rplIf);
    EXPECT_EQ(cond->FWhileString, "x>1");
    EXPECT_TRUE(cond->FIsEntry);
    EXPECT_EQ(cond->FEntryCmPosition, 250);
    EXPECT_EQ(cond->FScanEntryPnt, 25);
    EXPECT_EQ(cond->FCmPosition, 200);
    EXPECT_EQ(cond->FScanPnt, 20);
    EXPECT_TRUE(cond->FFirstPass);
    EXPECT_FALSE(cond->FIsCompleted);
    const TRpScanInfo *second = s.ScanInfo(3);
    EXPECT_EQ(second->ScanLevel(), 1) << "two consecutive scans are both at level 1";
    EXPECT_TRUE(second->FNoEof);

    s.SetCurrentScan(2);
    EXPECT_EQ(s.ScLevel(), 2);
    EXPECT_EQ(s.GetScanpnt(), 20);
    EXPECT_EQ(s.GetScanEntryPnt(), 25);
    s.SetCurrentScan(0);
    EXPECT_EQ(s.GetCurrentScanInfo(), nullptr);
    EXPECT_EQ(s.ScLevel(), 0);
    s.SetCurrentScan(9); // no such block: none current
    EXPECT_EQ(s.Num(), 0);
    EXPECT_FALSE(s.NotEof());
    s.GoFirst();
    s.GoNext();
}

TEST(block_stack, keyword_permissions)
{
    const int rows[8][8] = {{1, 1, 1, 1, 1, 0, 0, 0}, {1, 0, 1, 1, 1, 0, 0, 0},
                            {1, 0, 0, 1, 1, 0, 0, 0}, {1, 0, 0, 1, 1, 1, 1, 1},
                            {1, 0, 0, 0, 1, 1, 1, 1}, {1, 0, 0, 0, 1, 0, 1, 0},
                            {1, 1, 1, 1, 1, 1, 1, 0}, {1, 0, 0, 0, 1, 1, 1, 1}};
    for (int kind = 0; kind < 8; ++kind)
        for (int kw = 0; kw < 8; ++kw)
            EXPECT_EQ(RpKeywordAllowed(kind, kw), rows[kind][kw] == 1) << kind << "," << kw;
    EXPECT_FALSE(RpKeywordAllowed(-1, 0));
    EXPECT_FALSE(RpKeywordAllowed(0, 8));
}

TEST(block_stack, scan_visits_every_record)
{
    TestReport r;
    TRpMemoryDataSet ds;
    FillIds(ds);
    TRpScans s(&r);
    s.EnterScan(0, 1, rplScan, "", false, false, false, &ds);
    s.ExitScan();
    EXPECT_EQ(Visit(s, 1), (std::vector<qint64>{1, 2, 3, 4, 5}));
}

TEST(block_stack, bookmark_mode_visits_exactly_the_listed_rows)
{
    TestReport r;
    TRpMemoryDataSet ds;
    FillIds(ds);
    TRpBookmarkList rows;
    for (int rec : {3, 1}) {
        ds.First();
        for (int i = 0; i < rec; ++i)
            ds.Next();
        rows << ds.GetBookmark();
    }
    TRpScans s(&r);
    s.EnterScan(0, 1, rplScan, "", false, false, false, &ds);
    s.ExitScan();
    TRpScanInfo *info = s.ScanInfo(1);
    info->SetUseSelectedRows(true);
    info->SetSelectedRows(&rows);
    EXPECT_EQ(Visit(s, 1), (std::vector<qint64>{4, 2})) << "list order, then the scan ends";
    EXPECT_EQ(info->BookMarkPos(), 2);

    // An empty list: nothing moves and there is no record to visit.
    TRpBookmarkList none;
    info->SetSelectedRows(&none);
    ds.Last();
    ds.Prior();
    s.SetCurrentScan(1);
    s.GoFirst();
    EXPECT_FALSE(s.NotDataSetEof());
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 4) << "the data set stays where it stood";

    // No list at all turns bookmark mode off: the whole data set is scanned again.
    info->SetSelectedRows(nullptr);
    EXPECT_FALSE(info->UseSelectedRows());
    EXPECT_EQ(Visit(s, 1), (std::vector<qint64>{1, 2, 3, 4, 5}));

    // Selected-row mode without a list visits nothing.
    info->SetUseSelectedRows(true);
    s.GoFirst();
    EXPECT_FALSE(s.NotDataSetEof());
}

TEST(block_stack, bad_bookmarks_pass_their_error_through)
{
    TestReport r;
    TRpMemoryDataSet ds;
    FillIds(ds);
    TRpBookmarkList rows{QByteArray("junk")};
    TRpScans s(&r);
    s.EnterScan(0, 1, rplScan, "", false, false, false, &ds);
    s.ScanInfo(1)->SetUseSelectedRows(true);
    s.ScanInfo(1)->SetSelectedRows(&rows);
    s.SetCurrentScan(1);
    EXPECT_THROW(s.GoFirst(), EIOError);
}

TEST(block_stack, condition_driven_blocks)
{
    TestReport r;
    TRpMemoryDataSet ds;
    FillIds(ds);
    TRpScans s(&r);
    s.EnterScan(0, 1, rplScan, "ID<3", true, false, false, nullptr);
    s.ExitScan();
    s.EnterScan(0, 1, rplScan, "ID<3", true, false, false, &ds);
    s.ExitScan();

    // Without a data set only the condition decides; moving does nothing.
    s.SetCurrentScan(1);
    EXPECT_TRUE(s.NotDataSetEof());
    r.FManageResult = false;
    EXPECT_FALSE(s.NotEof());
    r.FManageResult = true;
    EXPECT_TRUE(s.NotEof());
    EXPECT_TRUE(s.LastManageResult());
    s.GoFirst();
    s.GoNext();
    EXPECT_TRUE(s.NotDataSetEof());

    // With a data set: not rewound at the start, one record on per pass, and the end of
    // the data set ends it even while the condition holds.
    ds.Next();
    s.SetCurrentScan(2);
    s.GoFirst();
    EXPECT_EQ(ds.Fields(0)->AsInteger(), 2);
    int passes = 0;
    while (s.NotEof() && passes < 100) {
        ++passes;
        s.GoNext();
    }
    EXPECT_EQ(passes, 4);
    EXPECT_TRUE(ds.Eof());
}
