// The per-user autostart entry of the freedesktop autostart convention.
#include "DesktopEntry.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Platform {

namespace {

QString AutostartFolder()
{
    return DesktopEntry::ConfigHome(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()) +
           QStringLiteral("/autostart");
}

// Creates the missing folders of `path` readable by the user alone, as configuration
// folders should be.
bool MakeFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !MakeFolder(parent))
        return false;
    return QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) || QFileInfo(path).isDir();
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The icon that the program's installation puts into the desktop's icon theme.
const QString AutostartIcon = QStringLiteral("example.corvalen.Taskwick");

} // namespace

QString AutostartEntryPath(const QString& name)
{
    return AutostartFolder() + u'/' + name + QStringLiteral(".desktop");
}

bool WriteAutostartEntry(const QString& name, const QString& executable, QString* error)
{
    const std::optional<QString> exec = DesktopEntry::ExecValue({executable});
    if (!exec) {
        SetError(error, QCoreApplication::translate("Platform", "The path '%1' cannot be written into a desktop entry.")
                            .arg(executable));
        return false;
    }
    const QString folder = AutostartFolder();
    if (!MakeFolder(folder)) {
        SetError(error, QCoreApplication::translate("Platform", "Cannot create the folder '%1'.").arg(folder));
        return false;
    }
    QSaveFile file(AutostartEntryPath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, file.fileName() + QStringLiteral(": ") + file.errorString());
        return false;
    }
    const QByteArray text = DesktopEntry::AutostartEntryText(name, *exec, AutostartIcon);
    if (file.write(text) != text.size() || !file.flush() || !file.commit()) {
        SetError(error, file.fileName() + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

bool RemoveAutostartEntry(const QString& name, QString* error)
{
    QFile file(AutostartEntryPath(name));
    if (!QFileInfo(file.fileName()).exists() && !QFileInfo(file.fileName()).isSymLink())
        return true;
    if (file.remove())
        return true;
    SetError(error, file.fileName() + QStringLiteral(": ") + file.errorString());
    return false;
}

} // namespace Platform
