// SPDX-License-Identifier: MIT
// One frame of the rotary menu as its painter sees it: geometry, items, shadow, focus.
#pragma once

#include <rotarymenu/gradientfill.h>
#include <rotarymenu/rotarymenugeometry.h>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <vector>

class TPicture;

namespace zc::ring {

/// What one item shows in a frame: the fill of its state, its caption and its images.
struct TRingItem
{
    const TGradientFill *fill = nullptr; ///< normal, hover, down or disabled, as the state says
    QString caption;
    QFont font;
    TColor fontColor = 0;
    TRotaryMenuLocation captionLocation = TRotaryMenu::clCenterCenter;
    int captionLeft = 0;
    int captionTop = 0;
    const TPicture *image = nullptr; ///< its own picture, drawn unless empty
    const TPicture *named = nullptr; ///< the picture store's picture of its name, or null
    QPixmap bitmap;                  ///< the image list's bitmap of its index, or null
    int imageWidth = 0;
    int imageHeight = 0;
    TRotaryMenuLocation imageLocation = TRotaryMenu::clCenterCenter;
    int imageLeft = 0;
    int imageTop = 0;

    /// Draws any image over its fill.
    bool hasImages() const;
};

/// Everything a frame of the ring shows. `changes` and `palette` stand for all of it: a frame
/// with the same counts, size, place and pixel ratio as the last paints the same pixels.
struct TRingFrame
{
    TRotaryMenuGeometry geometry;
    std::vector<TRingItem> items; ///< one per item of the geometry
    QSize size;                   ///< the widget's, in logical pixels
    TColor shadowColor = clNone;
    int shadowOpacity = 255;
    int shadowOffset = 0;
    int focused = -1; ///< the item outlined as having the keyboard focus, -1 for none
    TColor focusColor = 0;
    quint64 changes = 0; ///< counts every change of the menu, its items and fills
    qint64 palette = 0;  ///< the palette's key: the system colours captions may use
    /// The ring lies over the widget's own plain `background`, and nothing it shows changes
    /// without `changes` counting it: its pixels may be kept and copied out again.
    bool keepable = false;
    QColor background;

    bool hasShadow() const;
};

} // namespace zc::ring
