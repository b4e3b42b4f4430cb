#include "SocketEventLog.h"

#include "TTCPClient.h"
#include "TTCPServer.h"

void SocketEventLog::Record(const QString &event, int socket)
{
    events << event;
    sockets << socket;
}

void SocketEventLog::Attach(TTCPServer &server)
{
    server.OnError = [this](TCustomWSocket *, int error, const QString &text) {
        Record(QStringLiteral("error %1 %2").arg(error).arg(text));
    };
    server.OnAccept = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("accept"), socket); };
    server.OnData = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("data"), socket); };
    server.OnClose = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("close"), socket); };
    server.OnDrained = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("drained"), socket); };
}

void SocketEventLog::Attach(TTCPClient &client)
{
    client.OnError = [this](TCustomWSocket *, int error, const QString &text) {
        Record(QStringLiteral("error %1 %2").arg(error).arg(text));
    };
    client.OnConnect = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("connect"), socket); };
    client.OnData = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("data"), socket); };
    client.OnClose = [this](TCustomWSocket *, int socket) { Record(QStringLiteral("close"), socket); };
}
