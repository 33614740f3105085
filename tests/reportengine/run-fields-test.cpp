// SPDX-License-Identifier: MIT
// End to end: templates with variables, constants, data-set fields and expressions into RTF.
#include <reportengine/rpconsts.h>
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>

#include <gtest/gtest.h>

#include <string>

using namespace rp;

namespace {

/// Runs `body` wrapped in a minimal document and returns the body part of the result.
class FieldRun : public ::testing::Test
{
protected:
    TRpRTF report;
    std::vector<TRpDataSet *> dataSets;

    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    QByteArray runDocument(const QByteArray &doc)
    {
        report.SetTemplateBuffer(doc);
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream(dataSets, &out);
        return out.data();
    }

    /// The text between the template's "{\rtf1 " and its final "}".
    std::string body(const QByteArray &fields)
    {
        const QByteArray doc = runDocument("{\\rtf1 " + fields + "}");
        EXPECT_TRUE(doc.startsWith("{\\rtf1 ")) << doc.toStdString();
        return doc.mid(7, doc.size() - 8).toStdString();
    }

    std::string failure(const QByteArray &fields)
    {
        try {
            body(fields);
        } catch (const std::exception &e) {
            EXPECT_FALSE(report.ExecuteSuccessful());
            EXPECT_EQ(report.LastErrMsg().toStdString(), std::string(e.what()));
            return e.what();
        }
        ADD_FAILURE() << "run did not fail: " << fields.toStdString();
        return {};
    }
};

} // namespace

TEST_F(FieldRun, variables_are_written_escaped_after_the_language)
{
    report.CreateVar(QStringLiteral("name"), QStringLiteral("W{o}r\\ld é"));
    report.SetLang(1040);
    EXPECT_EQ(body("Hello \\\\name\\\\!"), "Hello \\lang1040 W\\{o\\}r\\\\ld \\'E9!");
    // The hex-escaped delimiter works like the two-byte one.
    EXPECT_EQ(body("\\'5cname\\'5C"), "\\lang1040 W\\{o\\}r\\\\ld \\'E9");
}

TEST_F(FieldRun, markup_inside_a_field_follows_the_value)
{
    report.CreateVar(QStringLiteral("first name"), QStringLiteral("Ada"));
    EXPECT_EQ(body("\\\\{\\b [first name]}\\\\"), "\\lang0 Ada{\\b }");
}

TEST_F(FieldRun, missing_variables_stay_or_vanish)
{
    EXPECT_EQ(body("a \\\\{\\i nobody}\\\\ b"), "a \\\\{\\i nobody}\\\\ b");
    report.SetOptions(report.Options() | eoClearMissedFields);
    EXPECT_EQ(body("a \\\\{\\i nobody}\\\\ b"), "a {\\i } b");
    report.SetStrict(true);
    EXPECT_EQ(failure("\\\\nobody\\\\"), "Report variable not found: nobody");
}

TEST_F(FieldRun, fields_that_are_no_fields_are_copied)
{
    // An unknown text, an empty field, a field cut by a paragraph, a call of no function.
    EXPECT_EQ(body("\\\\#?\\\\"), "\\\\#?\\\\");
    EXPECT_EQ(body("x\\\\\\\\y"), "x\\\\\\\\y");
    report.CreateVar(QStringLiteral("v"), QStringLiteral("V"));
    EXPECT_EQ(body("a\\\\b\\par c\\\\v\\\\"), "a\\\\b\\par c\\lang0 V");
    EXPECT_EQ(body("\\\\FOO(1)\\\\"), "\\\\FOO(1)\\\\");
    // The two-byte delimiter followed by "*" is text.
    EXPECT_EQ(body("\\\\*v"), "\\\\*v");
}

TEST_F(FieldRun, constants_follow_the_locale)
{
    report.SetTrueValue(QStringLiteral("Yes"));
    EXPECT_EQ(body("\\\\2.50\\\\|\\\\\"s t\"\\\\|\\\\TRUE\\\\|\\\\\\{2023-10-19\\}\\\\"),
              "\\lang0 2.5|\\lang0 s t|\\lang0 Yes|\\lang0 10/19/2023");
    report.SetLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(body("\\\\2.50\\\\"), "\\lang0 2,5");
}

TEST_F(FieldRun, expressions_and_formats)
{
    report.CreateVar(QStringLiteral("a"), 1234.5);
    report.CreateVar(QStringLiteral("b"), 2.0);
    report.CreateVar(QStringLiteral("s"), QStringLiteral("x"));
    report.CreateVar(QStringLiteral("zero"), 0.0);
    EXPECT_EQ(body("\\\\a * b + 1\\\\"), "\\lang0 2470");
    EXPECT_EQ(body("\\\\s+\"y\"\\\\"), "\\lang0 xy");
    EXPECT_EQ(body("\\\\FNUM(a)\\\\"), "\\lang0 1,234.50");
    EXPECT_EQ(body("\\\\FNUM(a*b,0)\\\\"), "\\lang0 2,469");
    EXPECT_EQ(body("\\\\FFIX(a,1)\\\\"), "\\lang0 1234.5");
    EXPECT_EQ(body("\\\\FCUR(b)\\\\"), "\\lang0 $2.00");
    report.DecimalRSeparator = u'-';
    report.DecimalRTerminator = u'=';
    EXPECT_EQ(body("\\\\FFIXR(12.5)\\\\|\\\\FFIXR(b)\\\\|\\\\FFIXR(b,0)\\\\"),
              "\\lang0 12-50|\\lang0 2=|\\lang0 2=");
    EXPECT_EQ(body("\\\\FFIX(zero)\\\\"), "\\lang0 0.00");
    report.SetOptions(report.Options() | eoNumericFormatClearZero);
    EXPECT_EQ(body("\\\\FFIX(zero)\\\\"), "\\lang0 ");
    EXPECT_EQ(body("\\\\FBOOL(a>b)\\\\"), "\\lang0 True");
    EXPECT_EQ(body("\\\\FDTM(\\{2024-02-29\\},\"yyyy mmm d\")\\\\"), "\\lang0 2024 Feb 29");
    // A number text that is no number is written as it stands.
    EXPECT_EQ(body("\\\\FNUM(s)\\\\"), "\\lang0 x");
}

TEST_F(FieldRun, iif_runs_only_the_branch_taken)
{
    report.CreateVar(QStringLiteral("x"), 0.0);
    EXPECT_EQ(body("\\\\IIF(x>0,1/x,0)\\\\"), "\\lang0 0");
    report.FreeVar(QStringLiteral("x"));
    report.CreateVar(QStringLiteral("x"), 2.0);
    EXPECT_EQ(body("\\\\IIF(x>0,1/x,1/0)\\\\"), "\\lang0 0.5");
    // A declaration in the branch not taken still runs.
    EXPECT_EQ(body("\\\\IIF(x<0,VAR(fresh),1)\\\\"), "\\lang0 1");
    EXPECT_GT(report.GetVarNumber(QStringLiteral("fresh")), 0);
}

TEST_F(FieldRun, links)
{
    EXPECT_EQ(body("\\\\FLNK(\"http://a.example/x|Caption\")\\\\"),
              "{\\field{\\*\\fldinst {\\lang0 HYPERLINK \"http://a.example/x\" }}"
              "{\\fldrslt \\lang0 Caption}}");
    EXPECT_EQ(body("\\\\FLNK(\"site\")\\\\"),
              "{\\field{\\*\\fldinst {\\lang0 HYPERLINK \"site\" }}{\\fldrslt \\lang0 site}}");
    EXPECT_EQ(body("\\\\FLNK(\"|cap\")\\\\"),
              "{\\field{\\*\\fldinst {\\lang0 HYPERLINK \"\" }}{\\fldrslt \\lang0 cap}}");
}

TEST_F(FieldRun, data_set_fields)
{
    TRpMemoryDataSet orders;
    orders.SetName(QStringLiteral("ORDERS"));
    orders.DefineField(QStringLiteral("NAME"), TRpFieldType::ftString);
    orders.DefineField(QStringLiteral("PRICE"), TRpFieldType::ftFloat);
    orders.DefineField(QStringLiteral("ACTIVE"), TRpFieldType::ftBoolean);
    orders.AppendRecord({QStringLiteral("Zürich  "), 1234.5, true});
    TRpMemoryDataSet x;
    x.SetName(QStringLiteral("X"));
    x.DefineField(QStringLiteral("V"), TRpFieldType::ftString);
    x.AppendRecord({QStringLiteral("x1")});
    dataSets = {&orders, &x};

    EXPECT_EQ(body("\\\\orders:name\\\\|\\\\A.PRICE\\\\|\\\\X:V\\\\|\\\\B:(0)\\\\"),
              "\\lang0 Z\\'FCrich|\\lang0 1234.5|\\lang0 x1|\\lang0 x1");
    EXPECT_EQ(body("\\\\FNUM(ORDERS:PRICE*2)\\\\|\\\\ORDERS:ACTIVE\\\\"),
              "\\lang0 2,469.00|\\lang0 True");
    // Missing fields stay; a data set at its end prints one blank.
    EXPECT_EQ(body("\\\\ORDERS:NOPE\\\\|\\\\C:V\\\\"), "\\\\ORDERS:NOPE\\\\|\\\\C:V\\\\");
    report.SetStrict(true);
    EXPECT_EQ(failure("\\\\ORDERS:NOPE\\\\"), "Data-set field not found: ORDERS:NOPE");
    report.SetStrict(false);
    x.Next();
    EXPECT_EQ(body("\\\\X:V\\\\"), " ");
    EXPECT_EQ(failure("\\\\ORDERS:NOPE+1\\\\"),
              "Illegal function use: ORDERS:NOPE+1 - dataset field NOPE not found");
}

TEST_F(FieldRun, compile_errors_end_the_run)
{
    report.CreateVar(QStringLiteral("a"), 1.0);
    EXPECT_EQ(failure("\\\\a+\\\\"), "Unexpected end of expression: a+");
    EXPECT_EQ(failure("\\\\FNUM(SUM(a,b))\\\\"),
              "Format function FNUM doesn't conform to it's expression: SUM(a,b)");
    EXPECT_EQ(failure("\\\\IIF(FNUM(a),1,2)\\\\"),
              "Illegal function use: expression FNUM(a) has format function FNUM, which is not "
              "allowed within another expression");
    EXPECT_EQ(failure("\\\\IIF(FOO(1),1,2)\\\\"), "Function not found: FOO(1)");
    EXPECT_EQ(failure("\\\\IIF(a,,2)\\\\"), "Cannot use empty string as argument for another "
                                            "expression");
    EXPECT_EQ(failure("\\\\IIF(a,ENDIF,2)\\\\"),
              "Cannot use ENDIF as argument for another expression");
    EXPECT_EQ(failure("\\\\NOW(1)\\\\"),
              "Illegal function use: NOW(1) - number of arguments is more than maximum allowed");
    EXPECT_EQ(failure("\\\\SUM(a)\\\\"),
              "Illegal function use: SUM(a) - number of arguments is less than minimum required");
    QStringList args;
    std::int32_t number = 0;
    try {
        report.ProcessUDFName(QStringLiteral("((a)"), args, number);
        ADD_FAILURE();
    } catch (const EIllegalFunctionUse &e) {
        EXPECT_STREQ(e.what(), "Brackets balance violation in function ((a)");
    }
    EXPECT_EQ(failure("\\\\FDTM(a)\\\\"), "Illegal format function use: FDTM(a) - number of "
                                          "arguments is less than minimum required");
    // The location of the field goes with the message.
    EXPECT_EQ(report.LastErrLocation().line, 1);
    EXPECT_EQ(report.LastErrLocation().column, 8);
    EXPECT_EQ(report.LastErrLocation().field, QStringLiteral("\\\\FDTM(a)\\\\"));
}

TEST_F(FieldRun, run_errors_carry_the_field_location)
{
    report.CreateVar(QStringLiteral("n"), 0.0);
    EXPECT_EQ(failure("ok\n\\par \\\\10/n\\\\"),
              "Division by zero. Operation \"/\", expression 10/n");
    EXPECT_EQ(report.LastErrLocation().line, 2);
    EXPECT_EQ(report.LastErrLocation().column, 6);
}
