// SPDX-License-Identifier: MIT
// What a compile lets pass but tells the template's author: fields too long to be read.
#include "messages.h"
#include "reader/rpreader.h"
#include <reportengine/rprtf.h>

namespace rp {

namespace {

// Enough of a field of 10 000 bytes to find it by.
constexpr qsizetype shownFieldBytes = 32;

} // namespace

void TRpRTF::fieldTooLong(std::int32_t kwdPnt)
{
    TRpTemplatePos at = FReader->PositionOf(kwdPnt);
    at.field = QString::fromLatin1(FPFile.mid(kwdPnt - 1, shownFieldBytes)) + QLatin1String("...");
    if (FStrict) {
        FLastErrLocation = at;
        throw EIOError((QLatin1String(msg::FieldTooLong) + at.field).toStdString());
    }
    FWarnings.push_back({at, QLatin1String(msg::FieldTooLongCopied) + at.field});
    if (OnWarning)
        OnWarning(FWarnings.back());
}

} // namespace rp
