// SPDX-License-Identifier: MIT
// RTF report component layers: construction, header-group items, user-function dispatch.
#include <reportengine/rprtf.h>

#include "compiler/rpcompiler.h"
#include "compiler/rpfunctable.h"
#include "reader/rpreader.h"
#include "runtime/rpscans.h"
#include <reportengine/rpdataset.h>

namespace rp {

TRpBaseRTFReport::TRpBaseRTFReport(QObject *owner)
    : TRpBaseReport(owner), FReader(std::make_unique<TRpTemplateReader>(*this))
{
    FOutFile = QStringLiteral("outfile.doc");
}

TRpBaseRTFReport::~TRpBaseRTFReport() = default;

bool TRpBaseRTFReport::LeftQuote(QChar c)
{
    return RpLeftQuote(c);
}

bool TRpBaseRTFReport::RightQuote(QChar open, QChar c)
{
    return RpRightQuote(open, c);
}

bool TRpBaseRTFReport::IsQuoted(const QString &s)
{
    return RpIsQuoted(s);
}

QString TRpBaseRTFReport::txt2rtf(const QString &text) const
{
    return rp::txt2rtf(text, FUnicodeByDefault);
}

void TRpBaseRTFReport::CmSaveFontTable()
{
    CmSaveItemInfo(cmFontTable, RpCmBodySize::None, Fpnt);
    CmSaveItemPos();
}

void TRpBaseRTFReport::CmReadFontTable()
{
    CmReadItemPos();
}

void TRpBaseRTFReport::CmSaveColorTable()
{
    CmSaveItemInfo(cmColorTable, RpCmBodySize::None, Fpnt);
    CmSaveItemPos();
}

void TRpBaseRTFReport::CmReadColorTable()
{
    CmReadItemPos();
}

void TRpBaseRTFReport::CmSaveStyleSheet()
{
    CmSaveItemInfo(cmStyleSheet, RpCmBodySize::None, Fpnt);
    CmSaveItemPos();
}

void TRpBaseRTFReport::CmReadStyleSheet()
{
    CmReadItemPos();
}

void TRpBaseRTFReport::CmSaveDocInfo()
{
    CmSaveItemInfo(cmDocInfo, RpCmBodySize::None, Fpnt);
    CmSaveItemPos();
}

void TRpBaseRTFReport::CmReadDocInfo()
{
    CmReadItemPos();
}

TRpRTF::TRpRTF(QObject *owner) : TRpBaseRTFReport(owner) {}

TRpRTF::~TRpRTF() = default;

namespace {

// A non-local variable argument whose name is no variable of the report.
const TRpReportVariable *MissingVariable(const TRpBaseReport &report, TRpObject *arg)
{
    const auto *var = dynamic_cast<const TRpReportVariable *>(arg);
    if (var && !var->Local() && report.GetVarNumber(var->Name()) == 0)
        return var;
    return nullptr;
}

std::string VarNotFoundText(const char *prefix, const QString &exprText, const QString &name)
{
    return prefix + exprText.toStdString() + SRpArgVarNotFound1 + name.toStdString() +
           SRpArgVarNotFound2;
}

} // namespace

void TRpRTF::ExecUDF(int index, TRpUDFArgs &args, int argCount, TRpObject *udfResult,
                     const QString &exprText)
{
    if (index >= 0) {
        for (TRpObject *arg : args)
            if (const TRpReportVariable *var = MissingVariable(*this, arg))
                throw EIllegalFunctionUse(
                    VarNotFoundText(SRpIllegalFunctionUse, exprText, var->Name()));
        TRpUDFList *list = UDFList();
        // A number the compiler handed out, but whose list has since shrunk or gone, computes
        // nothing rather than reading past the collection.
        if (!list || index >= list->Count())
            return;
        TRpUDF *udf = list->Functions().Items(index);
        if (udf->OnCalculate)
            udf->OnCalculate(this, args, argCount, udfResult);
        return;
    }

    TRpObject *first = args.empty() ? nullptr : args.front();
    if (index == BuiltInNumber(BuiltIn::Bracket)) {
        if (!dynamic_cast<TRpReportVariable *>(first))
            throw EIllegalFunctionUse(SRpIllegalBrackets1 + exprText.toStdString() +
                                      SRpIllegalBrackets2);
        if (const TRpReportVariable *var = MissingVariable(*this, first))
            throw EIllegalFunctionUse(VarNotFoundText(SRpIllegalExpression, exprText, var->Name()));
    } else if (index >= BuiltInNumber(BuiltIn::Cts)) { // SUM, CTN, CTS
        if (const TRpReportVariable *var = MissingVariable(*this, first))
            throw EIllegalFunctionUse(
                VarNotFoundText(SRpIllegalFunctionUse, exprText, var->Name()));
    }
    InitFunctions(index, args, argCount, exprText);
    DoFunctions(index, args, udfResult, exprText);
}

} // namespace rp
