// SPDX-License-Identifier: MIT
// Built-in assignment, conditions, brackets, declarations, accumulators and IIF with its markers.
#include "functions_fixture.h"
#include "runtime/rpscans.h"

using namespace rp;
using rp::test::expectExactThrow;
using rp::test::expectPlain;

namespace {

constexpr int fnSum = -1, fnCtn = -2, fnCts = -3, fnVar = -4, fnIf = -20, fnWhile = -21,
              fnBrackets = -22, fnSet = -24, fnIif = -62, fnElsIf = -63, fnLet = -65,
              fnIifTest = -66, fnIifTrue = -67, fnIifFalse = -68;

using Control = rp::test::FunctionsTest;

TEST_F(Control, set_and_let_copy_value_and_type)
{
    report.CreateVar("v", QStringLiteral("old"));
    report.CreateVar("w", 2.5);
    call(fnSet, {ref("v"), num(12.5L)});
    EXPECT_EQ(ref("v")->DataType(), rpdtNumber);
    EXPECT_EQ(ref("v")->AsFloat(), 12.5L);
    call(fnSet, {ref("v"), boolean(true)});
    EXPECT_EQ(ref("v")->DataType(), rpdtBoolean);
    EXPECT_TRUE(ref("v")->AsBoolean());
    call(fnSet, {ref("v"), date(2024, 5, 6)});
    EXPECT_EQ(ref("v")->DataType(), rpdtDateTime);
    EXPECT_EQ(ref("v")->AsDateTime(), EncodeDate(2024, 5, 6));
    // v := w: the operands arrive right-hand first.
    call(fnLet, {ref("w"), ref("v")});
    EXPECT_EQ(ref("v")->DataType(), rpdtNumber);
    EXPECT_EQ(ref("v")->AsFloat(), 2.5L);
    op(fnLet, ref("w"), str("text"));
    EXPECT_EQ(ref("w")->DataType(), rpdtString);
    EXPECT_EQ(ref("w")->AsString(), QStringLiteral("text"));
    // The target must exist.
    expectExactThrow<EIOError>(
        [&] {
            call(fnSet, {ref("none"), num(1)});
        },
        "Set variable: report variable not found: none");
}

TEST_F(Control, set_and_let_messages)
{
    report.CreateVar("v", QStringLiteral("keep"));
    const QString use = QStringLiteral("Illegal function use: EXPR");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnSet, {picture(), num(1)});
        },
        use + " - variable expected as a first argument of function \"SET\"");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnSet, {str("v"), num(1)});
        },
        use + " - variable identifier expected as a first argument of function \"SET\"");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnSet, {ref("  "), num(1)});
        },
        use + " - variable identifier expected as a first argument of function \"SET\"");
    expectPlain(
        [&] {
            call(fnSet, {ref("v"), picture()});
        },
        withExpr("Second operand type unknown. Function \"SET\""));
    expectPlain(
        [&] {
            call(fnSet, {ref("v"), untyped("x")});
        },
        withExpr("Operand type unknown. Function \"SET\""));

    const QString expr = QStringLiteral("Illegal expression: EXPR");
    expectExactThrow<EIllegalFunctionUse>(
        [&] { op(fnLet, nullptr, num(1)); },
        expr + " - variable expected as a left argument of operation \":=\"");
    expectExactThrow<EIllegalFunctionUse>(
        [&] { op(fnLet, num(3), num(1)); },
        expr + " - variable identifier expected as a left argument of operation \":=\"");
    expectPlain([&] { op(fnLet, ref("v"), picture()); },
                withExpr("Right argument type unknown. Operation \":=\""));
    expectPlain([&] { op(fnLet, ref("v"), untyped()); },
                withExpr("Right argument type unknown. Operation \":=\""));
    EXPECT_EQ(ref("v")->AsString(), QStringLiteral("keep")); // no check wrote anything
}

TEST_F(Control, conditions_and_brackets)
{
    report.SetTrueValue("Ja");
    report.CreateVar("ja", QStringLiteral("Ja"));
    for (int f : {fnIf, fnWhile, fnElsIf}) {
        SCOPED_TRACE(f);
        TRpReportVariable &r = call(f, {boolean(true)});
        EXPECT_EQ(r.DataType(), rpdtBoolean);
        EXPECT_TRUE(r.AsBoolean());
        EXPECT_FALSE(call(f, {boolean(false)}).AsBoolean());
        EXPECT_TRUE(call(f, {ref("ja")}).AsBoolean()); // the report's true text
        EXPECT_FALSE(call(f, {str("maybe")}).AsBoolean());
    }
    TRpReportVariable &b = call(fnBrackets, {num(2.5L)});
    EXPECT_EQ(b.DataType(), rpdtString);
    EXPECT_EQ(b.AsString(), QStringLiteral("2.5"));
    expectExactThrow<EIllegalFunctionUse>(
        [&] { call(fnBrackets, {picture()}); },
        "Illegal brackets use in expression: EXPR - result type udfrTRpReportVariable expected "
        "inside the brackets");
}

TEST_F(Control, var_declares_missing_variables_as_empty_strings)
{
    report.CreateVar("a", 5.0);
    call(fnVar, {ref("a"), ref("b"), ref("c")});
    EXPECT_EQ(ref("a")->AsFloat(), 5);
    EXPECT_EQ(ref("b")->DataType(), rpdtString);
    EXPECT_EQ(ref("b")->AsString(), QString());
    EXPECT_GT(report.GetVarNumber("c"), 0);
    const QString msg = QStringLiteral(
        "Illegal function use: EXPR - VAR function may be used only with variable identifiers");
    expectExactThrow<EIllegalFunctionUse>([&] { call(fnVar, {ref("d"), num(1)}); }, msg);
    expectExactThrow<EIllegalFunctionUse>([&] { call(fnVar, {ref("d"), ref(" ")}); }, msg);
    EXPECT_EQ(report.GetVarNumber("d"), 0); // refused before declaring anything
}

TEST_F(Control, accumulators_restart_on_the_first_pass_of_their_block)
{
    report.FScs = std::make_unique<TRpScans>(&report);
    report.FScs->EnterScan(0, 1, rplScan, QString(), false, false, false, nullptr);
    report.FScs->SetCurrentScan(1);
    TRpScanInfo *block = report.FScs->GetCurrentScanInfo();
    ASSERT_NE(block, nullptr);

    call(fnSum, {num(2), ref("total")}); // first pass: created, reset, added
    block->FFirstPass = false;
    call(fnSum, {num(3), ref("total")});
    EXPECT_EQ(ref("total")->AsFloat(), 5);
    block->FFirstPass = true; // a new entry into the block
    call(fnSum, {num(4), ref("total")});
    EXPECT_EQ(ref("total")->AsFloat(), 4);

    // NORESET as the executor passes it: a local false.
    call(fnSum, {num(1), ref("total"), boolean(false)});
    EXPECT_EQ(ref("total")->AsFloat(), 5);

    block->FFirstPass = false;
    report.CreateVar("empty", QString());
    call(fnCtn, {num(0), ref("count")});
    call(fnCtn, {num(-1), ref("count")});
    call(fnCtn, {ref("empty"), ref("count")});
    EXPECT_EQ(ref("count")->DataType(), rpdtNumber);
    EXPECT_EQ(ref("count")->AsFloat(), 1);
    call(fnCts, {str(" \t"), ref("texts")});
    call(fnCts, {str(" a "), ref("texts")});
    call(fnCts, {num(0), ref("texts")});
    EXPECT_EQ(ref("texts")->AsFloat(), 2);
}

TEST_F(Control, accumulator_messages)
{
    const QString use = QStringLiteral("Illegal function use: EXPR");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnSum, {ref("nope"), ref("t")});
        },
        use + " - report variable nope not found");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnCts, {num(1), picture()});
        },
        use + " - variable expected as a second argument of function \"CTS\"");
    expectExactThrow<EIllegalFunctionUse>(
        [&] {
            call(fnCtn, {num(1), num(2)});
        },
        use + " - variable identifier expected as a second argument of function \"CTN\"");
}

TEST_F(Control, iif_picks_a_branch_and_keeps_its_type)
{
    TRpReportVariable &t = call(fnIifTest, {boolean(true)});
    EXPECT_EQ(t.DataType(), rpdtBoolean);
    EXPECT_TRUE(t.AsBoolean());
    EXPECT_FALSE(call(fnIifTest, {boolean(false)}).AsBoolean());

    TRpReportVariable &a = call(fnIif, {boolean(true), num(1), str("no")});
    EXPECT_EQ(a.DataType(), rpdtNumber);
    EXPECT_EQ(a.AsFloat(), 1);
    TRpReportVariable &b = call(fnIif, {boolean(false), num(1), str("no")});
    EXPECT_EQ(b.DataType(), rpdtString);
    EXPECT_EQ(b.AsString(), QStringLiteral("no"));
    // A branch passed over arrives as an empty entry.
    TRpReportVariable &c = call(fnIif, {boolean(true), nullptr, num(0)});
    EXPECT_EQ(c.DataType(), rpdtUnknown);
    EXPECT_EQ(c.AsString(), QString());
    EXPECT_EQ(call(fnIif, {boolean(false), num(1), untyped("raw")}).AsString(),
              QStringLiteral("raw"));

    // The branch markers leave their argument alone.
    TRpObject *branch = num(7);
    call(fnIifTrue, {branch});
    call(fnIifFalse, {branch});
    EXPECT_EQ(static_cast<TRpReportVariable *>(branch)->AsFloat(), 7);
}

TEST_F(Control, iif_messages)
{
    expectPlain([&] { call(fnIifTest, {picture()}); },
                withExpr("First operand type unknown. Function \"IIF\""));
    expectPlain([&] { call(fnIifTest, {num(1)}); },
                withExpr("First operand of boolean type expected in function \"IIF\""));
    expectPlain(
        [&] {
            call(fnIif, {boolean(true), picture(), num(0)});
        },
        withExpr("Second operand type unknown. Function \"IIF\""));
    expectPlain(
        [&] {
            call(fnIif, {boolean(false), num(0), picture()});
        },
        withExpr("Third operand type unknown. Function \"IIF\""));
}

} // namespace
