// SPDX-License-Identifier: MIT
// Report variables: stored forms, locale conversions, handles, renaming, streamed types, errors.
#include "rptestutil.h"
#include <reportengine/rpbasereport.h>
#include <reportengine/rpfunc.h>

#include <QLocale>

#include <gtest/gtest.h>

using namespace rp;
using rptest::expectThrowMsg;
using rptest::TestReport;

namespace {

QLocale CommaLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

} // namespace

TEST(variables, stored_lines_split_at_first_equals_and_trim_the_name)
{
    TestReport r;
    r.CreateVar("x", "a=b");
    r.CreateVar("  Total ", 5.5);
    EXPECT_EQ(r.VarList().Lines(), QStringList({"x=a=b", "Total=5.5"}));
    EXPECT_EQ(r.VarByName("x")->AsString(), "a=b");
    EXPECT_EQ(r.GetVarNumber("TOTAL"), 2);
    EXPECT_EQ(r.GetVarNumber(" Total "), 0) << "the looked-up name is not trimmed";
    EXPECT_EQ(r.GetVarNumber(""), 0);
    EXPECT_EQ(r.GetVarByNumber(2), "5.5");
    EXPECT_EQ(r.GetVarTypeByNumber(2), rpdtNumber);
    EXPECT_EQ(r.GetVarByNumber(3), "");
    EXPECT_EQ(r.GetVarTypeByNumber(0), rpdtUnknown);
}

TEST(variables, existence_check_uses_the_name_as_given)
{
    TestReport r;
    r.CreateVar("A", "1");
    // With blanks the given name matches nothing, so a second line A is added.
    r.CreateVar(" A ", "2");
    EXPECT_EQ(r.VarList().Lines(), QStringList({"A=1", "A=2"}));
    EXPECT_EQ(r.VarByName("a")->AsString(), "1") << "lookup finds the first line";
    expectThrowMsg<EIOError>([&] { r.CreateVar("a", true); },
                             "Can't add report variable a - variable already exists");
}

TEST(variables, lines_without_a_name_are_never_found)
{
    TestReport r;
    TRpVarList list;
    list.Add("=nameless");
    list.Add("novalue");
    list.Add("k=v", std::make_unique<TRpVarListObject>(rpdtString));
    r.SetVarList(list);
    EXPECT_EQ(r.GetVarNumber(""), 0);
    EXPECT_EQ(r.GetVarNumber("novalue"), 0);
    EXPECT_EQ(r.GetVarNumber("K"), 3);
    EXPECT_EQ(r.GetVarByNumber(1), "");
    EXPECT_EQ(r.GetVarTypeByNumber(1), rpdtUnknown);
    EXPECT_EQ(r.GetVarTypeByNumber(3), rpdtString);
}

TEST(variables, numbers_are_stored_with_a_point_and_shown_in_the_locale)
{
    TestReport r;
    r.SetLocale(CommaLocale());
    r.CreateVar(" Total ", 5.5);
    r.CreateVar("ext", static_cast<long double>(2.25L));
    r.CreateVar("big", 1e20);
    r.CreateVar("third", 1.0 / 3.0);
    r.CreateVar("whole", 42.0);
    EXPECT_EQ(r.VarList().Lines(), QStringList({"Total=5.5", "ext=2.25", "big=1E20",
                                                "third=0.333333333333333", "whole=42"}));
    TRpReportVariable *v = r.VarByName("Total");
    EXPECT_EQ(v->AsString(), "5,5");
    EXPECT_DOUBLE_EQ(static_cast<double>(v->AsFloat()), 5.5);

    v->SetAsFloat(-0.125L);
    EXPECT_EQ(r.VarList().Strings(0), "Total=-0.125");
    EXPECT_EQ(v->AsString(), "-0,125");
    EXPECT_EQ(v->DataType(), rpdtNumber);

    v->SetAsInteger(-9000000000LL);
    EXPECT_EQ(r.VarList().Strings(0), "Total=-9000000000");
    EXPECT_EQ(v->AsInteger(), -9000000000LL);
}

TEST(variables, number_conversions_in_the_point_locale)
{
    TestReport r;
    r.SetLocale(QLocale::c());
    r.CreateVar("n", 5.5);
    EXPECT_EQ(r.VarByName("n")->AsString(), "5.5");
    EXPECT_DOUBLE_EQ(static_cast<double>(r.VarByName("n")->AsFloat()), 5.5);
}

TEST(variables, blank_numbers_read_as_zero_and_bad_ones_fail)
{
    TestReport r;
    r.CreateVar("blank", "  ");
    r.CreateVar("half", "2.5");
    r.CreateVar("word", "abc");
    EXPECT_EQ(r.VarByName("blank")->AsFloat(), 0);
    EXPECT_EQ(r.VarByName("blank")->AsInteger(), 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(r.VarByName("half")->AsFloat()), 2.5);
    EXPECT_THROW(r.VarByName("half")->AsInteger(), EConvertError);
    EXPECT_THROW(r.VarByName("word")->AsFloat(), EConvertError);
}

TEST(variables, writing_through_the_handle_takes_its_spelling_and_type)
{
    TestReport r;
    r.CreateVar("Total", 5.5);
    r.VarByName("TOTAL")->SetAsString("7");
    EXPECT_EQ(r.VarList().Strings(0), "TOTAL=7");
    EXPECT_EQ(r.GetVarTypeByNumber(1), rpdtString);
    EXPECT_EQ(r.VarByName("total")->DataTypeText(), "String");

    r.VarByName("total")->SetDataType(rpdtNumber);
    EXPECT_EQ(r.VarList().Strings(0), "TOTAL=7") << "changing the type keeps the line";
    EXPECT_EQ(r.VarByName("total")->DataTypeNumber(), 1);
}

TEST(variables, booleans_use_the_true_and_false_texts)
{
    TestReport r;
    r.SetTrueValue("Si");
    r.SetFalseValue("Si");
    r.CreateVar("b", true);
    EXPECT_EQ(r.VarList().Strings(0), "b=Si") << "CreateVar stores the texts as they stand";
    r.VarByName("b")->SetAsBoolean(true);
    EXPECT_EQ(r.VarList().Strings(0), "b=True") << "equal texts could not be read back";
    r.VarByName("b")->SetAsBoolean(false);
    EXPECT_EQ(r.VarList().Strings(0), "b=False");

    r.SetTrueValue("Vero");
    r.SetFalseValue("Falso");
    r.VarByName("b")->SetAsBoolean(false);
    EXPECT_EQ(r.VarList().Strings(0), "b=Falso");
    EXPECT_EQ(r.GetVarTypeByNumber(1), rpdtBoolean);

    struct Case
    {
        const char *text;
        bool expected;
    };
    for (const Case &c :
         {Case{"true", true}, Case{"TRUE", true}, Case{"tRuE", true}, Case{"Vero", true},
          Case{"vero", false}, Case{"Si", false}, Case{"False", false}, Case{"", false}}) {
        r.VarByName("b")->SetAsString(c.text);
        EXPECT_EQ(r.VarByName("b")->AsBoolean(), c.expected) << c.text;
    }
}

TEST(variables, dates_are_stored_as_brace_texts)
{
    TestReport r;
    const TDateTime day = EncodeDate(2023, 10, 19);
    const TDateTime moment = day + EncodeTime(13, 23, 56, 7);
    r.CreateVar("d", moment, true);
    r.CreateVar("dt", moment, false);
    EXPECT_EQ(r.VarList().Lines(), QStringList({"d={2023-10-19}", "dt={2023-10-19,13:23:56:007}"}));

    TRpReportVariable *d = r.VarByName("d");
    EXPECT_DOUBLE_EQ(d->AsDate(), day);
    EXPECT_DOUBLE_EQ(d->AsDateTime(), day);
    EXPECT_EQ(d->AsString(), DateToStr(day, r.FmtSett));

    TRpReportVariable *dt = r.VarByName("dt");
    EXPECT_NEAR(dt->AsDateTime(), moment, 1e-9);
    EXPECT_DOUBLE_EQ(dt->AsDate(), day);
    EXPECT_EQ(dt->AsString(), DateTimeToStr(dt->AsDateTime(), r.FmtSett));

    dt->SetAsDate(moment);
    EXPECT_EQ(r.VarList().Strings(1), "dt={2023-10-19}");
    dt->SetAsDateTime(day);
    EXPECT_EQ(r.VarList().Strings(1), "dt={2023-10-19,00:00:00:000}");
    EXPECT_EQ(r.GetVarTypeByNumber(2), rpdtDateTime);
}

TEST(variables, date_text_decoding)
{
    EXPECT_EQ(DateToVarStr(EncodeDate(987, 1, 2)), "{0987-01-02}");
    EXPECT_DOUBLE_EQ(VarStrToDateTime("{2023-10-19;13:23:56:000}"), EncodeDate(2023, 10, 19))
        << "without the comma the time is not read";
    EXPECT_DOUBLE_EQ(VarStrToDateTime("{2023-10-19,13:23:56:000}x"), EncodeDate(2023, 10, 19))
        << "only exactly 25 characters carry a time";
    // Before the epoch the day counts back and the time forward.
    const TDateTime old = VarStrToDateTime("{1850-06-01,06:00:00:000}");
    EXPECT_EQ(DateTimeToVarStr(old), "{1850-06-01,06:00:00:000}");

    expectThrowMsg<std::runtime_error>([] { VarStrToDate("2023-10-19"); },
                                       "2023-10-19 is not a valid date value");
    expectThrowMsg<std::runtime_error>([] { VarStrToDateTime("{2023-10}"); },
                                       "{2023-10} is not a valid datetime value");
    EXPECT_THROW(VarStrToDate("{2023-13-19}"), EConvertError);
    EXPECT_THROW(VarStrToDate("{20x3-10-19}"), EConvertError);
}

TEST(variables, date_variables_read_in_a_comma_locale)
{
    TestReport r;
    r.SetLocale(QStringLiteral("de_DE"));
    r.CreateVar("d", EncodeDate(2023, 10, 19), true);
    EXPECT_EQ(r.VarByName("d")->AsString(), "19.10.2023");
}

TEST(variables, local_handles_never_touch_the_list)
{
    TestReport r;
    r.SetTrueValue("Ja");
    r.CreateVar("x", "1");
    TRpReportVariable tmp(&r);
    EXPECT_FALSE(tmp.Local());
    tmp.SetLocal(true);
    tmp.SetVarName("x");
    tmp.SetAsString("Ja");
    EXPECT_TRUE(tmp.AsBoolean()) << "a local value still uses its owner's true text";
    EXPECT_EQ(tmp.DataType(), rpdtString);
    EXPECT_EQ(r.VarList().Lines(), QStringList({"x=1"}));
    tmp.ChangeVarName("y");
    EXPECT_EQ(tmp.Name(), "y");
    EXPECT_EQ(r.VarList().Lines(), QStringList({"x=1"}));

    tmp.SetLocal(false);
    tmp.SetLocal(true);
    EXPECT_EQ(tmp.ValueText(), "") << "switching clears the local value";
    EXPECT_EQ(tmp.DataType(), rpdtUnknown);

    TRpReportVariable free;
    EXPECT_TRUE(free.Local());
    free.SetAsBoolean(true);
    EXPECT_EQ(free.ValueText(), "True");
}

TEST(variables, renaming)
{
    TestReport r;
    r.CreateVar("a", "1");
    r.CreateVar("b", "2");
    TRpReportVariable *h = r.VarByName("a");
    h->ChangeVarName("c");
    EXPECT_EQ(h->Name(), "c");
    EXPECT_EQ(r.VarList().Lines(), QStringList({"c=1", "b=2"}));
    EXPECT_EQ(r.GetVarTypeByNumber(1), rpdtString);
}

TEST(variables, every_failure_leaves_the_list_as_it_was)
{
    TestReport r;
    r.CreateVar("Total", 1.5);
    r.CreateVar("Name", "x");
    const QStringList before = r.VarList().Lines();
    const QByteArray types = r.WriteVarDataTypes();
    auto unchanged = [&] {
        EXPECT_EQ(r.VarList().Lines(), before);
        EXPECT_EQ(r.WriteVarDataTypes(), types);
    };

    expectThrowMsg<EIOError>([&] { r.CreateVar("TOTAL", "y"); },
                             "Can't add report variable TOTAL - variable already exists");
    unchanged();
    expectThrowMsg<EIOError>([&] { r.CreateVar("name", 2.0); },
                             "Can't add report variable name - variable already exists");
    unchanged();
    expectThrowMsg<EIOError>([&] { r.CreateVar("name", EncodeDate(2020, 1, 1), true); },
                             "Can't add report variable name - variable already exists");
    unchanged();
    expectThrowMsg<EIOError>([&] { r.VarByName("missing")->AsString(); },
                             "Get variable: report variable not found: missing");
    expectThrowMsg<EIOError>([&] { r.VarByName("missing")->AsBoolean(); },
                             "Get variable: report variable not found: missing");
    expectThrowMsg<EIOError>([&] { r.VarByName("missing")->SetAsString("v"); },
                             "Set variable: report variable not found: missing");
    expectThrowMsg<EIOError>([&] { r.VarByName("missing")->SetAsFloat(1); },
                             "Set variable: report variable not found: missing");
    unchanged();
    expectThrowMsg<EIOError>([&] { r.VarByName("missing")->ChangeVarName("other"); },
                             "Report variable not found: missing");
    expectThrowMsg<EIOError>(
        [&] { r.VarByName("Total")->ChangeVarName("NAME"); },
        "Can't set variable name to NAME, because variable with the same name already exists");
    expectThrowMsg<EIOError>(
        [&] { r.VarByName("Total")->ChangeVarName("total"); },
        "Can't set variable name to total, because variable with the same name already exists");
    EXPECT_EQ(r.VarByName("Total")->Name(), "Total");
    unchanged();
    EXPECT_THROW(r.VarByName("Name")->AsFloat(), EConvertError);
    unchanged();
}

TEST(variables, free_and_clear)
{
    TestReport r;
    r.CreateVar("a", "1");
    r.CreateVar("b", "2");
    r.FreeVar("unknown");
    r.FreeVar("A");
    EXPECT_EQ(r.VarList().Lines(), QStringList({"b=2"}));
    TRpReportVariable *h = r.VarByName("b");
    r.ClearVars();
    EXPECT_EQ(r.VarList().Count(), 0);
    EXPECT_EQ(h->Name(), "") << "clearing also clears the shared handle's name";
}

TEST(variables, streamed_types)
{
    TestReport r;
    TRpVarList list;
    list.Add("s=x", std::make_unique<TRpVarListObject>(rpdtString));
    list.Add("u=y");
    list.Add("d={2023-10-19}", std::make_unique<TRpVarListObject>(rpdtDateTime));
    r.SetVarList(list);
    const QByteArray expected("\x03\0\0\0"
                              "\0\0\0\0"
                              "\xFF\xFF\xFF\xFF"
                              "\x03\0\0\0",
                              16);
    EXPECT_EQ(r.WriteVarDataTypes(), expected);

    TestReport empty;
    EXPECT_EQ(empty.WriteVarDataTypes(), QByteArray(4, '\0'));

    // Reading gives every line its type, creating type objects where missing.
    TestReport back;
    TRpVarList bare;
    for (const char *line : {"s=x", "u=y", "d=z"})
        bare.Add(line);
    back.SetVarList(bare);
    back.ReadVarDataTypes(QByteArray("\x03\0\0\0"
                                     "\x02\0\0\0"
                                     "\x07\0\0\0"
                                     "\x01\0\0\0",
                                     16));
    EXPECT_EQ(back.GetVarTypeByNumber(1), rpdtBoolean);
    EXPECT_EQ(back.GetVarTypeByNumber(2), rpdtUnknown) << "unknown numbers map to Unknown";
    EXPECT_EQ(back.GetVarTypeByNumber(3), rpdtNumber);

    // More entries than lines: the lines before the first missing one got their types.
    TestReport shortList;
    TRpVarList one;
    one.Add("a=1");
    shortList.SetVarList(one);
    EXPECT_THROW(shortList.ReadVarDataTypes(QByteArray("\x02\0\0\0"
                                                       "\x03\0\0\0"
                                                       "\x00\0\0\0",
                                                       12)),
                 std::out_of_range);
    EXPECT_EQ(shortList.GetVarTypeByNumber(1), rpdtDateTime);

    expectThrowMsg<EIOError>([&] { shortList.ReadVarDataTypes(QByteArray("\x01\0", 2)); },
                             "Stream read error");
}

TEST(variables, var_list_copies_carry_types)
{
    TestReport a;
    a.CreateVar("n", 1.0);
    a.CreateVar("s", "t");
    TestReport b;
    b.SetVarList(a.VarList());
    EXPECT_EQ(b.VarList().Lines(), a.VarList().Lines());
    EXPECT_EQ(b.GetVarTypeByNumber(1), rpdtNumber);
    a.VarByName("n")->SetAsString("changed");
    EXPECT_EQ(b.GetVarTypeByNumber(1), rpdtNumber) << "the copy owns its own type objects";
}

namespace {

class OldUDFList : public TRpUDFList
{
public:
    int Version() const override { return 300; }
};

} // namespace

TEST(report_component, initial_values)
{
    TestReport r;
    EXPECT_EQ(r.InFile(), "");
    EXPECT_EQ(r.OutFile(), "outfile.doc");
    EXPECT_EQ(r.TrueValue(), "True");
    EXPECT_EQ(r.FalseValue(), "False");
    EXPECT_EQ(r.UDFList(), nullptr);
    EXPECT_FALSE(r.UnicodeByDefault());
    EXPECT_EQ(r.Charset(), 1);
    EXPECT_EQ(r.Lang(), 0);
    EXPECT_EQ(r.Options(), TRpRTFOptions(eoGraphicsBinary | eoDotAsColon));
    EXPECT_EQ(static_cast<unsigned>(eoProcessFormFields), 0x40u);
    EXPECT_TRUE(r.DisableControls());
    EXPECT_FALSE(r.ExecuteSuccessful());
    EXPECT_EQ(r.LastErrMsg(), "No errors.");
    EXPECT_EQ(r.DecimalRTerminator, u'=');
    EXPECT_EQ(r.DecimalRSeparator, u'-');
    EXPECT_EQ(TRpBaseReport::Version(), 310);
    EXPECT_EQ(r.Flent, -1);
    EXPECT_EQ(r.FSzi, 4);
    EXPECT_EQ(r.FCmLastId, -9999);
    EXPECT_EQ(r.FLastBoundaryPnt, -1);
    EXPECT_EQ(r.FKwdPnt, -1);
}

TEST(report_component, in_file_change_marks_the_template_stale)
{
    TestReport r;
    r.FTmLoaded = true;
    r.SetInFile("");
    EXPECT_TRUE(r.FTmLoaded) << "the same name changes nothing";
    r.SetInFile("a.rtf");
    EXPECT_FALSE(r.FTmLoaded);
}

TEST(report_component, udf_list_assignment_rules)
{
    TestReport r;
    TRpUDFList good;
    OldUDFList old;
    expectThrowMsg<EIllegalFunctionUse>([&] { r.SetUDFList(&old); },
                                        "TRpRTF version 310 doesn't equal TRpUDFList version 300");
    EXPECT_EQ(r.UDFList(), nullptr);

    r.SetUDFList(&good);
    EXPECT_EQ(r.UDFList(), &good);
    r.FExecute = true;
    r.SetUDFList(&good); // the same list is no change
    expectThrowMsg<EIllegalFunctionUse>([&] { r.SetUDFList(nullptr); },
                                        "Can't set UDFList while executing report");
    EXPECT_EQ(r.UDFList(), &good);
    r.FExecute = false;
    r.SetUDFList(nullptr);
    EXPECT_EQ(r.UDFList(), nullptr);

    auto *temporary = new TRpUDFList;
    r.SetUDFList(temporary);
    delete temporary;
    EXPECT_EQ(r.UDFList(), nullptr) << "a destroyed list detaches itself";
}
