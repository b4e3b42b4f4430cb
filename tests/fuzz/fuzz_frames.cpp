// The frames of a secure connection from any bytes, in any pieces: the reader
// gives each whole text once, in order, never one glued to another, and
// stops at a frame announced longer than the limit.
#include "FrameReader.h"

#include <QtEndian>

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const qsizetype piece = 1 + data[0] % 64; // the stream comes in pieces of this size
    const QByteArray stream(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);

    // What the stream holds, read whole: its non-empty texts, and whether it turns bad.
    std::vector<QByteArray> expected;
    bool turnsBad = false;
    for (qsizetype at = 0; at + FrameReader::kHeaderSize <= stream.size();) {
        const qsizetype length = qFromBigEndian<quint32>(stream.constData() + at);
        if (length > FrameReader::kLongestFrame) {
            turnsBad = true;
            break;
        }
        if (at + FrameReader::kHeaderSize + length > stream.size())
            break;
        if (length > 0)
            expected.push_back(stream.mid(at + FrameReader::kHeaderSize, length));
        at += FrameReader::kHeaderSize + length;
    }

    FrameReader reader;
    std::vector<QByteArray> read;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        reader.append(stream.constData() + at, qMin(piece, stream.size() - at));
        while (const std::optional<QByteArray> text = reader.takeFrame())
            read.push_back(*text);
    }
    if (read != expected || reader.isBad() != turnsBad)
        std::abort();
    return 0;
}
