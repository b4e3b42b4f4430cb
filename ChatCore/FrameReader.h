#pragma once

#include <QByteArray>

#include <optional>
#include <utility>

// How texts cross a secure connection once it is open: in frames, each a
// 4-byte big-endian length, then that many bytes.
// - Version 1 (what a copy speaks with a peer that does not agree on more):
//   the bytes are a text of the plain protocol.
// - Version 2 (agreed through TLS ALPN "vanu/2"): the first byte is the
//   frame's kind, the rest its body, from the table below. Each side's first
//   frame is its hello.
//
//   kind  name          body                                         sent by
//   0x01  hello         "program=" P LF "features=" F                 both, first
//                       (P: program and version, F: the kinds it
//                       reads, by name, comma-separated)
//   0x02  chat          a chat line: C "<" N "> " T                   both
//   0x03  registration  " " N                                         guest
//   0x04  list          "#" L                                         host
//   0x05  greeting      the host's greeting, busy or not              host
//   0x06  notice        another text of the host's (an arrival, a     host
//                       refusal and the like)
//   0x07  departure     "-" DD L                                      host
//   0x08  down          "VanuServer is Down"                          host
//   0x09  keys          for each participant, the host first, a line: host
//                       N TAB K TAB F (K: the hex SHA-256 of the key it
//                       proved, empty for none; F: the kinds it reads)
//   0x0A  private       I LF T: a private message, id I (hex), text T,  host, guest
//                       to the other end of this very link
//   0x0B  receipt       I: the private message I has come               host, guest
//   0x0C  tunnel        N LF R: records R of the TLS session between   guest, host
//                       two guests; N is the one they go to (from the
//                       guest) or come from (from the host)
//   0x0D  file offer    an offer of files (see Files/FileOffer), to    host, guest
//                       the other end of this link
//
// Private messages between two guests cross inside their own TLS session,
// whose records the host relays in tunnel frames without reading them;
// inside it, the two speak in frames of kinds private, receipt and file offer.
//
// Bodies are the plain protocol's texts, in UTF-8 (version 1 keeps the code
// page): every character crosses, and malformed UTF-8 is read as U+FFFD. A
// frame of a kind not in the table, or one before the peer's hello, is
// dropped and counted, never shown: a later version may send kinds that this
// one does not know. An empty frame carries nothing and is passed over (and
// counted, for a peer that sends them without end).
enum class FrameKind : quint8 {
    Hello = 0x01,
    Chat = 0x02,
    Registration = 0x03,
    List = 0x04,
    Greeting = 0x05,
    Notice = 0x06,
    Departure = 0x07,
    Down = 0x08,
    Keys = 0x09,
    Private = 0x0A,
    Receipt = 0x0B,
    Tunnel = 0x0C,
    FileOffer = 0x0D,
};

// A kind whose body is a text of the plain protocol.
constexpr bool carriesPlainText(FrameKind kind)
{
    return kind >= FrameKind::Chat && kind <= FrameKind::Down;
}

// The kinds this copy reads, as its hello names them.
QByteArray knownFrameKinds();
bool isKnownFrameKind(quint8 kind);

// The version-2 hello: this program's name and version, and the kinds it reads.
QByteArray helloBody(const QByteArray &program);
// The kinds a peer's hello says it reads, as it names them; empty for none.
QByteArray helloFeatures(const QByteArray &hello);
// Whether a list of kinds, as a hello names them, holds the kind's name.
bool readsKind(const QByteArray &features, FrameKind kind);

// Cuts a stream of frames back into their bodies, whatever pieces the stream
// comes in; a length over the longest (kLongestFrame unless told) makes the stream bad.
class FrameReader {
public:
    static constexpr qsizetype kLongestFrame = 64 * 1024;
    static constexpr int kHeaderSize = 4;

    // A stream of its own (a file's) may take longer frames.
    explicit FrameReader(qsizetype longestFrame = kLongestFrame) : longest(longestFrame) { }

    // A version-1 frame of the text.
    static QByteArray framed(const QByteArray &text);
    // A version-2 frame: the kind, then the body.
    static QByteArray framed(FrameKind kind, const QByteArray &body);

    void append(const char *data, qsizetype size);
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }
    // The next frame announces a length over the longest.
    bool isBad() const;
    // The next frame that is not empty, once it is here whole, taken; nothing
    // meanwhile. The empty ones before it are passed over together.
    std::optional<QByteArray> takeFrame();
    // A frame that is not empty waits here whole.
    bool hasFrame() const;
    // Passes over the empty frames that come next, as a take would.
    void passEmptyFrames();
    // Empty frames passed over since the last call.
    qsizetype takeEmptyFramesPassed() { return std::exchange(emptyFramesPassed, 0); }

private:
    // The length of the frame at `from` once it is here whole: -1 while it is not.
    qsizetype wholeFrameAt(qsizetype from) const;
    // Where the first frame that is not empty begins.
    qsizetype pastEmptyFrames() const;

    QByteArray buffer;
    // Where the frames not yet taken begin: what was taken is dropped only
    // once it is most of the buffer, so that taking a frame moves nothing.
    qsizetype at = 0;
    qsizetype emptyFramesPassed = 0;
    qsizetype longest;
};
