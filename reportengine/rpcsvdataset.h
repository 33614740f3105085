// SPDX-License-Identifier: MIT
// CSV-file data set: RFC 4180 text in UTF-8, typed header cells, blob cells naming files.
#pragma once

#include "rpmemorydataset.h"

#include <QByteArray>
#include <QString>

namespace rp {

/// A data set read from a CSV file.
///
/// The first row names the fields; a name may carry a type after a colon
/// (`PRICE:currency`): string (the default), memo, integer, float, currency,
/// boolean, date, time, datetime or blob. Values: integers in decimal, floats
/// with "." as decimal point, booleans true/false (any case) or 1/0, dates
/// YYYY-MM-DD, times HH:MM:SS, date-times YYYY-MM-DD HH:MM:SS (or with T);
/// a blob cell names a file, relative to the CSV file's folder, whose bytes are
/// the value; an empty cell is null. Typed cells may have blanks around them.
///
/// Any malformed input raises EIOError naming the file, the 1-based row (the
/// header is row 1) and the 1-based column; the data set is then left empty.
class TRpCsvDataSet : public TRpMemoryDataSet
{
public:
    TRpCsvDataSet() = default;
    /// Reads `fileName` (see LoadFromFile).
    explicit TRpCsvDataSet(const QString &fileName) { LoadFromFile(fileName); }

    /// Replaces fields and records with the file's.
    void LoadFromFile(const QString &fileName);
    /// As LoadFromFile, from bytes; `fileName` names the source in messages and
    /// `baseDir` resolves blob cells.
    void LoadFromData(const QByteArray &data, const QString &fileName, const QString &baseDir);

    const QString &FileName() const { return FFileName; }

private:
    QString FFileName;
};

} // namespace rp
