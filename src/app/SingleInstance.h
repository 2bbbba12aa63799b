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

    enum class TResult
    {
        First,     // this process is the one for the folder
        HandedOver, // the running one was asked to show its main window: end this one
        NoAnswer,  // a running one holds the folder but does not answer: end this one
    };
    TResult Acquire();

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
