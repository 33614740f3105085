// SPDX-License-Identifier: MIT
// Single-byte code page of RTF output (Windows-1252) to and from UTF-16.
#pragma once

#include <QByteArray>
#include <QString>

namespace rp {

/// One byte per UTF-16 unit; characters outside the code page become "?".
QByteArray ToAnsi(const QString &text);
/// One character per byte; the five unassigned bytes map to the same-valued control character.
QString FromAnsi(const QByteArray &bytes);
/// Byte of `c` in the code page, or -1 when it has none.
int AnsiByte(QChar c);
/// Character of `byte`; the five unassigned bytes give the same-valued control character.
QChar AnsiChar(unsigned char byte);

} // namespace rp
