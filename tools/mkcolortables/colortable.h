// SPDX-License-Identifier: MIT
// Drawing of the ten-colour table picture shown by the main window's table button.
#pragma once

#include <QImage>
#include <QRect>

namespace zc {

/// Size of a colour-table picture.
inline constexpr QSize ColorTableSize(800, 760);

/// Where gem `index` (0 to 9, in ring order) has its colour swatch in the picture.
QRect ColorTableSwatch(int index);

/// The colour table for language number `language` (0 to 4): the heading in that language,
/// then one row per gem with its ring gradient and its name. Needs the Tahoma fonts
/// registered for the intended look; any sans-serif stands in otherwise.
QImage DrawColorTable(int language);

} // namespace zc
