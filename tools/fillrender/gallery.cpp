// SPDX-License-Identifier: MIT
// A labelled sheet of fills showing every body kind, mirror, rounding, shadow, glow and hatch.
#include "gallery.h"

#include <rotarymenu/gradientfill.h>

#include <QBuffer>
#include <QFontDatabase>
#include <QMetaEnum>
#include <QPainter>

#include <functional>

namespace {

constexpr int kCellW = 150, kCellH = 90, kLabelH = 18, kGap = 10, kColumns = 6;

struct Sample
{
    QString label;
    std::function<void(TGradientFill &)> setup;
};

template <typename E> QString nameOf(E value)
{
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(value));
}

// A small two-colour PNG so the texture and picture samples have something to show.
QByteArray checkerPng()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.setPixel(
                x, y, ((x / 8) + (y / 8)) % 2 ? qRgba(40, 90, 200, 255) : qRgba(255, 210, 60, 200));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void base(TGradientFill &f)
{
    f.SetColor(0xFFFFFF);
    f.SetColorTo(0xC18300);
    f.SetBorderColor(0x808080);
}

QList<Sample> samples()
{
    QList<Sample> list;
    for (int k = gtSolid; k <= gtNone; ++k) {
        list.append({nameOf(TGradientType(k)), [k](TGradientFill &f) {
                         base(f);
                         f.SetGradientType(TGradientType(k));
                         f.SetAngle(30);
                         f.SetHatchStyle(HatchStyleDiagonalCross);
                         f.SetBackGroundPicturePosition(ppTiled);
                         f.BackGroundPicture()->LoadFromBytes(checkerPng());
                     }});
    }
    list.append({QStringLiteral("mirror vertical"), [](TGradientFill &f) {
                     base(f);
                     f.SetColorMirror(0xA06000);
                     f.SetColorMirrorTo(0xFFE0B0);
                     f.SetGradientMirrorType(gtVertical);
                 }});
    list.append({QStringLiteral("mirror radial"), [](TGradientFill &f) {
                     base(f);
                     f.SetGradientType(gtRadial);
                     f.SetColorMirror(0xC18300);
                     f.SetColorMirrorTo(0xFFFFFF);
                     f.SetGradientMirrorType(gtRadial);
                     f.SetRounding(12);
                 }});
    for (int t = rtNone; t <= rtRight; ++t) {
        list.append(
            {QStringLiteral("rounding ") + nameOf(TFillRoundingType(t)), [t](TGradientFill &f) {
                 base(f);
                 f.SetRounding(16);
                 f.SetRoundingType(TFillRoundingType(t));
             }});
    }
    for (int t = stRightBottom; t <= stSurround; ++t) {
        list.append({QStringLiteral("shadow ") + nameOf(TShadowType(t)), [t](TGradientFill &f) {
                         base(f);
                         f.SetShadowOffset(8);
                         f.SetShadowColor(0x404040);
                         f.SetShadowType(TShadowType(t));
                         f.SetRounding(8);
                     }});
    }
    for (int g = gmNone; g <= gmRadialGradient; ++g) {
        list.append({QStringLiteral("glow ") + nameOf(TGlowMode(g)), [g](TGradientFill &f) {
                         f.SetColor(0xC18300);
                         f.SetColorTo(0x603000);
                         f.SetBorderColor(0x303030);
                         f.SetGlow(TGlowMode(g));
                         f.SetGlowRadialColor(0xFFFFFF);
                     }});
    }
    const THatchStyle hatches[] = {HatchStyleHorizontal,
                                   HatchStyleCross,
                                   HatchStyle25Percent,
                                   HatchStyle75Percent,
                                   HatchStyleWideUpwardDiagonal,
                                   HatchStyleZigZag,
                                   HatchStyleHorizontalBrick,
                                   HatchStyleWeave,
                                   HatchStyleSphere,
                                   HatchStyleLargeCheckerBoard,
                                   HatchStyleOutlinedDiamond,
                                   HatchStyleSolidDiamond};
    for (THatchStyle h : hatches) {
        list.append(
            {QString::fromLatin1(zc::ring::HatchStyleName(h)).mid(10), [h](TGradientFill &f) {
                 f.SetColor(0x303030);
                 f.SetColorTo(0xF0F0F0);
                 f.SetBorderColor(0x808080);
                 f.SetGradientType(gtHatch);
                 f.SetHatchStyle(h);
             }});
    }
    list.append({QStringLiteral("picture centred, focus"), [](TGradientFill &f) {
                     base(f);
                     f.Picture()->LoadFromBytes(checkerPng());
                     f.SetPicturePosition(ppCenterCenter);
                     f.SetPictureSize(psCustom);
                     f.SetPictureWidth(32);
                     f.SetPictureHeight(32);
                     f.SetFocus(true);
                 }});
    return list;
}

} // namespace

QImage RenderGallery()
{
    const QList<Sample> list = samples();
    const int rows = int((list.size() + kColumns - 1) / kColumns);
    QImage sheet(kGap + kColumns * (kCellW + kGap), kGap + rows * (kCellH + kLabelH + kGap),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(236, 236, 236));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    for (int i = 0; i < list.size(); ++i) {
        const int x = kGap + (i % kColumns) * (kCellW + kGap);
        const int y = kGap + (i / kColumns) * (kCellH + kLabelH + kGap);
        TGradientFill fill;
        list[i].setup(fill);
        fill.Fill(&p, QRectF(x, y, kCellW, kCellH));
        p.setPen(Qt::black);
        p.drawText(QRect(x, y + kCellH, kCellW, kLabelH), Qt::AlignCenter, list[i].label);
    }
    return sheet;
}
