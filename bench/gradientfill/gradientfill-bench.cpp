// SPDX-License-Identifier: MIT
// Painting gradient fills against a plain fillRect of the same size.
#include <rotarymenu/gradientfill.h>

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSize = 150;

QImage canvas()
{
    QImage image(kSize + 10, kSize + 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

void plainFillRect(benchmark::State &state)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (auto _ : state) {
        p.fillRect(QRectF(0, 0, kSize, kSize), QColor(200, 200, 200));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(plainFillRect);

void verticalGradientWithBorder(benchmark::State &state)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    TGradientFill fill;
    fill.SetColor(0xFFFFFF);
    fill.SetColorTo(0xC0C0C0);
    fill.SetBorderColor(0x808080);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fill.Fill(&p, QRectF(0, 0, kSize, kSize)));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(verticalGradientWithBorder);

void radialMirrorRoundedShadowGlow(benchmark::State &state)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    TGradientFill fill;
    fill.SetColor(0xFFFFFF);
    fill.SetColorTo(0xC18300);
    fill.SetGradientType(gtRadial);
    fill.SetColorMirror(0xC18300);
    fill.SetColorMirrorTo(0xFFFFFF);
    fill.SetGradientMirrorType(gtRadial);
    fill.SetRounding(10);
    fill.SetShadowOffset(4);
    fill.SetGlow(gmRadialGradient);
    fill.SetBorderColor(0x808080);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fill.Fill(&p, QRectF(0, 0, kSize, kSize)));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(radialMirrorRoundedShadowGlow);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
