#pragma once

#include "ChatText.h"
#include "DesktopSeams.h"
#include "ProgramWindows.h"
#include "ChatTuning.h"

#include <QByteArray>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class GuestSession;
class HostSession;
class ChatFindBar;
class ChatLog;
class ChatSession;
class GuestMode;
class HostMode;
class ModeLook;
class MoveEnds;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class TCustomWSocket;
class TTCPClient;
class TTCPServer;
class TTrayIcon;
class TranscriptSaving;

// The main window: the chat pane, the menus, the tray, and the handlers of
// the host and guest modes of the chat, which hand over to HostMode and
// GuestMode; the host's and the guest's sessions (Sessions/) do the chat. Its
// implementation is split by concern:
//   TForm4.cpp          creation, closing and the exit flow
//   ChatView.cpp        what the view shows, and the transcript
//   ChatInput.cpp       the input line: Enter sends a chat line
//   ModeHandlers.cpp    the handlers of host and guest mode
//   TrayBehaviour.cpp   tray menu, quiet, friends and docking
// It tells what happens in the chat through its signals; the features beside
// the chat (notifications, announcing on the network) listen to them and are
// never called from here.
class TForm4 : public QMainWindow {
    Q_OBJECT
public:
    // Shows the window, from the tray or minimised, in front.
    void bringForward();
    static constexpr int PortRange = 23;
    static constexpr int kMaxChatLines = 1600;

    TForm4(ProgramWindows &windows, const DesktopSeams &seams, const QString &programFolder,
           const QIcon &programIcon, const ChatTuning &tuning = {});
    ~TForm4() override;

    // Program-wide values.
    bool Trying = false;
    bool UserClosed = false;
    bool FriendsDocked = true;
    bool Exiting = false;
    // The port setting: the setup dialog's once it exists, 4000 before.
    int PortNumber() const;
    // The sessions behind host mode and guest mode, for the features beside the chat.
    HostSession &hostSession() const;
    GuestSession &guestSession() const;

    // Controls and members, by the names the program has always used.
    QPlainTextEdit *RichEdit1 = nullptr;
    // Ctrl+F: finds a text in the chat view.
    ChatFindBar *findBar = nullptr;
    QWidget *CoolBar1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanel = nullptr;
    QAction *ImServer1 = nullptr;
    QAction *ImClient1 = nullptr;
    QAction *Save1 = nullptr;
    QAction *SaveAs1 = nullptr;
    QAction *Setup1 = nullptr;
    QAction *CloseChat2 = nullptr;
    QAction *CloseForm1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *Inf1 = nullptr;
    QAction *Quiet1 = nullptr;
    // After a lost link the guest connects again by itself; kept in the user's preferences.
    QAction *reconnectSwitch = nullptr;
    // The menu of Friends and Quiet, where features add their own switches.
    QMenu *chatMenu = nullptr;
    QMenu *couponMenu = nullptr;
    QAction *Help1 = nullptr;
    QAction *Help2 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Open1 = nullptr;
    QAction *Imbusy1 = nullptr;
    QAction *About1 = nullptr;
    QAction *N4 = nullptr;
    QAction *Down1 = nullptr;
    QAction *Trying1 = nullptr;
    TTCPServer *TCPServer1 = nullptr;
    TTCPClient *TCPClient1 = nullptr;
    TTrayIcon *TrayIcon1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    // The chat view and the transcript. Every text the view shows comes
    // through AddChatLine and is told by textShown.
    // A text of the program's own.
    void AddChatLine(const QString &text, ShownText::Kind kind = ShownText::Kind::Notice);
    // A text as a peer sent it in the code page, or our own chat line (not received) as it was sent.
    void AddChatLine(const QByteArray &bytes, bool received = true);
    // The same, read already: the bytes are as they came, in the link's encoding.
    void AddChatLine(const QString &text, const QByteArray &bytes, bool received);
    // The view takes new lines once a frame; these read it with every line added so far.
    int chatLineCount();
    QStringList chatLines();
    // Writes the lines that wait for the next frame into the view now.
    void showPendingChatLines();
    void clearChatView();
    void Save1Click();
    void SaveAs1Click();
    QString rememberedTranscriptPath() const;

    // Menus, closing and the exit flow.
    void Setup1Click();
    void CloseChat2Click();
    void CloseForm1Click();
    void Exit1Click();
    void Down1Click();
    bool FormCloseQuery();
    void FormClose();
    void Help1Click();
    void Help2Click();

    // Tray, busy, quiet and the friends window.
    void Open1Click();
    void TrayIcon1DblClick();
    void About1Click();
    void PopupMenu1Popup();
    void Quiet1Click();
    void Inf1Click();
    void WMExitSizeMove();
    // The friends window was closed with its own close button.
    void friendsClosed();
    // Shows the friends window, at the main window's edge when docked.
    void showFriendsWindow();

    QString statusText() const;
    void setStatusText(const QString &text);
    QIcon ProgramIcon() const { return programIcon; }
    // The icons, title and tray tip that show the chat's mode.
    ModeLook &modeLook() const { return *look; }
    // The server listens or the client is connected.
    bool chatIsOpen() const;
    // Runs a handler; an error it does not catch ends it and is shown.
    void guarded(const std::function<void()> &handler);
    // A line in the default look, with no name part: the line a chat starts with.
    void appendPlainLine(const QString &text, ShownText::Kind kind);
    // Enables or disables the input line; enabled, it takes no more than one read can carry.
    void enableInput(bool enabled);
    void playArrivalSound();
    // The friends window's list of participants.
    QListWidget *participantList() const;
    void clearParticipants();
    // Closes what the other mode had open, on the way into one mode.
    void leaveHostMode();
    void leaveGuestMode();

    // Both modes: Enter in the input line sends a chat line.
    void Edit1KeyPress();

    // Host mode.
    void ImServer1Click();
    void Timer2Timer();
    void TCPServer1Error(int error, const QString &text);
    void TCPServer1Accept(int socket);
    void TCPServer1Data(int socket);
    void TCPServer1Close(int socket);
    void Imbusy1Click();

    // Guest mode.
    void ImClient1Click();
    void ConnectToHost();
    // The nickname in this chat: the setup's, or one with a number added
    // after the host found the setup's taken.
    QString chatNickname() const;
    void TCPClient1Error(int error, const QString &text);
    void TCPClient1Connect(int socket);
    void TCPClient1Data(int socket);
    void TCPClient1Close(int socket);
    void Timer1Timer();
    // A connection attempt is under way, or the walk through the ports pauses between rounds.
    bool guestAttemptUnderWay() const;

public slots:
    // Only guests on secure connections are admitted from now on.
    void requireSecureGuests(bool required);

signals:
    // The exit flow has closed the main window: the program ends.
    void applicationEnds();

    // What happened in the chat, for the features beside it.
    // Host mode listens, on the port it took; or it was closed.
    void hostListening(const QString &nickname, quint16 port, bool busy);
    void hostClosed();
    void busyChanged(bool busy);
    void guestAdmitted(const QString &address, const QString &port);
    // The view shows a text (or will at its next frame).
    void textShown(const ShownText &text);
    // A chat line of ours went to the host, or from the host to the guests.
    void ownLineSent(const QByteArray &line);
    // The connection to the host ended; the reason as the status bar says it.
    void hostLinkEnded(const QString &reason);
    // The status bar's text changed: the chat opened or closed, or guests came or went.
    void statusChanged(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Coming back to the window, the user types into the chat: the input
    // line takes the keyboard, unless the user was in the find bar.
    void changeEvent(QEvent *event) override;
    // The friends window hides with this one and comes back with it.
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createChatView();
    void createSockets();
    void createTray();
    // The host and guest modes, and the sockets' events handed to the handlers.
    void createModes();
    // Shows what a side of the chat says: its texts, departures and faults.
    void showSession(ChatSession *session);
    void writeBanner();
    void exitFlow();
    void showText(const ShownText &shown);
    QByteArray toWire(const QString &text) const;
    void statusBarMenu(const QPoint &at);

    ProgramWindows &windows;
    DesktopSeams seams;
    QIcon programIcon;
    std::unique_ptr<TranscriptSaving> transcript;
    std::unique_ptr<ModeLook> look;
    // The user's moves and resizes of the window, which the docked friends window follows.
    MoveEnds *moveEnds = nullptr;
    GuestMode *guestMode = nullptr;
    // The chat view's lines, written into it once a frame.
    ChatLog *chatLog = nullptr;
    ChatTuning tuning;
    HostMode *hostMode = nullptr;
};
