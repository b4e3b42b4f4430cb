// Host mode: listening, admitting and refusing guests, relaying their lines
// and keeping the participant list.
#include "TForm4.h"

#include "AddressFilter.h"
#include "ChatText.h"
#include "CodePage.h"
#include "LocalAddress.h"
#include "Prompts.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "Sound.h"
#include "TForm8.h"
#include "TTCPClient.h"
#include "TTCPServer.h"
#include "TTrayIcon.h"
#include "TfFriends.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QTime>

#include <algorithm>
#include <utility>

namespace {

constexpr int kListenRetryMs = 20;

} // namespace

QListWidget *TForm4::participantList() const
{
    return windows.fFriends->ListBox1;
}

void TForm4::clearParticipants()
{
    participantList()->clear();
    hostSession->clear();
}

void TForm4::wireServerEvents()
{
    HostSession::Setup setup;
    setup.nickname = [this] { return windows.Form8->Nickname(); };
    setup.busy = [this] { return Imbusy1->isChecked(); };
    setup.admits = [this](const QString &address) {
        return AdmitGuest(windows.Form8->FilterLines(), windows.Form8->FilterMode(), address);
    };
    hostSession = new HostSession(*TCPServer1, seams.codePage, tuning.pace(), std::move(setup), this);
    showSession(hostSession);
    connect(hostSession, &HostSession::participantNamed, this, [this](int row, const QString &name, bool added) {
        if (added)
            participantList()->addItem(name);
        else
            participantList()->item(row)->setText(name);
    });
    connect(hostSession, &HostSession::comeForward, this, [this] {
        bringForward();
        playArrivalSound();
    });
    connect(hostSession, &HostSession::guestAdmitted, this,
            [this](const QString &address, const QString &port, int guests) {
                setStatusText(tr("%n Friend(s) available", nullptr, guests));
                enableInput(true);
                emit guestAdmitted(address, port);
            });
    connect(hostSession, &HostSession::guestCountChanged, this, [this](int guests) {
        setStatusText(tr("%n Client(s) connected", nullptr, guests));
        enableInput(guests > 0);
    });
    TCPServer1->OnError = [this](TCustomWSocket *, int error, const QString &text) {
        guarded([&] { TCPServer1Error(error, text); });
    };
    TCPServer1->OnAccept = [this](TCustomWSocket *, int socket) { guarded([&] { TCPServer1Accept(socket); }); };
    TCPServer1->OnData = [this](TCustomWSocket *, int socket) { guarded([&] { TCPServer1Data(socket); }); };
    TCPServer1->OnClose = [this](TCustomWSocket *, int socket) { guarded([&] { TCPServer1Close(socket); }); };
    TCPServer1->OnDrained = [this](TCustomWSocket *, int socket) { guarded([&] { hostSession->drained(socket); }); };
}

void TForm4::ImServer1Click()
{
    if (windows.Form8->Nickname().isEmpty())
        windows.Form8->exec();
    if (ImServer1->isChecked())
        return;
    if (guestAttemptUnderWay() && !seams.prompts.Confirm(tr("Do you really want to close Conection?")))
        return;
    Trying = true;
    UserClosed = true;
    stopGuestAttempts();
    guestSession->forgetOtherName();
    TCPClient1->Close();
    // The list of a chat we were a guest in is not ours to host.
    clearParticipants();
    Imbusy1->setVisible(true);
    showState(hostIcon(), hostIcon(), tr("Host"));
    windows.Form8->eName->setReadOnly(true);
    UserClosed = false;
    TCPServer1->Port = QString::number(PortNumber());
    ImClient1->setChecked(false);
    ImServer1->setChecked(true);
    Timer2->setInterval(kListenRetryMs);
    Timer2->start();
}

void TForm4::Timer2Timer()
{
    TCPServer1->Open();
    if (TCPServer1->State() != wsListening)
        return;
    Trying = false;
    ImServer1->setChecked(true);
    ImClient1->setChecked(false);
    clearChatView();
    appendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Host."), ShownText::Kind::Start);
    const QString address = LocalAddress();
    setStatusText(tr("Host: %1 Listening on port: %2").arg(address, TCPServer1->Port));
    Edit1->setEnabled(false);
    setWindowTitle(tr("%1 is Host on %2").arg(windows.Form8->Nickname(), address));
    Timer2->stop();
    // On the port actually listened on, which may be past the chosen one.
    emit hostListening(windows.Form8->Nickname(), quint16(StrToInt(TCPServer1->Port)), Imbusy1->isChecked());
}

void TForm4::closeHost()
{
    const bool wasListening = TCPServer1->State() == wsListening;
    TCPServer1->Close();
    if (wasListening)
        emit hostClosed();
}

void TForm4::TCPServer1Error(int error, const QString &text)
{
    // A guest that has gone is told of by its close notification: a text that
    // could not reach it, or reach the guest whose close is being handled, is
    // no news of its own, and the other guests still get theirs.
    if (hostSession->errorIsAGuestsGoing(error))
        return;
    const int port = StrToInt(TCPServer1->Port);
    // A failed attempt to listen ends the attempts; errors while hosting do not.
    const bool listenFailed = TCPServer1->State() != wsListening;
    if (!listenFailed && (error == SocketError::TooManyOpenFiles || error == SocketError::NoBufferSpace)) {
        hostSession->connectionsRefused(error, text);
        return;
    }
    const bool lastPort = port >= PortNumber() + PortRange;
    if (error != SocketError::AddressInUse || lastPort) {
        if (listenFailed)
            Timer2->stop(); // before the box, whose own event loop would tick it again
        seams.prompts.ShowError(ShownErrorText(text));
        return;
    }
    if (UserClosed)
        return;
    TCPServer1->Port = QString::number(port + 1);
    Timer2->setInterval(kListenRetryMs);
    Timer2->start();
}

void TForm4::TCPServer1Accept(int socket)
{
    hostSession->accept(socket);
}

void TForm4::TCPServer1Data(int socket)
{
    hostSession->read(socket);
}

void TForm4::TCPServer1Close(int socket)
{
    hostSession->closed(socket);
}

void TForm4::requireSecureGuests(bool required)
{
    hostSession->requireSecureGuests(required);
}

void TForm4::Imbusy1Click()
{
    Imbusy1->setChecked(!Imbusy1->isChecked());
    if (Imbusy1->isChecked()) {
        TrayIcon1->SetToolTip(tr("Host is busy"));
        TrayIcon1->SetIcon(busyIcon());
    } else {
        TrayIcon1->SetToolTip(tr("Host"));
        TrayIcon1->SetIcon(hostIcon());
    }
    emit busyChanged(Imbusy1->isChecked());
}
