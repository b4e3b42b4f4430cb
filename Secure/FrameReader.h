#pragma once

#include <QByteArray>

#include <optional>
#include <utility>

// Texts in frames: each a 4-byte big-endian length, then that many bytes. The
// reader cuts a stream of frames back into its texts, whatever pieces the
// stream comes in; a length over kLongestFrame makes the stream bad.
class FrameReader {
public:
    static constexpr qsizetype kLongestFrame = 64 * 1024;
    static constexpr int kHeaderSize = 4;

    static QByteArray Framed(const QByteArray &text);

    void Append(const char *data, qsizetype size) { buffer.append(data, size); }
    qsizetype Buffered() const { return buffer.size(); }
    // The next frame announces a length over kLongestFrame.
    bool IsBad() const;
    // The next frame's text once it is here whole, taken; nothing meanwhile.
    // Only between texts read by Read.
    std::optional<QByteArray> TakeFrame();
    // Reads up to `size` bytes of texts: of the text being read, or of the
    // next one once it is here whole (empty ones are passed over). 0 while
    // none is; `peek` leaves the bytes to be read again.
    qsizetype Read(char *into, qsizetype size, bool peek);
    // How many bytes a read could take now.
    qsizetype Waiting() const;
    // Empty texts that reads have passed over since the last call.
    qsizetype TakeEmptyFramesPassed() { return std::exchange(emptyFramesPassed, 0); }

private:
    // The length of the next frame once it is here whole: -1 while it is not.
    qsizetype WholeFrame() const;
    qsizetype WholeFrameAt(qsizetype at) const;
    // Where the first frame that is not empty begins.
    qsizetype PastEmptyFrames() const;

    QByteArray buffer;
    qsizetype frameLeft = 0; // of the text being read, its header taken
    qsizetype emptyFramesPassed = 0;
};
