// SPDX-License-Identifier: MIT
// Pictures in reports: files, blob fields and user functions written as RTF picture groups.
#include <reportengine/rpimageformat.h>
#include <reportengine/rpmemorydataset.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace rp;

namespace {

const QString pictures = QStringLiteral(ZC_TEST_DATA_DIR "/pictures/");

QByteArray fileBytes(const QString &name)
{
    QFile f(pictures + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

class PictureRun : public ::testing::Test
{
protected:
    TRpRTF report;
    std::vector<TRpDataSet *> dataSets;

    void SetUp() override { report.SetLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    /// The body of "{\rtf1 " + fields + "}" as the run wrote it.
    QByteArray body(const QByteArray &fields, const QByteArray &head = QByteArray())
    {
        report.SetTemplateBuffer("{\\rtf1 " + head + fields + "}");
        QBuffer out;
        out.open(QIODevice::ReadWrite);
        report.ExecuteStream(dataSets, &out);
        return out.data();
    }

    /// The picture group of the result (from "{\pict" to its end), or "".
    static QByteArray pictOf(const QByteArray &doc)
    {
        const int at = doc.indexOf("{\\pict");
        if (at < 0)
            return {};
        return doc.mid(at, doc.lastIndexOf("\r}") + 2 - at);
    }

    static std::string headerOf(const QByteArray &pict)
    {
        const int bin = pict.indexOf("\\bin");
        const int space = pict.indexOf(' ');
        return pict.left(bin >= 0 ? bin : space).toStdString();
    }

    void usePicture(const QString &name)
    {
        report.ClearVars();
        report.CreateVar(QStringLiteral("pic"), pictures + name);
    }
};

} // namespace

TEST_F(PictureRun, enhanced_and_metafile_headers_and_data)
{
    usePicture(QStringLiteral("marker.png"));
    QByteArray pict = pictOf(body("a\\\\FIMG(pic)\\\\b"));
    // 40 x 30 px: 10.58 x 7.94 mm, 600 x 450 twips; the goal words carry the same twips.
    EXPECT_EQ(headerOf(pict), "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0"
                              "\\piccropt0\\piccropb0\\picw600\\pich450\\picwgoal600"
                              "\\pichgoal450\\emfblip");
    // The raw EMF follows "\bin" and its byte count, then CR and the closing brace.
    const qsizetype data = headerOf(pict).size() + std::strlen("\\bin3848 ");
    EXPECT_EQ(pict.mid(headerOf(pict).size(), 9), "\\bin3848 ");
    EXPECT_EQ(pict.mid(data, 4), QByteArray("\x01\0\0\0", 4));
    EXPECT_EQ(pict.size(), data + 3848 + 2);

    report.SetOptions(eoGraphicsWmfCompatible);
    pict = pictOf(body("\\\\FIMG(pic)\\\\"));
    EXPECT_EQ(headerOf(pict), "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0"
                              "\\piccropt0\\piccropb0\\picw1058\\pich794\\wmetafile8");
    // Without eoGraphicsBinary: upper-case hex in one run, then CR and the closing brace.
    const QByteArray hex = pict.mid(pict.indexOf(' ') + 1);
    ASSERT_TRUE(hex.endsWith("\r}"));
    const QByteArray digits = hex.chopped(2);
    EXPECT_EQ(digits.size(), 2 * 3720);
    EXPECT_TRUE(digits.startsWith("010009000003"));
    EXPECT_EQ(digits, digits.toUpper());
    EXPECT_EQ(digits.indexOf('\n'), -1);
}

TEST_F(PictureRun, every_decoder_and_every_failure)
{
    for (const char *name : {"marker.png", "marker.jpg", "marker.gif"}) {
        usePicture(QString::fromLatin1(name));
        EXPECT_TRUE(pictOf(body("\\\\FIMG(pic)\\\\")).contains("\\picw600\\pich450")) << name;
    }
    // Not a picture, truncated, too large to decode, missing: the message stands in its place.
    for (const char *name : {"notapicture.png", "huge.png", "missing.png"}) {
        usePicture(QString::fromLatin1(name));
        const QByteArray doc = body("\\\\{\\b FIMG(pic)}\\\\");
        EXPECT_EQ(doc.toStdString(),
                  ("{\\rtf1 \\lang0 #Can't load file " + pictures.toStdString() + name + "{\\b }}"))
            << name;
    }
    usePicture(QStringLiteral("truncated.jpg"));
    const QByteArray doc = body("\\\\FIMG(pic)\\\\");
    EXPECT_TRUE(doc.contains("#Can't load file") || doc.contains("\\emfblip")) << doc.toStdString();
    EXPECT_TRUE(doc.endsWith('}'));
}

TEST_F(PictureRun, image_format_event_scales_frames_and_checks_the_colour)
{
    usePicture(QStringLiteral("marker.png"));
    int seenIndex = -1;
    report.OnImageFormat = [&](int index, TRpImageFormat *&f) {
        seenIndex = index;
        f->SetScaleX(50);
        f->SetBorderType(ibtSingle, 1.0f, 0);
    };
    const QByteArray colors = "{\\colortbl;\\red255\\green0\\blue0;}";
    QByteArray doc = body("\\\\FIMG(pic,3)\\\\", colors);
    EXPECT_EQ(seenIndex, 3);
    EXPECT_EQ(headerOf(pictOf(doc)),
              "{\\pict\\picscalex50\\picscaley50\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
              "\\picw300\\pich225\\picwgoal300\\pichgoal225\\emfblip\\brdrs\\brdrw20\\brdrcf1");
    EXPECT_TRUE(doc.contains("{\\colortbl;\\red255\\green0\\blue0;}")) << "the colour is reused";

    // The metafile form keeps scale 100 and carries the scaled pixel size.
    report.SetOptions(eoGraphicsWmfCompatible | eoGraphicsBinary);
    doc = body("\\\\FIMG(pic)\\\\", colors);
    EXPECT_EQ(headerOf(pictOf(doc)),
              "{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
              "\\picw529\\pich397\\wmetafile8\\brdrs\\brdrw20\\brdrcf1");

    // A colour index beyond the document's table falls back on its first colour.
    report.OnImageFormat = [](int, TRpImageFormat *&f) { f->SetBorderType(ibtDouble, 9, 7); };
    doc = body("\\\\FIMG(pic)\\\\", colors);
    EXPECT_TRUE(headerOf(pictOf(doc)).ends_with("\\wmetafile8\\brdrdb\\brdrw70\\brdrcf1"));
}

TEST_F(PictureRun, blob_and_graphic_fields)
{
    TRpMemoryDataSet ds;
    ds.SetName(QStringLiteral("P"));
    ds.DefineField(QStringLiteral("BLOB"), TRpFieldType::ftBlob);
    ds.DefineField(QStringLiteral("GRAPHIC"), TRpFieldType::ftGraphic);
    // GIF and JPEG are told by their signatures, anything else by its content.
    ds.AppendRecord(
        {fileBytes(QStringLiteral("marker.gif")), fileBytes(QStringLiteral("marker.png"))});
    ds.AppendRecord({fileBytes(QStringLiteral("marker.jpg")), QByteArray()});
    ds.AppendRecord({QByteArray("GIF89a but broken"), QByteArray("junk")});
    dataSets = {&ds};
    ds.First();
    QByteArray doc = body("\\\\FIMG(P:BLOB)\\\\|\\\\P:GRAPHIC\\\\");
    EXPECT_EQ(doc.count("\\emfblip"), 2);
    ds.Next();
    doc = body("\\\\FIMG(P:BLOB)\\\\|\\\\{\\i P:GRAPHIC}\\\\");
    EXPECT_EQ(doc.count("\\emfblip"), 1);
    EXPECT_TRUE(doc.endsWith("\r}|{\\i }}")) << "an empty field writes only its markup";
    ds.Next();
    EXPECT_EQ(body("\\\\FIMG(P:BLOB)\\\\|\\\\P:GRAPHIC\\\\").toStdString(), "{\\rtf1 |}");
}

TEST_F(PictureRun, user_functions_return_pictures_and_streams)
{
    TRpUDFList list;
    TRpUDF *logo = list.Functions().Add();
    logo->SetName(QStringLiteral("LOGO"));
    logo->SetResultType(udfrTPicture);
    logo->OnCalculate = [](QObject *, TRpUDFArgs &, int, TRpObject *result) {
        static_cast<TRpPicture *>(result)->Image = QImage(pictures + QStringLiteral("marker.png"));
    };
    TRpUDF *blank = list.Functions().Add();
    blank->SetName(QStringLiteral("BLANK"));
    blank->SetResultType(udfrTPicture);
    TRpUDF *raw = list.Functions().Add();
    raw->SetName(QStringLiteral("RAW"));
    raw->SetResultType(udfrTMemoryStream);
    raw->OnCalculate = [](QObject *, TRpUDFArgs &, int, TRpObject *result) {
        static_cast<TRpMemoryStream *>(result)->Write(QByteArray("{\\b bold}"));
    };
    report.SetUDFList(&list);
    QByteArray doc = body("\\\\LOGO()\\\\|\\\\{\\i BLANK()}\\\\|\\\\RAW()\\\\");
    EXPECT_EQ(doc.count("{\\pict"), 1);
    EXPECT_TRUE(doc.endsWith("\r}|{\\i }|{\\b bold}}")) << doc.right(40).toStdString();
}
