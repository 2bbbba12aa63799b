#include "SaveFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

QString SaveFileAtomically(const QString& path, const QByteArray& data)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto failure = [&shown](const QString& reason) {
        return QCoreApplication::translate("Taskwick", "Cannot save '%1': %2").arg(shown, reason);
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    if (file.write(data) != data.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return QString();
}
