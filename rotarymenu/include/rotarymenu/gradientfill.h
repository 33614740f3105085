// SPDX-License-Identifier: MIT
// Gradient fill painter: body gradients, mirror half, rounded outline, shadow, glow, pictures.
#pragma once

#include <rotarymenu/hatchpatterns.h>
#include <rotarymenu/picture.h>

#include <QColor>
#include <QObject>
#include <QPainterPath>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <stdexcept>

class QPainter;
namespace zc {
class IniFile;
namespace ring {
struct TBodyShape;
struct TFillCache;
struct TFillOpacities;
} // namespace ring
} // namespace zc

/// A colour value: red in the low byte, then green, then blue. Negative values name system
/// colours (the low byte is the Windows colour index 0-30, resolved through the application
/// palette); `clNone` means no colour.
using TColor = qint32;
inline constexpr TColor clNone = 0x1FFFFFFF;
/// The base of system colour values: `clSystemColor | index`.
inline constexpr TColor clSystemColor = TColor(0xFF000000);

/// Rectangles of the painter: (X, Y, Width, Height) in floating-point pixels.
using TGPRectF = QRectF;

namespace zc::ring {

/// The 24-bit RGB value of a colour, with system colours resolved; black for `clNone`.
QRgb ResolveColor(TColor color);
/// ARGB value of a colour and an opacity: alpha in bits 24-31, then red, green, blue.
QRgb MakeColor(quint8 alpha, TColor color);
/// `MakeColor` as a `QColor`.
inline QColor MakeQColor(quint8 alpha, TColor color)
{
    return QColor::fromRgba(MakeColor(alpha, color));
}

} // namespace zc::ring

/// Raised by loading fill settings that cannot be converted (a bad hex digit in a picture text,
/// an enumeration value out of range).
class EFillConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// Describes how a rectangular area is painted and paints it. Every setter compares, stores
/// and raises `OnChange` (unless updates are suspended) only when the value differs; painting
/// never changes a setting.
class TGradientFill : public QObject
{
    Q_OBJECT

public:
    enum TGradientType
    {
        gtSolid,
        gtRadial,
        gtVertical,
        gtHorizontal,
        gtForwardDiagonal,
        gtBackwardDiagonal,
        gtAngle,
        gtHatch,
        gtPath,
        gtTexture,
        gtNone
    };
    Q_ENUM(TGradientType)
    enum TGlowMode
    {
        gmNone,
        gmGradient,
        gmRadial,
        gmRadialGradient
    };
    Q_ENUM(TGlowMode)
    enum TFillPicturePosition
    {
        ppTopLeft,
        ppTopCenter,
        ppTopRight,
        ppBottomLeft,
        ppBottomCenter,
        ppBottomRight,
        ppTiled,
        ppStretched,
        ppCenterLeft,
        ppCenterCenter,
        ppCenterRight,
        ppCustom
    };
    Q_ENUM(TFillPicturePosition)
    enum TFillRoundingType
    {
        rtNone,
        rtTop,
        rtBottom,
        rtBoth,
        rtLeft,
        rtRight
    };
    Q_ENUM(TFillRoundingType)
    enum TFillPictureSize
    {
        psOriginal,
        psCustom
    };
    Q_ENUM(TFillPictureSize)
    enum TFillPictureMode
    {
        pmInsideFill,
        pmOutsideFill
    };
    Q_ENUM(TFillPictureMode)
    enum TPictureMode
    {
        pmStretch,
        pmNormal
    };
    Q_ENUM(TPictureMode)
    enum TShadowType
    {
        stRightBottom,
        stBottom,
        stSurround
    };
    Q_ENUM(TShadowType)

    explicit TGradientFill(QObject *parent = nullptr);
    ~TGradientFill() override;

    // Settings, in streaming order. Defaults in brackets.

    TColor Color() const { return m_color; } // [0xC0C0C0]
    void SetColor(TColor value);
    TColor ColorTo() const { return m_colorTo; } // [0x808080]
    void SetColorTo(TColor value);
    TColor ColorMirror() const { return m_colorMirror; } // [clNone] switches the mirror half off
    void SetColorMirror(TColor value);
    TColor ColorMirrorTo() const { return m_colorMirrorTo; } // [clNone]
    void SetColorMirrorTo(TColor value);
    TGradientType GradientType() const { return m_gradientType; } // [gtVertical]
    void SetGradientType(TGradientType value);
    TGradientType GradientMirrorType() const { return m_gradientMirrorType; } // [gtSolid]
    void SetGradientMirrorType(TGradientType value);
    THatchStyle HatchStyle() const { return m_hatchStyle; } // [HatchStyleHorizontal]
    void SetHatchStyle(THatchStyle value);
    THatchStyle HatchStyleMirror() const { return m_hatchStyleMirror; } // [HatchStyleHorizontal]
    void SetHatchStyleMirror(THatchStyle value);
    bool BackGroundPictureAspectRatio() const { return m_bgAspectRatio; } // [false]
    void SetBackGroundPictureAspectRatio(bool value);
    TFillPictureMode BackGroundPictureMode() const { return m_bgMode; } // [pmOutsideFill]
    void SetBackGroundPictureMode(TFillPictureMode value);
    /// The owned background picture; its changes notify the fill.
    TPicture *BackGroundPicture() const { return m_bgPicture; }
    /// Copies the given picture's content (none clears).
    void SetBackGroundPicture(const TPicture *value);
    TFillPicturePosition BackGroundPicturePosition() const { return m_bgPosition; } // [ppTopLeft]
    void SetBackGroundPicturePosition(TFillPicturePosition value);
    qint32 BackGroundPictureLeft() const { return m_bgLeft; } // [0]
    void SetBackGroundPictureLeft(qint32 value);
    qint32 BackGroundPictureTop() const { return m_bgTop; } // [0]
    void SetBackGroundPictureTop(qint32 value);
    TPictureMode BackGroundPictureAspectMode() const { return m_bgAspectMode; } // [pmStretch]
    void SetBackGroundPictureAspectMode(TPictureMode value);
    /// The owned foreground picture; its changes notify the fill.
    TPicture *Picture() const { return m_picture; }
    /// Copies the given picture's content (none clears).
    void SetPicture(const TPicture *value);
    TFillPicturePosition PicturePosition() const { return m_picPosition; } // [ppTopLeft]
    void SetPicturePosition(TFillPicturePosition value);
    qint32 PictureLeft() const { return m_picLeft; } // [0]
    void SetPictureLeft(qint32 value);
    qint32 PictureTop() const { return m_picTop; } // [0]
    void SetPictureTop(qint32 value);
    TFillPictureSize PictureSize() const { return m_picSize; } // [psOriginal]
    void SetPictureSize(TFillPictureSize value);
    qint32 PictureWidth() const { return m_picWidth; } // [50]
    void SetPictureWidth(qint32 value);
    qint32 PictureHeight() const { return m_picHeight; } // [50]
    void SetPictureHeight(qint32 value);
    bool PictureAspectRatio() const { return m_picAspectRatio; } // [false]
    void SetPictureAspectRatio(bool value);
    TPictureMode PictureAspectMode() const { return m_picAspectMode; } // [pmStretch]
    void SetPictureAspectMode(TPictureMode value);
    quint8 Opacity() const { return m_opacity; } // [255]
    void SetOpacity(quint8 value);
    quint8 OpacityTo() const { return m_opacityTo; } // [255]
    void SetOpacityTo(quint8 value);
    quint8 OpacityMirror() const { return m_opacityMirror; } // [255]
    void SetOpacityMirror(quint8 value);
    quint8 OpacityMirrorTo() const { return m_opacityMirrorTo; } // [255]
    void SetOpacityMirrorTo(quint8 value);
    TColor BorderColor() const { return m_borderColor; } // [clNone] no border
    void SetBorderColor(TColor value);
    quint8 BorderOpacity() const { return m_borderOpacity; } // [255]
    void SetBorderOpacity(quint8 value);
    qint32 BorderWidth() const { return m_borderWidth; } // [1] 0 or less: no border
    void SetBorderWidth(qint32 value);
    qint32 Rounding() const { return m_rounding; } // [0] corner radius
    void SetRounding(qint32 value);
    TFillRoundingType RoundingType() const { return m_roundingType; } // [rtBoth]
    void SetRoundingType(TFillRoundingType value);
    TColor ShadowColor() const { return m_shadowColor; } // [0x808080]
    void SetShadowColor(TColor value);
    qint32 ShadowOffset() const { return m_shadowOffset; } // [0] 0 or less: no shadow
    void SetShadowOffset(qint32 value);
    TShadowType ShadowType() const { return m_shadowType; } // [stRightBottom]
    void SetShadowType(TShadowType value);
    qint32 Angle() const { return m_angle; } // [0] degrees, for gtAngle
    void SetAngle(qint32 value);
    TGlowMode Glow() const { return m_glow; } // [gmNone]
    void SetGlow(TGlowMode value);
    TColor GlowGradientColor() const { return m_glowGradientColor; } // [0xFFFFFF]
    void SetGlowGradientColor(TColor value);
    TColor GlowRadialColor() const { return m_glowRadialColor; } // [0xFFFFFF]
    void SetGlowRadialColor(TColor value);

    // Public, not streamed.

    bool Focus() const { return m_focus; } // [false] draw the dotted focus outline
    void SetFocus(bool value);
    TColor FocusColor() const { return m_focusColor; } // [0, black]
    void SetFocusColor(TColor value);
    /// The inner rectangle computed by the last `Fill` (inside the border).
    TGPRectF FocusRect() const { return m_focusRect; }
    /// Nesting depth of `BeginUpdate`.
    qint32 UpdateCount() const { return m_updateCount; }

    /// Paints the fill into R and returns R less the shadow. An opacity argument of 255 uses
    /// the fill's own setting; any other value overrides it for this call. An absent painter
    /// draws nothing. The painter's state (clip, hints, pen, brush) is left as it was.
    TGPRectF Fill(QPainter *graphics, const TGPRectF &r, quint8 aBorderOpacity = 255,
                  quint8 aOpacity = 255, quint8 aOpacityTo = 255, quint8 aOpacityMirror = 255,
                  quint8 aOpacityMirrorTo = 255);

    /// Whether what Fill() paints into a rectangle is the same all along each of its lines in
    /// `direction` (rows for Qt::Horizontal), away from the rectangle's ends that its edges and
    /// border reach: a plain or linear body across that direction, square, with nothing else
    /// drawn over it. Such a fill can be painted over a narrower rectangle and drawn out.
    bool IsAlikeAlong(Qt::Orientation direction) const;
    /// Whether Fill() at full opacity covers every pixel of a rectangle opaquely, but for the
    /// anti-aliased pixels along its edges: a square plain or linear body of opaque colours,
    /// without a shadow taking off part of the rectangle (whatever else it draws goes on top).
    bool IsOpaque() const;

    /// Copies every setting except `Focus`, `FocusColor` and the connections, then notifies
    /// once. Anything that is not a `TGradientFill` is ignored.
    void Assign(const QObject *source);

    /// Raises `OnChange` unless updates are suspended.
    void Changed();
    void BeginUpdate();
    /// Ends one `BeginUpdate`; raises nothing by itself.
    void EndUpdate();

    /// A closed outline of R with corners of `radius` rounded as the type says (radius 0 or
    /// less: the plain rectangle). A radius too large for R is reduced to the largest that
    /// fits. `mirror` has no effect.
    static QPainterPath CreateRoundRectangle(const TGPRectF &r, qint32 radius,
                                             TFillRoundingType roundingType, bool mirror = false);
    /// Adds the segments of a rounded rectangle, clockwise from the top-left corner, to the
    /// current figure of `path`; `d` is the corner circle's diameter and `r` its radius.
    static void GetPath(QPainterPath &path, qreal x, qreal y, qreal w, qreal h, qreal d, qreal r,
                        TFillRoundingType roundingType);
    /// Draws a picture at its drawing size `w` x `h` placed in `rc` by `location`; `x`, `y`
    /// are the absolute position for `ppCustom`. Empty pictures draw nothing.
    static void DrawPicture(QPainter *graphics, bool aspectRatio, TPictureMode aspectMode,
                            const TPicture *picture, TFillPicturePosition location, int w, int h,
                            const QRect &rc, int x, int y);
    /// The largest size of the proportions ow x oh that fits nw x nh; with `pmNormal` a
    /// picture smaller than the box keeps its size. (0, 0) unless all four are above 0.
    static QSizeF GetAspectSize(qreal ow, qreal oh, qreal nw, qreal nh, TPictureMode mode);

    // Persistence: one INI section, or the system clipboard.

    /// Writes the settings to a section of an INI file, one decimal integer per key, pictures
    /// as upper-case hex of their bytes under "Picture" and "BackgroundPicture" with their
    /// text lengths under "ForegroundPictureSize" and "BackgroundPictureSize" ("PictureSize"
    /// already names the drawing size). Throws std::runtime_error when the file cannot be
    /// written.
    void SaveToFile(const QString &fileName, const QString &section) const;
    void SaveToFile(zc::IniFile &ini, const QString &section) const;
    /// Reads the settings of a section; missing keys keep their values. Throws
    /// `EFillConvertError` on a bad picture text or an enumeration or byte value out of range;
    /// what was read before the failure is kept.
    void LoadFromFile(const QString &fileName, const QString &section);
    void LoadFromFile(const zc::IniFile &ini, const QString &section);

    /// MIME type under which the clipboard holds a fill (the format "Gradient Fill").
    static QString ClipboardMimeType();
    /// The clipboard text: the settings that differ from the defaults (and those always
    /// written), in streaming order.
    QByteArray SaveToText() const;
    /// Reads a clipboard text into the fill: settings it does not name take their defaults.
    /// Throws `EFillConvertError` when the text is not a fill.
    void LoadFromText(const QByteArray &text);
    /// Places the fill on the system clipboard.
    void SaveToClipBoard() const;
    /// Reads the fill from the clipboard; does nothing when it holds no fill.
    void LoadFromClipBoard();

Q_SIGNALS:
    /// Raised by `Changed`.
    void OnChange(TGradientFill *Sender);

private:
    friend class TGradientFillPainter;
    friend class TGradientFillSettings;

    /// A lower half with the mirror colours is painted (hatches and textures have none).
    bool hasMirrorHalf() const
    {
        return m_gradientType != gtHatch && m_gradientType != gtTexture && m_colorMirror != clNone;
    }
    bool hasShadow() const { return m_shadowOffset > 0 && m_shadowColor != clNone; }
    /// What the body paints at the opacities `op`; the painter and the questions about its
    /// pixels (IsOpaque(), IsAlikeAlong()) all read this.
    zc::ring::TBodyShape BodyShape(const zc::ring::TFillOpacities &op) const;
    zc::ring::TFillOpacities ownOpacities() const;

    TColor m_color = 0xC0C0C0;
    TColor m_colorTo = 0x808080;
    TColor m_colorMirror = clNone;
    TColor m_colorMirrorTo = clNone;
    TGradientType m_gradientType = gtVertical;
    TGradientType m_gradientMirrorType = gtSolid;
    THatchStyle m_hatchStyle = HatchStyleHorizontal;
    THatchStyle m_hatchStyleMirror = HatchStyleHorizontal;
    bool m_bgAspectRatio = false;
    TFillPictureMode m_bgMode = pmOutsideFill;
    TPicture *m_bgPicture = nullptr;
    TFillPicturePosition m_bgPosition = ppTopLeft;
    qint32 m_bgLeft = 0;
    qint32 m_bgTop = 0;
    TPictureMode m_bgAspectMode = pmStretch;
    TPicture *m_picture = nullptr;
    TFillPicturePosition m_picPosition = ppTopLeft;
    qint32 m_picLeft = 0;
    qint32 m_picTop = 0;
    TFillPictureSize m_picSize = psOriginal;
    qint32 m_picWidth = 50;
    qint32 m_picHeight = 50;
    bool m_picAspectRatio = false;
    TPictureMode m_picAspectMode = pmStretch;
    quint8 m_opacity = 255;
    quint8 m_opacityTo = 255;
    quint8 m_opacityMirror = 255;
    quint8 m_opacityMirrorTo = 255;
    TColor m_borderColor = clNone;
    quint8 m_borderOpacity = 255;
    qint32 m_borderWidth = 1;
    qint32 m_rounding = 0;
    TFillRoundingType m_roundingType = rtBoth;
    TColor m_shadowColor = 0x808080;
    qint32 m_shadowOffset = 0;
    TShadowType m_shadowType = stRightBottom;
    qint32 m_angle = 0;
    TGlowMode m_glow = gmNone;
    TColor m_glowGradientColor = 0xFFFFFF;
    TColor m_glowRadialColor = 0xFFFFFF;

    bool m_focus = false;
    TColor m_focusColor = 0;
    TGPRectF m_focusRect;
    qint32 m_updateCount = 0;
    /// Gradients and brush tables of earlier paints, made on the first Fill().
    std::unique_ptr<zc::ring::TFillCache> m_cache;
};

using TGradientType = TGradientFill::TGradientType;
using TGlowMode = TGradientFill::TGlowMode;
using TFillPicturePosition = TGradientFill::TFillPicturePosition;
using TFillRoundingType = TGradientFill::TFillRoundingType;
using TFillPictureSize = TGradientFill::TFillPictureSize;
using TFillPictureMode = TGradientFill::TFillPictureMode;
using TPictureMode = TGradientFill::TPictureMode;
using TShadowType = TGradientFill::TShadowType;
// The member names are used unqualified throughout, as the enumerations are their own types.
using enum TGradientFill::TGradientType;
using enum TGradientFill::TGlowMode;
using enum TGradientFill::TFillPicturePosition;
using enum TGradientFill::TFillRoundingType;
using enum TGradientFill::TFillPictureSize;
using enum TGradientFill::TFillPictureMode;
using enum TGradientFill::TPictureMode;
using enum TGradientFill::TShadowType;
