// The handlers of host and guest mode: each hands over to its mode, and to
// the session that does the chat.
#include "TForm4.h"

#include "GuestMode.h"
#include "GuestSession.h"
#include "HostMode.h"
#include "HostSession.h"
#include "Sound.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TfFriends.h"

#include <QAction>
#include <QListWidget>

namespace {

// A socket's event, handed to the window's handler of it.
template <typename Handler>
auto Handing(TForm4 *window, Handler handler)
{
    return [window, handler](TCustomWSocket *, auto... values) {
        window->guarded([&] { (window->*handler)(values...); });
    };
}

} // namespace

void TForm4::createModes()
{
    hostMode = new HostMode(*this, windows, seams, *TCPServer1, tuning);
    guestMode = new GuestMode(*this, windows, seams, *TCPClient1);
    showSession(&hostMode->session());
    showSession(&guestMode->session());
    TCPServer1->OnError = Handing(this, &TForm4::TCPServer1Error);
    TCPServer1->OnAccept = Handing(this, &TForm4::TCPServer1Accept);
    TCPServer1->OnData = Handing(this, &TForm4::TCPServer1Data);
    TCPServer1->OnClose = Handing(this, &TForm4::TCPServer1Close);
    TCPServer1->OnDrained = [this](TCustomWSocket *, int socket) { guarded([&] { hostMode->session().drained(socket); }); };
    TCPClient1->OnError = Handing(this, &TForm4::TCPClient1Error);
    TCPClient1->OnConnect = Handing(this, &TForm4::TCPClient1Connect);
    TCPClient1->OnData = Handing(this, &TForm4::TCPClient1Data);
    TCPClient1->OnClose = Handing(this, &TForm4::TCPClient1Close);
}

QListWidget *TForm4::participantList() const
{
    return windows.fFriends->ListBox1;
}

void TForm4::clearParticipants()
{
    participantList()->clear();
    hostMode->session().clear();
}

void TForm4::playArrivalSound()
{
    if (!Quiet1->isChecked())
        seams.sound.PlayMailBeep();
}

void TForm4::leaveHostMode()
{
    Timer2->stop(); // host mode is left, and with it the attempts to listen
    hostMode->close();
    clearParticipants();
}

void TForm4::leaveGuestMode()
{
    guestMode->stopAttempts();
    guestMode->session().forgetOtherName();
    TCPClient1->Close();
}

HostSession &TForm4::hostSession() const
{
    return hostMode->session();
}

GuestSession &TForm4::guestSession() const
{
    return guestMode->session();
}

void TForm4::requireSecureGuests(bool required)
{
    hostMode->session().requireSecureGuests(required);
}

void TForm4::ImServer1Click()
{
    hostMode->start();
}

void TForm4::Timer2Timer()
{
    hostMode->listen();
}

void TForm4::TCPServer1Error(int error, const QString &text)
{
    hostMode->socketError(error, text);
}

void TForm4::TCPServer1Accept(int socket)
{
    hostMode->session().accept(socket);
}

void TForm4::TCPServer1Data(int socket)
{
    hostMode->session().read(socket);
}

void TForm4::TCPServer1Close(int socket)
{
    hostMode->session().closed(socket);
}

void TForm4::Imbusy1Click()
{
    hostMode->toggleBusy();
}

void TForm4::ImClient1Click()
{
    guestMode->join();
}

void TForm4::ConnectToHost()
{
    guestMode->connectToHost();
}

QString TForm4::chatNickname() const
{
    return guestMode->session().nickname();
}

bool TForm4::guestAttemptUnderWay() const
{
    return guestMode->attemptUnderWay();
}

void TForm4::TCPClient1Error(int error, const QString &text)
{
    guestMode->socketError(error, text);
}

void TForm4::TCPClient1Connect(int)
{
    guestMode->connected();
}

void TForm4::Timer1Timer()
{
    guestMode->registerName();
}

void TForm4::TCPClient1Data(int)
{
    guestMode->session().read();
}

void TForm4::TCPClient1Close(int)
{
    guestMode->closed();
}
