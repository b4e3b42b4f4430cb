#pragma once

#include "FrameReader.h"
#include "PrivateStore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class HostIdentity;
class InnerTls;

// Private messages, end to end, without a window. Each person is known by
// the key they proved. Between the host and a guest the messages cross their
// own secure link; between two guests, a TLS session of their own whose
// records the host relays unread (see InnerTls). Each message has an id; the
// other copy answers with a receipt, and a message that came before is not
// shown again. A message waits in the outbox until its receipt comes, and
// goes again each time both are in the chat.
class PrivateChat : public QObject {
    Q_OBJECT
public:
    // A session that has not opened by then begins again.
    static constexpr int kHandshakeMs = 3000;
    struct Person {
        QString name;
        QByteArray key;      // empty: a plain guest, or one that proved no key
        QByteArray features; // the frame kinds it reads, as its hello names them
        bool direct = false; // at the other end of this copy's own link: the host, or (for the host) any guest
    };
    // How this copy's frames reach the others. Each gives false when the
    // frame could not go (the person or the link is gone).
    struct Routes {
        std::function<bool(const QByteArray &key, FrameKind kind, const QByteArray &body)> direct;
        std::function<bool(const QString &name, const QByteArray &records)> tunnel;
    };

    PrivateChat(const HostIdentity *identity, PrivateStore &store, QObject *parent = nullptr);
    ~PrivateChat() override;

    void setRoutes(Routes given) { routes = std::move(given); }
    // Who is in the chat now, besides this copy, with the host of that key
    // (this copy's own, when it hosts); what was written to them in a chat
    // of that host goes.
    void setPeople(const QList<Person> &people, const QByteArray &hostKey);
    const QList<Person> &people() const { return present; }
    // The key of the chat's host: this copy's own when it hosts; empty outside a chat.
    QByteArray hostKey() const { return chatHost; }
    // This copy's own key; empty when it has no identity.
    QByteArray ownKey() const;
    // Why this person cannot take part in a private conversation; empty when they can.
    static QString whyNot(const Person &person);
    // Why this person cannot take files; empty when they can.
    static QString whyNoFiles(const Person &person);
    // What the user knows of a person's key: none shown (a plain guest), one
    // seen under that name before this run, or one new to this copy.
    enum class KeyMark { None, Known, New };
    KeyMark keyMark(const Person &person) const;
    // The person in the chat now with that key; null when they are away.
    const Person *personWithKey(const QByteArray &key) const;

    // Writes to the person of that key: the message waits in the outbox and
    // goes when it can. Gives its id.
    QString send(const QByteArray &key, const QString &name, const QString &text);
    // Offers files to the person of that key, who must be here; an offer does
    // not wait: the transfer's own stream goes on after a break. False when
    // the person is away or cannot take part.
    bool offerFiles(const QByteArray &key, const QByteArray &offer);
    // The messages that wait for the person of that key, in order.
    QList<PrivateStore::Waiting> waitingFor(const QByteArray &key) const;

    // A frame from the person of that key over this copy's own link.
    void directFrame(const QByteArray &key, FrameKind kind, const QByteArray &body);
    // Records of the TLS session with the guest of that name, relayed by the host.
    void tunnelRecords(const QString &fromName, const QByteArray &records);
    // This copy's link is gone: every session with it ends, and every
    // message waits again for the next time.
    void linkDown();

    // What a hostile peer sent and was dropped: frames not well made, records for nobody.
    int droppedCount() const { return dropped; }

signals:
    void arrived(const QByteArray &key, const QString &name, const QString &id, const QString &text);
    void delivered(const QByteArray &key, const QString &id);
    // A person known by one key now shows another under the same name.
    void keyChanged(const QString &name, const QByteArray &knownKey, const QByteArray &newKey);
    // Who is here changed: people() tells.
    void peopleChanged();
    // A frame about files from the person of that key: an offer's text, or
    // an answer about one (not yet read).
    void filesOffered(const QByteArray &key, const QString &name, const QByteArray &offer);

private:
    struct Tunnel;
    // The frames of kinds private and receipt, from the person of that key.
    void takeFrame(const QByteArray &key, FrameKind kind, const QByteArray &body);
    bool deliver(const Person &person, FrameKind kind, const QByteArray &body);
    void sendWaiting(const Person &person);
    Tunnel *tunnelTo(const Person &person, bool knock = true);
    void restartTunnel(const Person &person, bool knock = true);
    void flush(const Person &person, Tunnel &tunnel);
    const Person *personNamed(const QString &name) const;

    const HostIdentity *identity;
    PrivateStore &store;
    Routes routes;
    QList<Person> present;
    QByteArray chatHost;
    // The sessions with other guests, by their keys.
    QHash<QByteArray, std::shared_ptr<Tunnel>> tunnels;
    // The ids sent to each person (by key) while they are here: each goes
    // once, and again only after they or this copy's link were away.
    QHash<QByteArray, QSet<QString>> sentWhileHere;
    int dropped = 0;
    // Keys first seen under their names in this run.
    QSet<QByteArray> newKeys;
};
