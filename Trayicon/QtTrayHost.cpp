#include "QtTrayHost.h"

#include "X11Taskbar.h"

#include <QEvent>
#include <QWidget>

namespace {

constexpr int kAvailabilityCheckMs = 2000;

} // namespace

QtTrayHost::QtTrayHost(QObject *parent) : QObject(parent), available(QSystemTrayIcon::isSystemTrayAvailable())
{
    connect(&trayIcon, &QSystemTrayIcon::activated, this, &QtTrayHost::Activated);
    connect(&availabilityCheck, &QTimer::timeout, this, &QtTrayHost::CheckAvailability);
    availabilityCheck.start(kAvailabilityCheckMs);
}

bool QtTrayHost::IsAvailable() const
{
    return available;
}

void QtTrayHost::Add(const QIcon &icon, const QString &toolTip)
{
    added = true;
    Modify(icon, toolTip);
}

void QtTrayHost::Modify(const QIcon &icon, const QString &toolTip)
{
    trayIcon.setIcon(icon);
    trayIcon.setToolTip(toolTip);
    // Qt shows no icon without an image: an icon added empty appears with its first image.
    if (added && !icon.isNull() && !trayIcon.isVisible())
        trayIcon.show();
}

void QtTrayHost::ShowBalloon(const QString &title, const QString &text)
{
    if (added)
        trayIcon.showMessage(title, text, QSystemTrayIcon::Information);
}

void QtTrayHost::Delete()
{
    trayIcon.hide();
    added = false;
}

void QtTrayHost::Activated(QSystemTrayIcon::ActivationReason reason)
{
    if (!onMouse)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        onMouse(TrayMouse::LeftUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        onMouse(TrayMouse::LeftDoubleClick);
        onMouse(TrayMouse::LeftUp);
        break;
    case QSystemTrayIcon::Context:
        onMouse(TrayMouse::RightUp);
        break;
    default:
        break;
    }
}

void QtTrayHost::CheckAvailability()
{
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == available)
        return;
    available = now;
    if (available && added) { // a tray that came up late gets the icon too
        trayIcon.hide();
        trayIcon.show();
    }
    if (onAvailabilityChanged)
        onAvailabilityChanged(available);
}

void QtTrayHost::SetTaskbarEntryVisible(QWidget *window, bool visible)
{
    if (taskbarWindow != window) {
        if (taskbarWindow)
            taskbarWindow->removeEventFilter(this);
        taskbarWindow = window;
        if (window)
            window->installEventFilter(this);
    }
    skipTaskbar = !visible;
    if (window)
        SetSkipTaskbar(window, skipTaskbar, window->isVisible());
}

bool QtTrayHost::eventFilter(QObject *watched, QEvent *event)
{
    // A window manager forgets the state when a window is hidden; the window
    // is not mapped yet when its show event comes, so the property is set again.
    if (watched == taskbarWindow && event->type() == QEvent::Show)
        SetSkipTaskbar(taskbarWindow, skipTaskbar, false);
    return QObject::eventFilter(watched, event);
}
