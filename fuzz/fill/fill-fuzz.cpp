// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as fill settings (an INI section), loaded and painted.
#include <rotarymenu/gradientfill.h>
#include <zc/inifile.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static std::unique_ptr<QGuiApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fill-fuzz";
        static char *argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
    // The section header is given, so that most inputs are settings rather than noise.
    const QByteArray bytes = "[Fill]\r\n" + QByteArray(reinterpret_cast<const char *>(data),
                                                       static_cast<qsizetype>(size));
    zc::IniFile ini;
    ini.FromText(QString::fromLatin1(bytes));
    TGradientFill fill;
    try {
        fill.LoadFromFile(ini, QStringLiteral("Fill"));
    } catch (const EFillConvertError &) {
        // a value out of range is refused; what was read before stays and is painted
    }
    QImage image(48, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    fill.Fill(&painter, QRectF(0, 0, 48, 24));
    return 0;
}
