#include "FileRelay.h"

#include "TTCPServer.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cctype>

namespace {

bool IsTransferId(const QByteArray &id)
{
    return !id.isEmpty() && id.size() <= 32
           && std::all_of(id.cbegin(), id.cend(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

} // namespace

FileRelay::FileRelay(TTCPServer &server, std::function<QString(const QByteArray &key)> nameOfKey, QObject *parent)
    : QObject(parent), server(server), nameOfKey(std::move(nameOfKey))
{
    clock.start();
    connect(&pump, &FilePump::pairEnded, this, [this] { closePumped(pump.takeEnded()); });
    // The server closes its connections: those the pump moves go first.
    connect(&server, &TTCPServer::closing, this, [this] { closePumped(pump.takeAll()); });
    unjoined.setInterval(1000);
    connect(&unjoined, &QTimer::timeout, this, [this] {
        QList<int> late;
        for (auto end = ends.cbegin(); end != ends.cend(); ++end)
            if (!end->host && clock.elapsed() - end->since > kUnjoinedMs)
                late << end.key();
        for (const int socket : late)
            drop(socket);
        if (ends.isEmpty())
            unjoined.stop();
    });
}

FileRelay::~FileRelay()
{
    const QSignalBlocker quiet(this); // nobody is told of a relay that goes
    closePumped(pump.takeAll());
}

void FileRelay::accept(int socket)
{
    End end;
    end.key = server.peerKeyOf(socket);
    end.name = nameOfKey(end.key);
    end.since = clock.elapsed();
    // The key let it in as a participant's; one that has left meanwhile has no transfer.
    if (end.name.isEmpty()) {
        ++dropped;
        server.CloseClient(socket);
        return;
    }
    ends.insert(socket, end);
    unjoined.start();
}

void FileRelay::read(int socket)
{
    const auto found = ends.find(socket);
    if (found == ends.end())
        return;
    if (found->transfer.isEmpty()) {
        takeLine(socket, *found);
        return;
    }
    if (found->host) {
        emit hostEndReadable(socket);
        return;
    }
    if (found->early.size() < kMostReadEarly) // no more is read before the other end is here
        found->early += server.receiveBytes(socket, kMostReadEarly - found->early.size());
}

void FileRelay::takeLine(int socket, End &end)
{
    end.line += server.receiveBytes(socket, kLongestLine - end.line.size());
    const qsizetype lineEnd = end.line.indexOf('\n');
    if (lineEnd < 0) {
        if (end.line.size() >= kLongestLine)
            drop(socket);
        return;
    }
    const QList<QByteArray> words = end.line.left(lineEnd).split(' ');
    end.early = end.line.mid(lineEnd + 1);
    end.sends = words.value(0) == "send";
    bool sized = !end.sends;
    if (end.sends && words.size() == 4)
        end.largest = words[3].toLongLong(&sized);
    if (words.size() != (end.sends ? 4 : 3) || (!end.sends && words[0] != "take") || !IsTransferId(words[1])
        || QString::fromUtf8(words[2]) == end.name || !sized || end.largest < 0) {
        drop(socket);
        return;
    }
    end.transfer = words[1];
    end.other = QString::fromUtf8(words[2]);
    if (ownName && end.other == ownName()) {
        end.host = true;
        emit hostEnd(socket, HostEnd{end.transfer, end.key, end.name, end.sends, end.largest, end.early});
        return;
    }
    if (!refuses(socket, end))
        join(socket, end);
}

void FileRelay::setPolicy(bool relays, qint64 largestFile)
{
    relaysAtAll = relays;
    largestRelayed = largestFile;
}

bool FileRelay::refuses(int socket, const End &end)
{
    QString why;
    if (!relaysAtAll)
        why = tr("The host does not relay files.");
    else if (end.sends && largestRelayed > 0 && end.largest > largestRelayed)
        why = tr("The host relays no file larger than %1 MiB.").arg(largestRelayed / (1024 * 1024));
    if (why.isEmpty())
        return false;
    server.SendText(socket, "refused " + why.toUtf8() + '\n');
    ends.remove(socket);
    server.CloseClient(socket);
    return true;
}

void FileRelay::clear()
{
    closePumped(pump.takeAll());
    const QHash<int, End> gone = std::exchange(ends, {});
    for (auto end = gone.cbegin(); end != gone.cend(); ++end)
        if (end->host)
            emit hostEndClosed(end.key());
}

void FileRelay::closeHostEnd(int socket)
{
    if (ends.value(socket).host) {
        ends.remove(socket);
        server.CloseClient(socket);
    }
}

void FileRelay::join(int socket, End &end)
{
    // The other end: the same transfer, the other way, each naming the other by the name its key holds.
    for (auto other = ends.begin(); other != ends.end(); ++other) {
        if (other.key() == socket || other->host || other->transfer != end.transfer
            || other->sends == end.sends || other->name != end.other || other->other != end.name)
            continue;
        FilePump::End first = handOver(socket), second = handOver(other.key());
        // What each sent early goes first.
        relayed += end.early.size() + other->early.size();
        first.waiting += other->early;
        second.waiting += end.early;
        ends.erase(other);
        ends.remove(socket);
        pump.add(std::move(first), std::move(second));
        emit relaying(++pumped, bytesRelayed());
        return;
    }
}

FilePump::End FileRelay::handOver(int socket)
{
    FilePump::End end;
    end.socket = socket;
    end.transport = server.handOver(socket, end.waiting);
    return end;
}

void FileRelay::drained(int socket)
{
    if (ends.value(socket).host)
        emit hostEndDrained(socket);
}

void FileRelay::closePumped(std::vector<FilePump::Pair> pairs)
{
    if (pairs.empty())
        return;
    for (FilePump::Pair &pair : pairs)
        for (FilePump::End &end : pair.ends)
            server.closeHandedOver(end.socket, std::move(end.transport), end.unsent());
    pumped -= int(pairs.size());
    emit relaying(pumped, bytesRelayed());
}

void FileRelay::drop(int socket)
{
    ++dropped;
    ends.remove(socket);
    server.CloseClient(socket);
}

void FileRelay::closed(int socket)
{
    if (ends.take(socket).host)
        emit hostEndClosed(socket);
}
