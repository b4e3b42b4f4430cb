#include "TlsTransport.h"

#include "HostIdentity.h"
#include "SocketErrors.h"

#include <QtEndian>

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>

#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// Decrypted bytes taken in ahead of the reader at most; the rest waits in the
// socket, so a peer cannot make us hold more than this.
constexpr qsizetype kLongestBacklog = 4 * FrameReader::kLongestFrame;
constexpr int kPullSize = 16 * 1024;

// Why an opening failed, for people; translated where it is shown.
const char *const kNotTrusted =
    QT_TRANSLATE_NOOP("SocketErrors", "The host's key was not trusted: the chat was not joined.");
const char *const kNoPassword =
    QT_TRANSLATE_NOOP("SocketErrors", "The host asks for a chat password, and none was given.");
const char *const kPasswordRefused = QT_TRANSLATE_NOOP("SocketErrors", "The host refused the chat password.");
const char *const kTooLate = QT_TRANSLATE_NOOP(
    "SocketErrors", "The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.");

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
constexpr int kPasswordRounds = 200000;
const char kExporterLabel[] = "EXPORTER-Vanu chat password";
// The opening's own frames.
const QByteArray kOfferOpen = QByteArrayLiteral("vanu-secure open");
const QByteArray kOfferPassword = QByteArrayLiteral("vanu-secure password");
const QByteArray kWelcome = QByteArrayLiteral("vanu-secure welcome");
const QByteArray kRefused = QByteArrayLiteral("vanu-secure refused");
const QByteArray kTooLateVerdict = QByteArrayLiteral("vanu-secure too late");

} // namespace

SslContext HostContext(const HostIdentity &identity)
{
    SslContext context = Context(TLS_server_method());
    if (context
        && (SSL_CTX_use_certificate(context.get(), identity.Certificate()) != 1
            || SSL_CTX_use_PrivateKey(context.get(), identity.Key()) != 1))
        context.reset();
    if (context)
        SSL_CTX_set_num_tickets(context.get(), 0); // no resumption: nothing to hand out
    return context;
}

SslContext GuestContext()
{
    // The host's certificate is its own; its key is checked against the one
    // pinned for it once the handshake (which proves the key) is done.
    SslContext context = Context(TLS_client_method());
    if (context)
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_NONE, nullptr);
    return context;
}

QByteArray PasswordKey(const QString &password, const QByteArray &fingerprint)
{
    const QByteArray secret = password.toUtf8();
    QByteArray key(32, '\0');
    PKCS5_PBKDF2_HMAC(secret.constData(), int(secret.size()), reinterpret_cast<const unsigned char *>(fingerprint.constData()),
                      int(fingerprint.size()), kPasswordRounds, EVP_sha256(), int(key.size()),
                      reinterpret_cast<unsigned char *>(key.data()));
    return key;
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

TlsTransport::TlsTransport(int socket, SSL_CTX *context, HostSide host) : TlsTransport(socket, context, true)
{
    hostSide = std::move(host);
}

TlsTransport::TlsTransport(int socket, SSL_CTX *context, GuestSide guest) : TlsTransport(socket, context, false)
{
    guestSide = std::move(guest);
}

TlsTransport::~TlsTransport()
{
    SSL_free(ssl);
}

Opening TlsTransport::Fail(int error, const QString &text)
{
    failure = error;
    failureText = text;
    ERR_clear_error();
    return Opening::Failed;
}

TransportResult TlsTransport::Failed() const
{
    TransportResult result;
    result.error = failure;
    return result;
}

Opening TlsTransport::Handshake()
{
    if (failure != 0 || !ssl)
        return Fail(failure != 0 ? failure : kAborted, failureText);
    switch (stage) {
    case Stage::Handshake:
        break;
    case Stage::Trust:
        if (!answers->trusted)
            return Opening::WaitsForUser;
        if (!*answers->trusted)
            return Fail(kAborted, QString::fromUtf8(kNotTrusted));
        stage = Stage::Offer;
        return GuestAnswersOffer();
    case Stage::Offer:
        return GuestAnswersOffer();
    case Stage::Password:
        if (!answers->password)
            return Opening::WaitsForUser;
        if (!*answers->password)
            return Fail(kAborted, QString::fromUtf8(kNoPassword));
        return GuestProves(**answers->password);
    case Stage::Proof:
        return HostChecksProof();
    case Stage::Verdict:
        return GuestHearsVerdict();
    case Stage::Open:
        return Opening::Done;
    }
    const int done = SSL_do_handshake(ssl);
    if (done == 1)
        return HandshakeDone();
    switch (SSL_get_error(ssl, done)) {
    case SSL_ERROR_WANT_READ:
        return Opening::WaitsToRead;
    case SSL_ERROR_WANT_WRITE:
        return Opening::WaitsToWrite;
    default:
        return Fail(kAborted);
    }
}

Opening TlsTransport::HandshakeDone()
{
    if (SSL_is_server(ssl))
        return HostOffers();
    return CheckHostKey();
}

Opening TlsTransport::CheckHostKey()
{
    X509 *certificate = SSL_get0_peer_certificate(ssl);
    const QByteArray fingerprint = FingerprintOf(certificate ? X509_get0_pubkey(certificate) : nullptr);
    if (fingerprint.isEmpty())
        return Fail(kAborted);
    QString refusal;
    const KeyVerdict verdict =
        guestSide.checkKey ? guestSide.checkKey(socket, fingerprint, refusal) : KeyVerdict::Trusted;
    if (verdict == KeyVerdict::Refused)
        return Fail(kAborted, refusal);
    if (verdict == KeyVerdict::Trusted) {
        stage = Stage::Offer;
        return GuestAnswersOffer();
    }
    stage = Stage::Trust;
    guestSide.askTrust(socket, fingerprint, AnswerInto(&Answers::trusted));
    return Opening::WaitsForUser;
}

Opening TlsTransport::HostOffers()
{
    const bool asksPassword = hostSide.passwordKey && !hostSide.passwordKey().isEmpty();
    if (!WriteFrame(asksPassword ? kOfferPassword : kOfferOpen))
        return Fail(kAborted);
    stage = Stage::Proof;
    return HostChecksProof();
}

Opening TlsTransport::GuestAnswersOffer()
{
    const std::optional<QByteArray> offer = TakeFrame();
    if (!offer)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    if (*offer == kOfferOpen)
        return GuestProves(QString());
    if (*offer != kOfferPassword || !guestSide.askPassword)
        return Fail(kAborted);
    stage = Stage::Password;
    guestSide.askPassword(socket, AnswerInto(&Answers::password));
    return Opening::WaitsForUser;
}

Opening TlsTransport::GuestProves(const QString &password)
{
    X509 *certificate = SSL_get0_peer_certificate(ssl);
    const QByteArray proof =
        password.isEmpty() ? QByteArray() : Proof(PasswordKey(password, FingerprintOf(X509_get0_pubkey(certificate))));
    if (!WriteFrame(proof))
        return Fail(kAborted);
    stage = Stage::Verdict;
    return GuestHearsVerdict();
}

Opening TlsTransport::HostChecksProof()
{
    const std::optional<QByteArray> proof = TakeFrame();
    if (!proof)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    const QByteArray key = hostSide.passwordKey ? hostSide.passwordKey() : QByteArray();
    bool proven = key.isEmpty();
    if (!proven && (!hostSide.mayTry || hostSide.mayTry(socket))) {
        const QByteArray expected = Proof(key);
        proven = proof->size() == expected.size()
                 && CRYPTO_memcmp(proof->constData(), expected.constData(), size_t(expected.size())) == 0;
        if (hostSide.proofChecked)
            hostSide.proofChecked(socket, proven);
    }
    if (!WriteFrame(proven ? kWelcome : kRefused) || !proven)
        return Fail(kAborted);
    stage = Stage::Open;
    opened = true;
    return Opening::Done;
}

Opening TlsTransport::GuestHearsVerdict()
{
    const std::optional<QByteArray> verdict = TakeFrame();
    if (!verdict)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    if (*verdict == kRefused)
        return Fail(kAborted, QString::fromUtf8(kPasswordRefused));
    if (*verdict == kTooLateVerdict)
        return Fail(kAborted, QString::fromUtf8(kTooLate));
    if (*verdict != kWelcome)
        return Fail(kAborted);
    stage = Stage::Open;
    opened = true;
    return Opening::Done;
}

void TlsTransport::OpeningTimedOut()
{
    if (stage == Stage::Proof)
        WriteFrame(kTooLateVerdict);
}

std::optional<QByteArray> TlsTransport::TakeFrame()
{
    Pull();
    if (frames.IsBad())
        Fail(kAborted);
    // A frame that came whole is taken even when the connection failed after it.
    std::optional<QByteArray> frame = failure == kAborted ? std::nullopt : frames.TakeFrame();
    if (frame) {
        failure = 0;
        return frame;
    }
    if (failure == 0 && peerEnded)
        Fail(kAborted); // the peer left halfway through the opening
    return std::nullopt;
}

bool TlsTransport::WriteFrame(const QByteArray &payload)
{
    // The opening's frames are small, and the connection new: the socket
    // takes each whole, or the connection is no good.
    const QByteArray frame = Framed(payload);
    return SSL_write(ssl, frame.constData(), int(frame.size())) == frame.size();
}

QByteArray TlsTransport::Proof(const QByteArray &key) const
{
    unsigned char exported[32];
    if (SSL_export_keying_material(ssl, exported, sizeof exported, kExporterLabel, sizeof kExporterLabel - 1, nullptr, 0, 0) != 1)
        return {};
    QByteArray proof(EVP_MAX_MD_SIZE, '\0');
    size_t length = 0;
    if (!EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, key.constData(), size_t(key.size()), exported,
                   sizeof exported, reinterpret_cast<unsigned char *>(proof.data()), size_t(proof.size()), &length))
        return {};
    proof.resize(qsizetype(length));
    return proof;
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

void TlsTransport::Pull()
{
    char buffer[kPullSize];
    while (!peerEnded && failure == 0 && frames.Buffered() < kLongestBacklog) {
        const int taken = SSL_read(ssl, buffer, sizeof buffer);
        if (tooManyKeyUpdates) {
            Fail(kAborted);
            return;
        }
        if (taken > 0) {
            frames.Append(buffer, taken);
            // Read ahead, OpenSSL holds what the socket had; when it holds
            // nothing, the socket's next readiness says whether more came.
            if (!SSL_has_pending(ssl))
                return;
            continue;
        }
        switch (SSL_get_error(ssl, taken)) {
        case SSL_ERROR_WANT_READ:
        case SSL_ERROR_WANT_WRITE:
            return;
        case SSL_ERROR_ZERO_RETURN:
            peerEnded = true;
            return;
        default:
            Fail(TranslateErrno(ECONNRESET));
            return;
        }
    }
}

TransportResult TlsTransport::Read(char *into, qsizetype size, bool peek)
{
    if (!opened)
        return failure != 0 ? Failed() : TransportResult{0, false, true, 0};
    Pull();
    TransportResult result;
    result.bytes = frames.Read(into, size, peek);
    if (!emptyFrames.Count(frames.TakeEmptyFramesPassed())) {
        Fail(kAborted);
        return Failed();
    }
    if (result.bytes > 0)
        return result;
    if (frames.IsBad())
        Fail(kAborted);
    if (failure != 0)
        return Failed();
    if (peerEnded)
        result.ended = size > 0;
    else
        result.wouldBlock = true;
    return result;
}

TransportResult TlsTransport::Write(const char *from, qsizetype size)
{
    TransportResult result;
    if (!opened) {
        result.wouldBlock = failure == 0;
        result.error = failure;
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

int TlsTransport::ShutdownSending()
{
    if (opened)
        SSL_shutdown(ssl); // TLS's own end of the stream, before the socket's
    ERR_clear_error();
    return shutdown(socket, SHUT_WR) == 0 ? 0 : TranslateErrno(errno);
}

bool TlsTransport::HasMoreToRead() const
{
    return opened && (frames.Waiting() > 0 || SSL_pending(ssl) > 0);
}

qsizetype TlsTransport::BytesWaiting() const
{
    return frames.Waiting();
}

QByteArray TlsTransport::Framed(const QByteArray &text) const
{
    // A relayed line goes to every guest as the same text: framed once.
    thread_local QByteArray lastText;
    thread_local QByteArray lastFrame;
    if (!text.isSharedWith(lastText) || text.isEmpty()) {
        lastText = text;
        lastFrame = FrameReader::Framed(text);
    }
    return lastFrame;
}
