#include "ChatLink.h"

QByteArray ChatLink::bytes(Framing framing, FrameKind kind, const QByteArray &text)
{
    // Only a peer of version 2 reads what the plain protocol has no text for.
    if (!carriesPlainText(kind) && framing != Framing::Version2)
        return {};
    switch (framing) {
    case Framing::File:
        return {}; // a file connection carries no chat
    case Framing::None:
        break;
    case Framing::Version1:
        return FrameReader::framed(text);
    case Framing::Version2:
        return FrameReader::framed(kind, text);
    }
    return text;
}

QByteArray keysBody(const QList<KeyedParticipant> &participants)
{
    QByteArray body;
    for (const KeyedParticipant &participant : participants)
        body += participant.name.toUtf8() + '\t' + participant.key.toHex() + '\t' + participant.features + '\n';
    return body;
}

QList<KeyedParticipant> participantsOfKeys(const QByteArray &body)
{
    constexpr qsizetype kKeySize = 32;
    QList<KeyedParticipant> participants;
    for (const QByteArray &line : body.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3 || fields[0].isEmpty())
            continue;
        const QByteArray key = QByteArray::fromHex(fields[1]);
        if (!key.isEmpty() && key.size() != kKeySize)
            continue;
        participants << KeyedParticipant{QString::fromUtf8(fields[0]), key, fields[2]};
    }
    return participants;
}

TextEncoding ChatLink::encodingOf(Framing framing)
{
    return framing == Framing::Version2 ? TextEncoding::Utf8 : TextEncoding::CodePage;
}

QByteArray ChatLink::hello()
{
    return FrameReader::framed(FrameKind::Hello, helloBody(VANU_PROGRAM));
}

void ChatLink::take(const QByteArray &bytes)
{
    reader.append(bytes);
    reader.passEmptyFrames();
    countEmptyFrames();
}

void ChatLink::countEmptyFrames()
{
    if (!emptyFrames.Count(reader.takeEmptyFramesPassed()))
        bad = true;
}

std::optional<LinkText> ChatLink::nextText()
{
    while (std::optional<QByteArray> frame = reader.takeFrame()) {
        countEmptyFrames();
        if (bad)
            return std::nullopt;
        if (framing == Framing::Version1)
            return LinkText{FrameKind::Chat, *frame};
        const quint8 kind = quint8(frame->at(0));
        if (kind == quint8(FrameKind::Hello)) {
            peersHello = frame->mid(1);
            helloCame = true;
        } else if (helloCame && isKnownFrameKind(kind)) {
            // A tunnel's records are bytes, not text.
            const QByteArray body = frame->mid(1);
            return LinkText{FrameKind(kind), kind == quint8(FrameKind::Tunnel) ? body : wellFormedUtf8(body)};
        } else {
            ++dropped; // of a kind this copy does not know, or before the peer said hello
        }
    }
    countEmptyFrames();
    return std::nullopt;
}

void ChatLink::wait(const QByteArray &bytes, bool supersedes)
{
    if (supersedes && lastSupersedes && !waiting.isEmpty())
        waitingSize -= waiting.takeLast().size();
    waiting.append(bytes);
    waitingSize += bytes.size();
    lastSupersedes = supersedes;
}

QByteArray ChatLink::takeWaiting()
{
    QByteArray bytes = waiting.takeFirst();
    waitingSize -= bytes.size();
    if (waiting.isEmpty())
        lastSupersedes = false;
    return bytes;
}

void ChatLink::dropWaiting()
{
    waiting.clear();
    waitingSize = 0;
    lastSupersedes = false;
}

void Outgoing::add(FrameKind kind, const QByteArray &text, TextEncoding encoding)
{
    texts.append({kind, text, encoding});
    made.fill(std::nullopt);
}

const QByteArray &Outgoing::bytesFor(Framing framing) const
{
    std::optional<QByteArray> &bytes = made[size_t(framing)];
    if (!bytes) {
        bytes.emplace();
        const TextEncoding encoding = ChatLink::encodingOf(framing);
        // One plain text in the code page is shared, not copied.
        for (const Text &text : texts)
            *bytes += ChatLink::bytes(framing, text.kind, recodeText(text.bytes, text.encoding, encoding, *codePage));
    }
    return *bytes;
}
