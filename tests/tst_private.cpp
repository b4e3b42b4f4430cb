// Private messages between real copies' sessions over loopback: a host and
// guests of version 2, each with its own key, and hostile peers.
#include "ChatLink.h"
#include "Cp1251CodePage.h"
#include "GuestSession.h"
#include "FileLink.h"
#include "FileOffer.h"
#include "FileTransfers.h"
#include "HostIdentity.h"
#include "HostSession.h"
#include "InnerTls.h"
#include "PartFile.h"
#include "PrivateChat.h"
#include "PrivateStore.h"
#include "PrivateWiring.h"
#include "SecureOpening.h"
#include "SecurePeer.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "Transfer.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <QScopeGuard>

#include <sys/resource.h>

#include <csignal>
#include <memory>
#include <vector>

namespace {

constexpr quint16 kPort = 28200; // and the secure ports 100 above: clear of every other test's ports
constexpr int kSecureOffset = 100;

// What every copy has for private messages: a key, a store and the private layer.
struct Copy {
    Copy(const QString &folder, const QString &name)
    {
        QString error;
        identity = HostIdentity::LoadOrMake(QDir(folder).filePath(name + QStringLiteral(".pem")), error);
        store = std::make_unique<PrivateStore>(QDir(folder).filePath(name + QStringLiteral(".private")));
        chat = std::make_unique<PrivateChat>(identity.get(), *store);
        QObject::connect(chat.get(), &PrivateChat::arrived,
                         [this](const QByteArray &, const QString &from, const QString &, const QString &text) {
                             arrived << from + QStringLiteral(": ") + text;
                         });
        QObject::connect(chat.get(), &PrivateChat::delivered,
                         [this](const QByteArray &, const QString &id) { delivered << id; });
        files = std::make_unique<FileTransfers>(identity.get(), *chat, QDir(folder).filePath(name + QStringLiteral(".transfers")));
    }
    QByteArray key() const { return identity->Fingerprint(); }

    std::unique_ptr<HostIdentity> identity;
    std::unique_ptr<PrivateStore> store;
    std::unique_ptr<PrivateChat> chat;
    std::unique_ptr<FileTransfers> files;
    QStringList arrived;
    QStringList delivered;
};

struct Host : Copy {
    Cp1251CodePage codePage;
    TTCPServer server{nullptr};
    HostSession session;
    SslContext context;
    QStringList received;

    Host(const QString &folder, quint16 port)
        : Copy(folder, QStringLiteral("host")), session(server, codePage, ReadPace(20, 60), Setup()),
          context(HostContext(*identity))
    {
        HostSession::NameKeys keys;
        keys.ownKey = [this] { return key(); };
        session.holdNamesBy(keys);
        ConnectPrivateChat(*chat, session);
        files->setRelay(&session.fileRelay(), [] { return QStringLiteral("Hosty"); });
        QObject::connect(&session, &HostSession::received, [this](const QString &text) { received << text; });
        server.OnAccept = [this](TCustomWSocket *, int socket) { session.accept(socket); };
        server.OnData = [this](TCustomWSocket *, int socket) { session.read(socket); };
        server.OnClose = [this](TCustomWSocket *, int socket) { session.closed(socket); };
        server.OnDrained = [this](TCustomWSocket *, int socket) { session.drained(socket); };
        server.Port = QString::number(port);
        server.Open();
        HostSide side;
        side.fileConnectionAllowed = [this](const QByteArray &key) { return session.hasParticipantWithKey(key); };
        server.ListenAlso(QString::number(port + kSecureOffset), std::make_unique<TlsTransports>(context.get(), side));
    }
    static HostSession::Setup Setup()
    {
        HostSession::Setup setup;
        setup.nickname = [] { return QStringLiteral("Hosty"); };
        setup.busy = [] { return false; };
        setup.admits = [](const QString &) { return true; };
        return setup;
    }
};

struct Guest : Copy {
    Cp1251CodePage codePage;
    TTCPClient client{nullptr};
    GuestSession session;
    SslContext context;
    QStringList people;

    Guest(const QString &folder, quint16 port, const QString &nickname)
        : Copy(folder, nickname), session(client, codePage, [nickname] { return nickname; }),
          context(GuestContext(identity.get()))
    {
        ConnectPrivateChat(*chat, session);
        files->setHostAddress([port] { return qMakePair(QStringLiteral("127.0.0.1"), quint16(port + kSecureOffset)); });
        QObject::connect(&session, &GuestSession::participantsKeyed, [this](const QList<KeyedParticipant> &all) {
            people.clear();
            for (const KeyedParticipant &participant : all)
                people << participant.name;
        });
        client.OnConnect = [this](TCustomWSocket *, int) {
            session.connected();
            session.registerName();
        };
        client.OnData = [this](TCustomWSocket *, int) { session.read(); };
        client.Host = QStringLiteral("127.0.0.1");
        client.Port = QString::number(port);
        client.TryFirst(kSecureOffset, std::make_unique<TlsTransports>(context.get(), GuestSide{}));
        client.Open();
    }
};

// Bytes that differ from one to the next.
QByteArray Content(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype at = 0; at < size; ++at)
        bytes[at] = char((at * 31 + at / 977) & 0xFF);
    return bytes;
}

// A host and two guests, Anna and Bob, each knowing who is here with which key.
struct ThreeCopies {
    ThreeCopies(quint16 port)
        : host(copies.path(), port), anna(copies.path(), port, QStringLiteral("Anna")),
          bob(copies.path(), port, QStringLiteral("Bob"))
    {
    }
    bool allKnown() const
    {
        const QStringList all{"Hosty", "Anna", "Bob"};
        return QTest::qWaitFor([&] { return anna.people == all && bob.people == all; });
    }
    QHash<QString, Copy *> byName() { return {{"Hosty", &host}, {"Anna", &anna}, {"Bob", &bob}}; }

    QTemporaryDir copies;
    Host host;
    Guest anna, bob;
};

// Records passed between two inner sessions until neither has more to say.
void Pump(InnerTls &one, InnerTls &other)
{
    for (int round = 0; round < 10; ++round) {
        const QByteArray fromOne = one.takeRecords(), fromOther = other.takeRecords();
        if (fromOne.isEmpty() && fromOther.isEmpty())
            return;
        other.feed(fromOne);
        one.feed(fromOther);
    }
}

} // namespace

class TestPrivate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void messagesGoEndToEnd_data();
    void messagesGoEndToEnd();
    void aMessageWaitsForItsPersonAcrossARestart();
    void hostileFrames_data();
    void hostileFrames();
    void theInnerSessionTakesOnlyTheAnnouncedKey_data();
    void theInnerSessionTakesOnlyTheAnnouncedKey();
    void aChangedKeyIsFlagged_data();
    void aChangedKeyIsFlagged();
    void aSessionBeginsAgainAfterItsHelloWasLost_data();
    void aSessionBeginsAgainAfterItsHelloWasLost();
    void fileConnectionsAreJoinedByTheirKeys_data();
    void fileConnectionsAreJoinedByTheirKeys();
    void filesAreOfferedEndToEnd_data();
    void filesAreOfferedEndToEnd();
    void aFileGoesEndToEndThroughTheHost_data();
    void aFileGoesEndToEndThroughTheHost();
    void transfersGoOnByThemselves_data();
    void transfersGoOnByThemselves();
    void aFullDiskPausesATransfer();

private:
    QTemporaryDir folder;
    int nextPort = 0;
};

void TestPrivate::initTestCase()
{
    std::signal(SIGPIPE, SIG_IGN); // the raw peers write with OpenSSL's own write()
}

void TestPrivate::messagesGoEndToEnd_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("a guest to another guest") << "Anna" << "Bob";
    QTest::newRow("a guest to the host") << "Anna" << "Hosty";
    QTest::newRow("the host to a guest") << "Hosty" << "Bob";
}

// The message arrives once, in every script, and its sender learns that it
// was delivered; the host learns nothing of what it only relayed.
void TestPrivate::messagesGoEndToEnd()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    ThreeCopies chat(kPort + quint16(nextPort++));
    QVERIFY(chat.allKnown());
    const QHash<QString, Copy *> copyNamed = chat.byName();
    Host &host = chat.host;
    Copy &sender = *copyNamed[from], &receiver = *copyNamed[to];

    const QString text = QStringLiteral("Grüße, 你好 😀");
    const QString id = sender.chat->send(receiver.key(), to, text);
    QTRY_COMPARE(sender.delivered, QStringList{id});
    QCOMPARE(receiver.arrived, QStringList{from + QStringLiteral(": ") + text});
    QVERIFY(sender.chat->waitingFor(receiver.key()).isEmpty());
    for (Copy *other : copyNamed)
        if (other != &sender && other != &receiver)
            QCOMPARE(other->arrived, QStringList());
    QCOMPARE(host.received, QStringList());
    QCOMPARE(host.session.droppedFrameCount(), 0);
    QCOMPARE(receiver.chat->droppedCount(), 0);
}

// Written while its person is away, a message waits in the outbox, which
// only the user may read and which outlives the program; it goes once the
// person comes, and waits no more once it is delivered.
void TestPrivate::aMessageWaitsForItsPersonAcrossARestart()
{
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies;
    Host host(copies.path(), port);
    QByteArray bobsKey;
    {
        Copy bobOnce(copies.path(), QStringLiteral("Bob"));
        bobsKey = bobOnce.key();
    }
    QString id;
    {
        Guest anna(copies.path(), port, QStringLiteral("Anna"));
        QTRY_COMPARE(anna.people, (QStringList{"Hosty", "Anna"}));
        id = anna.chat->send(bobsKey, QStringLiteral("Bob"), QStringLiteral("call me"));
        QCOMPARE(anna.chat->waitingFor(bobsKey).size(), 1);
    }
    const QString outbox = QDir(copies.path()).filePath(QStringLiteral("Anna.private"));
    QCOMPARE(QFileInfo(outbox).permissions() & 0x0077, QFileDevice::Permissions());
    Guest anna(copies.path(), port, QStringLiteral("Anna"));
    QCOMPARE(anna.chat->waitingFor(bobsKey).size(), 1);
    Guest bob(copies.path(), port, QStringLiteral("Bob"));
    QTRY_COMPARE(anna.delivered, QStringList{id});
    QCOMPARE(bob.arrived, QStringList{"Anna: call me"});
    QCOMPARE(PrivateStore(outbox).outbox().size(), 0);
}

void TestPrivate::hostileFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("droppedAtHost");
    QTest::addColumn<int>("droppedAtAnna");
    QTest::addColumn<QStringList>("hostShows");
    QTest::addColumn<int>("offersKept");        // at the host, which each offer below is to
    QTest::addColumn<int>("fileFramesDropped"); // by the host's transfers
    const auto frame = [](FrameKind kind, const QByteArray &body) { return char(kind) + body; };
    QTest::newRow("records for nobody") << frame(FrameKind::Tunnel, "Nobody\nrecords") << 2 << 2 << 0 << QStringList() << 0 << 0;
    QTest::newRow("records for oneself") << frame(FrameKind::Tunnel, "Mallory\nrecords") << 2 << 2 << 0 << QStringList() << 0 << 0;
    QTest::newRow("records that are no TLS, for another's pair")
        << frame(FrameKind::Tunnel, "Anna\n\x16\x03garbage") << 2 << 0 << 2 << QStringList() << 0 << 0;
    QTest::newRow("a private message with no id") << frame(FrameKind::Private, "hello") << 2 << 0 << 0 << QStringList() << 0 << 0;
    QTest::newRow("a keys frame from a guest") << frame(FrameKind::Keys, "Anna\t\tchat\n") << 2 << 2 << 0 << QStringList() << 0 << 0;
    QTest::newRow("a message that came before, again")
        << frame(FrameKind::Private, "00000000000000aa\nagain") << 2 << 0 << 0 << QStringList{"Mallory: again"} << 0 << 0;
    QTest::newRow("10,000 private messages at once")
        << frame(FrameKind::Private, "00000000000000bb\nflood") << 10000 << 0 << 0 << QStringList{"Mallory: flood"} << 0 << 0;
    // {n}: each frame's own number, in hex.
    const QByteArray hash(64, 'a');
    QTest::newRow("1,000 offers at once") << frame(FrameKind::FileOffer, "{n}\n10\t" + hash + "\tnotes.txt\n") << 1000 << 0
                                          << 0 << QStringList() << int(FileTransfers::kMostWaitingOffers) << 0;
    QTest::newRow("an offer of 2^63 bytes") << frame(FrameKind::FileOffer, "{n}\n9223372036854775807\t" + hash + "\tbig\n")
                                            << 2 << 0 << 0 << QStringList() << 0 << 2;
    QTest::newRow("an offer of a path out of its folder")
        << frame(FrameKind::FileOffer, "{n}\n10\t" + hash + "\t../.bashrc\n") << 2 << 0 << 0 << QStringList() << 0 << 2;
    QTest::newRow("answers about transfers that are not") << frame(FrameKind::FileOffer, "come {n}") << 2 << 0 << 0
                                                          << QStringList() << 0 << 2;
}

// A guest with a key of its own sends what no honest copy sends: it is
// dropped and counted, nobody shows it, and a private message between two
// honest guests still goes at once, whatever the hostile guest floods.
void TestPrivate::hostileFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, times);
    QFETCH(int, droppedAtHost);
    QFETCH(int, droppedAtAnna);
    QFETCH(QStringList, hostShows);
    QFETCH(int, offersKept);
    QFETCH(int, fileFramesDropped);
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies;
    Host host(copies.path(), port);
    Guest anna(copies.path(), port, QStringLiteral("Anna")), bob(copies.path(), port, QStringLiteral("Bob"));
    QTRY_COMPARE(anna.people.size(), 3);
    Copy malloryKeys(copies.path(), QStringLiteral("Mallory"));
    SecurePeer mallory(port + kSecureOffset, SecurePeer::Offers::Version2, malloryKeys.identity.get());
    QVERIFY(mallory.OpenWithoutPassword());
    mallory.SendFrame(ChatLink::hello().mid(FrameReader::kHeaderSize));
    mallory.SendFrame(char(FrameKind::Registration) + QByteArray(" Mallory"));
    QTRY_COMPARE(anna.people.size(), 4);

    for (int time = 0; time < times; ++time)
        mallory.SendFrame(QByteArray(frame).replace("{n}", QByteArray::number(time + 0xa0, 16)));
    const QString id = bob.chat->send(anna.key(), QStringLiteral("Anna"), QStringLiteral("still here"));
    QTRY_COMPARE(bob.delivered, QStringList{id});
    QCOMPARE(anna.arrived, QStringList{"Bob: still here"});

    if (times <= 2) {
        mallory.SendFrame(char(FrameKind::Chat) + QByteArray("2<Mallory> done"));
        QTRY_VERIFY(host.received.contains(QStringLiteral("2<Mallory> done")));
    }
    QTRY_COMPARE(host.arrived, hostShows);
    QCOMPARE(host.session.droppedFrameCount(), droppedAtHost);
    QCOMPARE(anna.chat->droppedCount(), droppedAtAnna);
    QTRY_COMPARE(host.files->ids().size(), offersKept);
    QCOMPARE(host.files->droppedCount(), fileFramesDropped);
}

void TestPrivate::theInnerSessionTakesOnlyTheAnnouncedKey_data()
{
    QTest::addColumn<bool>("clientExpectsTheServer");
    QTest::addColumn<bool>("serverExpectsTheClient");
    QTest::newRow("each shows the key announced") << true << true;
    QTest::newRow("the server shows another key") << false << true;
    QTest::newRow("the client shows another key") << true << false;
}

// Between two guests, each side takes the other only with the key the host
// announced for it: anything else ends the session before a byte crosses.
void TestPrivate::theInnerSessionTakesOnlyTheAnnouncedKey()
{
    QFETCH(bool, clientExpectsTheServer);
    QFETCH(bool, serverExpectsTheClient);
    Copy client(folder.path(), QStringLiteral("client")), server(folder.path(), QStringLiteral("server")),
        other(folder.path(), QStringLiteral("other"));
    InnerTls clientSide(*client.identity, InnerTls::Role::Client, clientExpectsTheServer ? server.key() : other.key());
    InnerTls serverSide(*server.identity, InnerTls::Role::Server, serverExpectsTheClient ? client.key() : other.key());
    clientSide.write("to the server");
    serverSide.write("to the client");
    Pump(clientSide, serverSide);
    const bool sound = clientExpectsTheServer && serverExpectsTheClient;
    QCOMPARE(serverSide.read(), sound ? QByteArray("to the server") : QByteArray());
    QCOMPARE(clientSide.read(), sound ? QByteArray("to the client") : QByteArray());
    QCOMPARE(clientSide.hasFailed() || serverSide.hasFailed(), !sound);
}

void TestPrivate::aChangedKeyIsFlagged_data()
{
    QTest::addColumn<QString>("knownBefore");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<int>("mark");
    QTest::newRow("the key seen before") << "same" << false << int(PrivateChat::KeyMark::Known);
    QTest::newRow("another key under the name") << "other" << true << int(PrivateChat::KeyMark::New);
    QTest::newRow("a name never seen") << "" << false << int(PrivateChat::KeyMark::New);
}

// A person seen before with one key and now with another is flagged, with
// both keys; the mark beside their name says whether the key is known.
void TestPrivate::aChangedKeyIsFlagged()
{
    QFETCH(QString, knownBefore);
    QFETCH(bool, warned);
    QFETCH(int, mark);
    QTemporaryDir copies;
    Copy anna(copies.path(), QStringLiteral("Anna")), bob(copies.path(), QStringLiteral("Bob")),
        other(copies.path(), QStringLiteral("other"));
    if (!knownBefore.isEmpty())
        anna.store->knowKey(QStringLiteral("Bob"), knownBefore == QLatin1String("same") ? bob.key() : other.key());
    QList<QStringList> changes;
    QObject::connect(anna.chat.get(), &PrivateChat::keyChanged,
                     [&](const QString &name, const QByteArray &known, const QByteArray &now) {
                         changes << QStringList{name, QString::fromLatin1(known.toHex()), QString::fromLatin1(now.toHex())};
                     });
    const PrivateChat::Person person{QStringLiteral("Bob"), bob.key(), knownFrameKinds(), false};
    anna.chat->setPeople({person}, QByteArray());
    const QList<QStringList> expected{{"Bob", QString::fromLatin1(other.key().toHex()), QString::fromLatin1(bob.key().toHex())}};
    QCOMPARE(changes, warned ? expected : QList<QStringList>());
    QCOMPARE(int(anna.chat->keyMark(person)), mark);
    QCOMPARE(PrivateStore(QDir(copies.path()).filePath("Anna.private")).knownKey("Bob"), bob.key());
}

void TestPrivate::aSessionBeginsAgainAfterItsHelloWasLost_data()
{
    QTest::addColumn<bool>("annaFirst");
    QTest::newRow("Anna hears of Bob first") << true;
    QTest::newRow("Bob hears of Anna first") << false;
}

// After the host restarts, one guest may hear of the other first: what it
// sends then is dropped by a copy that does not know it yet. Once both know
// each other, their session begins again and the message arrives.
void TestPrivate::aSessionBeginsAgainAfterItsHelloWasLost()
{
    QFETCH(bool, annaFirst);
    QTemporaryDir copies;
    Copy anna(copies.path(), QStringLiteral("Anna")), bob(copies.path(), QStringLiteral("Bob"));
    // The host relays each side's records to the other, a pass of the event loop later.
    const auto relayTo = [](Copy &to, const QString &from) {
        PrivateChat::Routes routes;
        routes.tunnel = [&to, from](const QString &, const QByteArray &records) {
            QTimer::singleShot(0, to.chat.get(), [&to, from, records] { to.chat->tunnelRecords(from, records); });
            return true;
        };
        return routes;
    };
    anna.chat->setRoutes(relayTo(bob, QStringLiteral("Anna")));
    bob.chat->setRoutes(relayTo(anna, QStringLiteral("Bob")));
    const PrivateChat::Person annaHere{QStringLiteral("Anna"), anna.key(), knownFrameKinds(), false};
    const PrivateChat::Person bobHere{QStringLiteral("Bob"), bob.key(), knownFrameKinds(), false};
    Copy &first = annaFirst ? anna : bob, &second = annaFirst ? bob : anna;
    first.chat->setPeople({annaFirst ? bobHere : annaHere}, "host");
    first.chat->send(second.key(), annaFirst ? "Bob" : "Anna", QStringLiteral("are you there?"));
    QTRY_VERIFY(second.chat->droppedCount() > 0); // it did not know the sender yet
    second.chat->setPeople({annaFirst ? annaHere : bobHere}, "host");
    QTRY_COMPARE_WITH_TIMEOUT(second.arrived, QStringList{(annaFirst ? "Anna" : "Bob") + QStringLiteral(": are you there?")},
                              3 * PrivateChat::kHandshakeMs);
    QTRY_COMPARE(first.delivered.size(), 1);
}

void TestPrivate::fileConnectionsAreJoinedByTheirKeys_data()
{
    QTest::addColumn<QString>("taker");
    QTest::addColumn<qint64>("largestRelayed"); // 0: any, -1: none
    QTest::addColumn<bool>("hostStops");        // in the middle; else the sender does
    QTest::newRow("the two ends of a transfer") << "Bob" << qint64(0) << false;
    QTest::newRow("the host stops while it relays") << "Bob" << qint64(0) << true;
    QTest::newRow("a key with no chat behind it") << "stranger" << qint64(0) << false;
    QTest::newRow("someone else's transfer") << "Mallory" << qint64(0) << false;
    QTest::newRow("a file larger than the host relays") << "Bob" << qint64(1024 * 1024) << false;
    QTest::newRow("a host that relays no files") << "Bob" << qint64(-1) << false;
}

// A file connection comes in only with the key of a guest in the chat, and
// is joined only with the other end of its own transfer, each named by the
// name its key holds: then the bytes go across whole, and the host counts
// them without reading them.
void TestPrivate::fileConnectionsAreJoinedByTheirKeys()
{
    QFETCH(QString, taker);
    QFETCH(qint64, largestRelayed);
    QFETCH(bool, hostStops);
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies;
    Host host(copies.path(), port);
    host.session.fileRelay().setPolicy(largestRelayed >= 0, std::max(largestRelayed, qint64(0)));
    Guest anna(copies.path(), port, QStringLiteral("Anna")), bob(copies.path(), port, QStringLiteral("Bob")),
        mallory(copies.path(), port, QStringLiteral("Mallory"));
    QTRY_COMPARE(anna.people.size(), 4);
    Copy stranger(copies.path(), QStringLiteral("stranger"));
    const auto keysOf = QHash<QString, const HostIdentity *>{
        {"Anna", anna.identity.get()}, {"Bob", bob.identity.get()}, {"Mallory", mallory.identity.get()},
        {"stranger", stranger.identity.get()}};

    SecurePeer sends(port + kSecureOffset, SecurePeer::Offers::File, keysOf["Anna"], "127.0.0.2");
    QCOMPARE(sends.ReadFrame(), QByteArray("vanu-secure welcome"));
    SecurePeer takes(port + kSecureOffset, SecurePeer::Offers::File, keysOf[taker], "127.0.0.3");
    if (taker == QLatin1String("stranger")) {
        QCOMPARE(takes.ReadFrame(), QByteArray("vanu-secure refused"));
        QCOMPARE(host.session.fileRelay().count(), 1);
        return;
    }
    QCOMPARE(takes.ReadFrame(), QByteArray("vanu-secure welcome"));
    const QByteArray sealed = Content(3 * 1024 * 1024 + 17);
    QVERIFY(sends.SendRaw("send 00c0ffee Bob " + QByteArray::number(sealed.size()) + "\n"));
    if (largestRelayed != 0) { // told why, and closed
        const QByteArray why = largestRelayed < 0 ? "The host does not relay files." : "The host relays no file larger than 1 MiB.";
        QCOMPARE(sends.ReadRaw(9 + why.size()), "refused " + why + '\n');
        return;
    }
    QVERIFY(takes.SendRaw("take 00c0ffee Anna\n"));
    QVERIFY(sends.SendRaw(sealed));
    if (taker == QLatin1String("Mallory")) {
        QCOMPARE(takes.ReadRaw(1, 1000), QByteArray()); // never joined: nothing comes
        QCOMPARE(host.session.fileRelay().bytesRelayed(), 0);
        return;
    }
    QCOMPARE(takes.ReadRaw(sealed.size()), sealed);
    QTRY_COMPARE(host.session.fileRelay().bytesRelayed(), sealed.size()); // counted on the pump's thread
    QCOMPARE(host.received, QStringList()); // nothing of it in the chat
    QVERIFY(takes.SendRaw("come 00c0ffee\n")); // and the other way
    QCOMPARE(sends.ReadRaw(14), QByteArray("come 00c0ffee\n"));
    // Off the event loop, it still counts against its address: of as many
    // more from there as one address may have, the last is ended at once.
    std::vector<LoopbackPeer> more(TTCPServer::kMostPerAddress);
    for (LoopbackPeer &peer : more)
        QVERIFY(peer.Connect(port, 0, "127.0.0.2"));
    QVERIFY(more.back().WaitForEndOfStream());
    QByteArray rest;
    if (hostStops) {
        host.server.Close();
        QCOMPARE(host.session.fileRelay().count(), 0);
        QVERIFY(sends.WaitForEnd());
    } else {
        // The sender stops in the middle: what it sent before still goes across, then the other end is closed too.
        QVERIFY(sends.SendRaw(sealed.left(100'000)));
        sends.Close();
        rest = sealed.left(100'000);
    }
    QByteArray tail;
    QVERIFY(takes.WaitForEnd(&tail));
    QCOMPARE(tail.size(), rest.size());
    QCOMPARE(tail, rest);
    QTRY_COMPARE(host.session.fileRelay().count(), 0);
}

void TestPrivate::filesAreOfferedEndToEnd_data()
{
    messagesGoEndToEnd_data(); // the same three ways
}

// An offer of files goes as private messages do, end to end, and only to its person.
void TestPrivate::filesAreOfferedEndToEnd()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    ThreeCopies chat(kPort + quint16(nextPort++));
    QVERIFY(chat.allKnown());
    const QHash<QString, Copy *> copyNamed = chat.byName();
    QList<QStringList> offers;
    for (Copy *copy : copyNamed)
        QObject::connect(copy->chat.get(), &PrivateChat::filesOffered,
                         [&offers, copy, &copyNamed](const QByteArray &, const QString &name, const QByteArray &offer) {
                             offers << QStringList{copyNamed.key(copy), name, QString::fromUtf8(offer)};
                         });
    const QByteArray offer = "00ff\n10\t" + QByteArray(64, 'a') + "\tnotes.txt\n";
    QVERIFY(copyNamed[from]->chat->offerFiles(copyNamed[to]->key(), offer));
    QTRY_COMPARE(offers, (QList<QStringList>{{to, from, QString::fromUtf8(offer)}}));
}

void TestPrivate::aFileGoesEndToEndThroughTheHost_data()
{
    QTest::addColumn<bool>("breaks");
    QTest::newRow("in one go") << false;
    QTest::newRow("the receiver's connection breaks midway") << true;
}

// Anna sends Bob a file over their file connections: the host joins them and
// relays what their own TLS session seals, more bytes than the file, and the
// file arrives whole. A break costs only what was not checked yet: both ends
// connect again and go on from there.
void TestPrivate::aFileGoesEndToEndThroughTheHost()
{
    QFETCH(bool, breaks);
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies, downloads;
    Host host(copies.path(), port);
    Guest anna(copies.path(), port, QStringLiteral("Anna")), bob(copies.path(), port, QStringLiteral("Bob"));
    QTRY_COMPARE(anna.people.size(), 3);
    const QByteArray content = Content(3 * PartFile::kBlockSize + 4321);
    QFile file(QDir(copies.path()).filePath("film.mkv"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const SslContext annasContext = FileContext(*anna.identity), bobsContext = FileContext(*bob.identity);
    const auto link = [&](Copy &own, SSL_CTX *context, const QString &peer, const QByteArray &peerKey, bool sends) {
        return std::make_unique<FileLink>(*own.identity, context, host.key(), QStringLiteral("127.0.0.1"),
                                          port + kSecureOffset, FileLink::Ends{"0a0b", peer, peerKey, sends});
    };
    auto sending = link(anna, annasContext.get(), "Bob", bob.key(), true);
    auto taking = link(bob, bobsContext.get(), "Anna", anna.key(), false);
    QString error;
    auto sender = Transfer::Sender::offering({file.fileName()}, {"film.mkv"}, [&](const QByteArray &frame) {
        sending->write(frame);
    }, error);
    const FileOffer offer = sender->offer();
    auto receiver = std::make_unique<Transfer::Receiver>(offer, downloads.path(), [&](const QByteArray &frame) {
        taking->write(frame);
    });
    const auto wire = [&] {
        QObject::connect(sending.get(), &FileLink::received, [&](const QByteArray &bytes) { sender->take(bytes); });
        QObject::connect(taking.get(), &FileLink::received, [&](const QByteArray &bytes) { receiver->take(bytes); });
        sending->open();
        taking->open();
    };
    // The break comes once the first block is checked, before the rest can.
    bool broke = false;
    const auto breakAfterABlock = [&] {
        QObject::connect(taking.get(), &FileLink::received, [&] {
            if (!breaks || broke || receiver->progress().value(0).second < PartFile::kBlockSize)
                return;
            broke = true;
            taking->close();
            sending->close();
        });
    };
    breakAfterABlock();
    wire();
    receiver->accept(); // the offer came on the chat; its answer goes on the file connection
    if (breaks) {
        QTRY_VERIFY(broke);
        QVERIFY(!receiver->outcome().ended);
        QTRY_COMPARE(host.session.fileRelay().count(), 0); // the host has seen both go
        const QHash<int, QPair<QString, qint64>> progress = receiver->progress();
        const qint64 sentBefore = sender->bytesSent();
        sending = link(anna, annasContext.get(), "Bob", bob.key(), true);
        taking = link(bob, bobsContext.get(), "Anna", anna.key(), false);
        sender = std::make_unique<Transfer::Sender>(offer, QList<Transfer::Sender::Source>{{file.fileName(), content.size(),
                                                                                           QFileInfo(file).lastModified()}},
                                                    [&](const QByteArray &frame) { sending->write(frame); });
        receiver = std::make_unique<Transfer::Receiver>(offer, downloads.path(),
                                                        [&](const QByteArray &frame) { taking->write(frame); });
        wire();
        receiver->accept(progress);
        QTRY_VERIFY_WITH_TIMEOUT(receiver->outcome().ended, 20000);
        // Only what was not checked at the break crossed again.
        QVERIFY(sentBefore + sender->bytesSent() <= content.size() + Transfer::kBlocksInFlight * PartFile::kBlockSize);
    }
    QTRY_VERIFY_WITH_TIMEOUT(receiver->outcome().ended, 20000);
    QVERIFY2(receiver->outcome().succeeded, qPrintable(receiver->outcome().reason));
    QFile arrived(QDir(downloads.path()).filePath("film.mkv"));
    QVERIFY(arrived.open(QIODevice::ReadOnly));
    QCOMPARE(QCryptographicHash::hash(arrived.readAll(), QCryptographicHash::Sha256), offer.files.constFirst().sha256);
    QVERIFY(host.session.fileRelay().bytesRelayed() > content.size() - (breaks ? PartFile::kBlockSize : 0));
}

void TestPrivate::transfersGoOnByThemselves_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("restarts"); // the copy that restarts midway, if any
    QTest::addColumn<int>("moreFiles");    // small files in the folder besides its note
    QTest::newRow("a guest to another guest") << "Anna" << "Bob" << "" << 0;
    QTest::newRow("a guest to the host, one hop") << "Anna" << "Hosty" << "" << 0;
    QTest::newRow("the host to a guest, one hop") << "Hosty" << "Bob" << "" << 0;
    QTest::newRow("the receiver restarts midway") << "Anna" << "Bob" << "Bob" << 0;
    QTest::newRow("the sender restarts midway") << "Anna" << "Bob" << "Anna" << 0;
    QTest::newRow("more files than one chat frame lists") << "Anna" << "Bob" << "" << 2000;
}

// A file and a folder offered in the program's way: the receiver accepts,
// the transfer goes by itself, and after a copy restarts midway it goes on
// from what was checked once both are back. Both ends see it done, and the
// files arrive whole, in their folder.
void TestPrivate::transfersGoOnByThemselves()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, restarts);
    QFETCH(int, moreFiles);
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies, outbox, downloads;
    Host host(copies.path(), port);
    std::unique_ptr<Guest> anna, bob;
    const auto start = [&](std::unique_ptr<Guest> &guest, const QString &name) {
        guest.reset();
        guest = std::make_unique<Guest>(copies.path(), port, name);
    };
    start(anna, QStringLiteral("Anna"));
    start(bob, QStringLiteral("Bob"));
    const auto copyNamed = [&](const QString &name) -> Copy & {
        return name == "Hosty" ? static_cast<Copy &>(host) : name == "Anna" ? *anna : *bob;
    };
    QTRY_COMPARE(bob->people.size(), 3);
    QTRY_COMPARE(anna->people.size(), 3);

    // More than the sender keeps in flight: the rest waits for the first blocks to be checked.
    const QByteArray film = Content(4 * Transfer::kBlocksInFlight * PartFile::kBlockSize + 777), note = Content(1000);
    QVERIFY(QDir(outbox.path()).mkpath("trip/day 1"));
    for (const auto &[path, content] : {std::pair{"film.mkv", film}, std::pair{"trip/day 1/note.txt", note}}) {
        QFile file(QDir(outbox.path()).filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    for (int index = 0; index < moreFiles; ++index) {
        QFile small(QDir(outbox.path()).filePath(QStringLiteral("trip/photo %1.jpg").arg(index)));
        QVERIFY(small.open(QIODevice::WriteOnly) && small.write(Content(100 + index)) == 100 + index);
    }
    QString id;
    QObject::connect(copyNamed(to).files.get(), &FileTransfers::added, [&id](const QString &added) { id = added; });
    copyNamed(from).files->send(copyNamed(to).key(), to,
                                {QDir(outbox.path()).filePath("film.mkv"), QDir(outbox.path()).filePath("trip")});
    QTRY_VERIFY(!id.isEmpty());
    QCOMPARE(copyNamed(to).files->item(id)->files, 2 + moreFiles);
    QCOMPARE(copyNamed(to).files->item(id)->total, film.size() + note.size() + moreFiles * 100 + moreFiles * (moreFiles - 1) / 2);
    // Once the first block is checked, the copy ends, before the rest has come.
    std::unique_ptr<Guest> &restarting = restarts == "Anna" ? anna : bob;
    bool ended = false;
    QObject::connect(copyNamed(to).files.get(), &FileTransfers::changed, copyNamed(to).files.get(), [&](const QString &) {
        if (restarts.isEmpty() || ended || copyNamed(to).files->item(id)->done < PartFile::kBlockSize)
            return;
        ended = true;
        QTimer::singleShot(0, [&restarting] { restarting.reset(); });
    });
    QCOMPARE(copyNamed(to).files->accept(id, downloads.path()), QString());
    if (!restarts.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(ended && !restarting, 20000);
        // Gone before it comes back: its connections count no more against its address.
        QTRY_COMPARE(host.session.fileRelay().count(), 0);
        start(restarting, restarts);
    }
    QTRY_VERIFY_WITH_TIMEOUT(copyNamed(to).files->item(id)->finished(), 30000);
    QCOMPARE(copyNamed(to).files->item(id)->reason, QString());
    QCOMPARE(copyNamed(to).files->item(id)->state, TransferRecord::State::Done);
    QTRY_COMPARE(copyNamed(from).files->item(id)->state, TransferRecord::State::Done);
    for (const auto &[path, content] : {std::pair{"film.mkv", film}, std::pair{"trip/day 1/note.txt", note}}) {
        QFile arrived(QDir(downloads.path()).filePath(path));
        QVERIFY2(arrived.open(QIODevice::ReadOnly), path);
        QVERIFY(arrived.readAll() == content);
    }
    for (int index = 0; index < moreFiles; index += 97)
        QVERIFY(QFileInfo(QDir(downloads.path()).filePath(QStringLiteral("trip/photo %1.jpg").arg(index))).size() == 100 + index);
    QCOMPARE(copyNamed(to).files->item(id)->names.size(), 2 + moreFiles);
    // The host relays only between guests; with the host at one end, there is one hop.
    const bool relayed = from != "Hosty" && to != "Hosty";
    QCOMPARE(host.session.fileRelay().bytesRelayed() > 0, relayed);
    if (relayed && restarts.isEmpty())
        QVERIFY(host.session.fileRelay().bytesRelayed() < copyNamed(to).files->item(id)->total + 1024 * 1024 + moreFiles * 512);
}

// The disk fills midway (here: the largest file this process may write is
// reached): the transfer pauses and says so, keeps what was checked, and
// goes on once there is room again.
void TestPrivate::aFullDiskPausesATransfer()
{
    const quint16 port = kPort + quint16(nextPort++);
    QTemporaryDir copies, downloads;
    Host host(copies.path(), port);
    Guest anna(copies.path(), port, QStringLiteral("Anna")), bob(copies.path(), port, QStringLiteral("Bob"));
    QTRY_COMPARE(anna.people.size(), 3);
    QTRY_COMPARE(bob.people.size(), 3);
    const QByteArray film = Content(12 * PartFile::kBlockSize + 777);
    QFile file(QDir(copies.path()).filePath("film.mkv"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(film) == film.size());
    file.close();
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails, as on a full disk, instead of ending the process
    const rlimit limited{rlim_t(4 * PartFile::kBlockSize), before.rlim_max};
    auto roomAgain = qScopeGuard([&before] { setrlimit(RLIMIT_FSIZE, &before); });
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);

    QString id;
    QObject::connect(bob.files.get(), &FileTransfers::added, [&id](const QString &added) { id = added; });
    anna.files->send(bob.key(), QStringLiteral("Bob"), {file.fileName()});
    QTRY_VERIFY(!id.isEmpty());
    QCOMPARE(bob.files->accept(id, downloads.path()), QString());
    QTRY_VERIFY_WITH_TIMEOUT(bob.files->item(id)->note.contains(QStringLiteral("the disk is full")), 20000);
    QCOMPARE(bob.files->item(id)->state, TransferRecord::State::Going);
    QCOMPARE(bob.files->item(id)->done, 4 * PartFile::kBlockSize); // what was checked stays

    roomAgain.dismiss();
    setrlimit(RLIMIT_FSIZE, &before);
    QTRY_VERIFY_WITH_TIMEOUT(bob.files->item(id)->finished(), 3 * FileTransfers::kRetryMs);
    QCOMPARE(bob.files->item(id)->state, TransferRecord::State::Done);
    QFile arrived(QDir(downloads.path()).filePath("film.mkv"));
    QVERIFY(arrived.open(QIODevice::ReadOnly) && arrived.readAll() == film);
}

QTEST_MAIN(TestPrivate)
#include "tst_private.moc"
