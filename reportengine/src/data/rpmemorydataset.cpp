// SPDX-License-Identifier: MIT
// In-memory data set: fields and records held as values.
#include <reportengine/rpmemorydataset.h>

#include <reportengine/rpconsts.h>

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
    ResetCursor();
}

QVariant TRpMemoryDataSet::FieldValue(int index) const
{
    if (FRecords.empty() || index < 0 || index >= FieldCount())
        return QVariant();
    return FRecords[static_cast<size_t>(CurrentRow())].value(index);
}

} // namespace rp
