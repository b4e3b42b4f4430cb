#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QTimer>
#include <QWidget>

class QListWidget;
class QMenu;
class QAction;

// The narrow "Friends" tool window with the list of who is in the chat. It
// docks at the main window's right edge and follows it; dragged away it is
// free, and dropped within 10 pixels of that edge (its top level with the main
// window's top, also within 10 pixels) it docks again. Docked, it stays on top
// of other programs' windows, but never of the program's own: while one of
// them is open (a dialog, Help, History), it gives way.
class TfFriends : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 86;
    static constexpr int kSnapDistance = 10;
    // The user's move or resize counts as ended after this long without another.
    static constexpr int kMoveEndsAfterMs = 250;
    // The window manager places a window as it maps it, and on a loaded
    // machine it may do so after the program has: for this long after a
    // show, a move the program did not ask for is the window manager's, and
    // a docked window is docked again rather than set free.
    static constexpr int kWindowManagerSettlesMs = 3000;

    // The main window, and its flag that says the friends window is docked.
    TfFriends(QWidget &mainWindow, bool &friendsDocked, const QIcon &programIcon);

    QWidget *Panel2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QWidget *Panel1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Chat1 = nullptr;
    QAction *ifo1 = nullptr;

    // The lines of the list, top to bottom.
    QStringList Lines() const;

    // Runs when the user has finished moving or resizing this window.
    void WMExitSizeMove();
    // The main window's side: when it has been moved or resized while the
    // friends window is docked, the friends window goes to its edge and on top.
    void FollowMainWindow();
    // Puts the window at the main window's right edge, with its top and height.
    void PlaceAtMainWindow();
    bool StaysOnTop() const;
    // Whether the platform lets the program place its windows. Wayland does
    // not: there the friends window is an ordinary window, never docked.
    static bool WindowsCanBePlaced();

signals:
    // "Open" and "About" from the list's pop-up menu.
    void openRequested();
    void aboutRequested();
    // The window's own close button hid it.
    void closedByUser();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Watches the program's windows come and go.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetStaysOnTop(bool onTop);
    // Stays on top only while none of the program's other windows is open;
    // the window's own flag is left as the docking made it.
    void GiveWayToOwnWindows();
    bool OwnWindowOpen() const;
    void PlaceFrame(const QRect &frame);
    void MoveOrResizeEnded();
    // The window manager has told the window's frame, and the main window's:
    // until then, a frame is taken to be nothing.
    bool FramesKnown() const;
    // The first placement after a show, once both frames are known.
    void PlaceOnceFramed();

    QWidget &mainWindow;
    bool &FriendsDocked;
    QTimer moveEnd;
    // The frame this window was last given by the program, so that the
    // program's own moves are not taken for the user's.
    QRect programmedFrame;
    bool placeOnceFramed = false;
    // The main window's frame changes no geometry of this window when it
    // comes: it is looked for while the window manager settles.
    QTimer framesLookedFor;
    QElapsedTimer shown;
};
