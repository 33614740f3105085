// SPDX-License-Identifier: MIT
// INI file reading and writing that keeps sections, keys and comments in their order.
#include <rotarymenu/gradientfillini.h>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace zc {

IniFile::IniFile(const QString &fileName) : m_fileName(fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        // Files written by other programs are usually in the single-byte code page.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (utf8.hasError()) {
            text = QString::fromLatin1(bytes);
        }
        FromText(text);
    }
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) {
            return &s;
        }
    }
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

bool IniFile::SectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return Value(section, key).has_value();
}

std::optional<QString> IniFile::Value(const QString &section, const QString &key) const
{
    if (const Section *s = findSection(section)) {
        for (const Entry &e : s->entries) {
            if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0) {
                return e.value;
            }
        }
    }
    return std::nullopt;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    return Value(section, key).value_or(def);
}

qint32 IniFile::ReadInteger(const QString &section, const QString &key, qint32 def) const
{
    const std::optional<QString> text = Value(section, key);
    if (!text) {
        return def;
    }
    const QString t = text->trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        v = qint64(t.mid(2).toUInt(&ok, 16)); // written as unsigned, read back as the same bits
        v = qint32(quint32(v));
    } else {
        v = t.toLongLong(&ok, 10);
    }
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()) {
        return def;
    }
    return qint32(v);
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Section *s = findSection(section);
    if (!s) {
        m_sections.append({section, {}});
        s = &m_sections.last();
    }
    for (Entry &e : s->entries) {
        if (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank or comment lines.
    qsizetype at = s->entries.size();
    while (at > 0 && s->entries[at - 1].key.isEmpty()) {
        --at;
    }
    s->entries.insert(at, {key, value});
}

void IniFile::WriteInteger(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

QString IniFile::ToText() const
{
    QString text;
    for (const QString &line : m_preamble) {
        text += line + QLatin1Char('\n');
    }
    for (const Section &s : m_sections) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\n");
        for (const Entry &e : s.entries) {
            text += e.key.isEmpty() ? e.value : e.key + QLatin1Char('=') + e.value;
            text += QLatin1Char('\n');
        }
    }
    return text;
}

void IniFile::FromText(const QString &text)
{
    m_preamble.clear();
    m_sections.clear();
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    Section *current = nullptr;
    for (QString line : std::as_const(lines)) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = findSection(name);
            if (!current) {
                m_sections.append({name, {}});
                current = &m_sections.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const bool isKey =
            eq > 0 && !trimmed.startsWith(QLatin1Char(';')) && !line.left(eq).trimmed().isEmpty();
        if (!current) {
            m_preamble.append(line);
        } else if (isKey) {
            const QString key = line.left(eq).trimmed();
            // A repeated key: the first one is the one that is read, as the profile
            // functions do; keep later ones as plain lines.
            bool seen = false;
            for (const Entry &e : std::as_const(current->entries)) {
                seen = seen || (!e.key.isEmpty() && e.key.compare(key, Qt::CaseInsensitive) == 0);
            }
            if (seen) {
                current->entries.append({QString(), line});
            } else {
                QString value = line.mid(eq + 1).trimmed();
                // Quotes around a value only protect its spaces, as the profile functions have it.
                if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
                    value.endsWith(QLatin1Char('"'))) {
                    value = value.mid(1, value.size() - 2);
                }
                current->entries.append({key, value});
            }
        } else {
            current->entries.append({QString(), line});
        }
    }
}

bool IniFile::UpdateFile() const
{
    if (m_fileName.isEmpty()) {
        return false;
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = ToText().toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace zc
