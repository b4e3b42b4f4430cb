#include "SecureChat.h"

#include "PlainTransport.h"
#include "Prompts.h"
#include "SocketErrors.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "UserPreferences.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

// A plain connection to a guest's host, refused when that host is known by
// its key: it would otherwise be joined in the clear by whoever answers for it.
class PinnedPlainOpening final : public ConnectionOpening {
public:
    PinnedPlainOpening(int socket, const std::function<QString(int socket)> &refusalFor)
        : socket(socket), refusalFor(refusalFor) { }

    Opening drive(Transport &) override
    {
        refusal = refusalFor(socket);
        return refusal.isEmpty() ? Opening::Done : Opening::Failed;
    }
    // "Software caused connection abort": no refusal, so the walk stops here.
    int failureError() const override { return TranslateErrno(ECONNABORTED); }
    QString failureText() const override { return refusal; }

private:
    int socket;
    std::function<QString(int socket)> refusalFor;
    QString refusal;
};

class PinnedPlainTransports final : public TransportMaker {
public:
    explicit PinnedPlainTransports(std::function<QString(int socket)> refusalFor) : refusalFor(std::move(refusalFor)) { }
    ConnectionLayers forConnection(int socket) override
    {
        return {std::make_unique<PlainTransport>(socket), std::make_unique<PinnedPlainOpening>(socket, refusalFor)};
    }

private:
    std::function<QString(int socket)> refusalFor;
};

QString Preference(const char *key, const QString &byDefault)
{
    QSettings preferences = UserPreferences();
    return preferences.value(QStringLiteral("secure/") + QLatin1String(key), byDefault).toString();
}

} // namespace

SecureChat::SecureChat(const QString &folder, TTCPServer &server, TTCPClient &client, Prompts &prompts, QObject *parent)
    : QObject(parent), folder(folder), server(server), client(client), prompts(prompts),
      knownHosts(QDir(folder).filePath(QStringLiteral("known-hosts"))),
      namesHeld(QDir(folder).filePath(QStringLiteral("held-names")))
{
    namesHeld.setHolding(holdsNames());
    client.UseTransports(std::make_unique<PinnedPlainTransports>([this](int socket) {
        const QString address = this->client.GetPeerAddress(socket);
        const KnownHosts::Pin pinned = knownHosts.PinOf(address, this->client.Port.toInt());
        if (pinned.damaged)
            return damagedPinRefusal(address);
        if (pinned.fingerprint.isEmpty())
            return QString();
        return QCoreApplication::translate(
                   "SecureChat", "The host at %1:%2 is known by its key, but now it answers only in the clear.\n"
                                 "Someone may be playing the host. If the host no longer offers secure chat, forget "
                                 "its key (Coupon, Secure chat...) and join again.")
            .arg(address, this->client.Port);
    }));
    joinSecurely(guestModeChosen() == GuestMode::Prefer);
}

void SecureChat::joinSecurely(bool on)
{
    if (!on) {
        client.TryFirst(0, nullptr);
        return;
    }
    if (!guestContext)
        guestContext = GuestContext(identity());
    if (!guestContext)
        return;
    GuestSide guest;
    guest.checkKey = [this](int socket, const QByteArray &fingerprint, QString &refusal) {
        return checkKey(socket, fingerprint, refusal);
    };
    guest.askTrust = [this](int socket, const QByteArray &fingerprint, bool hostKnowsPassword,
                            std::function<void(bool)> answer) {
        askAboutKey(socket, fingerprint, hostKnowsPassword, std::move(answer));
    };
    guest.askPassword = [this](int, std::function<void(std::optional<QString>)> answer) {
        askForPassword(std::move(answer));
    };
    client.TryFirst(kSecurePortOffset, std::make_unique<TlsTransports>(guestContext.get(), std::move(guest)));
}

void SecureChat::setHostMode(const QString &mode)
{
    QSettings preferences = UserPreferences();
    preferences.setValue(QStringLiteral("secure/host"), mode);
    emit secureGuestsRequired(hostModeChosen() == HostMode::Require);
}

void SecureChat::setJoiningSecurely(bool on)
{
    QSettings preferences = UserPreferences();
    preferences.setValue(QStringLiteral("secure/guest"), on ? QStringLiteral("prefer") : QStringLiteral("off"));
    joinSecurely(on);
}

SecureChat::~SecureChat() = default;

bool SecureChat::holdsNames()
{
    return Preference("holdNames", QStringLiteral("on")) != QLatin1String("off");
}

void SecureChat::setHoldingNames(bool on)
{
    QSettings preferences = UserPreferences();
    preferences.setValue(QStringLiteral("secure/holdNames"), on ? QStringLiteral("on") : QStringLiteral("off"));
    namesHeld.setHolding(on);
}

bool SecureChat::relaysFiles()
{
    return Preference("relayFiles", QStringLiteral("on")) != QLatin1String("off");
}

int SecureChat::largestRelayedMiB()
{
    return std::max(0, Preference("largestRelayedMiB", QStringLiteral("0")).toInt());
}

void SecureChat::setFileRelaying(bool relays, int largestMiB)
{
    QSettings preferences = UserPreferences();
    preferences.setValue(QStringLiteral("secure/relayFiles"), relays ? QStringLiteral("on") : QStringLiteral("off"));
    preferences.setValue(QStringLiteral("secure/largestRelayedMiB"), QString::number(std::max(0, largestMiB)));
    emit fileRelayingChanged(relays, std::max(0, largestMiB));
}

SecureChat::HostMode SecureChat::hostModeChosen()
{
    const QString mode = Preference("host", QStringLiteral("offer"));
    return mode == QLatin1String("off") ? HostMode::Off : mode == QLatin1String("require") ? HostMode::Require : HostMode::Offer;
}

SecureChat::GuestMode SecureChat::guestModeChosen()
{
    return Preference("guest", QStringLiteral("prefer")) == QLatin1String("off") ? GuestMode::Off : GuestMode::Prefer;
}

const HostIdentity *SecureChat::identity()
{
    if (!hostIdentity) {
        QString error;
        hostIdentity = HostIdentity::LoadOrMake(QDir(folder).filePath(QStringLiteral("host-identity.pem")), error);
    }
    return hostIdentity.get();
}

QByteArray SecureChat::hostFingerprint()
{
    const HostIdentity *own = identity();
    return own ? own->Fingerprint() : QByteArray();
}

quint16 SecureChat::HostListening(quint16 port)
{
    if (hostModeChosen() == HostMode::Off)
        return 0;
    if (!hostContext) {
        const HostIdentity *own = identity();
        if (!own)
            return 0;
        hostContext = HostContext(*own);
        if (!hostContext)
            return 0;
    }
    HostSide host;
    host.passwordKey = [] { return QByteArray::fromHex(Preference("passwordKey", QString()).toLatin1()); };
    host.mayTry = [this](int socket) {
        return passwordTries.MayTry(server.GetPeerAddress(socket), QDateTime::currentMSecsSinceEpoch());
    };
    host.fileConnectionAllowed = [this](const QByteArray &key) { return fileConnectionAllowed && fileConnectionAllowed(key); };
    host.proofChecked = [this](int socket, bool proven) {
        const QString address = server.GetPeerAddress(socket);
        if (const int refused = passwordTries.Checked(address, proven, QDateTime::currentMSecsSinceEpoch()))
            emit hostNotice(tr("%n refused password attempts from %1", nullptr, refused).arg(address));
    };
    const quint16 securePort = quint16(port + kSecurePortOffset);
    if (server.ListenAlso(QString::number(securePort), std::make_unique<TlsTransports>(hostContext.get(), host)) != 0)
        return 0;
    return securePort;
}

QString SecureChat::padlockText() const
{
    if (server.State() == wsListening) {
        const TClientList &guests = server.Clients();
        int secure = 0;
        int all = 0;
        for (int index = 0; index < guests.Count(); ++index) {
            if (server.framingOf(guests.Items(index)) == Framing::File)
                continue; // a file connection, beside a guest's chat
            ++all;
            secure += server.CameThroughSecondPort(guests.Items(index)) ? 1 : 0;
        }
        return tr("%1 of %2 secure").arg(secure).arg(all);
    }
    if (client.State() != wsConnected)
        return {};
    return client.OnFirstChoice() ? tr("Secure, host verified") : tr("Not secure");
}

bool SecureChat::padlockClosed() const
{
    return server.State() == wsListening || (client.State() == wsConnected && client.OnFirstChoice());
}

QString SecureChat::padlockTip() const
{
    if (server.State() == wsListening)
        return tr("Secure guests chat over TLS 1.3. Lines sent to the other guests cross the LAN in the "
                  "clear, where anyone on it can read them.");
    return client.OnFirstChoice() ? tr("This chat crosses the LAN over TLS 1.3, with the host's key checked.")
                                  : tr("This chat crosses the LAN in the clear: anyone on it can read it.");
}

KeyVerdict SecureChat::checkKey(int socket, const QByteArray &fingerprint, QString &refusal)
{
    const QString address = client.GetPeerAddress(socket);
    const KnownHosts::Pin pin = knownHosts.PinOf(address, client.Port.toInt());
    const QByteArray &pinned = pin.fingerprint;
    if (pin.damaged) {
        refusal = damagedPinRefusal(address);
        return KeyVerdict::Refused;
    }
    if (pinned.isEmpty())
        return KeyVerdict::Ask;
    if (pinned == fingerprint)
        return KeyVerdict::Trusted;
    refusal = tr("The host at %1:%2 shows another key than the one it showed before.\n\n"
                 "Expected: %3\nShown:    %4\n\n"
                 "Someone may be playing the host. If the host has made a new key, compare the new "
                 "fingerprint with the one its Secure chat dialog shows, then forget the old key "
                 "(Coupon, Secure chat...) in %5 and join again.")
                  .arg(address, client.Port, FingerprintText(pinned), FingerprintText(fingerprint), knownHosts.Path());
    return KeyVerdict::Refused;
}

QString SecureChat::damagedPinRefusal(const QString &address) const
{
    return tr("The key kept for the host at %1:%2 is damaged in %3 (the file as it was is kept as %4).\n\n"
              "Someone may be playing the host. Compare the host's fingerprint with the one its Secure chat "
              "dialog shows, mend or delete the line, and join again.")
        .arg(address, client.Port, knownHosts.Path(), knownHosts.DamagedCopy());
}

void SecureChat::setPassword(const QString &password)
{
    QSettings preferences = UserPreferences();
    const QByteArray fingerprint = hostFingerprint();
    if (password.isEmpty() || fingerprint.isEmpty())
        preferences.remove(QStringLiteral("secure/passwordKey"));
    else
        preferences.setValue(QStringLiteral("secure/passwordKey"), QString::fromLatin1(PasswordKey(password, fingerprint).toHex()));
}

bool SecureChat::hasPassword()
{
    return !Preference("passwordKey", QString()).isEmpty();
}

void SecureChat::askForPassword(std::function<void(std::optional<QString>)> answer)
{
    const QString host = client.Host;
    QMetaObject::invokeMethod(
        this,
        [this, host, answer = std::move(answer)] {
            answer(prompts.AskPassword(tr("The host at %1 asks for the chat password:").arg(host)));
        },
        Qt::QueuedConnection);
}

void SecureChat::askAboutKey(int socket, const QByteArray &fingerprint, bool hostKnowsPassword,
                             std::function<void(bool)> answer)
{
    const QString address = client.GetPeerAddress(socket);
    const QString port = client.Port;
    // Asked once the socket's notification has been handled, never inside it.
    QMetaObject::invokeMethod(
        this,
        [this, address, port, fingerprint, hostKnowsPassword, answer = std::move(answer)] {
            QString question = tr("This is the first secure chat with the host at %1:%2. It shows the key\n\n%3\n\n")
                                   .arg(address, port, FingerprintText(fingerprint));
            if (hostKnowsPassword)
                question += tr("The host proved that it knows the chat password you gave.\n\n");
            question += tr("Compare it with the fingerprint in the host's Secure chat dialog. Trust it?");
            const bool trusted = prompts.Confirm(question);
            if (trusted)
                knownHosts.Remember(address, port.toInt(), fingerprint);
            answer(trusted);
        },
        Qt::QueuedConnection);
}
