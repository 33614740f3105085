// SPDX-License-Identifier: MIT
// Private state of the rotary menu widget shared by its implementation files.
#pragma once

#include "fill/pathgradient.h"
#include "raster/pathcoverage.h"
#include "widget/rotarymenuanimation.h"
#include <rotarymenu/picturecontainer.h>
#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuimagelist.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QBasicTimer>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QStaticText>

#include <functional>

namespace zc::ring {

/// What a key does to the menu.
enum class TKeyAction
{
    None,
    Press,
    First,
    Last,
    Previous,
    Next
};
TKeyAction keyAction(int key);

struct TRotaryMenuPrivate
{
    explicit TRotaryMenuPrivate(TRotaryMenu *q);
    static TRotaryMenuPrivate *get(TRotaryMenu *menu) { return menu->d.get(); }

    /// Index of `item` in the collection, -1 for none.
    int indexOf(const TRotaryMenuItem *item) const { return items->IndexOf(item); }
    /// Drops every interaction reference to an item that is going away.
    void forget(const TRotaryMenuItem *item);
    /// Resets the animated width and height when the control's size changed. A hidden
    /// widget gets its resize event only when shown, so this is checked wherever the size
    /// is used rather than relied on from the event.
    void syncSize();
    /// Sets the width or height target under the angle setters' rules.
    void setAnimated(TAnimatedValue &q, double value);
    /// Starts the animation timer when a tick has work and it is not running yet; the tick
    /// stops it once there is none. Called after anything that can give a tick work.
    void wakeTimer();

    /// Carries out a key's action; items must not be empty.
    void perform(TKeyAction action);
    /// Keyboard navigation without wrap-around, skipping disabled items.
    TRotaryMenuItem *findNextFocused() const;
    TRotaryMenuItem *findPreviousFocused() const;
    /// First item whose ShortCut is this key combination, or null.
    TRotaryMenuItem *itemForShortCut(int combination) const;
    /// Pressed := none, flip a toggle item, raise the click with `sender`.
    void clickFromKey(TRotaryMenuItem *item);
    /// Hovered and pressed := none (the mouse left, or focus went away).
    void cancelPointer();

    /// Makes the menu and its items known to assistive technology (once per process).
    static void installAccessibility();
    /// Tells assistive technology which item has the keyboard focus, when that changed.
    void announceFocus();

    // Painting helpers (rotarymenupaint.cpp).
    /// Shadow and items, from the ring layer when nothing changed since it was made.
    void drawRing(QPainter *p, const TRotaryMenuGeometry &g);
    /// Shadow, then items, straight onto `p`.
    void paintRing(QPainter *p, const TRotaryMenuGeometry &g);
    bool hasShadow(const TRotaryMenuGeometry &g) const;
    /// True when every item's state fill covers its sector opaquely.
    bool itemsOpaque(const TRotaryMenuGeometry &g) const;
    /// True when an item shows an image-list bitmap, which only the GUI thread may draw.
    bool usesPixmaps(const TRotaryMenuGeometry &g) const;
    QList<TPathGradient::TBlendStop> shadowBlend() const;
    void drawFocus(QPainter *p, const TRotaryMenuGeometry &g);
    void drawShadow(QPainter *p, const QPainterPath &outline);
    /// The items straight onto `p`, each clipped to its sector.
    void drawItems(QPainter *p, const TRotaryMenuGeometry &g);
    /// composeRing() onto `image` with the hints and font of `p`, after `prepare` (if set),
    /// on a thread of the pool or this one.
    void composeOnto(QImage &image, const QPainter *p, const TRotaryMenuGeometry &g,
                     const std::function<void()> &prepare, bool onPool);
    /// Shadow and items onto `layer` (premultiplied, or opaque; whose painter `p` is, without
    /// a transform), each item laid on through its sector's coverage.
    void composeRing(QPainter *p, QImage &layer, const TRotaryMenuGeometry &g);
    /// The device's pixels under the widget as an image of their own, when the ring can be
    /// composed there directly rather than in its layer.
    bool deviceView(QPainter *p, qreal ratio, QImage &view) const;
    /// Fill, caption and images of one item over its sector's bounding box, unclipped.
    void paintItem(QPainter *p, const TRotaryMenuGeometry &g, int index, const QRectF &bounds);
    /// Lays an item whose fill is alike along rows or columns onto `layer` (its device
    /// pixels in `area`, covered as `coverage` says) from a narrower copy of the fill and its
    /// caption's part of the box: the same pixels as painting the whole box. False, having
    /// done nothing, for an item that cannot be painted so.
    bool layDrawnOut(QPainter *p, QImage &layer, const TRotaryMenuGeometry &g, int index,
                     const QRectF &bounds, const QRect &area, const TPathCoverage &coverage);
    void drawOutline(QPainter *p, int index, const QPainterPath &outline);
    /// The item's font, or Arial when its family is missing.
    QFont captionFont(const QFont &font);
    void drawCaption(QPainter *p, const TRotaryMenuItem *item, const QRectF &box);
    /// Where a caption may paint in `box` on `device`: its place with room around it, in
    /// logical pixels (empty without a caption).
    QRectF captionInk(const TRotaryMenuItem *item, const QRectF &box, const QPaintDevice *device);
    void drawImage(QPainter *p, const TRotaryMenuItem *item, const QRectF &box);

    TRotaryMenu *q;
    std::unique_ptr<TRotaryMenuItems> items;
    QFont defaultFont;
    TColor defaultFontColor;
    std::unique_ptr<TGradientFill> defaultFill;
    std::unique_ptr<TGradientFill> defaultHoverFill;
    std::unique_ptr<TGradientFill> defaultDownFill;
    std::unique_ptr<TGradientFill> defaultDisabledFill;

    bool animation = true;
    int animationFactor = 4;
    TRotaryMenuAnimationType animationType = TRotaryMenu::atInOut;
    TRotaryMenu::TRotaryMenuAnimationModes animationMode = TRotaryMenu::amAngle;
    TColor shadowColor = 0x2D1606;
    int shadowOffset = 4;
    int shadowOpacity = 100;
    int size = 50;
    TRotaryMenuLayout layout = TRotaryMenu::rmlCircularDonut;
    bool showFocus = true;
    QPointer<TPictureContainer> pictureContainer;
    QPointer<TImageList> imageList;

    TRotaryMenuItem *hovered = nullptr;
    TRotaryMenuItem *focused = nullptr;
    TRotaryMenuItem *down = nullptr;
    TRotaryMenuItem *announcedFocus = nullptr;
    int updateCount = 0;
    TRotaryMenuAnimation anim;
    double saveStopAngle = -1.0;
    double saveW = -1.0;
    double saveH = -1.0;
    QBasicTimer timer; ///< 1 ms ticks, running only while anim.busy()
    struct
    {
        QPainterPath outline;
        QColor color;
        int offset = 0;
        QPoint origin;
        QImage image;
    } shadowCache;
    /// The painted ring (shadow and items, not the focus) of one state of the menu.
    struct TRingCache
    {
        struct Key
        {
            quint64 changes = 0;
            qint64 palette = 0;
            QSize size;
            QRectF R;
            qreal ratio = 0;
            int hints = -1;
            bool operator==(const Key &) const = default;
        };
        Key key; ///< the state `image` holds, while `valid`
        bool valid = false;
        QImage image;
        QRegion drawn; ///< the part of `image` that may hold anything, in its pixels
        /// The layer onto `p`, at the top left corner of the widget.
        void DrawOn(QPainter *p) const;
    } ringCache;
    /// Where a frame of the ring can paint, in the pixels of a layer at `ratio`.
    QRegion ringArea(const TRotaryMenuGeometry &g, qreal ratio) const;
    TScratchImage itemScratch; ///< one item's painting before it is laid onto the ring
    /// Each item's sector and its coverage in a frame, kept for their memory.
    struct TSector
    {
        QPainterPath outline;
        QRect area; ///< its device pixels
        TPathCoverage coverage;
    };
    std::vector<TSector> sectors;
    QHash<QString, bool> knownFamilies; ///< font families present, until the fonts change
    /// A caption's size and, without an access key to underline, its laid-out text.
    struct TCaptionLayout
    {
        QSizeF size;
        QRectF ink; ///< where its glyphs may reach, from its top left corner
        QStaticText text;
    };
    const TCaptionLayout &captionLayout(const QString &caption, const QFont &font,
                                        const QPaintDevice *device);
    static QPointF captionAt(const TRotaryMenuItem *item, const QRectF &box, const QSizeF &size);
    struct TCaptionKey
    {
        QString caption;
        QFont font;
        int dpi = 0;
        bool operator==(const TCaptionKey &) const = default;
        friend size_t qHash(const TCaptionKey &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.caption, key.font, key.dpi);
        }
    };
    QHash<TCaptionKey, TCaptionLayout> captionLayouts; ///< as long too
    quint64 changeCount = 0; ///< calls of Changed(), which every visible change makes
    QSize knownSize;
    bool destroying = false;
    std::function<void()> changeHook;
};

} // namespace zc::ring
