#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;
class QWidget;
class SingleCopyMarker;
class TrayHost;
enum class TrayMouse;

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TMouseEvent =
    std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;

// One icon with a tooltip in the desktop's notification area: clicks on it
// become events, a right click opens PopupMenu at the mouse, and ShowApp
// hides or shows the owner window's task-list entry. Every property acts
// when it is set. A desktop without a tray is told to the owner through
// TrayAvailable, so that it never hides its only window with no way back.
class TTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kToolTipLength = 62;

    // The owner is the window whose task-list entry ShowApp switches.
    TTrayIcon(QWidget *owner, TrayHost &host);
    ~TTrayIcon() override;

    bool Active() const { return active; }
    void SetActive(bool value);
    // There is no form designer here: the property keeps nothing.
    bool ShowDesigning() const { return false; }
    void SetShowDesigning(bool) {}
    const QIcon &Icon() const { return icon; }
    void SetIcon(const QIcon &value);
    bool ShowApp() const { return showApp; }
    void SetShowApp(bool value);
    QString ToolTip() const { return toolTip; }
    void SetToolTip(const QString &value);
    // A line the tip shows under the one set, such as unread private messages; empty for none.
    void setTipNote(const QString &note);
    // The tip as the tray shows it.
    QString shownTip() const;

    QString IDMessage;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnRightClick;
    QPointer<QMenu> PopupMenu;

    // Runs once after the owner has set the properties: claims IDMessage, when
    // it is set, as a single-copy marker (a second copy ends at once), and
    // applies ShowApp again.
    void AfterLoad();
    // A balloon by the icon; false when there is no tray to show it.
    bool ShowBalloon(const QString &title, const QString &text);
    // How a second copy ends; the whole program by default.
    void SetEndProgram(std::function<void()> end) { endProgram = std::move(end); }

    bool TrayAvailable() const;

signals:
    void trayAvailabilityChanged(bool available);
    // A second copy with the same IDMessage has started and ended.
    void secondCopyStarted();

private:
    void AddIcon();
    void ModifyIcon();
    void DeleteIcon();
    void PopupAtCursor();
    void MouseOnIcon(TrayMouse mouse);
    void ApplyShowApp();

    QWidget *owner;
    TrayHost &host;
    QIcon icon;
    QString toolTip;
    QString tipNote;
    bool active = false;
    bool showApp = false;
    SingleCopyMarker *marker = nullptr;
    std::function<void()> endProgram;
};
