#pragma once

#include <QString>
#include <QStringList>

// The address this machine is reached at, as dotted text: the last address
// the resolver gives for the machine's own name that is not a loopback
// address; failing that, the last of the machine's up, non-loopback IPv4
// interface addresses; 127.0.0.1 when there is none. (On Linux the own name
// often resolves to 127.0.1.1 alone, which no guest could use.)
QString LocalAddress();

// The choice itself, from the two lists in their order.
QString ChooseLocalAddress(const QStringList &resolved, const QStringList &interfaces);
