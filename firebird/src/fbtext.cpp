// SPDX-License-Identifier: MIT
// Maps Firebird character set names to Qt codecs.
#include "fbtext.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zc::fb {

namespace {

// Firebird spells code pages its own way; only the ones a client is likely to pick are
// mapped, everything else (NONE included) is taken as UTF-8, which is what the product's
// databases hold.
QByteArray codecName(const QString &charset)
{
    const QString c = charset.trimmed().toUpper();
    if (c.startsWith(QLatin1String("WIN")))
        return "windows-" + c.mid(3).toLatin1();
    if (c == QLatin1String("ISO8859_1"))
        return "ISO-8859-1";
    if (c.startsWith(QLatin1String("ISO8859_")))
        return "ISO-8859-" + c.mid(8).toLatin1();
    return "UTF-8";
}

} // namespace

QByteArray EncodeText(const QString &text, const QString &charset)
{
    const QByteArray name = codecName(charset);
    if (name == "UTF-8")
        return text.toUtf8();
    QStringEncoder encoder(name.constData());
    if (!encoder.isValid())
        return text.toUtf8();
    return encoder.encode(text);
}

QString DecodeText(const QByteArray &bytes, const QString &charset)
{
    const QByteArray name = codecName(charset);
    if (name == "UTF-8")
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder.decode(bytes);
}

} // namespace zc::fb
