#include "ApplicationId.h"
#include "CanberraSound.h"
#include "CommandLine.h"
#include "Cp1251CodePage.h"
#include "DesktopShell.h"
#include "AvahiDiscovery.h"
#include "FreedesktopNotifier.h"
#include "HistoryPrint.h"
#include "HistoryStore.h"
#include "PlatformChoice.h"
#include "ProgramFolders.h"
#include "ProgramLook.h"
#include "QtPrompts.h"
#include "QtTrayHost.h"
#include "RunningCopy.h"
#include "TForm4.h"
#include "UserLanguage.h"
#include "VanuProgram.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>

namespace {

// Prints the help or the version, or the usage after an error; the exit code.
int Answer(const CommandLine &line)
{
    const QByteArray text = line.text.toLocal8Bit();
    std::fputs(text.constData(), line.action == CommandLine::Action::Usage ? stderr : stdout);
    return line.action == CommandLine::Action::Usage ? 2 : 0;
}

QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

// The user's own Vanu folder of settings: $XDG_CONFIG_HOME/Vanu.
QString SecureChatFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("Vanu"));
}

} // namespace

int main(int argc, char *argv[])
{
    // A write to a connection whose peer has gone must fail, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    // --help, --version, --history and an unknown option answer without a display.
    const CommandLine early = ReadCommandLine(Arguments(argc, argv));
    if (early.action != CommandLine::Action::Run) {
        const QCoreApplication withoutDisplay(argc, argv); // for the translations and the database driver
        UseUserLanguage();
        if (early.action == CommandLine::Action::History)
            return PrintHistory(early.historyWords);
        return Answer(ReadCommandLine(Arguments(argc, argv))); // read again, in the user's language
    }

    ChoosePlatform();
    if (!DisplayAvailable(QProcessEnvironment::systemEnvironment())) {
        const QCoreApplication withoutDisplay(argc, argv); // for the translations
        UseUserLanguage();
        std::fputs(QCoreApplication::translate("main", "Vanu is a desktop program: start it in a desktop session "
                                                       "(no display was found).\n")
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    UseUserLanguage();
    QApplication::setApplicationName(QStringLiteral("Vanu"));
    QApplication::setApplicationVersion(QStringLiteral(VANU_VERSION));
    QApplication::setDesktopFileName(ApplicationId());
    // Qt has taken its own options (-platform and the like) out by now.
    const CommandLine line = ReadCommandLine(QApplication::arguments());
    // A copy of this program folder runs already: it takes the setup file.
    RunningCopy running(QDBusConnection::sessionBus(), ApplicationId(), QApplication::applicationDirPath());
    if (line.sendPaths.isEmpty() ? !running.Claim(line.setupFile) : !running.ClaimToSend(line.sendPaths))
        return 0;

    // Closing the main window hides it; only the exit flow ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(VanuProgram::ProgramIcon());
    UseProgramLook();

    QtPrompts prompts(QStringLiteral("Vanu"));
    CanberraSound sound;
    DesktopShell shell;
    Cp1251CodePage codePage;
    QtTrayHost trayHost;
    FreedesktopNotifier notifier(QStringLiteral("Vanu"), ApplicationId());
    AvahiDiscovery discovery;
    VanuProgram program(DefaultFolders(), {prompts, sound, shell, codePage, trayHost},
                        {notifier, discovery, HistoryStore::DefaultPath(), SecureChatFolder()},
                        ChatTuning::fromEnvironment());
    QObject::connect(program.windows.Form4, &TForm4::applicationEnds, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    program.start();
    if (!line.setupFile.isEmpty())
        program.openSetupFile(line.setupFile);
    if (!line.sendPaths.isEmpty())
        program.sendFiles(line.sendPaths);
    QObject::connect(&running, &RunningCopy::sendRequested, &application, [&program](const QStringList &paths) {
        program.windows.Form4->bringForward();
        program.sendFiles(paths);
    });
    QObject::connect(&running, &RunningCopy::activated, &application, [&program](const QString &setupFile) {
        program.windows.Form4->bringForward();
        if (!setupFile.isEmpty())
            program.openSetupFile(setupFile);
    });
    return QApplication::exec();
}
