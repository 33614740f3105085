// SPDX-License-Identifier: MIT
// EMF and WMF bytes read back field by field: the layouts word processors were seen to accept.
#include "output/rpmetafile.h"

#include <QColor>
#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace rp;

namespace {

std::uint32_t u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}
std::int32_t i32(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::int32_t>(b.constData() + at);
}
std::uint16_t u16(const QByteArray &b, int at)
{
    return qFromLittleEndian<std::uint16_t>(b.constData() + at);
}

/// 40 x 30: left half red, right half blue, a green block top left (shows any flip).
QImage marker()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y,
                           x < 8 && y < 6 ? qRgb(0, 255, 0)
                           : x < 20       ? qRgb(255, 0, 0)
                                          : qRgb(0, 0, 255));
    return image;
}

} // namespace

TEST(metafile, dib_is_bottom_up_bgr_with_padded_rows)
{
    QImage odd(3, 2, QImage::Format_ARGB32);
    odd.fill(qRgb(1, 2, 3));
    odd.setPixel(0, 0, qRgba(255, 0, 0, 0)); // fully transparent: white
    const QByteArray dib = RpDibBytes(odd);
    ASSERT_EQ(dib.size(), 40 + 2 * 12);
    EXPECT_EQ(u32(dib, 0), 40u);
    EXPECT_EQ(i32(dib, 4), 3);
    EXPECT_EQ(i32(dib, 8), 2);
    EXPECT_EQ(u16(dib, 14), 24);
    EXPECT_EQ(u32(dib, 20), 24u);
    // Row 0 of the DIB is the image's bottom row.
    EXPECT_EQ(dib.mid(40, 12), QByteArray("\3\2\1\3\2\1\3\2\1\0\0\0", 12));
    EXPECT_EQ(dib.mid(52, 3), QByteArray("\xff\xff\xff"));
}

TEST(metafile, emf_header_stretch_record_and_end)
{
    const QByteArray emf = RpMakeEmf(marker(), QSize(40, 30), QSize(1058, 794));
    ASSERT_EQ(emf.size(), 3848);
    EXPECT_EQ(u32(emf, 0), 1u);
    EXPECT_EQ(u32(emf, 4), 108u);
    EXPECT_EQ(i32(emf, 24), 0);
    EXPECT_EQ(i32(emf, 32), 1057) << "frame right, inclusive";
    EXPECT_EQ(i32(emf, 36), 793);
    EXPECT_EQ(u32(emf, 40), 0x464D4520u);
    EXPECT_EQ(u32(emf, 44), 0x00010000u);
    EXPECT_EQ(u32(emf, 48), 3848u) << "nBytes is the whole file";
    EXPECT_EQ(u32(emf, 52), 3u) << "three records";
    // Device units per frame unit make the 40 x 30 drawing fill the 10.58 x 7.94 mm frame.
    const double mmPerUnitX = double(i32(emf, 80)) / i32(emf, 72);
    EXPECT_DOUBLE_EQ(40 * mmPerUnitX * 100, 1058);
    EXPECT_DOUBLE_EQ(30 * double(i32(emf, 84)) / i32(emf, 76) * 100, 794);

    const int r = 108;
    EXPECT_EQ(u32(emf, r), 81u);
    EXPECT_EQ(u32(emf, r + 4), 3720u);
    EXPECT_EQ(i32(emf, r + 40), 40) << "cxSrc";
    EXPECT_EQ(i32(emf, r + 44), 30);
    EXPECT_EQ(u32(emf, r + 48), 80u) << "offBmiSrc";
    EXPECT_EQ(u32(emf, r + 52), 40u);
    EXPECT_EQ(u32(emf, r + 56), 120u);
    EXPECT_EQ(u32(emf, r + 60), 3600u);
    EXPECT_EQ(u32(emf, r + 68), 0x00CC0020u);
    EXPECT_EQ(i32(emf, r + 72), 40);
    EXPECT_EQ(i32(emf, r + 76), 30);
    // Bottom-left pixel red, top-left (last row) green, as B,G,R.
    EXPECT_EQ(emf.mid(r + 120, 3), QByteArray("\0\0\xff", 3));
    EXPECT_EQ(emf.mid(r + 120 + 29 * 120, 3), QByteArray("\0\xff\0", 3));

    const int e = 3828;
    EXPECT_EQ(u32(emf, e), 14u);
    EXPECT_EQ(u32(emf, e + 4), 20u);
    EXPECT_EQ(u32(emf, e + 12), 16u);
    EXPECT_EQ(u32(emf, e + 16), 20u);
}

TEST(metafile, wmf_header_mapping_window_and_stretch)
{
    const QByteArray wmf = RpMakeWmf(marker(), QSize(40, 30));
    ASSERT_EQ(wmf.size(), 3720);
    EXPECT_EQ(u16(wmf, 0), 1) << "any other type makes readers refuse the document";
    EXPECT_EQ(u16(wmf, 2), 9);
    EXPECT_EQ(u16(wmf, 4), 0x0300);
    EXPECT_EQ(u32(wmf, 6), 1860u) << "size in words";
    EXPECT_EQ(u32(wmf, 12), 1834u) << "largest record";
    EXPECT_EQ(u32(wmf, 18), 4u);
    EXPECT_EQ(u16(wmf, 22), 0x0103);
    EXPECT_EQ(u16(wmf, 24), 8) << "anisotropic";
    EXPECT_EQ(u16(wmf, 30), 0x020B);
    EXPECT_EQ(u16(wmf, 40), 0x020C);
    EXPECT_EQ(u16(wmf, 42), 30) << "window extent: height first";
    EXPECT_EQ(u16(wmf, 44), 40);
    const int s = 46;
    EXPECT_EQ(u32(wmf, s), 1834u);
    EXPECT_EQ(u16(wmf, s + 4), 0x0F43);
    EXPECT_EQ(u32(wmf, s + 6), 0x00CC0020u);
    EXPECT_EQ(u16(wmf, s + 12), 30);
    EXPECT_EQ(u16(wmf, s + 14), 40);
    EXPECT_EQ(u16(wmf, s + 20), 30);
    EXPECT_EQ(u16(wmf, s + 22), 40);
    EXPECT_EQ(u32(wmf, s + 28), 40u) << "the DIB header follows the 28-byte fixed part";
    EXPECT_EQ(u32(wmf, 3714), 3u);
    EXPECT_EQ(u16(wmf, 3718), 0);

    // A metafile larger than the picture (a 192-dpi screen) stretches it; odd DIB sizes
    // are padded to whole words.
    const QByteArray big = RpMakeWmf(QImage(1, 1, QImage::Format_RGB32), QSize(2, 2));
    EXPECT_EQ(big.size() % 2, 0);
    EXPECT_EQ(u32(big, 6) * 2, std::uint32_t(big.size()));
    EXPECT_EQ(u16(big, 42), 2);
    EXPECT_EQ(u16(big, 46 + 12), 1);
}
