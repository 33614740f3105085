// SPDX-License-Identifier: MIT
// A Windows-style INI file ([Section], key=value) that keeps its sections and keys in order.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace zc {

/// An INI file held in memory. Sections and keys are matched without regard to letter case,
/// as the Windows profile functions do, and keep the order in which they were first written.
/// Reading a missing file gives an empty file, so every read returns its default; writing keeps
/// the other sections and keys, and comment lines, of the file.
class IniFile
{
public:
    IniFile() = default;
    /// Reads the file if it exists (a missing file is an empty one).
    explicit IniFile(const QString &fileName);

    QString FileName() const { return m_fileName; }

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    /// The raw text of a key, or nothing when the key is absent.
    std::optional<QString> Value(const QString &section, const QString &key) const;

    /// The text of a key, or `def` when absent.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    /// A decimal (or 0x-prefixed hexadecimal) integer; `def` when absent or not a number.
    qint32 ReadInteger(const QString &section, const QString &key, qint32 def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, qint32 value);

    /// The file's text, as it would be written.
    QString ToText() const;
    /// Replaces the content by parsing INI text.
    void FromText(const QString &text);

    /// Writes the content to the file; false when it cannot be written.
    bool UpdateFile() const;

private:
    struct Entry
    {
        QString key; // empty for a comment or other line kept as it is
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);

    QString m_fileName;
    QList<QString> m_preamble; // lines before the first section
    QList<Section> m_sections;
};

} // namespace zc
