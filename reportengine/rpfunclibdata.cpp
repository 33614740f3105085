// SPDX-License-Identifier: MIT
// Built-in function library: data-set navigation (EOF, BOF, NEXT, PRIOR, FIRST, LAST).
#include "rpcompiler.h"
#include "rpfunclib_p.h"
#include "rprtf.h"

namespace rp::funclib {

namespace {

// The run's data set at `pos`, or none.
TRpDataSet *DataSetAt(const TRpRTF &report, qsizetype pos)
{
    if (pos < 0 || pos >= static_cast<qsizetype>(report.FDFiles.size()))
        return nullptr;
    return report.FDFiles[static_cast<size_t>(pos)];
}

TRpDataSet *DataSetByName(const TRpRTF &report, const QString &name)
{
    const QString prefix = name + u'=';
    for (const QString &line : report.FInDList)
        if (line.startsWith(prefix)) {
            bool ok = false;
            const int pos = line.mid(prefix.size()).toInt(&ok);
            return ok ? DataSetAt(report, pos) : nullptr;
        }
    return nullptr;
}

} // namespace

/// The data set of the run an alias names: a one-character data-set name first, then the
/// letters A to Z for the positions, then the names; nullptr when nothing matches.
TRpDataSet *FindRunDataSet(const TRpRTF &report, const QString &alias)
{
    const QString a = RpTrim(alias).toUpper();
    if (a.isEmpty())
        return nullptr;
    if (a.size() == 1) {
        if (report.FInDListOneCharExists)
            if (TRpDataSet *ds = DataSetByName(report, a))
                return ds;
        const QChar c = a[0];
        if (c >= u'A' && c <= u'Z')
            return DataSetAt(report, c.unicode() - u'A');
    }
    return DataSetByName(report, a);
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
