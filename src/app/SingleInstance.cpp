#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {
const QByteArray kShowCommand = "show\n";

// A full socket path that does not depend on TMPDIR, so every start for a folder finds it:
// in the user's runtime folder, else in /tmp with the user's id in its name.
QString ServerNameFor(const QString& folder)
{
    const QString canonical = QDir(folder).canonicalPath().isEmpty() ? folder : QDir(folder).canonicalPath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString name = QStringLiteral("taskwick-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return QDir(runtime).filePath(name);
    return QStringLiteral("/tmp/") + name;
}
} // namespace

TSingleInstance::TSingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), FServerName(ServerNameFor(folder)), FLock(QDir(folder).filePath(QStringLiteral(".taskwick.lock")))
{
    // A lock left by a process that died is taken over at once (QLockFile checks its owner).
    FLock.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::TResult TSingleInstance::Acquire()
{
    if (FLock.tryLock(0)) {
        Listen();
        return TResult::First;
    }
    if (FLock.error() != QLockFile::LockFailedError) {
        // The folder cannot hold a lock (read-only, for instance): nothing to share it with.
        return TResult::First;
    }
    if (AskRunningInstance())
        return TResult::HandedOver;
    // The owner of the lock does not answer; it may be ending. Try to take over once more.
    if (FLock.tryLock(2000)) {
        Listen();
        return TResult::First;
    }
    // A live program holds the folder: two programs must never write the same files.
    return AskRunningInstance() ? TResult::HandedOver : TResult::NoAnswer;
}

bool TSingleInstance::AskRunningInstance()
{
    // The running program may still be starting: give it a moment to listen.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(FServerName);
        if (socket.waitForConnected(500)) {
            socket.write(kShowCommand);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

void TSingleInstance::Listen()
{
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!FServer->listen(FServerName)) {
        // A socket left behind by a crash: ours, since we hold the lock.
        QLocalServer::removeServer(FServerName);
        FServer->listen(FServerName);
    }
    connect(FServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = FServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show"))
                    emit ShowRequested();
            });
        }
    });
}
