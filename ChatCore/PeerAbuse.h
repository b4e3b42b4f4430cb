#pragma once

#include <chrono>

// Counts what a peer does that an honest one does rarely or never (a key
// update, an empty frame): more than `most` in one period is taken for abuse,
// and the connection is ended. Each period starts with the first event in it.
class PeerAbuse {
public:
    using Clock = std::chrono::steady_clock;

    PeerAbuse(int most, Clock::duration period) : most(most), period(period) { }

    // Counts `events` at `now`; whether the peer is still within bounds.
    bool Count(long long events, Clock::time_point now = Clock::now())
    {
        if (events <= 0)
            return count <= most;
        if (count == 0 || now - started >= period) {
            started = now;
            count = 0;
        }
        count += events;
        return count <= most;
    }

private:
    long long most;
    Clock::duration period;
    Clock::time_point started;
    long long count = 0;
};
