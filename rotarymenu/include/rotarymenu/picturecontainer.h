// SPDX-License-Identifier: MIT
// Named picture store that menu items draw their images from by name.
#pragma once

#include <rotarymenu/picture.h>

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

/// One named picture; owns its picture.
class TPictureItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    explicit TPictureItem(QObject *parent = nullptr);
    ~TPictureItem() override;

    TPicture *Picture() const { return m_picture; }
    /// Copies the given picture's content into the owned one.
    void SetPicture(const TPicture *picture);

    QString Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    /// Copies name, tag and picture content.
    void Assign(const TPictureItem *source);

private:
    TPicture *m_picture; // child object
    QString m_name;
    int m_tag = 0;
};

/// The ordered, owned items of a picture container.
class TPictureCollection
{
public:
    TPictureCollection() = default;
    TPictureCollection(const TPictureCollection &) = delete;
    TPictureCollection &operator=(const TPictureCollection &) = delete;

    int Count() const { return int(m_items.size()); }
    /// The item at `index`, or null when out of range.
    TPictureItem *Items(int index) const;
    TPictureItem *Add();
    /// Creates an item at `index` (clamped to 0..Count).
    TPictureItem *Insert(int index);
    void Delete(int index);
    void Clear();
    /// Recreates this collection as a copy of `source`.
    void Assign(const TPictureCollection &source);

private:
    std::vector<std::unique_ptr<TPictureItem>> m_items;
};

/// Non-visual store of named pictures.
class TPictureContainer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
    explicit TPictureContainer(QObject *parent = nullptr);
    ~TPictureContainer() override;

    TPictureCollection &Items() { return m_items; }
    const TPictureCollection &Items() const { return m_items; }

    /// First picture, in item order, whose name equals `name` ignoring letter case; null
    /// when there is none.
    TPicture *FindPicture(const QString &name) const;

    /// "1.0.0.0"; writing it changes nothing.
    QString Version() const;
    void SetVersion(const QString &) {}

private:
    TPictureCollection m_items;
};
