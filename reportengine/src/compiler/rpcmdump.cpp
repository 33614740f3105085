// SPDX-License-Identifier: MIT
// Command-stream listing: walks the items by their headers without touching the report.
#include "compiler/rpcmdump.h"

#include <reportengine/rpbasereport.h>

#include <QtEndian>

namespace rp {

QString CmItemName(int id)
{
    switch (id) {
    case cmBegin:
        return QStringLiteral("Begin");
    case cmEnd:
        return QStringLiteral("End");
    case cmBloc:
        return QStringLiteral("Bloc");
    case cmBalancedBloc:
        return QStringLiteral("BalancedBloc");
    case cmTableBegin:
        return QStringLiteral("TableBegin");
    case cmTableEnd:
        return QStringLiteral("TableEnd");
    case cmRaw:
        return QStringLiteral("Raw");
    case cmScan:
        return QStringLiteral("Scan");
    case cmScanWhile:
        return QStringLiteral("ScanWhile");
    case cmScanEntry:
        return QStringLiteral("ScanEntry");
    case cmScanFooter:
        return QStringLiteral("ScanFooter");
    case cmEndScan:
        return QStringLiteral("EndScan");
    case cmEndIf:
        return QStringLiteral("EndIf");
    case cmIf:
        return QStringLiteral("If");
    case cmScanSkip:
        return QStringLiteral("ScanSkip");
    case cmExprBegin:
        return QStringLiteral("ExprBegin");
    case cmExprEnd:
        return QStringLiteral("ExprEnd");
    case cmExecuteUDF:
        return QStringLiteral("ExecuteUDF");
    case cmFontTable:
        return QStringLiteral("FontTable");
    case cmColorTable:
        return QStringLiteral("ColorTable");
    case cmStyleSheet:
        return QStringLiteral("StyleSheet");
    case cmDocInfo:
        return QStringLiteral("DocInfo");
    default:
        return IsFieldItemId(id) ? QStringLiteral("Field") : QStringLiteral("Item%1").arg(id);
    }
}

namespace {

// Sequential little-endian reader over one item's bytes; reading past the end fails.
class ItemReader
{
public:
    ItemReader(const QByteArray &bytes, qsizetype pos, qsizetype end, const QStringList &strings)
        : FBytes(bytes), FPos(pos), FEnd(end), FStrings(strings)
    {
    }
    bool Ok() const { return FOk; }

    qint64 Int() { return Take(4); }
    qint64 Word() { return Take(2); }
    qint64 Byte() { return Take(1); }
    QString Str()
    {
        const qint64 i = Int();
        if (!FOk)
            return QString();
        if (i < 0 || i >= FStrings.size())
            return QStringLiteral("#%1").arg(i);
        QString s = FStrings[i];
        s.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        s.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
        return u'"' + s + u'"';
    }

private:
    qint64 Take(int size)
    {
        if (!FOk || FPos + size > FEnd) {
            FOk = false;
            return 0;
        }
        const char *p = FBytes.constData() + FPos;
        FPos += size;
        switch (size) {
        case 1:
            return static_cast<unsigned char>(*p);
        case 2:
            return qFromLittleEndian<quint16>(p);
        default:
            return qFromLittleEndian<qint32>(p);
        }
    }

    const QByteArray &FBytes;
    qsizetype FPos;
    qsizetype FEnd;
    const QStringList &FStrings;
    bool FOk = true;
};

QString RowContent(ItemReader &r)
{
    const QString stestf = r.Str();
    const QString alias = r.Str();
    const QString field = r.Str();
    const QString sout = r.Str();
    const qint64 fmt = r.Int();
    const qint64 precision = r.Int();
    const qint64 decimals = r.Int();
    const qint64 ftype = r.Byte();
    const qint64 nfield = r.Int();
    const qint64 definedType = r.Byte();
    const qint64 defined = r.Int();
    return QStringLiteral(" stestf=%1 Dalias=%2 Field=%3 sout=%4 fmt=%5,%6,%7 ftype=%8 "
                          "NField=%9 DefinedType=%10 Defined=%11")
        .arg(stestf, alias, field, sout)
        .arg(fmt)
        .arg(precision)
        .arg(decimals)
        .arg(ftype)
        .arg(nfield)
        .arg(definedType)
        .arg(defined);
}

QString Body(int id, ItemReader &r)
{
    switch (id) {
    case cmRaw:
        return QStringLiteral(" text=") + r.Str();
    case cmScan:
    case cmScanWhile:
    case cmScanEntry:
    case cmScanFooter:
    case cmEndScan:
    case cmEndIf:
    case cmIf: {
        const QString out = r.Str();
        const QString par = r.Str();
        QString s = QStringLiteral(" OutStr=%1 SPar=%2 n=%3").arg(out, par).arg(r.Word());
        if (id == cmIf)
            s += QStringLiteral(" else=%1").arg(r.Int());
        return s;
    }
    case cmScanSkip:
        return QStringLiteral(" n=%1").arg(r.Word());
    case cmExprBegin: {
        QString s = RowContent(r);
        const qint64 inDoc = r.Int();
        const qint64 manage = r.Int();
        return s + QStringLiteral(" InDocument=%1 IsManage=%2 ScanNum=%3")
                       .arg(inDoc)
                       .arg(manage)
                       .arg(r.Word());
    }
    case cmExecuteUDF: {
        const qint64 a = r.Int(), b = r.Int(), c = r.Int(), d = r.Int(), e = r.Int();
        return QStringLiteral(" udf=%1 parcount=%2 main=%3 arg=%4 iif=%5")
            .arg(a)
            .arg(b)
            .arg(c)
            .arg(d)
            .arg(e);
    }
    default:
        if (IsFieldItemId(id))
            return QStringLiteral("(%1)").arg(id) + RowContent(r);
        return QString();
    }
}

} // namespace

QStringList CmDump(const QByteArray &stream, const QStringList &strings)
{
    QStringList lines;
    qsizetype pos = 0;
    while (pos < stream.size()) {
        ItemReader header(stream, pos, stream.size(), strings);
        const qint64 id = header.Int();
        const qint64 pnt = header.Int();
        const qint64 skip = header.Int();
        if (!header.Ok()) {
            lines << QStringLiteral("%1 ! cut header").arg(pos);
            break;
        }
        const qsizetype bodyStart = pos + 12;
        const qsizetype end = bodyStart + skip;
        if (skip < 4 || end > stream.size()) {
            lines << QStringLiteral("%1 ! bad size %2").arg(pos).arg(skip);
            break;
        }
        ItemReader body(stream, bodyStart, end - 4, strings);
        QString line = QStringLiteral("%1 %2").arg(pos).arg(CmItemName(static_cast<int>(id)));
        const QString fields = Body(static_cast<int>(id), body);
        const bool isField = IsFieldItemId(static_cast<int>(id));
        if (isField)
            line += fields.section(u' ', 0, 0);
        line += QStringLiteral(" pnt=%1").arg(pnt);
        line += isField ? u' ' + fields.section(u' ', 1) : fields;
        if (!body.Ok())
            line += QStringLiteral(" ! cut body");
        lines << line;
        pos = end;
        if (id == cmEnd)
            break;
    }
    return lines;
}

QStringList CmDump(const TRpBaseReport &report)
{
    const TRpMemoryStream *stream = report.CmStream();
    return stream ? CmDump(stream->Bytes(), report.CmStrings()) : QStringList();
}

} // namespace rp
