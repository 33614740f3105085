// SPDX-License-Identifier: MIT
// Opening a file with the desktop's viewer.
#pragma once

#include <QString>

namespace rp {

/// Opens `fileName` with the desktop's viewer for its type (xdg-open, or the program named
/// by $REPORT_OPEN_COMMAND). Returns a shell result code: above 32 when opened (a viewer
/// still running after a short grace time counts as opened), 2 for a missing file, 31
/// when no viewer takes the file, 1 otherwise. While it waits on the thread of a running
/// application it runs that thread's events.
int OpenWithDesktop(const QString &fileName);

} // namespace rp
