#pragma once

#include <QList>

// The server's accepted sockets, in the order they were accepted. It does not
// own the sockets and does not check for duplicates.
class TClientList {
public:
    ~TClientList() { Clear(); }

    bool Add(int socket);
    // Deletes the first entry equal to the socket, if there is one.
    void Remove(int socket);
    void Clear();
    int Count() const;
    // The entry at a position from 0; any other position throws EListError.
    int Items(int index) const;
    int IndexOf(int socket) const;

private:
    QList<int> sockets;
};
