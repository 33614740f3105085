// SPDX-License-Identifier: MIT
// CSV-file data set: RFC 4180 text in UTF-8, typed header cells, blob cells naming files.
#pragma once

#include <reportengine/rpindexeddataset.h>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVariant>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

/// A data set read from a CSV file.
///
/// The first row names the fields; a name may carry a type after a colon
/// (`PRICE:currency`): string (the default), memo, integer, float, currency,
/// boolean, date, time, datetime or blob. Values: integers in decimal, floats
/// with "." as decimal point, booleans true/false (any case) or 1/0, dates
/// YYYY-MM-DD, times HH:MM:SS, date-times YYYY-MM-DD HH:MM:SS (or with T);
/// a blob cell names a regular file, relative to the CSV file's folder, whose bytes
/// are the value; it must lie inside that folder (after links are followed) unless
/// SetBlobRoot names a wider one, and only then may it be an absolute path; an empty
/// cell is null. Typed cells may have blanks around them.
///
/// Any malformed input raises EIOError naming the file, the 1-based row (the
/// header is row 1) and the 1-based column; the data set is then left empty.
///
/// Loading checks every cell but keeps only where each record starts; the
/// current record is read again from the file when the cursor reaches it, so
/// memory does not grow with the file. The file stays open while the data set
/// holds it and must not change meanwhile.
class TRpCsvDataSet : public TRpIndexedDataSet
{
public:
    TRpCsvDataSet();
    ~TRpCsvDataSet() override;
    /// Reads `fileName` (see LoadFromFile).
    explicit TRpCsvDataSet(const QString &fileName);

    /// Replaces fields and records with the file's.
    void LoadFromFile(const QString &fileName);
    /// As LoadFromFile, from bytes; `fileName` names the source in messages and
    /// `baseDir` resolves blob cells.
    void LoadFromData(const QByteArray &data, const QString &fileName, const QString &baseDir);
    /// Removes every record and field and lets go of the source.
    void Clear();
    /// The folder blob cells may name files in, for the loads that follow; empty (the
    /// default) means the CSV file's own folder.
    void SetBlobRoot(const QString &folder) { FBlobRoot = folder; }
    const QString &BlobRoot() const { return FBlobRoot; }

    const QString &FileName() const { return FFileName; }

    int RecordCount() const override
    {
        return FStarts.empty() ? 0 : static_cast<int>(FStarts.size()) - 1;
    }
    QVariant FieldValue(int index) const override;

    /// One cell of a row as split from the bytes (internal to the reader).
    struct TCell
    {
        const char *Data = nullptr;
        qsizetype Size = 0;
        std::string Unquoted; ///< the bytes with doubled quotes undone, when there were any
        bool UseUnquoted = false;
        std::string_view View() const
        {
            return UseUnquoted ? std::string_view(Unquoted)
                               : std::string_view(Data, static_cast<size_t>(Size));
        }
    };

private:
    void load(std::unique_ptr<QIODevice> source, const QString &fileName, const QString &baseDir);
    void readCurrent() const;

    QString FFileName;
    QString FBaseDir;
    QString FBlobRoot;
    QString FCanonicalBlobRoot; ///< where blob cells of the loaded file may point
    std::unique_ptr<QIODevice> FSource;
    std::vector<TRpFieldType> FTypes;
    /// Byte offset of every record's first byte, then the offset after the last record.
    std::vector<qint64> FStarts;

    // The current record's values, read on first use after the cursor moved.
    mutable std::vector<QVariant> FValues;
    mutable int FValuesRow = -1;
    // A window of the source's bytes, so that visiting records in order reads in large pieces.
    mutable QByteArray FWindow;
    mutable qint64 FWindowStart = 0;
    mutable std::vector<TCell> FCells;
};

} // namespace rp
