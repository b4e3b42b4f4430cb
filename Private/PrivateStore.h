#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// What private messages leave behind between two runs, in one file private
// to the user (mode 0600), kept with the history:
// - the outbox: messages written and not yet delivered, in order;
// - the ids of the messages that came, so that none is shown twice when its
//   sender sends it again after a reconnect;
// - the key last seen for each person's name, to tell the user when it changes.
// Outbox entries and ids are kept for 7 days; each change is written at once.
class PrivateStore {
public:
    static constexpr qint64 kKeptForMs = 7LL * 24 * 60 * 60 * 1000;

    struct Waiting {
        QByteArray key; // of the person it goes to
        QString name;   // as they were called when it was written
        QString id;
        QString text;
        QDateTime written;
        QByteArray host; // the key of the chat's host when it was written; it goes only through that host
    };

    // An empty path keeps nothing between runs.
    explicit PrivateStore(QString path);

    const QList<Waiting> &outbox() const { return waiting; }
    void add(const Waiting &message);
    // The message was delivered: it waits no more. False when it was not waiting.
    bool remove(const QString &id);

    // The message came before: it is not shown again. Marks it as come.
    bool cameBefore(const QByteArray &key, const QString &id);

    // The key this name was last seen with; empty for a name never seen.
    QByteArray knownKey(const QString &name) const { return keys.value(name); }
    void knowKey(const QString &name, const QByteArray &key);

private:
    void load();
    void save() const;

    QString path;
    QList<Waiting> waiting;
    // Ids of messages that came, by "key-hex id", with when they came.
    QHash<QByteArray, qint64> came;
    QHash<QString, QByteArray> keys;
};
