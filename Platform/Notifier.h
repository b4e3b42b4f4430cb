#pragma once

#include <QString>

#include <functional>

// Desktop notifications: news told while the user is not looking at the main
// window. News that comes in a burst is merged into the one notification on
// show, with the newest lines and a count, until the user has seen it.
class Notifier {
public:
    virtual ~Notifier() = default;

    // Tells one piece of news. False when no notification service is there,
    // so that the caller can tell it another way.
    virtual bool Tell(const QString &news) = 0;
    // The user has seen everything (the main window is active again): the
    // notification goes, and the next news starts a new one.
    virtual void Forget() = 0;

    // The user picked the notification: the main window is to come forward.
    std::function<void()> onActivated;
};
