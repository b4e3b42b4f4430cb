// Links that die in the middle of a chat: the test runs in a network
// namespace of its own, where a packet filter drops one side's packets as a
// pulled cable would, and with keepalive times cut to a second. The host must
// see the guest go and tell the others; a guest whose host vanished must end
// its side as for a host that closed.
#include "LoopbackPeer.h"
#include "Protocol.h"
#include "SkipTest.h"
#include "TestProgram.h"

#include <QListWidget>
#include <QTest>

#include <sched.h>
#include <unistd.h>

#include <cstdlib>

namespace {

constexpr quint16 kBasePort = 26000;

const char *WhyNotHere()
{
    return geteuid() != 0 ? "a network namespace of its own needs root" : nullptr;
}

bool Run(const QByteArray &command)
{
    return std::system(command.constData()) == 0;
}

// Links probed after a second of quiet, and found dead within seconds.
ChatTuning QuickDeadLinks()
{
    ChatTuning tuning;
    tuning.keepaliveIdleSeconds = 1;
    return tuning;
}

// From now on, packets that match the rule are dropped.
bool Drop(const QByteArray &rule)
{
    return Run("nft add rule inet vanu in " + rule + " drop");
}

} // namespace

class TestDeadLinks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void hostNoticesAGuestThatVanished();
    void guestNoticesAHostThatVanished();
};

void TestDeadLinks::initTestCase()
{
    QVERIFY(unshare(CLONE_NEWNET) == 0);
    QVERIFY(Run("ip link set lo up"));
    QVERIFY(Run("nft add table inet vanu"));
    QVERIFY(Run("nft add chain inet vanu in '{ type filter hook input priority 0; }'"));
}

void TestDeadLinks::init()
{
    QVERIFY(Run("nft flush chain inet vanu in"));
}

// Bob's machine drops off the network while Anna chats: the host announces his
// departure within seconds, and Anna chats on.
void TestDeadLinks::hostNoticesAGuestThatVanished()
{
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, {}, {}, QuickDeadLinks());
    QVERIFY(host.StartHost(kBasePort));
    LoopbackPeer anna;
    LoopbackPeer bob;
    QVERIFY(anna.Connect(kBasePort));
    QVERIFY(anna.Send(" Anna"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    QVERIFY(bob.Connect(kBasePort, 0, "127.0.0.3"));
    QVERIFY(bob.Send(" Bob"));
    QTRY_COMPARE(host.Friends().Lines(), (QStringList{"Anna", "Bob"}));

    QVERIFY(Drop("ip saddr 127.0.0.3"));
    QVERIFY(anna.Send("0<Anna> still there?"));
    QByteArray received;
    QTRY_VERIFY_WITH_TIMEOUT((received += anna.ReadAvailable(), received.endsWith("-01Anna")), 20000);
    QCOMPARE(host.Friends().Lines(), QStringList{"Anna"});
    QVERIFY(host.Main().chatLines().last().startsWith(QStringLiteral("Guest by 127.0.0.3 on port ")));
    QVERIFY(anna.Send("0<Anna> he has gone"));
    QTRY_VERIFY((received += anna.ReadAvailable(), received.endsWith("0<Anna> he has gone")));
    QCOMPARE(host.prompts.shown, QStringList());
}

// The host's packets stop reaching the guest: the guest's side ends, and its
// status says the link was lost.
void TestDeadLinks::guestNoticesAHostThatVanished()
{
    GuestOfARawHost chat("Anna", QuickDeadLinks());
    QVERIFY(chat.Start(kBasePort + 1));
    QVERIFY(chat.host.Send("#Anna,Bob"));
    QTRY_COMPARE(chat.guest.Friends().Lines(), (QStringList{"Anna", "Bob"}));

    QVERIFY(Drop("tcp sport " + QByteArray::number(kBasePort + 1)));
    TForm4 &main = chat.guest.Main();
    QTRY_VERIFY_WITH_TIMEOUT(!main.ImClient1->isChecked(), 20000);
    QCOMPARE(main.statusText(), QStringLiteral("Connection to the host was lost: Connection timed out"));
    QVERIFY(main.chatLines().last().endsWith(QStringLiteral(" :Door closed by Host.")));
    QCOMPARE(chat.guest.Friends().Lines(), QStringList());

    // Once the link is back, the guest connects again by itself, registers
    // again and says so in its view.
    QVERIFY(Run("nft flush chain inet vanu in"));
    LoopbackPeer again = chat.listener.AcceptOne(40000);
    QVERIFY(again.IsOpen());
    QCOMPARE(again.ReadAtLeast(5, 5000), QByteArray(" Anna"));
    QVERIFY(main.chatLines().last().endsWith(QStringLiteral(" : Connected to the host again.")));
    QCOMPARE(chat.guest.prompts.shown, QStringList());
}

QTEST_MAIN_UNLESS(WhyNotHere, TestDeadLinks)
#include "tst_deadlinks.moc"
