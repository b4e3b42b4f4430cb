#pragma once

#include "LanDiscovery.h"

#include <optional>

// Tells the network about the chat this copy hosts: announced once it
// listens, brought up to date when the host becomes busy or free, withdrawn
// when host mode ends.
class HostAnnouncer {
public:
    explicit HostAnnouncer(LanDiscovery &discovery) : discovery(discovery) {}

    void HostListening(const QString &nickname, quint16 port, bool busy);
    void BusyChanged(bool busy);
    void HostClosed();
    // The host offers secure chat too: the announcement says where, and under which key.
    void SecureOffered(quint16 securePort, const QString &fingerprint);

private:
    LanDiscovery &discovery;
    // What is announced now; nothing while no chat is hosted.
    std::optional<HostAnnouncement> announced;
};
