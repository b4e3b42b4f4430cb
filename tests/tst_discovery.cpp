// Hosts found on the network, against a real Avahi daemon: the test runs in a
// network namespace of its own with one multicast-capable interface, its own
// system bus and its own daemon, so that nothing it announces leaves the
// namespace.
#include "AvahiDiscovery.h"
#include "FoundHostsPicker.h"
#include "SkipTest.h"
#include "TestProgram.h"

#include <QAction>
#include <QDBusConnection>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

constexpr quint16 kBasePort = 26100;
constexpr int kAvahiWaitMs = 15000;

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

private:
    QDBusConnection Bus(const QString &name) const;
    bool StartAvahi();

    QTemporaryDir folder;
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
    QVERIFY(Run("ip link add vanu0 type veth peer name vanu1 && ip link set vanu1 up"));
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
    FoundHostsPicker &list = guest.program->FoundHosts();
    setup.show();
    list.findHosts->trigger();
    QTRY_VERIFY(list.isVisible());
    QCOMPARE(list.actions().size(), 1);
    QCOMPARE(list.actions().constFirst()->text(), QStringLiteral("Network discovery is not available"));
    QVERIFY(!list.actions().constFirst()->isEnabled());
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
    FoundHostsPicker &list = guest.program->FoundHosts();
    setup.show();
    const auto hostyAction = [&]() -> QAction * {
        for (QAction *action : list.actions()) {
            if (action->isEnabled() && action->text().contains(QStringLiteral("  Hosty on ")))
                return action;
        }
        return nullptr;
    };
    list.findHosts->trigger(); // the first click; the list fills in as the host is found
    QTRY_VERIFY_WITH_TIMEOUT(hostyAction(), kAvahiWaitMs);
    QCOMPARE(hostyAction()->text(),
             QStringLiteral("%1:%2  Hosty on %3").arg(kAddress).arg(kBasePort + 40).arg(QSysInfo::machineHostName()));
    hostyAction()->trigger(); // the second
    QCOMPARE(setup.HostAddress(), kAddress);
    QCOMPARE(setup.PortNumber(), kBasePort + 40);
    setup.accept();

    guest.Main().ImClient1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(host.Friends().Lines(), QStringList{"Anna"}, 10000);
    QCOMPARE(guest.prompts.shown, QStringList{});
}

QTEST_MAIN_UNLESS(WhyNotHere, TestDiscovery)
#include "tst_discovery.moc"
