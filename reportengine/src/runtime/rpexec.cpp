// SPDX-License-Identifier: MIT
// Expression execution: calls compiled to postfix items, and the stack machine that runs them.
#include <reportengine/rprtf.h>

#include "compiler/fieldkind.h"
#include "compiler/rpcompiler.h"
#include "compiler/rpfunctable.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>

#include <algorithm>
#include <memory>
#include <set>

namespace rp {

namespace {

constexpr std::int32_t fnSum = BuiltInNumber(BuiltIn::Sum);
constexpr std::int32_t fnCts = BuiltInNumber(BuiltIn::Cts);
constexpr std::int32_t fnIif = BuiltInNumber(BuiltIn::Iif);
constexpr std::int32_t fnIifTest = BuiltInNumber(BuiltIn::SysIifTest);
constexpr std::int32_t fnIifTrue = BuiltInNumber(BuiltIn::SysIifTrue);
constexpr std::int32_t fnIifFalse = BuiltInNumber(BuiltIn::SysIifFalse);
// The three IIF parts follow the test: part i of an IIF is SYS_IIF_TEST - i.
static_assert(fnIifTrue == fnIifTest - 1 && fnIifFalse == fnIifTest - 2);

[[noreturn]] void illegal(const QString &msg)
{
    throw EIllegalFunctionUse(msg.toStdString());
}

bool isAccumulator(std::int32_t f)
{
    return f <= fnSum && f >= fnCts;
}

} // namespace

// ---- Compiling ------------------------------------------------------------------------------

void TRpRTF::ProcessUDF(const QString &callText, const QString &exprText, const QString &markup,
                        const TRpFieldFormat &format, bool inDocument, bool isManage)
{
    QStringList args;
    std::int32_t number = 0;
    if (!ProcessUDFName(callText, args, number)) {
        // Not a function of this report: the field stays as it was written.
        if (FStrict)
            illegal(QLatin1String(msg::FunctionNotFound) + callText);
        if (FOptions & eoClearMissedFields)
            CmSaveRawItem(markup);
        else
            CmSaveBlocItem();
        return;
    }
    if (format.fmtnumber > 0 && !CheckUdfFormat(number, format))
        illegal(QLatin1String(msg::FormatFunction) + RpFormatName(format.fmtnumber) +
                QLatin1String(msg::DoesNotConformToExpression) + callText);
    TRpRowContent c;
    c.Field = exprText;
    c.NField = number;
    c.sout = markup;
    c.fmt = format;
    c.ftype = rcdata;
    c.DefinedType = rcdata;
    c.Defined = true;
    CmSaveExprBeginItem(c, inDocument, isManage, FScs ? FScs->GetCurrentScanNum() : 0);
    ProcessUDFArgs(number, args, 0, 0, 0);
    CmSaveExprEndItem();
}

void TRpRTF::ProcessExpression(const QString &fieldText, const QString &markup,
                               const TRpFieldFormat &format)
{
    QString expression = fieldText;
    const QString call = ConvertExpression(expression, (FOptions & eoDotAsColon) != 0);
    ProcessUDF(call, fieldText, markup, format);
}

void TRpRTF::ProcessUDFArgs(std::int32_t number, const QStringList &args, std::int32_t iifNumber,
                            std::int32_t parent, std::int32_t argIndex)
{
    const QString name = number < 0 ? QString::fromLatin1(BaseFunctionById(number)->name)
                                    : UDFList()->Functions().Items(number)->Name();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("SYS_")))
        noteUsage(QStringLiteral("function"), name.toUpper());
    const std::int32_t n = (number == fnIif) ? GetNextIifNumber() : iifNumber;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        TRpFieldFormat format;
        QString first;
        const std::int32_t kind = fldnum(a, format, first);
        if (format.fmtnumber != fmtNone)
            illegal(QLatin1String(msg::IllegalFunctionUseExpression) + a +
                    QLatin1String(msg::HasFormatFunction) + RpFormatName(format.fmtnumber) +
                    QLatin1String(msg::NotAllowedWithinExpression));
        switch (kind) {
        case fkVariable:
        case fkNumber:
        case fkString:
        case fkBoolean:
        case fkDate:
        case fkDotField:
        case fkColonField:
            CmSaveField(kind, valueContent(kind, first, QString(), QString(), TRpFieldFormat{}));
            break;
        case fkFunction:
        case fkExpression: {
            QString call = first;
            if (kind == fkExpression)
                call = ConvertExpression(call, (FOptions & eoDotAsColon) != 0);
            QStringList inner;
            std::int32_t innerNumber = 0;
            if (!ProcessUDFName(call, inner, innerNumber))
                illegal(QLatin1String(msg::FunctionNotFound) + a);
            ProcessUDFArgs(innerNumber, inner, n, number, i);
            break;
        }
        default:
            illegal(QLatin1String(msg::CannotUse) +
                    (a.isEmpty() ? QLatin1String(msg::EmptyString) : a) +
                    QLatin1String(msg::AsArgumentForExpression));
        }
        if (number == fnIif && i <= 2)
            CmSaveExecuteUDFItem(fnIifTest - i, 1, fnIif, i, n);
    }
    CmSaveExecuteUDFItem(number, static_cast<std::int32_t>(args.size()), parent, argIndex,
                         iifNumber);
}

// ---- Running --------------------------------------------------------------------------------

/// The argument stack of one execution and the objects it owns.
struct TRpRTF::ExecFrame
{
    std::vector<TRpObject *> stack;
    std::vector<std::unique_ptr<TRpObject>> owned;
    std::set<std::int32_t> skip;
    QString expression;

    // Room for a typical field's values at once, instead of regrowing for each of them.
    ExecFrame()
    {
        stack.reserve(8);
        owned.reserve(8);
    }

    TRpObject *own(std::unique_ptr<TRpObject> object)
    {
        owned.push_back(std::move(object));
        return owned.back().get();
    }
};

TRpReportVariable *TRpRTF::newLocal(ExecFrame &frame)
{
    auto v = std::make_unique<TRpReportVariable>(this);
    v->SetLocal(true);
    return static_cast<TRpReportVariable *>(frame.own(std::move(v)));
}

void TRpRTF::pushValueItem(ExecFrame &frame, std::int32_t id, bool skipping)
{
    const std::int32_t itemPos = FRunItemPos;
    TRpRowContent c;
    CmReadField(c);
    switch (id) {
    case fkVariable: {
        auto ref = std::make_unique<TRpReportVariable>(this);
        ref->SetVarName(c.Field);
        frame.stack.push_back(frame.own(std::move(ref)));
        return;
    }
    case fkDotField:
    case fkColonField: {
        if (skipping) {
            frame.stack.push_back(nullptr);
            return;
        }
        resolveFieldItem(c, itemPos);
        TRpField *field = c.DefinedType == rcsimple ? nullptr : fieldOf(c);
        if (!field)
            illegal(QLatin1String(msg::IllegalFunctionUse) + frame.expression +
                    QLatin1String(msg::DataSetFieldInExpression) + c.Field +
                    QLatin1String(msg::NotFoundSuffix));
        frame.stack.push_back(field);
        return;
    }
    default:
        break;
    }
    TRpReportVariable *v = newLocal(frame);
    frame.stack.push_back(v);
    if (skipping)
        return;
    switch (id) {
    case fkNumber:
        v->SetAsString(c.Field);
        v->SetDataType(rpdtNumber);
        break;
    case fkString:
        v->SetAsString(c.Field);
        break;
    case fkBoolean:
        v->SetAsBoolean(c.Field == u"TRUE");
        break;
    case fkDate:
        v->SetAsDate(EncodeDate(c.Field.mid(1, 4).toInt(), c.Field.mid(6, 2).toInt(),
                                c.Field.mid(9, 2).toInt()));
        break;
    default:
        break;
    }
}

void TRpRTF::applyNoReset(ExecFrame &frame, std::int32_t f, TRpUDFArgs &args)
{
    if (!isAccumulator(f) || args.size() != 3)
        return;
    const auto *third = dynamic_cast<TRpReportVariable *>(args[2]);
    if (third && !third->Local() && RpTrim(third->Name()).toUpper() == u"NORESET") {
        TRpReportVariable *no = newLocal(frame);
        no->SetAsBoolean(false);
        args[2] = no;
    }
}

TRpUDFArgs TRpRTF::takeArgs(ExecFrame &frame, std::int32_t count)
{
    const auto n = static_cast<size_t>(std::clamp<std::int32_t>(count, 0, int(frame.stack.size())));
    TRpUDFArgs args(frame.stack.end() - std::ptrdiff_t(n), frame.stack.end());
    frame.stack.resize(frame.stack.size() - n);
    return args;
}

void TRpRTF::passOverItems(ExecFrame &frame, std::int32_t marker, std::int32_t iifNumber)
{
    for (;;) {
        FRunItemPos = static_cast<std::int32_t>(CmStream()->Position());
        CmReadItemInfo();
        const std::int32_t id = FCmLastId;
        if (id == cmExprEnd && marker == cmExprEnd) {
            CmReadExprEndItem();
            return;
        }
        if (id == cmExecuteUDF) {
            std::int32_t f, count, mainF, argNo, iif;
            CmReadExecuteUDFItem(f, count, mainF, argNo, iif);
            TRpUDFArgs args = takeArgs(frame, count);
            if (f < 0) {
                applyNoReset(frame, f, args);
                InitFunctions(f, args, count, frame.expression);
            }
            frame.stack.push_back(nullptr);
            if (f == marker && iif == iifNumber)
                return;
        } else if (IsFieldItemId(id)) {
            pushValueItem(frame, id, true);
        } else if (id == cmEnd || id == cmExprEnd) {
            // A well-formed stream never gets here; stop rather than read past the end.
            throw EIOError(msg::UndefinedUdfArgument);
        } else {
            CmSkipItem();
        }
    }
}

void TRpRTF::SkipIifPart(ExecFrame &frame, std::int32_t marker, std::int32_t iifNumber)
{
    passOverItems(frame, marker, iifNumber);
}

void TRpRTF::OutUDF()
{
    TRpRowContent content;
    bool inDocument = false;
    bool isManage = false;
    std::uint16_t scanNum = 0;
    CmReadExprBeginItem(content, inDocument, isManage, scanNum);
    if (FScs)
        FScs->SetCurrentScan(scanNum);

    ExecFrame frame;
    frame.expression = content.Field;
    std::int32_t lastF = 0;
    TRpObject *lastResult = nullptr;
    for (;;) {
        FRunItemPos = static_cast<std::int32_t>(CmStream()->Position());
        CmReadItemInfo();
        const std::int32_t id = FCmLastId;
        if (id == cmExprEnd) {
            CmReadExprEndItem();
            break;
        }
        if (IsFieldItemId(id)) {
            pushValueItem(frame, id, false);
            continue;
        }
        if (id != cmExecuteUDF)
            throw EIOError(msg::UndefinedUdfArgument);

        std::int32_t f, count, mainF, argNo, iif;
        CmReadExecuteUDFItem(f, count, mainF, argNo, iif);
        TRpUDFArgs args = takeArgs(frame, count);
        TRpObject *holder = nullptr;
        switch (GetUDFResultType(f)) {
        case udfrNil:
            break;
        case udfrTRpReportVariable:
            holder = newLocal(frame);
            break;
        case udfrTPicture:
            holder = frame.own(std::make_unique<TRpPicture>());
            break;
        case udfrTMemoryStream:
            holder = frame.own(std::make_unique<TRpMemoryStream>());
            break;
        default:
            illegal(QLatin1String(msg::ResultTypeInFunction) + functionName(f) +
                    QLatin1String(msg::IsNotSupported));
        }
        applyNoReset(frame, f, args);
        ExecUDF(f, args, count, holder, frame.expression);
        if (f == fnIifTrue || f == fnIifFalse)
            frame.stack.push_back(args.empty() ? nullptr : args.front());
        else
            frame.stack.push_back(holder);
        if (f == fnIifTest) {
            const auto *test = dynamic_cast<TRpReportVariable *>(holder);
            if (test && test->AsBoolean())
                frame.skip.insert(iif);
            else
                SkipIifPart(frame, fnIifTrue, iif);
        } else if (f == fnIifTrue && frame.skip.count(iif)) {
            SkipIifPart(frame, fnIifFalse, iif);
        }
        lastF = f;
        lastResult = holder;
    }

    if (inDocument) {
        switch (GetUDFResultType(lastF)) {
        case udfrTRpReportVariable:
            WriteVarRTF(static_cast<TRpReportVariable *>(lastResult)->AsString(), content.fmt,
                        content.sout);
            break;
        case udfrTPicture:
            WritePictureResult(static_cast<TRpPicture *>(lastResult), content.fmt);
            wr(content.sout);
            break;
        case udfrTMemoryStream: {
            auto *stream = static_cast<TRpMemoryStream *>(lastResult);
            if (stream->Size() > 0)
                wrBytes(stream->Bytes());
            wr(content.sout);
            break;
        }
        default:
            wr(content.sout);
            break;
        }
    }
    if (isManage) {
        const auto *result = dynamic_cast<TRpReportVariable *>(lastResult);
        FManageResult = result && result->AsBoolean();
    }
}

void TRpRTF::InitSkipUDF()
{
    TRpRowContent content;
    bool inDocument = false;
    bool isManage = false;
    std::uint16_t scanNum = 0;
    CmReadExprBeginItem(content, inDocument, isManage, scanNum);
    if (FScs)
        FScs->SetCurrentScan(scanNum);
    ExecFrame frame;
    frame.expression = content.Field;
    passOverItems(frame, cmExprEnd, 0);
}

QString TRpRTF::functionName(std::int32_t f) const
{
    if (f < 0) {
        const TRpBaseFunctionIDs *row = BaseFunctionById(f);
        return row ? QString::fromLatin1(row->name) : QString();
    }
    if (UDFList() && f < UDFList()->Count())
        return UDFList()->Functions().Items(f)->Name();
    return QString();
}

} // namespace rp
