// SPDX-License-Identifier: MIT
// libFuzzer entry point: any bytes through the view's loader and plain text.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::unique_ptr<QGuiApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "richtext-fuzz";
        static char *argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
    // Inputs with an odd first byte get the header, so that most reach the
    // RTF reader; the others try the plain-text path as well.
    QByteArray bytes;
    if (size > 0 && (data[0] & 1))
        bytes = "{\\rtf1 ";
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    rtf::loadRichText(bytes, document);
    (void)rtf::plainText(document);
    return 0;
}
