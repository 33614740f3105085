// SPDX-License-Identifier: MIT
// PDF output of rtfreport: the filled RTF converted by LibreOffice, headless.
#pragma once

#include <QByteArray>
#include <QString>

/// Converts the RTF file `rtfPath` to PDF with LibreOffice (soffice, found on PATH) run
/// headless with a profile of its own in `workDir`, so that it neither touches the user's
/// profile nor waits for a LibreOffice the user has open. Returns the PDF's bytes; throws
/// std::runtime_error saying why there is none (LibreOffice missing, failed, too slow).
QByteArray ConvertRtfToPdf(const QString &rtfPath, const QString &workDir);

/// Whether `fileName` asks for PDF output by its extension.
bool IsPdfFileName(const QString &fileName);
