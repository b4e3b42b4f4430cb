#include "TNotificationEndpoint.h"

#include "PlainTransport.h"
#include "SocketErrors.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

struct TNotificationEndpoint::Watch {
    quint64 serial = 0;
    int kinds = 0;
    // Cleared between a read or accept notification and the owner's next read
    // or accept. The reader stays on meanwhile: an owner that reads at once,
    // as owners do, then costs no change to the event loop's watch list. Only
    // a reader that fires again before the owner has read is turned off.
    bool readArmed = true;
    // Waiting in the queue of reads put off to a later pass.
    bool readPutOff = false;
    // A connection attempt is under way: only its outcome is watched for.
    bool connectPending = false;
    // The send queue overflowed; the close notification is on its way.
    bool broken = false;
    // Where the transport's opening exchange stands; nothing else crosses
    // the connection before it is Done.
    Opening opening = Opening::Done;
    // The opening follows a connection attempt: its outcome is the attempt's.
    bool openingEndsConnect = false;
    // Ends an opening that takes too long; it goes with the watch, so that a
    // flood of openings leaves no timers behind.
    QTimer openingTime;
    int openingWaitedMs = 0;
    // The opening did not end as it began: its end is told by a notification.
    bool openingWaited = false;
    // Gathered texts wait for the end of the pass, not for the socket's readiness.
    bool gathering = false;
    QByteArray queue;
    // The owner waits to hear when the queue has gone.
    bool tellDrained = false;
    std::unique_ptr<Transport> transport;
    // The peers' own exchange after the transport's handshake; none for most.
    std::unique_ptr<ConnectionOpening> peersOpening;
    // The transport's handshake is done: the peers' opening goes on.
    bool shaken = false;
    // How texts cross the connection once it is open: framed ones may go out together.
    Framing framing = Framing::None;
    QSocketNotifier *reader = nullptr;
    QSocketNotifier *writer = nullptr;
};

namespace {

// A pass of the event loop spends at most this long on reads; the sockets
// still waiting are read in the next pass, after the timers and the painting.
// Many guests in a flood would otherwise hold the window up for as long as
// it takes to relay one line from each of them to all.
constexpr qint64 kLongestReadingPassNs = 8'000'000;

bool WaitsForPeer(Opening opening)
{
    return opening == Opening::WaitsToRead || opening == Opening::WaitsToWrite;
}

bool StillOpening(Opening opening)
{
    return WaitsForPeer(opening) || opening == Opening::WaitsForUser;
}

} // namespace

TNotificationEndpoint::TNotificationEndpoint(Deliver deliver, QObject *parent)
    : QObject(parent), deliver(std::move(deliver))
{
    // The dispatcher wakes once per pass of the event loop, nested loops
    // included, and without a message of its own.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance()) {
        // Gathered texts go out before the loop sleeps, and at the start of
        // the next pass when it does not sleep (processEvents without waiting),
        // so gathering never wakes the loop itself.
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
            pass.invalidate();
            sendGathered();
        });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TNotificationEndpoint::sendGathered);
    }
}

TNotificationEndpoint::~TNotificationEndpoint() = default;

TNotificationEndpoint::Watch &TNotificationEndpoint::watchOf(int socket)
{
    std::unique_ptr<Watch> &slot = watches[socket];
    if (!slot) {
        slot = std::make_unique<Watch>();
        slot->serial = nextSerial++;
        slot->openingTime.setSingleShot(true);
        slot->openingTime.setInterval(kLongestOpeningMs);
        // Handled after the timer's own signal: the handling may end the watch, and the timer with it.
        slot->openingTime.callOnTimeout(this, [this, socket, serial = slot->serial] {
            QMetaObject::invokeMethod(this, [this, socket, serial] { openingTimeIsUp(socket, serial); },
                                      Qt::QueuedConnection);
        });
        slot->transport = std::make_unique<PlainTransport>(socket);
    }
    return *slot;
}

Transport &TNotificationEndpoint::transportOf(int socket)
{
    if (Watch *watch = findWatch(socket))
        return *watch->transport;
    unwatched = std::make_unique<PlainTransport>(socket);
    return *unwatched;
}

void TNotificationEndpoint::attach(int socket, ConnectionLayers layers)
{
    Watch &watch = watchOf(socket);
    watch.transport = std::move(layers.transport);
    watch.peersOpening = std::move(layers.opening);
    watch.shaken = false;
    watch.framing = Framing::None;
    if (watch.peersOpening)
        watch.peersOpening->onWake([this, socket, serial = watch.serial] {
            QMetaObject::invokeMethod(
                this,
                [this, socket, serial] {
                    if (Watch *current = findWatch(socket);
                        current && current->serial == serial && current->opening == Opening::WaitsForUser)
                        driveOpening(socket, *current);
                },
                Qt::QueuedConnection);
        });
    // A connection being made opens once it is made; an accepted one, now.
    if (!watch.connectPending)
        beginOpening(socket, watch, false);
}

void TNotificationEndpoint::beginOpening(int socket, Watch &watch, bool endsConnect)
{
    watch.openingEndsConnect = endsConnect;
    watch.opening = Opening::WaitsToRead;
    if (!driveOpening(socket, watch))
        return;
    watch.openingWaitedMs = 0;
    watch.openingTime.start();
}

void TNotificationEndpoint::openingTimeIsUp(int socket, quint64 serial)
{
    // A peer that stops halfway is given up, as a connection attempt would be;
    // a peer whose user is deciding is given minutes.
    Watch *current = findWatch(socket);
    if (!current || current->serial != serial || !WaitsForPeer(current->opening))
        return;
    current->openingWaitedMs += kLongestOpeningMs;
    ConnectionOpening *peers = current->shaken ? current->peersOpening.get() : nullptr;
    if (peers && peers->peerMayWaitForItsUser() && current->openingWaitedMs < kLongestWaitForPeersUserMs) {
        current->openingTime.start();
        return;
    }
    if (peers)
        peers->timedOut(*current->transport);
    endOpening(socket, *current, TranslateErrno(ETIMEDOUT));
}

bool TNotificationEndpoint::driveOpening(int socket, Watch &watch)
{
    int error = 0;
    if (!watch.shaken) {
        const HandshakeResult handshake = watch.transport->handshake();
        watch.opening = handshake.state;
        watch.shaken = handshake.state == Opening::Done;
        error = handshake.error;
    }
    if (watch.shaken && watch.peersOpening) {
        watch.opening = watch.peersOpening->drive(*watch.transport);
        error = watch.peersOpening->failureError();
        if (watch.opening == Opening::Done)
            watch.framing = watch.peersOpening->textFraming();
    }
    if (!StillOpening(watch.opening)) {
        endOpening(socket, watch, watch.opening == Opening::Done ? 0 : error);
        return false; // `watch` may be gone with the delivery
    }
    watch.openingWaited = true;
    updateNotifiers(socket, watch);
    return true;
}

void TNotificationEndpoint::endOpening(int socket, Watch &watch, int error)
{
    watch.opening = error == 0 ? Opening::Done : Opening::Failed;
    watch.openingTime.stop();
    const bool endsConnect = std::exchange(watch.openingEndsConnect, false);
    const bool waited = std::exchange(watch.openingWaited, false);
    if (error != 0) {
        watch.readArmed = false; // a failed connection has nothing more to say
        watch.queue = QByteArray();
    }
    updateNotifiers(socket, watch); // what waits to go goes
    if (endsConnect) {
        if (watch.kinds & SocketEvent::Connect)
            notify(socket, SocketEvent::Connect, error);
        return;
    }
    if (!waited)
        return; // the owner sees it in OpeningOf as it attaches the transport
    if (error != 0) {
        if (watch.kinds & SocketEvent::Close)
            notify(socket, SocketEvent::Close, error);
        return;
    }
    if (watch.readArmed && watch.transport->hasMoreToRead()) {
        watch.readArmed = false;
        putOffRead(socket, watch); // what came with the opening is offered after it
    }
    notify(socket, SocketEvent::Opened, 0);
    // Nothing may touch `watch` after a delivery: the owner may have closed the socket.
}

Opening TNotificationEndpoint::openingOf(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch ? watch->opening : Opening::Done;
}

QString TNotificationEndpoint::failureText(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch && watch->peersOpening ? watch->peersOpening->failureText() : QString();
}

Framing TNotificationEndpoint::framingOf(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch ? watch->framing : Framing::None;
}

QByteArray TNotificationEndpoint::peerKeyOf(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch && watch->peersOpening && watch->opening == Opening::Done ? watch->peersOpening->peerKey()
                                                                           : QByteArray();
}

TransportResult TNotificationEndpoint::receive(int socket, char *into, qsizetype size, bool peek)
{
    const TransportResult result = transportOf(socket).read(into, size, peek);
    rearm(socket);
    // What the transport holds is offered like data that waits on the socket.
    if (Watch *watch = findWatch(socket); watch && watch->readArmed && watch->transport->hasMoreToRead()) {
        watch->readArmed = false;
        putOffRead(socket, *watch);
    }
    return result;
}

void TNotificationEndpoint::drain(int socket, char *buffer, qsizetype size, qsizetype limit)
{
    Transport &transport = transportOf(socket);
    for (qsizetype drained = 0; drained < limit;) {
        const TransportResult result = transport.read(buffer, size);
        if (result.bytes <= 0)
            return;
        drained += result.bytes;
    }
}

int TNotificationEndpoint::shutdownSending(int socket)
{
    return transportOf(socket).shutdownSending();
}

TNotificationEndpoint::Watch *TNotificationEndpoint::findWatch(int socket) const
{
    const auto found = watches.find(socket);
    return found == watches.end() ? nullptr : found->second.get();
}

qsizetype TNotificationEndpoint::queuedBytes(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch ? watch->queue.size() : 0;
}

QSocketNotifier *TNotificationEndpoint::makeNotifier(int socket, int type)
{
    const auto notifierType = static_cast<QSocketNotifier::Type>(type);
    auto *notifier = new QSocketNotifier(socket, notifierType, this);
    if (notifierType == QSocketNotifier::Read)
        connect(notifier, &QSocketNotifier::activated, this, [this, socket] { readyToRead(socket); });
    else
        connect(notifier, &QSocketNotifier::activated, this, [this, socket] { readyToWrite(socket); });
    return notifier;
}

void TNotificationEndpoint::discard(QSocketNotifier *&notifier)
{
    if (!notifier)
        return;
    // It may be the very notifier whose signal is running: never delete it here.
    notifier->setEnabled(false);
    notifier->deleteLater();
    notifier = nullptr;
}

void TNotificationEndpoint::updateNotifiers(int socket, Watch &watch)
{
    const bool opening = StillOpening(watch.opening);
    const bool wantsRead = opening ? watch.opening == Opening::WaitsToRead
                                   : (watch.kinds & (SocketEvent::Read | SocketEvent::Accept | SocketEvent::Close))
                                         && watch.readArmed && !watch.connectPending;
    const bool wantsWrite = watch.connectPending
                            || (opening ? watch.opening == Opening::WaitsToWrite
                                        : !watch.queue.isEmpty() && !watch.gathering);
    if (wantsRead && !watch.reader)
        watch.reader = makeNotifier(socket, QSocketNotifier::Read);
    if (wantsWrite && !watch.writer)
        watch.writer = makeNotifier(socket, QSocketNotifier::Write);
    if (watch.reader)
        watch.reader->setEnabled(wantsRead);
    if (watch.writer)
        watch.writer->setEnabled(wantsWrite);
}

int TNotificationEndpoint::select(int socket, int kinds)
{
    const int flags = fcntl(socket, F_GETFL);
    if (flags < 0 || fcntl(socket, F_SETFL, flags | O_NONBLOCK) < 0)
        return TranslateErrno(errno);
    Watch &watch = watchOf(socket);
    if (!(kinds & SocketEvent::Connect))
        watch.connectPending = false;
    else if (!(watch.kinds & SocketEvent::Connect))
        watch.connectPending = true;
    watch.kinds = kinds;
    watch.readArmed = true;
    watch.readPutOff = false;
    updateNotifiers(socket, watch);
    return 0;
}

void TNotificationEndpoint::rearm(int socket)
{
    if (Watch *watch = findWatch(socket); watch && !watch->readArmed) {
        watch->readArmed = true;
        updateNotifiers(socket, *watch);
    }
}

void TNotificationEndpoint::rearmLater(int socket, int milliseconds)
{
    const Watch *watch = findWatch(socket);
    if (!watch)
        return;
    QTimer::singleShot(milliseconds, this, [this, socket, serial = watch->serial] {
        if (const Watch *current = findWatch(socket); current && current->serial == serial)
            rearm(socket);
    });
}

void TNotificationEndpoint::forget(int socket)
{
    const auto found = watches.find(socket);
    if (found == watches.end())
        return;
    discard(found->second->reader);
    discard(found->second->writer);
    watches.erase(found);
}

void TNotificationEndpoint::retire()
{
    for (auto &[socket, watch] : watches) {
        discard(watch->reader);
        discard(watch->writer);
    }
    watches.clear();
    putOffReads.clear();
    deliver = [](int, int, int) {};
}

void TNotificationEndpoint::notify(int socket, int kind, int error)
{
    // A copy: the owner may retire this endpoint, and with it `deliver`, while it runs.
    const Deliver callback = deliver;
    ++deliveries;
    callback(socket, kind, error);
    --deliveries;
}

bool TNotificationEndpoint::passIsSpent()
{
    if (pass.isValid())
        return pass.nsecsElapsed() > kLongestReadingPassNs;
    pass.start();
    return false;
}

void TNotificationEndpoint::readyToRead(int socket)
{
    Watch *watch = findWatch(socket);
    if (!watch)
        return;
    if (StillOpening(watch->opening)) {
        driveOpening(socket, *watch);
        return;
    }
    if (!watch->readArmed) {
        updateNotifiers(socket, *watch); // turns the reader off until Rearm
        return;
    }
    watch->readArmed = false;
    // Behind the sockets already put off, never ahead of them.
    if ((watch->kinds & SocketEvent::Read) && (!putOffReads.empty() || passIsSpent())) {
        putOffRead(socket, *watch);
        return;
    }
    offer(socket, *watch);
}

void TNotificationEndpoint::putOffRead(int socket, Watch &watch)
{
    updateNotifiers(socket, watch); // the reader is off while the socket waits its turn
    if (std::exchange(watch.readPutOff, true))
        return;
    putOffReads.emplace_back(socket, watch.serial);
    scheduleReadingPutOff();
}

void TNotificationEndpoint::scheduleReadingPutOff()
{
    if (std::exchange(readingPutOffScheduled, true))
        return;
    // Posted messages are handled at the start of the next pass, before the
    // sockets that are ready in it.
    QMetaObject::invokeMethod(this, [this] { readPutOffSockets(); }, Qt::QueuedConnection);
}

void TNotificationEndpoint::readPutOffSockets()
{
    readingPutOffScheduled = false;
    while (!putOffReads.empty()) {
        if (passIsSpent()) {
            scheduleReadingPutOff();
            return;
        }
        const auto [socket, serial] = putOffReads.front();
        putOffReads.pop_front();
        Watch *watch = findWatch(socket);
        if (!watch || watch->serial != serial || !watch->readPutOff)
            continue; // closed or cancelled meanwhile
        watch->readPutOff = false;
        watch->readArmed = false;
        offer(socket, *watch);
    }
}

// Tells the owner what waits on a socket whose reader fired: a connection,
// data, or the end of the stream.
void TNotificationEndpoint::offer(int socket, Watch &watch)
{
    const int kinds = watch.kinds;
    if (kinds & SocketEvent::Accept) {
        notify(socket, SocketEvent::Accept, 0);
        return;
    }
    // Peek to tell waiting data from the end of the stream or a failed
    // connection.
    char probe;
    const TransportResult peeked = watch.transport->read(&probe, 1, true);
    if (peeked.bytes > 0) {
        if (kinds & SocketEvent::Read)
            notify(socket, SocketEvent::Read, 0);
    } else if (peeked.wouldBlock) {
        watch.readArmed = true; // nothing there after all
        updateNotifiers(socket, watch);
    } else if (kinds & SocketEvent::Close) {
        notify(socket, SocketEvent::Close, peeked.error);
    }
    // Nothing may touch `watch` after a delivery: the owner may have closed the
    // socket.
}

void TNotificationEndpoint::readyToWrite(int socket)
{
    Watch *watch = findWatch(socket);
    if (!watch)
        return;
    if (watch->connectPending) {
        connectEnded(socket, *watch);
        return;
    }
    if (StillOpening(watch->opening)) {
        driveOpening(socket, *watch);
        return;
    }
    // A failed send means the peer has gone; the read side reports its close.
    if (sendQueued(socket, *watch) != 0)
        watch->queue.clear();
    updateNotifiers(socket, *watch);
    tellIfDrained(socket, *watch);
}

void TNotificationEndpoint::connectEnded(int socket, Watch &watch)
{
    int outcome = 0;
    socklen_t size = sizeof outcome;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &outcome, &size) != 0)
        outcome = errno;
    watch.connectPending = false;
    if (outcome == 0) {
        beginOpening(socket, watch, true); // the attempt's outcome is the opening's
        return;
    }
    watch.readArmed = false; // a failed attempt has nothing more to say
    updateNotifiers(socket, watch);
    if (watch.kinds & SocketEvent::Connect)
        notify(socket, SocketEvent::Connect, outcome == 0 ? 0 : TranslateErrno(outcome));
}

int TNotificationEndpoint::sendQueued(int, Watch &watch)
{
    // What was taken goes from the queue once, at the end: a queue cut at its
    // front for every write would be moved whole as often.
    qsizetype taken = 0;
    int error = 0;
    while (taken < watch.queue.size()) {
        const TransportResult sent = watch.transport->write(watch.queue.constData() + taken, watch.queue.size() - taken);
        if (sent.wouldBlock || sent.error != 0) {
            error = sent.error;
            break;
        }
        taken += sent.bytes;
    }
    if (taken == watch.queue.size())
        watch.queue.clear();
    else
        watch.queue.remove(0, taken);
    return error;
}

int TNotificationEndpoint::send(int socket, const QByteArray &bytes)
{
    Watch *watch = findWatch(socket);
    if (watch) {
        const bool gathers = watch->framing != Framing::None;
        if (watch->broken || watch->opening == Opening::Failed)
            return 0; // the connection is being closed; nothing more goes out
        // Gathered texts wait for the socket's next readiness to write, in
        // this pass of the event loop or the next: one write takes them all.
        if (!watch->queue.isEmpty() || StillOpening(watch->opening) || gathers) {
            if (watch->queue.isEmpty() && gathers && !StillOpening(watch->opening)) {
                watch->gathering = true;
                gathered.emplace_back(socket, watch->serial);
            }
            enqueue(socket, *watch, bytes);
            return 0;
        }
    }
    // Looked up once: a line to every guest is a send each.
    Transport &transport = watch ? *watch->transport : transportOf(socket);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const TransportResult taken = transport.write(bytes.constData() + sent, bytes.size() - sent);
        if (taken.error != 0)
            return taken.error;
        if (taken.wouldBlock) {
            enqueue(socket, watch ? *watch : watchOf(socket), bytes.mid(sent));
            return 0;
        }
        sent += taken.bytes;
    }
    return 0;
}

void TNotificationEndpoint::enqueue(int socket, Watch &watch, const QByteArray &rest)
{
    if (watch.queue.size() + rest.size() <= kSendQueueLimit) {
        watch.queue.append(rest);
        updateNotifiers(socket, watch);
        return;
    }
    watch.broken = true;
    watch.queue = QByteArray();
    updateNotifiers(socket, watch);
    QMetaObject::invokeMethod(
        this,
        [this, socket, serial = watch.serial] {
            const Watch *current = findWatch(socket);
            if (current && current->serial == serial && (current->kinds & SocketEvent::Close))
                notify(socket, SocketEvent::Close, SocketError::NoBufferSpace);
        },
        Qt::QueuedConnection);
}

void TNotificationEndpoint::sendGathered()
{
    // At the end of the pass: what each connection was sent in it goes in one write.
    for (const auto &[socket, serial] : std::exchange(gathered, {})) {
        Watch *watch = findWatch(socket);
        if (!watch || watch->serial != serial || !std::exchange(watch->gathering, false))
            continue;
        if (sendQueued(socket, *watch) != 0)
            watch->queue.clear(); // the peer has gone; the read side reports its close
        updateNotifiers(socket, *watch);
        tellIfDrained(socket, *watch);
    }
}

void TNotificationEndpoint::tellWhenDrained(int socket)
{
    if (Watch *watch = findWatch(socket)) {
        watch->tellDrained = true;
        tellIfDrained(socket, *watch);
    }
}

bool TNotificationEndpoint::isBackedUp(int socket) const
{
    const Watch *watch = findWatch(socket);
    return watch && !watch->queue.isEmpty() && !watch->gathering;
}

void TNotificationEndpoint::tellIfDrained(int socket, Watch &watch)
{
    if (!watch.tellDrained || !watch.queue.isEmpty() || watch.broken)
        return;
    watch.tellDrained = false;
    // From the event loop: the owner may send again, and is never called inside a send.
    QMetaObject::invokeMethod(
        this,
        [this, socket, serial = watch.serial] {
            if (const Watch *current = findWatch(socket); current && current->serial == serial)
                notify(socket, SocketEvent::Drained, 0);
        },
        Qt::QueuedConnection);
}

std::unique_ptr<Transport> TNotificationEndpoint::release(int socket, QByteArray &queued)
{
    Watch *watch = findWatch(socket);
    if (!watch)
        return std::make_unique<PlainTransport>(socket);
    queued = std::exchange(watch->queue, QByteArray());
    std::unique_ptr<Transport> transport = std::move(watch->transport);
    forget(socket);
    return transport;
}

void TNotificationEndpoint::takeBack(int socket, std::unique_ptr<Transport> transport, const QByteArray &queued)
{
    Watch &watch = watchOf(socket);
    watch.transport = std::move(transport);
    watch.shaken = true;
    watch.framing = Framing::File;
    watch.queue = queued;
}

void TNotificationEndpoint::flushBeforeClose(int socket)
{
    Watch *watch = findWatch(socket);
    if (!watch || watch->queue.isEmpty())
        return;
    sendQueued(socket, *watch);
    watch->queue = QByteArray();
    updateNotifiers(socket, *watch);
}
