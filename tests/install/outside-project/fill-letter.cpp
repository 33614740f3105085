// SPDX-License-Identifier: MIT
// Fills a small letter with a variable and a data set, then reads its text back.
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    rp::TRpRTF report;
    report.CreateVar(QStringLiteral("name"), QStringLiteral("Anna"));
    rp::TRpMemoryDataSet gems;
    gems.SetName(QStringLiteral("GEMS"));
    gems.DefineField(QStringLiteral("GEM"), rp::TRpFieldType::ftString);
    gems.AppendRecord({QStringLiteral("Ruby")});
    gems.AppendRecord({QStringLiteral("Opal")});
    report.SetTemplateBuffer(R"({\rtf1 Dear \\name\\:\\SCAN(GEMS)\\ \\GEMS:GEM\\\\ENDSCAN\\.})");
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    report.ExecuteStream({&gems}, &out);
    QTextDocument document;
    rtf::loadRichText(out.data(), document);
    std::printf("%s\n", rtf::plainText(document).toUtf8().constData());
    return report.ExecuteSuccessful() ? 0 : 1;
}
