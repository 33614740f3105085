// SPDX-License-Identifier: MIT
// User-defined functions and the built-in table: name rules, lookups, argument counts,
// the user branch of ExecUDF and argument conversion.
#include "compiler/rpfunctable.h"
#include "rptestutil.h"
#include <reportengine/rpfunc.h>
#include <reportengine/rpmemorydataset.h>

#include <gtest/gtest.h>

using namespace rp;
using rptest::expectThrowMsg;
using rptest::TestReport;

TEST(udf_names, legal_and_illegal_names)
{
    TRpUDFList list;
    TRpUDF *f = list.Functions().Add();
    for (const char *name : {"Total_2", "_x", "abc", "Z"}) {
        f->SetName(name);
        EXPECT_EQ(f->Name(), name);
    }
    for (const char *name : {"2x", "a-b", "a b", "x.y", "\u00e9t\u00e9"}) {
        const QString n = QString::fromUtf8(name);
        expectThrowMsg<EIllegalFunctionUse>([&] { f->SetName(n); }, "Illegal function name " + n);
        EXPECT_EQ(f->Name(), "Z") << "a refused name is not stored";
    }
    EXPECT_TRUE(IsLegalUDFName(""));
}

TEST(udf_names, duplicates_are_found_ignoring_case_and_blanks)
{
    TRpUDFList list;
    TRpUDF *a = list.Functions().Add();
    TRpUDF *b = list.Functions().Add();
    a->SetName("  abc ");
    EXPECT_EQ(a->Name(), "abc") << "stored trimmed";
    EXPECT_EQ(list.FindFunction(" ABC  "), 0);
    EXPECT_EQ(list.FindFunction("abd"), -1);
    expectThrowMsg<EIllegalFunctionUse>([&] { b->SetName("ABC"); },
                                        "User defined function with name ABC already exists");
    // The lookup also finds the item itself: a change of case only is refused.
    expectThrowMsg<EIllegalFunctionUse>([&] { a->SetName("ABC"); },
                                        "User defined function with name ABC already exists");
    a->SetName("abc"); // the exact current name is no change
    b->SetName("Other");
    EXPECT_EQ(list.FindFunction("other"), 1);
    EXPECT_EQ(b->DisplayName(), "Other");
    EXPECT_EQ(list.Functions().Add()->DisplayName(), "TRpUDF");
}

TEST(udf_items, argument_counts_stay_ordered)
{
    TRpUDFList list;
    TRpUDF *f = list.Functions().Add();
    EXPECT_EQ(f->ResultType(), udfrTRpReportVariable);
    f->SetArgMinCount(2);
    EXPECT_EQ(f->ArgMaxCount(), 2) << "raising the minimum raises the maximum";
    f->SetArgMaxCount(1);
    EXPECT_EQ(f->ArgMinCount(), 1);
    EXPECT_EQ(f->ArgMaxCount(), 1);
    f->SetArgMaxCount(5);
    f->SetArgMinCount(3);
    EXPECT_EQ(f->ArgMinCount(), 3);
    EXPECT_EQ(f->ArgMaxCount(), 5);
}

TEST(udf_items, assigning_copies_without_name_checks)
{
    TRpUDFList source;
    TRpUDF *f = source.Functions().Add();
    f->SetName("Twice");
    f->SetArgMaxCount(2);
    f->SetResultType(udfrTMemoryStream);
    int calls = 0;
    f->OnCalculate = [&](QObject *, TRpUDFArgs &, int, TRpObject *) { ++calls; };

    TRpUDFList copy;
    copy.SetFunctions(source.Functions());
    ASSERT_EQ(copy.Count(), 1);
    TRpUDF *c = copy.Functions()[0];
    EXPECT_EQ(c->Name(), "Twice");
    EXPECT_EQ(c->ArgMaxCount(), 2);
    EXPECT_EQ(c->ResultType(), udfrTMemoryStream);
    EXPECT_EQ(c->Collection()->Owner(), &copy);
    TRpUDFArgs none;
    c->OnCalculate(nullptr, none, 0, nullptr);
    EXPECT_EQ(calls, 1);

    TRpUDF *d = copy.Functions().Add();
    d->Assign(*c); // a duplicate name is copied as it is
    EXPECT_EQ(d->Name(), "Twice");
}

TEST(exec_udf, user_function_gets_sender_arguments_and_result)
{
    TestReport r;
    r.CreateVar("price", 4.0);
    TRpUDFList list;
    TRpUDF *dbl = list.Functions().Add();
    dbl->SetName("DOUBLE");
    dbl->OnCalculate = [&](QObject *sender, TRpUDFArgs &args, int argCount, TRpObject *result) {
        EXPECT_EQ(sender, &r);
        EXPECT_EQ(argCount, 2);
        auto *out = dynamic_cast<TRpReportVariable *>(result);
        ASSERT_NE(out, nullptr);
        long double sum = 0;
        for (TRpObject *a : args)
            sum += dynamic_cast<TRpReportVariable *>(a)->AsFloat();
        out->SetAsFloat(2 * sum);
    };
    list.Functions().Add()->SetName("NOHANDLER");
    r.SetUDFList(&list);

    TRpReportVariable byName(&r);
    byName.SetVarName("PRICE");
    TRpReportVariable constant(&r);
    constant.SetLocal(true);
    constant.SetAsFloat(1);
    TRpUDFArgs args{&byName, &constant};
    TRpReportVariable result(&r);
    result.SetLocal(true);
    r.ExecUDF(0, args, 2, &result, "DOUBLE(price,1)");
    EXPECT_EQ(result.ValueText(), "10");

    TRpReportVariable empty(&r);
    empty.SetLocal(true);
    r.ExecUDF(1, args, 2, &empty, "NOHANDLER(price,1)");
    EXPECT_EQ(empty.AsString(), "") << "without a handler the result stays empty";
}

TEST(exec_udf, unknown_variable_arguments_fail_before_the_handler)
{
    TestReport r;
    TRpUDFList list;
    TRpUDF *f = list.Functions().Add();
    bool called = false;
    f->OnCalculate = [&](QObject *, TRpUDFArgs &, int, TRpObject *) { called = true; };
    r.SetUDFList(&list);
    TRpReportVariable missing(&r);
    missing.SetVarName("qty");
    TRpUDFArgs args{&missing};
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { r.ExecUDF(0, args, 1, nullptr, "F(qty)"); },
        "Illegal function use: F(qty) - report variable qty not found");
    EXPECT_FALSE(called);

    // Built-ins that take a variable check it the same way.
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { r.ExecUDF(-2, args, 1, nullptr, "CTN(qty,1)"); },
        "Illegal function use: CTN(qty,1) - report variable qty not found");
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { r.ExecUDF(-22, args, 1, nullptr, "(qty)"); },
        "Illegal expression: (qty) - report variable qty not found");
    TRpMemoryStream notAVariable;
    TRpUDFArgs streamArg{&notAVariable};
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { r.ExecUDF(-22, streamArg, 1, nullptr, "(F())"); },
        "Illegal brackets use in expression: (F()) - result type udfrTRpReportVariable "
        "expected inside the brackets");
}

TEST(exec_udf, errors_of_the_handler_pass_through)
{
    TestReport r;
    TRpUDFList list;
    list.Functions().Add()->OnCalculate = [](QObject *, TRpUDFArgs &, int, TRpObject *) {
        throw std::logic_error("handler failed");
    };
    r.SetUDFList(&list);
    TRpUDFArgs none;
    EXPECT_THROW(r.ExecUDF(0, none, 0, nullptr, "F()"), std::logic_error);
}

TEST(udf_arguments, fields_and_variables_convert_to_each_type)
{
    TestReport r;
    TRpMemoryDataSet ds;
    TRpField *big = ds.DefineField("BIG", TRpFieldType::ftLargeint);
    TRpField *money = ds.DefineField("MONEY", TRpFieldType::ftCurrency);
    TRpField *flag = ds.DefineField("FLAG", TRpFieldType::ftBoolean);
    TRpField *when = ds.DefineField("WHEN", TRpFieldType::ftDate);
    ds.AppendRecord({QVariant(qint64(5000000000)), QVariant(12.34567), QVariant(true),
                     QVariant(QDate(2023, 10, 19))});

    TRpReportVariable v(&r);
    v.SetLocal(true);
    UDFArg2Var(big, v, rpdtNumber);
    EXPECT_EQ(v.ValueText(), "5000000000") << "large integers keep all their digits";
    EXPECT_EQ(v.DataType(), rpdtNumber);
    UDFArg2Var(money, v, rpdtNumber);
    EXPECT_EQ(v.ValueText(), "12.3457");
    UDFArg2Var(flag, v, rpdtBoolean);
    EXPECT_EQ(v.ValueText(), "True");
    UDFArg2Var(when, v, rpdtDateTime);
    EXPECT_EQ(v.ValueText(), "{2023-10-19,00:00:00:000}");
    UDFArg2Var(big, v, rpdtString);
    EXPECT_EQ(v.ValueText(), "5000000000");
    EXPECT_EQ(v.DataType(), rpdtString);

    UDFArg2Var(big, v, rpdtUnknown);
    EXPECT_EQ(v.DataType(), rpdtString) << "Unknown copies nothing";
    TRpPicture picture;
    UDFArg2Var(&picture, v, rpdtNumber);
    EXPECT_EQ(v.DataType(), rpdtString) << "other classes copy nothing";

    r.CreateVar("n", 2.5);
    TRpReportVariable byName(&r);
    byName.SetVarName("n");
    UDFArg2Var(&byName, v, rpdtNumber);
    EXPECT_EQ(v.ValueText(), "2.5");
    UDFArg2Var(&byName, v, rpdtString);
    EXPECT_EQ(v.ValueText(), byName.AsString());
}

TEST(function_table, numbers_names_and_counts)
{
    ASSERT_EQ(RpBaseFunctionsArr.size(), 68u);
    for (const char *name : {"sum", "Sum", "SUM", "  sum "})
        EXPECT_EQ(BaseFunctionNumber(name), -1) << name;
    EXPECT_EQ(BaseFunctionNumber(""), -22) << "the empty name is the bracket row";
    EXPECT_EQ(BaseFunctionNumber("sys_iif_false"), -68);
    EXPECT_EQ(BaseFunctionNumber("NOSUCH"), 0);

    const TRpBaseFunctionIDs *now = BaseFunctionById(BaseFunctionNumber("NOW"));
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->argmin, 0);
    EXPECT_EQ(now->argmax, 0);
    const TRpBaseFunctionIDs *var = BaseFunctionById(-4);
    EXPECT_STREQ(var->name, "VAR");
    EXPECT_EQ(var->argmax, 10000);
    EXPECT_EQ(BaseFunctionById(-1)->argmin, 2);
    EXPECT_EQ(BaseFunctionById(0), nullptr);
    EXPECT_EQ(BaseFunctionById(-69), nullptr);

    int nil = 0;
    for (const TRpBaseFunctionIDs &row : RpBaseFunctionsArr) {
        EXPECT_LE(row.ResultType, udfrTRpReportVariable);
        nil += row.ResultType == udfrNil;
        if (row.id != -4)
            EXPECT_LE(row.argmax, 3) << row.name;
    }
    EXPECT_EQ(nil, 10) << "SUM CTN CTS VAR SET NEXT PRIOR FIRST LAST SYS_LET";
    EXPECT_EQ(BaseFunctionResultType(-24), udfrNil);
    EXPECT_EQ(BaseFunctionResultType(-25), udfrTRpReportVariable);
    EXPECT_EQ(BaseFunctionResultType(5), udfrNil);
}
