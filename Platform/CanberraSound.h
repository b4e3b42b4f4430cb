#pragma once

#include "Sound.h"

#include <condition_variable>
#include <mutex>

struct ca_context;

// Plays the freedesktop sound theme's mail sound through libcanberra and waits
// for it to end, at most a few seconds. With no sound device nothing is heard
// and nothing is reported.
class CanberraSound final : public Sound {
public:
    CanberraSound();
    ~CanberraSound() override;
    CanberraSound(const CanberraSound &) = delete;
    CanberraSound &operator=(const CanberraSound &) = delete;

    void PlayMailBeep() override;

private:
    bool PlayToEnd(const char *eventId);
    static void Finished(ca_context *context, unsigned id, int result, void *self);

    ca_context *context = nullptr;
    std::mutex mutex;
    std::condition_variable finishedChanged;
    unsigned nextPlayId = 1;
    unsigned finishedPlayId = 0;
    int finishedResult = 0;
};
