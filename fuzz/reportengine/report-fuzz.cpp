// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as a template with a few variables and a small data set.
#include <reportengine/rpconsts.h>
#include <reportengine/rpformat.h>
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace rp;
    TRpRTF report;
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    report.CreateVar(QStringLiteral("name"), QStringLiteral("Zo\u00eb {x} \\ y"));
    report.CreateVar(QStringLiteral("n"), 12.5);
    report.CreateVar(QStringLiteral("zero"), 0.0);
    report.CreateVar(QStringLiteral("flag"), true);
    report.CreateVar(QStringLiteral("d"), EncodeDate(2024, 5, 31), true);

    TRpMemoryDataSet orders;
    orders.SetName(QStringLiteral("ORDERS"));
    orders.DefineField(QStringLiteral("NAME"), TRpFieldType::ftString);
    orders.DefineField(QStringLiteral("QTY"), TRpFieldType::ftInteger);
    orders.DefineField(QStringLiteral("PRICE"), TRpFieldType::ftFloat);
    orders.DefineField(QStringLiteral("PAID"), TRpFieldType::ftBoolean);
    orders.AppendRecord({QStringLiteral("Krak\u00f3w"), 3, 19.99, true});
    orders.AppendRecord({QStringLiteral("{b}"), 0, 0.5, false});

    report.SetTemplateBuffer(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    try {
        report.ExecuteStream({&orders}, &out);
    } catch (const std::exception &) {
        // Every failure must be an exception with a message and leave the report usable.
        if (report.ExecuteSuccessful() || report.LastErrMsg().isEmpty())
            __builtin_trap();
    }
    return 0;
}
