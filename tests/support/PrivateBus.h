#pragma once

#include <QDBusConnection>
#include <QProcess>

// A session bus of the test's own: a dbus-daemon that ends with the object.
// IsUp() is false where no dbus-daemon can be started.
class PrivateBus {
public:
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (daemon.waitForStarted() && daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        daemon.terminate();
        daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool IsUp() const { return !address.isEmpty(); }
    // A connection of its own to the bus, under a name unique in the process.
    QDBusConnection Connect(const QString &name) const { return QDBusConnection::connectToBus(address, name); }

    QString address;

private:
    QProcess daemon;
};
