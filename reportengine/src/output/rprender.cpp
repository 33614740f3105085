// SPDX-License-Identifier: MIT
// Value rendering: variables, constants, data-set fields and results as RTF text.
#include <reportengine/rprtf.h>

#include "compiler/fieldkind.h"
#include "compiler/rpcompiler.h"
#include "messages.h"
#include "reader/rpreader.h"
#include <reportengine/rpconsts.h>

namespace rp {

namespace {

bool isNumericFormat(int n)
{
    return n >= 1 && n < RpBaseFormatsCount && RpBaseFormatsArr[n].isfloat;
}

TFloatFormat floatFormatOf(int n)
{
    switch (RpBaseFormatsArr[n].floatformat) {
    case TRpFloatFormat::Exponent:
        return ffExponent;
    case TRpFloatFormat::Fixed:
        return ffFixed;
    case TRpFloatFormat::Number:
        return ffNumber;
    case TRpFloatFormat::Currency:
        return ffCurrency;
    default:
        return ffGeneral;
    }
}

[[noreturn]] void unknownFormat(int n)
{
    throw EIllegalFunctionUse((msg::UnknownFormatFunction + RpFormatName(n)).toStdString());
}

bool isBracketNumber(const QString &s, int &number)
{
    if (s.size() < 3 || s.front() != u'(' || s.back() != u')')
        return false;
    for (int i = 1; i < s.size() - 1; ++i)
        if (!s[i].isDigit() || s[i].unicode() > 0x7F)
            return false;
    bool ok = false;
    number = s.mid(1, s.size() - 2).toInt(&ok);
    if (!ok)
        number = INT_MAX;
    return true;
}

} // namespace

TRpDataType TRpRTF::FieldType2VarType(TRpFieldType type)
{
    switch (type) {
    case TRpFieldType::ftString:
    case TRpFieldType::ftFixedChar:
    case TRpFieldType::ftWideString:
    case TRpFieldType::ftMemo:
    case TRpFieldType::ftWideMemo:
        return rpdtString;
    case TRpFieldType::ftSmallint:
    case TRpFieldType::ftInteger:
    case TRpFieldType::ftWord:
    case TRpFieldType::ftAutoInc:
    case TRpFieldType::ftLargeint:
    case TRpFieldType::ftFloat:
    case TRpFieldType::ftCurrency:
        return rpdtNumber;
    case TRpFieldType::ftBoolean:
        return rpdtBoolean;
    case TRpFieldType::ftDate:
    case TRpFieldType::ftTime:
    case TRpFieldType::ftDateTime:
        return rpdtDateTime;
    default:
        return rpdtUnknown;
    }
}

void TRpRTF::writeText(const QString &value, const QString &markup)
{
    const QString escaped = rp::txt2rtf(value, FUnicodeByDefault);
    QString text;
    text.reserve(escaped.size() + markup.size() + 12);
    text += QLatin1String("\\lang");
    text += QString::number(FLang);
    text += u' ';
    text += escaped;
    text += markup;
    wr(text);
}

void TRpRTF::writeMissing(const TRpRowContent &c, const QString &what)
{
    if (FStrict)
        throw EIOError((what + QLatin1String(msg::NotFoundColon) +
                        (c.Dalias.isEmpty() ? c.Field : c.Dalias + u':' + c.Field))
                           .toStdString());
    wr((FOptions & eoClearMissedFields) ? c.sout : c.stestf);
}

void TRpRTF::OutVar()
{
    TRpRowContent c;
    CmReadField(c);
    if (GetVarNumber(c.Field) <= 0) {
        writeMissing(c, QLatin1String(msg::MissingReportVariable));
        return;
    }
    WriteVarRTF(VarByName(c.Field)->AsString(), c.fmt, c.sout);
}

void TRpRTF::OutConst(std::int32_t kind)
{
    TRpRowContent c;
    CmReadField(c);
    switch (kind) {
    case fkNumber: {
        // Through a number variable, so that the point becomes the locale's separator.
        TRpReportVariable number(this);
        number.SetLocal(true);
        number.SetAsFloat(StrToFloat(c.Field, InvariantFormatSettings()));
        WriteVarRTF(number.AsString(), c.fmt, c.sout);
        break;
    }
    case fkBoolean:
        if (c.fmt.fmtnumber == fmtNone)
            c.fmt.fmtnumber = fmtFBOOL;
        WriteVarRTF(c.Field, c.fmt, c.sout);
        break;
    case fkDate:
        WriteVarRTF(DateConstToStr(c.Field), c.fmt, c.sout);
        break;
    default:
        WriteVarRTF(c.Field, c.fmt, c.sout);
        break;
    }
}

void TRpRTF::DefineFieldNumber(TRpRowContent &c)
{
    c.NField = -1;
    c.DefinedType = rcsimple;
    const std::int32_t at = CtoN(c.Dalias);
    if (at < 0 || at >= static_cast<std::int32_t>(FDFiles.size()) || !FDFiles[at])
        return;
    TRpDataSet *ds = FDFiles[at];
    int number = 0;
    if (isBracketNumber(c.Field, number)) {
        if (number <= ds->FieldCount() - 1) {
            c.NField = number;
            c.DefinedType = rcdata;
        }
        return;
    }
    if (TRpField *f = ds->FindField(c.Field)) {
        c.NField = f->Index();
        c.DefinedType = rcdata;
    }
}

void TRpRTF::resolveFieldItem(TRpRowContent &c, std::int32_t itemPos)
{
    if (c.Defined)
        return;
    DefineFieldNumber(c);
    c.Defined = true;
    // Store the lookup in the item so that repeated passes skip it.
    TRpMemoryStream *cm = CmStream();
    const qint64 end = cm->Position();
    const std::int32_t cursor = Fpnt;
    const std::int32_t lastFpnt = FCmLastFpnt;
    cm->Seek(itemPos);
    CmUpdateField(c.NField, c.DefinedType, true);
    cm->Seek(end);
    Fpnt = cursor;
    FCmLastFpnt = lastFpnt;
}

TRpField *TRpRTF::fieldOf(const TRpRowContent &c) const
{
    const std::int32_t at = const_cast<TRpRTF *>(this)->CtoN(c.Dalias);
    if (at < 0 || at >= static_cast<std::int32_t>(FDFiles.size()) || !FDFiles[at] || c.NField < 0 ||
        c.NField >= FDFiles[at]->FieldCount())
        return nullptr;
    return FDFiles[at]->Fields(c.NField);
}

void TRpRTF::OutAnyField()
{
    const std::int32_t itemPos = FRunItemPos;
    TRpRowContent c;
    CmReadField(c);
    resolveFieldItem(c, itemPos);
    OutField(c);
}

void TRpRTF::OutField(const TRpRowContent &c)
{
    TRpField *field = c.DefinedType == rcsimple ? nullptr : fieldOf(c);
    if (!field) {
        writeMissing(c, QLatin1String(msg::MissingDataSetField));
        return;
    }
    if (field->DataSet()->Eof()) {
        wr(QLatin1String(" ") + c.sout);
        return;
    }
    WriteFieldRTF(field, c.fmt, c.sout);
}

QString TRpRTF::dateFormatText(const TRpFieldFormat &format)
{
    const QString f = RpTrim(CmGetString(format.precision));
    if (f.isEmpty())
        return f;
    if (RpIsQuoted(f))
        return f.mid(1, f.size() - 2);
    return VarByName(f)->AsString();
}

void TRpRTF::WriteVarRTF(const QString &value, const TRpFieldFormat &format, const QString &markup)
{
    const int n = format.fmtnumber;
    if (isNumericFormat(n)) {
        writeText(MakeFloatString(value, format), markup);
        return;
    }
    switch (n) {
    case fmtNone:
        writeText(value, markup);
        break;
    case fmtFIMG:
        WriteGraphicVarRTF(value, format, markup);
        break;
    case fmtFLNK:
        WriteLink(value, markup);
        break;
    case fmtFDTM: {
        const QString pattern = dateFormatText(format);
        writeText(FormatDateTime(pattern, StrToDateTime(value, FmtSett), FmtSett), markup);
        break;
    }
    case fmtFBOOL:
        writeText((value == FTrueValue || value.toUpper() == u"TRUE") ? FTrueValue : FFalseValue,
                  markup);
        break;
    case fmtFRTF:
        WriteRtfValue(value, markup);
        break;
    default:
        unknownFormat(n);
    }
}

QString TRpRTF::MakeFloatString(const QString &value, const TRpFieldFormat &format)
{
    if (RpTrim(value).isEmpty())
        return value;
    QString v = value;
    const QChar sep = FmtSett.DecimalSeparator;
    if (sep != u'.') {
        const int dot = v.indexOf(u'.');
        if (dot >= 0)
            v[dot] = sep;
    }
    long double x = 0;
    if (!TryStrToFloat(v, x, FmtSett))
        return v;
    const int n = format.fmtnumber;
    QString result =
        RpTrim(FloatToStrF(x, floatFormatOf(n), format.precision, format.decimals, FmtSett));
    if (ZeroOut(result) && (FOptions & eoNumericFormatClearZero))
        return QString();
    if (n == fmtFFIXR || n == fmtFNUMR) {
        const int at = result.indexOf(sep);
        if (at < 0) {
            result += DecimalRTerminator;
        } else {
            const QString tail = result.mid(at + 1);
            result[at] = DecimalRSeparator;
            if (!tail.isEmpty() && ZeroOut(tail))
                result = result.left(at) + DecimalRTerminator;
        }
    }
    return result;
}

QString TRpRTF::GetFieldString(TRpField *field, const TRpFieldFormat &format)
{
    const int n = format.fmtnumber;
    switch (field->DataType()) {
    case TRpFieldType::ftBoolean:
        return field->AsBoolean() ? FTrueValue : FFalseValue;
    case TRpFieldType::ftDate:
    case TRpFieldType::ftTime:
    case TRpFieldType::ftDateTime: {
        if (n == fmtFDTM)
            return FormatDateTime(dateFormatText(format), field->AsDateTime(), FmtSett);
        QString text = field->AsString();
        const int space = text.indexOf(u' ');
        if (space >= 8)
            text = text.left(space);
        return text;
    }
    default:
        break;
    }
    const QString text = RpTrimRight(field->AsString());
    if (n == fmtNone)
        return text;
    if (isNumericFormat(n))
        return MakeFloatString(text, format);
    if (n == fmtFDTM)
        return FormatDateTime(dateFormatText(format), StrToDateTime(text, FmtSett), FmtSett);
    if (n == fmtFBOOL)
        return (text == FTrueValue || text.toUpper() == u"TRUE") ? FTrueValue : FFalseValue;
    unknownFormat(n);
}

void TRpRTF::WriteFieldRTF(TRpField *field, const TRpFieldFormat &format, const QString &markup)
{
    const int n = format.fmtnumber;
    if (n == fmtFIMG || field->DataType() == TRpFieldType::ftGraphic) {
        TRpFieldFormat picture = format;
        if (n != fmtFIMG) {
            picture.fmtnumber = fmtFIMG;
            picture.precision = 0;
        }
        WriteGraphicRTF(field, picture, markup);
        return;
    }
    if (n == fmtNone || isNumericFormat(n) || n == fmtFDTM || n == fmtFBOOL) {
        writeText(GetFieldString(field, format), markup);
        return;
    }
    if (n == fmtFLNK) {
        WriteLink(field->AsString(), markup);
        return;
    }
    if (n == fmtFRTF) {
        WriteRtfValue(field->AsString(), markup);
        return;
    }
    unknownFormat(n);
}

void TRpRTF::WriteLink(const QString &text, const QString &markup)
{
    QString target = text;
    QString caption;
    const int bar = text.indexOf(u'|');
    if (bar >= 0) {
        target = text.left(bar);
        caption = text.mid(bar + 1);
    }
    if (caption.isEmpty())
        caption = target;
    const QString lang = QString::number(FLang);
    wr(QLatin1String("{\\field{\\*\\fldinst {\\lang") + lang + QLatin1String(" HYPERLINK \"") +
       rp::txt2rtf(target, FUnicodeByDefault) + QLatin1String("\" }}{\\fldrslt \\lang") + lang +
       u' ' + rp::txt2rtf(caption, FUnicodeByDefault) + QLatin1String("}}") + markup);
}

} // namespace rp
