// Fuzzes loading the three data files and reading every record out of them.
// The input holds the task, category and setting file, separated by a NUL byte; a part that
// is missing leaves that file to be created with its default text.
#include "Errors.h"
#include "uXMLOperate.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

void WriteOrRemove(const QString& path, const QList<QByteArray>& parts, int index)
{
    QFile::remove(path);
    if (index < parts.size()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(parts[index]);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QDir dir(Folder().path());
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    WriteOrRemove(dir.filePath(TaskFileName), parts, 0);
    WriteOrRemove(dir.filePath(CategoryFileName), parts, 1);
    WriteOrRemove(dir.filePath(SettingFileName), parts, 2);
    TFormatSettings formats;
    formats.TwoDigitYearPivot = 2026;
    try {
        TXMLOperation store(dir.path(), formats);
        TTaskInfoList tasks;
        Tcategorylist categories;
        TSettingInfo setting;
        try {
            store.GetTaskList(tasks);
        } catch (const ETaskwickError&) {
        }
        try {
            store.GetCategoryList(categories);
        } catch (const ETaskwickError&) {
        }
        try {
            store.GetSetting(setting);
        } catch (const ETaskwickError&) {
        }
        // Write every record back and read it again: a loaded file must stay loadable.
        for (const TTaskInfo& task : tasks) {
            try {
                store.UpdateTask(task);
            } catch (const ETaskwickError&) {
            }
        }
        TXMLOperation reloaded(dir.path(), formats);
        TTaskInfoList again;
        try {
            reloaded.GetTaskList(again);
        } catch (const ETaskwickError&) {
        }
        if (!tasks.isEmpty() && again.size() != tasks.size())
            __builtin_trap(); // a save lost records
    } catch (const ETaskwickError&) {
    }
    return 0;
}
