// The chat over links like a real LAN's. The host sits in a network namespace
// of its own, the guests in another, and the link between them (lan_link, a
// forwarder between two TUN devices) delays, reorders and drops packets, and
// goes down for a while. Texts then arrive glued together and torn apart, as
// they never do on loopback. Raw guests and one real guest chat across it:
// every line must arrive exactly once, as a line of its own, and every list
// must be right at the end; an outage of 10 s is lived through, and a dead
// link is found within 35 s, the real guest coming back once the link is.
#include "LoopbackPeer.h"
#include "RawGuest.h"
#include "Protocol.h"
#include "SkipTest.h"
#include "TestProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr quint16 kPort = 27000;
const char *const kHostAddress = "10.77.0.1";
const char *const kRealGuestAddress = "10.77.0.2";

const char *WhyNotHere()
{
    if (geteuid() != 0)
        return "network namespaces of its own need root";
    if (!QFile::exists(QStringLiteral("/dev/net/tun")))
        return "no /dev/net/tun here for the link between the namespaces";
    return nullptr;
}

bool Run(const QByteArray &command)
{
    return std::system(command.constData()) == 0;
}

// Moves this thread into a namespace: sockets made from now on are its.
bool Enter(const QByteArray &namespacePath)
{
    const int fd = open(namespacePath.constData(), O_RDONLY | O_CLOEXEC);
    const bool entered = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0)
        close(fd);
    return entered;
}

// What one round of chat came to, as the LAN check reports it.
struct Figures {
    int sent = 0;
    int arrivedOnce = 0;
    int gluedAsShown = 0;
    int listErrors = 0;
};

QByteArray Typed(const QByteArray &name, int number)
{
    return name + '.' + QByteArray::number(number).rightJustified(3, '0') + " on the LAN";
}

} // namespace

class TestRealLan : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void everyLineOnceOverEachLink_data();
    void everyLineOnceOverEachLink();
    void anOutageOfTenSecondsIsLivedThrough();
    void aDeadLinkIsFoundAndTheGuestComesBack();

private:
    bool Tell(const QByteArray &command);
    // The real guest Vee and three raw guests join; Ann registers glued to her first line.
    bool Join();
    // Every guest sends its lines, in bursts; gives what arrived where.
    Figures Chat(int linesEach);
    void Leave();

    QByteArray hostNamespace;
    QByteArray guestNamespace;
    QByteArray ownNamespace = "/proc/self/ns/net";
    int ownNamespaceFd = -1;
    QProcess link;
    std::unique_ptr<TestProgram> host;
    std::unique_ptr<TestProgram> vee;
    std::vector<std::unique_ptr<RawGuest>> raw;
};

void TestRealLan::initTestCase()
{
    const QByteArray id = QByteArray::number(getpid());
    hostNamespace = "vanu-lan-host-" + id;
    guestNamespace = "vanu-lan-guests-" + id;
    ownNamespaceFd = open(ownNamespace.constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(ownNamespaceFd >= 0);
    const QByteArray tunA = "vlanA" + id.right(5);
    const QByteArray tunB = "vlanB" + id.right(5);
    link.start(QStringLiteral(VANU_LAN_LINK), {QString::fromLatin1(tunA), QString::fromLatin1(tunB)});
    QVERIFY(link.waitForReadyRead(5000));
    QCOMPARE(link.readLine().trimmed(), QByteArray("ready"));
    QVERIFY(Run("ip netns add " + hostNamespace + " && ip netns add " + guestNamespace));
    QVERIFY(Run("ip link set " + tunA + " netns " + hostNamespace + " && ip link set " + tunB + " netns " + guestNamespace));
    QVERIFY(Run("ip -n " + hostNamespace + " addr add 10.77.0.1/24 dev " + tunA + " && ip -n " + hostNamespace
                + " link set " + tunA + " up && ip -n " + hostNamespace + " link set lo up"));
    QVERIFY(Run("ip -n " + guestNamespace + " addr add 10.77.0.2/24 dev " + tunB + " && ip -n " + guestNamespace
                + " link set " + tunB + " up && ip -n " + guestNamespace + " link set lo up"));
    for (const char *extra : {"10.77.0.3", "10.77.0.4", "10.77.0.5"})
        QVERIFY(Run("ip -n " + guestNamespace + " addr add " + extra + "/32 dev " + tunB));

    QVERIFY(Enter("/run/netns/" + hostNamespace));
    host = std::make_unique<TestProgram>(TestProgram::Setup("Hosty"));
    QVERIFY(host->StartHost(kPort));
    QVERIFY(Enter("/run/netns/" + guestNamespace)); // everything after this is the guests'
}

void TestRealLan::cleanup()
{
    Leave();
    QVERIFY(Tell("up"));
}

void TestRealLan::cleanupTestCase()
{
    Leave();
    host.reset();
    link.closeWriteChannel();
    link.waitForFinished(5000);
    if (ownNamespaceFd >= 0) {
        setns(ownNamespaceFd, CLONE_NEWNET);
        close(ownNamespaceFd);
    }
    Run("ip netns del " + hostNamespace + " 2>/dev/null; ip netns del " + guestNamespace + " 2>/dev/null");
}

bool TestRealLan::Tell(const QByteArray &command)
{
    link.write(command + '\n');
    return link.waitForReadyRead(5000) && link.readLine().trimmed() == "ok";
}

bool TestRealLan::Join()
{
    vee = std::make_unique<TestProgram>(TestProgram::Setup("Vee", kHostAddress));
    vee->StartGuest(kPort);
    if (!QTest::qWaitFor([&] { return host->Friends().Lines().contains(QStringLiteral("Vee")); }, 20000))
        return false;
    int number = 3;
    for (const QByteArray name : {"Ann", "Bob", "Cid"}) {
        auto guest = std::make_unique<RawGuest>();
        guest->name = name;
        const QByteArray source = "10.77.0." + QByteArray::number(number++);
        if (!guest->peer.Connect(kPort, 0, source.constData(), kHostAddress))
            return false;
        raw.push_back(std::move(guest));
    }
    // All are in before anybody speaks, so that every line reaches all.
    if (!QTest::qWaitFor([&] { return host->Main().TCPServer1->Clients().Count() == 4; }, 20000))
        return false;
    for (const auto &guest : raw) {
        // Ann types at once: her registration and first line may travel as one.
        const QByteArray first =
            guest->name == "Ann" ? Protocol::ChatLine('2', guest->name, Typed(guest->name, 0)) : QByteArray();
        if (!guest->peer.Send(Protocol::Registration(guest->name) + first))
            return false;
    }
    return QTest::qWaitFor([&] { return host->Friends().Lines().size() == 4; }, 20000);
}

Figures TestRealLan::Chat(int linesEach)
{
    QList<QByteArray> lines{Protocol::ChatLine('2', "Ann", Typed("Ann", 0))};
    for (int number = 1; number <= linesEach; ++number) {
        for (const auto &guest : raw) {
            lines << Protocol::ChatLine('2', guest->name, Typed(guest->name, number));
            guest->peer.Send(lines.last());
        }
        if (number % 3 == 0) { // bursts of three, then a pause
            vee->Main().Edit1->setText(QString::fromLatin1(Typed("Vee", number)));
            QTest::keyClick(vee->Main().Edit1, Qt::Key_Return);
            lines << Protocol::ChatLine('0', "Vee", Typed("Vee", number));
            QTest::qWait(30);
        }
    }
    const auto arrivedEverywhere = [&] {
        const QStringList view = vee->Main().chatLines();
        for (const auto &guest : raw)
            guest->Read();
        for (const QByteArray &line : lines) {
            if (!view.contains(QString::fromLatin1(line.mid(line.indexOf("> ") + 1))))
                return false;
            for (const auto &guest : raw)
                if (!guest->received.contains(line))
                    return false;
        }
        return true;
    };
    (void)QTest::qWaitFor(arrivedEverywhere, 60000); // what did not come shows in the figures
    QTest::qWait(500); // anything that would come twice, or late

    Figures figures;
    figures.sent = int(lines.size());
    const QStringList view = vee->Main().chatLines();
    int shownMissing = 0;
    for (const QByteArray &line : lines) {
        const QString shown = QLatin1Char(' ') + QString::fromLatin1(line.mid(line.indexOf("> ") + 2));
        bool once = view.count(shown) == 1;
        for (const auto &guest : raw)
            once = once && guest->Times(line) == 1;
        figures.arrivedOnce += once ? 1 : 0;
        if (!once && ++shownMissing <= 3) { // what went wrong, for the log
            QByteArray counts = line + ": Vee " + QByteArray::number(view.count(shown));
            for (const auto &guest : raw)
                counts += ", " + guest->name + ' ' + QByteArray::number(guest->Times(line));
            qWarning("%s", counts.constData());
        }
    }
    for (const QString &shown : view)
        figures.gluedAsShown += shown.count(QStringLiteral(" on the LAN")) > 1 ? 1 : 0;
    QList<QByteArray> names;
    for (const QString &name : host->Friends().Lines())
        names << name.toLatin1();
    if (vee->Friends().Lines() != host->Friends().Lines()) {
        ++figures.listErrors;
        qWarning("Vee's list: %s; the host's: %s", qPrintable(vee->Friends().Lines().join(',')),
                 qPrintable(host->Friends().Lines().join(',')));
    }
    if (figures.arrivedOnce != figures.sent) // what the host saw, for the log
        for (const QString &shown : host->Main().chatLines().mid(qMax(0, int(host->Main().chatLines().size()) - 8)))
            qWarning("the host's view: %s", qPrintable(shown));
    for (const auto &guest : raw) {
        if (!guest->received.contains(Protocol::ListMessage(names))) {
            ++figures.listErrors;
            qWarning("%s never got %s", guest->name.constData(), Protocol::ListMessage(names).constData());
        }
    }
    return figures;
}

void TestRealLan::Leave()
{
    raw.clear();
    vee.reset();
    if (host)
        (void)QTest::qWaitFor([&] { return host->Main().TCPServer1->Clients().Count() == 0; }, 40000);
}

void TestRealLan::everyLineOnceOverEachLink_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::newRow("clean") << QByteArray("clean");
    QTest::newRow("wifi: 15 ms, jitter 10 ms, 2 % lost") << QByteArray("wifi");
}

void TestRealLan::everyLineOnceOverEachLink()
{
    QFETCH(QByteArray, profile);
    QVERIFY(Tell("profile " + profile));
    QVERIFY(Join());
    const Figures figures = Chat(30);
    qInfo("%s: lines sent %d, arrived once %d, glued as shown %d, list errors %d", profile.constData(), figures.sent,
          figures.arrivedOnce, figures.gluedAsShown, figures.listErrors);
    QCOMPARE(figures.arrivedOnce, figures.sent);
    QCOMPARE(figures.gluedAsShown, 0);
    QCOMPARE(figures.listErrors, 0);
    Leave();
}

// The link goes down for 10 s in the middle of the chat: what was said meanwhile
// arrives once the link is back, and nobody is cut off.
void TestRealLan::anOutageOfTenSecondsIsLivedThrough()
{
    QVERIFY(Tell("profile wifi"));
    QVERIFY(Join());
    const QStringList before = host->Friends().Lines();
    QVERIFY(Tell("down"));
    QElapsedTimer outage;
    outage.start();
    const Figures figures = [&] {
        QTimer::singleShot(10000, [&] { Tell("up"); });
        return Chat(12);
    }();
    qInfo("wifi, 10 s outage: lines sent %d, arrived once %d, glued as shown %d, list errors %d", figures.sent,
          figures.arrivedOnce, figures.gluedAsShown, figures.listErrors);
    QVERIFY(outage.elapsed() >= 10000);
    QCOMPARE(figures.arrivedOnce, figures.sent);
    QCOMPARE(figures.gluedAsShown, 0);
    QCOMPARE(figures.listErrors, 0);
    QCOMPARE(host->Friends().Lines(), before);
    QVERIFY(!vee->Main().chatLines().last().contains(QStringLiteral("again")));
    Leave();
}

// The link dies: the host says each guest has gone within 35 s; once the
// link is back, the real guest connects again by itself and registers.
void TestRealLan::aDeadLinkIsFoundAndTheGuestComesBack()
{
    QVERIFY(Tell("profile clean"));
    QVERIFY(Join());
    // The link dies while idle: every list the host sent has arrived.
    QVERIFY(QTest::qWaitFor(
        [&] {
            QList<QByteArray> names;
            for (const QString &name : host->Friends().Lines())
                names << name.toLatin1();
            for (const auto &guest : raw) {
                guest->Read();
                if (!guest->received.contains(Protocol::ListMessage(names)))
                    return false;
            }
            return vee->Friends().Lines() == host->Friends().Lines();
        },
        10000));
    QVERIFY(Tell("down"));
    QElapsedTimer dead;
    dead.start();
    const bool allGone = QTest::qWaitFor([&] { return host->Friends().Lines().isEmpty(); }, 40000);
    if (!allGone) {
        qWarning("still listed at the host after %lld ms: %s", dead.elapsed(), qPrintable(host->Friends().Lines().join(',')));
        Run("ip netns exec " + hostNamespace + " ss -tnoie >&2");
    }
    QVERIFY(allGone);
    qInfo("dead link: every guest gone at the host after %lld ms", dead.elapsed());
    QVERIFY(dead.elapsed() <= 35000);
    QVERIFY(Tell("up"));
    QVERIFY(QTest::qWaitFor([&] { return host->Friends().Lines() == QStringList{"Vee"}; }, 60000));
    QVERIFY(!vee->Main().chatLines().filter(QStringLiteral(" : Connected to the host again.")).isEmpty());
    qInfo("dead link: Vee back in the chat %lld ms after the link died", dead.elapsed());
    Leave();
}

QTEST_MAIN_UNLESS(WhyNotHere, TestRealLan)
#include "tst_reallan.moc"
