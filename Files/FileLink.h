#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class HostIdentity;
class InnerTls;
class TTCPClient;
typedef struct ssl_ctx_st SSL_CTX;

// A guest's end of one transfer's file connection: a connection of its own
// to the host's secure port, beside the chat, under this copy's key and only
// to the host of the key it knows. It names the transfer and the other
// guest, and then carries a TLS session with that guest alone (checked
// against the key the host announced), through which the transfer's
// frames go: the host relays them sealed.
class FileLink : public QObject {
    Q_OBJECT
public:
    struct Ends {
        QString transfer;    // the transfer's id, hex
        QString peerName;    // the other guest, by the name its key holds in the chat
        QByteArray peerKey;  // and that key
        bool sends = false;  // this end sends the files
    };
    FileLink(const HostIdentity &identity, SSL_CTX *fileContext, const QByteArray &hostKey, const QString &host,
             quint16 securePort, Ends ends, QObject *parent = nullptr);
    ~FileLink() override;

    void open();
    void close();
    // Bytes of the transfer's stream, for the other guest; they wait until the session is open.
    void write(const QByteArray &bytes);

signals:
    // Bytes of the transfer's stream, from the other guest.
    void received(const QByteArray &bytes);
    // The connection or the session ended; the transfer goes on later from its last checked block.
    void ended(const QString &why);

private:
    void connected();
    void readable();
    void flush();

    const HostIdentity &identity;
    Ends ends;
    std::unique_ptr<TTCPClient> client;
    std::unique_ptr<InnerTls> session;
    QByteArray waiting; // written before the session was there
    QByteArray unsent;  // records the connection has not taken yet
};
