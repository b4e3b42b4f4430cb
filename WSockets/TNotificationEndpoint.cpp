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
    // The end of the queue that superseding bytes fill, whole and unsent; 0 for none.
    qsizetype supersedable = 0;
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
            SendGathered();
        });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TNotificationEndpoint::SendGathered);
    }
}

TNotificationEndpoint::~TNotificationEndpoint() = default;

TNotificationEndpoint::Watch &TNotificationEndpoint::WatchOf(int socket)
{
    std::unique_ptr<Watch> &slot = watches[socket];
    if (!slot) {
        slot = std::make_unique<Watch>();
        slot->serial = nextSerial++;
        slot->openingTime.setSingleShot(true);
        slot->openingTime.setInterval(kLongestOpeningMs);
        // Handled after the timer's own signal: the handling may end the watch, and the timer with it.
        slot->openingTime.callOnTimeout(this, [this, socket, serial = slot->serial] {
            QMetaObject::invokeMethod(this, [this, socket, serial] { OpeningTimeIsUp(socket, serial); },
                                      Qt::QueuedConnection);
        });
        slot->transport = std::make_unique<PlainTransport>(socket);
    }
    return *slot;
}

Transport &TNotificationEndpoint::TransportOf(int socket)
{
    if (Watch *watch = FindWatch(socket))
        return *watch->transport;
    unwatched = std::make_unique<PlainTransport>(socket);
    return *unwatched;
}

void TNotificationEndpoint::Attach(int socket, ConnectionLayers layers)
{
    Watch &watch = WatchOf(socket);
    watch.transport = std::move(layers.transport);
    watch.peersOpening = std::move(layers.opening);
    watch.shaken = false;
    watch.framing = Framing::None;
    if (watch.peersOpening)
        watch.peersOpening->onWake([this, socket, serial = watch.serial] {
            QMetaObject::invokeMethod(
                this,
                [this, socket, serial] {
                    if (Watch *current = FindWatch(socket);
                        current && current->serial == serial && current->opening == Opening::WaitsForUser)
                        DriveOpening(socket, *current);
                },
                Qt::QueuedConnection);
        });
    // A connection being made opens once it is made; an accepted one, now.
    if (!watch.connectPending)
        BeginOpening(socket, watch, false);
}

void TNotificationEndpoint::BeginOpening(int socket, Watch &watch, bool endsConnect)
{
    watch.openingEndsConnect = endsConnect;
    watch.opening = Opening::WaitsToRead;
    if (!DriveOpening(socket, watch))
        return;
    watch.openingWaitedMs = 0;
    watch.openingTime.start();
}

void TNotificationEndpoint::OpeningTimeIsUp(int socket, quint64 serial)
{
    // A peer that stops halfway is given up, as a connection attempt would be;
    // a peer whose user is deciding is given minutes.
    Watch *current = FindWatch(socket);
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
    EndOpening(socket, *current, TranslateErrno(ETIMEDOUT));
}

bool TNotificationEndpoint::DriveOpening(int socket, Watch &watch)
{
    int error = 0;
    if (!watch.shaken) {
        const HandshakeResult shaken = watch.transport->handshake();
        watch.opening = shaken.state;
        watch.shaken = shaken.state == Opening::Done;
        error = shaken.error;
    }
    if (watch.shaken && watch.peersOpening) {
        watch.opening = watch.peersOpening->drive(*watch.transport);
        error = watch.peersOpening->failureError();
        if (watch.opening == Opening::Done)
            watch.framing = watch.peersOpening->textFraming();
    }
    if (!StillOpening(watch.opening)) {
        EndOpening(socket, watch, watch.opening == Opening::Done ? 0 : error);
        return false; // `watch` may be gone with the delivery
    }
    watch.openingWaited = true;
    UpdateNotifiers(socket, watch);
    return true;
}

void TNotificationEndpoint::EndOpening(int socket, Watch &watch, int error)
{
    watch.opening = error == 0 ? Opening::Done : Opening::Failed;
    watch.openingTime.stop();
    const bool endsConnect = std::exchange(watch.openingEndsConnect, false);
    const bool waited = std::exchange(watch.openingWaited, false);
    if (error != 0) {
        watch.readArmed = false; // a failed connection has nothing more to say
        watch.queue = QByteArray();
        watch.supersedable = 0;
    }
    UpdateNotifiers(socket, watch); // what waits to go goes
    if (endsConnect) {
        if (watch.kinds & SocketEvent::Connect)
            Notify(socket, SocketEvent::Connect, error);
        return;
    }
    if (!waited)
        return; // the owner sees it in OpeningOf as it attaches the transport
    if (error != 0) {
        if (watch.kinds & SocketEvent::Close)
            Notify(socket, SocketEvent::Close, error);
        return;
    }
    if (watch.readArmed && watch.transport->hasMoreToRead()) {
        watch.readArmed = false;
        PutOffRead(socket, watch); // what came with the opening is offered after it
    }
    Notify(socket, SocketEvent::Opened, 0);
    // Nothing may touch `watch` after a delivery: the owner may have closed the socket.
}

Opening TNotificationEndpoint::OpeningOf(int socket) const
{
    const Watch *watch = FindWatch(socket);
    return watch ? watch->opening : Opening::Done;
}

QString TNotificationEndpoint::FailureText(int socket) const
{
    const Watch *watch = FindWatch(socket);
    return watch && watch->peersOpening ? watch->peersOpening->failureText() : QString();
}

Framing TNotificationEndpoint::framingOf(int socket) const
{
    const Watch *watch = FindWatch(socket);
    return watch ? watch->framing : Framing::None;
}

TransportResult TNotificationEndpoint::Receive(int socket, char *into, qsizetype size, bool peek)
{
    const TransportResult result = TransportOf(socket).read(into, size, peek);
    Rearm(socket);
    // What the transport holds is offered like data that waits on the socket.
    if (Watch *watch = FindWatch(socket); watch && watch->readArmed && watch->transport->hasMoreToRead()) {
        watch->readArmed = false;
        PutOffRead(socket, *watch);
    }
    return result;
}

void TNotificationEndpoint::Drain(int socket, char *buffer, qsizetype size, qsizetype limit)
{
    Transport &transport = TransportOf(socket);
    for (qsizetype drained = 0; drained < limit;) {
        const TransportResult result = transport.read(buffer, size);
        if (result.bytes <= 0)
            return;
        drained += result.bytes;
    }
}

int TNotificationEndpoint::ShutdownSending(int socket)
{
    return TransportOf(socket).shutdownSending();
}

TNotificationEndpoint::Watch *TNotificationEndpoint::FindWatch(int socket) const
{
    const auto found = watches.find(socket);
    return found == watches.end() ? nullptr : found->second.get();
}

qsizetype TNotificationEndpoint::QueuedBytes(int socket) const
{
    const Watch *watch = FindWatch(socket);
    return watch ? watch->queue.size() : 0;
}

QSocketNotifier *TNotificationEndpoint::MakeNotifier(int socket, int type)
{
    const auto notifierType = static_cast<QSocketNotifier::Type>(type);
    auto *notifier = new QSocketNotifier(socket, notifierType, this);
    if (notifierType == QSocketNotifier::Read)
        connect(notifier, &QSocketNotifier::activated, this, [this, socket] { ReadyToRead(socket); });
    else
        connect(notifier, &QSocketNotifier::activated, this, [this, socket] { ReadyToWrite(socket); });
    return notifier;
}

void TNotificationEndpoint::Discard(QSocketNotifier *&notifier)
{
    if (!notifier)
        return;
    // It may be the very notifier whose signal is running: never delete it here.
    notifier->setEnabled(false);
    notifier->deleteLater();
    notifier = nullptr;
}

void TNotificationEndpoint::UpdateNotifiers(int socket, Watch &watch)
{
    const bool opening = StillOpening(watch.opening);
    const bool wantsRead = opening ? watch.opening == Opening::WaitsToRead
                                   : (watch.kinds & (SocketEvent::Read | SocketEvent::Accept | SocketEvent::Close))
                                         && watch.readArmed && !watch.connectPending;
    const bool wantsWrite = watch.connectPending
                            || (opening ? watch.opening == Opening::WaitsToWrite
                                        : !watch.queue.isEmpty() && !watch.gathering);
    if (wantsRead && !watch.reader)
        watch.reader = MakeNotifier(socket, QSocketNotifier::Read);
    if (wantsWrite && !watch.writer)
        watch.writer = MakeNotifier(socket, QSocketNotifier::Write);
    if (watch.reader)
        watch.reader->setEnabled(wantsRead);
    if (watch.writer)
        watch.writer->setEnabled(wantsWrite);
}

int TNotificationEndpoint::Select(int socket, int kinds)
{
    const int flags = fcntl(socket, F_GETFL);
    if (flags < 0 || fcntl(socket, F_SETFL, flags | O_NONBLOCK) < 0)
        return TranslateErrno(errno);
    Watch &watch = WatchOf(socket);
    if (!(kinds & SocketEvent::Connect))
        watch.connectPending = false;
    else if (!(watch.kinds & SocketEvent::Connect))
        watch.connectPending = true;
    watch.kinds = kinds;
    watch.readArmed = true;
    watch.readPutOff = false;
    UpdateNotifiers(socket, watch);
    return 0;
}

void TNotificationEndpoint::Rearm(int socket)
{
    if (Watch *watch = FindWatch(socket); watch && !watch->readArmed) {
        watch->readArmed = true;
        UpdateNotifiers(socket, *watch);
    }
}

void TNotificationEndpoint::RearmLater(int socket, int milliseconds)
{
    const Watch *watch = FindWatch(socket);
    if (!watch)
        return;
    QTimer::singleShot(milliseconds, this, [this, socket, serial = watch->serial] {
        if (const Watch *current = FindWatch(socket); current && current->serial == serial)
            Rearm(socket);
    });
}

void TNotificationEndpoint::Forget(int socket)
{
    const auto found = watches.find(socket);
    if (found == watches.end())
        return;
    Discard(found->second->reader);
    Discard(found->second->writer);
    watches.erase(found);
}

void TNotificationEndpoint::Retire()
{
    for (auto &[socket, watch] : watches) {
        Discard(watch->reader);
        Discard(watch->writer);
    }
    watches.clear();
    putOffReads.clear();
    deliver = [](int, int, int) {};
}

void TNotificationEndpoint::Notify(int socket, int kind, int error)
{
    // A copy: the owner may retire this endpoint, and with it `deliver`, while it runs.
    const Deliver callback = deliver;
    ++deliveries;
    callback(socket, kind, error);
    --deliveries;
}

bool TNotificationEndpoint::PassIsSpent()
{
    if (pass.isValid())
        return pass.nsecsElapsed() > kLongestReadingPassNs;
    pass.start();
    return false;
}

void TNotificationEndpoint::ReadyToRead(int socket)
{
    Watch *watch = FindWatch(socket);
    if (!watch)
        return;
    if (StillOpening(watch->opening)) {
        DriveOpening(socket, *watch);
        return;
    }
    if (!watch->readArmed) {
        UpdateNotifiers(socket, *watch); // turns the reader off until Rearm
        return;
    }
    watch->readArmed = false;
    // Behind the sockets already put off, never ahead of them.
    if ((watch->kinds & SocketEvent::Read) && (!putOffReads.empty() || PassIsSpent())) {
        PutOffRead(socket, *watch);
        return;
    }
    Offer(socket, *watch);
}

void TNotificationEndpoint::PutOffRead(int socket, Watch &watch)
{
    UpdateNotifiers(socket, watch); // the reader is off while the socket waits its turn
    if (std::exchange(watch.readPutOff, true))
        return;
    putOffReads.emplace_back(socket, watch.serial);
    ScheduleReadingPutOff();
}

void TNotificationEndpoint::ScheduleReadingPutOff()
{
    if (std::exchange(readingPutOffScheduled, true))
        return;
    // Posted messages are handled at the start of the next pass, before the
    // sockets that are ready in it.
    QMetaObject::invokeMethod(this, [this] { ReadPutOffSockets(); }, Qt::QueuedConnection);
}

void TNotificationEndpoint::ReadPutOffSockets()
{
    readingPutOffScheduled = false;
    while (!putOffReads.empty()) {
        if (PassIsSpent()) {
            ScheduleReadingPutOff();
            return;
        }
        const auto [socket, serial] = putOffReads.front();
        putOffReads.pop_front();
        Watch *watch = FindWatch(socket);
        if (!watch || watch->serial != serial || !watch->readPutOff)
            continue; // closed or cancelled meanwhile
        watch->readPutOff = false;
        watch->readArmed = false;
        Offer(socket, *watch);
    }
}

// Tells the owner what waits on a socket whose reader fired: a connection,
// data, or the end of the stream.
void TNotificationEndpoint::Offer(int socket, Watch &watch)
{
    const int kinds = watch.kinds;
    if (kinds & SocketEvent::Accept) {
        Notify(socket, SocketEvent::Accept, 0);
        return;
    }
    // Peek to tell waiting data from the end of the stream or a failed
    // connection.
    char probe;
    const TransportResult peeked = watch.transport->read(&probe, 1, true);
    if (peeked.bytes > 0) {
        if (kinds & SocketEvent::Read)
            Notify(socket, SocketEvent::Read, 0);
    } else if (peeked.wouldBlock) {
        watch.readArmed = true; // nothing there after all
        UpdateNotifiers(socket, watch);
    } else if (kinds & SocketEvent::Close) {
        Notify(socket, SocketEvent::Close, peeked.error);
    }
    // Nothing may touch `watch` after a delivery: the owner may have closed the
    // socket.
}

void TNotificationEndpoint::ReadyToWrite(int socket)
{
    Watch *watch = FindWatch(socket);
    if (!watch)
        return;
    if (watch->connectPending) {
        ConnectEnded(socket, *watch);
        return;
    }
    if (StillOpening(watch->opening)) {
        DriveOpening(socket, *watch);
        return;
    }
    // A failed send means the peer has gone; the read side reports its close.
    if (SendQueued(socket, *watch) != 0) {
        watch->queue.clear();
        watch->supersedable = 0;
    }
    UpdateNotifiers(socket, *watch);
}

void TNotificationEndpoint::ConnectEnded(int socket, Watch &watch)
{
    int outcome = 0;
    socklen_t size = sizeof outcome;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &outcome, &size) != 0)
        outcome = errno;
    watch.connectPending = false;
    if (outcome == 0) {
        BeginOpening(socket, watch, true); // the attempt's outcome is the opening's
        return;
    }
    watch.readArmed = false; // a failed attempt has nothing more to say
    UpdateNotifiers(socket, watch);
    if (watch.kinds & SocketEvent::Connect)
        Notify(socket, SocketEvent::Connect, outcome == 0 ? 0 : TranslateErrno(outcome));
}

int TNotificationEndpoint::SendQueued(int, Watch &watch)
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
    if (watch.queue.size() < watch.supersedable)
        watch.supersedable = 0; // begun: it goes whole now
    return error;
}

int TNotificationEndpoint::Send(int socket, const QByteArray &bytes, Sending sending)
{
    Transport &transport = TransportOf(socket);
    if (Watch *watch = FindWatch(socket)) {
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
            if (sending == Sending::Superseding)
                watch->queue.chop(std::exchange(watch->supersedable, 0));
            Enqueue(socket, *watch, bytes);
            watch->supersedable = sending == Sending::Superseding && !watch->broken ? bytes.size() : 0;
            return 0;
        }
    }
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const TransportResult taken = transport.write(bytes.constData() + sent, bytes.size() - sent);
        if (taken.error != 0)
            return taken.error;
        if (taken.wouldBlock) {
            Watch &watch = WatchOf(socket);
            Enqueue(socket, watch, bytes.mid(sent));
            watch.supersedable = sending == Sending::Superseding && sent == 0 && !watch.broken ? bytes.size() : 0;
            return 0;
        }
        sent += taken.bytes;
    }
    return 0;
}

void TNotificationEndpoint::Enqueue(int socket, Watch &watch, const QByteArray &rest)
{
    if (watch.queue.size() + rest.size() <= kSendQueueLimit) {
        watch.queue.append(rest);
        UpdateNotifiers(socket, watch);
        return;
    }
    watch.broken = true;
    watch.queue = QByteArray();
    watch.supersedable = 0;
    UpdateNotifiers(socket, watch);
    QMetaObject::invokeMethod(
        this,
        [this, socket, serial = watch.serial] {
            const Watch *current = FindWatch(socket);
            if (current && current->serial == serial && (current->kinds & SocketEvent::Close))
                Notify(socket, SocketEvent::Close, SocketError::NoBufferSpace);
        },
        Qt::QueuedConnection);
}

void TNotificationEndpoint::SendGathered()
{
    // At the end of the pass: what each connection was sent in it goes in one write.
    for (const auto &[socket, serial] : std::exchange(gathered, {})) {
        Watch *watch = FindWatch(socket);
        if (!watch || watch->serial != serial || !std::exchange(watch->gathering, false))
            continue;
        if (SendQueued(socket, *watch) != 0) {
            watch->queue.clear(); // the peer has gone; the read side reports its close
            watch->supersedable = 0;
        }
        UpdateNotifiers(socket, *watch);
    }
}

void TNotificationEndpoint::FlushBeforeClose(int socket)
{
    Watch *watch = FindWatch(socket);
    if (!watch || watch->queue.isEmpty())
        return;
    SendQueued(socket, *watch);
    watch->queue = QByteArray();
    watch->supersedable = 0;
    UpdateNotifiers(socket, *watch);
}
