// SPDX-License-Identifier: MIT
// The hatch styles' 8 x 8 masks and names, and the two-colour images and brushes made of them.
#include "hatchpatterns.h"

THatchMask HatchMask(THatchStyle style)
{
    return {};
}
const char *HatchStyleName(THatchStyle style)
{
    return "";
}
QImage HatchImage(THatchStyle style, const QColor &foreground, const QColor &background)
{
    return {};
}
QBrush HatchBrush(THatchStyle style, const QColor &foreground, const QColor &background)
{
    return {};
}
