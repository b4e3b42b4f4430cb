#pragma once

#include "TCustomWSocket.h"
#include "Transport.h"

#include <memory>

// The connecting side: resolves Host and Port, connects without blocking the
// GUI, and reports OnConnect, OnData and OnClose for its one connection.
class TTCPClient : public TCustomWSocket {
    Q_OBJECT
public:
    explicit TTCPClient(QObject *owner);
    ~TTCPClient() override;

    QString Host;
    QString Port;
    TOnData OnData;
    TOnConnect OnConnect;
    TOnClose OnClose;
    // Nothing waits to go to the host any more, as tellWhenDrained asked.
    TOnData OnDrained;

    // Starts a connection attempt; its outcome comes as OnConnect or OnError.
    void Open();
    // Each attempt first tries the port `portOffset` above Port, through
    // transports of this maker; only when that port refuses does it connect
    // to Port itself, through the object's own transports.
    void TryFirst(int portOffset, std::unique_ptr<TransportMaker> transports);
    // The attempt under way, or the connection made, is the first choice.
    bool OnFirstChoice() const { return onFirstChoice; }
    void Close();
    void SendText(const QByteArray &text);
    QByteArray ReceiveText();
    // While OnClose runs: 0 when the host closed the connection, else the
    // error that ended it (a link found dead, a reset).
    int CloseError() const { return closeError; }

protected:
    void HandleNotification(int socket, int kind, int error) override;

private:
    void Connect();
    void ConnectFinished(int socket, int error);
    void ReadReady(int socket, int error);
    void PeerClosed(int socket, int error);

    // Counts the attempts, so that an attempt the handlers start is told from
    // the one being notified, even when it is given the same socket number.
    quint64 attempt = 0;
    int closeError = 0;
    int firstChoiceOffset = 0;
    std::unique_ptr<TransportMaker> firstChoice;
    bool onFirstChoice = false;
};
