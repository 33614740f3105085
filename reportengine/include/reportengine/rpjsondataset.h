// SPDX-License-Identifier: MIT
// JSON data set: an array of flat objects, one record each, typed by their values.
#pragma once

#include <reportengine/rpmemorydataset.h>

#include <QByteArray>
#include <QString>

namespace rp {

/// A data set read from JSON text: the top level is an array of objects, each object
/// a record, each key a field. Fields come in the order their keys first appear.
/// A field's type follows its values: whole numbers give an integer field (64-bit
/// when one does not fit 32 bits), any fraction a float field, true/false a boolean
/// field, strings a string field; null is a null value of any field, and a field
/// whose values are all null is a string field. A key missing from an object is null.
///
/// Anything else raises EIOError naming the file and, where there is one, the JSON
/// path of the value (`$[2].price`): malformed JSON, a top level that is not an array
/// of objects, a nested object or array, one field with values of two kinds. The data
/// set is then left empty.
class TRpJsonDataSet : public TRpMemoryDataSet
{
public:
    TRpJsonDataSet() = default;
    /// Reads `fileName` (see LoadFromFile).
    explicit TRpJsonDataSet(const QString &fileName);

    /// Replaces fields and records with the file's.
    void LoadFromFile(const QString &fileName);
    /// As LoadFromFile, from bytes; `fileName` names the source in messages.
    void LoadFromData(const QByteArray &data, const QString &fileName);
};

} // namespace rp
