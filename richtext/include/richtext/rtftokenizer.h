// SPDX-License-Identifier: MIT
// Splits RTF bytes into groups, control words, text and binary data for a listener.
#pragma once

#include <richtext/rtfkeywords.h>

#include <QByteArrayView>
#include <QString>

namespace rtf {

/// Why reading stopped early. Everything read before the fault is kept.
enum class RtfError
{
    None,
    UnexpectedEof,  ///< the data ended inside a group
    GroupUnder,     ///< a "}" without its "{"
    NestingTooDeep, ///< more open groups than the reader keeps state for
};

/// English text for an error, for messages and the rtftext tool.
QString errorText(RtfError error);

/// What the tokenizer reports. Each call returns an error code; anything but
/// RtfError::None stops the tokenizer, which returns that code.
class RtfListener
{
public:
    virtual ~RtfListener() = default;
    virtual RtfError groupStart() = 0;
    virtual RtfError groupEnd() = 0;
    /// A control word. `entry` is nullptr for a word the table does not know.
    virtual RtfError controlWord(const KeywordEntry *entry, QByteArrayView name, bool hasParam,
                                 int param) = 0;
    /// A backslash followed by one non-letter, e.g. '~', '*', '{'.
    virtual RtfError controlSymbol(char symbol) = 0;
    /// Document bytes without line breaks (which RTF ignores) and without escapes.
    virtual RtfError text(QByteArrayView bytes) = 0;
    /// A \'hh escape.
    virtual RtfError hexByte(unsigned char byte) = 0;
    /// The data of a \bin control word (cut short if the document ends early).
    virtual RtfError binary(QByteArrayView data) = 0;
};

/// One pass over an RTF document: a loop with a switch per character.
class RtfTokenizer
{
public:
    /// Groups open beyond this depth stop reading with RtfError::NestingTooDeep.
    static constexpr int MaxDepth = 100000;
    /// The format's own limit on a control word's name.
    static constexpr int MaxKeywordLength = 32;

    RtfTokenizer(QByteArrayView data, RtfListener &listener);

    /// Reads until the outermost group closes, the data ends or the listener stops it.
    RtfError run();

    /// Byte offset reached: where an error was found, or where reading stopped.
    qsizetype position() const { return m_pos; }
    /// Groups open at position().
    int depth() const { return m_depth; }

private:
    RtfError readControl();
    RtfError readText();

    QByteArrayView m_data;
    RtfListener &m_listener;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

} // namespace rtf
