#include "TTrayIcon.h"

#include "SingleCopyMarker.h"
#include "TrayHost.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

#include <cstdlib>

TTrayIcon::TTrayIcon(QWidget *owner, TrayHost &host)
    : QObject(owner), owner(owner), host(host), endProgram([] { std::exit(0); })
{
    host.onMouse = [this](TrayMouse mouse) { MouseOnIcon(mouse); };
    host.onAvailabilityChanged = [this](bool available) {
        ApplyShowApp();
        emit trayAvailabilityChanged(available);
    };
    SetShowApp(false);
}

TTrayIcon::~TTrayIcon()
{
    if (active)
        DeleteIcon();
    host.onMouse = nullptr;
    host.onAvailabilityChanged = nullptr;
}

bool TTrayIcon::TrayAvailable() const
{
    return host.IsAvailable();
}

void TTrayIcon::SetActive(bool value)
{
    if (value == active)
        return;
    active = value;
    if (active)
        AddIcon();
    else
        DeleteIcon();
}

void TTrayIcon::SetIcon(const QIcon &value)
{
    if (&value == &icon)
        return;
    icon = value;
    ModifyIcon();
}

void TTrayIcon::SetToolTip(const QString &value)
{
    toolTip = value.left(kToolTipLength);
    ModifyIcon();
}

void TTrayIcon::setTipNote(const QString &note)
{
    tipNote = note;
    ModifyIcon();
}

QString TTrayIcon::shownTip() const
{
    return tipNote.isEmpty() ? toolTip : toolTip + QLatin1Char('\n') + tipNote;
}

void TTrayIcon::SetShowApp(bool value)
{
    showApp = value;
    ApplyShowApp();
}

void TTrayIcon::ApplyShowApp()
{
    // Without a tray the task list is the only way back to a hidden window.
    host.SetTaskbarEntryVisible(owner, showApp || !host.IsAvailable());
}

void TTrayIcon::AddIcon()
{
    host.Add(icon, shownTip());
    if (toolTip.isEmpty())
        QMetaObject::invokeMethod(this, [this] { SetToolTip(toolTip); }, Qt::QueuedConnection);
}

void TTrayIcon::ModifyIcon()
{
    if (active)
        host.Modify(icon, shownTip());
}

void TTrayIcon::DeleteIcon()
{
    host.Delete();
}

void TTrayIcon::MouseOnIcon(TrayMouse mouse)
{
    switch (mouse) {
    case TrayMouse::LeftUp:
        if (OnClick)
            OnClick(this);
        break;
    case TrayMouse::LeftDoubleClick:
        if (OnDblClick)
            OnDblClick(this);
        break;
    case TrayMouse::RightUp:
        PopupAtCursor();
        break;
    }
}

void TTrayIcon::PopupAtCursor()
{
    const QPoint at = QCursor::pos();
    if (PopupMenu) {
        if (owner)
            owner->activateWindow();
        QCoreApplication::processEvents();
        if (PopupMenu) // the menu's own pop-up event runs as it opens
            PopupMenu->exec(at);
    }
    if (OnRightClick)
        OnRightClick(this, Qt::RightButton, Qt::NoModifier, at.x(), at.y());
}

bool TTrayIcon::ShowBalloon(const QString &title, const QString &text)
{
    if (!active || !TrayAvailable())
        return false;
    host.ShowBalloon(title, text);
    return true;
}

void TTrayIcon::AfterLoad()
{
    if (!IDMessage.isEmpty()) {
        marker = new SingleCopyMarker(this);
        connect(marker, &SingleCopyMarker::anotherCopyStarted, this, &TTrayIcon::secondCopyStarted);
        if (!marker->Claim(IDMessage)) {
            endProgram();
            return;
        }
    }
    SetShowApp(showApp);
}
