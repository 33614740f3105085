// SPDX-License-Identifier: MIT
// Named picture store: lookup by name, copying, version.
#include <rotarymenu/picturecontainer.h>

#include <QBuffer>
#include <QImage>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

QByteArray pngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(PictureContainer, FindPictureIgnoresCaseAndTakesTheFirstMatch)
{
    TPictureContainer store;
    TPictureItem *gem = store.Items().Add();
    gem->SetName(QStringLiteral("GEM"));
    gem->Picture()->LoadFromBytes(pngBytes(4, 2));
    TPictureItem *second = store.Items().Add();
    second->SetName(QStringLiteral("gem"));

    EXPECT_EQ(store.FindPicture(QStringLiteral("gem")), gem->Picture());
    EXPECT_EQ(store.FindPicture(QStringLiteral("Gem")), gem->Picture());
    EXPECT_EQ(store.FindPicture(QStringLiteral("ruby")), nullptr);
    store.Items().Delete(0);
    EXPECT_EQ(store.FindPicture(QStringLiteral("GEM")), second->Picture());
    store.Items().Clear();
    EXPECT_EQ(store.FindPicture(QStringLiteral("GEM")), nullptr);
}

TEST(PictureContainer, CopyingItemsCopiesNameTagAndContent)
{
    TPictureContainer store;
    TPictureItem *a = store.Items().Add();
    a->SetName(QStringLiteral("logo"));
    a->SetTag(5);
    a->Picture()->LoadFromBytes(pngBytes(3, 3));

    TPictureContainer other;
    other.Items().Add();
    other.Items().Assign(store.Items());
    ASSERT_EQ(other.Items().Count(), 1);
    TPictureItem *copy = other.Items().Items(0);
    EXPECT_EQ(copy->Name(), QStringLiteral("logo"));
    EXPECT_EQ(copy->Tag(), 5);
    EXPECT_EQ(copy->Picture()->Bytes(), a->Picture()->Bytes());
    EXPECT_NE(copy->Picture(), a->Picture());

    EXPECT_EQ(store.Items().Insert(-4)->Name(), QString());
    EXPECT_EQ(store.Items().Items(1), a);
    EXPECT_EQ(store.Items().Items(2), nullptr);
}

TEST(PictureContainer, VersionIsFixed)
{
    TPictureContainer store;
    EXPECT_EQ(store.Version(), QStringLiteral("1.0.0.0"));
    store.setProperty("Version", QStringLiteral("9.9"));
    EXPECT_EQ(store.property("Version").toString(), QStringLiteral("1.0.0.0"));
}

} // namespace
