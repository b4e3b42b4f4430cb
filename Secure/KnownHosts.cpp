#include "KnownHosts.h"

#include "FileWriting.h"

#include <QFile>

#include <utility>

namespace {

constexpr qint64 kLongestFile = 1024 * 1024;
constexpr int kFingerprintSize = 32;

} // namespace

KnownHosts::KnownHosts(QString path) : path(std::move(path)) { }

QList<KnownHosts::Host> KnownHosts::Hosts() const
{
    QList<Host> hosts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return hosts;
    // A line that is not sound is passed over: the file is ours, but the user may edit it.
    for (const QByteArray &line : file.read(kLongestFile).split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        const qsizetype colon = fields.value(0).lastIndexOf(':');
        if (fields.size() != 2 || colon <= 0)
            continue;
        Host host;
        host.address = QString::fromLatin1(fields[0].left(colon));
        bool number = false;
        host.port = fields[0].mid(colon + 1).toInt(&number);
        host.fingerprint = QByteArray::fromHex(fields[1]);
        if (number && host.fingerprint.size() == kFingerprintSize)
            hosts << host;
    }
    return hosts;
}

QByteArray KnownHosts::FingerprintOf(const QString &address, int port) const
{
    for (const Host &host : Hosts())
        if (host.address == address && host.port == port)
            return host.fingerprint;
    return {};
}

bool KnownHosts::Remember(const QString &address, int port, const QByteArray &fingerprint)
{
    QList<Host> hosts = Hosts();
    hosts.removeIf([&](const Host &host) { return host.address == address && host.port == port; });
    hosts << Host{address, port, fingerprint};
    return Save(hosts);
}

bool KnownHosts::Forget(const QString &address, int port)
{
    QList<Host> hosts = Hosts();
    const qsizetype removed = hosts.removeIf([&](const Host &host) { return host.address == address && host.port == port; });
    return removed == 0 || Save(hosts);
}

bool KnownHosts::Save(const QList<Host> &hosts) const
{
    MakeFolderFor(path);
    QByteArray bytes;
    for (const Host &host : hosts)
        bytes += host.address.toLatin1() + ':' + QByteArray::number(host.port) + ' ' + host.fingerprint.toHex() + '\n';
    return WriteWholeFile(path, bytes);
}
