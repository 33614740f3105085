// SPDX-License-Identifier: MIT
// The rotary menu's items: one sector each, with four state fills, caption and images.
#pragma once

#include <rotarymenu/rotarymenu.h>

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class TPicture;

/// One sector of the menu. Every setter compares, stores and asks the menu to repaint
/// only when the value differs; setting a fill, the font or the image copies the given one.
class TRotaryMenuItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Toggle READ Toggle WRITE SetToggle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(qint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(TRotaryMenuLocation CaptionLocation READ CaptionLocation WRITE SetCaptionLocation)
    Q_PROPERTY(TRotaryMenuLocation ImageLocation READ ImageLocation WRITE SetImageLocation)
    Q_PROPERTY(int CaptionLeft READ CaptionLeft WRITE SetCaptionLeft)
    Q_PROPERTY(int CaptionTop READ CaptionTop WRITE SetCaptionTop)
    Q_PROPERTY(int ImageLeft READ ImageLeft WRITE SetImageLeft)
    Q_PROPERTY(int ImageTop READ ImageTop WRITE SetImageTop)
    Q_PROPERTY(QString ImageName READ ImageName WRITE SetImageName)
    Q_PROPERTY(int ImageWidth READ ImageWidth WRITE SetImageWidth)
    Q_PROPERTY(int ImageHeight READ ImageHeight WRITE SetImageHeight)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(int Index READ Index WRITE SetIndex)

public:
    ~TRotaryMenuItem() override;

    /// The menu the item belongs to.
    TRotaryMenu *Menu() const { return m_menu; }

    /// A click flips Down. [false]
    bool Toggle() const { return m_toggle; }
    void SetToggle(bool value);

    TGradientFill *Fill() const { return m_fill; }
    void SetFill(const TGradientFill *value);
    TGradientFill *HoverFill() const { return m_hoverFill; }
    void SetHoverFill(const TGradientFill *value);
    TGradientFill *DownFill() const { return m_downFill; }
    void SetDownFill(const TGradientFill *value);
    TGradientFill *DisabledFill() const { return m_disabledFill; }
    void SetDisabledFill(const TGradientFill *value);

    /// Drawn in the item; "&" underlines the next character.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    QFont Font() const { return m_font; }
    void SetFont(const QFont &value);
    /// Caption colour (a colour value; system colours allowed).
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);

    TRotaryMenuLocation CaptionLocation() const { return m_captionLocation; }
    void SetCaptionLocation(TRotaryMenuLocation value);
    TRotaryMenuLocation ImageLocation() const { return m_imageLocation; }
    void SetImageLocation(TRotaryMenuLocation value);
    /// Offsets from the placed position, or absolute coordinates for clCustom.
    int CaptionLeft() const { return m_captionLeft; }
    void SetCaptionLeft(int value);
    int CaptionTop() const { return m_captionTop; }
    void SetCaptionTop(int value);
    int ImageLeft() const { return m_imageLeft; }
    void SetImageLeft(int value);
    int ImageTop() const { return m_imageTop; }
    void SetImageTop(int value);

    /// The item's own picture; its changes repaint the menu.
    TPicture *Image() const { return m_image; }
    void SetImage(const TPicture *value);
    /// Name of a picture in the menu's PictureContainer.
    QString ImageName() const { return m_imageName; }
    void SetImageName(const QString &value);
    /// Image box size; negative means the picture's own. [-1]
    int ImageWidth() const { return m_imageWidth; }
    void SetImageWidth(int value);
    int ImageHeight() const { return m_imageHeight; }
    void SetImageHeight(int value);
    /// Index into the menu's ImageList; negative means none. [-1]
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);

    /// A disabled item ignores the mouse and shows DisabledFill. [true]
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    /// A read-only item ignores the mouse but keeps its look. [false]
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    /// Tooltip text, also the host's key for the item.
    QString Hint() const { return m_hint; }
    void SetHint(const QString &value);
    int Tag() const { return m_tag; }
    void SetTag(int value);
    /// Key combination (Qt key | modifiers) that clicks the item; 0 for none.
    int ShortCut() const { return m_shortCut; }
    void SetShortCut(int value);

    /// Drawn with DownFill while true.
    bool Down() const { return m_down; }
    void SetDown(bool value);

    /// Position in the collection; setting it moves the item.
    int Index() const;
    void SetIndex(int value);

    /// Angles of the item's sector from the menu's current angles.
    double StartAngle() const;
    double StopAngle() const;

    QObject *DataObject() const { return m_dataObject; }
    void SetDataObject(QObject *value) { m_dataObject = value; }
    QString DataString() const { return m_dataString; }
    void SetDataString(const QString &value) { m_dataString = value; }
    int DataInteger() const { return m_dataInteger; }
    void SetDataInteger(int value) { m_dataInteger = value; }

    /// Copies everything but Down, Tag and the data values from another item.
    void Assign(const QObject *source);
    /// Asks the menu to repaint.
    void Changed();

Q_SIGNALS:
    /// Raised by Changed.
    void OnChange(TRotaryMenuItem *Sender);

private:
    friend class TRotaryMenuItems;
    explicit TRotaryMenuItem(TRotaryMenu *menu);
    void copyDefaults();
    template <typename T> void set(T &field, const T &value);

    TRotaryMenu *m_menu;
    bool m_toggle = false;
    TGradientFill *m_fill;
    TGradientFill *m_hoverFill;
    TGradientFill *m_downFill;
    TGradientFill *m_disabledFill;
    QString m_caption;
    QFont m_font;
    TColor m_fontColor = 0;
    TRotaryMenuLocation m_captionLocation = TRotaryMenu::clCenterCenter;
    TRotaryMenuLocation m_imageLocation = TRotaryMenu::clCenterCenter;
    int m_captionLeft = 0;
    int m_captionTop = 0;
    int m_imageLeft = 0;
    int m_imageTop = 0;
    TPicture *m_image;
    QString m_imageName;
    int m_imageWidth = -1;
    int m_imageHeight = -1;
    int m_imageIndex = -1;
    bool m_enabled = true;
    bool m_readOnly = false;
    QString m_hint;
    int m_tag = 0;
    int m_shortCut = 0;
    bool m_down = false;
    QPointer<QObject> m_dataObject;
    QString m_dataString;
    int m_dataInteger = 0;
};

/// The menu's ordered, owned items.
class TRotaryMenuItems
{
public:
    explicit TRotaryMenuItems(TRotaryMenu *menu);
    ~TRotaryMenuItems();
    TRotaryMenuItems(const TRotaryMenuItems &) = delete;
    TRotaryMenuItems &operator=(const TRotaryMenuItems &) = delete;

    TRotaryMenu *Menu() const { return m_menu; }
    int Count() const { return int(m_items.size()); }
    /// The item at `index`, or null when out of range.
    TRotaryMenuItem *Items(int index) const;
    /// Copies `source` into the item at `index`.
    void SetItems(int index, const TRotaryMenuItem *source);
    /// Position of `item`, or -1.
    int IndexOf(const TRotaryMenuItem *item) const;

    /// Appends a new item with the menu's defaults.
    TRotaryMenuItem *Add();
    /// Creates a new item at `index` (clamped to 0..Count).
    TRotaryMenuItem *Insert(int index);
    void Delete(int index);
    /// Deletes from the last item to the first.
    void Clear();
    /// Recreates the items as copies of `source`'s.
    void Assign(const TRotaryMenuItems *source);

private:
    friend class TRotaryMenuItem;
    void move(int from, int to);

    TRotaryMenu *m_menu;
    std::vector<std::unique_ptr<TRotaryMenuItem>> m_items;
};
