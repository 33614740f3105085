// SPDX-License-Identifier: MIT
// Built-in function library: data-set navigation (EOF, BOF, NEXT, PRIOR, FIRST, LAST).
#include "compiler/rpcompiler.h"
#include "runtime/rpfunclib_p.h"
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
    // EOF, BOF, NEXT, PRIOR, FIRST and LAST are numbered one after the other.
    if (call.Index > BuiltInNumber(BuiltIn::Eof) || call.Index < BuiltInNumber(BuiltIn::Last))
        return false;
    const QString quotedName = Quoted(BaseFunctionById(call.Index)->name);
    const auto *var = dynamic_cast<const TRpReportVariable *>(call.Arg(0));
    if (!var)
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetIdentExpected) + quotedName);
    const QString alias = RpTrim(var->Name());
    if (var->Local() || alias.isEmpty())
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetFirstExpected) + quotedName);
    TRpDataSet *ds = FindRunDataSet(call.Report, alias);
    if (!ds)
        call.FailIllegal(SRpIllegalFunctionUse, QLatin1String(SDataSetAliasNotFound) + alias);
    switch (call.Fn()) {
    case BuiltIn::Eof:
        call.Result.SetAsBoolean(ds->Eof());
        break;
    case BuiltIn::Bof:
        call.Result.SetAsBoolean(ds->Bof());
        break;
    case BuiltIn::Next:
        ds->Next();
        break;
    case BuiltIn::Prior:
        ds->Prior();
        break;
    case BuiltIn::First:
        ds->First();
        break;
    default:
        ds->Last();
        break;
    }
    return true;
}

} // namespace rp::funclib
