#pragma once

#include "ReadPace.h"

// What tests and benchmarks may tune of a chat beyond its setup. The
// program's main reads it from the environment; nothing else does.
struct ChatTuning {
    // Lines a second the host reads of each guest, with a burst of three
    // seconds' worth; 0 reads every guest as fast as it sends.
    double guestLinesPerSecond = ReadPace::kLinesPerSecond;
    // How long a link may be quiet before it is probed; the other dead-link
    // times follow in proportion. 0 for the usual 10 s.
    int keepaliveIdleSeconds = 0;

    ReadPace pace() const { return ReadPace(guestLinesPerSecond, 3 * guestLinesPerSecond); }
    // VANU_GUEST_LINES_PER_SECOND and VANU_KEEPALIVE_IDLE_SECONDS, where set.
    static ChatTuning fromEnvironment();
};
