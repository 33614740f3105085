// SPDX-License-Identifier: MIT
// Checked writes and reads on the work streams and the output: every failure raises EIOError.
#pragma once

#include <QByteArray>

class QIODevice;

namespace rp {

/// Writes all `size` bytes to `device`; a failed or short write raises EIOError naming the
/// device (its file name, or the output stream) and the system's reason.
void RpWriteChecked(QIODevice *device, const char *data, qint64 size);
inline void RpWriteChecked(QIODevice *device, const QByteArray &bytes)
{
    RpWriteChecked(device, bytes.constData(), bytes.size());
}

/// Hands what a file device still buffers to the system; a failure raises EIOError. Devices
/// without a buffer of their own pass.
void RpFlushChecked(QIODevice *device);

/// Moves to `pos` for reading back; a failure (a buffered write that fails on the way) raises
/// EIOError.
void RpSeekChecked(QIODevice *device, qint64 pos);

/// Reads exactly `size` bytes from `device` into `data`; an error or an early end raises
/// EIOError.
void RpReadChecked(QIODevice *device, char *data, qint64 size);

} // namespace rp
