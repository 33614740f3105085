// SPDX-License-Identifier: MIT
// Windows-1252, the single-byte code page of RTF text and of the system's ANSI files.
#pragma once

#include <QByteArray>
#include <QString>

namespace zc {

/// The Windows-1252 byte of `c`, or -1 when the code page has none.
int Cp1252Byte(QChar c);
/// The character of a Windows-1252 byte; the five unassigned bytes give the control
/// character of the same value.
QChar Cp1252Char(unsigned char byte);

/// One byte per UTF-16 unit; characters outside the code page become "?".
QByteArray ToCp1252(const QString &text);
/// One character per byte (see Cp1252Char).
QString FromCp1252(const QByteArray &bytes);

} // namespace zc
