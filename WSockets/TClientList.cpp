#include "TClientList.h"

#include "RuntimeErrors.h"

bool TClientList::Add(int socket)
{
    sockets.append(socket);
    return true;
}

void TClientList::Remove(int socket)
{
    sockets.removeOne(socket);
}

void TClientList::Clear()
{
    sockets.clear();
}

int TClientList::Count() const
{
    return int(sockets.size());
}

int TClientList::Items(int index) const
{
    if (index < 0 || index >= sockets.size())
        throw EListError(index);
    return sockets[index];
}

int TClientList::IndexOf(int socket) const
{
    return int(sockets.indexOf(socket));
}
