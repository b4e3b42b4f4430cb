#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include <netinet/in.h>

class TCustomWSocket;
class TNotificationEndpoint;
class TransportMaker;
enum class Framing;

// How soon a connection whose peer has silently gone (a lid shut, a cable
// pulled) is found dead: after 10 s without traffic a probe goes out every
// 5 s, and 4 unanswered probes end the connection; a send the peer does not
// take for 30 s ends it too. A dead link is so found within 35 s, while an
// outage of 10 s is lived through: retransmissions come at least every 5 s
// however long the silence, so a link that is back is used within seconds,
// well before the 30 s, even when a segment is lost on it again.
struct DeadLinkTimes {
    int idleSeconds = 10;
    int intervalSeconds = 5;
    int probes = 4;
    unsigned userTimeoutMs = 30000;
    int longestRetransmitGapMs = 5000;
    // Another idle time, and the rest in the same proportion; the default for 0.
    static DeadLinkTimes withIdle(int idleSeconds);
};

enum TWSocketState : quint8 { wsNotReady, wsClosed, wsConnected, wsListening, wsConnecting };

// Events are plain callables; one that is not assigned is skipped. A handler
// may close its socket object, open it again, or delete it.
using TOnError = std::function<void(TCustomWSocket *Sender, int Error, const QString &Msg)>;
using TOnData = std::function<void(TCustomWSocket *Sender, int Socket)>;
using TOnAccept = std::function<void(TCustomWSocket *Sender, int Socket)>;
using TOnConnect = std::function<void(TCustomWSocket *Sender, int Socket)>;
using TOnClose = std::function<void(TCustomWSocket *Sender, int Socket)>;

// The common part of the client and the server: one own socket and its state,
// address resolution, raw sends and reads on any socket, the graceful close,
// and the reporting of every failure as an error number, its fixed text and
// OnError. It never throws for a failed socket call; a port text that is no
// number throws EConvertError to the caller.
class TCustomWSocket : public QObject {
    Q_OBJECT
public:
    explicit TCustomWSocket(QObject *owner);
    ~TCustomWSocket() override;

    // What the banner shows of the socket library.
    QString Version() const { return version; }
    QString Description() const { return description; }
    QString SystemStatus() const { return systemStatus; }
    int MaxSockets() const { return maxSockets; }
    int MaxUdpDatagram() const { return maxUdpDatagram; }

    TWSocketState State() const { return state; }
    int SocketHandle() const { return socketHandle; }
    int LastError() const { return lastError; }

    TOnError OnError;

    QString LocalHostName();
    // Decimal port or dotted address of a socket's ends; empty for -1 or on failure.
    QString GetLocalPort(int socket) const;
    QString GetPeerAddress(int socket) const;
    QString GetPeerPort(int socket) const;
    QString ErrorText() const;

    bool ResolveAddress(const QString &host, const QString &port, sockaddr_in &address);
    bool ResolvePort(const QString &port, sockaddr_in &address);
    void SocketSend(int socket, int flags, const QByteArray &text);
    QByteArray SocketReceive(int socket, int flags);
    // Reads what waits on the socket, up to `most` bytes: for a framed
    // connection, whose frames the reader cuts apart itself.
    QByteArray receiveBytes(int socket, qsizetype most);
    // How texts cross the socket's connection, once it is open.
    Framing framingOf(int socket) const;
    // The key the peer proved as the connection opened; empty for none.
    QByteArray peerKeyOf(int socket) const;
    // The graceful close: stop notifications, send what is queued, shut down
    // sending, drain, close. Sets the variable to -1 when the socket is closed.
    void Disconnect(int &socket);
    // Sets LastError and fires OnError, with the error's own text unless
    // another is given. False when the handler deleted this object.
    bool ReportError(int error, const QString &text = QString());
    // Bytes sent on the socket that it has not taken yet.
    qsizetype QueuedBytes(int socket) const;
    // The peer has not taken what it was sent; it waits for the peer, not
    // only for the end of this pass of the event loop.
    bool isBackedUp(int socket) const;
    // The socket's owner hears once nothing waits to go to it any more.
    void tellWhenDrained(int socket);
    // Bytes that have come on the socket and wait to be read.
    qsizetype BytesWaiting(int socket) const;
    // The connections made from now on carry their bytes through transports
    // of this maker; plain ones unless told otherwise.
    void UseTransports(std::unique_ptr<TransportMaker> maker);
    // The connections made from now on are found dead after these times.
    void useDeadLinkTimes(const DeadLinkTimes &times) { deadLinkTimes = times; }

    static constexpr int kReceiveBufferSize = 1024;

protected:
    // A notification for one of this object's sockets; never called in wsClosed.
    virtual void HandleNotification(int socket, int kind, int error);
    // Ends an open that failed after its socket was made: closes that socket,
    // then reports the error. An open started by the error handler keeps its own.
    void AbandonOpen(int socket, int error);
    // Runs an event handler. False when the handler deleted this object, which
    // must then not be touched again.
    template <typename Handler>
    bool Fire(const Handler &handler)
    {
        const QPointer<TCustomWSocket> self(this);
        handler();
        return !self.isNull();
    }
    // Gives a new connection its transport, before anything crosses it: one
    // of the maker given, or of this object's own.
    void AttachTransport(int socket, TransportMaker *maker = nullptr);
    // A plain close, without the graceful steps.
    void CloseSocket(int socket);
    // Readies a connection's socket: out-of-band data inline, small texts
    // sent at once rather than held back to be glued to the next one, and
    // keepalive probes and a send timeout that find a dead link.
    // Gives 0 or an error number.
    int PrepareConnection(int socket) const;
    // Whether a connection's peer has acknowledged nothing for the send
    // timeout while something waited for it (data, or a keepalive probe). The
    // system finds such a link dead only once data it sends after that has
    // waited the whole timeout again; this finds it then and there.
    bool LinkIsDead(int socket) const;
    // How often a server looks for dead links among its connections.
    int DeadLinkCheckMs() const;
    // Ends a connection at once with a reset, as the system ends a dead link:
    // should the link come back, the peer learns of an error, not of a close
    // it could take for the end of the chat.
    static void AbortConnection(int socket);

    int Protocol = 0;
    int SocketType = 3;
    int socketHandle = -1;
    TWSocketState state = wsNotReady;
    TNotificationEndpoint *WindowHandle = nullptr;

private:
    bool ResolveService(const QString &port, sockaddr_in &address);

    QString version;
    QString description;
    QString systemStatus;
    int maxSockets = 0;
    int maxUdpDatagram = 0;
    int lastError = 0;
    QString lastErrorText; // when the error's own text says too little
    std::unique_ptr<TransportMaker> transports;
    DeadLinkTimes deadLinkTimes;
    char receiveBuffer[kReceiveBufferSize] = {};
};
