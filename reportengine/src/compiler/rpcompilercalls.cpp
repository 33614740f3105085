// SPDX-License-Identifier: MIT
// Compiler services of the report: function names and numbers, argument counts, formats, aliases.
#include <reportengine/rpbasereport.h>

#include "compiler/rpcompiler.h"
#include "compiler/rpfunctable.h"
#include "messages.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rpfunc.h>

namespace rp {

namespace {

[[noreturn]] void illegal(const QString &msg)
{
    throw EIllegalFunctionUse(msg.toStdString());
}

} // namespace

bool TRpBaseReport::GetUDFNumber(const QString &name, std::int32_t &number) const
{
    if (const TRpUDFList *list = UDFList(); list && list->Count() > 0) {
        const int at = list->FindFunction(name);
        if (at >= 0) {
            number = at;
            return true;
        }
    }
    const std::int32_t id = BaseFunctionNumber(name);
    if (id < 0) {
        number = id;
        return true;
    }
    return false;
}

std::int32_t TRpBaseReport::GetArgMinCount(std::int32_t n) const
{
    if (n < 0) {
        const TRpBaseFunctionIDs *row = BaseFunctionById(n);
        return row ? row->argmin : 0;
    }
    const TRpUDFList *list = UDFList();
    return (list && n < list->Count()) ? list->Functions().Items(n)->ArgMinCount() : 0;
}

std::int32_t TRpBaseReport::GetArgMaxCount(std::int32_t n) const
{
    if (n < 0) {
        const TRpBaseFunctionIDs *row = BaseFunctionById(n);
        return row ? row->argmax : 0;
    }
    const TRpUDFList *list = UDFList();
    return (list && n < list->Count()) ? list->Functions().Items(n)->ArgMaxCount() : 0;
}

std::int32_t TRpBaseReport::GetUDFResultType(std::int32_t n) const
{
    if (n < 0)
        return BaseFunctionResultType(n);
    const TRpUDFList *list = UDFList();
    return (list && n < list->Count()) ? list->Functions().Items(n)->ResultType() : udfrNil;
}

bool TRpBaseReport::CheckUdfFormat(std::int32_t n, const TRpFieldFormat &format) const
{
    if (format.fmtnumber <= 0)
        return true;
    if (format.fmtnumber >= RpBaseFormatsCount)
        return false;
    const TRpBaseFormatIDs &row = RpBaseFormatsArr[format.fmtnumber];
    const std::int32_t type = GetUDFResultType(n);
    return (type == udfrTRpReportVariable && row.acceptsVariable) ||
           (type == udfrTPicture && row.acceptsPicture);
}

bool TRpBaseReport::ProcessUDFName(const QString &text, QStringList &list, std::int32_t &number)
{
    list.clear();
    QString name;
    QString inner;
    if (text.size() > 2 && text.front() == u'(' && text.back() == u')') {
        inner = text.mid(1, text.size() - 2);
    } else {
        const int open = text.indexOf(u'(');
        if (open < 0 || open == text.size() - 1 || text.back() != u')')
            return false;
        name = RpTrim(text.left(open)).toUpper();
        inner = text.mid(open + 1, text.size() - open - 2);
    }
    if (!GetUDFNumber(name, number))
        return false;
    if (!SplitArgs(inner, list))
        illegal(QLatin1String(msg::BracketsInFunction) + text);
    if (list.size() < GetArgMinCount(number))
        illegal(QLatin1String(msg::IllegalFunctionUse) + text +
                QLatin1String(msg::FewerArgumentsThanRequired));
    if (list.size() > GetArgMaxCount(number))
        illegal(QLatin1String(msg::IllegalFunctionUse) + text +
                QLatin1String(msg::MoreArgumentsThanAllowed));
    return true;
}

TRpFieldFormat TRpBaseReport::CheckFormat(QString &s)
{
    TRpFormatContext context;
    context.storeString = [this](const QString &text) { return CmStoreString(text); };
    context.currencyDecimals = FmtSett.CurrencyDecimals;
    return rp::CheckFormat(s, context);
}

QString TRpBaseReport::DateConstToStr(const QString &dateConst) const
{
    const TDateTime d = EncodeDate(dateConst.mid(1, 4).toInt(), dateConst.mid(6, 2).toInt(),
                                   dateConst.mid(9, 2).toInt());
    return DateToStr(d, FmtSett);
}

std::int32_t TRpBaseReport::CtoN(const QString &)
{
    return RpNotFound;
}

} // namespace rp
