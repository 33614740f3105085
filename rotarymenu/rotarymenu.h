// SPDX-License-Identifier: MIT
// Rotary menu widget: a ring (or pie, row, column) of clickable, gradient-filled items.
#pragma once

#include <QWidget>

class TRotaryMenu : public QWidget
{
    Q_OBJECT

public:
    /// How the items are laid out: ring, pie slices, a row or a column.
    enum TRotaryMenuLayout
    {
        rmlCircularDonut,
        rmlCircularPie,
        rmlHorizontal,
        rmlVertical
    };
    Q_ENUM(TRotaryMenuLayout)

    /// Where a caption or image sits in its item's box; clCustom uses absolute coordinates.
    enum TRotaryMenuLocation
    {
        clTopLeft,
        clTopCenter,
        clTopRight,
        clCenterLeft,
        clCenterCenter,
        clCenterRight,
        clBottomLeft,
        clBottomCenter,
        clBottomRight,
        clCustom
    };
    Q_ENUM(TRotaryMenuLocation)

    explicit TRotaryMenu(QWidget *parent = nullptr);
    ~TRotaryMenu() override;
};

using TRotaryMenuLayout = TRotaryMenu::TRotaryMenuLayout;
using TRotaryMenuLocation = TRotaryMenu::TRotaryMenuLocation;
