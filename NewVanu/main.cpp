#include "CanberraSound.h"
#include "Cp1251CodePage.h"
#include "DesktopShell.h"
#include "ProgramLook.h"
#include "QtPrompts.h"
#include "QtTrayHost.h"
#include "TForm4.h"
#include "VanuProgram.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vanu"));
    // Closing the main window hides it; only the exit flow ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(VanuProgram::ProgramIcon());
    UseProgramLook();

    QtPrompts prompts(QStringLiteral("Vanu"));
    CanberraSound sound;
    DesktopShell shell;
    Cp1251CodePage codePage;
    QtTrayHost trayHost;
    const VanuProgram::Folders folders = VanuProgram::DefaultFolders();
    VanuProgram program(folders.writable, {prompts, sound, shell, codePage, trayHost}, folders.readOnly);
    QObject::connect(program.windows.Form4, &TForm4::applicationEnds, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    program.Start();
    return QApplication::exec();
}
