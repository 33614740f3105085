// SPDX-License-Identifier: MIT
// Windows-style INI files: read texts and integers with defaults, write one integer.
#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace zc {

/// A configuration file could not be written.
class EIniFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// One INI file ("[Section]" headers, "key=value" lines, ";" comments).
///
/// The file is read when the object is made; a missing or unreadable file reads as empty,
/// so every lookup gives its default. Section and key names match ignoring case, and the
/// text around a key and its value is trimmed, as Windows does it. A write goes to disk at
/// once and keeps every other line of the file as it was.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    const QString &FileName() const { return FPath; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    /// The value as a decimal (or "$"/"0x" hexadecimal) 32-bit integer; `def` when the
    /// key is absent, not a number or out of range.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    /// Sets `key` in `section` (adding either when missing) and saves the file.
    /// Throws EIniFileError "Unable to write to <path>" when the file cannot be written;
    /// the file on disk is then unchanged.
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteString(const QString &section, const QString &key, const QString &value);

private:
    qsizetype findKey(const QString &section, const QString &key, qsizetype *sectionEnd) const;

    QString FPath;
    QStringList FLines;
    QString FNewline = QStringLiteral("\r\n");
    // A file that is not UTF-8 (an ANSI file, or no text at all) is read and written back
    // byte for byte: each byte one character.
    bool FBytewise = false;
};

/// Parses an INI integer: optional sign, decimal digits or "$"/"0x" hexadecimal.
bool ParseIniInteger(const QString &text, int *value);

} // namespace zc
