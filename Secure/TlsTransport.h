#pragma once

#include "FrameReader.h"
#include "PeerAbuse.h"
#include "Transport.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <optional>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

class HostIdentity;

// What a guest makes of the key a host showed in the handshake.
enum class KeyVerdict { Trusted, Refused, Ask };

// The guest's side of a secure connection's opening: how it checks the
// host's key (at once, with a text for the user when it refuses; or by
// asking the user, who answers later with true to trust it), and where it
// gets the chat password when the host asks for one (nothing when the user
// gives none).
struct GuestSide {
    std::function<KeyVerdict(int socket, const QByteArray &fingerprint, QString &refusal)> checkKey;
    std::function<void(int socket, const QByteArray &fingerprint, std::function<void(bool)> answer)> askTrust;
    std::function<void(int socket, std::function<void(std::optional<QString>)> answer)> askPassword;
};

// The host's side: the key derived from its chat password, empty for none;
// whether a proof from this connection's peer is looked at now (a proof not
// looked at is refused); and what a proof looked at came to.
struct HostSide {
    std::function<QByteArray()> passwordKey;
    std::function<bool(int socket)> mayTry;
    std::function<void(int socket, bool proven)> proofChecked;
};

// The key a chat password gives for the host of that fingerprint: PBKDF2
// with SHA-256, salted with the fingerprint. Hosts keep only this.
QByteArray PasswordKey(const QString &password, const QByteArray &fingerprint);

// The TLS 1.3 settings of each side; null when OpenSSL cannot make them.
using SslContext = std::unique_ptr<SSL_CTX, void (*)(SSL_CTX *)>;
SslContext HostContext(const HostIdentity &identity);
SslContext GuestContext();

// A connection carried by TLS 1.3 on the socket itself. Each text crosses it
// in a frame of its own (its length in 4 bytes, then the text), so texts are
// never glued together; a read gives one text, or the next part of a text
// longer than the read. A frame longer than FrameReader::kLongestFrame ends the
// connection.
//
// The opening is the TLS handshake, then three frames of its own: the host
// says whether it asks for a password; the guest answers with its proof
// (empty when none is asked): HMAC-SHA256, keyed with the password's key,
// of a value exported from this very TLS session, so that the password never
// crosses the wire and no proof serves on another connection; the host
// welcomes or refuses the guest. Nothing of the chat crosses before that.
class TlsTransport final : public Transport {
public:
    TlsTransport(int socket, SSL_CTX *context, HostSide host);
    TlsTransport(int socket, SSL_CTX *context, GuestSide guest);
    ~TlsTransport() override;

    TransportResult Read(char *into, qsizetype size, bool peek = false) override;
    TransportResult Write(const char *from, qsizetype size) override;
    int ShutdownSending() override;
    bool HasMoreToRead() const override;
    qsizetype BytesWaiting() const override;
    Opening Handshake() override;
    int FailureError() const override { return failure; }
    QString FailureText() const override { return failureText; }
    // The host waits for the proof while the guest's user checks the key and
    // types the password.
    bool PeerMayWaitForItsUser() const override { return stage == Stage::Proof; }
    void OpeningTimedOut() override;
    QByteArray Framed(const QByteArray &text) const override;
    bool GathersWrites() const override { return true; }

private:
    enum class Stage { Handshake, Trust, Offer, Password, Proof, Verdict, Open };
    // What the user answered, once they have.
    struct Answers {
        std::optional<bool> trusted;
        std::optional<std::optional<QString>> password;
    };

    TlsTransport(int socket, SSL_CTX *context, bool host);
    // What takes the user's answer into the slot and wakes the endpoint; it
    // may be called after this transport has gone, and then does nothing.
    template <typename Value>
    std::function<void(Value)> AnswerInto(std::optional<Value> Answers::*slot)
    {
        return [given = std::weak_ptr(answers), wake = WakeFunction(), slot](Value value) {
            if (const auto answered = given.lock()) {
                (*answered).*slot = std::move(value);
                if (wake)
                    wake();
            }
        };
    }
    Opening HandshakeDone();
    Opening CheckHostKey();
    Opening HostOffers();
    Opening GuestAnswersOffer();
    Opening GuestProves(const QString &password);
    Opening HostChecksProof();
    Opening GuestHearsVerdict();
    // The next frame of the opening, once it is here whole; nullopt meanwhile
    // (or when the connection failed).
    std::optional<QByteArray> TakeFrame();
    bool WriteFrame(const QByteArray &payload);
    QByteArray Proof(const QByteArray &key) const;
    // Takes in what the connection brought, as far as there is room.
    void Pull();
    Opening Fail(int error, const QString &text = QString());
    TransportResult Failed() const;
    // OpenSSL's word of each protocol message: key updates are counted.
    static void OnMessage(int written, int version, int contentType, const void *message, size_t size, SSL *ssl,
                          void *transport);

    int socket;
    SSL *ssl;
    HostSide hostSide;
    GuestSide guestSide;
    Stage stage = Stage::Handshake;
    bool opened = false;
    std::shared_ptr<Answers> answers = std::make_shared<Answers>();
    FrameReader frames; // what came, decrypted, not yet read
    bool peerEnded = false;
    // A peer that updates its keys or sends empty frames without end costs
    // the host a core and the other guests their latency: it is cut off.
    PeerAbuse keyUpdates{8, std::chrono::seconds(10)};
    PeerAbuse emptyFrames{256, std::chrono::seconds(1)};
    bool tooManyKeyUpdates = false;
    int failure = 0;
    QString failureText;
};

// Makes TLS transports for the connections of one side.
class TlsTransports final : public TransportMaker {
public:
    TlsTransports(SSL_CTX *context, HostSide host) : context(context), host(std::move(host)) { }
    TlsTransports(SSL_CTX *context, GuestSide guest) : context(context), guest(std::move(guest)) { }
    std::unique_ptr<Transport> ForConnection(int socket) override
    {
        if (guest)
            return std::make_unique<TlsTransport>(socket, context, *guest);
        return std::make_unique<TlsTransport>(socket, context, host);
    }

private:
    SSL_CTX *context;
    HostSide host;
    std::optional<GuestSide> guest;
};
