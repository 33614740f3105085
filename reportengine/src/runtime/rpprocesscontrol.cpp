// SPDX-License-Identifier: MIT
// Control keywords in the processing loop: handed to the control blocks in both phases.
#include "compiler/rpcontrol.h"
#include "runtime/rpscans.h"
#include <reportengine/rprtf.h>

namespace rp {

void TRpRTF::CompileControlField(std::int32_t kind, const QString &fieldText, const QString &markup)
{
    TRpControlCompiler(*this).Compile(kind, fieldText, markup);
}

void TRpRTF::RunControlItem(std::int32_t id)
{
    TRpControlRunner(*this).Run(id);
}

void TRpRTF::CheckBlockNesting()
{
    try {
        TRpControlCompiler(*this).CheckNesting();
    } catch (...) {
        // The place to show is the keyword of the innermost block left open.
        if (const TRpScanInfo *open = FScs ? FScs->GetTopScanInfo() : nullptr)
            noteErrorAt(siteOfItem(open->FCmPosition));
        throw;
    }
}

} // namespace rp
