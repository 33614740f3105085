// SPDX-License-Identifier: MIT
// In-memory data set: fields and records held as values, with a cursor and bookmarks.
#pragma once

#include <reportengine/rpindexeddataset.h>

#include <QVariant>
#include <QVariantList>

#include <vector>

namespace rp {

/// A data set whose records live in memory. Define the fields, append
/// records, then move over them like over any other data set.
class TRpMemoryDataSet : public TRpIndexedDataSet
{
public:
    TRpMemoryDataSet() = default;

    /// Adds a column; only before the first record is appended.
    TRpField *DefineField(const QString &name, TRpFieldType type, int size = 0);
    /// Appends a record: one value per field (an invalid QVariant is null; missing trailing
    /// values are null; extra values are dropped). The cursor moves to the first record.
    void AppendRecord(const QVariantList &values);
    /// Replaces one value of record `row` (0-based).
    void SetValue(int row, int field, const QVariant &value);
    /// Removes every record and field.
    void Clear();

    int RecordCount() const override { return static_cast<int>(FRecords.size()); }

    QVariant FieldValue(int index) const override;

private:
    std::vector<QVariantList> FRecords;
};

} // namespace rp
