// The host's and the guest's sessions without a window: real sockets on
// loopback, plain and secure, versions 1 and 2, in one process.
#include "ChatLink.h"
#include "Cp1251CodePage.h"
#include "FrameReader.h"
#include "GuestSession.h"
#include "HostIdentity.h"
#include "HostSession.h"
#include "SecureOpening.h"
#include "RawGuest.h"
#include "SecurePeer.h"
#include "TTCPClient.h"
#include "TTCPServer.h"

#include <QSignalSpy>
#include <QUtf8StringView>
#include <QTemporaryDir>
#include <QTest>

#include <openssl/ssl.h>

#include <csignal>
#include <memory>

namespace {

constexpr quint16 kPort = 27600; // and the secure ports 100 above
constexpr int kSecureOffset = 100;

// A host session on its server, secure where a TLS context is given.
struct Host {
    Cp1251CodePage codePage;
    TTCPServer server{nullptr};
    HostSession session;
    QStringList received;
    QStringList notices;

    Host(quint16 port, SSL_CTX *context)
        : session(server, codePage, ReadPace(20, 60), Setup())
    {
        QObject::connect(&session, &HostSession::received, [this](const QString &text) { received << text; });
        QObject::connect(&session, &HostSession::notice, [this](const QString &text) { notices << text; });
        server.OnAccept = [this](TCustomWSocket *, int socket) { session.accept(socket); };
        server.OnData = [this](TCustomWSocket *, int socket) { session.read(socket); };
        server.OnClose = [this](TCustomWSocket *, int socket) { session.closed(socket); };
        server.OnDrained = [this](TCustomWSocket *, int socket) { session.drained(socket); };
        server.Port = QString::number(port);
        server.Open();
        if (context)
            server.ListenAlso(QString::number(port + kSecureOffset), std::make_unique<TlsTransports>(context, HostSide{}));
    }
    static HostSession::Setup Setup()
    {
        HostSession::Setup setup;
        setup.nickname = [] { return QStringLiteral("Hosty"); };
        setup.busy = [] { return false; };
        setup.admits = [](const QString &) { return true; };
        return setup;
    }
    int FirstGuest() const { return server.Clients().Items(0); }
};

// A guest session on its client, joining securely where a TLS context is given.
struct Guest {
    Cp1251CodePage codePage;
    TTCPClient client{nullptr};
    GuestSession session;
    QStringList received;
    QStringList participants;

    Guest(quint16 port, SSL_CTX *context, const QString &nickname = QStringLiteral("Anna"))
        : session(client, codePage, [nickname] { return nickname; })
    {
        QObject::connect(&session, &GuestSession::received, [this](const QString &text) { received << text; });
        QObject::connect(&session, &GuestSession::participantsListed,
                         [this](const QStringList &names) { participants = names; });
        client.OnConnect = [this](TCustomWSocket *, int) {
            session.connected();
            session.registerName();
        };
        client.OnData = [this](TCustomWSocket *, int) { session.read(); };
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = QString::number(port);
        if (context)
            client.TryFirst(kSecureOffset, std::make_unique<TlsTransports>(context, GuestSide{}));
        client.Open();
    }
};

// A context that offers or takes no application protocol: a copy of version 1.
void SpeakVersion1(SSL_CTX *context)
{
    SSL_CTX_set_alpn_protos(context, nullptr, 0);
    SSL_CTX_set_alpn_select_cb(context, nullptr, nullptr);
}

// This copy's hello, as its frame carries it.
QByteArray OurHello()
{
    return ChatLink::hello().mid(FrameReader::kHeaderSize + 1);
}

} // namespace

class TestSessions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void versionsChatTogether_data();
    void versionsChatTogether();
    void unknownFrameKindsAreDroppedAndCounted();
    void everyCharacterBetweenVersion2Copies_data();
    void everyCharacterBetweenVersion2Copies();
    void aNewerListTakesTheWaitingOnesPlace();

private:
    QTemporaryDir folder;
    std::unique_ptr<HostIdentity> identity;
    int nextPort = 0;
};

void TestSessions::initTestCase()
{
    // The raw peers write with OpenSSL's own write(), as the program's main knows.
    std::signal(SIGPIPE, SIG_IGN);
    QString error;
    identity = HostIdentity::LoadOrMake(folder.filePath(QStringLiteral("identity.pem")), error);
    QVERIFY2(identity, qPrintable(error));
}

void TestSessions::versionsChatTogether_data()
{
    QTest::addColumn<bool>("secure");
    QTest::addColumn<bool>("hostOffersVersion2");
    QTest::addColumn<bool>("guestOffersVersion2");
    QTest::addColumn<int>("framing");
    QTest::newRow("plain") << false << true << true << int(Framing::None);
    QTest::newRow("a guest of version 1") << true << true << false << int(Framing::Version1);
    QTest::newRow("a host of version 1") << true << false << true << int(Framing::Version1);
    QTest::newRow("version 2 on both sides") << true << true << true << int(Framing::Version2);
}

// Whatever each side speaks, the guest registers, is listed, and its line
// comes back to it through the host; copies of version 2 learn each other's hello.
void TestSessions::versionsChatTogether()
{
    QFETCH(bool, secure);
    QFETCH(bool, hostOffersVersion2);
    QFETCH(bool, guestOffersVersion2);
    QFETCH(int, framing);
    const quint16 port = kPort + quint16(nextPort++);
    SslContext hostContext = HostContext(*identity);
    SslContext guestContext = GuestContext();
    if (!hostOffersVersion2)
        SpeakVersion1(hostContext.get());
    if (!guestOffersVersion2)
        SpeakVersion1(guestContext.get());
    Host host(port, secure ? hostContext.get() : nullptr);
    Guest guest(port, secure ? guestContext.get() : nullptr);

    QTRY_COMPARE(guest.participants, QStringList{"Anna"});
    QCOMPARE(int(host.server.framingOf(host.FirstGuest())), framing);
    guest.session.sendOwnLine("2<Anna> hi there");
    QTRY_COMPARE(guest.received.size(), 2);
    QCOMPARE(guest.received, (QStringList{"Hello!  Welcome to Hosty's coupon.", "2<Anna> hi there"}));
    QCOMPARE(host.received, QStringList{"2<Anna> hi there"});
    const QByteArray hello = framing == int(Framing::Version2) ? OurHello() : QByteArray();
    QCOMPARE(host.session.helloOf(host.FirstGuest()), hello);
    QCOMPARE(guest.session.hostHello(), hello);
}

// A peer of a later version may send kinds this one does not know: they are
// dropped, counted and shown nowhere, and what follows is read as ever. So is
// a frame that comes before the peer's hello.
void TestSessions::unknownFrameKindsAreDroppedAndCounted()
{
    SslContext hostContext = HostContext(*identity);
    Host host(kPort + 20, hostContext.get());
    SecurePeer peer(kPort + 20 + kSecureOffset, SecurePeer::Offers::Version2);
    QVERIFY(peer.OpenWithoutPassword());
    QVERIFY(peer.agreedOnVersion2());
    QCOMPARE(peer.ReadFrame(), char(FrameKind::Hello) + OurHello());
    QVERIFY(OurHello().startsWith("program=Vanu "));
    QVERIFY(OurHello().endsWith("\nfeatures=hello,chat,registration,list,greeting,notice,departure,down,keys,private,"
                                "receipt,tunnel,fileoffer"));
    QCOMPARE(peer.ReadFrame(), char(FrameKind::Greeting) + QByteArray("Hello!  Welcome to Hosty's coupon."));

    const QByteArray unknown = QByteArray(1, char(0x7f)) + "2<Bob> from the future";
    const QByteArray early = char(FrameKind::Registration) + QByteArray(" Early");
    for (const QByteArray &frame : {early, char(FrameKind::Hello) + QByteArray("program=Raw\nfeatures=chat"), unknown,
                                    char(FrameKind::Registration) + QByteArray(" Bob"), unknown,
                                    char(FrameKind::Chat) + QByteArray("2<Bob> hello")})
        peer.SendFrame(frame);
    QCOMPARE(peer.ReadFrame(), char(FrameKind::List) + QByteArray("#Bob"));
    // Each participant's key (none here) and the kinds its hello named.
    QCOMPARE(peer.ReadFrame(), char(FrameKind::Keys) + QByteArray("Hosty\t\t") + knownFrameKinds() + "\nBob\t\tchat\n");
    QCOMPARE(peer.ReadFrame(), char(FrameKind::Chat) + QByteArray("2<Bob> hello"));
    QCOMPARE(host.received, QStringList{"2<Bob> hello"});
    QCOMPARE(host.session.droppedFrameCount(), 3);

    // Malformed UTF-8 (an overlong "/", a surrogate, a cut sequence) goes on marked as such, never as it came.
    peer.SendFrame(char(FrameKind::Chat) + QByteArray("2<Bob> \xC0\xAF, \xED\xA0\x80, \xE4\xBD"));
    const QByteArray relayed = peer.ReadFrame();
    QVERIFY(relayed.startsWith(char(FrameKind::Chat) + QByteArray("2<Bob> \xEF\xBF\xBD")));
    QVERIFY(QUtf8StringView(relayed).isValidUtf8());
    QCOMPARE(host.received.last(), QString::fromUtf8(relayed.mid(1)));
    QCOMPARE(host.session.helloOf(host.FirstGuest()), QByteArray("program=Raw\nfeatures=chat"));
    QVERIFY(!host.notices.join('\n').contains(QStringLiteral("future")));
}

void TestSessions::everyCharacterBetweenVersion2Copies_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("plainGuestReads");
    QTest::newRow("emoji and Chinese") << QStringLiteral("emoji: 😀👍 chinese: 你好世界 café")
                                       << QByteArray("emoji: ?? chinese: ???? caf?");
    QTest::newRow("German") << QStringLiteral("schöne Grüße") << QByteArray("sch?ne Gr??e");
    QTest::newRow("Cyrillic, in the code page") << QStringLiteral("Привет") << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2");
    QTest::newRow("right to left") << QStringLiteral("שלום 123") << QByteArray("???? 123");
}

// A line of a guest of version 2 reaches the host and every guest of version
// 2 as it was typed, its sender's echo included, and a plain guest in the
// code page, as plain guests always read.
void TestSessions::everyCharacterBetweenVersion2Copies()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, plainGuestReads);
    const quint16 port = kPort + quint16(nextPort++);
    SslContext hostContext = HostContext(*identity);
    SslContext guestContext = GuestContext();
    Host host(port, hostContext.get());
    Guest zoe(port, guestContext.get(), QStringLiteral("Zoë"));
    QTRY_COMPARE(zoe.participants, QStringList{"Zoë"});
    RawGuest plain;
    QVERIFY(plain.Join(port, "Carl"));
    QTRY_COMPARE(zoe.participants, (QStringList{"Zoë", "Carl"}));
    QTRY_VERIFY((plain.Read(), plain.received.endsWith("#Zo?,Carl")));

    const QString line = "2<Zoë> " + typed;
    zoe.session.sendOwnLine(line);
    QTRY_COMPARE(zoe.received.last(), line);
    QCOMPARE(host.received, QStringList{line});
    QTRY_VERIFY((plain.Read(), plain.received.endsWith("2<Zo?> " + plainGuestReads)));
}

// A guest that takes nothing gets, once it reads again, every line in turn
// but only the newest of the lists that waited for it: the list a later
// registration makes supersedes the one still waiting.
void TestSessions::aNewerListTakesTheWaitingOnesPlace()
{
    Host host(kPort + 21, nullptr);
    RawGuest sleeper;
    QVERIFY(sleeper.peer.Connect(kPort + 21, 4096));
    sleeper.Send(" Sleepy");
    QTRY_COMPARE(host.server.Clients().Count(), 1);
    const int sleeping = host.FirstGuest();
    ShrinkSendBuffer(sleeping);
    RawGuest chatty;
    QVERIFY(chatty.Join(kPort + 21, "Chatty"));
    QByteArray lines;
    for (int number = 0; number < 2000 && !host.server.isBackedUp(sleeping); ++number) {
        const QByteArray line = "2<Chatty> " + QByteArray::number(number).leftJustified(200, '.');
        chatty.Send(line);
        lines += line;
        QTRY_VERIFY((chatty.Read(), chatty.received.endsWith(line)));
    }
    QVERIFY(host.server.isBackedUp(sleeping));
    RawGuest newcomers[3];
    const char *const sources[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4"}; // a host takes 4 from one address
    for (int index = 0; index < 3; ++index)
        QVERIFY(newcomers[index].Join(kPort + 21, "N" + QByteArray::number(index), sources[index]));
    QTRY_VERIFY((newcomers[2].Read(), newcomers[2].received.endsWith("#Sleepy,Chatty,N0,N1,N2")));
    const QByteArray last = "#Sleepy,Chatty,N0,N1,N2";
    QTRY_VERIFY_WITH_TIMEOUT((sleeper.Read(), sleeper.received.endsWith(last)), 20000);
    QVERIFY(sleeper.HasInOrder({"#Sleepy,Chatty", lines, last}));
    QCOMPARE(sleeper.Times("#Sleepy,Chatty,N0"), 1); // only in the last list
}

QTEST_GUILESS_MAIN(TestSessions)
#include "tst_sessions.moc"
