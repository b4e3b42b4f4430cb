#pragma once

#include "Transport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>
#include <utility>

class QSocketNotifier;

// The kinds of readiness a socket reports. Write is our own: it drives the
// send queue and never reaches the socket objects' owners.
namespace SocketEvent {
constexpr int Read = 1;
constexpr int Write = 2;
constexpr int Accept = 8;
constexpr int Connect = 16;
constexpr int Close = 32;
// An accepted connection's opening exchange has ended well: it can be used.
constexpr int Opened = 64;
// What was queued for the socket has gone, as its owner asked to hear: it can take more.
constexpr int Drained = 128;
} // namespace SocketEvent

// Watches the sockets of one socket object on the GUI event loop and delivers
// (socket, kind, error) notifications to it, one at a time:
// - read: data is waiting. It is not repeated until the owner reads again
//   (Rearm), and data that came before the peer's close is offered first;
// - close: the peer finished (error 0) or the connection failed (its error);
// - accept: a connection waits on a listening socket; again after Rearm;
// - connect: an attempt ended, its error being the attempt's outcome;
// - drained: what was queued for the socket has gone, once the owner asked
//   to hear it (tellWhenDrained): a sender can stream without piling up.
// Cancelling (select with no kinds) takes effect at once.
//
// A pass of the event loop spends at most a few milliseconds on reads, so
// that timers and painting keep their turn under a flood. The sockets put
// off are read first in the next passes, in the order they became ready:
// no connection waits behind the others for long.
//
// Each connection's bytes go through its transport (plain unless another is
// attached), for reads, peeks, sends and the shutdown alike.
//
// The endpoint also owns each socket's send queue: what the socket does not
// take at once is sent, in order, when it becomes writable. A queue that
// would grow past kSendQueueLimit marks the connection broken: its queue is
// dropped, later texts for it are dropped, and a close notification with
// "No buffer space available" follows from the event loop.
class TNotificationEndpoint final : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(int socket, int kind, int error)>;

    static constexpr qsizetype kSendQueueLimit = 1024 * 1024;
    // A connection whose opening exchange (a handshake) has not ended this
    // long after it began is closed, as a connection attempt that is never
    // answered would be.
    static constexpr int kLongestOpeningMs = 10000;
    // While the peer may be waiting for its user (reading a key's
    // fingerprint aloud, typing a password), the opening waits this long.
    static constexpr int kLongestWaitForPeersUserMs = 5 * 60 * 1000;

    explicit TNotificationEndpoint(Deliver deliver, QObject *parent = nullptr);
    ~TNotificationEndpoint() override;

    // Chooses the kinds of notification the socket delivers; 0 cancels them all.
    // The socket is non-blocking from then on. Gives 0 or an error number.
    int select(int socket, int kinds);
    // The owner has read from, or accepted on, the socket: watch it again.
    void rearm(int socket);
    // As Rearm, after a pause: for a listening socket whose accept failed for
    // want of resources, which would otherwise be reported again at once.
    void rearmLater(int socket, int milliseconds);
    // From now on the socket's bytes go through this transport. Its
    // handshake, then the peers' own opening if there is one, begin once the
    // socket is connected: the connect notification comes when they have
    // ended. An accepted socket delivers nothing before then; an opening that
    // did not end at once ends with an opened or a close notification.
    void attach(int socket, ConnectionLayers layers);
    // Where the socket's opening stands: Done, Failed, or still on its way.
    Opening openingOf(int socket) const;
    // Why the socket's opening failed, for the user; empty when the error's own text says it.
    QString failureText(int socket) const;
    // How texts cross the socket, once it is open.
    Framing framingOf(int socket) const;
    // The key the peer proved as the socket opened; empty for none.
    QByteArray peerKeyOf(int socket) const;
    // Reads what waits on the socket, up to `size` bytes, and watches it again.
    TransportResult receive(int socket, char *into, qsizetype size, bool peek = false);
    // How many bytes a read of the socket could take now.
    qsizetype bytesWaiting(int socket) { return transportOf(socket).bytesWaiting(); }
    // Reads and drops what waits on the socket, up to `limit` bytes.
    void drain(int socket, char *buffer, qsizetype size, qsizetype limit);
    // Sends the bytes after whatever is queued for the socket; queues what the
    // socket does not take now. Bytes for a framed connection wait for the
    // end of the pass, to go out with the others in one write. Gives 0 or the
    // error number of a failed send.
    int send(int socket, const QByteArray &bytes);
    // The peer has not taken what it was sent: bytes wait for its readiness,
    // not only for the end of this pass.
    bool isBackedUp(int socket) const;
    // Delivers a drained notification once nothing waits to go to the socket.
    void tellWhenDrained(int socket);
    // Ends our sending on the socket. Gives 0 or an error number.
    int shutdownSending(int socket);
    // One last try to send what is queued for the socket; the rest is dropped.
    void flushBeforeClose(int socket);
    // Drops everything known of the socket; called right before it is closed.
    void forget(int socket);
    // Takes an open connection out of the event loop, for another thread to
    // move its bytes: its transport, and what was queued for it, go to the
    // caller, and the socket stays open.
    std::unique_ptr<Transport> release(int socket, QByteArray &queued);
    // Watches a connection released earlier again, with its transport and
    // what waits to go to it, without notifications: for its graceful close.
    void takeBack(int socket, std::unique_ptr<Transport> transport, const QByteArray &queued);

    qsizetype queuedBytes(int socket) const;

    // A notification is being delivered: the owner's handler is running.
    bool delivering() const { return deliveries > 0; }
    // The owner is going while its handler runs: forget every socket and
    // deliver nothing more. The owner then deletes this endpoint later, once
    // the delivery has unwound.
    void retire();

private:
    struct Watch;

    Watch &watchOf(int socket);
    Watch *findWatch(int socket) const;
    // The socket's transport; plain for a socket that has none attached.
    Transport &transportOf(int socket);
    QSocketNotifier *makeNotifier(int socket, int type);
    void updateNotifiers(int socket, Watch &watch);
    void readyToRead(int socket);
    void offer(int socket, Watch &watch);
    void putOffRead(int socket, Watch &watch);
    void scheduleReadingPutOff();
    void readPutOffSockets();
    void readyToWrite(int socket);
    void connectEnded(int socket, Watch &watch);
    void beginOpening(int socket, Watch &watch, bool endsConnect);
    // The opening's time is up: it is ended, or given more while the peer may wait for its user.
    void openingTimeIsUp(int socket, quint64 serial);
    // True while the opening still waits; after it ends, the watch may be gone.
    bool driveOpening(int socket, Watch &watch);
    void endOpening(int socket, Watch &watch, int error);
    int sendQueued(int socket, Watch &watch);
    void enqueue(int socket, Watch &watch, const QByteArray &rest);
    // Writes what the connections that gather their writes were sent in this pass.
    void sendGathered();
    void tellIfDrained(int socket, Watch &watch);
    static void discard(QSocketNotifier *&notifier);
    void notify(int socket, int kind, int error);
    // True once this pass of the event loop has spent its time on reads.
    bool passIsSpent();

    Deliver deliver;
    int deliveries = 0;
    std::unordered_map<int, std::unique_ptr<Watch>> watches;
    quint64 nextSerial = 1;
    // Since the first read of this pass of the event loop.
    QElapsedTimer pass;
    // Sockets with data whose reads wait for a later pass, oldest first,
    // each with the serial of its watch.
    std::deque<std::pair<int, quint64>> putOffReads;
    bool readingPutOffScheduled = false;
    // Sockets with gathered texts to write at the end of this pass, each with
    // the serial of its watch.
    std::vector<std::pair<int, quint64>> gathered;
    // The transport of a socket that is not watched.
    std::unique_ptr<Transport> unwatched;
};
