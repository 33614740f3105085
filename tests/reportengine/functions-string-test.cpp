// SPDX-License-Identifier: MIT
// Built-in string and number functions: results, edge positions, rounding, powers, messages.
#include "functions_fixture.h"
#include "runtime/rpfunclib.h"

#include <QLocale>

#include <cmath>

using namespace rp;
using rp::test::expectExactThrow;
using rp::test::expectPlain;

namespace {

constexpr int fnTrim = -25, fnMid = -26, fnSubstr = -27, fnCopy = -28, fnUpper = -29, fnLower = -30,
              fnStr = -31, fnVal = -32, fnInt = -39, fnFrac = -40, fnRound = -41,
              fnFormatFloat = -59, fnPower = -60, fnIntPower = -61, fnPos = -64;

class Strings : public rp::test::FunctionsTest
{
protected:
    QString text(int f, const std::vector<TRpObject *> &args)
    {
        TRpReportVariable &v = call(f, args);
        EXPECT_EQ(v.DataType(), rpdtString);
        return v.AsString();
    }
    long double number(int f, const std::vector<TRpObject *> &args)
    {
        TRpReportVariable &v = call(f, args);
        EXPECT_EQ(v.DataType(), rpdtNumber);
        return v.AsFloat();
    }
};

TEST_F(Strings, trim_upper_lower)
{
    EXPECT_EQ(text(fnTrim, {str(QStringLiteral(" \t a b\r\n "))}), QStringLiteral("a b"));
    EXPECT_EQ(text(fnUpper, {str(QStringLiteral("abc \u00e9"))}), QStringLiteral("ABC \u00c9"));
    EXPECT_EQ(text(fnLower, {str(QStringLiteral("ABC \u00c9"))}), QStringLiteral("abc \u00e9"));

    // Case follows the report's locale, not the process's: Turkish has a dotted capital I
    // and a dotless small i.
    const QLocale process;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(text(fnUpper, {str("i")}), QStringLiteral("I"));
    EXPECT_EQ(text(fnLower, {str("I")}), QStringLiteral("i"));
    QLocale::setDefault(process);
    report.SetLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(text(fnUpper, {str("i")}), QStringLiteral("\u0130"));
    EXPECT_EQ(text(fnLower, {str("I")}), QStringLiteral("\u0131"));
}

TEST_F(Strings, mid_substr_copy_positions)
{
    for (int f : {fnMid, fnSubstr, fnCopy}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(text(f, {str("abcdef"), num(3)}), QStringLiteral("cdef"));
        EXPECT_EQ(text(f, {str("abc"), num(5)}), QString());
        EXPECT_EQ(text(f, {str("abc"), num(0)}), QString());
        EXPECT_EQ(text(f, {str("abc"), num(3)}), QStringLiteral("c"));
        EXPECT_EQ(text(f, {str("abc"), num(0), num(2)}), QStringLiteral("ab"));
        EXPECT_EQ(text(f, {str("abc"), num(-5), num(2)}), QStringLiteral("ab"));
        EXPECT_EQ(text(f, {str("abcdef"), num(2), num(3)}), QStringLiteral("bcd"));
        EXPECT_EQ(text(f, {str("abc"), num(2), num(99)}), QStringLiteral("bc"));
        EXPECT_EQ(text(f, {str("abc"), num(2), num(-1)}), QString());
        EXPECT_EQ(text(f, {str("abc"), num(4), num(1)}), QString());
        EXPECT_EQ(text(f, {str("abcdef"), num(2.9L), num(2.9L)}), QStringLiteral("bc"));
    }
}

TEST_F(Strings, pos_finds_the_first_argument_in_the_second)
{
    EXPECT_EQ(number(fnPos, {str("cd"), str("abcdcd")}), 3);
    EXPECT_EQ(number(fnPos, {str("x"), str("abc")}), 0);
    EXPECT_EQ(number(fnPos, {str("abc"), str("ab")}), 0);
    EXPECT_EQ(number(fnPos, {str(""), str("abc")}), 0);
}

TEST_F(Strings, str_general_and_fixed_width)
{
    EXPECT_EQ(text(fnStr, {num(3.5L)}), QStringLiteral("3.5"));
    EXPECT_EQ(text(fnStr, {num(-0.25L)}), QStringLiteral("-0.25"));
    EXPECT_EQ(text(fnStr, {num(1e20L)}), QStringLiteral("1E20"));
    EXPECT_EQ(text(fnStr, {num(3.14159L), num(8), num(2)}), QStringLiteral("    3.14"));
    EXPECT_EQ(text(fnStr, {num(3.5L), num(0), num(1)}), QStringLiteral("3.5"));
    EXPECT_EQ(text(fnStr, {num(42), num(5)}), QStringLiteral("   42"));
    EXPECT_EQ(text(fnStr, {num(12345), num(2)}), QStringLiteral("12345")); // nothing cut
    EXPECT_EQ(text(fnStr, {num(7), num(-1)}), QStringLiteral("7"));
    EXPECT_EQ(text(fnStr, {num(2), num(6), num(3)}), QStringLiteral(" 2.000"));
    // A width no page can hold is capped instead of exhausting memory.
    EXPECT_EQ(text(fnStr, {num(1), num(2e9L)}).size(), 1 << 20);
}

TEST_F(Strings, str_uses_a_point_whatever_the_locale)
{
    report.SetLocale(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(report.FmtSett.DecimalSeparator, u',');
    EXPECT_EQ(text(fnStr, {num(3.5L)}), QStringLiteral("3.5"));
    EXPECT_EQ(text(fnStr, {num(3.5L), num(6), num(2)}), QStringLiteral("  3.50"));
}

TEST_F(Strings, val_reads_the_locale_separator_and_gives_zero_otherwise)
{
    EXPECT_EQ(number(fnVal, {str("12.5")}), 12.5L);
    EXPECT_EQ(number(fnVal, {str(" -3 ")}), -3);
    EXPECT_EQ(number(fnVal, {str("1e3")}), 1000);
    EXPECT_EQ(number(fnVal, {str("12abc")}), 0);
    EXPECT_EQ(number(fnVal, {str("")}), 0);
    report.SetLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(number(fnVal, {str("12,5")}), 12.5L);
    EXPECT_EQ(number(fnVal, {str("12.5")}), 12.5L);
}

TEST_F(Strings, formatfloat_patterns)
{
    EXPECT_EQ(text(fnFormatFloat, {str("#,##0.00"), num(1234.5L)}), QStringLiteral("1,234.50"));
    EXPECT_EQ(text(fnFormatFloat, {str("000"), num(7)}), QStringLiteral("007"));
    EXPECT_EQ(text(fnFormatFloat, {str("  0.0  "), num(2)}), QStringLiteral("2.0"));
}

TEST_F(Strings, int_frac_round)
{
    EXPECT_EQ(number(fnInt, {num(-2.75L)}), -2);
    EXPECT_EQ(number(fnInt, {num(2.75L)}), 2);
    EXPECT_EQ(number(fnFrac, {num(2.75L)}), 0.75L);
    EXPECT_EQ(number(fnFrac, {num(-2.75L)}), -0.75L);
    EXPECT_EQ(number(fnRound, {num(2.5L)}), 3);
    EXPECT_EQ(number(fnRound, {num(-2.5L)}), -3);
    EXPECT_EQ(number(fnRound, {num(2.49L)}), 2);
    EXPECT_EQ(number(fnRound, {num(1.25L), num(1)}), 1.3L);
    EXPECT_EQ(number(fnRound, {num(150), num(-2)}), 200);
    EXPECT_EQ(number(fnRound, {num(-1234.5678L), num(2)}), -1234.57L);
    EXPECT_EQ(number(fnRound, {num(0.125L), num(2)}), 0.13L);
}

TEST_F(Strings, powers)
{
    EXPECT_EQ(number(fnPower, {num(-2), num(3)}), -8);
    EXPECT_EQ(number(fnPower, {num(0), num(0)}), 1);
    EXPECT_EQ(number(fnPower, {num(0), num(2.5L)}), 0);
    EXPECT_EQ(number(fnPower, {num(2), num(-2)}), 0.25L);
    EXPECT_NEAR(static_cast<double>(number(fnPower, {num(2), num(0.5L)})), std::sqrt(2.0), 1e-14);
    EXPECT_EQ(number(fnIntPower, {num(3), num(4)}), 81);
    EXPECT_EQ(number(fnIntPower, {num(2), num(-3)}), 0.125L);
    EXPECT_EQ(number(fnIntPower, {num(2), num(3.9L)}), 8);
    expectExactThrow<EInvalidOp>(
        [&] {
            call(fnPower, {num(-8), num(1.0L / 3)});
        },
        "Invalid floating point operation");
    expectExactThrow<EZeroDivide>(
        [&] {
            call(fnIntPower, {num(0), num(-1)});
        },
        "Floating point division by zero");
    expectExactThrow<EZeroDivide>(
        [&] {
            call(fnPower, {num(0), num(-0.5L)});
        },
        "Floating point division by zero");
}

TEST(PowerRoutines, ipwr_pwr_and_round)
{
    EXPECT_EQ(ipwr(2, 10), 1024);
    EXPECT_EQ(ipwr(-3, 3), -27);
    EXPECT_EQ(ipwr(5, 0), 1);
    EXPECT_EQ(ipwr(10, -2), 1 / 100.0L);
    EXPECT_EQ(ipwr(1, std::numeric_limits<int>::min()), 1); // no overflow of |n|
    EXPECT_EQ(pwr(2, 3), 8);
    EXPECT_EQ(pwr(-2, 2), 4);
    EXPECT_EQ(RpRound(0.5L, 0), 1);
    EXPECT_EQ(RpRound(-0.4L, 0), 0);
    EXPECT_EQ(RpRound(1949, -2), 1900);
    // Decimals far beyond any number's digits: kept, or rounded away, without overflow.
    EXPECT_EQ(RpRound(1.5L, std::numeric_limits<int>::max()), 1.5L);
    EXPECT_EQ(RpRound(123, std::numeric_limits<int>::min()), 0);
    EXPECT_EQ(RpRound(-0.001L, 2), 0);
}

TEST_F(Strings, one_argument_operand_messages)
{
    expectArgMessages(fnTrim, {str("a")}, {num(1)},
                      {"Operand type unknown. Function \"TRIM\"",
                       "Operand of string type expected. Function \"TRIM\""});
    expectArgMessages(fnUpper, {str("a")}, {untyped()},
                      {"Operand type unknown. Function \"UPPER\"",
                       "Operand of string type expected. Function \"UPPER\""});
    expectArgMessages(fnLower, {str("a")}, {date(2024, 1, 1)},
                      {"Operand type unknown. Function \"LOWER\"",
                       "Operand of string type expected. Function \"LOWER\""});
    expectArgMessages(fnVal, {str("1")}, {num(1)},
                      {"Operand type unknown. Function \"VAL\"",
                       "Operand of string type expected. Function \"VAL\""});
    expectArgMessages(fnInt, {num(1)}, {untyped("1")},
                      {"Operand type unknown. Function \"INT\"",
                       "Operand of numeric type expected. Function \"INT\""});
    expectArgMessages(fnFrac, {num(1)}, {str("1")},
                      {"Operand type unknown. Function \"FRAC\"",
                       "Operand of numeric type expected. Function \"FRAC\""});
}

TEST_F(Strings, several_argument_operand_messages)
{
    for (int f : {fnMid, fnSubstr, fnCopy})
        expectArgMessages(
            f, {str("a"), num(1), num(1)}, {num(1), str("1"), boolean(true)},
            {"First operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
             "First operand of string type expected in functions \"MID\", \"COPY\", \"SUBSTR\"",
             "Second operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
             "Second operand of numeric type expected in functions \"MID\", \"COPY\", \"SUBSTR\"",
             "Third operand type unknown. Functions \"MID\", \"COPY\", \"SUBSTR\"",
             "Third operand of numeric type expected in functions \"MID\", \"COPY\", \"SUBSTR\""});
    expectArgMessages(fnStr, {num(1), num(1), num(1)}, {str("1"), untyped(), str("1")},
                      {"First operand type unknown. Functions \"STR\"",
                       "First operand of numeric type expected in function \"STR\"",
                       "Second operand type unknown. Function \"STR\"",
                       "Second operand of numeric type expected in functions \"STR\"",
                       "Third operand type unknown. Function \"STR\"",
                       "Third operand of numeric type expected in function \"STR\""});
    expectArgMessages(fnPos, {str("a"), str("a")}, {num(1), num(1)},
                      {"First operand type unknown. Function \"POS\"",
                       "First operand of string type expected in function \"POS\"",
                       "Second operand type unknown. Functions \"POS\"",
                       "Second operand of string type expected in functions \"POS\""});
    expectArgMessages(fnRound, {num(1), num(1)}, {str("1"), str("1")},
                      {"First operand type unknown. Functions \"ROUND\"",
                       "First operand of numeric type expected in function \"ROUND\"",
                       "Second operand type unknown. Function \"ROUND\"",
                       "Second operand of numeric type expected in functions \"ROUND\""});
    expectArgMessages(fnPower, {num(1), num(1)}, {str("1"), str("1")},
                      {"First operand type unknown. Functions \"POWER\"",
                       "First operand of numeric type expected in function \"POWER\"",
                       "Second operand type unknown. Function \"POWER\"",
                       "Second operand of numeric type expected in functions \"POWER\""});
    expectArgMessages(
        fnIntPower, {num(1), num(1)}, {str("1"), str("1")},
        {"First operand type unknown. Functions \"INTPOWER\"",
         "First operand of numeric type expected in function \"INTPOWER\"",
         "Second operand type unknown. Function \"INTPOWER\"",
         "Second operand of integer numeric type expected in functions \"INTPOWER\""});
    expectArgMessages(fnFormatFloat, {str("0"), num(1)}, {num(1), str("1")},
                      {"First operand type unknown. Functions \"FLOATFORMAT\"",
                       "First operand of string type expected in function \"FLOATFORMAT\"",
                       "Second operand type unknown. Function \"FLOATFORMAT\"",
                       "Second operand of numeric type expected in functions \"FLOATFORMAT\""});
}

} // namespace
