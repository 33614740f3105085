// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as a JSON data set, every record and value read back.
#include <reportengine/rpconsts.h>
#include <reportengine/rpjsondataset.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace rp;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TRpJsonDataSet json;
    try {
        json.LoadFromData(bytes, QStringLiteral("fuzz.json"));
    } catch (const EIOError &) {
        if (json.FieldCount() != 0 || json.RecordCount() != 0)
            __builtin_trap(); // a refused file leaves the data set empty
        return 0;
    }
    for (json.First(); !json.Eof(); json.Next()) {
        for (int i = 0; i < json.FieldCount(); ++i)
            (void)json.Fields(i)->AsString();
    }
    return 0;
}
