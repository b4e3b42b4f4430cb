#pragma once

#include "ChatLink.h"
#include "ChatSession.h"
#include "ChatText.h"
#include "HostTextReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

class CodePage;
class TTCPClient;

// The guest's side of a chat, without a window: it registers the nickname,
// reads what the host sends (joining texts that came in pieces), keeps the
// participant list, and times the attempts to connect again after a lost
// link. It tells what the user should see through its signals.
class GuestSession : public ChatSession {
    Q_OBJECT
public:
    // After a lost link the guest connects again after 1 s, then 2, 4 and so on,
    // up to every 30 s; an attempt that has no answer in 10 s is given up.
    static constexpr int kFirstReconnectMs = 1000;
    static constexpr int kLongestReconnectMs = 30000;
    static constexpr int kReconnectAttemptMs = 10000;
    // A read that fills the whole buffer was cut short: the rest of its text
    // follows, and is waited for this long at most. On a real link the rest
    // may be a lost segment that comes again only after a retransmission
    // timeout, which backs off after an outage.
    static constexpr int kRestOfTextWaitMs = 3000;
    // A refused port leads to the next at once; after the last port of the
    // range the walk waits this long before it starts again at the first, so
    // that a guest with no host about does not keep the machine busy.
    static constexpr int kRoundPauseMs = 1000;

    // `setupNickname` gives the user's own nickname, as it stands.
    GuestSession(TTCPClient &client, const CodePage &codePage, std::function<QString()> setupNickname,
                 QObject *parent = nullptr);

    // The nickname in this chat: the setup's, or one with a number added
    // after the host found the setup's taken.
    QString nickname() const { return chatNickname.value_or(setupNickname()); }
    // The setup's name with the next number added ("Anonymous2"), for this chat only.
    QString otherName() const { return setupNickname() + QString::number(nextNameNumber); }
    void takeOtherName(const QString &name);
    void forgetOtherName();

    // The connection is made: true when it was made again after a lost link.
    bool connected();
    bool hasRejoined() const { return rejoined; }
    void registerName();
    // Our own chat line, to the host, which sends it back to everybody; the
    // bytes it went as, in the link's encoding.
    QByteArray sendOwnLine(const QString &line);
    // Reads what the host sent, and shows it.
    void read();
    // Frames of kinds this copy does not know, dropped unread.
    int droppedFrameCount() const { return droppedFrames; }
    // What a host of version 2 said of itself in its hello; empty for others.
    const QByteArray &hostHello() const { return link.peerHello(); }
    // The key the host proved, on a link of version 2; empty for others.
    QByteArray hostKey() const;
    // A frame of version 2 to the host: false on a link of another version, or none.
    bool sendFrame(FrameKind kind, const QByteArray &body);
    // The connection ended: what came before the close is shown first. True
    // when the host had said that our name is taken.
    bool ended();
    // Forgets the connection: nothing held, no registration due, no attempt to connect again.
    void stop();

    // Connecting again after a lost link, a little later each time.
    void scheduleReconnect();
    // An attempt to connect again begins; it is given up after a while.
    void reconnectAttemptBegins();
    bool isReconnecting() const { return reconnecting; }
    // The walk through the ports has been round once: the next round follows a pause.
    void pauseBeforeNextRound() { roundPause.start(); }
    // Waiting to connect: between two rounds of the walk, or before connecting again.
    bool isWaitingToConnect() const { return roundPause.isActive() || reconnectPause.isActive(); }

signals:
    void participantsListed(const QStringList &names);
    // Somebody came or went: the arrival sound plays.
    void participantsChanged();
    // Time to try to connect again; or the attempt under way took too long.
    void reconnectDue();
    void reconnectAttemptExpired();
    void nextRoundDue();
    // The host broke the rules of its link: the chat ends as if it had closed.
    void linkBroken();
    // The host told who is here with which key (the host first).
    void participantsKeyed(const QList<KeyedParticipant> &participants);
    // A private message or receipt from the host itself.
    void privateFrame(FrameKind kind, const QByteArray &body);
    // Records of the TLS session with another guest, relayed by the host.
    void tunnelRecords(const QString &fromName, const QByteArray &records);
    // The link to the host ended, or was given up.
    void linkEnded();

private:
    // Shows what the host sent, text by text, and keeps the participant list.
    void handleHostTexts(const QList<HostTextReader::Text> &texts);
    void showDeparture(const HostTextReader::Text &departure);
    void send(FrameKind kind, const QByteArray &text);
    // A frame of version 2 that is no text of the plain protocol.
    void takeOwnFrame(const LinkText &text);
    // The texts that came whole in the host's frames.
    QList<HostTextReader::Text> readFrames();
    // Texts as the link writes them: in the code page, or in UTF-8 on a link of version 2.
    QString fromWire(const QByteArray &bytes) const;
    QByteArray toWire(const QString &text) const;

    TTCPClient &client;
    const CodePage &codePage;
    std::function<QString()> setupNickname;
    std::optional<QString> chatNickname;
    int nextNameNumber = 2;
    // Joins the host's texts that come in pieces; a piece waits at most this long for the rest.
    HostTextReader hostReader;
    // How the host's texts cross the connection: plain, or in frames.
    ChatLink link;
    int droppedFrames = 0;
    QTimer restOfText;
    // The host said that our name is taken.
    bool nameTaken = false;
    // Connecting again after a lost link: the wait before the next attempt,
    // which doubles up to a limit, and the time an attempt may take.
    QTimer reconnectPause;
    QTimer roundPause;
    QTimer reconnectAttempt;
    int reconnectDelayMs = 0;
    bool reconnecting = false;
    // This connection was made again after a lost link.
    bool rejoined = false;
};
