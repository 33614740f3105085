// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes inserted as an RTF memo into a small template's output.
// Built by the fuzz preset (fuzz/CMakeLists.txt).
#include "rtfinsert/rprtfstream.h"
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>

#include <cstddef>
#include <cstdint>

namespace {

/// Braces balance outside escapes and \bin data: the document stays readable RTF.
bool balanced(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            if (rtf.mid(i + 1, 3) == "bin") {
                qsizetype j = i + 4;
                qint64 n = 0;
                while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9' && n < rtf.size())
                    n = n * 10 + (rtf[j++] - '0');
                if (j < rtf.size() && rtf[j] == ' ')
                    ++j;
                i = j + n - 1;
            } else {
                ++i;
            }
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace rp;
    // A template with header tables, so that the memo's tables are merged, not just copied.
    TRpRTF report;
    report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    report.SetTemplateBuffer("{\\rtf1{\\fonttbl{\\f0\\froman Times;}{\\f3\\fswiss Arial;}}"
                             "{\\colortbl;\\red255\\green0\\blue0;}"
                             "{\\stylesheet{\\s0 Normal;}{\\s2\\b Strong;}} x}");
    QBuffer head;
    head.open(QIODevice::ReadWrite);
    report.ExecuteStream({}, &head);

    QByteArray source(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer in(&source);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("{");
    InsertRtfMemoStreamPar(report, &out, &in);
    out.write("}");
    if (!balanced(out.data()))
        __builtin_trap();
    return 0;
}
