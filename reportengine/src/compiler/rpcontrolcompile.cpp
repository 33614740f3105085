// SPDX-License-Identifier: MIT
// Compiling the control keywords into control items, with their nesting checks and messages.
#include "compiler/fieldkind.h"
#include "compiler/rpcompiler.h"
#include "compiler/rpcontrol.h"
#include "compiler/rpfunctable.h"
#include "messages.h"
#include "reader/rpreader.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <cstdint>
#include <vector>

namespace rp {

namespace {

bool RpIsAsciiLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr std::int32_t fnSum = BuiltInNumber(BuiltIn::Sum);
constexpr std::int32_t fnCtn = BuiltInNumber(BuiltIn::Ctn);
constexpr std::int32_t fnCts = BuiltInNumber(BuiltIn::Cts);
constexpr std::int32_t fnVar = BuiltInNumber(BuiltIn::Var);

[[noreturn]] void badIf(const QString &msg)
{
    throw EIllegalIFUse(msg.toStdString());
}

[[noreturn]] void badScan(const QString &msg)
{
    throw EIllegalScanUse(msg.toStdString());
}

[[noreturn]] void badFunction(const QString &msg)
{
    throw EIllegalFunctionUse(msg.toStdString());
}

void checkRoomForBlocks(const TRpScans &scs, std::int32_t blocks, const QString &fieldText)
{
    if (scs.ScCount() + blocks > RpMaxBlocks)
        throw EIllegalIFUse((QLatin1String(msg::TooManyBlocks) + fieldText).toStdString());
}

bool endsWithClose(const QString &part)
{
    return RpTrim(part).endsWith(u')');
}

} // namespace

bool TRpControlCompiler::parMarkAhead()
{
    TRpScans &scs = *FReport.FScs;
    const std::int32_t from = FReport.Fpnt;
    // No mark lies in [FParSearchFrom, FParFoundAt): the last search answers for any start there.
    if (scs.FParSearchFrom >= 0 && from >= scs.FParSearchFrom && from <= scs.FParFoundAt)
        return scs.FParFoundAt != INT32_MAX;
    TRpTemplateReader &reader = *FReport.FReader;
    std::int32_t found = INT32_MAX;
    while (!reader.FileEof()) {
        if (reader.ReadFb() != '\\')
            continue;
        const QByteArray la = reader.getns(4);
        if (la.left(3).toUpper() == "PAR" && !RpIsAsciiLetterOrDigit(la[3])) {
            found = FReport.Fpnt - 1;
            break;
        }
    }
    FReport.Fpnt = from;
    scs.FParSearchFrom = from;
    scs.FParFoundAt = found;
    return found != INT32_MAX;
}

QString TRpControlCompiler::trailingText()
{
    // KillPar reads on to the next paragraph mark, to the end of the template when there is
    // none: asking first keeps a template of many keywords and few marks linear.
    return parMarkAhead() ? FReport.FReader->KillPar() : QString();
}

std::int32_t TRpControlCompiler::pos() const
{
    return static_cast<std::int32_t>(FReport.CmStream()->Position());
}

void TRpControlCompiler::noteBoundary()
{
    // The reader's paragraph removal looks back to the last boundary; a block start counts.
    if (FReport.FLastBoundaryPnt == -1)
        FReport.FLastBoundaryPnt = FReport.FKwdPnt;
}

void TRpControlCompiler::Compile(std::int32_t kind, const QString &fieldText, const QString &markup)
{
    FParts.clear();
    SplitArgs(fieldText, FParts);
    if (FParts.isEmpty())
        FParts.append(fieldText);
    switch (kind) {
    case fkIf:
        compileIf(fieldText, markup);
        break;
    case fkElse:
        compileElse(fieldText, markup);
        break;
    case fkElsIf:
        compileElsIf(fieldText, markup);
        break;
    case fkEndIf:
        compileEndIf(fieldText, markup);
        break;
    case fkScan:
        compileScan(fieldText, markup);
        break;
    case fkScanEntry:
        compileScanEntry(fieldText, markup);
        break;
    case fkScanFooter:
        compileScanFooter(fieldText, markup);
        break;
    case fkEndScan:
        compileEndScan(fieldText, markup);
        break;
    default:
        FReport.CmSaveBlocItem();
        break;
    }
}

void TRpControlCompiler::compileCondition(const QString &text)
{
    QStringList args;
    std::int32_t number = 0;
    if (!FReport.ProcessUDFName(text, args, number))
        badFunction(QLatin1String(msg::FunctionNotFound) + text);
    FReport.ProcessUDF(text, text, QString(), TRpFieldFormat{}, false, true);
}

// ---- Conditional blocks -------------------------------------------------------------------

void TRpControlCompiler::compileIf(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    if (FParts.size() > 1)
        badIf(QLatin1String(msg::IfCommand) + fieldText);
    if (!endsWithClose(FParts[0]))
        badIf(QLatin1String(msg::IfKeyword) + FParts[0]);
    checkRoomForBlocks(scs, 1, fieldText);
    const QString condition = RpTrim(FParts[0]);
    compileCondition(condition);

    const std::int32_t at = pos();
    const QString trailing = trailingText();
    FReport.CmSaveIfItem(markup, trailing, scs.ScCount() + 1, false);
    scs.EnterScan(at, FReport.Fpnt, rplIf, condition, true, false, false, nullptr);
    scs.FElsIfCounts.push_back(scs.FElsIfCount);
    scs.FElsIfCount = 0;
    noteBoundary();
}

void TRpControlCompiler::compileElse(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    if (FParts.size() > 1)
        badIf(QLatin1String(msg::ElseCommand) + fieldText);
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badIf(QLatin1String(msg::ElseWithoutIf) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplElse))
        badIf(QLatin1String(msg::ElseNotExpected) + fieldText);
    checkRoomForBlocks(scs, 1, fieldText);

    const QString trailing = trailingText();
    FReport.CmSaveEndIfItem(markup, trailing, scs.GetCurrentScanNum());
    scs.ExitScan();
    const std::int32_t at = pos();
    FReport.CmSaveIfItem(QString(), QString(), scs.ScCount() + 1, true);
    scs.EnterScan(at, FReport.Fpnt, rplElse, QString(), true, false, false, nullptr);
}

void TRpControlCompiler::compileElsIf(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    if (FParts.size() > 1)
        badIf(QLatin1String(msg::ElsIfCommand) + fieldText);
    if (!endsWithClose(FParts[0]))
        badIf(QLatin1String(msg::ElsIfKeyword) + FParts[0]);
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badIf(QLatin1String(msg::ElsIfWithoutIf) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplElsIf))
        badIf(QLatin1String(msg::ElsIfNotExpected) + fieldText);
    checkRoomForBlocks(scs, 2, fieldText);

    FReport.CmSaveEndIfItem(QString(), QString(), scs.GetCurrentScanNum());
    scs.ExitScan();
    // The false side of the previous condition: it holds the new condition and its part.
    std::int32_t at = pos();
    FReport.CmSaveIfItem(markup, QString(), scs.ScCount() + 1, true);
    scs.EnterScan(at, FReport.Fpnt, rplElse, QString(), true, false, false, nullptr);

    const QString condition = RpTrim(FParts[0]);
    compileCondition(condition);
    at = pos();
    const QString trailing = trailingText();
    // The markup was written with the false side already; twice would repeat an open group.
    FReport.CmSaveIfItem(QString(), trailing, scs.ScCount() + 1, false);
    scs.EnterScan(at, FReport.Fpnt, rplElsIf, condition, true, false, false, nullptr);
    scs.FElsIfCount += 1;
    noteBoundary();
}

void TRpControlCompiler::compileEndIf(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    if (FParts.size() > 1)
        badIf(QLatin1String(msg::EndIfCommand) + fieldText);
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badIf(QLatin1String(msg::EndIfWithoutIf) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplEndIf))
        badIf(QLatin1String(msg::EndIfNotExpected) + fieldText);

    for (; scs.FElsIfCount > 0; --scs.FElsIfCount) {
        FReport.CmSaveEndIfItem(QString(), QString(), scs.GetCurrentScanNum());
        scs.ExitScan();
    }
    const QString trailing = trailingText();
    FReport.CmSaveEndIfItem(markup, trailing, scs.GetCurrentScanNum());
    scs.ExitScan();
    std::vector<std::uint16_t> &saved = scs.FElsIfCounts;
    scs.FElsIfCount = saved.empty() ? 0 : saved.back();
    if (!saved.empty())
        saved.pop_back();
}

// ---- Scan blocks ----------------------------------------------------------------------------

void TRpControlCompiler::compileScan(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    const QString head = RpTrim(FParts[0]);
    if (!head.endsWith(u')'))
        badScan(QLatin1String(msg::ScanKeyword) + FParts[0]);
    const QString alias = RpTrim(head.mid(head.indexOf(u'(') + 1).chopped(1));
    TRpDataSet *dataSet = nullptr;
    if (!alias.isEmpty()) {
        const std::int32_t n = FReport.CtoN(alias);
        if (n < 0 || n >= static_cast<std::int32_t>(FReport.FDFiles.size()))
            badScan(QLatin1String(msg::ScanAliasNotFound) + alias);
        dataSet = FReport.FDFiles[static_cast<size_t>(n)];
    }

    bool page = false;
    bool noEof = false;
    QString condition;
    QStringList rest{FParts[0]};
    for (int i = 1; i < FParts.size(); ++i) {
        const QString option = RpTrim(FParts[i]);
        const QString lower = option.toLower();
        if (lower == u"page") {
            page = true;
        } else if (lower == u"noeof") {
            noEof = true;
        } else if (lower.size() > 7 && lower.startsWith(u"while(") && lower.endsWith(u')')) {
            if (!condition.isEmpty())
                badScan(QLatin1String(msg::MoreThanOneWhile) + fieldText);
            condition = option;
        } else {
            rest.append(FParts[i]);
        }
    }
    FParts = rest;

    if (!condition.isEmpty())
        compileCondition(condition);
    const std::int32_t at = pos();
    const QString trailing = trailingText();
    if (alias.isEmpty() && condition.isEmpty())
        badScan(QLatin1String(msg::ScanWithoutSource) + fieldText);
    if (scs.ScCount() >= RpMaxBlocks)
        badScan(QLatin1String(msg::TooManyBlocks) + fieldText);
    const auto number = static_cast<std::uint16_t>(scs.ScCount() + 1);
    if (condition.isEmpty())
        FReport.CmSaveScanItem(markup, trailing, number);
    else
        FReport.CmSaveScanWhileItem(markup, trailing, number);
    scs.EnterScan(at, FReport.Fpnt, rplScan, condition, !condition.isEmpty(), noEof, page, dataSet);
    noteBoundary();
    compileAttachedCalls(fieldText);
}

void TRpControlCompiler::compileScanEntry(const QString &fieldText, const QString &markup)
{
    TRpScans &scs = *FReport.FScs;
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badScan(QLatin1String(msg::ScanEntryWithoutScan) + fieldText);
    if (top->FIsEntry)
        badScan(QLatin1String(msg::ScanEntryTwice) + fieldText);
    if (top->FIsFooter)
        badScan(QLatin1String(msg::ScanEntryAfterFooter) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplScanEntry))
        badScan(QLatin1String(msg::ScanEntryNotExpected) + fieldText);

    const QString trailing = trailingText();
    const std::int32_t at = pos();
    FReport.CmSaveScanEntryItem(markup, trailing, scs.GetCurrentScanNum());
    scs.SetScanEntry(at, FReport.Fpnt);
    compileAttachedCalls(fieldText);
}

void TRpControlCompiler::compileSkipAndCondition()
{
    TRpScans &scs = *FReport.FScs;
    const TRpScanInfo *top = scs.GetTopScanInfo();
    FReport.CmSaveScanSkipItem(scs.GetCurrentScanNum());
    if (top->FIsWhile)
        compileCondition(top->FWhileString);
}

void TRpControlCompiler::compileScanFooter(const QString &fieldText, const QString &markup)
{
    compileAttachedCalls(fieldText);
    TRpScans &scs = *FReport.FScs;
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badScan(QLatin1String(msg::ScanFooterWithoutScan) + fieldText);
    if (top->FIsFooter)
        badScan(QLatin1String(msg::ScanFooterTwice) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplScanFooter))
        badScan(QLatin1String(msg::ScanFooterNotExpected) + fieldText);

    compileSkipAndCondition();
    const QString trailing = trailingText();
    const std::int32_t at = pos();
    FReport.CmSaveScanFooterItem(markup, trailing, scs.GetCurrentScanNum());
    scs.SetScanFooter(at, FReport.Fpnt);
}

void TRpControlCompiler::compileEndScan(const QString &fieldText, const QString &markup)
{
    compileAttachedCalls(fieldText);
    TRpScans &scs = *FReport.FScs;
    const TRpScanInfo *top = scs.GetTopScanInfo();
    if (!top)
        badScan(QLatin1String(msg::EndScanWithoutScan) + fieldText);
    if (!RpKeywordAllowed(top->RpLngId(), rplEndScan))
        badScan(QLatin1String(msg::EndScanNotExpected) + fieldText);

    if (!top->FIsFooter)
        compileSkipAndCondition();
    const QString trailing = trailingText();
    FReport.CmSaveEndScanItem(markup, trailing, scs.GetCurrentScanNum());
    scs.ExitScan();
}

// ---- Calls attached to scan keywords ----------------------------------------------------------

void TRpControlCompiler::compileAttachedCalls(const QString &fieldText)
{
    for (int i = 1; i < FParts.size(); ++i) {
        const QString call = RpTrim(FParts[i]);
        TRpFieldFormat format;
        QString first;
        if (FReport.fldnum(call, format, first) != fkFunction)
            badScan(QLatin1String(msg::CannotProcessScanExpression) + call +
                    QLatin1String(msg::InScanCommand) + fieldText);
        if (format.fmtnumber != fmtNone)
            badScan(QLatin1String(msg::FormatFunction) + call +
                    QLatin1String(msg::NotAllowedInScanCommand) + fieldText);
        QStringList args;
        std::int32_t number = 0;
        if (!FReport.ProcessUDFName(call, args, number))
            badFunction(QLatin1String(msg::FunctionNotFound) + call);
        checkAttachedArgs(number, call);
        FReport.ProcessUDF(call, call, QString(), TRpFieldFormat{}, false, false);
    }
}

void TRpControlCompiler::checkAttachedArgs(std::int32_t function, const QString &call)
{
    QStringList args;
    std::int32_t number = 0;
    FReport.ProcessUDFName(call, args, number);
    const auto fail = [&call](const QString &arg, const char *what) {
        badFunction(QLatin1String(msg::IllegalFunctionUse) + arg + QLatin1String(what) + call);
    };
    const auto kindOf = [this](const QString &arg, bool &formatted) {
        TRpFieldFormat format;
        QString first;
        const std::int32_t kind = FReport.fldnum(RpTrim(arg), format, first);
        formatted = format.fmtnumber != fmtNone;
        return kind;
    };
    bool formatted = false;
    if (function == fnVar) {
        for (const QString &a : args) {
            const std::int32_t kind = kindOf(a, formatted);
            if (formatted)
                fail(a, msg::FormatInScanExpression);
            if (kind != fkVariable)
                fail(a, msg::VariableExpectedInExpression);
        }
        return;
    }
    if (function != fnSum && function != fnCtn && function != fnCts)
        return;
    if (!args.isEmpty()) {
        const std::int32_t kind = kindOf(args[0], formatted);
        if (formatted)
            fail(args[0], msg::FormatInScanExpression);
        if (kind < fkColonField || kind > fkFunction)
            fail(args[0], msg::FirstArgumentExpected);
    }
    if (args.size() > 1) {
        const std::int32_t kind = kindOf(args[1], formatted);
        if (formatted)
            fail(args[1], msg::FormatInScanExpression);
        if (kind != fkVariable)
            fail(args[1], msg::SecondArgumentExpected);
    }
    if (args.size() > 2 && RpTrim(args[2]).toUpper() != u"NORESET")
        fail(args[2], msg::ThirdArgumentExpected);
}

// ---- End of the template ----------------------------------------------------------------------

void TRpControlCompiler::CheckNesting()
{
    const TRpScanInfo *top = FReport.FScs ? FReport.FScs->GetTopScanInfo() : nullptr;
    if (!top)
        return;
    if (top->RpLngId() < rplEndScan)
        badScan(QLatin1String(msg::EndScanExpectedAtEnd));
    badIf(QLatin1String(msg::EndIfExpectedAtEnd));
}

} // namespace rp
