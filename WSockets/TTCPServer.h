#pragma once

#include "TClientList.h"
#include "TCustomWSocket.h"

#include <QTimer>

// The listening side: listens on Port on every local address, accepts
// connections into Clients and reports OnAccept, OnData and OnClose for each.
class TTCPServer : public TCustomWSocket {
    Q_OBJECT
public:
    explicit TTCPServer(QObject *owner);
    ~TTCPServer() override;

    QString Port;
    TOnData OnData;
    TOnAccept OnAccept;
    TOnClose OnClose;

    TClientList &Clients() { return clients; }
    const TClientList &Clients() const { return clients; }

    void Open();
    // Closes every accepted connection and the listening socket, without OnClose.
    void Close();
    void SendText(int socket, const QByteArray &text);
    // A text that makes the last one sent this way needless, if that one still waits to go.
    void SendLatestText(int socket, const QByteArray &text);
    QByteArray ReceiveText(int socket);
    // Removes the socket from Clients and closes it gracefully, without OnClose.
    void CloseClient(int socket);

    // Connections taken in one accept event at most; more wait for the next.
    static constexpr int kAcceptsPerEvent = 64;

protected:
    void HandleNotification(int socket, int kind, int error) override;

private:
    void AcceptPending(int error);
    // Readies and lists one accepted connection and fires OnAccept.
    // False when the handler deleted this object.
    bool TakeConnection(int socket);
    void AcceptFailed(int listener, int errnoValue);
    void ReadReady(int socket, int error);
    void PeerClosed(int socket, int error);
    // Ends the connections whose link is dead as the system would, with a timeout.
    void EndDeadLinks();

    TClientList clients;
    QTimer deadLinkCheck;
    // An accept that failed for want of descriptors is reported once, until one succeeds.
    bool outOfResourcesReported = false;
};
