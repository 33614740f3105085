// SPDX-License-Identifier: MIT
// The RTF report component layers: RTF settings (TRpBaseRTFReport) and the concrete TRpRTF.
#pragma once

#include <reportengine/rpbasereport.h>
#include <reportengine/rpdataset.h>
#include <reportengine/rpfunc.h>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rp {

class TRpImageFormat;
class TRpScanInfo;
class TRpScans;
class TRpTemplateReader;

/// RTF specifics: character set, language, options, the RTF header tables.
class TRpBaseRTFReport : public TRpBaseReport
{
public:
    explicit TRpBaseRTFReport(QObject *owner = nullptr);
    ~TRpBaseRTFReport() override;

    // Published properties
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t value) { FCharset = value; }
    std::uint16_t Lang() const { return FLang; }
    void SetLang(std::uint16_t value) { FLang = value; }
    TRpRTFOptions Options() const { return FOptions; }
    void SetOptions(TRpRTFOptions value) { FOptions = value; }

    // Header-group items of the command stream
    void CmSaveFontTable();
    void CmReadFontTable();
    void CmSaveColorTable();
    void CmReadColorTable();
    void CmSaveStyleSheet();
    void CmReadStyleSheet();
    void CmSaveDocInfo();
    void CmReadDocInfo();

    // ---- Template reader additions (header tables, scanner, txt2rtf, quotes) ------------
    /// The template reader of the current run: scanner state and header tables.
    std::unique_ptr<TRpTemplateReader> FReader;
    bool LeftQuote(QChar c) override;
    bool RightQuote(QChar open, QChar c) override;
    bool IsQuoted(const QString &s) override;
    /// Escapes plain text for RTF with this report's UnicodeByDefault.
    QString txt2rtf(const QString &text) const;
    // ---- end of template reader additions -------------------------------------------------

    // ---- Run additions (CreateFileName) ---------------------------------------------------
    /// A unique file name (not created): directory + prefix + tick and random hex + ".doc".
    virtual QString CreateFileName(const QString &directory, const QString &prefix);
    /// As above with `extension` ("." added when missing; none when empty).
    virtual QString CreateFileName(const QString &directory, const QString &prefix,
                                   const QString &extension);
    // ---- end of run additions -------------------------------------------------------------

protected:
    std::uint8_t FCharset = 1;
    std::uint16_t FLang = 0;
    TRpRTFOptions FOptions = RpDefaultOptions;
};

/// Scan events get the block concerned.
using TRpOnScanBefore = std::function<void(TRpScanInfo *scanInfo)>;
using TRpOnScanRecord = std::function<void(TRpScanInfo *scanInfo)>;
using TRpOnScanEof = std::function<void(TRpScanInfo *scanInfo)>;
/// Picture sizing: the handler may change `imageFormat` or replace it.
/// A warning, as it arises during the compile.
using TRpOnWarning = std::function<void(const TRpWarning &warning)>;
using TRpOnImageFormat = std::function<void(int formatIndex, TRpImageFormat *&imageFormat)>;

/// Per data set of a run: its controls were already disabled before the run.
using TRpControlStatus = std::vector<bool>;

/// The report component: runs a template against variables, functions and data sets.
class TRpRTF : public TRpBaseRTFReport
{
public:
    explicit TRpRTF(QObject *owner = nullptr);
    ~TRpRTF() override;

    // Published properties
    TRpOnImageFormat OnImageFormat;
    TRpOnScanBefore OnScanBefore;
    TRpOnScanRecord OnScanRecord;
    TRpOnScanEof OnScanEof;
    TRpOnWarning OnWarning;
    bool DisableControls() const { return FDisableControls; }
    void SetDisableControls(bool value) { FDisableControls = value; }

    // Public, not stored
    bool ExecuteSuccessful() const { return FExecuteSuccessful; }
    const QString &LastErrMsg() const { return FLastErrMsg; }

    /// Runs function `index`: 0 and up a user function of UDFList (its variable
    /// arguments must exist), negative a built-in. `exprText` is the call as
    /// written, for messages.
    void ExecUDF(int index, TRpUDFArgs &args, int argCount, TRpObject *udfResult,
                 const QString &exprText);

    // ---- Built-in function library additions --------------------------------------------
    /// First-pass preparation of built-in `index` (accumulators, declarations).
    void InitFunctions(int index, TRpUDFArgs &args, int argCount, const QString &exprText);
    /// Computes built-in `index` into `udfResult`.
    void DoFunctions(int index, TRpUDFArgs &args, TRpObject *udfResult, const QString &exprText);
    // ---- end of built-in function library additions ---------------------------------------

    // ---- Processing loop, execution and run additions -----------------------------------
    /// Compiles and runs the template for the run ExecReport prepared, then writes the result.
    virtual void PutField();
    /// Runs the report into OutFile.
    virtual void Execute(const std::vector<TRpDataSet *> &dataSets);
    /// Runs the report into OutFile and opens it (ShellOpenFile with `showMode`).
    virtual void ExecuteOpen(const std::vector<TRpDataSet *> &dataSets, int showMode);
    /// Runs the report into `stream`, which is left at position 0.
    virtual void ExecuteStream(const std::vector<TRpDataSet *> &dataSets, QIODevice *stream);
    std::int32_t CtoN(const QString &alias) override;
    /// Compiles the template without data and writes nothing (authors' check); failures
    /// are recorded like a run's and raised.
    void CheckTemplate();
    /// Template position and text of the field the last failure arose in (line 0: none).
    const TRpTemplatePos &LastErrLocation() const { return FLastErrLocation; }
    /// Warnings of the last compile, in template order (also handed to OnWarning).
    const std::vector<TRpWarning> &Warnings() const { return FWarnings; }
    /// What the last compile used: "variable NAME", "field ALIAS:NAME", "function NAME".
    const QStringList &TemplateUsage() const { return FUsage; }
    /// Fields naming a missing variable, data-set field or function fail the run instead of
    /// staying in the document.
    /// Strict runs also fail on a field longer than the reader's limit, which is otherwise
    /// copied as text with a warning.
    bool Strict() const { return FStrict; }
    void SetStrict(bool value) { FStrict = value; }
    /// Most passes a condition-driven scan without a data set may make before the run fails;
    /// nothing else can end such a scan when its condition never turns false.
    std::int64_t MaxWhilePasses() const { return FMaxWhilePasses; }
    void SetMaxWhilePasses(std::int64_t value) { FMaxWhilePasses = value; }

    // Value rendering
    void OutVar();
    void OutConst(std::int32_t kind);
    void OutAnyField();
    void OutField(const TRpRowContent &content);
    /// Writes a value text through `format`, followed by the markup.
    void WriteVarRTF(const QString &value, const TRpFieldFormat &format, const QString &markup);
    void WriteFieldRTF(TRpField *field, const TRpFieldFormat &format, const QString &markup);
    QString GetFieldString(TRpField *field, const TRpFieldFormat &format);
    QString MakeFloatString(const QString &value, const TRpFieldFormat &format);
    void WriteLink(const QString &text, const QString &markup);
    void WriteGraphicVarRTF(const QString &fileName, const TRpFieldFormat &format,
                            const QString &markup);
    void WriteGraphicRTF(TRpField *field, const TRpFieldFormat &format, const QString &markup);
    /// Embeds a picture result (the picture writer's entry point).
    void WritePictureResult(TRpPicture *picture, const TRpFieldFormat &format);
    /// Inserts an RTF value (the memo insertion's entry point).
    void WriteRtfValue(const QString &value, const QString &markup);
    /// Resolves a data-set field item's field index.
    void DefineFieldNumber(TRpRowContent &content);
    static TRpDataType FieldType2VarType(TRpFieldType type);

    // Expressions
    /// Compiles a call field; conditions pass inDocument false and isManage true.
    void ProcessUDF(const QString &callText, const QString &exprText, const QString &markup,
                    const TRpFieldFormat &format, bool inDocument = true, bool isManage = false);
    void ProcessExpression(const QString &fieldText, const QString &markup,
                           const TRpFieldFormat &format);
    void ProcessUDFArgs(std::int32_t number, const QStringList &args, std::int32_t iifNumber,
                        std::int32_t parent, std::int32_t argIndex);
    /// Runs the expression whose begin item header was just read, up to its end item.
    void OutUDF();
    /// Passes over such an expression, running only the first-pass preparation of built-ins.
    void InitSkipUDF();
    /// Field kind of a cleaned field text; `format` and `first` get its format and operand.
    std::int32_t fldnum(const QString &fieldText, TRpFieldFormat &format, QString &first);

    // Control keywords (compiled and run by the control blocks)
    void CompileControlField(std::int32_t kind, const QString &fieldText, const QString &markup);
    void RunControlItem(std::int32_t id);
    void CheckBlockNesting();

    /// Records a mark in the out-table at the end of the temporary output.
    void SaveToOutTable(std::int32_t id);
    void DisControls(const std::vector<TRpDataSet *> &dataSets);
    void EnaControls(const std::vector<TRpDataSet *> &dataSets);
    void ExecReport(const std::vector<TRpDataSet *> &dataSets);

    /// Stream position of the item being run, -1 outside the run loop.
    std::int32_t FRunItemPos = -1;

private:
    struct ExecFrame;
    struct TRpFieldSite
    {
        std::int32_t cmPos;  ///< stream position of the field's first item
        std::int32_t kwdPnt; ///< template position of its opening delimiter
        QString text;        ///< the field as written
    };
    void loadAndCheckTemplate();
    /// Raises EIOError when the output file is the template file under another name.
    void refuseTemplateAsOutput() const;
    std::int32_t resolveAlias(const QString &alias) const;
    void compilePhase();
    void compileTemplate();
    void runCommandStream();
    void assembleResult();
    void endRun();
    void noteErrorLocation();
    /// The reader gave up on the field at `kwdPnt`: too long.
    void fieldTooLong(std::int32_t kwdPnt);
    /// The field that compiled into the item at stream position `cmPos`.
    const TRpFieldSite *siteOfItem(std::int32_t cmPos) const;
    /// Records where the error is, unless a place is already known.
    void noteErrorAt(const TRpFieldSite *site);
    void noteUsage(const QString &kind, const QString &name);
    void copyTemplateBytes();
    void runProtected(const std::vector<TRpDataSet *> &dataSets,
                      const std::function<void()> &afterReport);
    TRpRowContent valueContent(std::int32_t kind, const QString &text, const QString &raw,
                               const QString &markup, const TRpFieldFormat &format);
    void writeText(const QString &value, const QString &markup);
    void writeMissing(const TRpRowContent &content, const QString &what);
    QString dateFormatText(const TRpFieldFormat &format);
    void resolveFieldItem(TRpRowContent &content, std::int32_t itemPos);
    TRpField *fieldOf(const TRpRowContent &content) const;
    TRpReportVariable *newLocal(ExecFrame &frame);
    void pushValueItem(ExecFrame &frame, std::int32_t id, bool skipping);
    void applyNoReset(ExecFrame &frame, std::int32_t f, TRpUDFArgs &args);
    TRpUDFArgs takeArgs(ExecFrame &frame, std::int32_t count);
    void passOverItems(ExecFrame &frame, std::int32_t marker, std::int32_t iifNumber);
    void SkipIifPart(ExecFrame &frame, std::int32_t marker, std::int32_t iifNumber);
    QString functionName(std::int32_t f) const;

    std::vector<TRpFieldSite> FFieldSites;
    bool FCompilingField = false;
    TRpTemplatePos FLastErrLocation;
    std::vector<TRpWarning> FWarnings;
    QStringList FUsage;
    bool FStrict = false;
    std::int64_t FMaxWhilePasses = 1000000;
    // Aliases CtoN resolved, valid for the FInDList and data sets they were resolved against.
    QHash<QString, std::int32_t> FAliasNumbers;
    QStringList FAliasNumbersFor;
    qsizetype FAliasNumbersDataSets = -1;
    std::vector<bool> FControlsQuieted;

public:
    // ---- end of processing loop, execution and run additions ------------------------------

    // Run state
    bool FDisableControls = true;
    TRpControlStatus FControlStatus;
    bool FExecuteSuccessful = false;
    QString FLastErrMsg = QStringLiteral("No errors.");
    std::vector<TRpDataSet *> FDFiles;
    QStringList FInDList;
    bool FInDListOneCharExists = false;
    std::unique_ptr<TRpScans> FScs;
};

/// Makes every scan over `dataSet` visit only its records `records` (1-based, in that
/// order) through selected-row mode; an earlier OnScanBefore handler still runs after it.
/// Throws std::out_of_range for a record number the data set does not have.
void RpScanSelectedRecords(TRpRTF &report, TRpDataSet *dataSet, const QList<int> &records);

/// Whether both names lead to one file (same device and inode), whatever the spelling or
/// links: a run refuses an output that is its template so.
bool RpIsSameFile(const QString &a, const QString &b);

} // namespace rp
