// SPDX-License-Identifier: MIT
// CSV reader: checks every cell once while noting where records start, then reads records on
// demand.
#include <reportengine/rpcsvdataset.h>

#include <reportengine/rpconsts.h>

#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace rp {

namespace {

using TCell = TRpCsvDataSet::TCell;

// Pieces read from the source while loading, and the least a record read reads.
constexpr qint64 LoadChunk = 1 << 20;
constexpr qint64 RecordWindow = 256 << 10;

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

EIOError Failure(const QString &fileName, const CsvError &e)
{
    return EIOError((fileName + QLatin1String(SRpCsvRow) + QString::number(e.Row) +
                     QLatin1String(SRpCsvColumn) + QString::number(e.Column) +
                     QStringLiteral(": ") + e.Reason)
                        .toStdString());
}

// The bytes that end an unquoted cell, or make it malformed.
constexpr auto EndsPlainCell = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {',', '\r', '\n', '"'})
        table[c] = true;
    return table;
}();

// Splits the row at p into cells. Grammar (RFC 4180, LF alone also ends a row):
//   row    = cell *("," cell)
//   cell   = quoted | plain
//   quoted = '"' *(any byte but '"' | '""') '"'
//   plain  = *(any byte but ',' '"' CR LF)
// Returns the byte after the row's line ending, or nullptr when the bytes stop inside the
// row and more may follow (`atEnd` false). The cells may point into [p, end).
const char *SplitRow(const char *p, const char *end, bool atEnd, int rowNo,
                     std::vector<TCell> &cells, int &count)
{
    count = 0;
    for (;;) {
        if (count == static_cast<int>(cells.size()))
            cells.emplace_back();
        TCell &cell = cells[static_cast<size_t>(count++)];
        const int col = count;
        cell.UseUnquoted = false;
        if (p < end && *p == '"') {
            const char *start = ++p;
            bool closed = false;
            while (p < end) {
                const auto *quote =
                    static_cast<const char *>(std::memchr(p, '"', static_cast<size_t>(end - p)));
                const char *stop = quote ? quote : end;
                if (cell.UseUnquoted)
                    cell.Unquoted.append(p, static_cast<size_t>(stop - p));
                p = stop;
                if (!quote)
                    break;
                if (p + 1 == end && !atEnd)
                    return nullptr; // a doubled quote may be cut here
                if (p + 1 < end && p[1] == '"') {
                    if (!cell.UseUnquoted) {
                        cell.Unquoted.assign(start, static_cast<size_t>(p - start));
                        cell.UseUnquoted = true;
                    }
                    cell.Unquoted.push_back('"');
                    p += 2;
                    continue;
                }
                cell.Data = start;
                cell.Size = p - start;
                ++p;
                closed = true;
                break;
            }
            if (!closed) {
                if (!atEnd)
                    return nullptr;
                throw CsvError(rowNo, col, QLatin1String(SRpCsvUnbalancedQuote));
            }
            if (p < end && *p != ',' && *p != '\r' && *p != '\n')
                throw CsvError(rowNo, col, QLatin1String(SRpCsvTextAfterQuote));
        } else {
            const char *start = p;
            while (p < end && !EndsPlainCell[static_cast<unsigned char>(*p)])
                ++p;
            if (p < end && *p == '"')
                throw CsvError(rowNo, col, QLatin1String(SRpCsvQuoteInside));
            cell.Data = start;
            cell.Size = p - start;
        }
        if (p == end && !atEnd)
            return nullptr;
        if (p < end && *p == ',') {
            ++p;
            continue;
        }
        break;
    }
    if (p < end && *p == '\r') {
        ++p;
        if (p == end && !atEnd)
            return nullptr;
    }
    if (p < end && *p == '\n')
        ++p;
    return p;
}

/// Reads a device front to back in large pieces, keeping the unread rest of a row.
class ChunkReader
{
public:
    explicit ChunkReader(QIODevice &device) : FDevice(device) { FDevice.seek(0); }

    qint64 Offset() const { return FBufStart + FPos; }

    void SkipBom()
    {
        while (FBuf.size() - FPos < 3 && fill()) {
        }
        if (FBuf.size() - FPos >= 3 && FBuf.mid(FPos, 3) == "\xEF\xBB\xBF")
            FPos += 3;
    }

    /// Passes over line endings; false at the end of the bytes.
    bool SkipBlankLines()
    {
        for (;;) {
            while (FPos < FBuf.size()) {
                if (FBuf[FPos] != '\n' && FBuf[FPos] != '\r')
                    return true;
                ++FPos;
            }
            if (!fill())
                return false;
        }
    }

    void SplitRow(int rowNo, std::vector<TCell> &cells, int &count)
    {
        for (;;) {
            const char *p = FBuf.constData() + FPos;
            const char *after =
                rp::SplitRow(p, FBuf.constData() + FBuf.size(), FEnd, rowNo, cells, count);
            if (after) {
                FPos = after - FBuf.constData();
                return;
            }
            fill();
        }
    }

private:
    // Appends the next piece after the unread bytes; false when the device had no more.
    bool fill()
    {
        if (FEnd)
            return false;
        FBuf.remove(0, FPos);
        FBufStart += FPos;
        FPos = 0;
        const qsizetype kept = FBuf.size();
        // A row longer than a piece doubles the buffer rather than rereading it piece by piece.
        const qint64 want = std::max<qint64>(LoadChunk, kept);
        FBuf.resize(kept + want);
        const qint64 got = FDevice.read(FBuf.data() + kept, want);
        FBuf.resize(kept + std::max<qint64>(got, 0));
        if (got <= 0 || FDevice.atEnd())
            FEnd = true;
        return got > 0;
    }

    QIODevice &FDevice;
    QByteArray FBuf;
    qsizetype FPos = 0;
    qint64 FBufStart = 0;
    bool FEnd = false;
};

bool IsAscii(std::string_view v)
{
    return std::all_of(v.begin(), v.end(), [](char c) { return (c & 0x80) == 0; });
}

// The blanks QString::trimmed drops, as far as they are ASCII.
bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view TrimAscii(std::string_view v)
{
    while (!v.empty() && IsBlank(v.front()))
        v.remove_prefix(1);
    while (!v.empty() && IsBlank(v.back()))
        v.remove_suffix(1);
    return v;
}

QString DecodeUtf8(std::string_view bytes, int row, int col)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        throw CsvError(row, col, QLatin1String(SRpCsvBadUtf8));
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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits at the given offsets and `sep` at the others of a fixed-width pattern.
bool Matches(std::string_view s, const char *pattern)
{
    const size_t n = std::char_traits<char>::length(pattern);
    if (s.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (pattern[i] == 'd' ? !IsDigit(s[i]) : s[i] != pattern[i])
            return false;
    return true;
}

int Number(std::string_view s, size_t at, size_t len)
{
    int v = 0;
    for (size_t i = at; i < at + len; ++i)
        v = v * 10 + (s[i] - '0');
    return v;
}

std::optional<QDate> ParseDate(std::string_view s)
{
    if (!Matches(s, "dddd-dd-dd"))
        return std::nullopt;
    const QDate d(Number(s, 0, 4), Number(s, 5, 2), Number(s, 8, 2));
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

std::optional<QTime> ParseTime(std::string_view s)
{
    if (!Matches(s, "dd:dd:dd"))
        return std::nullopt;
    const QTime t(Number(s, 0, 2), Number(s, 3, 2), Number(s, 6, 2));
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

// [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?
bool IsFloatText(std::string_view s)
{
    size_t i = 0;
    const auto digits = [&] {
        const size_t from = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        return i > from;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    if (digits()) {
        if (i < s.size() && s[i] == '.') {
            ++i;
            digits();
        }
    } else if (i < s.size() && s[i] == '.') {
        ++i;
        if (!digits())
            return false;
    } else {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == s.size();
}

// `s` is trimmed ASCII text and not empty.
std::optional<QVariant> ParseTyped(std::string_view s, TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftLargeint: {
        const std::string_view body = s.front() == '+' ? s.substr(1) : s;
        const size_t sign = !body.empty() && body.front() == '-' ? 1 : 0;
        if (body.size() == sign || !std::all_of(body.begin() + sign, body.end(), IsDigit))
            return std::nullopt;
        qlonglong v = 0;
        const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
        if (ec != std::errc() || end != body.data() + body.size())
            return std::nullopt;
        return QVariant(v);
    }
    case TRpFieldType::ftFloat:
    case TRpFieldType::ftCurrency: {
        if (!IsFloatText(s))
            return std::nullopt;
        const std::string_view body = s.front() == '+' ? s.substr(1) : s;
        double v = 0;
        const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
        if (ec != std::errc() || end != body.data() + body.size()) {
            // Out of range: the locale-free Qt conversion decides, as it always did.
            bool ok = false;
            v = QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())).toDouble(&ok);
            if (!ok)
                return std::nullopt;
        }
        if (!std::isfinite(v))
            return std::nullopt;
        return QVariant(v);
    }
    case TRpFieldType::ftBoolean: {
        const QLatin1String text(s.data(), static_cast<qsizetype>(s.size()));
        if (s == "1" || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QVariant(true);
        if (s == "0" || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QVariant(false);
        return std::nullopt;
    }
    case TRpFieldType::ftDate:
        if (auto d = ParseDate(s))
            return QVariant(*d);
        return std::nullopt;
    case TRpFieldType::ftTime:
        if (auto t = ParseTime(s))
            return QVariant(*t);
        return std::nullopt;
    case TRpFieldType::ftDateTime: {
        if (s.size() != 19 || (s[10] != ' ' && s[10] != 'T'))
            return std::nullopt;
        const auto d = ParseDate(s.substr(0, 10));
        const auto t = ParseTime(s.substr(11));
        if (!d || !t)
            return std::nullopt;
        return QVariant(QDateTime(*d, *t));
    }
    default:
        return QVariant(QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())));
    }
}

struct Column
{
    QString Name;
    TRpFieldType Type;
};

std::vector<Column> ParseHeader(const std::vector<TCell> &cells, int count)
{
    std::vector<Column> columns;
    for (int c = 0; c < count; ++c) {
        QString text = DecodeUtf8(cells[static_cast<size_t>(c)].View(), 1, c + 1).trimmed();
        TRpFieldType type = TRpFieldType::ftString;
        const qsizetype colon = text.lastIndexOf(u':');
        if (colon >= 0) {
            const QString typeName = text.mid(colon + 1).trimmed();
            const auto parsed = TypeFromName(typeName);
            if (!parsed)
                throw CsvError(1, c + 1, QLatin1String(SRpCsvUnknownType) + typeName);
            type = *parsed;
            text = text.left(colon).trimmed();
        }
        if (text.isEmpty())
            throw CsvError(1, c + 1, QLatin1String(SRpCsvEmptyName));
        for (const Column &known : columns)
            if (known.Name.compare(text, Qt::CaseInsensitive) == 0)
                throw CsvError(1, c + 1, QLatin1String(SRpCsvDuplicateName) + text);
        columns.push_back(Column{text, type});
    }
    return columns;
}

[[noreturn]] void BadValue(int row, int col, const QString &text, TRpFieldType type)
{
    throw CsvError(row, col,
                   QLatin1String(SRpCsvBadValue1) + text + QLatin1String(SRpCsvBadValue2) +
                       QLatin1String(TypeText(type)));
}

// Where blob cells may point: paths are taken relative to the CSV file's folder and must
// stay, links followed, inside the blob root (that folder unless a wider one was given).
class BlobFolder
{
public:
    // `canonicalRoot` as CanonicalRoot gives it, once per load.
    BlobFolder(const QString &baseDir, const QString &canonicalRoot, bool rootGiven)
        : FBase(baseDir), FRootGiven(rootGiven), FRoot(canonicalRoot)
    {
    }
    static QString CanonicalRoot(const QString &baseDir, const QString &root)
    {
        return QFileInfo(root.isEmpty() ? baseDir : root).canonicalFilePath();
    }

    // The canonical path of the regular file `text` names; throws the reason it cannot be.
    QString Resolve(const QString &text, int row, int col) const
    {
        if (QDir::isAbsolutePath(text) && !FRootGiven)
            throw CsvError(row, col, QLatin1String(SRpCsvBlobAbsolute) + text);
        const QFileInfo info(QDir(FBase).filePath(text));
        if (!info.exists())
            throw CsvError(row, col, QLatin1String(SRpCsvMissingBlob) + text);
        const QString path = info.canonicalFilePath();
        if (FRoot.isEmpty() || !(path == FRoot || path.startsWith(FRoot + u'/') || FRoot == u"/"))
            throw CsvError(row, col,
                           QLatin1String(SRpCsvBlobOutside) + FRoot + QStringLiteral(": ") + text);
        if (!QFileInfo(path).isFile())
            throw CsvError(row, col, QLatin1String(SRpCsvBlobNotFile) + text);
        return path;
    }

private:
    QString FBase;
    bool FRootGiven;
    QString FRoot;
};

// The value of one cell; with `keep` false only checks it (and builds no value).
QVariant CellValue(std::string_view bytes, TRpFieldType type, int row, int col,
                   const BlobFolder &blobs, bool keep)
{
    if (type == TRpFieldType::ftString || type == TRpFieldType::ftMemo) {
        if (bytes.empty())
            return QVariant();
        if (!keep && IsAscii(bytes))
            return QVariant();
        return QVariant(DecodeUtf8(bytes, row, col));
    }
    if (type == TRpFieldType::ftBlob) {
        const QString text = DecodeUtf8(bytes, row, col).trimmed();
        if (text.isEmpty())
            return QVariant();
        QFile file(blobs.Resolve(text, row, col));
        if (!file.open(QIODevice::ReadOnly))
            throw CsvError(row, col,
                           QLatin1String(SRpCsvBlobUnreadable) + text + QStringLiteral(": ") +
                               file.errorString());
        return keep ? QVariant(file.readAll()) : QVariant();
    }
    std::string_view text = TrimAscii(bytes);
    QByteArray converted;
    if (!IsAscii(text)) {
        // Blanks beyond ASCII may surround a value; anything else non-ASCII is no value.
        const QString decoded = DecodeUtf8(text, row, col).trimmed();
        bool ascii = true;
        for (QChar ch : decoded)
            ascii = ascii && ch.unicode() < 0x80;
        if (!ascii)
            BadValue(row, col, decoded, type);
        converted = decoded.toLatin1();
        text = std::string_view(converted.constData(), static_cast<size_t>(converted.size()));
    }
    if (text.empty())
        return QVariant();
    auto value = ParseTyped(text, type);
    if (!value)
        BadValue(row, col, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                 type);
    return keep ? std::move(*value) : QVariant();
}

} // namespace

TRpCsvDataSet::TRpCsvDataSet() = default;
TRpCsvDataSet::~TRpCsvDataSet() = default;

TRpCsvDataSet::TRpCsvDataSet(const QString &fileName)
{
    LoadFromFile(fileName);
}

void TRpCsvDataSet::Clear()
{
    FSource.reset();
    ClearFields();
    FTypes.clear();
    FStarts.clear();
    ResetCursor();
    FValues.clear();
    FValuesRow = -1;
    FWindow.clear();
    FWindowStart = 0;
}

void TRpCsvDataSet::LoadFromFile(const QString &fileName)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly)) {
        Clear();
        FFileName = fileName;
        throw EIOError((fileName + QLatin1String(SRpCsvCannotOpen)).toStdString());
    }
    load(std::move(file), fileName, QFileInfo(fileName).absolutePath());
}

void TRpCsvDataSet::LoadFromData(const QByteArray &data, const QString &fileName,
                                 const QString &baseDir)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    load(std::move(buffer), fileName, baseDir);
}

void TRpCsvDataSet::load(std::unique_ptr<QIODevice> source, const QString &fileName,
                         const QString &baseDir)
{
    Clear();
    FFileName = fileName;
    std::vector<Column> columns;
    std::vector<qint64> starts;
    const QString blobRoot = BlobFolder::CanonicalRoot(baseDir, FBlobRoot);
    const BlobFolder blobs(baseDir, blobRoot, !FBlobRoot.isEmpty());
    try {
        ChunkReader reader(*source);
        reader.SkipBom();
        std::vector<TCell> cells;
        int count = 0;
        int rowNo = 0;
        while (reader.SkipBlankLines()) {
            ++rowNo;
            const qint64 start = reader.Offset();
            reader.SplitRow(rowNo, cells, count);
            if (rowNo == 1) {
                columns = ParseHeader(cells, count);
                continue;
            }
            if (count > static_cast<int>(columns.size()))
                throw CsvError(rowNo, static_cast<int>(columns.size()) + 1,
                               QLatin1String(SRpCsvTooManyCells));
            for (int c = 0; c < count; ++c)
                CellValue(cells[static_cast<size_t>(c)].View(),
                          columns[static_cast<size_t>(c)].Type, rowNo, c + 1, blobs, false);
            starts.push_back(start);
        }
        if (rowNo == 0)
            throw CsvError(1, 1, QLatin1String(SRpCsvEmptyHeader));
        starts.push_back(reader.Offset());
    } catch (const CsvError &e) {
        throw Failure(fileName, e);
    }
    for (const Column &c : columns) {
        AddField(c.Name, c.Type);
        FTypes.push_back(c.Type);
    }
    FStarts = std::move(starts);
    FSource = std::move(source);
    FBaseDir = baseDir;
    FCanonicalBlobRoot = blobRoot;
    First();
}

void TRpCsvDataSet::readCurrent() const
{
    const qint64 start = FStarts[static_cast<size_t>(CurrentRow())];
    const qint64 stop = FStarts[static_cast<size_t>(CurrentRow()) + 1];
    if (start < FWindowStart || stop > FWindowStart + FWindow.size()) {
        // Some room before the record too, so that stepping back does not reread every time.
        FWindowStart = std::max<qint64>(0, start - RecordWindow / 8);
        FWindow.resize(std::max(stop - FWindowStart, RecordWindow));
        FSource->seek(FWindowStart);
        const qint64 got = FSource->read(FWindow.data(), FWindow.size());
        FWindow.resize(std::max<qint64>(got, 0));
        if (stop > FWindowStart + FWindow.size()) {
            FWindow.clear();
            throw EIOError((FFileName + QLatin1String(SRpCsvRow) +
                            QString::number(CurrentRow() + 2) +
                            QStringLiteral(": the file changed while it was read"))
                               .toStdString());
        }
    }
    const char *p = FWindow.constData() + (start - FWindowStart);
    const int rowNo = CurrentRow() + 2;
    int count = 0;
    FValues.assign(FTypes.size(), QVariant());
    const BlobFolder blobs(FBaseDir, FCanonicalBlobRoot, !FBlobRoot.isEmpty());
    try {
        SplitRow(p, p + (stop - start), true, rowNo, FCells, count);
        count = std::min(count, static_cast<int>(FTypes.size()));
        for (int c = 0; c < count; ++c)
            FValues[static_cast<size_t>(c)] =
                CellValue(FCells[static_cast<size_t>(c)].View(), FTypes[static_cast<size_t>(c)],
                          rowNo, c + 1, blobs, true);
    } catch (const CsvError &e) {
        FValuesRow = -1;
        throw Failure(FFileName, e);
    }
    FValuesRow = CurrentRow();
}

QVariant TRpCsvDataSet::FieldValue(int index) const
{
    if (RecordCount() <= 0 || index < 0 || index >= FieldCount())
        return QVariant();
    if (FValuesRow != CurrentRow())
        readCurrent();
    return FValues[static_cast<size_t>(index)];
}

} // namespace rp
