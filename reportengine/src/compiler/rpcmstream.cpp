// SPDX-License-Identifier: MIT
// Command stream items (save, read, update in place) and the work streams of a run.
#include <reportengine/rpbasereport.h>

#include "compiler/fieldkind.h"
#include "rpcheckedio.h"
#include <zc/cp1252.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace rp {

namespace {

// Bytes of a Field body before NField: four string indexes, the format, ftype.
constexpr int RowContentBeforeNField = 4 * 4 + 3 * 4 + 1;

[[noreturn]] void ThrowCannotCreate(const QString &name, const QString &reason)
{
    throw EIOError(SRpCannotCreateFile1 + QDir::toNativeSeparators(name).toStdString() +
                   SRpCannotCreateFile2 + reason.toStdString());
}

// Temporary files are named "<prefix>-<pid>-XXXXXX.tmp": the PID says whose a file is, so a
// run can tell the leftovers of a killed process from the files of one still working.
QString tmpFileStem(const QString &prefix, qint64 pid)
{
    return prefix + u'-' + QString::number(pid) + u'-';
}

bool processIsGone(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The work files of a run.
constexpr char TmpPrefix[] = "rpr";

} // namespace

bool IsFieldItemId(std::int32_t id)
{
    switch (id) {
    case fkVariable:
    case fkNumber:
    case fkString:
    case fkBoolean:
    case fkDate:
    case fkDotField:
    case fkColonField:
        return true;
    default:
        return false;
    }
}

// ---- Resetting and primitives ---------------------------------------------------------------

void TRpBaseReport::CreateCmStream()
{
    FCmStream = std::make_unique<TRpMemoryStream>();
    FCmStream->Reserve(1000);
    FCmStrings.clear();
    FCmPos = 0;
    FCmLastId = cmBegin;
}

void TRpBaseReport::FreeCmStream()
{
    FCmStream.reset();
    FCmStrings.clear();
    FCmPos = 0;
    FCmLastId = cmBegin;
    FCmLastFpnt = 0;
}

void TRpBaseReport::SeekToBeginCmStream()
{
    CheckCmStream();
    FCmStream->Seek(0);
    FCmLastId = cmBegin;
    FCmLastFpnt = 0;
    FCmPos = 0;
}

void TRpBaseReport::CheckCmStream() const
{
    // Items written before a run set one up still land somewhere sensible.
    if (!FCmStream)
        const_cast<TRpBaseReport *>(this)->CreateCmStream();
}

int TRpBaseReport::CmStoreString(const QString &text)
{
    FCmStrings.append(text);
    return static_cast<int>(FCmStrings.size() - 1);
}

QString TRpBaseReport::CmGetString(int index) const
{
    return index >= 0 && index < FCmStrings.size() ? FCmStrings[index] : QString();
}

void TRpBaseReport::CmSaveItemInfo(std::int32_t id, std::int32_t skipBytes, std::int32_t cmFpnt)
{
    CheckCmStream();
    FCmStream->WriteInt32(id);
    FCmStream->WriteInt32(cmFpnt);
    FCmStream->WriteInt32(skipBytes + 4);
    FCmLastId = id;
}

void TRpBaseReport::CmSaveItemPos()
{
    FCmStream->WriteInt32(static_cast<std::int32_t>(FCmPos));
    FCmPos = static_cast<std::uint32_t>(FCmStream->Position());
}

void TRpBaseReport::CmReadItemInfo()
{
    CheckCmStream();
    FCmLastId = FCmStream->ReadInt32();
    FCmLastFpnt = Fpnt;
    Fpnt = FCmStream->ReadInt32();
    FCmSkip = static_cast<std::uint32_t>(FCmStream->ReadInt32());
}

void TRpBaseReport::CmReadItemPos()
{
    FCmStream->ReadInt32();
    FCmPos = static_cast<std::uint32_t>(FCmStream->Position());
}

void TRpBaseReport::CmSkipItem()
{
    FCmStream->SeekRelative(FCmSkip);
    FCmPos = static_cast<std::uint32_t>(FCmStream->Position());
}

void TRpBaseReport::CmWriteBool4(bool value)
{
    FCmStream->WriteInt32(value ? 1 : 0);
}

bool TRpBaseReport::CmReadBool4()
{
    return FCmStream->ReadInt32() != 0;
}

void TRpBaseReport::CmSaveNoBody(std::int32_t id)
{
    CmSaveItemInfo(id, RpCmBodySize::None, Fpnt);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadNoBody()
{
    CmReadItemPos();
}

void TRpBaseReport::CmSaveBegin()
{
    CmSaveNoBody(cmBegin);
}

void TRpBaseReport::CmSaveEnd()
{
    CmSaveNoBody(cmEnd);
}

// ---- Items without a body ---------------------------------------------------------------------

void TRpBaseReport::CmSaveBlocItem()
{
    if (FCmLastId == cmBloc && FCmStream) {
        // Extend the previous Bloc: only its pnt moves on.
        FCmStream->SeekRelative(-RpCmBodySize::Header);
        FCmStream->WriteInt32(Fpnt);
        FCmStream->SeekRelative(8);
        return;
    }
    CmSaveNoBody(cmBloc);
}

void TRpBaseReport::CmReadBlocItem()
{
    CmReadNoBody();
}

void TRpBaseReport::CmSaveBalancedBlocItem()
{
    CmSaveNoBody(cmBalancedBloc);
}

void TRpBaseReport::CmReadBalancedBlocItem()
{
    CmReadNoBody();
}

void TRpBaseReport::CmSaveTableBegin()
{
    CmSaveNoBody(cmTableBegin);
}

void TRpBaseReport::CmReadTableBegin()
{
    CmReadNoBody();
}

void TRpBaseReport::CmSaveTableEnd()
{
    CmSaveNoBody(cmTableEnd);
}

void TRpBaseReport::CmReadTableEnd()
{
    CmReadNoBody();
}

void TRpBaseReport::CmSaveExprEndItem()
{
    CmSaveNoBody(cmExprEnd);
}

void TRpBaseReport::CmReadExprEndItem()
{
    CmReadNoBody();
}

// ---- Raw and control items -------------------------------------------------------------------

void TRpBaseReport::CmSaveRawItem(const QString &text)
{
    CmSaveItemInfo(cmRaw, RpCmBodySize::Raw, Fpnt);
    FCmStream->WriteInt32(CmStoreString(text));
    CmSaveItemPos();
}

void TRpBaseReport::CmReadRawItem(QString &text)
{
    text = CmGetString(FCmStream->ReadInt32());
    CmReadItemPos();
}

void TRpBaseReport::CmSaveScanLike(std::int32_t id, const QString &outStr, const QString &sPar,
                                   std::uint16_t n)
{
    CmSaveItemInfo(id, RpCmBodySize::ScanLike, Fpnt);
    FCmStream->WriteInt32(CmStoreString(outStr));
    FCmStream->WriteInt32(CmStoreString(sPar));
    FCmStream->WriteUInt16(n);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadScanLike(QString &outStr, QString &sPar, std::uint16_t &n)
{
    outStr = CmGetString(FCmStream->ReadInt32());
    sPar = CmGetString(FCmStream->ReadInt32());
    n = FCmStream->ReadUInt16();
    CmReadItemPos();
}

void TRpBaseReport::CmSaveScanItem(const QString &outStr, const QString &sPar, std::uint16_t n)
{
    CmSaveScanLike(cmScan, outStr, sPar, n);
}

void TRpBaseReport::CmReadScanItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveScanWhileItem(const QString &outStr, const QString &sPar, std::uint16_t n)
{
    CmSaveScanLike(cmScanWhile, outStr, sPar, n);
}

void TRpBaseReport::CmReadScanWhileItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveScanEntryItem(const QString &outStr, const QString &sPar, std::uint16_t n)
{
    CmSaveScanLike(cmScanEntry, outStr, sPar, n);
}

void TRpBaseReport::CmReadScanEntryItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveScanFooterItem(const QString &outStr, const QString &sPar,
                                         std::uint16_t n)
{
    CmSaveScanLike(cmScanFooter, outStr, sPar, n);
}

void TRpBaseReport::CmReadScanFooterItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveEndScanItem(const QString &outStr, const QString &sPar, std::uint16_t n)
{
    CmSaveScanLike(cmEndScan, outStr, sPar, n);
}

void TRpBaseReport::CmReadEndScanItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveEndIfItem(const QString &outStr, const QString &sPar, std::uint16_t n)
{
    CmSaveScanLike(cmEndIf, outStr, sPar, n);
}

void TRpBaseReport::CmReadEndIfItem(QString &outStr, QString &sPar, std::uint16_t &n)
{
    CmReadScanLike(outStr, sPar, n);
}

void TRpBaseReport::CmSaveIfItem(const QString &outStr, const QString &sPar, std::uint16_t n,
                                 bool elseFlag)
{
    CmSaveItemInfo(cmIf, RpCmBodySize::If, Fpnt);
    FCmStream->WriteInt32(CmStoreString(outStr));
    FCmStream->WriteInt32(CmStoreString(sPar));
    FCmStream->WriteUInt16(n);
    CmWriteBool4(elseFlag);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadIfItem(QString &outStr, QString &sPar, std::uint16_t &n, bool &elseFlag)
{
    outStr = CmGetString(FCmStream->ReadInt32());
    sPar = CmGetString(FCmStream->ReadInt32());
    n = FCmStream->ReadUInt16();
    elseFlag = CmReadBool4();
    CmReadItemPos();
}

void TRpBaseReport::CmSaveScanSkipItem(std::uint16_t n)
{
    CmSaveItemInfo(cmScanSkip, RpCmBodySize::ScanSkip, Fpnt);
    FCmStream->WriteUInt16(n);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadScanSkipItem(std::uint16_t &n)
{
    n = FCmStream->ReadUInt16();
    CmReadItemPos();
}

// ---- Field, expression and call items --------------------------------------------------------

void TRpBaseReport::CmWriteRowContent(const TRpRowContent &c)
{
    FCmStream->WriteInt32(CmStoreString(c.stestf));
    FCmStream->WriteInt32(CmStoreString(c.Dalias));
    FCmStream->WriteInt32(CmStoreString(c.Field));
    FCmStream->WriteInt32(CmStoreString(c.sout));
    FCmStream->WriteInt32(c.fmt.fmtnumber);
    FCmStream->WriteInt32(c.fmt.precision);
    FCmStream->WriteInt32(c.fmt.decimals);
    FCmStream->WriteUInt8(c.ftype);
    FCmStream->WriteInt32(c.NField);
    FCmStream->WriteUInt8(c.DefinedType);
    CmWriteBool4(c.Defined);
}

void TRpBaseReport::CmReadRowContent(TRpRowContent &c)
{
    c.stestf = CmGetString(FCmStream->ReadInt32());
    c.Dalias = CmGetString(FCmStream->ReadInt32());
    c.Field = CmGetString(FCmStream->ReadInt32());
    c.sout = CmGetString(FCmStream->ReadInt32());
    c.fmt.fmtnumber = FCmStream->ReadInt32();
    c.fmt.precision = FCmStream->ReadInt32();
    c.fmt.decimals = FCmStream->ReadInt32();
    c.ftype = static_cast<TRpRcTypes>(FCmStream->ReadUInt8());
    c.NField = FCmStream->ReadInt32();
    c.DefinedType = static_cast<TRpRcTypes>(FCmStream->ReadUInt8());
    c.Defined = CmReadBool4();
}

void TRpBaseReport::CmSaveField(std::int32_t id, const TRpRowContent &content)
{
    CmSaveItemInfo(id, RpCmBodySize::Field, Fpnt);
    CmWriteRowContent(content);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadField(TRpRowContent &content)
{
    CmReadRowContent(content);
    CmReadItemPos();
}

void TRpBaseReport::CmUpdateField(std::int32_t nField, TRpRcTypes definedType, bool defined)
{
    CmReadItemInfo();
    FCmStream->SeekRelative(RowContentBeforeNField);
    FCmStream->WriteInt32(nField);
    FCmStream->WriteUInt8(definedType);
    CmWriteBool4(defined);
    CmReadItemPos();
}

void TRpBaseReport::CmSaveExprBeginItem(const TRpRowContent &content, bool inDocument,
                                        bool isManage, std::uint16_t scanNum)
{
    CmSaveItemInfo(cmExprBegin, RpCmBodySize::ExprBegin, Fpnt);
    CmWriteRowContent(content);
    CmWriteBool4(inDocument);
    CmWriteBool4(isManage);
    FCmStream->WriteUInt16(scanNum);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadExprBeginItem(TRpRowContent &content, bool &inDocument, bool &isManage,
                                        std::uint16_t &scanNum)
{
    CmReadRowContent(content);
    inDocument = CmReadBool4();
    isManage = CmReadBool4();
    scanNum = FCmStream->ReadUInt16();
    CmReadItemPos();
}

void TRpBaseReport::CmSaveExecuteUDFItem(std::int32_t udfNumber, std::int32_t parCount,
                                         std::int32_t mainUdfNumber, std::int32_t argNumber,
                                         std::int32_t iifNumber)
{
    CmSaveItemInfo(cmExecuteUDF, RpCmBodySize::ExecuteUDF, Fpnt);
    for (std::int32_t v : {udfNumber, parCount, mainUdfNumber, argNumber, iifNumber})
        FCmStream->WriteInt32(v);
    CmSaveItemPos();
}

void TRpBaseReport::CmReadExecuteUDFItem(std::int32_t &udfNumber, std::int32_t &parCount,
                                         std::int32_t &mainUdfNumber, std::int32_t &argNumber,
                                         std::int32_t &iifNumber)
{
    for (std::int32_t *v : {&udfNumber, &parCount, &mainUdfNumber, &argNumber, &iifNumber})
        *v = FCmStream->ReadInt32();
    CmReadItemPos();
}

// ---- Work streams ----------------------------------------------------------------------------

void TRpBaseReport::RemoveStaleTmpFiles(const QString &prefix)
{
    const QDir dir(QDir::tempPath());
    const QStringList names =
        dir.entryList({prefix + QStringLiteral("-*-*.tmp")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QStringView rest = QStringView(name).mid(prefix.size() + 1);
        bool ok = false;
        const qint64 pid = rest.left(rest.indexOf(u'-')).toLongLong(&ok);
        if (ok && processIsGone(pid))
            QFile::remove(dir.filePath(name));
    }
}

QString TRpBaseReport::CreateTmpFileName(const QString &prefix)
{
    const QDir dir(QDir::tempPath());
    QTemporaryFile file(dir.filePath(tmpFileStem(prefix, QCoreApplication::applicationPid()) +
                                     QStringLiteral("XXXXXX.tmp")));
    file.setAutoRemove(false);
    if (!file.open())
        ThrowCannotCreate(file.fileTemplate(), file.errorString());
    const QString name = file.fileName();
    file.close();
    return name;
}

void TRpBaseReport::CreateTmpStream()
{
    FreeTmpStream();
    if (FUseStream && qobject_cast<QBuffer *>(FOutStream)) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        FTmpStream = std::move(buffer);
        return;
    }
    FTmpFileName = CreateTmpFileName(QLatin1String(TmpPrefix));
    auto file = std::make_unique<QFile>(FTmpFileName);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        const QString reason = file->errorString();
        QFile::remove(FTmpFileName);
        const QString name = FTmpFileName;
        FTmpFileName.clear();
        ThrowCannotCreate(name, reason);
    }
    FTmpStream = std::move(file);
}

void TRpBaseReport::RemoveStaleTmpFiles()
{
    RemoveStaleTmpFiles(QLatin1String(TmpPrefix));
}

void TRpBaseReport::FreeTmpStream()
{
    if (FOutf == FTmpStream.get())
        FOutf = nullptr;
    FTmpStream.reset();
    if (!FTmpFileName.isEmpty()) {
        QFile::remove(FTmpFileName);
        FTmpFileName.clear();
    }
}

void TRpBaseReport::SetOutf()
{
    if (FUseStream && FOutStream) {
        FOutStream->seek(0);
        FOutf = FOutStream;
        FOutfCreated = false;
        return;
    }
    auto file = std::make_unique<QFile>(FOutFile);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        ThrowCannotCreate(FOutFile, file->errorString());
    FOutFileStream = std::move(file);
    FOutf = FOutFileStream.get();
    FOutfCreated = true;
}

void TRpBaseReport::SetOutfToTmp()
{
    FOutf = FTmpStream.get();
}

void TRpBaseReport::SetOutfToNil()
{
    FOutf = nullptr;
}

void TRpBaseReport::FreeOutf()
{
    if (FOutStream && FOutf == FOutStream)
        FOutStream->seek(0);
    if (FOutfCreated) {
        if (FOutf == FOutFileStream.get())
            FOutf = nullptr;
        FOutFileStream.reset();
        FOutfCreated = false;
    }
}

void TRpBaseReport::wr(const QString &text)
{
    if (!FOutf)
        return;
    // RTF output is ASCII but for the rare character escaping leaves: narrow it in one go.
    if (QtPrivate::isAscii(QStringView(text)))
        RpWriteChecked(FOutf, text.toLatin1());
    else
        RpWriteChecked(FOutf, zc::ToCp1252(text));
}

void TRpBaseReport::wrBlock(const QByteArray &bytes, qint64 start, qint64 count)
{
    // A range outside the array is cut to what exists rather than read past it.
    start = std::clamp<qint64>(start, 0, bytes.size());
    count = std::clamp<qint64>(count, 0, bytes.size() - start);
    RpWriteChecked(FOutf, bytes.constData() + start, count);
}

void TRpBaseReport::wrBytes(const QByteArray &bytes)
{
    RpWriteChecked(FOutf, bytes);
}

} // namespace rp
