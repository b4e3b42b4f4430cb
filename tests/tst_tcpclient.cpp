// The connecting side on loopback: refused and unresolvable hosts, the
// connect event, the host closing, and a walk through refused ports.
#include "LoopbackPeer.h"
#include "SocketEventLog.h"
#include "TNotificationEndpoint.h"
#include "TTCPClient.h"

#include <QPointer>
#include <QTest>

namespace {

constexpr quint16 kBasePort = 21600;

const char *StateName(TWSocketState state)
{
    switch (state) {
    case wsNotReady:
        return "wsNotReady";
    case wsClosed:
        return "wsClosed";
    case wsConnected:
        return "wsConnected";
    case wsListening:
        return "wsListening";
    case wsConnecting:
        return "wsConnecting";
    }
    return "?";
}

// The notifications a client is given, as the event loop would deliver them.
class NotifiedClient : public TTCPClient {
public:
    using TTCPClient::HandleNotification;
    using TTCPClient::TTCPClient;
};

} // namespace

class TestTCPClient : public QObject {
    Q_OBJECT
private slots:
    void refusedPortStaysConnecting();
    void hostNotFound();
    void connectsOnce();
    void hostClosing();
    void closeIsQuiet();
    void textsBothWays();
    void errorHandlerWalksToTheNextPort();
    void newAttemptInsideOnClose();
    void handlerDeletesTheClient_data();
    void handlerDeletesTheClient();
    void networkDownIsNoClose();

private:
    quint16 NextPort() { return ++port; }
    // Listens on the next port, opens the client to it by the host name, and
    // gives the host's end once the client is connected.
    LoopbackPeer ConnectToANewHost(TTCPClient &client, LoopbackListener &host, const QString &name)
    {
        if (!host.Listen(NextPort()))
            return {};
        client.Host = name;
        client.Port = QString::number(port);
        client.Open();
        LoopbackPeer atHost = host.AcceptOne();
        (void)QTest::qWaitFor([&] { return client.State() == wsConnected; }, 5000);
        return atHost;
    }
    quint16 port = kBasePort;
};

void TestTCPClient::refusedPortStaysConnecting()
{
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(NextPort()); // nobody listens here
    client.Open();
    QCOMPARE(client.State(), wsConnecting);
    QVERIFY(client.SocketHandle() != -1);

    QTRY_COMPARE(log.events, QStringList{"error 10061 Connection refused"});
    QCOMPARE(client.State(), wsConnecting);
    QCoreApplication::processEvents();
    QCOMPARE(log.events.size(), 1);

    client.Close();
    QCOMPARE(client.State(), wsClosed);
    QCOMPARE(client.SocketHandle(), -1);
    QCOMPARE(log.events.size(), 1);
}

void TestTCPClient::hostNotFound()
{
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    client.Host = QStringLiteral("no-such-host.invalid");
    client.Port = QString::number(NextPort());
    client.Open();
    QCOMPARE(log.events, QStringList{"error 11001 Host not found"});
    QCOMPARE(client.State(), wsClosed);
    QCOMPARE(client.SocketHandle(), -1);
}

void TestTCPClient::connectsOnce()
{
    LoopbackListener host;
    QVERIFY(host.Listen(NextPort()));
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    client.OnConnect = [&](TCustomWSocket *, int socket) {
        log.Record(QStringLiteral("connect in %1").arg(StateName(client.State())), socket);
        client.Open(); // does nothing while an attempt is under way
    };
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(port);
    client.Open();
    const int attempt = client.SocketHandle();
    client.Open();
    QCOMPARE(client.SocketHandle(), attempt);

    QTRY_COMPARE(log.events, QStringList{"connect in wsConnecting"});
    QCOMPARE(log.sockets[0], attempt);
    QCOMPARE(client.State(), wsConnected);
    LoopbackPeer guestSeenByHost = host.AcceptOne();
    QVERIFY(guestSeenByHost.IsOpen());
    QVERIFY(!client.GetLocalPort(client.SocketHandle()).isEmpty());
    QVERIFY(SendsAtOnce(client.SocketHandle()));
    QCoreApplication::processEvents();
    QCOMPARE(log.events.size(), 1);
}

void TestTCPClient::hostClosing()
{
    LoopbackListener host;
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    LoopbackPeer guestSeenByHost = ConnectToANewHost(client, host, QStringLiteral("localhost"));
    QTRY_COMPARE(client.State(), wsConnected);
    QVERIFY(guestSeenByHost.Send("VanuServer is Down"));
    QByteArray received;
    client.OnData = [&](TCustomWSocket *, int) { received += client.ReceiveText(); };
    guestSeenByHost.Close();

    QTRY_COMPARE(log.Count("close"), 1);
    QCOMPARE(received, QByteArray("VanuServer is Down"));
    QCOMPARE(client.State(), wsClosed);
    QCOMPARE(client.SocketHandle(), -1);
    QCoreApplication::processEvents();
    QCOMPARE(log.events, (QStringList{"connect", "close"}));
}

void TestTCPClient::closeIsQuiet()
{
    LoopbackListener host;
    QVERIFY(host.Listen(NextPort()));
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(port);
    client.Open();
    LoopbackPeer guestSeenByHost = host.AcceptOne();
    QTRY_COMPARE(client.State(), wsConnected);

    client.Close();
    QCOMPARE(client.State(), wsClosed);
    QVERIFY(guestSeenByHost.WaitForEndOfStream());
    QCoreApplication::processEvents();
    QCOMPARE(log.events, QStringList{"connect"});
}

void TestTCPClient::textsBothWays()
{
    LoopbackListener host;
    QVERIFY(host.Listen(NextPort()));
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    QByteArray received;
    client.OnData = [&](TCustomWSocket *, int) { received += client.ReceiveText(); };
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(port);
    client.Open();
    LoopbackPeer guestSeenByHost = host.AcceptOne();
    QTRY_COMPARE(client.State(), wsConnected);

    client.SendText(" Anna");
    QCOMPARE(guestSeenByHost.ReadAtLeast(5), QByteArray(" Anna"));
    QVERIFY(guestSeenByHost.Send("#Anna"));
    QTRY_COMPARE(received, QByteArray("#Anna"));
    QCOMPARE(log.events, QStringList{"connect"});
}

// The guest's way of finding a host above the base port: each refusal closes
// the attempt and opens the next one from inside the error handler.
void TestTCPClient::errorHandlerWalksToTheNextPort()
{
    const quint16 base = NextPort();
    NextPort();
    LoopbackListener host;
    QVERIFY(host.Listen(NextPort()));

    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    int next = base;
    client.OnError = [&](TCustomWSocket *, int error, const QString &text) {
        log.Record(QStringLiteral("error %1 %2").arg(error).arg(text));
        if (text == QLatin1String("Connection refused")) {
            client.Close();
            client.Port = QString::number(++next);
            client.Open();
        }
    };
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(base);
    client.Open();

    QTRY_COMPARE(client.State(), wsConnected);
    QCOMPARE(log.events, (QStringList{"error 10061 Connection refused", "error 10061 Connection refused", "connect"}));
    QCOMPARE(client.Port, QString::number(port));
}

// The host closes, and OnClose at once connects to another host. Linux gives
// the new attempt the number just freed, and the attempt must live on.
void TestTCPClient::newAttemptInsideOnClose()
{
    LoopbackListener first;
    LoopbackListener second;
    QVERIFY(first.Listen(NextPort()));
    const quint16 firstPort = port;
    QVERIFY(second.Listen(NextPort()));
    TTCPClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    int closed = -1;
    client.OnClose = [&](TCustomWSocket *, int socket) {
        closed = socket;
        client.Close();
        client.Port = QString::number(port);
        client.Open();
    };
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(firstPort);
    client.Open();
    LoopbackPeer atFirst = first.AcceptOne();
    QTRY_COMPARE(client.State(), wsConnected);
    atFirst.Close();
    LoopbackPeer atSecond = second.AcceptOne();
    QVERIFY(atSecond.IsOpen());
    QTRY_COMPARE(client.State(), wsConnected);
    QCOMPARE(client.SocketHandle(), closed); // the same number, given anew
    client.SendText("still here");
    QCOMPARE(atSecond.ReadAtLeast(10), QByteArray("still here"));
    QCOMPARE(log.events, (QStringList{"connect", "connect"}));
}

void TestTCPClient::handlerDeletesTheClient_data()
{
    QTest::addColumn<QString>("event");
    QTest::newRow("connect") << "connect";
    QTest::newRow("close") << "close";
    QTest::newRow("refused") << "error";
}

// A handler may delete the client it was called for; nothing touches it after.
void TestTCPClient::handlerDeletesTheClient()
{
    QFETCH(QString, event);
    LoopbackListener host;
    QVERIFY(host.Listen(NextPort()));
    auto *client = new TTCPClient(nullptr);
    const QPointer<TTCPClient> alive(client);
    const auto deleteIt = [client] { delete client; };
    if (event == QLatin1String("connect"))
        client->OnConnect = [=](TCustomWSocket *, int) { deleteIt(); };
    if (event == QLatin1String("close"))
        client->OnClose = [=](TCustomWSocket *, int) { deleteIt(); };
    if (event == QLatin1String("error"))
        client->OnError = [=](TCustomWSocket *, int, const QString &) { deleteIt(); };
    client->Host = QStringLiteral("127.0.0.1");
    client->Port = QString::number(event == QLatin1String("error") ? NextPort() : port);
    client->Open();
    LoopbackPeer atHost = event == QLatin1String("error") ? LoopbackPeer() : host.AcceptOne();
    if (event == QLatin1String("close")) {
        QTRY_COMPARE(client->State(), wsConnected);
        atHost.Close();
    }
    QTRY_VERIFY(alive.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A close notification that says the network is down is an error, not the
// end of the connection.
void TestTCPClient::networkDownIsNoClose()
{
    LoopbackListener host;
    NotifiedClient client(nullptr);
    SocketEventLog log;
    log.Attach(client);
    LoopbackPeer atHost = ConnectToANewHost(client, host, QStringLiteral("127.0.0.1"));
    QTRY_COMPARE(client.State(), wsConnected);
    client.HandleNotification(client.SocketHandle(), SocketEvent::Close, 10050);
    QCOMPARE(log.events, (QStringList{"connect", "error 10050 Network is down"}));
    QCOMPARE(client.State(), wsConnected);
}

QTEST_MAIN(TestTCPClient)
#include "tst_tcpclient.moc"
