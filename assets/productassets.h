// SPDX-License-Identifier: MIT
// Where the product's pictures and texts live among the compiled-in resources.
#pragma once

#include <QString>

namespace zc {

/// Resource path of button picture `name` (for example "cancel", "next-disabled").
QString ButtonPicture(const QString &name);
/// Resource path of picture `index` (0 to 5) of the language image list.
QString LanguagePicture(int index);
/// Resource path of window picture `name` ("logo", "centre", "table").
QString WindowPicture(const QString &name);
/// The end-user agreement shown on the first run.
QString AgreementText();

} // namespace zc
