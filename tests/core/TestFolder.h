// A temporary folder for one test, with helpers to read and write its files.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
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

private:
    QTemporaryDir FDir;
};
