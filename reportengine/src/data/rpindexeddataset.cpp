// SPDX-License-Identifier: MIT
// Cursor moves with the usual end and beginning flags, bookmarks as record numbers.
#include <reportengine/rpindexeddataset.h>

#include <reportengine/rpconsts.h>

#include <QtEndian>

namespace rp {

void TRpIndexedDataSet::First()
{
    FRecNo = 0;
    FBof = true;
    FEof = RecordCount() <= 0;
}

void TRpIndexedDataSet::Next()
{
    if (RecordCount() <= 0)
        return;
    FBof = false;
    if (FRecNo + 1 < RecordCount())
        ++FRecNo;
    else
        FEof = true;
}

void TRpIndexedDataSet::Prior()
{
    if (RecordCount() <= 0)
        return;
    FEof = false;
    if (FRecNo > 0)
        --FRecNo;
    else
        FBof = true;
}

void TRpIndexedDataSet::Last()
{
    FRecNo = RecordCount() <= 0 ? 0 : RecordCount() - 1;
    FEof = true;
    FBof = RecordCount() <= 0;
}

TRpBookmark TRpIndexedDataSet::GetBookmark() const
{
    char buf[4];
    qToLittleEndian<std::int32_t>(RecNo(), buf);
    return TRpBookmark(buf, 4);
}

void TRpIndexedDataSet::GotoBookmark(const TRpBookmark &bookmark)
{
    if (bookmark.size() != 4)
        throw EIOError(SRpBookmarkInvalid);
    const auto row = qFromLittleEndian<std::int32_t>(bookmark.constData());
    if (row < 0 || row >= RecordCount())
        throw EIOError(SRpBookmarkInvalid);
    FRecNo = row;
    FEof = FBof = false;
}

} // namespace rp
