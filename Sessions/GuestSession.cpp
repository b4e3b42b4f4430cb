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
        reportingErrors([this] { handleHostTexts(hostReader.takeHeld()); }, [this](const QString &why) { emit fault(why); });
    });
    reconnectPause.setSingleShot(true);
    connect(&reconnectPause, &QTimer::timeout, this, &GuestSession::reconnectDue);
    roundPause.setSingleShot(true);
    roundPause.setInterval(kRoundPauseMs);
    connect(&roundPause, &QTimer::timeout, this, &GuestSession::nextRoundDue);
    reconnectAttempt.setSingleShot(true);
    reconnectAttempt.setInterval(kReconnectAttemptMs);
    connect(&reconnectAttempt, &QTimer::timeout, this, [this] {
        if (reconnecting)
            emit reconnectAttemptExpired();
    });
}

QString GuestSession::fromWire(const QByteArray &bytes) const
{
    return decodeText(bytes, link.textEncoding(), codePage);
}

QByteArray GuestSession::toWire(const QString &text) const
{
    return encodeText(text, link.textEncoding(), codePage);
}

void GuestSession::takeOtherName(const QString &name)
{
    ++nextNameNumber;
    chatNickname = name;
}

void GuestSession::forgetOtherName()
{
    chatNickname.reset();
    nextNameNumber = 2;
}

bool GuestSession::connected()
{
    link = ChatLink(client.framingOf(client.SocketHandle()));
    if (link.textFraming() == Framing::Version2)
        client.SendText(ChatLink::hello());
    rejoined = std::exchange(reconnecting, false);
    if (rejoined)
        reconnectAttempt.stop();
    return rejoined;
}

void GuestSession::send(FrameKind kind, const QByteArray &text)
{
    client.SendText(ChatLink::bytes(link.textFraming(), kind, text));
}

void GuestSession::registerName()
{
    send(FrameKind::Registration, Protocol::Registration(toWire(nickname())));
}

QByteArray GuestSession::sendOwnLine(const QString &line)
{
    const QByteArray bytes = toWire(line);
    send(FrameKind::Chat, bytes);
    return bytes;
}

void GuestSession::read()
{
    if (!link.isFramed()) {
        handleHostTexts(hostReader.take(client.ReceiveText()));
        return;
    }
    const QList<HostTextReader::Text> texts = readFrames();
    handleHostTexts(texts);
    if (link.isBad())
        emit linkBroken(); // no honest host sends that
}

QList<HostTextReader::Text> GuestSession::readFrames()
{
    // One read takes what the host sent up to a limit: the socket offers the rest again.
    constexpr qsizetype kReadAtOnce = 16 * 1024;
    constexpr int kReadsAtOnce = 4;
    // A host of version 1 relays the lines of one read in one frame; one of version 2 frames each.
    const bool mayHoldSeveral = link.textFraming() == Framing::Version1;
    QList<HostTextReader::Text> texts;
    for (int reads = 0; reads < kReadsAtOnce; ++reads) {
        const QByteArray bytes = client.receiveBytes(client.SocketHandle(), kReadAtOnce);
        if (bytes.isEmpty())
            break;
        link.take(bytes);
        while (const std::optional<LinkText> text = link.nextText()) {
            if (carriesPlainText(text->kind))
                texts += hostReader.takeWhole(text->bytes, mayHoldSeveral);
            else
                takeOwnFrame(*text);
        }
        droppedFrames += link.takeDroppedFrames();
        if (link.isBad())
            break;
    }
    return texts;
}

void GuestSession::takeOwnFrame(const LinkText &text)
{
    switch (text.kind) {
    case FrameKind::Keys:
        emit participantsKeyed(participantsOfKeys(text.bytes));
        break;
    case FrameKind::Private:
    case FrameKind::Receipt:
    case FrameKind::FileOffer:
        emit privateFrame(text.kind, text.bytes);
        break;
    case FrameKind::Tunnel:
        if (const qsizetype nameEnd = text.bytes.indexOf('\n'); nameEnd > 0)
            emit tunnelRecords(QString::fromUtf8(text.bytes.left(nameEnd)), text.bytes.mid(nameEnd + 1));
        else
            ++droppedFrames;
        break;
    default:
        ++droppedFrames; // a guest's kind, which no host sends
        break;
    }
}

bool GuestSession::sendFrame(FrameKind kind, const QByteArray &body)
{
    if (link.textFraming() != Framing::Version2 || client.State() != wsConnected)
        return false;
    send(kind, body);
    return true;
}

QByteArray GuestSession::hostKey() const
{
    return link.textFraming() == Framing::Version2 ? client.peerKeyOf(client.SocketHandle()) : QByteArray();
}

bool GuestSession::ended()
{
    handleHostTexts(hostReader.takeHeld());
    emit linkEnded();
    return std::exchange(nameTaken, false);
}

void GuestSession::stop()
{
    restOfText.stop();
    hostReader.clear();
    link = ChatLink();
    reconnectPause.stop();
    roundPause.stop();
    reconnectAttempt.stop();
    reconnecting = false;
    reconnectDelayMs = 0;
    emit linkEnded();
}

void GuestSession::scheduleReconnect()
{
    reconnectDelayMs = reconnectDelayMs == 0 ? kFirstReconnectMs : std::min(2 * reconnectDelayMs, kLongestReconnectMs);
    reconnectPause.start(reconnectDelayMs);
}

void GuestSession::reconnectAttemptBegins()
{
    reconnecting = true;
    reconnectAttempt.start();
}

void GuestSession::handleHostTexts(const QList<HostTextReader::Text> &texts)
{
    if (hostReader.waitsForRest())
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
                names << fromWire(entry);
            emit participantsListed(names);
            emit participantsChanged();
            break;
        }
        case Protocol::GuestReceives::Departure:
            try {
                showDeparture(text);
            } catch (const ERuntimeError &) {
                if (!badDeparture)
                    badDeparture = std::current_exception();
            }
            break;
        case Protocol::GuestReceives::Shown:
            if (Protocol::TakenNameIn(text.bytes) == toWire(nickname()))
                nameTaken = true;
            emit received(fromWire(text.bytes), text.bytes, true);
            break;
        }
    }
    if (badDeparture)
        std::rethrow_exception(badDeparture);
}

void GuestSession::showDeparture(const HostTextReader::Text &departure)
{
    if (!departure.departed) {
        Protocol::DeparturePosition(departure.bytes); // a place that is no number is the first fault
        throw EListError(departure.position);
    }
    emit notice(tr("< %1 is away >").arg(fromWire(*departure.departed)), ShownText::Kind::Departure);
    emit participantLeft(departure.position);
    emit participantsChanged();
}
