// SPDX-License-Identifier: MIT
// EMF and WMF byte layouts written record by record, little-endian.
#include "output/rpmetafile.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>

namespace rp {

namespace {

class LeWriter
{
public:
    explicit LeWriter(QByteArray &out) : FOut(out) {}
    void u16(std::uint32_t v)
    {
        char b[2];
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(v), b);
        FOut.append(b, 2);
    }
    void u32(std::uint32_t v)
    {
        char b[4];
        qToLittleEndian<std::uint32_t>(v, b);
        FOut.append(b, 4);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }

private:
    QByteArray &FOut;
};

constexpr std::uint32_t srcCopy = 0x00CC0020;
constexpr int bmiSize = 40;

int rowBytes(int width)
{
    return (width * 3 + 3) & ~3;
}

} // namespace

QByteArray RpDibBytes(const QImage &image)
{
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const int w = src.width();
    const int h = src.height();
    const int stride = rowBytes(w);
    QByteArray out;
    out.reserve(bmiSize + qsizetype(stride) * h);
    LeWriter le(out);
    le.u32(bmiSize);
    le.i32(w);
    le.i32(h); // positive: bottom row first
    le.u16(1);
    le.u16(24);
    le.u32(0); // BI_RGB
    le.u32(std::uint32_t(stride) * std::uint32_t(h));
    le.i32(0);
    le.i32(0);
    le.u32(0);
    le.u32(0);
    const qsizetype bitsAt = out.size();
    out.resize(bitsAt + qsizetype(stride) * h);
    char *bits = out.data() + bitsAt;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(h - 1 - y));
        char *row = bits + qsizetype(stride) * y;
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            const auto blend = [a](int c) { return char((c * a + 255 * (255 - a) + 127) / 255); };
            row[3 * x] = blend(qBlue(p));
            row[3 * x + 1] = blend(qGreen(p));
            row[3 * x + 2] = blend(qRed(p));
        }
        std::fill(row + 3 * w, row + stride, char(0));
    }
    return out;
}

QByteArray RpMakeEmf(const QImage &image, QSize size, QSize frame01mm)
{
    const QByteArray dib = RpDibBytes(image);
    const int cx = std::max(size.width(), 1);
    const int cy = std::max(size.height(), 1);
    const int fx = std::max(frame01mm.width(), 1);
    const int fy = std::max(frame01mm.height(), 1);
    constexpr std::uint32_t headerSize = 108;
    constexpr std::uint32_t stretchFixed = 80;
    constexpr std::uint32_t eofSize = 20;
    const std::uint32_t bitsSize = std::uint32_t(dib.size() - bmiSize);
    const std::uint32_t stretchSize = stretchFixed + std::uint32_t(dib.size());
    const std::uint32_t total = headerSize + stretchSize + eofSize;

    QByteArray out;
    out.reserve(total);
    LeWriter le(out);
    // EMR_HEADER. The reference device is 100 units per pixel with the frame as its
    // millimetres, so the drawing (cx by cy units) maps exactly onto the frame.
    le.u32(1);
    le.u32(headerSize);
    le.i32(0), le.i32(0), le.i32(cx - 1), le.i32(cy - 1); // rclBounds
    le.i32(0), le.i32(0), le.i32(fx - 1), le.i32(fy - 1); // rclFrame, 0.01 mm
    le.u32(0x464D4520);
    le.u32(0x00010000);
    le.u32(total);
    le.u32(3); // records
    le.u16(1); // handles
    le.u16(0);
    le.u32(0), le.u32(0), le.u32(0);    // description, palette
    le.i32(cx * 100), le.i32(cy * 100); // szlDevice
    le.i32(fx), le.i32(fy);             // szlMillimeters
    le.u32(0), le.u32(0), le.u32(0);    // pixel format, OpenGL
    le.i32(fx * 10), le.i32(fy * 10);   // szlMicrometers

    // EMR_STRETCHDIBITS
    le.u32(81);
    le.u32(stretchSize);
    le.i32(0), le.i32(0), le.i32(cx - 1), le.i32(cy - 1);
    le.i32(0), le.i32(0); // xDest, yDest
    le.i32(0), le.i32(0); // xSrc, ySrc
    le.i32(image.width()), le.i32(image.height());
    le.u32(stretchFixed);
    le.u32(bmiSize);
    le.u32(stretchFixed + bmiSize);
    le.u32(bitsSize);
    le.u32(0); // DIB_RGB_COLORS
    le.u32(srcCopy);
    le.i32(cx), le.i32(cy);
    out.append(dib);

    // EMR_EOF
    le.u32(14);
    le.u32(eofSize);
    le.u32(0);
    le.u32(16);
    le.u32(eofSize);
    return out;
}

QByteArray RpMakeWmf(const QImage &image, QSize size)
{
    const QByteArray dib = RpDibBytes(image);
    const int cx = std::clamp(size.width(), 1, RpWmfMaxSide);
    const int cy = std::clamp(size.height(), 1, RpWmfMaxSide);
    constexpr std::uint32_t headerWords = 9;
    const std::uint32_t stretchWords = 14 + std::uint32_t((dib.size() + 1) / 2);
    const std::uint32_t totalWords = headerWords + 4 + 5 + 5 + stretchWords + 3;

    QByteArray out;
    out.reserve(qsizetype(totalWords) * 2);
    LeWriter le(out);
    le.u16(1); // in memory; any other type makes readers refuse the whole document
    le.u16(headerWords);
    le.u16(0x0300);
    le.u32(totalWords);
    le.u16(0);
    le.u32(stretchWords);
    le.u16(0);

    le.u32(4), le.u16(0x0103), le.u16(8);              // SETMAPMODE anisotropic
    le.u32(5), le.u16(0x020B), le.u16(0), le.u16(0);   // SETWINDOWORG y, x
    le.u32(5), le.u16(0x020C), le.u16(cy), le.u16(cx); // SETWINDOWEXT height first

    le.u32(stretchWords);
    le.u16(0x0F43);
    le.u32(srcCopy);
    le.u16(0);                                                           // DIB_RGB_COLORS
    le.u16(image.height()), le.u16(image.width()), le.u16(0), le.u16(0); // source
    le.u16(cy), le.u16(cx), le.u16(0), le.u16(0);                        // destination
    out.append(dib);
    if (dib.size() % 2)
        out.append('\0');

    le.u32(3), le.u16(0); // EOF
    return out;
}

} // namespace rp
