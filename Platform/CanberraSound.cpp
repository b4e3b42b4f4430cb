#include "CanberraSound.h"

#include <QApplication>

#include <canberra.h>

#include <chrono>

namespace {
// Long enough for any theme's mail sound; the GUI thread waits no longer.
constexpr auto kLongestSound = std::chrono::seconds(4);
}

CanberraSound::CanberraSound()
{
    if (ca_context_create(&context) != CA_SUCCESS)
        context = nullptr;
}

CanberraSound::~CanberraSound()
{
    if (context)
        ca_context_destroy(context);
}

void CanberraSound::PlayMailBeep()
{
    if (PlayToEnd("message-new-email") || PlayToEnd("message-new-instant"))
        return;
    QApplication::beep();
}

void CanberraSound::Finished(ca_context *, unsigned id, int result, void *self)
{
    auto *sound = static_cast<CanberraSound *>(self);
    {
        std::lock_guard lock(sound->mutex);
        sound->finishedPlayId = id;
        sound->finishedResult = result;
    }
    sound->finishedChanged.notify_all();
}

bool CanberraSound::PlayToEnd(const char *eventId)
{
    if (!context)
        return false;
    ca_proplist *properties = nullptr;
    if (ca_proplist_create(&properties) != CA_SUCCESS)
        return false;
    ca_proplist_sets(properties, CA_PROP_EVENT_ID, eventId);
    const unsigned playId = nextPlayId++;
    const int started = ca_context_play_full(context, playId, properties, &CanberraSound::Finished, this);
    ca_proplist_destroy(properties);
    if (started != CA_SUCCESS)
        return false;

    std::unique_lock lock(mutex);
    const bool ended = finishedChanged.wait_for(lock, kLongestSound,
                                                [&] { return finishedPlayId == playId; });
    if (!ended) {
        lock.unlock();
        ca_context_cancel(context, playId);
        return true; // it was playing; a sound that long is cut short, not replaced
    }
    return finishedResult == CA_SUCCESS;
}
