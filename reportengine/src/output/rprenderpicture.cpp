// SPDX-License-Identifier: MIT
// Picture output of value rendering: sources, the RTF picture group and RTF value insertion.
#include "output/rpmetafile.h"
#include "reader/rpreader.h"
#include "rtfinsert/rprtfstream.h"
#include <reportengine/rpimageformat.h>
#include <reportengine/rprtf.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

#include <memory>

namespace rp {

namespace {

// Without a screen (a report run from a console tool) pictures are laid out at 96 dpi.
double screenPpi()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const double dpi = screen->logicalDotsPerInch();
            if (dpi > 0)
                return dpi;
        }
    }
    return 96;
}

QImage readImage(QImageReader &reader)
{
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return image;
}

QByteArray hexUpper(const QByteArray &bytes)
{
    return bytes.toHex().toUpper();
}

} // namespace

void TRpRTF::WriteGraphicVarRTF(const QString &fileName, const TRpFieldFormat &format,
                                const QString &markup)
{
    // The decoder is chosen by the file's extension, as a template author names the file.
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(false);
    TRpPicture picture;
    picture.Image = readImage(reader);
    if (picture.Image.isNull()) {
        // Files whose extension is unknown to the decoders are still read by their content.
        QImageReader byContent(fileName);
        picture.Image = reader.error() == QImageReader::UnsupportedFormatError
                            ? readImage(byContent)
                            : QImage();
    }
    if (picture.Image.isNull()) {
        writeText(QStringLiteral("#Can't load file ") + fileName, markup);
        return;
    }
    WritePictureResult(&picture, format);
    wr(markup);
}

void TRpRTF::WriteGraphicRTF(TRpField *field, const TRpFieldFormat &format, const QString &markup)
{
    QByteArray bytes = field->AsBytes();
    const QByteArray head = bytes.left(20);
    const char *kind = head.contains("GIF8") ? "gif" : head.contains("JFIF") ? "jpeg" : nullptr;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind ? QByteArray(kind) : QByteArray());
    TRpPicture picture;
    picture.Image = readImage(reader);
    if (!picture.Image.isNull())
        WritePictureResult(&picture, format);
    wr(markup);
}

void TRpRTF::WritePictureResult(TRpPicture *picture, const TRpFieldFormat &format)
{
    if (!picture)
        return;
    QImage image = picture->Image;
    if (image.isNull() && !picture->Data.isEmpty())
        image.loadFromData(picture->Data);
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return;
    const bool wmf = FOptions & eoGraphicsWmfCompatible;
    // A DIB record of a Windows metafile holds signed 16-bit sizes, the image format
    // 16-bit unsigned ones: larger pictures are scaled down to fit rather than wrapped.
    const int maxSide = wmf ? RpWmfMaxSide : 65535;
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);

    const double ppi = screenPpi();
    const QSize metaSize(int(RpNearest(image.width() * ppi / 96)),
                         int(RpNearest(image.height() * ppi / 96)));

    auto owned = std::make_unique<TRpImageFormat>(image.width(), image.height());
    TRpImageFormat *fmt = owned.get();
    if (OnImageFormat) {
        OnImageFormat(format.precision, fmt);
        // A replacement stays the handler's to free; a cleared pointer means no change.
        if (!fmt)
            fmt = owned.get();
    }
    const auto &colors = FReader->FDocColorTable;
    if (fmt->FBorder.ColorIndex >= colors.size())
        fmt->SetBorderType(fmt->FBorder.BrType, fmt->FBorder.Width, 0);

    const QSize frame(int(RpNearest(fmt->FSizeXmm * 100)), int(RpNearest(fmt->FSizeYmm * 100)));
    QString header = QStringLiteral("{\\pict\\picscalex");
    if (wmf) {
        const QString w = QString::number(RpNearest(fmt->FSizeX * RpHimetricPerPixel), 'f', 0);
        const QString h = QString::number(RpNearest(fmt->FSizeY * RpHimetricPerPixel), 'f', 0);
        header += QStringLiteral("100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                                 "\\picw") +
                  w + QStringLiteral("\\pich") + h + QStringLiteral("\\wmetafile8");
    } else {
        const QString w = QString::number(RpNearest(fmt->FSizeXmm * RpTwipsPer100mm / 100), 'f', 0);
        const QString h = QString::number(RpNearest(fmt->FSizeYmm * RpTwipsPer100mm / 100), 'f', 0);
        // Readers take \picw/\pich of a metafile as hundredths of a millimetre; the goal
        // words, in twips, are what sets the displayed size.
        header += QString::number(fmt->FScaleX) + QStringLiteral("\\picscaley") +
                  QString::number(fmt->FScaleY) +
                  QStringLiteral("\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw") + w +
                  QStringLiteral("\\pich") + h + QStringLiteral("\\picwgoal") + w +
                  QStringLiteral("\\pichgoal") + h + QStringLiteral("\\emfblip");
    }
    header += QLatin1String(RpBorderWord(fmt->FBorder.BrType));
    TRpColor color;
    if (fmt->FBorder.ColorIndex < colors.size())
        color = colors[fmt->FBorder.ColorIndex];
    const int c = FReader->UseColor(
        QStringLiteral("\\red%1\\green%2\\blue%3;").arg(color.fr).arg(color.fg).arg(color.fb));
    if (fmt->FBorder.BrType != ibtNone)
        header += QStringLiteral("\\brdrw") + QString::number(fmt->FBorderTwips) +
                  QStringLiteral("\\brdrcf") + QString::number(c);
    wr(header);

    const QByteArray data = wmf ? RpMakeWmf(image, metaSize) : RpMakeEmf(image, metaSize, frame);
    if (!Outf())
        return;
    if (FOptions & eoGraphicsBinary) {
        wrBytes("\\bin" + QByteArray::number(data.size()) + ' ');
        wrBytes(data);
    } else {
        wrBytes(" ");
        wrBytes(hexUpper(data));
    }
    wrBytes("\r}");
}

void TRpRTF::WriteRtfValue(const QString &value, const QString &markup)
{
    if (Outf()) {
        if (FOptions & eoKeepFrtfPar)
            InsertRtfMemo(*this, Outf(), value);
        else
            InsertRtfMemoPar(*this, Outf(), value);
    }
    wr(markup);
}

} // namespace rp
