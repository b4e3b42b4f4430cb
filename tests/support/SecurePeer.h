#pragma once

#include "FrameReader.h"
#include "LoopbackPeer.h"
#include "TlsTransport.h"

#include <QByteArray>

#include <memory>

typedef struct ssl_st SSL;
class HostIdentity;

// A guest that speaks the secure chat by hand, with blocking OpenSSL calls
// run while the host's event loop turns. It offers no application protocol,
// as the copies of version 1 do, or offers "vanu/2".
class SecurePeer {
public:
    enum class Offers { Version1, Version2, File };
    // With an identity, it shows it as its client certificate.
    // From `source`, a loopback address, when given: a host takes only a few connections from one address.
    explicit SecurePeer(quint16 port, Offers offers = Offers::Version1, const HostIdentity *identity = nullptr,
                        const char *source = nullptr);

    bool connected = false;
    // The next frame's bytes, whole, or nothing after a few seconds.
    QByteArray ReadFrame();
    void SendFrame(const QByteArray &payload);
    // Bytes as they are, as a file connection carries them, while the event loop turns.
    bool SendRaw(const QByteArray &bytes);
    // At least that many bytes (or what came in a few seconds).
    QByteArray ReadRaw(qsizetype atLeast, int waitMs = 10000);
    // Reads until the host ends the connection; false when it is still open after the wait.
    bool WaitForEnd(QByteArray *bytes = nullptr, int waitMs = 5000);
    // Stops at once, as a copy that is killed does: no end of TLS first.
    void Close() { peer.Close(); }
    // The opening without a password, as a guest that gives none: true once welcomed.
    bool OpenWithoutPassword();
    // The proof of the password's key, made in this connection's session.
    QByteArray Proof(const QByteArray &key);
    // A value exported from this connection's session under the label.
    QByteArray Exported(const char *label, int size);
    bool agreedOnVersion2() const;
    SSL *Tls() const { return tls.get(); }

private:
    LoopbackPeer peer;
    SslContext context;
    std::unique_ptr<SSL, void (*)(SSL *)> tls;
    QByteArray received;
};
