#include "HostAnnouncer.h"

void HostAnnouncer::HostListening(const QString &nickname, quint16 port, bool busy)
{
    announced = HostAnnouncement{nickname, port, busy, 0, {}};
    discovery.Announce(*announced);
}

void HostAnnouncer::BusyChanged(bool busy)
{
    if (!announced)
        return; // told with the announcement, once the host listens
    announced->busy = busy;
    discovery.Announce(*announced);
}

void HostAnnouncer::SecureOffered(quint16 securePort, const QString &fingerprint)
{
    if (!announced)
        return;
    announced->securePort = securePort;
    announced->fingerprint = fingerprint;
    discovery.Announce(*announced);
}

void HostAnnouncer::HostClosed()
{
    announced.reset();
    discovery.Withdraw();
}
