#pragma once

#include "ChatText.h"
#include "DesktopSeams.h"
#include "ProgramWindows.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>

#include <functional>

class ChatFindBar;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QTextCharFormat;
class QTextCursor;
class TCustomWSocket;
class TTCPClient;
class TTCPServer;
class TTrayIcon;

// The main window: the chat view, the input line, the menus, and the host and
// guest modes of the chat. Its implementation is split by concern:
//   TForm4.cpp          creation, menus, closing and the exit flow
//   ChatView.cpp        the chat view and the transcript
//   ChatInput.cpp       the input line: Enter sends a chat line
//   HostMode.cpp        host mode
//   GuestMode.cpp       guest mode
//   TrayBehaviour.cpp   tray menu, busy, quiet, friends and docking
//   Notifications.cpp   desktop notifications and their switch
class TForm4 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int PortRange = 23;
    static constexpr int kMaxChatLines = 1600;

    TForm4(ProgramWindows &windows, const DesktopSeams &seams, const QString &programFolder,
           const QIcon &programIcon);
    ~TForm4() override;

    // Program-wide values.
    bool Trying = false;
    bool UserClosed = false;
    bool FriendsDocked = true;
    bool Exiting = false;
    // The port setting: the setup dialog's once it exists, 4000 before.
    int PortNumber() const;

    // Controls and members, by the names the program has always used.
    QPlainTextEdit *RichEdit1 = nullptr;
    // Ctrl+F: finds a text in the chat view.
    ChatFindBar *FindBar1 = nullptr;
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
    QAction *Notify1 = nullptr;
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

    // The chat view and the transcript.
    void AddChatLine(const QString &text);
    void AddChatLine(const QByteArray &bytes);
    // The view takes new lines once a frame; these read it with every line added so far.
    int ChatLineCount();
    QStringList ChatLines();
    // Writes the lines that wait for the next frame into the view now.
    void ShowPendingChatLines();
    void ClearChatView();
    void Save1Click();
    void SaveAs1Click();
    QString RememberedTranscriptPath() const { return transcriptPath; }

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
    void Notify1Click();
    void Inf1Click();
    void WMExitSizeMove();
    // The friends window was closed with its own close button.
    void FriendsClosed();

    QString StatusText() const;
    void SetStatusText(const QString &text);
    QIcon ProgramIcon() const { return programIcon; }
    QIcon HostIcon() const;
    QIcon BusyIcon() const;
    QIcon GuestIcon() const;
    QString ProgramFolder() const { return programFolder; }
    // The server listens or the client is connected.
    bool ChatIsOpen() const;

    // Both modes: Enter in the input line sends a chat line.
    void Edit1KeyPress();

    // Host mode.
    void ImServer1Click();
    void Timer2Timer();
    void TCPServer1Error(int error, const QString &text);
    void TCPServer1Accept(int socket);
    void AcceptGuest(int socket);
    void RejectGuest(int socket);
    void TCPServer1Data(int socket);
    void TCPServer1Close(int socket);
    void Imbusy1Click();

    // Guest mode.
    void ImClient1Click();
    void ConnectToHost();
    void TCPClient1Error(int error, const QString &text);
    void TCPClient1Connect(int socket);
    void TCPClient1Data(int socket);
    void TCPClient1Close(int socket);
    void Timer1Timer();
    // A connection attempt is under way, or the walk through the ports pauses between rounds.
    bool GuestAttemptUnderWay() const;

signals:
    // The exit flow has closed the main window: the program ends.
    void applicationEnds();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Runs a handler; an error it does not catch ends it and is shown.
    void Guarded(const std::function<void()> &handler);
    void createChatView();
    void createMenus();
    void createTrayMenu();
    void createSockets();
    void createTray();
    void createNotifications();
    // The main window is shown, not minimised, and active.
    bool UserIsLooking() const;
    // Tells the news on the desktop while the user is not looking.
    void NotifyUser(const QString &news);
    void NotifyUser(const QByteArray &text);
    // The guest's own lines, which come back from the host and are no news.
    void RememberOwnLine(const QByteArray &line);
    bool IsOwnLineBack(const QByteArray &text);
    void wireServerEvents();
    void wireClientEvents();
    void writeBanner();
    QAction *AddItem(QMenu *menu, const QString &caption, void (TForm4::*handler)(), bool checkable = false);
    void ExitFlow();
    void QueueChatLine(ChatTextParts parts);
    void AppendChatBlock(QTextCursor &cursor, const QString &text, const QTextCharFormat &format);
    // Keeps the newest `kept` lines of the view.
    void DropOldestLines(QTextCursor &cursor, int kept);
    // A line in the default look, with no name part: the line a chat starts with.
    void AppendPlainLine(const QString &text);
    QByteArray Bytes(const QString &text) const;
    QListWidget *ParticipantList() const;
    QList<QByteArray> ParticipantEntries() const;
    void ClearParticipants();
    void SendToGuest(int socket, const QByteArray &text);
    void SendToAllGuests(const QByteArray &text);
    // Tells the network about the listening host, or brings that up to date.
    void AnnounceHost();
    void Register(int socket, const QByteArray &nickname);
    void ShowDeparture(int position);
    void PlayArrivalSound();
    void StopGuestAttempts();
    QString TryingStatus() const;
    // Handles what the host sent since the last message; cutShort: its last read filled the buffer.
    void DispatchFromHost(bool cutShort);
    // Enables or disables the input line; enabled, it takes no more than one read can carry.
    void EnableInput(bool enabled);
    bool WriteTranscript(const QString &path);
    void ShowState(const QIcon &windowIcon, const QIcon &trayIcon, const QString &toolTip);
    void BringForward();
    void StatusBarMenu(const QPoint &at);
    void MoveOrResizeEnded();

    ProgramWindows &windows;
    DesktopSeams seams;
    QString programFolder;
    QIcon programIcon;
    QString transcriptPath;
    bool chatViewEmpty = true;
    bool centredOnce = false;
    QTimer moveEnd;
    // Where the program itself last put the window.
    QRect placedFrame;
    // The walk through refused ports waits this out between two rounds.
    QTimer roundPause;
    // A read from the host that filled the buffer waits here for the rest of its text.
    QByteArray fromHost;
    QTimer restOfText;
    // The next read from the host goes on with a text that was shown in pieces.
    bool continuesText = false;
    // Lines for the chat view, written into it together once a frame: a busy
    // chat then costs one layout and one repaint a frame, not one a line.
    QList<ChatTextParts> pendingChatLines;
    int pendingChatBlocks = 0;
    QTimer chatViewFrame;
    QElapsedTimer chatViewShown;
    // For each entry of the participant list, the connection that registered it.
    QList<int> participantSockets;
    // Where each admitted guest connected from, as it was when it was accepted.
    struct GuestPeer {
        QString address;
        QString port;
    };
    QHash<int, GuestPeer> guestPeers;
    QList<QByteArray> ownLines;
    // The window has asked for attention since the user last looked.
    bool alerted = false;
    // The guest a text is being sent to, and the guest whose close is being handled; -1 for none.
    int sendingTo = -1;
    int closingGuest = -1;
};
