#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What this copy knows of a transfer, kept across restarts so that it goes
// on from where it was: an unfinished one for 7 days from its offer.
struct TransferRecord {
    enum class State {
        Offered,  // the receiver has not answered yet
        Going,    // accepted: it goes whenever both copies are in the chat
        Paused,   // by this copy's user
        Done,
        Failed,
    };
    QString id;
    bool sending = false;
    QByteArray peerKey;
    QString peerName;
    QByteArray offer; // the offer's text
    // Sending: the files on this disk and each one's time (ms since the epoch).
    QStringList sources;
    QList<qint64> modified;
    // Receiving: the folder chosen, and each file's part (or final path) and checked bytes, by index.
    QString folder;
    QHash<int, QPair<QString, qint64>> progress;
    QStringList saved;
    State state = State::Offered;
    QString reason; // why it failed, for people
    qint64 created = 0; // ms since the epoch
    qint64 done = 0;    // bytes checked at the receiver

    bool finished() const { return state == State::Done || state == State::Failed; }
};

// The records in a file of their own (mode 0600), as JSON. Whatever the file
// holds, what is read is only records that are whole and sound; finished
// ones and those older than kKeptForMs are not kept.
namespace TransferStore {

constexpr qint64 kKeptForMs = 7LL * 24 * 60 * 60 * 1000;

QList<TransferRecord> load(const QString &path, qint64 now);
bool save(const QString &path, const QList<TransferRecord> &records);

} // namespace TransferStore
