#pragma once

#include "FileRelay.h"
#include "TlsTransport.h"
#include "TransferStore.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>

class FileLink;
class HostIdentity;
class PrivateChat;

// Every transfer of this copy, without a window. The sender's copy offers
// files on the private channel; the receiver's answers there too, with one
// of these lines (frame kind fileoffer, like the offer itself):
//   "come T"       this end of transfer T is on its way: open yours
//   "decline T W"  the offer is declined, for the reason W
//   "cancel T W"   the transfer ends, for the reason W
//   "paused T"     this end is paused by its user: wait for its "come"
// Each transfer's stream then goes over file connections (see FileLink),
// through the host's relay or straight to the host. A transfer that breaks
// (a lost link, the host or either copy restarting) goes on by itself from
// the last checked block once both copies are in the chat again: the
// receiver asks for it, and after a failed try asks again a little later.
class FileTransfers : public QObject {
    Q_OBJECT
public:
    // At most this many offers from one person wait for an answer; more are declined.
    static constexpr int kMostWaitingOffers = 20;
    static constexpr int kRetryMs = 10'000;

    struct Item : TransferRecord {
        qint64 total = 0;
        int files = 0;
        QStringList names;   // the offer's paths
        double speed = 0;    // bytes a second, while it goes
        bool connected = false;
        QString note;        // what it waits for, for people
    };

    FileTransfers(const HostIdentity *identity, PrivateChat &chat, QString storePath, QObject *parent = nullptr);
    ~FileTransfers() override;

    // How this copy reaches the others. Hosting: the guests' ends that name
    // the host come through the relay. A guest: the host's secure port, at that moment.
    void setRelay(FileRelay *relay, std::function<QString()> hostName);
    void setHostAddress(std::function<QPair<QString, quint16>()> address) { hostAddress = std::move(address); }

    // Offers files and folders to the person of that key: they are read
    // (for their hashes) on a thread of their own, then offered.
    void send(const QByteArray &key, const QString &name, const QStringList &paths);
    // Accepts an offer into the folder; gives why not (no room, say), or nothing.
    QString accept(const QString &id, const QString &folder);
    void decline(const QString &id);
    void pause(const QString &id);
    void resume(const QString &id);
    void cancel(const QString &id);

    // The folder an offer from the person of that key is accepted into without asking; empty: ask.
    void acceptWithoutAsking(std::function<QString(const QByteArray &key)> folderFor) { autoFolder = std::move(folderFor); }

    QStringList ids() const;
    const Item *item(const QString &id) const;
    // Malformed or unasked frames about files that were dropped.
    int droppedCount() const { return dropped; }

signals:
    void added(const QString &id);
    void changed(const QString &id);
    // Offers came from that person: how many at once, with how many files and bytes.
    void offersCame(const QByteArray &key, const QString &name, int offers, int files, qint64 bytes);
    // Done or failed: item() tells which and why.
    void ended(const QString &id);
    // Files that could not be offered, and why.
    void notOffered(const QString &why);

private:
    struct Running;
    void fileFrame(const QByteArray &key, const QString &name, const QByteArray &body);
    void offerCame(const QByteArray &key, const QString &name, const QByteArray &body);
    void answerCame(const QByteArray &key, const QList<QByteArray> &words, const QString &why);
    void offerPrepared(const QByteArray &key, const QString &name, const QByteArray &offer, const QStringList &sources,
                       const QList<qint64> &modified);
    void tell(const Item &item, const QByteArray &line);
    void startEnd(Item &item);
    void run(Item &item, std::unique_ptr<FileLink> link);
    void hostEndCame(int socket, const FileRelay::HostEnd &end);
    void streamMoved(const QString &id);
    void linkEnded(const QString &id, const QString &why, bool refused);
    void finish(Item &item, bool succeeded, const QString &reason, bool tellPeer);
    void stopRunning(const QString &id);
    // A running receiver's parts and saved files, into its item.
    void takeProgress(const QString &id);
    void retry();
    void peopleChanged();
    bool peerHere(const Item &item) const;
    bool hosting() const;
    Item *find(const QString &id);
    void add(Item item);
    void save();

    const HostIdentity *identity;
    PrivateChat &chat;
    QString storePath;
    FileRelay *relay = nullptr;
    std::function<QPair<QString, quint16>()> hostAddress;
    std::function<QString(const QByteArray &key)> autoFolder;
    SslContext fileContext{nullptr, nullptr};
    std::deque<Item> items; // an item stays where it is while others come
    std::map<QString, std::unique_ptr<Running>> running;
    QHash<QString, qint64> nextTry; // by id: when the receiver asks again
    QTimer ticks;
    QElapsedTimer clock;
    // Offers that came in one go, told once.
    QHash<QByteArray, QList<QString>> offersToTell;
    int dropped = 0;
};
