#include "ReadPace.h"

#include <algorithm>
#include <cmath>

ReadPace::ReadPace(double linesPerSecond, double burstLines) : perSecond(linesPerSecond), burst(burstLines) {}

ReadPace::Bucket &ReadPace::fill(int socket, qint64 nowMs)
{
    const auto found = buckets.find(socket);
    if (found == buckets.end())
        return *buckets.insert(socket, Bucket{burst, nowMs});
    Bucket &bucket = *found;
    bucket.lines = std::min(burst, bucket.lines + perSecond * double(nowMs - bucket.filledAt) / 1000.0);
    bucket.filledAt = nowMs;
    return bucket;
}

qint64 ReadPace::WaitBeforeReading(int socket, qint64 nowMs)
{
    if (!limits())
        return 0;
    const Bucket &bucket = fill(socket, nowMs);
    if (bucket.lines >= 1)
        return 0;
    return qint64(std::ceil((1 - bucket.lines) * 1000.0 / perSecond));
}

void ReadPace::Count(int socket, int lines, qint64 nowMs)
{
    if (limits())
        fill(socket, nowMs).lines -= lines;
}

void ReadPace::forget(int socket)
{
    buckets.remove(socket);
}
