// SPDX-License-Identifier: MIT
// A labelled sheet of fills showing every body kind, mirror, rounding, shadow, glow and hatch.
#pragma once

#include <QImage>

/// Paints the gallery sheet.
QImage RenderGallery();
