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

// After a lost link the guest connects again after 1 s, then 2, 4 and so on,
// up to every 30 s; an attempt that has no answer in 10 s is given up.
constexpr int kFirstReconnectMs = 1000;
constexpr int kLongestReconnectMs = 30000;
constexpr int kReconnectAttemptMs = 10000;

// A read that fills the whole buffer was cut short: the rest of its text
// follows, and is waited for this long at most. On a real link the rest may
// be a lost segment that comes again only after a retransmission timeout,
// which backs off after an outage.
constexpr int kRestOfTextWaitMs = 3000;

static_assert(Protocol::kReadSize == TCustomWSocket::kReceiveBufferSize);

} // namespace

void TForm4::wireClientEvents()
{
    TCPClient1->OnError = [this](TCustomWSocket *, int error, const QString &text) {
        Guarded([&] { TCPClient1Error(error, text); });
    };
    TCPClient1->OnConnect = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPClient1Connect(socket); }); };
    TCPClient1->OnData = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPClient1Data(socket); }); };
    TCPClient1->OnClose = [this](TCustomWSocket *, int socket) { Guarded([&] { TCPClient1Close(socket); }); };
    roundPause.setSingleShot(true);
    roundPause.setInterval(kRoundPauseMs);
    connect(&roundPause, &QTimer::timeout, this, [this] {
        if (!UserClosed && ImClient1->isChecked() && TCPClient1->State() == wsClosed)
            Guarded([this] { ConnectToHost(); });
    });
    reconnectPause.setSingleShot(true);
    connect(&reconnectPause, &QTimer::timeout, this, [this] { Guarded([this] { ReconnectToHost(); }); });
    reconnectAttempt.setSingleShot(true);
    reconnectAttempt.setInterval(kReconnectAttemptMs);
    connect(&reconnectAttempt, &QTimer::timeout, this, [this] {
        if (reconnecting && TCPClient1->State() == wsConnecting)
            Guarded([this] { ScheduleReconnect(); });
    });
    restOfText.setSingleShot(true);
    restOfText.setInterval(kRestOfTextWaitMs);
    connect(&restOfText, &QTimer::timeout, this, [this] { Guarded([this] { HandleHostTexts(hostReader.TakeHeld()); }); });
}

bool TForm4::GuestAttemptUnderWay() const
{
    return TCPClient1->State() != wsClosed || roundPause.isActive() || reconnectPause.isActive();
}

QString TForm4::TryingStatus() const
{
    return tr("Trying to connect to %1 of port %2").arg(windows.Form8->HostAddress(), TCPClient1->Port);
}

void TForm4::StopGuestAttempts()
{
    roundPause.stop();
    Timer1->stop(); // a registration due for a connection that is going
    restOfText.stop();
    hostReader.Clear();
    reconnectPause.stop();
    reconnectAttempt.stop();
    reconnecting = false;
    reconnectDelayMs = 0;
}

void TForm4::ScheduleReconnect()
{
    TCPClient1->Close();
    Trying = false;
    ImClient1->setChecked(false);
    reconnectDelayMs = reconnectDelayMs == 0 ? kFirstReconnectMs : std::min(2 * reconnectDelayMs, kLongestReconnectMs);
    reconnectPause.start(reconnectDelayMs);
}

void TForm4::ReconnectToHost()
{
    if (UserClosed)
        return;
    reconnecting = true;
    Trying = true;
    ImClient1->setChecked(true);
    ShowState(GuestIcon(), GuestIcon(), tr("Guest"));
    reconnectAttempt.start();
    ConnectToHost(); // on the port the chat was on
}

void TForm4::ImClient1Click()
{
    chatNickname.reset();
    nextNameNumber = 2;
    JoinHost();
}

QString TForm4::ChatNickname() const
{
    return chatNickname.value_or(windows.Form8->Nickname());
}

void TForm4::OfferAnotherName()
{
    const QString taken = ChatNickname();
    const QString other = windows.Form8->Nickname() + QString::number(nextNameNumber);
    // Asked once the close has been handled, not inside it.
    QTimer::singleShot(0, this, [this, taken, other] {
        Guarded([&] {
            if (!seams.prompts.Confirm(
                    tr("The name %1 is taken in this chat. Join it as %2?").arg(taken, other)))
                return;
            ++nextNameNumber;
            chatNickname = other; // for this chat only: the setup keeps the user's own
            JoinHost();
        });
    });
}

void TForm4::JoinHost()
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
    StopGuestAttempts(); // and an attempt to connect again that was due
    Timer2->stop(); // host mode is left, and with it the attempts to listen
    CloseHost();
    ClearParticipants();
    Imbusy1->setVisible(false);
    Imbusy1->setChecked(false);
    ShowState(GuestIcon(), GuestIcon(), tr("Guest"));
    UserClosed = false;
    TCPClient1->Port = QString::number(PortNumber());
    Edit1->setEnabled(false);
    SetStatusText(QString());
    setup.eName->setReadOnly(false);
    ImClient1->setChecked(true);
    ImServer1->setChecked(false);
    ConnectToHost();
}

void TForm4::ConnectToHost()
{
    TForm8 &setup = *windows.Form8;
    TCPClient1->Host = setup.HostAddress();
    SetStatusText(TryingStatus());
    TCPClient1->Open();
    if (TCPClient1->State() != wsConnecting)
        return;
    EnableInput(true);
    setup.eName->setReadOnly(true);
    setWindowTitle(tr("%1 is Guest to %2").arg(ChatNickname(), setup.HostAddress()));
    Edit1->setFocus();
}

void TForm4::TCPClient1Error(int error, const QString &text)
{
    if (reconnecting) {
        // No box and no walk through the ports: the host is away for now.
        if (!UserClosed)
            ScheduleReconnect();
        return;
    }
    if (error != SocketError::ConnectionRefused) {
        seams.prompts.ShowError(ShownErrorText(text));
        return;
    }
    int port = StrToInt(TCPClient1->Port);
    if (port > PortNumber() + PortRange)
        port = PortNumber() - 1;
    SetStatusText(QString());
    TCPClient1->Close();
    if (UserClosed)
        return;
    TCPClient1->Port = QString::number(port + 1);
    // The guests look one port further than a host goes, then start again.
    if (port + 1 == PortNumber()) {
        SetStatusText(TryingStatus()); // the port the walk goes on with
        roundPause.start();
    } else {
        ConnectToHost();
    }
}

void TForm4::TCPClient1Connect(int)
{
    Trying = false;
    rejoined = std::exchange(reconnecting, false);
    if (rejoined) {
        // The chat goes on where it was; the registration follows as at the start.
        reconnectAttempt.stop();
        AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" : Connected to the host again."));
    } else {
        ClearChatView();
        AppendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Guest."),
                        ShownText::Kind::Start);
        BringForward();
    }
    SetStatusText(tr("Connected on local port %1").arg(TCPClient1->GetLocalPort(TCPClient1->SocketHandle())));
    Timer1->start();
}

void TForm4::Timer1Timer()
{
    TCPClient1->SendText(Protocol::Registration(Bytes(ChatNickname())));
    Timer1->stop();
}

void TForm4::TCPClient1Data(int)
{
    HandleHostTexts(hostReader.Take(TCPClient1->ReceiveText()));
}

void TForm4::HandleHostTexts(const QList<HostTextReader::Text> &texts)
{
    if (hostReader.WaitsForRest())
        restOfText.start();
    else
        restOfText.stop();
    // A bad departure is reported once every text is shown, so that the
    // list stays the reader's.
    std::exception_ptr badDeparture;
    for (const HostTextReader::Text &text : texts) {
        switch (text.kind) {
        case Protocol::GuestReceives::List:
            reconnectDelayMs = 0; // in the chat again
            ParticipantList()->clear();
            for (const QByteArray &entry : text.participants)
                ParticipantList()->addItem(seams.codePage.ToUnicode(entry));
            PlayArrivalSound();
            break;
        case Protocol::GuestReceives::Departure:
            try {
                ShowDeparture(text);
            } catch (const ERuntimeError &) {
                if (!badDeparture)
                    badDeparture = std::current_exception();
            }
            break;
        case Protocol::GuestReceives::Shown:
            if (Protocol::TakenNameIn(text.bytes) == Bytes(ChatNickname()))
                nameTaken = true;
            AddChatLine(text.bytes);
            break;
        }
    }
    if (badDeparture)
        std::rethrow_exception(badDeparture);
}

void TForm4::ShowDeparture(const HostTextReader::Text &departure)
{
    if (!departure.departed) {
        Protocol::DeparturePosition(departure.bytes); // a place that is no number is the first fault
        throw EListError(departure.position);
    }
    AddChatLine(tr("< %1 is away >").arg(seams.codePage.ToUnicode(*departure.departed)),
                ShownText::Kind::Departure);
    delete ParticipantList()->takeItem(departure.position);
    PlayArrivalSound();
}

void TForm4::PlayArrivalSound()
{
    if (!Quiet1->isChecked())
        seams.sound.PlayMailBeep();
}

void TForm4::TCPClient1Close(int)
{
    // A link that was lost, not closed by the host, is taken up again.
    const bool lost = TCPClient1->CloseError() != 0;
    HandleHostTexts(hostReader.TakeHeld()); // what came before the close is shown first
    TCPClient1->Close();
    StopGuestAttempts(); // no registration for a connection that has ended
    Edit1->setEnabled(false);
    ImClient1->setChecked(false);
    ShowState(programIcon, programIcon, QStringLiteral("Vanu"));
    setWindowTitle(QStringLiteral("Vanu"));
    AddChatLine(LongTimeOfDay(QTime::currentTime()) + tr(" :Door closed by Host."), ShownText::Kind::End);
    if (const int error = TCPClient1->CloseError())
        SetStatusText(tr("Connection to the host was lost: %1").arg(ShownSocketError(error)));
    else
        SetStatusText(tr("Connection closed by Server!"));
    ParticipantList()->clear();
    emit hostLinkEnded(StatusText());
    if (std::exchange(nameTaken, false)) {
        // Back after a lost link, the name is still the old connection's
        // until the host finds that one dead: try again a little later.
        if (rejoined && reconnectSwitch->isChecked())
            ScheduleReconnect();
        else
            OfferAnotherName();
    } else if (lost && reconnectSwitch->isChecked() && !UserClosed) {
        ScheduleReconnect();
    }
}
