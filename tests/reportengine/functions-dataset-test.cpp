// SPDX-License-Identifier: MIT
// Built-in data-set functions and data-set fields as operands: aliases, navigation, messages.
#include "functions_fixture.h"
#include <reportengine/rpmemorydataset.h>

using namespace rp;
using rp::test::expectExactThrow;
using rp::test::expectPlain;

namespace {

constexpr int fnSum = -1, fnCtn = -2, fnCts = -3, fnAdd = -16, fnIf = -20, fnEof = -33, fnBof = -34,
              fnNext = -35, fnPrior = -36, fnFirst = -37, fnLast = -38, fnUpper = -29, fnYear = -51,
              fnEq = -23;

class DataSets : public rp::test::FunctionsTest
{
protected:
    TRpMemoryDataSet orders;
    TRpMemoryDataSet x;
    TRpField *qty = nullptr;
    TRpField *price = nullptr;
    TRpField *name = nullptr;
    TRpField *paid = nullptr;
    TRpField *day = nullptr;
    TRpField *blob = nullptr;

    void SetUp() override
    {
        orders.SetName("ORDERS");
        qty = orders.DefineField("QTY", TRpFieldType::ftInteger);
        price = orders.DefineField("PRICE", TRpFieldType::ftCurrency);
        name = orders.DefineField("NAME", TRpFieldType::ftString, 20);
        paid = orders.DefineField("PAID", TRpFieldType::ftBoolean);
        day = orders.DefineField("DAY", TRpFieldType::ftDate);
        blob = orders.DefineField("DATA", TRpFieldType::ftBlob);
        orders.AppendRecord({2, 1.5, "pen", true, QDate(2024, 5, 1), QByteArray("b")});
        orders.AppendRecord({0, 10.25, "  ", false, QDate(2023, 1, 9), QByteArray()});
        orders.AppendRecord({5, 0.0, "ink", true, QDate(2022, 7, 3), QByteArray()});
        orders.First();
        x.SetName("X");
        x.DefineField("A", TRpFieldType::ftString);
        // The run's data sets, as a run sets them up.
        report.FDFiles = {&orders, &x};
        report.FInDList = {QStringLiteral("ORDERS=0"), QStringLiteral("X=1")};
        report.FInDListOneCharExists = true;
    }

    bool flag(int f, const QString &alias)
    {
        TRpReportVariable &v = call(f, {ref(alias)});
        EXPECT_EQ(v.DataType(), rpdtBoolean);
        return v.AsBoolean();
    }
};

TEST_F(DataSets, navigation_through_aliases)
{
    EXPECT_TRUE(flag(fnBof, "orders"));
    EXPECT_FALSE(flag(fnEof, "ORDERS"));
    call(fnNext, {ref("Orders")});
    EXPECT_EQ(name->AsString(), QStringLiteral("  "));
    call(fnLast, {ref("A")}); // the first data set by its letter
    EXPECT_EQ(name->AsString(), QStringLiteral("ink"));
    call(fnNext, {ref("orders")});
    EXPECT_TRUE(flag(fnEof, "orders"));
    call(fnPrior, {ref("orders")});
    call(fnFirst, {ref("orders")});
    EXPECT_EQ(qty->AsInteger(), 2);
    // X is a one-character name: it names the second data set, not position 23.
    EXPECT_TRUE(flag(fnEof, "x"));
    EXPECT_TRUE(flag(fnBof, "B"));
}

TEST_F(DataSets, dataset_argument_messages)
{
    const QString illegal = QStringLiteral("Illegal function use: EXPR");
    const struct
    {
        int f;
        const char *name;
    } cases[] = {{fnEof, "EOF"},     {fnBof, "BOF"},     {fnNext, "NEXT"},
                 {fnPrior, "PRIOR"}, {fnFirst, "FIRST"}, {fnLast, "LAST"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = u'"' + QLatin1String(c.name) + u'"';
        expectExactThrow<EIllegalFunctionUse>(
            [&] { call(c.f, {qty}); },
            illegal + " - dataset identifier expected as argument of function " + name);
        expectExactThrow<EIllegalFunctionUse>(
            [&] { call(c.f, {str("ORDERS")}); },
            illegal + " - dataset identifier expected as a first argument of function " + name);
        expectExactThrow<EIllegalFunctionUse>(
            [&] { call(c.f, {ref(" ")}); },
            illegal + " - dataset identifier expected as a first argument of function " + name);
        expectExactThrow<EIllegalFunctionUse>([&] { call(c.f, {ref("Y")}); },
                                              illegal + " - dataset alias not found: Y");
    }
    expectExactThrow<EIllegalFunctionUse>([&] { call(fnEof, {ref("Customers")}); },
                                          illegal + " - dataset alias not found: Customers");
    EXPECT_TRUE(orders.Bof()); // nothing moved
}

TEST_F(DataSets, fields_as_typed_operands)
{
    TRpReportVariable &sum = op(fnAdd, qty, price);
    EXPECT_EQ(sum.DataType(), rpdtNumber);
    EXPECT_EQ(sum.AsFloat(), 3.5L);
    EXPECT_EQ(call(fnUpper, {name}).AsString(), QStringLiteral("PEN"));
    EXPECT_EQ(call(fnYear, {day}).AsFloat(), 2024);
    EXPECT_TRUE(op(fnEq, paid, boolean(true)).AsBoolean());
    // A blob has no report type.
    expectPlain([&] { op(fnAdd, blob, str("x")); },
                withExpr("Operand type unknown. Operation \"+\""));
    expectPlain([&] { op(fnEq, blob, str("x")); },
                withExpr("Operator/operand type mismatch. Operation \"=\""));
}

TEST_F(DataSets, conditions_on_fields_are_false_at_the_end)
{
    EXPECT_TRUE(call(fnIf, {paid}).AsBoolean());
    orders.Last();
    orders.Next();
    ASSERT_TRUE(orders.Eof());
    EXPECT_FALSE(call(fnIf, {paid}).AsBoolean());
}

TEST_F(DataSets, accumulators_over_records)
{
    for (orders.First(); !orders.Eof(); orders.Next()) {
        call(fnSum, {price, ref("total"), ref("NORESET")});
        call(fnCtn, {qty, ref("nonzero"), ref("noreset")});
        call(fnCts, {name, ref("named"), ref(" NoReset ")});
    }
    // At the end nothing is added.
    call(fnSum, {price, ref("total"), ref("NORESET")});
    TRpReportVariable *total = ref("total");
    EXPECT_EQ(total->DataType(), rpdtNumber);
    EXPECT_EQ(total->AsFloat(), 11.75L);
    EXPECT_EQ(ref("nonzero")->AsFloat(), 2);
    EXPECT_EQ(ref("named")->AsFloat(), 2);
}

} // namespace
