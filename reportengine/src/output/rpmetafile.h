// SPDX-License-Identifier: MIT
// Our own enhanced (EMF) and Windows (WMF) metafile writers: one stretched DIB each.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace rp {

/// The picture as a 24-bit bottom-up DIB (BITMAPINFOHEADER and bits); transparent
/// pixels are blended onto white, because metafile readers ignore alpha.
QByteArray RpDibBytes(const QImage &image);

/// An enhanced metafile: header, one StretchDIBits record drawing `image` over the
/// whole `size` (device units), end record. `frame01mm` is the picture frame in
/// hundredths of a millimetre; the reference device is chosen so that the bitmap fills it.
QByteArray RpMakeEmf(const QImage &image, QSize size, QSize frame01mm);

/// A Windows metafile: standard header, anisotropic mapping mode, window origin and
/// extent `size`, one StretchDIB record over the whole window, end record. Sides above
/// 32767 (the record's limit) are not representable; the caller scales first.
QByteArray RpMakeWmf(const QImage &image, QSize size);

/// Largest side a WMF StretchDIB record can carry.
inline constexpr int RpWmfMaxSide = 32767;

} // namespace rp
