// SPDX-License-Identifier: MIT
// Cursor and bookmarks over records numbered 0..RecordCount()-1, shared by the data sets that
// can reach any record by its number.
#pragma once

#include <reportengine/rpdataset.h>

namespace rp {

/// A data set whose records are numbered: moving, the end and beginning flags and bookmarks
/// (the record number) are worked out from `RecordCount()` alone.
class TRpIndexedDataSet : public TRpDataSet
{
public:
    void First() override;
    void Next() override;
    void Prior() override;
    void Last() override;
    bool Eof() const override { return FEof; }
    bool Bof() const override { return FBof; }
    /// 0-based number of the current record, -1 when the set is empty.
    int RecNo() const { return RecordCount() <= 0 ? -1 : FRecNo; }

    TRpBookmark GetBookmark() const override;
    void GotoBookmark(const TRpBookmark &bookmark) override;

protected:
    /// Back to the state of an empty set.
    void ResetCursor()
    {
        FRecNo = 0;
        FEof = FBof = true;
    }
    /// The current record's number even when the set is empty (then 0).
    int CurrentRow() const { return FRecNo; }

private:
    int FRecNo = 0;
    bool FEof = true;
    bool FBof = true;
};

} // namespace rp
