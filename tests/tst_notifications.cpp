// What the chat tells the desktop while the user is not looking.
#include "ChatNotifications.h"
#include "LoopbackPeer.h"
#include "Protocol.h"
#include "TTrayIcon.h"
#include "TestProgram.h"

#include <QAction>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

namespace {

constexpr quint16 kBasePort = 24500;

} // namespace

class TestNotifications : public QObject {
    Q_OBJECT
private slots:
    void notificationsWhileHidden();
    void hiddenHostTellsWhatItsGuestsDo();
};

// A hidden guest tells the others' lines but not its own coming back, through
// the tray when there is no notification service, and nothing when the user
// has switched it off, which is kept in the user's preferences.
void TestNotifications::notificationsWhileHidden()
{
    GuestOfARawHost chat;
    QVERIFY(chat.Start(kBasePort));
    TForm4 &main = chat.guest.Main();
    main.hide(); // it came forward as the connection was made
    QAction &notifySwitch = *chat.guest.program->notifications().notifySwitch;
    QVERIFY(notifySwitch.isChecked());
    const auto fromHost = [&](const QByteArray &text) {
        const int lines = main.chatLineCount();
        QVERIFY(chat.host.Send(text));
        QTRY_VERIFY(main.chatLineCount() > lines);
    };
    main.Edit1->setText(QStringLiteral("mine"));
    QTest::keyClick(main.Edit1, Qt::Key_Return);
    const QByteArray mine = Protocol::ChatLine('0', "Anna", "mine");
    QVERIFY(chat.host.ReadAtLeast(mine.size()).endsWith(mine));
    fromHost(mine);
    fromHost("2<Bob> hi");
    fromHost("2<Bob> a\nb");
    QCOMPARE(chat.guest.notifier.told, (QStringList{"<Bob> hi", QString::fromUtf8("<Bob> a\u240ab")}));

    chat.guest.notifier.serviceThere = false;
    fromHost("2<Bob> again");
    QCOMPARE(chat.guest.tray.balloons, QStringList{"<Bob> again"});

    notifySwitch.trigger();
    QVERIFY(!notifySwitch.isChecked());
    fromHost("2<Bob> unheard");
    QCOMPARE(chat.guest.tray.balloons, QStringList{"<Bob> again"});
    QCOMPARE(QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vanu", "preferences").value("notifications"),
             QVariant(false));
    notifySwitch.trigger(); // as it was, for the tests after this one

    QVERIFY(chat.host.Send("#Anna,Bob"));
    QTRY_COMPARE(chat.guest.Friends().Lines(), (QStringList{"Anna", "Bob"}));
    fromHost("-01Anna");
    chat.host.ShutdownWrite();
    QTRY_COMPARE(chat.guest.tray.balloons,
                 (QStringList{"<Bob> again", "< Bob is away >", "Connection closed by Server!"}));
}

// A hidden host tells of a guest's arrival, lines and departure, never of its
// own lines. Busy, it does not come forward as the guest arrives, and the
// news waits until the user is no longer busy.
void TestNotifications::hiddenHostTellsWhatItsGuestsDo()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 1));
    host.Main().Imbusy1->trigger();
    LoopbackPeer anna;
    QVERIFY(anna.Connect(kBasePort + 1));
    QVERIFY(anna.Send(" Anna"));
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    QVERIFY(anna.Send("0<Anna> hi"));
    QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" hi")));
    host.Main().Edit1->setText(QStringLiteral("mine"));
    QTest::keyClick(host.Main().Edit1, Qt::Key_Return);
    QCOMPARE(host.notifier.told, QStringList());
    QCOMPARE(host.tray.balloons, QStringList());
    host.Main().Imbusy1->trigger();
    QCOMPARE(host.notifier.told,
             QStringList{"While you were busy: 2 new messages. The last: <Anna> hi"});

    anna.Close();
    QTRY_COMPARE(host.notifier.told.size(), 2);
    QVERIFY2(host.notifier.told[1].startsWith("Guest by 127.0.0.1 on port ") && host.notifier.told[1].endsWith(" is away."),
             qPrintable(host.notifier.told[1]));
    QVERIFY(!host.Main().isVisible());
}

QTEST_MAIN(TestNotifications)
#include "tst_notifications.moc"
