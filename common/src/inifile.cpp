// SPDX-License-Identifier: MIT
// INI reading and writing over the file's own lines.
#include <zc/inifile.h>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <climits>

namespace zc {

namespace {

bool isSectionHeader(const QString &trimmed, QString *name)
{
    if (!trimmed.startsWith(u'[') || !trimmed.contains(u']'))
        return false;
    *name = trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed();
    return true;
}

// The key of a "key=value" line (given trimmed), or an empty string for any other line.
QString keyOf(const QString &trimmed)
{
    if (trimmed.startsWith(u';'))
        return QString();
    const qsizetype eq = trimmed.indexOf(u'=');
    return eq > 0 ? trimmed.left(eq).trimmed() : QString();
}

QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    // A final newline leaves one empty piece that is not a line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// CRLF, as Windows writes it, unless the text breaks a line with a bare LF.
QString lineBreakOf(const QString &text)
{
    const bool bareLineFeed = text.count(u'\n') > text.count(QLatin1String("\r\n"));
    return bareLineFeed ? QStringLiteral("\n") : QStringLiteral("\r\n");
}

QString joinLines(const QStringList &lines, const QString &newline)
{
    QString text;
    for (const QString &line : lines)
        text += line + newline;
    return text;
}

} // namespace

bool ParseIniInteger(const QString &text, int *value)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty() || t.startsWith(u'-') || t.startsWith(u'+'))
        return false;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong signedValue = negative ? -v : v;
    const qlonglong highest = base == 16 ? qlonglong(UINT_MAX) : qlonglong(INT_MAX);
    if (signedValue < INT_MIN || signedValue > highest)
        return false;
    *value = static_cast<int>(static_cast<quint32>(signedValue));
    return true;
}

IniFile::IniFile(const QString &path, SaveMode mode) : FPath(path), FMode(mode)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        FBytewise = true;
        text = QString::fromLatin1(bytes);
    }
    FLines = splitLines(text);
    FNewline = lineBreakOf(text);
}

// Index of the key's line, or -1; the first one counts when a key is repeated. *insertAt
// gets where a new key of the section goes: after its last key, or after its header when it
// has none (-1 when the section is absent).
qsizetype IniFile::findKey(const QString &section, const QString &key, qsizetype *insertAt) const
{
    bool inSection = false;
    qsizetype found = -1;
    qsizetype at = -1;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const QString trimmed = FLines[i].trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection && at < 0)
                at = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        const QString lineKey = keyOf(trimmed);
        if (lineKey.isEmpty())
            continue;
        at = i + 1;
        if (found < 0 && lineKey.compare(key, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (insertAt)
        *insertAt = at;
    return found;
}

bool IniFile::SectionExists(const QString &section) const
{
    for (const QString &line : FLines) {
        QString name;
        if (isSectionHeader(line.trimmed(), &name) &&
            name.compare(section, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return findKey(section, key, nullptr) >= 0;
}

std::optional<QString> IniFile::Value(const QString &section, const QString &key) const
{
    const qsizetype i = findKey(section, key, nullptr);
    if (i < 0)
        return std::nullopt;
    const QString &line = FLines[i];
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    // Quotes protect the spaces of a value; the profile functions take off one pair.
    if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                              (value.startsWith(u'\'') && value.endsWith(u'\''))))
        value = value.mid(1, value.size() - 2);
    return value;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    return Value(section, key).value_or(def);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int value = def;
    if (!ParseIniInteger(ReadString(section, key, QString()), &value))
        return def;
    return value;
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines = FLines;
    qsizetype insertAt = -1;
    const qsizetype i = findKey(section, key, &insertAt);
    const QString entry = key + u'=' + value;
    if (i >= 0) {
        lines[i] = entry;
    } else if (insertAt >= 0) {
        lines.insert(insertAt, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }
    commit(std::move(lines), FNewline);
}

QString IniFile::ToText() const
{
    return joinLines(FLines, FNewline);
}

void IniFile::FromText(const QString &text)
{
    commit(splitLines(text), lineBreakOf(text));
}

void IniFile::UpdateFile() const
{
    save(ToText());
}

void IniFile::commit(QStringList lines, QString newline)
{
    if (FMode == SaveOnEachWrite)
        save(joinLines(lines, newline));
    FLines = std::move(lines);
    FNewline = std::move(newline);
}

void IniFile::save(const QString &text) const
{
    const QByteArray bytes = FBytewise ? text.toLatin1() : text.toUtf8();
    // Straight into the file only where the folder allows no temporary file but the file
    // itself is writable.
    QSaveFile file(FPath);
    file.setDirectWriteFallback(true);
    if (FPath.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit())
        throw EIniFileError("Unable to write to " + FPath.toStdString());
}

} // namespace zc
