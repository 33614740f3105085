// SPDX-License-Identifier: MIT
// Nesting and option errors of the control keywords: every message, and no output on failure.
#include "control_fixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace rp;
using rptest::ControlRun;

namespace {

class ControlError : public ControlRun
{
protected:
    void SetUp() override
    {
        ControlRun::SetUp();
        report.CreateVar(QStringLiteral("x"), 1.0);
        report.CreateVar(QStringLiteral("t"), 0.0);
        addDataSet(QStringLiteral("D"), {QStringLiteral("1")});
    }
};

struct Case
{
    const char *body;
    const char *message;
};

} // namespace

TEST_F(ControlError, conditional_keywords)
{
    const Case cases[] = {
        {"\\\\IF(x),t\\\\", "Illegal using of \"if\" command: IF(x),t"},
        {"\\\\IF(x)y\\\\", "Illegal using of \"if\" keyword: IF(x)y"},
        {"\\\\IF(x)\\\\\\\\ELSE,t\\\\", "Illegal using of \"Else\" command: ELSE,t"},
        {"\\\\ELSE\\\\", "Error: \"else\" must be after \"if\": ELSE"},
        {"\\\\IF(x)\\\\\\\\ELSE\\\\\\\\ELSE\\\\", "Error: \"else\" is not expected: ELSE"},
        {"\\\\SCAN(D)\\\\\\\\ELSE\\\\", "Error: \"else\" is not expected: ELSE"},
        {"\\\\IF(x)\\\\\\\\ELSIF(x),t\\\\", "Illegal using of \"elsif\" command: ELSIF(x),t"},
        {"\\\\IF(x)\\\\\\\\ELSIF(x)y\\\\", "Illegal using of \"elsif\" keyword: ELSIF(x)y"},
        {"\\\\ELSIF(x)\\\\", "Error: \"elseif\" must be after \"if\": ELSIF(x)"},
        {"\\\\IF(x)\\\\\\\\ELSE\\\\\\\\ELSIF(x)\\\\",
         "Error: \"elseif\" is not expected: ELSIF(x)"},
        {"\\\\IF(x)\\\\\\\\ENDIF,t\\\\", "Illegal using of \"endif\" command: ENDIF,t"},
        {"\\\\ENDIF\\\\", "Error: \"endif\" must be after \"if\": ENDIF"},
        {"\\\\SCAN(D)\\\\\\\\ENDIF\\\\", "Error: \"endif\" is not expected: ENDIF"},
        {"\\\\IF(x)\\\\", "Endif expected, but end of document found"},
        {"\\\\IF(x)\\\\\\\\ELSE\\\\", "Endif expected, but end of document found"},
        {"\\\\IF(x)\\\\\\\\ELSIF(x)\\\\", "Endif expected, but end of document found"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(failure(c.body), c.message);
    }
}

TEST_F(ControlError, scan_keywords)
{
    const Case cases[] = {
        {"\\\\SCAN(D)x\\\\", "Illegal using of \"scan\" keyword: SCAN(D)x"},
        {"\\\\SCAN(NOSUCH)\\\\", "Scan Alias not found: NOSUCH"},
        {"\\\\SCAN(Q)\\\\", "Scan Alias not found: Q"},
        {"\\\\SCAN(D),while(x),WHILE(t)\\\\",
         "More than one \"while\" function is not allowed in command SCAN(D),while(x),WHILE(t)"},
        {"\\\\SCAN()\\\\",
         "Either \"scan\" with DataSet or \"while\" function must be present in command SCAN()"},
        {"\\\\SCANENTRY\\\\", "Error: Scanentry must be after scan: SCANENTRY"},
        {"\\\\SCAN(D)\\\\\\\\SCANENTRY\\\\\\\\SCANENTRY\\\\",
         "Error: Scanentry already exists for scan block: SCANENTRY"},
        {"\\\\SCAN(D)\\\\\\\\SCANFOOTER\\\\\\\\SCANENTRY\\\\",
         "Error: Scanentry not allowed after scanfooter: SCANENTRY"},
        {"\\\\IF(x)\\\\\\\\SCANENTRY\\\\", "Error: Scanentry is not expected: SCANENTRY"},
        {"\\\\SCANFOOTER\\\\", "Error: Scanfooter must be after Scan: SCANFOOTER"},
        {"\\\\SCAN(D)\\\\\\\\SCANFOOTER\\\\\\\\SCANFOOTER\\\\",
         "Error: Scanfooter already exists for scan block: SCANFOOTER"},
        {"\\\\IF(x)\\\\\\\\SCANFOOTER\\\\", "Error: Scanfooter is not expected: SCANFOOTER"},
        {"\\\\ENDSCAN\\\\", "Error: Endscan must be after scan: ENDSCAN"},
        {"\\\\IF(x)\\\\\\\\ENDSCAN\\\\", "Error: Endscan is not expected: ENDSCAN"},
        {"\\\\SCAN(D)\\\\", "Nesting error - endscan expected, but end of document found"},
        {"\\\\SCAN(D)\\\\\\\\SCANFOOTER\\\\",
         "Nesting error - endscan expected, but end of document found"},
        {"\\\\IF(x)\\\\\\\\SCAN(D)\\\\\\\\ENDIF\\\\", "Error: \"endif\" is not expected: ENDIF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(failure(c.body), c.message);
    }
}

TEST_F(ControlError, calls_attached_to_scan_keywords)
{
    const Case cases[] = {
        {"\\\\SCAN(D),t\\\\", "Cannot process expression t in scan command SCAN(D),t"},
        {"\\\\SCAN(D),1+2\\\\", "Cannot process expression 1+2 in scan command SCAN(D),1+2"},
        {"\\\\SCAN(D),FNUM(SUM(D:N,t),2)\\\\",
         "Format function FNUM(SUM(D:N,t),2) not allowed in scan command SCAN(D),"
         "FNUM(SUM(D:N,t),2)"},
        {"\\\\SCAN(D),NOSUCH(1)\\\\", "Function not found: NOSUCH(1)"},
        {"\\\\SCAN(D),VAR(\"a\")\\\\",
         "Illegal function use: \"a\" - report variable expected as argument in expression "
         "VAR(\"a\")"},
        {"\\\\SCAN(D),SUM(1,t)\\\\",
         "Illegal function use: 1 - datafield, variable or UDF expected as first argument in "
         "expression SUM(1,t)"},
        {"\\\\SCAN(D),CTN(D:N,2)\\\\",
         "Illegal function use: 2 - report variable expected as second argument in expression "
         "CTN(D:N,2)"},
        {"\\\\SCAN(D),CTS(D:N,t,KEEP)\\\\",
         "Illegal function use: KEEP - symbol \")\" or keyword \"NORESET\" expected as third "
         "argument in expression CTS(D:N,t,KEEP)"},
        {"\\\\SCAN(D)\\\\\\\\ENDSCAN,NOSUCH(1)\\\\", "Function not found: NOSUCH(1)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(failure(c.body), c.message);
    }
}

TEST_F(ControlError, a_failed_run_writes_no_result_file)
{
    QTemporaryDir dir;
    report.SetTemplateBuffer("{\\rtf1 \\\\SCAN(D)\\\\x}");
    report.SetOutFile(dir.filePath(QStringLiteral("out.rtf")));
    EXPECT_THROW(report.Execute(dataSets), EIllegalScanUse);
    EXPECT_FALSE(QFile::exists(report.OutFile()));
}

TEST_F(ControlError, a_block_left_open_is_shown_where_it_starts)
{
    struct Open
    {
        const char *body;
        int line;
        int column;
        const char *field;
    };
    // The body starts at column 8 of line 1, after "{\rtf1 ".
    const Open cases[] = {
        {"\\\\IF(x)\\\\a\n\\\\IF(t)\\\\b\\\\ENDIF\\\\", 1, 8, "\\\\IF(x)\\\\"},
        {"\\\\IF(x)\\\\a\n  \\\\ELSE\\\\b", 2, 3, "\\\\ELSE\\\\"},
        {"\\\\IF(x)\\\\\\\\ELSIF(t)\\\\", 1, 17, "\\\\ELSIF(t)\\\\"},
        {"a\n\\\\SCAN(D)\\\\\n\\\\IF(x)\\\\\\\\ENDIF\\\\", 2, 1, "\\\\SCAN(D)\\\\"},
        {"\\\\SCAN(D)\\\\\\\\SCAN(D)\\\\\\\\SCANFOOTER\\\\", 1, 19, "\\\\SCAN(D)\\\\"},
    };
    for (const Open &c : cases) {
        SCOPED_TRACE(c.body);
        failure(c.body);
        EXPECT_EQ(report.LastErrLocation().line, c.line);
        EXPECT_EQ(report.LastErrLocation().column, c.column);
        EXPECT_EQ(report.LastErrLocation().field.toStdString(), c.field);
    }
}
