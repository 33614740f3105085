// SPDX-License-Identifier: MIT
// JSON data set: parsed with QJsonDocument, keys kept in the order the text gives them.
#include <reportengine/rpconsts.h>
#include <reportengine/rpjsondataset.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <limits>
#include <vector>

namespace rp {

namespace {

[[noreturn]] void Fail(const QString &fileName, const QString &reason)
{
    throw EIOError((fileName + QStringLiteral(": ") + reason).toStdString());
}

QString PathOf(qsizetype record, const QString &key)
{
    return QStringLiteral("$[%1].%2").arg(record).arg(key);
}

// The keys of the records' objects in the order the text first gives them (QJsonObject
// sorts its keys). Called on text QJsonDocument accepted, so it only tracks nesting and
// strings: a string directly inside a record object and followed by ':' is a key.
QStringList KeysInTextOrder(const QByteArray &text)
{
    QStringList keys;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == '"') {
            const qsizetype start = i;
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\')
                    ++i;
            }
            if (depth != 2)
                continue;
            qsizetype after = i + 1;
            while (after < text.size() && QChar::isSpace(uchar(text[after])))
                ++after;
            if (after < text.size() && text[after] == ':') {
                // Decoded as JSON so that escapes come out as QJsonObject spells the key.
                const QByteArray one = '[' + text.mid(start, i + 1 - start) + ']';
                const QString key = QJsonDocument::fromJson(one).array().at(0).toString();
                if (!keys.contains(key))
                    keys.append(key);
            }
        }
    }
    return keys;
}

enum class Kind
{
    None,
    Integer,
    Large,
    Float,
    Boolean,
    String
};

const char *KindText(Kind kind)
{
    switch (kind) {
    case Kind::Integer:
    case Kind::Large:
    case Kind::Float:
        return "number";
    case Kind::Boolean:
        return "boolean";
    case Kind::String:
        return "string";
    case Kind::None:
        break;
    }
    return "null";
}

Kind KindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return Kind::Boolean;
    case QJsonValue::String:
        return Kind::String;
    case QJsonValue::Double: {
        const double d = value.toDouble();
        if (d != std::floor(d) || std::abs(d) > 9.2e18)
            return Kind::Float;
        return d >= std::numeric_limits<qint32>::min() && d <= std::numeric_limits<qint32>::max()
                   ? Kind::Integer
                   : Kind::Large;
    }
    default:
        return Kind::None;
    }
}

bool IsNumber(Kind kind)
{
    return kind == Kind::Integer || kind == Kind::Large || kind == Kind::Float;
}

TRpFieldType FieldTypeOf(Kind kind)
{
    switch (kind) {
    case Kind::Integer:
        return TRpFieldType::ftInteger;
    case Kind::Large:
        return TRpFieldType::ftLargeint;
    case Kind::Float:
        return TRpFieldType::ftFloat;
    case Kind::Boolean:
        return TRpFieldType::ftBoolean;
    case Kind::String:
    case Kind::None:
        break;
    }
    return TRpFieldType::ftString;
}

QVariant ValueOf(const QJsonValue &value, Kind fieldKind)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double:
        if (fieldKind == Kind::Integer)
            return static_cast<qint32>(value.toDouble());
        if (fieldKind == Kind::Large)
            return static_cast<qint64>(value.toDouble());
        return value.toDouble();
    default:
        return QVariant();
    }
}

} // namespace

TRpJsonDataSet::TRpJsonDataSet(const QString &fileName)
{
    LoadFromFile(fileName);
}

void TRpJsonDataSet::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Clear();
        Fail(fileName, QStringLiteral("cannot open file: ") + file.errorString());
    }
    LoadFromData(file.readAll(), fileName);
}

void TRpJsonDataSet::LoadFromData(const QByteArray &data, const QString &fileName)
{
    Clear();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        Fail(fileName, QStringLiteral("not valid JSON at byte %1: %2")
                           .arg(error.offset)
                           .arg(error.errorString()));
    if (!document.isArray())
        Fail(fileName, QStringLiteral("the top level is not an array of objects"));
    const QJsonArray records = document.array();

    const QStringList keys = KeysInTextOrder(data);
    std::vector<Kind> kinds(static_cast<size_t>(keys.size()), Kind::None);
    for (qsizetype r = 0; r < records.size(); ++r) {
        if (!records[r].isObject())
            Fail(fileName, QStringLiteral("$[%1] is not an object").arg(r));
        const QJsonObject record = records[r].toObject();
        for (qsizetype k = 0; k < keys.size(); ++k) {
            const QJsonValue value = record.value(keys[k]);
            if (value.isObject() || value.isArray())
                Fail(fileName, PathOf(r, keys[k]) +
                                   QStringLiteral(": nested objects and arrays are not supported"));
            const Kind kind = KindOf(value);
            Kind &field = kinds[static_cast<size_t>(k)];
            if (kind == Kind::None || kind == field)
                continue;
            if (field == Kind::None || (IsNumber(field) && IsNumber(kind)))
                field = std::max(field, kind); // Integer < Large < Float
            else
                Fail(fileName, PathOf(r, keys[k]) + QStringLiteral(": a ") +
                                   QLatin1String(KindText(kind)) + QStringLiteral(" where ") +
                                   QStringLiteral("earlier records have a ") +
                                   QLatin1String(KindText(field)));
        }
    }
    for (qsizetype k = 0; k < keys.size(); ++k)
        DefineField(keys[k], FieldTypeOf(kinds[static_cast<size_t>(k)]));
    for (const QJsonValue &value : records) {
        const QJsonObject record = value.toObject();
        QVariantList row;
        row.reserve(keys.size());
        for (qsizetype k = 0; k < keys.size(); ++k)
            row.append(ValueOf(record.value(keys[k]), kinds[static_cast<size_t>(k)]));
        AppendRecord(row);
    }
    First();
}

} // namespace rp
