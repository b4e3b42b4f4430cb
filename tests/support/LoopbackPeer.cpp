#include "LoopbackPeer.h"

#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

sockaddr_in LoopbackAddress(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void MakeNonBlocking(int socket)
{
    fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
}

} // namespace

LoopbackPeer::~LoopbackPeer()
{
    Close();
}

LoopbackPeer::LoopbackPeer(LoopbackPeer &&other) noexcept
    : endOfStream(other.endOfStream), fd(std::exchange(other.fd, -1))
{
}

LoopbackPeer &LoopbackPeer::operator=(LoopbackPeer &&other) noexcept
{
    if (this != &other) {
        Close();
        fd = std::exchange(other.fd, -1);
        endOfStream = other.endOfStream;
    }
    return *this;
}

bool LoopbackPeer::Connect(quint16 port, int receiveBuffer, const char *sourceAddress, const char *hostAddress)
{
    Close();
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (sourceAddress) { // another address of the loopback network, to be a different guest
        sockaddr_in source{};
        source.sin_family = AF_INET;
        inet_pton(AF_INET, sourceAddress, &source.sin_addr);
        if (bind(fd, reinterpret_cast<const sockaddr *>(&source), sizeof source) != 0) {
            Close();
            return false;
        }
    }
    if (receiveBuffer > 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address = LoopbackAddress(port);
    if (hostAddress)
        inet_pton(AF_INET, hostAddress, &address.sin_addr);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        Close();
        return false;
    }
    MakeNonBlocking(fd);
    return true;
}

bool LoopbackPeer::Send(const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t taken = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (taken > 0) {
            sent += taken;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            QTest::qWait(1);
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

QByteArray LoopbackPeer::ReadAvailable()
{
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t received = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (received > 0) {
            bytes.append(buffer, received);
            continue;
        }
        if (received == 0)
            endOfStream = true;
        if (received < 0 && errno == EINTR)
            continue;
        return bytes;
    }
}

QByteArray LoopbackPeer::ReadAtLeast(qsizetype size, int timeoutMs)
{
    QByteArray bytes;
    (void)QTest::qWaitFor(
        [&] {
            bytes += ReadAvailable();
            return bytes.size() >= size || endOfStream;
        },
        timeoutMs);
    return bytes;
}

bool LoopbackPeer::WaitForEndOfStream(QByteArray *received, int timeoutMs)
{
    QByteArray bytes;
    const bool ended = QTest::qWaitFor(
        [&] {
            bytes += ReadAvailable();
            return endOfStream;
        },
        timeoutMs);
    if (received)
        *received = bytes;
    return ended;
}

void LoopbackPeer::ShutdownWrite()
{
    shutdown(fd, SHUT_WR);
}

void LoopbackPeer::Close()
{
    if (fd != -1)
        ::close(fd);
    fd = -1;
}

void LoopbackPeer::Reset()
{
    const linger abortive{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    Close();
}

LoopbackListener::~LoopbackListener()
{
    if (fd != -1)
        ::close(fd);
}

bool LoopbackListener::Listen(quint16 port)
{
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = LoopbackAddress(port);
    return bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 && listen(fd, 16) == 0;
}

LoopbackPeer LoopbackListener::AcceptOne(int timeoutMs)
{
    int accepted = -1;
    (void)QTest::qWaitFor(
        [&] {
            accepted = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            return accepted != -1;
        },
        timeoutMs);
    return LoopbackPeer(accepted);
}

int BytesWaiting(int socket)
{
    int waiting = 0;
    ioctl(socket, FIONREAD, &waiting);
    return waiting;
}

bool SendsAtOnce(int socket)
{
    int on = 0;
    socklen_t size = sizeof on;
    return getsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, &size) == 0 && on != 0;
}

void ShrinkSendBuffer(int socket)
{
    const int size = 4096;
    setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
}
