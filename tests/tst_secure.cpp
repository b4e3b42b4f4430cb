// Secure chat between real copies over loopback, with real OpenSSL at both
// ends: what crosses the wire, who shares a chat, which keys are trusted, and
// what hostile bytes on the secure port do.
#include "ChatLink.h"
#include "Cpace.h"
#include "FrameReader.h"
#include "HistoryRecorder.h"
#include "FileSharing.h"
#include "FileTransfers.h"
#include "HistoryStore.h"
#include "HostIdentity.h"
#include "KnownHosts.h"
#include "PasswordTries.h"
#include "PersonChooser.h"
#include "PrivateMessaging.h"
#include "Protocol.h"
#include "RawGuest.h"
#include "ConversationWindow.h"
#include "SecureChat.h"
#include "SecureChatDialog.h"
#include "SecurePeer.h"
#include "TNotificationEndpoint.h"
#include "TransferCard.h"
#include "TransfersWindow.h"
#include "TestProgram.h"
#include "TlsTransport.h"
#include "UserPreferences.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QScopeGuard>
#include <QStatusBar>
#include <QSocketNotifier>
#include <QtEndian>
#include <QTemporaryDir>
#include <QTest>

#include <openssl/evp.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <memory>

namespace {

constexpr quint16 kPort = 27400; // and the secure ports 100 above

// Passes every byte between a guest and a host, both ways, and keeps a copy:
// what anyone on the LAN would see of the chat.
class RecordingProxy {
public:
    RecordingProxy(quint16 listenOn, quint16 forwardTo) : target(forwardTo)
    {
        listener.Listen(listenOn);
        accepting = std::make_unique<QSocketNotifier>(listener.Handle(), QSocketNotifier::Read);
        QObject::connect(accepting.get(), &QSocketNotifier::activated, [this] { Accept(); });
    }
    QByteArray seen;

private:
    struct Pair {
        LoopbackPeer near, far;
        std::unique_ptr<QSocketNotifier> fromNear, fromFar;
    };
    void Accept()
    {
        const int socket = accept4(listener.Handle(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (socket < 0)
            return;
        auto pair = std::make_unique<Pair>();
        pair->near = LoopbackPeer(socket);
        if (!pair->far.Connect(target))
            return;
        Pair *made = pair.get();
        pair->fromNear = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
        pair->fromFar = std::make_unique<QSocketNotifier>(made->far.Handle(), QSocketNotifier::Read);
        QObject::connect(pair->fromNear.get(), &QSocketNotifier::activated, [this, made] { Pass(made->near, made->far, *made->fromNear); });
        QObject::connect(pair->fromFar.get(), &QSocketNotifier::activated, [this, made] { Pass(made->far, made->near, *made->fromFar); });
        pairs.push_back(std::move(pair));
    }
    void Pass(LoopbackPeer &from, LoopbackPeer &to, QSocketNotifier &notifier)
    {
        const QByteArray bytes = from.ReadAvailable();
        if (bytes.isEmpty()) {
            notifier.setEnabled(false); // the end of the stream: passed on as one
            to.ShutdownWrite();
            return;
        }
        seen += bytes;
        to.Send(bytes);
    }

    quint16 target;
    LoopbackListener listener;
    std::unique_ptr<QSocketNotifier> accepting;
    std::vector<std::unique_ptr<Pair>> pairs;
};

void Say(TestProgram &program, const QString &line)
{
    program.Main().Edit1->setText(line);
    QTest::keyClick(program.Main().Edit1, Qt::Key_Return);
}

} // namespace

class TestSecure : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aSecureChatShowsNothingOnTheWire();
    void plainAndSecureGuests_data();
    void plainAndSecureGuests();
    void pinnedKeys_data();
    void pinnedKeys();
    void chatPassword_data();
    void chatPassword();
    void aProofServesOneConnectionOnly();
    void passwordTriesAreHeldBack_data();
    void passwordTriesAreHeldBack();
    void aGuessRightAfterAWrongOneIsRefused();
    void aVersion2GuessCostsATryAndLearnsNothing();
    void aGuestsUserMayTakeLongerThanTheNetwork();
    void framesKeepTextsApart();
    void emptyFramesArePassedOverTogether();
    void hostileBytesOnTheSecurePort_data();
    void hostileBytesOnTheSecurePort();
    void aPrivateConversationBetweenTwoGuests();
    void aFileBetweenTwoGuestsInTheProgram();
    void aNameIsHeldForItsKey_data();
    void aNameIsHeldForItsKey();

private:
    QString Folder(const char *name) const { return QDir(folders->path()).filePath(QLatin1String(name)); }
    std::unique_ptr<QTemporaryDir> folders;
};

void TestSecure::init()
{
    // As the program's main does: the raw guests write with OpenSSL's own
    // write(), which raises SIGPIPE once the host has ended their connection.
    std::signal(SIGPIPE, SIG_IGN);
    folders = std::make_unique<QTemporaryDir>();
}

// The guest trusts the host's key on first use, after the user compared it;
// nothing it or the host typed crosses the wire readably.
void TestSecure::aSecureChatShowsNothingOnTheWire()
{
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(kPort));
    RecordingProxy wire(kPort + 1 + SecureChat::kSecurePortOffset, kPort + SecureChat::kSecurePortOffset);
    TestProgram guest(TestProgram::Setup("Anna"), nullptr, {}, Folder("guest"));
    guest.prompts.confirmAnswers << true;
    guest.StartGuest(kPort + 1); // where the proxy stands for the host
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    Say(guest, QStringLiteral("the secret is 42"));
    QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" the secret is 42")));
    Say(host, QStringLiteral("keep it"));
    QTRY_VERIFY(guest.Main().chatLines().contains(QStringLiteral(" keep it")));

    const QByteArray fingerprint = host.program->secure()->hostFingerprint();
    QCOMPARE(guest.prompts.shown.size(), 1);
    QVERIFY(guest.prompts.shown.constFirst().contains(FingerprintText(fingerprint)));
    QCOMPARE(KnownHosts(Folder("guest/known-hosts")).FingerprintOf("127.0.0.1", kPort + 1), fingerprint);
    QVERIFY(wire.seen.size() > 500);
    for (const QByteArray typed : {"secret", "keep it", "Anna", "Hosty"})
        QVERIFY2(!wire.seen.contains(typed), typed);
}

void TestSecure::plainAndSecureGuests_data()
{
    QTest::addColumn<QString>("hostMode");
    QTest::newRow("a host that offers secure chat") << "offer";
    QTest::newRow("a host that requires it") << "require";
}

// A copy without secure chat joins a host that offers it, in the clear, and
// each guest sees the other's lines; a host that requires it refuses that
// copy as its filter would, and says why. The padlock counts the secure.
void TestSecure::plainAndSecureGuests()
{
    QFETCH(QString, hostMode);
    const quint16 port = kPort + 2;
    UserPreferences().setValue(QStringLiteral("secure/host"), hostMode);
    const auto restore = qScopeGuard([] { UserPreferences().remove(QStringLiteral("secure/host")); });
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(port));
    TestProgram secure(TestProgram::Setup("Anna"), nullptr, {}, Folder("anna"));
    secure.prompts.confirmAnswers << true;
    secure.StartGuest(port);
    TestProgram plain(TestProgram::Setup("Boris"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    plain.StartGuest(port);
    const auto padlock = [](TestProgram &program) {
        const QList<QLabel *> labels = program.Main().StatusBar1->findChildren<QLabel *>();
        for (const QLabel *label : labels)
            if (label->text().contains(QStringLiteral("secure"), Qt::CaseInsensitive) && !label->isHidden())
                return label->text();
        return QString();
    };
    if (hostMode == QLatin1String("require")) {
        QTRY_VERIFY(plain.Main().chatLines().contains(QStringLiteral("Sorry!  You are not in my list.")));
        QVERIFY(host.Main().chatLines().constLast().endsWith(QStringLiteral("127.0.0.1: only secure guests may join")));
        QCOMPARE(host.Friends().Lines(), QStringList{"Anna"});
        QTRY_COMPARE(padlock(host), QStringLiteral("1 of 1 secure"));
        return;
    }
    QTRY_COMPARE(host.Friends().Lines().size(), 2);
    QTRY_COMPARE(padlock(host), QStringLiteral("1 of 2 secure"));
    QTRY_COMPARE(padlock(secure), QStringLiteral("Secure, host verified"));
    Say(secure, QStringLiteral("from anna"));
    Say(plain, QStringLiteral("from boris"));
    QTRY_VERIFY(plain.Main().chatLines().contains(QStringLiteral(" from anna")));
    QTRY_VERIFY(secure.Main().chatLines().contains(QStringLiteral(" from boris")));
    // The plain guest leaves: the padlock counts anew as the status text does.
    plain.Main().TCPClient1->Close();
    QTRY_COMPARE(host.Main().statusText(), QStringLiteral("1 Client(s) connected"));
    QCoreApplication::processEvents();
    QCOMPARE(padlock(host), QStringLiteral("1 of 1 secure"));
}

void TestSecure::pinnedKeys_data()
{
    QTest::addColumn<QString>("impostor");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("a host with another key") << "another key" << "shows another key than the one it showed before";
    QTest::newRow("a known host in the clear") << "in the clear" << "answers only in the clear";
    QTest::newRow("a host whose line is damaged") << "damaged line" << "is damaged in";
}

// The first join pins the host's key; whoever answers for the host later
// with another key, or only in the clear, is refused, and the guest is told
// both fingerprints, or why.
void TestSecure::pinnedKeys()
{
    QFETCH(QString, impostor);
    QFETCH(QString, refusal);
    const quint16 port = kPort + 3;
    QByteArray pinned;
    {
        TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
        QVERIFY(host.StartHost(port));
        pinned = host.program->secure()->hostFingerprint();
        TestProgram guest(TestProgram::Setup("Anna"), nullptr, {}, Folder("guest"));
        guest.prompts.confirmAnswers << true;
        guest.StartGuest(port);
        QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    }
    if (impostor == QLatin1String("damaged line")) {
        // Half its fingerprint lost: the host itself answers, and is not taken for one met first now.
        QFile file(Folder("guest/known-hosts"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray line = file.readAll();
        file.resize(0);
        file.write(line.left(line.size() / 2) + '\n');
    }
    const QString impostorFolder = impostor == QLatin1String("in the clear") ? QString()
                                   : impostor == QLatin1String("damaged line") ? Folder("host")
                                                                               : Folder("impostor");
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, impostorFolder);
    QVERIFY(host.StartHost(port));
    auto guest = std::make_unique<TestProgram>(TestProgram::Setup("Anna"), nullptr, QString(), Folder("guest"));
    guest->StartGuest(port);
    QTRY_COMPARE(guest->prompts.shown.size(), 1);
    const QString shown = guest->prompts.shown.constFirst();
    QVERIFY2(shown.startsWith(QStringLiteral("error: ")) && shown.contains(refusal), qPrintable(shown));
    QTest::qWait(200);
    QCOMPARE(host.Friends().Lines(), QStringList());
    if (impostor == QLatin1String("damaged line")) {
        const QString copy = guest->program->secure()->known().DamagedCopy();
        QVERIFY(shown.contains(copy));
        QVERIFY(QFile::exists(copy));
        return;
    }
    if (impostorFolder.isEmpty())
        return;
    QVERIFY(shown.contains(QStringLiteral("Expected: ") + FingerprintText(pinned)));
    QVERIFY(shown.contains(FingerprintText(host.program->secure()->hostFingerprint())));

    // The host really made a new key: the guest forgets the old one in the
    // Secure chat dialog, is asked about the new one, and joins.
    SecureChatDialog &dialog = *guest->program->secureDialog();
    dialog.Refresh();
    QCOMPARE(dialog.knownHosts->topLevelItemCount(), 1);
    qobject_cast<QPushButton *>(dialog.knownHosts->itemWidget(dialog.knownHosts->topLevelItem(0), 2))->click();
    QCOMPARE(dialog.knownHosts->topLevelItemCount(), 0);
    guest = std::make_unique<TestProgram>(TestProgram::Setup("Anna"), nullptr, QString(), Folder("guest"));
    guest->prompts.confirmAnswers << true;
    guest->StartGuest(port);
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
}

void TestSecure::chatPassword_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("the right one") << QStringList{"open sesame"} << QString();
    QTest::newRow("a wrong one") << QStringList{"open sesame!"} << "The host refused the chat password.";
    QTest::newRow("none") << QStringList{} << "The host asks for a chat password, and none was given.";
}

// The guest is asked for the password the host set; only the right one joins.
void TestSecure::chatPassword()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, refusal);
    const quint16 port = kPort + 6;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    host.program->secure()->setPassword(QStringLiteral("open sesame"));
    const auto clear = qScopeGuard([&host] { host.program->secure()->setPassword(QString()); });
    QVERIFY(host.StartHost(port));
    TestProgram guest(TestProgram::Setup("Anna"), nullptr, {}, Folder("guest"));
    guest.prompts.confirmAnswers << true;
    guest.prompts.passwordAnswers = typed;
    guest.StartGuest(port);
    if (refusal.isEmpty()) {
        QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
        // The key is put to the user once the host has proven the password too.
        QCOMPARE(guest.prompts.shown.size(), 2);
        QVERIFY(guest.prompts.shown.constFirst().startsWith(QStringLiteral("password: ")));
        QVERIFY(guest.prompts.shown.constLast().contains(QStringLiteral("proved that it knows the chat password")));
        // The password's key and the pinned keys are the user's alone.
        const QString preferences = UserPreferences().fileName();
        for (const QString &secret : {preferences, Folder("guest/known-hosts")})
            QCOMPARE(QFileInfo(secret).permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(QFileInfo(preferences).absolutePath()).permissions() & 0x0077, QFileDevice::Permissions());
        return;
    }
    QTRY_COMPARE(guest.prompts.shown.size(), 2); // the password, the refusal: a key nobody proved is never put
    QCOMPARE(guest.prompts.shown.constLast(), QStringLiteral("error: ") + refusal);
    QCOMPARE(host.Friends().Lines(), QStringList());
}

// A proof made for one connection is refused on another: it is bound to the
// TLS session it was made in.
void TestSecure::aProofServesOneConnectionOnly()
{
    const quint16 port = kPort + 7;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    host.program->secure()->setPassword(QStringLiteral("open sesame"));
    const auto clear = qScopeGuard([&host] { host.program->secure()->setPassword(QString()); });
    QVERIFY(host.StartHost(port));
    const QByteArray key = PasswordKey(QStringLiteral("open sesame"), host.program->secure()->hostFingerprint());
    SecurePeer first(port + SecureChat::kSecurePortOffset), second(port + SecureChat::kSecurePortOffset);
    QVERIFY(first.connected && second.connected);
    QCOMPARE(first.ReadFrame(), QByteArray("vanu-secure password"));
    QCOMPARE(second.ReadFrame(), QByteArray("vanu-secure password"));
    first.SendFrame(first.Proof(key));
    QCOMPARE(first.ReadFrame(), QByteArray("vanu-secure welcome"));
    second.SendFrame(first.Proof(key));
    QCOMPARE(second.ReadFrame(), QByteArray("vanu-secure refused"));
}

void TestSecure::passwordTriesAreHeldBack_data()
{
    // Each step: the time in seconds, and the proof right or wrong ("?" only asks whether one may try).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<bool>>("mayTry");
    QTest::addColumn<int>("lockedOutAfter"); // refusals in a row said once locked out; 0 for none
    QTest::newRow("the waits double") << QStringList{"0 wrong", "0.9 ?", "1 ?", "1 wrong", "2.9 ?", "3 ?"}
                                      << QList<bool>{false, true, false, true} << 0;
    QTest::newRow("the fifth wrong one locks out for five minutes")
        << QStringList{"0 wrong", "1 wrong", "3 wrong", "7 wrong", "15 wrong", "314 ?", "315 ?"}
        << QList<bool>{false, true} << 5;
    QTest::newRow("a right one forgets the wrong ones") << QStringList{"0 wrong", "1 right", "1 wrong", "2 ?"}
                                                        << QList<bool>{true} << 0;
}

void TestSecure::passwordTriesAreHeldBack()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<bool>, mayTry);
    QFETCH(int, lockedOutAfter);
    PasswordTries tries;
    const QString address = QStringLiteral("10.0.0.7");
    QList<bool> answered;
    int lockedOut = 0;
    for (const QString &step : steps) {
        const qint64 nowMs = qint64(step.section(' ', 0, 0).toDouble() * 1000);
        const QString what = step.section(' ', 1);
        if (what == QLatin1String("?"))
            answered << tries.MayTry(address, nowMs);
        else
            lockedOut = qMax(lockedOut, tries.Checked(address, what == QLatin1String("right"), nowMs));
    }
    QCOMPARE(answered, mayTry);
    QCOMPARE(lockedOut, lockedOutAfter);
    QVERIFY(tries.MayTry(QStringLiteral("10.0.0.8"), 0)); // another address is not held back
}

// The right password at once after a wrong one is refused unread: a guesser
// cannot try the next word before the wait is over.
void TestSecure::aGuessRightAfterAWrongOneIsRefused()
{
    const quint16 port = kPort + 8;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    host.program->secure()->setPassword(QStringLiteral("open sesame"));
    const auto clear = qScopeGuard([&host] { host.program->secure()->setPassword(QString()); });
    QVERIFY(host.StartHost(port));
    const QByteArray wrong = PasswordKey(QStringLiteral("sunshine7"), host.program->secure()->hostFingerprint());
    const QByteArray right = PasswordKey(QStringLiteral("open sesame"), host.program->secure()->hostFingerprint());
    SecurePeer guesser(port + SecureChat::kSecurePortOffset);
    QVERIFY(guesser.connected);
    QCOMPARE(guesser.ReadFrame(), QByteArray("vanu-secure password"));
    guesser.SendFrame(guesser.Proof(wrong));
    QCOMPARE(guesser.ReadFrame(), QByteArray("vanu-secure refused"));
    SecurePeer again(port + SecureChat::kSecurePortOffset);
    QVERIFY(again.connected);
    QCOMPARE(again.ReadFrame(), QByteArray("vanu-secure password"));
    again.SendFrame(again.Proof(right));
    QCOMPARE(again.ReadFrame(), QByteArray("vanu-secure refused"));
}

// In version 2 the password is exchanged with CPace. A guess costs a try as
// in version 1, and the guesser hears nothing from the host that confirms or
// refutes its guess before its own confirmation has been checked and counted.
void TestSecure::aVersion2GuessCostsATryAndLearnsNothing()
{
    const quint16 port = kPort + 10;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    host.program->secure()->setPassword(QStringLiteral("open sesame"));
    const auto clear = qScopeGuard([&host] { host.program->secure()->setPassword(QString()); });
    QVERIFY(host.StartHost(port));
    const QByteArray fingerprint = host.program->secure()->hostFingerprint();
    const auto join = [&](const QString &password, SecurePeer &guest) {
        const QByteArray id = guest.Exported("EXPORTER-Vanu CPace", 16);
        const Cpace::Party party(Cpace::Party::Role::Initiator, PasswordKey(password, fingerprint),
                                 "Vanu chat password", id, "guest");
        guest.SendFrame(party.share());
        const QByteArray hostShare = guest.ReadFrame();
        if (hostShare.size() != Cpace::kShareSize)
            return hostShare;
        guest.SendFrame(Cpace::confirmation(id, *party.keyWith(hostShare, "host"), party.share(), "guest"));
        const QByteArray hostConfirmation = guest.ReadFrame();
        const QByteArray expected = Cpace::confirmation(id, *party.keyWith(hostShare, "host"), hostShare, "host");
        return hostConfirmation == expected ? guest.ReadFrame() : hostConfirmation;
    };
    SecurePeer guesser(port + SecureChat::kSecurePortOffset, SecurePeer::Offers::Version2);
    QVERIFY(guesser.agreedOnVersion2());
    QCOMPARE(guesser.ReadFrame(), QByteArray("vanu-secure password"));
    QCOMPARE(join(QStringLiteral("sunshine7"), guesser), QByteArray("vanu-secure refused"));
    SecurePeer again(port + SecureChat::kSecurePortOffset, SecurePeer::Offers::Version2);
    QCOMPARE(again.ReadFrame(), QByteArray("vanu-secure password"));
    QCOMPARE(join(QStringLiteral("open sesame"), again), QByteArray("vanu-secure refused")); // too soon after
    QTest::qWait(1100); // the first wait after one wrong guess is a second: at least this long
    SecurePeer right(port + SecureChat::kSecurePortOffset, SecurePeer::Offers::Version2);
    QCOMPARE(right.ReadFrame(), QByteArray("vanu-secure password"));
    QCOMPARE(join(QStringLiteral("open sesame"), right), QByteArray("vanu-secure welcome"));
}

// The guest's user compares the fingerprint by voice for longer than the
// network part of an opening may take: the host still waits for the proof.
void TestSecure::aGuestsUserMayTakeLongerThanTheNetwork()
{
    const quint16 port = kPort + 9;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(port));
    SecurePeer guest(port + SecureChat::kSecurePortOffset);
    QVERIFY(guest.connected);
    QCOMPARE(guest.ReadFrame(), QByteArray("vanu-secure open"));
    QTest::qWait(TNotificationEndpoint::kLongestOpeningMs + 1000); // at least this long: more does no harm
    guest.SendFrame(QByteArray());
    QCOMPARE(guest.ReadFrame(), QByteArray("vanu-secure welcome"));
}

// A text behind a hundred thousand empty frames is offered and read at once,
// and the empty ones are counted for the transport to judge.
void TestSecure::emptyFramesArePassedOverTogether()
{
    FrameReader reader;
    const QByteArray empties(100000 * FrameReader::kHeaderSize, '\0');
    reader.append(empties.constData(), empties.size());
    const QByteArray hi = FrameReader::framed("hi");
    reader.append(hi.constData(), hi.size());
    QVERIFY(reader.hasFrame());
    QCOMPARE(reader.takeFrame(), std::optional<QByteArray>("hi"));
    QCOMPARE(reader.takeEmptyFramesPassed(), 100000);
    QCOMPARE(reader.takeEmptyFramesPassed(), 0);
}

// A burst of texts over a secure link arrives as as many texts, none glued
// to another, none torn.
void TestSecure::framesKeepTextsApart()
{
    QString error;
    const auto identity = HostIdentity::LoadOrMake(Folder("host/identity.pem"), error);
    QVERIFY2(identity, qPrintable(error));
    // The key is the user's alone, in a folder of the user's alone.
    QCOMPARE(QFileInfo(Folder("host/identity.pem")).permissions() & 0x0077, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(Folder("host")).permissions() & 0x0077, QFileDevice::Permissions());
    const SslContext hostContext = HostContext(*identity);
    const SslContext guestContext = GuestContext();
    TTCPServer server(nullptr);
    server.Port = QString::number(kPort + 4);
    server.Open();
    QCOMPARE(server.ListenAlso(QString::number(kPort + 104), std::make_unique<TlsTransports>(hostContext.get(), HostSide{})), 0);
    QStringList received;
    std::optional<ChatLink> link;
    server.OnData = [&](TCustomWSocket *, int socket) {
        if (!link)
            link.emplace(server.framingOf(socket));
        link->take(server.receiveBytes(socket, 4096));
        while (const std::optional<LinkText> text = link->nextText())
            received << QString::fromLatin1(text->bytes);
    };
    TTCPClient client(nullptr);
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = QString::number(kPort + 4);
    client.TryFirst(100, std::make_unique<TlsTransports>(guestContext.get(), GuestSide{}));
    QStringList sent;
    client.OnConnect = [&](TCustomWSocket *, int) {
        client.SendText(ChatLink::hello()); // first, as every copy of version 2 does
        for (int number = 1; number <= 100; ++number) {
            sent << QStringLiteral("2<Anna> line %1").arg(number);
            client.SendText(ChatLink::bytes(client.framingOf(client.SocketHandle()), FrameKind::Chat,
                                            sent.constLast().toLatin1()));
        }
    };
    client.Open();
    QTRY_COMPARE(received.size(), 100);
    QCOMPARE(received, sent);
    QVERIFY(client.OnFirstChoice());
    QCOMPARE(link->textFraming(), Framing::Version2);
}

void TestSecure::hostileBytesOnTheSecurePort_data()
{
    QTest::addColumn<QString>("attack");
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("a truncated handshake") << "truncated";
    QTest::newRow("a frame longer than 64 KiB") << "long frame";
    QTest::newRow("a peer that stalls in the handshake") << "stall";
    QTest::newRow("a flood of key updates") << "key updates";
    QTest::newRow("a flood of empty frames") << "empty frames";
}

// Each is answered by closing that connection: nothing is shown, and the
// host goes on admitting guests.
void TestSecure::hostileBytesOnTheSecurePort()
{
    QFETCH(QString, attack);
    const quint16 port = kPort + 5;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(port));
    const QStringList viewBefore = host.Main().chatLines();
    LoopbackPeer attacker;
    QVERIFY(attacker.Connect(port + SecureChat::kSecurePortOffset));
    SslContext context = GuestContext();
    std::unique_ptr<SSL, void (*)(SSL *)> tls(SSL_new(context.get()), SSL_free);
    if (attack == QLatin1String("garbage")) {
        attacker.Send("GET / HTTP/1.1\r\nHost: vanu\r\n\r\n");
    } else if (attack == QLatin1String("truncated")) {
        // A handshake record that promises 512 bytes and brings 20.
        attacker.Send(QByteArray("\x16\x03\x01\x02\x00", 5) + QByteArray(20, '\x01'));
        attacker.ShutdownWrite();
    } else if (attack == QLatin1String("long frame")) {
        SSL_set_fd(tls.get(), attacker.Handle());
        QVERIFY(QTest::qWaitFor([&] { return SSL_connect(tls.get()) == 1; }, 5000));
        const QByteArray header("\x00\x01\x10\x00", 4); // 69,632 bytes
        QVERIFY(SSL_write(tls.get(), header.constData(), int(header.size())) > 0);
        const QByteArray body(32 * 1024, 'x');
        SSL_write(tls.get(), body.constData(), int(body.size()));
    } else if (attack == QLatin1String("key updates") || attack == QLatin1String("empty frames")) {
        // Without end, until the host cuts the connection off.
        SSL_set_fd(tls.get(), attacker.Handle());
        QVERIFY(QTest::qWaitFor([&] { return SSL_connect(tls.get()) == 1; }, 5000));
        fcntl(attacker.Handle(), F_SETFL, O_NONBLOCK);
        const QByteArray empty(16 * 1024, '\0'); // 4,096 empty frames, the proof first
        const bool cutOff = QTest::qWaitFor([&] {
            for (int round = 0; round < 50; ++round) {
                const int sent = attack == QLatin1String("key updates")
                                     ? SSL_key_update(tls.get(), SSL_KEY_UPDATE_NOT_REQUESTED) && SSL_do_handshake(tls.get())
                                     : SSL_write(tls.get(), empty.constData(), int(empty.size()));
                if (sent <= 0 && SSL_get_error(tls.get(), sent) != SSL_ERROR_WANT_WRITE
                    && SSL_get_error(tls.get(), sent) != SSL_ERROR_WANT_READ)
                    return true;
            }
            return false;
        }, 10000);
        QVERIFY(cutOff);
    } else {
        const int closeWithin = attack == QLatin1String("stall") ? 15000 : 5000;
        QVERIFY(attacker.WaitForEndOfStream(nullptr, closeWithin));
    }
    // Empty frames come after an opening without a password: that guest came, and went.
    if (attack != QLatin1String("empty frames"))
        QCOMPARE(host.Main().chatLines().join('\n'), viewBefore.join('\n'));
    TestProgram guest(TestProgram::Setup("Anna"));
    guest.StartGuest(port);
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
}

// Anna writes to Bob from the chooser: Bob's conversation shows the line and
// Anna's marks it delivered; the host, which relays it, shows none of it, and
// a plain guest gets nothing of it, and is greyed in the chooser with the
// reason. The Friends window marks each one's key, its lines unchanged.
void TestSecure::aPrivateConversationBetweenTwoGuests()
{
    const quint16 port = kPort + 12;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, Folder("host.history"), Folder("host"));
    QVERIFY(host.StartHost(port));
    TestProgram anna(TestProgram::Setup("Anna"), nullptr, {}, Folder("anna"));
    TestProgram bob(TestProgram::Setup("Bob"), nullptr, Folder("bob.history"), Folder("bob"));
    for (TestProgram *guest : {&anna, &bob}) {
        guest->prompts.confirmAnswers << true;
        guest->StartGuest(port);
        QTRY_VERIFY(host.Friends().Lines().contains(guest == &anna ? "Anna" : "Bob"));
    }
    RawGuest carl;
    QVERIFY(carl.Join(port, "Carl"));
    QTRY_COMPARE(anna.program->privateMessages()->chat().people().size(), 3);
    QCOMPARE(anna.Friends().Lines(), (QStringList{"Anna", "Bob", "Carl"}));
    QTRY_VERIFY(anna.Friends().ListBox1->item(1)->toolTip().contains(
        FingerprintText(bob.program->secure()->hostFingerprint())));
    QVERIFY(!anna.Friends().ListBox1->item(1)->icon().isNull());
    QCOMPARE(anna.Friends().ListBox1->item(2)->toolTip(), QStringLiteral("No key: chats in the clear"));

    PrivateMessaging &annas = *anna.program->privateMessages();
    annas.privateMessage->trigger();
    PersonChooser &chooser = annas.chooser();
    QTRY_VERIFY(chooser.isVisible());
    const QList<QListWidgetItem *> carls = chooser.People->findItems(QStringLiteral("Carl\n"), Qt::MatchStartsWith);
    QCOMPARE(carls.size(), 1);
    QVERIFY(!(carls.constFirst()->flags() & Qt::ItemIsEnabled));
    QVERIFY(carls.constFirst()->toolTip().contains(QStringLiteral("in the clear")));
    QTest::keyClicks(chooser.Typed, QStringLiteral("bo"));
    QTest::keyClick(chooser.Typed, Qt::Key_Return);
    const QByteArray bobsKey = bob.program->secure()->hostFingerprint();
    ConversationWindow *toBob = annas.windowFor(bobsKey);
    QVERIFY(toBob);
    QVERIFY(toBob->Travels->text().contains(QStringLiteral("End to end: only Bob's copy can read this")));
    const QString line = QStringLiteral("only for you, Bob 🙂");
    toBob->Input->setText(line);
    QTest::keyClick(toBob->Input, Qt::Key_Return);

    ConversationWindow *fromAnna = nullptr;
    QTRY_VERIFY((fromAnna = bob.program->privateMessages()->windowFor(anna.program->secure()->hostFingerprint())));
    QTRY_VERIFY(fromAnna->lines().join('\n').contains(line));
    QTRY_VERIFY(toBob->lines().join('\n').contains(QStringLiteral("(delivered)")));
    QVERIFY(fromAnna->isVisible()); // it came into sight with the line
    // Closed, it opens again from Bob's Friends window with Enter on Anna's name.
    fromAnna->close();
    QListWidget &bobsFriends = *bob.Friends().ListBox1;
    bobsFriends.setCurrentItem(bobsFriends.findItems(QStringLiteral("Anna"), Qt::MatchExactly).value(0));
    QTest::keyClick(&bobsFriends, Qt::Key_Return);
    QVERIFY(fromAnna->isVisible());
    QVERIFY(!host.Main().RichEdit1->toPlainText().contains(QStringLiteral("only for you")));
    carl.Read();
    QVERIFY(!carl.received.contains("only for you"));

    // Bob's history keeps the line, marked as private and with Anna's key; the host's has nothing of it.
    for (TestProgram *copy : {&host, &bob})
        copy->program->history()->WriteNow();
    HistoryStore bobsHistory, hostsHistory;
    QVERIFY(bobsHistory.Open(Folder("bob.history")) && hostsHistory.Open(Folder("host.history")));
    const QList<KeptText> found = bobsHistory.Search(QStringLiteral("only"));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.constFirst().shown, QStringLiteral("[private with Anna] <Anna> ") + line);
    QCOMPARE(found.constFirst().bytes, anna.program->secure()->hostFingerprint());
    QCOMPARE(hostsHistory.Search(QStringLiteral("only")).size(), 0);
}

// Anna sends Bob a file from the Chat menu: the chooser, then the file
// dialog. Bob's conversation comes up with the offer's card; Save as puts
// it where he chooses, and both cards, the Transfers windows and Bob's
// history show it done, with its hash. Each guest comes from an address of
// its own, as on a LAN.
void TestSecure::aFileBetweenTwoGuestsInTheProgram()
{
    const quint16 port = kPort + 14;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(port));
    TestProgram anna(TestProgram::Setup("Anna", "127.0.0.2"), nullptr, {}, Folder("anna"));
    TestProgram bob(TestProgram::Setup("Bob", "127.0.0.3"), nullptr, Folder("bob.history"), Folder("bob"));
    for (TestProgram *guest : {&anna, &bob}) {
        guest->prompts.confirmAnswers << true;
        guest->StartGuest(port);
    }
    QTRY_COMPARE(anna.program->privateMessages()->chat().people().size(), 2);
    QTRY_COMPARE(bob.program->privateMessages()->chat().people().size(), 2);
    QByteArray content(5 * 1024 * 1024 + 3, Qt::Uninitialized);
    for (qsizetype at = 0; at < content.size(); ++at)
        content[at] = char(at * 7 + at / 4099);
    QFile file(Folder("report.pdf"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    FileSharing &annas = *anna.program->files();
    anna.prompts.openAnswers << QStringList{file.fileName()};
    annas.sendFile->trigger();
    QTRY_VERIFY(annas.chooser().isVisible());
    QTest::keyClicks(annas.chooser().Typed, QStringLiteral("bo"));
    QTest::keyClick(annas.chooser().Typed, Qt::Key_Return);

    FileSharing &bobs = *bob.program->files();
    FileTransfers &bobsTransfers = *bob.program->transfers();
    QTRY_COMPARE(bobsTransfers.ids().size(), 1);
    const QString id = bobsTransfers.ids().constFirst();
    TransferCard *card = bobs.cardOf(id);
    QVERIFY(card);
    QVERIFY(card->Title->text().startsWith(QStringLiteral("Anna (key new to you) offers 1 file")));
    QVERIFY(card->Accept->isVisibleTo(card) && !card->PauseOrResume->isVisibleTo(card));
    QVERIFY(bob.program->privateMessages()->windowFor(anna.program->secure()->hostFingerprint())->isVisible());
    QTemporaryDir saveIn;
    bob.prompts.folderAnswers << saveIn.path();
    card->SaveAs->click();
    QTRY_COMPARE_WITH_TIMEOUT(int(bobsTransfers.item(id)->state), int(TransferRecord::State::Done), 20000);
    QFile arrived(QDir(saveIn.path()).filePath("report.pdf"));
    QVERIFY(arrived.open(QIODevice::ReadOnly) && arrived.readAll() == content);
    QVERIFY(card->Open->isVisibleTo(card));
    QTRY_VERIFY(annas.cardOf(id) && annas.cardOf(id)->State->text().startsWith(QStringLiteral("Sent")));
    QCOMPARE(annas.transfersWindow().List->topLevelItemCount(), 1);
    QVERIFY(bobs.transfersWindow().List->topLevelItem(0)->text(0).contains(QStringLiteral("report.pdf")));

    bob.program->history()->WriteNow();
    HistoryStore bobsHistory;
    QVERIFY(bobsHistory.Open(Folder("bob.history")));
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    QCOMPARE(bobsHistory.Search(hash).size(), 1);
    QVERIFY(bobsHistory.Search(hash).constFirst().shown.contains(arrived.fileName()));
}

void TestSecure::aNameIsHeldForItsKey_data()
{
    QTest::addColumn<QString>("comer");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("taken");
    QTest::newRow("a plain guest") << "plain" << "" << true;
    QTest::newRow("another key") << "other key" << "" << true;
    QTest::newRow("a lookalike, by another key") << "other key, lookalike" << "" << true;
    QTest::newRow("the same key") << "same key" << "" << false;
    QTest::newRow("released in the dialog") << "plain" << "release" << false;
    QTest::newRow("holding turned off") << "plain" << "off" << false;
}

// Once a key has used a name, the host holds the name for it: another key
// or a plain guest asking for it later is refused as for a taken name,
// until the host releases it or stops holding names.
void TestSecure::aNameIsHeldForItsKey()
{
    QFETCH(QString, comer);
    QFETCH(QString, before);
    QFETCH(bool, taken);
    const quint16 port = kPort + 13;
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, Folder("host"));
    QVERIFY(host.StartHost(port));
    const auto holdAgain = qScopeGuard([&host] { host.program->secure()->setHoldingNames(true); });
    QString error;
    const auto annasKey = HostIdentity::LoadOrMake(Folder("anna.pem"), error);
    const auto join = [&](SecurePeer &peer, const QByteArray &name) {
        QVERIFY(peer.OpenWithoutPassword());
        peer.SendFrame(ChatLink::hello().mid(FrameReader::kHeaderSize));
        peer.SendFrame(char(FrameKind::Registration) + QByteArray(" ") + name);
    };
    {
        SecurePeer anna(port + SecureChat::kSecurePortOffset, SecurePeer::Offers::Version2, annasKey.get());
        join(anna, "Anna");
        QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    }
    QTRY_COMPARE(host.Friends().Lines(), QStringList());
    if (before == QLatin1String("release")) {
        SecureChatDialog &dialog = *host.program->secureDialog();
        dialog.Refresh();
        QCOMPARE(dialog.heldNames->topLevelItemCount(), 1);
        QCOMPARE(dialog.heldNames->topLevelItem(0)->text(0), QStringLiteral("Anna"));
        qobject_cast<QPushButton *>(dialog.heldNames->itemWidget(dialog.heldNames->topLevelItem(0), 3))->click();
        QCOMPARE(dialog.heldNames->topLevelItemCount(), 0);
    } else if (before == QLatin1String("off")) {
        host.program->secure()->setHoldingNames(false);
    }

    const QByteArray name = comer.endsWith(QLatin1String("lookalike")) ? "\xd0\x90nna" : "Anna"; // a Cyrillic А
    if (comer == QLatin1String("plain")) {
        RawGuest plain;
        QVERIFY(plain.Join(port, name));
        if (taken)
            QTRY_VERIFY((plain.Read(), plain.received.contains("Sorry!  The name Anna is taken here.")));
        else
            QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
        return;
    }
    const auto otherKey = HostIdentity::LoadOrMake(Folder("other.pem"), error);
    SecurePeer again(port + SecureChat::kSecurePortOffset, SecurePeer::Offers::Version2,
                     comer == QLatin1String("same key") ? annasKey.get() : otherKey.get());
    join(again, name);
    if (taken) {
        QByteArray frame; // after the hello and the greeting
        for (int frames = 0; frames < 3 && !frame.contains("is taken here."); ++frames)
            frame = again.ReadFrame();
        QVERIFY2(frame.contains("is taken here."), frame.constData());
    } else
        QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
}

QTEST_MAIN(TestSecure)
#include "tst_secure.moc"
