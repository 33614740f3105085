// SPDX-License-Identifier: MIT
// rtfreport: fills an RTF template with variables and CSV data sets from the command line.
#include <reportengine/rpcsvdataset.h>
#include <reportengine/rpjsondataset.h>
#include <reportengine/rprtf.h>
#include <reportengine/rpshell.h>

#include "pdfconvert.h"

#include <firebird/fbdataset.h>
#include <firebird/fbengine.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include <unistd.h>

using namespace rp;

namespace {

constexpr int exitFailed = 1;
constexpr int exitUsage = 2;

/// Standard output as the result stream: written as the run goes, so memory stays flat
/// whatever the result's size, and every write checked. It cannot seek; the engine's
/// rewinds to the start it is already at are accepted quietly.
class StandardOutput : public QIODevice
{
public:
    StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    bool seek(qint64 pos) override { return pos == 0 && FWritten == 0; }
    /// Empty while every write went through, else the system's reason for the first failure.
    const QString &Failure() const { return FFailure; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size && FFailure.isEmpty()) {
            const ssize_t n = ::write(STDOUT_FILENO, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                FFailure = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO));
                setErrorString(FFailure);
                break;
            }
            done += n;
        }
        FWritten += done;
        return FFailure.isEmpty() ? done : -1;
    }

private:
    qint64 FWritten = 0;
    QString FFailure;
};

/// Fills the template into a private RTF file, has LibreOffice make a PDF of it and writes
/// that to `outFile` (replaced only once the PDF is whole) or to standard output.
int writePdf(TRpRTF &report, const std::vector<TRpDataSet *> &dataSets, const QString &outFile,
             bool openIt)
{
    const QTemporaryDir work;
    if (!work.isValid())
        throw EIOError(
            ("cannot make a folder for the PDF conversion: " + work.errorString()).toStdString());
    const QString rtf = work.filePath(QStringLiteral("report.rtf"));
    report.SetOutFile(rtf);
    report.Execute(dataSets);
    const QByteArray pdf = ConvertRtfToPdf(rtf, work.path());
    if (outFile.isEmpty()) {
        StandardOutput out;
        out.write(pdf);
        if (!out.Failure().isEmpty())
            throw EIOError(
                ("cannot write the PDF to standard output: " + out.Failure()).toStdString());
        return 0;
    }
    QSaveFile file(outFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit())
        throw EIOError(("cannot write " + outFile + ": " + file.errorString()).toStdString());
    if (openIt && OpenWithDesktop(outFile) <= 32)
        throw EIOError(("no viewer opened " + outFile).toStdString());
    return 0;
}

/// The embedded Firebird engine, when an --sql data set uses it: the lock folder set up
/// before the first attachment, and the engine ended with fb_shutdown when the run is
/// over (a plain detach can hang after a signal).
class FirebirdUse
{
public:
    FirebirdUse() = default;
    FirebirdUse(const FirebirdUse &) = delete;
    FirebirdUse &operator=(const FirebirdUse &) = delete;
    ~FirebirdUse()
    {
        if (FUsed)
            zc::fb::ShutdownEngine();
    }
    void Attaching()
    {
        if (!FUsed)
            zc::fb::EnsureLockFolder();
        FUsed = true;
    }

private:
    bool FUsed = false;
};

/// What --help says after the options: the data, the value formats, the names and the exits.
constexpr char helpDetails[] = R"(
Variables and data sets are created in the order they are given. A data set is also
known by its place: the first is A, the second B, and so on.

CSV data sets (RFC 4180, UTF-8, an optional BOM): the first row names the fields. A
name may carry a type after a colon, e.g. PRICE:currency. Types: string (the default),
memo, integer, float, currency, boolean, date, time, datetime, blob. Values: integers
in decimal; floats and currencies with "." as decimal point; booleans true/false (any
case) or 1/0; dates YYYY-MM-DD; times HH:MM:SS; date-times YYYY-MM-DD HH:MM:SS (or with
T). An empty cell is null. A blob cell names a regular file inside the CSV file's
folder (or inside --blob-root), whose bytes are the value.

Firebird data sets (--sql NAME=QUERY with --database DB): the rows of the query, run
in a read-only snapshot transaction on the embedded engine (DB a file) or a server
(DB host:path); the query text comes from the command line only.

JSON data sets: an array of objects, one record each; keys are field names, in the
order they first appear. Whole numbers give integer fields, fractions float fields,
true/false boolean fields, strings string fields; null or a missing key is null.
Nested objects and arrays are refused, naming their path ($[2].address).

Report options (--option, --no-option; names in any case):
  eoGraphicsWmfCompatible, eoGraphicsBinary, eoClearMissedFields, eoDotAsColon,
  eoNumericFormatClearZero, eoKeepFrtfPar, eoProcessFormFields.
  Default: eoGraphicsBinary and eoDotAsColon.

PDF output (--pdf, or an output file ending in .pdf): the filled RTF is converted by
LibreOffice (soffice, on PATH) run headless with a profile of its own.

Defaults: --charset 1, --lang 0, --true-value True, --false-value False, the locale of
the environment, output to standard output.

Exit status: 0 done; 1 the template, a data set or the output failed (the message
names the file and, for a field, TEMPLATE:LINE:COLUMN); 2 a bad command line.
)";

/// A bad command line: the message is printed with a pointer to --help.
struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct OptionName
{
    const char *name;
    TRpRTFOption flag;
};

constexpr OptionName optionNames[] = {
    {"eoGraphicsWmfCompatible", eoGraphicsWmfCompatible},   {"eoGraphicsBinary", eoGraphicsBinary},
    {"eoClearMissedFields", eoClearMissedFields},           {"eoDotAsColon", eoDotAsColon},
    {"eoNumericFormatClearZero", eoNumericFormatClearZero}, {"eoKeepFrtfPar", eoKeepFrtfPar},
    {"eoProcessFormFields", eoProcessFormFields},
};

TRpRTFOption optionByName(const QString &name)
{
    for (const OptionName &o : optionNames)
        if (name.compare(QLatin1String(o.name), Qt::CaseInsensitive) == 0)
            return o.flag;
    throw UsageError(("unknown option name: " + name).toStdString());
}

void splitAssignment(const QString &text, QString &name, QString &value)
{
    const int eq = text.indexOf(u'=');
    if (eq <= 0)
        throw UsageError(("expected NAME=VALUE: " + text).toStdString());
    name = text.left(eq);
    value = text.mid(eq + 1);
}

// Variables and data sets in command-line order, whatever their kind.
struct OrderedArg
{
    QString option;
    QString value;
};

std::vector<OrderedArg> orderedArgs(const QStringList &args)
{
    static const QStringList ordered = {QStringLiteral("var"),      QStringLiteral("num"),
                                        QStringLiteral("bool"),     QStringLiteral("date"),
                                        QStringLiteral("datetime"), QStringLiteral("dataset"),
                                        QStringLiteral("json"),     QStringLiteral("sql")};
    std::vector<OrderedArg> out;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--")
            break;
        if (!a.startsWith(u"--"))
            continue;
        const QString body = a.mid(2);
        const int eq = body.indexOf(u'=');
        const QString name = eq < 0 ? body : body.left(eq);
        if (!ordered.contains(name))
            continue;
        if (eq >= 0)
            out.push_back({name, body.mid(eq + 1)});
        else if (i + 1 < args.size())
            out.push_back({name, args[++i]});
    }
    return out;
}

void createVariable(TRpRTF &report, const OrderedArg &arg)
{
    QString name;
    QString text;
    splitAssignment(arg.value, name, text);
    if (arg.option == u"var") {
        report.CreateVar(name, text);
    } else if (arg.option == u"num") {
        long double value = 0;
        if (!TryStrToFloat(text, value, InvariantFormatSettings()))
            throw UsageError(("not a number: " + text).toStdString());
        report.CreateVar(name, value);
    } else if (arg.option == u"bool") {
        if (text.compare(u"true", Qt::CaseInsensitive) != 0 &&
            text.compare(u"false", Qt::CaseInsensitive) != 0)
            throw UsageError(("expected true or false: " + text).toStdString());
        report.CreateVar(name, text.compare(u"true", Qt::CaseInsensitive) == 0);
    } else if (arg.option == u"date") {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (!d.isValid() || text.size() != 10)
            throw UsageError(("expected YYYY-MM-DD: " + text).toStdString());
        report.CreateVar(name, DateTimeFromQDate(d), true);
    } else {
        const QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid())
            throw UsageError(("expected YYYY-MM-DDTHH:MM:SS: " + text).toStdString());
        report.CreateVar(name, DateTimeFromQDateTime(dt), false);
    }
}

// --selected NAME=1,4,7
void selectRecords(TRpRTF &report, const std::vector<TRpDataSet *> &dataSets, const QString &value)
{
    QString name;
    QString list;
    splitAssignment(value, name, list);
    TRpDataSet *target = nullptr;
    for (TRpDataSet *ds : dataSets)
        if (ds->Name().compare(name, Qt::CaseInsensitive) == 0)
            target = ds;
    if (!target)
        throw UsageError(("--selected names no data set: " + name).toStdString());
    QList<int> records;
    for (const QString &part : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int record = part.trimmed().toInt(&ok);
        if (!ok || record < 1)
            throw UsageError(("--selected takes record numbers from 1: " + part).toStdString());
        records.append(record);
    }
    try {
        RpScanSelectedRecords(report, target, records);
    } catch (const std::out_of_range &e) {
        throw UsageError(e.what());
    }
}

void printError(const TRpRTF &report, const QString &templateName, const QString &message)
{
    const TRpTemplatePos &at = report.LastErrLocation();
    QString line = QStringLiteral("rtfreport: ");
    if (at.line > 0)
        line += templateName + u':' + QString::number(at.line) + u':' + QString::number(at.column) +
                QStringLiteral(": ");
    std::fprintf(stderr, "%s\n", (line + message).toLocal8Bit().constData());
}

/// Warnings go to standard error as they arise, placed like compilers place theirs.
void printWarnings(TRpRTF &report, const QString &templateName)
{
    report.OnWarning = [templateName](const TRpWarning &w) {
        const QString line = templateName + u':' + QString::number(w.at.line) + u':' +
                             QString::number(w.at.column) + QStringLiteral(": warning: ") +
                             w.message;
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    };
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rtfreport"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fills an RTF template with variables and CSV or JSON data sets."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Result file (default: standard output)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption var(QStringLiteral("var"), QStringLiteral("String variable."),
                                 QStringLiteral("NAME=TEXT"));
    const QCommandLineOption num(QStringLiteral("num"),
                                 QStringLiteral("Number variable (\".\" decimal point)."),
                                 QStringLiteral("NAME=NUMBER"));
    const QCommandLineOption boolean(QStringLiteral("bool"), QStringLiteral("Boolean variable."),
                                     QStringLiteral("NAME=true|false"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("Date variable."),
                                  QStringLiteral("NAME=YYYY-MM-DD"));
    const QCommandLineOption datetime(QStringLiteral("datetime"),
                                      QStringLiteral("Date and time variable."),
                                      QStringLiteral("NAME=YYYY-MM-DDTHH:MM:SS"));
    const QCommandLineOption dataset(
        QStringLiteral("dataset"),
        QStringLiteral("CSV data set; in order they are also A, B, C ..."),
        QStringLiteral("NAME=FILE.csv"));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("JSON data set: an array of flat objects; counts in the A, B, C ... order "
                       "too."),
        QStringLiteral("NAME=FILE.json"));
    const QCommandLineOption sql(
        QStringLiteral("sql"),
        QStringLiteral("Firebird data set: the rows of a query on --database, run read-only; "
                       "counts in the A, B, C ... order too."),
        QStringLiteral("NAME=QUERY"));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("Firebird database of --sql: a file (embedded engine) or host:path."),
        QStringLiteral("DB"));
    const QCommandLineOption blobRoot(
        QStringLiteral("blob-root"),
        QStringLiteral("Folder the blob cells of the CSV data sets may name files in "
                       "(default: each CSV file's own folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption option(
        QStringLiteral("option"), QStringLiteral("Adds a report option (eoClearMissedFields ...)."),
        QStringLiteral("NAME"));
    const QCommandLineOption noOption(QStringLiteral("no-option"),
                                      QStringLiteral("Removes a report option."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption trueValue(QStringLiteral("true-value"),
                                       QStringLiteral("Text of a true Boolean."),
                                       QStringLiteral("TEXT"));
    const QCommandLineOption falseValue(QStringLiteral("false-value"),
                                        QStringLiteral("Text of a false Boolean."),
                                        QStringLiteral("TEXT"));
    const QCommandLineOption charset(QStringLiteral("charset"),
                                     QStringLiteral("Font character set of the result (0-255)."),
                                     QStringLiteral("N"));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("Language number written before values."),
                                  QStringLiteral("N"));
    const QCommandLineOption unicode(QStringLiteral("unicode"),
                                     QStringLiteral("Write characters above U+00FF as \\u."));
    const QCommandLineOption locale(QStringLiteral("locale"),
                                    QStringLiteral("Locale of number and date texts."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Open the result with the desktop's viewer."));
    const QCommandLineOption pdfOutput(
        QStringLiteral("pdf"),
        QStringLiteral("Write a PDF made by LibreOffice (also when the output ends in .pdf)."));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Compile only and list the variables, fields and functions used."));
    const QCommandLineOption strict(
        QStringLiteral("strict"),
        QStringLiteral("Fail on fields naming a missing variable or data-set field."));
    const QCommandLineOption selected(
        QStringLiteral("selected"),
        QStringLiteral("Scans over data set NAME visit only these records (1-based, in order)."),
        QStringLiteral("NAME=1,4,7"));
    parser.addOptions({output,   var,       num,        boolean,  date,     datetime,
                       dataset,  json,      sql,        database, blobRoot, option,
                       noOption, trueValue, falseValue, charset,  lang,     unicode,
                       locale,   open,      pdfOutput,  check,    strict,   selected});
    parser.addPositionalArgument(QStringLiteral("TEMPLATE"), QStringLiteral("RTF template."));
    parser.addPositionalArgument(QStringLiteral("OUTPUT"),
                                 QStringLiteral("Result file, as -o (optional)."), "[OUTPUT]");

    const auto usageError = [](const QString &message) {
        std::fprintf(stderr, "rtfreport: %s\nTry 'rtfreport --help' for more information.\n",
                     message.toLocal8Bit().constData());
        return exitUsage;
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        std::fputs(helpDetails, stdout);
        return std::fflush(stdout) == 0 ? 0 : exitFailed;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() || positional.size() > 2)
        return usageError(QStringLiteral("expected one TEMPLATE (and at most one OUTPUT)"));
    const QString templateName = positional[0];
    QString outFile = parser.value(output);
    if (positional.size() == 2) {
        if (!outFile.isEmpty())
            return usageError(QStringLiteral("the output is given twice"));
        outFile = positional[1];
    }
    if (parser.isSet(open) && outFile.isEmpty())
        return usageError(QStringLiteral("--open needs an output file"));
    if (!outFile.isEmpty() && RpIsSameFile(templateName, outFile)) {
        std::fprintf(stderr, "rtfreport: the output %s is the template itself; nothing written\n",
                     outFile.toLocal8Bit().constData());
        return exitFailed;
    }

    FirebirdUse firebird; // declared first: the engine ends after every data set is gone
    TRpRTF report;
    std::vector<std::unique_ptr<TRpDataSet>> owned;
    std::vector<TRpDataSet *> dataSets;
    try {
        if (parser.isSet(locale)) {
            const QString name = parser.value(locale);
            const QLocale l(name);
            if (l == QLocale::c() && name != u"C" && name != u"POSIX")
                throw UsageError(("unknown locale: " + name).toStdString());
            QLocale::setDefault(l);
            report.SetLocale(l);
        } else {
            report.SetLocale(QLocale());
        }
        TRpRTFOptions options = report.Options();
        for (const QString &name : parser.values(option))
            options |= optionByName(name);
        for (const QString &name : parser.values(noOption))
            options &= ~TRpRTFOptions(optionByName(name));
        report.SetOptions(options);
        if (parser.isSet(trueValue))
            report.SetTrueValue(parser.value(trueValue));
        if (parser.isSet(falseValue))
            report.SetFalseValue(parser.value(falseValue));
        bool ok = true;
        if (parser.isSet(charset)) {
            const uint v = parser.value(charset).toUInt(&ok);
            if (!ok || v > 255)
                throw UsageError("--charset takes 0 to 255");
            report.SetCharset(static_cast<std::uint8_t>(v));
        }
        if (parser.isSet(lang)) {
            const uint v = parser.value(lang).toUInt(&ok);
            if (!ok || v > 65535)
                throw UsageError("--lang takes 0 to 65535");
            report.SetLang(static_cast<std::uint16_t>(v));
        }
        report.SetUnicodeByDefault(parser.isSet(unicode));
        report.SetStrict(parser.isSet(strict));
        for (const OrderedArg &arg : orderedArgs(QCoreApplication::arguments())) {
            if (arg.option != u"dataset" && arg.option != u"json" && arg.option != u"sql") {
                createVariable(report, arg);
                continue;
            }
            QString name;
            QString file;
            splitAssignment(arg.value, name, file);
            if (arg.option == u"sql") {
                if (!parser.isSet(database))
                    throw UsageError("--sql needs --database");
                firebird.Attaching();
                owned.push_back(zc::fb::TFbDataSet::ConnectReadOnly(parser.value(database), file));
            } else if (arg.option == u"json") {
                owned.push_back(std::make_unique<TRpJsonDataSet>(file));
            } else {
                auto csv = std::make_unique<TRpCsvDataSet>();
                csv->SetBlobRoot(parser.value(blobRoot));
                csv->LoadFromFile(file);
                owned.push_back(std::move(csv));
            }
            owned.back()->SetName(name);
            dataSets.push_back(owned.back().get());
        }
        for (const QString &value : parser.values(selected))
            selectRecords(report, dataSets, value);
    } catch (const UsageError &e) {
        return usageError(QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "rtfreport: %s\n", e.what());
        return exitFailed;
    }

    report.SetInFile(templateName);
    printWarnings(report, templateName);
    try {
        if (parser.isSet(check)) {
            report.CheckTemplate();
            for (const QString &line : report.TemplateUsage())
                std::printf("%s\n", line.toLocal8Bit().constData());
            return 0;
        }
        if (parser.isSet(pdfOutput) || IsPdfFileName(outFile))
            return writePdf(report, dataSets, outFile, parser.isSet(open));
        if (outFile.isEmpty()) {
            StandardOutput out;
            try {
                report.ExecuteStream(dataSets, &out);
            } catch (const EIOError &) {
                // The engine stops at the failed write; the reason is said below, as the
                // result's destination rather than as a fault of the template.
                if (out.Failure().isEmpty())
                    throw;
            }
            if (!out.Failure().isEmpty()) {
                std::fprintf(stderr, "rtfreport: cannot write the result to standard output: %s\n",
                             out.Failure().toLocal8Bit().constData());
                return exitFailed;
            }
            return 0;
        }
        report.SetOutFile(outFile);
        if (parser.isSet(open))
            report.ExecuteOpen(dataSets, 5);
        else
            report.Execute(dataSets);
    } catch (const std::exception &e) {
        printError(report, templateName, QString::fromUtf8(e.what()));
        return exitFailed;
    }
    return 0;
}
