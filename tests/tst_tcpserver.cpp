// The listening side on loopback: the order of its events, the client list,
// closing, occupied ports.
#include "LoopbackPeer.h"
#include "RuntimeErrors.h"
#include "SocketEventLog.h"
#include "TTCPServer.h"

#include "TNotificationEndpoint.h"

#include <QPointer>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr quint16 kBasePort = 21300;

// The notifications a server is given, as the event loop would deliver them.
class NotifiedServer : public TTCPServer {
public:
    using TTCPServer::HandleNotification;
    using TTCPServer::TTCPServer;
};

// Lowers the limit of open files to what is open now, for as long as it lives.
class NoFreeDescriptors {
public:
    NoFreeDescriptors()
    {
        getrlimit(RLIMIT_NOFILE, &saved);
        const int lowestFree = dup(0);
        close(lowestFree);
        rlimit lowered = saved;
        lowered.rlim_cur = rlim_t(lowestFree);
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~NoFreeDescriptors() { setrlimit(RLIMIT_NOFILE, &saved); }

private:
    rlimit saved{};
};

} // namespace

class TestTCPServer : public QObject {
    Q_OBJECT
private slots:
    void listsAGuestFromAcceptToClose();
    void closeEndsEveryGuestQuietly();
    void occupiedPort();
    void portJustClosedOpensAgain();
    void openAndCloseOnlyWhereTheyMayAct();
    void longTextComesInSeveralReads();
    void halfClosedGuestIsClosed();
    void portThatIsNoNumber();
    void refusingInsideAccept();
    void dataThenReset();
    void networkDownIsNoClose();
    void outOfDescriptorsIsReportedOnce();
    void handlerDeletesTheServer_data();
    void handlerDeletesTheServer();

private:
    quint16 NextPort() { return ++port; }
    // Opens the server on the next port and waits for the guest to be accepted.
    bool AcceptOneGuest(TTCPServer &server, const SocketEventLog &log, LoopbackPeer &guest)
    {
        server.Port = QString::number(NextPort());
        server.Open();
        return guest.Connect(port) && QTest::qWaitFor([&] { return log.Count("accept") == 1; }, 5000);
    }
    quint16 port = kBasePort;
};

// The host counts the guests and finds the leaving one inside the events:
// inside OnAccept the new socket is listed last; inside OnClose it is still
// listed; afterwards it is gone.
void TestTCPServer::listsAGuestFromAcceptToClose()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.OnAccept = [&](TCustomWSocket *, int socket) {
        log.Record(QStringLiteral("accept count %1 first %2")
                       .arg(server.Clients().Count())
                       .arg(server.Clients().Items(0) == socket ? "is new" : "is old"),
                   socket);
    };
    server.OnClose = [&](TCustomWSocket *, int socket) {
        log.Record(QStringLiteral("close count %1 index %2 address %3")
                       .arg(server.Clients().Count())
                       .arg(server.Clients().IndexOf(socket))
                       .arg(server.GetPeerAddress(socket)),
                   socket);
    };
    server.Port = QString::number(NextPort());
    server.Open();
    QCOMPARE(server.State(), wsListening);

    LoopbackPeer guest;
    QVERIFY(guest.Connect(port));
    QTRY_COMPARE(log.events.size(), 1);
    guest.Close();
    QTRY_COMPARE(log.events.size(), 2);

    QCOMPARE(log.events, (QStringList{"accept count 1 first is new", "close count 1 index 0 address 127.0.0.1"}));
    QCOMPARE(log.sockets[0], log.sockets[1]);
    QCOMPARE(server.Clients().Count(), 0);
    QCOMPARE(server.State(), wsListening);
}

void TestTCPServer::closeEndsEveryGuestQuietly()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(NextPort());
    server.Open();
    LoopbackPeer guests[3];
    for (LoopbackPeer &guest : guests)
        QVERIFY(guest.Connect(port));
    QTRY_COMPARE(server.Clients().Count(), 3);
    QTRY_COMPARE(log.Count("accept"), 3);

    // Texts that arrive now would be notified after the close: they must not be.
    for (LoopbackPeer &guest : guests)
        QVERIFY(guest.Send("late"));
    server.Close();

    QCOMPARE(server.Clients().Count(), 0);
    QCOMPARE(server.State(), wsClosed);
    QCOMPARE(server.SocketHandle(), -1);
    for (LoopbackPeer &guest : guests)
        QVERIFY(guest.WaitForEndOfStream());
    QCoreApplication::processEvents();
    QCOMPARE(log.events, (QStringList{"accept", "accept", "accept"}));

    LoopbackPeer latecomer;
    QVERIFY(!latecomer.Connect(port));
}

void TestTCPServer::occupiedPort()
{
    LoopbackListener occupant;
    const quint16 taken = NextPort();
    QVERIFY(occupant.Listen(taken));

    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(taken);
    server.Open();
    QCOMPARE(log.events, QStringList{"error 10048 Address already in use"});
    QCOMPARE(server.State(), wsClosed);
    QCOMPARE(server.SocketHandle(), -1);

    server.Port = QString::number(NextPort());
    server.Open();
    QCOMPARE(server.State(), wsListening);
    QVERIFY(server.SocketHandle() != -1);
    QCOMPARE(log.events.size(), 1);
}

// The server closes first, so its side of the connection waits in TIME_WAIT;
// the port must still open again at once.
void TestTCPServer::portJustClosedOpensAgain()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(NextPort());
    server.Open();
    LoopbackPeer guest;
    QVERIFY(guest.Connect(port));
    QTRY_COMPARE(server.Clients().Count(), 1);
    server.Close();
    QVERIFY(guest.WaitForEndOfStream());
    guest.Close();

    server.Open();
    QCOMPARE(server.State(), wsListening);
    QCOMPARE(log.events, QStringList{"accept"});
}

void TestTCPServer::openAndCloseOnlyWhereTheyMayAct()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Close();
    QCOMPARE(server.State(), wsClosed);

    server.Port = QString::number(NextPort());
    server.Open();
    const int listener = server.SocketHandle();
    server.Port = QString::number(NextPort());
    server.Open();
    QCOMPARE(server.SocketHandle(), listener);
    QCOMPARE(server.GetLocalPort(listener), QString::number(port - 1));
    QCOMPARE(log.events, QStringList());
}

void TestTCPServer::longTextComesInSeveralReads()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    QList<qsizetype> reads;
    QByteArray received;
    server.OnData = [&](TCustomWSocket *, int socket) {
        const QByteArray text = server.ReceiveText(socket);
        reads << text.size();
        received += text;
    };
    server.Port = QString::number(NextPort());
    server.Open();
    LoopbackPeer guest;
    QVERIFY(guest.Connect(port));
    const QByteArray text = QByteArray(2500, 'g');
    QVERIFY(guest.Send(text));

    QTRY_COMPARE(received.size(), text.size());
    QVERIFY(reads.size() >= 3);
    for (qsizetype size : reads)
        QVERIFY(size <= 1024);
}

void TestTCPServer::halfClosedGuestIsClosed()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(NextPort());
    server.Open();
    LoopbackPeer guest;
    QVERIFY(guest.Connect(port));
    QTRY_COMPARE(log.Count("accept"), 1);
    guest.ShutdownWrite();

    QTRY_COMPARE(log.Count("close"), 1);
    QCOMPARE(server.Clients().Count(), 0);
    QVERIFY(guest.WaitForEndOfStream());
}

void TestTCPServer::portThatIsNoNumber()
{
    TTCPServer server(nullptr);
    server.Port = QStringLiteral("4000x");
    QVERIFY_THROWS_EXCEPTION(EConvertError, server.Open());
    QCOMPARE(server.State(), wsClosed);
    QCOMPARE(server.SocketHandle(), -1);
}

// A guest turned away inside OnAccept gets the last text before its
// connection ends, and no OnClose follows.
void TestTCPServer::refusingInsideAccept()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.OnAccept = [&](TCustomWSocket *, int socket) {
        log.Record(QStringLiteral("accept"), socket);
        server.SendText(socket, "Sorry!");
        server.CloseClient(socket);
    };
    server.Port = QString::number(NextPort());
    server.Open();
    LoopbackPeer guest;
    QVERIFY(guest.Connect(port));
    QByteArray received;
    QVERIFY(guest.WaitForEndOfStream(&received));
    QCOMPARE(received, QByteArray("Sorry!"));
    QCoreApplication::processEvents();
    QCOMPARE(log.events, QStringList{"accept"});
    QCOMPARE(server.Clients().Count(), 0);
}

// A guest's last text followed by a reset: the text is read, then the close.
void TestTCPServer::dataThenReset()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    QByteArray received;
    server.OnData = [&](TCustomWSocket *, int socket) {
        log.Record(QStringLiteral("data"), socket);
        received += server.ReceiveText(socket);
    };
    LoopbackPeer guest;
    QVERIFY(AcceptOneGuest(server, log, guest));
    QVERIFY(SendsAtOnce(server.Clients().Items(0)));
    QVERIFY(guest.Send("0<Anna> bye"));
    guest.Reset();
    QTRY_COMPARE(log.Count("close"), 1);
    QCOMPARE(log.events, (QStringList{"accept", "data", "close"}));
    QCOMPARE(received, QByteArray("0<Anna> bye"));
    QCOMPARE(server.Clients().Count(), 0);
}

// A close notification that says the network is down is an error, not a
// guest's departure: the guest stays listed.
void TestTCPServer::networkDownIsNoClose()
{
    NotifiedServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    LoopbackPeer guest;
    QVERIFY(AcceptOneGuest(server, log, guest));
    server.HandleNotification(server.Clients().Items(0), SocketEvent::Close, 10050);
    QCOMPARE(log.events, (QStringList{"accept", "error 10050 Network is down"}));
    QCOMPARE(server.Clients().Count(), 1);
}

// With no descriptor left, the failed accept is reported once, and what
// waits is taken with the descriptor kept in reserve and ended, so that it
// leaves the queue; once an accept succeeds, the next failure is reported again.
void TestTCPServer::outOfDescriptorsIsReportedOnce()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(NextPort());
    server.Open();
    const QString tooMany = QStringLiteral("error 10024 Too many open files");
    LoopbackPeer first;
    LoopbackPeer second;
    LoopbackPeer third;
    QVERIFY(first.Connect(port));
    {
        NoFreeDescriptors limit;
        QTRY_COMPARE(log.events, QStringList{tooMany});
        QVERIFY(first.WaitForEndOfStream());
        QCOMPARE(log.events, QStringList{tooMany});
    }
    QVERIFY(second.Connect(port));
    QTRY_COMPARE(log.events, (QStringList{tooMany, "accept"}));
    QVERIFY(third.Connect(port));
    NoFreeDescriptors limit;
    QTRY_COMPARE(log.events, (QStringList{tooMany, "accept", tooMany}));
}

void TestTCPServer::handlerDeletesTheServer_data()
{
    QTest::addColumn<QString>("event");
    QTest::newRow("accept") << "accept";
    QTest::newRow("data") << "data";
    QTest::newRow("close") << "close";
    QTest::newRow("port in use") << "error";
}

// A handler may delete the server it was called for; nothing touches it after.
void TestTCPServer::handlerDeletesTheServer()
{
    QFETCH(QString, event);
    TTCPServer holder(nullptr); // holds the port for the error row
    holder.Port = QString::number(NextPort());
    if (event == QLatin1String("error"))
        holder.Open();
    auto *server = new TTCPServer(nullptr);
    const QPointer<TTCPServer> alive(server);
    const auto deleteIt = [server] { delete server; };
    if (event == QLatin1String("accept"))
        server->OnAccept = [=](TCustomWSocket *, int) { deleteIt(); };
    if (event == QLatin1String("data"))
        server->OnData = [=](TCustomWSocket *, int) { deleteIt(); };
    if (event == QLatin1String("close"))
        server->OnClose = [=](TCustomWSocket *, int) { deleteIt(); };
    if (event == QLatin1String("error"))
        server->OnError = [=](TCustomWSocket *, int, const QString &) { deleteIt(); };
    server->Port = holder.Port;
    server->Open();
    LoopbackPeer guest;
    if (event != QLatin1String("error"))
        QVERIFY(guest.Connect(port));
    if (event == QLatin1String("data"))
        QVERIFY(guest.Send("hi"));
    if (event == QLatin1String("close"))
        guest.Close();
    QTRY_VERIFY(alive.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(TestTCPServer)
#include "tst_tcpserver.moc"
