#include "ModeLook.h"

#include "ProgramWindows.h"
#include "TAboutBox.h"
#include "TForm8.h"
#include "THelpBox.h"
#include "TTrayIcon.h"

#include <QMainWindow>

ModeLook::ModeLook(QMainWindow &window, TTrayIcon &tray, const ProgramWindows &windows, const QIcon &programIcon)
    : window(window), tray(tray), windows(windows), programIcon(programIcon)
{
}

QIcon ModeLook::hostIcon() const
{
    return windows.HelpBox ? windows.HelpBox->windowIcon() : programIcon;
}

QIcon ModeLook::busyIcon() const
{
    return windows.AboutBox ? windows.AboutBox->windowIcon() : programIcon;
}

QIcon ModeLook::guestIcon() const
{
    return windows.Form8 ? windows.Form8->windowIcon() : programIcon;
}

void ModeLook::showClosed()
{
    show(programIcon, programIcon, QStringLiteral("Vanu"));
    window.setWindowTitle(QStringLiteral("Vanu"));
}

void ModeLook::showHost()
{
    show(hostIcon(), hostIcon(), tr("Host"));
}

void ModeLook::showBusy(bool busy)
{
    tray.SetToolTip(busy ? tr("Host is busy") : tr("Host"));
    tray.SetIcon(busy ? busyIcon() : hostIcon());
}

void ModeLook::showGuest()
{
    show(guestIcon(), guestIcon(), tr("Guest"));
}

void ModeLook::show(const QIcon &windowIcon, const QIcon &trayIcon, const QString &toolTip)
{
    window.setWindowIcon(windowIcon);
    tray.SetIcon(trayIcon);
    tray.SetToolTip(toolTip);
}
