// SPDX-License-Identifier: MIT
// Selected-row scans for hosts that name the records to visit by number.
#include "compiler/rpcontrol.h"
#include "messages.h"
#include "runtime/rpscans.h"
#include <reportengine/rpdataset.h>
#include <reportengine/rprtf.h>

#include <memory>
#include <stdexcept>

namespace rp {

void RpScanSelectedRecords(TRpRTF &report, TRpDataSet *dataSet, const QList<int> &records)
{
    auto rows = std::make_shared<TRpBookmarkList>();
    for (const int record : records) {
        dataSet->First();
        for (int i = 1; i < record && !dataSet->Eof(); ++i)
            dataSet->Next();
        if (record < 1 || dataSet->Eof())
            throw std::out_of_range(msg::NoSuchRecord(record, dataSet->Name()).toStdString());
        rows->append(dataSet->GetBookmark());
    }
    dataSet->First();
    const TRpOnScanBefore previous = report.OnScanBefore;
    report.OnScanBefore = [previous, rows, dataSet](TRpScanInfo *scan) {
        if (scan->DataSet() == dataSet) {
            scan->SetSelectedRows(rows.get());
            scan->SetUseSelectedRows(true);
        }
        if (previous)
            previous(scan);
    };
}

} // namespace rp
