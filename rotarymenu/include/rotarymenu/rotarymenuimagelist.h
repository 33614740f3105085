// SPDX-License-Identifier: MIT
// A list of bitmaps that menu items draw by index.
#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>

/// Bitmaps shared by several controls, addressed by index.
class TImageList : public QObject
{
    Q_OBJECT

public:
    explicit TImageList(QObject *parent = nullptr) : QObject(parent) {}

    int Count() const { return int(m_bitmaps.size()); }
    /// The bitmap at `index`; a null pixmap when out of range.
    QPixmap Bitmap(int index) const
    {
        return index >= 0 && index < Count() ? m_bitmaps.at(index) : QPixmap();
    }
    /// Appends a bitmap and returns its index.
    int Add(const QPixmap &bitmap)
    {
        m_bitmaps.append(bitmap);
        Q_EMIT OnChange(this);
        return Count() - 1;
    }
    void Clear()
    {
        m_bitmaps.clear();
        Q_EMIT OnChange(this);
    }

Q_SIGNALS:
    void OnChange(TImageList *Sender);

private:
    QList<QPixmap> m_bitmaps;
};
