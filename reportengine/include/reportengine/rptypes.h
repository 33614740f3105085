// SPDX-License-Identifier: MIT
// Report engine: value types shared by the component, the compiler and the executor.
#pragma once

#include <QByteArray>
#include <QFlags>
#include <QImage>
#include <QString>
#include <QtEndian>

#include <cstdint>
#include <vector>

namespace rp {

/// What index and position lookups give when nothing matches.
inline constexpr int RpNotFound = -1;

/// Position of a field in the template file, for authors' messages.
struct TRpTemplatePos
{
    int line = 0;   ///< 1-based; 0 when unknown
    int column = 0; ///< 1-based byte column
    QString field;  ///< the field as written, delimiters included
};

/// Something a run let pass that the template's author should know about.
struct TRpWarning
{
    TRpTemplatePos at;
    QString message;
};

/// Common base of everything handed to functions as an argument or result
/// (variables, data-set fields, pictures, byte streams); callers test the kind
/// with dynamic_cast.
class TRpObject
{
public:
    virtual ~TRpObject() = default;
};

/// Data type of a report variable or value.
enum TRpDataType : std::uint8_t
{
    rpdtUnknown = 0,
    rpdtString = 1,
    rpdtNumber = 2,
    rpdtBoolean = 3,
    rpdtDateTime = 4,
};

/// Persisted number of a data type: String 0, Number 1, Boolean 2, DateTime 3, Unknown -1.
int DataType2Int(TRpDataType type);
/// Inverse of DataType2Int; every other integer gives rpdtUnknown.
TRpDataType Int2DataType(int number);
/// "Unknown", "String", "Number", "Boolean" or "DateTime".
QString DataTypeText(TRpDataType type);

/// What a function returns; also the kind of result object its caller creates.
enum TRpUDFResultType : std::uint8_t
{
    udfrNil = 0,               ///< no value
    udfrTRpReportVariable = 1, ///< a local TRpReportVariable
    udfrTPicture = 2,          ///< a TRpPicture
    udfrTMemoryStream = 3,     ///< a TRpMemoryStream
};

/// Report options; bit 0 first.
enum TRpRTFOption : std::uint32_t
{
    eoGraphicsWmfCompatible = 0x01,
    eoGraphicsBinary = 0x02,
    eoClearMissedFields = 0x04,
    eoDotAsColon = 0x08,
    eoNumericFormatClearZero = 0x10,
    eoKeepFrtfPar = 0x20,
    eoProcessFormFields = 0x40,
};
Q_DECLARE_FLAGS(TRpRTFOptions, TRpRTFOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRpRTFOptions)

/// Options of a new report component.
inline constexpr TRpRTFOptions RpDefaultOptions = TRpRTFOptions(eoGraphicsBinary | eoDotAsColon);

/// Kinds in a compiled field description.
enum TRpRcTypes : std::uint8_t
{
    rcdata = 0,
    rcsimple = 1,
    rcnottext = 2,
};

/// Format function applied to a value (0 = none), with its numeric arguments.
struct TRpFieldFormat
{
    std::int32_t fmtnumber = 0;
    std::int32_t precision = 18;
    std::int32_t decimals = 2;

    bool operator==(const TRpFieldFormat &) const = default;
};

/// One compiled value item: a variable, constant, data-set field or expression.
struct TRpRowContent
{
    QString stestf; ///< the field as written in the template, backslashes included
    QString Dalias; ///< data-set alias, upper case (data-set fields only)
    QString Field;  ///< variable name, constant text, field name or expression text
    QString sout;   ///< markup text found inside the field, written after the value
    TRpFieldFormat fmt;
    TRpRcTypes ftype = rcsimple;
    std::int32_t NField = -1; ///< resolved field index, or a function number
    TRpRcTypes DefinedType = rcsimple;
    bool Defined = false;

    bool operator==(const TRpRowContent &) const = default;
};

/// A picture value: the encoded bytes as loaded, and the decoded image.
class TRpPicture : public TRpObject
{
public:
    QByteArray Data; ///< encoded bytes (any format the image decoder reads), may be empty
    QImage Image;    ///< decoded picture; null when empty

    bool IsEmpty() const { return Image.isNull() && Data.isEmpty(); }
    /// Decodes `bytes` into Image and keeps them in Data; false when they are no picture.
    bool LoadFromData(const QByteArray &bytes);
    /// Reads and decodes a picture file; false when it cannot.
    bool LoadFromFile(const QString &fileName);
};

/// A growable byte buffer with a position, little-endian integer helpers
/// included. Holds the command stream and byte results of functions.
class TRpMemoryStream : public TRpObject
{
public:
    const QByteArray &Bytes() const { return FData; }
    qint64 Size() const { return FData.size(); }
    /// Sets the size; new bytes are zero; the position is clamped to the new size.
    void SetSize(qint64 size);
    qint64 Position() const { return FPos; }
    /// Moves to `pos`, clamped to 0 .. Size.
    void Seek(qint64 pos);
    /// Moves by `delta` from the current position, clamped as Seek.
    void SeekRelative(qint64 delta) { Seek(FPos + delta); }
    void Clear();
    /// Reserves room for `size` bytes without changing Size.
    void Reserve(qint64 size) { FData.reserve(size); }

    /// Writes at the position (overwriting, growing when needed) and advances.
    void Write(const char *data, qint64 count);
    void Write(const QByteArray &bytes) { Write(bytes.constData(), bytes.size()); }
    /// Reads up to `count` bytes from the position; returns how many were read.
    qint64 Read(char *data, qint64 count);

    void WriteInt32(std::int32_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt8(std::uint8_t value);
    /// Reads a value; a value cut by the end of the stream reads its missing bytes as 0.
    std::int32_t ReadInt32()
    {
        // The run loop reads millions of these: only a value cut by the end takes the call.
        if (FPos + 4 > FData.size())
            return readCutInt32();
        const auto v = qFromLittleEndian<std::int32_t>(FData.constData() + FPos);
        FPos += 4;
        return v;
    }
    std::uint16_t ReadUInt16();
    std::uint8_t ReadUInt8();

private:
    std::int32_t readCutInt32();

    QByteArray FData;
    qint64 FPos = 0;
};

} // namespace rp
