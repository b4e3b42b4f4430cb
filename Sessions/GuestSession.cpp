#include "GuestSession.h"

#include "CodePage.h"
#include "Protocol.h"
#include "RuntimeErrors.h"
#include "TTCPClient.h"

#include <algorithm>
#include <exception>
#include <utility>

static_assert(Protocol::kReadSize == TCustomWSocket::kReceiveBufferSize);

GuestSession::GuestSession(TTCPClient &client, const CodePage &codePage, std::function<QString()> setupNickname,
                           QObject *parent)
    : ChatSession(parent), client(client), codePage(codePage), setupNickname(std::move(setupNickname))
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

void GuestSession::TakeOtherName(const QString &name)
{
    ++nextNameNumber;
    chatNickname = name;
}

void GuestSession::ForgetOtherName()
{
    chatNickname.reset();
    nextNameNumber = 2;
}

bool GuestSession::Connected()
{
    link = ChatLink(client.FramingOf(client.SocketHandle()));
    if (link.TextFraming() == Framing::Version2)
        client.SendText(ChatLink::Hello());
    rejoined = std::exchange(reconnecting, false);
    if (rejoined)
        reconnectAttempt.stop();
    return rejoined;
}

void GuestSession::Send(FrameKind kind, const QByteArray &text)
{
    client.SendText(ChatLink::Bytes(link.TextFraming(), kind, text));
}

void GuestSession::Register()
{
    Send(FrameKind::Registration, Protocol::Registration(codePage.FromUnicode(Nickname())));
}

void GuestSession::SendOwnLine(const QByteArray &line)
{
    Send(FrameKind::Chat, line);
}

void GuestSession::Read()
{
    if (!link.Framed()) {
        HandleHostTexts(hostReader.Take(client.ReceiveText()));
        return;
    }
    const QList<HostTextReader::Text> texts = ReadFrames();
    HandleHostTexts(texts);
    if (link.IsBad())
        emit linkBroken(); // no honest host sends that
}

QList<HostTextReader::Text> GuestSession::ReadFrames()
{
    constexpr qsizetype kReadAtOnce = 16 * 1024;
    // A host of version 1 relays the lines of one read in one frame; one of version 2 frames each.
    const bool mayHoldSeveral = link.TextFraming() == Framing::Version1;
    QList<HostTextReader::Text> texts;
    for (QByteArray bytes; !(bytes = client.ReceiveBytes(client.SocketHandle(), kReadAtOnce)).isEmpty();) {
        link.Take(bytes);
        while (const std::optional<QByteArray> text = link.NextText())
            texts += hostReader.TakeWhole(*text, mayHoldSeveral);
        droppedFrames += link.TakeDroppedFrames();
        if (link.IsBad())
            break;
    }
    return texts;
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
    link = ChatLink();
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
            if (Protocol::TakenNameIn(text.bytes) == codePage.FromUnicode(Nickname()))
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
