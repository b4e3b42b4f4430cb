// The tray and window side of the program: the icons, tooltips and captions
// of every state, the tray menu, busy and quiet, and the friends window's
// docking at the main window.
#include "LocalAddress.h"
#include "LoopbackPeer.h"
#include "ModeLook.h"
#include "Protocol.h"
#include "TAboutBox.h"
#include "THelpBox.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TTrayIcon.h"
#include "TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

constexpr quint16 kBasePort = 24000;

enum class Image { Program, Host, Busy, Guest };

// The images a program's window and tray show just now, by name.
QString Images(const TestProgram &test)
{
    const TForm4 &main = test.Main();
    const auto name = [&](const QIcon &icon) {
        const qint64 key = icon.cacheKey();
        if (key == main.ProgramIcon().cacheKey())
            return QStringLiteral("program");
        if (key == main.modeLook().hostIcon().cacheKey())
            return QStringLiteral("host");
        if (key == main.modeLook().busyIcon().cacheKey())
            return QStringLiteral("busy");
        if (key == main.modeLook().guestIcon().cacheKey())
            return QStringLiteral("guest");
        return QStringLiteral("other");
    };
    return QStringLiteral("window %1, tray %2, tooltip \"%3\", caption \"%4\"")
        .arg(name(main.windowIcon()), name(test.tray.icon), test.tray.toolTip, main.windowTitle());
}

QString Row(const char *window, const char *tray, const char *toolTip, const QString &caption)
{
    return QStringLiteral("window %1, tray %2, tooltip \"%3\", caption \"%4\"")
        .arg(QLatin1String(window), QLatin1String(tray), QLatin1String(toolTip), caption);
}

// Opens the tray menu as a right click on the tray icon does, notes which
// items it shows, and closes it again.
QStringList TrayMenuAsShown(TestProgram &test)
{
    QMenu *menu = test.Main().PopupMenu1;
    QStringList shown;
    QObject::connect(
        menu, &QMenu::aboutToShow, menu,
        [&] {
            QTimer::singleShot(0, [&] {
                for (QAction *item : menu->actions())
                    if (item->isVisible() && !item->isSeparator())
                        shown << item->text();
                menu->close();
            });
        },
        Qt::SingleShotConnection);
    test.tray.Mouse(TrayMouse::RightUp);
    return shown;
}

} // namespace

class TestTrayBehaviour : public QObject {
    Q_OBJECT
private slots:
    void iconsTooltipsAndCaptions();
    void trayMenuWhileTrying();
    void busyChangesOnlyTheTray();
    void quietSilencesOnlyTheSounds();
    void doubleClickBringsTheWindowBack();
    void withoutATrayTheStatusBarHasTheMenu();
    void friendsShowDocked();
    void friendsFollowOnlyWhenTheMoveHasEnded();
    void freeFriendsStayWhereTheyAre();
    void friendsGiveWayToTheProgramsOwnWindows();
    void friendsGoIntoTheTrayWithTheMainWindow();
};

// Every row of the table, reached by the real commands.
void TestTrayBehaviour::iconsTooltipsAndCaptions()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    TestProgram guest(TestProgram::Setup("Anna"));
    QTRY_COMPARE(Images(host), Row("program", "program", "Vanu", "Vanu 3.1"));

    LoopbackListener occupant;
    QVERIFY(occupant.Listen(kBasePort));
    host.SetupDialog().ePort->setText(QString::number(kBasePort));
    host.Main().ImServer1->trigger();
    QCOMPARE(Images(host), Row("host", "host", "Host", "Vanu 3.1")); // starting
    QTRY_COMPARE(host.Main().TCPServer1->State(), wsListening);
    QCOMPARE(Images(host), Row("host", "host", "Host", "Hosty is Host on " + LocalAddress()));

    host.Main().Imbusy1->trigger();
    QCOMPARE(Images(host), Row("host", "busy", "Host is busy", "Hosty is Host on " + LocalAddress()));
    host.Main().Imbusy1->trigger();
    QCOMPARE(Images(host), Row("host", "host", "Host", "Hosty is Host on " + LocalAddress()));

    guest.StartGuest(kBasePort + 1);
    QCOMPARE(Images(guest), Row("guest", "guest", "Guest", "Anna is Guest to 127.0.0.1")); // connecting
    QTRY_COMPARE(guest.Main().TCPClient1->State(), wsConnected);
    QCOMPARE(Images(guest), Row("guest", "guest", "Guest", "Anna is Guest to 127.0.0.1"));

    host.Main().CloseChat2->trigger(); // asks "Close the Chat?"; Cancel keeps the state
    QCOMPARE(host.prompts.shown, QStringList{"confirm: Close the Chat?"});
    QCOMPARE(Images(host), Row("host", "host", "Host", "Hosty is Host on " + LocalAddress()));
    host.prompts.confirmAnswers << true;
    host.Main().CloseChat2->trigger();
    QCOMPARE(Images(host), Row("program", "program", "Vanu", "Vanu"));
    QTRY_COMPARE(Images(guest), Row("program", "program", "Vanu", "Vanu")); // its host closed
}

void TestTrayBehaviour::trayMenuWhileTrying()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QCOMPARE(TrayMenuAsShown(host), (QStringList{"Open", "About", "Close"}));

    LoopbackListener occupant;
    QVERIFY(occupant.Listen(kBasePort + 10));
    host.SetupDialog().ePort->setText(QString::number(kBasePort + 10));
    host.Main().ImServer1->trigger();
    QCOMPARE(TrayMenuAsShown(host), (QStringList{"Open", "I'm busy", "About", "Trying ..."}));
    host.Main().Trying1->trigger(); // does nothing
    QTRY_COMPARE(host.Main().TCPServer1->State(), wsListening);
    QCOMPARE(TrayMenuAsShown(host), (QStringList{"Open", "I'm busy", "About", "Close"}));

    TestProgram guest(TestProgram::Setup("Anna"));
    guest.StartGuest(kBasePort + 12); // nobody there
    QCOMPARE(TrayMenuAsShown(guest), (QStringList{"Open", "About", "Trying ..."}));
    guest.Main().CloseChat2->trigger();
    QCOMPARE(TrayMenuAsShown(guest), (QStringList{"Open", "About", "Close"}));
    QCOMPARE(guest.ends, 0);
}

void TestTrayBehaviour::busyChangesOnlyTheTray()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    QVERIFY(host.StartHost(kBasePort + 20));
    const qint64 windowIcon = host.Main().windowIcon().cacheKey();
    host.Main().Imbusy1->trigger();
    QVERIFY(host.Main().Imbusy1->isChecked());
    QCOMPARE(host.tray.icon.cacheKey(), host.Main().modeLook().busyIcon().cacheKey());
    QCOMPARE(host.tray.toolTip, QStringLiteral("Host is busy"));
    QCOMPARE(host.Main().windowIcon().cacheKey(), windowIcon);

    // The keyboard's way to the same command, from the main window.
    host.Main().show();
    host.Main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host.Main()));
    QTest::keyClick(host.Main().Edit1, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!host.Main().Imbusy1->isChecked());
    QCOMPARE(host.tray.toolTip, QStringLiteral("Host"));
}

// Quiet on both sides: the host greets, lists and relays as before, and the
// guest shows lists and departures as before, without a sound.
void TestTrayBehaviour::quietSilencesOnlyTheSounds()
{
    TestProgram host(TestProgram::Setup("Hosty"));
    TestProgram guest(TestProgram::Setup("Anna"));
    host.Main().Quiet1->trigger();
    guest.Main().Quiet1->trigger();
    QVERIFY(host.Main().Quiet1->isChecked());
    QVERIFY(host.StartHost(kBasePort + 30));
    guest.StartGuest(kBasePort + 30);
    QTRY_COMPARE(guest.Friends().Lines(), QStringList{"Anna"});
    QVERIFY(guest.Main().chatLines().contains(QStringLiteral("Hello!  Welcome to Hosty's coupon.")));
    QCOMPARE(host.Main().statusText(), QStringLiteral("1 Friend(s) available"));

    LoopbackPeer bob;
    QVERIFY(bob.Connect(kBasePort + 30, 0, "127.0.0.2"));
    QVERIFY(bob.Send(" Bob"));
    QTRY_COMPARE(guest.Friends().Lines(), (QStringList{"Anna", "Bob"}));
    bob.Close();
    QTRY_COMPARE(guest.Friends().Lines(), QStringList{"Anna"});
    QVERIFY(guest.Main().chatLines().contains(QStringLiteral("< Bob is away >")));
    QCOMPARE(host.sound.plays, 0);
    QCOMPARE(guest.sound.plays, 0);

    guest.Main().Quiet1->trigger();
    QVERIFY(!guest.Main().Quiet1->isChecked());
}

void TestTrayBehaviour::doubleClickBringsTheWindowBack()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    test.Main().close();
    QVERIFY(!test.Main().isVisible());
    test.tray.Mouse(TrayMouse::LeftDoubleClick);
    QVERIFY(test.Main().isVisible());
    test.Main().showMinimized();
    QTRY_VERIFY(test.Main().isMinimized());
    test.tray.Mouse(TrayMouse::LeftDoubleClick);
    QTRY_VERIFY(!test.Main().isMinimized());
}

void TestTrayBehaviour::withoutATrayTheStatusBarHasTheMenu()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    int opened = 0;
    QObject::connect(test.Main().PopupMenu1, &QMenu::aboutToShow, [&] {
        ++opened;
        QTimer::singleShot(0, [] {
            if (QWidget *menu = QApplication::activePopupWidget())
                menu->close();
        });
    });
    const QPoint inside = test.Main().StatusBar1->rect().center();
    emit test.Main().StatusBar1->customContextMenuRequested(inside);
    QCOMPARE(opened, 0); // with a tray, the tray has it

    test.tray.SetAvailable(false);
    emit test.Main().StatusBar1->customContextMenuRequested(inside);
    QCOMPARE(opened, 1);
    QVERIFY(test.Main().Down1->isVisible());
}

void TestTrayBehaviour::friendsShowDocked()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    TfFriends &friends = test.Friends();
    test.Main().Inf1->trigger();
    QVERIFY(test.Main().Inf1->isChecked());
    QVERIFY(friends.isVisible());
    const QRect main = test.Main().frameGeometry();
    QCOMPARE(friends.frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
    QCOMPARE(friends.frameGeometry().height(), main.height());
    QVERIFY(test.Main().FriendsDocked);

    friends.close(); // its own close button
    QVERIFY(!test.Main().Inf1->isChecked());
    test.Main().Inf1->trigger();
    QVERIFY(friends.isVisible());
    test.Main().Inf1->trigger();
    QVERIFY(!friends.isVisible());
}

// The docked friends window, shown or hidden, jumps to the main window's edge
// when the main window's move has ended, and then stays on top.
void TestTrayBehaviour::friendsFollowOnlyWhenTheMoveHasEnded()
{
    for (const bool shown : {true, false}) {
        TestProgram test;
        test.program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
        TfFriends &friends = test.Friends();
        if (shown)
            test.Main().Inf1->trigger();
        const QPoint before = friends.frameGeometry().topLeft();
        test.Main().move(test.Main().pos() + QPoint(-60, 40));
        QCOMPARE(friends.frameGeometry().topLeft(), before); // not during the move
        const QRect main = test.Main().frameGeometry();
        QTRY_COMPARE(friends.frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
        QCOMPARE(friends.frameGeometry().height(), main.height());
        QVERIFY(friends.StaysOnTop());
        QCOMPARE(friends.isVisible(), shown);
    }
}

void TestTrayBehaviour::freeFriendsStayWhereTheyAre()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    TfFriends &friends = test.Friends();
    test.Main().Inf1->trigger();
    friends.move(20, 20);
    friends.WMExitSizeMove(); // let go far away
    QVERIFY(!test.Main().FriendsDocked);
    test.Main().move(test.Main().pos() + QPoint(30, 30));
    test.Main().WMExitSizeMove();
    QCOMPARE(friends.frameGeometry().topLeft(), QPoint(20, 20));
    QVERIFY(!friends.StaysOnTop());
}

// Docked, the friends window is on top of others' windows, but not of the
// program's own while one is open.
void TestTrayBehaviour::friendsGiveWayToTheProgramsOwnWindows()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    TfFriends &friends = test.Friends();
    test.Main().Inf1->trigger();
    friends.FollowMainWindow(); // docked and on top
    QVERIFY(QTest::qWaitForWindowExposed(&friends));
    const auto onTop = [&friends] { return friends.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); };
    QTRY_VERIFY(onTop());
    QDialog dialog(&test.Main());
    dialog.show();
    QTRY_VERIFY(!onTop());
    QVERIFY(friends.StaysOnTop()); // still docked, and on top again after
    friends.FollowMainWindow(); // the main window moved meanwhile
    QTRY_VERIFY(!onTop());
    dialog.hide();
    QTRY_VERIFY(onTop());
}

void TestTrayBehaviour::friendsGoIntoTheTrayWithTheMainWindow()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    TfFriends &friends = test.Friends();
    test.Main().Inf1->trigger();
    QVERIFY(friends.isVisible());
    test.Main().close(); // into the tray
    QVERIFY(!test.Main().isVisible());
    QVERIFY(!friends.isVisible());
    QVERIFY(test.Main().Inf1->isChecked());
    test.Main().TrayIcon1DblClick();
    QTRY_VERIFY(friends.isVisible());
    const QRect main = test.Main().frameGeometry();
    QTRY_COMPARE(friends.frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
}

QTEST_MAIN(TestTrayBehaviour)
#include "tst_traybehaviour.moc"
