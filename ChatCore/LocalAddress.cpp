#include "LocalAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <unistd.h>

namespace {

bool IsLoopback(const QString &address)
{
    return address.startsWith(QLatin1String("127."));
}

QString LastUsable(const QStringList &addresses)
{
    for (qsizetype at = addresses.size() - 1; at >= 0; --at)
        if (!IsLoopback(addresses[at]))
            return addresses[at];
    return {};
}

QString Dotted(const in_addr &address)
{
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address, text, sizeof text) ? QString::fromLatin1(text) : QString();
}

QStringList ResolvedOwnName()
{
    char name[64] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *entries = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &entries) != 0)
        return {};
    QStringList addresses;
    for (const addrinfo *entry = entries; entry; entry = entry->ai_next)
        addresses << Dotted(reinterpret_cast<const sockaddr_in *>(entry->ai_addr)->sin_addr);
    freeaddrinfo(entries);
    return addresses;
}

QStringList InterfaceAddresses()
{
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return {};
    QStringList addresses;
    for (const ifaddrs *entry = interfaces; entry; entry = entry->ifa_next)
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET && (entry->ifa_flags & IFF_UP))
            addresses << Dotted(reinterpret_cast<const sockaddr_in *>(entry->ifa_addr)->sin_addr);
    freeifaddrs(interfaces);
    return addresses;
}

} // namespace

QString ChooseLocalAddress(const QStringList &resolved, const QStringList &interfaces)
{
    const QString fromResolver = LastUsable(resolved);
    const QString chosen = fromResolver.isEmpty() ? LastUsable(interfaces) : fromResolver;
    // A machine with no network but loopback is still reached there, by
    // copies on the same machine.
    return chosen.isEmpty() ? QStringLiteral("127.0.0.1") : chosen;
}

QString LocalAddress()
{
    return ChooseLocalAddress(ResolvedOwnName(), InterfaceAddresses());
}
