// SPDX-License-Identifier: MIT
// Scan blocks: passes over data sets, entry and footer, while, noeof, page, selected rows, events.
#include "control_fixture.h"
#include "runtime/rpscans.h"

using namespace rp;
using rptest::ControlRun;

namespace {

class ScanRun : public ControlRun
{
protected:
    QStringList events;

    void recordEvents()
    {
        report.OnScanBefore = [this](TRpScanInfo *s) {
            events << QStringLiteral("before") + QString::number(s->Number());
        };
        report.OnScanRecord = [this](TRpScanInfo *s) {
            events << QStringLiteral("record") + QString::number(s->Number());
        };
        report.OnScanEof = [this](TRpScanInfo *s) {
            events << QStringLiteral("eof") + QString::number(s->Number());
        };
    }
};

QStringList letters(int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << QString(QChar(u'a' + i));
    return l;
}

} // namespace

TEST_F(ScanRun, a_body_runs_once_per_record_with_its_fields)
{
    addDataSet(QStringLiteral("D"), letters(3));
    EXPECT_EQ(plain("<\\\\SCAN(D)\\\\[\\\\D:N\\\\]\\\\ENDSCAN\\\\>"), "<[a][b][c]>");
    // A single letter names the data set at that position; keywords ignore case.
    EXPECT_EQ(plain("<\\\\scan(a)\\\\\\\\A:N\\\\\\\\endscanner\\\\>"), "<abc>");
}

TEST_F(ScanRun, nested_scans_restart_the_inner_data_set_per_outer_record)
{
    addDataSet(QStringLiteral("O"), letters(2));
    addDataSet(QStringLiteral("I"),
               {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    EXPECT_EQ(plain("\\\\SCAN(O)\\\\\\\\O:N\\\\(\\\\SCAN(I)\\\\\\\\I:N\\\\\\\\ENDSCAN\\\\)"
                    "\\\\ENDSCAN\\\\"),
              "a(123)b(123)");
}

TEST_F(ScanRun, entry_and_footer_with_sum_totals)
{
    auto &d = addDataSet(QStringLiteral("D"),
                         {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5")});
    (void)d;
    report.CreateVar(QStringLiteral("total"), 0.0);
    const QByteArray t = "\\\\SCAN(D)\\\\head|\\\\SCANENTRY, SUM(D:N, total)\\\\\\\\D:N\\\\,"
                         "\\\\SCANFOOTER\\\\=\\\\total\\\\\\\\ENDSCAN\\\\";
    EXPECT_EQ(plain(t), "head|2,3,5,=10");
    // The accumulator restarts on a new entry into the scan.
    EXPECT_EQ(plain(t + QByteArray(" ") + t), "head|2,3,5,=10 head|2,3,5,=10");
}

TEST_F(ScanRun, noreset_keeps_adding_across_entries)
{
    addDataSet(QStringLiteral("O"), letters(2));
    addDataSet(QStringLiteral("I"), {QStringLiteral("1"), QStringLiteral("2")});
    report.CreateVar(QStringLiteral("t"), 0.0);
    report.CreateVar(QStringLiteral("k"), 0.0);
    EXPECT_EQ(plain("\\\\SCAN(O)\\\\\\\\SCAN(I), SUM(I:N, t), SUM(I:N, k, NORESET)\\\\"
                    "\\\\ENDSCAN\\\\\\\\t\\\\/\\\\k\\\\;\\\\ENDSCAN\\\\"),
              "3/3;3/6;");
}

TEST_F(ScanRun, an_empty_data_set_runs_the_body_once_unless_noeof)
{
    addDataSet(QStringLiteral("E"), {});
    recordEvents();
    EXPECT_EQ(plain("<\\\\SCAN(E)\\\\[\\\\E:N\\\\]\\\\ENDSCAN\\\\>"), "<[ ]>");
    EXPECT_EQ(events.join(u' ').toStdString(), "before1 record1 eof1");
    events.clear();
    EXPECT_EQ(plain("{<\\\\SCAN(E), noeof\\\\a}{b\\\\ENDSCAN\\\\>}"), "{<}{>}");
    EXPECT_EQ(events.join(u' ').toStdString(), "before1 eof1");
}

TEST_F(ScanRun, noeof_tests_the_data_set_before_rewinding_it)
{
    addDataSet(QStringLiteral("D"), letters(2));
    EXPECT_EQ(plain("\\\\SCAN(D)\\\\\\\\D:N\\\\\\\\ENDSCAN\\\\|\\\\SCAN(D),noeof\\\\\\\\D:N\\\\"
                    "\\\\ENDSCAN\\\\|"),
              "ab||");
}

TEST_F(ScanRun, events_follow_every_pass)
{
    addDataSet(QStringLiteral("D"), letters(2));
    recordEvents();
    plain("\\\\SCAN(D)\\\\x\\\\SCANFOOTER\\\\f\\\\ENDSCAN\\\\");
    EXPECT_EQ(events.join(u' ').toStdString(), "before1 record1 record1 eof1");
}

TEST_F(ScanRun, a_while_condition_ends_the_scan)
{
    report.CreateVar(QStringLiteral("i"), 0.0);
    report.CreateVar(QStringLiteral("one"), 1.0);
    // Without a data set only the condition ends it; it is tested before the first pass too.
    EXPECT_EQ(plain("<\\\\SCAN(), while(i<3), SET(i, i+one)\\\\.\\\\ENDSCAN\\\\>"), "<...>");
    EXPECT_EQ(plain("<\\\\SCAN(), while(i<3), noeof\\\\.\\\\ENDSCAN\\\\>"), "<>");
    // Without noeof the body runs once even when the condition is false from the start.
    EXPECT_EQ(plain("<\\\\SCAN(), while(i<3)\\\\.\\\\ENDSCAN\\\\>"), "<.>");
}

TEST_F(ScanRun, a_while_that_never_turns_false_stops_at_the_data_set_end)
{
    addDataSet(QStringLiteral("D"), letters(4));
    EXPECT_EQ(plain("\\\\SCAN(D), while(TRUE)\\\\\\\\D:N\\\\\\\\ENDSCAN\\\\"), "abcd");
    // With a data set the scan is not rewound: it goes on where the data set stands.
    dataSets[0]->First();
    dataSets[0]->Next();
    dataSets[0]->Next();
    EXPECT_EQ(plain("\\\\SCAN(D), while(TRUE)\\\\\\\\D:N\\\\\\\\ENDSCAN\\\\"), "cd");
}

TEST_F(ScanRun, a_while_without_data_set_that_never_turns_false_fails_at_the_pass_cap)
{
    report.SetMaxWhilePasses(50);
    EXPECT_EQ(failure("\\\\SCAN(), while(TRUE)\\\\.\\\\ENDSCAN\\\\"),
              "Scan without data set still repeating after 50 passes: while(TRUE)");
    // A loop that ends by itself at the cap is untouched.
    report.CreateVar(QStringLiteral("i"), 0.0);
    report.CreateVar(QStringLiteral("one"), 1.0);
    EXPECT_EQ(plain("\\\\SCAN(), while(i<50), SET(i, i+one)\\\\.\\\\ENDSCAN\\\\").size(), 50u);
}

TEST_F(ScanRun, repetitions_correct_unbalanced_bodies)
{
    addDataSet(QStringLiteral("D"), letters(3));
    // The body opens two groups more than it closes: each repeat closes them first.
    const std::string opened = plain("\\\\SCAN(D)\\\\{{\\\\D:N\\\\\\\\ENDSCAN\\\\}}");
    EXPECT_EQ(opened, "{{a}}{{b}}{{c}}");
    const std::string closed = plain("{\\\\SCAN(D)\\\\\\\\D:N\\\\}\\\\ENDSCAN\\\\");
    EXPECT_EQ(closed, "{a}{b}{c}");
}

TEST_F(ScanRun, page_breaks_between_passes)
{
    addDataSet(QStringLiteral("D"), letters(3));
    EXPECT_EQ(plain("\\\\SCAN(D), page\\\\\\\\D:N\\\\\\\\ENDSCAN\\\\"), "a\\page b\\page c");
}

TEST_F(ScanRun, selected_rows_visit_only_the_listed_records_in_order)
{
    auto &d = addDataSet(QStringLiteral("D"), letters(6));
    TRpBookmarkList rows;
    for (int r : {4, 0, 2}) {
        d.First();
        for (int i = 0; i < r; ++i)
            d.Next();
        rows << d.GetBookmark();
    }
    report.OnScanBefore = [&rows](TRpScanInfo *s) {
        s->SetSelectedRows(&rows);
        s->SetUseSelectedRows(true);
    };
    EXPECT_EQ(plain("\\\\SCAN(D)\\\\\\\\D:N\\\\\\\\ENDSCAN\\\\"), "eac");
    // An empty list: the body runs once where the data set stands, or not at all with noeof.
    TRpBookmarkList none;
    report.OnScanBefore = [&none](TRpScanInfo *s) {
        s->SetSelectedRows(&none);
        s->SetUseSelectedRows(true);
    };
    EXPECT_EQ(plain("\\\\SCAN(D)\\\\[\\\\D:N\\\\]\\\\ENDSCAN\\\\"), "[c]");
    EXPECT_EQ(plain("\\\\SCAN(D),noeof\\\\[\\\\D:N\\\\]\\\\ENDSCAN\\\\"), "");
}

TEST_F(ScanRun, a_skipped_scan_still_declares_and_resets)
{
    addDataSet(QStringLiteral("E"), {});
    report.CreateVar(QStringLiteral("total"), 7.0);
    EXPECT_EQ(plain("\\\\SCAN(E),noeof\\\\\\\\VAR(fresh)\\\\\\\\SUM(E:N, total)\\\\\\\\ENDSCAN\\\\"
                    "\\\\total\\\\"),
              "0");
    EXPECT_NE(report.VarByName(QStringLiteral("fresh")), nullptr);
}

TEST_F(ScanRun, a_scan_over_many_records_keeps_the_document_balanced)
{
    QStringList values;
    for (int i = 0; i < 500; ++i)
        values << QString::number(i);
    addDataSet(QStringLiteral("D"), values);
    const std::string out =
        plain("\\\\SCAN(D)\\\\{\\trowd \\cellx1000 \\\\D:N\\\\\\cell\\row}\\\\ENDSCAN\\\\");
    EXPECT_EQ(depth(out), 0);
    size_t rows = 0;
    for (size_t at = out.find("\\row}"); at != std::string::npos; at = out.find("\\row}", at + 1))
        ++rows;
    EXPECT_EQ(rows, 500u);
}
