// SPDX-License-Identifier: MIT
// Resource paths of the pictures drawn for the product.
#include "productassets.h"

#include <QFile>

namespace zc {

QString ButtonPicture(const QString &name)
{
    return QStringLiteral(":/zc/buttons/") + name + QStringLiteral(".svg");
}

QString LanguagePicture(int index)
{
    static const char *const names[] = {"ita", "eng", "fra", "spa", "globe", "ola"};
    if (index < 0 || index > 5)
        return QString();
    return QStringLiteral(":/zc/imagelists/languages/") + QLatin1String(names[index]) +
           QStringLiteral(".svg");
}

QString WindowPicture(const QString &name)
{
    return QStringLiteral(":/zc/windows/") + name + QStringLiteral(".svg");
}

QString AgreementText()
{
    QFile file(QStringLiteral(":/zc/text/agreement.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace zc
