#include "TForm4.h"

#include "ChatPane.h"
#include "CodePage.h"
#include "LocalAddress.h"
#include "Prompts.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "TAboutBox.h"
#include "TForm8.h"
#include "THelpBox.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TTrayIcon.h"
#include "TfFriends.h"
#include "UserPreferences.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace {

// The end of the user's move or resize of the window: this long without another.
constexpr int kMoveEndsAfterMs = 250;

} // namespace

TForm4::TForm4(ProgramWindows &windows, const DesktopSeams &seams, const QString &programFolder,
               const QIcon &programIcon, const ChatTuning &tuning)
    : windows(windows), seams(seams), programFolder(programFolder), programIcon(programIcon), tuning(tuning)
{
    windows.Form4 = this;
    setWindowTitle(QStringLiteral("Vanu 3.1"));
    setWindowIcon(programIcon);
    createChatView();
    createMenus();
    createTrayMenu();
    createSockets();
    createTray();

    // What the window does as it is created, in this order.
    resize(435, 283 + menuBar()->sizeHint().height());
    UserClosed = false;
    Edit1->setEnabled(false);
    TCPClient1->Port = QString::number(PortNumber());
    TCPServer1->Port = QString::number(PortNumber());
    FriendsDocked = true;
    Trying = false;
    TrayIcon1->SetIcon(windowIcon());
    wireServerEvents();
    writeBanner();
    wireClientEvents();

    moveEnd.setSingleShot(true);
    moveEnd.setInterval(kMoveEndsAfterMs);
    connect(&moveEnd, &QTimer::timeout, this, [this] { Guarded([this] { MoveOrResizeEnded(); }); });
}

TForm4::~TForm4()
{
    // Every guest still connected hears that the host is going.
    hostSession->GoingDown();
    delete TCPClient1;
    TCPClient1 = nullptr;
    delete TCPServer1;
    TCPServer1 = nullptr;
    windows.Form4 = nullptr;
}

void TForm4::Guarded(const std::function<void()> &handler)
{
    // An error that a handler does not catch ends the handler and is shown.
    try {
        handler();
    } catch (const ERuntimeError &error) {
        seams.prompts.ShowError(error.Message());
    }
}

void TForm4::createChatView()
{
    auto *pane = new ChatPane(kMaxChatLines, this);
    RichEdit1 = pane->view;
    findBar = pane->findBar;
    chatLog = pane->log;
    CoolBar1 = pane->band;
    Edit1 = pane->input;
    Edit1->installEventFilter(this);
    setCentralWidget(pane);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StatusBar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { StatusBarMenu(StatusBar1->mapToGlobal(at)); });
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setAccessibleDescription(tr("Status")); // its name is the status text itself
    StatusBar1->addWidget(StatusPanel, 1);
    setStatusBar(StatusBar1);
}

QAction *TForm4::AddItem(QMenu *menu, const QString &caption, void (TForm4::*handler)(), bool checkable)
{
    QAction *item = menu->addAction(caption);
    item->setCheckable(checkable);
    connect(item, &QAction::triggered, this, [this, item, handler, checkable] {
        // The handlers set the check marks themselves, as the chat's state says.
        if (checkable)
            item->setChecked(!item->isChecked());
        Guarded([this, handler] { (this->*handler)(); });
    });
    return item;
}

void TForm4::createMenus()
{
    QMenu *chat = chatMenu = menuBar()->addMenu(tr("&Chat"));
    ImServer1 = AddItem(chat, tr("I'm &Host"), &TForm4::ImServer1Click, true);
    ImClient1 = AddItem(chat, tr("I'm  &Guest"), &TForm4::ImClient1Click, true);
    chat->addSeparator();
    Save1 = AddItem(chat, tr("&Save Chat"), &TForm4::Save1Click);
    SaveAs1 = AddItem(chat, tr("Save  &As..."), &TForm4::SaveAs1Click);
    chat->addSeparator();
    Setup1 = AddItem(chat, tr("Se&tup"), &TForm4::Setup1Click);
    chat->addSeparator();
    CloseChat2 = AddItem(chat, tr("Cl&ose Chat"), &TForm4::CloseChat2Click);
    chat->addSeparator();
    CloseForm1 = AddItem(chat, tr("C&lose"), &TForm4::CloseForm1Click);
    Exit1 = AddItem(chat, tr("&Exit"), &TForm4::Exit1Click);

    couponMenu = menuBar()->addMenu(tr("C&oupon"));
    Inf1 = AddItem(couponMenu, tr("&Friends"), &TForm4::Inf1Click, true);
    Quiet1 = AddItem(couponMenu, tr("&Quiet"), &TForm4::Quiet1Click, true);
    reconnectSwitch = couponMenu->addAction(tr("&Reconnect"));
    KeepSwitchInPreferences(*reconnectSwitch, QStringLiteral("reconnect"), true);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    Help1 = AddItem(help, tr("&About"), &TForm4::Help1Click);
    Help2 = AddItem(help, tr("&Contents"), &TForm4::Help2Click);
}

void TForm4::createTrayMenu()
{
    PopupMenu1 = new QMenu(this);
    Open1 = AddItem(PopupMenu1, tr("Open"), &TForm4::Open1Click);
    Imbusy1 = AddItem(PopupMenu1, tr("I'm busy"), &TForm4::Imbusy1Click, true);
    Imbusy1->setVisible(false);
    // The tray menu's one command that no menu of the window has: Ctrl+B
    // reaches it from the keyboard while hosting.
    Imbusy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    addAction(Imbusy1);

    About1 = AddItem(PopupMenu1, tr("About"), &TForm4::About1Click);
    N4 = PopupMenu1->addSeparator();
    Down1 = AddItem(PopupMenu1, tr("Close"), &TForm4::Down1Click);
    Trying1 = PopupMenu1->addAction(tr("Trying ..."));
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { Guarded([this] { PopupMenu1Popup(); }); });
}

void TForm4::createSockets()
{
    TCPServer1 = new TTCPServer(nullptr);
    TCPClient1 = new TTCPClient(nullptr);
    for (TCustomWSocket *sockets : {static_cast<TCustomWSocket *>(TCPServer1), static_cast<TCustomWSocket *>(TCPClient1)})
        sockets->UseDeadLinkTimes(DeadLinkTimes::WithIdle(tuning.keepaliveIdleSeconds));
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    connect(Timer2, &QTimer::timeout, this, [this] { Guarded([this] { Timer2Timer(); }); });
}

void TForm4::createTray()
{
    TrayIcon1 = new TTrayIcon(this, seams.trayHost);
    TrayIcon1->SetActive(true);
    TrayIcon1->SetShowApp(false);
    TrayIcon1->SetToolTip(QStringLiteral("Vanu"));
    TrayIcon1->OnDblClick = [this](QObject *) { Guarded([this] { TrayIcon1DblClick(); }); };
    TrayIcon1->PopupMenu = PopupMenu1;
    TrayIcon1->AfterLoad();
}

void TForm4::writeBanner()
{
    AddChatLine(tr(" Vanu Server&Client  by the Vanu developers, 2026"));
    AddChatLine(tr(" WinSocket Version: ") + TCPServer1->Version());
    AddChatLine(tr(" Description: ") + TCPServer1->Description());
    AddChatLine(tr(" SystemStatus: ") + TCPServer1->SystemStatus());
    AddChatLine(QString());
    AddChatLine(tr(" Local Host Name: ") + TCPServer1->LocalHostName());
    AddChatLine(tr(" Local Host Address: ") + LocalAddress());
    AddChatLine(QString());
}

QByteArray TForm4::Bytes(const QString &text) const
{
    return seams.codePage.FromUnicode(text);
}

int TForm4::PortNumber() const
{
    return windows.Form8 ? windows.Form8->PortNumber() : SetupSettings::kDefaultPort;
}

QString TForm4::StatusText() const
{
    return StatusPanel->text();
}

void TForm4::SetStatusText(const QString &text)
{
    StatusPanel->setText(text);
    emit statusChanged(text);
}

QIcon TForm4::HostIcon() const
{
    return windows.HelpBox ? windows.HelpBox->windowIcon() : programIcon;
}

QIcon TForm4::BusyIcon() const
{
    return windows.AboutBox ? windows.AboutBox->windowIcon() : programIcon;
}

QIcon TForm4::GuestIcon() const
{
    return windows.Form8 ? windows.Form8->windowIcon() : programIcon;
}

void TForm4::ShowState(const QIcon &windowIcon, const QIcon &trayIcon, const QString &toolTip)
{
    setWindowIcon(windowIcon);
    TrayIcon1->SetIcon(trayIcon);
    TrayIcon1->SetToolTip(toolTip);
}

void TForm4::Setup1Click()
{
    if (Trying && !seams.prompts.Confirm(tr("Do you want to stop tray?")))
        return;
    Trying = false; // only the flag: an attempt under way goes on
    windows.Form8->exec();
}

bool TForm4::ChatIsOpen() const
{
    return TCPServer1->State() == wsListening || TCPClient1->State() == wsConnected;
}

void TForm4::CloseChat2Click()
{
    if (ChatIsOpen() && !seams.prompts.Confirm(tr("Close the Chat?")))
        return;
    Trying = false;
    UserClosed = true;
    Timer2->stop(); // no more attempts to listen once host mode is left
    StopGuestAttempts();
    Imbusy1->setChecked(false);
    Imbusy1->setVisible(false);
    ShowState(programIcon, programIcon, QStringLiteral("Vanu"));
    setWindowTitle(QStringLiteral("Vanu"));
    CloseHost();
    TCPClient1->Close();
    if (windows.Form8)
        windows.Form8->eName->setReadOnly(false);
    ImClient1->setChecked(false);
    ImServer1->setChecked(false);
    TCPClient1->Port = QString::number(PortNumber());
    TCPServer1->Port = QString::number(PortNumber());
    SetStatusText(QString());
    Edit1->setEnabled(false);
    if (windows.fFriends)
        ClearParticipants();
}

void TForm4::CloseForm1Click()
{
    close();
}

void TForm4::Exit1Click()
{
    ExitFlow();
}

void TForm4::Down1Click()
{
    ExitFlow();
}

void TForm4::ExitFlow()
{
    if (Trying)
        return;
    if (ChatIsOpen() && !seams.prompts.Confirm(tr("Close the Chat?")))
        return;
    if (isVisible())
        close(); // hides it
    Exiting = true;
    close(); // ends the program
    Exiting = false;
}

bool TForm4::FormCloseQuery()
{
    if (!Trying)
        return true;
    if (seams.prompts.Confirm(tr("Do you want to stop tray?"))) {
        // This close is refused; the chat ends and the program with it, once
        // the close in progress has been turned down.
        QMetaObject::invokeMethod(
            this,
            [this] {
                Guarded([this] {
                    CloseChat2Click();
                    ExitFlow();
                });
            },
            Qt::QueuedConnection);
    }
    return false;
}

void TForm4::FormClose()
{
    if (Exiting) {
        emit applicationEnds();
        return;
    }
    // Without a tray a hidden window could not be brought back: minimise it.
    if (TrayIcon1->TrayAvailable())
        hide();
    else
        showMinimized();
}

void TForm4::closeEvent(QCloseEvent *event)
{
    const bool ending = Exiting;
    bool mayClose = false;
    Guarded([&] {
        mayClose = FormCloseQuery();
        if (mayClose)
            FormClose();
    });
    if (mayClose && ending)
        event->accept();
    else
        event->ignore();
}

void TForm4::Help1Click()
{
    windows.AboutBox->exec();
}

void TForm4::Help2Click()
{
    windows.HelpBox->exec();
}

void TForm4::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    // Into the tray: the friends window goes with the main window.
    if (!event->spontaneous() && windows.fFriends && Inf1->isChecked())
        windows.fFriends->hide();
}

void TForm4::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && windows.fFriends && Inf1->isChecked() && !windows.fFriends->isVisible())
        ShowFriendsWindow();
    if (centredOnce)
        return;
    centredOnce = true;
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    placedFrame = frameGeometry();
}

void TForm4::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (isVisible())
        moveEnd.start();
}

void TForm4::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible())
        moveEnd.start();
}
