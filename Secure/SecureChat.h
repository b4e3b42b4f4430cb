#pragma once

#include "HeldNames.h"
#include "HostIdentity.h"
#include "KnownHosts.h"
#include "PasswordTries.h"
#include "SecureOpening.h"
#include "TlsTransport.h"

#include <QObject>

#include <memory>

class Prompts;
class TTCPClient;
class TTCPServer;

// Secure chat beside the plain one, which goes on as it always has.
// - A host that offers it listens on its chat port + kSecurePortOffset too,
//   with TLS 1.3 under its own key, made on first use.
// - A guest that prefers it tries that port first, for each port it tries,
//   and the plain port only when nobody listens there. It pins the key of
//   every host it reaches securely (asking the user the first time), and
//   never joins a pinned host under another key or in the clear.
// The identity and the pinned keys are kept in the folder given.
class SecureChat : public QObject {
    Q_OBJECT
public:
    enum class HostMode { Off, Offer, Require };
    enum class GuestMode { Prefer, Off };

    SecureChat(const QString &folder, TTCPServer &server, TTCPClient &client, Prompts &prompts,
               QObject *parent = nullptr);
    ~SecureChat() override;

    // Host mode listens on the chat port: the secure port follows. Gives the
    // secure port, or 0 when none could be opened or none is offered.
    quint16 HostListening(quint16 port);
    // The padlock's text and tooltip for the chat as it is now; no text
    // outside a chat.
    QString padlockText() const;
    QString padlockTip() const;
    // Whether the padlock shows: hosting, or joined securely.
    bool padlockClosed() const;
    // The host's fingerprint; empty until its identity could be made.
    QByteArray hostFingerprint();
    // This copy's identity, made on first use: null when it cannot be made.
    const HostIdentity *ownIdentity() { return identity(); }
    // The names held by keys, when this copy hosts.
    HeldNames &heldNames() { return namesHeld; }
    // Whether names are held, kept in the user's preferences: on unless turned off.
    static bool holdsNames();
    void setHoldingNames(bool on);
    // Whether the host relays files between guests, and the largest it
    // relays in MiB (0: any), kept in the user's preferences.
    static bool relaysFiles();
    static int largestRelayedMiB();
    void setFileRelaying(bool relays, int largestMiB);
    // Which keys may open file connections when hosting: those of the guests in the chat.
    void allowFileConnections(std::function<bool(const QByteArray &key)> allowed) { fileConnectionAllowed = std::move(allowed); }
    KnownHosts &known() { return knownHosts; }
    // The host's chat password: only the key derived from it is kept, in the
    // user's preferences. An empty password clears it.
    void setPassword(const QString &password);
    static bool hasPassword();
    // The modes, kept in the user's preferences: "off", "offer" or "require"
    // for hosting (taking effect as host mode next starts, and for the
    // guests that come from now on); joining securely or not, at once.
    void setHostMode(const QString &mode);
    void setJoiningSecurely(bool on);

    static constexpr int kSecurePortOffset = 100;
    // The user's preferences, group "secure".
    static HostMode hostModeChosen();
    static GuestMode guestModeChosen();

signals:
    // Something the host's user should read in the chat view.
    void hostNotice(const QString &text);
    // Whether guests that come in the clear are turned away, from now on.
    void secureGuestsRequired(bool required);
    void fileRelayingChanged(bool relays, int largestMiB);

private:
    void joinSecurely(bool on);
    const HostIdentity *identity();
    KeyVerdict checkKey(int socket, const QByteArray &fingerprint, QString &refusal);
    QString damagedPinRefusal(const QString &address) const;
    void askAboutKey(int socket, const QByteArray &fingerprint, bool hostKnowsPassword, std::function<void(bool)> answer);
    void askForPassword(std::function<void(std::optional<QString>)> answer);

    QString folder;
    TTCPServer &server;
    TTCPClient &client;
    Prompts &prompts;
    KnownHosts knownHosts;
    HeldNames namesHeld;
    std::unique_ptr<HostIdentity> hostIdentity;
    SslContext hostContext{nullptr, nullptr};
    SslContext guestContext{nullptr, nullptr};
    PasswordTries passwordTries;
    std::function<bool(const QByteArray &key)> fileConnectionAllowed;
};
