// SPDX-License-Identifier: MIT
// Checked writes and reads on the work streams and the output: every failure raises EIOError.
#include "rpcheckedio.h"

#include "messages.h"
#include <reportengine/rpconsts.h>

#include <QDir>
#include <QFileDevice>

namespace rp {

namespace {

// A file by its quoted name, any other device as the output stream.
QString deviceName(const QIODevice *device)
{
    const auto *file = qobject_cast<const QFileDevice *>(device);
    if (file && !file->fileName().isEmpty())
        return u'"' + QDir::toNativeSeparators(file->fileName()) + u'"';
    return QLatin1String(msg::OutputStream);
}

// A device that failed without saying why still gets a reason in the message.
QString reasonOf(const QIODevice *device)
{
    const QString reason = device->errorString();
    return reason.isEmpty() || reason == QLatin1String("Unknown error")
               ? QLatin1String(msg::ReasonUnknown)
               : reason;
}

[[noreturn]] void throwFailure(const char *what, const QIODevice *device)
{
    throw EIOError(
        (what + deviceName(device) + QLatin1String(msg::DetailSeparator) + reasonOf(device))
            .toStdString());
}

} // namespace

void RpWriteChecked(QIODevice *device, const char *data, qint64 size)
{
    if (!device)
        return;
    // A short write carries no reason; the next attempt at the rest fails with one.
    while (size > 0) {
        const qint64 done = device->write(data, size);
        if (done <= 0)
            throwFailure(msg::CannotWrite, device);
        data += done;
        size -= done;
    }
}

void RpFlushChecked(QIODevice *device)
{
    auto *file = qobject_cast<QFileDevice *>(device);
    if (file && file->isOpen() && !file->flush())
        throwFailure(msg::CannotWrite, device);
}

void RpSeekChecked(QIODevice *device, qint64 pos)
{
    if (!device->seek(pos))
        throwFailure(msg::CannotReadBack, device);
}

void RpReadChecked(QIODevice *device, char *data, qint64 size)
{
    while (size > 0) {
        const qint64 got = device->read(data, size);
        if (got <= 0)
            throwFailure(msg::CannotReadBack, device);
        data += got;
        size -= got;
    }
}

} // namespace rp
