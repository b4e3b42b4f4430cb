// Hostile peers and odd files: a real host against guests that send anything,
// flood, never read or vanish at once; a real guest against a host that sends
// anything; setup files with every byte. Nothing may crash or freeze, and the
// well-behaved side must get everything it is owed.
#include "LoopbackPeer.h"
#include "RawGuest.h"
#include "Protocol.h"
#include "TTCPClient.h"
#include "TNotificationEndpoint.h"
#include "TTCPServer.h"
#include "TestProgram.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTimer>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace {

constexpr quint16 kBasePort = 25000;

// The host's list names each of its open connections once (all of them registered).
bool ListMatchesConnections(const TestProgram &host)
{
    const TClientList &clients = host.Main().TCPServer1->Clients();
    return host.Friends().Lines().size() == clients.Count();
}

QByteArray RandomBytes(QRandomGenerator &random, int size)
{
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// A line of a chat that the host relays: numbered, so that order shows.
QByteArray NumberedLine(const QByteArray &nickname, int number, int size = 60)
{
    return Protocol::ChatLine('2', nickname, QByteArray::number(number).rightJustified(6, '0')).leftJustified(size, '.');
}

// A connection that has begun and says nothing; four at most from each
// source address, as many as a host takes from one address.
int SilentConnection(quint16 port, int number)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    source.sin_addr.s_addr = htonl(0x7F000300u + quint32(number / TTCPServer::kMostPerAddress) + 1); // 127.0.3.1 on
    bind(socket, reinterpret_cast<const sockaddr *>(&source), sizeof source);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    return socket;
}

} // namespace

class TestHardening : public QObject {
    Q_OBJECT
private slots:
    void randomBytesFromAGuest();
    void longRegistration();
    void manyGuestsComeAndGoAtOnce();
    void joinBurstUpToAFullChat();
    void silentConnectionsNeverShutHonestGuestsOut_data();
    void silentConnectionsNeverShutHonestGuestsOut();
    void guestThatNeverReads();
    void slowReaderBesideAFlooder();
    void guestThatHalfCloses();
    void hostileHost();
    void everyByteInASetupFileThroughTheDialog();
    void aMailedSetupFileShowsWhatItChangesBeforeOk();
};

// One guest sends random bytes of every kind in texts of every size; another
// chats meanwhile and gets each of its lines back in order.
void TestHardening::randomBytesFromAGuest()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort));
    RawGuest anna;
    QVERIFY(anna.Join(kBasePort, "Anna"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    LoopbackPeer mallory;
    QVERIFY(mallory.Connect(kBasePort, 0, "127.0.0.2"));
    QVERIFY(mallory.Send(" Mallory"));
    QTRY_COMPARE(host.Friends().Lines(), (QStringList{"Anna", "Mallory"}));

    QRandomGenerator random(20261208);
    QList<QByteArray> lines;
    for (int round = 0; round < 200; ++round) {
        QByteArray junk = RandomBytes(random, round % 5 == 0 ? 1024 : random.bounded(1, 300));
        if (round % 7 == 0)
            junk.prepend('\0');
        if (round % 11 == 0)
            junk.append("\r\n\r");
        QVERIFY(mallory.Send(junk));
        if (round % 10 == 0) {
            lines << NumberedLine("Anna", round);
            QVERIFY(anna.peer.Send(lines.last()));
        }
        QCoreApplication::processEvents();
        anna.Read();
    }
    QTRY_VERIFY_WITH_TIMEOUT((anna.Read(), anna.HasInOrder(lines)), 10000);
    QVERIFY(ListMatchesConnections(host));
    QCOMPARE(host.Main().TCPServer1->State(), wsListening);
    QCOMPARE(host.prompts.shown, QStringList());

    // The host still answers a newcomer.
    RawGuest bob;
    QVERIFY(bob.Join(kBasePort, "Bob", "127.0.0.3"));
    QTRY_VERIFY((bob.Read(), bob.received.startsWith("Hello!  Welcome to Hosty's coupon.")));
}

// A registration of a megabyte is refused as too long, and none of it
// reaches the other guests.
void TestHardening::longRegistration()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 1));
    RawGuest anna;
    QVERIFY(anna.Join(kBasePort + 1, "Anna"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    LoopbackPeer mallory;
    QVERIFY(mallory.Connect(kBasePort + 1, 0, "127.0.0.2"));
    mallory.Send(' ' + QByteArray(1024 * 1024, 'n')); // cut off by the host as it goes
    QTRY_VERIFY(host.Main().chatLines().contains(
        "Connection closed for 127.0.0.2: its name is longer than 32 characters"));
    QTRY_COMPARE(host.Main().TCPServer1->Clients().Count(), 1);
    anna.Read();
    QVERIFY2(!anna.received.contains("nnnn"), anna.received.constData());
    QCOMPARE(host.Friends().Lines(), QStringList{"Anna"});
}

// One guest floods as fast as its socket takes lines; another reads slowly,
// 16 KiB ten times a second. The flooder is read at a person's pace, so the
// slow reader's queue never reaches its bound and it stays in the chat.
void TestHardening::slowReaderBesideAFlooder()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 7));
    RawGuest reader;
    LoopbackPeer flooder;
    QVERIFY(reader.peer.Connect(kBasePort + 7, 16384));
    QVERIFY(reader.peer.Send(" Reader"));
    QVERIFY(flooder.Connect(kBasePort + 7, 0, "127.0.0.2"));
    QVERIFY(flooder.Send(" Flood"));
    QTRY_COMPARE(host.Friends().Lines().size(), 2);
    ShrinkSendBuffer(host.Main().TCPServer1->Clients().Items(0));

    QTimer slowly;
    QObject::connect(&slowly, &QTimer::timeout, [&] {
        char bytes[16384];
        (void)!recv(reader.peer.Handle(), bytes, sizeof bytes, MSG_DONTWAIT);
    });
    slowly.start(100);
    QElapsedTimer clock;
    clock.start();
    bool flooding = true;
    for (int number = 0; flooding && clock.elapsed() < 3000; ++number) {
        const QByteArray line = NumberedLine("Flood", number, 1000);
        for (qsizetype sent = 0; flooding && sent < line.size();) { // never a line in part
            const ssize_t taken = ::send(flooder.Handle(), line.constData() + sent, size_t(line.size() - sent),
                                         MSG_NOSIGNAL | MSG_DONTWAIT);
            if (taken > 0)
                sent += taken;
            else if (errno == EAGAIN || errno == EWOULDBLOCK)
                QTest::qWait(1);
            else
                flooding = false; // the host let the flooder go
        }
        QCoreApplication::processEvents();
    }
    QCOMPARE(host.Friends().Lines().size(), 2);
    QCOMPARE(host.Main().TCPServer1->Clients().Count(), 2);
    QVERIFY(host.Main().TCPServer1->QueuedBytes(host.Main().TCPServer1->Clients().Items(0))
            < TNotificationEndpoint::kSendQueueLimit / 2);
}

// Two hundred guests connect and drop at once; afterwards the host has no
// client left and still serves a newcomer.
void TestHardening::manyGuestsComeAndGoAtOnce()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 2));
    QList<int> sockets;
    for (int guest = 0; guest < 200; ++guest) {
        const int socket = SilentConnection(kBasePort + 2, guest);
        if (guest % 3 == 0)
            ::send(socket, " Crowd", 6, MSG_NOSIGNAL);
        sockets << socket;
    }
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
    for (int socket : sockets)
        ::close(socket);

    QTRY_COMPARE_WITH_TIMEOUT(host.Main().TCPServer1->Clients().Count(), 0, 20000);
    QTRY_COMPARE(host.Friends().Lines(), QStringList());
    RawGuest anna;
    QVERIFY(anna.Join(kBasePort + 2, "Anna"));
    QTRY_VERIFY((anna.Read(), anna.received.endsWith("#Anna")));
    QCOMPARE(host.Main().statusText(), QStringLiteral("1 Friend(s) available"));
}

// A hundred and one guests connect at once: a hundred are greeted at once,
// and the one that a departure could not name is refused.
void TestHardening::joinBurstUpToAFullChat()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 6));
    std::vector<LoopbackPeer> guests;
    for (int guest = 0; guest < 101; ++guest)
        guests.emplace_back(SilentConnection(kBasePort + 6, guest));
    QList<QByteArray> received(guests.size());
    const auto greetedAndRefused = [&] {
        int greeted = 0;
        int refused = 0;
        for (size_t guest = 0; guest < guests.size(); ++guest) {
            received[guest] += guests[guest].ReadAvailable();
            greeted += received[guest].startsWith("Hello!  Welcome to Hosty's coupon.");
            refused += received[guest] == Protocol::ChatFull();
        }
        return std::pair(greeted, refused);
    };
    QTRY_COMPARE_WITH_TIMEOUT(greetedAndRefused(), std::pair(100, 1), 5000);
    const qsizetype refused = received.indexOf(Protocol::ChatFull());
    QVERIFY(guests[size_t(refused)].WaitForEndOfStream());
    QCOMPARE(host.Main().TCPServer1->Clients().Count(), 100);
    QCOMPARE(host.Main().chatLines().last(),
             QStringLiteral("Connection rejected for 127.0.3.%1: the chat is full with 100 guests")
                 .arg(refused / TTCPServer::kMostPerAddress + 1));
    QCOMPARE(host.prompts.shown, QStringList());
}

void TestHardening::silentConnectionsNeverShutHonestGuestsOut_data()
{
    QTest::addColumn<int>("addresses");
    QTest::addColumn<bool>("outOfDescriptors");
    QTest::newRow("100 from one address") << 1 << false;
    QTest::newRow("every descriptor taken") << 25 << true;
}

// Silent connections come first; then an honest guest joins from an address
// of its own, is greeted, and nothing has asked the user anything.
void TestHardening::silentConnectionsNeverShutHonestGuestsOut()
{
    QFETCH(int, addresses);
    QFETCH(bool, outOfDescriptors);
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 7));
    QList<int> silent;
    for (int number = 0; number < 100; ++number)
        silent << SilentConnection(kBasePort + 7, addresses == 1 ? 0 : number);
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit before = limit;
    const auto restoreLimit = [&] { setrlimit(RLIMIT_NOFILE, &before); };
    auto restore = qScopeGuard(restoreLimit);
    if (outOfDescriptors) {
        // Room for about twenty of them beside what is open now.
        const int open = dup(0);
        ::close(open);
        limit.rlim_cur = rlim_t(open + 20);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    QTRY_VERIFY_WITH_TIMEOUT(host.Main().TCPServer1->Clients().Count() >= 4, 5000);
    QTest::qWait(200); // what the host does with the rest, it has done
    for (int socket : silent)
        ::close(socket);
    restoreLimit();
    restore.dismiss();
    if (!outOfDescriptors)
        QCOMPARE(host.Main().TCPServer1->Clients().Count(), TTCPServer::kMostPerAddress);
    RawGuest anna;
    QVERIFY(anna.Join(kBasePort + 7, "Anna"));
    QTRY_VERIFY_WITH_TIMEOUT((anna.Read(), anna.received.startsWith("Hello!  Welcome to Hosty's coupon.")), 5000);
    QCOMPARE(host.prompts.shown, QStringList());
    QCOMPARE(host.Main().chatLines().filter(QStringLiteral("New connections are refused for now")).size(),
             outOfDescriptors ? 1 : 0);
}

// A guest that takes nothing while the others chat is given up at the send
// bound; the others hear of its departure and lose no line.
void TestHardening::guestThatNeverReads()
{
    // Anna sends faster than a person types: the host reads her at her speed here.
    ChatTuning asFastAsSent;
    asFastAsSent.guestLinesPerSecond = 0;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, {}, asFastAsSent);
    QVERIFY(host.StartHost(kBasePort + 3));
    RawGuest anna;
    RawGuest bob;
    LoopbackPeer sleeper;
    QVERIFY(sleeper.Connect(kBasePort + 3, 4096, "127.0.0.9"));
    QVERIFY(sleeper.Send(" Sleepy"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Sleepy"});
    ShrinkSendBuffer(host.Main().TCPServer1->Clients().Items(0)); // the bound comes sooner
    QVERIFY(anna.Join(kBasePort + 3, "Anna"));
    QTRY_COMPARE(host.Friends().Lines().size(), 2);
    QVERIFY(bob.Join(kBasePort + 3, "Bob", "127.0.0.2"));
    QTRY_COMPARE(host.Friends().Lines().size(), 3);

    // Anna sends a line, waits for it to come back, and sends the next.
    QList<QByteArray> lines;
    QElapsedTimer clock;
    clock.start();
    for (int number = 0; host.Friends().Lines().size() == 3 && clock.elapsed() < 60000; ++number) {
        lines << NumberedLine("Anna", number, 1000);
        QVERIFY(anna.peer.Send(lines.last()));
        QVERIFY(QTest::qWaitFor(
            [&] {
                anna.Read();
                bob.Read();
                return anna.received.endsWith(lines.last()) || host.Friends().Lines().size() != 3;
            },
            5000));
    }
    QCOMPARE(host.Friends().Lines(), (QStringList{"Anna", "Bob"}));
    QTRY_VERIFY((anna.Read(), anna.received.contains("-00Anna,Bob")));
    QTRY_VERIFY((bob.Read(), bob.received.contains("-00Anna,Bob")));
    QTRY_VERIFY((anna.Read(), anna.HasInOrder(lines)));
    QTRY_VERIFY((bob.Read(), bob.HasInOrder(lines)));
    QCOMPARE(host.Main().TCPServer1->Clients().Count(), 2);
    QVERIFY(lines.size() > 1000); // a megabyte went to the sleeper before it was given up
}

void TestHardening::guestThatHalfCloses()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 4));
    RawGuest anna;
    RawGuest bob;
    QVERIFY(anna.Join(kBasePort + 4, "Anna"));
    QTRY_COMPARE(host.Friends().Lines().size(), 1);
    QVERIFY(bob.Join(kBasePort + 4, "Bob", "127.0.0.2"));
    QTRY_COMPARE(host.Friends().Lines().size(), 2);
    bob.peer.ShutdownWrite();
    QTRY_VERIFY((anna.Read(), anna.received.endsWith("-01Anna")));
    QVERIFY(bob.peer.WaitForEndOfStream());
    QCOMPARE(host.Friends().Lines(), QStringList{"Anna"});
}

// A host that sends anything: the guest shows, lists or reports it, with no
// error boxes but the conversion and list errors of bad departures.
void TestHardening::hostileHost()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(kBasePort + 5));
    TestProgram &guest = chat.guest;
    LoopbackPeer &host = chat.host;

    // Each text once the one before has been read, so none are glued.
    const int atGuest = guest.Main().TCPClient1->SocketHandle();
    const auto sendAlone = [&](const QByteArray &text) {
        QVERIFY(host.Send(text));
        QTRY_VERIFY(BytesWaiting(atGuest) > 0);
        QTRY_COMPARE(BytesWaiting(atGuest), 0);
    };
    QByteArray commasAndQuotes = "#";
    QRandomGenerator random(7);
    while (commasAndQuotes.size() < 1024)
        commasAndQuotes += ",\""[random.bounded(2)];
    sendAlone(commasAndQuotes);
    QStringList decoded; // a read that fills the buffer is shown once the wait for its rest is over
    for (const QByteArray &entry : Protocol::DecodeList(commasAndQuotes.mid(1)))
        decoded << QString::fromLatin1(entry);
    QTRY_COMPARE(guest.Friends().Lines(), decoded);
    sendAlone("#Anna,Bob");
    sendAlone("-99");
    sendAlone("-ab");
    sendAlone("->>>>>>>>");
    sendAlone(QByteArray(1024, '>'));
    for (int text = 0; text < 1000; ++text)
        QVERIFY(host.Send("1<Host> burst " + QByteArray::number(text)));
    QTRY_VERIFY_WITH_TIMEOUT(guest.Main().chatLines().last().endsWith(QStringLiteral("burst 999")), 10000);
    sendAlone("#Anna");
    QCOMPARE(guest.Friends().Lines(), QStringList{"Anna"});
    QCOMPARE(guest.prompts.shown, (QStringList{"error: List index out of bounds (99)",
                                               "error: 'ab' is not a valid integer value",
                                               "error: '>>' is not a valid integer value"}));
    QCOMPARE(guest.Main().TCPClient1->State(), wsConnected);
    QVERIFY(guest.Main().chatLineCount() <= TForm4::kMaxChatLines + 2);
}

// Every byte value but NUL and the line ends, in every line, through the
// dialog's own fields and back into a file.
void TestHardening::everyByteInASetupFileThroughTheDialog()
{
    QByteArray everyByte;
    for (int value = 1; value < 256; ++value)
        if (value != '\r' && value != '\n')
            everyByte.append(char(value));
    for (int line = 2; line <= 5; ++line) {
        QList<QByteArray> lines = {"1", "Red", "Anna", "10.0.0.1", "10.0.0.5"};
        lines[line - 1] = everyByte;
        const QByteArray bytes = lines.join("\r\n");
        TestProgram test(bytes);
        QVERIFY(test.SetupDialog().SaveSetup(test.FolderPath("again.set")));
        QFile again(test.FolderPath("again.set"));
        QVERIFY(again.open(QIODevice::ReadOnly));
        const QByteArray saved = again.readAll();
        if (line == 2) // a colour that is no colour is read as Blue
            QCOMPARE(saved, QByteArray(bytes).replace(everyByte, "Blue"));
        else if (line == 3) // a name is cut where typing stops
            QCOMPARE(saved, QByteArray(bytes).replace(everyByte, everyByte.left(TForm8::kTypedNameLimit)));
        else
            QCOMPARE(saved, bytes);
    }
}

// Opened from outside, a setup file says what it changes, names cut where
// typing stops included, before anything is kept.
void TestHardening::aMailedSetupFileShowsWhatItChangesBeforeOk()
{
    const QByteArray before = TestProgram::Setup("Anna", "10.0.0.1", "Blue", 0, "10.0.0.5");
    TestProgram test(before);
    QFile invite(test.FolderPath("invite.set"));
    QVERIFY(invite.open(QIODevice::WriteOnly));
    invite.write("1\r\nBlue\r\nBob" + QByteArray(200, ' ') + "HOSTILE\r\n10.77.0.2\r\n");
    invite.close();
    test.program->openSetupFile(invite.fileName());
    QVERIFY(test.SetupDialog().isVisible());
    QCOMPARE(test.prompts.shown,
             QStringList{"message: " + invite.fileName()
                         + " changes your settings:\n\nHost address: 10.0.0.1 → 10.77.0.2\n"
                           "Nickname: \"Anna\" → \"Bob       \"\nFilter: Include → Exclude\n"
                           "Filter lines: \"10.0.0.5\" → none\n\n"
                           "With these settings, anyone on the network can join the chat you host.\n\n"
                           "Nothing is kept until you press OK."});
    QFile lastSetup(test.FolderPath("LastSetup.set"));
    QVERIFY(lastSetup.open(QIODevice::ReadOnly));
    QCOMPARE(lastSetup.readAll(), before);
}

QTEST_MAIN(TestHardening)
#include "tst_hardening.moc"
