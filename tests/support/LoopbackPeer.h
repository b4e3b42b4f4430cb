#pragma once

#include <QByteArray>

// The far end of a connection in a test: a plain socket on 127.0.0.1 that the
// test drives by hand. Waits run the Qt event loop, so the socket objects
// under test go on working meanwhile; every wait has a limit.
class LoopbackPeer {
public:
    LoopbackPeer() = default;
    explicit LoopbackPeer(int socket) : fd(socket) {}
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer &) = delete;
    LoopbackPeer &operator=(const LoopbackPeer &) = delete;
    LoopbackPeer(LoopbackPeer &&other) noexcept;
    LoopbackPeer &operator=(LoopbackPeer &&other) noexcept;

    // Connects to 127.0.0.1:port (or another host address), optionally with
    // a small receive buffer (bytes), so that a sender meets a full window early.
    bool Connect(quint16 port, int receiveBuffer = 0, const char *sourceAddress = nullptr,
                 const char *hostAddress = nullptr);
    bool IsOpen() const { return fd != -1; }
    int Handle() const { return fd; }

    bool Send(const QByteArray &bytes);
    // Whatever has arrived, without waiting.
    QByteArray ReadAvailable();
    // Reads until `size` bytes have arrived or the time is up.
    QByteArray ReadAtLeast(qsizetype size, int timeoutMs = 5000);
    // Reads until the peer has closed (end of stream) or the time is up.
    bool WaitForEndOfStream(QByteArray *received = nullptr, int timeoutMs = 5000);

    void ShutdownWrite();
    void Close();
    // Closes with a reset instead of a graceful close.
    void Reset();

private:
    bool endOfStream = false;
    int fd = -1;
};

// How many bytes wait to be read on a socket.
int BytesWaiting(int socket);

// Whether a socket sends small texts at once (Nagle's algorithm off).
bool SendsAtOnce(int socket);

// Sets a socket's send buffer small, so that a sender meets a full window early.
void ShrinkSendBuffer(int socket);

// A plain listening socket on 127.0.0.1 for tests of the connecting side.
class LoopbackListener {
public:
    ~LoopbackListener();
    bool Listen(quint16 port);
    // Waits (running the event loop) for one connection.
    LoopbackPeer AcceptOne(int timeoutMs = 5000);
    int Handle() const { return fd; }

private:
    int fd = -1;
};
