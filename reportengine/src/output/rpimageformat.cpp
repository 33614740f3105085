// SPDX-License-Identifier: MIT
// Image format operations; every rounding goes halves-to-even.
#include <reportengine/rpimageformat.h>

#include <algorithm>
#include <cmath>

namespace rp {

double RpNearest(double x)
{
    const double low = std::floor(x);
    const double frac = x - low;
    if (frac > 0.5)
        return low + 1;
    if (frac < 0.5)
        return low;
    return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

namespace {

// Sizes and scales are 16-bit; a huge factor must not wrap around.
std::uint16_t nearest16(double x)
{
    return static_cast<std::uint16_t>(std::clamp(RpNearest(x), 0.0, 65535.0));
}

// A zero scale or size would divide by zero in the next operation.
double orOne(double v)
{
    return v == 0 ? 1 : v;
}

} // namespace

const char *RpBorderWord(int brType)
{
    static const char *const words[] = {"",         "\\brdrs",   "\\brdrdb",  "\\brdrth",
                                        "\\brdrsh", "\\brdrdot", "\\brdrhair"};
    return brType >= 0 && brType <= 6 ? words[brType] : "";
}

TRpImageFormat::TRpImageFormat(std::uint16_t x, std::uint16_t y)
{
    SetSizeXY(x, y);
}

void TRpImageFormat::SetScaleX(std::uint16_t v)
{
    if (v == 0)
        v = 1;
    const double k = double(v) / orOne(FScaleX);
    FScaleX = v;
    FSizeX = nearest16(FSizeX * k);
    FSizeXmm *= k;
    if (FProportional) {
        FScaleY = nearest16(k * FScaleY);
        FSizeY = nearest16(k * FSizeY);
        FSizeYmm *= k;
    }
}

void TRpImageFormat::SetScaleY(std::uint16_t v)
{
    if (v == 0)
        v = 1;
    const double k = double(v) / orOne(FScaleY);
    FScaleY = v;
    FSizeY = nearest16(FSizeY * k);
    FSizeYmm *= k;
    if (FProportional) {
        FScaleX = nearest16(k * FScaleX);
        FSizeX = nearest16(k * FSizeX);
        FSizeXmm *= k;
    }
}

void TRpImageFormat::SetSizeXY(std::uint16_t x, std::uint16_t y)
{
    FSizeX = x;
    FSizeY = y;
    FScaleX = 100;
    FScaleY = 100;
    FSizeXmm = x * RpMmPerPixel;
    FSizeYmm = y * RpMmPerPixel;
}

void TRpImageFormat::SetSizeXmm(double v)
{
    if (!(v > 0) || v == FSizeXmm)
        return;
    const double k = FSizeXmm > 0 ? v / FSizeXmm : 1;
    FSizeXmm = v;
    FSizeX = nearest16(FSizeX * k);
    FScaleX = nearest16(k * FScaleX);
    if (FProportional) {
        FSizeYmm = RpNearest(k * FSizeYmm);
        FSizeY = nearest16(k * FSizeY);
        FScaleY = nearest16(k * FScaleY);
    }
}

void TRpImageFormat::SetSizeYmm(double v)
{
    if (!(v > 0) || v == FSizeYmm)
        return;
    const double k = FSizeYmm > 0 ? v / FSizeYmm : 1;
    FSizeYmm = v;
    FSizeY = nearest16(FSizeY * k);
    FScaleY = nearest16(k * FScaleY);
    if (FProportional) {
        FSizeXmm = RpNearest(k * FSizeXmm);
        FSizeX = nearest16(k * FSizeX);
        FScaleX = nearest16(k * FScaleX);
    }
}

void TRpImageFormat::FitScaleToX(std::uint16_t x)
{
    SetScaleX(nearest16(double(x == 0 ? 1 : x) / orOne(FSizeX) * 100));
}

void TRpImageFormat::FitScaleToY(std::uint16_t y)
{
    SetScaleY(nearest16(double(y == 0 ? 1 : y) / orOne(FSizeY) * 100));
}

void TRpImageFormat::SetBorder(const TRpImageBorder &border)
{
    FBorder = border;
    // A negative or NaN width is no border rather than a wrapped twips value.
    if (!(FBorder.Width > 0))
        FBorder.Width = 0;
    FBorder.Width = std::min(FBorder.Width, 3.5f);
    FBorderTwips = static_cast<std::uint8_t>(std::min(RpNearest(FBorder.Width * 20.0), 75.0));
    if (FBorderTwips == 0)
        FBorder.BrType = ibtNone;
}

void TRpImageFormat::SetBorderType(std::uint8_t brType, float width, std::uint16_t colorIndex)
{
    SetBorder(TRpImageBorder{brType, width, colorIndex});
}

} // namespace rp
