#pragma once

#include <QStringList>

class TTCPClient;
class TTCPServer;

// Records what a socket object reports, in order: "accept", "connect",
// "data", "close", "drained" and "error 10061 Connection refused". The handlers it sets
// only record; a test replaces one where it must act inside the event.
class SocketEventLog {
public:
    QStringList events;
    QList<int> sockets; // the socket each event named (-1 for errors)

    void Attach(TTCPServer &server);
    void Attach(TTCPClient &client);
    int Count(const QString &event) const { return int(events.count(event)); }
    void Record(const QString &event, int socket = -1);
};
