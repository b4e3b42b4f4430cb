#pragma once

#include <QCoreApplication>
#include <QIcon>

class QMainWindow;
class TTrayIcon;
struct ProgramWindows;

// How the window and the tray show the chat's mode: the window's icon, the
// tray's icon and its tip. Host, busy and guest each have an icon of their
// own, taken from a window of the program; with no chat open, the program's.
class ModeLook {
    Q_DECLARE_TR_FUNCTIONS(ModeLook)
public:
    ModeLook(QMainWindow &window, TTrayIcon &tray, const ProgramWindows &windows, const QIcon &programIcon);

    QIcon hostIcon() const;
    QIcon busyIcon() const;
    QIcon guestIcon() const;

    // No chat open: the program's icon and name, in the title too.
    void showClosed();
    void showHost();
    // The tray alone tells whether the host is busy.
    void showBusy(bool busy);
    void showGuest();

private:
    void show(const QIcon &windowIcon, const QIcon &trayIcon, const QString &toolTip);

    QMainWindow &window;
    TTrayIcon &tray;
    const ProgramWindows &windows;
    QIcon programIcon;
};
