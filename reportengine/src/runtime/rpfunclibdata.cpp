// SPDX-License-Identifier: MIT
// Built-in function library: data-set navigation (EOF, BOF, NEXT, PRIOR, FIRST, LAST).
#include "runtime/rpfunclib_p.h"
#include <reportengine/rpcompiler.h>
#include <reportengine/rprtf.h>

namespace rp::funclib {

TRpDataSet *FindRunDataSet(TRpRTF &report, const QString &alias)
{
    const std::int32_t at = report.CtoN(alias);
    if (at < 0 || at >= static_cast<std::int32_t>(report.FDFiles.size()))
        return nullptr;
    return report.FDFiles[static_cast<size_t>(at)];
}

bool DoDataSetFunction(const TRpFuncCall &call)
{
    if (call.Index > -33 || call.Index < -38)
        return false;
    const QString quotedName = Quoted(call.Index == -33   ? "EOF"
                                      : call.Index == -34 ? "BOF"
                                      : call.Index == -35 ? "NEXT"
                                      : call.Index == -36 ? "PRIOR"
                                      : call.Index == -37 ? "FIRST"
                                                          : "LAST");
    const auto *var = dynamic_cast<const TRpReportVariable *>(call.Arg(0));
    if (!var)
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetIdentExpected) + quotedName);
    const QString alias = RpTrim(var->Name());
    if (var->Local() || alias.isEmpty())
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetFirstExpected) + quotedName);
    TRpDataSet *ds = FindRunDataSet(call.Report, alias);
    if (!ds)
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetAliasNotFound) + alias);
    switch (call.Index) {
    case -33:
        call.Result.SetAsBoolean(ds->Eof());
        break;
    case -34:
        call.Result.SetAsBoolean(ds->Bof());
        break;
    case -35:
        ds->Next();
        break;
    case -36:
        ds->Prior();
        break;
    case -37:
        ds->First();
        break;
    default:
        ds->Last();
        break;
    }
    return true;
}

} // namespace rp::funclib
