#pragma once

#include <QIcon>
#include <QString>

#include <functional>

class QWidget;

// What the tray reports of the mouse on the icon.
enum class TrayMouse { LeftUp, LeftDoubleClick, RightUp };

// The desktop's notification area, as the tray icon component uses it: one
// icon with a tooltip to add, change and remove, the mouse on it, and the
// task-list entry of a window. The real one is QSystemTrayIcon; tests count calls.
class TrayHost {
public:
    virtual ~TrayHost() = default;

    // Whether the desktop has a notification area at all just now.
    virtual bool IsAvailable() const = 0;
    virtual void Add(const QIcon &icon, const QString &toolTip) = 0;
    virtual void Modify(const QIcon &icon, const QString &toolTip) = 0;
    virtual void Delete() = 0;
    // Shows or hides the window's entry in the task list, where the desktop allows it.
    virtual void SetTaskbarEntryVisible(QWidget *window, bool visible) = 0;
    // A balloon by the icon, for news when the desktop has no notification service.
    virtual void ShowBalloon(const QString &title, const QString &text) = 0;

    std::function<void(TrayMouse)> onMouse;
    std::function<void(bool available)> onAvailabilityChanged;
};
