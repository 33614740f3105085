// SPDX-License-Identifier: MIT
// Picture object: bytes kept as given, decoding with alpha, copying, streams, drawing, tiling.
#include <rotarymenu/picture.h>

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray encode(const QImage &image, const char *format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage gradientImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgba(x * 40, y * 60, 9, 255));
        }
    }
    return image;
}

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

struct Counter
{
    explicit Counter(TPicture &p)
    {
        QObject::connect(&p, &TPicture::OnChange, [this] { ++count; });
    }
    int count = 0;
};

} // namespace

TEST(Picture, KeepsTheBytesAndDecodesWithAlpha)
{
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(qRgba(10, 20, 30, 100));
    const QByteArray bytes = encode(source);
    TPicture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    picture.LoadFromBytes(bytes);
    EXPECT_FALSE(picture.Empty());
    EXPECT_TRUE(picture.IsValid());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.Bytes(), bytes);
    EXPECT_EQ(qAlpha(picture.Image().convertToFormat(QImage::Format_ARGB32).pixel(1, 1)), 100);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.SaveToStream(out));
    EXPECT_EQ(out.data(), bytes);
}

TEST(Picture, OtherFormatsDecodeToo)
{
    TPicture picture;
    picture.LoadFromBytes(encode(gradientImage(5, 4), "BMP"));
    EXPECT_EQ(picture.Width(), 5);
    picture.LoadFromBytes(encode(gradientImage(6, 4), "JPG"));
    EXPECT_EQ(picture.Width(), 6);
}

TEST(Picture, NotifiesOnlyWhenTheContentChanges)
{
    TPicture a, b;
    Counter changes(a);
    const QByteArray bytes = encode(gradientImage(2, 2));
    a.LoadFromBytes(bytes);
    a.LoadFromBytes(bytes);
    EXPECT_EQ(changes.count, 1);
    b.LoadFromBytes(bytes);
    a.Assign(&b);
    EXPECT_EQ(changes.count, 1);
    b.LoadFromBytes(encode(gradientImage(3, 3)));
    a.Assign(&b);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(a.Width(), 3);
    a.Assign(nullptr);
    EXPECT_TRUE(a.Empty());
    a.Clear();
    EXPECT_EQ(changes.count, 3);
}

TEST(Picture, StreamsAndFiles)
{
    const QByteArray bytes = encode(gradientImage(4, 4));
    QBuffer in;
    in.setData(QByteArray("xx") + bytes);
    in.open(QIODevice::ReadOnly);
    in.read(2); // reading starts where the stream stands
    TPicture picture;
    picture.LoadFromStream(in);
    EXPECT_EQ(picture.Bytes(), bytes);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.png"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    TPicture fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(name));
    EXPECT_EQ(fromFile.Width(), 4);
    EXPECT_FALSE(fromFile.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_EQ(fromFile.Width(), 4);
}

TEST(Picture, UndecodableBytesDrawNothing)
{
    TPicture picture;
    picture.LoadFromBytes(QByteArray("\x89PNG\r\n\x1a\n but then garbage", 25));
    EXPECT_FALSE(picture.Empty());
    EXPECT_FALSE(picture.IsValid());
    EXPECT_EQ(picture.Width(), 0);
    QImage image = canvas(20, 20);
    {
        QPainter p(&image);
        picture.Draw(&p, QRectF(0, 0, 20, 20));
        picture.Tile(&p, QRectF(0, 0, 20, 20));
    }
    EXPECT_EQ(image, canvas(20, 20));
}

TEST(Picture, DrawScalesIntoTheTarget)
{
    QImage source(2, 2, QImage::Format_ARGB32);
    source.fill(qRgba(0, 255, 0, 255));
    TPicture picture;
    picture.LoadFromBytes(encode(source));
    QImage image = canvas(20, 20);
    {
        QPainter p(&image);
        picture.Draw(&p, QRectF(5, 4, 10, 6));
    }
    EXPECT_EQ(image.pixel(5, 4), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(14, 9), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(image.pixel(15, 9)), 0);
    EXPECT_EQ(qAlpha(image.pixel(5, 10)), 0);
}

TEST(Picture, TilesFromTheSurfaceOriginInsideTheOutline)
{
    const QImage tile = gradientImage(4, 3);
    TPicture picture;
    picture.LoadFromBytes(encode(tile));
    QImage image = canvas(30, 30);
    QPainterPath outline;
    outline.addRect(5, 5, 20, 20);
    {
        QPainter p(&image);
        picture.Tile(&p, outline);
    }
    EXPECT_EQ(qAlpha(image.pixel(4, 4)), 0);
    for (int y = 5; y < 25; ++y) {
        for (int x = 5; x < 25; ++x) {
            ASSERT_EQ(image.pixel(x, y), tile.pixel(x % 4, y % 3)) << x << "," << y;
        }
    }
}
