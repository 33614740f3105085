// SPDX-License-Identifier: MIT
// Block stack: one entry per SCAN or IF block, its nesting, positions and data-set movement.
#pragma once

#include <reportengine/rpdataset.h>

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace rp {

class TRpBaseReport;

/// Blocks one template may hold: the command stream numbers them in 16 bits. An IF, ELSE or
/// SCAN keyword opens one block, an ELSIF two.
inline constexpr std::int32_t RpMaxBlocks = 0xFFFF;

/// Keyword numbers of the control words; a block's kind is the keyword that opened it.
enum TRpLngId : std::int32_t
{
    rplScan = 0,
    rplScanEntry = 1,
    rplScanFooter = 2,
    rplEndScan = 3,
    rplIf = 4,
    rplElse = 5,
    rplEndIf = 6,
    rplElsIf = 7,
};

/// Whether keyword `keyword` may appear while the innermost open block has
/// kind `blockKind` (both 0 .. 7; anything else is not allowed).
bool RpKeywordAllowed(std::int32_t blockKind, std::int32_t keyword);

/// State of one block, created at compile time and driven at run time.
class TRpScanInfo
{
public:
    TRpScanInfo(TRpBaseReport *ownerReport, std::int32_t mrplngId, const QString &swh,
                bool m_iswhile, bool m_noeof, bool m_page, TRpDataSet *ds, std::int32_t level,
                std::int32_t number, std::int32_t m_cmpos, std::int32_t m_pnt);

    TRpBaseReport *OwnerReport() const { return FOwnerReport; }
    std::int32_t Number() const { return FNumber; }
    std::int32_t ScanLevel() const { return FLevel; }
    std::int32_t RpLngId() const { return FrplngId; }
    TRpDataSet *DataSet() const { return FDataSet; }

    /// Selected rows: a scan in bookmark mode visits exactly these, in order.
    bool UseSelectedRows() const { return FUseBookMarkList; }
    void SetUseSelectedRows(bool value) { FUseBookMarkList = value; }
    const TRpBookmarkList *SelectedRows() const { return FBookMarkList; }
    /// The list is not owned; nullptr also ends bookmark mode.
    void SetSelectedRows(const TRpBookmarkList *list);
    std::int32_t BookMarkPos() const { return FBookMarkPos; }

    // Host-facing names of the block's state (scan events see these).
    std::int32_t CmPosition() const { return FCmPosition; }
    std::int32_t EntryCmPosition() const { return FEntryCmPosition; }
    bool NewPage() const { return FNewPage; }
    bool NoEof() const { return FNoEof; }
    bool IsCompleted() const { return FIsCompleted; }
    void SetIsCompleted(bool value) { FIsCompleted = value; }
    bool IsEntry() const { return FIsEntry; }
    bool IsFooter() const { return FIsFooter; }
    bool IsWhile() const { return FIsWhile; }
    const QString &WhileString() const { return FWhileString; }
    bool ScanManageResult() const { return FScanManageResult; }
    void SetScanManageResult(bool value) { FScanManageResult = value; }
    bool FirstPass() const { return FFirstPass; }
    void SetFirstPass(bool value) { FFirstPass = value; }
    bool Balance() const { return FBalance; }
    void SetBalance(bool value) { FBalance = value; }
    std::int32_t FullBalance() const { return FFullBalance; }
    void SetFullBalance(std::int32_t value) { FFullBalance = value; }
    const QString &EmptyBalance() const { return FEmptyBalanceS; }
    void SetEmptyBalance(const QString &value) { FEmptyBalanceS = value; }

    /// True while the data set (or the bookmark list) has a record to visit.
    bool NotDataSetEof() const;
    /// NotDataSetEof, and for a condition-driven block the report's last condition.
    bool NotEof() const;
    void GoFirst();
    void GoNext();

    std::int32_t FScanPnt;
    std::int32_t FCmPosition;
    std::int32_t FEntryCmPosition;
    std::int32_t FScanEntryPnt;
    bool FIsEntry = false;
    std::int32_t FFooterCmPosition = 0;
    std::int32_t FScanFooterPnt = 0;
    bool FIsFooter = false;
    bool FNewPage;
    bool FNoEof;
    bool FIsCompleted = false;
    bool FFirstPass = true;
    bool FIsWhile;
    QString FWhileString;
    bool FScanManageResult = false;
    bool FBalance = false;
    std::int32_t FFullBalance = 0;
    QString FEmptyBalanceS;
    /// Passes since the scan item last started the block (the pass cap counts these).
    std::int64_t FPasses = 0;

private:
    bool InBookmarkMode() const { return FUseBookMarkList; }

    TRpBaseReport *FOwnerReport;
    std::int32_t FNumber;
    std::int32_t FLevel;
    TRpDataSet *FDataSet;
    std::int32_t FrplngId;
    bool FUseBookMarkList = false;
    const TRpBookmarkList *FBookMarkList = nullptr;
    std::int32_t FBookMarkPos = 0;
};

/// The block stack of one run. Owns its TRpScanInfo entries, not the data sets
/// nor the bookmark lists.
class TRpScans
{
public:
    explicit TRpScans(TRpBaseReport *ownerReport) : FOwnerReport(ownerReport) {}
    TRpScans(const TRpScans &) = delete;
    TRpScans &operator=(const TRpScans &) = delete;

    // Compile time
    /// Opens a block one level deeper, numbered after every block opened so far.
    void EnterScan(std::int32_t m_cmpos, std::int32_t m_pnt, std::int32_t mrplngId,
                   const QString &swh, bool m_iswhile, bool m_noeof, bool m_page, TRpDataSet *ds);
    /// Closes the innermost open block; nothing when none is open.
    void ExitScan();
    void SetScanEntry(std::int32_t m_cmpos, std::int32_t m_pnt);
    void SetScanFooter(std::int32_t m_cmpos, std::int32_t m_pnt);
    /// Number of the innermost open block, 0 when none.
    std::uint16_t GetCurrentScanNum() const;
    /// Its entry, nullptr when none.
    TRpScanInfo *GetTopScanInfo() const;
    TRpScanInfo *CurrentTopScanInfo() const { return GetTopScanInfo(); }

    // Run time
    /// Makes block `n` current (0: none).
    void SetCurrentScan(std::uint16_t n);
    TRpScanInfo *GetCurrentScanInfo() const;
    void GoFirst();
    void GoNext();
    bool NotDataSetEof() const;
    bool NotEof() const;
    bool LastManageResult() const;
    std::int32_t GetScanpnt() const;
    std::int32_t GetScanEntryPnt() const;

    /// Block by number (1-based), nullptr outside 1 .. count.
    TRpScanInfo *ScanInfo(std::int32_t number) const;
    std::uint16_t ScCount() const { return FScCount; }
    std::uint16_t ScLevel() const { return FScLevel; }
    std::uint16_t ScLevelMax() const { return FScLevelMax; }
    std::uint16_t Num() const { return FNum; }

    /// Levels opened by ELSIF keywords of the innermost open conditional chain.
    std::uint16_t FElsIfCount = 0;
    /// The ELSIF counts of the enclosing chains, pushed by IF and popped by its ENDIF.
    std::vector<std::uint16_t> FElsIfCounts;
    /// Compile time: a search for the paragraph mark after a keyword started at
    /// FParSearchFrom and found it at FParFoundAt (INT32_MAX: none up to the end).
    std::int32_t FParSearchFrom = -1;
    std::int32_t FParFoundAt = 0;

private:
    TRpBaseReport *FOwnerReport;
    std::uint16_t FScCount = 0;
    std::uint16_t FScLevel = 0;
    std::uint16_t FNum = 0;
    std::uint16_t FScLevelMax = 0;
    std::vector<std::uint16_t> FScanNum;
    std::vector<std::unique_ptr<TRpScanInfo>> FArrScanInfo;
};

} // namespace rp
