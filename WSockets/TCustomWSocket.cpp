#include "TCustomWSocket.h"

#include "PlainTransport.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "TNotificationEndpoint.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <netdb.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// A peer that keeps sending while we close must not hold the close forever.
constexpr qsizetype kLongestDrain = 1024 * 1024;

// The name of a protocol number as the service database knows it.
QByteArray ProtocolName(int protocol)
{
    if (const protoent *entry = getprotobynumber(protocol))
        return entry->p_name;
    // A system without /etc/protocols still speaks TCP.
    if (protocol == IPPROTO_TCP)
        return "tcp";
    return {};
}

int OpenFileLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 65535;
    return int(std::min<rlim_t>(limit.rlim_cur, 65535));
}

QString KernelName()
{
    utsname names{};
    if (uname(&names) != 0)
        return QStringLiteral("Linux");
    return QStringLiteral("%1 %2").arg(QLatin1String(names.sysname), QLatin1String(names.release));
}

bool EndAddressOf(int socket, sockaddr_in &address, bool peer)
{
    if (socket == -1)
        return false;
    sockaddr_storage storage{};
    socklen_t size = sizeof storage;
    auto *generic = reinterpret_cast<sockaddr *>(&storage);
    const int result = peer ? getpeername(socket, generic, &size) : getsockname(socket, generic, &size);
    if (result != 0 || storage.ss_family != AF_INET)
        return false;
    address = *reinterpret_cast<const sockaddr_in *>(&storage);
    return true;
}

// The socket option of Linux 6.15 and later that caps the retransmission
// backoff; an older kernel refuses it and keeps its own backoff.
constexpr int kTcpRtoMaxMs = 44;
// The least value the kernel takes for it.
constexpr int kShortestRtoMaxMs = 1000;

} // namespace

TCustomWSocket::TCustomWSocket(QObject *owner)
    : QObject(owner), transports(std::make_unique<PlainTransportMaker>())
{
    WindowHandle = new TNotificationEndpoint(
        [this](int socket, int kind, int error) {
            if (state != wsClosed) // late notifications after a close are ignored
                HandleNotification(socket, kind, error);
        },
        this);
    // Berkeley sockets need no library start; there is nothing that can fail here.
    lastError = 0;
    state = wsClosed;
    version = QStringLiteral("1.1");
    description = QCoreApplication::translate("TCustomWSocket", "Berkeley sockets on %1").arg(KernelName());
    systemStatus = QCoreApplication::translate("TCustomWSocket", "Running");
    maxSockets = OpenFileLimit();
    maxUdpDatagram = 65507;
}

TCustomWSocket::~TCustomWSocket()
{
    if (socketHandle != -1)
        CloseSocket(socketHandle);
    // Deleted by one of its own handlers: the endpoint is still delivering,
    // and its notifier is still signalling. It goes once that has unwound.
    if (WindowHandle->delivering()) {
        WindowHandle->retire();
        WindowHandle->setParent(nullptr);
        WindowHandle->deleteLater();
    }
}

void TCustomWSocket::HandleNotification(int, int, int error)
{
    if (error != 0)
        ReportError(error);
}

bool TCustomWSocket::ReportError(int error, const QString &text)
{
    lastError = error;
    lastErrorText = text;
    return !OnError || Fire([&] { OnError(this, error, ErrorText()); });
}

QString TCustomWSocket::ErrorText() const
{
    return lastErrorText.isEmpty() ? SocketErrorText(lastError) : lastErrorText;
}

QString TCustomWSocket::LocalHostName()
{
    char name[128] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        ReportError(TranslateErrno(errno));
        return {};
    }
    return QString::fromLocal8Bit(name);
}

QString TCustomWSocket::GetLocalPort(int socket) const
{
    sockaddr_in address{};
    return EndAddressOf(socket, address, false) ? QString::number(ntohs(address.sin_port)) : QString();
}

QString TCustomWSocket::GetPeerAddress(int socket) const
{
    sockaddr_in address{};
    char dotted[INET_ADDRSTRLEN] = {};
    if (!EndAddressOf(socket, address, true) || !inet_ntop(AF_INET, &address.sin_addr, dotted, sizeof dotted))
        return {};
    return QString::fromLatin1(dotted);
}

QString TCustomWSocket::GetPeerPort(int socket) const
{
    sockaddr_in address{};
    return EndAddressOf(socket, address, true) ? QString::number(ntohs(address.sin_port)) : QString();
}

bool TCustomWSocket::ResolveService(const QString &port, sockaddr_in &address)
{
    const QByteArray protocolName = ProtocolName(Protocol);
    if (protocolName.isEmpty()) {
        ReportError(SocketError::NoData);
        return false;
    }
    if (const servent *service = getservbyname(port.toUtf8().constData(), protocolName.constData()))
        address.sin_port = quint16(service->s_port); // already in network order
    else
        address.sin_port = htons(quint16(StrToInt(port) & 0xFFFF));
    return true;
}

bool TCustomWSocket::ResolveAddress(const QString &host, const QString &port, sockaddr_in &address)
{
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    if (!ResolveService(port, address))
        return false;

    const QByteArray hostBytes = host.toUtf8();
    const in_addr_t dotted = inet_addr(hostBytes.constData());
    if (dotted != INADDR_NONE) {
        address.sin_addr.s_addr = dotted;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *entries = nullptr;
    const int result = getaddrinfo(hostBytes.constData(), nullptr, &hints, &entries);
    if (result != 0 || !entries) {
        ReportError(TranslateResolverError(result, errno));
        return false;
    }
    address.sin_addr = reinterpret_cast<const sockaddr_in *>(entries->ai_addr)->sin_addr;
    freeaddrinfo(entries);
    return true;
}

bool TCustomWSocket::ResolvePort(const QString &port, sockaddr_in &address)
{
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    return ResolveService(port, address);
}

void TCustomWSocket::SocketSend(int socket, int, const QByteArray &text)
{
    if (text.isEmpty())
        return;
    if (const int error = WindowHandle->send(socket, text))
        ReportError(error);
}

QByteArray TCustomWSocket::SocketReceive(int socket, int flags)
{
    const TransportResult received =
        WindowHandle->receive(socket, receiveBuffer, sizeof receiveBuffer, (flags & MSG_PEEK) != 0);
    if (received.error != 0)
        ReportError(received.error);
    return QByteArray(receiveBuffer, received.bytes);
}

QByteArray TCustomWSocket::receiveBytes(int socket, qsizetype most)
{
    QByteArray bytes(most, Qt::Uninitialized);
    const TransportResult received = WindowHandle->receive(socket, bytes.data(), most);
    if (received.error != 0)
        ReportError(received.error);
    bytes.truncate(received.bytes);
    return bytes;
}

Framing TCustomWSocket::framingOf(int socket) const
{
    return WindowHandle->framingOf(socket);
}

QByteArray TCustomWSocket::peerKeyOf(int socket) const
{
    return WindowHandle->peerKeyOf(socket);
}

qsizetype TCustomWSocket::QueuedBytes(int socket) const
{
    return WindowHandle->queuedBytes(socket);
}

bool TCustomWSocket::isBackedUp(int socket) const
{
    return WindowHandle->isBackedUp(socket);
}

void TCustomWSocket::tellWhenDrained(int socket)
{
    WindowHandle->tellWhenDrained(socket);
}

void TCustomWSocket::Disconnect(int &socket)
{
    if (socket == -1)
        return;
    if (const int error = WindowHandle->select(socket, 0)) {
        ReportError(error);
        return;
    }
    WindowHandle->flushBeforeClose(socket);
    // A peer that has already gone leaves nothing to shut down; that is fine.
    if (const int error = WindowHandle->shutdownSending(socket); error != 0 && error != SocketError::NotConnected) {
        ReportError(error);
        return;
    }
    WindowHandle->drain(socket, receiveBuffer, sizeof receiveBuffer, kLongestDrain);
    WindowHandle->forget(socket);
    // On Linux the handle is released even when close() is interrupted.
    if (close(socket) != 0 && errno != EINTR) {
        ReportError(TranslateErrno(errno));
        return;
    }
    socket = -1;
}

qsizetype TCustomWSocket::BytesWaiting(int socket) const
{
    return WindowHandle->bytesWaiting(socket);
}

void TCustomWSocket::UseTransports(std::unique_ptr<TransportMaker> maker)
{
    transports = std::move(maker);
}

void TCustomWSocket::AttachTransport(int socket, TransportMaker *maker)
{
    WindowHandle->attach(socket, (maker ? maker : transports.get())->forConnection(socket));
}

void TCustomWSocket::CloseSocket(int socket)
{
    WindowHandle->forget(socket);
    close(socket);
}

void TCustomWSocket::AbandonOpen(int socket, int error)
{
    // Closed before the report, so that an open the error handler starts is its own.
    CloseSocket(socket);
    socketHandle = -1;
    ReportError(error);
}

DeadLinkTimes DeadLinkTimes::withIdle(int idleSeconds)
{
    DeadLinkTimes times;
    if (idleSeconds <= 0)
        return times;
    times.idleSeconds = idleSeconds;
    times.intervalSeconds = std::max(1, idleSeconds / 2);
    times.userTimeoutMs = unsigned(idleSeconds) * 3000;
    times.longestRetransmitGapMs = std::max(kShortestRtoMaxMs, int(times.userTimeoutMs / 6));
    return times;
}

bool TCustomWSocket::LinkIsDead(int socket) const
{
    tcp_info info{};
    socklen_t size = sizeof info;
    if (getsockopt(socket, IPPROTO_TCP, TCP_INFO, &info, &size) != 0)
        return false;
    const bool waitsForPeer = info.tcpi_unacked > 0 || info.tcpi_probes > 0;
    return waitsForPeer && info.tcpi_last_ack_recv >= deadLinkTimes.userTimeoutMs;
}

int TCustomWSocket::DeadLinkCheckMs() const
{
    return deadLinkTimes.intervalSeconds * 1000 / 2;
}

void TCustomWSocket::AbortConnection(int socket)
{
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC; // disconnects a TCP socket, with a reset
    ::connect(socket, &unspecified, sizeof unspecified);
}

int TCustomWSocket::PrepareConnection(int socket) const
{
    const int on = 1;
    if (setsockopt(socket, SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) != 0)
        return TranslateErrno(errno);
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A dead link ends as a close with its error, like any other.
    const DeadLinkTimes &times = deadLinkTimes;
    setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(socket, IPPROTO_TCP, TCP_KEEPIDLE, &times.idleSeconds, sizeof times.idleSeconds);
    setsockopt(socket, IPPROTO_TCP, TCP_KEEPINTVL, &times.intervalSeconds, sizeof times.intervalSeconds);
    setsockopt(socket, IPPROTO_TCP, TCP_KEEPCNT, &times.probes, sizeof times.probes);
    setsockopt(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, &times.userTimeoutMs, sizeof times.userTimeoutMs);
    setsockopt(socket, IPPROTO_TCP, kTcpRtoMaxMs, &times.longestRetransmitGapMs, sizeof times.longestRetransmitGapMs);
    return 0;
}
