#include "CanberraSound.h"
#include "Cp1251CodePage.h"
#include "DesktopShell.h"
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
    QApplication::setStyle(QStringLiteral("Fusion")); // it honours the windows' own colours
    QApplication::setWindowIcon(VanuProgram::ProgramIcon());
    // The windows are laid out for a small sans-serif face: Arial, or its
    // metric twin Liberation Sans, 11 pixels high.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    QApplication::setFont(font);

    QtPrompts prompts(QStringLiteral("Vanu"));
    CanberraSound sound;
    DesktopShell shell;
    Cp1251CodePage codePage;
    QtTrayHost trayHost;
    VanuProgram program(VanuProgram::DefaultProgramFolder(), {prompts, sound, shell, codePage, trayHost});
    QObject::connect(program.windows.Form4, &TForm4::applicationEnds, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    program.Start();
    return QApplication::exec();
}
