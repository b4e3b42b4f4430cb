// The tray icon component against a counting tray: when each property makes a
// tray call, what the mouse on the icon fires, and the single-copy marker.
#include "FakeTrayHost.h"
#include "QtTrayHost.h"
#include "TTrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

class TestTrayIcon : public QObject {
    Q_OBJECT
private slots:
    void init();
    void toolTipKeeps62Characters();
    void activeAddsOnceAndRemoves();
    void inactiveComponentRemovesNothing();
    void valuesSetWhileInactiveAreShownOnActivation();
    void ownIconChangesNothing();
    void emptyToolTipIsRefreshedAfterAdding();
    void doubleClickOrder();
    void rightClickOpensTheMenuFirst();
    void showAppKeepsTheEntryWithoutATray();
    void secondCopyEnds();
    void qtDoubleClickBecomesClassicClicks();
    void taskbarEntryOffTheX11Display();

private:
    QStringList events;
    std::unique_ptr<QWidget> owner;
};

void TestTrayIcon::init()
{
    events.clear();
    owner = std::make_unique<QWidget>();
}

void TestTrayIcon::toolTipKeeps62Characters()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    tray.SetActive(true);
    const QString seventy = QString(60, 'a') + QStringLiteral("bcdefghijk");
    tray.SetToolTip(seventy);
    QCOMPARE(tray.ToolTip(), seventy.left(62));
    QCOMPARE(host.toolTip, seventy.left(62));
    QCOMPARE(host.toolTip.size(), 62);
}

void TestTrayIcon::activeAddsOnceAndRemoves()
{
    FakeTrayHost host;
    {
        TTrayIcon tray(owner.get(), host);
        tray.SetToolTip(QStringLiteral("Vanu"));
        tray.SetActive(true);
        tray.SetActive(true);
        QCOMPARE(host.adds, 1);
        tray.SetActive(false);
        QCOMPARE(host.deletes, 1);
        tray.SetActive(true);
        QCOMPARE(host.adds, 2);
    }
    QCOMPARE(host.deletes, 2); // destroyed while active
}

void TestTrayIcon::inactiveComponentRemovesNothing()
{
    FakeTrayHost host;
    { TTrayIcon tray(owner.get(), host); }
    QCOMPARE(host.adds, 0);
    QCOMPARE(host.deletes, 0);
}

void TestTrayIcon::valuesSetWhileInactiveAreShownOnActivation()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    tray.SetIcon(QIcon(red));
    tray.SetToolTip(QStringLiteral("Vanu"));
    QCOMPARE(host.modifies, 0);
    QCOMPARE(host.adds, 0);

    tray.SetActive(true);
    QCOMPARE(host.adds, 1);
    QCOMPARE(host.toolTip, QStringLiteral("Vanu"));
    QCOMPARE(host.icon.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
}

void TestTrayIcon::ownIconChangesNothing()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    tray.SetActive(true);
    tray.SetToolTip(QStringLiteral("Vanu"));
    const int before = host.modifies;
    tray.SetIcon(tray.Icon());
    QCOMPARE(host.modifies, before);
    tray.SetIcon(QIcon());
    QCOMPARE(host.modifies, before + 1);
}

// The main window switches the icon on before it has a tooltip; the tooltip
// is set again from the event loop, so the tray gets it once it is there.
void TestTrayIcon::emptyToolTipIsRefreshedAfterAdding()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    tray.SetActive(true);
    QCOMPARE(host.modifies, 0);
    QTRY_COMPARE(host.modifies, 1);
}

void TestTrayIcon::doubleClickOrder()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    tray.OnClick = [this](QObject *) { events << "click"; };
    tray.OnDblClick = [this](QObject *) { events << "double click"; };
    host.Mouse(TrayMouse::LeftUp);
    host.Mouse(TrayMouse::LeftDoubleClick);
    host.Mouse(TrayMouse::LeftUp);
    QCOMPARE(events, (QStringList{"click", "double click", "click"}));
}

void TestTrayIcon::qtDoubleClickBecomesClassicClicks()
{
    QtTrayHost host;
    host.onMouse = [this](TrayMouse mouse) {
        events << (mouse == TrayMouse::LeftUp ? "up" : mouse == TrayMouse::LeftDoubleClick ? "double" : "right");
    };
    host.Activated(QSystemTrayIcon::Trigger);
    host.Activated(QSystemTrayIcon::DoubleClick);
    host.Activated(QSystemTrayIcon::Context);
    host.Activated(QSystemTrayIcon::MiddleClick);
    QCOMPARE(events, (QStringList{"up", "double", "up", "right"}));
}

// The menu opens (its own pop-up event first) and is closed by the user;
// only then does OnRightClick come, with the place of the click.
void TestTrayIcon::rightClickOpensTheMenuFirst()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    QMenu menu;
    menu.addAction(QStringLiteral("Open"));
    tray.PopupMenu = &menu;
    connect(&menu, &QMenu::aboutToShow, this, [this] {
        events << "menu opens";
        QTimer::singleShot(0, this, [this] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                events << "menu closed";
                popup->close();
            }
        });
    });
    tray.OnRightClick = [this](QObject *, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        events << QStringLiteral("right click %1 %2 at %3,%4")
                      .arg(button == Qt::RightButton ? "right" : "other")
                      .arg(shift == Qt::NoModifier ? "no shift" : "shift")
                      .arg(x)
                      .arg(y);
    };
    QCursor::setPos(40, 30);
    const QPoint at = QCursor::pos();
    host.Mouse(TrayMouse::RightUp);
    QCOMPARE(events, (QStringList{"menu opens", "menu closed",
                                  QStringLiteral("right click right no shift at %1,%2").arg(at.x()).arg(at.y())}));
}

void TestTrayIcon::showAppKeepsTheEntryWithoutATray()
{
    FakeTrayHost host;
    TTrayIcon tray(owner.get(), host);
    QCOMPARE(host.taskbarEntryVisible, QList<bool>{false}); // hidden at creation
    QVERIFY(tray.TrayAvailable());

    QList<bool> told;
    connect(&tray, &TTrayIcon::trayAvailabilityChanged, this, [&](bool available) { told << available; });
    host.SetAvailable(false);
    QVERIFY(!tray.TrayAvailable());
    QCOMPARE(host.taskbarEntryVisible.last(), true);
    tray.SetShowApp(false);
    QCOMPARE(host.taskbarEntryVisible.last(), true);
    host.SetAvailable(true);
    QCOMPARE(host.taskbarEntryVisible.last(), false);
    tray.SetShowApp(true);
    QCOMPARE(host.taskbarEntryVisible.last(), true);
    QCOMPARE(told, (QList<bool>{false, true}));
}

// Two components with the same IDMessage stand for two copies of the program:
// the second one ends, and the first hears of it.
void TestTrayIcon::secondCopyEnds()
{
    const QString name = QStringLiteral("vanu-test-%1").arg(QCoreApplication::applicationPid());
    FakeTrayHost firstHost;
    FakeTrayHost secondHost;
    TTrayIcon first(owner.get(), firstHost);
    TTrayIcon second(owner.get(), secondHost);
    int firstEnded = 0;
    int secondEnded = 0;
    int heard = 0;
    first.SetEndProgram([&] { ++firstEnded; });
    second.SetEndProgram([&] { ++secondEnded; });
    connect(&first, &TTrayIcon::secondCopyStarted, this, [&] { ++heard; });

    first.IDMessage = name;
    first.AfterLoad();
    QCOMPARE(firstEnded, 0);
    second.IDMessage = name;
    second.AfterLoad();
    QCOMPARE(secondEnded, 1);
    QTRY_COMPARE(heard, 1);
    QCOMPARE(firstEnded, 0);

    TTrayIcon unnamed(owner.get(), secondHost);
    unnamed.SetEndProgram([&] { ++secondEnded; });
    unnamed.AfterLoad(); // no IDMessage: no check
    QCOMPARE(secondEnded, 1);
}

// The offscreen platform answers as X11 without a display connection; the
// task-list switch must leave it alone (it once crashed the program there).
void TestTrayIcon::taskbarEntryOffTheX11Display()
{
    QtTrayHost host;
    QWidget window;
    host.SetTaskbarEntryVisible(&window, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    host.SetTaskbarEntryVisible(&window, true);
    TTrayIcon tray(&window, host);
    tray.SetActive(true);
    QVERIFY(tray.Active());
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
