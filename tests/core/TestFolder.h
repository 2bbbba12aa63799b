// A temporary folder for one test, with helpers to read and write its files.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TestFolder
{
public:
    QString Path() const { return FDir.path(); }
    QString File(const QString& name) const { return QDir(FDir.path()).filePath(name); }

    QByteArray Read(const QString& name) const
    {
        QFile f(File(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Write(const QString& name, const QByteArray& data) const
    {
        QFile f(File(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(data);
    }
    bool Exists(const QString& name) const { return QFileInfo::exists(File(name)); }

    // The names of the folder's entries, hidden ones included, sorted.
    QStringList Entries() const
    {
        return QDir(FDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                           QDir::Name);
    }

    // A file's modification time is set this far into the past, so that any write moves it.
    static QDateTime OldTime() { return QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC); }
    bool SetOldTime(const QString& name) const
    {
        QFile f(File(name));
        return f.open(QIODevice::ReadOnly) && f.setFileTime(OldTime(), QFileDevice::FileModificationTime);
    }
    QDateTime Modified(const QString& name) const
    {
        return QFileInfo(File(name)).fileTime(QFileDevice::FileModificationTime).toUTC();
    }

private:
    QTemporaryDir FDir;
};

// A file's bytes and modification time, to tell later whether anything wrote to it.
struct FileStamp
{
    QByteArray Bytes;
    QDateTime Modified;

    static FileStamp Of(const TestFolder& folder, const QString& name)
    {
        return {folder.Read(name), folder.Modified(name)};
    }
    bool operator==(const FileStamp& other) const = default;
};
