// One running program per data folder: a second start hands over to the first one.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

class TSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit TSingleInstance(const QString& folder, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this process is the one for the folder. Otherwise the running one has been
    // asked to show its main window, and this process should end.
    bool Acquire();

signals:
    // Another start of the program asked this one to show itself.
    void ShowRequested();

private:
    bool AskRunningInstance();
    void Listen();

    QString FServerName;
    QLockFile FLock;
    QLocalServer* FServer = nullptr;
};
