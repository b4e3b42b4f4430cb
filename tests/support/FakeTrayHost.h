#pragma once

#include "TrayHost.h"

#include <QList>
#include <QStringList>

// A notification area that counts what is asked of it, and lets a test say
// whether a tray is there and click on the icon.
class FakeTrayHost final : public TrayHost {
public:
    bool available = true;
    int adds = 0;
    int modifies = 0;
    int deletes = 0;
    QIcon icon;
    QString toolTip;
    QList<bool> taskbarEntryVisible; // every call, in order
    QStringList balloons;

    bool IsAvailable() const override { return available; }
    void Add(const QIcon &newIcon, const QString &newToolTip) override
    {
        ++adds;
        icon = newIcon;
        toolTip = newToolTip;
    }
    void Modify(const QIcon &newIcon, const QString &newToolTip) override
    {
        ++modifies;
        icon = newIcon;
        toolTip = newToolTip;
    }
    void Delete() override { ++deletes; }
    void SetTaskbarEntryVisible(QWidget *, bool visible) override { taskbarEntryVisible << visible; }
    void ShowBalloon(const QString &, const QString &text) override { balloons << text; }

    void SetAvailable(bool now)
    {
        available = now;
        if (onAvailabilityChanged)
            onAvailabilityChanged(now);
    }
    void Mouse(TrayMouse mouse)
    {
        if (onMouse)
            onMouse(mouse);
    }
};
