// SPDX-License-Identifier: MIT
// Readable listing of a compiled command stream, for tests and the report tool's --dump.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rp {

class TRpBaseReport;

/// One line per item, in stream order: "<offset> <Kind> pnt=<n>" and the body's
/// fields, strings resolved through `strings` and quoted. A cut or damaged
/// stream ends the listing with a line "<offset> ! <what is wrong>".
QStringList CmDump(const QByteArray &stream, const QStringList &strings);
/// The report's current command stream (empty outside a run).
QStringList CmDump(const TRpBaseReport &report);

/// Name of an item id ("Bloc", "Scan", "Field" ...), "Item<id>" for ids no item has.
QString CmItemName(int id);

} // namespace rp
