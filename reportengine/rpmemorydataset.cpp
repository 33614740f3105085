// SPDX-License-Identifier: MIT
// In-memory data set: cursor moves with the usual end and beginning flags, bookmarks as numbers.
#include "rpmemorydataset.h"

#include "rpconsts.h"

#include <QtEndian>

namespace rp {

TRpField *TRpMemoryDataSet::DefineField(const QString &name, TRpFieldType type, int size)
{
    return AddField(name, type, size);
}

void TRpMemoryDataSet::AppendRecord(const QVariantList &values)
{
    QVariantList record = values.mid(0, FieldCount());
    while (record.size() < FieldCount())
        record.append(QVariant());
    FRecords.push_back(std::move(record));
    First();
}

void TRpMemoryDataSet::SetValue(int row, int field, const QVariant &value)
{
    if (row < 0 || row >= RecordCount())
        throw EIOError(SRpRecordIndexOutOfRange + std::to_string(row));
    if (field < 0 || field >= FieldCount())
        throw EIOError(SRpFieldIndexOutOfRange + std::to_string(field));
    FRecords[static_cast<size_t>(row)][field] = value;
}

void TRpMemoryDataSet::Clear()
{
    FRecords.clear();
    ClearFields();
    FRecNo = 0;
    FEof = FBof = true;
}

void TRpMemoryDataSet::First()
{
    FRecNo = 0;
    FBof = true;
    FEof = FRecords.empty();
}

void TRpMemoryDataSet::Next()
{
    if (FRecords.empty())
        return;
    FBof = false;
    if (FRecNo + 1 < RecordCount())
        ++FRecNo;
    else
        FEof = true;
}

void TRpMemoryDataSet::Prior()
{
    if (FRecords.empty())
        return;
    FEof = false;
    if (FRecNo > 0)
        --FRecNo;
    else
        FBof = true;
}

void TRpMemoryDataSet::Last()
{
    FRecNo = FRecords.empty() ? 0 : RecordCount() - 1;
    FEof = true;
    FBof = FRecords.empty();
}

TRpBookmark TRpMemoryDataSet::GetBookmark() const
{
    char buf[4];
    qToLittleEndian<std::int32_t>(RecNo(), buf);
    return TRpBookmark(buf, 4);
}

void TRpMemoryDataSet::GotoBookmark(const TRpBookmark &bookmark)
{
    if (bookmark.size() != 4)
        throw EIOError(SRpBookmarkInvalid);
    const auto row = qFromLittleEndian<std::int32_t>(bookmark.constData());
    if (row < 0 || row >= RecordCount())
        throw EIOError(SRpBookmarkInvalid);
    FRecNo = row;
    FEof = FBof = false;
}

QVariant TRpMemoryDataSet::FieldValue(int index) const
{
    if (FRecords.empty() || index < 0 || index >= FieldCount())
        return QVariant();
    return FRecords[static_cast<size_t>(FRecNo)].value(index);
}

} // namespace rp
