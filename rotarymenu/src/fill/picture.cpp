// SPDX-License-Identifier: MIT
// Picture object: keeps the encoded bytes, decodes them with QImage, draws scaled or tiled.
#include <rotarymenu/picture.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QIODevice>
#include <QPainter>
#include <QPainterPath>

TPicture::TPicture(QObject *parent) : QObject(parent) {}

TPicture::~TPicture() = default;

bool TPicture::Empty() const
{
    return m_bytes.isEmpty();
}

int TPicture::Width() const
{
    return Image().width();
}

int TPicture::Height() const
{
    return Image().height();
}

bool TPicture::IsValid() const
{
    return !Image().isNull();
}

void TPicture::Assign(const TPicture *source)
{
    LoadFromBytes(source ? source->m_bytes : QByteArray());
}

void TPicture::LoadFromBytes(const QByteArray &bytes)
{
    if (bytes == m_bytes) {
        return;
    }
    m_bytes = bytes;
    m_image = QImage();
    m_decoded = false;
    Q_EMIT OnChange(this);
}

QByteArray TPicture::Bytes() const
{
    return m_bytes;
}

void TPicture::LoadFromStream(QIODevice &stream)
{
    LoadFromBytes(stream.readAll());
}

bool TPicture::SaveToStream(QIODevice &stream) const
{
    return stream.write(m_bytes) == m_bytes.size();
}

bool TPicture::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    LoadFromStream(file);
    return true;
}

void TPicture::Clear()
{
    LoadFromBytes({});
}

void TPicture::decode() const
{
    m_decoded = true;
    if (m_bytes.isEmpty()) {
        return;
    }
    QBuffer buffer;
    buffer.setData(m_bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    if (reader.read(&image)) {
        m_image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

QImage TPicture::Image() const
{
    if (!m_decoded) {
        decode();
    }
    return m_image;
}

void TPicture::Draw(QPainter *painter, const QRectF &target) const
{
    const QImage image = Image();
    if (!painter || image.isNull() || target.width() <= 0 || target.height() <= 0) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, image);
    painter->restore();
}

void TPicture::Tile(QPainter *painter, const QRectF &area) const
{
    QPainterPath path;
    path.addRect(area);
    Tile(painter, path);
}

void TPicture::Tile(QPainter *painter, const QPainterPath &outline) const
{
    const QImage image = Image();
    if (!painter || image.isNull() || outline.isEmpty()) {
        return;
    }
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrushOrigin(0, 0);
    painter->setBrush(QBrush(image));
    painter->drawPath(outline);
    painter->restore();
}
