#include "SaveFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

#include <cerrno>

QString SaveFileAtomically(const QString& path, const QByteArray& data)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto failure = [&shown](const QString& reason) {
        return QCoreApplication::translate("Taskwick", "Cannot save '%1': %2").arg(shown, reason);
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    errno = 0;
    if (file.write(data) != data.size() || !file.flush()) {
        // A short write (a full disk, a file-size limit) leaves the device without a reason of
        // its own ("Unknown error"); the system's is in errno.
        const int code = errno;
        const QString reason = code != 0 ? qt_error_string(code) : file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return QString();
}
