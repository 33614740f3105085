// SPDX-License-Identifier: MIT
// Line-preserving INI reading and writing.
#include "inifile.h"

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
    if (signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    *value = static_cast<int>(signedValue);
    return true;
}

IniFile::IniFile(const QString &path) : FPath(path)
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
    if (!text.contains(QLatin1String("\r\n")) && text.contains(u'\n'))
        FNewline = QStringLiteral("\n");
    FLines = text.split(u'\n');
    for (QString &line : FLines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    // A final newline leaves one empty piece that is not a line of its own.
    if (!FLines.isEmpty() && FLines.last().isEmpty())
        FLines.removeLast();
}

// Index of the key's line, or -1. *sectionEnd gets the index after the section's last
// non-blank line (-1 when the section is absent).
qsizetype IniFile::findKey(const QString &section, const QString &key, qsizetype *sectionEnd) const
{
    bool inSection = false;
    qsizetype found = -1;
    qsizetype end = -1;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const QString trimmed = FLines[i].trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection && end < 0)
                end = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed.isEmpty())
            end = i + 1;
        if (trimmed.startsWith(u';'))
            continue;
        const qsizetype eq = trimmed.indexOf(u'=');
        if (eq > 0 && found < 0 &&
            trimmed.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (sectionEnd)
        *sectionEnd = end;
    return found;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const qsizetype i = findKey(section, key, nullptr);
    if (i < 0)
        return def;
    const QString &line = FLines[i];
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    // Windows takes off one pair of surrounding quotes.
    if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                              (value.startsWith(u'\'') && value.endsWith(u'\''))))
        value = value.mid(1, value.size() - 2);
    return value;
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
    qsizetype sectionEnd = -1;
    const qsizetype i = findKey(section, key, &sectionEnd);
    const QString entry = key + u'=' + value;
    if (i >= 0) {
        lines[i] = entry;
    } else if (sectionEnd >= 0) {
        lines.insert(sectionEnd, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }

    // Through a temporary file and a rename where the folder allows it, so a failed write
    // never leaves half a file; straight into the file where only the file is writable.
    QSaveFile file(FPath);
    file.setDirectWriteFallback(true);
    const QString joined = lines.join(FNewline) + FNewline;
    const QByteArray bytes = FBytewise ? joined.toLatin1() : joined.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileError("Unable to write to " + FPath.toStdString());
    FLines = lines;
}

} // namespace zc
