// Host mode: listening, admitting and refusing guests, relaying their lines
// and keeping the participant list.
#include "TForm4.h"

#include "AddressFilter.h"
#include "ChatText.h"
#include "CodePage.h"
#include "LanDiscovery.h"
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

#include <utility>

namespace {

constexpr int kListenRetryMs = 20;

// A departure names its guest in two digits: positions 0 to 99.
constexpr int kMostGuests = 100;

} // namespace

QByteArray TForm4::Bytes(const QString &text) const
{
    return seams.codePage.FromUnicode(text);
}

QListWidget *TForm4::ParticipantList() const
{
    return windows.fFriends->ListBox1;
}

QList<QByteArray> TForm4::ParticipantEntries() const
{
    QList<QByteArray> entries;
    for (int row = 0; row < ParticipantList()->count(); ++row)
        entries << Bytes(ParticipantList()->item(row)->text());
    return entries;
}

void TForm4::ClearParticipants()
{
    ParticipantList()->clear();
    participantSockets.clear();
    guestPeers.clear();
}

void TForm4::SendToGuest(int socket, const QByteArray &text)
{
    const int before = std::exchange(sendingTo, socket);
    TCPServer1->SendText(socket, text);
    sendingTo = before;
}

void TForm4::SendToAllGuests(const QByteArray &text)
{
    const TClientList &guests = TCPServer1->Clients();
    for (int index = 0; index < guests.Count(); ++index)
        SendToGuest(guests.Items(index), text);
}

void TForm4::wireServerEvents()
{
    TCPServer1->OnError = [this](TCustomWSocket *, int error, const QString &text) {
        Guarded([&] { TCPServer1Error(error, text); });
    };
    TCPServer1->OnAccept = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPServer1Accept(socket); }); };
    TCPServer1->OnData = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPServer1Data(socket); }); };
    TCPServer1->OnClose = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPServer1Close(socket); }); };
}

void TForm4::ImServer1Click()
{
    if (windows.Form8->Nickname().isEmpty())
        windows.Form8->exec();
    if (ImServer1->isChecked())
        return;
    if (GuestAttemptUnderWay()
        && !seams.prompts.Confirm(QStringLiteral("Do you really want to close Conection?")))
        return;
    Trying = true;
    UserClosed = true;
    StopGuestAttempts();
    TCPClient1->Close();
    // The list of a chat we were a guest in is not ours to host.
    ClearParticipants();
    Imbusy1->setVisible(true);
    ShowState(HostIcon(), HostIcon(), QStringLiteral("Host"));
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
    ClearChatView();
    AppendPlainLine(LongTimeOfDay(QTime::currentTime()) + QStringLiteral(" : At this moment I'm Host."));
    const QString address = LocalAddress();
    SetStatusText(QStringLiteral("Host: ") + address + QStringLiteral(" Listening on port: ") + TCPServer1->Port);
    Edit1->setEnabled(false);
    setWindowTitle(windows.Form8->Nickname() + QStringLiteral(" is Host on ") + address);
    Timer2->stop();
    AnnounceHost();
}

void TForm4::AnnounceHost()
{
    // On the port actually listened on, which may be past the chosen one.
    seams.discovery.Announce({windows.Form8->Nickname(), quint16(StrToInt(TCPServer1->Port)), Imbusy1->isChecked()});
}

void TForm4::TCPServer1Error(int error, const QString &text)
{
    // A guest that has gone is told of by its close notification: a text that
    // could not reach it, or reach the guest whose close is being handled, is
    // no news of its own, and the other guests still get theirs.
    const bool guestHasGone = error == SocketError::ConnectionReset || error == SocketError::SendAfterShutdown;
    if (sendingTo != -1 && (sendingTo == closingGuest || guestHasGone))
        return;
    const int port = StrToInt(TCPServer1->Port);
    // A failed attempt to listen ends the attempts; errors while hosting do not.
    const bool listenFailed = TCPServer1->State() != wsListening;
    const bool lastPort = port >= PortNumber() + PortRange;
    if (text != QLatin1String("Address already in use") || lastPort) {
        if (listenFailed)
            Timer2->stop(); // before the box, whose own event loop would tick it again
        seams.prompts.ShowError(text);
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
    // Asked now: once the connection has failed, the system no longer knows.
    const GuestPeer peer{TCPServer1->GetPeerAddress(socket), TCPServer1->GetPeerPort(socket)};
    if (TCPServer1->Clients().Count() > kMostGuests) {
        SendToGuest(socket, Protocol::Refusal());
        AddChatLine(QStringLiteral("Connection rejected for ") + peer.address
                    + QStringLiteral(": the chat is full with %1 guests").arg(kMostGuests));
        TCPServer1->CloseClient(socket);
        return;
    }
    guestPeers.insert(socket, peer);
    if (AdmitGuest(windows.Form8->FilterLines(), windows.Form8->FilterMode(), peer.address))
        AcceptGuest(socket);
    else
        RejectGuest(socket);
}

void TForm4::AcceptGuest(int socket)
{
    const QByteArray hostNickname = Bytes(windows.Form8->Nickname());
    if (Imbusy1->isChecked()) {
        SendToGuest(socket, Protocol::BusyGreeting(hostNickname));
    } else {
        SendToGuest(socket, Protocol::Greeting(hostNickname));
        BringForward();
        PlayArrivalSound();
    }
    const GuestPeer peer = guestPeers.value(socket);
    const TClientList &guests = TCPServer1->Clients();
    for (int index = 0; index < guests.Count() - 1; ++index)
        SendToGuest(guests.Items(index), Protocol::ArrivalNotice(Bytes(peer.address)));
    AddChatLine(LongTimeOfDay(QTime::currentTime()) + QStringLiteral(": New guest coming from address: ")
                + peer.address + QStringLiteral(" on port ") + peer.port);
    SetStatusText(QString::number(guests.Count()) + QStringLiteral(" Friend(s) available"));
    EnableInput(true);
    NotifyUser(QStringLiteral("New guest coming from address: ") + peer.address);
}

void TForm4::RejectGuest(int socket)
{
    const QString address = guestPeers.take(socket).address;
    SendToGuest(socket, Protocol::Refusal());
    AddChatLine(QStringLiteral("Connection rejected for ") + address);
    SendToAllGuests(Protocol::RefusalNotice(Bytes(address)));
    TCPServer1->CloseClient(socket);
}

void TForm4::TCPServer1Data(int socket)
{
    const QByteArray text = TCPServer1->ReceiveText(socket);
    switch (Protocol::ClassifyFromGuest(text)) {
    case Protocol::HostReceives::Registration:
        Register(socket, text.mid(1));
        break;
    case Protocol::HostReceives::ControlText:
        break; // only the host speaks in lists and departures
    case Protocol::HostReceives::ChatLine:
        // Relayed first: the guests need not wait for the host's own view.
        SendToAllGuests(text);
        AddChatLine(text);
        NotifyUser(text);
        break;
    }
}

void TForm4::Register(int socket, const QByteArray &nickname)
{
    // One entry per connection: a second registration renames it in place.
    // A name ends at a NUL, which no list text can carry.
    const qsizetype nul = nickname.indexOf('\0');
    const QString name = seams.codePage.ToUnicode(nul < 0 ? nickname : nickname.left(nul));
    const qsizetype row = participantSockets.indexOf(socket);
    if (row >= 0) {
        ParticipantList()->item(int(row))->setText(name);
    } else {
        ParticipantList()->addItem(name);
        participantSockets.append(socket);
    }
    SendToAllGuests(Protocol::ListMessage(ParticipantEntries()));
}

void TForm4::TCPServer1Close(int socket)
{
    const int before = std::exchange(closingGuest, socket);
    const auto restore = qScopeGuard([&] { closingGuest = before; });
    const TClientList &guests = TCPServer1->Clients();
    const GuestPeer peer = guestPeers.take(socket);
    const QString away =
        QStringLiteral("Guest by ") + peer.address + QStringLiteral(" on port ") + peer.port + QStringLiteral(" is away.");
    AddChatLine(away);
    NotifyUser(away);
    const int remaining = guests.Count() - 1;
    SetStatusText(QString::number(remaining) + QStringLiteral(" Client(s) connected"));
    EnableInput(remaining > 0);
    // A guest that never registered has no entry, and the others need no news.
    const qsizetype row = participantSockets.indexOf(socket);
    if (row < 0)
        return;
    delete ParticipantList()->takeItem(int(row));
    participantSockets.removeAt(row);
    SendToAllGuests(Protocol::Departure(int(row), ParticipantEntries()));
}

void TForm4::Imbusy1Click()
{
    Imbusy1->setChecked(!Imbusy1->isChecked());
    if (Imbusy1->isChecked()) {
        TrayIcon1->SetToolTip(QStringLiteral("Host is busy"));
        TrayIcon1->SetIcon(BusyIcon());
    } else {
        TrayIcon1->SetToolTip(QStringLiteral("Host"));
        TrayIcon1->SetIcon(HostIcon());
    }
    if (TCPServer1->State() == wsListening)
        AnnounceHost();
}
