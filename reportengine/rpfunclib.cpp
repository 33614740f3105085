// SPDX-License-Identifier: MIT
// Built-in function library entry points: placeholders that compute nothing until the
// library proper replaces this file.
#include "rprtf.h"

namespace rp {

void TRpRTF::InitFunctions(int, TRpUDFArgs &, int, const QString &) {}

void TRpRTF::DoFunctions(int, TRpUDFArgs &, TRpObject *, const QString &) {}

} // namespace rp
