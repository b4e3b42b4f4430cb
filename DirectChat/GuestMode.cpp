// Guest mode: finding the host's port, registering, and showing what the host sends.
#include "TForm4.h"

#include "ChatText.h"
#include "CodePage.h"
#include "Prompts.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "Sound.h"
#include "TForm8.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TfFriends.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTime>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

// A refused port leads to the next at once; after the last port of the range
// the walk waits this long before it starts again at the first, so that a
// guest with no host about does not keep the machine busy.
constexpr int kRoundPauseMs = 1000;

} // namespace

void TForm4::wireClientEvents()
{
    guestSession = new GuestSession(*TCPClient1, seams.codePage, [this] { return windows.Form8->Nickname(); }, this);
    showSession(guestSession);
    connect(guestSession, &GuestSession::participantsListed, this, [this](const QStringList &names) {
        participantList()->clear();
        participantList()->addItems(names);
    });
    connect(guestSession, &GuestSession::participantsChanged, this, &TForm4::playArrivalSound);
    connect(guestSession, &GuestSession::linkBroken, this,
            [this] { guarded([this] { TCPClient1Close(TCPClient1->SocketHandle()); }); });
    connect(guestSession, &GuestSession::reconnectDue, this, [this] { guarded([this] { reconnectToHost(); }); });
    connect(guestSession, &GuestSession::reconnectAttemptExpired, this, [this] {
        if (TCPClient1->State() == wsConnecting)
            guarded([this] { scheduleReconnect(); });
    });
    TCPClient1->OnError = [this](TCustomWSocket *, int error, const QString &text) {
        guarded([&] { TCPClient1Error(error, text); });
    };
    TCPClient1->OnConnect = [this](TCustomWSocket *, int socket) { guarded([&] { TCPClient1Connect(socket); }); };
    TCPClient1->OnData = [this](TCustomWSocket *, int socket) { guarded([&] { TCPClient1Data(socket); }); };
    TCPClient1->OnClose = [this](TCustomWSocket *, int socket) { guarded([&] { TCPClient1Close(socket); }); };
    roundPause.setSingleShot(true);
    roundPause.setInterval(kRoundPauseMs);
    connect(&roundPause, &QTimer::timeout, this, [this] {
        if (!UserClosed && ImClient1->isChecked() && TCPClient1->State() == wsClosed)
            guarded([this] { ConnectToHost(); });
    });
}

bool TForm4::guestAttemptUnderWay() const
{
    return TCPClient1->State() != wsClosed || roundPause.isActive() || guestSession->isReconnectPending();
}

QString TForm4::tryingStatus() const
{
    return tr("Trying to connect to %1 of port %2").arg(windows.Form8->HostAddress(), TCPClient1->Port);
}

void TForm4::stopGuestAttempts()
{
    roundPause.stop();
    Timer1->stop(); // a registration due for a connection that is going
    guestSession->stop();
}

void TForm4::scheduleReconnect()
{
    TCPClient1->Close();
    Trying = false;
    ImClient1->setChecked(false);
    guestSession->scheduleReconnect();
}

void TForm4::reconnectToHost()
{
    if (UserClosed)
        return;
    guestSession->reconnectAttemptBegins();
    Trying = true;
    ImClient1->setChecked(true);
    showState(guestIcon(), guestIcon(), tr("Guest"));
    ConnectToHost(); // on the port the chat was on
}

void TForm4::ImClient1Click()
{
    guestSession->forgetOtherName();
    joinHost();
}

QString TForm4::chatNickname() const
{
    return guestSession->nickname();
}

void TForm4::offerAnotherName()
{
    const QString taken = chatNickname();
    const QString other = guestSession->otherName();
    // Asked once the close has been handled, not inside it.
    QTimer::singleShot(0, this, [this, taken, other] {
        guarded([&] {
            if (!seams.prompts.Confirm(
                    tr("The name %1 is taken in this chat. Join it as %2?").arg(taken, other)))
                return;
            guestSession->takeOtherName(other); // for this chat only: the setup keeps the user's own
            joinHost();
        });
    });
}

void TForm4::joinHost()
{
    TForm8 &setup = *windows.Form8;
    if (setup.HostAddress().isEmpty() || setup.Nickname().isEmpty())
        setup.exec();
    if (ImClient1->isChecked())
        return;
    if (TCPServer1->State() == wsListening
        && !seams.prompts.Confirm(tr("Do you really want to close Conection?")))
        return;
    if (setup.HostAddress().isEmpty()) {
        seams.prompts.ShowMessage(tr("You needet to accept Host"));
        return;
    }
    Trying = true;
    UserClosed = true;
    stopGuestAttempts(); // and an attempt to connect again that was due
    Timer2->stop(); // host mode is left, and with it the attempts to listen
    closeHost();
    clearParticipants();
    Imbusy1->setVisible(false);
    Imbusy1->setChecked(false);
    showState(guestIcon(), guestIcon(), tr("Guest"));
    UserClosed = false;
    TCPClient1->Port = QString::number(PortNumber());
    Edit1->setEnabled(false);
    setStatusText(QString());
    setup.eName->setReadOnly(false);
    ImClient1->setChecked(true);
    ImServer1->setChecked(false);
    ConnectToHost();
}

void TForm4::ConnectToHost()
{
    TForm8 &setup = *windows.Form8;
    TCPClient1->Host = setup.HostAddress();
    setStatusText(tryingStatus());
    TCPClient1->Open();
    if (TCPClient1->State() != wsConnecting)
        return;
    enableInput(true);
    setup.eName->setReadOnly(true);
    setWindowTitle(tr("%1 is Guest to %2").arg(chatNickname(), setup.HostAddress()));
    Edit1->setFocus();
}

void TForm4::TCPClient1Error(int error, const QString &text)
{
    if (guestSession->isReconnecting()) {
        // No box and no walk through the ports: the host is away for now.
        if (!UserClosed)
            scheduleReconnect();
        return;
    }
    if (error != SocketError::ConnectionRefused) {
        seams.prompts.ShowError(ShownErrorText(text));
        return;
    }
    int port = StrToInt(TCPClient1->Port);
    if (port > PortNumber() + PortRange)
        port = PortNumber() - 1;
    setStatusText(QString());
    TCPClient1->Close();
    if (UserClosed)
        return;
    TCPClient1->Port = QString::number(port + 1);
    // The guests look one port further than a host goes, then start again.
    if (port + 1 == PortNumber()) {
        setStatusText(tryingStatus()); // the port the walk goes on with
        roundPause.start();
    } else {
        ConnectToHost();
    }
}

void TForm4::TCPClient1Connect(int)
{
    Trying = false;
    if (guestSession->connected()) {
        // The chat goes on where it was; the registration follows as at the start.
        AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" : Connected to the host again."));
    } else {
        clearChatView();
        appendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Guest."),
                        ShownText::Kind::Start);
        bringForward();
    }
    setStatusText(tr("Connected on local port %1").arg(TCPClient1->GetLocalPort(TCPClient1->SocketHandle())));
    Timer1->start();
}

void TForm4::Timer1Timer()
{
    guestSession->registerName();
    Timer1->stop();
}

void TForm4::TCPClient1Data(int)
{
    guestSession->read();
}

void TForm4::playArrivalSound()
{
    if (!Quiet1->isChecked())
        seams.sound.PlayMailBeep();
}

void TForm4::TCPClient1Close(int)
{
    // A link that was lost, not closed by the host, is taken up again.
    const bool lost = TCPClient1->CloseError() != 0;
    const bool nameTaken = guestSession->ended(); // what came before the close is shown first
    TCPClient1->Close();
    stopGuestAttempts(); // no registration for a connection that has ended
    Edit1->setEnabled(false);
    ImClient1->setChecked(false);
    showState(programIcon, programIcon, QStringLiteral("Vanu"));
    setWindowTitle(QStringLiteral("Vanu"));
    AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" :Door closed by Host."), ShownText::Kind::End);
    if (const int error = TCPClient1->CloseError())
        setStatusText(tr("Connection to the host was lost: %1").arg(ShownSocketError(error)));
    else
        setStatusText(tr("Connection closed by Server!"));
    participantList()->clear();
    emit hostLinkEnded(statusText());
    if (nameTaken) {
        // Back after a lost link, the name is still the old connection's
        // until the host finds that one dead: try again a little later.
        if (guestSession->hasRejoined() && reconnectSwitch->isChecked())
            scheduleReconnect();
        else
            offerAnotherName();
    } else if (lost && reconnectSwitch->isChecked() && !UserClosed) {
        scheduleReconnect();
    }
}
