// SPDX-License-Identifier: MIT
// Picture object: the encoded bytes of one image, decoded on demand, drawn scaled or tiled.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>

class QIODevice;
class QPainter;
class QPainterPath;
class QRectF;

/// Holds the encoded bytes of one image in any format QImage decodes (PNG with alpha included).
/// The bytes are kept as given, so saving gives back exactly what was loaded; the decoded image
/// is cached. Bytes that cannot be decoded make a picture that is not empty but has size 0 x 0
/// and draws nothing.
class TPicture : public QObject
{
    Q_OBJECT

public:
    explicit TPicture(QObject *parent = nullptr);
    ~TPicture() override;

    /// True when the picture holds no bytes at all.
    bool Empty() const;
    /// Pixel size of the decoded image; 0 when empty or undecodable.
    int Width() const;
    int Height() const;
    /// True when the bytes decode into an image.
    bool IsValid() const;

    /// Copies the bytes of another picture (an absent one clears); notifies when they differ.
    void Assign(const TPicture *source);
    /// Replaces the content with the given encoded bytes; notifies when they differ.
    void LoadFromBytes(const QByteArray &bytes);
    /// The encoded bytes, exactly as loaded.
    QByteArray Bytes() const;
    /// Reads every remaining byte of the stream as the new content.
    void LoadFromStream(QIODevice &stream);
    /// Writes the encoded bytes to the stream; returns false when the stream refuses them.
    bool SaveToStream(QIODevice &stream) const;
    /// Loads the bytes of a file; returns false (content unchanged) when it cannot be read.
    bool LoadFromFile(const QString &fileName);
    /// Empties the picture.
    void Clear();

    /// The decoded image (null when empty or undecodable), in ARGB32 premultiplied form.
    QImage Image() const;

    /// Draws the picture scaled into the target rectangle, with its alpha.
    void Draw(QPainter *painter, const QRectF &target) const;
    /// Fills the rectangle with the picture tiled at its own size; tiles start at the surface
    /// origin, as a texture brush does.
    void Tile(QPainter *painter, const QRectF &area) const;
    /// Fills the outline with the picture as a tiled texture.
    void Tile(QPainter *painter, const QPainterPath &outline) const;

Q_SIGNALS:
    /// Raised whenever the content changes.
    void OnChange(TPicture *sender);

private:
    void decode() const;

    QByteArray m_bytes;
    mutable QImage m_image;
    mutable bool m_decoded = false;
};
