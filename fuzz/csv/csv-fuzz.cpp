// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as a CSV data set, every record and value read back.
#include <reportengine/rpconsts.h>
#include <reportengine/rpcsvdataset.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace rp;
    // Blob cells resolve against an empty folder of their own: they can only miss or be refused.
    static const QTemporaryDir blobs;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TRpCsvDataSet csv;
    try {
        csv.LoadFromData(bytes, QStringLiteral("fuzz.csv"), blobs.path());
    } catch (const EIOError &) {
        return 0; // malformed input is reported, and the data set is left empty
    }
    if (csv.RecordCount() < 0 || csv.FieldCount() < 1)
        __builtin_trap();
    try {
        for (csv.First(); !csv.Eof(); csv.Next()) {
            for (int i = 0; i < csv.FieldCount(); ++i)
                (void)csv.Fields(i)->AsString();
        }
    } catch (const EIOError &) {
        // a blob cell that cannot be read is a reported failure too
    }
    return 0;
}
