// The small platform pieces: integer texts, list errors, the Windows-1251
// code page and the file dialog filters.
#include "Cp1251CodePage.h"
#include "FreedesktopNotifier.h"
#include "PrivateBus.h"
#include "QtPrompts.h"
#include "RuntimeErrors.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void integerTexts_data();
    void integerTexts();
    void notIntegerTexts_data();
    void notIntegerTexts();
    void listErrorText();
    void everyByteSurvivesText();
    void cyrillicText_data();
    void cyrillicText();
    void windowsGoOverTheirOwnerAndStayOnScreen_data();
    void windowsGoOverTheirOwnerAndStayOnScreen();
    void fileDialogFilters_data();
    void fileDialogFilters();
    void messageBoxesShowPlainText();
    void notificationsNeverWaitForTheServer_data();
    void notificationsNeverWaitForTheServer();
};

void TestPlatform::integerTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "4000" << 4000;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("leading blanks") << "  42" << 42;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("negative") << "-4000" << -4000;
    QTest::newRow("dollar hex") << "$FF" << 255;
    QTest::newRow("0x hex") << "0x1f" << 31;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
    QTest::newRow("beyond 16 bits") << "70000" << 70000;
}

void TestPlatform::integerTexts()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(StrToInt(text), value);
}

void TestPlatform::notIntegerTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("blank only") << " ";
    QTest::newRow("sign only") << "-";
    QTest::newRow("trailing blank") << "12 ";
    QTest::newRow("digits then letters") << "12ab";
    QTest::newRow("too large") << "2147483648";
    QTest::newRow("decimal point") << "1.5";
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662");
}

void TestPlatform::notIntegerTexts()
{
    QFETCH(QString, text);
    try {
        StrToInt(text);
        QFAIL("no conversion error");
    } catch (const EConvertError &error) {
        QCOMPARE(error.Message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

void TestPlatform::listErrorText()
{
    QCOMPARE(EListError(5).Message(), QStringLiteral("List index out of bounds (5)"));
    QCOMPARE(EListError(-1).Message(), QStringLiteral("List index out of bounds (-1)"));
}

void TestPlatform::everyByteSurvivesText()
{
    Cp1251CodePage codePage;
    QByteArray everyByte;
    for (int value = 0; value < 256; ++value)
        everyByte.append(char(value));
    const QString text = codePage.toUnicode(everyByte);
    QCOMPARE(text.size(), 256);
    QCOMPARE(codePage.fromUnicode(text), everyByte);
}

void TestPlatform::cyrillicText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cyrillic") << QString::fromUtf8("Привет") << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2");
    QTest::newRow("yo") << QString::fromUtf8("Ёё") << QByteArray("\xA8\xB8");
    QTest::newRow("euro") << QString::fromUtf8("€") << QByteArray("\x88");
    QTest::newRow("ascii") << "Anna, hi!" << QByteArray("Anna, hi!");
    QTest::newRow("missing in code page") << QString::fromUtf8("a中b") << QByteArray("a?b");
    QTest::newRow("latin accent") << QString::fromUtf8("é") << QByteArray("?");
    QTest::newRow("beyond 16 bits is one character") << QString::fromUtf8("x😀y") << QByteArray("x?y");
}

void TestPlatform::cyrillicText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    Cp1251CodePage codePage;
    QCOMPARE(codePage.fromUnicode(text), bytes);
    if (!bytes.contains('?'))
        QCOMPARE(codePage.toUnicode(bytes), text);
}

void TestPlatform::fileDialogFilters_data()
{
    QTest::addColumn<QString>("pipeFilter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("text and all") << "Text files (*.txt)|*.txt|All files (*.*)|*.*"
                                  << QStringList{"Text files (*.txt)", "All files (*)"};
    QTest::newRow("setup files") << "Text files (*.set)|*.set" << QStringList{"Text files (*.set)"};
    QTest::newRow("dangling description") << "Odd (*.x)" << QStringList{};
}

void TestPlatform::fileDialogFilters()
{
    QFETCH(QString, pipeFilter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(QtPrompts::NameFilters(pipeFilter), nameFilters);
}

// A text from a file or from a guest is shown as it is, whatever box shows it.
void TestPlatform::messageBoxesShowPlainText()
{
    QtPrompts prompts(QStringLiteral("Vanu"));
    QList<Qt::TextFormat> formats;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            formats << box->textFormat();
            box->reject();
        }
    });
    answer.start(10);
    const QString markup = QStringLiteral("<b>x</b>");
    prompts.Confirm(markup);
    prompts.AskYesNoCancel(markup);
    prompts.ShowError(markup);
    prompts.ShowMessage(markup);
    QCOMPARE(formats, QList<Qt::TextFormat>(4, Qt::PlainText));
}

namespace {

// A notification server that answers what it can do, and shows
// notifications, or takes them and never answers.
class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    bool hangs = false;
    int notified = 0;

public slots:
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    uint Notify(const QString &, uint, const QString &, const QString &, const QString &, const QStringList &,
                const QVariantMap &, int)
    {
        ++notified;
        if (hangs)
            setDelayedReply(true); // and no reply ever comes
        return 42;
    }
};

} // namespace

void TestPlatform::notificationsNeverWaitForTheServer_data()
{
    QTest::addColumn<bool>("hangs");
    QTest::newRow("a server that answers") << false;
    QTest::newRow("a hung server") << true;
}

// Whatever the server does, the window keeps answering: no call of the
// notifier waits for it, and one it never answers is given up.
void TestPlatform::notificationsNeverWaitForTheServer()
{
    QFETCH(bool, hangs);
    const PrivateBus bus;
    if (!bus.IsUp())
        QSKIP("no dbus-daemon here (scripts/deps installs it)");
    QDBusConnection serverBus = bus.Connect(QStringLiteral("server") + QString::number(hangs));
    NotificationServer server;
    server.hangs = hangs;
    QVERIFY(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                     QDBusConnection::ExportAllSlots));
    QVERIFY(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    FreedesktopNotifier notifier(QStringLiteral("Vanu"), QStringLiteral("vanu"),
                                 bus.Connect(QStringLiteral("client") + QString::number(hangs)));

    QTRY_VERIFY(notifier.Tell(QStringLiteral("<Bob> hello")));
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestStallMs = std::max(longestStallMs, sinceTick.restart()); });
    sinceTick.start();
    tick.start(10);
    QTRY_COMPARE(server.notified, 1);
    if (hangs) { // given up after a second: the next news is told another way
        QTRY_VERIFY(!notifier.Tell(QStringLiteral("<Bob> again")));
    } else {
        QVERIFY(notifier.Tell(QStringLiteral("<Bob> again")));
        QTRY_COMPARE(server.notified, 2);
        bool activated = false; // the user picks the notification
        notifier.onActivated = [&] { activated = true; };
        QDBusMessage picked = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"),
                                                         QStringLiteral("ActionInvoked"));
        picked << 42u << QStringLiteral("default");
        QVERIFY(serverBus.send(picked));
        QTRY_VERIFY(activated);
    }
    qInfo("the longest the window did not answer: %lld ms", longestStallMs);
    QVERIFY(longestStallMs < 100);
    QCOMPARE(server.notified, hangs ? 1 : 2);
}

void TestPlatform::windowsGoOverTheirOwnerAndStayOnScreen_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("over");
    QTest::addColumn<QPoint>("placed");
    const QRect room(0, 24, 1024, 744); // a panel at the top
    QTest::newRow("centred on the owner") << QSize(200, 100) << QRect(100, 100, 400, 300) << QPoint(200, 200);
    QTest::newRow("an owner near the bottom") << QSize(760, 515) << QRect(100, 500, 435, 326) << QPoint(0, 253);
    QTest::newRow("an owner off the left edge") << QSize(300, 200) << QRect(-300, 200, 200, 200) << QPoint(0, 200);
    QTest::newRow("larger than the screen") << QSize(1200, 900) << QRect(100, 100, 400, 300) << QPoint(0, 24);
    QTest::newRow("no owner on screen: the room's middle") << QSize(200, 100) << room << QPoint(412, 346);
}

// The History window once opened 15 px past the bottom of the screen, and
// dialogs in the screen's middle, away from the window they belong to.
void TestPlatform::windowsGoOverTheirOwnerAndStayOnScreen()
{
    QFETCH(QSize, frame);
    QFETCH(QRect, over);
    QFETCH(QPoint, placed);
    QCOMPARE(CentredWithin(frame, over, QRect(0, 24, 1024, 744)), QRect(placed, frame));
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
