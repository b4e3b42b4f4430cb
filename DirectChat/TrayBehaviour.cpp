// The tray menu, quiet, the friends window and its docking.
#include "TForm4.h"

#include "TAboutBox.h"
#include "TTrayIcon.h"
#include "TfFriends.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

void TForm4::bringForward()
{
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TForm4::Open1Click()
{
    bringForward();
}

void TForm4::TrayIcon1DblClick()
{
    bringForward();
}

void TForm4::About1Click()
{
    windows.AboutBox->exec();
}

void TForm4::PopupMenu1Popup()
{
    Down1->setVisible(!Trying);
    Trying1->setVisible(Trying);
}

void TForm4::Quiet1Click()
{
    Quiet1->setChecked(!Quiet1->isChecked());
}

void TForm4::Inf1Click()
{
    Inf1->setChecked(!Inf1->isChecked());
    TfFriends *friends = windows.fFriends;
    if (!Inf1->isChecked()) {
        friends->hide();
        return;
    }
    FriendsDocked = TfFriends::WindowsCanBePlaced();
    showFriendsWindow();
}

void TForm4::showFriendsWindow()
{
    TfFriends *friends = windows.fFriends;
    if (FriendsDocked)
        friends->PlaceAtMainWindow();
    friends->show();
    // Once more, shown: and again by the window itself when its frame is known.
    if (FriendsDocked)
        friends->PlaceAtMainWindow();
}

void TForm4::friendsClosed()
{
    Inf1->setChecked(false);
}

void TForm4::statusBarMenu(const QPoint &at)
{
    // Without a tray the tray menu is reached from the status bar instead.
    if (!TrayIcon1->TrayAvailable())
        PopupMenu1->exec(at);
}

void TForm4::WMExitSizeMove()
{
    if (!FriendsDocked || !windows.fFriends)
        return;
    windows.fFriends->FollowMainWindow();
    windows.fFriends->setWindowTitle(tr("Friends"));
    QCoreApplication::processEvents();
}
