// SPDX-License-Identifier: MIT
// Picture object: keeps the encoded bytes, decodes them with QImage, draws scaled or tiled.
#include "picture.h"

#include <QIODevice>
#include <QPainter>

TPicture::TPicture(QObject *parent) : QObject(parent) {}
TPicture::~TPicture() = default;
bool TPicture::Empty() const
{
    return m_bytes.isEmpty();
}
int TPicture::Width() const
{
    return 0;
}
int TPicture::Height() const
{
    return 0;
}
bool TPicture::IsValid() const
{
    return false;
}
void TPicture::Assign(const TPicture *source) {}
void TPicture::LoadFromBytes(const QByteArray &bytes) {}
QByteArray TPicture::Bytes() const
{
    return m_bytes;
}
void TPicture::LoadFromStream(QIODevice &stream) {}
bool TPicture::SaveToStream(QIODevice &stream) const
{
    return false;
}
bool TPicture::LoadFromFile(const QString &fileName)
{
    return false;
}
void TPicture::Clear() {}
QImage TPicture::Image() const
{
    return {};
}
void TPicture::Draw(QPainter *painter, const QRectF &target) const {}
void TPicture::Tile(QPainter *painter, const QRectF &area) const {}
void TPicture::Tile(QPainter *painter, const QPainterPath &outline) const {}
void TPicture::decode() const {}
