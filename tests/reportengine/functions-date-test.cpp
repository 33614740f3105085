// SPDX-License-Identifier: MIT
// Built-in date functions: clock values, locale texts and readers, parts, DTOS/STOD, messages.
#include "functions_fixture.h"

#include <QLocale>

using namespace rp;
using rp::test::expectExactThrow;
using rp::test::expectPlain;

namespace {

constexpr int fnNow = -42, fnDate = -43, fnTime = -44, fnDateToStr = -45, fnDateTimeToStr = -46,
              fnTimeToStr = -47, fnStrToDate = -48, fnStrToDateTime = -49, fnStrToTime = -50,
              fnYear = -51, fnMonth = -52, fnDay = -53, fnSYear = -54, fnSMonth = -55, fnSDay = -56,
              fnDtos = -57, fnStod = -58;

class Dates : public rp::test::FunctionsTest
{
protected:
    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    QString text(int f, TRpObject *arg)
    {
        TRpReportVariable &v = call(f, {arg});
        EXPECT_EQ(v.DataType(), rpdtString);
        return v.AsString();
    }
    TDateTime moment(int f, TRpObject *arg)
    {
        TRpReportVariable &v = arg ? call(f, {arg}) : call(f, {});
        EXPECT_EQ(v.DataType(), rpdtDateTime);
        return v.AsDateTime();
    }
};

TEST_F(Dates, clock_functions)
{
    const TDateTime before = Now();
    const TDateTime now = moment(fnNow, nullptr);
    EXPECT_GE(now, before - 1.0 / 86400000);
    EXPECT_LE(now, Now() + 1.0 / 86400000);
    const TDateTime today = moment(fnDate, nullptr);
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_NEAR(today, Date(), 1); // the day may turn between the calls
    const TDateTime t = moment(fnTime, nullptr);
    EXPECT_GE(t, 0);
    EXPECT_LT(t, 1);
}

TEST_F(Dates, locale_texts_and_readers_round_trip)
{
    const TDateTime dt = EncodeDate(2024, 3, 7) + EncodeTime(14, 5, 9, 0);
    const TFormatSettings &fs = report.FmtSett;
    EXPECT_EQ(text(fnDateToStr, dateTime(dt)), DateToStr(dt, fs));
    EXPECT_EQ(text(fnDateTimeToStr, dateTime(dt)), DateTimeToStr(dt, fs));
    EXPECT_EQ(text(fnTimeToStr, dateTime(dt)), TimeToStr(dt, fs));
    EXPECT_EQ(text(fnDateToStr, dateTime(dt)), QStringLiteral("07/03/2024"));

    EXPECT_EQ(moment(fnStrToDate, str(DateToStr(dt, fs))), EncodeDate(2024, 3, 7));
    EXPECT_NEAR(moment(fnStrToDateTime, str(DateTimeToStr(dt, fs))), dt, 1e-8);
    EXPECT_NEAR(moment(fnStrToTime, str(TimeToStr(dt, fs))), EncodeTime(14, 5, 9, 0), 1e-8);

    expectExactThrow<EConvertError>([&] { call(fnStrToDate, {str("31/02/2024")}); },
                                    "'31/02/2024' is not a valid date");
    expectExactThrow<EConvertError>([&] { call(fnStrToTime, {str("25:00")}); },
                                    "'25:00' is not a valid time");
    expectExactThrow<EConvertError>([&] { call(fnStrToDateTime, {str("x")}); },
                                    "'x' is not a valid date and time");
}

TEST_F(Dates, parts_as_numbers_and_as_digits)
{
    TRpObject *d = date(987, 3, 7);
    TRpReportVariable &y = call(fnYear, {d});
    EXPECT_EQ(y.DataType(), rpdtNumber);
    EXPECT_EQ(y.AsFloat(), 987);
    EXPECT_EQ(call(fnMonth, {d}).AsFloat(), 3);
    EXPECT_EQ(call(fnDay, {d}).AsFloat(), 7);
    EXPECT_EQ(text(fnSYear, d), QStringLiteral("0987"));
    EXPECT_EQ(text(fnSMonth, d), QStringLiteral("03"));
    EXPECT_EQ(text(fnSDay, d), QStringLiteral("07"));
    EXPECT_EQ(text(fnDtos, d), QStringLiteral("09870307"));
    EXPECT_EQ(text(fnDtos, dateTime(EncodeDate(2024, 12, 31) + 0.99)), QStringLiteral("20241231"));
}

TEST_F(Dates, stod_reads_eight_digits_and_dtos_gives_them_back)
{
    EXPECT_EQ(moment(fnStod, str("20240229")), EncodeDate(2024, 2, 29));
    TRpReportVariable &d = call(fnStod, {str("19991231")});
    EXPECT_EQ(text(fnDtos, &d), QStringLiteral("19991231"));

    const QString length =
        QStringLiteral("Operand of string type YYYYMMDD expected. Function \"STOD\"");
    expectPlain([&] { call(fnStod, {str("2024022")}); }, withExpr(length));
    expectPlain([&] { call(fnStod, {str("202402290")}); }, withExpr(length));
    expectExactThrow<EConvertError>([&] { call(fnStod, {str("2024-2-1")}); },
                                    "'-2' is not a valid integer value");
    expectExactThrow<EConvertError>([&] { call(fnStod, {str(" 2024011")}); },
                                    "' 202' is not a valid integer value");
    expectExactThrow<EConvertError>([&] { call(fnStod, {str("20230229")}); },
                                    "Invalid argument to date encode");
}

TEST_F(Dates, operand_messages)
{
    const struct
    {
        int f;
        const char *name;
    } dateArgs[] = {{fnDateToStr, "DATETOSTR"}, {fnDateTimeToStr, "DATETIMETOSTR"},
                    {fnTimeToStr, "TIMETOSTR"}, {fnYear, "YEAR"},
                    {fnMonth, "MONTH"},         {fnDay, "DAY"},
                    {fnSYear, "SYEAR"},         {fnSMonth, "SMONTH"},
                    {fnSDay, "SDAY"},           {fnDtos, "DTOS"}},
      textArgs[] = {{fnStrToDate, "STRTODATE"},
                    {fnStrToDateTime, "STRTODATETIME"},
                    {fnStrToTime, "STRTOTIME"},
                    {fnStod, "STOD"}};
    const auto check = [&](int f, const char *name, const char *kind, TRpObject *good,
                           TRpObject *wrong) {
        const std::string unknown = std::string("Operand type unknown. Function \"") + name + "\"";
        const std::string wrongType =
            std::string("Operand of ") + kind + " type expected. Function \"" + name + "\"";
        // An untyped value is a wrong type too.
        for (TRpObject *w : {wrong, untyped("20240101")})
            expectArgMessages(f, {good}, {w}, {unknown.c_str(), wrongType.c_str()});
    };
    for (const auto &c : dateArgs)
        check(c.f, c.name, "date/time", date(2024, 1, 1), str("20240101"));
    for (const auto &c : textArgs)
        check(c.f, c.name, "string", str("20240101"), date(2024, 1, 1));
}

} // namespace
