#pragma once

#include "TrayHost.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

// The notification area through QSystemTrayIcon. Qt does not say when a tray
// comes or goes (a panel restarted, an extension switched on), so the host
// looks every few seconds and adds the icon again when a tray appears.
// On X11 the task-list entry is switched with _NET_WM_STATE_SKIP_TASKBAR.
class QtTrayHost final : public QObject, public TrayHost {
    Q_OBJECT
public:
    explicit QtTrayHost(QObject *parent = nullptr);

    bool IsAvailable() const override;
    void Add(const QIcon &icon, const QString &toolTip) override;
    void Modify(const QIcon &icon, const QString &toolTip) override;
    void Delete() override;
    void SetTaskbarEntryVisible(QWidget *window, bool visible) override;
    void ShowBalloon(const QString &title, const QString &text) override;

    // What Qt reports of the mouse on the icon, as a classic tray reports it:
    // the second click of a double click is released like the first.
    void Activated(QSystemTrayIcon::ActivationReason reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CheckAvailability();

    QSystemTrayIcon trayIcon;
    QTimer availabilityCheck;
    bool available = false;
    bool added = false;
    QPointer<QWidget> taskbarWindow;
    bool skipTaskbar = false;
};
