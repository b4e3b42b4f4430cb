#include "TTCPClient.h"

#include "SocketErrors.h"
#include "TNotificationEndpoint.h"

#include <sys/socket.h>

#include <cerrno>
#include <utility>

TTCPClient::TTCPClient(QObject *owner) : TCustomWSocket(owner)
{
    Protocol = IPPROTO_TCP;
    SocketType = SOCK_STREAM;
}

TTCPClient::~TTCPClient()
{
    Close();
}

void TTCPClient::Open()
{
    if (state != wsClosed)
        return;
    bool numeric = false;
    Port.toInt(&numeric);
    onFirstChoice = firstChoice && numeric;
    Connect();
}

void TTCPClient::TryFirst(int portOffset, std::unique_ptr<TransportMaker> transports)
{
    firstChoiceOffset = portOffset;
    firstChoice = std::move(transports);
}

void TTCPClient::Connect()
{
    sockaddr_in address{};
    const QString port = onFirstChoice ? QString::number(Port.toInt() + firstChoiceOffset) : Port;
    if (!ResolveAddress(Host, port, address))
        return;
    const int socket = ::socket(AF_INET, SocketType | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        ReportError(TranslateErrno(errno));
        return;
    }
    socketHandle = socket;
    ++attempt;
    if (const int error = WindowHandle->select(socket, SocketEvent::Read | SocketEvent::Connect | SocketEvent::Close)) {
        AbandonOpen(socket, error);
        return;
    }
    if (const int error = PrepareConnection(socket)) {
        AbandonOpen(socket, error);
        return;
    }
    AttachTransport(socket, onFirstChoice ? firstChoice.get() : nullptr); // its opening, if any, follows the connection
    if (::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        && errno != EINPROGRESS && errno != EINTR) {
        AbandonOpen(socket, TranslateErrno(errno));
        return;
    }
    state = wsConnecting;
}

void TTCPClient::Close()
{
    if (state == wsNotReady || state == wsClosed)
        return;
    Disconnect(socketHandle);
    if (socketHandle == -1)
        state = wsClosed;
}

void TTCPClient::SendText(const QByteArray &text)
{
    SocketSend(socketHandle, 0, text);
}

QByteArray TTCPClient::ReceiveText()
{
    return SocketReceive(socketHandle, 0);
}

void TTCPClient::HandleNotification(int socket, int kind, int error)
{
    switch (kind) {
    case SocketEvent::Read:
        ReadReady(socket, error);
        break;
    case SocketEvent::Connect:
        ConnectFinished(socket, error);
        break;
    case SocketEvent::Close:
        PeerClosed(socket, error);
        break;
    case SocketEvent::Drained:
        if (OnDrained && socket == socketHandle)
            Fire([&] { OnDrained(this, socket); });
        break;
    default:
        TCustomWSocket::HandleNotification(socket, kind, error);
    }
}

void TTCPClient::ConnectFinished(int socket, int error)
{
    if (error == SocketError::ConnectionRefused && std::exchange(onFirstChoice, false)) {
        // Nobody listens on the first choice: the port itself, at once.
        CloseSocket(socket);
        socketHandle = -1;
        Connect();
        return;
    }
    // A failed attempt stays wsConnecting with its socket until the owner closes it.
    if (error != 0) {
        ReportError(error, WindowHandle->failureText(socket));
        return;
    }
    if (const int selectError = WindowHandle->select(socket, SocketEvent::Read | SocketEvent::Close)) {
        ReportError(selectError);
        return;
    }
    const quint64 connected = attempt;
    if (OnConnect && !Fire([&] { OnConnect(this, socket); }))
        return;
    // Only the attempt that just succeeded becomes connected, not one the handler replaced.
    if (state == wsConnecting && attempt == connected)
        state = wsConnected;
}

void TTCPClient::ReadReady(int socket, int error)
{
    if (error != 0)
        ReportError(error);
    else if (OnData)
        OnData(this, socket);
}

void TTCPClient::PeerClosed(int socket, int error)
{
    if (error == SocketError::NetworkDown) {
        ReportError(error);
        return;
    }
    const quint64 closing = attempt;
    closeError = error;
    if (OnClose && !Fire([&] { OnClose(this, socket); }))
        return;
    closeError = 0;
    // The handler may have closed the client and started a new attempt already.
    if (attempt == closing && socketHandle == socket)
        Close();
}
