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

#include <exception>
#include <utility>

namespace {

// A refused port leads to the next at once; after the last port of the range
// the walk waits this long before it starts again at the first, so that a
// guest with no host about does not keep the machine busy.
constexpr int kRoundPauseMs = 1000;

// A read that fills the whole buffer was cut short: the rest of its text
// follows at once, and is waited for this long at most.
constexpr int kRestOfTextWaitMs = 200;

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
    restOfText.setSingleShot(true);
    restOfText.setInterval(kRestOfTextWaitMs);
    connect(&restOfText, &QTimer::timeout, this, [this] { Guarded([this] { HandleHostTexts(hostReader.TakeHeld()); }); });
}

bool TForm4::GuestAttemptUnderWay() const
{
    return TCPClient1->State() != wsClosed || roundPause.isActive();
}

QString TForm4::TryingStatus() const
{
    return QStringLiteral("Trying to connect to ") + windows.Form8->HostAddress() + QStringLiteral(" of port ")
           + TCPClient1->Port;
}

void TForm4::StopGuestAttempts()
{
    roundPause.stop();
    Timer1->stop(); // a registration due for a connection that is going
    restOfText.stop();
    hostReader.Clear();
}

void TForm4::ImClient1Click()
{
    TForm8 &setup = *windows.Form8;
    if (setup.HostAddress().isEmpty() || setup.Nickname().isEmpty())
        setup.exec();
    if (ImClient1->isChecked())
        return;
    if (TCPServer1->State() == wsListening
        && !seams.prompts.Confirm(QStringLiteral("Do you really want to close Conection?")))
        return;
    if (setup.HostAddress().isEmpty()) {
        seams.prompts.ShowMessage(QStringLiteral("You needet to accept Host"));
        return;
    }
    Trying = true;
    UserClosed = true;
    Timer2->stop(); // host mode is left, and with it the attempts to listen
    CloseHost();
    ClearParticipants();
    Imbusy1->setVisible(false);
    Imbusy1->setChecked(false);
    ShowState(GuestIcon(), GuestIcon(), QStringLiteral("Guest"));
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
    setWindowTitle(setup.Nickname() + QStringLiteral(" is Guest to ") + setup.HostAddress());
    Edit1->setFocus();
}

void TForm4::TCPClient1Error(int error, const QString &text)
{
    if (error != SocketError::ConnectionRefused) {
        seams.prompts.ShowError(text);
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
    ClearChatView();
    AppendPlainLine(LongTimeOfDay(QTime::currentTime()) + QStringLiteral(" : At this moment I'm Guest."),
                    ShownText::Kind::Start);
    BringForward();
    SetStatusText(QStringLiteral("Connected on local port ") + TCPClient1->GetLocalPort(TCPClient1->SocketHandle()));
    Timer1->start();
}

void TForm4::Timer1Timer()
{
    TCPClient1->SendText(Protocol::Registration(Bytes(windows.Form8->Nickname())));
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
    AddChatLine(QStringLiteral("< ") + seams.codePage.ToUnicode(*departure.departed) + QStringLiteral(" is away >"),
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
    HandleHostTexts(hostReader.TakeHeld()); // what came before the close is shown first
    TCPClient1->Close();
    StopGuestAttempts(); // no registration for a connection that has ended
    Edit1->setEnabled(false);
    ImClient1->setChecked(false);
    ShowState(programIcon, programIcon, QStringLiteral("Vanu"));
    setWindowTitle(QStringLiteral("Vanu"));
    AddChatLine(LongTimeOfDay(QTime::currentTime()) + QStringLiteral(" :Door closed by Host."), ShownText::Kind::End);
    if (const int error = TCPClient1->CloseError())
        SetStatusText(QStringLiteral("Connection to the host was lost: ") + SocketErrorText(error));
    else
        SetStatusText(QStringLiteral("Connection closed by Server!"));
    ParticipantList()->clear();
    emit hostLinkEnded(StatusText());
}
