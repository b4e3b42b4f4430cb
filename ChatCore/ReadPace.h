#pragma once

#include <QHash>
#include <QtGlobal>

#include <optional>

// How fast the host reads each guest: no faster than a person types, with
// room for a burst. A guest that sends faster is read more slowly; what it
// sent waits in the system's buffers, and TCP holds that sender back alone.
// Nothing is dropped. A rate of 0 reads every guest as fast as it sends.
class ReadPace {
public:
    // The rate by default: lines a second, and the burst, in lines.
    static constexpr double kLinesPerSecond = 20;
    static constexpr double kBurstLines = 60;

    ReadPace(double linesPerSecond, double burstLines);

    // How long the connection must wait before its next read at `nowMs`; 0 for not at all.
    qint64 WaitBeforeReading(int socket, qint64 nowMs);
    // The connection's read at `nowMs` brought this many lines.
    void Count(int socket, int lines, qint64 nowMs);
    void forget(int socket);
    void Clear() { buckets.clear(); }
    bool limits() const { return perSecond > 0; }

private:
    struct Bucket {
        double lines = 0;
        qint64 filledAt = 0;
    };
    Bucket &fill(int socket, qint64 nowMs);

    double perSecond;
    double burst;
    // The lines each connection may still send at once.
    QHash<int, Bucket> buckets;
};
