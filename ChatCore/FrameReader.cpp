#include "FrameReader.h"

#include <QList>
#include <QtEndian>

namespace {

struct KindName {
    FrameKind kind;
    const char *name;
};

constexpr KindName kKinds[] = {
    {FrameKind::Hello, "hello"},       {FrameKind::Chat, "chat"},     {FrameKind::Registration, "registration"},
    {FrameKind::List, "list"},         {FrameKind::Greeting, "greeting"}, {FrameKind::Notice, "notice"},
    {FrameKind::Departure, "departure"}, {FrameKind::Down, "down"},   {FrameKind::Keys, "keys"},
    {FrameKind::Private, "private"},   {FrameKind::Receipt, "receipt"}, {FrameKind::Tunnel, "tunnel"},
    {FrameKind::FileOffer, "fileoffer"},
};

} // namespace

QByteArray knownFrameKinds()
{
    QByteArray names;
    for (const KindName &known : kKinds)
        names += (names.isEmpty() ? "" : ",") + QByteArray(known.name);
    return names;
}

bool isKnownFrameKind(quint8 kind)
{
    for (const KindName &known : kKinds)
        if (quint8(known.kind) == kind)
            return true;
    return false;
}

QByteArray helloBody(const QByteArray &program)
{
    return "program=" + program + "\nfeatures=" + knownFrameKinds();
}

QByteArray helloFeatures(const QByteArray &hello)
{
    for (const QByteArray &line : hello.split('\n'))
        if (line.startsWith("features="))
            return line.mid(int(sizeof "features=") - 1);
    return {};
}

bool readsKind(const QByteArray &features, FrameKind kind)
{
    for (const KindName &known : kKinds)
        if (known.kind == kind)
            return features.split(',').contains(QByteArray(known.name));
    return false;
}

QByteArray FrameReader::framed(const QByteArray &text)
{
    QByteArray frame(kHeaderSize, '\0');
    qToBigEndian<quint32>(quint32(text.size()), frame.data());
    return frame + text;
}

QByteArray FrameReader::framed(FrameKind kind, const QByteArray &body)
{
    QByteArray frame(kHeaderSize + 1, '\0');
    qToBigEndian<quint32>(quint32(body.size() + 1), frame.data());
    frame[kHeaderSize] = char(kind);
    return frame + body;
}

void FrameReader::append(const char *data, qsizetype size)
{
    if (at > 0 && at >= buffer.size() / 2) {
        buffer.remove(0, at);
        at = 0;
    }
    buffer.append(data, size);
}

bool FrameReader::isBad() const
{
    const qsizetype from = pastEmptyFrames();
    return buffer.size() - from >= kHeaderSize && qFromBigEndian<quint32>(buffer.constData() + from) > longest;
}

qsizetype FrameReader::wholeFrameAt(qsizetype from) const
{
    if (buffer.size() - from < kHeaderSize)
        return -1;
    const qsizetype length = qFromBigEndian<quint32>(buffer.constData() + from);
    if (length > longest)
        return -1;
    return buffer.size() - from - kHeaderSize >= length ? length : -1;
}

qsizetype FrameReader::pastEmptyFrames() const
{
    qsizetype from = at;
    while (buffer.size() - from >= kHeaderSize && qFromBigEndian<quint32>(buffer.constData() + from) == 0)
        from += kHeaderSize;
    return from;
}

bool FrameReader::hasFrame() const
{
    return wholeFrameAt(pastEmptyFrames()) > 0;
}

void FrameReader::passEmptyFrames()
{
    // Empty frames carry nothing: passed over together.
    const qsizetype from = pastEmptyFrames();
    emptyFramesPassed += (from - at) / kHeaderSize;
    at = from;
    if (at == buffer.size()) {
        buffer.clear();
        at = 0;
    }
}

std::optional<QByteArray> FrameReader::takeFrame()
{
    passEmptyFrames();
    const qsizetype length = wholeFrameAt(at);
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
