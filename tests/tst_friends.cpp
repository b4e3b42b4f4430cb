// The friends window beside a stand-in main window: where it goes when it is
// shown, the re-docking rule with its 10-pixel limits, and its close button.
#include "TfFriends.h"

#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QRect kMainFrame(100, 100, 435, 283);
const int kMainRight = kMainFrame.left() + kMainFrame.width();

// Where a window's frame stands and how wide its inside is; the height is the
// frame's, which is what follows the main window.
QString Placement(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    return QStringLiteral("%1,%2 inner width %3 frame height %4")
        .arg(frame.left())
        .arg(frame.top())
        .arg(window.width())
        .arg(frame.height());
}

QString Placement(int left, int top, int width, int frameHeight)
{
    return QStringLiteral("%1,%2 inner width %3 frame height %4").arg(left).arg(top).arg(width).arg(frameHeight);
}

} // namespace

class TestFriends : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsAtTheMainWindowsEdge();
    void looks();
    void redocking_data();
    void redocking();
    void bottomEdgeResizeIsUndone();
    void rightEdgeResizeStays();
    void userMoveEndsAfterAQuietPeriod();
    void aLatePlacementOfTheWindowManagerIsUndone();
    void followsTheMainWindowOnTop();
    void closeButtonHidesAndTells();
    void popupMenu();

private:
    void ShowFriends();

    bool docked = true;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<TfFriends> friends;
};

void TestFriends::init()
{
    docked = true;
    mainWindow = std::make_unique<QWidget>();
    mainWindow->setGeometry(kMainFrame);
    friends = std::make_unique<TfFriends>(*mainWindow, docked, QIcon());
}

void TestFriends::cleanup()
{
    friends.reset();
    mainWindow.reset();
}

void TestFriends::ShowFriends()
{
    friends->show();
    QVERIFY(QTest::qWaitForWindowExposed(friends.get()));
}

void TestFriends::startsAtTheMainWindowsEdge()
{
    QCOMPARE(friends->windowTitle(), QStringLiteral("Friends"));
    QCOMPARE(Placement(*friends), Placement(kMainRight, 100, 86, 283));
    QVERIFY(!friends->isVisible());
    friends->resize(40, 283);
    QCOMPARE(friends->width(), 86); // never narrower
    friends->resize(150, 283);
    ShowFriends();
    QCOMPARE(friends->width(), 86); // every showing starts at 86
}

void TestFriends::looks()
{
    const QPalette palette = friends->ListBox1->palette();
    QCOMPARE(palette.color(QPalette::Base), QColor(0, 128, 128));
    QCOMPARE(palette.color(QPalette::Text), QColor(0, 0, 128));
    QVERIFY(friends->ListBox1->font().bold());
    QVERIFY(!friends->ListBox1->isSortingEnabled());
    QCOMPARE(friends->Panel2->height(), 22);
    QCOMPARE(friends->Panel1->height(), 20);
    QVERIFY(friends->windowFlags().testFlag(Qt::Tool));
    friends->ListBox1->addItems({"Zoe", "Anna"});
    QCOMPARE(friends->Lines(), (QStringList{"Zoe", "Anna"}));
}

void TestFriends::redocking_data()
{
    QTest::addColumn<int>("dx"); // the friends window's left minus the main window's right edge
    QTest::addColumn<int>("dy"); // its top minus the main window's top
    QTest::addColumn<bool>("snaps");
    QTest::newRow("9 right") << 9 << 0 << true;
    QTest::newRow("9 left") << -9 << 0 << true;
    QTest::newRow("10 right") << 10 << 0 << false;
    QTest::newRow("10 left") << -10 << 0 << false;
    QTest::newRow("9 lower") << 0 << 9 << true;
    QTest::newRow("9 higher") << 3 << -9 << true;
    QTest::newRow("10 lower") << 0 << 10 << false;
    QTest::newRow("10 higher") << 0 << -10 << false;
    QTest::newRow("level but far") << 300 << 0 << false;
    QTest::newRow("far away") << -500 << 200 << false;
}

void TestFriends::redocking()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, snaps);
    ShowFriends();
    friends->FollowMainWindow(); // docked and on top, as after a move of the main window
    QVERIFY(friends->StaysOnTop());
    const QPoint droppedAt(kMainRight + dx, kMainFrame.top() + dy);
    friends->move(droppedAt);
    friends->resize(86, 200);
    const QString dropped = Placement(*friends);

    friends->WMExitSizeMove();
    QCOMPARE(docked, snaps);
    QVERIFY(!friends->StaysOnTop());
    QCOMPARE(Placement(*friends), snaps ? Placement(kMainRight, 100, 86, 283) : dropped);
}

void TestFriends::bottomEdgeResizeIsUndone()
{
    ShowFriends();
    friends->resize(86, 400);
    friends->WMExitSizeMove();
    QVERIFY(docked);
    QCOMPARE(Placement(*friends), Placement(kMainRight, 100, 86, 283));
}

void TestFriends::rightEdgeResizeStays()
{
    ShowFriends();
    friends->resize(130, 283);
    friends->WMExitSizeMove();
    QVERIFY(docked);
    QCOMPARE(Placement(*friends), Placement(kMainRight, 100, 130, 283));
    friends->resize(60, 283);
    friends->WMExitSizeMove();
    QCOMPARE(friends->width(), 86);
}

// Without a window manager to say so, the end of the user's move is the
// moment the window has stopped moving for a while.
void TestFriends::userMoveEndsAfterAQuietPeriod()
{
    ShowFriends();
    QTest::qWait(TfFriends::kWindowManagerSettlesMs); // the window manager has placed it: at least this long
    friends->move(kMainRight + 40, 100);
    QTRY_VERIFY(!docked);
    friends->move(kMainRight + 5, 104);
    QTRY_VERIFY(docked);
    QCOMPARE(friends->frameGeometry().topLeft(), QPoint(kMainRight, 100));
}

// On a loaded machine the window manager placed the window after the
// program had, at a top and height of its own: it is docked again.
void TestFriends::aLatePlacementOfTheWindowManagerIsUndone()
{
    ShowFriends();
    friends->setGeometry(kMainRight, 253, 86, 301);
    QTRY_COMPARE(Placement(*friends), Placement(kMainRight, 100, 86, 283));
    QVERIFY(docked);
}

void TestFriends::followsTheMainWindowOnTop()
{
    ShowFriends();
    mainWindow->setGeometry(QRect(300, 50, 500, 300));
    friends->FollowMainWindow();
    QCOMPARE(Placement(*friends), Placement(800, 50, 86, 300));
    QVERIFY(friends->StaysOnTop());
    QVERIFY(friends->isVisible());

    docked = false; // a free window stays where it is
    mainWindow->setGeometry(kMainFrame);
    friends->FollowMainWindow();
    QCOMPARE(friends->frameGeometry().topLeft(), QPoint(800, 50));
}

void TestFriends::closeButtonHidesAndTells()
{
    ShowFriends();
    QSignalSpy closed(friends.get(), &TfFriends::closedByUser);
    QVERIFY(friends->close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(!friends->isVisible());
    ShowFriends();
    QVERIFY(friends->isVisible());
}

void TestFriends::popupMenu()
{
    const QList<QAction *> items = friends->PopupMenu1->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("Open"));
    QCOMPARE(items[1]->text(), QStringLiteral("About"));
    QSignalSpy open(friends.get(), &TfFriends::openRequested);
    QSignalSpy about(friends.get(), &TfFriends::aboutRequested);
    friends->Chat1->trigger();
    friends->ifo1->trigger();
    QCOMPARE(open.count(), 1);
    QCOMPARE(about.count(), 1);
}

QTEST_MAIN(TestFriends)
#include "tst_friends.moc"
