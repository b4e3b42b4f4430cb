// What the client and the server share: resolution, raw reads and sends on a
// connection, the graceful close and error reporting. Real sockets on loopback.
#include "LoopbackPeer.h"
#include "RuntimeErrors.h"
#include "SocketEventLog.h"
#include "TNotificationEndpoint.h"
#include "TTCPServer.h"

#include <QElapsedTimer>
#include <QTest>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <csignal>

namespace {

int nameLookups = 0;

} // namespace

// Counts the host-name look-ups the program makes, then makes them for real.
extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints, addrinfo **result)
{
    ++nameLookups;
    static const auto real = reinterpret_cast<decltype(&::getaddrinfo)>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return real(node, service, hints, result);
}

namespace {

constexpr quint16 kBasePort = 21000;



// Numbered texts, so that a lost, cut or reordered one shows.
QByteArray NumberedText(int number, int size)
{
    QByteArray text = QByteArray::number(number).rightJustified(6, '0') + ':';
    return text.leftJustified(size, char('a' + number % 26));
}

// A server on its own port with one connected peer.
struct Connection {
    TTCPServer server{nullptr};
    SocketEventLog log;
    LoopbackPeer peer;
    int accepted = -1;

    bool Open(quint16 port, int peerReceiveBuffer = 0)
    {
        log.Attach(server);
        server.Port = QString::number(port);
        server.Open();
        if (server.State() != wsListening || !peer.Connect(port, peerReceiveBuffer))
            return false;
        if (!QTest::qWaitFor([&] { return server.Clients().Count() == 1; }, 5000))
            return false;
        accepted = server.Clients().Items(0);
        return true;
    }
};

} // namespace

class TestSocketBase : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void resolvesPorts_data();
    void resolvesPorts();
    void portThatIsNoNumber();
    void resolvesHosts_data();
    void resolvesHosts();
    void hostNotFound();
    void errorTexts_data();
    void errorTexts();
    void queriesOfNoSocket();
    void queriesOfAConnection();
    void readsAtMost1024Bytes();
    void readNotificationWaitsForARead();
    void slowReadsTakeTurns();
    void dataBeforeCloseIsReadFirst();
    void slowPeerGetsEveryTextInOrder();
    void drainedIsToldOnceTheQueueHasGone();
    void peerThatNeverReadsIsClosed();
    void closeBeforeTheOverflowIsReportedIsQuiet();
    void disconnectSendsWhatIsQueued();
    void sendToAPeerThatHasGone();
    void disconnectAfterThePeerReset();
    void emptyTextSendsNothing();

private:
    quint16 port = kBasePort;
};

void TestSocketBase::initTestCase()
{
    // SIGPIPE would end the test run; the sockets must never raise it.
    std::signal(SIGPIPE, SIG_DFL);
}

void TestSocketBase::resolvesPorts_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<int>("port");
    QTest::newRow("number") << "4000" << 4000;
    QTest::newRow("service name") << "http" << 80;
    QTest::newRow("low 16 bits") << "70000" << 4464;
    QTest::newRow("negative") << "-4000" << 61536;
    QTest::newRow("hexadecimal") << "$FA0" << 4000;
}

void TestSocketBase::resolvesPorts()
{
    QFETCH(QString, portText);
    QFETCH(int, port);
    TTCPServer server(nullptr);
    sockaddr_in address{};
    QVERIFY(server.ResolvePort(portText, address));
    QCOMPARE(address.sin_family, AF_INET);
    QCOMPARE(ntohs(address.sin_port), port);
    QCOMPARE(address.sin_addr.s_addr, htonl(INADDR_ANY));
}

void TestSocketBase::portThatIsNoNumber()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    sockaddr_in address{};
    try {
        server.ResolveAddress(QStringLiteral("127.0.0.1"), QStringLiteral("abc"), address);
        QFAIL("no conversion error");
    } catch (const EConvertError &error) {
        QCOMPARE(error.Message(), QStringLiteral("'abc' is not a valid integer value"));
    }
    QCOMPARE(log.events, QStringList());
}

void TestSocketBase::resolvesHosts_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("lookups");
    QTest::newRow("dotted") << "127.0.0.1" << "127.0.0.1" << 0;
    QTest::newRow("short dotted") << "127.1" << "127.0.0.1" << 0;
    QTest::newRow("name") << "localhost" << "127.0.0.1" << 1;
}

void TestSocketBase::resolvesHosts()
{
    QFETCH(QString, host);
    QFETCH(QString, address);
    QFETCH(int, lookups);
    TTCPServer server(nullptr);
    sockaddr_in resolved{};
    nameLookups = 0;
    QVERIFY(server.ResolveAddress(host, QStringLiteral("4000"), resolved));
    QCOMPARE(nameLookups, lookups);
    QCOMPARE(QString::fromLatin1(inet_ntoa(resolved.sin_addr)), address);
    QCOMPARE(ntohs(resolved.sin_port), 4000);
}

void TestSocketBase::hostNotFound()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    sockaddr_in address{};
    QVERIFY(!server.ResolveAddress(QStringLiteral("no-such-host.invalid"), QStringLiteral("4000"), address));
    QCOMPARE(log.events, QStringList{"error 11001 Host not found"});
    QCOMPARE(server.LastError(), 11001);
}

void TestSocketBase::errorTexts_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << 10061 << "Connection refused";
    QTest::newRow("zero") << 0 << "Not a Winsock error";
    QTest::newRow("10000") << 10000 << "Not a Winsock error";
    QTest::newRow("10010") << 10010 << "Not a Winsock error";
}

void TestSocketBase::errorTexts()
{
    QFETCH(int, error);
    QFETCH(QString, text);
    TTCPServer server(nullptr);
    server.ReportError(error); // without a handler it is only recorded
    QCOMPARE(server.LastError(), error);
    QCOMPARE(server.ErrorText(), text);
}

void TestSocketBase::queriesOfNoSocket()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    QCOMPARE(server.GetPeerAddress(-1), QString());
    QCOMPARE(server.GetPeerPort(-1), QString());
    QCOMPARE(server.GetLocalPort(-1), QString());
    QCOMPARE(log.events, QStringList());
    QCOMPARE(server.State(), wsClosed);
    QCOMPARE(server.SocketHandle(), -1);
    QVERIFY(!server.Version().isEmpty());
    QVERIFY(!server.LocalHostName().isEmpty());
}

void TestSocketBase::queriesOfAConnection()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    sockaddr_in peerEnd{};
    socklen_t size = sizeof peerEnd;
    getsockname(connection.peer.Handle(), reinterpret_cast<sockaddr *>(&peerEnd), &size);

    QCOMPARE(connection.server.GetPeerAddress(connection.accepted), QStringLiteral("127.0.0.1"));
    QCOMPARE(connection.server.GetPeerPort(connection.accepted), QString::number(ntohs(peerEnd.sin_port)));
    QCOMPARE(connection.server.GetLocalPort(connection.accepted), QString::number(port));
}

void TestSocketBase::readsAtMost1024Bytes()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    QVERIFY(connection.peer.Send(QByteArray(3000, 'x')));
    QTRY_COMPARE(BytesWaiting(connection.accepted), 3000);

    QList<qsizetype> sizes;
    for (int read = 0; read < 4; ++read)
        sizes << connection.server.ReceiveText(connection.accepted).size();
    QCOMPARE(sizes, (QList<qsizetype>{1024, 1024, 952, 0}));
    QCOMPARE(connection.log.Count("error 10035 Operation would block"), 0); // nothing waiting is silent
}

// The first notification comes; more data arriving brings no second one
// until somebody reads, and a read that leaves data waiting brings the next.
void TestSocketBase::readNotificationWaitsForARead()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    QVERIFY(connection.peer.Send(QByteArray(1500, 'x')));
    QTRY_COMPARE(connection.log.Count("data"), 1);

    QVERIFY(connection.peer.Send(QByteArray(100, 'y')));
    QTRY_COMPARE(BytesWaiting(connection.accepted), 1600);
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    QCOMPARE(connection.log.Count("data"), 1);

    QCOMPARE(connection.server.ReceiveText(connection.accepted).size(), 1024);
    QTRY_COMPARE(connection.log.Count("data"), 2);
}

// Each read takes longer than a pass of the event loop may spend on reads.
// The two connections must take turns, and each must be read to its end.
void TestSocketBase::slowReadsTakeTurns()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.Port = QString::number(++port);
    server.Open();
    LoopbackPeer first, second;
    QVERIFY(first.Connect(port) && second.Connect(port));
    QTRY_COMPARE(server.Clients().Count(), 2);

    QList<int> readers;
    QByteArray received;
    server.OnData = [&](TCustomWSocket *, int socket) {
        readers << socket;
        received += server.ReceiveText(socket);
        QElapsedTimer busy;
        busy.start();
        while (!busy.hasExpired(12)) {
        }
    };
    const QByteArray sent = NumberedText(1, 5 * 1024);
    QVERIFY(first.Send(sent) && second.Send(sent));
    QTRY_COMPARE(received.size(), 2 * sent.size());
    const QList<int> firstSix = readers.mid(0, 6);
    QVERIFY2(firstSix.count(firstSix.constFirst()) <= 4, qPrintable(QStringLiteral("reads: %1").arg(readers.size())));
}

void TestSocketBase::dataBeforeCloseIsReadFirst()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    QByteArray received;
    connection.server.OnData = [&](TCustomWSocket *, int socket) {
        connection.log.Record(QStringLiteral("data"), socket);
        received += connection.server.ReceiveText(socket);
    };
    QVERIFY(connection.peer.Send("last words"));
    connection.peer.Close();

    QTRY_COMPARE(connection.log.Count("close"), 1);
    QCOMPARE(received, QByteArray("last words"));
    QCOMPARE(connection.log.events, (QStringList{"accept", "data", "close"}));
    QCOMPARE(connection.server.Clients().Count(), 0);
}

// Texts sent much faster than the peer can take them are queued, and all of
// them arrive whole and in order.
void TestSocketBase::slowPeerGetsEveryTextInOrder()
{
    Connection connection;
    QVERIFY(connection.Open(++port, 4096));
    ShrinkSendBuffer(connection.accepted);

    QByteArray expected;
    for (int number = 0; number < 300; ++number) {
        const QByteArray text = NumberedText(number, 1000);
        connection.server.SendText(connection.accepted, text);
        expected += text;
    }
    QVERIFY(connection.server.QueuedBytes(connection.accepted) > 0);

    const QByteArray received = connection.peer.ReadAtLeast(expected.size(), 20000);
    QCOMPARE(received.size(), expected.size());
    QVERIFY(received == expected);
    QCOMPARE(connection.server.QueuedBytes(connection.accepted), 0);
    QCOMPARE(connection.log.events, QStringList{"accept"});
}

// An owner that asks hears, once, when everything it sent to a slow peer has
// gone: then it can send more without piling it up.
void TestSocketBase::drainedIsToldOnceTheQueueHasGone()
{
    Connection connection;
    QVERIFY(connection.Open(++port, 4096));
    ShrinkSendBuffer(connection.accepted);
    TTCPServer &server = connection.server;
    QByteArray expected;
    for (int number = 0; number < 10000 && !server.isBackedUp(connection.accepted); ++number) {
        expected += NumberedText(number, 100);
        server.SendText(connection.accepted, expected.right(100));
    }
    QVERIFY(server.isBackedUp(connection.accepted));
    server.tellWhenDrained(connection.accepted);
    QCoreApplication::processEvents();
    QCOMPARE(connection.log.Count("drained"), 0); // the peer has read nothing yet
    QCOMPARE(connection.peer.ReadAtLeast(expected.size(), 20000), expected);
    QTRY_COMPARE(connection.log.Count("drained"), 1);
    QVERIFY(!server.isBackedUp(connection.accepted));
    server.SendText(connection.accepted, "more");
    QCOMPARE(connection.peer.ReadAtLeast(4, 5000), QByteArray("more"));
    QCOMPARE(connection.log.Count("drained"), 1);
}

// A peer that takes nothing fills the queue; at the bound the connection is
// given up and reported closed, once, as if the peer had gone.
void TestSocketBase::peerThatNeverReadsIsClosed()
{
    Connection connection;
    QVERIFY(connection.Open(++port, 4096));
    ShrinkSendBuffer(connection.accepted);

    const QByteArray text = NumberedText(1, 1000);
    const int texts = int(TNotificationEndpoint::kSendQueueLimit / text.size()) + 100;
    for (int number = 0; number < texts; ++number)
        connection.server.SendText(connection.accepted, text);
    QCOMPARE(connection.log.Count("close"), 0); // reported from the event loop, not inside a send
    QCOMPARE(connection.server.QueuedBytes(connection.accepted), 0);

    QTRY_COMPARE(connection.log.Count("close"), 1);
    QCOMPARE(connection.log.sockets.last(), connection.accepted);
    QCOMPARE(connection.server.Clients().Count(), 0);
    QVERIFY(connection.peer.WaitForEndOfStream(nullptr, 10000));
    QCOMPARE(connection.log.events, (QStringList{"accept", "close"}));
}

// After the server has been closed, the overflow's close notification that
// was still on its way is ignored.
void TestSocketBase::closeBeforeTheOverflowIsReportedIsQuiet()
{
    Connection connection;
    QVERIFY(connection.Open(++port, 4096));
    ShrinkSendBuffer(connection.accepted);
    const QByteArray text(1000, 'z');
    const int texts = int(TNotificationEndpoint::kSendQueueLimit / text.size()) + 100;
    for (int number = 0; number < texts; ++number)
        connection.server.SendText(connection.accepted, text);
    connection.server.Close();

    QVERIFY(connection.peer.WaitForEndOfStream(nullptr, 10000));
    QCoreApplication::processEvents();
    QCOMPARE(connection.log.events, QStringList{"accept"});
    QCOMPARE(connection.server.State(), wsClosed);
}

// What the socket had not yet taken is sent once more before the close, so a
// last text to a guest that is being turned away is not lost.
void TestSocketBase::disconnectSendsWhatIsQueued()
{
    Connection connection;
    QVERIFY(connection.Open(++port, 4096));
    ShrinkSendBuffer(connection.accepted);

    QByteArray expected;
    for (int number = 0; number < 10000 && connection.server.QueuedBytes(connection.accepted) == 0; ++number) {
        const QByteArray text = NumberedText(number, 100);
        connection.server.SendText(connection.accepted, text);
        expected += text;
    }
    const qsizetype queued = connection.server.QueuedBytes(connection.accepted);
    QVERIFY(queued > 0);

    // Take all that the system has accepted, without running the event loop
    // (which would send the queue itself).
    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    while (received.size() < expected.size() - queued && clock.elapsed() < 10000) {
        pollfd waiting{connection.peer.Handle(), POLLIN, 0};
        poll(&waiting, 1, 100);
        received += connection.peer.ReadAvailable();
    }
    QCOMPARE(received.size(), expected.size() - queued);

    connection.server.CloseClient(connection.accepted);
    QByteArray rest;
    QVERIFY(connection.peer.WaitForEndOfStream(&rest));
    QVERIFY(received + rest == expected);
    QCOMPARE(connection.log.events, QStringList{"accept"});
}

// Waits, without running the event loop (which would report the close and
// close our end), until the connection has failed or the time is up.
bool WaitForFailure(int socket, int timeoutMs)
{
    pollfd watched{socket, 0, 0}; // POLLERR and POLLHUP are always reported
    return poll(&watched, 1, timeoutMs) == 1;
}

// A peer that has gone makes a send fail; it must never raise SIGPIPE.
void TestSocketBase::sendToAPeerThatHasGone()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    connection.peer.Close();

    for (int attempt = 0; attempt < 100 && connection.log.events.size() == 1; ++attempt) {
        connection.server.SendText(connection.accepted, "anybody there?");
        WaitForFailure(connection.accepted, 50);
    }
    QCOMPARE(connection.log.events.size(), 2);
    const QString error = connection.log.events.last();
    QVERIFY2(error == "error 10058 Can't send after socket shutdown" || error == "error 10054 Connection reset by peer",
             qPrintable(error));
}

// Shutting down a connection that the peer has reset answers "not connected";
// the close goes on regardless.
void TestSocketBase::disconnectAfterThePeerReset()
{
    Connection connection;
    QVERIFY(connection.Open(++port));
    connection.peer.Reset();
    QVERIFY(WaitForFailure(connection.accepted, 5000));

    int socket = connection.accepted;
    connection.server.Disconnect(socket);
    QCOMPARE(socket, -1);
    QCOMPARE(connection.log.events, QStringList{"accept"});
    connection.server.Clients().Clear();
}

void TestSocketBase::emptyTextSendsNothing()
{
    TTCPServer server(nullptr);
    SocketEventLog log;
    log.Attach(server);
    server.SendText(-1, QByteArray()); // a real send on -1 would fail
    QCOMPARE(log.events, QStringList());
    server.SendText(-1, "x");
    QCOMPARE(log.events, QStringList{"error 10009 Bad file number"});
}

QTEST_MAIN(TestSocketBase)
#include "tst_socketbase.moc"
