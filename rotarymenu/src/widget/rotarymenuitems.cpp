// SPDX-License-Identifier: MIT
// The rotary menu's items: defaults taken from the menu, setters, copying, the collection.
#include "widget/rotarymenu_p.h"

#include <algorithm>

using namespace zc::ring;

TRotaryMenuItem::TRotaryMenuItem(TRotaryMenu *menu)
    : m_menu(menu), m_fill(new TGradientFill(this)), m_hoverFill(new TGradientFill(this)),
      m_downFill(new TGradientFill(this)), m_disabledFill(new TGradientFill(this)),
      m_font(QStringLiteral("Tahoma")), m_image(new TPicture(this))
{
    for (TGradientFill *fill : {m_fill, m_hoverFill, m_downFill, m_disabledFill}) {
        connect(fill, &TGradientFill::OnChange, this, [this] { Changed(); });
    }
    connect(m_image, &TPicture::OnChange, this, [this] { Changed(); });
}

TRotaryMenuItem::~TRotaryMenuItem()
{
    // The fills and the picture are children and go with the item, after this body: make
    // sure none of them can call back into the half-destroyed item.
    for (QObject *child :
         {static_cast<QObject *>(m_fill), static_cast<QObject *>(m_hoverFill),
          static_cast<QObject *>(m_downFill), static_cast<QObject *>(m_disabledFill),
          static_cast<QObject *>(m_image)}) {
        child->disconnect(this);
    }
    m_menu->d->forget(this);
    m_menu->Changed();
}

void TRotaryMenuItem::copyDefaults()
{
    m_font = m_menu->DefaultFont();
    m_fontColor = m_menu->DefaultFontColor();
    m_fill->Assign(m_menu->DefaultFill());
    m_hoverFill->Assign(m_menu->DefaultHoverFill());
    m_downFill->Assign(m_menu->DefaultDownFill());
    m_disabledFill->Assign(m_menu->DefaultDisabledFill());
}

template <typename T> void TRotaryMenuItem::set(T &field, const T &value)
{
    if (field == value) {
        return;
    }
    field = value;
    Changed();
}

void TRotaryMenuItem::Changed()
{
    m_menu->Changed();
    Q_EMIT OnChange(this);
}

void TRotaryMenuItem::SetToggle(bool value)
{
    set(m_toggle, value);
}

void TRotaryMenuItem::SetFill(const TGradientFill *value)
{
    m_fill->Assign(value);
}

void TRotaryMenuItem::SetHoverFill(const TGradientFill *value)
{
    m_hoverFill->Assign(value);
}

void TRotaryMenuItem::SetDownFill(const TGradientFill *value)
{
    m_downFill->Assign(value);
}

void TRotaryMenuItem::SetDisabledFill(const TGradientFill *value)
{
    m_disabledFill->Assign(value);
}

void TRotaryMenuItem::SetCaption(const QString &value)
{
    set(m_caption, value);
}

void TRotaryMenuItem::SetFont(const QFont &value)
{
    set(m_font, value);
}

void TRotaryMenuItem::SetFontColor(TColor value)
{
    set(m_fontColor, value);
}

void TRotaryMenuItem::SetCaptionLocation(TRotaryMenuLocation value)
{
    set(m_captionLocation, value);
}

void TRotaryMenuItem::SetImageLocation(TRotaryMenuLocation value)
{
    set(m_imageLocation, value);
}

void TRotaryMenuItem::SetCaptionLeft(int value)
{
    set(m_captionLeft, value);
}

void TRotaryMenuItem::SetCaptionTop(int value)
{
    set(m_captionTop, value);
}

void TRotaryMenuItem::SetImageLeft(int value)
{
    set(m_imageLeft, value);
}

void TRotaryMenuItem::SetImageTop(int value)
{
    set(m_imageTop, value);
}

void TRotaryMenuItem::SetImage(const TPicture *value)
{
    m_image->Assign(value);
}

void TRotaryMenuItem::SetImageName(const QString &value)
{
    set(m_imageName, value);
}

void TRotaryMenuItem::SetImageWidth(int value)
{
    set(m_imageWidth, value);
}

void TRotaryMenuItem::SetImageHeight(int value)
{
    set(m_imageHeight, value);
}

void TRotaryMenuItem::SetImageIndex(int value)
{
    set(m_imageIndex, value);
}

void TRotaryMenuItem::SetEnabled(bool value)
{
    set(m_enabled, value);
}

void TRotaryMenuItem::SetReadOnly(bool value)
{
    set(m_readOnly, value);
}

void TRotaryMenuItem::SetHint(const QString &value)
{
    set(m_hint, value);
}

void TRotaryMenuItem::SetTag(int value)
{
    set(m_tag, value);
}

void TRotaryMenuItem::SetShortCut(int value)
{
    set(m_shortCut, value);
}

void TRotaryMenuItem::SetDown(bool value)
{
    set(m_down, value);
}

int TRotaryMenuItem::Index() const
{
    return m_menu->Items()->IndexOf(this);
}

void TRotaryMenuItem::SetIndex(int value)
{
    m_menu->Items()->move(Index(), value);
}

double TRotaryMenuItem::StartAngle() const
{
    const int n = m_menu->Items()->Count();
    const double sweep = m_menu->StopAngle() - m_menu->StartAngle();
    return m_menu->StartAngle() + Index() * sweep / n;
}

double TRotaryMenuItem::StopAngle() const
{
    const int n = m_menu->Items()->Count();
    const double sweep = m_menu->StopAngle() - m_menu->StartAngle();
    return m_menu->StartAngle() + (Index() + 1) * sweep / n;
}

void TRotaryMenuItem::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TRotaryMenuItem *>(source);
    if (!other || other == this) {
        return;
    }
    SetToggle(other->m_toggle);
    SetHint(other->m_hint);
    SetCaption(other->m_caption);
    SetEnabled(other->m_enabled);
    SetImage(other->m_image);
    SetImageIndex(other->m_imageIndex);
    SetImageName(other->m_imageName);
    SetImageWidth(other->m_imageWidth);
    SetImageHeight(other->m_imageHeight);
    SetFill(other->m_fill);
    SetFont(other->m_font);
    SetFontColor(other->m_fontColor);
    SetDownFill(other->m_downFill);
    SetDisabledFill(other->m_disabledFill);
    SetHoverFill(other->m_hoverFill);
    SetImageLocation(other->m_imageLocation);
    SetCaptionLocation(other->m_captionLocation);
    SetImageLeft(other->m_imageLeft);
    SetImageTop(other->m_imageTop);
    SetCaptionLeft(other->m_captionLeft);
    SetCaptionTop(other->m_captionTop);
    SetShortCut(other->m_shortCut);
    SetReadOnly(other->m_readOnly);
}

TRotaryMenuItems::TRotaryMenuItems(TRotaryMenu *menu) : m_menu(menu) {}

TRotaryMenuItems::~TRotaryMenuItems()
{
    Clear();
}

TRotaryMenuItem *TRotaryMenuItems::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return m_items[size_t(index)].get();
}

void TRotaryMenuItems::SetItems(int index, const TRotaryMenuItem *source)
{
    if (TRotaryMenuItem *item = Items(index)) {
        item->Assign(source);
    }
}

int TRotaryMenuItems::IndexOf(const TRotaryMenuItem *item) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[size_t(i)].get() == item) {
            return i;
        }
    }
    return -1;
}

TRotaryMenuItem *TRotaryMenuItems::Add()
{
    return Insert(Count());
}

TRotaryMenuItem *TRotaryMenuItems::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto *item = new TRotaryMenuItem(m_menu);
    m_items.insert(m_items.begin() + index, std::unique_ptr<TRotaryMenuItem>(item));
    item->copyDefaults();
    m_menu->Changed();
    return item;
}

void TRotaryMenuItems::Delete(int index)
{
    if (index < 0 || index >= Count()) {
        return;
    }
    // Take the item out first so that nothing sees it half destroyed in the list.
    std::unique_ptr<TRotaryMenuItem> item = std::move(m_items[size_t(index)]);
    m_items.erase(m_items.begin() + index);
}

void TRotaryMenuItems::Clear()
{
    while (!m_items.empty()) {
        Delete(Count() - 1);
    }
}

void TRotaryMenuItems::Assign(const TRotaryMenuItems *source)
{
    if (!source || source == this) {
        return;
    }
    Clear();
    for (int i = 0; i < source->Count(); ++i) {
        Add()->Assign(source->Items(i));
    }
}

void TRotaryMenuItems::move(int from, int to)
{
    if (from < 0 || from >= Count()) {
        return;
    }
    to = std::clamp(to, 0, Count() - 1);
    if (from == to) {
        return;
    }
    std::unique_ptr<TRotaryMenuItem> item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    m_menu->Changed();
}
