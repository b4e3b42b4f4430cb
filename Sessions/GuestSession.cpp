#include "GuestSession.h"

#include "CodePage.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "TTCPClient.h"

#include <algorithm>
#include <exception>
#include <utility>

static_assert(Protocol::kReadSize == TCustomWSocket::kReceiveBufferSize);

GuestSession::GuestSession(TTCPClient &client, const CodePage &codePage, std::function<QString()> nickname,
                           QObject *parent)
    : QObject(parent), client(client), codePage(codePage), nickname(std::move(nickname))
{
    restOfText.setSingleShot(true);
    restOfText.setInterval(kRestOfTextWaitMs);
    connect(&restOfText, &QTimer::timeout, this, [this] {
        ReportingErrors([this] { HandleHostTexts(hostReader.TakeHeld()); }, [this](const QString &why) { emit fault(why); });
    });
    reconnectPause.setSingleShot(true);
    connect(&reconnectPause, &QTimer::timeout, this, &GuestSession::reconnectDue);
    reconnectAttempt.setSingleShot(true);
    reconnectAttempt.setInterval(kReconnectAttemptMs);
    connect(&reconnectAttempt, &QTimer::timeout, this, [this] {
        if (reconnecting)
            emit reconnectAttemptExpired();
    });
}

QString GuestSession::Text(const QByteArray &bytes) const
{
    return codePage.ToUnicode(bytes);
}

bool GuestSession::Connected()
{
    rejoined = std::exchange(reconnecting, false);
    if (rejoined)
        reconnectAttempt.stop();
    return rejoined;
}

void GuestSession::Register()
{
    client.SendText(Protocol::Registration(codePage.FromUnicode(nickname())));
}

void GuestSession::Read()
{
    HandleHostTexts(hostReader.Take(client.ReceiveText()));
}

bool GuestSession::Ended()
{
    HandleHostTexts(hostReader.TakeHeld());
    return std::exchange(nameTaken, false);
}

void GuestSession::Stop()
{
    restOfText.stop();
    hostReader.Clear();
    reconnectPause.stop();
    reconnectAttempt.stop();
    reconnecting = false;
    reconnectDelayMs = 0;
}

void GuestSession::ScheduleReconnect()
{
    reconnectDelayMs = reconnectDelayMs == 0 ? kFirstReconnectMs : std::min(2 * reconnectDelayMs, kLongestReconnectMs);
    reconnectPause.start(reconnectDelayMs);
}

void GuestSession::ReconnectAttemptBegins()
{
    reconnecting = true;
    reconnectAttempt.start();
}

void GuestSession::HandleHostTexts(const QList<HostTextReader::Text> &texts)
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
        case Protocol::GuestReceives::List: {
            reconnectDelayMs = 0; // in the chat again
            QStringList names;
            for (const QByteArray &entry : text.participants)
                names << Text(entry);
            emit participantsListed(names);
            emit participantsChanged();
            break;
        }
        case Protocol::GuestReceives::Departure:
            try {
                ShowDeparture(text);
            } catch (const ERuntimeError &) {
                if (!badDeparture)
                    badDeparture = std::current_exception();
            }
            break;
        case Protocol::GuestReceives::Shown:
            if (Protocol::TakenNameIn(text.bytes) == codePage.FromUnicode(nickname()))
                nameTaken = true;
            emit received(text.bytes, true);
            break;
        }
    }
    if (badDeparture)
        std::rethrow_exception(badDeparture);
}

void GuestSession::ShowDeparture(const HostTextReader::Text &departure)
{
    if (!departure.departed) {
        Protocol::DeparturePosition(departure.bytes); // a place that is no number is the first fault
        throw EListError(departure.position);
    }
    emit notice(tr("< %1 is away >").arg(Text(*departure.departed)), ShownText::Kind::Departure);
    emit participantLeft(departure.position);
    emit participantsChanged();
}
