// SPDX-License-Identifier: MIT
// Brace balances of control blocks and skipping blocks that do not run.
#include "compiler/rpcontrol.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <algorithm>

namespace rp {

namespace {

bool isControlItem(std::int32_t id)
{
    switch (id) {
    case cmIf:
    case cmEndIf:
    case cmScan:
    case cmScanWhile:
    case cmScanEntry:
    case cmScanFooter:
    case cmEndScan:
        return true;
    default:
        return false;
    }
}

bool opensBlock(std::int32_t id, bool scan)
{
    return scan ? (id == cmScan || id == cmScanWhile) : id == cmIf;
}

bool closesBlock(std::int32_t id, bool scan)
{
    return id == (scan ? cmEndScan : cmEndIf);
}

// A brace is a group mark unless an odd run of backslashes escapes it ("\\{" opens a group).
template <typename Visit> void forEachBrace(const QString &text, Visit visit)
{
    int backslashes = 0;
    for (const QChar c : text) {
        if ((c == u'{' || c == u'}') && backslashes % 2 == 0)
            visit(c);
        backslashes = (c == u'\\') ? backslashes + 1 : 0;
    }
}

} // namespace

std::int32_t RpBraceCount(const QString &text)
{
    std::int32_t count = 0;
    forEachBrace(text, [&count](QChar c) { count += (c == u'{') ? 1 : -1; });
    return count;
}

QString RpBraces(const QString &text)
{
    QString braces;
    forEachBrace(text, [&braces](QChar c) { braces += c; });
    return braces;
}

QString RemoveEmptyBrackets(const QString &braces)
{
    QString kept;
    const int n = static_cast<int>(braces.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = braces[i];
        const QChar before = i > 0 ? braces[i - 1] : QChar(u' ');
        const QChar after = i + 1 < n ? braces[i + 1] : QChar(u' ');
        if ((c == u'{' && after == u'}') || (c == u'}' && before == u'{'))
            continue;
        kept += c;
    }
    return kept;
}

// ---- Reading items for their texts ------------------------------------------------------------

QString TRpControlRunner::readItemTexts(std::int32_t id, std::uint16_t *block, QString *markupOut,
                                        QString *trailingOut)
{
    QString markup, trailing;
    std::uint16_t n = 0;
    bool elseFlag = false;
    switch (id) {
    case cmIf:
        FReport.CmReadIfItem(markup, trailing, n, elseFlag);
        break;
    case cmEndIf:
    case cmScan:
    case cmScanWhile:
    case cmScanEntry:
    case cmScanFooter:
    case cmEndScan:
        // Every one of these has the scan item's layout.
        FReport.CmReadScanItem(markup, trailing, n);
        break;
    case cmRaw:
        FReport.CmReadRawItem(markup);
        return markup;
    case cmBloc:
    case cmBalancedBloc: {
        FReport.CmSkipItem();
        const std::int32_t from = FReport.FCmLastFpnt;
        const std::int32_t count = FReport.Fpnt - from;
        if (from < 1 || count <= 0)
            return QString();
        return QString::fromLatin1(FReport.FPFile.constData() + from - 1,
                                   std::min<qsizetype>(count, FReport.FPFile.size() - from + 1));
    }
    case cmExprBegin: {
        TRpRowContent content;
        bool inDocument = false, isManage = false;
        std::uint16_t scanNum = 0;
        FReport.CmReadExprBeginItem(content, inDocument, isManage, scanNum);
        return content.sout;
    }
    default:
        if (IsFieldItemId(id)) {
            TRpRowContent content;
            FReport.CmReadField(content);
            return content.sout;
        }
        FReport.CmSkipItem();
        return QString();
    }
    if (block)
        *block = n;
    if (markupOut)
        *markupOut = markup;
    if (trailingOut)
        *trailingOut = trailing;
    return markup + trailing;
}

void TRpControlRunner::rereadOpeningItem(TRpScanInfo &block)
{
    FReport.CmStream()->Seek(block.FCmPosition);
    FReport.CmReadItemInfo();
    readItemTexts(FReport.FCmLastId);
    FReport.Fpnt = block.FScanPnt;
}

// ---- Balances -------------------------------------------------------------------------------

QString TRpControlRunner::emptyBalance(const QString &startText, bool scan)
{
    QString braces = RpBraces(startText);
    int depth = 1;
    for (;;) {
        FReport.CmReadItemInfo();
        const std::int32_t id = FReport.FCmLastId;
        if (id == cmEnd)
            break;
        const QString texts = readItemTexts(id);
        if (opensBlock(id, scan))
            ++depth;
        else if (closesBlock(id, scan) && --depth == 0)
            break;
        braces += RpBraces(texts);
    }
    return RemoveEmptyBrackets(braces);
}

void TRpControlRunner::CountIfBalanceEmp(TRpScanInfo &block)
{
    FReport.CmStream()->Seek(block.FCmPosition);
    FReport.CmReadItemInfo();
    QString trailing;
    readItemTexts(FReport.FCmLastId, nullptr, nullptr, &trailing);
    block.FEmptyBalanceS = emptyBalance(trailing, false);
}

void TRpControlRunner::CountIfBalance(TRpScanInfo &block)
{
    CountIfBalanceEmp(block);
    rereadOpeningItem(block);
    block.FFullBalance = 0;
    block.FBalance = true;
}

std::int32_t TRpControlRunner::fullBalance(TRpScanInfo &block)
{
    FReport.CmStream()->Seek(block.FIsEntry ? block.FEntryCmPosition : block.FCmPosition);
    FReport.CmReadItemInfo();
    QString trailing;
    readItemTexts(FReport.FCmLastId, nullptr, nullptr, &trailing);
    std::int32_t balance = RpBraceCount(trailing);
    const std::int32_t endMarker = block.FIsFooter ? cmScanFooter : cmEndScan;
    for (;;) {
        FReport.CmReadItemInfo();
        const std::int32_t id = FReport.FCmLastId;
        if (id == cmEnd)
            break;
        QString markup;
        const QString texts = readItemTexts(id, nullptr, &markup, &trailing);
        if (id == endMarker) {
            balance += RpBraceCount(markup);
            break;
        }
        if (opensBlock(id, true)) {
            // A nested scan balances its own passes: only its outer texts count here.
            balance += RpBraceCount(markup) + RpBraceCount(passOverNestedScan());
            continue;
        }
        balance += RpBraceCount(texts);
    }
    return balance;
}

QString TRpControlRunner::passOverNestedScan()
{
    int depth = 1;
    for (;;) {
        FReport.CmReadItemInfo();
        const std::int32_t id = FReport.FCmLastId;
        if (id == cmEnd)
            return QString();
        if (!isControlItem(id)) {
            FReport.CmSkipItem();
            continue;
        }
        QString trailing;
        readItemTexts(id, nullptr, nullptr, &trailing);
        if (opensBlock(id, true))
            ++depth;
        else if (closesBlock(id, true) && --depth == 0)
            return trailing;
    }
}

void TRpControlRunner::CountScanBalance(TRpScanInfo &block)
{
    FReport.CmStream()->Seek(block.FCmPosition);
    FReport.CmReadItemInfo();
    QString trailing;
    readItemTexts(FReport.FCmLastId, nullptr, nullptr, &trailing);
    block.FEmptyBalanceS = emptyBalance(trailing, true);
    block.FFullBalance = fullBalance(block);
    block.FBalance = true;
    rereadOpeningItem(block);
}

// ---- Skipping -------------------------------------------------------------------------------

void TRpControlRunner::skipBlock(bool scan)
{
    TRpScans &scs = *FReport.FScs;
    int depth = 1;
    for (;;) {
        FReport.FRunItemPos = static_cast<std::int32_t>(FReport.CmStream()->Position());
        FReport.CmReadItemInfo();
        const std::int32_t id = FReport.FCmLastId;
        if (id == cmEnd)
            throw EIOError(msg::UndefinedBlockEnd);
        if (id == cmExprBegin && scan) {
            // Declarations and accumulator resets still happen in a scan that does not run.
            FReport.InitSkipUDF();
            continue;
        }
        if (!isControlItem(id)) {
            FReport.CmSkipItem();
            continue;
        }
        QString markup, trailing;
        std::uint16_t n = 0;
        readItemTexts(id, &n, &markup, &trailing);
        // Blocks passed over are entered afresh the next time they run.
        if (TRpScanInfo *current = scs.GetCurrentScanInfo())
            current->FFirstPass = true;
        TRpScanInfo &entered = makeCurrent(n);
        entered.FFirstPass = true;
        if (opensBlock(id, scan)) {
            ++depth;
        } else if (closesBlock(id, scan) && --depth == 0) {
            FReport.wr(entered.FEmptyBalanceS);
            FReport.wr(markup);
            FReport.wr(trailing);
            return;
        }
    }
}

void TRpControlRunner::SkipIfBlock()
{
    skipBlock(false);
}

void TRpControlRunner::SkipScanBlock()
{
    skipBlock(true);
}

} // namespace rp
