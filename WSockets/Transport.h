#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

// What one call on a connection's transport came to: bytes moved, the end of
// the peer's stream, nothing for now, or a failure.
struct TransportResult {
    qsizetype bytes = 0;
    // A read found the end of the stream: the peer finished sending.
    bool ended = false;
    // Nothing can move now; the socket's next readiness tells when.
    bool wouldBlock = false;
    // A failure, as a socket error number; 0 for none.
    int error = 0;
};

// Where a connection's opening exchange (a handshake) stands.
enum class Opening {
    Done,
    WaitsToRead, // for the peer's next bytes
    WaitsToWrite, // for room to send in
    WaitsForUser, // for a decision; the transport wakes the endpoint with it
    Failed,
};

// How the bytes of one connection cross it. The socket layer reads, writes
// and shuts down a connection only through this, so that a connection can be
// plain or carried by another protocol (TLS, say) without the layer above
// knowing: the chat sees texts either way.
class Transport {
public:
    virtual ~Transport() = default;
    // Reads up to `size` bytes into `into`, without waiting; `peek` leaves
    // them to be read again.
    virtual TransportResult Read(char *into, qsizetype size, bool peek = false) = 0;
    // Writes as much of the bytes as the connection takes now, without waiting.
    virtual TransportResult Write(const char *from, qsizetype size) = 0;
    // Ends our sending: the peer reads the end of the stream. 0 or an error number.
    virtual int ShutdownSending() = 0;
    // Bytes wait that the socket no longer shows as readable (held by the
    // transport itself): the owner is offered them without waiting for the socket.
    virtual bool HasMoreToRead() const = 0;
    // How many bytes a read could take at once now, held by the transport or
    // the socket.
    virtual qsizetype BytesWaiting() const = 0;

    // Drives the connection's opening exchange on; nothing else crosses the
    // connection before it is Done. A plain connection has none.
    virtual Opening Handshake() { return Opening::Done; }
    // After Failed: the error number, and a text for the user when the
    // error's own text would say too little.
    virtual int FailureError() const { return 0; }
    virtual QString FailureText() const { return {}; }
    // The opening waits for a peer that may itself be waiting for its user:
    // it is given minutes, not seconds.
    virtual bool PeerMayWaitForItsUser() const { return false; }
    // The opening took too long and is ended: the peer may be told why.
    virtual void OpeningTimedOut() { }
    // A text as it crosses the connection: as it is, or in a frame of its own.
    virtual QByteArray Framed(const QByteArray &text) const { return text; }
    // Texts may go out together: the endpoint gathers what is sent to the
    // connection in one pass of the event loop and writes it at once. Plain
    // texts may not, since texts written together arrive glued.
    virtual bool GathersWrites() const { return false; }
    // For a transport that waits for the user: what it calls once the decision is made.
    void OnWake(std::function<void()> wake) { woken = std::move(wake); }

protected:
    // What brings the decision in; it may be called after the transport has gone.
    std::function<void()> WakeFunction() const { return woken; }

private:
    std::function<void()> woken;
};

// Makes the transport of each new connection of a socket object: the one it
// accepts, or the one it connects.
class TransportMaker {
public:
    virtual ~TransportMaker() = default;
    virtual std::unique_ptr<Transport> ForConnection(int socket) = 0;
};
