// SPDX-License-Identifier: MIT
// Image format: the displayed size, scale and border of one written picture.
#pragma once

#include <cstdint>

namespace rp {

/// Whole number nearest to `x`, halves going to the even neighbour.
double RpNearest(double x);

/// Border kinds of a picture; each writes its own RTF border word.
enum TRpImageBorderType : std::uint8_t
{
    ibtNone = 0,
    ibtSingle = 1,
    ibtDouble = 2,
    ibtThick = 3,
    ibtShadowed = 4,
    ibtDotted = 5,
    ibtHairline = 6,
};

/// The RTF control word of a border type ("" for none or an unknown type).
const char *RpBorderWord(int brType);

struct TRpImageBorder
{
    std::uint8_t BrType = ibtNone;
    float Width = 0;              ///< points
    std::uint16_t ColorIndex = 0; ///< index into the document colour table
};

/// Millimetres per pixel at 96 dpi.
inline constexpr double RpMmPerPixel = 0.264596930676;
/// Hundredths of a millimetre per pixel at 96 dpi.
inline constexpr double RpHimetricPerPixel = 26.4596930676;
/// Twips per 100 mm.
inline constexpr double RpTwipsPer100mm = 5669;

/// Size, scale and border of one picture, handed to the host's OnImageFormat.
class TRpImageFormat
{
public:
    /// A picture of x by y pixels at natural size, proportional, without border.
    TRpImageFormat(std::uint16_t x, std::uint16_t y);

    /// Scale in percent (0 counts as 1); the pixel and millimetre sizes follow.
    void SetScaleX(std::uint16_t v);
    void SetScaleY(std::uint16_t v);
    /// New pixel size at scale 100.
    void SetSizeXY(std::uint16_t x, std::uint16_t y);
    /// New displayed size in millimetres (ignored unless positive and different).
    void SetSizeXmm(double v);
    void SetSizeYmm(double v);
    /// Scales so that the width becomes x pixels.
    void FitScaleToX(std::uint16_t x);
    void FitScaleToY(std::uint16_t y);
    /// Width capped at 3.5 pt (75 twips); a border of zero twips is no border.
    void SetBorder(const TRpImageBorder &border);
    void SetBorderType(std::uint8_t brType, float width, std::uint16_t colorIndex);

    double FSizeXmm = 0;
    double FSizeYmm = 0;
    std::uint16_t FSizeX = 0;
    std::uint16_t FSizeY = 0;
    std::uint16_t FScaleX = 100;
    std::uint16_t FScaleY = 100;
    TRpImageBorder FBorder;
    std::uint8_t FBorderTwips = 0;
    bool FProportional = true;
};

} // namespace rp
