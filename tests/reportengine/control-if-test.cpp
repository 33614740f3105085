// SPDX-License-Identifier: MIT
// Conditional blocks: IF/ELSIF/ELSE/ENDIF chains, nesting, skipped braces and compiled items.
#include "control_fixture.h"

#include "compiler/rpcontrol.h"

using namespace rp;
using rptest::ControlRun;

namespace {

class IfRun : public ControlRun
{
protected:
    void SetUp() override
    {
        ControlRun::SetUp();
        report.CreateVar(QStringLiteral("x"), 1.0);
    }
    void setX(double v) { report.VarByName(QStringLiteral("x"))->SetAsFloat(v); }
};

} // namespace

TEST(brace_balance, removes_empty_pairs_in_one_pass)
{
    EXPECT_EQ(RemoveEmptyBrackets("{}{}"), "");
    EXPECT_EQ(RemoveEmptyBrackets("{{}}"), "{}");
    EXPECT_EQ(RemoveEmptyBrackets("}{"), "}{");
    EXPECT_EQ(RemoveEmptyBrackets("}{}{"), "}{");
    EXPECT_EQ(RemoveEmptyBrackets("{"), "{");
    EXPECT_EQ(RemoveEmptyBrackets(""), "");
    // Escaped braces are text; a doubled backslash does not escape the brace after it.
    EXPECT_EQ(RpBraces("a\\{b{\\b c}\\}"), "{}");
    EXPECT_EQ(RpBraceCount("\\\\{x"), 1);
    EXPECT_EQ(RpBraceCount("{\\b {x}}}"), -1);
}

TEST_F(IfRun, a_condition_chooses_its_part)
{
    EXPECT_EQ(body("<\\\\IF(x>0)\\\\yes\\\\ENDIF\\\\>"), "<yes>");
    setX(-1);
    EXPECT_EQ(body("<\\\\IF(x>0)\\\\yes\\\\ENDIF\\\\>"), "<>");
    EXPECT_EQ(body("<\\\\IF(x>0)\\\\yes\\\\ELSE\\\\no\\\\ENDIF\\\\>"), "<no>");
    // Keyword recognition looks at prefixes only.
    EXPECT_EQ(body("<\\\\IF(x>0)\\\\yes\\\\ELSEWHERE\\\\no\\\\ENDIF\\\\>"), "<no>");
    EXPECT_EQ(body("<\\\\if(x<0)\\\\low\\\\endif\\\\>"), "<low>");
}

TEST_F(IfRun, an_elsif_chain_writes_exactly_one_part)
{
    const QByteArray chain =
        "[\\\\IF(x=1)\\\\A\\\\ELSIF(x=2)\\\\B\\\\ELSIF(x=3)\\\\C\\\\ELSE\\\\D\\\\ENDIF\\\\]";
    const char *expected[] = {"[A]", "[B]", "[C]", "[D]"};
    for (int v = 1; v <= 4; ++v) {
        setX(v);
        EXPECT_EQ(body(chain), expected[v - 1]) << v;
    }
    // Without ELSE nothing is written when no condition holds.
    setX(9);
    EXPECT_EQ(body("[\\\\IF(x=1)\\\\A\\\\ELSIF(x=2)\\\\B\\\\ENDIF\\\\]"), "[]");
}

TEST_F(IfRun, a_chain_nested_in_an_elsif_branch_closes_only_itself)
{
    report.CreateVar(QStringLiteral("y"), 5.0);
    const QByteArray t = "[\\\\IF(x=1)\\\\A\\\\ELSIF(x=2)\\\\B(\\\\IF(y=5)\\\\five\\\\ELSIF(y=6)"
                         "\\\\six\\\\ENDIF\\\\)\\\\ELSE\\\\C\\\\ENDIF\\\\]";
    setX(2);
    EXPECT_EQ(body(t), "[B(five)]");
    report.VarByName(QStringLiteral("y"))->SetAsFloat(6);
    EXPECT_EQ(body(t), "[B(six)]");
    setX(3);
    EXPECT_EQ(body(t), "[C]");
    setX(1);
    EXPECT_EQ(body(t), "[A]");
}

TEST_F(IfRun, an_else_part_sees_its_own_condition_after_inner_blocks)
{
    // The inner condition is false; the outer ELSE must still follow the outer one.
    EXPECT_EQ(body("\\\\IF(x=1)\\\\a\\\\IF(x=2)\\\\b\\\\ENDIF\\\\\\\\ELSE\\\\c\\\\ENDIF\\\\"), "a");
    setX(2);
    EXPECT_EQ(body("\\\\IF(x=1)\\\\a\\\\IF(x=2)\\\\b\\\\ENDIF\\\\\\\\ELSE\\\\c\\\\ENDIF\\\\"), "c");
}

TEST_F(IfRun, a_skipped_part_leaves_its_unbalanced_braces)
{
    setX(0);
    // Balanced groups vanish with the text.
    EXPECT_EQ(body("<\\\\IF(x>0)\\\\{\\b bold}{\\i it}\\\\ENDIF\\\\>"), "<>");
    // A part that closes a group and opens another (a cell boundary) keeps both marks.
    EXPECT_EQ(body("{<\\\\IF(x>0)\\\\a}{b\\\\ENDIF\\\\>}"), "{<}{>}");
    // Markup inside the keyword fields is written, run or skipped.
    EXPECT_EQ(body("\\\\{\\b IF(x>0)}\\\\t\\\\{\\i ENDIF}\\\\"), "{\\b }{\\i }");
    const std::string out = body("{\\\\IF(x>0)\\\\{\\b a}}{{\\\\ENDIF\\\\}}");
    EXPECT_EQ(depth(out), 0) << out;
}

TEST_F(IfRun, a_keyword_alone_on_its_line_takes_its_paragraph_mark_along)
{
    EXPECT_EQ(body("a\\par \\\\IF(x>0)\\\\\\par b\\par \\\\ENDIF\\\\\\par c"), "a\\par b\\par c");
    setX(0);
    EXPECT_EQ(body("a\\par \\\\IF(x>0)\\\\\\par b\\par \\\\ENDIF\\\\\\par c"), "a\\par c");
}

TEST_F(IfRun, a_thousand_nested_blocks_run_and_skip)
{
    QByteArray open, close;
    for (int i = 0; i < 1000; ++i) {
        open += "{\\\\IF(x>0)\\\\";
        close += "\\\\ENDIF\\\\}";
    }
    const QByteArray t = open + "deep" + close;
    const std::string ran = body(t);
    EXPECT_EQ(ran, std::string(1000, '{') + "deep" + std::string(1000, '}'));
    setX(0);
    const std::string skipped = body(t);
    EXPECT_EQ(depth(skipped), 0);
    EXPECT_EQ(skipped.find("deep"), std::string::npos);
}

TEST_F(IfRun, the_chain_compiles_to_nested_parts)
{
    // A scan around the chain gives the moment at which the command stream is listed.
    addDataSet(QStringLiteral("D"), {QStringLiteral("1")});
    listOnScan();
    body("\\\\SCAN(D)\\\\\\\\IF(x=1)\\\\A\\\\ELSIF(x=2)\\\\B\\\\ELSE\\\\C\\\\ENDIF\\\\"
         "\\\\ENDSCAN\\\\");
    ASSERT_FALSE(dump.isEmpty());
    QStringList kinds;
    for (const QString &line : dump) {
        const QString kind = line.section(u' ', 1, 1);
        if (kind != QLatin1String("Bloc") && !kind.startsWith(QLatin1String("Field")) &&
            kind != QLatin1String("ExecuteUDF"))
            kinds << kind;
    }
    // condition a, if [A] end-if, if-else [condition b, if [B] end-if, if-else [C] end-if] end-if
    EXPECT_EQ(kinds.join(u' ').toStdString(),
              "Begin Scan ExprBegin ExprEnd If EndIf If ExprBegin ExprEnd If EndIf If EndIf EndIf "
              "ScanSkip EndScan End");
}
