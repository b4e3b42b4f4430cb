#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The hosts a guest has reached securely, each by its address and chat port,
// with the fingerprint of the key it showed the first time: a host that
// shows another key later, or answers only in the clear, is not joined.
// Kept in a file of lines "ADDRESS:PORT HEX-FINGERPRINT".
class KnownHosts {
public:
    struct Host {
        QString address;
        int port = 0;
        QByteArray fingerprint;
    };

    explicit KnownHosts(QString path);

    // Empty for a host not known.
    QByteArray FingerprintOf(const QString &address, int port) const;
    QList<Host> Hosts() const;
    // Remembers the host's key; false when the file cannot be written.
    bool Remember(const QString &address, int port, const QByteArray &fingerprint);
    bool Forget(const QString &address, int port);

    QString Path() const { return path; }

private:
    bool Save(const QList<Host> &hosts) const;

    QString path;
};
