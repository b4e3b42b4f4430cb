#include "SingleCopyMarker.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kConnectWaitMs = 500;
const QByteArray kGreeting = QByteArrayLiteral("another copy\n");

} // namespace

SingleCopyMarker::SingleCopyMarker(QObject *parent) : QObject(parent) {}

SingleCopyMarker::~SingleCopyMarker() = default;

bool SingleCopyMarker::TellRunningCopy(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectWaitMs))
        return false;
    socket.write(kGreeting);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleCopyMarker::Claim(const QString &name)
{
    if (TellRunningCopy(name))
        return false;
    server = new QLocalServer(this);
    connect(server, &QLocalServer::newConnection, this, &SingleCopyMarker::AnswerNewcomer);
    if (server->listen(name))
        return true;
    // Another copy may have taken it a moment ago; otherwise it is a socket
    // left behind by a copy that crashed, which nobody answers.
    if (TellRunningCopy(name))
        return false;
    QLocalServer::removeServer(name);
    server->listen(name);
    return true;
}

void SingleCopyMarker::AnswerNewcomer()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        emit anotherCopyStarted();
    }
}
