// SPDX-License-Identifier: MIT
// Processing loop: compiles the template into the command stream, runs it, assembles the result.
#include <reportengine/rprtf.h>

#include "compiler/fieldkind.h"
#include "compiler/rpcompiler.h"
#include "messages.h"
#include "reader/rpreader.h"
#include "rpcheckedio.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace rp {

namespace {

// 1-based position of the first ")" in `u`, 0 when there is none.
int firstClose(const QString &u)
{
    return u.indexOf(u')') + 1;
}

// The regenerated text of header group `id`; empty for a plain stretch of output.
QString headerGroupText(const TRpTemplateReader &reader, std::int32_t id)
{
    switch (id) {
    case cmStyleSheet:
        return reader.StyleText();
    case cmColorTable:
        return reader.ColorTableText();
    case cmFontTable:
        return reader.FontTableText();
    case cmDocInfo:
        return reader.DocInfoText();
    default:
        return {};
    }
}

} // namespace

bool RpIsSameFile(const QString &a, const QString &b)
{
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::int32_t TRpRTF::fldnum(const QString &fieldText, TRpFieldFormat &format, QString &first)
{
    format = TRpFieldFormat{};
    first = fieldText;
    const QString &u = fieldText;
    const auto starts = [&u](const char *word) {
        // Every field is tested against the control keywords: no upper-case copy for that.
        return RpStartsWithAscii(u, QLatin1String(word));
    };
    if (starts("SCAN(") && firstClose(u) >= 6)
        return fkScan;
    if (starts("SCANENTRY"))
        return fkScanEntry;
    if (starts("SCANFOOTER"))
        return fkScanFooter;
    if (starts("ENDSCAN"))
        return fkEndScan;
    if (starts("IF(") && firstClose(u) >= 5)
        return fkIf;
    if (starts("ENDIF"))
        return fkEndIf;
    if (starts("ELSE"))
        return fkElse;
    if (starts("ELSIF(") && firstClose(u) >= 8)
        return fkElsIf;

    QString s = fieldText;
    format = CheckFormat(s);
    s = RpTrim(s);
    QString operand;
    QString rest;
    int kind = GetNextExprField(s, operand, (FOptions & eoDotAsColon) != 0, rest);
    if (!rest.isEmpty() && kind != fkNotRecognised)
        kind = fkExpression;
    first = (kind == fkNotRecognised || kind == fkExpression) ? s : operand;
    return kind;
}

void TRpRTF::noteUsage(const QString &kind, const QString &name)
{
    const QString line = kind + u' ' + name;
    if (!FUsage.contains(line))
        FUsage.append(line);
}

TRpRowContent TRpRTF::valueContent(std::int32_t kind, const QString &text, const QString &raw,
                                   const QString &markup, const TRpFieldFormat &format)
{
    TRpRowContent c;
    if (!raw.isNull())
        c.stestf = QLatin1String("\\\\") + raw + QLatin1String("\\\\");
    c.sout = markup;
    c.fmt = format;
    c.ftype = rcsimple;
    c.NField = -1;
    c.DefinedType = rcsimple;
    c.Defined = false;
    c.Field = text;
    if (kind == fkString) {
        c.Field = text.mid(1, text.size() - 2);
    } else if (kind == fkColonField || kind == fkDotField) {
        const int sep = text.indexOf(kind == fkColonField ? u':' : u'.');
        c.Dalias = RpUpperAscii(text.left(sep));
        c.Field = text.mid(sep + 1);
        noteUsage(QStringLiteral("field"), c.Dalias + u':' + c.Field);
    } else if (kind == fkVariable) {
        noteUsage(QStringLiteral("variable"), text);
    }
    return c;
}

void TRpRTF::compileTemplate()
{
    while (!FileEof()) {
        const QString raw = FReader->GetNextReportField();
        QString fieldText;
        QString markup;
        FReader->CutRtString(raw, fieldText, markup);
        if (!raw.isEmpty())
            FFieldSites.push_back({static_cast<std::int32_t>(CmStream()->Position()), FKwdPnt,
                                   QLatin1String("\\\\") + raw + QLatin1String("\\\\")});
        FCompilingField = !raw.isEmpty();

        TRpFieldFormat format;
        QString first;
        const std::int32_t kind = fldnum(fieldText, format, first);
        switch (kind) {
        case fkVariable:
        case fkNumber:
        case fkString:
        case fkBoolean:
        case fkDate:
        case fkDotField:
        case fkColonField:
            CmSaveField(kind, valueContent(kind, first, raw, markup, format));
            break;
        case fkFunction:
            ProcessUDF(first, first, markup, format);
            break;
        case fkExpression:
            ProcessExpression(first, markup, format);
            break;
        case fkNotRecognised:
            CmSaveBlocItem();
            break;
        default:
            CompileControlField(kind, fieldText, markup);
            break;
        }
        FCompilingField = false;
    }
}

void TRpRTF::copyTemplateBytes()
{
    wrBlock(FPFile, std::int64_t(FCmLastFpnt) - 1, std::int64_t(Fpnt) - FCmLastFpnt);
}

void TRpRTF::SaveToOutTable(std::int32_t id)
{
    TRpOutTabRec rec;
    rec.n1 = FReader->FOutTab.empty() ? 0 : FReader->FOutTab.back().n2;
    rec.n2 = static_cast<std::int32_t>(TmpStream()->pos());
    rec.id = id;
    FReader->FOutTab.push_back(rec);
}

void TRpRTF::runCommandStream()
{
    SeekToBeginCmStream();
    for (;;) {
        FRunItemPos = static_cast<std::int32_t>(CmStream()->Position());
        CmReadItemInfo();
        const std::int32_t id = FCmLastId;
        switch (id) {
        case cmEnd:
            CmSkipItem();
            FRunItemPos = -1;
            return;
        case cmBloc:
            CmReadBlocItem();
            copyTemplateBytes();
            break;
        case cmBalancedBloc:
            CmReadBalancedBlocItem();
            copyTemplateBytes();
            break;
        case cmTableBegin:
            CmReadTableBegin();
            FReader->FInTable = true;
            break;
        case cmTableEnd:
            CmReadTableEnd();
            FReader->FInTable = false;
            break;
        case cmRaw: {
            QString text;
            CmReadRawItem(text);
            wr(text);
            break;
        }
        case cmFontTable:
        case cmColorTable:
        case cmStyleSheet:
        case cmDocInfo:
            CmSkipItem();
            // Straight to the output, the tables are final already: write them in place.
            if (TmpStream())
                SaveToOutTable(id);
            else
                wr(headerGroupText(*FReader, id));
            break;
        case fkVariable:
            OutVar();
            break;
        case fkNumber:
        case fkString:
        case fkBoolean:
        case fkDate:
            OutConst(id);
            break;
        case fkDotField:
        case fkColonField:
            OutAnyField();
            break;
        case cmExprBegin:
            OutUDF();
            break;
        case cmIf:
        case cmEndIf:
        case cmScan:
        case cmScanWhile:
        case cmScanEntry:
        case cmScanSkip:
        case cmScanFooter:
        case cmEndScan:
            RunControlItem(id);
            break;
        default:
            CmSkipItem();
            break;
        }
    }
}

void TRpRTF::assembleResult()
{
    SaveToOutTable(0);
    QIODevice *tmp = TmpStream();
    RpFlushChecked(tmp);
    SetOutf();
    RpSeekChecked(tmp, 0);
    // One buffer for the whole copy: a fresh large one per piece costs a page fault per page.
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (const TRpOutTabRec &rec : FReader->FOutTab) {
        qint64 left = std::int64_t(rec.n2) - rec.n1;
        while (left > 0) {
            const qint64 piece = std::min<qint64>(left, chunk.size());
            RpReadChecked(tmp, chunk.data(), piece);
            RpWriteChecked(Outf(), chunk.constData(), piece);
            left -= piece;
        }
        if (rec.id != 0)
            wr(headerGroupText(*FReader, rec.id));
    }
    RpFlushChecked(Outf());
}

void TRpRTF::loadAndCheckTemplate()
{
    FReader->ResetForRun();
    FReader->FCharset = FCharset;
    FReader->FProcessFormFields = (FOptions & eoProcessFormFields) != 0;
    FReader->FUnicodeByDefault = FUnicodeByDefault;
    SetOutfToNil();
    ReadFileBody();
    if (Flent < 5 || !FPFile.startsWith("{\\rtf")) {
        std::string text = msg::TemplateNotRtf;
        if (!FTmLoaded) {
            text += msg::DetailSeparator + FInFile.toStdString();
            FreePFile();
        }
        throw EBadRtfFormat(text);
    }
}

void TRpRTF::refuseTemplateAsOutput() const
{
    if (FUseStream || FTmLoaded || FOutFile.isEmpty() || !RpIsSameFile(FInFile, FOutFile))
        return;
    throw EIOError(msg::OutputIsTemplate + QDir::toNativeSeparators(FOutFile).toStdString());
}

void TRpRTF::compilePhase()
{
    CreateCmStream();
    CmSaveBegin();
    FReader->FUnicodeSkipCount = 1;
    FReader->FUcStack.Clear();
    FFieldSites.clear();
    FUsage.clear();
    FWarnings.clear();
    FReader->OnFieldTooLong = [this](std::int32_t kwdPnt) { fieldTooLong(kwdPnt); };
    compileTemplate();
    CmSaveEnd();
    CheckBlockNesting();
}

void TRpRTF::endRun()
{
    FreeTmpStream();
    FreeOutf();
    FreeCmStream();
    FReader->FRTFFont.clear();
    FReader->FRTFColor.clear();
    FReader->FRTFStyle.clear();
    FReader->FRTFDocInfo.clear();
    FReader->FDocColorTable.clear();
    if (!FTmLoaded)
        FreePFile();
}

const TRpRTF::TRpFieldSite *TRpRTF::siteOfItem(std::int32_t cmPos) const
{
    const auto after =
        std::upper_bound(FFieldSites.begin(), FFieldSites.end(), cmPos,
                         [](std::int32_t pos, const TRpFieldSite &s) { return pos < s.cmPos; });
    return after != FFieldSites.begin() ? &*(after - 1) : nullptr;
}

void TRpRTF::noteErrorAt(const TRpFieldSite *site)
{
    if (FLastErrLocation.line > 0 || !site)
        return;
    FLastErrLocation = FReader->PositionOf(site->kwdPnt);
    FLastErrLocation.field = site->text;
}

void TRpRTF::noteErrorLocation()
{
    if (FCompilingField && !FFieldSites.empty())
        noteErrorAt(&FFieldSites.back());
    else if (FRunItemPos >= 0)
        noteErrorAt(siteOfItem(FRunItemPos));
}

void TRpRTF::PutField()
{
    FLastErrLocation = TRpTemplatePos{};
    FRunItemPos = -1;
    FCompilingField = false;
    try {
        refuseTemplateAsOutput();
        RemoveStaleTmpFiles();
        loadAndCheckTemplate();
        // A device or a pipe named as the output is written to, never replaced.
        if (!FUseStream && !FOutFile.isEmpty() && QFileInfo(FOutFile).isFile())
            QFile::remove(FOutFile);
        compilePhase();

        FReader->FInTable = false;
        // Only fields (memo insertion above all) add fonts or colours while the run goes on; a
        // run that just copies the template writes final tables and needs no temporary output.
        const auto copiesOnly = [this]() {
            SeekToBeginCmStream();
            for (;;) {
                CmReadItemInfo();
                switch (FCmLastId) {
                case cmEnd:
                    return true;
                case cmBegin:
                case cmBloc:
                case cmBalancedBloc:
                case cmTableBegin:
                case cmTableEnd:
                case cmFontTable:
                case cmColorTable:
                case cmStyleSheet:
                case cmDocInfo:
                    CmSkipItem();
                    break;
                default:
                    return false;
                }
            }
        };
        if (copiesOnly()) {
            SetOutf();
            Fpnt = 0;
            runCommandStream();
            RpFlushChecked(Outf());
        } else {
            CreateTmpStream();
            SetOutfToTmp();
            Fpnt = 0;
            runCommandStream();
            assembleResult();
        }
    } catch (...) {
        noteErrorLocation();
        endRun();
        throw;
    }
    endRun();
}

void TRpRTF::CheckTemplate()
{
    FExecuteSuccessful = true;
    FLastErrMsg = QLatin1String(msg::NoErrors);
    FLastErrLocation = TRpTemplatePos{};
    FCompilingField = false;
    FRunItemPos = -1;
    FExecute = true;
    FScs = std::make_unique<TRpScans>(this);
    ResetIifNumber();
    FInDList.clear();
    FInDListOneCharExists = false;
    FDFiles.clear();
    try {
        loadAndCheckTemplate();
        compilePhase();
    } catch (const std::exception &e) {
        noteErrorLocation();
        endRun();
        FScs.reset();
        FExecute = false;
        FExecuteSuccessful = false;
        FLastErrMsg = QString::fromUtf8(e.what());
        throw;
    }
    endRun();
    FScs.reset();
    FExecute = false;
}

} // namespace rp
