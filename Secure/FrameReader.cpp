#include "FrameReader.h"

#include <QtEndian>

#include <cstring>

QByteArray FrameReader::Framed(const QByteArray &text)
{
    QByteArray frame(kHeaderSize, '\0');
    qToBigEndian<quint32>(quint32(text.size()), frame.data());
    return frame + text;
}

bool FrameReader::IsBad() const
{
    return frameLeft == 0 && buffer.size() >= kHeaderSize
           && qFromBigEndian<quint32>(buffer.constData()) > kLongestFrame;
}

qsizetype FrameReader::WholeFrameAt(qsizetype at) const
{
    if (buffer.size() - at < kHeaderSize)
        return -1;
    const qsizetype length = qFromBigEndian<quint32>(buffer.constData() + at);
    if (length > kLongestFrame)
        return -1;
    return buffer.size() - at - kHeaderSize >= length ? length : -1;
}

qsizetype FrameReader::WholeFrame() const
{
    return WholeFrameAt(0);
}

qsizetype FrameReader::PastEmptyFrames() const
{
    qsizetype at = 0;
    while (buffer.size() - at >= kHeaderSize && qFromBigEndian<quint32>(buffer.constData() + at) == 0)
        at += kHeaderSize;
    return at;
}

std::optional<QByteArray> FrameReader::TakeFrame()
{
    const qsizetype length = frameLeft == 0 ? WholeFrame() : -1;
    if (length < 0)
        return std::nullopt;
    QByteArray text = buffer.mid(kHeaderSize, length);
    buffer.remove(0, kHeaderSize + length);
    return text;
}

qsizetype FrameReader::Read(char *into, qsizetype size, bool peek)
{
    if (frameLeft == 0) {
        // Empty texts carry nothing: passed over together, in one move of the rest.
        const qsizetype empty = PastEmptyFrames();
        emptyFramesPassed += empty / kHeaderSize;
        buffer.remove(0, empty);
        const qsizetype length = WholeFrame();
        if (length < 0)
            return 0;
        buffer.remove(0, kHeaderSize);
        frameLeft = length;
    }
    const qsizetype taken = qMin(size, frameLeft);
    std::memcpy(into, buffer.constData(), size_t(taken));
    if (!peek) {
        buffer.remove(0, taken);
        frameLeft -= taken;
    }
    return taken;
}

qsizetype FrameReader::Waiting() const
{
    return frameLeft > 0 ? frameLeft : qMax<qsizetype>(WholeFrameAt(PastEmptyFrames()), 0);
}
