#include "KnownHosts.h"

#include "FileWriting.h"

#include <QDateTime>
#include <QFile>

#include <utility>

namespace {

constexpr qint64 kLongestFile = 1024 * 1024;
constexpr int kFingerprintSize = 32;

} // namespace

KnownHosts::KnownHosts(QString path) : path(std::move(path)) { }

QList<KnownHosts::Line> KnownHosts::Lines() const
{
    QList<Line> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray bytes = file.read(kLongestFile);
    bool damaged = false;
    for (const QByteArray &text : bytes.split('\n')) {
        if (text.trimmed().isEmpty())
            continue;
        Line line;
        line.text = text;
        const QList<QByteArray> fields = text.trimmed().split(' ');
        const qsizetype colon = fields.value(0).lastIndexOf(':');
        bool number = false;
        if (colon > 0) {
            line.host.address = QString::fromLatin1(fields[0].left(colon));
            line.host.port = fields[0].mid(colon + 1).toInt(&number);
        }
        if (!number)
            line.host = Host{};
        if (fields.size() == 2 && number)
            line.host.fingerprint = QByteArray::fromHex(fields[1]);
        line.sound = number && fields.size() == 2 && line.host.fingerprint.size() == kFingerprintSize
                     && fields[1].size() == 2 * kFingerprintSize;
        damaged = damaged || !line.sound;
        lines << line;
    }
    if (damaged && damagedCopy.isEmpty()) {
        damagedCopy =
            path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        WriteWholeFile(damagedCopy, bytes, FileAccess::Private);
    }
    return lines;
}

QList<KnownHosts::Host> KnownHosts::Hosts() const
{
    QList<Host> hosts;
    for (const Line &line : Lines())
        if (line.sound)
            hosts << line.host;
    return hosts;
}

KnownHosts::Pin KnownHosts::PinOf(const QString &address, int port) const
{
    Pin pin;
    for (const Line &line : Lines()) {
        if (line.host.address != address || line.host.port != port)
            continue;
        if (line.sound)
            return Pin{line.host.fingerprint, false};
        pin.damaged = true; // unless a sound line for it follows
    }
    return pin;
}

bool KnownHosts::Remember(const QString &address, int port, const QByteArray &fingerprint)
{
    QList<Line> lines = Lines();
    lines.removeIf([&](const Line &line) { return line.host.address == address && line.host.port == port; });
    lines << Line{Host{address, port, fingerprint}, true, {}};
    return Save(lines);
}

bool KnownHosts::Forget(const QString &address, int port)
{
    QList<Line> lines = Lines();
    const qsizetype removed =
        lines.removeIf([&](const Line &line) { return line.host.address == address && line.host.port == port; });
    return removed == 0 || Save(lines);
}

bool KnownHosts::Save(const QList<Line> &lines) const
{
    KeepPrivate(path);
    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.sound ? line.host.address.toLatin1() + ':' + QByteArray::number(line.host.port) + ' '
                                  + line.host.fingerprint.toHex() + '\n'
                            : line.text + '\n'; // kept as it was, for the user to mend or forget
    return WriteWholeFile(path, bytes, FileAccess::Private);
}
