// SPDX-License-Identifier: MIT
// LibreOffice as the reader of our results: converts RTF files to plain text for comparison.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace rptest {

/// The soffice program, empty when LibreOffice is not installed.
inline QString sofficePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

/// Text as LibreOffice exports it, without the byte-order mark and carriage returns.
inline QString readLibreOfficeText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing %1>").arg(path);
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes).remove(u'\r').trimmed();
}

/// Converts `files` to text in `workDir`/txt with one start of LibreOffice and a profile of
/// its own in `workDir`/profile; false when it did not finish in three minutes. The text of
/// a.rtf is then `workDir`/txt/a.txt. Another `filter` ("pdf") writes into `workDir`/pdf.
inline bool convertWithLibreOffice(const QString &soffice, const QString &workDir,
                                   const QStringList &files,
                                   const QString &filter = QStringLiteral("txt:Text"))
{
    const QString outDir = filter.section(u':', 0, 0);
    const QDir dir(workDir);
    QProcess lo;
    lo.start(
        soffice,
        QStringList{QStringLiteral("-env:UserInstallation=") +
                        QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                    QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                    QStringLiteral("--outdir"), dir.filePath(outDir)} +
            files);
    return lo.waitForFinished(180000);
}

/// The converted text of `file` after convertWithLibreOffice.
inline QString libreOfficeTextOf(const QString &workDir, const QString &file)
{
    return readLibreOfficeText(QDir(workDir).filePath(
        QStringLiteral("txt/") + QFileInfo(file).completeBaseName() + QStringLiteral(".txt")));
}

} // namespace rptest
