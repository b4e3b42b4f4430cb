#include "TlsTransport.h"

#include "HostIdentity.h"
#include "SocketErrors.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// OpenSSL's own socket BIO writes with write(), which raises SIGPIPE when the
// peer has gone; this one sends as the plain transport does.
int BioSend(BIO *bio, const char *data, int size)
{
    const int socket = int(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    BIO_clear_retry_flags(bio);
    ssize_t sent;
    do
        sent = ::send(socket, data, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        BIO_set_retry_write(bio);
    return int(sent);
}

int BioReceive(BIO *bio, char *data, int size)
{
    const int socket = int(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
    BIO_clear_retry_flags(bio);
    ssize_t received;
    do
        received = ::recv(socket, data, size_t(size), MSG_DONTWAIT);
    while (received < 0 && errno == EINTR);
    if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        BIO_set_retry_read(bio);
    return int(received);
}

long BioControl(BIO *, int command, long, void *)
{
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

BIO_METHOD *SocketMethod()
{
    static BIO_METHOD *method = [] {
        BIO_METHOD *made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "vanu socket");
        BIO_meth_set_write(made, BioSend);
        BIO_meth_set_read(made, BioReceive);
        BIO_meth_set_ctrl(made, BioControl);
        BIO_meth_set_create(made, [](BIO *bio) {
            BIO_set_init(bio, 1);
            return 1;
        });
        return made;
    }();
    return method;
}

SslContext Context(const SSL_METHOD *method)
{
    SslContext context(SSL_CTX_new(method), SSL_CTX_free);
    if (!context)
        return context;
    SSL_CTX_set_min_proto_version(context.get(), TLS1_3_VERSION);
    SSL_CTX_set_max_proto_version(context.get(), TLS1_3_VERSION);
    SSL_CTX_set_mode(context.get(), SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_read_ahead(context.get(), 1); // one receive takes every record waiting
    // A peer that closes without TLS's own end has still only ended its stream.
    SSL_CTX_set_options(context.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
    return context;
}

const int kAborted = TranslateErrno(ECONNABORTED);
// The application protocols, as ALPN lists them: each one's length, then its name.
const unsigned char kVersion2Alpn[] = {6, 'v', 'a', 'n', 'u', '/', '2'};
const unsigned char kFileAlpn[] = {11, 'v', 'a', 'n', 'u', '-', 'f', 'i', 'l', 'e', '/', '1'};
const unsigned char kHostAlpns[] = {6, 'v', 'a', 'n', 'u', '/', '2', 11, 'v', 'a', 'n', 'u', '-', 'f', 'i', 'l', 'e', '/', '1'};

bool Agreed(const SSL *ssl, const unsigned char *protocol, size_t size)
{
    const unsigned char *selected = nullptr;
    unsigned int selectedSize = 0;
    SSL_get0_alpn_selected(ssl, &selected, &selectedSize);
    return selectedSize == size - 1 && std::memcmp(selected, protocol + 1, selectedSize) == 0;
}

// The host takes version 2, or a file connection, when the guest offers it,
// and otherwise goes on without an application protocol: version 1, as
// every copy spoke before.
int ChooseProtocol(SSL *, const unsigned char **chosen, unsigned char *chosenSize, const unsigned char *offered,
                   unsigned int offeredSize, void *)
{
    unsigned char *out = nullptr;
    if (SSL_select_next_proto(&out, chosenSize, kHostAlpns, sizeof kHostAlpns, offered, offeredSize)
        != OPENSSL_NPN_NEGOTIATED)
        return SSL_TLSEXT_ERR_NOACK;
    *chosen = out;
    return SSL_TLSEXT_ERR_OK;
}

} // namespace

SslContext HostContext(const HostIdentity &identity)
{
    SslContext context = Context(TLS_server_method());
    if (context
        && (SSL_CTX_use_certificate(context.get(), identity.Certificate()) != 1
            || SSL_CTX_use_PrivateKey(context.get(), identity.Key()) != 1))
        context.reset();
    if (context) {
        // A guest's certificate is its own, like the host's: it is asked for
        // and taken unverified, and its key is what names are held by. A
        // guest that shows none is still a guest.
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, [](int, X509_STORE_CTX *) { return 1; });
        SSL_CTX_set_num_tickets(context.get(), 0); // no resumption: nothing to hand out
        SSL_CTX_set_alpn_select_cb(context.get(), ChooseProtocol, nullptr);
    }
    return context;
}

SslContext FileContext(const HostIdentity &identity)
{
    SslContext context = GuestContext(&identity);
    if (context)
        SSL_CTX_set_alpn_protos(context.get(), kFileAlpn, sizeof kFileAlpn);
    return context;
}

SslContext GuestContext(const HostIdentity *identity)
{
    // The host's certificate is its own; its key is checked against the one
    // pinned for it once the handshake (which proves the key) is done.
    SslContext context = Context(TLS_client_method());
    if (context) {
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_NONE, nullptr);
        SSL_CTX_set_alpn_protos(context.get(), kVersion2Alpn, sizeof kVersion2Alpn);
    }
    if (context && identity
        && (SSL_CTX_use_certificate(context.get(), identity->Certificate()) != 1
            || SSL_CTX_use_PrivateKey(context.get(), identity->Key()) != 1))
        context.reset();
    return context;
}


TlsTransport::TlsTransport(int socket, SSL_CTX *context, bool host) : socket(socket), ssl(SSL_new(context))
{
    if (!ssl)
        return;
    BIO *bio = BIO_new(SocketMethod());
    BIO_set_data(bio, reinterpret_cast<void *>(intptr_t(socket)));
    SSL_set_bio(ssl, bio, bio);
    SSL_set_msg_callback(ssl, &TlsTransport::OnMessage);
    SSL_set_msg_callback_arg(ssl, this);
    if (host)
        SSL_set_accept_state(ssl);
    else
        SSL_set_connect_state(ssl);
}

TlsTransport::~TlsTransport()
{
    SSL_free(ssl);
}

HandshakeResult TlsTransport::handshake()
{
    if (!ssl)
        return {Opening::Failed, kAborted};
    const int done = SSL_do_handshake(ssl);
    if (done == 1) {
        shaken = true;
        return {};
    }
    const int why = SSL_get_error(ssl, done);
    ERR_clear_error();
    switch (why) {
    case SSL_ERROR_WANT_READ:
        return {Opening::WaitsToRead, 0};
    case SSL_ERROR_WANT_WRITE:
        return {Opening::WaitsToWrite, 0};
    default:
        return {Opening::Failed, kAborted};
    }
}

QByteArray TlsTransport::peerFingerprint() const
{
    X509 *certificate = shaken ? SSL_get0_peer_certificate(ssl) : nullptr;
    return certificate ? FingerprintOf(X509_get0_pubkey(certificate)) : QByteArray();
}

bool TlsTransport::agreedOnVersion2() const
{
    return Agreed(ssl, kVersion2Alpn, sizeof kVersion2Alpn);
}

bool TlsTransport::isFileConnection() const
{
    return Agreed(ssl, kFileAlpn, sizeof kFileAlpn);
}

QByteArray TlsTransport::exported(const char *label, qsizetype size) const
{
    QByteArray value(size, '\0');
    if (SSL_export_keying_material(ssl, reinterpret_cast<unsigned char *>(value.data()), size_t(size), label,
                                   std::strlen(label), nullptr, 0, 0)
        != 1)
        return {};
    return value;
}

void TlsTransport::OnMessage(int written, int, int contentType, const void *message, size_t size, SSL *,
                             void *transport)
{
    if (written || contentType != SSL3_RT_HANDSHAKE || size == 0
        || *static_cast<const unsigned char *>(message) != SSL3_MT_KEY_UPDATE)
        return;
    auto *self = static_cast<TlsTransport *>(transport);
    if (self->keyUpdates.Count(1))
        return;
    self->tooManyKeyUpdates = true;
    // OpenSSL would go on taking every record that waits in the socket within
    // the one read: the socket goes dark to it, and the read ends.
    BIO_set_data(SSL_get_rbio(self->ssl), reinterpret_cast<void *>(intptr_t(-1)));
}

TransportResult TlsTransport::failed(int error)
{
    ERR_clear_error();
    TransportResult result;
    result.error = error;
    return result;
}

TransportResult TlsTransport::read(char *into, qsizetype size, bool peek)
{
    TransportResult result;
    if (!shaken || size <= 0) {
        result.wouldBlock = true;
        return result;
    }
    if (peerEnded) {
        result.ended = true;
        return result;
    }
    const int wanted = int(qMin<qsizetype>(size, INT_MAX));
    const int taken = peek ? SSL_peek(ssl, into, wanted) : SSL_read(ssl, into, wanted);
    if (tooManyKeyUpdates)
        return failed(kAborted);
    if (taken > 0) {
        result.bytes = taken;
        return result;
    }
    switch (SSL_get_error(ssl, taken)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        ERR_clear_error();
        result.wouldBlock = true;
        return result;
    case SSL_ERROR_ZERO_RETURN:
        ERR_clear_error();
        peerEnded = true;
        result.ended = true;
        return result;
    default:
        return failed(TranslateErrno(ECONNRESET));
    }
}

TransportResult TlsTransport::write(const char *from, qsizetype size)
{
    TransportResult result;
    if (!shaken) {
        result.wouldBlock = true;
        return result;
    }
    const int written = SSL_write(ssl, from, int(qMin<qsizetype>(size, INT_MAX)));
    if (written > 0) {
        result.bytes = written;
        return result;
    }
    const int error = SSL_get_error(ssl, written);
    if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ)
        result.wouldBlock = true;
    else
        result.error = TranslateErrno(errno == 0 ? EPIPE : errno);
    ERR_clear_error();
    return result;
}

int TlsTransport::shutdownSending()
{
    if (shaken)
        SSL_shutdown(ssl); // TLS's own end of the stream, before the socket's
    ERR_clear_error();
    return shutdown(socket, SHUT_WR) == 0 ? 0 : TranslateErrno(errno);
}

bool TlsTransport::hasMoreToRead() const
{
    // Records read ahead count too: the socket no longer shows them.
    return shaken && SSL_has_pending(ssl) == 1;
}

qsizetype TlsTransport::bytesWaiting() const
{
    return shaken ? SSL_pending(ssl) : 0;
}
