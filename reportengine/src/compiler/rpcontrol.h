// SPDX-License-Identifier: MIT
// Control blocks: compiling IF/ELSIF/ELSE/ENDIF and SCAN keywords and running their items.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace rp {

class TRpRTF;
class TRpScanInfo;

/// Net number of RTF group marks in `text`: "{" minus "}", leaving out escaped ones.
std::int32_t RpBraceCount(const QString &text);
/// The unescaped "{" and "}" of `text`, in order.
QString RpBraces(const QString &text);
/// One pass that drops every "{" directly followed by "}" and every "}" directly
/// preceded by "{"; the net count is kept ("{}{}" -> "", "{{}}" -> "{}", "}{" stays).
QString RemoveEmptyBrackets(const QString &braces);

/// Compile side: turns one keyword field into control items and checks the nesting.
class TRpControlCompiler
{
public:
    explicit TRpControlCompiler(TRpRTF &report) : FReport(report) {}

    /// `kind` is the field kind of the keyword (fkScan .. fkElsIf).
    void Compile(std::int32_t kind, const QString &fieldText, const QString &markup);
    /// Raises the nesting error for a block still open at the end of the template.
    void CheckNesting();

private:
    void compileIf(const QString &fieldText, const QString &markup);
    void compileElse(const QString &fieldText, const QString &markup);
    void compileElsIf(const QString &fieldText, const QString &markup);
    void compileEndIf(const QString &fieldText, const QString &markup);
    void compileScan(const QString &fieldText, const QString &markup);
    void compileScanEntry(const QString &fieldText, const QString &markup);
    void compileScanFooter(const QString &fieldText, const QString &markup);
    void compileEndScan(const QString &fieldText, const QString &markup);
    void compileAttachedCalls(const QString &fieldText);
    void checkAttachedArgs(std::int32_t function, const QString &call);
    void compileCondition(const QString &text);
    void compileSkipAndCondition();
    void noteBoundary();
    /// Whether KillPar would find a paragraph mark from the cursor on.
    bool parMarkAhead();
    /// KillPar's result for the keyword just read, without reading to the end for nothing.
    QString trailingText();
    std::int32_t pos() const;

    TRpRTF &FReport;
    QStringList FParts;
};

/// Run side: carries out the control item whose header was just read.
class TRpControlRunner
{
public:
    explicit TRpControlRunner(TRpRTF &report) : FReport(report) {}

    void Run(std::int32_t id);

    /// Empty and full balances of `block` and of every block nested in it, in one read of
    /// its items; then back just after its opening item.
    void CountBalances(TRpScanInfo &block);
    /// Reads past the conditional block just entered, up to its closing end-if item.
    void SkipIfBlock();
    /// Reads past the scan block just entered, up to its end-scan item.
    void SkipScanBlock();

private:
    void runIf();
    void runEndIf();
    void runScan(std::int32_t id);
    void runScanEntry();
    void runScanSkip();
    void runScanEnd(std::int32_t id);
    void repeatScan(TRpScanInfo &block);
    void skipBlock(bool scan);
    void rereadOpeningItem(TRpScanInfo &block);
    /// Reads the body of the item whose header was just read; gives the texts it writes
    /// (for control items also their parts and block number).
    QString readItemTexts(std::int32_t id, std::uint16_t *block = nullptr,
                          QString *markup = nullptr, QString *trailing = nullptr);
    TRpScanInfo &makeCurrent(std::uint16_t n);

    TRpRTF &FReport;
};

} // namespace rp
