#pragma once

#include "TClientList.h"
#include "TCustomWSocket.h"
#include "Transport.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <memory>

#include <netinet/in.h>
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
    // Nothing waits to go to a client any more, as tellWhenDrained asked.
    TOnData OnDrained;

    TClientList &Clients() { return clients; }
    // The connection was accepted on the second port (see ListenAlso).
    bool CameThroughSecondPort(int socket) const { return secondPortClients.contains(socket); }
    const TClientList &Clients() const { return clients; }

    void Open();
    // Once open, listens on a second port too, whose connections carry their
    // bytes through transports of this maker; they are clients like the
    // others, and Close() ends the port with the rest. Gives 0 or the error
    // number, and fires no OnError for a port that is taken.
    int ListenAlso(const QString &port, std::unique_ptr<TransportMaker> transports);
    // Closes every accepted connection and the listening socket, without OnClose.
    void Close();
    void SendText(int socket, const QByteArray &text);
    QByteArray ReceiveText(int socket);
    // Removes the socket from Clients and closes it gracefully, without OnClose.
    void CloseClient(int socket);
    // Takes a client out of Clients and out of the event loop, for a thread
    // of its own to move its bytes: its transport, and what was queued for
    // it, go to the caller. The socket stays open, and counts towards its
    // address's connections until closeHandedOver.
    std::unique_ptr<Transport> handOver(int socket, QByteArray &queued);
    // Closes a connection handed over gracefully, once no other thread uses
    // it: what waits to go to it is sent first.
    void closeHandedOver(int socket, std::unique_ptr<Transport> transport, const QByteArray &queued);

    // Connections taken in one accept event at most; more wait for the next.
    static constexpr int kAcceptsPerEvent = 64;
    // Connections from one address at most, clients and openings alike: a
    // further one is ended at once, so that one neighbour cannot fill the chat.
    static constexpr int kMostPerAddress = 4;
    // Openings under way at most: a new one ends the oldest, so that peers
    // that stop halfway never keep honest ones out.
    static constexpr int kMostOpenings = 32;

signals:
    // Close() is about to end every connection: the connections handed
    // over are to be closed (closeHandedOver) now.
    void closing();

protected:
    void HandleNotification(int socket, int kind, int error) override;

private:
    // Makes a listening socket; gives 0 or the error number, the socket made
    // (if any) being left in `listener` for the caller to close.
    int Listen(const QString &port, int &listener);
    void AcceptPending(int listener, int error);
    // Readies and lists one accepted connection and fires OnAccept.
    // False when the handler deleted this object.
    bool TakeConnection(int socket, TransportMaker *transports);
    // Lists the connection and fires OnAccept. False when the handler deleted this object.
    bool Admit(int socket);
    void AcceptFailed(int listener, int errnoValue);
    // With no descriptor left, the reserved one makes room to take the
    // waiting connections and end them, so that they leave the queue.
    void EndWaitingWithReserve(int listener);
    int ConnectionsFrom(in_addr_t address) const;
    void EndOldestOpening();
    void ReadReady(int socket, int error);
    void PeerClosed(int socket, int error);
    // Ends the connections whose link is dead as the system would, with a timeout.
    void EndDeadLinks();

    TClientList clients;
    int secondListener = -1;
    // Accepted connections whose opening exchange is on its way, oldest
    // first: not clients yet.
    QList<int> opening;
    QSet<int> secondPortClients;
    QSet<int> handedOver;
    std::unique_ptr<TransportMaker> secondTransports;
    QTimer deadLinkCheck;
    // An accept that failed for want of descriptors is reported once, until one succeeds.
    bool outOfResourcesReported = false;
    // The peer's address of each connection accepted, by its socket; an entry
    // of a closed one is written anew when its number is given out again.
    QHash<int, in_addr_t> peerAddresses;
    // A descriptor kept for when none is left; -1 while it is spent.
    int reserve = -1;
};
