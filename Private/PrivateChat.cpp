#include "PrivateChat.h"

#include "HostIdentity.h"
#include "InnerTls.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cctype>

namespace {

// An id as this program makes them: 16 hex digits. Anything else from a peer is dropped.
QString NewId()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, QLatin1Char('0'));
}

bool IsId(const QByteArray &id)
{
    return !id.isEmpty() && id.size() <= 16
           && std::all_of(id.cbegin(), id.cend(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

} // namespace

struct PrivateChat::Tunnel {
    Tunnel(const HostIdentity &identity, InnerTls::Role role, const QByteArray &peerKey)
        : tls(identity, role, peerKey) { }
    InnerTls tls;
    FrameReader frames;
};

PrivateChat::PrivateChat(const HostIdentity *identity, PrivateStore &store, QObject *parent)
    : QObject(parent), identity(identity), store(store)
{
}

PrivateChat::~PrivateChat() = default;

QByteArray PrivateChat::ownKey() const
{
    return identity ? identity->Fingerprint() : QByteArray();
}

QString PrivateChat::whyNot(const Person &person)
{
    if (person.key.isEmpty())
        return QCoreApplication::translate("PrivateChat", "%1 chats in the clear, where private messages cannot go.")
            .arg(person.name);
    if (!readsKind(person.features, FrameKind::Private))
        return QCoreApplication::translate("PrivateChat", "%1's copy of the program cannot take private messages.")
            .arg(person.name);
    return {};
}

QString PrivateChat::whyNoFiles(const Person &person)
{
    if (const QString why = whyNot(person); !why.isEmpty())
        return why;
    if (!readsKind(person.features, FrameKind::FileOffer))
        return QCoreApplication::translate("PrivateChat", "%1's copy of the program cannot take files.").arg(person.name);
    return {};
}

PrivateChat::KeyMark PrivateChat::keyMark(const Person &person) const
{
    if (person.key.isEmpty())
        return KeyMark::None;
    return newKeys.contains(person.key) ? KeyMark::New : KeyMark::Known;
}

const PrivateChat::Person *PrivateChat::personWithKey(const QByteArray &key) const
{
    const auto found = std::find_if(present.cbegin(), present.cend(), [&](const Person &person) { return person.key == key; });
    return found == present.cend() || key.isEmpty() ? nullptr : &*found;
}

const PrivateChat::Person *PrivateChat::personNamed(const QString &name) const
{
    const auto found = std::find_if(present.cbegin(), present.cend(), [&](const Person &person) { return person.name == name; });
    return found == present.cend() ? nullptr : &*found;
}

void PrivateChat::setPeople(const QList<Person> &people, const QByteArray &hostKey)
{
    QSet<QByteArray> before;
    for (const Person &person : std::as_const(present))
        before.insert(person.key);
    present = people;
    chatHost = hostKey;
    // Sessions and sends with those who left end: they start again when they come back.
    for (auto tunnel = tunnels.begin(); tunnel != tunnels.end();)
        tunnel = personWithKey(tunnel.key()) ? std::next(tunnel) : tunnels.erase(tunnel);
    for (auto sent = sentWhileHere.begin(); sent != sentWhileHere.end();)
        sent = personWithKey(sent.key()) ? std::next(sent) : sentWhileHere.erase(sent);
    for (const Person &person : present) {
        if (person.key.isEmpty())
            continue;
        const QByteArray known = store.knownKey(person.name);
        if (known != person.key)
            newKeys.insert(person.key);
        if (!known.isEmpty() && known != person.key)
            emit keyChanged(person.name, known, person.key);
        store.knowKey(person.name, person.key);
    }
    emit peopleChanged();
    for (const Person &person : std::as_const(present)) {
        if (!whyNot(person).isEmpty())
            continue;
        // A session begins with each guest who comes: whatever either side
        // sent before the other knew of it is lost, and this starts afresh.
        if (!person.direct && !before.contains(person.key))
            tunnelTo(person);
        sendWaiting(person);
    }
}

void PrivateChat::linkDown()
{
    tunnels.clear();
    sentWhileHere.clear();
    present.clear(); // the host stays: what is written meanwhile goes through it when back
    emit peopleChanged();
}

QString PrivateChat::send(const QByteArray &key, const QString &name, const QString &text)
{
    const QString id = NewId();
    store.add({key, name, id, text, QDateTime::currentDateTime(), chatHost});
    if (const Person *person = personWithKey(key); person && whyNot(*person).isEmpty())
        sendWaiting(*person);
    return id;
}

bool PrivateChat::offerFiles(const QByteArray &key, const QByteArray &offer)
{
    const Person *person = personWithKey(key);
    return person && whyNot(*person).isEmpty() && readsKind(person->features, FrameKind::FileOffer)
           && deliver(*person, FrameKind::FileOffer, offer);
}

QList<PrivateStore::Waiting> PrivateChat::waitingFor(const QByteArray &key) const
{
    QList<PrivateStore::Waiting> messages;
    for (const PrivateStore::Waiting &message : store.outbox())
        if (message.key == key)
            messages << message;
    return messages;
}

void PrivateChat::sendWaiting(const Person &person)
{
    QSet<QString> &sent = sentWhileHere[person.key];
    for (const PrivateStore::Waiting &message : waitingFor(person.key)) {
        // A message goes through the host it was written with, to the person of its key.
        if (sent.contains(message.id) || message.host != chatHost)
            continue;
        if (!deliver(person, FrameKind::Private, message.id.toLatin1() + '\n' + message.text.toUtf8()))
            return; // the rest waits, in order
        sent.insert(message.id);
    }
}

bool PrivateChat::deliver(const Person &person, FrameKind kind, const QByteArray &body)
{
    if (person.direct)
        return routes.direct && routes.direct(person.key, kind, body);
    Tunnel *tunnel = tunnelTo(person);
    if (!tunnel)
        return false;
    tunnel->tls.write(FrameReader::framed(kind, body));
    flush(person, *tunnel);
    return !tunnel->tls.hasFailed();
}

void PrivateChat::restartTunnel(const Person &person, bool knock)
{
    tunnels.remove(person.key);
    sentWhileHere.remove(person.key); // what went into the old session goes again
    tunnelTo(person, knock);
}

PrivateChat::Tunnel *PrivateChat::tunnelTo(const Person &person, bool knock)
{
    if (!identity || !routes.tunnel)
        return nullptr;
    if (const auto found = tunnels.constFind(person.key); found != tunnels.cend())
        return found->get();
    const InnerTls::Role role = InnerTls::roleBetween(ownKey(), person.key);
    auto tunnel = std::make_shared<Tunnel>(*identity, role, person.key);
    tunnels.insert(person.key, tunnel);
    // The server speaks second: it knocks, so that the client begins.
    if (role == InnerTls::Role::Server && knock)
        routes.tunnel(person.name, QByteArray());
    // A hello the other side dropped (it did not know of us yet) is said again, until the session opens.
    if (role == InnerTls::Role::Client) {
        const std::weak_ptr<Tunnel> made = tunnel;
        QTimer::singleShot(kHandshakeMs, this, [this, made, key = person.key] {
            const std::shared_ptr<Tunnel> still = made.lock();
            const Person *person = personWithKey(key);
            if (still && !still->tls.isOpen() && tunnels.value(key) == still && person)
                restartTunnel(*person);
        });
    }
    flush(person, *tunnel);
    return tunnel.get();
}

void PrivateChat::flush(const Person &person, Tunnel &tunnel)
{
    const QByteArray records = tunnel.tls.takeRecords();
    if (!records.isEmpty())
        routes.tunnel(person.name, records);
}

void PrivateChat::tunnelRecords(const QString &fromName, const QByteArray &records)
{
    const Person *person = personNamed(fromName);
    if (!person || !whyNot(*person).isEmpty() || person->direct) {
        ++dropped; // records from nobody this copy could speak with
        return;
    }
    const Person from = *person;
    Tunnel *tunnel = tunnelTo(from);
    if (!tunnel)
        return;
    const bool wasOpen = tunnel->tls.isOpen();
    bool sound = tunnel->tls.feed(records);
    constexpr char kHandshakeRecord = 0x16;
    if (!sound && records.startsWith(kHandshakeRecord)
        && InnerTls::roleBetween(ownKey(), from.key) == InnerTls::Role::Server) {
        // The other side began afresh, with a hello this session did not wait for.
        restartTunnel(from, false);
        tunnel = tunnelTo(from);
        sound = tunnel && tunnel->tls.feed(records);
        if (!tunnel)
            return;
    }
    flush(from, *tunnel);
    if (!sound) {
        // Not the key announced for them, or records not well made: the session ends.
        ++dropped;
        tunnels.remove(from.key);
        return;
    }
    if (!wasOpen && tunnel->tls.isOpen())
        sendWaiting(from);
    tunnel->frames.append(tunnel->tls.read());
    while (const std::optional<QByteArray> frame = tunnel->frames.takeFrame())
        takeFrame(from.key, FrameKind(quint8(frame->at(0))), frame->mid(1));
    if (tunnel->frames.isBad()) {
        ++dropped;
        tunnels.remove(from.key);
    }
}

void PrivateChat::directFrame(const QByteArray &key, FrameKind kind, const QByteArray &body)
{
    const Person *person = personWithKey(key);
    if (!person || !person->direct) {
        ++dropped;
        return;
    }
    takeFrame(key, kind, body);
}

void PrivateChat::takeFrame(const QByteArray &key, FrameKind kind, const QByteArray &body)
{
    const Person *person = personWithKey(key);
    if (!person)
        return;
    const Person from = *person;
    if (kind == FrameKind::FileOffer) {
        emit filesOffered(key, from.name, body);
        return;
    }
    if (kind == FrameKind::Receipt && IsId(body)) {
        if (store.remove(QString::fromLatin1(body)))
            emit delivered(key, QString::fromLatin1(body));
        return;
    }
    const qsizetype lineEnd = body.indexOf('\n');
    const QByteArray id = body.left(lineEnd);
    if (kind != FrameKind::Private || lineEnd < 0 || !IsId(id)) {
        ++dropped;
        return;
    }
    deliver(from, FrameKind::Receipt, id);
    if (!store.cameBefore(key, QString::fromLatin1(id)))
        emit arrived(key, from.name, QString::fromLatin1(id), QString::fromUtf8(body.mid(lineEnd + 1)));
}
