#include "GuestMode.h"

#include "ChatText.h"
#include "DesktopSeams.h"
#include "GuestSession.h"
#include "ModeLook.h"
#include "ProgramWindows.h"
#include "Prompts.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "TForm4.h"
#include "TForm8.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TfFriends.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTime>

GuestMode::GuestMode(TForm4 &window, const ProgramWindows &windows, const DesktopSeams &seams, TTCPClient &client)
    : QObject(&window), window(window), windows(windows), seams(seams), client(client),
      guestSession(new GuestSession(client, seams.codePage, [&windows] { return windows.Form8->Nickname(); }, this))
{
    wireSession();
}

void GuestMode::wireSession()
{
    connect(guestSession, &GuestSession::participantsListed, this, [this](const QStringList &names) {
        window.participantList()->clear();
        window.participantList()->addItems(names);
    });
    connect(guestSession, &GuestSession::participantsChanged, &window, &TForm4::playArrivalSound);
    connect(guestSession, &GuestSession::linkBroken, this,
            [this] { window.guarded([this] { window.TCPClient1Close(client.SocketHandle()); }); });
    connect(guestSession, &GuestSession::reconnectDue, this, [this] { window.guarded([this] { reconnectToHost(); }); });
    connect(guestSession, &GuestSession::reconnectAttemptExpired, this, [this] {
        if (client.State() == wsConnecting)
            window.guarded([this] { scheduleReconnect(); });
    });
    connect(guestSession, &GuestSession::nextRoundDue, this, [this] {
        if (!window.UserClosed && window.ImClient1->isChecked() && client.State() == wsClosed)
            window.guarded([this] { window.ConnectToHost(); });
    });
}

bool GuestMode::attemptUnderWay() const
{
    return client.State() != wsClosed || guestSession->isWaitingToConnect();
}

QString GuestMode::tryingStatus() const
{
    return tr("Trying to connect to %1 of port %2").arg(windows.Form8->HostAddress(), client.Port);
}

void GuestMode::stopAttempts()
{
    window.Timer1->stop(); // a registration due for a connection that is going
    guestSession->stop(); // and the walk's pause, or an attempt to connect again that was due
}

void GuestMode::scheduleReconnect()
{
    client.Close();
    window.Trying = false;
    window.ImClient1->setChecked(false);
    guestSession->scheduleReconnect();
}

void GuestMode::reconnectToHost()
{
    if (window.UserClosed)
        return;
    guestSession->reconnectAttemptBegins();
    window.Trying = true;
    window.ImClient1->setChecked(true);
    window.modeLook().showGuest();
    window.ConnectToHost(); // on the port the chat was on
}

void GuestMode::join()
{
    guestSession->forgetOtherName();
    joinHost();
}

void GuestMode::offerAnotherName()
{
    const QString taken = guestSession->nickname();
    const QString other = guestSession->otherName();
    // Asked once the close has been handled, not inside it.
    QTimer::singleShot(0, this, [this, taken, other] {
        window.guarded([&] {
            if (!seams.prompts.Confirm(tr("The name %1 is taken in this chat. Join it as %2?").arg(taken, other)))
                return;
            guestSession->takeOtherName(other); // for this chat only: the setup keeps the user's own
            joinHost();
        });
    });
}

void GuestMode::joinHost()
{
    TForm8 &setup = *windows.Form8;
    if (setup.HostAddress().isEmpty() || setup.Nickname().isEmpty())
        setup.exec();
    if (window.ImClient1->isChecked())
        return;
    if (window.TCPServer1->State() == wsListening
        && !seams.prompts.Confirm(tr("Do you really want to close Conection?")))
        return;
    if (setup.HostAddress().isEmpty()) {
        seams.prompts.ShowMessage(tr("You needet to accept Host"));
        return;
    }
    window.Trying = true;
    window.UserClosed = true;
    stopAttempts(); // and an attempt to connect again that was due
    window.leaveHostMode();
    window.Imbusy1->setVisible(false);
    window.Imbusy1->setChecked(false);
    window.modeLook().showGuest();
    window.UserClosed = false;
    client.Port = QString::number(window.PortNumber());
    window.Edit1->setEnabled(false);
    window.setStatusText(QString());
    setup.eName->setReadOnly(false);
    window.ImClient1->setChecked(true);
    window.ImServer1->setChecked(false);
    window.ConnectToHost();
}

void GuestMode::connectToHost()
{
    TForm8 &setup = *windows.Form8;
    client.Host = setup.HostAddress();
    window.setStatusText(tryingStatus());
    client.Open();
    if (client.State() != wsConnecting)
        return;
    window.enableInput(true);
    setup.eName->setReadOnly(true);
    window.setWindowTitle(tr("%1 is Guest to %2").arg(guestSession->nickname(), setup.HostAddress()));
    window.Edit1->setFocus();
}

void GuestMode::socketError(int error, const QString &text)
{
    if (guestSession->isReconnecting()) {
        // No box and no walk through the ports: the host is away for now.
        if (!window.UserClosed)
            scheduleReconnect();
        return;
    }
    if (error != SocketError::ConnectionRefused) {
        seams.prompts.ShowError(ShownErrorText(text));
        return;
    }
    const int firstPort = window.PortNumber();
    int port = StrToInt(client.Port);
    if (port > firstPort + TForm4::PortRange)
        port = firstPort - 1;
    window.setStatusText(QString());
    client.Close();
    if (window.UserClosed)
        return;
    client.Port = QString::number(port + 1);
    // The guests look one port further than a host goes, then start again.
    if (port + 1 == firstPort) {
        window.setStatusText(tryingStatus()); // the port the walk goes on with
        guestSession->pauseBeforeNextRound();
    } else {
        window.ConnectToHost();
    }
}

void GuestMode::connected()
{
    window.Trying = false;
    if (guestSession->connected()) {
        // The chat goes on where it was; the registration follows as at the
        // start. The history keeps what follows as a chat of its own: the
        // one before ended with the lost link.
        window.AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" : Connected to the host again."),
                           ShownText::Kind::Start);
    } else {
        window.clearChatView();
        window.appendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Guest."),
                               ShownText::Kind::Start);
        window.bringForward();
    }
    window.setStatusText(tr("Connected on local port %1").arg(client.GetLocalPort(client.SocketHandle())));
    window.Timer1->start();
}

void GuestMode::registerName()
{
    guestSession->registerName();
    window.Timer1->stop();
}

void GuestMode::closed()
{
    // A link that was lost, not closed by the host, is taken up again.
    const bool lost = client.CloseError() != 0;
    const bool nameTaken = guestSession->ended(); // what came before the close is shown first
    client.Close();
    stopAttempts(); // no registration for a connection that has ended
    window.Edit1->setEnabled(false);
    window.ImClient1->setChecked(false);
    window.modeLook().showClosed();
    window.AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" :Door closed by Host."), ShownText::Kind::End);
    if (const int error = client.CloseError())
        window.setStatusText(tr("Connection to the host was lost: %1").arg(ShownSocketError(error)));
    else
        window.setStatusText(tr("Connection closed by Server!"));
    window.participantList()->clear();
    emit window.hostLinkEnded(window.statusText());
    const bool reconnects = window.reconnectSwitch->isChecked();
    if (nameTaken) {
        // Back after a lost link, the name is still the old connection's
        // until the host finds that one dead: try again a little later.
        if (guestSession->hasRejoined() && reconnects)
            scheduleReconnect();
        else
            offerAnotherName();
    } else if (lost && reconnects && !window.UserClosed) {
        scheduleReconnect();
    }
}
