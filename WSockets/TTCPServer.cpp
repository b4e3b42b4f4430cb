#include "TTCPServer.h"

#include "SocketErrors.h"
#include "TNotificationEndpoint.h"

#include <QPointer>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <utility>

namespace {

// After an accept that failed for want of descriptors or memory, wait this long
// before the next one, or the same error would come back at once, forever.
constexpr int kAcceptPauseMs = 1000;

bool OutOfResources(int errnoValue)
{
    return errnoValue == EMFILE || errnoValue == ENFILE || errnoValue == ENOBUFS || errnoValue == ENOMEM;
}

int ReserveDescriptor()
{
    return open("/dev/null", O_RDONLY | O_CLOEXEC);
}

// Ends a connection that was never watched at once, with a reset: nothing of
// it lingers in the system.
void EndAtOnce(int socket)
{
    const linger reset{1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(socket);
}

} // namespace

TTCPServer::TTCPServer(QObject *owner) : TCustomWSocket(owner)
{
    Protocol = IPPROTO_TCP;
    SocketType = SOCK_STREAM;
    connect(&deadLinkCheck, &QTimer::timeout, this, &TTCPServer::EndDeadLinks);
}

TTCPServer::~TTCPServer()
{
    Close();
    if (reserve != -1)
        ::close(reserve);
}

void TTCPServer::Open()
{
    if (state != wsClosed)
        return;
    if (const int error = Listen(Port, socketHandle)) {
        if (socketHandle != -1) {
            const int socket = std::exchange(socketHandle, -1);
            AbandonOpen(socket, error);
        }
        return;
    }
    state = wsListening;
    if (reserve == -1)
        reserve = ReserveDescriptor();
    deadLinkCheck.start(DeadLinkCheckMs());
}

int TTCPServer::ListenAlso(const QString &port, std::unique_ptr<TransportMaker> transports)
{
    if (state != wsListening || secondListener != -1)
        return SocketError::AddressInUse;
    if (const int error = Listen(port, secondListener)) {
        if (secondListener != -1)
            CloseSocket(std::exchange(secondListener, -1));
        return error;
    }
    secondTransports = std::move(transports);
    return 0;
}

int TTCPServer::Listen(const QString &port, int &listener)
{
    sockaddr_in address{};
    if (!ResolvePort(port, address))
        return LastError();
    const int socket = ::socket(AF_INET, SocketType | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        const int error = TranslateErrno(errno);
        ReportError(error);
        return error;
    }
    listener = socket;
    if (const int error = WindowHandle->select(socket, SocketEvent::Accept))
        return error;
    // A port whose last chat just ended waits in TIME_WAIT; it may be used again
    // at once. A port held by a live listener is still refused.
    const int on = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // The system's longest queue of waiting connections: the kernel cuts a larger
    // backlog down to its own maximum. A burst of guests then waits to be taken
    // instead of having its connections dropped and retried seconds later.
    if (bind(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || listen(socket, std::numeric_limits<int>::max()) != 0)
        return TranslateErrno(errno);
    return 0;
}

void TTCPServer::EndDeadLinks()
{
    if (state != wsListening) {
        deadLinkCheck.stop();
        return;
    }
    const QPointer<TTCPServer> self(this);
    for (int index = clients.Count() - 1; index >= 0 && self && state == wsListening; --index) {
        if (index >= clients.Count())
            continue; // the handler closed others
        const int socket = clients.Items(index);
        if (LinkIsDead(socket)) {
            AbortConnection(socket);
            PeerClosed(socket, TranslateErrno(ETIMEDOUT));
        }
    }
}

void TTCPServer::Close()
{
    if (state == wsNotReady || state == wsClosed)
        return;
    emit closing();
    // A copy, so that an error handler touching the list cannot upset the walk.
    const int count = clients.Count();
    QList<int> accepted;
    for (int index = 0; index < count; ++index)
        accepted.append(clients.Items(index));
    for (int socket : accepted)
        Disconnect(socket);
    clients.Clear();
    secondPortClients.clear();
    for (int socket : std::exchange(opening, {}))
        CloseSocket(socket);
    Disconnect(secondListener);
    secondTransports.reset();
    Disconnect(socketHandle);
    if (socketHandle == -1)
        state = wsClosed;
}

void TTCPServer::SendText(int socket, const QByteArray &text)
{
    SocketSend(socket, 0, text);
}

QByteArray TTCPServer::ReceiveText(int socket)
{
    return SocketReceive(socket, 0);
}

void TTCPServer::CloseClient(int socket)
{
    clients.Remove(socket);
    secondPortClients.remove(socket);
    Disconnect(socket);
}

void TTCPServer::HandleNotification(int socket, int kind, int error)
{
    switch (kind) {
    case SocketEvent::Read:
        ReadReady(socket, error);
        break;
    case SocketEvent::Accept:
        AcceptPending(socket, error);
        break;
    case SocketEvent::Close:
        PeerClosed(socket, error);
        break;
    case SocketEvent::Opened:
        if (opening.removeOne(socket))
            Admit(socket);
        break;
    case SocketEvent::Drained:
        if (OnDrained && clients.IndexOf(socket) >= 0)
            Fire([&] { OnDrained(this, socket); });
        break;
    default:
        TCustomWSocket::HandleNotification(socket, kind, error);
    }
}

void TTCPServer::AcceptPending(int listener, int error)
{
    if (error != 0) {
        ReportError(error);
        return;
    }
    TransportMaker *transports = listener == secondListener ? secondTransports.get() : nullptr;
    // Every connection that waits is taken now, up to a bound that keeps the
    // window answering; the rest come with the next notification.
    for (int taken = 0; taken < kAcceptsPerEvent; ++taken) {
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        const int socket = accept4(listener, reinterpret_cast<sockaddr *>(&peer), &size, SOCK_CLOEXEC);
        if (socket < 0) {
            AcceptFailed(listener, errno);
            return;
        }
        outOfResourcesReported = false;
        peerAddresses[socket] = peer.sin_addr.s_addr; // a number given out again is written anew
        if (reserve == -1)
            reserve = ReserveDescriptor(); // spent when none was left
        if (ConnectionsFrom(peer.sin_addr.s_addr) >= kMostPerAddress) {
            EndAtOnce(socket);
            continue;
        }
        if (opening.size() >= kMostOpenings)
            EndOldestOpening();
        if (!TakeConnection(socket, transports))
            return;
        if (state != wsListening || (socketHandle != listener && secondListener != listener))
            return; // the handler closed the server
    }
    WindowHandle->rearm(listener);
}

std::unique_ptr<Transport> TTCPServer::handOver(int socket, QByteArray &queued)
{
    clients.Remove(socket);
    secondPortClients.remove(socket);
    handedOver.insert(socket);
    return WindowHandle->release(socket, queued);
}

void TTCPServer::closeHandedOver(int socket, std::unique_ptr<Transport> transport, const QByteArray &queued)
{
    if (!handedOver.remove(socket))
        return;
    WindowHandle->takeBack(socket, std::move(transport), queued);
    Disconnect(socket);
}

int TTCPServer::ConnectionsFrom(in_addr_t address) const
{
    int count = 0;
    for (int socket : handedOver)
        count += peerAddresses.value(socket) == address ? 1 : 0;
    for (int index = 0; index < clients.Count(); ++index)
        count += peerAddresses.value(clients.Items(index)) == address ? 1 : 0;
    for (int socket : opening)
        count += peerAddresses.value(socket) == address ? 1 : 0;
    return count;
}

void TTCPServer::EndOldestOpening()
{
    const int oldest = opening.takeFirst();
    secondPortClients.remove(oldest);
    AbortConnection(oldest);
    CloseSocket(oldest); // never admitted: nobody is told
}

void TTCPServer::EndWaitingWithReserve(int listener)
{
    if (reserve == -1)
        return;
    ::close(std::exchange(reserve, -1));
    for (int ended = 0; ended < kAcceptsPerEvent; ++ended) {
        const int socket = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            break;
        EndAtOnce(socket);
    }
    reserve = ReserveDescriptor();
}

void TTCPServer::AcceptFailed(int listener, int errnoValue)
{
    if (OutOfResources(errnoValue)) {
        if (errnoValue == EMFILE || errnoValue == ENFILE)
            EndWaitingWithReserve(listener);
        // The same error would come back at once, forever: wait, and say it once.
        WindowHandle->rearmLater(listener, kAcceptPauseMs);
        if (!std::exchange(outOfResourcesReported, true))
            ReportError(TranslateErrno(errnoValue));
        return;
    }
    WindowHandle->rearm(listener);
    // Nothing left to take, or another accept took it first: that is no error.
    if (errnoValue != EAGAIN && errnoValue != EWOULDBLOCK && errnoValue != EINTR)
        ReportError(TranslateErrno(errnoValue));
}

bool TTCPServer::TakeConnection(int socket, TransportMaker *transports)
{
    int failure = WindowHandle->select(socket, SocketEvent::Read | SocketEvent::Close);
    if (failure == 0)
        failure = PrepareConnection(socket);
    if (failure != 0) {
        CloseSocket(socket);
        return ReportError(failure);
    }
    if (transports)
        secondPortClients.insert(socket);
    AttachTransport(socket, transports);
    switch (WindowHandle->openingOf(socket)) {
    case Opening::Done:
        return Admit(socket);
    case Opening::Failed:
        secondPortClients.remove(socket);
        CloseSocket(socket);
        return true;
    default:
        opening.append(socket); // admitted once its opening has ended well
        return true;
    }
}

bool TTCPServer::Admit(int socket)
{
    if (!clients.Add(socket)) {
        secondPortClients.remove(socket);
        int closing = socket;
        Disconnect(closing);
        return true;
    }
    return !OnAccept || Fire([&] { OnAccept(this, socket); });
}

void TTCPServer::ReadReady(int socket, int error)
{
    if (error != 0)
        ReportError(error);
    else if (OnData)
        OnData(this, socket);
}

void TTCPServer::PeerClosed(int socket, int error)
{
    if (opening.removeOne(socket)) {
        secondPortClients.remove(socket);
        Disconnect(socket); // never admitted: nobody is told
        return;
    }
    if (error == SocketError::NetworkDown) {
        ReportError(error);
        return;
    }
    if (OnClose && !Fire([&] { OnClose(this, socket); }))
        return;
    // Unless the handler has already closed it (or the whole server): a closed
    // handle may by now belong to another connection.
    if (state == wsListening && clients.IndexOf(socket) >= 0)
        CloseClient(socket);
}
