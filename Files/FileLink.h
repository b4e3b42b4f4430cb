#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class HostIdentity;
class InnerTls;
class TCustomWSocket;
class TTCPClient;
typedef struct ssl_ctx_st SSL_CTX;

// One end of a transfer's file connection. A guest's end is a connection of
// its own to the host's secure port, beside the chat, under this copy's key
// and only to the host of the key it knows. It names the transfer and the
// other end, and then carries a TLS session with that copy alone (checked
// against the key the host announced), through which the transfer's frames
// go: the host relays them sealed. The host's own end is the guest's file
// connection itself, which the relay hands over: one hop.
class FileLink : public QObject {
    Q_OBJECT
public:
    struct Ends {
        QString transfer;    // the transfer's id, hex
        QString peerName;    // the other guest, by the name its key holds in the chat
        QByteArray peerKey;  // and that key
        bool sends = false;  // this end sends the files
        qint64 largest = 0;  // its largest file, which the host may not relay
    };
    // A guest's end, which connects once opened.
    FileLink(const HostIdentity &identity, SSL_CTX *fileContext, const QByteArray &hostKey, const QString &host,
             quint16 securePort, Ends ends, QObject *parent = nullptr);
    // The host's end: the connection `socket` of `carrier`, with what came
    // on it after its line. `closeIt` closes it; readable() and drained()
    // take its events. Opening it starts its session.
    FileLink(const HostIdentity &identity, TCustomWSocket &carrier, int socket, std::function<void()> closeIt,
             Ends ends, const QByteArray &early, QObject *parent = nullptr);
    ~FileLink() override;

    void open();
    void close();
    void readable();
    void drained() { flush(); }
    const Ends &endsOf() const { return ends; }
    // Bytes of the transfer's stream, for the other guest; they wait until the session is open.
    void write(const QByteArray &bytes);

signals:
    // Bytes of the transfer's stream, from the other end.
    void received(const QByteArray &bytes);
    // The connection or the session ended; the transfer goes on later from
    // its last checked block, unless the host refused to relay it.
    void ended(const QString &why, bool refused);

private:
    void connected();
    void startSession();
    void take(const QByteArray &records);
    void flush();
    int socket() const;

    const HostIdentity &identity;
    Ends ends;
    std::unique_ptr<TTCPClient> client;
    TCustomWSocket *carrier = nullptr;
    int hostSocket = -1;
    std::function<void()> closeIt;
    bool anything = false; // a record came from the other end
    QByteArray early;      // the host's end: what came before it was opened
    std::unique_ptr<InnerTls> session;
    QByteArray waiting; // written before the session was there
    QByteArray unsent;  // records the connection has not taken yet, from sentOf on
    qsizetype sentOf = 0;
};
