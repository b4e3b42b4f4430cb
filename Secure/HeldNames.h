#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The names the host holds for the keys that used them: for 30 days after a
// key was last seen under a name, nobody else may take that name (or one
// that looks like it). Kept, private to the user, in one file: a line for
// each name, "fingerprint-hex last-seen-ms name".
class HeldNames {
public:
    static constexpr qint64 kHeldForMs = 30LL * 24 * 60 * 60 * 1000;

    struct Held {
        QString name;
        QByteArray key;
        qint64 lastSeenMs = 0;
    };

    explicit HeldNames(QString path);

    // Whether names are held at all; when not, nothing is refused or kept.
    bool isHolding() const { return holding; }
    void setHolding(bool on) { holding = on; }

    // The name is held, at `nowMs`, by a key other than `key`: by any key,
    // for a guest that proved none.
    bool heldByAnother(const QString &name, const QByteArray &key, qint64 nowMs) const;
    // The key was seen under the name: it holds it for the next 30 days.
    void seen(const QString &name, const QByteArray &key, qint64 nowMs);
    // The names held at `nowMs`, the most recently seen first.
    QList<Held> held(qint64 nowMs) const;
    // The name is free again.
    void release(const QString &name);

private:
    QList<Held> load() const;
    void save(const QList<Held> &entries) const;

    QString path;
    bool holding = true;
};
