// SPDX-License-Identifier: MIT
// CSV reader: one pass over the bytes splitting RFC 4180 cells, then typing every cell.
#include "rpcsvdataset.h"

#include "rpconsts.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTime>

#include <cmath>
#include <optional>
#include <vector>

namespace rp {

namespace {

struct Cell
{
    QByteArray Bytes;
    int Row; ///< 1-based record number
    int Column;
};

using Row = std::vector<Cell>;

class CsvError
{
public:
    CsvError(int row, int column, QString reason)
        : Row(row), Column(column), Reason(std::move(reason))
    {
    }
    int Row;
    int Column;
    QString Reason;
};

// Splits the bytes into rows of cells. Grammar (RFC 4180, LF alone also ends a row):
//   file   = [row *(eol row)] [eol]
//   row    = cell *("," cell)
//   cell   = quoted | plain
//   quoted = '"' *(any byte but '"' | '""') '"'
//   plain  = *(any byte but ',' '"' CR LF)
// Lines that are wholly empty are no rows.
std::vector<Row> SplitCells(const QByteArray &data)
{
    std::vector<Row> rows;
    const qsizetype n = data.size();
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int rowNo = 0;
    while (i < n) {
        // A bare line ending: no row.
        if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') {
            i += 2;
            continue;
        }
        if (data[i] == '\n' || data[i] == '\r') {
            ++i;
            continue;
        }
        ++rowNo;
        Row row;
        int col = 0;
        for (;;) {
            ++col;
            Cell cell{QByteArray(), rowNo, col};
            if (i < n && data[i] == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (data[i] == '"') {
                        if (i + 1 < n && data[i + 1] == '"') {
                            cell.Bytes.append('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    cell.Bytes.append(data[i++]);
                }
                if (!closed)
                    throw CsvError(rowNo, col, QLatin1String(SRpCsvUnbalancedQuote));
                if (i < n && data[i] != ',' && data[i] != '\r' && data[i] != '\n')
                    throw CsvError(rowNo, col, QLatin1String(SRpCsvTextAfterQuote));
            } else {
                while (i < n && data[i] != ',' && data[i] != '\r' && data[i] != '\n') {
                    if (data[i] == '"')
                        throw CsvError(rowNo, col, QLatin1String(SRpCsvQuoteInside));
                    cell.Bytes.append(data[i++]);
                }
            }
            row.push_back(std::move(cell));
            if (i < n && data[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < n && data[i] == '\r')
            ++i;
        if (i < n && data[i] == '\n')
            ++i;
        rows.push_back(std::move(row));
    }
    return rows;
}

QString DecodeUtf8(const Cell &cell)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(cell.Bytes);
    if (decoder.hasError())
        throw CsvError(cell.Row, cell.Column, QLatin1String(SRpCsvBadUtf8));
    return text;
}

struct TypeName
{
    const char *Name;
    TRpFieldType Type;
};

constexpr TypeName CsvTypes[] = {
    {"string", TRpFieldType::ftString},     {"memo", TRpFieldType::ftMemo},
    {"integer", TRpFieldType::ftLargeint},  {"float", TRpFieldType::ftFloat},
    {"currency", TRpFieldType::ftCurrency}, {"boolean", TRpFieldType::ftBoolean},
    {"date", TRpFieldType::ftDate},         {"time", TRpFieldType::ftTime},
    {"datetime", TRpFieldType::ftDateTime}, {"blob", TRpFieldType::ftBlob},
};

std::optional<TRpFieldType> TypeFromName(const QString &name)
{
    for (const TypeName &t : CsvTypes)
        if (name.compare(QLatin1String(t.Name), Qt::CaseInsensitive) == 0)
            return t.Type;
    return std::nullopt;
}

const char *TypeText(TRpFieldType type)
{
    for (const TypeName &t : CsvTypes)
        if (t.Type == type)
            return t.Name;
    return "value";
}

std::optional<QDate> ParseDate(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const auto m = re.match(s);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

std::optional<QTime> ParseTime(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{2}):(\\d{2}):(\\d{2})$"));
    const auto m = re.match(s);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

std::optional<QVariant> ParseTyped(const QString &s, TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftLargeint: {
        static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
        bool ok = false;
        const qlonglong v = re.match(s).hasMatch() ? s.toLongLong(&ok) : 0;
        return ok ? std::optional<QVariant>(QVariant(v)) : std::nullopt;
    }
    case TRpFieldType::ftFloat:
    case TRpFieldType::ftCurrency: {
        static const QRegularExpression re(
            QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
        bool ok = false;
        const double v = re.match(s).hasMatch() ? s.toDouble(&ok) : 0;
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        return QVariant(v);
    }
    case TRpFieldType::ftBoolean:
        if (s == u"1" || s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (s == u"0" || s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QVariant(false);
        return std::nullopt;
    case TRpFieldType::ftDate:
        if (auto d = ParseDate(s))
            return QVariant(*d);
        return std::nullopt;
    case TRpFieldType::ftTime:
        if (auto t = ParseTime(s))
            return QVariant(*t);
        return std::nullopt;
    case TRpFieldType::ftDateTime: {
        if (s.size() != 19 || (s[10] != u' ' && s[10] != u'T'))
            return std::nullopt;
        const auto d = ParseDate(s.left(10));
        const auto t = ParseTime(s.mid(11));
        if (!d || !t)
            return std::nullopt;
        return QVariant(QDateTime(*d, *t));
    }
    default:
        return QVariant(s);
    }
}

struct Column
{
    QString Name;
    TRpFieldType Type;
};

std::vector<Column> ParseHeader(const Row &header)
{
    std::vector<Column> columns;
    for (const Cell &cell : header) {
        QString text = DecodeUtf8(cell).trimmed();
        TRpFieldType type = TRpFieldType::ftString;
        const qsizetype colon = text.lastIndexOf(u':');
        if (colon >= 0) {
            const QString typeName = text.mid(colon + 1).trimmed();
            const auto parsed = TypeFromName(typeName);
            if (!parsed)
                throw CsvError(cell.Row, cell.Column, QLatin1String(SRpCsvUnknownType) + typeName);
            type = *parsed;
            text = text.left(colon).trimmed();
        }
        if (text.isEmpty())
            throw CsvError(cell.Row, cell.Column, QLatin1String(SRpCsvEmptyName));
        for (const Column &c : columns)
            if (c.Name.compare(text, Qt::CaseInsensitive) == 0)
                throw CsvError(cell.Row, cell.Column, QLatin1String(SRpCsvDuplicateName) + text);
        columns.push_back(Column{text, type});
    }
    return columns;
}

QVariant CellValue(const Cell &cell, const Column &column, const QDir &baseDir)
{
    const QString raw = DecodeUtf8(cell);
    const bool isText =
        column.Type == TRpFieldType::ftString || column.Type == TRpFieldType::ftMemo;
    const QString text = isText ? raw : raw.trimmed();
    if (text.isEmpty())
        return QVariant();
    if (column.Type == TRpFieldType::ftBlob) {
        QFile file(baseDir.filePath(text));
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            throw CsvError(cell.Row, cell.Column, QLatin1String(SRpCsvMissingBlob) + text);
        return QVariant(file.readAll());
    }
    const auto value = ParseTyped(text, column.Type);
    if (!value)
        throw CsvError(cell.Row, cell.Column,
                       QLatin1String(SRpCsvBadValue1) + text + QLatin1String(SRpCsvBadValue2) +
                           QLatin1String(TypeText(column.Type)));
    return *value;
}

} // namespace

void TRpCsvDataSet::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Clear();
        FFileName = fileName;
        throw EIOError((fileName + QLatin1String(SRpCsvCannotOpen)).toStdString());
    }
    LoadFromData(file.readAll(), fileName, QFileInfo(fileName).absolutePath());
}

void TRpCsvDataSet::LoadFromData(const QByteArray &data, const QString &fileName,
                                 const QString &baseDir)
{
    Clear();
    FFileName = fileName;
    std::vector<std::vector<QVariant>> records;
    std::vector<Column> columns;
    try {
        const std::vector<Row> rows = SplitCells(data);
        if (rows.empty())
            throw CsvError(1, 1, QLatin1String(SRpCsvEmptyHeader));
        columns = ParseHeader(rows.front());
        const QDir dir(baseDir);
        for (size_t r = 1; r < rows.size(); ++r) {
            const Row &row = rows[r];
            if (row.size() > columns.size()) {
                const Cell &extra = row[columns.size()];
                throw CsvError(extra.Row, extra.Column, QLatin1String(SRpCsvTooManyCells));
            }
            std::vector<QVariant> values(columns.size());
            for (size_t c = 0; c < row.size(); ++c)
                values[c] = CellValue(row[c], columns[c], dir);
            records.push_back(std::move(values));
        }
    } catch (const CsvError &e) {
        throw EIOError((fileName + QLatin1String(SRpCsvRow) + QString::number(e.Row) +
                        QLatin1String(SRpCsvColumn) + QString::number(e.Column) +
                        QStringLiteral(": ") + e.Reason)
                           .toStdString());
    }
    for (const Column &c : columns)
        DefineField(c.Name, c.Type);
    for (auto &values : records)
        AppendRecord(QVariantList(values.begin(), values.end()));
    First();
}

} // namespace rp
