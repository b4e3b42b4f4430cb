#pragma once

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
//   "send T N" LF   this guest sends transfer T (hex) to the guest named N
//   "take T N" LF   this guest takes transfer T from the guest named N
// Once both ends of a transfer are here, each under the name its own key
// holds in the chat, the bytes go across as they come, sealed (the two copies
// run their own TLS session inside), and no faster than the slower end takes
// them: the host holds no more than a read's worth for a transfer. An end
// that is not joined within a minute, or whose line is not sound, is closed.
class FileRelay : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kUnjoinedMs = 60'000;
    static constexpr qsizetype kReadAtOnce = 256 * 1024;
    static constexpr qsizetype kLongestLine = 256;
    // What may wait to go to one end: well under a connection's send queue.
    static constexpr qsizetype kMostQueued = 2 * kReadAtOnce;

    // `nameOfKey`: the name the guest with that key holds in the chat; empty for none.
    FileRelay(TTCPServer &server, std::function<QString(const QByteArray &key)> nameOfKey, QObject *parent = nullptr);

    bool owns(int socket) const { return ends.contains(socket); }
    int count() const { return int(ends.size()); }
    // The server's events for the file connections.
    void accept(int socket);
    void read(int socket);
    void drained(int socket);
    void closed(int socket);
    // The host stopped: every file connection went with its guests.
    void clear() { ends.clear(); }

    qint64 bytesRelayed() const { return relayed; }
    // Connections ended for what no honest copy sends.
    int droppedCount() const { return dropped; }

signals:
    // How many transfers go across now, and how many bytes went in all: the host shows that it relays, never what.
    void relaying(int transfers, qint64 bytes);

private:
    struct End {
        QByteArray key;
        QString name;     // its own, from its key
        QByteArray line;  // the first line, until it is whole
        bool sends = false;
        QByteArray transfer;
        QString other;    // the name it sends to or takes from
        int peer = -1;    // the other end, once joined
        QByteArray early; // what came after the line before the other end did
        qint64 since = 0;
    };
    void takeLine(int socket, End &end);
    void join(int socket, End &end);
    void pass(int from);
    void drop(int socket);
    void forget(int socket);
    int joinedCount() const;

    TTCPServer &server;
    std::function<QString(const QByteArray &key)> nameOfKey;
    QHash<int, End> ends;
    QTimer unjoined;
    QElapsedTimer clock;
    qint64 relayed = 0;
    int dropped = 0;
};
