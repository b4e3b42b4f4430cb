#include "HostSession.h"

#include "CodePage.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "TTCPServer.h"

#include <QScopeGuard>
#include <QTime>

#include <algorithm>
#include <utility>

HostSession::HostSession(TTCPServer &server, const CodePage &codePage, ReadPace pace, Setup setup, QObject *parent)
    : ChatSession(parent), server(server), codePage(codePage), readPace(std::move(pace)), setup(std::move(setup)),
      roster(codePage), files(server, [this](const QByteArray &key) {
          const int socket = registeredSocketOf(key);
          return socket < 0 ? QString() : QString::fromUtf8(roster.names().at(roster.rowOf(socket)));
      })
{
    clock.start();
    roster.holdNamesBy([this](int socket, const QString &name) {
        return nameKeys.heldByAnother && nameKeys.heldByAnother(name, guestKeys.value(socket));
    });
    rosterDeadline.setSingleShot(true);
    connect(&rosterDeadline, &QTimer::timeout, this, [this] {
        reporting([this] {
            handleGuestTexts(roster.expire(elapsedMs()));
            watchRosterDeadline();
        });
    });
}

void HostSession::reporting(const std::function<void()> &handler)
{
    reportingErrors(handler, [this](const QString &why) { emit fault(why); });
}

QString HostSession::decode(const QByteArray &bytes, TextEncoding encoding) const
{
    return decodeText(bytes, encoding, codePage);
}

void HostSession::clear()
{
    roster.Clear();
    readPace.Clear();
    links.clear();
    guestKeys.clear();
    files.clear();
    emit guestsKeyedChanged();
}

QByteArray HostSession::helloOf(int socket) const
{
    const auto link = links.constFind(socket);
    return link == links.cend() ? QByteArray() : link->peerHello();
}

QList<KeyedParticipant> HostSession::guestsKeyed() const
{
    QList<KeyedParticipant> guests;
    const QList<QByteArray> &names = roster.names();
    for (qsizetype row = 0; row < names.size(); ++row) {
        const int socket = roster.socketAt(row);
        guests << KeyedParticipant{QString::fromUtf8(names[row]), guestKeys.value(socket), helloFeatures(helloOf(socket))};
    }
    return guests;
}

int HostSession::guestCount() const
{
    return server.Clients().Count() - files.clientCount();
}

QByteArray HostSession::keysText() const
{
    const KeyedParticipant host{setup.nickname(), nameKeys.ownKey ? nameKeys.ownKey() : QByteArray(), knownFrameKinds()};
    return keysBody(QList<KeyedParticipant>{host} + guestsKeyed());
}

int HostSession::registeredSocketOf(const QByteArray &key) const
{
    const QList<QByteArray> &names = roster.names();
    for (qsizetype row = 0; row < names.size(); ++row)
        if (const int socket = roster.socketAt(row); !key.isEmpty() && guestKeys.value(socket) == key)
            return socket;
    return -1;
}

bool HostSession::sendPrivate(const QByteArray &key, FrameKind kind, const QByteArray &body)
{
    const int socket = registeredSocketOf(key);
    if (socket < 0 || framingOf(socket) != Framing::Version2)
        return false;
    sendTo(socket, kind, body);
    return true;
}

void HostSession::handleOwnFrame(int socket, const LinkText &text)
{
    // Only a registered guest with a key speaks privately; what others send is dropped.
    const qsizetype row = roster.rowOf(socket);
    const QByteArray key = guestKeys.value(socket);
    if (row < 0 || key.isEmpty() || text.kind == FrameKind::Keys) {
        ++droppedFrames;
        return;
    }
    if (text.kind != FrameKind::Tunnel) {
        emit privateFrame(key, text.kind, text.bytes);
        return;
    }
    // A guest's records go to the guest it names, as from the sender's own
    // name: nobody can pass records off as another's.
    const qsizetype nameEnd = text.bytes.indexOf('\n');
    const qsizetype to = nameEnd < 0 ? -1 : roster.names().indexOf(text.bytes.left(nameEnd));
    const int target = to < 0 ? -1 : roster.socketAt(to);
    if (target < 0 || target == socket || guestKeys.value(target).isEmpty()
        || !readsKind(helloFeatures(helloOf(target)), FrameKind::Tunnel)) {
        ++droppedFrames;
        return;
    }
    sendTo(target, FrameKind::Tunnel, roster.names().at(row) + text.bytes.mid(nameEnd));
}

Framing HostSession::framingOf(int socket) const
{
    const auto link = links.constFind(socket);
    return link == links.cend() ? Framing::None : link->textFraming();
}

void HostSession::sendBytes(int socket, const QByteArray &bytes, Sending sending)
{
    sendBytes(socket, links.find(socket), bytes, sending);
}

void HostSession::sendBytes(int socket, QHash<int, ChatLink>::iterator link, const QByteArray &bytes, Sending sending)
{
    if (link != links.end() && (link->hasWaiting() || server.isBackedUp(socket))) {
        // The guest has not taken what it was sent: this waits here, where
        // a newer list can still take an older one's place.
        link->wait(bytes, sending == Sending::Latest);
        if (link->waitingBytes() > kMostWaiting)
            giveUp(socket);
        else
            server.tellWhenDrained(socket);
        return;
    }
    const int before = std::exchange(sendingTo, socket);
    server.SendText(socket, bytes);
    sendingTo = before;
}

void HostSession::drained(int socket)
{
    if (files.owns(socket)) {
        files.drained(socket);
        return;
    }
    const auto link = links.find(socket);
    while (link != links.end() && link->hasWaiting() && !server.isBackedUp(socket)) {
        const int before = std::exchange(sendingTo, socket);
        server.SendText(socket, link->takeWaiting());
        sendingTo = before;
    }
    if (link != links.end() && link->hasWaiting())
        server.tellWhenDrained(socket);
}

void HostSession::giveUp(int socket)
{
    // A guest that takes nothing while texts pile up for it is let go, as if
    // it had gone; after the send under way, not inside it.
    links[socket].dropWaiting();
    QMetaObject::invokeMethod(
        this,
        [this, socket] {
            if (server.Clients().IndexOf(socket) >= 0)
                reporting([this, socket] { drop(socket); });
        },
        Qt::QueuedConnection);
}

void HostSession::sendTo(int socket, FrameKind kind, const QByteArray &text, Sending sending)
{
    sendBytes(socket, ChatLink::bytes(framingOf(socket), kind, text), sending);
}

void HostSession::sendToAll(const Outgoing &texts, Sending sending)
{
    const TClientList &guests = server.Clients();
    for (int index = 0; index < guests.Count(); ++index) {
        const int socket = guests.Items(index);
        if (files.owns(socket))
            continue;
        // The guest's link is looked up once for its framing and its waiting texts alike.
        const auto link = links.find(socket);
        sendBytes(socket, link, texts.bytesFor(link == links.end() ? Framing::None : link->textFraming()), sending);
    }
}

void HostSession::sendToAll(FrameKind kind, const QByteArray &text, TextEncoding encoding, Sending sending)
{
    Outgoing texts(codePage);
    texts.add(kind, text, encoding);
    sendToAll(texts, sending);
}

void HostSession::goingDown()
{
    sendToAll(FrameKind::Down, Protocol::ServerDown());
}

bool HostSession::errorIsAGuestsGoing(int error) const
{
    const bool guestHasGone = error == SocketError::ConnectionReset || error == SocketError::SendAfterShutdown;
    return sendingTo != -1 && (sendingTo == closingGuest || guestHasGone);
}

void HostSession::connectionsRefused(int error, const QString &text)
{
    if (acceptFailures.allow(QString::number(error), elapsedMs()))
        emit notice(tr("New connections are refused for now: %1").arg(ShownErrorText(text)));
}

void HostSession::accept(int socket)
{
    if (server.framingOf(socket) == Framing::File) {
        files.accept(socket);
        return;
    }
    // Asked now: once the connection has failed, the system no longer knows.
    const HostRoster::Peer peer{server.GetPeerAddress(socket), server.GetPeerPort(socket)};
    links.insert(socket, ChatLink(server.framingOf(socket))); // in place of an earlier connection's of this number
    guestKeys.insert(socket, server.peerKeyOf(socket));
    if (framingOf(socket) == Framing::Version2)
        sendBytes(socket, ChatLink::hello());
    if (guestCount() > kMostGuests) {
        sendTo(socket, FrameKind::Notice, Protocol::ChatFull());
        emit notice(tr("Connection rejected for %1: the chat is full with %2 guests").arg(peer.address).arg(kMostGuests));
        links.remove(socket);
        server.CloseClient(socket);
        return;
    }
    roster.admit(socket, peer, encodingOf(socket));
    if (!setup.admits(peer.address))
        RejectGuest(socket, QString());
    else if (secureOnly && framingOf(socket) == Framing::None)
        RejectGuest(socket, tr("only secure guests may join"));
    else
        AcceptGuest(socket);
}

void HostSession::AcceptGuest(int socket)
{
    const QByteArray hostNickname = encodeText(setup.nickname(), encodingOf(socket), codePage);
    const HostRoster::Peer peer = roster.peerOf(socket);
    if (setup.busy()) {
        sendTo(socket, FrameKind::Greeting, Protocol::BusyGreeting(hostNickname));
    } else {
        sendTo(socket, FrameKind::Greeting, Protocol::Greeting(hostNickname));
        // A peer that comes again and again does not take the desktop over.
        if (comingForward.allow(peer.address, elapsedMs()))
            emit comeForward();
    }
    const TClientList &guests = server.Clients();
    for (int index = 0; index < guests.Count() - 1; ++index)
        if (!files.owns(guests.Items(index)))
            sendTo(guests.Items(index), FrameKind::Notice, Protocol::ArrivalNotice(peer.address.toLatin1()));
    emit notice(LongTimeOfDay(QTime::currentTime()) +
                    tr(": New guest coming from address: %1 on port %2").arg(peer.address, peer.port),
                ShownText::Kind::Arrival);
    emit guestAdmitted(peer.address, peer.port, guestCount());
}

void HostSession::RejectGuest(int socket, const QString &reason)
{
    const QString address = roster.peerOf(socket).address;
    roster.Remove(socket);
    sendTo(socket, FrameKind::Notice, Protocol::Refusal());
    emit notice(reason.isEmpty() ? tr("Connection rejected for %1").arg(address)
                                 : tr("Connection rejected for %1: %2").arg(address, reason));
    // A peer refused again and again does not flood every guest's view.
    if (refusalNotices.allow(address, elapsedMs()))
        sendToAll(FrameKind::Notice, Protocol::RefusalNotice(address.toLatin1()));
    links.remove(socket);
    server.CloseClient(socket);
}

void HostSession::readLater(int socket, qint64 waitMs)
{
    // Not read now: the next read notification comes after the next read.
    QTimer::singleShot(waitMs, this, [this, socket] {
        if (server.Clients().IndexOf(socket) >= 0) // not gone while its read waited
            reporting([this, socket] { read(socket); });
    });
}

void HostSession::read(int socket)
{
    if (files.owns(socket)) {
        files.read(socket);
        return;
    }
    if (const auto link = links.find(socket); link != links.end() && link->isFramed()) {
        const QList<HostRoster::GuestText> texts = readFrames(socket, *link);
        if (link->isBad()) {
            drop(socket);
            return;
        }
        handleGuestTexts(texts);
        watchRosterDeadline();
        return;
    }
    const qint64 now = elapsedMs();
    if (const qint64 wait = readPace.WaitBeforeReading(socket, now)) {
        roster.postpone(socket, now + wait);
        readLater(socket, wait);
        return;
    }
    const QByteArray piece = server.ReceiveText(socket);
    const QList<HostRoster::GuestText> texts =
        roster.read(socket, piece, setup.nickname().toUtf8(), now, server.BytesWaiting(socket) > 0);
    readPace.Count(socket, std::max<int>(1, int(texts.size())), now);
    handleGuestTexts(texts);
    watchRosterDeadline();
}

QList<HostRoster::GuestText> HostSession::readFrames(int socket, ChatLink &link)
{
    // Each frame is a whole text: nothing waits for a rest, and a frame is a
    // line of the pace. One read takes what a guest sent up to a limit: the
    // socket offers the rest again, after the others have had their turn.
    constexpr qsizetype kReadAtOnce = 16 * 1024;
    constexpr qsizetype kMostAtOnce = 4 * kReadAtOnce;
    const qint64 now = elapsedMs();
    const QByteArray hostName = setup.nickname().toUtf8();
    QList<HostRoster::GuestText> texts;
    qsizetype taken = 0;
    while (!link.isBad()) {
        if (!link.hasFrame()) {
            const QByteArray bytes = taken < kMostAtOnce ? server.receiveBytes(socket, kReadAtOnce) : QByteArray();
            if (bytes.isEmpty())
                break;
            taken += bytes.size();
            link.take(bytes);
            continue;
        }
        if (const qint64 wait = readPace.WaitBeforeReading(socket, now)) {
            readLater(socket, wait); // the frames already here, and the socket's after them
            break;
        }
        if (const std::optional<LinkText> text = link.nextText()) {
            if (carriesPlainText(text->kind))
                texts += roster.read(socket, text->bytes, hostName, now, false);
            else
                handleOwnFrame(socket, *text);
            readPace.Count(socket, 1, now);
        }
        droppedFrames += link.takeDroppedFrames();
    }
    return texts;
}

void HostSession::drop(int socket)
{
    closed(socket);
    server.CloseClient(socket);
}

void HostSession::watchRosterDeadline()
{
    if (const std::optional<qint64> deadline = roster.NextDeadline())
        rosterDeadline.start(int(std::clamp<qint64>(*deadline - elapsedMs(), 0, HostRoster::kRegistrationWaitMs)));
    else
        rosterDeadline.stop();
}

void HostSession::handleGuestTexts(const QList<HostRoster::GuestText> &texts)
{
    using Action = HostRoster::GuestText::Action;
    // Lines that came in one read go out together, in one send to each guest:
    // the bytes are the same, and a burst costs a send a guest, not one a line.
    Outgoing relayed(codePage);
    const auto relay = [&] {
        if (!relayed.isEmpty())
            sendToAll(std::exchange(relayed, Outgoing(codePage)));
    };
    for (const HostRoster::GuestText &text : texts) {
        if (text.action != Action::Relay)
            relay();
        switch (text.action) {
        case Action::Registered: {
            const QString name = QString::fromUtf8(roster.names().at(text.entry.row));
            if (nameKeys.seen)
                nameKeys.seen(name, guestKeys.value(text.socket));
            emit participantNamed(text.entry.row, name, text.entry.added);
            // A list that still waits to go to a guest is needless once a newer one follows it.
            Outgoing list(codePage);
            list.add(FrameKind::List, roster.listText(), TextEncoding::Utf8);
            list.add(FrameKind::Keys, keysText(), TextEncoding::Utf8);
            sendToAll(list, Sending::Latest);
            emit guestsKeyedChanged();
            break;
        }
        case Action::Refused:
            refuseName(text);
            break;
        case Action::Relay:
            relayed.add(FrameKind::Chat, text.bytes, text.encoding);
            emit received(decode(text.bytes, text.encoding), text.bytes, true);
            break;
        case Action::NotRelayed:
            emit notice(notRelayedLine(text));
            break;
        }
    }
    relay();
}

QString HostSession::notRelayedLine(const HostRoster::GuestText &text) const
{
    const QString from = roster.peerOf(text.socket).address;
    if (text.breaksLine)
        return tr("Line from %1 not relayed: it breaks a line").arg(from);
    const QByteArray named = Protocol::NameInChatLine(text.bytes);
    if (named.isEmpty())
        return tr("Line from %1 not relayed: it names nobody").arg(from);
    return tr("Line from %1 not relayed: it names %2").arg(from, decode(named, text.encoding));
}

void HostSession::refuseName(const HostRoster::GuestText &text)
{
    const QString address = roster.peerOf(text.socket).address;
    sendTo(text.socket, FrameKind::Notice, Protocol::NameRefused(text.refusal, text.bytes));
    QString why;
    switch (text.refusal) {
    case Protocol::NameRefusal::Taken:
        why = tr("the name %1 is taken").arg(decode(text.bytes, text.encoding));
        break;
    case Protocol::NameRefusal::Empty:
        why = tr("it gave no name");
        break;
    case Protocol::NameRefusal::TooLong:
        why = tr("its name is longer than %1 characters").arg(Protocol::kLongestName);
        break;
    case Protocol::NameRefusal::ControlCharacter:
        why = tr("its name holds a control character");
        break;
    }
    emit notice(tr("Connection closed for %1: %2").arg(address, why));
    removeParticipant(text.socket);
    readPace.forget(text.socket);
    links.remove(text.socket);
    server.CloseClient(text.socket);
    emit guestCountChanged(guestCount());
}

void HostSession::removeParticipant(int socket)
{
    // A guest that never registered has no entry, and the others need no news.
    const qsizetype named = roster.rowOf(socket);
    if (named >= 0 && nameKeys.seen)
        nameKeys.seen(QString::fromUtf8(roster.names().at(named)), guestKeys.value(socket));
    const std::optional<int> row = roster.Remove(socket);
    if (!row)
        return;
    emit participantLeft(*row);
    Outgoing departure(codePage);
    departure.add(FrameKind::Departure, roster.departureText(*row), TextEncoding::Utf8);
    departure.add(FrameKind::Keys, keysText(), TextEncoding::Utf8);
    sendToAll(departure);
    emit guestsKeyedChanged();
}

void HostSession::closed(int socket)
{
    if (files.owns(socket)) {
        files.closed(socket);
        return;
    }
    const int before = std::exchange(closingGuest, socket);
    const auto restore = qScopeGuard([&] { closingGuest = before; });
    const HostRoster::Peer peer = roster.peerOf(socket);
    emit notice(tr("Guest by %1 on port %2 is away.").arg(peer.address, peer.port), ShownText::Kind::Departure);
    // The closing guest is still among the clients.
    emit guestCountChanged(guestCount() - 1);
    readPace.forget(socket);
    removeParticipant(socket);
    links.remove(socket);
    guestKeys.remove(socket);
}

bool HostSession::sendOwnLine(const QString &line)
{
    // The host sees its own line only when somebody is there to read it.
    if (guestCount() == 0)
        return false;
    sendToAll(FrameKind::Chat, line.toUtf8(), TextEncoding::Utf8);
    return true;
}
