// The server's list of accepted sockets: order, duplicates, bounds.
#include "RuntimeErrors.h"
#include "TClientList.h"

#include <QTest>

class TestClientList : public QObject {
    Q_OBJECT
private slots:
    void removeTakesTheFirst();
    void outOfBounds_data();
    void outOfBounds();
    void unknownHandle();
};

void TestClientList::removeTakesTheFirst()
{
    TClientList list;
    QVERIFY(list.Add(7));
    QVERIFY(list.Add(9));
    QVERIFY(list.Add(7));
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.IndexOf(7), 0);

    list.Remove(7);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.Items(0), 9);
    QCOMPARE(list.Items(1), 7);
    QCOMPARE(list.IndexOf(7), 1);
}

void TestClientList::outOfBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("count") << 2;
    QTest::newRow("far") << 100;
}

void TestClientList::outOfBounds()
{
    QFETCH(int, index);
    TClientList list;
    list.Add(3);
    list.Add(4);
    try {
        list.Items(index);
        QFAIL("no list error");
    } catch (const EListError &error) {
        QCOMPARE(error.Message(), QStringLiteral("List index out of bounds (%1)").arg(index));
    }
}

void TestClientList::unknownHandle()
{
    TClientList list;
    list.Add(3);
    list.Remove(8);
    QCOMPARE(list.Count(), 1);
    QCOMPARE(list.IndexOf(8), -1);
    list.Clear();
    QCOMPARE(list.Count(), 0);
}

QTEST_MAIN(TestClientList)
#include "tst_clientlist.moc"
