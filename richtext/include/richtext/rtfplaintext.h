// SPDX-License-Identifier: MIT
// Plain text of a rich-text document, as the printout takes it.
#pragma once

#include <QString>

class QTextDocument;

namespace rtf {

/// The document's text without formatting: paragraphs, table cells and line
/// breaks end in CR LF (none after the last line); pictures are dropped;
/// tabs, optional hyphens and non-breaking spaces are kept. List items
/// begin with the label text the RTF gave them ({\pntext}), if any.
QString plainText(const QTextDocument &document);

} // namespace rtf
