// SPDX-License-Identifier: MIT
// Field-language compiler: tokens, infix rewriting with its messages, argument splitting, formats.
#include "compiler/fieldkind.h"
#include "compiler/rpcompiler.h"
#include "rptestutil.h"
#include <reportengine/rpconsts.h>

#include <gtest/gtest.h>

#include <string>

using namespace rp;
using rptest::expectThrowMsg;

namespace {

QString convert(const QString &text, bool dotAsColon = true)
{
    QString e = text;
    return ConvertExpression(e, dotAsColon);
}

struct Token
{
    int kind;
    QString operand;
    QString rest;
};

Token field(const QString &text, bool dotAsColon = false)
{
    QString t = text;
    Token tok;
    tok.kind = GetNextExprField(t, tok.operand, dotAsColon, tok.rest);
    return tok;
}

} // namespace

TEST(compiler_tokens, operand_kinds_and_rest)
{
    struct Case
    {
        const char *text;
        int kind;
        const char *operand;
        const char *rest;
    } cases[] = {
        {"name", fkVariable, "name", ""},
        {"total+1", fkVariable, "total", "+1"},
        {"x:=1", fkVariable, "x", ":=1"},
        {"first name", fkVariable, "first name", ""},
        {"a +b", fkNotRecognised, "", "a +b"},
        {"FOO(1,(2))*3", fkFunction, "FOO(1,(2))", "*3"},
        {"FOO(\")\")", fkFunction, "FOO(\")\")", ""},
        {"FOO(1", fkNotRecognised, "", "FOO(1"},
        {"-5+a", fkNumber, "-5", "+a"},
        {"1.5e-3x", fkNumber, "1.5e-3", "x"},
        {".5", fkNumber, ".5", ""},
        {"12e", fkNumber, "12", "e"},
        {"-a", fkExpression, "", "-a"},
        {"(a)", fkExpression, "", "(a)"},
        {"!a", fkExpression, "", "!a"},
        {"\"a b\"+c", fkString, "\"a b\"", "+c"},
        {"'unclosed", fkNotRecognised, "", "'unclosed"},
        {"{2023-10-19}x", fkDate, "{2023-10-19}", "x"},
        {"{2023-10-1}", fkNotRecognised, "", "{2023-10-1}"},
        {"true", fkBoolean, "TRUE", ""},
        {"TRUENAME", fkBoolean, "TRUE", "NAME"},
        {"False&&x", fkBoolean, "FALSE", "&&x"},
        {"ORDERS:PRICE*2", fkColonField, "ORDERS:PRICE", "*2"},
        {"A.first name", fkDotField, "A.first name", ""},
        {"A:(3)", fkColonField, "A:(3)", ""},
        {"A:", fkNotRecognised, "", "A:"},
        {"=a", fkNotRecognised, "", "=a"},
        {"", fkNotRecognised, "", ""},
    };
    for (const Case &c : cases) {
        const Token t = field(QString::fromUtf8(c.text));
        EXPECT_EQ(t.kind, c.kind) << c.text;
        EXPECT_EQ(t.operand, QString::fromUtf8(c.operand)) << c.text;
        EXPECT_EQ(t.rest, QString::fromUtf8(c.rest)) << c.text;
    }
    // With dots read as colons the alias form changes kind and separator.
    const Token t = field(QStringLiteral("a.b"), true);
    EXPECT_EQ(t.kind, fkColonField);
    EXPECT_EQ(t.operand, QStringLiteral("a:b"));
}

TEST(compiler_tokens, operations)
{
    QString text = QStringLiteral("  <=b");
    QString op;
    QString rest;
    ASSERT_TRUE(GetNextExprOperation(text, op, false, rest));
    EXPECT_EQ(op, QStringLiteral("<="));
    EXPECT_EQ(rest, QStringLiteral("b"));
    text = QStringLiteral("-b");
    ASSERT_TRUE(GetNextExprOperation(text, op, true, rest));
    EXPECT_EQ(op, QStringLiteral("u-"));
    text = QStringLiteral("-b");
    ASSERT_TRUE(GetNextExprOperation(text, op, false, rest));
    EXPECT_EQ(op, QStringLiteral("-"));
    text = QStringLiteral("&b");
    EXPECT_FALSE(GetNextExprOperation(text, op, false, rest));
}

TEST(compiler_convert, precedence_and_reversed_arguments)
{
    EXPECT_EQ(convert("a+b*c"), QStringLiteral("SYS_ADD(SYS_MULT(c,b),a)"));
    EXPECT_EQ(convert("(a+b)*c"), QStringLiteral("SYS_MULT(c,SYS_ADD(b,a))"));
    EXPECT_EQ(convert("a-b-c"), QStringLiteral("SYS_SUB(c,SYS_SUB(b,a))"));
    EXPECT_EQ(convert("a+(b*c+d)*e"),
              QStringLiteral("SYS_ADD(SYS_MULT(e,SYS_ADD(d,SYS_MULT(c,b))),a)"));
    EXPECT_EQ(convert("x:=y+1"), QStringLiteral("SYS_LET(SYS_ADD(1,y),x)"));
    EXPECT_EQ(convert("-a"), QStringLiteral("SYS_UMINUS(a)"));
    EXPECT_EQ(convert("!(a>b)"), QStringLiteral("SYS_NOT(SYS_GT(b,a))"));
    EXPECT_EQ(convert("x:=-1"), QStringLiteral("SYS_LET(SYS_UMINUS(1),x)"));
    EXPECT_EQ(convert("a<=-b"), QStringLiteral("SYS_LTEQ(SYS_UMINUS(b),a)"));
    EXPECT_EQ(convert("a<>b||c!=d&&e=f"),
              QStringLiteral("SYS_AND(SYS_EQ(f,e),SYS_OR(SYS_NOTEQ(d,c),SYS_NOTEQ(b,a)))"));
    EXPECT_EQ(convert("a%b/c"), QStringLiteral("SYS_DIV(c,SYS_PERCENT(b,a))"));
    // Operands are copied as written, calls and their arguments included.
    EXPECT_EQ(convert("FNX(a+b,\"x\")+A.f"), QStringLiteral("SYS_ADD(A:f,FNX(a+b,\"x\"))"));
    EXPECT_EQ(convert("A.f+1", false), QStringLiteral("SYS_ADD(1,A.f)"));
    // A leading sign belongs to a number literal.
    EXPECT_EQ(convert("-5*2"), QStringLiteral("SYS_MULT(2,-5)"));
}

TEST(compiler_convert, malformed_expressions_name_their_fault)
{
    const QString p = QStringLiteral("Cannot process an expression: ");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("#x"); }, p + "#x");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("1\"x\""); },
                                        p + "1\"x\" error after 1 operation expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("TRUENAME"); },
                                        p + "TRUENAME error after TRUE operation expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("a&&-b"); },
                                        p + "a&&-b error after a \"-\" not expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("a=>b"); },
                                        p + "a=>b error after a \">\" not expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("(a)(b)"); },
                                        p + "(a)(b) error after a \"(\" not expected");
    expectThrowMsg<EIllegalFunctionUse>(
        [] { convert("a+b)"); },
        p + "a+b) - number of \")\" is more than number of \"(\" brackets");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("a+&b"); }, p + "a+&b error after a");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("(a+b"); }, p + "(a+b \")\" expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("*a"); }, p + "*a");
    expectThrowMsg<EIllegalFunctionUse>([] { convert("+*a"); },
                                        p + "+*a error after  \"*\" not expected");
    expectThrowMsg<EIllegalFunctionUse>([] { convert(" a+ "); },
                                        QStringLiteral("Unexpected end of expression: a+"));
    expectThrowMsg<EIllegalFunctionUse>(
        [] { convert("(x)"); },
        QStringLiteral("Operation or function name missed in expression: (x), operand: x"));
    expectThrowMsg<EIllegalFunctionUse>(
        [] { convert("x"); },
        QStringLiteral("Operation or function name missed in expression: x, operand: x"));
}

TEST(compiler_split_args, commas_brackets_and_quotes)
{
    QStringList list;
    EXPECT_TRUE(SplitArgs(QStringLiteral("  "), list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(SplitArgs(QStringLiteral("a, f(b,c),\"x,)\",,"), list));
    EXPECT_EQ(list, (QStringList{"a", " f(b,c)", "\"x,)\"", "", ""}));
    list.clear();
    EXPECT_FALSE(SplitArgs(QStringLiteral("a,b)"), list));
    EXPECT_EQ(list, (QStringList{"a", "b"}));
    list.clear();
    EXPECT_FALSE(SplitArgs(QStringLiteral("f(a"), list));
    EXPECT_EQ(list, QStringList{"f(a,"});
}

TEST(compiler_formats, arguments_and_defaults)
{
    TRpFormatContext ctx;
    QStringList stored;
    ctx.storeString = [&stored](const QString &s) {
        stored.append(s);
        return static_cast<int>(stored.size() - 1);
    };
    ctx.currencyDecimals = 3;

    QString s = QStringLiteral("FNUM(total,2)");
    TRpFieldFormat f = CheckFormat(s, ctx);
    EXPECT_EQ(s, QStringLiteral("total"));
    EXPECT_EQ(f, (TRpFieldFormat{fmtFNUM, 18, 2}));

    s = QStringLiteral("fnum(total,10:2)");
    EXPECT_EQ(CheckFormat(s, ctx), (TRpFieldFormat{fmtFNUM, 10, 2}));
    s = QStringLiteral("FCUR(x)");
    EXPECT_EQ(CheckFormat(s, ctx), (TRpFieldFormat{fmtFCUR, 18, 3}));
    s = QStringLiteral("FIMG(pic,4)");
    EXPECT_EQ(CheckFormat(s, ctx), (TRpFieldFormat{fmtFIMG, 4, 2}));
    s = QStringLiteral("FIMG(pic)");
    EXPECT_EQ(CheckFormat(s, ctx), (TRpFieldFormat{fmtFIMG, 0, 2}));
    s = QStringLiteral("FDTM(d,\"dd/mm/yyyy\")");
    EXPECT_EQ(CheckFormat(s, ctx), (TRpFieldFormat{fmtFDTM, 0, 2}));
    EXPECT_EQ(stored, QStringList{"\"dd/mm/yyyy\""});
    EXPECT_EQ(s, QStringLiteral("d"));
    s = QStringLiteral("FLNK(a+b)");
    EXPECT_EQ(CheckFormat(s, ctx).fmtnumber, fmtFLNK);
    EXPECT_EQ(s, QStringLiteral("a+b"));

    // Not format calls: the text stays as it is.
    for (const char *t : {"SUM(a,b)", "FNUM()", "FNUM", "NOFORMAT(x)", "FNUM(x)+1"}) {
        s = QString::fromUtf8(t);
        EXPECT_EQ(CheckFormat(s, ctx), TRpFieldFormat{}) << t;
        EXPECT_EQ(s, QString::fromUtf8(t));
    }
}

TEST(compiler_formats, malformed_arguments)
{
    TRpFormatContext ctx;
    const auto check = [&ctx](const char *text) {
        QString s = QString::fromUtf8(text);
        CheckFormat(s, ctx);
    };
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { check("FNUM(total,:2)"); },
        QStringLiteral("Illegal use of format function total - cannot understand argument :2"));
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { check("FNUM(total,\"2\")"); },
        QStringLiteral("Illegal use of format function total - cannot understand argument \"2\""));
    // Digits too many for an integer fail as every other integer conversion does.
    expectThrowMsg<EConvertError>([&] { check("FNUM(x,99999999999)"); },
                                  QStringLiteral("'99999999999' is not a valid integer value"));
    expectThrowMsg<EConvertError>([&] { check("FNUM(x,99999999999:2)"); },
                                  QStringLiteral("'99999999999' is not a valid integer value"));
    expectThrowMsg<EConvertError>([&] { check("FNUM(x,2: 99999999999)"); },
                                  QStringLiteral("'99999999999' is not a valid integer value"));
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { check("FDTM(d)"); },
        QStringLiteral("Illegal format function use: FDTM(d) - number of arguments is less than "
                       "minimum required"));
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { check("FNUM(a,1,2)"); },
        QStringLiteral("Illegal format function use: FNUM(a,1,2) - number of arguments is more "
                       "than maximum allowed"));
    expectThrowMsg<EIllegalFunctionUse>(
        [&] { check("FNUM(a))"); },
        QStringLiteral("Brackets balance violation in format function FNUM(a))"));
}

TEST(compiler_containers, stacks_and_expression_lists)
{
    TRpIntStack st;
    st.Push(1);
    EXPECT_EQ(st.Pop(), 1);
    st.Push(2);
    st.Push(3);
    EXPECT_EQ(st.Pop(), 3);
    EXPECT_EQ(st.Pop(), 2);
    EXPECT_EQ(st.Pop(), 0);

    TRpExpression e;
    expectThrowMsg<std::runtime_error>(
        [&] { e.Add(QStringLiteral("x"), false, 2, true, false, true, 3, 0); },
        QStringLiteral("TRpExpression Add  - cannot set AllowBoolArg to false when ReqBoolArg "
                       "is true"));
    expectThrowMsg<std::runtime_error>(
        [&] { e.GetOperand(0); },
        QStringLiteral("TRpExpression GetOperand 0 - invalid index of operand"));
    TRpOperationStack ops;
    expectThrowMsg<std::runtime_error>(
        [&] { ops.GetOperation(2); },
        QStringLiteral("TRpOperationStack GetOperation 2 - invalid index of operation"));
}

TEST(compiler_quotes, quote_pairs)
{
    EXPECT_TRUE(RpIsQuoted(QStringLiteral("\"abc\"")));
    EXPECT_TRUE(RpIsQuoted(QString::fromUtf8("«abc»")));
    EXPECT_TRUE(RpIsQuoted(QString::fromUtf8("»abc»")));
    EXPECT_TRUE(RpIsQuoted(QString::fromUtf8("\u201Cabc\u201D")));
    EXPECT_FALSE(RpIsQuoted(QStringLiteral("\"\"")));
    EXPECT_FALSE(RpIsQuoted(QStringLiteral("\"a\"b\"")));
    EXPECT_FALSE(RpIsQuoted(QStringLiteral("'abc\"")));
    EXPECT_TRUE(ZeroOut(QStringLiteral("0,00")));
    EXPECT_TRUE(ZeroOut(QStringLiteral("")));
    EXPECT_FALSE(ZeroOut(QStringLiteral("0.01")));
}
