// SPDX-License-Identifier: MIT
// Block stack: keyword permissions, block numbering and levels, data-set and bookmark movement.
#include "runtime/rpscans.h"

#include <reportengine/rpbasereport.h>

namespace rp {

namespace {

// Rows: kind of the innermost open block; columns: keyword number.
// clang-format off
constexpr bool Permissions[8][8] = {
    //SCAN ENTRY FOOTER ENDSCAN IF ELSE ENDIF ELSIF
    {1,    1,    1,     1,      1, 0,   0,    0}, // 0 scan
    {1,    0,    1,     1,      1, 0,   0,    0}, // 1
    {1,    0,    0,     1,      1, 0,   0,    0}, // 2
    {1,    0,    0,     1,      1, 1,   1,    1}, // 3
    {1,    0,    0,     0,      1, 1,   1,    1}, // 4 if
    {1,    0,    0,     0,      1, 0,   1,    0}, // 5 else
    {1,    1,    1,     1,      1, 1,   1,    0}, // 6
    {1,    0,    0,     0,      1, 1,   1,    1}, // 7 elsif
};
// clang-format on

} // namespace

bool RpKeywordAllowed(std::int32_t blockKind, std::int32_t keyword)
{
    if (blockKind < 0 || blockKind > 7 || keyword < 0 || keyword > 7)
        return false;
    return Permissions[blockKind][keyword];
}

// ---- TRpScanInfo -----------------------------------------------------------------------------

TRpScanInfo::TRpScanInfo(TRpBaseReport *ownerReport, std::int32_t mrplngId, const QString &swh,
                         bool m_iswhile, bool m_noeof, bool m_page, TRpDataSet *ds,
                         std::int32_t level, std::int32_t number, std::int32_t m_cmpos,
                         std::int32_t m_pnt)
    : FScanPnt(m_pnt), FCmPosition(m_cmpos), FEntryCmPosition(m_cmpos), FScanEntryPnt(m_pnt),
      FNewPage(m_page), FNoEof(m_noeof), FIsWhile(m_iswhile), FWhileString(swh),
      FOwnerReport(ownerReport), FNumber(number), FLevel(level), FDataSet(ds), FrplngId(mrplngId)
{
}

void TRpScanInfo::SetSelectedRows(const TRpBookmarkList *list)
{
    FBookMarkList = list;
    if (!list)
        FUseBookMarkList = false;
}

bool TRpScanInfo::NotDataSetEof() const
{
    if (FIsWhile && !FDataSet)
        return true;
    if (InBookmarkMode())
        return FBookMarkList && FBookMarkPos < FBookMarkList->size();
    // A scan without a data set that is not condition-driven has nothing to visit.
    return FDataSet && !FDataSet->Eof();
}

bool TRpScanInfo::NotEof() const
{
    const bool condition = FIsWhile ? (FOwnerReport && FOwnerReport->FManageResult) : true;
    return condition && NotDataSetEof();
}

void TRpScanInfo::GoFirst()
{
    if (FIsWhile)
        return;
    if (InBookmarkMode()) {
        FBookMarkPos = 0;
        if (FBookMarkList && !FBookMarkList->isEmpty() && FDataSet)
            FDataSet->GotoBookmark(FBookMarkList->first());
        return;
    }
    if (FDataSet)
        FDataSet->First();
}

void TRpScanInfo::GoNext()
{
    if (FIsWhile && !FDataSet)
        return;
    if (InBookmarkMode()) {
        ++FBookMarkPos;
        if (FBookMarkList && FBookMarkPos < FBookMarkList->size() && FDataSet)
            FDataSet->GotoBookmark(FBookMarkList->at(FBookMarkPos));
        return;
    }
    if (FDataSet)
        FDataSet->Next();
}

// ---- TRpScans --------------------------------------------------------------------------------

void TRpScans::EnterScan(std::int32_t m_cmpos, std::int32_t m_pnt, std::int32_t mrplngId,
                         const QString &swh, bool m_iswhile, bool m_noeof, bool m_page,
                         TRpDataSet *ds)
{
    ++FScLevel;
    if (FScLevel > FScLevelMax)
        FScLevelMax = FScLevel;
    ++FScCount;
    FArrScanInfo.push_back(std::make_unique<TRpScanInfo>(FOwnerReport, mrplngId, swh, m_iswhile,
                                                         m_noeof, m_page, ds, FScLevel, FScCount,
                                                         m_cmpos, m_pnt));
    if (FScanNum.size() <= FScLevel)
        FScanNum.resize(FScLevel + 1u, 0);
    FScanNum[FScLevel] = FScCount;
}

void TRpScans::ExitScan()
{
    if (FScLevel == 0)
        return;
    --FScLevel;
    if (FScLevel == 0) {
        FScLevelMax = 0;
        FScanNum.clear();
    }
}

std::uint16_t TRpScans::GetCurrentScanNum() const
{
    if (FScLevel == 0 || FScLevel >= FScanNum.size())
        return 0;
    return FScanNum[FScLevel];
}

TRpScanInfo *TRpScans::GetTopScanInfo() const
{
    return ScanInfo(GetCurrentScanNum());
}

void TRpScans::SetScanEntry(std::int32_t m_cmpos, std::int32_t m_pnt)
{
    if (TRpScanInfo *top = GetTopScanInfo()) {
        top->FEntryCmPosition = m_cmpos;
        top->FScanEntryPnt = m_pnt;
        top->FIsEntry = true;
    }
}

void TRpScans::SetScanFooter(std::int32_t m_cmpos, std::int32_t m_pnt)
{
    if (TRpScanInfo *top = GetTopScanInfo()) {
        top->FFooterCmPosition = m_cmpos;
        top->FScanFooterPnt = m_pnt;
        top->FIsFooter = true;
    }
}

TRpScanInfo *TRpScans::ScanInfo(std::int32_t number) const
{
    if (number < 1 || number > static_cast<std::int32_t>(FArrScanInfo.size()))
        return nullptr;
    return FArrScanInfo[static_cast<size_t>(number - 1)].get();
}

void TRpScans::SetCurrentScan(std::uint16_t n)
{
    const TRpScanInfo *info = ScanInfo(n);
    // A number no block has (a damaged stream) leaves no block current.
    FNum = info ? n : 0;
    FScLevel = info ? static_cast<std::uint16_t>(info->ScanLevel()) : 0;
}

TRpScanInfo *TRpScans::GetCurrentScanInfo() const
{
    return ScanInfo(FNum);
}

// Without a current block the movement operations do nothing and report no
// record, instead of touching a block that does not exist.
void TRpScans::GoFirst()
{
    if (TRpScanInfo *info = GetCurrentScanInfo())
        info->GoFirst();
}

void TRpScans::GoNext()
{
    if (TRpScanInfo *info = GetCurrentScanInfo())
        info->GoNext();
}

bool TRpScans::NotDataSetEof() const
{
    const TRpScanInfo *info = GetCurrentScanInfo();
    return info && info->NotDataSetEof();
}

bool TRpScans::NotEof() const
{
    const TRpScanInfo *info = GetCurrentScanInfo();
    return info && info->NotEof();
}

bool TRpScans::LastManageResult() const
{
    return FOwnerReport && FOwnerReport->FManageResult;
}

std::int32_t TRpScans::GetScanpnt() const
{
    const TRpScanInfo *info = GetCurrentScanInfo();
    return info ? info->FScanPnt : 0;
}

std::int32_t TRpScans::GetScanEntryPnt() const
{
    const TRpScanInfo *info = GetCurrentScanInfo();
    return info ? info->FScanEntryPnt : 0;
}

} // namespace rp
