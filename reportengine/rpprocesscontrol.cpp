// SPDX-License-Identifier: MIT
// Control keywords in the processing loop: the points where the control blocks plug in.
#include "rprtf.h"

#include "rpconsts.h"

namespace rp {

void TRpRTF::CompileControlField(std::int32_t, const QString &fieldText, const QString &)
{
    throw EIllegalScanUse(("Control keyword not supported yet: " + fieldText).toStdString());
}

void TRpRTF::RunControlItem(std::int32_t)
{
    CmSkipItem();
}

void TRpRTF::CheckBlockNesting() {}

} // namespace rp
