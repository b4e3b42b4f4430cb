#pragma once

#include "AddressCooldown.h"
#include "ChatLink.h"
#include "ChatSession.h"
#include "ChatText.h"
#include "FileRelay.h"
#include "HostRoster.h"
#include "ReadPace.h"

#include <QByteArray>
#include <QHash>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class CodePage;
class TTCPServer;

// The host's side of a chat, without a window. For each connection the
// server accepts it admits or refuses the guest; it reads every guest no
// faster than a person types, takes registrations, relays the lines of each
// guest's own name to every guest, and keeps the participant list. It tells
// what the user should see through its signals; the window shows it.
class HostSession : public ChatSession {
    Q_OBJECT
public:
    // A departure names its guest in two digits: positions 0 to 99.
    static constexpr int kMostGuests = 100;
    // An address brings the window forward, plays the sound or has every
    // guest told of its refusal at most once in this time.
    static constexpr qint64 kCooldownMs = 30'000;
    // Texts that wait for one guest at most; past this it is let go.
    static constexpr qsizetype kMostWaiting = 1024 * 1024;

    // What the session reads of the program around it, as it stands at the moment.
    struct Setup {
        std::function<QString()> nickname;
        std::function<bool()> busy;
        // The address filter lets the guest at this address in.
        std::function<bool(const QString &address)> admits;
    };
    // The keys behind the names: the host's own key, and the names held by
    // keys (see HeldNames); without them, no name is held.
    struct NameKeys {
        std::function<QByteArray()> ownKey;
        std::function<bool(const QString &name, const QByteArray &key)> heldByAnother;
        std::function<void(const QString &name, const QByteArray &key)> seen;
    };

    HostSession(TTCPServer &server, const CodePage &codePage, ReadPace pace, Setup setup, QObject *parent = nullptr);

    // The server's events, in the handlers that receive them.
    void accept(int socket);
    void read(int socket);
    void closed(int socket);
    // Nothing waits to go to the guest any more: what waited here goes.
    void drained(int socket);
    // Our own chat line, as typed, to every guest, each in its link's
    // encoding; false when nobody is there to read it.
    bool sendOwnLine(const QString &line);
    // Connections the system could not take: said once in a while.
    void connectionsRefused(int error, const QString &text);
    // The host program ends: every guest hears of it.
    void goingDown();
    // Forgets every participant.
    void clear();
    // An error came from a send to a guest that has gone, or whose close is
    // being handled: the close tells of it, and it is no news of its own.
    bool errorIsAGuestsGoing(int error) const;
    // Only guests on secure connections are admitted from now on; others are turned away.
    void requireSecureGuests(bool required) { secureOnly = required; }
    // Frames of kinds this copy does not know, dropped unread.
    int droppedFrameCount() const { return droppedFrames; }
    // What a guest of version 2 said of itself in its hello; empty for others.
    QByteArray helloOf(int socket) const;
    void holdNamesBy(NameKeys keys) { nameKeys = std::move(keys); }
    // The participants' keys and what they read, as guests of version 2 are told them.
    QByteArray keysText() const;
    // The registered guests, with their keys.
    QList<KeyedParticipant> guestsKeyed() const;
    // A private frame to the registered guest of that key; false when no such guest of version 2 is here.
    bool sendPrivate(const QByteArray &key, FrameKind kind, const QByteArray &body);
    // A guest with that key is in the chat, registered: its file connections are let in.
    bool hasParticipantWithKey(const QByteArray &key) const { return registeredSocketOf(key) >= 0; }
    FileRelay &fileRelay() { return files; }

signals:
    // A name took this row of the participant list: a new one, or a rename.
    void participantNamed(int row, const QString &name, bool added);
    // A guest was admitted, and greeted; this many guests are there now.
    void guestAdmitted(const QString &address, const QString &port, int guests);
    void guestCountChanged(int guests);
    // A guest came while the host is not busy: the window comes forward.
    void comeForward();
    // Guests registered, renamed or left: guestsKeyed() tells who is here now.
    void guestsKeyedChanged();
    // A private message or receipt from the guest of that key, to the host.
    void privateFrame(const QByteArray &key, FrameKind kind, const QByteArray &body);

private:
    // Latest: the text makes the last one sent so needless while that one still waits to go.
    enum class Sending { InTurn, Latest };
    // `text` is in the guest's own encoding.
    void sendTo(int socket, FrameKind kind, const QByteArray &text, Sending sending = Sending::InTurn);
    void sendBytes(int socket, const QByteArray &bytes, Sending sending = Sending::InTurn);
    void sendBytes(int socket, QHash<int, ChatLink>::iterator link, const QByteArray &bytes, Sending sending);
    void sendToAll(const Outgoing &texts, Sending sending = Sending::InTurn);
    void sendToAll(FrameKind kind, const QByteArray &text, TextEncoding encoding = TextEncoding::CodePage,
                   Sending sending = Sending::InTurn);
    Framing framingOf(int socket) const;
    TextEncoding encodingOf(int socket) const { return ChatLink::encodingOf(framingOf(socket)); }
    // A guest on a secure connection: its frames, whole, as fast as the pace allows.
    QList<HostRoster::GuestText> readFrames(int socket, ChatLink &link);
    // Reads the guest again after the wait its pace asks for.
    void readLater(int socket, qint64 waitMs);
    // Ends a guest that broke its link's rules, as if it had closed.
    void drop(int socket);
    void giveUp(int socket);
    void AcceptGuest(int socket);
    void RejectGuest(int socket, const QString &reason);
    // Does what the roster says of a guest's texts: register, refuse, relay.
    void handleGuestTexts(const QList<HostRoster::GuestText> &texts);
    void refuseName(const HostRoster::GuestText &text);
    // A frame of version 2 that is no text of the plain protocol: a private one, or a tunnel's records.
    void handleOwnFrame(int socket, const LinkText &text);
    int registeredSocketOf(const QByteArray &key) const;
    // The guests in the chat: the connections that are not file connections.
    int guestCount() const;
    QString notRelayedLine(const HostRoster::GuestText &text) const;
    void watchRosterDeadline();
    // The guest's entry goes, and the other guests hear of it.
    void removeParticipant(int socket);
    // Runs a handler of a timer's: an error it lets through is told as a fault.
    void reporting(const std::function<void()> &handler);
    QString decode(const QByteArray &bytes, TextEncoding encoding) const;
    // Milliseconds on a clock that only goes forward.
    qint64 elapsedMs() const { return clock.elapsed(); }

    TTCPServer &server;
    const CodePage &codePage;
    ReadPace readPace;
    Setup setup;
    HostRoster roster;
    NameKeys nameKeys;
    // The file connections beside the guests' chat, which the host only relays.
    FileRelay files;
    // The key each guest proved as it connected; none for a plain guest.
    QHash<int, QByteArray> guestKeys;
    // The links of the guests on secure connections, by socket.
    QHash<int, ChatLink> links;
    int droppedFrames = 0;
    bool secureOnly = false;
    // Gives up on what waits in the roster (the rest of a text, a registration).
    QTimer rosterDeadline;
    // What a peer that comes again and again may make the host do.
    AddressCooldown comingForward{kCooldownMs};
    AddressCooldown refusalNotices{kCooldownMs};
    // Connections the system could not take: a line in the view, not a box,
    // which would need the very descriptors that ran out to be drawn.
    AddressCooldown acceptFailures{kCooldownMs};
    QElapsedTimer clock;
    // The guest a text is being sent to, and the guest whose close is being handled; -1 for none.
    int sendingTo = -1;
    int closingGuest = -1;
};
