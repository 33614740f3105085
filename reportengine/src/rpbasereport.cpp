// SPDX-License-Identifier: MIT
// Report component base: properties, the variable store, the variable handle and date texts.
#include <reportengine/rpbasereport.h>

#include "compiler/rpcompiler.h"
#include <reportengine/rpfunc.h>

#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rp {

namespace {

std::string Msg(const QString &text)
{
    return text.toStdString();
}

// A line has a name when its first "=" is at position 2 or later (1-based).
bool SplitLine(const QString &line, QString *name, QString *value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 1)
        return false;
    if (name)
        *name = line.left(eq);
    if (value)
        *value = line.mid(eq + 1);
    return true;
}

// Every access to a variable looks its name up, so ASCII names (nearly all) are compared in
// place instead of through upper-case copies.
bool SameNameIgnoringCase(QStringView a, QStringView b)
{
    const auto ascii = [](QStringView s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (!ascii(a) || !ascii(b))
        return a.toString().toUpper() == b.toString().toUpper();
    if (a.size() != b.size())
        return false;
    const auto up = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
    for (qsizetype i = 0; i < a.size(); ++i)
        if (up(a[i].unicode()) != up(b[i].unicode()))
            return false;
    return true;
}

QString ReplaceFirst(QString text, QChar from, QChar to)
{
    const qsizetype i = text.indexOf(from);
    if (i >= 0)
        text[i] = to;
    return text;
}

} // namespace

// ---- TRpVarList -------------------------------------------------------------------------------

TRpVarList &TRpVarList::operator=(const TRpVarList &other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TRpVarList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range(SRpListIndex1 + std::to_string(index) + SRpListIndex2);
}

const QString &TRpVarList::Strings(int index) const
{
    CheckIndex(index);
    return FLines[static_cast<size_t>(index)].Text;
}

void TRpVarList::SetStrings(int index, const QString &text)
{
    CheckIndex(index);
    FLines[static_cast<size_t>(index)].Text = text;
}

TRpVarListObject *TRpVarList::Objects(int index) const
{
    CheckIndex(index);
    return FLines[static_cast<size_t>(index)].Object.get();
}

void TRpVarList::SetObjects(int index, std::unique_ptr<TRpVarListObject> object)
{
    CheckIndex(index);
    FLines[static_cast<size_t>(index)].Object = std::move(object);
}

int TRpVarList::Add(const QString &text, std::unique_ptr<TRpVarListObject> object)
{
    FLines.push_back(Line{text, std::move(object)});
    return Count() - 1;
}

void TRpVarList::Delete(int index)
{
    CheckIndex(index);
    FLines.erase(FLines.begin() + index);
}

void TRpVarList::Clear()
{
    FLines.clear();
}

void TRpVarList::Assign(const TRpVarList &source)
{
    std::vector<Line> lines;
    lines.reserve(source.FLines.size());
    for (const Line &l : source.FLines)
        lines.push_back(
            Line{l.Text, l.Object ? std::make_unique<TRpVarListObject>(*l.Object) : nullptr});
    FLines = std::move(lines);
}

QStringList TRpVarList::Lines() const
{
    QStringList out;
    for (const Line &l : FLines)
        out << l.Text;
    return out;
}

// ---- Date texts -------------------------------------------------------------------------------

QString DateToVarStr(TDateTime d)
{
    int y, m, day;
    DecodeDate(d, y, m, day);
    return QStringLiteral("{%1-%2-%3}")
        .arg(y, 4, 10, QChar(u'0'))
        .arg(m, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'));
}

QString DateTimeToVarStr(TDateTime d)
{
    int h, n, s, ms;
    DecodeTime(d, h, n, s, ms);
    QString text = DateToVarStr(d);
    text.chop(1);
    return text + QStringLiteral(",%1:%2:%3:%4}")
                      .arg(h, 2, 10, QChar(u'0'))
                      .arg(n, 2, 10, QChar(u'0'))
                      .arg(s, 2, 10, QChar(u'0'))
                      .arg(ms, 3, 10, QChar(u'0'));
}

namespace {

int VarStrNumber(const QString &s, qsizetype pos, qsizetype len)
{
    return static_cast<int>(StrToInt64(s.mid(pos, len)));
}

TDateTime VarStrDatePart(const QString &s)
{
    return EncodeDate(VarStrNumber(s, 1, 4), VarStrNumber(s, 6, 2), VarStrNumber(s, 9, 2));
}

} // namespace

TDateTime VarStrToDate(const QString &s)
{
    if (s.size() < 12)
        throw std::runtime_error(Msg(s + QLatin1String(SRpInvalidDate)));
    return VarStrDatePart(s);
}

TDateTime VarStrToDateTime(const QString &s)
{
    if (s.size() < 12)
        throw std::runtime_error(Msg(s + QLatin1String(SRpInvalidDateTime)));
    const TDateTime date = VarStrDatePart(s);
    if (s.size() != 25 || s[11] != u',')
        return date;
    const TDateTime time = EncodeTime(VarStrNumber(s, 12, 2), VarStrNumber(s, 15, 2),
                                      VarStrNumber(s, 18, 2), VarStrNumber(s, 21, 3));
    // Before the epoch the day counts back but the time still counts forward.
    return date >= 0 ? date + time : date - time;
}

QString FloatToVarStr(long double value, const TFormatSettings &fs)
{
    const QString text = FloatToStr(value, fs);
    return fs.DecimalSeparator == u'.' ? text : ReplaceFirst(text, fs.DecimalSeparator, u'.');
}

// ---- TRpReportVariable -----------------------------------------------------------------------

TRpReportVariable::TRpReportVariable(TRpBaseReport *owner)
    : FOwnerBaseReport(owner), FLocal(owner == nullptr)
{
}

const TFormatSettings &TRpReportVariable::FmtSett() const
{
    if (FFmtSett)
        return *FFmtSett;
    if (FOwnerBaseReport)
        return FOwnerBaseReport->FmtSett;
    return ProcessFormatSettings();
}

void TRpReportVariable::SetLocal(bool local)
{
    if (local == FLocal)
        return;
    FLocal = local;
    FLocalValue.clear();
    FLocalType = rpdtUnknown;
}

int TRpReportVariable::Lookup(const char *operation) const
{
    const int n = FOwnerBaseReport ? FOwnerBaseReport->GetVarNumber(FVarName) : 0;
    if (n == 0)
        throw EIOError(operation + std::string(SRpVarNotFoundAfterOp) + Msg(FVarName));
    return n;
}

QString TRpReportVariable::ValueText() const
{
    if (FLocal)
        return FLocalValue;
    return FOwnerBaseReport->GetVarByNumber(Lookup(SRpGetVariable));
}

TRpDataType TRpReportVariable::DataType() const
{
    if (FLocal)
        return FLocalType;
    return FOwnerBaseReport->GetVarTypeByNumber(Lookup(SRpGetVariable));
}

void TRpReportVariable::Store(const QString &text, TRpDataType type)
{
    if (FLocal) {
        FLocalValue = text;
        FLocalType = type;
        return;
    }
    const int index = Lookup(SRpSetVariable) - 1;
    TRpVarList &list = FOwnerBaseReport->FVarList;
    list.SetStrings(index, FVarName + u'=' + text);
    list.SetObjects(index, std::make_unique<TRpVarListObject>(type));
}

QString TRpReportVariable::TrueText() const
{
    return FOwnerBaseReport ? FOwnerBaseReport->TrueValue() : QStringLiteral("True");
}

QString TRpReportVariable::AsString() const
{
    QString text = ValueText();
    switch (DataType()) {
    case rpdtNumber:
        if (FmtSett().DecimalSeparator != u'.')
            text = ReplaceFirst(text, u'.', FmtSett().DecimalSeparator);
        return text;
    case rpdtDateTime:
        if (text.size() < 12)
            return text;
        if (text[11] == u',')
            return DateTimeToStr(VarStrToDateTime(text), FmtSett());
        return DateToStr(VarStrToDate(text), FmtSett());
    default:
        return text;
    }
}

void TRpReportVariable::SetAsString(const QString &value)
{
    Store(value, rpdtString);
}

long double TRpReportVariable::AsFloat() const
{
    QString text = ValueText();
    if (RpTrim(text).isEmpty())
        text = QStringLiteral("0");
    if (FmtSett().DecimalSeparator != u'.')
        text = ReplaceFirst(text, u'.', FmtSett().DecimalSeparator);
    return StrToFloat(text, FmtSett());
}

void TRpReportVariable::SetAsFloat(long double value)
{
    Store(FloatToVarStr(value, FmtSett()), rpdtNumber);
}

std::int64_t TRpReportVariable::AsInteger() const
{
    QString text = ValueText();
    if (RpTrim(text).isEmpty())
        text = QStringLiteral("0");
    return StrToInt64(text);
}

void TRpReportVariable::SetAsInteger(std::int64_t value)
{
    Store(QString::number(value), rpdtNumber);
}

TDateTime TRpReportVariable::AsDate() const
{
    return VarStrToDate(ValueText());
}

void TRpReportVariable::SetAsDate(TDateTime value)
{
    Store(DateToVarStr(value), rpdtDateTime);
}

TDateTime TRpReportVariable::AsDateTime() const
{
    return VarStrToDateTime(ValueText());
}

void TRpReportVariable::SetAsDateTime(TDateTime value)
{
    Store(DateTimeToVarStr(value), rpdtDateTime);
}

bool TRpReportVariable::AsBoolean() const
{
    const QString text = ValueText();
    return text == TrueText() || text.toUpper() == QLatin1String("TRUE");
}

void TRpReportVariable::SetAsBoolean(bool value)
{
    QString t = QStringLiteral("True");
    QString f = QStringLiteral("False");
    // Equal texts could not be read back, so the fixed words stand in for them.
    if (FOwnerBaseReport && FOwnerBaseReport->TrueValue() != FOwnerBaseReport->FalseValue()) {
        t = FOwnerBaseReport->TrueValue();
        f = FOwnerBaseReport->FalseValue();
    }
    Store(value ? t : f, rpdtBoolean);
}

void TRpReportVariable::SetDataType(TRpDataType type)
{
    if (FLocal) {
        FLocalType = type;
        return;
    }
    const int index = Lookup(SRpSetVariable) - 1;
    FOwnerBaseReport->FVarList.SetObjects(index, std::make_unique<TRpVarListObject>(type));
}

void TRpReportVariable::ChangeVarName(const QString &newVarName)
{
    if (!FLocal) {
        const int n = FOwnerBaseReport ? FOwnerBaseReport->GetVarNumber(FVarName) : 0;
        if (n == 0)
            throw EIOError(SRpVarNotFound + Msg(FVarName));
        if (FOwnerBaseReport->GetVarNumber(newVarName) > 0)
            throw EIOError(SRpVarRename1 + Msg(newVarName) + SRpVarRename2);
        const QString value = FOwnerBaseReport->GetVarByNumber(n);
        FOwnerBaseReport->FVarList.SetStrings(n - 1, newVarName + u'=' + value);
    }
    FVarName = newVarName;
}

// ---- TRpBaseReport: properties ---------------------------------------------------------------

TRpBaseReport::TRpBaseReport(QObject *owner) : QObject(owner), FmtSett(DefaultFormatSettings())
{
    FVar = std::make_unique<TRpReportVariable>(this);
}

TRpBaseReport::~TRpBaseReport() = default;

void TRpBaseReport::SetInFile(const QString &value)
{
    if (value == FInFile)
        return;
    FInFile = value;
    FTmLoaded = false;
}

void TRpBaseReport::SetOutFile(const QString &value)
{
    if (value != FOutFile)
        FOutFile = value;
}

void TRpBaseReport::SetVarList(const TRpVarList &source)
{
    FVarList.Assign(source);
}

void TRpBaseReport::SetTrueValue(const QString &value)
{
    if (value != FTrueValue)
        FTrueValue = value;
}

void TRpBaseReport::SetFalseValue(const QString &value)
{
    if (value != FFalseValue)
        FFalseValue = value;
}

TRpUDFList *TRpBaseReport::UDFList() const
{
    return FUDFList.data();
}

void TRpBaseReport::SetUDFList(TRpUDFList *list)
{
    if (list == UDFList())
        return;
    if (FExecute)
        throw EIllegalFunctionUse(SRpUDFListWhileExecuting);
    if (list && list->Version() != Version())
        throw EIllegalFunctionUse(SRpUDFVersion1 + std::to_string(Version()) + SRpUDFVersion2 +
                                  std::to_string(list->Version()));
    // QPointer drops the list by itself when it is destroyed.
    FUDFList = list;
}

void TRpBaseReport::SetLocale(const QLocale &locale)
{
    FmtSett = FormatSettingsFromLocale(locale);
    FLocale = locale;
}

void TRpBaseReport::SetLocale(const QString &localeName)
{
    SetLocale(localeName.isEmpty() ? QLocale() : QLocale(localeName));
}

QByteArray TRpBaseReport::WriteVarDataTypes() const
{
    QByteArray out;
    auto put = [&out](std::int32_t v) {
        char buf[4];
        qToLittleEndian(v, buf);
        out.append(buf, 4);
    };
    put(FVarList.Count());
    for (int i = 0; i < FVarList.Count(); ++i)
        put(DataType2Int(GetVarTypeByNumber(i + 1)));
    return out;
}

void TRpBaseReport::ReadVarDataTypes(const QByteArray &bytes)
{
    qsizetype pos = 0;
    auto get = [&]() {
        if (pos + 4 > bytes.size())
            throw EIOError(SRpStreamRead);
        const auto v = qFromLittleEndian<std::int32_t>(bytes.constData() + pos);
        pos += 4;
        return v;
    };
    const std::int32_t n = get();
    for (std::int32_t i = 0; i < n; ++i) {
        const TRpDataType type = Int2DataType(get());
        FVarList.SetObjects(i, std::make_unique<TRpVarListObject>(type));
    }
}

// ---- TRpBaseReport: variables ----------------------------------------------------------------

int TRpBaseReport::GetVarNumber(const QString &ident) const
{
    for (int i = 0; i < FVarList.Count(); ++i) {
        const QString &line = FVarList.Strings(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 1 && SameNameIgnoringCase(QStringView(line).left(eq), ident))
            return i + 1;
    }
    return 0;
}

QString TRpBaseReport::GetVarByNumber(int number) const
{
    QString value;
    if (number < 1 || number > FVarList.Count())
        return value;
    SplitLine(FVarList.Strings(number - 1), nullptr, &value);
    return value;
}

TRpDataType TRpBaseReport::GetVarTypeByNumber(int number) const
{
    if (number < 1 || number > FVarList.Count())
        return rpdtUnknown;
    const TRpVarListObject *o = FVarList.Objects(number - 1);
    return o ? o->FDataType : rpdtUnknown;
}

QString TRpBaseReport::NumberText(long double value) const
{
    return FloatToVarStr(value, FmtSett);
}

void TRpBaseReport::AddVarLine(const QString &name, const QString &text, TRpDataType type)
{
    if (GetVarNumber(name) > 0)
        throw EIOError(SRpVarExists1 + Msg(name) + SRpVarExists2);
    FVarList.Add(RpTrim(name) + u'=' + text, std::make_unique<TRpVarListObject>(type));
}

void TRpBaseReport::CreateVar(const QString &name, const QString &value)
{
    AddVarLine(name, value, rpdtString);
}

void TRpBaseReport::CreateVar(const QString &name, bool value)
{
    AddVarLine(name, value ? FTrueValue : FFalseValue, rpdtBoolean);
}

void TRpBaseReport::CreateVar(const QString &name, double value)
{
    // Checked before converting so that a conversion cannot hide the duplicate.
    if (GetVarNumber(name) > 0)
        throw EIOError(SRpVarExists1 + Msg(name) + SRpVarExists2);
    AddVarLine(name, NumberText(value), rpdtNumber);
}

void TRpBaseReport::CreateVar(const QString &name, long double value)
{
    if (GetVarNumber(name) > 0)
        throw EIOError(SRpVarExists1 + Msg(name) + SRpVarExists2);
    AddVarLine(name, NumberText(value), rpdtNumber);
}

void TRpBaseReport::CreateVar(const QString &name, TDateTime value, bool ignoreTime)
{
    if (GetVarNumber(name) > 0)
        throw EIOError(SRpVarExists1 + Msg(name) + SRpVarExists2);
    AddVarLine(name, ignoreTime ? DateToVarStr(value) : DateTimeToVarStr(value), rpdtDateTime);
}

void TRpBaseReport::ClearVars()
{
    FVarList.Clear();
    FVar->SetVarName(QString());
}

void TRpBaseReport::FreeVar(const QString &name)
{
    const int n = GetVarNumber(name);
    if (n > 0)
        FVarList.Delete(n - 1);
}

TRpReportVariable *TRpBaseReport::VarByName(const QString &varName)
{
    FVar->SetVarName(varName);
    return FVar.get();
}

} // namespace rp
