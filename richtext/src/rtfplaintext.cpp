// SPDX-License-Identifier: MIT
// Plain text of a rich-text document with Windows line ends.
#include <richtext/rtfplaintext.h>

#include <richtext/rtfreader.h>

#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

QString plainText(const QTextDocument &document)
{
    QString out;
    out.reserve(document.characterCount() + document.blockCount());
    bool first = true;
    // Block order is reading order, table cells included (row by row).
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1 && block.blockFormat().hasProperty(FillerBlockProperty))
            continue;
        if (!first)
            out += QLatin1String("\r\n");
        first = false;
        // A list item's label ("1.", a bullet and a tab) as the RTF wrote it
        // for readers without numbering.
        const QString text = block.blockFormat().stringProperty(ListLabelProperty) + block.text();
        for (QChar c : text) {
            switch (c.unicode()) {
            case QChar::LineSeparator:
                out += QLatin1String("\r\n");
                break;
            case QChar::ObjectReplacementCharacter:
                break;
            default:
                out += c;
                break;
            }
        }
    }
    return out;
}

} // namespace rtf
