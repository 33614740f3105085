// SPDX-License-Identifier: MIT
// The RTF report component layers: RTF settings (TRpBaseRTFReport) and the concrete TRpRTF.
#pragma once

#include "rpbasereport.h"
#include "rpdataset.h"
#include "rpfunc.h"
#include "rpscans.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rp {

class TRpImageFormat;

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
    // ---- end of template reader additions -------------------------------------------------

    // ---- Run additions (CreateFileName) ---------------------------------------------------
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

} // namespace rp
