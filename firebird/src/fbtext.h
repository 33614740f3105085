// SPDX-License-Identifier: MIT
// Text conversion between the program's UTF-16 and a connection's character set.
#pragma once

#include <QByteArray>
#include <QString>

namespace zc::fb {

/// Message of every operation that needs an open connection.
inline constexpr char SDatabaseNotOpen[] = "Database not open";

/// `text` in the bytes of Firebird character set `charset` (UTF8 for NONE and unknown names).
QByteArray EncodeText(const QString &text, const QString &charset);
/// Bytes of Firebird character set `charset` as text.
QString DecodeText(const QByteArray &bytes, const QString &charset);

} // namespace zc::fb
