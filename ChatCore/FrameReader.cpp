#include "FrameReader.h"

#include <QtEndian>

namespace {

struct KindName {
    FrameKind kind;
    const char *name;
};

constexpr KindName kKinds[] = {
    {FrameKind::Hello, "hello"},       {FrameKind::Chat, "chat"},     {FrameKind::Registration, "registration"},
    {FrameKind::List, "list"},         {FrameKind::Greeting, "greeting"}, {FrameKind::Notice, "notice"},
    {FrameKind::Departure, "departure"}, {FrameKind::Down, "down"},
};

} // namespace

QByteArray KnownFrameKinds()
{
    QByteArray names;
    for (const KindName &known : kKinds)
        names += (names.isEmpty() ? "" : ",") + QByteArray(known.name);
    return names;
}

bool IsKnownFrameKind(quint8 kind)
{
    for (const KindName &known : kKinds)
        if (quint8(known.kind) == kind)
            return true;
    return false;
}

QByteArray HelloBody(const QByteArray &program)
{
    return "program=" + program + "\nfeatures=" + KnownFrameKinds();
}

QByteArray FrameReader::Framed(const QByteArray &text)
{
    QByteArray frame(kHeaderSize, '\0');
    qToBigEndian<quint32>(quint32(text.size()), frame.data());
    return frame + text;
}

QByteArray FrameReader::Framed(FrameKind kind, const QByteArray &body)
{
    QByteArray frame(kHeaderSize + 1, '\0');
    qToBigEndian<quint32>(quint32(body.size() + 1), frame.data());
    frame[kHeaderSize] = char(kind);
    return frame + body;
}

void FrameReader::Append(const char *data, qsizetype size)
{
    if (at > 0 && at >= buffer.size() / 2) {
        buffer.remove(0, at);
        at = 0;
    }
    buffer.append(data, size);
}

bool FrameReader::IsBad() const
{
    const qsizetype from = PastEmptyFrames();
    return buffer.size() - from >= kHeaderSize && qFromBigEndian<quint32>(buffer.constData() + from) > kLongestFrame;
}

qsizetype FrameReader::WholeFrameAt(qsizetype from) const
{
    if (buffer.size() - from < kHeaderSize)
        return -1;
    const qsizetype length = qFromBigEndian<quint32>(buffer.constData() + from);
    if (length > kLongestFrame)
        return -1;
    return buffer.size() - from - kHeaderSize >= length ? length : -1;
}

qsizetype FrameReader::PastEmptyFrames() const
{
    qsizetype from = at;
    while (buffer.size() - from >= kHeaderSize && qFromBigEndian<quint32>(buffer.constData() + from) == 0)
        from += kHeaderSize;
    return from;
}

bool FrameReader::HasFrame() const
{
    return WholeFrameAt(PastEmptyFrames()) > 0;
}

void FrameReader::PassEmptyFrames()
{
    // Empty frames carry nothing: passed over together.
    const qsizetype from = PastEmptyFrames();
    emptyFramesPassed += (from - at) / kHeaderSize;
    at = from;
    if (at == buffer.size()) {
        buffer.clear();
        at = 0;
    }
}

std::optional<QByteArray> FrameReader::TakeFrame()
{
    PassEmptyFrames();
    const qsizetype length = WholeFrameAt(at);
    if (length < 0)
        return std::nullopt;
    QByteArray text = buffer.mid(at + kHeaderSize, length);
    at += kHeaderSize + length;
    if (at == buffer.size()) {
        buffer.clear();
        at = 0;
    }
    return text;
}
