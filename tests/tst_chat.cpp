// The chat end to end: whole programs as host and guest in one process, and
// plain loopback sockets standing in for the other side, checking every text
// on the wire byte for byte.
#include "LocalAddress.h"
#include "LoopbackPeer.h"
#include "RawGuest.h"
#include "Protocol.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>


namespace {

const QByteArray kHostGreeting = "Hello!  Welcome to Hosty's coupon.";

// The host's first guest, on a plain socket, greeted and registered under `name`.
bool JoinAsFirstGuest(RawGuest &guest, quint16 port, const QByteArray &name)
{
    if (!guest.Connect(port) || !guest.Expect(kHostGreeting))
        return false;
    guest.Send(Protocol::Registration(name));
    return guest.Expect(Protocol::ListMessage({name}));
}


QString LocalAddressText()
{
    return LocalAddress();
}

QStringList Participants(const TestProgram &program)
{
    return program.Friends().Lines();
}

} // namespace

class TestChat : public QObject {
    Q_OBJECT
private slots:
    void init();
    void guestsStayFromArrivalToDeparture();
    void busyHostGreetsQuietly();
    void refusedGuest();
    void controlTextsFromGuestsAreDropped();
    void aGuestSpeaksOnlyInItsOwnName();
    void aReconnectLoopDoesNotTakeTheHostOver();
    void aFloodingGuestIsReadAtAPersonsPace();
    void listStaysInStepWithTheConnections();
    void namesTheHostRefuses();
    void secondRegistrationRenames();
    void hostTakesTheNextFreePort();
    void allPortsTaken();
    void leavingHostModeStopsTheAttempts();
    void guestFindsTheHostAfterRefusals();
    void guestWalkWrapsAfterAPause();
    void guestNeedsAHost();
    void closeChatEndsTheWalk();
    void registrationComesOneSecondLater();
    void departureFromTheHost();
    void badDepartureChangesNothing();
    void emptyReadWritesAnEmptyLine();
    void listAndChatLineGlued();
    void gluedTextsFromTheHost_data();
    void gluedTextsFromTheHost();
    void longestLineTheInputAllows_data();
    void longestLineTheInputAllows();
    void colourOutsideTheTable();
    void twoProgramsChat();
    void hostClosingEndsTheGuest();
    void aLostLinkIsTakenUpAgain();
    void aTakenNameIsOfferedWithANumber();

private:
    quint16 NextPorts() { return base += 30; }
    quint16 base = 23000;
};

void TestChat::init()
{
    NextPorts();
}

// One guest's stay, as the others and the host see it.
void TestChat::guestsStayFromArrivalToDeparture()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    TForm4 &main = host.Main();
    QCOMPARE(main.statusText(), "Host: " + LocalAddressText() + " Listening on port: " + QString::number(base));
    QVERIFY(!main.Edit1->isEnabled());

    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    QCOMPARE(host.sound.plays, 1);
    QCOMPARE(main.statusText(), QStringLiteral("1 Friend(s) available"));
    QVERIFY(main.Edit1->isEnabled());
    QVERIFY(main.chatLines().last().contains(QStringLiteral(": New guest coming from address: 127.0.0.1 on port ")));

    RawGuest bob;
    QVERIFY(bob.Connect(base, "127.0.0.2"));
    QVERIFY(bob.Expect(kHostGreeting));
    QVERIFY(anna.Expect("New guest coming from address: 127.0.0.2"));
    QCOMPARE(main.statusText(), QStringLiteral("2 Friend(s) available"));

    anna.Send(" Anna");
    QVERIFY(anna.Expect("#Anna"));
    QVERIFY(bob.Expect("#Anna"));
    bob.Send(" Big Bob");
    QVERIFY(anna.Expect("#Anna,\"Big Bob\""));
    QVERIFY(bob.Expect("#Anna,\"Big Bob\""));
    QCOMPARE(Participants(host), (QStringList{"Anna", "Big Bob"}));
    QCOMPARE(host.sound.plays, 2); // the arrivals only

    const int linesBefore = main.chatLineCount();
    anna.Send("0<Anna> hi");
    QVERIFY(anna.Expect("0<Anna> hi"));
    QVERIFY(bob.Expect("0<Anna> hi"));
    QCOMPARE(main.chatLineCount(), linesBefore + 2);
    QCOMPARE(main.chatLines().mid(linesBefore), (QStringList{"<Anna>", " hi"}));

    main.Edit1->setText(QStringLiteral("hello"));
    QTest::keyClick(main.Edit1, Qt::Key_Return);
    QVERIFY(main.Edit1->text().isEmpty());
    QVERIFY(anna.Expect("0<Hosty> hello"));
    QVERIFY(bob.Expect("0<Hosty> hello"));
    QCOMPARE(main.chatLines().last(), QStringLiteral(" hello"));

    anna.peer.Close();
    QVERIFY(bob.Expect("-00\"Big Bob\""));
    QTRY_COMPARE(main.statusText(), QStringLiteral("1 Client(s) connected"));
    QCOMPARE(Participants(host), QStringList{"Big Bob"});
    QVERIFY(main.chatLines().last().startsWith(QStringLiteral("Guest by 127.0.0.1 on port ")));
    QVERIFY(main.chatLines().last().endsWith(QStringLiteral(" is away.")));
    QVERIFY(main.Edit1->isEnabled());

    // A guest whose last line is followed by a reset: the line goes round,
    // then its departure, and the host still knows where it came from.
    RawGuest cid;
    QVERIFY(cid.Connect(base, "127.0.0.3"));
    QVERIFY(cid.Expect(kHostGreeting));
    QVERIFY(bob.Expect("New guest coming from address: 127.0.0.3"));
    cid.Send(" Cid");
    QVERIFY(bob.Expect("#\"Big Bob\",Cid"));
    cid.Send("0<Cid> bye");
    cid.peer.Reset();
    QVERIFY(bob.Expect("0<Cid> bye"));
    QVERIFY(bob.Expect("-01\"Big Bob\""));
    QTRY_COMPARE(main.TCPServer1->Clients().Count(), 1);
    QVERIFY2(QRegularExpression("^Guest by 127\\.0\\.0\\.3 on port [0-9]+ is away\\.$").match(main.chatLines().last()).hasMatch(),
             qPrintable(main.chatLines().last()));
    QCOMPARE(host.prompts.shown, QStringList());

    host.End();
    QVERIFY(bob.Expect("VanuServer is Down"));
    QVERIFY(bob.Ends());
}

void TestChat::busyHostGreetsQuietly()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    host.Main().hide();
    host.Main().Imbusy1->trigger();
    QCOMPARE(host.tray.toolTip, QStringLiteral("Host is busy"));

    RawGuest bob;
    QVERIFY(bob.Connect(base, "127.0.0.2"));
    QVERIFY(bob.Expect("Welcome, but Host Hosty is busy. The Host promises to reply the next time."));
    QVERIFY(anna.Expect("New guest coming from address: 127.0.0.2"));
    QCOMPARE(host.sound.plays, 1);
    QVERIFY(!host.Main().isVisible());
    QCOMPARE(host.Main().statusText(), QStringLiteral("2 Friend(s) available"));

    anna.peer.Close();
    bob.peer.Close();
    QTRY_COMPARE(host.Main().statusText(), QStringLiteral("0 Client(s) connected"));
    QVERIFY(!host.Main().Edit1->isEnabled());
}

void TestChat::refusedGuest()
{
    TestProgram host(TestProgram::Setup("Hosty", "127.0.0.1", "Blue", 0, "127.0.0.1"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    const QString status = host.Main().statusText();

    RawGuest mallory;
    QVERIFY(mallory.Connect(base, "127.0.0.2"));
    QVERIFY(mallory.Expect("Sorry!  You are not in my list."));
    QVERIFY(mallory.Expect("Guest from 127.0.0.2 no invited and Host closed door."));
    QVERIFY(mallory.Ends());
    QVERIFY(anna.Expect("Guest from 127.0.0.2 no invited and Host closed door."));
    QCOMPARE(host.Main().chatLines().last(), QStringLiteral("Connection rejected for 127.0.0.2"));
    QCOMPARE(host.Main().statusText(), status);
    QCOMPARE(host.Main().TCPServer1->Clients().Count(), 1);
    QVERIFY(anna.NothingMore()); // no departure for a guest that was never in
}

// A guest may not speak as the host: a list or a departure from a guest
// reaches nobody.
void TestChat::controlTextsFromGuestsAreDropped()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    RawGuest mallory;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    anna.Send(" Anna");
    QVERIFY(anna.Expect("#Anna"));
    QVERIFY(mallory.Connect(base, "127.0.0.2"));
    QVERIFY(mallory.Expect(kHostGreeting));
    QVERIFY(anna.Expect("New guest coming from address: 127.0.0.2"));
    const QStringList view = host.Main().chatLines();

    // Each text is sent once the host has read the one before, so none are glued.
    const int malloryAtHost = host.Main().TCPServer1->Clients().Items(1);
    for (const QByteArray &text : {QByteArray("#Mallory,Eve"), QByteArray("-00"), QByteArray(" Mal")}) {
        mallory.Send(text);
        QTRY_VERIFY(BytesWaiting(malloryAtHost) > 0);
        QTRY_COMPARE(BytesWaiting(malloryAtHost), 0);
    }
    QVERIFY(mallory.Expect("#Anna,Mal"));
    QVERIFY(anna.Expect("#Anna,Mal"));
    mallory.Send("1<Mal> plain");
    QVERIFY(anna.Expect("1<Mal> plain"));
    QVERIFY(anna.NothingMore());
    QCOMPARE(host.Main().chatLines().mid(view.size()), (QStringList{"<Mal>", " plain"}));
    QCOMPARE(Participants(host), (QStringList{"Anna", "Mal"}));
}

// A guest speaks only in its own name: a line in the host's name reaches
// nobody, and the host's view says so, once.
void TestChat::aGuestSpeaksOnlyInItsOwnName()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(JoinAsFirstGuest(anna, base, "Anna"));
    anna.Send("3<Hosty> Please all reconnect to 10.77.0.2");
    QTRY_VERIFY(host.Main().chatLines().contains("Line from 127.0.0.1 not relayed: it names Hosty"));
    anna.Send("3<Hosty> again");
    anna.Send("0<Anna> mine");
    QVERIFY(anna.Expect("0<Anna> mine"));
    QVERIFY(anna.NothingMore());
    QCOMPARE(host.Main().chatLines().filter("not relayed").size(), 1);
}

// A peer that comes again and again brings the host's window forward and
// plays the sound once, and has every guest told of its refusal once.
void TestChat::aReconnectLoopDoesNotTakeTheHostOver()
{
    TestProgram host(TestProgram::Setup("Hosty", "127.0.0.1", "Blue", 1, "127.0.0.2"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    for (int round = 0; round < 3; ++round) {
        RawGuest again;
        QVERIFY(again.Connect(base, "127.0.0.3"));
        QVERIFY(again.Expect(kHostGreeting));
        QVERIFY(anna.Expect("New guest coming from address: 127.0.0.3"));
        again.peer.Close();
        QTRY_COMPARE(host.Main().TCPServer1->Clients().Count(), 1);
        RawGuest refused;
        QVERIFY(refused.Connect(base, "127.0.0.2"));
        QVERIFY(refused.Expect("Sorry!  You are not in my list."));
        if (round == 0) {
            QVERIFY(refused.Expect("Guest from 127.0.0.2 no invited and Host closed door."));
            QVERIFY(anna.Expect("Guest from 127.0.0.2 no invited and Host closed door."));
        }
        QVERIFY(refused.Ends());
    }
    QCOMPARE(host.sound.plays, 2); // Anna's arrival, and the first of the others
    QCOMPARE(host.Main().chatLines().filter("Connection rejected for 127.0.0.2").size(), 3);
    QVERIFY(anna.NothingMore());
}

// A guest that sends faster than a person types is read more slowly, and
// none of its lines is lost or reordered.
void TestChat::aFloodingGuestIsReadAtAPersonsPace()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(JoinAsFirstGuest(anna, base, "Anna"));
    QByteArray flood;
    for (int number = 0; number < 120; ++number)
        flood += Protocol::ChatLine('0', "Anna", QByteArray::number(number).rightJustified(50, '0'));
    QElapsedTimer clock;
    clock.start();
    anna.Send(flood);
    QTest::qWait(1000);
    const qsizetype afterASecond = host.Main().chatLines().filter("<Anna>").size();
    QVERIFY2(afterASecond < 100, QByteArray::number(afterASecond).constData());
    QVERIFY(anna.Expect(flood));
    QVERIFY(clock.elapsed() >= 1500); // 60 and a read at once, then 20 a second
}

// Joins, registrations and leaves in an awkward order: the lists of the host
// and of every guest stay the same, and a guest that never registered leaves
// without a word to the others.
void TestChat::listStaysInStepWithTheConnections()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest silent;
    RawGuest bob;
    RawGuest cid;
    QVERIFY(silent.Connect(base));
    QVERIFY(silent.Expect(kHostGreeting));
    QVERIFY(bob.Connect(base, "127.0.0.2"));
    QVERIFY(bob.Expect(kHostGreeting));
    QVERIFY(silent.Expect("New guest coming from address: 127.0.0.2"));
    bob.Send(" Bob");
    QVERIFY(bob.Expect("#Bob"));
    QVERIFY(silent.Expect("#Bob"));

    silent.peer.Close();
    QTRY_COMPARE(host.Main().TCPServer1->Clients().Count(), 1);
    QVERIFY(cid.Connect(base, "127.0.0.3"));
    QVERIFY(cid.Expect(kHostGreeting));
    QVERIFY(bob.Expect("New guest coming from address: 127.0.0.3")); // and no departure before it
    cid.Send(" Cid");
    QVERIFY(bob.Expect("#Bob,Cid"));
    QVERIFY(cid.Expect("#Bob,Cid"));

    bob.peer.Close();
    QVERIFY(cid.Expect("-00Cid"));
    QTRY_COMPARE(Participants(host), QStringList{"Cid"});
    QVERIFY(cid.NothingMore());
}

// A name the host does not take (one with a control character, the host's
// own): the guest hears why and is let go, the host's view says why, and the
// other guests hear nothing of it. A name with a blank is quoted in the list.
void TestChat::namesTheHostRefuses()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(JoinAsFirstGuest(anna, base, "Big Bob"));
    const auto refused = [&](const QByteArray &registration, const char *source, const QByteArray &why) {
        RawGuest eve;
        QVERIFY(eve.Connect(base, source));
        QVERIFY(eve.Expect(kHostGreeting));
        QVERIFY(anna.Expect(QByteArray("New guest coming from address: ") + source));
        eve.Send(registration);
        QVERIFY(eve.Expect(why));
        QVERIFY(eve.Ends());
    };
    refused(QByteArray(" Ann\0evil", 9), "127.0.0.2", "Sorry!  That name holds a control character.");
    refused(" Hosty", "127.0.0.3", "Sorry!  The name Hosty is taken here.");
    QTRY_COMPARE(host.Main().TCPServer1->Clients().Count(), 1);
    QVERIFY(anna.NothingMore());
    QCOMPARE(Participants(host), QStringList{"Big Bob"});
    const QStringList lines = host.Main().chatLines();
    QVERIFY(lines.contains("Connection closed for 127.0.0.2: its name holds a control character"));
    QVERIFY(lines.contains("Connection closed for 127.0.0.3: the name Hosty is taken"));
    QCOMPARE(host.Main().statusText(), QStringLiteral("1 Client(s) connected"));
}

void TestChat::secondRegistrationRenames()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    anna.Send(" Anna");
    QVERIFY(anna.Expect("#Anna"));
    anna.Send(" Ann2");
    QVERIFY(anna.Expect("#Ann2"));
    QCOMPARE(Participants(host), QStringList{"Ann2"});
}

void TestChat::hostTakesTheNextFreePort()
{
    LoopbackListener occupant;
    QVERIFY(occupant.Listen(base));
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(base, base + 1));
    QCOMPARE(host.Main().statusText(),
             "Host: " + LocalAddressText() + " Listening on port: " + QString::number(base + 1));
    QCOMPARE(host.Main().windowTitle(), "Hosty is Host on " + LocalAddressText());
    QVERIFY(!host.Main().Trying);
    QCOMPARE(host.prompts.shown, QStringList());
}

// With the whole range taken the error is shown once, and the attempts end.
void TestChat::allPortsTaken()
{
    LoopbackListener occupants[TForm4::PortRange + 1];
    for (int offset = 0; offset <= TForm4::PortRange; ++offset)
        QVERIFY(occupants[offset].Listen(quint16(base + offset)));
    TestProgram host(TestProgram::Setup("Hosty"));
    host.SetupDialog().ePort->setText(QString::number(base));
    host.Main().ImServer1->trigger();
    QTRY_COMPARE(host.prompts.shown, QStringList{"error: Address already in use"});
    QVERIFY(!host.Main().Timer2->isActive());
    QCOMPARE(host.Main().TCPServer1->Port, QString::number(base + TForm4::PortRange));
    QCOMPARE(host.Main().TCPServer1->State(), wsClosed);
}

void TestChat::leavingHostModeStopsTheAttempts()
{
    LoopbackListener occupant;
    QVERIFY(occupant.Listen(base));
    TestProgram host(TestProgram::Setup("Hosty"));
    host.SetupDialog().ePort->setText(QString::number(base));
    host.Main().ImServer1->trigger();
    QVERIFY(host.Main().Timer2->isActive());
    QVERIFY(host.SetupDialog().eName->isReadOnly()); // already while starting
    host.Main().CloseChat2->trigger();
    QVERIFY(!host.Main().Timer2->isActive());
    QVERIFY(!host.SetupDialog().eName->isReadOnly());

    host.Main().ImServer1->trigger();
    QVERIFY(host.Main().Timer2->isActive());
    host.Main().ImClient1->trigger();
    QVERIFY(!host.Main().Timer2->isActive());
    QCOMPARE(host.Main().TCPServer1->State(), wsClosed);
    host.Main().CloseChat2->trigger();
}

// A host on the last port a host takes is found after 23 refusals.
void TestChat::guestFindsTheHostAfterRefusals()
{
    LoopbackListener hostSocket;
    QVERIFY(hostSocket.Listen(quint16(base + 23)));
    TestProgram guest(TestProgram::Setup("Anna"));
    int refusals = 0;
    TTCPClient &client = *guest.Main().TCPClient1;
    const TOnError shown = client.OnError;
    client.OnError = [&](TCustomWSocket *sender, int error, const QString &text) {
        refusals += error == 10061;
        shown(sender, error, text);
    };
    guest.StartGuest(base);
    QVERIFY(guest.Main().Trying);
    QCOMPARE(guest.Main().windowTitle(), QStringLiteral("Anna is Guest to 127.0.0.1"));
    QTRY_COMPARE(client.State(), wsConnected);
    QCOMPARE(refusals, 23);
    QCOMPARE(client.Port, QString::number(base + 23));
    QVERIFY(!guest.Main().Trying);
    QVERIFY(guest.Main().statusText().startsWith(QStringLiteral("Connected on local port ")));
    QCOMPARE(guest.prompts.shown, QStringList());
}

// With no host at all the walk goes through s to s + 24, waits, and starts
// again at s. The status names each port as it is tried, and the port to come
// during the pause, which still counts as an attempt under way.
void TestChat::guestWalkWrapsAfterAPause()
{
    TestProgram guest(TestProgram::Setup("Anna"));
    TForm4 &main = guest.Main();
    TTCPClient &client = *main.TCPClient1;
    QList<int> refused;
    QStringList statuses;
    QString statusInPause;
    QElapsedTimer clock;
    qint64 lastOfRound = -1;
    qint64 firstOfNext = -1;
    const TOnError shown = client.OnError;
    client.OnError = [&](TCustomWSocket *sender, int error, const QString &text) {
        const int port = client.Port.toInt() - base;
        if (port == 24 && firstOfNext < 0)
            lastOfRound = clock.elapsed();
        if (port == 0 && lastOfRound >= 0 && firstOfNext < 0)
            firstOfNext = clock.elapsed();
        refused << port;
        statuses << main.statusText();
        shown(sender, error, text);
        if (refused.size() == 25) { // the pause has begun
            statusInPause = main.statusText();
            main.ImServer1->trigger(); // and is answered with Cancel
        }
    };
    clock.start();
    guest.StartGuest(base);
    QTRY_VERIFY_WITH_TIMEOUT(refused.size() >= 27, 10000);
    QList<int> expected;
    QStringList expectedStatuses;
    for (int port : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 0, 1}) {
        expected << port;
        expectedStatuses << "Trying to connect to 127.0.0.1 of port " + QString::number(base + port);
    }
    QCOMPARE(refused.mid(0, 27), expected);
    QCOMPARE(statuses.mid(0, 27), expectedStatuses);
    QCOMPARE(statusInPause, expectedStatuses.first());
    QCOMPARE(guest.prompts.shown, QStringList{"confirm: Do you really want to close Conection?"});
    QVERIFY(main.ImClient1->isChecked());
    QVERIFY(!main.ImServer1->isChecked());
    QVERIFY2(firstOfNext - lastOfRound >= 900, qPrintable(QString::number(firstOfNext - lastOfRound)));
    main.CloseChat2->trigger();
}

// Without a host address the guest does not start, once the setup dialog is closed.
void TestChat::guestNeedsAHost()
{
    TestProgram guest(TestProgram::Setup("Anna", ""));
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    closer.start(10);
    guest.Main().ImClient1->trigger();
    QCOMPARE(guest.prompts.shown, QStringList{"message: You needet to accept Host"});
    QVERIFY(!guest.Main().ImClient1->isChecked());
    QCOMPARE(guest.Main().TCPClient1->State(), wsClosed);
}

void TestChat::closeChatEndsTheWalk()
{
    TestProgram guest(TestProgram::Setup("Anna"));
    TTCPClient &client = *guest.Main().TCPClient1;
    int refusals = 0;
    const TOnError shown = client.OnError;
    client.OnError = [&](TCustomWSocket *sender, int error, const QString &text) {
        ++refusals;
        shown(sender, error, text);
    };
    guest.StartGuest(base);
    QTRY_VERIFY(refusals >= 3);
    guest.Main().CloseChat2->trigger();
    const int atClose = refusals;
    QCOMPARE(client.State(), wsClosed);
    QTest::qWait(1500); // longer than the pause between two rounds
    QCOMPARE(refusals, atClose);
    QVERIFY(guest.Main().statusText().isEmpty());
}

void TestChat::registrationComesOneSecondLater()
{
    LoopbackListener hostSocket;
    QVERIFY(hostSocket.Listen(base));
    TestProgram guest(TestProgram::Setup("Anna"));
    guest.StartGuest(base);
    LoopbackPeer host = hostSocket.AcceptOne();
    QVERIFY(host.IsOpen());
    QElapsedTimer sinceConnect;
    sinceConnect.start();
    QTRY_COMPARE(guest.Main().TCPClient1->State(), wsConnected);
    QCOMPARE(host.ReadAvailable(), QByteArray()); // not at once
    QCOMPARE(host.ReadAtLeast(5), QByteArray(" Anna"));
    QVERIFY(sinceConnect.elapsed() >= 900);
    QVERIFY(!guest.Main().Timer1->isActive()); // once
    QCOMPARE(guest.Main().chatLines().size(), 1);
    QVERIFY(guest.Main().chatLines().first().endsWith(QStringLiteral(" : At this moment I'm Guest.")));
}

// A raw host sends a list and a departure; the guest keeps its list as told.
void TestChat::departureFromTheHost()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(base));
    TestProgram &guest = chat.guest;
    LoopbackPeer &host = chat.host;

    QVERIFY(host.Send("#Anna,Bob,Cid,Dora,Ed"));
    QTRY_COMPARE(Participants(guest), (QStringList{"Anna", "Bob", "Cid", "Dora", "Ed"}));
    QCOMPARE(guest.sound.plays, 1);
    QVERIFY(host.Send("-03anything at all"));
    QTRY_COMPARE(Participants(guest), (QStringList{"Anna", "Bob", "Cid", "Ed"}));
    QCOMPARE(guest.Main().chatLines().mid(1), (QStringList{"< Dora is away >", ""}));
    QCOMPARE(guest.sound.plays, 2);

    guest.Main().Quiet1->trigger();
    QVERIFY(host.Send("#"));
    QTRY_COMPARE(Participants(guest), QStringList());
    QCOMPARE(guest.sound.plays, 2);
}

void TestChat::badDepartureChangesNothing()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(base));
    TestProgram &guest = chat.guest;
    LoopbackPeer &host = chat.host;
    QVERIFY(host.Send("#Anna,Bob"));
    QTRY_COMPARE(Participants(guest), (QStringList{"Anna", "Bob"}));
    const QStringList view = guest.Main().chatLines();

    QVERIFY(host.Send("-x1"));
    QTRY_COMPARE(guest.prompts.shown.size(), 1);
    QVERIFY(host.Send("-05"));
    QTRY_COMPARE(guest.prompts.shown.size(), 2);
    QCOMPARE(guest.prompts.shown,
             (QStringList{"error: 'x1' is not a valid integer value", "error: List index out of bounds (5)"}));
    QCOMPARE(Participants(guest), (QStringList{"Anna", "Bob"}));
    QCOMPARE(guest.Main().chatLines(), view);
    QCOMPARE(guest.Main().TCPClient1->State(), wsConnected);
}

void TestChat::emptyReadWritesAnEmptyLine()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(base));
    TestProgram &guest = chat.guest;
    const int lines = guest.Main().chatLineCount();
    guest.Main().TCPClient1Data(guest.Main().TCPClient1->SocketHandle()); // nothing is waiting
    QCOMPARE(guest.Main().chatLineCount(), lines + 1);
    QCOMPARE(guest.Main().chatLines().last(), QString());
}

// A list and a chat line that arrive in one read are parted where it is sure.
void TestChat::listAndChatLineGlued()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(base));
    TestProgram &guest = chat.guest;
    LoopbackPeer &host = chat.host;
    const QStringList view = guest.Main().chatLines();
    // No list holds a blank outside quotes: the list ends where the line of a name it brings begins.
    QVERIFY(host.Send("#Anna,Bob0<Anna> hi"));
    QTRY_COMPARE(Participants(guest), (QStringList{"Anna", "Bob"}));
    QTRY_COMPARE(guest.Main().chatLines().mid(view.size()), (QStringList{"<Anna>", " hi"}));
}

void TestChat::gluedTextsFromTheHost_data()
{
    QTest::addColumn<QByteArray>("glued");
    QTest::addColumn<QStringList>("shown");
    const QByteArray refusal = Protocol::Refusal();
    const QByteArray notice = Protocol::RefusalNotice("127.0.0.1");
    QTest::newRow("refusal and its notice") << refusal + notice << QStringList{refusal, notice};

    // A 100-byte text and a 1014-byte line: the first read ends 90 bytes
    // before the line does, where the line holds a list or a departure.
    const QByteArray first = "1<Hosty> " + QByteArray(91, 'a');
    for (const QByteArray &control : {QByteArray("#Mallory"), QByteArray("-00")}) {
        const QByteArray typed = (QByteArray(910, 'x') + control).leftJustified(1000, 'y');
        const QByteArray line = Protocol::ChatLine('0', "Nickname10", typed);
        QTest::newRow("cut before " + control) << first + line
                                               << QStringList{"<Hosty>", QString::fromLatin1(first.mid(8) + line)};
    }

    // Fifteen lines made of list and departure signs, sent at once as a host
    // relays them: every read but the last is cut short.
    QByteArray burst;
    for (int line = 0; line < 15; ++line)
        burst += Protocol::ChatLine('0', "Nickname10", QByteArray(1000, "#-"[line % 2]));
    QTest::newRow("burst") << burst << QStringList{"<Nickname10>", QString::fromLatin1(burst.mid(13))};
}

// Texts that arrive together: a text cut where a read ends never acts as a
// list or a departure, and the refusal shows as the two lines it is.
void TestChat::gluedTextsFromTheHost()
{
    QFETCH(QByteArray, glued);
    QFETCH(QStringList, shown);
    GuestOfARawHost chat;
    QVERIFY(chat.Start(base));
    TestProgram &guest = chat.guest;
    QVERIFY(chat.host.Send("#Anna,Bob"));
    QTRY_COMPARE(Participants(guest), (QStringList{"Anna", "Bob"}));
    const QStringList view = guest.Main().chatLines();

    QVERIFY(chat.host.Send(glued));
    QTRY_COMPARE(guest.Main().chatLines().mid(view.size()), shown);
    QCOMPARE(Participants(guest), (QStringList{"Anna", "Bob"}));
    QCOMPARE(guest.prompts.shown, QStringList());
    QCOMPARE(guest.sound.plays, 1);
}

void TestChat::longestLineTheInputAllows_data()
{
    QTest::addColumn<QByteArray>("nickname");
    QTest::addColumn<int>("lineSize");
    QTest::newRow("ten characters") << QByteArray("Nickname10") << 1014;
    QTest::newRow("thirty from a file, cut to ten") << QByteArray(30, 'n') << 1014;
}

// The longest line a guest can type reaches the host in one read, and comes
// back from it as one line.
void TestChat::longestLineTheInputAllows()
{
    QFETCH(QByteArray, nickname);
    QFETCH(int, lineSize);
    GuestOfARawHost chat(nickname);
    QVERIFY(chat.Start(base));
    const QByteArray registered = nickname.left(TForm8::kTypedNameLimit);
    QCOMPARE(chat.host.ReadAtLeast(1 + registered.size()), ' ' + registered); // the registration first
    QLineEdit &input = *chat.guest.Main().Edit1;
    input.setText(QString(2000, QLatin1Char('t')));
    QTest::keyClick(&input, Qt::Key_Return);
    const QByteArray line = chat.host.ReadAtLeast(lineSize);
    QCOMPARE(line.size(), lineSize);
    QCOMPARE(line, Protocol::ChatLine('0', registered, QByteArray(lineSize - 4 - registered.size(), 't')));

    const int before = chat.guest.Main().chatLineCount();
    QVERIFY(chat.host.Send(line));
    QTRY_COMPARE(chat.guest.Main().chatLineCount(), before + 2);
    QCOMPARE(chat.guest.Main().chatLines().last(), QString::fromLatin1(line.mid(registered.size() + 3)));
}

void TestChat::colourOutsideTheTable()
{
    TestProgram host(TestProgram::Setup("Hosty", "127.0.0.1", "Green"));
    QCOMPARE(host.SetupDialog().ColourIndexText(), QStringLiteral("-1"));
    QVERIFY(host.StartHost(base));
    RawGuest anna;
    QVERIFY(anna.Connect(base));
    QVERIFY(anna.Expect(kHostGreeting));
    host.Main().Edit1->setText(QStringLiteral("hi"));
    QTest::keyClick(host.Main().Edit1, Qt::Key_Return);
    QVERIFY(anna.Expect("6<Hosty> hi"));
}

// Two whole programs, host and guest, as two users would run them.
void TestChat::twoProgramsChat()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    TestProgram guest(TestProgram::Setup("Anna", "127.0.0.1", "Navy"));
    QVERIFY(host.StartHost(base));
    guest.StartGuest(base);
    QTRY_COMPARE(guest.Main().TCPClient1->State(), wsConnected);
    QTRY_COMPARE(Participants(guest), QStringList{"Anna"});
    QCOMPARE(Participants(host), QStringList{"Anna"});
    QVERIFY(guest.Main().chatLines().contains(QString::fromLatin1(kHostGreeting)));

    guest.Main().Edit1->setText(QString::fromUtf8("привет"));
    QTest::keyClick(guest.Main().Edit1, Qt::Key_Return);
    QTRY_COMPARE(host.Main().chatLines().last(), QString::fromUtf8(" привет"));
    QTRY_COMPARE(guest.Main().chatLines().last(), QString::fromUtf8(" привет"));
    QCOMPARE(host.Main().chatLines().mid(host.Main().chatLineCount() - 2, 1), QStringList{"<Anna>"});

    host.Main().Edit1->setText(QStringLiteral("welcome"));
    QTest::keyClick(host.Main().Edit1, Qt::Key_Return);
    QTRY_COMPARE(guest.Main().chatLines().last(), QStringLiteral(" welcome"));
}

void TestChat::hostClosingEndsTheGuest()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    TestProgram guest(TestProgram::Setup("Anna"));
    QVERIFY(host.StartHost(base));
    guest.StartGuest(base);
    QTRY_COMPARE(Participants(guest), QStringList{"Anna"});
    host.End();
    QTRY_COMPARE(guest.Main().statusText(), QStringLiteral("Connection closed by Server!"));
    const QStringList view = guest.Main().chatLines();
    QCOMPARE(view.at(view.size() - 2), QStringLiteral("VanuServer is Down"));
    QVERIFY(view.last().endsWith(QStringLiteral(" :Door closed by Host.")));
    QCOMPARE(guest.Main().windowTitle(), QStringLiteral("Vanu"));
    QCOMPARE(guest.tray.toolTip, QStringLiteral("Vanu"));
    QVERIFY(!guest.Main().ImClient1->isChecked());
    QVERIFY(!guest.Main().Edit1->isEnabled());
    QVERIFY(guest.SetupDialog().eName->isReadOnly());
    QCOMPARE(Participants(guest), QStringList());
}

// A link lost (a reset, not the host's close) is taken up again a second
// later: the guest registers again and says so. Switched off, it is not;
// "Close Chat" stops an attempt that is due.
void TestChat::aLostLinkIsTakenUpAgain()
{
    GuestOfARawHost chat;
    TForm4 &main = chat.guest.Main();
    // The switch is the user's preference, which outlives this test: on here, and on after it.
    main.reconnectSwitch->setChecked(true);
    const auto switchedOnAgain = qScopeGuard([&] { main.reconnectSwitch->setChecked(true); });
    QVERIFY(chat.Start(base));
    QCOMPARE(chat.host.ReadAtLeast(5), QByteArray(" Anna"));
    chat.host.Reset();
    QTRY_COMPARE(main.statusText(), QStringLiteral("Connection to the host was lost: Connection reset by peer"));
    LoopbackPeer again = chat.listener.AcceptOne();
    QVERIFY(again.IsOpen());
    QCOMPARE(again.ReadAtLeast(5), QByteArray(" Anna"));
    QVERIFY(main.chatLines().last().endsWith(" : Connected to the host again."));
    QVERIFY(main.ImClient1->isChecked());

    again.Reset();
    QTRY_VERIFY(!main.ImClient1->isChecked());
    QVERIFY(main.guestAttemptUnderWay()); // the next attempt is due
    main.CloseChat2->trigger();
    QVERIFY(!main.guestAttemptUnderWay());

    main.reconnectSwitch->trigger();
    QVERIFY(!main.reconnectSwitch->isChecked());
    main.ImClient1->trigger();
    LoopbackPeer third = chat.listener.AcceptOne();
    QVERIFY(third.IsOpen());
    QTRY_COMPARE(main.TCPClient1->State(), wsConnected);
    third.Reset();
    QTRY_VERIFY(!main.ImClient1->isChecked());
    QVERIFY(!main.guestAttemptUnderWay());
    QCOMPARE(chat.guest.prompts.shown, QStringList());
}

// A second Anna is refused; her copy offers the name with a number added,
// for this chat only, and joins with it.
void TestChat::aTakenNameIsOfferedWithANumber()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    TestProgram anna(TestProgram::Setup("Anna"));
    TestProgram other(TestProgram::Setup("Anna"));
    QVERIFY(host.StartHost(base));
    anna.StartGuest(base);
    QTRY_COMPARE(Participants(host), QStringList{"Anna"});
    other.prompts.confirmAnswers = {true};
    other.StartGuest(base);
    QTRY_COMPARE(Participants(host), (QStringList{"Anna", "Anna2"}));
    QCOMPARE(other.prompts.shown, QStringList{"confirm: The name Anna is taken in this chat. Join it as Anna2?"});
    QVERIFY(host.Main().chatLines().contains("Connection closed for 127.0.0.1: the name Anna is taken"));
    QCOMPARE(other.SetupDialog().Nickname(), QStringLiteral("Anna"));
    QCOMPARE(other.Main().windowTitle(), QStringLiteral("Anna2 is Guest to 127.0.0.1"));
    other.Main().Edit1->setText(QStringLiteral("hi"));
    QTest::keyClick(other.Main().Edit1, Qt::Key_Return);
    QTRY_VERIFY(anna.Main().chatLines().contains(" hi"));
    QVERIFY(anna.Main().chatLines().contains("<Anna2>"));
}

QTEST_MAIN(TestChat)
#include "tst_chat.moc"
