#include "FileTransfers.h"

#include "FileLink.h"
#include "FileOffer.h"
#include "HostIdentity.h"
#include "PartFile.h"
#include "PrivateChat.h"
#include "TTCPServer.h"
#include "Transfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <limits>

namespace {

constexpr int kTickMs = 1000;

qint64 Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

// What goes while a transfer's connection is open: the connection and the
// side of the stream this copy plays.
struct FileTransfers::Running {
    std::unique_ptr<FileLink> link;
    std::unique_ptr<Transfer::Sender> sender;
    std::unique_ptr<Transfer::Receiver> receiver;
    int hostSocket = -1;
    qint64 lastDone = 0;

    const Transfer::Outcome &outcome() const { return sender ? sender->outcome() : receiver->outcome(); }
};

FileTransfers::FileTransfers(const HostIdentity *identity, PrivateChat &chat, QString storePath, QObject *parent)
    : QObject(parent), identity(identity), chat(chat), storePath(std::move(storePath))
{
    if (identity)
        fileContext = FileContext(*identity);
    for (const TransferRecord &record : TransferStore::load(this->storePath, Now()))
    {
        Item item;
        static_cast<TransferRecord &>(item) = record;
        add(item);
    }
    connect(&chat, &PrivateChat::filesOffered, this, &FileTransfers::fileFrame);
    connect(&chat, &PrivateChat::peopleChanged, this, &FileTransfers::peopleChanged);
    clock.start();
    ticks.setInterval(kTickMs);
    connect(&ticks, &QTimer::timeout, this, [this] {
        for (auto &[id, run] : running) {
            Item *item = find(id);
            if (!item)
                continue;
            const double seconds = kTickMs / 1000.0;
            item->speed = 0.6 * item->speed + 0.4 * double(std::max<qint64>(0, item->done - run->lastDone)) / seconds;
            run->lastDone = item->done;
            emit changed(id);
        }
        save();
        retry();
    });
    ticks.start();
}

FileTransfers::~FileTransfers()
{
    save();
    running.clear();
}

void FileTransfers::add(Item item)
{
    const std::optional<FileOffer> offer = FileOffer::fromText(item.offer);
    if (!offer)
        return;
    item.total = offer->totalSize();
    item.files = offer->fileCount();
    for (const FileOffer::File &file : offer->files)
        item.names << file.path.join(QLatin1Char('/'));
    const QString id = item.id;
    items.push_back(item);
    emit added(id);
}

FileTransfers::Item *FileTransfers::find(const QString &id)
{
    const auto found = std::find_if(items.begin(), items.end(), [&id](const Item &item) { return item.id == id; });
    return found == items.end() ? nullptr : &*found;
}

const FileTransfers::Item *FileTransfers::item(const QString &id) const
{
    return const_cast<FileTransfers *>(this)->find(id);
}

QStringList FileTransfers::ids() const
{
    QStringList all;
    for (const Item &item : items)
        all << item.id;
    return all;
}

void FileTransfers::takeProgress(const QString &id)
{
    const auto found = running.find(id);
    Item *item = find(id);
    if (found == running.end() || !item || !found->second->receiver)
        return;
    item->progress = found->second->receiver->progress();
    item->saved = found->second->receiver->saved();
}

void FileTransfers::save()
{
    // Taken here, not as each file comes: a copy held meanwhile would be copied whole at the receiver's next change.
    for (const auto &[id, run] : running)
        takeProgress(id);
    const QList<TransferRecord> records(items.cbegin(), items.cend());
    TransferStore::save(storePath, records);
}

bool FileTransfers::hosting() const
{
    return relay && !chat.ownKey().isEmpty() && chat.hostKey() == chat.ownKey();
}

bool FileTransfers::peerHere(const Item &item) const
{
    return chat.personWithKey(item.peerKey) != nullptr;
}

void FileTransfers::setRelay(FileRelay *given, std::function<QString()> hostName)
{
    if (relay)
        relay->disconnect(this);
    relay = given;
    if (!relay)
        return;
    relay->handHostEnds(std::move(hostName));
    connect(relay, &FileRelay::hostEnd, this, &FileTransfers::hostEndCame);
    const auto byHostSocket = [this](int socket) -> Running * {
        for (auto &[id, run] : running)
            if (run->hostSocket == socket)
                return run.get();
        return nullptr;
    };
    connect(relay, &FileRelay::hostEndReadable, this, [byHostSocket](int socket) {
        if (Running *run = byHostSocket(socket))
            run->link->readable();
    });
    connect(relay, &FileRelay::hostEndDrained, this, [byHostSocket](int socket) {
        if (Running *run = byHostSocket(socket))
            run->link->drained();
    });
    connect(relay, &FileRelay::hostEndClosed, this, [this](int socket) {
        for (auto &[id, run] : running)
            if (run->hostSocket == socket) {
                run->hostSocket = -1;
                linkEnded(id, tr("The file connection ended."), false);
                return;
            }
    });
}

// ---- Offering ----

void FileTransfers::send(const QByteArray &key, const QString &name, const QStringList &paths)
{
    struct Result {
        std::optional<Transfer::Sender::Prepared> prepared;
        QString error;
    };
    auto result = std::make_shared<Result>();
    QThread *reading = QThread::create([result, paths] { result->prepared = Transfer::Sender::prepare(paths, result->error); });
    connect(reading, &QThread::finished, this, [this, result, key, name] {
        if (!result->prepared) {
            emit notOffered(result->error);
            return;
        }
        QList<qint64> modified;
        QStringList sources;
        for (const Transfer::Sender::Source &source : result->prepared->sources) {
            sources << source.path;
            modified << source.modified.toMSecsSinceEpoch();
        }
        offerPrepared(key, name, result->prepared->offer.text(), sources, modified);
    });
    connect(reading, &QThread::finished, reading, &QObject::deleteLater);
    reading->start();
}

void FileTransfers::offerPrepared(const QByteArray &key, const QString &name, const QByteArray &offer,
                                  const QStringList &sources, const QList<qint64> &modified)
{
    // The receiver takes only names it finds safe: one it would not take is no offer.
    const std::optional<FileOffer> sound = FileOffer::fromText(offer);
    if (!sound) {
        emit notOffered(tr("A name among the files cannot be sent: it has a character no file name may have."));
        return;
    }
    Item item;
    item.id = sound->id;
    item.sending = true;
    item.peerKey = key;
    item.peerName = name;
    item.offer = offer;
    item.sources = sources;
    item.modified = modified;
    item.created = Now();
    item.note = tr("Waiting for %1 to answer.").arg(name);
    add(item);
    if (!chat.offerFiles(key, sound->chatText()))
        finish(*find(item.id), false, tr("%1 is not in the chat, or cannot take files.").arg(name), false);
    save();
}

// ---- What comes from the other copies ----

void FileTransfers::fileFrame(const QByteArray &key, const QString &name, const QByteArray &body)
{
    const QByteArray firstLine = body.left(body.indexOf('\n') < 0 ? body.size() : body.indexOf('\n'));
    const QList<QByteArray> words = firstLine.split(' ');
    static const QList<QByteArray> answers{"come", "decline", "cancel", "paused", "done"};
    if (words.size() >= 2 && answers.contains(words[0])) {
        const QString why = QString::fromUtf8(firstLine.mid(words[0].size() + words[1].size() + 2));
        answerCame(key, words, why);
        return;
    }
    offerCame(key, name, body);
}

void FileTransfers::offerCame(const QByteArray &key, const QString &name, const QByteArray &body)
{
    const std::optional<FileOffer> offer = FileOffer::fromText(body);
    if (!offer || (find(offer->id) && find(offer->id)->peerKey != key)) {
        ++dropped;
        return;
    }
    if (find(offer->id))
        return; // the same offer again
    const qsizetype waiting = std::count_if(items.cbegin(), items.cend(), [&key](const Item &item) {
        return !item.sending && item.peerKey == key && item.state == TransferRecord::State::Offered;
    });
    if (waiting >= kMostWaitingOffers) {
        chat.offerFiles(key, "decline " + offer->id.toLatin1() + ' ' + tr("Too many offers wait for an answer.").toUtf8());
        return;
    }
    Item item;
    item.id = offer->id;
    item.peerKey = key;
    item.peerName = name;
    item.offer = body;
    item.created = Now();
    add(item);
    save();
    // Offers that come together are told together, once.
    QList<QString> &toTell = offersToTell[key];
    if (toTell.isEmpty())
        QTimer::singleShot(200, this, [this, key, name] {
            int files = 0;
            qint64 bytes = 0;
            const QList<QString> told = offersToTell.take(key);
            for (const QString &id : told)
                if (const Item *offered = this->item(id)) {
                    files += offered->files;
                    bytes += offered->total;
                }
            emit offersCame(key, name, int(told.size()), files, bytes);
        });
    toTell << offer->id;
    if (const QString folder = autoFolder ? autoFolder(key) : QString(); !folder.isEmpty())
        accept(offer->id, folder);
}

void FileTransfers::answerCame(const QByteArray &key, const QList<QByteArray> &words, const QString &why)
{
    const QString id = QString::fromLatin1(words[1]);
    Item *item = find(id);
    if (!item || item->peerKey != key) {
        ++dropped;
        if (words[0] == "come") // a transfer this copy does not know goes no further
            chat.offerFiles(key, "cancel " + words[1] + ' ' + tr("The other copy does not know this transfer.").toUtf8());
        return;
    }
    using State = TransferRecord::State;
    if (words[0] == "come") {
        item->note.clear();
        if (item->state == State::Done || item->state == State::Failed)
            tell(*item, "cancel " + id.toLatin1() + ' ' + (item->reason.isEmpty() ? tr("It ended.") : item->reason).toUtf8());
        else if (item->state == State::Paused)
            tell(*item, "paused " + id.toLatin1());
        else if (item->sending || item->state == State::Going) {
            item->state = State::Going; // a sender's offer is accepted
            nextTry.remove(id);
            startEnd(*item);
        }
    } else if (words[0] == "decline" && item->sending && !item->finished()) {
        finish(*item, false, tr("Declined: %1").arg(why), false);
    } else if (words[0] == "cancel" && !item->finished()) {
        finish(*item, false, why.isEmpty() ? tr("Cancelled by %1.").arg(item->peerName) : why, false);
    } else if (words[0] == "done" && item->sending && !item->finished()) {
        item->done = item->total;
        finish(*item, true, QString(), false);
    } else if (words[0] == "paused" && !item->finished()) {
        item->note = tr("Paused by %1.").arg(item->peerName);
        nextTry.insert(id, std::numeric_limits<qint64>::max()); // until their "come"
        emit changed(id);
    }
    save();
}

void FileTransfers::tell(const Item &item, const QByteArray &line)
{
    chat.offerFiles(item.peerKey, line);
}

// ---- The stream ----

void FileTransfers::startEnd(Item &item)
{
    if (running.count(item.id) || !identity)
        return;
    const PrivateChat::Person *person = chat.personWithKey(item.peerKey);
    if (!person)
        return;
    item.peerName = person->name;
    if (hosting())
        return; // the guest's end comes through the relay, and is this copy's end
    if (!fileContext || !hostAddress)
        return;
    const QPair<QString, quint16> host = hostAddress();
    FileLink::Ends ends{item.id, person->name, item.peerKey, item.sending, 0};
    if (const std::optional<FileOffer> offer = FileOffer::fromText(item.offer))
        for (const FileOffer::File &file : offer->files)
            ends.largest = std::max(ends.largest, file.size);
    run(item, std::make_unique<FileLink>(*identity, fileContext.get(), chat.hostKey(), host.first, host.second, ends));
}

void FileTransfers::hostEndCame(int socket, const FileRelay::HostEnd &end)
{
    const QString id = QString::fromLatin1(end.transfer);
    Item *item = find(id);
    using State = TransferRecord::State;
    const bool expected = item && item->peerKey == end.key && item->sending == !end.guestSends
                          && (item->state == State::Going || (item->sending && item->state == State::Offered))
                          && !running.count(id) && identity;
    if (!expected) {
        ++dropped;
        relay->closeHostEnd(socket);
        return;
    }
    item->state = State::Going;
    FileRelay *from = relay;
    auto link = std::make_unique<FileLink>(*identity, relay->connections(), socket,
                                           [from, socket] { from->closeHostEnd(socket); },
                                           FileLink::Ends{id, end.name, end.key, item->sending, 0}, end.early);
    run(*item, std::move(link));
    if (running.count(id))
        running[id]->hostSocket = socket;
}

void FileTransfers::run(Item &item, std::unique_ptr<FileLink> link)
{
    const std::optional<FileOffer> offer = FileOffer::fromText(item.offer);
    if (!offer)
        return;
    auto run = std::make_unique<Running>();
    FileLink *through = link.get();
    run->link = std::move(link);
    run->lastDone = item.done;
    const QString id = item.id;
    const auto write = [through](const QByteArray &bytes) { through->write(bytes); };
    if (item.sending) {
        QList<Transfer::Sender::Source> sources;
        for (qsizetype index = 0; index < item.sources.size(); ++index)
            sources << Transfer::Sender::Source{item.sources[index], offer->files[index].size,
                                                QDateTime::fromMSecsSinceEpoch(item.modified.value(index))};
        run->sender = std::make_unique<Transfer::Sender>(*offer, sources, write);
    } else {
        run->receiver = std::make_unique<Transfer::Receiver>(*offer, item.folder, write);
    }
    Running *going = run.get();
    connect(through, &FileLink::received, this, [this, going, id](const QByteArray &bytes) {
        if (going->sender)
            going->sender->take(bytes);
        else
            going->receiver->take(bytes);
        streamMoved(id);
    });
    connect(through, &FileLink::ended, this,
            [this, id](const QString &why, bool refused) { linkEnded(id, why, refused); });
    running[id] = std::move(run);
    item.connected = true;
    through->open();
    if (going->sender)
        going->sender->start();
    else
        going->receiver->accept(item.progress);
    streamMoved(id);
    emit changed(id);
}

void FileTransfers::streamMoved(const QString &id)
{
    Item *item = find(id);
    const auto found = running.find(id);
    if (!item || found == running.end())
        return;
    Running &run = *found->second;
    const qint64 doneBefore = item->done;
    if (run.receiver) {
        if (const FileOffer &whole = run.receiver->offer(); !whole.isSummary() && whole.fileCount() > item->names.size()) {
            item->offer = whole.text(); // the whole list came on the stream: kept for a break
            item->names.clear();
            for (const FileOffer::File &file : whole.files)
                item->names << file.path.join(QLatin1Char('/'));
        }
        item->done = run.receiver->checkedBytes();
    } else {
        item->done = std::max(item->done, run.sender->checkedBytes());
    }
    const Transfer::Outcome outcome = run.outcome();
    if (outcome.ended)
        takeProgress(id);
    if (!outcome.ended) {
        if (item->done != doneBefore) // a block was checked
            emit changed(id);
        return;
    }
    if (outcome.diskFull) {
        // What was checked stays; it goes on once there is room again.
        stopRunning(id);
        item->connected = false;
        item->note = outcome.reason;
        nextTry.insert(id, clock.elapsed() + kRetryMs);
        save();
        emit changed(id);
        return;
    }
    if (outcome.succeeded && !item->sending)
        tell(*item, "done " + id.toLatin1());
    // The stream told the other end already; the private channel tells it too, should the stream not get there.
    finish(*item, outcome.succeeded, outcome.reason, !outcome.succeeded);
}

void FileTransfers::linkEnded(const QString &id, const QString &why, bool refused)
{
    stopRunning(id);
    Item *item = find(id);
    if (!item || item->finished())
        return;
    item->connected = false;
    if (refused) {
        finish(*item, false, why, true);
        return;
    }
    if (item->state == TransferRecord::State::Going)
        item->note = peerHere(*item) ? tr("Connecting again…")
                                     : tr("%1 left: it goes on when they are back.").arg(item->peerName);
    nextTry.insert(id, clock.elapsed() + kRetryMs);
    save();
    emit changed(id);
}

void FileTransfers::stopRunning(const QString &id)
{
    takeProgress(id);
    const auto found = running.find(id);
    if (found == running.end())
        return;
    std::shared_ptr<Running> gone(std::move(found->second));
    running.erase(found);
    gone->link->disconnect(this);
    gone->link->close();
    // Its parts may be on the stack below: they go once this pass of the event loop is over.
    QTimer::singleShot(0, this, [gone] {});
}

void FileTransfers::finish(Item &item, bool succeeded, const QString &reason, bool tellPeer)
{
    using State = TransferRecord::State;
    item.state = succeeded ? State::Done : State::Failed;
    item.reason = reason;
    item.note.clear();
    item.speed = 0;
    item.connected = false;
    stopRunning(item.id);
    if (tellPeer)
        tell(item, "cancel " + item.id.toLatin1() + ' ' + reason.toUtf8());
    if (!succeeded && !item.sending)
        for (const QPair<QString, qint64> &part : std::as_const(item.progress))
            if (part.first.endsWith(QLatin1String(".part")))
                QFile::remove(part.first); // what was not finished is of no use
    const QString id = item.id;
    save();
    emit changed(id);
    emit ended(id);
}

// ---- Going on by itself ----

void FileTransfers::retry()
{
    for (const QString &id : ids()) {
        Item &item = *find(id);
        if (item.sending || item.state != TransferRecord::State::Going || running.count(item.id) || !peerHere(item)
            || clock.elapsed() < nextTry.value(item.id, 0))
            continue;
        QString error;
        if (!PartFile::hasRoom(item.folder, item.total - item.done, error)) {
            item.note = error;
            nextTry.insert(item.id, clock.elapsed() + kRetryMs);
            emit changed(item.id);
            continue;
        }
        // The receiver asks for the rest, and opens its end.
        nextTry.insert(item.id, clock.elapsed() + kRetryMs);
        item.note = tr("Connecting…");
        tell(item, "come " + item.id.toLatin1());
        startEnd(item);
        emit changed(item.id);
    }
}

void FileTransfers::peopleChanged()
{
    for (const QString &id : ids()) {
        Item &item = *find(id);
        if (item.finished())
            continue;
        const bool here = peerHere(item);
        if (here && !item.sending && nextTry.value(item.id) != std::numeric_limits<qint64>::max())
            nextTry.remove(item.id); // back: ask at once
        if (!here && item.state == TransferRecord::State::Going && !running.count(item.id)) {
            item.note = tr("%1 left: it goes on when they are back.").arg(item.peerName);
            emit changed(item.id);
        }
    }
    QTimer::singleShot(0, this, &FileTransfers::retry);
}

// ---- The user's choices ----

QString FileTransfers::accept(const QString &id, const QString &folder)
{
    Item *item = find(id);
    if (!item || item->sending || item->state != TransferRecord::State::Offered)
        return {};
    QString error;
    if (!QFileInfo(folder).isDir())
        return tr("The folder %1 is not there.").arg(QDir::toNativeSeparators(folder));
    if (!PartFile::hasRoom(folder, item->total, error))
        return error;
    item->folder = folder;
    item->state = TransferRecord::State::Going;
    nextTry.remove(id);
    save();
    emit changed(id);
    retry();
    return {};
}

void FileTransfers::decline(const QString &id)
{
    Item *item = find(id);
    if (!item || item->sending || item->state != TransferRecord::State::Offered)
        return;
    tell(*item, "decline " + id.toLatin1() + ' ' + tr("No, thank you.").toUtf8());
    finish(*item, false, tr("Declined."), false);
}

void FileTransfers::pause(const QString &id)
{
    Item *item = find(id);
    if (!item || item->state != TransferRecord::State::Going)
        return;
    item->state = TransferRecord::State::Paused;
    item->note.clear();
    item->speed = 0;
    item->connected = false;
    stopRunning(id);
    tell(*item, "paused " + id.toLatin1());
    save();
    emit changed(id);
}

void FileTransfers::resume(const QString &id)
{
    Item *item = find(id);
    if (!item || item->state != TransferRecord::State::Paused)
        return;
    item->state = TransferRecord::State::Going;
    nextTry.remove(id);
    save();
    emit changed(id);
    if (item->sending) {
        tell(*item, "come " + id.toLatin1());
        startEnd(*item);
    } else {
        retry();
    }
}

void FileTransfers::cancel(const QString &id)
{
    Item *item = find(id);
    if (!item || item->finished())
        return;
    if (!item->sending && item->state == TransferRecord::State::Offered)
        decline(id);
    else
        finish(*item, false, tr("Cancelled."), true);
}
