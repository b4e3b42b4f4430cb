#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The host's participants: for each admitted connection where it came from,
// and, once it has registered, its name and its place in the participant
// list. The list text and the departure text are made from here. It has no
// widget: the friends window's list mirrors it.
class HostRoster {
public:
    struct Peer {
        QString address;
        QString port;
    };
    // Where a registration put its name.
    struct Entry {
        int row = -1;
        bool added = false; // a new entry, not a rename
    };

    // A connection is taken in, from this address and port, as they were when it was accepted.
    void Admit(int socket, const Peer &peer);
    // Where an admitted connection came from; empty texts for one that is not.
    Peer PeerOf(int socket) const;
    // The connection registers `nickname`; a NUL ends it. One entry per
    // connection: a second registration renames it in place.
    Entry Register(int socket, const QByteArray &nickname);
    // The connection has gone: forgets it. Gives the row its entry had, if it registered.
    std::optional<int> Remove(int socket);
    void Clear();

    // The registered names, in order of registration.
    const QList<QByteArray> &Names() const { return names; }
    // What every guest is sent: the whole list, or the list after a departure from `row`.
    QByteArray ListText() const;
    QByteArray DepartureText(int row) const;

private:
    QList<std::pair<int, Peer>> peers;
    // For each name, the connection that registered it.
    QList<int> sockets;
    QList<QByteArray> names;
};
