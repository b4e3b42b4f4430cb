#include "ChatLink.h"

QByteArray ChatLink::Bytes(Framing framing, FrameKind kind, const QByteArray &text)
{
    switch (framing) {
    case Framing::None:
        break;
    case Framing::Version1:
        return FrameReader::Framed(text);
    case Framing::Version2:
        return FrameReader::Framed(kind, text);
    }
    return text;
}

QByteArray ChatLink::Hello()
{
    return FrameReader::Framed(FrameKind::Hello, HelloBody(VANU_PROGRAM));
}

void ChatLink::Take(const QByteArray &bytes)
{
    reader.Append(bytes);
    reader.PassEmptyFrames();
    if (!emptyFrames.Count(reader.TakeEmptyFramesPassed()))
        bad = true;
}

std::optional<QByteArray> ChatLink::NextText()
{
    while (std::optional<QByteArray> frame = reader.TakeFrame()) {
        if (!emptyFrames.Count(reader.TakeEmptyFramesPassed())) {
            bad = true;
            return std::nullopt;
        }
        if (framing == Framing::Version1)
            return frame;
        const quint8 kind = quint8(frame->at(0));
        if (kind == quint8(FrameKind::Hello))
            peerHello = frame->mid(1);
        else if (IsKnownFrameKind(kind))
            return frame->mid(1);
        else
            ++dropped;
    }
    if (!emptyFrames.Count(reader.TakeEmptyFramesPassed()))
        bad = true;
    return std::nullopt;
}

void Outgoing::Add(FrameKind kind, const QByteArray &text)
{
    plain += text;
    version1 += FrameReader::Framed(text);
    version2 += FrameReader::Framed(kind, text);
}

const QByteArray &Outgoing::For(Framing framing) const
{
    switch (framing) {
    case Framing::None:
        break;
    case Framing::Version1:
        return version1;
    case Framing::Version2:
        return version2;
    }
    return plain;
}
