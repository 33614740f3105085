// SPDX-License-Identifier: MIT
// Decoding of RTF's 8-bit text: Windows code pages and font character sets.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace rtf {

/// The code page a font character set (\fcharsetN) implies; 0 when the set
/// means "the document's code page" (ANSI, default) or is unknown.
int codePageForCharset(int charset);

/// Appends `bytes` decoded in Windows code page `codePage` to `out`.
/// Unknown code pages decode as Windows-1252. Code page 42 stands for the
/// Symbol font's own encoding.
void appendDecoded(int codePage, QByteArrayView bytes, QString &out);

/// Whether Qt offers a decoder for the code page (1252 always works).
bool isCodePageSupported(int codePage);

} // namespace rtf
