// SPDX-License-Identifier: MIT
// Report engine shared types: data-type numbers, picture values, the memory stream.
#include <reportengine/rptypes.h>

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace rp {

namespace {

// The persisted number of a type that has none of its own.
constexpr int UnknownTypeNumber = -1;

} // namespace

int DataType2Int(TRpDataType type)
{
    switch (type) {
    case rpdtString:
        return 0;
    case rpdtNumber:
        return 1;
    case rpdtBoolean:
        return 2;
    case rpdtDateTime:
        return 3;
    default:
        return UnknownTypeNumber;
    }
}

TRpDataType Int2DataType(int number)
{
    switch (number) {
    case 0:
        return rpdtString;
    case 1:
        return rpdtNumber;
    case 2:
        return rpdtBoolean;
    case 3:
        return rpdtDateTime;
    default:
        return rpdtUnknown;
    }
}

QString DataTypeText(TRpDataType type)
{
    switch (type) {
    case rpdtString:
        return QStringLiteral("String");
    case rpdtNumber:
        return QStringLiteral("Number");
    case rpdtBoolean:
        return QStringLiteral("Boolean");
    case rpdtDateTime:
        return QStringLiteral("DateTime");
    default:
        return QStringLiteral("Unknown");
    }
}

bool TRpPicture::LoadFromData(const QByteArray &bytes)
{
    QImage image;
    if (!image.loadFromData(bytes))
        return false;
    Data = bytes;
    Image = image;
    return true;
}

bool TRpPicture::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return LoadFromData(file.readAll());
}

void TRpMemoryStream::SetSize(qint64 size)
{
    size = std::max<qint64>(size, 0);
    const qint64 old = FData.size();
    FData.resize(size);
    if (size > old)
        std::memset(FData.data() + old, 0, static_cast<size_t>(size - old));
    FPos = std::min(FPos, size);
}

void TRpMemoryStream::Seek(qint64 pos)
{
    FPos = std::clamp<qint64>(pos, 0, FData.size());
}

void TRpMemoryStream::Clear()
{
    FData.clear();
    FPos = 0;
}

void TRpMemoryStream::Write(const char *data, qint64 count)
{
    if (count <= 0)
        return;
    if (FPos + count > FData.size())
        FData.resize(FPos + count);
    std::memcpy(FData.data() + FPos, data, static_cast<size_t>(count));
    FPos += count;
}

qint64 TRpMemoryStream::Read(char *data, qint64 count)
{
    const qint64 n = std::clamp<qint64>(FData.size() - FPos, 0, std::max<qint64>(count, 0));
    if (n > 0)
        std::memcpy(data, FData.constData() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
}

void TRpMemoryStream::WriteInt32(std::int32_t value)
{
    char buf[4];
    qToLittleEndian(value, buf);
    Write(buf, 4);
}

void TRpMemoryStream::WriteUInt16(std::uint16_t value)
{
    char buf[2];
    qToLittleEndian(value, buf);
    Write(buf, 2);
}

void TRpMemoryStream::WriteUInt8(std::uint8_t value)
{
    const char c = static_cast<char>(value);
    Write(&c, 1);
}

std::int32_t TRpMemoryStream::readCutInt32()
{
    char buf[4] = {0, 0, 0, 0};
    Read(buf, 4);
    return qFromLittleEndian<std::int32_t>(buf);
}

std::uint16_t TRpMemoryStream::ReadUInt16()
{
    char buf[2] = {0, 0};
    Read(buf, 2);
    return qFromLittleEndian<std::uint16_t>(buf);
}

std::uint8_t TRpMemoryStream::ReadUInt8()
{
    char c = 0;
    Read(&c, 1);
    return static_cast<std::uint8_t>(c);
}

} // namespace rp
