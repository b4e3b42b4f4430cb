#pragma once

#include "Transport.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Moves the bytes of joined file connections across, both ways, on a thread
// of its own, so that a transfer's crypto and copies never hold up a chat
// line waiting for the GUI thread. Each connection comes with its transport;
// its socket stays open, and whoever takes the pair back closes it. No more
// than a read's worth waits for either end: the slower end sets the pace.
class FilePump : public QObject {
    Q_OBJECT
public:
    // Read from one end at once: writes this large keep a fast link streaming.
    static constexpr qsizetype kReadAtOnce = 256 * 1024;

    struct End {
        int socket = -1;
        std::unique_ptr<Transport> transport;
        // Bytes read from the other end that have not gone to this one yet.
        QByteArray waiting;
        qsizetype filled = 0;
        qsizetype sent = 0;
        QByteArray unsent() const { return waiting.mid(sent, filled - sent); }
    };
    struct Pair {
        End ends[2];
        bool over = false;
        bool broken = false; // the system found an error or a hang-up on an end
    };

    explicit FilePump(QObject *parent = nullptr);
    // The thread stops; pairs still here are dropped with their transports (takeAll first).
    ~FilePump() override;

    // Starts moving the bytes between the two connections; what each end's
    // `waiting` holds (nothing of `filled` and `sent` yet) goes to it first.
    void add(End first, End second);
    // The pairs whose connection ended (one end closed, or failed), for their owner to close.
    std::vector<Pair> takeEnded();
    // Every pair, ended or not: the thread stops touching them first.
    std::vector<Pair> takeAll();
    // Bytes moved in all.
    qint64 bytesMoved() const { return moved.load(); }

signals:
    // A pair ended; from the pump's thread, so it reaches its receivers queued.
    void pairEnded();

private:
    void run();
    // Moves what waits on each pair both ways, until it would wait; whether
    // either way stopped with more to do.
    bool sweep(Pair &pair);
    bool flow(Pair &pair, End &from, End &to);
    // Sends what waits for the end; false while some of it still waits.
    bool sendWaiting(Pair &pair, End &to);
    void wakeUp();
    void stop();

    std::mutex mutex;
    std::vector<Pair> incoming; // under the mutex
    std::vector<Pair> ended;    // under the mutex
    std::vector<Pair> pairs;    // the thread's own
    std::thread worker;
    int wake = -1;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> moved{0};
};
