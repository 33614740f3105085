// SPDX-License-Identifier: MIT
// Control keywords in the processing loop: handed to the control blocks in both phases.
#include "compiler/rpcontrol.h"
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
    TRpControlCompiler(*this).CheckNesting();
}

} // namespace rp
