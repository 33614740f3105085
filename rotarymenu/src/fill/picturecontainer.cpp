// SPDX-License-Identifier: MIT
// Named picture store that menu items draw their images from by name.
#include <rotarymenu/picturecontainer.h>

#include <algorithm>

TPictureItem::TPictureItem(QObject *parent) : QObject(parent), m_picture(new TPicture(this)) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::SetPicture(const TPicture *picture)
{
    m_picture->Assign(picture);
}

void TPictureItem::Assign(const TPictureItem *source)
{
    if (!source || source == this) {
        return;
    }
    m_name = source->m_name;
    m_tag = source->m_tag;
    m_picture->Assign(source->m_picture);
}

TPictureItem *TPictureCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return m_items[size_t(index)].get();
}

TPictureItem *TPictureCollection::Add()
{
    return Insert(Count());
}

TPictureItem *TPictureCollection::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto it = m_items.insert(m_items.begin() + index, std::make_unique<TPictureItem>());
    return it->get();
}

void TPictureCollection::Delete(int index)
{
    if (index >= 0 && index < Count()) {
        m_items.erase(m_items.begin() + index);
    }
}

void TPictureCollection::Clear()
{
    while (!m_items.empty()) {
        m_items.pop_back();
    }
}

void TPictureCollection::Assign(const TPictureCollection &source)
{
    if (&source == this) {
        return;
    }
    Clear();
    for (const auto &item : source.m_items) {
        Add()->Assign(item.get());
    }
}

TPictureContainer::TPictureContainer(QObject *parent) : QObject(parent) {}

TPictureContainer::~TPictureContainer() = default;

TPicture *TPictureContainer::FindPicture(const QString &name) const
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < m_items.Count(); ++i) {
        TPictureItem *item = m_items.Items(i);
        if (item->Name().toUpper() == wanted) {
            return item->Picture();
        }
    }
    return nullptr;
}

QString TPictureContainer::Version() const
{
    const int major = 1, minor = 0, release = 0, build = 0;
    return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
}
