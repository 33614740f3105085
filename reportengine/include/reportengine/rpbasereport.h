// SPDX-License-Identifier: MIT
// Report component base: variables, their handle, the command stream and the work streams.
#pragma once

#include <reportengine/rpconsts.h>
#include <reportengine/rpformat.h>
#include <reportengine/rptypes.h>

#include <QByteArray>
#include <QIODevice>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rp {

class TRpBaseReport;
class TRpUDFList;

/// Notification event: called with the component as sender.
using TNotifyEvent = std::function<void(QObject *sender)>;

// ---- Variables ------------------------------------------------------------------------------

/// Type attached to one line of a TRpVarList.
class TRpVarListObject
{
public:
    explicit TRpVarListObject(TRpDataType type = rpdtUnknown) : FDataType(type) {}
    TRpDataType FDataType;
};

/// The variable store: lines "name=value", each with an optional type object
/// that the list owns. Copying copies the lines and their types.
class TRpVarList
{
public:
    TRpVarList() = default;
    TRpVarList(const TRpVarList &other) { Assign(other); }
    TRpVarList &operator=(const TRpVarList &other);

    int Count() const { return static_cast<int>(FLines.size()); }
    /// Line `index` (0-based); throws std::out_of_range outside 0 .. Count-1.
    const QString &Strings(int index) const;
    void SetStrings(int index, const QString &text);
    /// The type object of line `index`, or nullptr when the line has none.
    TRpVarListObject *Objects(int index) const;
    /// Attaches a type object to line `index` (replacing and freeing the old one).
    void SetObjects(int index, std::unique_ptr<TRpVarListObject> object);
    /// Appends a line; returns its index.
    int Add(const QString &text, std::unique_ptr<TRpVarListObject> object = nullptr);
    void Delete(int index);
    void Clear();
    void Assign(const TRpVarList &source);
    /// All lines, for display and persistence.
    QStringList Lines() const;

private:
    struct Line
    {
        QString Text;
        std::unique_ptr<TRpVarListObject> Object;
    };
    void CheckIndex(int index) const;
    std::vector<Line> FLines;
};

/// Handle to one report variable (non-local: it holds only a name and looks it
/// up on every access) or a free-standing value (local: its own text and type).
class TRpReportVariable : public TRpObject
{
public:
    /// Local exactly when `owner` is none.
    explicit TRpReportVariable(TRpBaseReport *owner = nullptr);

    TRpBaseReport *OwnerBaseReport() const { return FOwnerBaseReport; }
    const QString &Name() const { return FVarName; }
    /// Re-points the handle without any check.
    void SetVarName(const QString &varName) { FVarName = varName; }
    /// Renames the variable itself (non-local), then the handle.
    void ChangeVarName(const QString &newVarName);

    bool Local() const { return FLocal; }
    /// Switching clears the local text and type.
    void SetLocal(bool local);

    QString AsString() const;
    void SetAsString(const QString &value);
    long double AsFloat() const;
    void SetAsFloat(long double value);
    std::int64_t AsInteger() const;
    void SetAsInteger(std::int64_t value);
    TDateTime AsDate() const;
    void SetAsDate(TDateTime value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    TRpDataType DataType() const;
    /// Changes only the type; the text stays.
    void SetDataType(TRpDataType type);
    QString DataTypeText() const { return rp::DataTypeText(DataType()); }
    int DataTypeNumber() const { return DataType2Int(DataType()); }

    /// The stored text and type, as they are (no locale conversion).
    QString ValueText() const;

    /// The locale record of the handle's texts (decimal separator and date texts): the owner's
    /// record, else one set with SetFmtSett, else the process locale's. Handles are made for
    /// every value of a run, so they refer to a record instead of copying it.
    const TFormatSettings &FmtSett() const;
    /// Makes the handle use `record`, which must outlive it and its copies; nullptr restores
    /// the default.
    void SetFmtSett(const TFormatSettings *record) { FFmtSett = record; }

private:
    /// Line number of the name in the owner's list; raises `operation` + not found when 0.
    int Lookup(const char *operation) const;
    void Store(const QString &text, TRpDataType type);
    QString TrueText() const;

    const TFormatSettings *FFmtSett = nullptr;
    TRpBaseReport *FOwnerBaseReport;
    QString FVarName;
    bool FLocal;
    QString FLocalValue;
    TRpDataType FLocalType = rpdtUnknown;
};

/// Day number texts of variables: "{yyyy-mm-dd}" and "{yyyy-mm-dd,hh:nn:ss:zzz}".
QString DateToVarStr(TDateTime d);
QString DateTimeToVarStr(TDateTime d);
/// Decode the two texts; short texts raise std::runtime_error (text + " is not a valid date
/// value" / " is not a valid datetime value"), bad digits and dates EConvertError.
TDateTime VarStrToDate(const QString &s);
TDateTime VarStrToDateTime(const QString &s);

/// General float text with "." as decimal point whatever the locale (the stored number form).
QString FloatToVarStr(long double value, const TFormatSettings &fs);

// ---- Command stream -------------------------------------------------------------------------

/// Ids of the command-stream items. Body sizes are in RpCmBodySize.
enum TRpCmItemId : std::int32_t
{
    cmBegin = -9999,      ///< start of the stream; no body
    cmEnd = -10000,       ///< end of the stream; no body
    cmBloc = -5,          ///< copy template bytes up to pnt; merges with a preceding Bloc
    cmBalancedBloc = -10, ///< copy a skipped group; no body
    cmTableBegin = -6,    ///< no body
    cmTableEnd = -7,      ///< no body
    cmRaw = -16,          ///< stridx text
    cmScan = -3,          ///< stridx OutStr, stridx SPar, word block
    cmScanWhile = -21,    ///< as Scan
    cmScanEntry = -11,    ///< as Scan
    cmScanFooter = -12,   ///< as Scan
    cmEndScan = -4,       ///< as Scan
    cmEndIf = -24,        ///< as Scan
    cmIf = -23,           ///< as Scan, then bool4 else flag
    cmScanSkip = -22,     ///< word block
    cmExprBegin = -13,    ///< row content, bool4 InDocument, bool4 IsManage, word ScanNum
    cmExprEnd = -14,      ///< no body
    cmExecuteUDF = -15,   ///< five ints: udfnumber, parcount, mainudfnumber, argnumber, iifnumber
    cmFontTable = -17,    ///< no body
    cmColorTable = -18,   ///< no body
    cmStyleSheet = -19,   ///< no body
    cmDocInfo = -20,      ///< no body
    // Field items carry the field kind as id: 0, 2, 3, 4, 5, -1, -2; body: row content.
};

/// Body sizes written as skip (plus 4 for the trailer).
namespace RpCmBodySize {
inline constexpr int None = 0;
inline constexpr int Raw = 4;
inline constexpr int ScanLike = 10;
inline constexpr int If = 14;
inline constexpr int ScanSkip = 2;
inline constexpr int Field = 38;
inline constexpr int ExprBegin = 48;
inline constexpr int ExecuteUDF = 20;
/// Bytes of the header: id, pnt, skip.
inline constexpr int Header = 12;
} // namespace RpCmBodySize

/// True for the ids of field items (0, 2, 3, 4, 5, -1, -2).
bool IsFieldItemId(std::int32_t id);

// ---- Component base -------------------------------------------------------------------------

/// The report component's base: variables, true/false texts, template and
/// output names, user-function list, the command stream and the work streams.
class TRpBaseReport : public QObject
{
public:
    explicit TRpBaseReport(QObject *owner = nullptr);
    ~TRpBaseReport() override;

    static constexpr int Version() { return RpVersion; }

    // Published properties
    TNotifyEvent OnFinished;
    const QString &InFile() const { return FInFile; }
    void SetInFile(const QString &value);
    const QString &OutFile() const { return FOutFile; }
    void SetOutFile(const QString &value);
    const TRpVarList &VarList() const { return FVarList; }
    /// Copies the lines of `source`, each with its type.
    void SetVarList(const TRpVarList &source);
    const QString &TrueValue() const { return FTrueValue; }
    void SetTrueValue(const QString &value);
    const QString &FalseValue() const { return FFalseValue; }
    void SetFalseValue(const QString &value);
    TRpUDFList *UDFList() const;
    /// Refused while a run is in progress and for a list of another version.
    void SetUDFList(TRpUDFList *list);
    bool UnicodeByDefault() const { return FUnicodeByDefault; }
    void SetUnicodeByDefault(bool value) { FUnicodeByDefault = value; }

    /// Streamed variable types: int32 count, then DataTypeNumber of every line.
    QByteArray WriteVarDataTypes() const;
    /// Gives line i the stored type i; more entries than lines raise std::out_of_range after
    /// the existing lines got theirs, a cut stream EIOError.
    void ReadVarDataTypes(const QByteArray &bytes);

    // Public, not stored
    QChar DecimalRTerminator = u'=';
    QChar DecimalRSeparator = u'-';
    /// The component's locale record; the variable code uses its decimal separator.
    TFormatSettings FmtSett;
    /// Rebuilds FmtSett from a locale the host names (the process locale by default).
    void SetLocale(const QLocale &locale);
    /// The locale of FmtSett; case mapping follows it too.
    const QLocale &Locale() const { return FLocale; }
    /// As SetLocale, for a locale the host names ("de_DE", "it"); an empty name means the
    /// process locale.
    void SetLocale(const QString &localeName);
    /// True while a run is in progress.
    bool Executing() const { return FExecute; }

    // Variables
    void CreateVar(const QString &name, const QString &value);
    void CreateVar(const QString &name, const char *value)
    {
        CreateVar(name, QString::fromUtf8(value));
    }
    void CreateVar(const QString &name, bool value);
    void CreateVar(const QString &name, double value);
    void CreateVar(const QString &name, long double value);
    /// A DateTime variable; only the date when `ignoreTime`.
    void CreateVar(const QString &name, TDateTime value, bool ignoreTime);
    void ClearVars();
    void FreeVar(const QString &name);
    /// The component's one shared handle, re-pointed at `varName`.
    TRpReportVariable *VarByName(const QString &varName);
    /// 1-based line of the variable (names compared in upper case), 0 if none.
    int GetVarNumber(const QString &ident) const;
    /// Value part of line `number` ("" if the line has no name or the number is out of range).
    QString GetVarByNumber(int number) const;
    TRpDataType GetVarTypeByNumber(int number) const;

    // Command stream: writing
    void CmSaveBegin();
    void CmSaveEnd();
    virtual void CmSaveBlocItem();
    virtual void CmSaveBalancedBlocItem();
    virtual void CmSaveTableBegin();
    virtual void CmSaveTableEnd();
    virtual void CmSaveRawItem(const QString &text);
    virtual void CmSaveScanItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveScanWhileItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveIfItem(const QString &outStr, const QString &sPar, std::uint16_t n,
                              bool elseFlag);
    virtual void CmSaveScanEntryItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveScanFooterItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveEndScanItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveEndIfItem(const QString &outStr, const QString &sPar, std::uint16_t n);
    virtual void CmSaveScanSkipItem(std::uint16_t n);
    virtual void CmSaveField(std::int32_t id, const TRpRowContent &content);
    virtual void CmSaveExprBeginItem(const TRpRowContent &content, bool inDocument, bool isManage,
                                     std::uint16_t scanNum);
    virtual void CmSaveExprEndItem();
    virtual void CmSaveExecuteUDFItem(std::int32_t udfNumber, std::int32_t parCount,
                                      std::int32_t mainUdfNumber, std::int32_t argNumber,
                                      std::int32_t iifNumber);

    // Command stream: reading. CmReadItemInfo reads a header (id into FCmLastId,
    // cursor to the item's pnt); the kind's read operation then reads body and
    // trailer. CmSkipItem passes over the body of an item nobody handles.
    void CmReadItemInfo();
    void CmSkipItem();
    virtual void CmReadBlocItem();
    virtual void CmReadBalancedBlocItem();
    virtual void CmReadTableBegin();
    virtual void CmReadTableEnd();
    virtual void CmReadRawItem(QString &text);
    virtual void CmReadScanItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadScanWhileItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadIfItem(QString &outStr, QString &sPar, std::uint16_t &n, bool &elseFlag);
    virtual void CmReadScanEntryItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadScanFooterItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadEndScanItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadEndIfItem(QString &outStr, QString &sPar, std::uint16_t &n);
    virtual void CmReadScanSkipItem(std::uint16_t &n);
    virtual void CmReadField(TRpRowContent &content);
    /// Run phase: at the start of a Field item, overwrites its resolution in place.
    virtual void CmUpdateField(std::int32_t nField, TRpRcTypes definedType, bool defined);
    virtual void CmReadExprBeginItem(TRpRowContent &content, bool &inDocument, bool &isManage,
                                     std::uint16_t &scanNum);
    virtual void CmReadExprEndItem();
    virtual void CmReadExecuteUDFItem(std::int32_t &udfNumber, std::int32_t &parCount,
                                      std::int32_t &mainUdfNumber, std::int32_t &argNumber,
                                      std::int32_t &iifNumber);

    // Command stream: primitives
    void CmSaveItemInfo(std::int32_t id, std::int32_t skipBytes, std::int32_t cmFpnt);
    void CmSaveItemPos();
    void CmReadItemPos();
    /// Appends `text` to the string table; returns its index (equal texts get new entries).
    int CmStoreString(const QString &text);
    /// Entry `index`, or "" outside the table.
    QString CmGetString(int index) const;
    void CreateCmStream();
    void FreeCmStream();
    void SeekToBeginCmStream();
    /// The command stream, or nullptr outside a run.
    TRpMemoryStream *CmStream() const { return FCmStream.get(); }
    const QStringList &CmStrings() const { return FCmStrings; }

    // Work streams
    /// Temporary output: memory when the caller's output is a QBuffer, else a temporary file.
    void CreateTmpStream();
    void FreeTmpStream();
    /// Creates a uniquely named empty file in the temporary directory; returns its path. The
    /// name, "<prefix>-<pid>-XXXXXX.tmp", tells which process the file belongs to.
    static QString CreateTmpFileName(const QString &prefix);
    /// Removes the files of `prefix` in the temporary directory whose process is gone: what a
    /// killed run left behind. Files of live processes stay.
    static void RemoveStaleTmpFiles(const QString &prefix);
    /// As above, for the work files of the runs.
    static void RemoveStaleTmpFiles();
    void SetOutf();
    void SetOutfToTmp();
    void SetOutfToNil();
    void FreeOutf();
    /// Writes the text in the single-byte code page (Windows-1252) to the current output.
    /// Every write to the output raises EIOError when it fails, naming the file and the reason.
    void wr(const QString &text);
    /// Writes `count` bytes of `bytes` from 0-based `start` unchanged.
    void wrBlock(const QByteArray &bytes, qint64 start, qint64 count);
    /// Writes `bytes` unchanged.
    void wrBytes(const QByteArray &bytes);
    void IncPnt(std::int32_t delta) { Fpnt += delta; }
    bool FileEof() const { return Fpnt > Flent; }
    /// The caller's output stream (used when FUseStream).
    void SetOutStream(QIODevice *stream, bool use)
    {
        FOutStream = stream;
        FUseStream = use;
    }
    QIODevice *Outf() const { return FOutf; }
    QIODevice *TmpStream() const { return FTmpStream.get(); }
    const QString &TmpFileName() const { return FTmpFileName; }

    // Quote rules of field text; implemented by the RTF layer.
    virtual bool LeftQuote(QChar c) = 0;
    virtual bool RightQuote(QChar open, QChar c) = 0;
    virtual bool IsQuoted(const QString &s) = 0;

    // ---- Template reader additions (buffer, loading) -------------------------------------
    /// Loads the template from InFile, unless a buffer was handed over; cursor to 1.
    void ReadFileBody();
    /// Uses `bytes` (the first `size` of them, all when -1) as the template until
    /// FreeTemplate or a new InFile; refused while a run is in progress.
    void SetTemplateBuffer(const QByteArray &bytes, int size = -1);
    /// Drops a handed-over buffer.
    void FreeTemplate();
    /// Drops the template bytes.
    void FreePFile();
    /// Opens a result with the desktop's viewer (REPORT_OPEN_COMMAND, else xdg-open) and
    /// returns a shell code: above 32 is success, 2 file not found, 31 no application.
    virtual int ShellOpenFile(const QString &fileName, int showMode);
    // ---- end of template reader additions -------------------------------------------------

    // ---- Expression compiler additions ---------------------------------------------------
    /// Parses a call "NAME(args)" of a known function: its number and argument texts.
    /// False when the text is no call or names no function; bad brackets or argument
    /// counts raise EIllegalFunctionUse.
    bool ProcessUDFName(const QString &text, QStringList &list, std::int32_t &number);
    /// User functions first, then built-ins; false when neither knows `name`.
    bool GetUDFNumber(const QString &name, std::int32_t &number) const;
    std::int32_t GetArgMinCount(std::int32_t n) const;
    std::int32_t GetArgMaxCount(std::int32_t n) const;
    /// TRpUDFResultType of function `n` (0 for an unknown built-in number).
    std::int32_t GetUDFResultType(std::int32_t n) const;
    /// Whether the result of function `n` suits `format`.
    bool CheckUdfFormat(std::int32_t n, const TRpFieldFormat &format) const;
    /// Strips an outer format function from `s`, storing an FDTM pattern in the string table.
    TRpFieldFormat CheckFormat(QString &s);
    /// {YYYY-MM-DD} as the locale's short date text.
    QString DateConstToStr(const QString &dateConst) const;
    /// Data-set position of an alias in the run, -1 when none.
    virtual std::int32_t CtoN(const QString &alias);
    void ResetIifNumber() { FiifNumber = 0; }
    std::int32_t GetNextIifNumber() { return ++FiifNumber; }
    std::int32_t FiifNumber = 0;
    // ---- end of expression compiler additions ---------------------------------------------

    // Template buffer
    QByteArray FPFile;       ///< template bytes
    std::int32_t Flent = -1; ///< valid bytes in FPFile; -1 when nothing is loaded
    std::int32_t Fpnt = 0;   ///< 1-based cursor
    bool FTmLoaded = false;  ///< template handed over as a buffer
    std::int32_t FLastBoundaryPnt = -1;
    std::int32_t FKwdPnt = -1;

    // Command stream state
    std::unique_ptr<TRpMemoryStream> FCmStream;
    QStringList FCmStrings;
    std::int32_t FSzi = 4;
    std::uint32_t FCmPos = 0;
    std::int32_t FCmLastId = cmBegin;
    std::int32_t FCmLastFpnt = 0;
    std::uint32_t FCmSkip = 0;

    // Run state
    bool FExecute = false;
    /// Result of the last condition evaluated (block stack, control blocks).
    bool FManageResult = false;

protected:
    QString FInFile;
    QString FOutFile;
    TRpVarList FVarList;
    QString FTrueValue = QStringLiteral("True");
    QString FFalseValue = QStringLiteral("False");
    QPointer<TRpUDFList> FUDFList;
    bool FUnicodeByDefault = false;

    // Work streams
    std::unique_ptr<QIODevice> FTmpStream;
    QString FTmpFileName;
    QIODevice *FOutStream = nullptr;
    bool FUseStream = false;
    QIODevice *FOutf = nullptr;
    bool FOutfCreated = false;
    std::unique_ptr<QIODevice> FOutFileStream;

private:
    friend class TRpReportVariable;
    /// Number text in the stored form ("." decimal point).
    QString NumberText(long double value) const;
    void AddVarLine(const QString &name, const QString &text, TRpDataType type);
    void CmSaveScanLike(std::int32_t id, const QString &outStr, const QString &sPar,
                        std::uint16_t n);
    void CmReadScanLike(QString &outStr, QString &sPar, std::uint16_t &n);
    void CmSaveNoBody(std::int32_t id);
    void CmReadNoBody();
    void CmWriteRowContent(const TRpRowContent &content);
    void CmReadRowContent(TRpRowContent &content);
    void CmWriteBool4(bool value);
    bool CmReadBool4();
    void CheckCmStream() const;

    std::unique_ptr<TRpReportVariable> FVar;
    QLocale FLocale;
};

} // namespace rp
