// SPDX-License-Identifier: MIT
// Loads RTF bytes into a QTextDocument: the rich-text view's reader.
#pragma once

#include <richtext/rtftokenizer.h>

#include <QByteArrayView>
#include <QTextFormat>

class QTextDocument;

namespace rtf {

/// Block format property set on the empty paragraphs a QTextDocument needs
/// before and after a table, which the RTF did not have. The plain text
/// leaves them out while they stay empty.
inline constexpr int FillerBlockProperty = QTextFormat::UserProperty + 0x52;

/// Block format property (a string) of a list item: the label the RTF gave
/// for readers without paragraph numbering ({\pntext}, {\listtext}). The
/// list draws the item's bullet or number; the plain text puts the label in
/// front of the item's text.
inline constexpr int ListLabelProperty = QTextFormat::UserProperty + 0x53;

/// How a load went.
struct ReadResult
{
    bool isRtf = false;              ///< false: the bytes were shown as plain text
    RtfError error = RtfError::None; ///< why reading stopped early, if it did
    qsizetype errorOffset = -1;      ///< byte offset of the fault, -1 without one
};

/// Whether the bytes begin like an RTF document ("{\rtf").
bool looksLikeRtf(QByteArrayView bytes);

/// Replaces the document's content with the RTF in `bytes`. On malformed
/// input the text read up to the fault stays in the document.
ReadResult readRtf(QByteArrayView bytes, QTextDocument &document);

/// Loads bytes the way the result window's view does: RTF when they begin
/// with "{\rtf", otherwise the bytes as plain Windows-1252 text.
ReadResult loadRichText(QByteArrayView bytes, QTextDocument &document);

} // namespace rtf
