#include "TForm4.h"

#include "ChatPane.h"
#include "MainMenus.h"
#include "ModeLook.h"
#include "MoveEnds.h"
#include "GuestMode.h"
#include "HostMode.h"
#include "HostSession.h"
#include "TranscriptSaving.h"
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

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>

TForm4::TForm4(ProgramWindows &windows, const DesktopSeams &seams, const QString &programFolder,
               const QIcon &programIcon, const ChatTuning &tuning)
    : windows(windows), seams(seams), programIcon(programIcon), tuning(tuning)
{
    windows.Form4 = this;
    setWindowTitle(QStringLiteral("Vanu 3.1"));
    setWindowIcon(programIcon);
    createChatView();
    transcript = std::make_unique<TranscriptSaving>(seams.prompts, seams.codePage, programFolder,
                                                     [this] { return chatLines(); });
    MainMenus::build(*this, [this](const std::function<void()> &handler) { guarded(handler); });
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
    createModes();
    writeBanner();

    moveEnds = new MoveEnds(*this, [this] { guarded([this] { WMExitSizeMove(); }); });
}

TForm4::~TForm4()
{
    // Every guest still connected hears that the host is going.
    hostMode->session().goingDown();
    delete TCPClient1;
    TCPClient1 = nullptr;
    delete TCPServer1;
    TCPServer1 = nullptr;
    windows.Form4 = nullptr;
}

void TForm4::guarded(const std::function<void()> &handler)
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
            [this](const QPoint &at) { statusBarMenu(StatusBar1->mapToGlobal(at)); });
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setAccessibleDescription(tr("Status")); // its name is the status text itself
    StatusBar1->addWidget(StatusPanel, 1);
    setStatusBar(StatusBar1);
}

void TForm4::createSockets()
{
    TCPServer1 = new TTCPServer(nullptr);
    TCPClient1 = new TTCPClient(nullptr);
    for (TCustomWSocket *sockets : {static_cast<TCustomWSocket *>(TCPServer1), static_cast<TCustomWSocket *>(TCPClient1)})
        sockets->useDeadLinkTimes(DeadLinkTimes::withIdle(tuning.keepaliveIdleSeconds));
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    connect(Timer2, &QTimer::timeout, this, [this] { guarded([this] { Timer2Timer(); }); });
}

void TForm4::createTray()
{
    TrayIcon1 = new TTrayIcon(this, seams.trayHost);
    TrayIcon1->SetActive(true);
    TrayIcon1->SetShowApp(false);
    TrayIcon1->SetToolTip(QStringLiteral("Vanu"));
    TrayIcon1->OnDblClick = [this](QObject *) { guarded([this] { TrayIcon1DblClick(); }); };
    TrayIcon1->PopupMenu = PopupMenu1;
    TrayIcon1->AfterLoad();
    look = std::make_unique<ModeLook>(*this, *TrayIcon1, windows, programIcon);
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

QByteArray TForm4::toWire(const QString &text) const
{
    return seams.codePage.fromUnicode(text);
}

int TForm4::PortNumber() const
{
    return windows.Form8 ? windows.Form8->PortNumber() : SetupSettings::kDefaultPort;
}

QString TForm4::statusText() const
{
    return StatusPanel->text();
}

void TForm4::setStatusText(const QString &text)
{
    StatusPanel->setText(text);
    emit statusChanged(text);
}

void TForm4::Setup1Click()
{
    if (Trying && !seams.prompts.Confirm(tr("Do you want to stop tray?")))
        return;
    Trying = false; // only the flag: an attempt under way goes on
    windows.Form8->exec();
}

bool TForm4::chatIsOpen() const
{
    return TCPServer1->State() == wsListening || TCPClient1->State() == wsConnected;
}

void TForm4::CloseChat2Click()
{
    if (chatIsOpen() && !seams.prompts.Confirm(tr("Close the Chat?")))
        return;
    Trying = false;
    UserClosed = true;
    Timer2->stop(); // no more attempts to listen once host mode is left
    guestMode->stopAttempts();
    Imbusy1->setChecked(false);
    Imbusy1->setVisible(false);
    look->showClosed();
    hostMode->close();
    TCPClient1->Close();
    if (windows.Form8)
        windows.Form8->eName->setReadOnly(false);
    ImClient1->setChecked(false);
    ImServer1->setChecked(false);
    TCPClient1->Port = QString::number(PortNumber());
    TCPServer1->Port = QString::number(PortNumber());
    setStatusText(QString());
    Edit1->setEnabled(false);
    if (windows.fFriends)
        clearParticipants();
}

void TForm4::CloseForm1Click()
{
    close();
}

void TForm4::Exit1Click()
{
    exitFlow();
}

void TForm4::Down1Click()
{
    exitFlow();
}

void TForm4::exitFlow()
{
    if (Trying)
        return;
    if (chatIsOpen() && !seams.prompts.Confirm(tr("Close the Chat?")))
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
                guarded([this] {
                    CloseChat2Click();
                    exitFlow();
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
    guarded([&] {
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
        showFriendsWindow();
    if (!event->spontaneous())
        moveEnds->shown();
}
