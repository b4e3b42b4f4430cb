#pragma once

#include "Transport.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

typedef struct ssl_ctx_st SSL_CTX;

class TlsTransport;
namespace Cpace {
class Party;
}

// What a guest makes of the key a host showed in the handshake.
enum class KeyVerdict { Trusted, Refused, Ask };

// The guest's side of a secure connection's opening: how it checks the
// host's key (at once, with a text for the user when it refuses; or by
// asking the user, who answers later with true to trust it), and where it
// gets the chat password when the host asks for one (nothing when the user
// gives none).
struct GuestSide {
    std::function<KeyVerdict(int socket, const QByteArray &fingerprint, QString &refusal)> checkKey;
    // `hostKnowsPassword`: the host has proven that it knows the chat password.
    std::function<void(int socket, const QByteArray &fingerprint, bool hostKnowsPassword,
                       std::function<void(bool)> answer)>
        askTrust;
    std::function<void(int socket, std::function<void(std::optional<QString>)> answer)> askPassword;
};

// The host's side: the key derived from its chat password, empty for none;
// whether a proof from this connection's peer is looked at now (a proof not
// looked at is refused); and what a proof looked at came to.
struct HostSide {
    std::function<QByteArray()> passwordKey;
    std::function<bool(int socket)> mayTry;
    std::function<void(int socket, bool proven)> proofChecked;
    // A file connection is let in only with the key of a guest in the chat,
    // which proved the password there: none is asked again.
    std::function<bool(const QByteArray &key)> fileConnectionAllowed;
};

// The key a chat password gives for the host of that fingerprint: PBKDF2
// with SHA-256, salted with the fingerprint. Hosts keep only this.
QByteArray PasswordKey(const QString &password, const QByteArray &fingerprint);

// The secure chat's opening, once TLS's handshake is done, in frames of its
// own (see FrameReader.h). The host says whether it asks for a password;
// the guest answers with its proof (empty when none is asked); the host
// welcomes or refuses the guest. The guest checks the host's key first; in
// version 2 a key met for the first time is put to the user only after the
// welcome, when the user can be told whether the host proved that it knows
// the password. Nothing of the chat crosses before the welcome, and the
// guest reads none of it before the key is trusted. The password's key
// never crosses the wire, and nothing made on one connection serves on
// another: each proof is bound to a value exported from its TLS session.
// - Version 1: the proof is an HMAC-SHA256 of that value, keyed with the
//   password's key. It proves the guest only.
// - Version 2: the two run CPace with the password's key: the guest sends
//   its share, the host its share, the guest its confirmation; the host
//   checks it and answers with its own confirmation before the welcome,
//   which the guest checks. So each side proves that it knows the
//   password, and neither learns anything that it could test guesses
//   against offline.
class SecureOpening final : public ConnectionOpening {
public:
    SecureOpening(int socket, TlsTransport &tls, HostSide host);
    SecureOpening(int socket, TlsTransport &tls, GuestSide guest);
    ~SecureOpening() override;

    Opening drive(Transport &transport) override;
    int failureError() const override { return failure; }
    QString failureText() const override { return failureReason; }
    // The host waits for the proof while the guest's user checks the key and
    // types the password.
    bool peerMayWaitForItsUser() const override { return stage == Stage::Proof; }
    void timedOut(Transport &transport) override;
    Framing textFraming() const override;
    QByteArray peerKey() const override;

private:
    enum class Stage { Start, Trust, Offer, Password, Proof, HostShare, GuestConfirms, Verdict, Welcome, Open };
    // What the user answered, once they have.
    struct Answers {
        std::optional<bool> trusted;
        std::optional<std::optional<QString>> password;
    };

    // What takes the user's answer into the slot and wakes the endpoint; it
    // may be called after this opening has gone, and then does nothing.
    template <typename Value>
    std::function<void(Value)> answerInto(std::optional<Value> Answers::*slot)
    {
        return [given = std::weak_ptr(answers), wake = wakeFunction(), slot](Value value) {
            if (const auto answered = given.lock()) {
                (*answered).*slot = std::move(value);
                if (wake)
                    wake();
            }
        };
    }
    Opening checkHostKey();
    Opening hostOffers();
    // A file connection's opening: the host lets in a participant's key; the
    // guest goes on only with a host whose key it knows already.
    Opening hostAdmitsFileConnection();
    Opening guestAnswersOffer();
    Opening guestProves(const QString &password);
    Opening hostChecksProof();
    Opening guestHearsVerdict();
    // Version 2's exchange, past the guest's share.
    Opening hostAnswersShare(const QByteArray &guestShare);
    Opening guestConfirms();
    Opening hostChecksConfirmation();
    Opening guestHearsWelcome();
    // The guest's opening ends: at once, or once the user trusts a key met for the first time.
    Opening guestOpens();
    Opening askTrust(bool hostKnowsPassword);
    // This side's run of the exchange, bound to this TLS session.
    void startExchange(const QByteArray &passwordKey);
    // What a stage answers while its frame has not come: it waits, unless the connection failed.
    Opening notYet() const;
    // The next frame of the opening, once it is here whole; nothing
    // meanwhile (or when the connection failed). It reads no byte past the
    // frame: what follows is the chat's.
    std::optional<QByteArray> takeFrame();
    bool writeFrame(const QByteArray &payload);
    QByteArray proofWith(const QByteArray &key) const;
    Opening fail(int error, const QString &text = QString());

    int socket;
    TlsTransport &tls;
    bool host;
    HostSide hostSide;
    GuestSide guestSide;
    Stage stage = Stage::Start;
    // Where the guest goes once the user trusts the key; Start while no question is put.
    Stage afterTrust = Stage::Start;
    // A key met for the first time, to be put to the user after the welcome.
    bool trustLater = false;
    std::shared_ptr<Answers> answers = std::make_shared<Answers>();
    // The frame being read: its header, then its body.
    QByteArray reading;
    int failure = 0;
    QString failureReason;
    // Version 2's exchange: this side's run, the key it came to and the peer's share.
    std::unique_ptr<Cpace::Party> exchange;
    QByteArray exchangeId;
    QByteArray exchangeKey;
    QByteArray peerShare;
};

// Makes the layers of each secure connection of one side: TLS, and the opening above it.
class TlsTransports final : public TransportMaker {
public:
    TlsTransports(SSL_CTX *context, HostSide host) : context(context), host(std::move(host)) { }
    TlsTransports(SSL_CTX *context, GuestSide guest) : context(context), guest(std::move(guest)) { }
    ConnectionLayers forConnection(int socket) override;

private:
    SSL_CTX *context;
    HostSide host;
    std::optional<GuestSide> guest;
};
