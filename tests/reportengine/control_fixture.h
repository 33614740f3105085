// SPDX-License-Identifier: MIT
// Test fixture for control-block templates: runs a body in a minimal document, keeps listings.
#pragma once

#include "compiler/rpcmdump.h"
#include "runtime/rpscans.h"
#include <reportengine/rpconsts.h>
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rptest {

class ControlRun : public ::testing::Test
{
protected:
    rp::TRpRTF report;
    std::vector<rp::TRpDataSet *> dataSets;
    std::vector<std::unique_ptr<rp::TRpMemoryDataSet>> owned;
    /// The command stream listing, taken by listing() during the run.
    QStringList dump;

    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    /// A data set NAME with one text column N holding `values`.
    rp::TRpMemoryDataSet &addDataSet(const QString &name, const QStringList &values)
    {
        auto ds = std::make_unique<rp::TRpMemoryDataSet>();
        ds->SetName(name);
        ds->DefineField(QStringLiteral("N"), rp::TRpFieldType::ftString);
        for (const QString &v : values)
            ds->AppendRecord({v});
        dataSets.push_back(ds.get());
        owned.push_back(std::move(ds));
        return *owned.back();
    }

    /// Keeps the listing of the command stream the first time a scan starts.
    void listOnScan()
    {
        report.OnScanBefore = [this](rp::TRpScanInfo *) {
            if (dump.isEmpty())
                dump = rp::CmDump(report);
        };
    }

    QByteArray runDocument(const QByteArray &doc)
    {
        report.SetTemplateBuffer(doc);
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream(dataSets, &out);
        return out.data();
    }

    /// The text between the template's "{\rtf1 " and its final "}".
    std::string body(const QByteArray &fields)
    {
        const QByteArray doc = runDocument("{\\rtf1 " + fields + "}");
        EXPECT_TRUE(doc.startsWith("{\\rtf1 ")) << doc.toStdString();
        return doc.mid(7, doc.size() - 8).toStdString();
    }

    /// body() without the language marks written before values.
    std::string plain(const QByteArray &fields)
    {
        std::string s = body(fields);
        for (size_t at = s.find("\\lang0 "); at != std::string::npos; at = s.find("\\lang0 "))
            s.erase(at, 7);
        return s;
    }

    /// The message of the failure the run ends with (and that the report recorded).
    std::string failure(const QByteArray &fields)
    {
        try {
            body(fields);
        } catch (const std::exception &e) {
            EXPECT_FALSE(report.ExecuteSuccessful());
            EXPECT_EQ(report.LastErrMsg().toStdString(), std::string(e.what()));
            return e.what();
        }
        ADD_FAILURE() << "run did not fail: " << fields.toStdString();
        return {};
    }

    /// Net "{" minus "}" of a result.
    static int depth(const std::string &s)
    {
        int d = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\') {
                ++i;
                continue;
            }
            d += s[i] == '{' ? 1 : s[i] == '}' ? -1 : 0;
        }
        return d;
    }
};

} // namespace rptest
