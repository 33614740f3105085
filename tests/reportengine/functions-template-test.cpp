// SPDX-License-Identifier: MIT
// End to end: built-in functions called from template fields through the expression executor.
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <string>

using namespace rp;

namespace {

class TemplateFunctions : public ::testing::Test
{
protected:
    TRpRTF report;
    std::vector<TRpDataSet *> dataSets;

    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    /// The result between the template's "{\rtf1 " and its final "}", without the language
    /// words written before each value.
    std::string body(const QByteArray &fields)
    {
        report.SetTemplateBuffer("{\\rtf1 " + fields + "}");
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream(dataSets, &out);
        const QByteArray doc = out.data();
        EXPECT_TRUE(doc.startsWith("{\\rtf1 ")) << doc.toStdString();
        QString text = QString::fromLatin1(doc.mid(7, doc.size() - 8));
        text.remove(QRegularExpression(QStringLiteral("\\\\lang\\d+ ")));
        return text.toStdString();
    }
    std::string failure(const QByteArray &fields)
    {
        try {
            body(fields);
        } catch (const std::exception &e) {
            return e.what();
        }
        ADD_FAILURE() << "run did not fail: " << fields.toStdString();
        return {};
    }
};

} // namespace

TEST_F(TemplateFunctions, operators_from_infix_and_by_name)
{
    EXPECT_EQ(body("\\\\10 - 4\\\\"), "6");
    // By name the operands are taken as the compiler writes them: right-hand first.
    EXPECT_EQ(body("\\\\SYS_SUB(4, 10)\\\\"), "6");
    EXPECT_EQ(body("\\\\\"B\" < \"a\"\\\\"), "True");
    EXPECT_EQ(body("\\\\STR(3.14159, 8, 2) + \"|\"\\\\"), "    3.14|");
    EXPECT_EQ(failure("\\\\7 % 0\\\\"), "Division by zero. Operation \"%\", expression 7%0");
}

TEST_F(TemplateFunctions, iif_runs_only_the_branch_it_takes)
{
    report.CreateVar(QStringLiteral("x"), 0.0);
    EXPECT_EQ(body("\\\\IIF(x > 0, 1/x, SUM(1, acc))\\\\"), "");
    report.CreateVar(QStringLiteral("y"), 2.0);
    // The branch not taken still declares its accumulator.
    EXPECT_EQ(body("\\\\IIF(y > 0, 1/y, SUM(1, other))\\\\"), "0.5");
    EXPECT_GT(report.GetVarNumber(QStringLiteral("other")), 0);
}

TEST_F(TemplateFunctions, accumulators_restart_with_each_scan_unless_noreset)
{
    TRpMemoryDataSet d;
    d.SetName(QStringLiteral("D"));
    d.DefineField(QStringLiteral("QTY"), TRpFieldType::ftInteger);
    for (int q : {1, 2, 4})
        d.AppendRecord({q});
    dataSets = {&d};
    const QByteArray scan = "\\\\SCAN(D)\\\\\\\\SUM(D:QTY, t)\\\\\\\\SUM(D:QTY, n, NORESET)\\\\"
                            "\\\\ENDSCAN\\\\";
    EXPECT_EQ(body(scan + scan + "\\\\t\\\\/\\\\n\\\\"), "7/14");
}

TEST_F(TemplateFunctions, dataset_functions_resolve_aliases_of_the_run)
{
    TRpMemoryDataSet d;
    d.SetName(QStringLiteral("ORDERS"));
    d.DefineField(QStringLiteral("N"), TRpFieldType::ftString);
    d.AppendRecord({QStringLiteral("a")});
    d.AppendRecord({QStringLiteral("b")});
    dataSets = {&d};
    EXPECT_EQ(
        body("\\\\EOF(orders)\\\\\\\\NEXT(A)\\\\\\\\orders:N\\\\\\\\NEXT(A)\\\\\\\\EOF(A)\\\\"),
        "FalsebTrue");
    EXPECT_EQ(failure("\\\\EOF(Q)\\\\"),
              "Illegal function use: EOF(Q) - dataset alias not found: Q");
}
