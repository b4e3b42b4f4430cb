#include "HostRoster.h"

#include "Protocol.h"

#include <algorithm>

void HostRoster::Admit(int socket, const Peer &peer)
{
    peers.removeIf([socket](const auto &entry) { return entry.first == socket; });
    peers.append({socket, peer});
}

HostRoster::Peer HostRoster::PeerOf(int socket) const
{
    const auto found = std::find_if(peers.cbegin(), peers.cend(), [socket](const auto &entry) { return entry.first == socket; });
    return found == peers.cend() ? Peer() : found->second;
}

HostRoster::Entry HostRoster::Register(int socket, const QByteArray &nickname)
{
    const qsizetype nul = nickname.indexOf('\0');
    const QByteArray name = nul < 0 ? nickname : nickname.left(nul);
    const qsizetype row = sockets.indexOf(socket);
    if (row >= 0) {
        names[row] = name;
        return {int(row), false};
    }
    sockets.append(socket);
    names.append(name);
    return {int(names.size() - 1), true};
}

std::optional<int> HostRoster::Remove(int socket)
{
    peers.removeIf([socket](const auto &entry) { return entry.first == socket; });
    const qsizetype row = sockets.indexOf(socket);
    if (row < 0)
        return std::nullopt;
    sockets.removeAt(row);
    names.removeAt(row);
    return int(row);
}

void HostRoster::Clear()
{
    peers.clear();
    sockets.clear();
    names.clear();
}

QByteArray HostRoster::ListText() const
{
    return Protocol::ListMessage(names);
}

QByteArray HostRoster::DepartureText(int row) const
{
    return Protocol::Departure(row, names);
}
