// SPDX-License-Identifier: MIT
// Choosing a text colour that can be read on its background.
#pragma once

#include <QColor>

namespace zc {

/// Contrast ratio of two colours as the accessibility guidelines define it: 1 (none) to 21.
double ContrastRatio(const QColor &a, const QColor &b);

/// `wanted` when text in it reads on `background` (contrast of at least 4.5 : 1, the
/// guidelines' level for body text), `fallback` otherwise.
QColor ReadableTextColour(const QColor &wanted, const QColor &background, const QColor &fallback);

} // namespace zc
