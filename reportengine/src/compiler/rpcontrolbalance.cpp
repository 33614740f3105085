// SPDX-License-Identifier: MIT
// Brace balances of control blocks and skipping blocks that do not run.
#include "compiler/rpcontrol.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rprtf.h>

#include <algorithm>
#include <vector>

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
//
// A block's empty balance is the group marks a skipped block leaves behind: the braces of its
// opening item's trailing text and of every item up to its closing item, where items opening a
// nested block of the same kind (IF for IF, SCAN for SCAN) add nothing, with empty pairs
// dropped once. Its full balance (scans only) is the net count of marks one pass writes: from
// the entry item (or the scan item) up to the footer (or the end-scan) item, a nested scan
// counting only with its scan item's markup and its end-scan item's trailing text.
//
// Both are worked out for a block and every block nested in it in one read of the block's
// items: the braces of all items, without the openers of either kind, are kept in two running
// strings, so each block's marks are a tail of one of them when its closing item comes.

namespace {

struct OpenBlock
{
    TRpScanInfo *block;
    bool scan;
    /// Where the block's marks start in the running string of its kind.
    qsizetype start;
    QString trailingBraces;
    /// Scans: marks one pass writes so far, and whether they are still being counted.
    std::int32_t passBalance;
    bool counting;
    /// Index of the innermost scan around the block in the open list, -1 for none.
    std::ptrdiff_t enclosingScan;
};

/// The blocks open at the item being read, and the running strings of braces.
class BalanceWalk
{
public:
    bool done() const { return open.empty(); }

    /// One item of the walk; `block` is the block an opening item starts.
    void item(std::int32_t id, TRpScanInfo *block, const QString &markup, const QString &trailing,
              const QString &texts)
    {
        const QString braces = RpBraces(texts);
        if (block) {
            enter(*block, opensBlock(id, true), markup, trailing, texts, braces);
            return;
        }
        if (open.empty())
            return;
        OpenBlock &top = open.back();
        if (top.scan && id == cmScanEntry && top.counting) {
            // A pass repeats from the entry item: what comes before it is written once.
            top.passBalance = RpBraceCount(trailing);
        } else if (top.scan && id == cmScanFooter && top.block->FIsFooter && top.counting) {
            top.passBalance += RpBraceCount(markup);
            top.counting = false;
        } else if (closesBlock(id, false) && !top.scan) {
            countInScan(texts);
            scanBraces += braces;
            close(ifBraces);
            ifBraces += braces;
            return;
        } else if (closesBlock(id, true) && top.scan) {
            if (top.counting)
                top.passBalance += RpBraceCount(markup);
            ifBraces += braces;
            close(scanBraces);
            scanBraces += braces;
            countInScan(trailing);
            return;
        } else {
            countInScan(texts);
        }
        ifBraces += braces;
        scanBraces += braces;
    }

    /// The end of the stream came first: blocks still open keep what was read.
    void closeAll()
    {
        while (!open.empty())
            close(open.back().scan ? scanBraces : ifBraces);
    }

private:
    void enter(TRpScanInfo &block, bool scan, const QString &markup, const QString &trailing,
               const QString &texts, const QString &braces)
    {
        (scan ? ifBraces : scanBraces) += braces;
        if (!scan)
            countInScan(texts);
        else if (OpenBlock *outer = innermostScan(); outer && outer->counting)
            outer->passBalance += RpBraceCount(markup);
        const std::ptrdiff_t enclosing = innermostScanIndex();
        open.push_back({&block, scan, (scan ? scanBraces : ifBraces).size(), RpBraces(trailing),
                        scan ? RpBraceCount(trailing) : 0, true, enclosing});
    }

    void close(const QString &kept)
    {
        const OpenBlock &top = open.back();
        TRpScanInfo &block = *top.block;
        block.FEmptyBalanceS = RemoveEmptyBrackets(top.trailingBraces + kept.mid(top.start));
        block.FFullBalance = top.scan ? top.passBalance : 0;
        block.FBalance = true;
        open.pop_back();
    }

    std::ptrdiff_t innermostScanIndex() const
    {
        if (open.empty())
            return -1;
        return open.back().scan ? static_cast<std::ptrdiff_t>(open.size()) - 1
                                : open.back().enclosingScan;
    }

    OpenBlock *innermostScan()
    {
        const std::ptrdiff_t at = innermostScanIndex();
        return at < 0 ? nullptr : &open[static_cast<size_t>(at)];
    }

    void countInScan(const QString &text)
    {
        OpenBlock *scan = innermostScan();
        if (scan && scan->counting)
            scan->passBalance += RpBraceCount(text);
    }

    std::vector<OpenBlock> open;
    QString ifBraces, scanBraces;
};

} // namespace

void TRpControlRunner::CountBalances(TRpScanInfo &outermost)
{
    BalanceWalk walk;
    FReport.CmStream()->Seek(outermost.FCmPosition);
    do {
        FReport.CmReadItemInfo();
        const std::int32_t id = FReport.FCmLastId;
        if (id == cmEnd)
            break;
        QString markup, trailing;
        std::uint16_t n = 0;
        const QString texts = readItemTexts(id, &n, &markup, &trailing);
        TRpScanInfo *opened = nullptr;
        if (opensBlock(id, false) || opensBlock(id, true)) {
            opened = FReport.FScs->ScanInfo(n);
            if (!opened)
                throw EIOError(msg::UndefinedBlock);
        }
        walk.item(id, opened, markup, trailing, texts);
    } while (!walk.done());
    walk.closeAll();
    rereadOpeningItem(outermost);
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
