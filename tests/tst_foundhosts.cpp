// What the found-hosts list makes of an announcement: the entry people read,
// and which announcements it offers at all.
#include "FoundHostsPicker.h"
#include "LanDiscovery.h"

#include <QTest>

class TestFoundHosts : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void offered_data();
    void offered();
};

void TestFoundHosts::entries_data()
{
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<QString>("machine");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("entry");
    QTest::newRow("plain") << "Anna" << "pc1" << false << "10.0.0.5:4000  Anna on pc1";
    QTest::newRow("busy") << "Anna" << "pc1" << true << "10.0.0.5:4000  Anna on pc1, busy";
    QTest::newRow("ampersand") << "A&B" << "pc1" << false << "10.0.0.5:4000  A&B on pc1";
    QTest::newRow("a fake address behind tabs")
        << "Anna on pc1 (10.77.0.9:4000)\t\t\t" << "pc1" << false
        << "10.0.0.5:4000  Anna on pc1 (10.77.0.9:4000)    on pc1";
    QTest::newRow("control characters and line separators")
        << QString::fromUtf8("A\x01n\x7fn\u2028a") << QString::fromUtf8("p\nc\u2029") << false
        << "10.0.0.5:4000  A n n a on p c ";
    QTest::newRow("names cut at 40") << QString(250, 'n') << QString(60, 'm') << false
                                     << "10.0.0.5:4000  " + QString(40, 'n') + " on " + QString(40, 'm');
}

void TestFoundHosts::entries()
{
    QFETCH(QString, nickname);
    QFETCH(QString, machine);
    QFETCH(bool, busy);
    QFETCH(QString, entry);
    FoundHost host;
    host.nickname = nickname;
    host.machine = machine;
    host.address = QStringLiteral("10.0.0.5");
    host.port = 4000;
    host.busy = busy;
    QCOMPARE(FoundHostEntry(host), entry);
}

void TestFoundHosts::offered_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("machine");
    QTest::addColumn<bool>("offered");
    QTest::newRow("a LAN host") << "10.0.0.5" << 4000 << "pc1" << true;
    QTest::newRow("port 0") << "10.0.0.5" << 0 << "pc1" << false;
    QTest::newRow("any address") << "0.0.0.0" << 4000 << "pc1" << false;
    QTest::newRow("broadcast") << "255.255.255.255" << 4000 << "pc1" << false;
    QTest::newRow("multicast") << "224.0.0.251" << 4000 << "pc1" << false;
    QTest::newRow("loopback of another machine") << "127.0.0.1" << 22 << "pc1" << false;
    QTest::newRow("loopback of this machine") << "127.0.0.1" << 4000 << "this" << true;
    QTest::newRow("no address") << "pc1.local" << 4000 << "pc1" << false;
}

void TestFoundHosts::offered()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QString, machine);
    QFETCH(bool, offered);
    FoundHost host;
    host.address = address;
    host.port = quint16(port);
    host.machine = machine;
    QCOMPARE(IsOfferable(host, QStringLiteral("this")), offered);
}

QTEST_MAIN(TestFoundHosts)
#include "tst_foundhosts.moc"
