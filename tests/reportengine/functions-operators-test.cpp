// SPDX-License-Identifier: MIT
// Built-in operators: reversed operands, allowed type pairs, results and every operand message.
#include "functions_fixture.h"

using namespace rp;
using rp::test::expectExactThrow;
using rp::test::expectPlain;

namespace {

constexpr int fnAnd = -5, fnOr = -6, fnLtEq = -7, fnGtEq = -8, fnNotEq = -9, fnUMinus = -10,
              fnUPlus = -11, fnNot = -12, fnMult = -13, fnDiv = -14, fnPercent = -15, fnAdd = -16,
              fnSub = -17, fnGt = -18, fnLt = -19, fnEq = -23;

class Operators : public rp::test::FunctionsTest
{
protected:
    long double number(int f, long double l, long double r)
    {
        TRpReportVariable &v = op(f, num(l), num(r));
        EXPECT_EQ(v.DataType(), rpdtNumber);
        return v.AsFloat();
    }
    bool compare(int f, TRpObject *l, TRpObject *r)
    {
        TRpReportVariable &v = op(f, l, r);
        EXPECT_EQ(v.DataType(), rpdtBoolean);
        return v.AsBoolean();
    }
};

TEST_F(Operators, arithmetic_takes_the_left_operand_from_the_second_argument)
{
    EXPECT_EQ(number(fnSub, 10, 4), 6);
    EXPECT_EQ(number(fnAdd, 2, 3), 5);
    EXPECT_EQ(number(fnMult, 6, 7), 42);
    EXPECT_EQ(number(fnDiv, 1, 4), 0.25L);
    EXPECT_EQ(number(fnPercent, 7, 3), 1);
    EXPECT_EQ(number(fnPercent, -7, 3), -1);
    EXPECT_EQ(number(fnPercent, 7, -3), 1);
    EXPECT_EQ(number(fnPercent, 7.5L, 2), 1.5L);
    // By name the operands still arrive right-hand first: SYS_SUB(a, b) is b - a.
    EXPECT_EQ(call(fnSub, {num(4), num(10)}).AsFloat(), 6);
}

TEST_F(Operators, unary_operators)
{
    TRpReportVariable &neg = call(fnUMinus, {num(2.5L)});
    EXPECT_EQ(neg.DataType(), rpdtNumber);
    EXPECT_EQ(neg.AsFloat(), -2.5L);
    EXPECT_EQ(call(fnUPlus, {num(-3)}).AsFloat(), -3);
    TRpReportVariable &no = call(fnNot, {boolean(true)});
    EXPECT_EQ(no.DataType(), rpdtBoolean);
    EXPECT_FALSE(no.AsBoolean());
    EXPECT_TRUE(call(fnNot, {boolean(false)}).AsBoolean());
}

TEST_F(Operators, add_and_subtract_strings_numbers_and_dates)
{
    TRpReportVariable &ab = op(fnAdd, str("a"), str("b"));
    EXPECT_EQ(ab.DataType(), rpdtString);
    EXPECT_EQ(ab.AsString(), QStringLiteral("ab"));

    const TDateTime d = EncodeDate(2024, 2, 28);
    TRpReportVariable &next = op(fnAdd, date(2024, 2, 28), num(1));
    EXPECT_EQ(next.DataType(), rpdtDateTime);
    EXPECT_EQ(next.AsDateTime(), d + 1);
    EXPECT_EQ(op(fnAdd, num(2), date(2024, 2, 28)).AsDateTime(), d + 2);
    EXPECT_EQ(op(fnAdd, date(2024, 2, 28), dateTime(0.5)).AsDateTime(), d + 0.5);

    TRpReportVariable &days = op(fnSub, date(2024, 3, 1), date(2024, 2, 28));
    EXPECT_EQ(days.DataType(), rpdtDateTime);
    EXPECT_EQ(days.AsDateTime(), 2);
    EXPECT_EQ(op(fnSub, date(2024, 3, 1), num(1)).AsDateTime(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(op(fnSub, num(EncodeDate(2024, 3, 1)), date(2024, 2, 28)).AsDateTime(), 2);
}

TEST_F(Operators, today_plus_one_is_tomorrow)
{
    TRpReportVariable &today = call(-43, {});
    TRpReportVariable &tomorrow = op(fnAdd, &today, num(1));
    EXPECT_EQ(tomorrow.DataType(), rpdtDateTime);
    EXPECT_EQ(tomorrow.AsDateTime(), Date() + 1);
}

TEST_F(Operators, logic_needs_booleans)
{
    EXPECT_TRUE(compare(fnAnd, boolean(true), boolean(true)));
    EXPECT_FALSE(compare(fnAnd, boolean(true), boolean(false)));
    EXPECT_TRUE(compare(fnOr, boolean(false), boolean(true)));
    EXPECT_FALSE(compare(fnOr, boolean(false), boolean(false)));
    expectPlain([&] { op(fnAnd, boolean(true), num(1)); },
                withExpr("Operator/operand type mismatch. Operation \"&&\""));
    expectPlain([&] { op(fnOr, str("x"), boolean(true)); },
                withExpr("Operator/operand type mismatch. Operation \"||\""));
}

TEST_F(Operators, comparisons_of_each_type)
{
    EXPECT_TRUE(compare(fnLt, str("B"), str("a"))); // code units, not dictionary order
    EXPECT_FALSE(compare(fnEq, str("a"), str("A")));
    EXPECT_TRUE(compare(fnGt, str("ab"), str("a")));
    EXPECT_TRUE(compare(fnLtEq, num(2), num(2)));
    EXPECT_FALSE(compare(fnGtEq, num(1.5L), num(2)));
    EXPECT_TRUE(compare(fnNotEq, num(1), num(2)));
    EXPECT_TRUE(compare(fnLt, boolean(false), boolean(true)));
    EXPECT_TRUE(compare(fnEq, boolean(true), boolean(true)));
    EXPECT_TRUE(compare(fnGt, date(2024, 1, 2), date(2024, 1, 1)));
    EXPECT_TRUE(compare(fnEq, date(2024, 1, 2), dateTime(EncodeDate(2024, 1, 2))));
}

TEST_F(Operators, division_by_zero_is_caught_before_the_dividend_is_read)
{
    expectPlain([&] { op(fnDiv, num(1), num(0)); }, withExpr("Division by zero. Operation \"/\""));
    expectPlain([&] { op(fnPercent, num(7), num(0)); },
                withExpr("Division by zero. Operation \"%\""));
    // A dividend whose text is no number would fail if it were read.
    auto *bad = static_cast<TRpReportVariable *>(untyped("abc"));
    bad->SetDataType(rpdtNumber);
    expectPlain([&] { op(fnDiv, bad, num(0)); }, withExpr("Division by zero. Operation \"/\""));
    expectExactThrow<EConvertError>([&] { op(fnDiv, bad, num(2)); },
                                    "'abc' is not a valid floating point value");
}

TEST_F(Operators, type_pairs_that_are_refused)
{
    const QString mismatch = QStringLiteral("Operator/operand type mismatch. Operation ");
    expectPlain([&] { op(fnAdd, num(1), str("b")); }, withExpr(mismatch + "\"+\""));
    expectPlain([&] { op(fnAdd, boolean(true), boolean(true)); }, withExpr(mismatch + "\"+\""));
    expectPlain([&] { op(fnSub, str("a"), str("b")); }, withExpr(mismatch + "\"-\""));
    expectPlain([&] { op(fnMult, num(2), date(2024, 1, 1)); }, withExpr(mismatch + "\"*\""));
    expectPlain([&] { op(fnDiv, str("2"), num(1)); }, withExpr(mismatch + "\"/\""));
    expectPlain([&] { op(fnPercent, num(2), boolean(true)); }, withExpr(mismatch + "\"%\""));
    expectPlain([&] { call(fnNot, {num(1)}); }, withExpr(mismatch + "not \"!\""));
    expectPlain([&] { call(fnUMinus, {str("1")}); }, withExpr(mismatch + "unary \"-\""));
    expectPlain([&] { call(fnUPlus, {boolean(true)}); }, withExpr(mismatch + "unary \"+\""));
    expectPlain([&] { op(fnEq, num(1), str("1")); }, withExpr(mismatch + "\"=\""));
    expectPlain([&] { op(fnNotEq, num(1), date(2024, 1, 1)); },
                withExpr(mismatch + "\"not equal\""));
    expectPlain([&] { op(fnLt, str("a"), boolean(true)); }, withExpr(mismatch + "\"<\""));
    expectPlain([&] { op(fnGt, num(1), str("a")); }, withExpr(mismatch + "\">\""));
    expectPlain([&] { op(fnLtEq, num(1), str("a")); }, withExpr(mismatch + "\"<=\""));
    expectPlain([&] { op(fnGtEq, num(1), str("a")); }, withExpr(mismatch + "\">=\""));
}

TEST_F(Operators, operands_without_a_type)
{
    const QString unknown = QStringLiteral("Operand type unknown. Operation ");
    const struct
    {
        int f;
        const char *name;
    } binary[] = {{fnAnd, "\"&&\""}, {fnOr, "\"||\""},     {fnMult, "\"*\""},
                  {fnDiv, "\"/\""},  {fnPercent, "\"%\""}, {fnAdd, "\"+\""},
                  {fnSub, "\"-\""},  {fnEq, "\"=\""},      {fnNotEq, "\"not equal\""},
                  {fnLt, "\"<\""},   {fnGt, "\">\""},      {fnLtEq, "\"<=\""},
                  {fnGtEq, "\">=\""}};
    for (const auto &b : binary) {
        SCOPED_TRACE(b.name);
        // Not a value at all, on either side.
        expectPlain([&] { op(b.f, picture(), num(1)); }, withExpr(unknown + b.name));
        expectPlain([&] { op(b.f, num(1), nullptr); }, withExpr(unknown + b.name));
        // Both untyped: refused as unknown (comparisons test the pair first).
        expectPlain([&] { op(b.f, untyped(), untyped()); }, withExpr(unknown + b.name));
    }
    // Arithmetic reports an untyped side as unknown; comparisons as a mismatch.
    expectPlain([&] { op(fnAdd, num(1), untyped("1")); }, withExpr(unknown + "\"+\""));
    expectPlain([&] { op(fnEq, num(1), untyped("1")); },
                withExpr("Operator/operand type mismatch. Operation \"=\""));
    expectPlain([&] { call(fnNot, {picture()}); }, withExpr(unknown + "not \"!\""));
    expectPlain([&] { call(fnUMinus, {untyped()}); }, withExpr(unknown + "unary \"-\""));
    expectPlain([&] { call(fnUPlus, {nullptr}); }, withExpr(unknown + "unary \"+\""));
}

TEST_F(Operators, variables_are_read_through_their_names)
{
    report.CreateVar("a", 10.0);
    report.CreateVar("s", QStringLiteral("x"));
    EXPECT_EQ(op(fnSub, ref("a"), num(4)).AsFloat(), 6);
    EXPECT_EQ(op(fnAdd, ref("s"), ref("s")).AsString(), QStringLiteral("xx"));
    // A reference to a variable that does not exist fails in the variable layer.
    expectExactThrow<EIOError>([&] { op(fnAdd, ref("nope"), num(1)); },
                               "Get variable: report variable not found: nope");
}

} // namespace
