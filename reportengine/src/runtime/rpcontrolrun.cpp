// SPDX-License-Identifier: MIT
// Running the control items: conditional parts, scan passes and their repetition.
#include "compiler/rpcontrol.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <cstdlib>

namespace rp {

TRpScanInfo &TRpControlRunner::makeCurrent(std::uint16_t n)
{
    FReport.FScs->SetCurrentScan(n);
    TRpScanInfo *block = FReport.FScs->GetCurrentScanInfo();
    // Block numbers come from this run's compile phase; anything else is a damaged stream.
    if (!block)
        throw EIOError(msg::UndefinedBlock);
    return *block;
}

void TRpControlRunner::Run(std::int32_t id)
{
    switch (id) {
    case cmIf:
        runIf();
        break;
    case cmEndIf:
        runEndIf();
        break;
    case cmScan:
    case cmScanWhile:
        runScan(id);
        break;
    case cmScanEntry:
        runScanEntry();
        break;
    case cmScanSkip:
        runScanSkip();
        break;
    case cmScanFooter:
    case cmEndScan:
        runScanEnd(id);
        break;
    default:
        FReport.CmSkipItem();
        break;
    }
}

void TRpControlRunner::runIf()
{
    QString markup, trailing;
    std::uint16_t n = 0;
    bool elseFlag = false;
    FReport.CmReadIfItem(markup, trailing, n, elseFlag);
    FReport.wr(markup);
    const TRpScanInfo *before = FReport.FScs->GetCurrentScanInfo();
    const bool first = before ? before->FFirstPass : true;
    TRpScanInfo &block = makeCurrent(n);
    block.FFirstPass = first;
    if (!block.FBalance)
        CountBalances(block);
    block.FScanManageResult = FReport.FManageResult;
    if (FReport.FManageResult == elseFlag) {
        SkipIfBlock();
        block.FIsCompleted = true;
    } else {
        FReport.wr(trailing);
        block.FIsCompleted = false;
    }
}

void TRpControlRunner::runEndIf()
{
    QString markup, trailing;
    std::uint16_t n = 0;
    FReport.CmReadEndIfItem(markup, trailing, n);
    TRpScanInfo &block = makeCurrent(n);
    block.FFirstPass = false;
    FReport.wr(markup);
    FReport.wr(trailing);
    block.FIsCompleted = true;
    // An else part must see the condition before it, whatever its branch did to the flag.
    FReport.FManageResult = block.FScanManageResult;
}

void TRpControlRunner::runScan(std::int32_t id)
{
    QString markup, trailing;
    std::uint16_t n = 0;
    if (id == cmScanWhile)
        FReport.CmReadScanWhileItem(markup, trailing, n);
    else
        FReport.CmReadScanItem(markup, trailing, n);
    FReport.wr(markup);
    TRpScanInfo &block = makeCurrent(n);
    block.FFirstPass = true;
    block.FPasses = 0;
    if (!block.FBalance)
        CountBalances(block);
    if (FReport.OnScanBefore)
        FReport.OnScanBefore(&block);
    // noeof looks at where the data set stands before it is rewound.
    if (!block.FNoEof || FReport.FScs->NotEof()) {
        FReport.wr(trailing);
        FReport.FScs->GoFirst();
        block.FIsCompleted = false;
        if (FReport.OnScanRecord)
            FReport.OnScanRecord(&block);
    } else {
        SkipScanBlock();
        if (FReport.OnScanEof)
            FReport.OnScanEof(&block);
        block.FIsCompleted = true;
    }
}

void TRpControlRunner::runScanEntry()
{
    QString markup, trailing;
    std::uint16_t n = 0;
    FReport.CmReadScanEntryItem(markup, trailing, n);
    FReport.wr(markup);
    FReport.wr(trailing);
    makeCurrent(n);
}

void TRpControlRunner::runScanSkip()
{
    std::uint16_t n = 0;
    FReport.CmReadScanSkipItem(n);
    const TRpScanInfo &block = makeCurrent(n);
    if (FReport.FScs->NotDataSetEof())
        FReport.FScs->GoNext();
    // The condition compiled after this item sets the flag again.
    if (block.FIsWhile)
        FReport.FManageResult = false;
}

void TRpControlRunner::runScanEnd(std::int32_t id)
{
    QString markup, trailing;
    std::uint16_t n = 0;
    if (id == cmScanFooter)
        FReport.CmReadScanFooterItem(markup, trailing, n);
    else
        FReport.CmReadEndScanItem(markup, trailing, n);
    TRpScanInfo &block = makeCurrent(n);
    block.FFirstPass = false;
    FReport.wr(markup);
    TRpScans &scs = *FReport.FScs;
    if (scs.NotEof() && !block.FIsCompleted && FReport.OnScanRecord)
        FReport.OnScanRecord(&block);
    // The handler may have moved the data set or ended the block: test again.
    if (scs.NotEof() && !block.FIsCompleted) {
        repeatScan(block);
        return;
    }
    FReport.wr(trailing);
    block.FFirstPass = true;
    if (!block.FIsCompleted) {
        if (FReport.OnScanEof)
            FReport.OnScanEof(&block);
        block.FIsCompleted = true;
    }
}

void TRpControlRunner::repeatScan(TRpScanInfo &block)
{
    // With no data set to run out, a condition that never turns false would repeat forever.
    if (block.FIsWhile && !block.DataSet() && ++block.FPasses >= FReport.MaxWhilePasses())
        throw EIllegalScanUse(
            msg::WhileStillRepeating(block.FPasses, block.FWhileString).toStdString());
    // Close or reopen the groups one pass leaves open, so every pass starts at the same depth.
    const QString fix(std::abs(block.FFullBalance), block.FFullBalance < 0 ? u'{' : u'}');
    FReport.wr(fix);
    FReport.CmStream()->Seek(block.FEntryCmPosition);
    FReport.CmReadItemInfo();
    QString markup, trailing;
    std::uint16_t n = 0;
    FReport.CmReadScanItem(markup, trailing, n);
    FReport.Fpnt = block.FScanEntryPnt;
    FReport.wr(trailing);
    if (block.FNewPage)
        FReport.wr(QStringLiteral("\\page "));
}

} // namespace rp
