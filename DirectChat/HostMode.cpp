#include "HostMode.h"

#include "AddressFilter.h"
#include "ChatText.h"
#include "ChatTuning.h"
#include "DesktopSeams.h"
#include "HostSession.h"
#include "LocalAddress.h"
#include "ModeLook.h"
#include "ProgramWindows.h"
#include "Prompts.h"
#include "RuntimeErrors.h"
#include "SocketErrors.h"
#include "TForm4.h"
#include "TForm8.h"
#include "TTCPServer.h"
#include "TfFriends.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTime>

namespace {

constexpr int kListenRetryMs = 20;

HostSession::Setup SetupOf(const ProgramWindows &windows, const TForm4 &window)
{
    HostSession::Setup setup;
    setup.nickname = [&windows] { return windows.Form8->Nickname(); };
    setup.busy = [&window] { return window.Imbusy1->isChecked(); };
    setup.admits = [&windows](const QString &address) {
        return AdmitGuest(windows.Form8->FilterLines(), windows.Form8->FilterMode(), address);
    };
    return setup;
}

} // namespace

HostMode::HostMode(TForm4 &window, const ProgramWindows &windows, const DesktopSeams &seams, TTCPServer &server,
                   const ChatTuning &tuning)
    : QObject(&window), window(window), windows(windows), seams(seams), server(server),
      hostSession(new HostSession(server, seams.codePage, tuning.pace(), SetupOf(windows, window), this))
{
    wireSession();
}

void HostMode::wireSession()
{
    connect(hostSession, &HostSession::participantNamed, this, [this](int row, const QString &name, bool added) {
        if (added)
            window.participantList()->addItem(name);
        else
            window.participantList()->item(row)->setText(name);
    });
    connect(hostSession, &HostSession::comeForward, this, [this] {
        window.bringForward();
        window.playArrivalSound();
    });
    connect(hostSession, &HostSession::guestAdmitted, this,
            [this](const QString &address, const QString &port, int guests) {
                window.setStatusText(tr("%n Friend(s) available", nullptr, guests));
                window.enableInput(true);
                emit window.guestAdmitted(address, port);
            });
    connect(hostSession, &HostSession::guestCountChanged, this, [this](int guests) {
        window.setStatusText(tr("%n Client(s) connected", nullptr, guests));
        window.enableInput(guests > 0);
    });
}

void HostMode::start()
{
    if (windows.Form8->Nickname().isEmpty())
        windows.Form8->exec();
    if (window.ImServer1->isChecked())
        return;
    if (window.guestAttemptUnderWay() && !seams.prompts.Confirm(tr("Do you really want to close Conection?")))
        return;
    window.Trying = true;
    window.UserClosed = true;
    window.leaveGuestMode();
    // The list of a chat we were a guest in is not ours to host.
    window.clearParticipants();
    window.Imbusy1->setVisible(true);
    window.modeLook().showHost();
    windows.Form8->eName->setReadOnly(true);
    window.UserClosed = false;
    server.Port = QString::number(window.PortNumber());
    window.ImClient1->setChecked(false);
    window.ImServer1->setChecked(true);
    listenSoon();
}

void HostMode::listenSoon()
{
    window.Timer2->setInterval(kListenRetryMs);
    window.Timer2->start();
}

void HostMode::listen()
{
    server.Open();
    if (server.State() != wsListening)
        return;
    window.Trying = false;
    window.ImServer1->setChecked(true);
    window.ImClient1->setChecked(false);
    window.clearChatView();
    window.appendPlainLine(LongTimeOfDay(QTime::currentTime()) + tr(" : At this moment I'm Host."),
                           ShownText::Kind::Start);
    const QString address = LocalAddress();
    window.setStatusText(tr("Host: %1 Listening on port: %2").arg(address, server.Port));
    window.Edit1->setEnabled(false);
    window.setWindowTitle(tr("%1 is Host on %2").arg(windows.Form8->Nickname(), address));
    window.Timer2->stop();
    // On the port actually listened on, which may be past the chosen one.
    emit window.hostListening(windows.Form8->Nickname(), quint16(StrToInt(server.Port)), window.Imbusy1->isChecked());
}

void HostMode::close()
{
    const bool wasListening = server.State() == wsListening;
    server.Close();
    if (wasListening)
        emit window.hostClosed();
}

void HostMode::socketError(int error, const QString &text)
{
    // A guest that has gone is told of by its close notification: a text that
    // could not reach it, or reach the guest whose close is being handled, is
    // no news of its own, and the other guests still get theirs.
    if (hostSession->errorIsAGuestsGoing(error))
        return;
    const int port = StrToInt(server.Port);
    // A failed attempt to listen ends the attempts; errors while hosting do not.
    const bool listenFailed = server.State() != wsListening;
    if (!listenFailed && (error == SocketError::TooManyOpenFiles || error == SocketError::NoBufferSpace)) {
        hostSession->connectionsRefused(error, text);
        return;
    }
    const bool lastPort = port >= window.PortNumber() + TForm4::PortRange;
    if (error != SocketError::AddressInUse || lastPort) {
        if (listenFailed)
            window.Timer2->stop(); // before the box, whose own event loop would tick it again
        seams.prompts.ShowError(ShownErrorText(text));
        return;
    }
    if (window.UserClosed)
        return;
    server.Port = QString::number(port + 1);
    listenSoon();
}

void HostMode::toggleBusy()
{
    window.Imbusy1->setChecked(!window.Imbusy1->isChecked());
    window.modeLook().showBusy(window.Imbusy1->isChecked());
    emit window.busyChanged(window.Imbusy1->isChecked());
}
