// Hosts found on the network, against a real Avahi daemon: the test runs in a
// network namespace of its own with one multicast-capable interface, its own
// system bus and its own daemon, so that nothing it announces leaves the
// namespace. A neighbour's machine sits at the other end of the interface, in
// a namespace of its own, and floods the LAN with announcements.
#include "AvahiDiscovery.h"
#include "FoundHostsPicker.h"
#include "SkipTest.h"
#include "TestProgram.h"

#include <QAction>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// How long the window may not answer under a flood. AddressSanitizer makes
// every step about three times slower (53 ms here alone, 126 ms beside the
// other tests, against 16 ms without it).
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kLongestStallMs = 250;
#else
constexpr qint64 kLongestStallMs = 100;
#endif

constexpr quint16 kBasePort = 26100;
constexpr int kAvahiWaitMs = 15000;
// A daemon busy with a flood of announcements answers slowly.
constexpr int kFloodWaitMs = 60000;

const char *WhyNotHere()
{
    if (geteuid() != 0)
        return "a network namespace of its own needs root";
    if (!QFile::exists(QStringLiteral("/usr/sbin/avahi-daemon")) || !QFile::exists(QStringLiteral("/usr/bin/dbus-daemon")))
        return "no avahi-daemon or dbus-daemon here (scripts/deps installs them)";
    return nullptr;
}
const QString kAddress = QStringLiteral("10.77.0.1");

bool Run(const QByteArray &command)
{
    return std::system(command.constData()) == 0;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bus's and the daemon's configuration, shared with the window check.
QByteArray ConfigText(const QString &name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("discovery/") + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Listens on `port`, so that nobody else can, until it is destroyed.
struct TakenPort {
    explicit TakenPort(quint16 port) : socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        listening = socket >= 0 && bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
                    && listen(socket, 1) == 0;
    }
    ~TakenPort() { close(socket); }
    int socket;
    bool listening = false;
};

// A DNS name as mDNS writes it: its labels, each after its length.
QByteArray DnsName(const QByteArray &dotted)
{
    QByteArray name;
    for (const QByteArray &label : dotted.split('.'))
        name += char(label.size()) + label;
    return name + '\0';
}

QByteArray Be16(int value)
{
    const char bytes[] = {char(value >> 8), char(value & 0xff)};
    return QByteArray(bytes, 2);
}

QByteArray Record(const QByteArray &name, int type, bool unique, const QByteArray &data)
{
    constexpr int kInternet = 1;
    constexpr int kCacheFlush = 0x8000;
    return DnsName(name) + Be16(type) + Be16(kInternet | (unique ? kCacheFlush : 0)) + Be16(0) + Be16(120)
           + Be16(int(data.size())) + data;
}

// An unsolicited mDNS answer announcing chats "Flood <first>" and on, at the
// neighbour's address, as any machine on the LAN may send.
QByteArray FloodAnnouncement(int first, int count)
{
    constexpr int kA = 1, kPtr = 12, kTxt = 16, kSrv = 33;
    QByteArray records = Record("flood.local", kA, true, QByteArray("\x0a\x4d\x00\x02", 4));
    for (int number = first; number < first + count; ++number) {
        const QByteArray nickname = "Flood " + QByteArray::number(number);
        const QByteArray instance = nickname + "._vanu._tcp.local";
        records += Record("_vanu._tcp.local", kPtr, false, DnsName(instance));
        records += Record(instance, kSrv, true, Be16(0) + Be16(0) + Be16(4000) + DnsName("flood.local"));
        const QByteArray nick = "nick=" + nickname;
        records += Record(instance, kTxt, true, char(nick.size()) + nick + "\x06" "busy=0");
    }
    constexpr int kAuthoritativeAnswer = 0x8400;
    return Be16(0) + Be16(kAuthoritativeAnswer) + Be16(0) + Be16(1 + 3 * count) + Be16(0) + Be16(0) + records;
}

// The longest the event loop went without running a timer due every 10 ms.
struct StallWatch {
    StallWatch()
    {
        since.start();
        QObject::connect(&tick, &QTimer::timeout, [this] {
            longestMs = std::max(longestMs, since.restart());
        });
        tick.start(10);
    }
    QTimer tick;
    QElapsedTimer since;
    qint64 longestMs = 0;
};

// The entry of the host that `nickname` announced, if the list shows one.
QListWidgetItem *EntryOf(FoundHostsPicker &list, const QString &nickname)
{
    const QList<QListWidgetItem *> found =
        list.Entries().findItems(QStringLiteral("  ") + nickname + QStringLiteral(" on "), Qt::MatchContains);
    return found.isEmpty() ? nullptr : found.constFirst();
}

std::optional<FoundHost> FindByNickname(const QList<FoundHost> &hosts, const QString &nickname)
{
    for (const FoundHost &host : hosts) {
        if (host.nickname == nickname)
            return host;
    }
    return std::nullopt;
}

} // namespace

class TestDiscovery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void withoutADaemonDiscoveryIsAbsent();
    void hostIsFoundOnThePortItListensOn();
    void busyChangesTheRecordAndLeavingHostModeWithdrawsIt();
    void twoHostsOfOneNameAreBothFound();
    void guestPicksAFoundHostAndJoins();
    void aFloodOfAnnouncementsNeitherFreezesNorHidesAHost();

private:
    QDBusConnection Bus(const QString &name) const;
    bool StartAvahi();

    // Sends mDNS from the neighbour's namespace.
    bool Flood(int first, int count);
    bool FloodUntilListed(FoundHostsPicker &list, int first, int count);

    QTemporaryDir folder;
    QByteArray floodNamespace;
    QString busAddress;
    QProcess bus;
    QProcess avahi;
};

void TestDiscovery::initTestCase()
{
    QVERIFY(unshare(CLONE_NEWNET | CLONE_NEWNS) == 0);
    // The daemon's pid file and socket go to a /run of this namespace's own.
    QVERIFY(mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0);
    QVERIFY(Run("mkdir -p /run/avahi-daemon"));
    QVERIFY(mount("tmpfs", "/run/avahi-daemon", "tmpfs", 0, nullptr) == 0);
    QVERIFY(Run("ip link set lo up"));
    // A veth pair: both ends up, so that the daemon's interface is running.
    // The other end is a neighbour's machine, in a namespace of its own.
    floodNamespace = "vanu-flood-" + QByteArray::number(getpid());
    QVERIFY(Run("ip netns add " + floodNamespace + " && ip link add vanu0 type veth peer name vanu1 netns "
                + floodNamespace));
    QVERIFY(Run("ip -n " + floodNamespace + " addr add 10.77.0.2/24 dev vanu1 && ip -n " + floodNamespace
                + " link set vanu1 up"));
    QVERIFY(Run("ip addr add 10.77.0.1/24 dev vanu0 && ip link set vanu0 up"));

    const QString socket = folder.filePath(QStringLiteral("system_bus_socket"));
    busAddress = QStringLiteral("unix:path=") + socket;
    const QByteArray busConfig = ConfigText(QStringLiteral("bus.conf"));
    QVERIFY(!busConfig.isEmpty());
    QVERIFY(WriteFile(folder.filePath(QStringLiteral("bus.conf")),
                      QByteArray(busConfig).replace("@SOCKET@", socket.toUtf8())));
    bus.start(
        QStringLiteral("dbus-daemon"),
        {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + folder.filePath(QStringLiteral("bus.conf"))});
    QVERIFY(bus.waitForStarted());
    QTRY_VERIFY(QFile::exists(socket));
}

void TestDiscovery::cleanupTestCase()
{
    for (QProcess *process : {&avahi, &bus}) {
        process->terminate();
        process->waitForFinished();
    }
    Run("ip netns del " + floodNamespace + " 2>/dev/null");
}

QDBusConnection TestDiscovery::Bus(const QString &name) const
{
    return QDBusConnection::connectToBus(busAddress, name);
}

bool TestDiscovery::StartAvahi()
{
    if (avahi.state() == QProcess::Running)
        return true;
    const QString config = QFINDTESTDATA("discovery/avahi.conf");
    if (config.isEmpty())
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), busAddress);
    avahi.setProcessEnvironment(environment);
    avahi.setStandardOutputFile(QProcess::nullDevice());
    avahi.setStandardErrorFile(folder.filePath(QStringLiteral("avahi.log")));
    avahi.start(QStringLiteral("/usr/sbin/avahi-daemon"),
                {QStringLiteral("-f"), config, QStringLiteral("--no-chroot"), QStringLiteral("--no-drop-root"),
                 QStringLiteral("--no-rlimits")});
    return avahi.waitForStarted();
}

// No daemon: the list says so, typing works, nothing is reported; and once a
// daemon starts, discovery is there without a restart.
void TestDiscovery::withoutADaemonDiscoveryIsAbsent()
{
    AvahiDiscovery lan(Bus(QStringLiteral("absent")));
    QVERIFY(!lan.IsAvailable());
    TestProgram guest(TestProgram::Setup("Anna"), &lan);
    TForm8 &setup = guest.SetupDialog();
    FoundHostsPicker &list = guest.program->foundHosts();
    setup.show();
    list.findHosts->trigger();
    QTRY_VERIFY(list.isVisible());
    QCOMPARE(list.Entries().count(), 1);
    QCOMPARE(list.Entries().item(0)->text(), QStringLiteral("Network discovery is not available"));
    QCOMPARE(list.Entries().item(0)->flags(), Qt::NoItemFlags);
    list.hide();
    setup.eHost->setText(QStringLiteral("192.168.1.5"));
    QCOMPARE(setup.HostAddress(), QStringLiteral("192.168.1.5"));
    QCOMPARE(guest.prompts.shown, QStringList{});

    QVERIFY(StartAvahi());
    QTRY_VERIFY_WITH_TIMEOUT(lan.IsAvailable(), kAvahiWaitMs);
}

// The chosen port is taken, so the host listens on the next one: that is the
// port the network is told, with the nickname and "not busy".
void TestDiscovery::hostIsFoundOnThePortItListensOn()
{
    QVERIFY(StartAvahi());
    const TakenPort taken(kBasePort);
    QVERIFY(taken.listening);
    AvahiDiscovery hostLan(Bus(QStringLiteral("host1")));
    TestProgram host(TestProgram::Setup("Hosty"), &hostLan);
    QVERIFY(host.StartHost(kBasePort, kBasePort + 1));

    AvahiDiscovery finder(Bus(QStringLiteral("finder1")));
    finder.StartFinding();
    QTRY_VERIFY_WITH_TIMEOUT(FindByNickname(finder.FoundHosts(), QStringLiteral("Hosty")).has_value(), kAvahiWaitMs);
    const FoundHost found = *FindByNickname(finder.FoundHosts(), QStringLiteral("Hosty"));
    QCOMPARE(found.port, kBasePort + 1);
    QCOMPARE(found.address, kAddress);
    QCOMPARE(found.busy, false);
    QCOMPARE(found.instance, AvahiDiscovery::InstanceName(QStringLiteral("Hosty"), QSysInfo::machineHostName()));
    QCOMPARE(found.machine, QSysInfo::machineHostName());
}

void TestDiscovery::busyChangesTheRecordAndLeavingHostModeWithdrawsIt()
{
    QVERIFY(StartAvahi());
    AvahiDiscovery hostLan(Bus(QStringLiteral("host2")));
    TestProgram host(TestProgram::Setup("Busy"), &hostLan);
    QVERIFY(host.StartHost(kBasePort + 10));
    AvahiDiscovery finder(Bus(QStringLiteral("finder2")));
    finder.StartFinding();
    const auto busy = [&] {
        const std::optional<FoundHost> found = FindByNickname(finder.FoundHosts(), QStringLiteral("Busy"));
        return found ? int(found->busy) : -1;
    };
    QTRY_COMPARE_WITH_TIMEOUT(busy(), 0, kAvahiWaitMs);
    host.Main().Imbusy1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(busy(), 1, kAvahiWaitMs);
    host.Main().Imbusy1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(busy(), 0, kAvahiWaitMs);

    host.prompts.confirmAnswers << true; // "Do you really want to close Conection?"
    host.Main().ImClient1->trigger(); // host mode ends
    QTRY_COMPARE_WITH_TIMEOUT(busy(), -1, kAvahiWaitMs);
}

// The second host of the same name on the same machine is published under
// Avahi's alternative name, and both are found.
void TestDiscovery::twoHostsOfOneNameAreBothFound()
{
    QVERIFY(StartAvahi());
    AvahiDiscovery firstLan(Bus(QStringLiteral("host3")));
    AvahiDiscovery secondLan(Bus(QStringLiteral("host4")));
    TestProgram first(TestProgram::Setup("Twin"), &firstLan);
    TestProgram second(TestProgram::Setup("Twin"), &secondLan);
    QVERIFY(first.StartHost(kBasePort + 20));
    QVERIFY(second.StartHost(kBasePort + 30));
    AvahiDiscovery finder(Bus(QStringLiteral("finder3")));
    finder.StartFinding();
    const auto twinPorts = [&] {
        QList<quint16> ports;
        for (const FoundHost &host : finder.FoundHosts()) {
            if (host.nickname == QLatin1String("Twin"))
                ports << host.port;
        }
        std::sort(ports.begin(), ports.end());
        return ports;
    };
    QTRY_COMPARE_WITH_TIMEOUT(twinPorts(), (QList<quint16>{kBasePort + 20, kBasePort + 30}), kAvahiWaitMs);
    QVERIFY(firstLan.PublishedName() != secondLan.PublishedName());
}

// Two clicks from the open dialog to a chosen host, and the guest joins it
// through the address and port it was given.
void TestDiscovery::guestPicksAFoundHostAndJoins()
{
    QVERIFY(StartAvahi());
    AvahiDiscovery hostLan(Bus(QStringLiteral("host5")));
    TestProgram host(TestProgram::Setup("Hosty"), &hostLan);
    QVERIFY(host.StartHost(kBasePort + 40));
    AvahiDiscovery guestLan(Bus(QStringLiteral("guest5")));
    TestProgram guest(TestProgram::Setup("Anna", "127.0.0.1"), &guestLan);
    TForm8 &setup = guest.SetupDialog();
    FoundHostsPicker &list = guest.program->foundHosts();
    setup.show();
    list.findHosts->trigger(); // the first click; the list fills in as the host is found
    QTRY_VERIFY_WITH_TIMEOUT(EntryOf(list, QStringLiteral("Hosty")), kAvahiWaitMs);
    QListWidget &entries = list.Entries();
    QCOMPARE(EntryOf(list, QStringLiteral("Hosty"))->text(),
             QStringLiteral("%1:%2  Hosty on %3").arg(kAddress).arg(kBasePort + 40).arg(QSysInfo::machineHostName()));
    QTest::mouseClick(entries.viewport(), Qt::LeftButton, {},
                      entries.visualItemRect(EntryOf(list, QStringLiteral("Hosty"))).center()); // the second
    QVERIFY(!list.isVisible());
    QCOMPARE(setup.HostAddress(), kAddress);
    QCOMPARE(setup.PortNumber(), kBasePort + 40);
    setup.accept();

    guest.Main().ImClient1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(host.Friends().Lines(), QStringList{"Anna"}, 10000);
    QCOMPARE(guest.prompts.shown, QStringList{});
}

bool TestDiscovery::Flood(int first, int count)
{
    const int ownNamespace = open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    const int neighbours = open(("/run/netns/" + floodNamespace).constData(), O_RDONLY | O_CLOEXEC);
    int sender = -1;
    if (ownNamespace >= 0 && neighbours >= 0 && setns(neighbours, CLONE_NEWNET) == 0) {
        sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        setns(ownNamespace, CLONE_NEWNET);
    }
    close(ownNamespace);
    close(neighbours);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_port = htons(5353); // a response comes from the mDNS port
    in_addr neighbour{};
    inet_pton(AF_INET, "10.77.0.2", &neighbour);
    const int hops = 255;
    bool sent = sender >= 0 && bind(sender, reinterpret_cast<sockaddr *>(&from), sizeof from) == 0
                && setsockopt(sender, IPPROTO_IP, IP_MULTICAST_IF, &neighbour, sizeof neighbour) == 0
                && setsockopt(sender, IPPROTO_IP, IP_MULTICAST_TTL, &hops, sizeof hops) == 0;
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(5353);
    inet_pton(AF_INET, "224.0.0.251", &group.sin_addr);
    constexpr int kPerPacket = 8;
    for (int number = first; sent && number < first + count; number += kPerPacket) {
        const QByteArray packet = FloodAnnouncement(number, std::min(kPerPacket, first + count - number));
        sent = sendto(sender, packet.constData(), size_t(packet.size()), 0, reinterpret_cast<sockaddr *>(&group),
                      sizeof group)
               == packet.size();
    }
    if (sender >= 0)
        close(sender);
    return sent;
}

// The daemon drops what it has no time to read: the last announcement is sent
// again until it is listed, and all before it that came are then known.
bool TestDiscovery::FloodUntilListed(FoundHostsPicker &list, int first, int count)
{
    const QString last = QStringLiteral("Flood %1").arg(first + count - 1);
    QElapsedTimer waited;
    waited.start();
    for (bool sent = Flood(first, count); sent && waited.elapsed() < kFloodWaitMs; sent = Flood(first + count - 1, 1)) {
        if (QTest::qWaitFor([&] { return EntryOf(list, last) != nullptr; }, 1000))
            return true;
    }
    return false;
}

// A neighbour announces 1,000 chats while the list is open: the window keeps
// answering within 100 ms, and a host announced among them is listed.
void TestDiscovery::aFloodOfAnnouncementsNeitherFreezesNorHidesAHost()
{
    QVERIFY(StartAvahi());
    AvahiDiscovery guestLan(Bus(QStringLiteral("guest6")));
    TestProgram guest(TestProgram::Setup("Anna"), &guestLan);
    FoundHostsPicker &list = guest.program->foundHosts();
    guest.SetupDialog().show();
    list.findHosts->trigger();
    QTRY_VERIFY(list.isVisible());

    AvahiDiscovery hostLan(Bus(QStringLiteral("host6")));
    TestProgram host(TestProgram::Setup("Honest"), &hostLan);
    // The honest host runs in this process too: its own start is not timed.
    qint64 longestMs = 0;
    {
        const StallWatch watch;
        QVERIFY(FloodUntilListed(list, 0, 900));
        longestMs = watch.longestMs;
    }
    QVERIFY(host.StartHost(kBasePort + 50));
    {
        const StallWatch watch;
        QVERIFY(FloodUntilListed(list, 900, 100));
        QTRY_VERIFY_WITH_TIMEOUT(EntryOf(list, QStringLiteral("Honest")), kFloodWaitMs);
        longestMs = std::max(longestMs, watch.longestMs);
    }
    qInfo("the list shows %d hosts; the longest the window did not answer: %lld ms", list.Entries().count(),
          longestMs);
    QVERIFY(list.Entries().count() <= 200);
    QVERIFY(longestMs <= kLongestStallMs);
    QTest::keyClick(&list.Entries(), Qt::Key_Escape);
    QVERIFY(!list.isVisible());
}

QTEST_MAIN_UNLESS(WhyNotHere, TestDiscovery)
#include "tst_discovery.moc"
