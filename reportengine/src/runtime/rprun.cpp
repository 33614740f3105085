// SPDX-License-Identifier: MIT
// Report run: the three entry points, data-set registration, control quieting, file names.
#include <reportengine/rprtf.h>

#include "compiler/rpcompiler.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>

#include <QDir>
#include <QRandomGenerator>

#include <ctime>

namespace rp {

namespace {

const char *shellErrorText(int code)
{
    switch (code) {
    case 0:
        return "The operating system is out of memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied access to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred.";
    case 27:
        return "The filename association is incomplete or invalid.";
    case 28:
        return "The DDE transaction could not be completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not be completed because other DDE transactions were "
               "being processed.";
    case 31:
        return "There is no application associated with the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default:
        return msg::ReasonUnknown;
    }
}

std::uint32_t tickCount()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint32_t>(std::uint64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

} // namespace

QString RpShellErrorText(int code)
{
    return QString::fromLatin1(shellErrorText(code));
}

std::int32_t TRpRTF::CtoN(const QString &alias)
{
    // Every field of every record names its alias: resolve each spelling once per run.
    if (FAliasNumbersDataSets != static_cast<qsizetype>(FDFiles.size()) ||
        FAliasNumbersFor != FInDList) {
        FAliasNumbers.clear();
        FAliasNumbersFor = FInDList;
        FAliasNumbersDataSets = static_cast<qsizetype>(FDFiles.size());
    }
    const auto known = FAliasNumbers.constFind(alias);
    if (known != FAliasNumbers.constEnd())
        return *known;
    const std::int32_t number = resolveAlias(alias);
    FAliasNumbers.insert(alias, number);
    return number;
}

std::int32_t TRpRTF::resolveAlias(const QString &alias) const
{
    const QString a = RpTrim(alias).toUpper();
    if (a.isEmpty())
        return RpNotFound;
    const auto byName = [this](const QString &name) -> std::int32_t {
        for (const QString &line : FInDList) {
            const int eq = line.lastIndexOf(u'=');
            if (line.left(eq) == name)
                return line.mid(eq + 1).toInt();
        }
        return RpNotFound;
    };
    if (a.size() == 1) {
        if (FInDListOneCharExists) {
            const std::int32_t at = byName(a);
            if (at >= 0)
                return at;
        }
        if (a[0] >= u'A' && a[0] <= u'Z') {
            // A letter past the data sets of the run names none of them.
            const std::int32_t at = a[0].unicode() - u'A';
            return at < static_cast<std::int32_t>(FDFiles.size()) ? at : -1;
        }
    }
    return byName(a);
}

void TRpRTF::DisControls(const std::vector<TRpDataSet *> &dataSets)
{
    FControlStatus.assign(dataSets.size(), false);
    FControlsQuieted.assign(dataSets.size(), false);
    for (size_t i = 0; i < dataSets.size(); ++i) {
        if (!dataSets[i])
            continue;
        FControlStatus[i] = dataSets[i]->ControlsDisabled();
        dataSets[i]->DisableControls();
        FControlsQuieted[i] = true;
    }
}

void TRpRTF::EnaControls(const std::vector<TRpDataSet *> &dataSets)
{
    // Undo exactly the one disabling of DisControls, whichever way the run ended.
    for (size_t i = 0; i < dataSets.size() && i < FControlsQuieted.size(); ++i) {
        if (!FControlsQuieted[i])
            continue;
        FControlsQuieted[i] = false;
        dataSets[i]->EnableControls();
    }
}

void TRpRTF::ExecReport(const std::vector<TRpDataSet *> &dataSets)
{
    FExecute = true;
    try {
        FScs = std::make_unique<TRpScans>(this);
        ResetIifNumber();
        FInDList.clear();
        FInDListOneCharExists = false;
        FDFiles.assign(dataSets.begin(), dataSets.end());
        for (size_t i = 0; i < dataSets.size(); ++i) {
            const QString name = dataSets[i] ? dataSets[i]->Name().toUpper() : QString();
            FInDList.append(name + u'=' + QString::number(i));
            if (name.size() == 1)
                FInDListOneCharExists = true;
        }
        PutField();
    } catch (...) {
        FScs.reset();
        FInDList.clear();
        FDFiles.clear();
        FExecute = false;
        throw;
    }
    FScs.reset();
    FInDList.clear();
    FDFiles.clear();
    FExecute = false;
}

void TRpRTF::runProtected(const std::vector<TRpDataSet *> &dataSets,
                          const std::function<void()> &afterReport)
{
    FExecuteSuccessful = true;
    FLastErrMsg = QLatin1String(msg::NoErrors);
    FLastErrLocation = TRpTemplatePos{};
    try {
        if (FDisableControls)
            DisControls(dataSets);
        ExecReport(dataSets);
        if (afterReport)
            afterReport();
        if (OnFinished)
            OnFinished(this);
    } catch (const std::exception &e) {
        FExecuteSuccessful = false;
        FLastErrMsg = QString::fromUtf8(e.what());
        if (FDisableControls) {
            try {
                EnaControls(dataSets);
            } catch (...) {
            }
        }
        throw;
    } catch (...) {
        FExecuteSuccessful = false;
        FLastErrMsg = QLatin1String(msg::ReasonUnknown);
        if (FDisableControls) {
            try {
                EnaControls(dataSets);
            } catch (...) {
            }
        }
        throw;
    }
    if (FDisableControls)
        EnaControls(dataSets);
}

void TRpRTF::Execute(const std::vector<TRpDataSet *> &dataSets)
{
    SetOutStream(nullptr, false);
    runProtected(dataSets, nullptr);
}

void TRpRTF::ExecuteOpen(const std::vector<TRpDataSet *> &dataSets, int showMode)
{
    SetOutStream(nullptr, false);
    runProtected(dataSets, [this, showMode]() {
        const int code = ShellOpenFile(FOutFile, showMode);
        if (code <= 32)
            throw EIOError(msg::CannotOpenResults + std::string(shellErrorText(code)));
    });
}

void TRpRTF::ExecuteStream(const std::vector<TRpDataSet *> &dataSets, QIODevice *stream)
{
    SetOutStream(stream, true);
    try {
        runProtected(dataSets, [this, stream]() { SetOutStream(stream, false); });
    } catch (...) {
        SetOutStream(stream, false);
        throw;
    }
    if (stream)
        stream->seek(0);
}

QString TRpBaseRTFReport::CreateFileName(const QString &directory, const QString &prefix)
{
    return CreateFileName(directory, prefix, QStringLiteral(".doc"));
}

QString TRpBaseRTFReport::CreateFileName(const QString &directory, const QString &prefix,
                                         const QString &extension)
{
    QString dir = directory;
    if (!dir.isEmpty() && !QDir(dir).exists())
        throw EIOError((msg::CreateFileNameDirectory + dir + msg::DoesNotExist).toStdString());
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    QString ext = extension;
    if (!ext.isEmpty() && !ext.startsWith(u'.'))
        ext.prepend(u'.');
    const QString t = QString::number(tickCount(), 16).toUpper();
    const QString r = QStringLiteral("%1")
                          .arg(QRandomGenerator::global()->bounded(65535), 4, 16, QLatin1Char('0'))
                          .toUpper();
    return dir + prefix + t + r + ext;
}

} // namespace rp
