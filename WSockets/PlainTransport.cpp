#include "PlainTransport.h"

#include "SocketErrors.h"

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>

namespace {

// The outcome of a failed call, errno being its error.
TransportResult Failed(int errnoValue)
{
    TransportResult result;
    if (errnoValue == EAGAIN || errnoValue == EWOULDBLOCK)
        result.wouldBlock = true;
    else
        result.error = TranslateErrno(errnoValue);
    return result;
}

} // namespace

TransportResult PlainTransport::read(char *into, qsizetype size, bool peek)
{
    ssize_t received;
    do
        received = recv(socket, into, size_t(size), (peek ? MSG_PEEK : 0) | MSG_DONTWAIT);
    while (received < 0 && errno == EINTR);
    if (received < 0)
        return Failed(errno);
    TransportResult result;
    result.bytes = received;
    result.ended = received == 0 && size > 0;
    return result;
}

TransportResult PlainTransport::write(const char *from, qsizetype size)
{
    ssize_t sent;
    do
        // MSG_NOSIGNAL: a peer that has gone must not end the program with SIGPIPE.
        sent = ::send(socket, from, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    if (sent < 0)
        return Failed(errno);
    TransportResult result;
    result.bytes = sent;
    return result;
}

qsizetype PlainTransport::bytesWaiting() const
{
    int waiting = 0;
    return ioctl(socket, FIONREAD, &waiting) == 0 ? waiting : 0;
}

int PlainTransport::shutdownSending()
{
    return shutdown(socket, SHUT_WR) == 0 ? 0 : TranslateErrno(errno);
}
