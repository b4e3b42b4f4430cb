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

void TForm4::ClearParticipants()
{
    ParticipantList()->clear();
    roster.Clear();
    readPace.Clear();
}

void TForm4::MirrorRosterEntry(const HostRoster::Entry &entry)
{
    const QString name = seams.codePage.ToUnicode(roster.Names().at(entry.row));
    if (entry.added)
        ParticipantList()->addItem(name);
    else
        ParticipantList()->item(entry.row)->setText(name);
}

void TForm4::SendToGuest(int socket, const QByteArray &text, Sending sending)
{
    const int before = std::exchange(sendingTo, socket);
    if (sending == Sending::Latest)
        TCPServer1->SendLatestText(socket, text);
    else
        TCPServer1->SendText(socket, text);
    sendingTo = before;
}

void TForm4::SendToAllGuests(const QByteArray &text, Sending sending)
{
    const TClientList &guests = TCPServer1->Clients();
    for (int index = 0; index < guests.Count(); ++index)
        SendToGuest(guests.Items(index), text, sending);
}

void TForm4::wireServerEvents()
{
    clock.start();
    rosterDeadline.setSingleShot(true);
    connect(&rosterDeadline, &QTimer::timeout, this, [this] {
        Guarded([this] {
            HandleGuestTexts(roster.Expire(Now()));
            WatchRosterDeadline();
        });
    });
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
    if (GuestAttemptUnderWay() && !seams.prompts.Confirm(tr("Do you really want to close Conection?")))
        return;
    Trying = true;
    UserClosed = true;
    StopGuestAttempts();
    chatNickname.reset();
    TCPClient1->Close();
    // The list of a chat we were a guest in is not ours to host.
    ClearParticipants();
    Imbusy1->setVisible(true);
    ShowState(HostIcon(), HostIcon(), tr("Host"));
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
    AppendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Host."), ShownText::Kind::Start);
    const QString address = LocalAddress();
    SetStatusText(tr("Host: %1 Listening on port: %2").arg(address, TCPServer1->Port));
    Edit1->setEnabled(false);
    setWindowTitle(tr("%1 is Host on %2").arg(windows.Form8->Nickname(), address));
    Timer2->stop();
    // On the port actually listened on, which may be past the chosen one.
    emit hostListening(windows.Form8->Nickname(), quint16(StrToInt(TCPServer1->Port)), Imbusy1->isChecked());
}

void TForm4::CloseHost()
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
    const bool guestHasGone = error == SocketError::ConnectionReset || error == SocketError::SendAfterShutdown;
    if (sendingTo != -1 && (sendingTo == closingGuest || guestHasGone))
        return;
    const int port = StrToInt(TCPServer1->Port);
    // A failed attempt to listen ends the attempts; errors while hosting do not.
    const bool listenFailed = TCPServer1->State() != wsListening;
    if (!listenFailed && (error == SocketError::TooManyOpenFiles || error == SocketError::NoBufferSpace)) {
        if (acceptFailures.Allow(QString::number(error), Now()))
            AddChatLine(tr("New connections are refused for now: %1").arg(ShownErrorText(text)));
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
    // Asked now: once the connection has failed, the system no longer knows.
    const HostRoster::Peer peer{TCPServer1->GetPeerAddress(socket), TCPServer1->GetPeerPort(socket)};
    if (TCPServer1->Clients().Count() > kMostGuests) {
        SendToGuest(socket, Protocol::ChatFull());
        AddChatLine(
            tr("Connection rejected for %1: the chat is full with %2 guests").arg(peer.address).arg(kMostGuests));
        TCPServer1->CloseClient(socket);
        return;
    }
    roster.Admit(socket, peer);
    if (!AdmitGuest(windows.Form8->FilterLines(), windows.Form8->FilterMode(), peer.address))
        RejectGuest(socket);
    else if (const QString reason = admissionCheck ? admissionCheck(socket) : QString(); !reason.isEmpty())
        RejectGuest(socket, reason);
    else
        AcceptGuest(socket);
}

void TForm4::AcceptGuest(int socket)
{
    const QByteArray hostNickname = Bytes(windows.Form8->Nickname());
    const HostRoster::Peer peer = roster.PeerOf(socket);
    if (Imbusy1->isChecked()) {
        SendToGuest(socket, Protocol::BusyGreeting(hostNickname));
    } else {
        SendToGuest(socket, Protocol::Greeting(hostNickname));
        // A peer that comes again and again does not take the desktop over.
        if (comingForward.Allow(peer.address, Now())) {
            BringForward();
            PlayArrivalSound();
        }
    }
    const TClientList &guests = TCPServer1->Clients();
    for (int index = 0; index < guests.Count() - 1; ++index)
        SendToGuest(guests.Items(index), Protocol::ArrivalNotice(Bytes(peer.address)));
    AddChatLine(LongTimeOfDay(QTime::currentTime()) +
                    tr(": New guest coming from address: %1 on port %2").arg(peer.address, peer.port),
                ShownText::Kind::Arrival);
    SetStatusText(tr("%n Friend(s) available", nullptr, guests.Count()));
    EnableInput(true);
    emit guestAdmitted(peer.address, peer.port);
}

void TForm4::RejectGuest(int socket, const QString &reason)
{
    const QString address = roster.PeerOf(socket).address;
    roster.Remove(socket);
    SendToGuest(socket, Protocol::Refusal());
    AddChatLine(reason.isEmpty() ? tr("Connection rejected for %1").arg(address)
                                 : tr("Connection rejected for %1: %2").arg(address, reason));
    // A peer refused again and again does not flood every guest's view.
    if (refusalNotices.Allow(address, Now()))
        SendToAllGuests(Protocol::RefusalNotice(Bytes(address)));
    TCPServer1->CloseClient(socket);
}

void TForm4::TCPServer1Data(int socket)
{
    ReadGuest(socket);
}

void TForm4::ReadGuest(int socket)
{
    const qint64 now = Now();
    if (const qint64 wait = readPace.WaitBeforeReading(socket, now)) {
        // Not read now: the next read notification comes after the next read.
        roster.Postpone(socket, now + wait);
        QTimer::singleShot(wait, this, [this, socket] {
            if (TCPServer1->Clients().IndexOf(socket) >= 0) // not gone while its read waited
                Guarded([this, socket] { ReadGuest(socket); });
        });
        return;
    }
    const QByteArray piece = TCPServer1->ReceiveText(socket);
    const QList<HostRoster::GuestText> texts =
        roster.Read(socket, piece, Bytes(windows.Form8->Nickname()), now, TCPServer1->BytesWaiting(socket) > 0);
    readPace.Count(socket, std::max<int>(1, int(texts.size())), now);
    HandleGuestTexts(texts);
    WatchRosterDeadline();
}

void TForm4::WatchRosterDeadline()
{
    if (const std::optional<qint64> deadline = roster.NextDeadline())
        rosterDeadline.start(int(std::clamp<qint64>(*deadline - Now(), 0, HostRoster::kRegistrationWaitMs)));
    else
        rosterDeadline.stop();
}

void TForm4::HandleGuestTexts(const QList<HostRoster::GuestText> &texts)
{
    using Action = HostRoster::GuestText::Action;
    // Lines that came in one read go out together, in one send to each guest:
    // the bytes are the same, and a burst costs a send a guest, not one a line.
    QByteArray relayed;
    const auto relay = [&] {
        if (!relayed.isEmpty())
            SendToAllGuests(std::exchange(relayed, QByteArray()));
    };
    for (const HostRoster::GuestText &text : texts) {
        if (text.action != Action::Relay)
            relay();
        switch (text.action) {
        case Action::Registered:
            MirrorRosterEntry(text.entry);
            // A list that still waits to go to a guest is needless once a newer one follows it.
            SendToAllGuests(roster.ListText(), Sending::Latest);
            break;
        case Action::Refused:
            RefuseName(text);
            break;
        case Action::Relay:
            relayed += text.bytes;
            AddChatLine(text.bytes);
            break;
        case Action::NotRelayed:
            AddChatLine(NotRelayedLine(text));
            break;
        }
    }
    relay();
}

QString TForm4::NotRelayedLine(const HostRoster::GuestText &text) const
{
    const QString from = roster.PeerOf(text.socket).address;
    if (text.breaksLine)
        return tr("Line from %1 not relayed: it breaks a line").arg(from);
    const QByteArray named = Protocol::NameInChatLine(text.bytes);
    if (named.isEmpty())
        return tr("Line from %1 not relayed: it names nobody").arg(from);
    return tr("Line from %1 not relayed: it names %2").arg(from, seams.codePage.ToUnicode(named));
}

void TForm4::RefuseName(const HostRoster::GuestText &text)
{
    const QString address = roster.PeerOf(text.socket).address;
    SendToGuest(text.socket, Protocol::NameRefused(text.refusal, text.bytes));
    QString why;
    switch (text.refusal) {
    case Protocol::NameRefusal::Taken:
        why = tr("the name %1 is taken").arg(seams.codePage.ToUnicode(text.bytes));
        break;
    case Protocol::NameRefusal::Empty:
        why = tr("it gave no name");
        break;
    case Protocol::NameRefusal::TooLong:
        why = tr("its name is longer than %1 characters").arg(Protocol::kLongestName);
        break;
    case Protocol::NameRefusal::ControlCharacter:
        why = tr("its name holds a control character");
        break;
    }
    AddChatLine(tr("Connection closed for %1: %2").arg(address, why));
    RemoveParticipant(text.socket);
    readPace.Forget(text.socket);
    TCPServer1->CloseClient(text.socket);
    ShowGuestCount();
}

void TForm4::RemoveParticipant(int socket)
{
    // A guest that never registered has no entry, and the others need no news.
    const std::optional<int> row = roster.Remove(socket);
    if (!row)
        return;
    delete ParticipantList()->takeItem(*row);
    SendToAllGuests(roster.DepartureText(*row));
}

void TForm4::ShowGuestCount()
{
    const int count = TCPServer1->Clients().Count();
    SetStatusText(tr("%n Client(s) connected", nullptr, count));
    EnableInput(count > 0);
}

void TForm4::TCPServer1Close(int socket)
{
    const int before = std::exchange(closingGuest, socket);
    const auto restore = qScopeGuard([&] { closingGuest = before; });
    const TClientList &guests = TCPServer1->Clients();
    const HostRoster::Peer peer = roster.PeerOf(socket);
    AddChatLine(tr("Guest by %1 on port %2 is away.").arg(peer.address, peer.port), ShownText::Kind::Departure);
    const int remaining = guests.Count() - 1;
    SetStatusText(tr("%n Client(s) connected", nullptr, remaining));
    EnableInput(remaining > 0);
    readPace.Forget(socket);
    RemoveParticipant(socket);
}

void TForm4::Imbusy1Click()
{
    Imbusy1->setChecked(!Imbusy1->isChecked());
    if (Imbusy1->isChecked()) {
        TrayIcon1->SetToolTip(tr("Host is busy"));
        TrayIcon1->SetIcon(BusyIcon());
    } else {
        TrayIcon1->SetToolTip(tr("Host"));
        TrayIcon1->SetIcon(HostIcon());
    }
    emit busyChanged(Imbusy1->isChecked());
}
