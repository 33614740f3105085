// SPDX-License-Identifier: MIT
// Windows-style INI files: ordered sections, kept lines, typed reads, checked atomic writes.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace zc {

/// An INI file could not be written.
class EIniFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// One INI file ("[Section]" headers, "key=value" lines, ";" comments).
///
/// The file is read when the object is made; a missing or unreadable file reads as empty, so
/// every lookup gives its default. Section and key names match ignoring case, and the text
/// around a key and its value is trimmed, as the Windows profile functions do it. Writing
/// changes one line (or adds one key, or one section at the end) and keeps every other line,
/// comments included, as it was.
///
/// A file that is not UTF-8 (an ANSI file, or no text at all) is read and written back byte
/// for byte, each byte one character. Lines are written with the file's own line break: a
/// bare LF when the file has one, CRLF otherwise.
class IniFile
{
public:
    /// When changes reach the disk.
    enum SaveMode
    {
        SaveOnEachWrite, ///< every write saves the file at once, or throws and changes nothing
        SaveOnUpdate,    ///< writes change the copy in memory; UpdateFile() saves it
    };

    /// An empty file in memory, with no file name (its writes stay in memory).
    IniFile() = default;
    explicit IniFile(const QString &path, SaveMode mode = SaveOnEachWrite);

    const QString &FileName() const { return FPath; }

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    /// The value of a key (trimmed, one pair of surrounding quotes taken off), or nothing
    /// when the key is absent.
    std::optional<QString> Value(const QString &section, const QString &key) const;

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    /// The value as a 32-bit integer (see ParseIniInteger); `def` when the key is absent, not
    /// a number or out of range.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    /// Sets `key` in `section`, adding either when missing. New keys go after the section's
    /// last key, new sections at the end of the file. In SaveOnEachWrite mode the file is
    /// saved at once: throws EIniFileError "Unable to write to <path>" when it cannot be,
    /// and then neither the file on disk nor this object has changed.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);

    /// The file's text, as it would be written.
    QString ToText() const;
    /// Replaces the whole content by `text`, kept in the file's encoding (saved at once in
    /// SaveOnEachWrite mode, as a write is).
    void FromText(const QString &text);

    /// Saves the content to the file, through a temporary file and a rename where the folder
    /// allows it. Throws EIniFileError "Unable to write to <path>" when it cannot be written
    /// (or the object has no file name).
    void UpdateFile() const;

private:
    qsizetype findKey(const QString &section, const QString &key, qsizetype *insertAt) const;
    // Makes `lines` the content: saved first in SaveOnEachWrite mode, so that a failed save
    // leaves the object as it was.
    void commit(QStringList lines, QString newline);
    void save(const QString &text) const;

    QString FPath;
    SaveMode FMode = SaveOnUpdate;
    QStringList FLines;
    QString FNewline = QStringLiteral("\r\n");
    // Read as Latin-1 because the file is not UTF-8; written back the same way.
    bool FBytewise = false;
};

/// Parses an INI integer: optional sign, then decimal digits or "$"/"0x" hexadecimal. A
/// decimal value must fit 32 signed bits; a hexadecimal one may also give the 32 bits of a
/// negative number ("0xFFFFFFFF" is -1), the way colours are often written by hand.
bool ParseIniInteger(const QString &text, int *value);

} // namespace zc
