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

// Where a connection's opening (a handshake, then any exchange of the peers'
// own) stands.
enum class Opening {
    Done,
    WaitsToRead, // for the peer's next bytes
    WaitsToWrite, // for room to send in
    WaitsForUser, // for a decision; the opening wakes the endpoint with it
    Failed,
};

// Where a transport's handshake stands, and after Failed its error number.
struct HandshakeResult {
    Opening state = Opening::Done;
    int error = 0;
};

// How the bytes of one connection cross it: as they are, or carried by
// another protocol (TLS, say). It only moves bytes; what they mean is the
// business of the layers above.
class Transport {
public:
    virtual ~Transport() = default;
    // Drives the handshake on; no byte of the peers' own crosses before it is Done.
    virtual HandshakeResult handshake() { return {}; }
    // Reads up to `size` bytes into `into`, without waiting; `peek` leaves
    // them to be read again.
    virtual TransportResult read(char *into, qsizetype size, bool peek = false) = 0;
    // Writes as much of the bytes as the connection takes now, without waiting.
    virtual TransportResult write(const char *from, qsizetype size) = 0;
    // Ends our sending: the peer reads the end of the stream. 0 or an error number.
    virtual int shutdownSending() = 0;
    // Bytes wait that the socket no longer shows as readable (held by the
    // transport itself): the owner is offered them without waiting for the socket.
    virtual bool hasMoreToRead() const = 0;
    // How many bytes a read could take at once now, held by the transport or the socket.
    virtual qsizetype bytesWaiting() const = 0;
};

// How the peers' texts cross a connection once it is open: each as it is, in
// a send of its own (texts sent together arrive glued), or each in a frame of
// its own, of version 1 or 2 (see FrameReader.h), which may go out together.
// How a connection's bytes are read once it is open: plain chat texts, chat
// frames of version 1 or 2, or a file transfer's bytes (a connection of its
// own beside a guest's chat, which the host relays; see FileRelay).
enum class Framing { None, Version1, Version2, File };

// What the peers exchange of their own once the transport's handshake is
// done, before anything of the chat crosses the connection: the secure
// chat's key check and password, say. It reads and writes through the
// transport.
class ConnectionOpening {
public:
    virtual ~ConnectionOpening() = default;
    virtual Opening drive(Transport &transport) = 0;
    // After Failed: the error number, and a text for the user when the
    // error's own text would say too little.
    virtual int failureError() const = 0;
    virtual QString failureText() const { return {}; }
    // The opening waits for a peer that may itself be waiting for its user:
    // it is given minutes, not seconds.
    virtual bool peerMayWaitForItsUser() const { return false; }
    // The opening took too long and is ended: the peer may be told why.
    virtual void timedOut(Transport &) { }
    // How the texts cross the connection once the opening is Done.
    virtual Framing textFraming() const { return Framing::None; }
    // The SHA-256 of the key the peer proved in the opening; empty for none.
    virtual QByteArray peerKey() const { return {}; }
    // For an opening that waits for the user: what it calls once the decision is made.
    void onWake(std::function<void()> wake) { woken = std::move(wake); }

protected:
    // What brings the decision in; it may be called after the opening has gone.
    std::function<void()> wakeFunction() const { return woken; }

private:
    std::function<void()> woken;
};

// One connection's layers: its transport, and the opening above it, if any.
struct ConnectionLayers {
    std::unique_ptr<Transport> transport;
    std::unique_ptr<ConnectionOpening> opening;
};

// Makes the layers of each new connection of a socket object: the one it
// accepts, or the one it connects.
class TransportMaker {
public:
    virtual ~TransportMaker() = default;
    virtual ConnectionLayers forConnection(int socket) = 0;
};
