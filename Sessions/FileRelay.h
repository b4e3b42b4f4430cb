#pragma once

#include "FilePump.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class TTCPServer;

// The host's relay of file connections. Each is a connection of its own to
// the secure port, with the key of a guest in the chat. Its first line says
// which transfer it carries, and to or from whom:
//   "send T N L" LF  this guest sends transfer T (hex) to the guest named N;
//                    its largest file has L bytes
//   "take T N" LF    this guest takes transfer T from the guest named N
// Once both ends of a transfer are here, each under the name its own key
// holds in the chat, the two connections leave the event loop for the file
// pump's thread: the bytes go across as they come, sealed (the two copies
// run their own TLS session inside), and no faster than the slower end takes
// them: the host holds no more than a read's worth for a transfer. An end
// that is not joined within a minute, or whose line is not sound, is closed.
// One end of a pair that closes ends the other.
// When N is the host itself, the connection is the host's own end of the
// transfer, handed over as it is. A transfer the host does not relay (it
// relays none, or none with a file that large) is told so with a line
// "refused WHY" LF in place of the other end's records, and closed.
class FileRelay : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kUnjoinedMs = 60'000;
    // What is read of an end before its other end is here; the rest waits in the connection.
    static constexpr qsizetype kMostReadEarly = 64 * 1024;
    static constexpr qsizetype kLongestLine = 256;

    // `nameOfKey`: the name the guest with that key holds in the chat; empty for none.
    FileRelay(TTCPServer &server, std::function<QString(const QByteArray &key)> nameOfKey, QObject *parent = nullptr);
    ~FileRelay() override;

    // What came on a file connection for the host itself.
    struct HostEnd {
        QByteArray transfer;
        QByteArray key;    // the guest's
        QString name;      // and the name it holds
        bool guestSends = false;
        qint64 largest = 0;
        QByteArray early;  // what came after its line
    };
    // The host's own name in the chat: ends that name it are the host's.
    void handHostEnds(std::function<QString()> hostName) { ownName = std::move(hostName); }
    void closeHostEnd(int socket);
    // Whether it relays transfers between guests at all, and the largest file it relays (0: any).
    void setPolicy(bool relays, qint64 largestFile);

    // The file connections still in the event loop: those not joined yet, and the host's own ends.
    bool owns(int socket) const { return ends.contains(socket); }
    // The connections the host's own ends are.
    TTCPServer &connections() const { return server; }
    // The file connections the host holds, those the pump moves included.
    int count() const { return int(ends.size()) + 2 * pumped; }
    // Those of them among the server's clients.
    int clientCount() const { return int(ends.size()); }
    // The server's events for the file connections.
    void accept(int socket);
    void read(int socket);
    void drained(int socket);
    void closed(int socket);
    // The host stopped: every file connection went with its guests.
    void clear();

    qint64 bytesRelayed() const { return relayed + pump.bytesMoved(); }
    // Connections ended for what no honest copy sends.
    int droppedCount() const { return dropped; }

signals:
    // A guest's end of a transfer with the host; its events follow.
    void hostEnd(int socket, const FileRelay::HostEnd &end);
    void hostEndReadable(int socket);
    void hostEndDrained(int socket);
    void hostEndClosed(int socket);
    // How many transfers go across now, and how many bytes went in all: the host shows that it relays, never what.
    void relaying(int transfers, qint64 bytes);

private:
    struct End {
        QByteArray key;
        QString name;     // its own, from its key
        QByteArray line;  // the first line, until it is whole
        bool sends = false;
        bool host = false; // the host's own end
        qint64 largest = 0;
        QByteArray transfer;
        QString other;    // the name it sends to or takes from
        QByteArray early; // what came after the line before the other end did
        qint64 since = 0;
    };
    void takeLine(int socket, End &end);
    void join(int socket, End &end);
    bool refuses(int socket, const End &end);
    // Takes a joined end out of the event loop, for the pump.
    FilePump::End handOver(int socket);
    // The pump's pairs that ended, or all of them, are closed.
    void closePumped(std::vector<FilePump::Pair> pairs);
    void drop(int socket);

    TTCPServer &server;
    std::function<QString(const QByteArray &key)> nameOfKey;
    QHash<int, End> ends;
    std::function<QString()> ownName;
    bool relaysAtAll = true;
    qint64 largestRelayed = 0;
    QTimer unjoined;
    QElapsedTimer clock;
    qint64 relayed = 0; // early bytes; the pump counts the rest
    int dropped = 0;
    FilePump pump;
    int pumped = 0; // pairs given to the pump and not closed yet
};
