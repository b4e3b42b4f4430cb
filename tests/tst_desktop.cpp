// The program's place on the desktop: its command line, its choice of
// windowing platform, the folders it keeps its files in, and its one copy
// per program folder.
#include "ApplicationId.h"
#include "CommandLine.h"
#include "PlatformChoice.h"
#include "PrivateBus.h"
#include "ProgramFolders.h"
#include "RunningCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

// An environment of "NAME=value" variables alone.
QProcessEnvironment EnvironmentOf(const QStringList &variables)
{
    QProcessEnvironment environment;
    for (const QString &variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    return environment;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void platform_data();
    void platform();
    void displayAvailable_data();
    void displayAvailable();
    void withoutADisplayTheProgramSaysSo();
    void folderChoice_data();
    void folderChoice();
    void aSecondStartHandsOverToTheFirst_data();
    void aSecondStartHandsOverToTheFirst();
};

void TestDesktop::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("setupFile");
    QTest::addColumn<QString>("textStart");
    const auto run = int(CommandLine::Action::Run);
    const auto usage = int(CommandLine::Action::Usage);
    QTest::newRow("nothing") << QStringList{"vanu"} << run << "" << "";
    QTest::newRow("a setup file") << QStringList{"vanu", "mailed.set"} << run << "mailed.set" << "";
    QTest::newRow("help") << QStringList{"/usr/bin/vanu", "--help"} << int(CommandLine::Action::Help) << ""
                          << "Usage: vanu [options] [file]";
    QTest::newRow("version") << QStringList{"vanu", "-v"} << int(CommandLine::Action::Version) << "" << "vanu 3.1";
    QTest::newRow("unknown option") << QStringList{"vanu", "--colour=red"} << usage << ""
                                    << "Unknown option 'colour'.\nUsage: vanu";
    QTest::newRow("two files") << QStringList{"vanu", "a.set", "b.set"} << usage << ""
                               << "Only one setup file can be given.\nUsage: vanu";
    QTest::newRow("history") << QStringList{"vanu", "--history"} << int(CommandLine::Action::History) << "" << "";
    QTest::newRow("history words, not a file") << QStringList{"vanu", "--history", "a.set", "b"}
                                               << int(CommandLine::Action::History) << "" << "";
    QTest::newRow("Qt's own option") << QStringList{"vanu", "-platform", "offscreen", "a.set"} << run << "a.set"
                                     << "";
}

void TestDesktop::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, setupFile);
    QFETCH(QString, textStart);
    const CommandLine line = ReadCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.setupFile, setupFile);
    QVERIFY2(textStart.isEmpty() ? line.text.isEmpty() : line.text.startsWith(textStart), qPrintable(line.text));
}

void TestDesktop::platform_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QByteArray>("chosen");
    QTest::newRow("Wayland with XWayland") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
                                           << QByteArray("xcb");
    QTest::newRow("Wayland session type") << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"}
                                          << QByteArray("xcb");
    QTest::newRow("Wayland alone") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << QByteArray();
    QTest::newRow("the user's choice") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
                                       << QByteArray();
    QTest::newRow("X11") << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"} << QByteArray();
}

void TestDesktop::platform()
{
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, chosen);
    QCOMPARE(ChosenPlatform(EnvironmentOf(variables)), chosen);
}

void TestDesktop::displayAvailable_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<bool>("available");
    QTest::newRow("no display at all") << QStringList{} << false;
    QTest::newRow("a platform chosen") << QStringList{"QT_QPA_PLATFORM=offscreen"} << true;
    QTest::newRow("a Wayland display") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << true;
    QTest::newRow("an X display that does not answer") << QStringList{"DISPLAY=:9999"} << false;
    QTest::newRow("xcb chosen, no X display") << QStringList{"QT_QPA_PLATFORM=xcb"} << false;
}

void TestDesktop::displayAvailable()
{
    QFETCH(QStringList, variables);
    QFETCH(bool, available);
    QCOMPARE(DisplayAvailable(EnvironmentOf(variables)), available);
}

// One line of its own, and an exit code, instead of Qt's abort and its core.
void TestDesktop::withoutADisplayTheProgramSaysSo()
{
    QProcess vanu;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(display));
    vanu.setProcessEnvironment(environment);
    vanu.start(QStringLiteral(VANU_BINARY), QStringList{});
    QVERIFY(vanu.waitForFinished(10000));
    QCOMPARE(vanu.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vanu.exitCode(), 1);
    QCOMPARE(vanu.readAllStandardError(),
             QByteArray("Vanu is a desktop program: start it in a desktop session (no display was found).\n"));
}

void TestDesktop::folderChoice_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("usersOwn");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("use"); // the folder's files kept beside, only read, or neither
    QTest::newRow("the user's, only the user writes") << 0755 << true << false << "beside";
    QTest::newRow("the user's, read-only") << 0555 << true << false << "read";
    QTest::newRow("the user's, its group writes") << 0775 << true << false << "neither";
    QTest::newRow("the user's, anyone writes") << 0777 << true << false << "neither";
    QTest::newRow("another's, anyone writes, sticky") << 01777 << false << false << "neither";
    QTest::newRow("another's, only they write") << 0755 << false << false << "read";
    QTest::newRow("installed, the user's") << 0755 << true << true << "read";
}

// A copy keeps its files beside itself only when it is no installed copy and
// its folder is the user's, which no one else can write; otherwise they go to
// the user's folders, and its own folder is still read, unless others can
// write it.
void TestDesktop::folderChoice()
{
    QFETCH(int, mode);
    QFETCH(bool, usersOwn);
    QFETCH(bool, installed);
    QFETCH(QString, use);
    if (!usersOwn && geteuid() != 0)
        QSKIP("a folder of another user's is made by root");
    QTemporaryDir root;
    const QString program = QDir(root.path()).filePath("prefix/bin");
    const QString config = QDir(root.path()).filePath("config/Vanu");
    const QString data = QDir(root.path()).filePath("data/Vanu");
    QVERIFY(QDir().mkpath(program));
    if (installed) {
        QVERIFY(QDir().mkpath(QDir(root.path()).filePath("prefix/share/applications")));
        QFile entry(QDir(root.path()).filePath("prefix/share/applications/" + ApplicationId() + ".desktop"));
        QVERIFY(entry.open(QIODevice::WriteOnly));
    }
    constexpr uid_t kNobody = 65534;
    QVERIFY(chown(QFile::encodeName(program).constData(), usersOwn ? geteuid() : kNobody, getegid()) == 0);
    QVERIFY(chmod(QFile::encodeName(program).constData(), mode_t(mode)) == 0);
    const ProgramFolders folders = ChooseFolders(program, config, data);
    QCOMPARE(folders.settings, use == "beside" ? program : config);
    QCOMPARE(folders.transcripts, use == "beside" ? program : data);
    QCOMPARE(folders.readOnly, use == "read" ? program : QString());
    QVERIFY(QFileInfo(folders.settings).isDir() && QFileInfo(folders.transcripts).isDir());
    QCOMPARE(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestDesktop::aSecondStartHandsOverToTheFirst_data()
{
    QTest::addColumn<QString>("secondFolder");
    QTest::addColumn<bool>("handsOver");
    QTest::newRow("same program folder") << "first" << true;
    QTest::newRow("another program folder") << "other" << false;
}

// A second start from the first copy's folder hands it the setup file it was
// given, made absolute, and ends; one from another folder is a copy of its own.
void TestDesktop::aSecondStartHandsOverToTheFirst()
{
    QFETCH(QString, secondFolder);
    QFETCH(bool, handsOver);
    const PrivateBus bus;
    if (!bus.IsUp())
        QSKIP("no dbus-daemon here (scripts/deps installs it)");
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("first"))
            && QDir(folders.path()).mkpath(QStringLiteral("other")));
    RunningCopy first(bus.Connect(QStringLiteral("first") + secondFolder), ApplicationId(),
                      folders.filePath(QStringLiteral("first")));
    QVERIFY(first.Claim(QString()));
    QSignalSpy activated(&first, &RunningCopy::activated);

    // The second start waits for the first's answer, which this thread gives.
    const QDBusConnection secondBus = bus.Connect(QStringLiteral("second") + secondFolder);
    std::atomic<int> goesOn = -1;
    std::thread second([&] {
        RunningCopy copy(secondBus, ApplicationId(), folders.filePath(secondFolder));
        goesOn = copy.Claim(QStringLiteral("mailed.set"));
    });
    QTRY_VERIFY(goesOn != -1);
    second.join();
    QCOMPARE(goesOn == 0, handsOver);
    if (handsOver) {
        QTRY_COMPARE(activated.count(), 1);
        QCOMPARE(activated.constFirst().constFirst().toString(),
                 QDir::current().absoluteFilePath(QStringLiteral("mailed.set")));
    } else {
        QTest::qWait(100);
        QCOMPARE(activated.count(), 0);
    }
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
