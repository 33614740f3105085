// SPDX-License-Identifier: MIT
// Gradient fill settings: defaults, change notification, copying, colours and outlines.
#include <rotarymenu/gradientfill.h>

#include "fill/fillcache.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

using namespace zc::ring;

namespace {

template <typename T> bool storeIfChanged(T &field, const T &value)
{
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

// Windows system colour indices 0-30, each mapped to the palette role that plays its part.
QColor systemColor(int index)
{
    const QPalette pal = qGuiApp ? QGuiApplication::palette() : QPalette();
    using R = QPalette::ColorRole;
    using G = QPalette::ColorGroup;
    struct Slot
    {
        G group;
        R role;
    };
    static constexpr Slot colorRoles[31] = {
        {G::Active, R::Mid},             // 0 scroll bar
        {G::Active, R::Dark},            // 1 desktop
        {G::Active, R::Highlight},       // 2 active caption
        {G::Inactive, R::Window},        // 3 inactive caption
        {G::Active, R::Window},          // 4 menu
        {G::Active, R::Base},            // 5 window
        {G::Active, R::Shadow},          // 6 window frame
        {G::Active, R::WindowText},      // 7 menu text
        {G::Active, R::Text},            // 8 window text
        {G::Active, R::HighlightedText}, // 9 caption text
        {G::Active, R::Window},          // 10 active border
        {G::Inactive, R::Window},        // 11 inactive border
        {G::Active, R::Mid},             // 12 application workspace
        {G::Active, R::Highlight},       // 13 highlight
        {G::Active, R::HighlightedText}, // 14 highlighted text
        {G::Active, R::Button},          // 15 button face
        {G::Active, R::Dark},            // 16 button shadow
        {G::Disabled, R::Text},          // 17 grey text
        {G::Active, R::ButtonText},      // 18 button text
        {G::Inactive, R::WindowText},    // 19 inactive caption text
        {G::Active, R::Light},           // 20 button highlight
        {G::Active, R::Shadow},          // 21 3D dark shadow
        {G::Active, R::Midlight},        // 22 3D light
        {G::Active, R::ToolTipText},     // 23 tooltip text
        {G::Active, R::ToolTipBase},     // 24 tooltip background
        {G::Active, R::Window},          // 25 unused on Windows
        {G::Active, R::Link},            // 26 hot-tracked item
        {G::Active, R::Highlight},       // 27 gradient of the active caption
        {G::Inactive, R::Window},        // 28 gradient of the inactive caption
        {G::Active, R::Highlight},       // 29 highlighted menu item
        {G::Active, R::Window},          // 30 menu bar
    };
    if (index < 0 || index > 30) {
        return Qt::black;
    }
    return pal.color(colorRoles[index].group, colorRoles[index].role);
}

} // namespace

QRgb zc::ring::ResolveColor(TColor color)
{
    if (color < 0) {
        return systemColor(color & 0xFF).rgb() & 0xFFFFFF;
    }
    if (color == clNone) {
        return 0;
    }
    const quint32 c = quint32(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

QRgb zc::ring::MakeColor(quint8 alpha, TColor color)
{
    return (quint32(alpha) << 24) | (ResolveColor(color) & 0xFFFFFF);
}

TGradientFill::TGradientFill(QObject *parent)
    : QObject(parent), m_bgPicture(new TPicture(this)), m_picture(new TPicture(this))
{
    connect(m_bgPicture, &TPicture::OnChange, this, [this] { Changed(); });
    connect(m_picture, &TPicture::OnChange, this, [this] { Changed(); });
}

// Both pictures are children and go with the fill.
TGradientFill::~TGradientFill() = default;

void TGradientFill::SetColor(TColor value)
{
    if (storeIfChanged(m_color, value)) {
        Changed();
    }
}

void TGradientFill::SetColorTo(TColor value)
{
    if (storeIfChanged(m_colorTo, value)) {
        Changed();
    }
}

void TGradientFill::SetColorMirror(TColor value)
{
    if (storeIfChanged(m_colorMirror, value)) {
        Changed();
    }
}

void TGradientFill::SetColorMirrorTo(TColor value)
{
    if (storeIfChanged(m_colorMirrorTo, value)) {
        Changed();
    }
}

void TGradientFill::SetGradientType(TGradientType value)
{
    if (storeIfChanged(m_gradientType, value)) {
        Changed();
    }
}

void TGradientFill::SetGradientMirrorType(TGradientType value)
{
    if (storeIfChanged(m_gradientMirrorType, value)) {
        Changed();
    }
}

void TGradientFill::SetHatchStyle(THatchStyle value)
{
    if (storeIfChanged(m_hatchStyle, value)) {
        Changed();
    }
}

void TGradientFill::SetHatchStyleMirror(THatchStyle value)
{
    if (storeIfChanged(m_hatchStyleMirror, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPictureAspectRatio(bool value)
{
    if (storeIfChanged(m_bgAspectRatio, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPictureMode(TFillPictureMode value)
{
    if (storeIfChanged(m_bgMode, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPicturePosition(TFillPicturePosition value)
{
    if (storeIfChanged(m_bgPosition, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPictureLeft(qint32 value)
{
    if (storeIfChanged(m_bgLeft, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPictureTop(qint32 value)
{
    if (storeIfChanged(m_bgTop, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPictureAspectMode(TPictureMode value)
{
    if (storeIfChanged(m_bgAspectMode, value)) {
        Changed();
    }
}

void TGradientFill::SetPicturePosition(TFillPicturePosition value)
{
    if (storeIfChanged(m_picPosition, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureLeft(qint32 value)
{
    if (storeIfChanged(m_picLeft, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureTop(qint32 value)
{
    if (storeIfChanged(m_picTop, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureSize(TFillPictureSize value)
{
    if (storeIfChanged(m_picSize, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureWidth(qint32 value)
{
    if (storeIfChanged(m_picWidth, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureHeight(qint32 value)
{
    if (storeIfChanged(m_picHeight, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureAspectRatio(bool value)
{
    if (storeIfChanged(m_picAspectRatio, value)) {
        Changed();
    }
}

void TGradientFill::SetPictureAspectMode(TPictureMode value)
{
    if (storeIfChanged(m_picAspectMode, value)) {
        Changed();
    }
}

void TGradientFill::SetOpacity(quint8 value)
{
    if (storeIfChanged(m_opacity, value)) {
        Changed();
    }
}

void TGradientFill::SetOpacityTo(quint8 value)
{
    if (storeIfChanged(m_opacityTo, value)) {
        Changed();
    }
}

void TGradientFill::SetOpacityMirror(quint8 value)
{
    if (storeIfChanged(m_opacityMirror, value)) {
        Changed();
    }
}

void TGradientFill::SetOpacityMirrorTo(quint8 value)
{
    if (storeIfChanged(m_opacityMirrorTo, value)) {
        Changed();
    }
}

void TGradientFill::SetBorderColor(TColor value)
{
    if (storeIfChanged(m_borderColor, value)) {
        Changed();
    }
}

void TGradientFill::SetBorderOpacity(quint8 value)
{
    if (storeIfChanged(m_borderOpacity, value)) {
        Changed();
    }
}

void TGradientFill::SetBorderWidth(qint32 value)
{
    if (storeIfChanged(m_borderWidth, value)) {
        Changed();
    }
}

void TGradientFill::SetRounding(qint32 value)
{
    if (storeIfChanged(m_rounding, value)) {
        Changed();
    }
}

void TGradientFill::SetRoundingType(TFillRoundingType value)
{
    if (storeIfChanged(m_roundingType, value)) {
        Changed();
    }
}

void TGradientFill::SetShadowColor(TColor value)
{
    if (storeIfChanged(m_shadowColor, value)) {
        Changed();
    }
}

void TGradientFill::SetShadowOffset(qint32 value)
{
    if (storeIfChanged(m_shadowOffset, value)) {
        Changed();
    }
}

void TGradientFill::SetShadowType(TShadowType value)
{
    if (storeIfChanged(m_shadowType, value)) {
        Changed();
    }
}

void TGradientFill::SetAngle(qint32 value)
{
    if (storeIfChanged(m_angle, value)) {
        Changed();
    }
}

void TGradientFill::SetGlow(TGlowMode value)
{
    if (storeIfChanged(m_glow, value)) {
        Changed();
    }
}

void TGradientFill::SetGlowGradientColor(TColor value)
{
    if (storeIfChanged(m_glowGradientColor, value)) {
        Changed();
    }
}

void TGradientFill::SetGlowRadialColor(TColor value)
{
    if (storeIfChanged(m_glowRadialColor, value)) {
        Changed();
    }
}

void TGradientFill::SetFocus(bool value)
{
    if (storeIfChanged(m_focus, value)) {
        Changed();
    }
}

void TGradientFill::SetFocusColor(TColor value)
{
    if (storeIfChanged(m_focusColor, value)) {
        Changed();
    }
}

void TGradientFill::SetBackGroundPicture(const TPicture *value)
{
    // The owned picture notifies the fill itself when its content changes.
    m_bgPicture->Assign(value);
}

void TGradientFill::SetPicture(const TPicture *value)
{
    m_picture->Assign(value);
}

void TGradientFill::Assign(const QObject *source)
{
    const auto *src = qobject_cast<const TGradientFill *>(source);
    if (!src || src == this) {
        return;
    }
    // Picture changes would each notify on their own; one notification ends the copy.
    ++m_updateCount;
    m_picAspectRatio = src->m_picAspectRatio;
    m_picAspectMode = src->m_picAspectMode;
    m_bgAspectRatio = src->m_bgAspectRatio;
    m_bgAspectMode = src->m_bgAspectMode;
    m_color = src->m_color;
    m_colorTo = src->m_colorTo;
    m_colorMirror = src->m_colorMirror;
    m_colorMirrorTo = src->m_colorMirrorTo;
    m_gradientType = src->m_gradientType;
    m_gradientMirrorType = src->m_gradientMirrorType;
    m_hatchStyle = src->m_hatchStyle;
    m_hatchStyleMirror = src->m_hatchStyleMirror;
    m_bgPicture->Assign(src->m_bgPicture);
    m_bgPosition = src->m_bgPosition;
    m_bgLeft = src->m_bgLeft;
    m_bgTop = src->m_bgTop;
    m_picture->Assign(src->m_picture);
    m_picPosition = src->m_picPosition;
    m_picLeft = src->m_picLeft;
    m_picTop = src->m_picTop;
    m_picSize = src->m_picSize;
    m_picWidth = src->m_picWidth;
    m_picHeight = src->m_picHeight;
    m_opacity = src->m_opacity;
    m_opacityTo = src->m_opacityTo;
    m_opacityMirror = src->m_opacityMirror;
    m_opacityMirrorTo = src->m_opacityMirrorTo;
    m_borderColor = src->m_borderColor;
    m_borderWidth = src->m_borderWidth;
    m_rounding = src->m_rounding;
    m_roundingType = src->m_roundingType;
    m_shadowColor = src->m_shadowColor;
    m_shadowOffset = src->m_shadowOffset;
    m_shadowType = src->m_shadowType;
    m_angle = src->m_angle;
    m_borderOpacity = src->m_borderOpacity;
    m_bgMode = src->m_bgMode;
    m_glowGradientColor = src->m_glowGradientColor;
    m_glowRadialColor = src->m_glowRadialColor;
    m_glow = src->m_glow;
    --m_updateCount;
    Changed();
}

void TGradientFill::Changed()
{
    if (m_updateCount == 0) {
        Q_EMIT OnChange(this);
    }
}

void TGradientFill::BeginUpdate()
{
    ++m_updateCount;
}

void TGradientFill::EndUpdate()
{
    if (m_updateCount > 0) {
        --m_updateCount;
    }
}

QPainterPath TGradientFill::CreateRoundRectangle(const TGPRectF &r, qint32 radius,
                                                 TFillRoundingType roundingType, bool mirror)
{
    Q_UNUSED(mirror)
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    qreal rad = std::max<qreal>(0, radius);
    // Two arcs on one side must not cross each other, or the outline would leave R.
    const bool twoAcross =
        roundingType == rtTop || roundingType == rtBottom || roundingType == rtBoth;
    const bool twoDown =
        roundingType == rtLeft || roundingType == rtRight || roundingType == rtBoth;
    const qreal w = std::max<qreal>(0, r.width());
    const qreal h = std::max<qreal>(0, r.height());
    rad = std::min(rad, twoAcross ? w / 2 : w);
    rad = std::min(rad, twoDown ? h / 2 : h);
    GetPath(path, r.x(), r.y(), r.width(), r.height(), 2 * rad, rad, roundingType);
    path.closeSubpath();
    return path;
}

namespace {

// Segments join the previous one by a straight line, as a figure's segments do.
void addLine(QPainterPath &path, bool &started, QPointF from, QPointF to)
{
    if (!started) {
        path.moveTo(from);
        started = true;
    } else {
        path.lineTo(from);
    }
    path.lineTo(to);
}

// Angles are clockwise on screen; QPainterPath counts them the other way round.
void addArc(QPainterPath &path, bool &started, const QRectF &box, qreal start, qreal sweep)
{
    if (box.width() <= 0 || box.height() <= 0) {
        return; // a degenerate arc adds nothing; the lines still join
    }
    if (!started) {
        path.arcMoveTo(box, -start);
        started = true;
    }
    path.arcTo(box, -start, -sweep);
}

} // namespace

void TGradientFill::GetPath(QPainterPath &path, qreal x, qreal y, qreal w, qreal h, qreal d,
                            qreal r, TFillRoundingType roundingType)
{
    bool started = false; // each call starts its own figure
    const QRectF tl(x, y, d, d), tr(x + w - d, y, d, d);
    const QRectF br(x + w - d, y + h - d, d, d), bl(x, y + h - d, d, d);
    switch (roundingType) {
    case rtNone:
        addLine(path, started, {x, y}, {x + w, y});
        addLine(path, started, {x + w, y}, {x + w, y + h});
        addLine(path, started, {x + w, y + h}, {x, y + h});
        addLine(path, started, {x, y + h}, {x, y});
        break;
    case rtTop:
        addArc(path, started, tl, 180, 90);
        addLine(path, started, {x + r, y}, {x + w - r, y});
        addArc(path, started, tr, 270, 90);
        addLine(path, started, {x + w, y + r}, {x + w, y + h});
        addLine(path, started, {x + w, y + h}, {x, y + h});
        addLine(path, started, {x, y + h}, {x, y + r});
        break;
    case rtBottom:
        addLine(path, started, {x, y}, {x + w, y});
        addLine(path, started, {x + w, y}, {x + w, y + h - r});
        addArc(path, started, br, 0, 90);
        addLine(path, started, {x + w - r, y + h}, {x + r, y + h});
        addArc(path, started, bl, 90, 90);
        addLine(path, started, {x, y + h - r}, {x, y});
        break;
    case rtBoth:
        addArc(path, started, tl, 180, 90);
        addLine(path, started, {x + r, y}, {x + w - r, y});
        addArc(path, started, tr, 270, 90);
        addLine(path, started, {x + w, y + r}, {x + w, y + h - r});
        addArc(path, started, br, 0, 90);
        addLine(path, started, {x + w - r, y + h}, {x + r, y + h});
        addArc(path, started, bl, 90, 90);
        addLine(path, started, {x, y + h - r}, {x, y + r});
        break;
    case rtLeft:
        addArc(path, started, tl, 180, 90);
        addLine(path, started, {x + r, y}, {x + w - r, y});
        addLine(path, started, {x + w, y}, {x + w, y + h});
        addLine(path, started, {x + w - r, y + h}, {x + r, y + h});
        addArc(path, started, bl, 90, 90);
        addLine(path, started, {x, y + h - r}, {x, y + r});
        break;
    case rtRight:
        addLine(path, started, {x, y}, {x + w - r, y});
        addArc(path, started, tr, 270, 90);
        addLine(path, started, {x + w, y + r}, {x + w, y + h - r});
        addArc(path, started, br, 0, 90);
        addLine(path, started, {x + w - r, y + h}, {x, y + h});
        addLine(path, started, {x, y + h - r}, {x, y + r});
        break;
    }
}

QSizeF TGradientFill::GetAspectSize(qreal ow, qreal oh, qreal nw, qreal nh, TPictureMode mode)
{
    if (ow <= 0 || oh <= 0 || nw <= 0 || nh <= 0) {
        return {0, 0};
    }
    if (mode == pmNormal && ow < nw && oh < nh) {
        return {ow, oh};
    }
    if (nw / nh > ow / oh) {
        return {ow * nh / oh, nh};
    }
    return {nw, oh * nw / ow};
}
