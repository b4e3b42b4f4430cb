#pragma once

#include "TlsTransport.h"

#include <QByteArray>

class HostIdentity;

// A TLS 1.3 session between two guests inside the frames that the host
// relays: OpenSSL over memory buffers, with no socket of its own. Each side
// shows its identity, and takes the other's only when it is the key it
// expects for that person: anything else ends the session in its handshake.
// What one side writes comes out of `takeRecords()` as records for the
// host to relay; the records that come back are given to `feed()`.
class InnerTls {
public:
    enum class Role { Client, Server };
    // The side whose key is the smaller is the client: both sides know who
    // starts, whichever wants to write first.
    static Role roleBetween(const QByteArray &ownKey, const QByteArray &peerKey);

    InnerTls(const HostIdentity &identity, Role role, QByteArray expectedPeerKey);
    ~InnerTls();
    InnerTls(const InnerTls &) = delete;
    InnerTls &operator=(const InnerTls &) = delete;

    // The records the peer sent; false once the session has failed.
    bool feed(const QByteArray &records);
    // Bytes to carry to the peer once the session is open; they wait until then.
    void write(const QByteArray &bytes);
    // What came from the peer, once it is open.
    QByteArray read();
    // The records that wait to go to the peer.
    QByteArray takeRecords();
    bool isOpen() const { return open; }
    bool hasFailed() const { return failed; }
    Role role() const { return ownRole; }

private:
    void advance();
    static int checkPeer(int preverified, struct x509_store_ctx_st *store);

    Role ownRole;
    QByteArray expectedKey;
    SslContext context{nullptr, nullptr};
    SSL *ssl = nullptr;
    struct bio_st *incoming = nullptr;
    struct bio_st *outgoing = nullptr;
    QByteArray pendingWrites;
    bool open = false;
    bool failed = false;
};
