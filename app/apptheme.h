// SPDX-License-Identifier: MIT
// The look of the program: the "Light Green" style and the Tahoma-compatible font.
#pragma once

#include <QString>

class QApplication;

namespace zc {

/// Name of the product's visual style.
inline constexpr char SStyleName[] = "Light Green";

/// Registers the Tahoma-compatible fonts (regular and bold) that Debian keeps out of
/// fontconfig's reach. Returns false when neither file could be loaded.
bool RegisterTahoma(const QString &folder = QStringLiteral("/usr/share/wine/fonts"));

/// Gives `app` the "Light Green" look: a palette of pale greens over the Fusion style
/// and a small style sheet. Returns false (and keeps the default look) when the base
/// style is not available.
bool ApplyLightGreenStyle(QApplication &app);

} // namespace zc
