// SPDX-License-Identifier: MIT
// PDF output of rtfreport: soffice --headless --convert-to pdf in a private profile.
#include "pdfconvert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <stdexcept>

namespace {

// A cold LibreOffice with a fresh profile takes a few seconds; a minute means it hangs.
constexpr int ConversionTimeoutMs = 120000;

[[noreturn]] void Fail(const QString &reason)
{
    throw std::runtime_error(("cannot make the PDF: " + reason).toStdString());
}

} // namespace

bool IsPdfFileName(const QString &fileName)
{
    return fileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

QByteArray ConvertRtfToPdf(const QString &rtfPath, const QString &workDir)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        Fail(QStringLiteral("LibreOffice (soffice) is not installed or not on PATH"));
    const QDir dir(workDir);
    const QString outDir = dir.filePath(QStringLiteral("pdf"));
    QProcess lo;
    lo.setProcessChannelMode(QProcess::MergedChannels);
    lo.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                           QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                       QStringLiteral("--headless"), QStringLiteral("--norestore"),
                       QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                       QStringLiteral("--outdir"), outDir, rtfPath});
    if (!lo.waitForStarted())
        Fail(QStringLiteral("LibreOffice did not start: ") + lo.errorString());
    if (!lo.waitForFinished(ConversionTimeoutMs)) {
        lo.kill();
        lo.waitForFinished();
        Fail(QStringLiteral("LibreOffice did not finish in %1 s").arg(ConversionTimeoutMs / 1000));
    }
    const QString said = QString::fromLocal8Bit(lo.readAll()).trimmed();
    const QString pdfPath =
        QDir(outDir).filePath(QFileInfo(rtfPath).completeBaseName() + QStringLiteral(".pdf"));
    QFile pdf(pdfPath);
    if (lo.exitStatus() != QProcess::NormalExit || lo.exitCode() != 0 || !pdf.exists())
        Fail(QStringLiteral("LibreOffice failed (exit status %1)%2")
                 .arg(lo.exitCode())
                 .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said));
    if (!pdf.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read LibreOffice's result ") + pdfPath + QStringLiteral(": ") +
             pdf.errorString());
    return pdf.readAll();
}
