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

qsizetype FrameReader::WholeFrame() const
{
    if (buffer.size() < kHeaderSize || IsBad())
        return -1;
    const qsizetype length = qFromBigEndian<quint32>(buffer.constData());
    return buffer.size() - kHeaderSize >= length ? length : -1;
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
    while (frameLeft == 0) {
        const qsizetype length = WholeFrame();
        if (length < 0)
            return 0;
        buffer.remove(0, kHeaderSize);
        frameLeft = length; // an empty text carries nothing: the loop goes on
        if (length == 0 && ++emptyFramesPassed > kMostEmptyFramesInARead)
            return 0; // the caller looks at them before reading on
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
    return frameLeft > 0 ? frameLeft : qMax<qsizetype>(WholeFrame(), 0);
}
