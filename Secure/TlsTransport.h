#pragma once

#include "PeerAbuse.h"
#include "Transport.h"

#include <QByteArray>

#include <memory>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

class HostIdentity;

// The TLS 1.3 settings of each side; null when OpenSSL cannot make them.
// Both agree on the application protocol "vanu/2" through ALPN when both
// offer it; a copy that does not offer it is spoken to as before.
using SslContext = std::unique_ptr<SSL_CTX, void (*)(SSL_CTX *)>;
SslContext HostContext(const HostIdentity &identity);
// A guest shows its own identity, when it has one, as its client certificate.
SslContext GuestContext(const HostIdentity *identity = nullptr);
// A guest's file connection: its identity, and the protocol "vanu-file/1".
SslContext FileContext(const HostIdentity &identity);

// A connection's bytes carried by TLS 1.3 on the socket itself: the
// handshake, then reads and writes of the bytes inside.
class TlsTransport final : public Transport {
public:
    TlsTransport(int socket, SSL_CTX *context, bool host);
    ~TlsTransport() override;

    HandshakeResult handshake() override;
    TransportResult read(char *into, qsizetype size, bool peek = false) override;
    TransportResult write(const char *from, qsizetype size) override;
    int shutdownSending() override;
    bool hasMoreToRead() const override;
    qsizetype bytesWaiting() const override;

    // Once the handshake is done: the SHA-256 of the peer's key (empty when
    // it showed none), whether both agreed on version 2, and a value derived
    // from this very session under the label, the same on both sides.
    QByteArray peerFingerprint() const;
    bool agreedOnVersion2() const;
    // Both agreed that this is a file connection.
    bool isFileConnection() const;
    QByteArray exported(const char *label, qsizetype size) const;

private:
    TransportResult failed(int error);
    // OpenSSL's word of each protocol message: key updates are counted.
    static void OnMessage(int written, int version, int contentType, const void *message, size_t size, SSL *ssl,
                          void *transport);

    int socket;
    SSL *ssl;
    bool shaken = false;
    bool peerEnded = false;
    // A peer that updates its keys without end costs the host a core and the
    // other guests their latency: it is cut off.
    PeerAbuse keyUpdates{8, std::chrono::seconds(10)};
    bool tooManyKeyUpdates = false;
};
