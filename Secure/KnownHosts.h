#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The hosts a guest has reached securely, each by its address and chat port,
// with the fingerprint of the key it showed the first time: a host that
// shows another key later, or answers only in the clear, is not joined.
// Kept in a file of lines "ADDRESS:PORT HEX-FINGERPRINT".
//
// A line that does not read as one is damaged. It is kept as it is when the
// file is written again, the file as it was is copied aside the first time,
// and a host whose line is damaged is never taken for a host met first now:
// it may be someone playing it.
class KnownHosts {
public:
    struct Host {
        QString address;
        int port = 0;
        QByteArray fingerprint;
    };

    explicit KnownHosts(QString path);

    // What is kept for a host: its fingerprint (empty for a host not known),
    // or that its line is there but damaged.
    struct Pin {
        QByteArray fingerprint;
        bool damaged = false;
    };
    Pin PinOf(const QString &address, int port) const;
    // Empty for a host not known.
    QByteArray FingerprintOf(const QString &address, int port) const { return PinOf(address, port).fingerprint; }
    QList<Host> Hosts() const;
    // Where the file was copied aside as it was found damaged; empty until then.
    QString DamagedCopy() const { return damagedCopy; }
    // Remembers the host's key; false when the file cannot be written.
    bool Remember(const QString &address, int port, const QByteArray &fingerprint);
    bool Forget(const QString &address, int port);

    QString Path() const { return path; }

private:
    struct Line {
        Host host; // its address and port may be known when the line is damaged
        bool sound = false;
        QByteArray text;
    };
    QList<Line> Lines() const;
    bool Save(const QList<Line> &lines) const;

    QString path;
    mutable QString damagedCopy;
};
